// The invoker, driven through a test interface whose members report what
// arrived, and through the components' own objects.

#include "Support.h"

#include "com/Boundary.h"
#include "com/Invoker.h"

#include "probe.h"

#include <sstream>

using namespace test;

namespace {

ComPtr<ITypeInfo> probeVtableInfo() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file = path;
    file = file.substr(0, file.find_last_of(L"\\/") + 1) + L"probe.tlb";
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadTypeLibEx(file.c_str(), REGKIND_NONE, &library), S_OK);
    ComPtr<ITypeInfo> dispatchHalf, vtableHalf;
    EXPECT_EQ(library->GetTypeInfoOfGuid(IID_IProbe, &dispatchHalf), S_OK);
    HREFTYPE vtable = 0;
    dispatchHalf->GetRefTypeOfImplType(-1, &vtable);
    dispatchHalf->GetRefTypeInfo(vtable, &vtableHalf);
    return vtableHalf;
}

class Probe : public TestObject<IProbe> {
public:
    Probe() : info_(probeVtableInfo()) {}

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return com::idsOfNames(info_.Get(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override {
        return com::invoke(info_.Get(), static_cast<IProbe*>(this), member, flags, params, result, exception,
                           argumentError);
    }

    STDMETHODIMP get_Value(LONG* Result) override { return com::guarded(Result, [&] { return value_; }); }
    STDMETHODIMP put_Value(LONG Value) override { return com::guarded([&] { value_ = Value; }); }
    STDMETHODIMP Sum(LONG A, LONG B, LONG C, LONG* Result) override {
        return com::guarded(Result, [&] { return A + B + C; });
    }
    STDMETHODIMP Append(BSTR* Text, BSTR Suffix) override {
        return com::guarded([&] {
            std::wstring joined = std::wstring(*Text ? *Text : L"") + (Suffix ? Suffix : L"");
            SysFreeString(*Text);
            *Text = SysAllocString(joined.c_str());
        });
    }
    STDMETHODIMP Twice(LONG* Number) override {
        return com::guarded([&] { *Number *= 2; });
    }
    STDMETHODIMP Points(SAFEARRAY** Points, BSTR* Result) override {
        return com::guarded(Result, [&] {
            LONG lower = 0, upper = -1;
            SafeArrayGetLBound(*Points, 1, &lower);
            SafeArrayGetUBound(*Points, 1, &upper);
            com::ArrayAccess access(*Points);
            std::wostringstream text;
            text << lower << L":";
            for (LONG i = 0; i <= upper - lower; ++i)
                text << L" " << access.data<PROBEPOINT>()[i].X << L"," << access.data<PROBEPOINT>()[i].Y;
            return text.str();
        });
    }
    STDMETHODIMP MakePoints(LONG Count, SAFEARRAY** Result) override {
        return com::guarded(Result, [&] {
            ComPtr<ITypeInfo> point;
            ComPtr<ITypeLib> library;
            UINT index = 0;
            info_->GetContainingTypeLib(&library, &index);
            const GUID probePoint = {0xB23F5BEC, 0x3EE0, 0x49B4, {0x96, 0x3D, 0x40, 0x6E, 0x6C, 0x8A, 0xF8, 0xEB}};
            library->GetTypeInfoOfGuid(probePoint, &point);
            ComPtr<IRecordInfo> record;
            GetRecordInfoFromTypeInfo(point.Get(), &record);
            SAFEARRAY* points = SafeArrayCreateVectorEx(VT_RECORD, 0, Count, record.Get());
            com::ArrayAccess access(points);
            for (LONG i = 0; i < Count; ++i) access.data<PROBEPOINT>()[i] = PROBEPOINT{i, -i};
            return points;
        });
    }
    STDMETHODIMP Fail(LONG Number) override {
        return com::guarded([&] { throw com::AutomationError(Number, L"Probe.Fail()", L"It failed"); });
    }
    STDMETHODIMP Given(VARIANT Maybe, VARIANT_BOOL* Result) override {
        return com::guarded(Result, [&] {
            const bool missing = V_VT(&Maybe) == VT_ERROR && V_ERROR(&Maybe) == DISP_E_PARAMNOTFOUND;
            return static_cast<short>(missing ? VARIANT_FALSE : VARIANT_TRUE);
        });
    }
    STDMETHODIMP Scale(FLOAT F, DOUBLE D, SHORT S, DOUBLE* Result) override {
        return com::guarded(Result, [&] { return F * D * S; });
    }
    STDMETHODIMP Self(IProbe* Other, IProbe** Result) override {
        return com::guarded(Result, [&] { return ComPtr<IProbe>(Other); });
    }
    STDMETHODIMP Longs(SAFEARRAY** Values, BSTR* Result) override {
        return com::guarded(Result, [&] {
            if (!*Values) return std::wstring(L"no array");
            LONG lower = 0;
            SafeArrayGetLBound(*Values, 1, &lower);
            com::ArrayAccess access(*Values);
            std::wostringstream text;
            text << lower << L":";
            for (ULONG i = 0; i < (*Values)->rgsabound[0].cElements; ++i) text << L" " << access.data<LONG>()[i];
            return text.str();
        });
    }

private:
    ComPtr<ITypeInfo> info_;
    LONG value_ = 0;
};

ComPtr<IProbe> probe() {
    return com::adopt<IProbe>(new Probe());
}

std::wstring textOf(const Variant& value) {
    return V_VT(value.get()) == VT_BSTR && V_BSTR(value.get()) ? V_BSTR(value.get()) : L"<not a string>";
}

Variant numbers(std::initializer_list<double> values, LONG lower = 0) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), lower};
    Variant array;
    V_VT(array.get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(array.get()) = SafeArrayCreate(VT_VARIANT, 1, &bound);
    LONG i = lower;
    for (double value : values) {
        Variant item = arg(value);
        SafeArrayPutElement(V_ARRAY(array.get()), &i, item.get());
        ++i;
    }
    return array;
}

