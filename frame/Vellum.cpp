#include "Vellum.h"

#include "com/Boundary.h"
#include "declarations/Handles.h"

namespace kolorit {

using com::ComPtr;

namespace {

ComPtr<_GDIBitmap> selectedBitmap(_GDIDC* surface) {
    ComPtr<_GDIBitmap> bitmap;
    com::passThrough(surface->get_SelBitmap(&bitmap));
    return bitmap;
}

}  // namespace

// Made on each use rather than kept per thread: it holds no state, and a
// kept one would outlive the thread's COM apartment.
ComPtr<_VellumFunctions> VellumFunctions() {
    ComPtr<_VellumFunctions> functions;
    com::passThrough(CoCreateInstance(CLSID_VellumFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&functions)));
    return functions;
}

COLORREF TranslateColor(OLE_COLOR Color) {
    long rgb = 0;
    com::passThrough(VellumFunctions()->TranslateColor(Color, 0, &rgb));
    return static_cast<COLORREF>(rgb);
}

ComPtr<_GDIDC> CreateGDIDC(long Width, long Height, bool Monochrome, HDC CompatibleDC) {
    ComPtr<_GDIDC> surface;
    com::passThrough(VellumFunctions()->CreateGDIDC(Width, Height, Monochrome ? VARIANT_TRUE : VARIANT_FALSE,
                                                    handleValue(CompatibleDC), &surface));
    return surface;
}

HDC surfaceDC(_GDIDC* surface) {
    OLE_HANDLE handle = 0;
    com::passThrough(surface->get_hDC(&handle));
    return handleFrom<HDC>(static_cast<int>(handle));
}

SIZE surfaceSize(_GDIDC* surface) {
    ComPtr<_GDIBitmap> bitmap = selectedBitmap(surface);
    SIZE size{};
    com::passThrough(bitmap->get_Width(&size.cx));
    com::passThrough(bitmap->get_Height(&size.cy));
    return size;
}

short surfaceBitsPixel(_GDIDC* surface) {
    short bits = 0;
    com::passThrough(selectedBitmap(surface)->get_BitsPixel(&bits));
    return bits;
}

}  // namespace kolorit
