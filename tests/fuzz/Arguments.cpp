#include "Arguments.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace fuzz {

namespace {

Variant typed(VARTYPE type) {
    Variant v;
    V_VT(v.get()) = type;
    return v;
}
Variant of(long value) {
    Variant v = typed(VT_I4);
    V_I4(v.get()) = value;
    return v;
}
Variant of(double value) {
    Variant v = typed(VT_R8);
    V_R8(v.get()) = value;
    return v;
}
Variant text(const std::wstring& value, bool null = false) {
    Variant v = typed(VT_BSTR);
    V_BSTR(v.get()) = null ? nullptr : SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    return v;
}
Variant missing() {
    Variant v = typed(VT_ERROR);
    V_ERROR(v.get()) = DISP_E_PARAMNOTFOUND;
    return v;
}

const long extremeLongs[] = {0,       1,          -1,        2,         7,        255,        256,
                             32767,   32768,      -32768,    65535,     65536,    1000000,    -1000000,
                             84476037, 134217727, 134217728, INT_MAX,   INT_MIN,  INT_MAX - 1, INT_MIN + 1,
                             0x7FFF0000, -2147418112, 0xFFFFFF, 0x1000000};
const double extremeDoubles[] = {std::numeric_limits<double>::quiet_NaN(),
                                 -std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::max(),
                                 -std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::min(),
                                 std::numeric_limits<double>::denorm_min(),
                                 0.5, 1.5, 2.5, -0.5, -0.0, 2147483647.5, 2147483648.0, -2147483649.0, 1e10, -5};
const long colours[] = {0, 0xFFFFFF, 0xFF, 0xFF00, 0xFF0000, 0x808080, -1, static_cast<long>(0x80000005),
                        static_cast<long>(0x8000000F), static_cast<long>(0x80000040), 0x02FFFFFF, 0x01000005,
                        0x7FFFFFFF};

std::wstring hostileText(Random& random) {
    switch (random.below(14)) {
    case 0: return L"";
    case 1: return std::wstring(L"a\0b", 3);
    case 2: return L"\u4e2d\u6587\u20ac";
    case 3: return L"\U0001F600 smile";
    case 4: return std::wstring(1, wchar_t(0xD800)) + L"lone";
    case 5: return std::wstring(70000, L'x');
    case 6: return L" 12 ";
    case 7: return L"1e3";
    case 8: return L"&HFF";
    case 9: return L"True";
    case 10: return L"Q:\\missing\\folder\\a.png";
    case 11: return L"fuzz.png";
    case 12: return L"fuzz.bmp";
    default: return L"abc";
    }
}

// A JScript array as the engine hands it over: an object with `length` and
// members named by their index, here claiming any length.
class FakeArray : public IDispatch {
public:
    FakeArray(long length, int elements) : length_(length), elements_(elements) {}
    virtual ~FakeArray() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch)) return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (!left) delete this;
        return left;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1 || !names || !ids) return DISP_E_UNKNOWNNAME;
        if (lstrcmpW(names[0], L"length") == 0) {
            *ids = 1;
            return S_OK;
        }
        wchar_t* end = nullptr;
        const long index = wcstol(names[0], &end, 10);
        if (end == names[0] || *end || index < 0 || index > 1000000) return DISP_E_UNKNOWNNAME;
        *ids = 100 + index;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
        if (!result) return S_OK;
        VariantInit(result);
        if (id == 1) {
            V_VT(result) = VT_I4;
            V_I4(result) = length_;
        } else if (elements_ == 0) {
            V_VT(result) = VT_I4;
            V_I4(result) = (id * 7) % 50;
        } else if (elements_ == 1) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(L"x");
        } else {
            V_VT(result) = VT_R8;
            V_R8(result) = std::numeric_limits<double>::quiet_NaN();
        }
        return S_OK;
    }

private:
    long length_;
    int elements_;
    ULONG references_ = 1;
};

Variant vector(VARTYPE element, LONG lower, ULONG count) {
    SAFEARRAYBOUND bound{count, lower};
    Variant v = typed(static_cast<VARTYPE>(VT_ARRAY | element));
    V_ARRAY(v.get()) = SafeArrayCreate(element, 1, &bound);
    return v;
}