// What a JScript array is to a component: an object with `length` and one
// property per index. This one counts the elements read.
class ScriptArray : public TestObject<IDispatch> {
public:
    ScriptArray(LONG length, std::vector<LONG> items) : length_(length), items_(std::move(items)) {}
    int reads() const { return reads_; }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
        wchar_t* end = nullptr;
        const unsigned long index = wcstoul(names[0], &end, 10);
        if (wcscmp(names[0], L"length") == 0)
            *ids = lengthId;
        else if (*end == 0 && index < items_.size())
            *ids = static_cast<DISPID>(index);
        else
            return DISP_E_UNKNOWNNAME;  // a hole
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override {
        V_VT(result) = VT_I4;
        if (id == lengthId) {
            V_I4(result) = length_;
        } else {
            V_I4(result) = items_.at(id);
            ++reads_;
        }
        return S_OK;
    }

private:
    static constexpr DISPID lengthId = 0x40000000;
    LONG length_;
    std::vector<LONG> items_;
    int reads_ = 0;
};

// A script's list whose first index is `lower`, written in place (its
// indexes may pass the largest Long).
Variant listFrom(LONG lower, std::initializer_list<LONG> values) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), lower};
    Variant list;
    V_VT(list.get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(list.get()) = SafeArrayCreate(VT_VARIANT, 1, &bound);
    com::ArrayAccess access(V_ARRAY(list.get()));
    VARIANT* item = access.data<VARIANT>();
    for (LONG value : values) *item++ = *arg(value).get();
    return list;
}

}  // namespace

TEST(Invoker, OptionalArgumentsTakeTheirDefaultsAndNamedOnesTheirPlace) {
    auto object = probe();
    Late late(object.Get());
    EXPECT_EQ(asLong(late.call(L"Sum", arg(1))), 111);
    EXPECT_EQ(asLong(late.call(L"Sum", arg(1), arg(2))), 103);
    EXPECT_EQ(asLong(late.call(L"Sum", arg(1), missing(), arg(5))), 16);
    EXPECT_EQ(asLong(late.with(L"C", arg(7)).call(L"Sum", arg(1))), 18);
    EXPECT_EQ(asLong(late.with(L"B", arg(2)).with(L"A", arg(1)).call(L"Sum")), 103);

    late.call(L"Sum");
    EXPECT_EQ(late.result(), DISP_E_PARAMNOTOPTIONAL);
    late.call(L"Sum", arg(1), arg(2), arg(3), arg(4));
    EXPECT_EQ(late.result(), DISP_E_BADPARAMCOUNT);
}

TEST(Invoker, AScriptVariableIsPassedByReferenceAndWrittenBack) {
    auto object = probe();
    Late late(object.Get());

    Variant text = arg(L"ab");  // what VBScript passes: a reference to its VARIANT
    late.call(L"Append", byRef(text.get()), arg(L"cd"));
    EXPECT_EQ(late.result(), S_OK);
    EXPECT_EQ(textOf(text), L"abcd");

    Variant number;
    V_VT(number.get()) = VT_I2;
    V_I2(number.get()) = 21;
    late.call(L"Twice", byRef(number.get()));
    EXPECT_EQ(V_VT(number.get()), VT_I4);
    EXPECT_EQ(V_I4(number.get()), 42);

    // A typed reference reaches the member itself; a value is a temporary.
    LONG typed = 5;
    Variant reference;
    V_VT(reference.get()) = VT_BYREF | VT_I4;
    V_I4REF(reference.get()) = &typed;
    late.call(L"Twice", std::move(reference));
    EXPECT_EQ(typed, 10);
    late.call(L"Twice", arg(3));
    EXPECT_EQ(late.result(), S_OK);
}

