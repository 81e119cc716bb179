// What a late-bound call costs next to the early-bound call and the platform
// call it wraps: PixelColor read, DrawLine and a property write (DrawMode) on
// a 256x256 surface, each through the platform, the vtable, IDispatch::Invoke
// with a cached dispatch identifier, and GetIDsOfNames. One run, ns per call.

#include "declarations/Handles.h"
#include "frame/KoloritTypes.h"

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace {

constexpr int calls = 300000;
constexpr int batches = 30;

// The machine is shared: each figure is the best of a few batches, the one
// least disturbed by other programs.
double nanosecondsPerCall(void (*body)(void*, int), void* context) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < calls / 100; ++i) body(context, i);  // warm up
    double best = 0;
    for (int batch = 0; batch < batches; ++batch) {
        QueryPerformanceCounter(&start);
        for (int i = 0; i < calls / batches; ++i) body(context, i);
        QueryPerformanceCounter(&end);
        const double ns = static_cast<double>(end.QuadPart - start.QuadPart) * 1e9 / frequency.QuadPart / (calls / batches);
        if (batch == 0 || ns < best) best = ns;
    }
    return best;
}

template <class Body>
double measure(Body body) {
    return nanosecondsPerCall([](void* context, int i) { (*static_cast<Body*>(context))(i); }, &body);
}

struct Subject {
    HDC dc = nullptr;
    ComPtr<_DCDrawing> drawing;
    ComPtr<IDispatch> late;
};

int xOf(int i) { return i & 255; }
int yOf(int i) { return (i >> 8) & 255; }

VARIANT longArgument(long value) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

DISPID idOf(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

void row(const char* member, const char* call, double ns, double early) {
    std::printf("%-12s %-28s %10.1f %8.2fx\n", member, call, ns, ns / early);
}

void names(const char* member, IDispatch* object, const wchar_t* name, double early) {
    LPOLESTR list[] = {const_cast<LPOLESTR>(name)};
    row(member, "GetIDsOfNames", measure([&](int) {
            DISPID id;
            object->GetIDsOfNames(IID_NULL, list, 1, LOCALE_USER_DEFAULT, &id);
        }), early);
}

void pixelColor(const Subject& s) {
    const double platform = measure([&](int i) { GetPixel(s.dc, xOf(i), yOf(i)); });
    const double early = measure([&](int i) {
        OLE_COLOR color;
        s.drawing->get_PixelColor(xOf(i), yOf(i), VARIANT_FALSE, &color);
    });
    const DISPID id = idOf(s.late.Get(), L"PixelColor");
    const double invoked = measure([&](int i) {
        VARIANT arguments[] = {longArgument(yOf(i)), longArgument(xOf(i))};
        DISPPARAMS params{arguments, nullptr, 2, 0};
        VARIANT result;
        VariantInit(&result);
        s.late->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, &result,
                       nullptr, nullptr);
    });
    row("PixelColor", "GetPixel", platform, early);
    row("PixelColor", "early-bound get_PixelColor", early, early);
    row("PixelColor", "Invoke, cached id", invoked, early);
    names("PixelColor", s.late.Get(), L"PixelColor", early);
}

void drawLine(const Subject& s) {
    const double platform = measure([&](int i) {
        MoveToEx(s.dc, xOf(i), yOf(i), nullptr);
        LineTo(s.dc, yOf(i), xOf(i));
    });
    const double early = measure([&](int i) { s.drawing->DrawLine(xOf(i), yOf(i), yOf(i), xOf(i)); });
    const DISPID id = idOf(s.late.Get(), L"DrawLine");
    const double invoked = measure([&](int i) {
        VARIANT arguments[] = {longArgument(xOf(i)), longArgument(yOf(i)), longArgument(yOf(i)), longArgument(xOf(i))};
        DISPPARAMS params{arguments, nullptr, 4, 0};
        s.late->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    });
    row("DrawLine", "MoveToEx + LineTo", platform, early);
    row("DrawLine", "early-bound DrawLine", early, early);
    row("DrawLine", "Invoke, cached id", invoked, early);
    names("DrawLine", s.late.Get(), L"DrawLine", early);
}

void drawMode(const Subject& s) {
    const auto mode = [](int i) { return (i & 1) ? R2_COPYPEN : R2_NOTXORPEN; };
    const double platform = measure([&](int i) { SetROP2(s.dc, mode(i)); });
    const double early = measure([&](int i) { s.drawing->put_DrawMode(static_cast<DCDrawMode>(mode(i))); });
    const DISPID id = idOf(s.late.Get(), L"DrawMode");
    const double invoked = measure([&](int i) {
        VARIANT value = longArgument(mode(i));
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &put, 1, 1};
        s.late->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    });
    row("DrawMode=", "SetROP2", platform, early);
    row("DrawMode=", "early-bound put_DrawMode", early, early);
    row("DrawMode=", "Invoke, cached id", invoked, early);
    names("DrawMode=", s.late.Get(), L"DrawMode", early);
}

}  // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        ComPtr<_VellumFunctions> vellum;
        ComPtr<_KoloritFunctions> kolorit;
        ComPtr<_GDIDC> surface;
        ComPtr<_GDIDCEx> hub;
        Subject s;
        OLE_HANDLE dc = 0;
        if (FAILED(CoCreateInstance(CLSID_VellumFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&vellum))) ||
            FAILED(CoCreateInstance(CLSID_KoloritFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&kolorit))) ||
            FAILED(vellum->CreateGDIDC(256, 256, VARIANT_FALSE, 0, &surface)) ||
            FAILED(kolorit->GDIAttachDCEx(surface.Get(), &hub)) || FAILED(hub->get_Drawing(&s.drawing)) ||
            FAILED(s.drawing.As(&s.late)) || FAILED(surface->get_hDC(&dc))) {
            std::printf("cannot create the objects (are the components registered?)\n");
            return 1;
        }
        s.dc = kolorit::handleFrom<HDC>(dc);
        std::printf("%d calls each, best of %d batches; ns per call and ratio to the early-bound call\n", calls, batches);
        std::printf("%-12s %-28s %10s %9s\n", "member", "call", "ns/call", "ratio");
        pixelColor(s);
        drawLine(s);
        drawMode(s);
    }
    CoUninitialize();
    return 0;
}
