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
        const ImageArea area = imageArea(X1, Y1, X2, Y2, source);

        // A surface of the new colour exactly the rectangle's size.
        const ComPtr<_GDIDC> colourSurface = CreateGDIDC(area.W, area.H, area.image.bmBitsPixel == 1, hDC_);
        const ComPtr<_GDIBrush> brush = CreateBrushObject(ToColor);
        com::passThrough(colourSurface->putref_SelBrush(brush.Get()));
        const RECT whole{0, 0, area.W, area.H};
        if (!gdi::FillRect(surfaceDC(colourSurface.Get()), &whole, BrushHandle(brush.Get())))
            RaiseVBDLLError(source, L"FillRect failed!");
        com::passThrough(ReplaceColorEx(FromColor, colourSurface.Get(), X1, Y1, area.X2, area.Y2, 0, 0));
        com::passThrough(colourSurface->ResetObjects());
    });
}

}  // namespace kolorit
