// The invoker and the dispatch tables, driven through a test interface.

#include "Support.h"

#include "com/Boundary.h"
#include "com/Invoker.h"

#include "probe.h"

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
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
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
    STDMETHODIMP Scale(FLOAT F, DOUBLE D, SHORT S, DOUBLE* Result) override {
        return com::guarded(Result, [&] { return F * D * S; });
    }

private:
    ComPtr<ITypeInfo> info_ = probeVtableInfo();
    LONG value_ = 0;
};

}  // namespace

TEST(Invoker, ConversionsFollowTheAutomationRules) {
    auto object = com::adopt<IProbe>(new Probe());
    Late late(object.Get());
    Variant scaled = late.call(L"Scale", arg(1.5), arg(2.25), arg(L"3"));
    EXPECT_EQ(V_VT(scaled.get()), VT_R8);
    EXPECT_DOUBLE_EQ(V_R8(scaled.get()), 10.125);

    late.call(L"Sum", arg(L"not a number"));
    EXPECT_EQ(late.result(), DISP_E_TYPEMISMATCH);
    late.call(L"Scale", arg(1.0), arg(1.0), arg(100000));
    EXPECT_EQ(late.result(), DISP_E_OVERFLOW);
}

// Member and parameter names in any case; a parameter's identifier is its
// position.
TEST(DispatchTable, NamesAreFoundInAnyCase) {
    auto object = com::adopt<IProbe>(new Probe());
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