void put(Variant& array, LONG index, const Variant& value) {
    SAFEARRAY* a = V_ARRAY(array.get());
    if (!a) return;
    VARTYPE element = VT_EMPTY;
    SafeArrayGetVartype(a, &element);
    if (element == VT_VARIANT) {
        SafeArrayPutElement(a, &index, const_cast<VARIANT*>(value.get()));
        return;
    }
    Variant converted;
    if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(value.get()), 0, element))) return;
    if (element == VT_BSTR) SafeArrayPutElement(a, &index, V_BSTR(converted.get()));
    else if (element == VT_DISPATCH) SafeArrayPutElement(a, &index, V_DISPATCH(converted.get()));
    else SafeArrayPutElement(a, &index, &converted.get()->llVal);
}

Variant numbers(Random& random, VARTYPE element, LONG lower, ULONG count, bool extreme) {
    Variant array = vector(element, lower, count);
    for (ULONG i = 0; i < count; ++i)
        put(array, lower + static_cast<LONG>(i),
            of(extreme && random.chance(0.5) ? random.pick(extremeLongs) : random.between(-10, 120)));
    return array;
}

}  // namespace

Arguments::Arguments(Random& random, Objects& objects) : random_(random), objects_(objects) {}

Variant Arguments::anyLong(const std::wstring& name) {
    const bool handle = name.size() > 1 && name[0] == L'h' && iswupper(name[1]);
    if (handle && !objects_.handles().empty() && random_.chance(0.7))
        return of(random_.pick(const_cast<std::vector<long>&>(objects_.handles())));
    if (name.find(L"Color") != std::wstring::npos && random_.chance(0.7)) return of(random_.pick(colours));
    if (random_.chance(0.7)) return of(random_.between(-10, 120));
    if (random_.chance(0.5)) return of(random_.between(0, 1000));
    return of(random_.pick(extremeLongs));
}

Variant Arguments::anyArray() {
    switch (random_.below(17)) {
    case 0:
    case 1:
    case 2: return numbers(random_, VT_VARIANT, 0, 2 * static_cast<ULONG>(random_.between(1, 8)), false);
    case 3: return vector(VT_VARIANT, 0, 0);
    case 4: {
        Variant never = typed(VT_ARRAY | VT_VARIANT);
        V_ARRAY(never.get()) = nullptr;
        return never;
    }
    case 5: {
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
        Variant v = typed(VT_ARRAY | VT_VARIANT);
        V_ARRAY(v.get()) = SafeArrayCreate(VT_VARIANT, 2, bounds);
        return v;
    }
    case 6: {
        Variant v = vector(VT_BSTR, 0, 4);
        for (LONG i = 0; i < 4; ++i) put(v, i, text(i == 2 ? L"x" : std::to_wstring(i)));
        return v;
    }
    case 7: return numbers(random_, VT_I4, 0, 4, true);
    case 8: {
        Variant v = vector(VT_R8, 0, 4);
        for (LONG i = 0; i < 4; ++i) put(v, i, of(random_.pick(extremeDoubles)));
        return v;
    }
    case 9: return numbers(random_, VT_VARIANT, INT_MAX, 1, false);
    case 10: return numbers(random_, VT_VARIANT, INT_MAX - 1, 2, false);
    case 11: return numbers(random_, VT_VARIANT, -5, 4, false);
    case 12: return numbers(random_, VT_VARIANT, 0, 3, false);
    case 13: {
        Variant v = vector(VT_VARIANT, 0, 4);
        put(v, 0, text(L"7"));
        put(v, 1, hostile());
        put(v, 2, numbers(random_, VT_VARIANT, 0, 2, false));
        if (Live* some = objects_.any()) put(v, 3, objectValue(some->object.Get()));
        return v;
    }
    case 14: return numbers(random_, VT_VARIANT, 0, 2000, false);
    case 15: return numbers(random_, VT_VARIANT, 0, 2 * static_cast<ULONG>(random_.between(1, 5)), true);
    default:
        if (!objects_.arrays().empty()) return Variant(*random_.pick(const_cast<std::vector<Variant>&>(objects_.arrays())).get());
        return vector(VT_DISPATCH, 0, 2);
    }
}

