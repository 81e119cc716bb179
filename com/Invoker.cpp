#include "Invoker.h"

#include "AutomationError.h"
#include "Boundary.h"
#include "Ptr.h"
#include "Variant.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace com {
namespace {

// An argument that cannot become its parameter's type; `code` is what
// IDispatch::Invoke reports (type mismatch, overflow, ...).
struct ArgumentFailure {
    HRESULT code;
};

// Whatever the automation runtime answers when a value does not convert, a
// caller of IDispatch::Invoke gets one of its own codes for it.
void check(HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    throw ArgumentFailure{hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH};
}

// Room for the arguments of an ordinary call without going to the heap.
template <class T, size_t Inline = 12>
class Slots {
public:
    explicit Slots(size_t count) : count_(count) {
        if (count <= Inline) {
            data_ = reinterpret_cast<T*>(storage_);
            std::uninitialized_value_construct_n(data_, count);
        } else {
            heap_ = std::make_unique<T[]>(count);
            data_ = heap_.get();
        }
    }
    Slots(const Slots&) = delete;
    Slots& operator=(const Slots&) = delete;
    ~Slots() {
        if (!heap_) std::destroy_n(data_, count_);
    }
    T& operator[](size_t i) { return data_[i]; }
    T* data() { return data_; }

private:
    alignas(T) unsigned char storage_[Inline * sizeof(T)];
    std::unique_ptr<T[]> heap_;
    T* data_ = nullptr;
    size_t count_;
};

size_t sizeOfType(VARTYPE type) {
    switch (type) {
    case VT_I1:
    case VT_UI1: return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR: return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE: return 8;
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN: return sizeof(void*);
    default: throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    }
}

// The value a caller gave, seen through its references: a script's variable
// (a reference to a VARIANT) or a typed reference. The view owns nothing.
const VARIANT& valueOf(const VARIANT& given, VARIANT& view) {
    const VARIANT* value = V_VT(&given) == (VT_BYREF | VT_VARIANT) ? V_VARIANTREF(&given) : &given;
    if (!value) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    const VARTYPE type = V_VT(value);
    if (!(type & VT_BYREF)) return *value;
    if (!V_BYREF(value)) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    view = VARIANT{};
    const VARTYPE target = type & ~VT_BYREF;
    if (target & VT_ARRAY) {
        V_ARRAY(&view) = *V_ARRAYREF(value);
    } else if (target == VT_DECIMAL) {
        V_DECIMAL(&view) = *V_DECIMALREF(value);
    } else {
        std::memcpy(&view.llVal, V_BYREF(value), sizeOfType(target));
    }
    V_VT(&view) = target;
    return view;
}

// A safe array whose dimensions were never given (`Dim a()` in a script).
bool neverDimensioned(SAFEARRAY* array) { return !array || SafeArrayGetDim(array) == 0; }

// --- Lists of values, for arrays built from what a script can hold ---------

// The items of a one-dimensional list, read one at a time: a safe array (a
// VBScript Array(...)) or a JScript array, which arrives as an object with
// `length` and one property per index. Nothing is read or allocated for an
// item before it is needed.
class ScriptList {
public:
    // Where an item is read to: a view of a safe array's element, or a
    // script's element fetched into `owned`.
    struct Item {
        VARIANT view{};
        Variant owned;
    };

    explicit ScriptList(const VARIANT& list) {
        if (V_VT(&list) & VT_ARRAY) {
            array_ = V_ARRAY(&list);
            if (!array_ || SafeArrayGetDim(array_) != 1) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
            check(SafeArrayGetVartype(array_, &type_));
            size_ = array_->rgsabound[0].cElements;
            check(SafeArrayAccessData(array_, &data_));
        } else if (V_VT(&list) == VT_DISPATCH && V_DISPATCH(&list)) {
            script_ = V_DISPATCH(&list);
            Variant length;
            VARIANT number{};
            if (!read(L"length", length) || FAILED(VariantChangeType(&number, length.get(), 0, VT_I4)))
                throw ArgumentFailure{DISP_E_TYPEMISMATCH};
            if (V_I4(&number) > 0) size_ = static_cast<ULONG>(V_I4(&number));
            if (size_ > maximumScriptListLength) raise(RuntimeError::OutOfMemory);
        } else {
            throw ArgumentFailure{DISP_E_TYPEMISMATCH};
        }
    }
    ScriptList(const ScriptList&) = delete;
    ScriptList& operator=(const ScriptList&) = delete;
    ~ScriptList() {
        if (data_) SafeArrayUnaccessData(array_);
    }

