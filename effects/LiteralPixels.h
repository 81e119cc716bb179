#pragma once
// The reference path of the effects that move single pixels: one platform
// call per pixel read or written, on any device context in any state. The
// algorithms take their pixels either from here or from SurfaceMemory, which
// must give exactly the same results where it applies.

#include "declarations/GDIDeclarations.h"

namespace kolorit {

class LiteralPixels {
public:
    explicit LiteralPixels(HDC dc) noexcept : dc_(dc) {}

    COLORREF GetPixel(int x, int y) const { return gdi::GetPixel(dc_, x, y); }
    // Its result is not looked at.
    void SetPixel(int x, int y, COLORREF colour) const { gdi::SetPixel(dc_, x, y, colour); }

private:
    HDC dc_;
};

}  // namespace kolorit
