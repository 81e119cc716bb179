#pragma once
// What late-bound callers need of one interface, read from its type
// information once and never changed afterwards: a call plan per dispatch
// identifier and invocation kind, and the names GetIDsOfNames answers
// (members, and each member's parameters for named arguments), matched
// without regard to case as the type library matches them. Everything comes
// from the type library, so the tables cannot disagree with it.

#include "Ptr.h"
#include "Variant.h"

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

namespace com {

// One parameter as the invoker passes it, aliases and enumerations resolved.
struct ParameterPlan {
    enum class Kind : unsigned char { Scalar, Variant, Object, Array };
    Kind kind = Kind::Scalar;
    VARTYPE vt = VT_EMPTY;  // Scalar: the type; Array: the element type
    bool byReference = false;
    bool dispatchable = false;  // Object: travels as VT_DISPATCH
    bool optional = false;
    bool hasDefault = false;
    UINT recordFields = 0;  // Array of records made only of Longs: their count
    IID iid = IID_IUnknown;  // Object: the interface it must offer
    ComPtr<IRecordInfo> record;  // Array of records
    Variant defaultValue;  // already of the parameter's type
    // A type the invoker cannot pass, or a default that cannot take it: the
    // code a call that needs it fails with.
    HRESULT unusable = S_OK;

    VARTYPE variantType() const noexcept {
        switch (kind) {
        case Kind::Variant: return VT_VARIANT;
        case Kind::Object: return dispatchable ? VT_DISPATCH : VT_UNKNOWN;
        case Kind::Array: return VT_ARRAY | vt;
        default: return vt;
        }
    }
};

// The most arguments (the result's included) a member called directly takes.
constexpr UINT maximumWordArguments = 10;

struct CallPlan {
    DISPID id = DISPID_UNKNOWN;
    INVOKEKIND kind = INVOKE_FUNC;
    CALLCONV callingConvention = CC_STDCALL;
    ULONG_PTR vtableOffset = 0;
    std::vector<ParameterPlan> inputs;
    bool returns = false;
    ParameterPlan result;
    // Every argument travels as one machine word (an integer of up to 32
    // bits or a pointer), so the member can be called through its slot
    // directly, as DispCallFunc would call it.
    bool wordArguments = false;
};

class DispatchTable {
public:
    // The table of a vtable interface, built on its first use and kept, like
    // the type information it holds, for the life of the process.
    static const DispatchTable& of(ITypeInfo* vtableInfo);

    explicit DispatchTable(ITypeInfo* vtableInfo);
    DispatchTable(const DispatchTable&) = delete;
    DispatchTable& operator=(const DispatchTable&) = delete;

    // The plan for a call with these IDispatch::Invoke flags: the member of
    // the asked kind, or for a property write the one setter there is
    // (`obj.Pen = p` without Set, `Set obj.Value = x`); null if none.
    const CallPlan* find(DISPID id, WORD flags) const noexcept;

    // IDispatch::GetIDsOfNames: names[0] a member, the rest its parameters.
    HRESULT idsOfNames(const LPOLESTR* names, UINT count, DISPID* ids) const noexcept;

private:
    struct Name {
        std::wstring folded;
        ULONG hash;
        DISPID id;
        size_t firstParameter;  // into parameterNames_
        size_t parameterCount;
    };

    void add(ITypeInfo* info);
    void addName(ITypeInfo* info, const FUNCDESC& function);
    const Name* findName(const wchar_t* name) const noexcept;

    std::vector<CallPlan> plans_;  // by id, in type-information order within one id
    std::vector<Name> names_;
    std::vector<std::wstring> parameterNames_;  // folded
    std::vector<int> slots_;  // open-addressed index into names_, -1 free
};

// How many 32-bit integer fields a record has when it is made of nothing
// else (a point, say), 0 otherwise: the records the invoker fills from a
// flat list of numbers.
UINT longFieldsOf(IRecordInfo* record) noexcept;

}  // namespace com