    ULONG size() const { return size_; }

    const VARIANT& item(ULONG index, Item& item) const {
        if (script_) {
            wchar_t name[16];
            std::swprintf(name, 16, L"%lu", static_cast<unsigned long>(index));
            item.owned.reset();
            read(name, item.owned);  // a hole stays Empty
            return *item.owned.get();
        }
        const size_t size = array_->cbElements;
        const char* element = static_cast<const char*>(data_) + static_cast<size_t>(index) * size;
        if (type_ == VT_VARIANT) return *reinterpret_cast<const VARIANT*>(element);
        if (type_ == VT_RECORD || size > sizeof(DECIMAL)) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
        item.view = VARIANT{};
        if (type_ == VT_DECIMAL)
            std::memcpy(&V_DECIMAL(&item.view), element, size);
        else
            std::memcpy(&item.view.llVal, element, std::min(size, sizeof(item.view.llVal)));
        V_VT(&item.view) = type_;
        return item.view;
    }

private:
    bool read(const wchar_t* name, Variant& value) const {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        if (FAILED(script_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        DISPPARAMS none{};
        return SUCCEEDED(script_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value.get(),
                                         nullptr, nullptr));
    }

    SAFEARRAY* array_ = nullptr;
    VARTYPE type_ = VT_EMPTY;
    void* data_ = nullptr;
    IDispatch* script_ = nullptr;
    ULONG size_ = 0;
};

// Records match by GUID; a record info without one (Wine's, for records of
// a type library read from a resource) is matched by name.
bool sameRecord(SAFEARRAY* array, IRecordInfo* expected) {
    ComPtr<IRecordInfo> actual;
    if (!array) return true;
    if (FAILED(SafeArrayGetRecordInfo(array, &actual)) || !actual) return false;
    GUID a{}, b{};
    if (SUCCEEDED(actual->GetGuid(&a)) && SUCCEEDED(expected->GetGuid(&b)) && !IsEqualGUID(a, GUID_NULL) &&
        !IsEqualGUID(b, GUID_NULL))
        return IsEqualGUID(a, b);
    BSTR nameA = nullptr, nameB = nullptr;
    const bool same = SUCCEEDED(actual->GetName(&nameA)) && SUCCEEDED(expected->GetName(&nameB)) && nameA && nameB &&
                      wcscmp(nameA, nameB) == 0;
    SysFreeString(nameA);
    SysFreeString(nameB);
    return same;
}

SAFEARRAY* recordsFrom(const ScriptList& list, const ParameterPlan& declared) {
    const UINT fields = declared.recordFields;
    if (fields == 0) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    if (list.size() % fields != 0) raise(RuntimeError::WrongArguments);
    SafeArray records(SafeArrayCreateVectorEx(VT_RECORD, 0, list.size() / fields, declared.record.Get()));
    if (!records.get()) throw std::bad_alloc();
    ArrayAccess access(records.get());
    LONG* out = access.data<LONG>();
    ScriptList::Item item;
    for (ULONG i = 0; i < list.size(); ++i) {
        VARIANT number{};
        check(convertScalar(number, list.item(i, item), VT_I4));
        out[i] = V_I4(&number);
    }
    return records.release();
}

SAFEARRAY* arrayFrom(const ScriptList& list, VARTYPE element) {
    SafeArray array(SafeArrayCreateVector(element, 0, list.size()));
    if (!array.get()) throw std::bad_alloc();
    const size_t size = SafeArrayGetElemsize(array.get());
    ArrayAccess access(array.get());
    char* slots = access.data<char>();
    ScriptList::Item item;
    for (ULONG i = 0; i < list.size(); ++i) {
        void* slot = slots + static_cast<size_t>(i) * size;
        const VARIANT& given = list.item(i, item);
        if (element == VT_VARIANT) {
            check(VariantCopy(static_cast<VARIANT*>(slot), const_cast<VARIANT*>(&given)));
            continue;
        }
        Variant value;
        check(VariantChangeType(value.get(), const_cast<VARIANT*>(&given), 0, element));
        // The element takes over what the value owns (a string, an object).
        VARIANT moved = value.release();
        std::memcpy(slot, element == VT_DECIMAL ? static_cast<void*>(&V_DECIMAL(&moved)) : &moved.llVal, size);
    }
    return array.release();
}

// --- Coercion of one argument ---------------------------------------------

Variant coerce(const VARIANT& given, const ParameterPlan& declared) {
    Variant result;
    if (declared.kind == ParameterPlan::Kind::Variant) {
        check(VariantCopyInd(result.get(), const_cast<VARIANT*>(&given)));
        return result;
    }
    VARIANT view;
    const VARIANT& value = valueOf(given, view);
    switch (declared.kind) {
    case ParameterPlan::Kind::Scalar:
        check(convertScalar(*result.get(), value, declared.vt));
        return result;
    case ParameterPlan::Kind::Object: {
        IUnknown* object = nullptr;
        if (V_VT(&value) == VT_DISPATCH || V_VT(&value) == VT_UNKNOWN)
            object = V_UNKNOWN(&value);
        else if (V_VT(&value) != VT_EMPTY && V_VT(&value) != VT_NULL)  // JScript's null is Nothing
            throw ArgumentFailure{DISP_E_TYPEMISMATCH};
        V_VT(result.get()) = declared.variantType();
        if (object && FAILED(object->QueryInterface(declared.iid, reinterpret_cast<void**>(&V_UNKNOWN(result.get())))))
            throw ArgumentFailure{DISP_E_TYPEMISMATCH};
        return result;
    }
    case ParameterPlan::Kind::Array: {
        V_VT(result.get()) = declared.variantType();
        if (V_VT(&value) == VT_EMPTY) return result;  // an omitted array arrives as no array
        if (V_VT(&value) == declared.variantType()) {
            if (declared.record && !sameRecord(V_ARRAY(&value), declared.record.Get()))
                throw ArgumentFailure{DISP_E_TYPEMISMATCH};
            check(VariantCopy(result.get(), const_cast<VARIANT*>(&value)));
            return result;
        }
        // A script's array that was never dimensioned stays no array, so
        // that the member answers it as it answers a missing list.
        if ((V_VT(&value) & VT_ARRAY) && neverDimensioned(V_ARRAY(&value))) return result;
        const ScriptList list(value);
        V_ARRAY(result.get()) = declared.record ? recordsFrom(list, declared) : arrayFrom(list, declared.vt);
        return result;
    }
    default:
        throw ArgumentFailure{DISP_E_BADVARTYPE};
    }
}

// --- One call --------------------------------------------------------------

struct Argument {
    Variant value;               // storage the call reads or writes
    VARIANT call{};              // what DispCallFunc passes, unless `direct`
    VARTYPE callType = VT_EMPTY;
    bool direct = false;         // a VARIANT passed by value: DispCallFunc takes it whole
    VARIANT* writeBack = nullptr;

