// Colour replacement composed of whole-surface raster operations through the
// mask members: the cost does not grow with the number of matching pixels.

#include "DCEffectDrawing.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

namespace kolorit {

using com::ComPtr;

STDMETHODIMP DCEffectDrawing::ReplaceColorEx(OLE_COLOR FromColor, _GDIDC* ToDC, long X1, long Y1, long X2, long Y2,
                                             long ReplacementX, long ReplacementY) {
    return com::guarded([&] {
        long top = Y1;
        ComPtr<_GDIDC> mask;
        com::passThrough(GetMaskBitmap(FromColor, X1, &top, X2, Y2, VARIANT_FALSE, &mask));
        com::passThrough(ApplyMask(mask.Get(), ToDC, X1, top, ReplacementX, ReplacementY));
    });
}

STDMETHODIMP DCEffectDrawing::ReplaceColor(OLE_COLOR FromColor, OLE_COLOR ToColor, long X1, long Y1, long X2,
                                           long Y2) {
    return com::guarded([&] {
        const wchar_t* const source = L"DCEffectDrawing.ReplaceColor()";
        if (X1 < 0 || Y1 < 0 || X2 < 0 || Y2 < 0) InvalidBoundaries(source);
        const BITMAP bitmap = SelectedBitmap(hDC_);
        if (X2 == 0) X2 = bitmap.bmWidth;
        if (Y2 == 0) Y2 = bitmap.bmHeight;
        const long W = X2 - X1;
        const long H = Y2 - Y1;
        if (W < 1 || H < 1) InvalidBoundaries(source);

        // A surface of the new colour exactly the rectangle's size.
        const ComPtr<_GDIDC> colourSurface = CreateGDIDC(W, H, bitmap.bmBitsPixel == 1, hDC_);
        const ComPtr<_GDIBrush> brush = CreateBrushObject(ToColor);
        com::passThrough(colourSurface->putref_SelBrush(brush.Get()));
        const RECT area{0, 0, W, H};
        if (!gdi::FillRect(surfaceDC(colourSurface.Get()), &area, BrushHandle(brush.Get())))
            RaiseVBDLLError(source, L"FillRect failed!");
        com::passThrough(ReplaceColorEx(FromColor, colourSurface.Get(), X1, Y1, X2, Y2, 0, 0));
        com::passThrough(colourSurface->ResetObjects());
    });
}

}  // namespace kolorit
