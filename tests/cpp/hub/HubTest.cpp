// The hub: attaching to surfaces, its block transfers, errors passed through.

#include "Support.h"

using namespace test;

namespace {

// A 4 x 3 surface whose pixel (x, y) has the colour RGB(x * 60, y * 80, 7).
ComPtr<_GDIDC> gradientSurface() {
    auto s = surface(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) SetPixelV(dcOf(s.Get()), x, y, RGB(x * 60, y * 80, 7));
    return s;
}

}  // namespace

TEST(Attach, TheApplicationObjectIsOnePerThreadWhileHeld) {
    auto first = koloritFunctions();
    auto second = koloritFunctions();
    EXPECT_EQ(first.Get(), second.Get());
}

// (Corners of 0 take the full size: the omitted ones below are the same.)
TEST(DrawTo, OmittedCornersCountTheFullSizeFromTheStartEvenWithASourceOffset) {
    auto source = gradientSurface();
    auto destination = surface(10, 10);
    fill(destination.Get(), RGB(1, 1, 1));
    // Late-bound with named arguments, as a script would call it.
    Late late(attach(source.Get()).Get());
    late.with(L"DestX1", arg(5)).with(L"DestY1", arg(2)).with(L"SrcX", arg(1))
        .call(L"DrawTo", arg(static_cast<long>(handleValue(dcOf(destination.Get())))));
    ASSERT_EQ(late.result(), S_OK);
    EXPECT_EQ(pixel(destination.Get(), 5, 2), RGB(60, 0, 7));
    EXPECT_EQ(pixel(destination.Get(), 7, 4), RGB(180, 160, 7));
    EXPECT_EQ(pixel(destination.Get(), 5, 5), RGB(1, 1, 1));
}

namespace {

// A surface of somebody else's making whose hDC fails with an error of its
// own, from outside the automation errors' facility.
class ForeignSurface : public TestObject<_GDIDC> {
public:
    static constexpr HRESULT failure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x201);

    STDMETHODIMP get_hDC(OLE_HANDLE*) override {
        ComPtr<ICreateErrorInfo> create;
        CreateErrorInfo(&create);
        create->SetSource(const_cast<LPOLESTR>(L"Foreign.hDC"));
        create->SetDescription(const_cast<LPOLESTR>(L"No device context today"));
        ComPtr<IErrorInfo> info;
        create.As(&info);
        SetErrorInfo(0, info.Get());
        return failure;
    }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_hBitmap(OLE_HANDLE*) override { return E_NOTIMPL; }
    STDMETHODIMP get_SelBitmap(_GDIBitmap**) override { return E_NOTIMPL; }
    STDMETHODIMP get_SelPen(_GDIPen**) override { return E_NOTIMPL; }
    STDMETHODIMP putref_SelPen(_GDIPen*) override { return E_NOTIMPL; }
    STDMETHODIMP get_SelBrush(_GDIBrush**) override { return E_NOTIMPL; }
    STDMETHODIMP putref_SelBrush(_GDIBrush*) override { return E_NOTIMPL; }
    STDMETHODIMP get_SelFont(_GDIFont**) override { return E_NOTIMPL; }
    STDMETHODIMP putref_SelFont(_GDIFont*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Width(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Height(LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP ResetObjects() override { return E_NOTIMPL; }
    STDMETHODIMP SaveToFile(BSTR) override { return E_NOTIMPL; }
};

}  // namespace

// The surface's own error reaches the client whole: number, source and text.
TEST(Attach, ASurfacesOwnErrorPassesThroughWhole) {
    ComPtr<_GDIDCEx> hub;
    const HRESULT hr = koloritFunctions()->GDIAttachDCEx(com::adopt<_GDIDC>(new ForeignSurface).Get(), &hub);
    EXPECT_RAISED(errorOf(hr), ForeignSurface::failure, L"Foreign.hDC", L"No device context today");
    EXPECT_EQ(hub, nullptr);
}

// Vellum's global object, made by the first colour the library translates,
// stays for the thread while any object of the library lives there, even one
// that holds nothing of Vellum, and goes with the last one: then both unload.
TEST(Server, BothCanUnloadOnlyWhenNoObjectIsLeftThoughVellumIsKeptMeanwhile) {
    const EntryPoint koloritUnloads = entryPoint(GetModuleHandleW(L"kolorit.dll"), "DllCanUnloadNow");
    const EntryPoint vellumUnloads = entryPoint(GetModuleHandleW(L"vellum.dll"), "DllCanUnloadNow");
    for (bool keepDrawing : {false, true}) {
        ComPtr<IUnknown> last;
        {
            auto functions = koloritFunctions();
            ComPtr<_GDIDCEx> hub;
            ASSERT_EQ(functions->GDIAttachDCEx(surface(1, 1).Get(), &hub), S_OK);
            ComPtr<_DCDrawing> drawing;
            ASSERT_EQ(hub->get_Drawing(&drawing), S_OK);
            ASSERT_EQ(drawing->put_BackColor(0x80000000 | COLOR_WINDOW), S_OK);
            last = keepDrawing ? ComPtr<IUnknown>(drawing) : ComPtr<IUnknown>(functions);
        }
        EXPECT_EQ(koloritUnloads(), S_FALSE);
        EXPECT_EQ(vellumUnloads(), S_FALSE);
        last.Reset();
        EXPECT_EQ(koloritUnloads(), S_OK);
        EXPECT_EQ(vellumUnloads(), S_OK);
    }
}
