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
    STDMETHODIMP Scale(FLOAT F, DOUBLE D, SHORT S, DOUBLE* Result) override {
        return com::guarded(Result, [&] { return F * D * S; });
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

TEST(Invoker, ANeverDimensionedListIsNoArray) {
    auto object = probe();
    Late late(object.Get());
    Variant undimensioned;
    V_VT(undimensioned.get()) = VT_ARRAY | VT_VARIANT;  // VBScript's `Dim a()`
    EXPECT_EQ(textOf(late.call(L"Longs", byRef(undimensioned.get()))), L"no array");
    EXPECT_EQ(V_VT(undimensioned.get()), VT_ARRAY | VT_VARIANT);
}
