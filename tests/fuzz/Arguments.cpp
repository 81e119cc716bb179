#include "Arguments.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace fuzz {

namespace {

template <class Set>
Variant typed(VARTYPE type, Set set) {
    Variant v;
    V_VT(v.get()) = type;
    set(*v.get());
    return v;
}
Variant of(double value) {
    return typed(VT_R8, [&](VARIANT& v) { V_R8(&v) = value; });
}
Variant text(const std::wstring& value) {
    return typed(VT_BSTR, [&](VARIANT& v) { V_BSTR(&v) = SysAllocStringLen(value.data(), UINT(value.size())); });
}
Variant missing() {
    return typed(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; });
}

const long extremeLongs[] = {0,        1,         -1,        2,       7,       255,         256,
                             32767,    32768,     -32768,    65535,   65536,   1000000,     -1000000,
                             84476037, 134217727, 134217728, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1,
                             0x7FFF0000, -2147418112, 0xFFFFFF, 0x1000000};
const double extremeDoubles[] = {std::nan(""), -std::nan(""), HUGE_VAL, -HUGE_VAL, DBL_MAX, -DBL_MAX, DBL_MIN,
                                 std::numeric_limits<double>::denorm_min(), 0.5, 1.5, 2.5, -0.5, -0.0,
                                 2147483647.5, 2147483648.0, -2147483649.0, 1e10, -5};
const long colours[] = {0, 0xFFFFFF, 0xFF, 0xFF00, 0xFF0000, 0x808080, -1, long(0x80000005), long(0x8000000F),
                        long(0x80000040), 0x02FFFFFF, 0x01000005, 0x7FFFFFFF};
const std::wstring hostileTexts[] = {L"", std::wstring(L"a\0b", 3), L"\u4e2d\u6587\u20ac", L"\U0001F600 smile",
                                     std::wstring(1, wchar_t(0xD800)) + L"lone", std::wstring(70000, L'x'), L" 12 ",
                                     L"1e3", L"&HFF", L"True", L"Q:\\missing\\folder\\a.png", L"fuzz.png", L"fuzz.bmp"};

// A JScript array as the engine hands it over: an object with `length` and
// members named by their index, here claiming any length.
class FakeArray : public IDispatch {
public:
    FakeArray(long length, int elements) : length_(length), elements_(elements) {}
    virtual ~FakeArray() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ? static_cast<IDispatch*>(this) : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (!left) delete this;
        return left;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1) return DISP_E_UNKNOWNNAME;
        wchar_t* end = nullptr;
        const long index = wcstol(names[0], &end, 10);
        if (!lstrcmpW(names[0], L"length")) *ids = 1;
        else if (end != names[0] && !*end && index >= 0 && index <= 1000000) *ids = 100 + index;
        else return DISP_E_UNKNOWNNAME;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
        if (!result) return S_OK;
        VariantInit(result);
        if (id == 1 || elements_ == 0) {
            V_VT(result) = VT_I4;
            V_I4(result) = id == 1 ? length_ : (id * 7) % 50;
        } else if (elements_ == 1) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(L"x");
        } else {
            V_VT(result) = VT_R8;
            V_R8(result) = std::nan("");
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
    return typed(VT_ARRAY | element, [&](VARIANT& v) { V_ARRAY(&v) = SafeArrayCreate(element, 1, &bound); });
}

void put(Variant& array, LONG index, const Variant& value) {
    SAFEARRAY* a = V_ARRAY(array.get());
    VARTYPE element = VT_EMPTY;
    SafeArrayGetVartype(a, &element);
    Variant converted;
    if (element == VT_VARIANT) SafeArrayPutElement(a, &index, const_cast<VARIANT*>(value.get()));
    else if (SUCCEEDED(VariantChangeType(converted.get(), const_cast<VARIANT*>(value.get()), 0, element)))
        SafeArrayPutElement(a, &index, element == VT_BSTR ? static_cast<void*>(V_BSTR(converted.get()))
                                                          : static_cast<void*>(&converted.get()->llVal));
}

}  // namespace

Variant Arguments::numbers(VARTYPE element, LONG lower, ULONG count, bool extreme) {
    Variant array = vector(element, lower, count);
    for (ULONG i = 0; i < count; ++i)
        put(array, lower + LONG(i),
            longValue(extreme && random_.chance(0.5) ? random_.pick(extremeLongs) : random_.between(-10, 120)));
    return array;
}

