#pragma once
// The library's own uses of Vellum: colours, temporary surfaces and sizes.
// Errors raised by Vellum pass through unchanged.

#include "KoloritTypes.h"
#include "com/Module.h"
#include "com/Ptr.h"

namespace kolorit {

// Vellum's global object for the calling thread.
com::ComPtr<_VellumFunctions> VellumFunctions();

// An OLE_COLOR as the RGB value the platform takes; system colours resolved.
COLORREF TranslateColor(OLE_COLOR Color);

com::ComPtr<_GDIDC> CreateGDIDC(long Width, long Height, bool Monochrome, HDC CompatibleDC);
// A surface for the library's own work, which no caller sees, kept for the
// thread in `slot` and used again by later calls: a colour surface at least
// Width x Height, a monochrome one exactly that size (the size of a mask
// decides what a transfer from it reaches). The Width x Height at its
// origin is what a new surface holds (black, or white in monochrome) and its
// device context has the default colours. A size a new surface refuses is
// refused the same way; surfaces beyond 2^22 pixels are made for the call
// alone.
com::ComPtr<_GDIDC> WorkingSurface(com::ThreadSlot slot, long Width, long Height, bool Monochrome);
// A new Vellum region object, holding no region yet.
com::ComPtr<_GDIRegion> CreateRegionObject();

// The handle a Vellum brush or region object holds, read anew at each use (0
// when it holds none). Anything that is not such an object is a bad argument
// (run-time error 5); the object's own errors pass through.
HBRUSH BrushHandle(IUnknown* Brush);
HRGN RegionHandle(IUnknown* Region);

// The record description of Vellum's COORD, from Vellum's type library.
com::ComPtr<IRecordInfo> CoordRecord();

// The device context of a surface, its selected bitmap's size and depth.
HDC surfaceDC(_GDIDC* surface);
SIZE surfaceSize(_GDIDC* surface);
short surfaceBitsPixel(_GDIDC* surface);

}  // namespace kolorit
