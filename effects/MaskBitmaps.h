#pragma once
// The steps the mask members are made of, for the transparent transfers as
// well, which run them on working surfaces of the library (frame/Vellum.h)
// instead of surfaces made for each call.

#include "frame/KoloritTypes.h"

namespace kolorit {

// The mask of W x H of `image` from (X, Y) into `mask`, a monochrome
// surface of exactly that size: white where the image has `colour` (its RGB
// value, whatever the top byte of a 32-bit pixel), black elsewhere, or the
// reverse. `workingImage`: the image is a working surface with the pixels
// at its origin, which are read where they lie.
void drawMask(HDC mask, HDC image, long X, long Y, long W, long H, COLORREF colour, bool invert, bool workingImage,
              const wchar_t* source);

// image = (image AND NOT mask) OR (replacement AND mask), W x H at
// (DestX, DestY) of `image`. `replacement` holds the replacement pixels at
// its origin and becomes the stencilled part; `maskSize` is the size of the
// mask's bitmap, which limits what the stencil reaches.
void applyMask(HDC image, long DestX, long DestY, HDC mask, SIZE maskSize, HDC replacement, long W, long H,
               const wchar_t* source);

}  // namespace kolorit