Variant Arguments::anyLong(const std::wstring& name) {
    const bool handle = name.size() > 1 && name[0] == L'h' && iswupper(name[1]);
    if (handle && !objects_.handles().empty() && random_.chance(0.7))
        return longValue(random_.pick(const_cast<std::vector<long>&>(objects_.handles())));
    if (name.find(L"Color") != std::wstring::npos && random_.chance(0.7)) return longValue(random_.pick(colours));
    if (random_.chance(0.7)) return longValue(random_.between(-10, 120));
    return longValue(random_.chance(0.5) ? random_.between(0, 1000) : random_.pick(extremeLongs));
}

Variant Arguments::anyArray() {
    const ULONG pairs = 2 * ULONG(random_.between(1, 8));
    switch (random_.below(14)) {
    case 0: return vector(VT_VARIANT, 0, 0);
    case 1: return typed(VT_ARRAY | VT_VARIANT, [](VARIANT& v) { V_ARRAY(&v) = nullptr; });  // never dimensioned
    case 2: {
        SAFEARRAYBOUND bounds[2] = {{2, 0}, {3, 0}};
        return typed(VT_ARRAY | VT_VARIANT, [&](VARIANT& v) { V_ARRAY(&v) = SafeArrayCreate(VT_VARIANT, 2, bounds); });
    }
    case 3: {
        Variant v = vector(VT_BSTR, 0, 4);
        for (LONG i = 0; i < 4; ++i) put(v, i, text(i == 2 ? L"x" : std::to_wstring(i)));
        return v;
    }
    case 4: return numbers(VT_I4, 0, 4, true);
    case 5: {
        Variant v = vector(VT_R8, 0, 4);
        for (LONG i = 0; i < 4; ++i) put(v, i, of(random_.pick(extremeDoubles)));
        return v;
    }
    case 6: return numbers(VT_VARIANT, INT_MAX - LONG(random_.below(2)), 1 + ULONG(random_.below(2)), false);
    case 7: return numbers(VT_VARIANT, -5, 4, false);
    case 8: return numbers(VT_VARIANT, 0, 3, false);
    case 9: {
        Variant v = vector(VT_VARIANT, 0, 4);
        put(v, 0, text(L"7"));
        put(v, 1, hostile());
        put(v, 2, numbers(VT_VARIANT, 0, 2, false));
        if (Live* some = objects_.any()) put(v, 3, objectValue(some->object.Get()));
        return v;
    }
    case 10: return numbers(VT_VARIANT, 0, 2000, false);
    case 11: return numbers(VT_VARIANT, 0, pairs, true);
    case 12:
        if (!objects_.arrays().empty()) return Variant(*random_.pick(const_cast<std::vector<Variant>&>(objects_.arrays())).get());
        return vector(VT_DISPATCH, 0, 2);
    default: return numbers(VT_VARIANT, 0, pairs, false);
    }
}

Variant Arguments::hostile() {
    switch (random_.below(17)) {
    case 0: return Variant();
    case 1: return typed(VT_NULL, [](VARIANT&) {});
    case 2: return objectValue(nullptr);
    case 3: return missing();
    case 4: return typed(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = E_FAIL; });
    case 5: return longValue(random_.pick(extremeLongs));
    case 6: return of(random_.pick(extremeDoubles));
    case 7:
        if (random_.chance(0.1)) return typed(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = nullptr; });
        return text(random_.pick(hostileTexts));
    case 8: {
        const double dates[] = {0.0, -657434.0, 2958465.99, 45000.5, std::nan("")};
        return typed(VT_DATE, [&](VARIANT& v) { V_DATE(&v) = random_.pick(dates); });
    }
    case 9: return typed(VT_CY, [&](VARIANT& v) { V_CY(&v).int64 = random_.chance(0.5) ? LLONG_MAX : 123456; });
    case 10: {
        Variant v = of(double(random_.pick(extremeLongs)));
        VariantChangeType(v.get(), v.get(), 0, VT_DECIMAL);
        return v;
    }
    case 11: {
        // The odd scalar types: 64-bit, byte, a Boolean that is neither, 16-bit limits.
        const VARTYPE types[] = {VT_I8, VT_UI1, VT_BOOL, VT_I2};
        const LONGLONG values[] = {LLONG_MIN, 4294967296LL, 255, 1, 2, SHRT_MIN, SHRT_MAX};
        const VARTYPE type = random_.pick(types);
        const LONGLONG value = type == VT_I8 ? values[random_.below(2)] : type == VT_UI1 ? 255
                               : values[(type == VT_BOOL ? 3 : 5) + random_.below(2)];
        return typed(type, [&](VARIANT& v) {
            if (type == VT_I8) V_I8(&v) = value;
            else if (type == VT_UI1) V_UI1(&v) = BYTE(value);
            else V_I2(&v) = SHORT(value);  // VT_BOOL shares the field
        });
    }
    case 12:
    case 13: {
        Live* some = objects_.any();
        return objectValue(some ? some->object.Get() : nullptr);
    }
    case 14: {
        const long lengths[] = {4, 6, 3, 0, -1, INT_MAX, 100000};
        auto* fake = new FakeArray(random_.pick(lengths), int(random_.below(tame_ ? 2 : 3)));
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
    case VT_I2: return typed(VT_I2, [&](VARIANT& v) { V_I2(&v) = SHORT(random_.between(-5, 100)); });
    case VT_BOOL: return typed(VT_BOOL, [&](VARIANT& v) { V_BOOL(&v) = random_.chance(0.5) ? VARIANT_TRUE : VARIANT_FALSE; });
    case VT_R4:
    case VT_R8: return of(random_.chance(0.2) ? 0.0 : double(random_.between(-300, 1000)) / 10);
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
            return random_.chance(0.7) ? numbers(VT_VARIANT, 0, 2 * ULONG(random_.between(1, 8)), false) : anyArray();
        return hostile();
    }
}

