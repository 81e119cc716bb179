#include "DispatchTable.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

namespace com {
namespace {

// A type the invoker cannot pass; `code` is what a call that needs it reports.
struct Unusable {
    HRESULT code;
};

void check(HRESULT hr) {
    if (FAILED(hr)) throw Unusable{hr};
}

class FuncDesc {
public:
    FuncDesc(ITypeInfo* info, UINT index) : info_(info) { check(info->GetFuncDesc(index, &desc_)); }
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    ~FuncDesc() { info_->ReleaseFuncDesc(desc_); }
    const FUNCDESC& operator*() const { return *desc_; }

private:
    ITypeInfo* info_;
    FUNCDESC* desc_ = nullptr;
};

class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info) : info_(info) { check(info->GetTypeAttr(&attr_)); }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    ~TypeAttr() { info_->ReleaseTypeAttr(attr_); }
    const TYPEATTR* operator->() const { return attr_; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

// A type on the way to a parameter plan. Interface: an interface type not yet
// behind its pointer; Record: a bare record (only meaningful as an element).
struct Declared {
    enum class Kind { Scalar, Variant, Object, Array, Interface, Record };
    Kind kind = Kind::Scalar;
    VARTYPE vt = VT_EMPTY;
    IID iid = IID_IUnknown;
    bool dispatchable = false;
    ComPtr<IRecordInfo> record;
    bool byReference = false;

    VARTYPE variantType() const {
        switch (kind) {
        case Kind::Variant: return VT_VARIANT;
        case Kind::Object: return dispatchable ? VT_DISPATCH : VT_UNKNOWN;
        case Kind::Array: return VT_ARRAY | vt;
        default: return vt;
        }
    }
};

Declared resolve(ITypeInfo* info, const TYPEDESC& type);

// Whether an interface reaches IDispatch through its bases, so that its
// pointers travel as VT_DISPATCH (a script cannot hold VT_UNKNOWN).
bool derivesFromDispatch(ITypeInfo* info) {
    TypeAttr attr(info);
    if (attr->typekind == TKIND_DISPATCH || IsEqualGUID(attr->guid, IID_IDispatch)) return true;
    if (attr->typekind != TKIND_INTERFACE || attr->cImplTypes == 0) return false;
    HREFTYPE base = 0;
    ComPtr<ITypeInfo> baseInfo;
    if (FAILED(info->GetRefTypeOfImplType(0, &base)) || FAILED(info->GetRefTypeInfo(base, &baseInfo))) return false;
    return derivesFromDispatch(baseInfo.Get());
}

Declared userDefined(ITypeInfo* info, HREFTYPE reference) {
    ComPtr<ITypeInfo> target;
    check(info->GetRefTypeInfo(reference, &target));
    TypeAttr attr(target.Get());
    Declared declared;
    switch (attr->typekind) {
    case TKIND_ENUM:
        declared.vt = VT_I4;
        return declared;
    case TKIND_ALIAS: {
        // widl gives a typedef'd record's uuid to the alias, not to the record
        // itself: described through the alias, the record carries the GUID
        // that clients' arrays of it carry.
        declared = resolve(target.Get(), attr->tdescAlias);
        if (declared.kind == Declared::Kind::Record) {
            declared.record.Reset();
            check(GetRecordInfoFromTypeInfo(target.Get(), &declared.record));
        }
        return declared;
    }
    case TKIND_INTERFACE:
    case TKIND_DISPATCH:
        declared.kind = Declared::Kind::Interface;
        declared.iid = attr->guid;
        declared.dispatchable = derivesFromDispatch(target.Get());
        return declared;
    case TKIND_RECORD:
        declared.kind = Declared::Kind::Record;
        declared.vt = VT_RECORD;
        check(GetRecordInfoFromTypeInfo(target.Get(), &declared.record));
        return declared;
    default:
        throw Unusable{DISP_E_BADVARTYPE};
    }
}

Declared resolve(ITypeInfo* info, const TYPEDESC& type) {
    Declared declared;
    switch (type.vt) {
    case VT_PTR: {
        declared = resolve(info, *type.lptdesc);
        if (declared.kind == Declared::Kind::Interface) {
            declared.kind = Declared::Kind::Object;  // `_X*` passes the object itself
        } else {
            if (declared.byReference) throw Unusable{DISP_E_BADVARTYPE};
            declared.byReference = true;
        }
        return declared;
    }
    case VT_SAFEARRAY: {
        Declared element = resolve(info, *type.lptdesc);
        if (element.kind == Declared::Kind::Interface) element.kind = Declared::Kind::Object;
        declared.kind = Declared::Kind::Array;
        declared.vt = element.variantType();
        declared.record = element.record;
        return declared;
    }
    case VT_USERDEFINED:
        return userDefined(info, type.hreftype);
    case VT_VARIANT:
        declared.kind = Declared::Kind::Variant;
        return declared;
    case VT_DISPATCH:
        declared.kind = Declared::Kind::Object;
        declared.iid = IID_IDispatch;
        declared.dispatchable = true;
        return declared;
    case VT_UNKNOWN:
        declared.kind = Declared::Kind::Object;
        return declared;
    case VT_INT:  // the same 32 bits, in the form every script host knows
        declared.vt = VT_I4;
        return declared;
    case VT_UINT:
        declared.vt = VT_UI4;
        return declared;
    default:
        declared.vt = type.vt;
        return declared;
    }
}

ParameterPlan planOf(ITypeInfo* info, const TYPEDESC& type) {
    ParameterPlan plan;
    try {
        Declared declared = resolve(info, type);
        switch (declared.kind) {
        case Declared::Kind::Scalar: plan.kind = ParameterPlan::Kind::Scalar; break;
        case Declared::Kind::Variant: plan.kind = ParameterPlan::Kind::Variant; break;
        case Declared::Kind::Object: plan.kind = ParameterPlan::Kind::Object; break;
        case Declared::Kind::Array: plan.kind = ParameterPlan::Kind::Array; break;
        default: throw Unusable{DISP_E_BADVARTYPE};
        }
        plan.vt = declared.vt;
        plan.iid = declared.iid;
        plan.dispatchable = declared.dispatchable;
        plan.byReference = declared.byReference;
        plan.record = std::move(declared.record);
        if (plan.record) plan.recordFields = longFieldsOf(plan.record.Get());
    } catch (const Unusable& failure) {
        plan.unusable = failure.code;
    }
    return plan;
}

// The default an object parameter may declare: Nothing, as the number 0 or
// as an empty reference.
bool isNothing(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_EMPTY: case VT_NULL: return true;
    case VT_DISPATCH: case VT_UNKNOWN: return V_UNKNOWN(&value) == nullptr;
    case VT_I2: return V_I2(&value) == 0;
    case VT_I4: case VT_INT: return V_I4(&value) == 0;
    default: return false;
    }
}

ParameterPlan inputOf(ITypeInfo* info, const ELEMDESC& element) {
    ParameterPlan plan = planOf(info, element.tdesc);
    const USHORT flags = element.paramdesc.wParamFlags;
    plan.optional = flags & PARAMFLAG_FOPT;
    if ((flags & PARAMFLAG_FHASDEFAULT) && element.paramdesc.pparamdescex) {
        plan.hasDefault = true;
        const VARIANT& given = element.paramdesc.pparamdescex->varDefaultValue;
        // A scalar default is converted here once; other kinds keep the
        // declared value and convert it like an argument when it is used.
        // An object's only possible default is Nothing, which a type library
        // holds as the number 0: it stays Empty, which arrives as Nothing.
        HRESULT hr = S_OK;
        if (plan.kind == ParameterPlan::Kind::Scalar)
            hr = convertScalar(*plan.defaultValue.get(), given, plan.vt);
        else if (plan.kind == ParameterPlan::Kind::Object)
            hr = isNothing(given) ? S_OK : DISP_E_TYPEMISMATCH;
        else
            hr = VariantCopy(plan.defaultValue.get(), const_cast<VARIANT*>(&given));
        if (FAILED(hr) && SUCCEEDED(plan.unusable)) plan.unusable = hr;
    }
    return plan;
}

bool travelsAsWord(const ParameterPlan& parameter) {
    if (parameter.byReference) return true;
    switch (parameter.kind) {
    case ParameterPlan::Kind::Object:
    case ParameterPlan::Kind::Array: return true;
    case ParameterPlan::Kind::Scalar:
        switch (parameter.vt) {
        case VT_I1:
        case VT_UI1:
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
        case VT_I4:
        case VT_UI4:
        case VT_ERROR:
        case VT_BSTR: return true;
        default: return false;  // floating point and 64-bit values have their own rules
        }
    default: return false;
    }
}

CallPlan callPlanOf(ITypeInfo* info, const FUNCDESC& function) {
    CallPlan plan;
    plan.id = function.memid;
    plan.kind = function.invkind;
    plan.callingConvention = function.callconv;
    plan.vtableOffset = static_cast<ULONG_PTR>(static_cast<USHORT>(function.oVft));
    const UINT count = function.cParams;
    plan.returns = count > 0 && (function.lprgelemdescParam[count - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
    const UINT inputs = count - (plan.returns ? 1 : 0);
    plan.inputs.reserve(inputs);
    for (UINT i = 0; i < inputs; ++i) plan.inputs.push_back(inputOf(info, function.lprgelemdescParam[i]));
    if (plan.returns) {
        plan.result = planOf(info, function.lprgelemdescParam[count - 1].tdesc);
        plan.result.byReference = false;
    }
    plan.wordArguments = plan.callingConvention == CC_STDCALL && count <= maximumWordArguments &&
                         std::all_of(plan.inputs.begin(), plan.inputs.end(), travelsAsWord);
    return plan;
}

// --- Names ---------------------------------------------------------------------

wchar_t fold(wchar_t c) noexcept {
    if (c < 0x80) return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
    // With its high word zero, CharLowerW converts the one character it carries.
    return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

// FNV-1a over the folded characters, so that a name hashes alike in any case.
ULONG hashOf(const wchar_t* name) noexcept {
    ULONG hash = 2166136261u;
    for (; *name; ++name) hash = (hash ^ fold(*name)) * 16777619u;
    return hash;
}

std::wstring folded(const wchar_t* name) {
    std::wstring out;
    for (; name && *name; ++name) out += fold(*name);
    return out;
}

bool sameFolded(const std::wstring& foldedName, const wchar_t* name) noexcept {
    size_t i = 0;
    for (; name[i]; ++i)
        if (i == foldedName.size() || foldedName[i] != fold(name[i])) return false;
    return i == foldedName.size();
}

class Names {
public:
    Names(ITypeInfo* info, MEMBERID id, UINT capacity) : names_(capacity + 1) {
        check(info->GetNames(id, names_.data(), static_cast<UINT>(names_.size()), &count_));
    }
    Names(const Names&) = delete;
    Names& operator=(const Names&) = delete;
    ~Names() {
        for (BSTR name : names_) SysFreeString(name);
    }
    UINT size() const { return count_; }
    const wchar_t* operator[](UINT i) const { return names_[i] ? names_[i] : L""; }

private:
    std::vector<BSTR> names_;
    UINT count_ = 0;
};

}  // namespace

UINT longFieldsOf(IRecordInfo* record) noexcept {
    try {
        ComPtr<ITypeInfo> info;
        check(record->GetTypeInfo(&info));
        TypeAttr attr(info.Get());
        for (UINT i = 0; i < attr->cVars; ++i) {
            VARDESC* field = nullptr;
            check(info->GetVarDesc(i, &field));
            const VARTYPE type = field->elemdescVar.tdesc.vt;
            info->ReleaseVarDesc(field);
            if (type != VT_I4 && type != VT_INT) return 0;
        }
        return attr->cbSizeInstance == attr->cVars * sizeof(LONG) ? attr->cVars : 0;
    } catch (const Unusable&) {
        return 0;
    }
}

const DispatchTable& DispatchTable::of(ITypeInfo* vtableInfo) {
    // The key holds its type information, so no other can take its address.
    struct Entry {
        ComPtr<ITypeInfo> info;
        std::unique_ptr<DispatchTable> table;
    };
    static std::mutex mutex;
    static std::map<ITypeInfo*, Entry> tables;
    std::lock_guard guard(mutex);
    Entry& entry = tables[vtableInfo];
    if (!entry.table) {
        entry.table = std::make_unique<DispatchTable>(vtableInfo);
        entry.info = vtableInfo;
    }
    return *entry.table;
}

DispatchTable::DispatchTable(ITypeInfo* vtableInfo) {
    add(vtableInfo);
    std::stable_sort(plans_.begin(), plans_.end(), [](const CallPlan& a, const CallPlan& b) { return a.id < b.id; });

    size_t size = 8;
    while (size < 2 * names_.size()) size *= 2;
    slots_.assign(size, -1);
    for (size_t i = 0; i < names_.size(); ++i) {
        size_t slot = names_[i].hash & (size - 1);
        while (slots_[slot] >= 0) slot = (slot + 1) & (size - 1);
        slots_[slot] = static_cast<int>(i);
    }
}

// The interface's own members first, then those of its bases up to IDispatch,
// so that a member's own name wins.
void DispatchTable::add(ITypeInfo* info) {
    TypeAttr attr(info);
    if (IsEqualGUID(attr->guid, IID_IDispatch) || IsEqualGUID(attr->guid, IID_IUnknown)) return;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncDesc function(info, i);
        addName(info, *function);
        // Members of a pure dispatch interface have no vtable slot to call.
        if ((*function).funckind == FUNC_PUREVIRTUAL || (*function).funckind == FUNC_VIRTUAL)
            plans_.push_back(callPlanOf(info, *function));
    }
    if (attr->typekind != TKIND_INTERFACE || attr->cImplTypes == 0) return;
    HREFTYPE base = 0;
    ComPtr<ITypeInfo> baseInfo;
    if (SUCCEEDED(info->GetRefTypeOfImplType(0, &base)) && SUCCEEDED(info->GetRefTypeInfo(base, &baseInfo)))
        add(baseInfo.Get());
}

void DispatchTable::addName(ITypeInfo* info, const FUNCDESC& function) {
    for (const Name& known : names_)
        if (known.id == function.memid) return;
    const Names names(info, function.memid, function.cParams);
    if (names.size() == 0 || findName(names[0])) return;
    Name name{folded(names[0]), hashOf(names[0]), function.memid, parameterNames_.size(), names.size() - 1};
    for (UINT i = 1; i < names.size(); ++i) parameterNames_.push_back(folded(names[i]));
    names_.push_back(std::move(name));
}

const DispatchTable::Name* DispatchTable::findName(const wchar_t* name) const noexcept {
    if (slots_.empty()) {  // while the table is being built
        for (const Name& known : names_)
            if (sameFolded(known.folded, name)) return &known;
        return nullptr;
    }
    const ULONG hash = hashOf(name);
    for (size_t slot = hash & (slots_.size() - 1); slots_[slot] >= 0; slot = (slot + 1) & (slots_.size() - 1)) {
        const Name& known = names_[slots_[slot]];
        if (known.hash == hash && sameFolded(known.folded, name)) return &known;
    }
    return nullptr;
}

const CallPlan* DispatchTable::find(DISPID id, WORD flags) const noexcept {
    auto plan = std::lower_bound(plans_.begin(), plans_.end(), id,
                                 [](const CallPlan& p, DISPID wanted) { return p.id < wanted; });
    const CallPlan* fallback = nullptr;
    const bool setting = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    for (; plan != plans_.end() && plan->id == id; ++plan) {
        const INVOKEKIND kind = plan->kind;
        if (((flags & DISPATCH_METHOD) && kind == INVOKE_FUNC) ||
            ((flags & DISPATCH_PROPERTYGET) && kind == INVOKE_PROPERTYGET) ||
            ((flags & DISPATCH_PROPERTYPUT) && kind == INVOKE_PROPERTYPUT) ||
            ((flags & DISPATCH_PROPERTYPUTREF) && kind == INVOKE_PROPERTYPUTREF))
            return &*plan;
        if (setting && (kind == INVOKE_PROPERTYPUT || kind == INVOKE_PROPERTYPUTREF) && !fallback) fallback = &*plan;
    }
    return fallback;
}

HRESULT DispatchTable::idsOfNames(const LPOLESTR* names, UINT count, DISPID* ids) const noexcept {
    if (count == 0) return S_OK;
    if (!names || !ids) return E_POINTER;
    std::fill(ids, ids + count, DISPID_UNKNOWN);
    const Name* member = names[0] ? findName(names[0]) : nullptr;
    if (!member) return DISP_E_UNKNOWNNAME;
    ids[0] = member->id;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
        const auto first = parameterNames_.begin() + static_cast<std::ptrdiff_t>(member->firstParameter);
        const auto last = first + static_cast<std::ptrdiff_t>(member->parameterCount);
        const auto found =
            names[i] ? std::find_if(first, last, [&](const std::wstring& p) { return sameFolded(p, names[i]); }) : last;
        if (found == last)
            hr = DISP_E_UNKNOWNNAME;
        else
            ids[i] = static_cast<DISPID>(found - first);
    }
    return hr;
}

}  // namespace com
