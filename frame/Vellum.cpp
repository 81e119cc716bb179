#include "Vellum.h"

#include "com/Boundary.h"
#include "com/Module.h"
#include "declarations/GDIDeclarations.h"

#include <algorithm>

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

// Working surfaces of at most this many pixels are kept for the thread.
constexpr long long keptPixels = 1LL << 22;

// The object kept for the thread in `slot`, made by `make` on first use.
template <class Interface, class Make>
ComPtr<Interface> keptFor(com::ThreadSlot slot, Make make) {
    ComPtr<Interface> object;
    if (IUnknown* kept = com::threadKept(slot)) {
        com::passThrough(kept->QueryInterface(IID_PPV_ARGS(&object)));
        return object;
    }
    object = make();
    com::keepForThread(slot, object.Get());
    return object;
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
    return keptFor<_VellumFunctions>(com::ThreadSlot::VellumFunctions, [] {
        ComPtr<_VellumFunctions> functions;
        com::passThrough(
            CoCreateInstance(CLSID_VellumFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&functions)));
        return functions;
    });
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

namespace {

// The surface kept in `slot` when it can serve, cleared to what a new one
// holds; else null, with `kept` the size of what the slot held.
ComPtr<_GDIDC> reusedSurface(com::ThreadSlot slot, long Width, long Height, bool Monochrome, SIZE& kept) {
    IUnknown* object = com::threadKept(slot);
    if (!object || Width <= 0 || Height <= 0) return nullptr;
    ComPtr<_GDIDC> surface;
    com::passThrough(object->QueryInterface(IID_PPV_ARGS(&surface)));
    const HDC dc = surfaceDC(surface.Get());
    const BITMAP bitmap = SelectedBitmap(dc);
    kept = {bitmap.bmWidth, bitmap.bmHeight};
    const bool fits = (bitmap.bmBitsPixel == 1) == Monochrome &&
                      (Monochrome ? kept.cx == Width && kept.cy == Height : kept.cx >= Width && kept.cy >= Height);
    if (!fits) return nullptr;
    if (!gdi::PatBlt(dc, 0, 0, Width, Height, Monochrome ? WHITENESS : BLACKNESS) ||
        gdi::SetBkColor(dc, RGB(255, 255, 255)) == CLR_INVALID || gdi::SetTextColor(dc, RGB(0, 0, 0)) == CLR_INVALID)
        RaiseVBDLLError(L"WorkingSurface()", L"PatBlt failed!");
    return surface;
}

}  // namespace

ComPtr<_GDIDC> WorkingSurface(com::ThreadSlot slot, long Width, long Height, bool Monochrome) {
    SIZE kept{};
    if (ComPtr<_GDIDC> reused = reusedSurface(slot, Width, Height, Monochrome, kept)) return reused;
    // A colour surface grows to hold what it held before as well.
    long width = Width, height = Height;
    if (!Monochrome && Width > 0 && Height > 0) {
        width = std::max(Width, kept.cx);
        height = std::max(Height, kept.cy);
    }
    const bool keep = width > 0 && height > 0 && static_cast<long long>(width) * height <= keptPixels;
    ComPtr<_GDIDC> surface = CreateGDIDC(keep ? width : Width, keep ? height : Height, Monochrome, nullptr);
    if (keep) com::keepForThread(slot, surface.Get());
    return surface;
}

// Made by Vellum's class object, which is found once per thread and kept:
// finding it costs a registry search, making a region from it a few calls.
ComPtr<_GDIRegion> CreateRegionObject() {
    const ComPtr<IClassFactory> regions = keptFor<IClassFactory>(com::ThreadSlot::RegionClass, [] {
        ComPtr<IClassFactory> factory;
        com::passThrough(
            CoGetClassObject(CLSID_GDIRegion, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory)));
        return factory;
    });
    ComPtr<_GDIRegion> region;
    com::passThrough(regions->CreateInstance(nullptr, IID_PPV_ARGS(&region)));
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

// Read from the type library once per thread: loading the library costs a
// registry search and reading a file.
ComPtr<IRecordInfo> CoordRecord() {
    return keptFor<IRecordInfo>(com::ThreadSlot::CoordRecord, [] {
        ComPtr<ITypeInfo> info;
        com::passThrough(vellumLibrary()->GetTypeInfoOfGuid(CoordGuid, &info));
        ComPtr<IRecordInfo> record;
        com::passThrough(GetRecordInfoFromTypeInfo(info.Get(), &record));
        return record;
    });
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