void Arguments::fill(Call& call) {
    const Member& member = *call.member;
    tame_ = reachesFragilePlatformDrawing(member);
    call.flags = random_.chance(0.02) ? WORD(random_.between(1, 15)) : member.flags;
    call.id = random_.chance(0.01) ? 7777 : member.id;
    call.withException = random_.chance(0.9);
    call.withResult = random_.chance(0.85);

    const bool spoil = random_.chance(0.25);  // this call gets hostile values
    for (const Parameter& parameter : member.parameters) {
        if (parameter.optional && random_.chance(0.25) && &parameter != &member.parameters.back()) {
            call.positional.push_back(missing());
            continue;
        }
        Variant value = spoil && random_.chance(0.4) ? hostile() : fitting(parameter);
        if (parameter.byReference ? random_.chance(0.6) : random_.chance(0.08)) {
            // A script's variable (a reference to a VARIANT), or a typed reference.
            call.referenced.push_back(std::move(value));
            VARIANT* target = call.referenced.back().get();
            const VARTYPE type = V_VT(target);
            if (random_.chance(0.5) || type == VT_EMPTY || type == VT_NULL) {
                value = typed(VT_BYREF | VT_VARIANT, [&](VARIANT& v) { V_VARIANTREF(&v) = target; });
            } else {
                value = typed(VT_BYREF | type, [&](VARIANT& v) {
                    V_BYREF(&v) = (type & VT_ARRAY) ? static_cast<void*>(&V_ARRAY(target))
                                  : type == VT_DECIMAL ? static_cast<void*>(&V_DECIMAL(target))
                                                        : static_cast<void*>(&target->llVal);
                });
            }
        }
        call.positional.push_back(std::move(value));
    }
    // Trailing optional parameters left out as scripts do, too few, too many.
    while (!call.positional.empty() && member.parameters[call.positional.size() - 1].optional && random_.chance(0.3) &&
           member.flags == DISPATCH_METHOD)
        call.positional.pop_back();
    if (random_.chance(0.03) && !call.positional.empty()) call.positional.resize(random_.below(call.positional.size()));
    if (random_.chance(0.03))
        for (long extra = random_.between(1, 3); extra > 0; --extra) call.positional.push_back(hostile());

    // The last argument by name, now and then by one the member does not have.
    if (member.flags == DISPATCH_METHOD && random_.chance(0.05) && !call.positional.empty() &&
        call.positional.size() <= member.parameters.size()) {
        std::wstring name = random_.chance(0.8) ? member.parameters[call.positional.size() - 1].name : L"NoSuchParameter";
        std::wstring own = member.name;
        LPOLESTR names[] = {own.data(), name.data()};
        DISPID ids[2] = {0, 0};
        if (FAILED(call.target->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids))) ids[1] = 4242;
        call.namedIds.push_back(ids[1]);
    }
    if (tame_) {
        for (Variant& v : call.positional) tame(*v.get());
        // The two scaled mapping modes multiply every later coordinate on the
        // device context by extents no bound here can follow.
        if (member.name == L"MapMode" && member.flags == DISPATCH_PROPERTYPUT && !call.positional.empty())
            call.positional.back() = longValue(random_.between(1, 6));
    }
}