TEST(Invoker, ConversionsFollowTheAutomationRules) {
    auto object = probe();
    Late late(object.Get());
    Variant scaled = late.call(L"Scale", arg(1.5), arg(2.25), arg(L"3"));
    EXPECT_EQ(V_VT(scaled.get()), VT_R8);
    EXPECT_DOUBLE_EQ(V_R8(scaled.get()), 10.125);

    late.call(L"Sum", arg(L"not a number"));
    EXPECT_EQ(late.result(), DISP_E_TYPEMISMATCH);
    late.call(L"Scale", arg(1.0), arg(1.0), arg(100000));
    EXPECT_EQ(late.result(), DISP_E_OVERFLOW);
}

TEST(Invoker, PropertiesReadAndWrite) {
    auto object = probe();
    Late late(object.Get());
    late.put(L"Value", arg(7));
    EXPECT_EQ(asLong(late.get(L"Value")), 7);
}

TEST(Invoker, OmittedVariantArrivesAsMissing) {
    auto object = probe();
    Late late(object.Get());
    EXPECT_EQ(V_BOOL(late.call(L"Given").get()), VARIANT_FALSE);
    EXPECT_EQ(V_BOOL(late.call(L"Given", arg(0)).get()), VARIANT_TRUE);
}

TEST(Invoker, ArraysOfRecordsTravelBothWays) {
    auto object = probe();
    Late late(object.Get());
    Variant made = late.call(L"MakePoints", arg(3));
    ASSERT_EQ(V_VT(made.get()), VT_ARRAY | VT_RECORD);
    EXPECT_EQ(textOf(late.call(L"Points", byRef(made.get()))), L"0: 0,0 1,-1 2,-2");
}

TEST(Invoker, FlatNumbersFillRecordsOfLongs) {
    auto object = probe();
    Late late(object.Get());
    EXPECT_EQ(textOf(late.call(L"Points", numbers({1, 2, 3, 4}))), L"0: 1,2 3,4");
    EXPECT_EQ(textOf(late.call(L"Points", numbers({1.5, 2.5}, 1))), L"0: 2,2");

    late.call(L"Points", numbers({1, 2, 3}));
    EXPECT_EQ(late.result(), DISP_E_EXCEPTION);
    EXPECT_EQ(late.raised().number, 450);
    late.call(L"Points", arg(L"1, 2"));
    EXPECT_EQ(late.result(), DISP_E_TYPEMISMATCH);
}

TEST(Invoker, MemberErrorsArriveAsExceptionInformation) {
    auto object = probe();
    Late late(object.Get());
    late.call(L"Fail", arg(10006));
    EXPECT_EQ(late.result(), DISP_E_EXCEPTION);
    EXPECT_EQ(late.raised().code, static_cast<HRESULT>(0x800A2716));
    EXPECT_RAISED(late.raised(), 10006, L"Probe.Fail()", L"It failed");
}

TEST(Invoker, ObjectsAreCheckedAgainstTheDeclaredInterface) {
    auto object = probe();
    Late late(object.Get());
    Variant same = late.call(L"Self", arg(object.Get()));
    EXPECT_EQ(asObject(same).Get(), static_cast<IDispatch*>(object.Get()));

    auto notAProbe = surface(1, 1);
    late.call(L"Self", arg(notAProbe.Get()));
    EXPECT_EQ(late.result(), DISP_E_TYPEMISMATCH);

    Variant nothing = late.call(L"Self", arg(static_cast<IUnknown*>(nullptr)));
    EXPECT_EQ(late.result(), S_OK);
    EXPECT_EQ(V_VT(nothing.get()), VT_DISPATCH);
    EXPECT_EQ(V_DISPATCH(nothing.get()), nullptr);
}

TEST(Invoker, HandlesReachScriptsAsLongs) {
    auto s = surface(2, 2);
    Late late(s.Get());
    Variant handle = late.get(L"hDC");
    EXPECT_EQ(V_VT(handle.get()), VT_I4) << "script hosts cannot compare VT_INT";
    EXPECT_EQ(handleFrom<HDC>(V_I4(handle.get())), dcOf(s.Get()));
}

