#pragma once
// The hub's block transfers with a transparent colour: pixels of that colour
// in what is transferred leave the destination as it was. Built from the
// steps of the effects' masks on the thread's working surfaces, so every
// depth and raster operation behaves as in the plain transfer.

#include "KoloritTypes.h"

namespace kolorit {

class GDIDCEx;

// DrawTo: W x H of the hub's surface from (SrcX, SrcY) onto `destination` at
// (DestX1, DestY1).
void transparentDrawTo(GDIDCEx& hub, HDC destination, long DestX1, long DestY1, long W, long H, long SrcX, long SrcY,
                       DCRasterOperations RasterOpCode, long TransparentColor);

// CaptureFrom: W x H of `source` from (SrcX1, SrcY1) onto the hub's surface at
// (DestX, DestY). Only SRCCOPY has a meaning here (run-time error 5 otherwise).
void transparentCaptureFrom(GDIDCEx& hub, HDC source, long SrcX1, long SrcY1, long W, long H, long DestX, long DestY,
                            DCRasterOperations RasterOpCode, long TransparentColor);

}  // namespace kolorit