    VARIANT* passed() { return direct ? value.get() : &call; }

    void pointAtValue(const ParameterPlan& declared) {
        callType = VT_BYREF | declared.variantType();
        V_BYREF(&call) = declared.kind == ParameterPlan::Kind::Variant ? static_cast<void*>(value.get())
                                                                      : static_cast<void*>(&value->llVal);
    }
};

bool isMissing(const VARIANT* given) {
    return !given || (V_VT(given) == VT_ERROR && V_ERROR(given) == DISP_E_PARAMNOTFOUND);
}

void prepare(Argument& argument, const VARIANT* given, const ParameterPlan& declared) {
    if (FAILED(declared.unusable)) throw ArgumentFailure{declared.unusable};
    if (isMissing(given)) {
        if (declared.hasDefault) {
            const VARIANT& value = *declared.defaultValue.get();
            if (declared.kind != ParameterPlan::Kind::Scalar)
                argument.value = coerce(value, declared);
            else if (Variant::holdsResources(value))
                check(VariantCopy(argument.value.get(), const_cast<VARIANT*>(&value)));
            else
                *argument.value.get() = value;
        } else if (!declared.optional) {
            throw ArgumentFailure{DISP_E_PARAMNOTOPTIONAL};
        } else if (declared.kind == ParameterPlan::Kind::Variant) {
            V_VT(argument.value.get()) = VT_ERROR;
            V_ERROR(argument.value.get()) = DISP_E_PARAMNOTFOUND;
        } else {
            const VARIANT empty{};
            argument.value = coerce(empty, declared);
        }
    } else if (declared.byReference && V_VT(given) == (VT_BYREF | declared.variantType())) {
        // The caller's own variable of the right type: the member works on it.
        if (!V_BYREF(given)) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
        argument.callType = V_VT(given);
        V_BYREF(&argument.call) = V_BYREF(given);
        return;
    } else {
        if (declared.kind == ParameterPlan::Kind::Scalar) {
            VARIANT view;
            check(convertScalar(*argument.value.get(), valueOf(*given, view), declared.vt));
        } else {
            argument.value = coerce(*given, declared);
        }
        // An array rebuilt from a list (records from a script's numbers) is
        // the member's copy: the script's variable keeps what it can hold.
        if (declared.byReference && V_VT(given) == (VT_BYREF | VT_VARIANT)) {
            VARIANT* variable = V_VARIANTREF(given);
            const bool rebuilt = declared.kind == ParameterPlan::Kind::Array &&
                                 (V_VT(variable) & ~VT_BYREF) != V_VT(argument.value.get());
            if (!rebuilt) argument.writeBack = variable;
        }
    }

    if (declared.byReference) {
        argument.pointAtValue(declared);
    } else if (declared.kind == ParameterPlan::Kind::Variant) {
        argument.callType = VT_VARIANT;
        argument.direct = true;
    } else {
        argument.callType = declared.variantType();
        argument.call = *argument.value.get();  // a view; `value` keeps ownership
    }
}

// --- The call itself -------------------------------------------------------

template <size_t>
using Word = ULONG_PTR;

template <size_t... Index>
HRESULT callSlot(void* slot, IUnknown* object, const ULONG_PTR* words, std::index_sequence<Index...>) {
    using Member = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Word<Index>...);
    return reinterpret_cast<Member>(slot)(object, words[Index]...);
}

template <size_t Count>
HRESULT callWithWords(void* slot, IUnknown* object, const ULONG_PTR* words) {
    return callSlot(slot, object, words, std::make_index_sequence<Count>());
}

template <size_t... Count>
constexpr auto wordCallers(std::index_sequence<Count...>) {
    return std::array{&callWithWords<Count>...};
}

// Whether the call could be made (DispCallFunc's answer); `answer` is the
// member's own. A member whose arguments are all machine words is called
// through its vtable slot as DispCallFunc would call it, without that
// function's allocation per call.
HRESULT call(IUnknown* object, const CallPlan& plan, Argument* arguments, UINT count, HRESULT& answer) {
    if (plan.wordArguments) {
        static constexpr auto callers = wordCallers(std::make_index_sequence<maximumWordArguments + 1>());
        ULONG_PTR words[maximumWordArguments];
        for (UINT i = 0; i < count; ++i) words[i] = reinterpret_cast<ULONG_PTR>(V_BYREF(arguments[i].passed()));
        void* slot = (*reinterpret_cast<void***>(object))[plan.vtableOffset / sizeof(void*)];
        answer = callers[count](slot, object, words);
        return S_OK;
    }
    Slots<VARTYPE> types(count);
    Slots<VARIANTARG*> values(count);
    for (UINT i = 0; i < count; ++i) {
        types[i] = arguments[i].callType;
        values[i] = arguments[i].passed();
    }
    // Not every DispCallFunc accepts VT_HRESULT as a return type, and a
    // 32-bit integer is the same thing.
    VARIANT returned{};
    const HRESULT hr = DispCallFunc(object, plan.vtableOffset, plan.callingConvention, VT_I4, count, types.data(),
                                    values.data(), &returned);
    answer = V_I4(&returned);
    return hr;
}

void describe(EXCEPINFO* exception, HRESULT code, BSTR source, BSTR description) {
    *exception = EXCEPINFO{};
    exception->bstrSource = source;
    exception->bstrDescription = description;
    exception->scode = code;
}

HRESULT memberFailed(HRESULT code, EXCEPINFO* exception) {
    if (!exception) return code;  // the member's error information stays for the caller
    ComPtr<IErrorInfo> info;
    BSTR source = nullptr, description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK) {
        info->GetSource(&source);
        info->GetDescription(&description);
    }
    describe(exception, code, source, description);
    return DISP_E_EXCEPTION;
}