bool reachesFragilePlatformDrawing(const Member& member) {
    for (const wchar_t* name : {L"_DCDrawing", L"_DCPath", L"_DCCoordinates", L"_DCTextDrawing", L"_DCInterfaceDrawing",
                                L"_DCFocusRect"})
        if (member.interfaceName == name) return true;
    for (const wchar_t* name : {L"CreatePenObject", L"CreateFontObject", L"CreateEllipse", L"CreateRoundRect"})
        if (member.name == name) return true;
    return false;
}

void tame(VARIANT& value) {
    constexpr double bound = 10000;
    VARIANT* target = V_VT(&value) == (VT_BYREF | VT_VARIANT) ? V_VARIANTREF(&value) : &value;
    const VARTYPE type = V_VT(target);
    if (type & VT_ARRAY) {
        SAFEARRAY* array = (type & VT_BYREF) ? *V_ARRAYREF(target) : V_ARRAY(target);
        VARTYPE element = VT_EMPTY;
        if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetVartype(array, &element))) return;
        if (element != VT_VARIANT && element != VT_I4 && element != VT_R8) return;
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(array, 1, &lower);
        SafeArrayGetUBound(array, 1, &upper);
        for (LONG i = lower; i <= upper; ++i) {
            Variant item;
            void* slot = element == VT_VARIANT ? static_cast<void*>(item.get()) : &item.get()->llVal;
            SafeArrayGetElement(array, &i, slot);
            if (element != VT_VARIANT) V_VT(item.get()) = element;
            tame(*item.get());
            SafeArrayPutElement(array, &i, slot);
            if (i == upper) break;  // upper may be the largest index
        }
        return;
    }
    const bool reference = (type & VT_BYREF) != 0;
    void* at = reference ? V_BYREF(target) : &target->llVal;
    switch (type & ~VT_BYREF) {
    case VT_I4: *static_cast<LONG*>(at) = LONG(std::clamp<double>(*static_cast<LONG*>(at), -bound, bound)); break;
    case VT_I2: *static_cast<SHORT*>(at) = SHORT(std::clamp<double>(*static_cast<SHORT*>(at), -bound, bound)); break;
    case VT_R8: {
        DOUBLE& v = *static_cast<DOUBLE*>(at);
        v = std::isnan(v) ? 0 : std::clamp(v, -bound, bound);
        break;
    }
    case VT_R4: {
        FLOAT& v = *static_cast<FLOAT*>(at);
        v = std::isnan(v) ? 0 : std::clamp<FLOAT>(v, -bound, bound);
        break;
    }
    case VT_DECIMAL:
        VarDecFromI4(12, reference ? V_DECIMALREF(target) : &V_DECIMAL(target));
        if (!reference) V_VT(target) = VT_DECIMAL;  // the decimal covers the type field
        break;
    case VT_CY: static_cast<CY*>(at)->int64 = 120000; break;
    case VT_I8: *static_cast<LONGLONG*>(at) = 12; break;
    case VT_DATE: *static_cast<DATE*>(at) = 12; break;
    default: break;
    }
}

// What replays a call: the member, and each argument's type with its value
// where that is a number (the seed and --trace give the rest).
std::wstring Call::describe(const std::wstring& targetLabel) const {
    std::wstring out = member->title() + L" on <" + targetLabel + L">(";
    for (size_t i = 0; i < positional.size(); ++i) {
        VARIANT value = *positional[i].get();
        if (V_VT(&value) == (VT_BYREF | VT_VARIANT)) out += L"ByRef ", value = *V_VARIANTREF(&value);
        out += (i ? L", VarType " : L"VarType ") + std::to_wstring(V_VT(&value));
        VARIANT shown{};
        if (!(V_VT(&value) & (VT_BYREF | VT_ARRAY)) && V_VT(&value) != VT_DISPATCH &&
            SUCCEEDED(VariantChangeType(&shown, &value, 0, VT_BSTR))) {
            out += L" " + std::wstring(V_BSTR(&shown), std::min<UINT>(SysStringLen(V_BSTR(&shown)), 40));
            VariantClear(&shown);
        }
    }
    out += L")";
    if (!namedIds.empty()) out += L", the last by name (DISPID " + std::to_wstring(namedIds[0]) + L")";
    if (flags != member->flags) out += L" with flags " + std::to_wstring(flags);
    if (id != member->id) out += L" as DISPID " + std::to_wstring(id);
    if (!withException) out += L", no EXCEPINFO";
    if (!withResult) out += L", no result variable";
    return out;
}

}  // namespace fuzz
