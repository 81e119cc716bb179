#pragma once
// The library's own uses of Vellum: colours, temporary surfaces and sizes.
// Errors raised by Vellum pass through unchanged.

#include "KoloritTypes.h"
#include "com/Ptr.h"

namespace kolorit {

// Vellum's global object for the calling thread.
com::ComPtr<_VellumFunctions> VellumFunctions();

// An OLE_COLOR as the RGB value the platform takes; system colours resolved.
COLORREF TranslateColor(OLE_COLOR Color);

com::ComPtr<_GDIDC> CreateGDIDC(long Width, long Height, bool Monochrome, HDC CompatibleDC);
com::ComPtr<_GDIBrush> CreateBrushObject(OLE_COLOR Color);
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