// An error the invoker raises itself reaches the caller like a member's: in
// EXCEPINFO when there is one, in the thread's error information otherwise.
HRESULT raised(const AutomationError& error, EXCEPINFO* exception) {
    if (!exception) return report(error);
    describe(exception, error.failureCode(), SysAllocString(error.source().c_str()),
             SysAllocString(error.description().c_str()));
    return DISP_E_EXCEPTION;
}

}  // namespace

HRESULT invoke(const DispatchTable& table, IUnknown* object, DISPID member, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept {
    DISPPARAMS none{};
    if (!params) params = &none;
    if (params->cNamedArgs > params->cArgs || (params->cArgs && !params->rgvarg) ||
        (params->cNamedArgs && !params->rgdispidNamedArgs))
        return E_INVALIDARG;
    UINT current = 0;  // index into rgvarg of the argument being prepared
    try {
        const CallPlan* plan = table.find(member, flags);
        if (!plan) return DISP_E_MEMBERNOTFOUND;

        const UINT inputs = static_cast<UINT>(plan->inputs.size());
        const UINT count = inputs + (plan->returns ? 1 : 0);
        const bool setter = plan->kind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);

        // Where each argument goes: named ones by their parameter index (the
        // value of a property write by DISPID_PROPERTYPUT), the rest in order.
        Slots<UINT> source(inputs);
        for (UINT i = 0; i < inputs; ++i) source[i] = UINT(-1);
        const UINT named = params->cNamedArgs;
        UINT positional = params->cArgs - named;
        for (UINT k = 0; k < named; ++k) {
            const DISPID id = params->rgdispidNamedArgs[k];
            const UINT index = id == DISPID_PROPERTYPUT ? inputs - 1 : static_cast<UINT>(id);
            if (index >= inputs) {
                if (argumentError) *argumentError = k;
                return DISP_E_PARAMNOTFOUND;
            }
            source[index] = k;
        }
        if (setter && named == 0 && positional > 0 && inputs > 0) {
            source[inputs - 1] = 0;  // the value is the last argument given
            --positional;
        }
        if (positional > inputs) return DISP_E_BADPARAMCOUNT;
        for (UINT i = 0; i < positional; ++i) source[i] = params->cArgs - 1 - i;

        Slots<Argument> arguments(count);
        for (UINT i = 0; i < inputs; ++i) {
            current = source[i];
            const VARIANT* given = current == UINT(-1) ? nullptr : &params->rgvarg[current];
            prepare(arguments[i], given, plan->inputs[i]);
        }
        if (plan->returns) {
            if (FAILED(plan->result.unusable)) throw ArgumentFailure{plan->result.unusable};
            V_VT(arguments[count - 1].value.get()) = plan->result.variantType();
            arguments[count - 1].pointAtValue(plan->result);
        }

        HRESULT hr = S_OK;
        if (const HRESULT made = call(object, *plan, arguments.data(), count, hr); FAILED(made)) return made;
        for (UINT i = 0; i < count; ++i) {
            Argument& argument = arguments[i];
            if (!argument.writeBack) continue;
            VariantClear(argument.writeBack);
            *argument.writeBack = argument.value.release();
        }
        if (FAILED(hr)) return memberFailed(hr, exception);
        if (plan->returns && result) {
            *result = arguments[count - 1].value.release();
            // Script hosts cannot compare or compute with VT_UI4: an OLE_COLOR
            // goes back as the Long with the same bits, as it comes in.
            if (V_VT(result) == VT_UI4) V_VT(result) = VT_I4;
        }
        return S_OK;
    } catch (const ArgumentFailure& failure) {
        if (argumentError) *argumentError = current;
        return failure.code;
    } catch (const AutomationError& error) {
        return raised(error, exception);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT invoke(ITypeInfo* vtableInfo, IUnknown* object, DISPID member, WORD flags, DISPPARAMS* params,
               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept {
    const DispatchTable* table = nullptr;
    try {
        table = &DispatchTable::of(vtableInfo);
    } catch (...) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    return invoke(*table, object, member, flags, params, result, exception, argumentError);
}

HRESULT idsOfNames(ITypeInfo* vtableInfo, LPOLESTR* names, UINT count, DISPID* ids) noexcept {
    try {
        return DispatchTable::of(vtableInfo).idsOfNames(names, count, ids);
    } catch (...) {
        return TYPE_E_CANTLOADLIBRARY;
    }
}

}  // namespace com
