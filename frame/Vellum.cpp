#include "Vellum.h"

#include "com/Boundary.h"
#include "com/Module.h"
#include "declarations/Handles.h"

namespace kolorit {

using com::ComPtr;

namespace {

// Vellum's COORD, as its type library names it.
constexpr GUID CoordGuid = {0x3744EF86, 0x882F, 0x454B, {0x96, 0xF8, 0x08, 0xC7, 0xBC, 0x43, 0x34, 0x97}};

ComPtr<ITypeLib> vellumLibrary() {
    ComPtr<ITypeLib> library;
    if (FAILED(LoadRegTypeLib(LIBID_Vellum, 1, 0, 0, &library)))
        com::passThrough(LoadTypeLib(L"vellum.dll", &library));
    return library;
}

ComPtr<_GDIBitmap> selectedBitmap(_GDIDC* surface) {
    ComPtr<_GDIBitmap> bitmap;
    com::passThrough(surface->get_SelBitmap(&bitmap));
    return bitmap;
}

}  // namespace

// Created on first use and kept for the thread while objects of the library
// live there: creating one costs far more than any colour, brush or surface
// asked of it.
ComPtr<_VellumFunctions> VellumFunctions() {
    ComPtr<_VellumFunctions> functions;
    if (IUnknown* kept = com::threadKept()) {
        com::passThrough(kept->QueryInterface(IID_PPV_ARGS(&functions)));
        return functions;
    }
    com::passThrough(CoCreateInstance(CLSID_VellumFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&functions)));
    com::keepForThread(functions.Get());
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

ComPtr<_GDIBrush> CreateBrushObject(OLE_COLOR Color) {
    ComPtr<_GDIBrush> brush;
    com::passThrough(VellumFunctions()->CreateBrushObject(Color, 0, 0, &brush));
    return brush;
}

ComPtr<_GDIRegion> CreateRegionObject() {
    ComPtr<_GDIRegion> region;
    com::passThrough(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)));
    return region;
}

HBRUSH BrushHandle(IUnknown* Brush) {
    ComPtr<_GDIBrush> brush;
    com::require(Brush && SUCCEEDED(Brush->QueryInterface(IID_PPV_ARGS(&brush))));
    OLE_HANDLE handle = 0;
    com::passThrough(brush->get_hBrush(&handle));
    return handleFrom<HBRUSH>(handle);
}

HRGN RegionHandle(IUnknown* Region) {
    ComPtr<_GDIRegion> region;
    com::require(Region && SUCCEEDED(Region->QueryInterface(IID_PPV_ARGS(&region))));
    OLE_HANDLE handle = 0;
    com::passThrough(region->get_hRgn(&handle));
    return handleFrom<HRGN>(handle);
}

ComPtr<IRecordInfo> CoordRecord() {
    ComPtr<ITypeInfo> info;
    com::passThrough(vellumLibrary()->GetTypeInfoOfGuid(CoordGuid, &info));
    ComPtr<IRecordInfo> record;
    com::passThrough(GetRecordInfoFromTypeInfo(info.Get(), &record));
    return record;
}

HDC surfaceDC(_GDIDC* surface) {
    OLE_HANDLE handle = 0;
    com::passThrough(surface->get_hDC(&handle));
    return handleFrom<HDC>(handle);
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
