#include "Effects.h"

#include <ocidl.h>

namespace test {

ComPtr<_DCEffectDrawing> effectsOn(_GDIDC* image) {
    ComPtr<_DCEffectDrawing> effects;
    EXPECT_EQ(attach(image)->get_Effects(&effects), S_OK);
    return effects;
}

ComPtr<_DCEffectDrawing> orphanedEffects() {
    ComPtr<_GDIDC> image = surface(10, 10);
    const HDC dc = dcOf(image.Get());
    ComPtr<_DCEffectDrawing> effects = effectsOn(image.Get());
    image.Reset();
    EXPECT_EQ(GetObjectType(dc), 0u) << "the effects object kept its hub and surface alive";
    return effects;
}

bool noObjectsLeft() {
    for (const wchar_t* name : {L"kolorit.dll", L"vellum.dll"}) {
        const auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(name), "DllCanUnloadNow")));
        if (!canUnload || canUnload() != S_OK) return false;
    }
    return true;
}

ComPtr<_GDIDC> coordinates(long width, long height) {
    auto image = surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixelV(dcOf(image.Get()), x, y, coordinate(x, y));
    return image;
}

std::vector<COLORREF> pixels(_GDIDC* surface) {
    long width = 0, height = 0;
    surface->get_Width(&width);
    surface->get_Height(&height);
    std::vector<COLORREF> all;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) all.push_back(pixel(surface, x, y));
    return all;
}

void expectLibraryError(HRESULT hr, const std::wstring& source, const std::wstring& description) {
    const Raised raised = errorOf(hr);
    EXPECT_GE(raised.number, 10000);
    EXPECT_EQ(narrow(raised.source), narrow(source));
    const std::string text = narrow(raised.description), end = narrow(L"\r\nError source: " + source);
    EXPECT_EQ(text.substr(0, description.size() + 2), narrow(description + L"; "));
    EXPECT_TRUE(text.ends_with(end)) << text;
}

ComPtr<Sink> Sink::on(IUnknown* source) {
    ComPtr<Sink> sink;
    *sink.GetAddressOf() = new Sink;
    ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(source->QueryInterface(IID_PPV_ARGS(&container)), S_OK);
    EXPECT_EQ(container->FindConnectionPoint(DIID___DCEffectDrawing, &sink->point_), S_OK);
    EXPECT_EQ(sink->point_->Advise(static_cast<IDispatch*>(sink.Get()), &sink->cookie_), S_OK);
    return sink;
}

void Sink::disconnect() {
    if (point_) {
        EXPECT_EQ(point_->Unadvise(cookie_), S_OK);
    }
    point_.Reset();
}

STDMETHODIMP_(ULONG) Sink::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP Sink::QueryInterface(REFIID iid, void** out) {
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, DIID___DCEffectDrawing))
        return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP Sink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    EXPECT_EQ(params->cArgs, member == 2 ? 1u : 0u);
    heard.push_back(Heard{member, member == 2 && V_VT(&params->rgvarg[0]) == VT_R4 ? V_R4(&params->rgvarg[0]) : 0});
    return onEvent ? onEvent(member) : S_OK;
}

}  // namespace test
