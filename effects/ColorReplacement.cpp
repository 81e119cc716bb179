// Colour replacement composed of whole-surface raster operations through the
// mask steps: the cost does not grow with the number of matching pixels.

#include "DCEffectDrawing.h"
#include "MaskBitmaps.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

namespace kolorit {

using com::ComPtr;
using com::ThreadSlot;

// The mask of the rectangle, applied at that rectangle.
STDMETHODIMP DCEffectDrawing::ReplaceColorEx(OLE_COLOR FromColor, _GDIDC* ToDC, long X1, long Y1, long X2, long Y2,
                                             long ReplacementX, long ReplacementY) {
    return com::guarded([&] {
        const wchar_t* const source = L"DCEffectDrawing.GetMaskBitmap()";
        const ImageArea area = imageArea(X1, Y1, X2, Y2, source);
        const ComPtr<_GDIDC> mask = WorkingSurface(ThreadSlot::WorkingMask, area.W, area.H, true);
        drawMask(surfaceDC(mask.Get()), hDC_, X1, Y1, area.W, area.H, TranslateColor(FromColor), false, false, source);
        com::passThrough(ApplyMask(mask.Get(), ToDC, X1, Y1, ReplacementX, ReplacementY));
    });
}

STDMETHODIMP DCEffectDrawing::ReplaceColor(OLE_COLOR FromColor, OLE_COLOR ToColor, long X1, long Y1, long X2,
                                           long Y2) {
    return com::guarded([&] {
        const wchar_t* const source = L"DCEffectDrawing.ReplaceColor()";
        const ImageArea area = imageArea(X1, Y1, X2, Y2, source);

        // The replacement is the new colour; the mask stencils it into the
        // rectangle, as ReplaceColorEx would from a surface of that colour.
        const ComPtr<_GDIDC> replacement =
            WorkingSurface(ThreadSlot::WorkingReplacement, area.W, area.H, area.image.bmBitsPixel == 1);
        const HDC replacementDC = surfaceDC(replacement.Get());
        const RECT whole{0, 0, area.W, area.H};
        if (!gdi::FillRect(replacementDC, &whole, SolidBrush(TranslateColor(ToColor), source).get()))
            RaiseVBDLLError(source, L"FillRect failed!");
        const ComPtr<_GDIDC> mask = WorkingSurface(ThreadSlot::WorkingMask, area.W, area.H, true);
        const HDC maskDC = surfaceDC(mask.Get());
        drawMask(maskDC, hDC_, X1, Y1, area.W, area.H, TranslateColor(FromColor), false, false,
                 L"DCEffectDrawing.GetMaskBitmap()");
        applyMask(hDC_, X1, Y1, maskDC, SIZE{area.W, area.H}, replacementDC, area.W, area.H,
                  L"DCEffectDrawing.ApplyMask()");
    });
}

}  // namespace kolorit
