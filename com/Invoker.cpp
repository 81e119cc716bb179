#include "Invoker.h"

#include "AutomationError.h"
#include "Ptr.h"
#include "Variant.h"

#include <string>
#include <vector>

namespace com {
namespace {

// An argument that cannot become its parameter's type; `code` is what
// IDispatch::Invoke reports (type mismatch, overflow, ...).
struct ArgumentFailure {
    HRESULT code;
};

void check(HRESULT hr) {
    if (FAILED(hr)) throw ArgumentFailure{hr};
}

class FuncDesc {
public:
    FuncDesc() = default;
    FuncDesc(ITypeInfo* info, UINT index) : info_(info) { check(info->GetFuncDesc(index, &desc_)); }
    FuncDesc(FuncDesc&& other) noexcept : info_(other.info_), desc_(std::exchange(other.desc_, nullptr)) {}
    FuncDesc& operator=(FuncDesc&& other) noexcept {
        std::swap(info_, other.info_);
        std::swap(desc_, other.desc_);
        return *this;
    }
    ~FuncDesc() {
        if (desc_) info_->ReleaseFuncDesc(desc_);
    }
    explicit operator bool() const { return desc_ != nullptr; }
    const FUNCDESC* operator->() const { return desc_; }

private:
    ITypeInfo* info_ = nullptr;
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

// A parameter's type as the invoker needs it, aliases and enumerations resolved.
struct Declared {
    // Interface: an interface type not yet behind its pointer; Record: a bare
    // record (only meaningful as an array element).
    enum class Kind { Scalar, Variant, Object, Array, Interface, Record };
    Kind kind = Kind::Scalar;
    VARTYPE vt = VT_EMPTY;  // Scalar: the type; Array: the element type
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
        throw ArgumentFailure{DISP_E_BADVARTYPE};
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
            if (declared.byReference) throw ArgumentFailure{DISP_E_BADVARTYPE};
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

// --- Lists of values, for arrays built from what a script can hold ---------

std::vector<Variant> itemsOfSafeArray(SAFEARRAY* array) {
    if (!array) return {};
    if (SafeArrayGetDim(array) != 1) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    VARTYPE type = VT_EMPTY;
    check(SafeArrayGetVartype(array, &type));
    LONG lower = 0, upper = -1;
    check(SafeArrayGetLBound(array, 1, &lower));
    check(SafeArrayGetUBound(array, 1, &upper));
    std::vector<Variant> items;
    for (LONG i = lower; i <= upper; ++i) {
        Variant item;
        if (type == VT_VARIANT) {
            check(SafeArrayGetElement(array, &i, item.get()));
        } else if (type == VT_RECORD) {
            throw ArgumentFailure{DISP_E_TYPEMISMATCH};
        } else {
            check(SafeArrayGetElement(array, &i, &item->llVal));
            item->vt = type;
        }
        items.push_back(std::move(item));
    }
    return items;
}

// A JScript array reaches us as an object with `length` and indexed members.
std::vector<Variant> itemsOfScriptArray(IDispatch* array) {
    auto read = [array](const std::wstring& name, Variant& value) {
        DISPID id = DISPID_UNKNOWN;
        LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
        if (FAILED(array->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
        DISPPARAMS none{};
        return SUCCEEDED(array->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                       value.get(), nullptr, nullptr));
    };
    Variant length;
    if (!array || !read(L"length", length)) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    check(VariantChangeType(length.get(), length.get(), 0, VT_I4));
    std::vector<Variant> items(V_I4(length.get()) > 0 ? V_I4(length.get()) : 0);
    for (size_t i = 0; i < items.size(); ++i) read(std::to_wstring(i), items[i]);  // a hole stays Empty
    return items;
}

std::vector<Variant> itemsOf(const VARIANT& list) {
    if (V_VT(&list) & VT_ARRAY) return itemsOfSafeArray(V_ARRAY(&list));
    if (V_VT(&list) == VT_DISPATCH) return itemsOfScriptArray(V_DISPATCH(&list));
    throw ArgumentFailure{DISP_E_TYPEMISMATCH};
}

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

SAFEARRAY* recordsFromNumbers(const std::vector<Variant>& items, IRecordInfo* record) {
    const UINT fields = longFieldsOf(record);
    if (fields == 0) throw ArgumentFailure{DISP_E_TYPEMISMATCH};
    if (items.size() % fields != 0) raise(RuntimeError::WrongArguments);
    SafeArray records(SafeArrayCreateVectorEx(VT_RECORD, 0, static_cast<ULONG>(items.size() / fields), record));
    if (!records.get()) throw std::bad_alloc();
    {
        ArrayAccess access(records.get());
        LONG* out = access.data<LONG>();
        for (const Variant& item : items) {
            Variant number;
            check(VariantChangeType(number.get(), const_cast<VARIANT*>(item.get()), 0, VT_I4));
            *out++ = V_I4(number.get());
        }
    }
    return records.release();
}

SAFEARRAY* arrayFromItems(const std::vector<Variant>& items, VARTYPE element) {
    SafeArray array(SafeArrayCreateVector(element, 0, static_cast<ULONG>(items.size())));
    if (!array.get()) throw std::bad_alloc();
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
        Variant value;
        if (element == VT_VARIANT) {
            check(VariantCopy(value.get(), const_cast<VARIANT*>(items[i].get())));
            check(SafeArrayPutElement(array.get(), &i, value.get()));
        } else {
            check(VariantChangeType(value.get(), const_cast<VARIANT*>(items[i].get()), 0, element));
            void* slot = element == VT_BSTR || element == VT_DISPATCH || element == VT_UNKNOWN
                             ? static_cast<void*>(value->byref)
                             : static_cast<void*>(&value->llVal);
            check(SafeArrayPutElement(array.get(), &i, slot));
        }
    }
    return array.release();
}

// --- Coercion of one argument ---------------------------------------------

Variant coerce(const VARIANT& given, const Declared& declared) {
    Variant source;
    check(VariantCopyInd(source.get(), const_cast<VARIANT*>(&given)));
    VARIANT& value = *source.get();
    Variant result;
    switch (declared.kind) {
    case Declared::Kind::Scalar:
        // A script holds OLE_COLOR values such as &H8000000F as negative Longs;
        // the bit pattern is the colour.
        if (declared.vt == VT_UI4 && (V_VT(&value) == VT_I4 || V_VT(&value) == VT_I2)) {
            V_VT(result.get()) = VT_UI4;
            V_UI4(result.get()) = static_cast<ULONG>(V_VT(&value) == VT_I4 ? V_I4(&value) : V_I2(&value));
        } else {
            check(VariantChangeType(result.get(), &value, 0, declared.vt));
        }
        return result;
    case Declared::Kind::Variant:
        return source;
    case Declared::Kind::Object: {
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
    case Declared::Kind::Array: {
        V_VT(result.get()) = declared.variantType();
        if (V_VT(&value) == VT_EMPTY) return result;  // an omitted array arrives as no array
        // A script's array that was never dimensioned stays none, for the member to refuse.
        if ((V_VT(&value) & VT_ARRAY) && !V_ARRAY(&value)) return result;
        if (V_VT(&value) == declared.variantType()) {
            if (declared.record && !sameRecord(V_ARRAY(&value), declared.record.Get()))
                throw ArgumentFailure{DISP_E_TYPEMISMATCH};
            return source;
        }
        const std::vector<Variant> items = itemsOf(value);
        V_ARRAY(result.get()) = declared.record ? recordsFromNumbers(items, declared.record.Get())
                                                : arrayFromItems(items, declared.vt);
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

    void pointAtValue(const Declared& declared) {
        callType = VT_BYREF | declared.variantType();
        V_BYREF(&call) = declared.kind == Declared::Kind::Variant ? static_cast<void*>(value.get())
                                                                 : static_cast<void*>(&value->llVal);
    }
};

bool isMissing(const VARIANT* given) {
    return !given || (V_VT(given) == VT_ERROR && V_ERROR(given) == DISP_E_PARAMNOTFOUND);
}

void prepare(Argument& argument, const VARIANT* given, const Declared& declared, const PARAMDESC& description) {
    if (isMissing(given)) {
        const USHORT flags = description.wParamFlags;
        if (flags & PARAMFLAG_FHASDEFAULT) {
            argument.value = coerce(description.pparamdescex->varDefaultValue, declared);
        } else if (!(flags & PARAMFLAG_FOPT)) {
            throw ArgumentFailure{DISP_E_PARAMNOTOPTIONAL};
        } else if (declared.kind == Declared::Kind::Variant) {
            V_VT(argument.value.get()) = VT_ERROR;
            V_ERROR(argument.value.get()) = DISP_E_PARAMNOTFOUND;
        } else {
            VARIANT empty{};
            argument.value = coerce(empty, declared);
        }
    } else if (declared.byReference && V_VT(given) == (VT_BYREF | declared.variantType())) {
        // The caller's own variable of the right type: the member works on it.
        argument.callType = V_VT(given);
        V_BYREF(&argument.call) = V_BYREF(given);
        return;
    } else {
        argument.value = coerce(*given, declared);
        // An array rebuilt from a list (records from a script's numbers) is
        // the member's copy: the script's variable keeps what it can hold.
        if (declared.byReference && V_VT(given) == (VT_BYREF | VT_VARIANT)) {
            VARIANT* variable = V_VARIANTREF(given);
            const bool rebuilt = declared.kind == Declared::Kind::Array &&
                                 (V_VT(variable) & ~VT_BYREF) != V_VT(argument.value.get());
            if (!rebuilt) argument.writeBack = variable;
        }
    }

    if (declared.byReference) {
        argument.pointAtValue(declared);
    } else if (declared.kind == Declared::Kind::Variant) {
        argument.callType = VT_VARIANT;
        argument.direct = true;
    } else {
        argument.callType = declared.variantType();
        argument.call = *argument.value.get();  // a view; `value` keeps ownership
    }
}

FuncDesc findMember(ITypeInfo* info, DISPID member, WORD flags) {
    TypeAttr attr(info);
    FuncDesc fallback;
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FuncDesc function(info, i);
        if (function->memid != member) continue;
        const INVOKEKIND kind = function->invkind;
        if (((flags & DISPATCH_METHOD) && kind == INVOKE_FUNC) ||
            ((flags & DISPATCH_PROPERTYGET) && kind == INVOKE_PROPERTYGET) ||
            ((flags & DISPATCH_PROPERTYPUT) && kind == INVOKE_PROPERTYPUT) ||
            ((flags & DISPATCH_PROPERTYPUTREF) && kind == INVOKE_PROPERTYPUTREF))
            return function;
        // `obj.Pen = p` without Set, or `Set obj.Value = x`: the one setter there is.
        const bool setting = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
        if (setting && (kind == INVOKE_PROPERTYPUT || kind == INVOKE_PROPERTYPUTREF) && !fallback)
            fallback = std::move(function);
    }
    return fallback;
}

void describe(EXCEPINFO* exception, HRESULT code, BSTR source, BSTR description) {
    *exception = EXCEPINFO{};
    exception->bstrSource = source;
    exception->bstrDescription = description;
    exception->scode = code;
}

HRESULT memberFailed(HRESULT code, EXCEPINFO* exception) {
    if (!exception) return code;
    ComPtr<IErrorInfo> info;
    BSTR source = nullptr, description = nullptr;
    if (GetErrorInfo(0, &info) == S_OK) {
        info->GetSource(&source);
        info->GetDescription(&description);
    }
    describe(exception, code, source, description);
    return DISP_E_EXCEPTION;
}

HRESULT raised(const AutomationError& error, EXCEPINFO* exception) {
    if (!exception) return error.failureCode();
    describe(exception, error.failureCode(), SysAllocString(error.source().c_str()),
             SysAllocString(error.description().c_str()));
    return DISP_E_EXCEPTION;
}

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
    } catch (const ArgumentFailure&) {
        return 0;
    }
}

HRESULT invoke(ITypeInfo* info, IUnknown* object, DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
               EXCEPINFO* exception, UINT* argumentError) noexcept {
    DISPPARAMS none{};
    if (!params) params = &none;
    UINT current = 0;  // index into rgvarg of the argument being prepared
    try {
        FuncDesc function = findMember(info, member, flags);
        if (!function) return DISP_E_MEMBERNOTFOUND;

        const UINT count = function->cParams;
        const bool returns = count > 0 && (function->lprgelemdescParam[count - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
        const UINT inputs = count - (returns ? 1 : 0);
        const bool setter = function->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF);

        // Where each argument goes: named ones by their parameter index (the
        // value of a property write by DISPID_PROPERTYPUT), the rest in order.
        std::vector<UINT> source(inputs, UINT(-1));
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

        std::vector<Argument> arguments(count);
        for (UINT i = 0; i < inputs; ++i) {
            const ELEMDESC& parameter = function->lprgelemdescParam[i];
            current = source[i];
            const VARIANT* given = current == UINT(-1) ? nullptr : &params->rgvarg[current];
            prepare(arguments[i], given, resolve(info, parameter.tdesc), parameter.paramdesc);
        }
        if (returns) {
            Declared declared = resolve(info, function->lprgelemdescParam[count - 1].tdesc);
            declared.byReference = false;
            V_VT(arguments[count - 1].value.get()) = declared.variantType();
            arguments[count - 1].pointAtValue(declared);
        }

        std::vector<VARTYPE> types(count);
        std::vector<VARIANTARG*> values(count);
        for (UINT i = 0; i < count; ++i) {
            types[i] = arguments[i].callType;
            values[i] = arguments[i].passed();
        }
        // Members return an HRESULT; not every DispCallFunc accepts VT_HRESULT
        // as a return type, and a 32-bit integer is the same thing.
        VARIANT returned{};
        HRESULT hr = DispCallFunc(object, function->oVft, function->callconv, VT_I4, count, types.data(),
                                  values.data(), &returned);
        if (FAILED(hr)) return hr;

        for (Argument& argument : arguments) {
            if (!argument.writeBack) continue;
            VariantClear(argument.writeBack);
            *argument.writeBack = argument.value.release();
        }
        hr = V_I4(&returned);
        if (FAILED(hr)) return memberFailed(hr, exception);
        if (returns && result) {
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

}  // namespace com