Variant Arguments::hostile() {
    switch (random_.below(19)) {
    case 0: return typed(VT_EMPTY);
    case 1: return typed(VT_NULL);
    case 2: return objectValue(nullptr);
    case 3: return missing();
    case 4: {
        Variant v = typed(VT_ERROR);
        V_ERROR(v.get()) = E_FAIL;
        return v;
    }
    case 5: return of(random_.pick(extremeLongs));
    case 6: return of(random_.pick(extremeDoubles));
    case 7: return text(hostileText(random_), random_.chance(0.1));
    case 8: {
        Variant v = typed(VT_DATE);
        const double dates[] = {0.0, -657434.0, 2958465.99, 45000.5, std::numeric_limits<double>::quiet_NaN()};
        V_DATE(v.get()) = random_.pick(dates);
        return v;
    }
    case 9: {
        Variant v = typed(VT_CY);
        V_CY(v.get()).int64 = random_.chance(0.5) ? LLONG_MAX : 123456;
        return v;
    }
    case 10: {
        Variant v = of(static_cast<double>(random_.pick(extremeLongs)));
        VariantChangeType(v.get(), v.get(), 0, VT_DECIMAL);
        return v;
    }
    case 11: {
        Variant v = typed(VT_I8);
        V_I8(v.get()) = random_.chance(0.5) ? LLONG_MIN : 4294967296LL;
        return v;
    }
    case 12: {
        Variant v = typed(VT_UI1);
        V_UI1(v.get()) = 255;
        return v;
    }
    case 13: {
        Variant v = typed(VT_BOOL);
        V_BOOL(v.get()) = static_cast<VARIANT_BOOL>(random_.chance(0.5) ? 1 : 2);
        return v;
    }
    case 14: {
        Variant v = typed(VT_I2);
        V_I2(v.get()) = static_cast<SHORT>(random_.chance(0.5) ? SHRT_MIN : SHRT_MAX);
        return v;
    }
    case 15:
    case 16: {
        Live* some = objects_.any();
        return objectValue(some ? some->object.Get() : nullptr);
    }
    case 17: {
        const long lengths[] = {4, 6, 3, 0, -1, INT_MAX, 100000};
        auto* fake = new FakeArray(random_.pick(lengths), static_cast<int>(random_.below(tame_ ? 2 : 3)));
        Variant v = objectValue(fake);
        fake->Release();
        return v;
    }
    default: return anyArray();
    }
}