TEST(DispatchTable, NamesAreFoundInAnyCase) {
    auto object = probe();
    struct Case {
        std::vector<const wchar_t*> names;
        HRESULT result;
        std::vector<DISPID> ids;
    } cases[] = {
        {{L"sum"}, S_OK, {1001}},
        {{L"VALUE"}, S_OK, {0}},
        {{L"sUM", L"c", L"A"}, S_OK, {1001, 2, 0}},
        {{L"Sum", L"D", L"b"}, DISP_E_UNKNOWNNAME, {1001, DISPID_UNKNOWN, 1}},
        {{L"Summe", L"A"}, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN, DISPID_UNKNOWN}},
    };
    for (const Case& c : cases) {
        std::vector<DISPID> ids(c.names.size(), 12345);
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(c.names.data()),
                                        static_cast<UINT>(c.names.size()), 0, ids.data()),
                  c.result)
            << narrow(c.names[0]);
        EXPECT_EQ(ids, c.ids) << narrow(c.names[0]);
    }
}

TEST(DispatchTable, AMemberAnswersOnlyItsOwnKindOfCall) {
    auto object = probe();
    Late late(object.Get());
    late.put(L"Sum", arg(1));
    EXPECT_EQ(late.result(), DISP_E_MEMBERNOTFOUND);
    late.get(L"Fail", arg(1));
    EXPECT_EQ(late.result(), DISP_E_MEMBERNOTFOUND);
    DISPPARAMS none{};
    EXPECT_EQ(object->Invoke(4242, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

TEST(DispatchTable, ComponentsTakeNamesInAnyCaseAndArgumentsByName) {
    auto s = surface(8, 8);
    fill(s.Get(), RGB(255, 255, 255));
    auto hub = attach(s.Get());
    Late drawing(asObject(Late(hub.Get()).get(L"drawing")).Get());
    drawing.with(L"y2", arg(5)).with(L"X2", arg(0)).call(L"DRAWLINE", arg(0), arg(1));
    EXPECT_EQ(drawing.result(), S_OK);
    EXPECT_EQ(pixel(s.Get(), 0, 3), RGB(0, 0, 0));
    EXPECT_EQ(pixel(s.Get(), 1, 3), RGB(255, 255, 255));
}

TEST(Invoker, ConversionFailuresAreTheDispatchCodes) {
    auto object = probe();
    Late late(object.Get());
    Variant text = arg(L"");
    Variant date;
    V_VT(date.get()) = VT_DATE;
    V_DATE(date.get()) = 1e10;  // far beyond the year 9999
    late.call(L"Append", byRef(text.get()), std::move(date));
    EXPECT_EQ(late.result(), DISP_E_TYPEMISMATCH);
}

TEST(Invoker, ListsMayEndAtTheLastIndex) {
    auto object = probe();
    Late late(object.Get());
    EXPECT_EQ(textOf(late.call(L"Points", listFrom(2147483647, {5, 6}))), L"0: 5,6");
    EXPECT_EQ(textOf(late.call(L"Longs", listFrom(2147483647, {40}))), L"0: 40");
}

TEST(Invoker, ItsOwnErrorsReachCallersThatPassNoExceptionInformation) {
    auto object = probe();
    Variant odd = numbers({1, 2, 3});
    DISPPARAMS params{odd.get(), nullptr, 1, 0};
    const Raised raised = errorOf(object->Invoke(1004, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
    EXPECT_EQ(raised.number, 450);
    EXPECT_EQ(narrow(raised.description), "Wrong number of arguments or invalid property assignment");
}

TEST(Invoker, ScriptArraysAreReadElementByElement) {
    auto object = probe();
    Late late(object.Get());
    struct Case {
        const wchar_t* member;
        LONG length;
        std::vector<LONG> items;
        const wchar_t* text;
    } cases[] = {
        {L"Longs", 2, {40, 100}, L"0: 40 100"},
        {L"Longs", 0, {}, L"0:"},
        {L"Points", 4, {1, 2, 3}, L"0: 1,2 3,0"},  // a hole reads as Empty
    };
    for (const Case& c : cases) {
        auto list = com::adopt(new ScriptArray(c.length, c.items));
        EXPECT_EQ(textOf(late.call(c.member, arg(list.Get()))), c.text);
    }

    // A length no script can fill is refused before a single element is read.
    auto huge = com::adopt(new ScriptArray(2147483647, {1, 2}));
    late.call(L"Points", arg(huge.Get()));
    EXPECT_EQ(late.raised().number, 7);
    EXPECT_EQ(huge->reads(), 0);
}

TEST(Invoker, ANeverDimensionedListIsNoArray) {
    auto object = probe();
    Late late(object.Get());
    Variant undimensioned;
    V_VT(undimensioned.get()) = VT_ARRAY | VT_VARIANT;  // VBScript's `Dim a()`
    EXPECT_EQ(textOf(late.call(L"Longs", byRef(undimensioned.get()))), L"no array");
    EXPECT_EQ(V_VT(undimensioned.get()), VT_ARRAY | VT_VARIANT);
}
