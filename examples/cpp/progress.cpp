// Fills a picture with a slow gradient through Kolorit's early-bound
// interfaces and shows the effect's progress as a console progress bar,
// drawn from the effects object's ProgressDraw events; then saves the picture.
//
//     progress [PICTURE.png]        (progress.png by default)
//
// Both components must be registered (register.cmd of the release package).

#include "frame/KoloritTypes.h"

#include <ocidl.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

using Microsoft::WRL::ComPtr;

namespace {

struct Failed {};

// A string of the automation runtime, freed at the end of its scope.
class Text {
public:
    Text() = default;
    explicit Text(const std::wstring& text) : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Text() { SysFreeString(text_); }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    BSTR get() const { return text_; }
    BSTR* out() { return &text_; }

private:
    BSTR text_ = nullptr;
};

// Stops at a failed call and prints the error the component reported.
void check(HRESULT hr, const char* call) {
    if (SUCCEEDED(hr)) return;
    std::fprintf(stderr, "\n%s failed (%08lX)\n", call, static_cast<unsigned long>(hr));
    ComPtr<IErrorInfo> info;
    Text source, description;
    if (GetErrorInfo(0, &info) == S_OK && SUCCEEDED(info->GetSource(source.out())) &&
        SUCCEEDED(info->GetDescription(description.out())))
        std::fprintf(stderr, "%ls: %ls\n", source.get(), description.get());
    throw Failed{};
}

// The sink of the effects object's events. They arrive through IDispatch
// only, by dispatch identifier: InitDraw 1, ProgressDraw 2, EndDraw 3.
class ProgressBar : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID___DCEffectDrawing)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The bar lives on the caller's stack, longer than its connection.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }

    STDMETHODIMP Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override {
        switch (event) {
        case 1:
            shown_ = -1;
            draw(0);
            break;
        case 2: {
            VARIANT value;
            VariantInit(&value);
            if (parameters->cArgs == 1 && SUCCEEDED(VariantChangeType(&value, &parameters->rgvarg[0], 0, VT_R4)))
                draw(V_R4(&value));
            break;
        }
        case 3:
            draw(100);
            std::printf("\n");
            break;
        }
        return S_OK;
    }

private:
    void draw(float percent) {
        const int whole = static_cast<int>(percent);
        if (whole == shown_) return;
        shown_ = whole;
        const int width = 40;
        const int filled = whole * width / 100;
        std::printf("\r[%s%s] %3d%%", std::string(filled, '#').c_str(), std::string(width - filled, ' ').c_str(), whole);
        std::fflush(stdout);
    }

    int shown_ = -1;
};

template <class Interface>
ComPtr<Interface> create(REFCLSID classId) {
    ComPtr<Interface> object;
    check(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object)), "CoCreateInstance");
    return object;
}

void run(const std::wstring& picture) {
    const ComPtr<_VellumFunctions> vellum = create<_VellumFunctions>(CLSID_VellumFunctions);
    const ComPtr<_KoloritFunctions> kolorit = create<_KoloritFunctions>(CLSID_KoloritFunctions);

    ComPtr<_GDIDC> surface;
    check(vellum->CreateGDIDC(1200, 400, VARIANT_FALSE, 0, &surface), "CreateGDIDC");
    ComPtr<_GDIDCEx> hub;
    check(kolorit->GDIAttachDCEx(surface.Get(), &hub), "GDIAttachDCEx");
    ComPtr<_DCEffectDrawing> effects;
    check(hub->get_Effects(&effects), "Effects");

    ComPtr<IConnectionPointContainer> container;
    check(effects.As(&container), "QueryInterface(IConnectionPointContainer)");
    ComPtr<IConnectionPoint> point;
    check(container->FindConnectionPoint(DIID___DCEffectDrawing, &point), "FindConnectionPoint");
    ProgressBar bar;
    DWORD cookie = 0;
    check(point->Advise(&bar, &cookie), "Advise");

    // A step of one pixel: one stroke, and one event, per column.
    const HRESULT drawn = effects->GradientFill(0, 0, 1200, 400, RGB(20, 40, 160), RGB(240, 200, 60), 1.0, VARIANT_TRUE);
    point->Unadvise(cookie);
    check(drawn, "GradientFill");

    const Text path(picture);
    check(surface->SaveToFile(path.get()), "SaveToFile");
    std::printf("Saved %ls\n", picture.c_str());
}

std::wstring widened(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), size);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const std::wstring picture = argc > 1 ? widened(argv[1]) : L"progress.png";
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int status = 0;
    try {
        run(picture);
    } catch (const Failed&) {
        status = 1;
    }
    CoUninitialize();
    return status;
}