Variant Arguments::fitting(const Parameter& parameter) {
    switch (parameter.type) {
    case VT_I4:
    case VT_UI4: return anyLong(parameter.name);
    case VT_I2: {
        Variant v = typed(VT_I2);
        V_I2(v.get()) = static_cast<SHORT>(random_.between(-5, 100));
        return v;
    }
    case VT_BOOL: {
        Variant v = typed(VT_BOOL);
        V_BOOL(v.get()) = random_.chance(0.5) ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    case VT_R4:
    case VT_R8: return of(random_.chance(0.2) ? 0.0 : static_cast<double>(random_.between(-300, 1000)) / 10);
    case VT_BSTR: {
        const wchar_t* texts[] = {L"Arial", L"Text", L"", L"fuzz.png", L"Tab\there\r\nline"};
        return text(random_.pick(texts));
    }
    case VT_DISPATCH: {
        Live* some = random_.chance(0.85) ? objects_.pick(parameter.objectInterface) : objects_.any();
        return objectValue(some ? some->object.Get() : nullptr);
    }
    case VT_VARIANT:
        if (random_.chance(0.5)) return anyLong(parameter.name);
        return random_.chance(0.5) ? anyArray() : hostile();
    default:
        if (parameter.type & VT_ARRAY)
            return random_.chance(0.7) ? numbers(random_, VT_VARIANT, 0, 2 * static_cast<ULONG>(random_.between(1, 8)), false)
                                       : anyArray();
        return hostile();
    }
}

Variant Arguments::byReference(Variant value, Call& call) {
    call.referenced.push_back(std::move(value));
    VARIANT* target = call.referenced.back().get();
    Variant reference;
    const VARTYPE type = V_VT(target);
    // A script's variable (a reference to a VARIANT), or a typed reference.
    if (random_.chance(0.5) || type == VT_EMPTY || type == VT_NULL) {
        V_VT(reference.get()) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(reference.get()) = target;
    } else {
        V_VT(reference.get()) = static_cast<VARTYPE>(VT_BYREF | type);
        V_BYREF(reference.get()) = (type & VT_ARRAY) ? static_cast<void*>(&V_ARRAY(target))
                                   : type == VT_DECIMAL ? static_cast<void*>(&V_DECIMAL(target))
                                                         : static_cast<void*>(&target->llVal);
    }
    return reference;
}

bool reachesFragilePlatformDrawing(const Member& member) {
    const wchar_t* interfaces[] = {L"_DCDrawing", L"_DCPath", L"_DCCoordinates", L"_DCTextDrawing",
                                   L"_DCInterfaceDrawing", L"_DCFocusRect"};
    const wchar_t* members[] = {L"CreatePenObject", L"CreateFontObject", L"CreateEllipse", L"CreateRoundRect"};
    for (const wchar_t* name : interfaces)
        if (member.interfaceName == name) return true;
    for (const wchar_t* name : members)
        if (member.name == name) return true;
    return false;
}

void tame(VARIANT& value) {
    constexpr double bound = 10000;
    VARIANT* target = &value;
    if (V_VT(target) == (VT_BYREF | VT_VARIANT)) target = V_VARIANTREF(target);
    const VARTYPE type = V_VT(target);
    if (type & VT_ARRAY) {
        SAFEARRAY* array = (type & VT_BYREF) ? *V_ARRAYREF(target) : V_ARRAY(target);
        if (!array || SafeArrayGetDim(array) != 1) return;
        VARTYPE element = VT_EMPTY;
        SafeArrayGetVartype(array, &element);
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(array, 1, &lower);
        SafeArrayGetUBound(array, 1, &upper);
        for (LONG i = lower; i <= upper; ++i) {
            Variant item;
            if (element == VT_VARIANT) {
                SafeArrayGetElement(array, &i, item.get());
                tame(*item.get());
                SafeArrayPutElement(array, &i, item.get());
            } else if (element == VT_I4 || element == VT_R8) {
                V_VT(item.get()) = element;
                SafeArrayGetElement(array, &i, &item.get()->llVal);
                tame(*item.get());
                SafeArrayPutElement(array, &i, &item.get()->llVal);
            }
            if (i == upper) break;
        }
        return;
    }
    const bool reference = (type & VT_BYREF) != 0;
    switch (type & ~VT_BYREF) {
    case VT_I4: {
        LONG& v = reference ? *V_I4REF(target) : V_I4(target);
        v = static_cast<LONG>(std::clamp<double>(v, -bound, bound));
        break;
    }
    case VT_R8: {
        DOUBLE& v = reference ? *V_R8REF(target) : V_R8(target);
        v = std::isnan(v) ? 0 : std::clamp(v, -bound, bound);
        break;
    }
    case VT_R4: {
        FLOAT& v = reference ? *V_R4REF(target) : V_R4(target);
        v = std::isnan(v) ? 0 : std::clamp<FLOAT>(v, -bound, bound);
        break;
    }
    case VT_I2: {
        SHORT& v = reference ? *V_I2REF(target) : V_I2(target);
        v = static_cast<SHORT>(std::clamp<double>(v, -bound, bound));
        break;
    }
    case VT_DECIMAL:
        VarDecFromI4(12, reference ? V_DECIMALREF(target) : &V_DECIMAL(target));
        if (!reference) V_VT(target) = VT_DECIMAL;  // the decimal covers the type field
        break;
    case VT_CY: (reference ? *V_CYREF(target) : V_CY(target)).int64 = 120000; break;
    case VT_I8: (reference ? *V_I8REF(target) : V_I8(target)) = 12; break;
    case VT_DATE: (reference ? *V_DATEREF(target) : V_DATE(target)) = 12; break;
    default: break;
    }
}

void Arguments::fill(Call& call) {
    const Member& member = *call.member;
    tame_ = reachesFragilePlatformDrawing(member);
    call.flags = member.flags;
    call.id = member.id;
    if (random_.chance(0.02)) call.flags = static_cast<WORD>(random_.between(1, 15));
    if (random_.chance(0.01)) call.id = 7777;
    call.withException = random_.chance(0.9);
    call.withResult = random_.chance(0.85);

    const bool spoil = random_.chance(0.25);  // this call gets hostile values
    for (const Parameter& parameter : member.parameters) {
        if (parameter.optional && random_.chance(0.25) && &parameter != &member.parameters.back()) {
            call.positional.push_back(missing());
            continue;
        }
        Variant value = spoil && random_.chance(0.4) ? hostile() : fitting(parameter);
        if (parameter.byReference ? random_.chance(0.6) : random_.chance(0.08))
            value = byReference(std::move(value), call);
        call.positional.push_back(std::move(value));
    }
    // Trailing optional parameters left out, as scripts do.
    while (!call.positional.empty() && member.parameters[call.positional.size() - 1].optional && random_.chance(0.3) &&
           member.flags == DISPATCH_METHOD)
        call.positional.pop_back();
    if (random_.chance(0.03) && !call.positional.empty())
        call.positional.resize(random_.below(call.positional.size()));
    if (random_.chance(0.03))
        for (long extra = random_.between(1, 3); extra > 0; --extra) call.positional.push_back(hostile());

    // Some arguments by name, now and then one the member does not have.
    if (member.flags == DISPATCH_METHOD && random_.chance(0.05) && !call.positional.empty() &&
        call.positional.size() <= member.parameters.size()) {
        const size_t last = call.positional.size() - 1;
        std::wstring name = random_.chance(0.8) ? member.parameters[last].name : L"NoSuchParameter";
        std::vector<std::wstring> names{member.name, name};
        LPOLESTR list[] = {names[0].data(), names[1].data()};
        DISPID ids[2] = {0, 0};
        if (FAILED(call.target->GetIDsOfNames(IID_NULL, list, 2, LOCALE_USER_DEFAULT, ids))) ids[1] = 4242;
        call.namedNames.push_back(name);
        call.namedIds.push_back(ids[1]);
        call.named.push_back(std::move(call.positional[last]));
        call.positional.pop_back();
    }
    if (tame_) {
        for (Variant& v : call.positional) tame(*v.get());
        for (Variant& v : call.named) tame(*v.get());
        // The two scaled mapping modes multiply every later coordinate on the
        // device context by extents no bound here can follow.
        if (member.name == L"MapMode" && member.flags == DISPATCH_PROPERTYPUT && !call.positional.empty())
            call.positional.back() = of(random_.between(1, 6));
    }
}

// --- Descriptions, so that a failure replays ---------------------------------

namespace {

std::wstring quoted(BSTR value) {
    if (!value) return L"String(null)";
    const UINT length = SysStringLen(value);
    std::wstring out = L"\"";
    for (UINT i = 0; i < length && i < 40; ++i) {
        const wchar_t c = value[i];
        if (c >= 32 && c < 127) {
            out += c;
        } else {
            wchar_t code[12];
            swprintf(code, 12, L"\\u%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
    if (length > 40) out += L"...(" + std::to_wstring(length) + L" characters)";
    return out + L"\"";
}

std::wstring number(double value) {
    wchar_t text[40];
    swprintf(text, 40, L"%.17g", value);
    return text;
}

std::wstring describeArray(SAFEARRAY* array, VARTYPE element, const Objects& objects) {
    if (!array) return L"Array never dimensioned";
    std::wstring out = L"Array(";
    const UINT dims = SafeArrayGetDim(array);
    for (UINT d = 1; d <= dims; ++d) {
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(array, d, &lower);
        SafeArrayGetUBound(array, d, &upper);
        out += (d > 1 ? L", " : L"") + std::to_wstring(lower) + L" To " + std::to_wstring(upper);
    }
    out += L") of type " + std::to_wstring(element);
    if (dims == 1) {
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(array, 1, &lower);
        SafeArrayGetUBound(array, 1, &upper);
        out += L": ";
        int shown = 0;
        for (LONG i = lower; i <= upper && shown < 12; ++i, ++shown) {
            Variant item;
            if (element == VT_VARIANT) {
                SafeArrayGetElement(array, &i, item.get());
            } else if (element == VT_BSTR || element == VT_I4 || element == VT_R8 || element == VT_DISPATCH) {
                SafeArrayGetElement(array, &i, &item.get()->llVal);
                V_VT(item.get()) = element;
            }
            out += (shown ? L", " : L"") + describe(*item.get(), objects);
            if (i == upper) break;  // upper may be the largest index
        }
        if (upper - lower >= 12) out += L", ...";
    }
    return out;
}

}  // namespace

std::wstring describe(const VARIANT& value, const Objects& objects) {
    const VARTYPE type = V_VT(&value);
    if (type & VT_BYREF) {
        if (type == (VT_BYREF | VT_VARIANT)) return L"ByRef " + describe(*V_VARIANTREF(&value), objects);
        VARIANT target{};
        V_VT(&target) = static_cast<VARTYPE>(type & ~VT_BYREF);
        if (type & VT_ARRAY) V_ARRAY(&target) = *V_ARRAYREF(&value);
        else if ((type & ~VT_BYREF) == VT_DECIMAL) return L"ByRef Decimal";
        else target.llVal = *static_cast<LONGLONG*>(V_BYREF(&value));
        return L"ByRef " + describe(target, objects);
    }
    if (type & VT_ARRAY) return describeArray(V_ARRAY(&value), static_cast<VARTYPE>(type & ~VT_ARRAY), objects);
    switch (type) {
    case VT_EMPTY: return L"Empty";
    case VT_NULL: return L"Null";
    case VT_ERROR: return V_ERROR(&value) == DISP_E_PARAMNOTFOUND ? L"(missing)" : L"Error " + std::to_wstring(V_ERROR(&value));
    case VT_I4: return L"Long " + std::to_wstring(V_I4(&value));
    case VT_I2: return L"Integer " + std::to_wstring(V_I2(&value));
    case VT_UI1: return L"Byte " + std::to_wstring(V_UI1(&value));
    case VT_I8: return L"LongLong " + std::to_wstring(V_I8(&value));
    case VT_BOOL: return L"Boolean " + std::to_wstring(V_BOOL(&value));
    case VT_R8: return L"Double " + number(V_R8(&value));
    case VT_R4: return L"Single " + number(V_R4(&value));
    case VT_DATE: return L"Date " + number(V_DATE(&value));
    case VT_CY: return L"Currency " + std::to_wstring(V_CY(&value).int64) + L"/10000";
    case VT_DECIMAL: {
        VARIANT copy = value;
        double d = 0;
        VarR8FromDec(&copy.decVal, &d);
        return L"Decimal " + number(d);
    }
    case VT_BSTR: return L"String " + quoted(V_BSTR(&value));
    case VT_DISPATCH:
    case VT_UNKNOWN:
        if (!V_UNKNOWN(&value)) return L"Nothing";
        if (type == VT_DISPATCH && objects.labelOf(V_UNKNOWN(&value)) == L"a foreign object") {
            Variant length;
            if (lateCall(V_DISPATCH(&value), L"length", DISPATCH_PROPERTYGET, {}, &length))
                return L"JScript-style array claiming " + fuzz::describe(*length.get(), objects) + L" elements";
        }
        return L"Object <" + objects.labelOf(V_UNKNOWN(&value)) + L">";
    default: return L"VarType " + std::to_wstring(type);
    }
}

std::wstring Call::describe(const Objects& objects) const {
    std::wstring out = member->title() + L" on <" + targetLabel + L">(";
    for (size_t i = 0; i < positional.size(); ++i)
        out += (i ? L", " : L"") + fuzz::describe(*positional[i].get(), objects);
    for (size_t i = 0; i < named.size(); ++i)
        out += (i || !positional.empty() ? L", " : L"") + namedNames[i] + L":=" + fuzz::describe(*named[i].get(), objects);
    out += L")";
    if (flags != member->flags) out += L" with flags " + std::to_wstring(flags);
    if (id != member->id) out += L" as DISPID " + std::to_wstring(id);
    if (!withException) out += L", no EXCEPINFO";
    if (!withResult) out += L", no result variable";
    return out;
}

}  // namespace fuzz
