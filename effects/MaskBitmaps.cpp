// Monochrome masks. A colour-to-monochrome transfer turns the source's
// background colour white and everything else black; a monochrome-to-colour
// transfer turns white into the destination's background colour and black
// into its text colour. Both members build on these two conversions.

#include "DCEffectDrawing.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/GDIDCEx.h"
#include "frame/Vellum.h"

namespace kolorit {

using com::ComPtr;

namespace {

// How the image becomes the mask. A colour image goes through its
// background colour (set to the mask colour); a monochrome one has no colours
// to convert, only set bits (white) and clear bits (black), so the operation
// itself picks the bits that match, and no other colour matches anything.
DWORD maskOperation(bool monochrome, COLORREF maskColour, bool invert) {
    if (!monochrome) return invert ? SRCINVERT : SRCCOPY;  // exclusive-or onto the all-white mask
    if (maskColour == RGB(255, 255, 255)) return invert ? NOTSRCCOPY : SRCCOPY;
    if (maskColour == RGB(0, 0, 0)) return invert ? SRCCOPY : NOTSRCCOPY;
    return invert ? WHITENESS : BLACKNESS;
}

// The rectangle of a 32-bit image with the unused top byte of every pixel
// cleared. The colour-to-monochrome transfer compares whole pixels, and that
// byte may be set (some platforms set it when filling with WHITENESS, for
// one), while a colour matches on its RGB value alone: P AND S with a white
// brush keeps the colour and clears the rest.
ComPtr<_GDIDC> rgbCopy(HDC image, long X, long Y, long W, long H, const wchar_t* source) {
    ComPtr<_GDIDC> copy = CreateGDIDC(W, H, false, image);
    const HDC dc = surfaceDC(copy.Get());
    const Selection white(dc, gdi::GetStockObject(WHITE_BRUSH));
    if (!gdi::BitBlt(dc, 0, 0, W, H, image, X, Y, MERGECOPY)) RaiseVBDLLError(source, L"CaptureFrom failed!");
    return copy;
}

// A plain block transfer by a temporary hub over `from`.
void drawTo(GDIDCEx& from, HDC destination, long DestX1, long DestY1, long DestX2, long DestY2, long SrcX, long SrcY,
            DCRasterOperations RasterOpCode) {
    com::passThrough(from.DrawTo(handleValue(destination), DestX1, DestY1, DestX2, DestY2, SrcX,
                                 SrcY, RasterOpCode, -1));
}

}  // namespace

STDMETHODIMP DCEffectDrawing::GetMaskBitmap(OLE_COLOR MaskColor, long X1, long* Y1, long X2, long Y2,
                                            VARIANT_BOOL Invert, _GDIDC** Result) {
    return com::guarded(Result, [&] {
        const wchar_t* const source = L"DCEffectDrawing.GetMaskBitmap()";
        com::require(Y1 != nullptr);
        const ImageArea area = imageArea(X1, *Y1, X2, Y2, source);

        ComPtr<_GDIDC> mask = CreateGDIDC(area.W, area.H, true, nullptr);
        // What the mask is made from: the image itself, or its plain RGB copy.
        ComPtr<_GDIDC> copy;
        HDC image = hDC_;
        long X = X1, Y = area.Y1;
        if (area.image.bmBitsPixel == 32) {
            copy = rgbCopy(hDC_, X1, area.Y1, area.W, area.H, source);
            image = surfaceDC(copy.Get());
            X = Y = 0;
        }
        const COLORREF saved = gdi::GetBkColor(image);
        if (saved == CLR_INVALID) RaiseVBDLLError(source, L"GetBkColor failed!");
        const COLORREF maskColour = TranslateColor(MaskColor);
        if (gdi::SetBkColor(image, maskColour) == CLR_INVALID) RaiseVBDLLError(source, L"SetBkColor failed!");
        if (!gdi::BitBlt(surfaceDC(mask.Get()), 0, 0, area.W, area.H, image, X, Y,
                         maskOperation(area.image.bmBitsPixel == 1, maskColour, Invert != VARIANT_FALSE)))
            RaiseVBDLLError(source, L"CaptureFrom failed!");
        if (gdi::SetBkColor(image, saved) == CLR_INVALID)
            RaiseVBDLLError(source, L"SetBkColor failed to restore background color!");
        return mask;
    });
}

// image = (image AND NOT mask) OR (replacement AND mask), over the size of
// ToDC's bitmap at (DestX, DestY).
STDMETHODIMP DCEffectDrawing::ApplyMask(_GDIDC* MaskDC, _GDIDC* ToDC, long DestX, long DestY, long ReplacementX,
                                        long ReplacementY) {
    return com::guarded([&] {
        const wchar_t* const source = L"DCEffectDrawing.ApplyMask()";
        com::require(MaskDC != nullptr && ToDC != nullptr);
        OLE_HANDLE toBitmap = 0;
        com::passThrough(ToDC->get_hBitmap(&toBitmap));
        const BITMAP to = GetStructBitap(handleFrom<HBITMAP>(toBitmap));
        const long ToW = to.bmWidth;
        const long ToH = to.bmHeight;
        if (ReplacementX < 0 || ReplacementY < 0) RaiseVBDLLError(source, L"Invalid boundaries!");

        ComPtr<_GDIDC> replacement = CreateGDIDC(ToW, ToH, to.bmBitsPixel == 1, hDC_);
        const HDC replacementDC = surfaceDC(replacement.Get());
        const ComPtr<GDIDCEx> hubTo = GDIDCEx::attach(ToDC);
        const ComPtr<GDIDCEx> hubMask = GDIDCEx::attach(MaskDC);
        drawTo(*hubTo.Get(), replacementDC, 0, 0, ToW, ToH, ReplacementX, ReplacementY, dcBitSrcCopy);
        // The replacement surface's own colours (white background, black
        // text) turn the mask into a stencil: the pixels under black go.
        drawTo(*hubMask.Get(), replacementDC, 0, 0, ToW, ToH, 0, 0, dcBitSrcAnd);

        const BITMAP maskBitmap = SelectedBitmap(surfaceDC(MaskDC));
        const ComPtr<_GDIDC> inverse =
            CreateGDIDC(maskBitmap.bmWidth, maskBitmap.bmHeight, true, surfaceDC(MaskDC));
        drawTo(*hubMask.Get(), surfaceDC(inverse.Get()), 0, 0, ToW, ToH, 0, 0, dcBitSrcInvert);

        // The inverse mask cuts the holes in the image: white keeps a pixel
        // only with a white background, black clears it only with a black
        // text colour. Both are set for the two transfers and put back.
        const COLORREF savedBackground = gdi::SetBkColor(hDC_, TranslateColor(0xFFFFFF));
        if (savedBackground == CLR_INVALID) RaiseVBDLLError(source, L"SetBkColor failed!");
        const COLORREF savedText = gdi::SetTextColor(hDC_, RGB(0, 0, 0));
        if (savedText == CLR_INVALID) RaiseVBDLLError(source, L"SetTextColor failed!");
        // The far edges wrap around like the platform's own 32-bit sums.
        const long right = static_cast<long>(static_cast<long long>(DestX) + ToW);
        const long bottom = static_cast<long>(static_cast<long long>(DestY) + ToH);
        const ComPtr<GDIDCEx> hubInverse = GDIDCEx::attach(inverse.Get());
        const ComPtr<GDIDCEx> hubReplacement = GDIDCEx::attach(replacement.Get());
        drawTo(*hubInverse.Get(), hDC_, DestX, DestY, right, bottom, 0, 0, dcBitSrcAnd);
        drawTo(*hubReplacement.Get(), hDC_, DestX, DestY, right, bottom, 0, 0, dcBitSrcPaint);
        if (gdi::SetTextColor(hDC_, savedText) == CLR_INVALID)
            RaiseVBDLLError(source, L"SetTextColor failed to restore text color!");
        if (gdi::SetBkColor(hDC_, savedBackground) == CLR_INVALID)
            RaiseVBDLLError(source, L"SetBkColor failed to restore background color!");
    });
}

}  // namespace kolorit
