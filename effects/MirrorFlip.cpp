// The whole image reversed in place by one stretch onto itself with negative
// extents. The reversed origin is the last column or row: a negative extent
// counts from there toward the first.

#include "DCEffectDrawing.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace kolorit {

void DCEffectDrawing::reverse(bool alongX, bool alongY, const wchar_t* source) {
    const BITMAP bitmap = SelectedBitmap(hDC_);
    const long W = bitmap.bmWidth;
    const long H = bitmap.bmHeight;
    if (!gdi::StretchBlt(hDC_, alongX ? W - 1 : 0, alongY ? H - 1 : 0, alongX ? -W : W, alongY ? -H : H, hDC_, 0, 0, W,
                         H, SRCCOPY))
        RaiseVBDLLError(source, L"StretchBlt failed!");
}

STDMETHODIMP DCEffectDrawing::Mirror() {
    return com::guarded([&] { reverse(true, false, L"DCEffectDrawing.Mirror()"); });
}

STDMETHODIMP DCEffectDrawing::Flip() {
    return com::guarded([&] { reverse(false, true, L"DCEffectDrawing.Flip()"); });
}

STDMETHODIMP DCEffectDrawing::FlipMirror() {
    return com::guarded([&] { reverse(true, true, L"DCEffectDrawing.FlipMirror()"); });
}

}  // namespace kolorit
