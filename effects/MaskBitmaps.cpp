// Monochrome masks. A colour-to-monochrome transfer turns the source's
// background colour white and everything else black; a monochrome-to-colour
// transfer turns white into the destination's background colour and black
// into its text colour. Both members build on these two conversions. The
// first is slow on some platforms, pixel by pixel through a colour search:
// for 32-bit images the mask is made in memory instead, by the same rule.

#include "DCEffectDrawing.h"
#include "MaskBitmaps.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

#include <cstdint>
#include <vector>

namespace kolorit {

using com::ComPtr;
using com::ThreadSlot;

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

// The block transfers of the steps fail as the hub's DrawTo, which they were
// first made of.
void transfer(HDC to, long X, long Y, long W, long H, HDC from, long FromX, long FromY, DWORD operation) {
    if (!gdi::BitBlt(to, X, Y, W, H, from, FromX, FromY, operation))
        RaiseVBDLLError(L"GDIDCEx.DrawTo()", L"DrawTo failed!");
}

// The mask of the W x H pixels at the origin of a 32-bit working surface (a
// top-down DIB section), written into the monochrome mask of that size:
// exactly what the platform's transfer makes of the pixels with their top
// byte cleared against the colour as background colour.
void writeMask(HDC mask, HDC pixels, long W, long H, COLORREF colour, bool invert, const wchar_t* source) {
    gdi::GdiFlush();
    DIBSECTION dib{};
    if (gdi::GetObjectA(gdi::GetCurrentObject(pixels, OBJ_BITMAP), sizeof dib, &dib) != sizeof dib)
        RaiseVBDLLError(source, L"CaptureFrom failed!");
    const std::uint32_t key = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    // Monochrome rows as the platform lays them out: whole 16-bit words,
    // the leftmost pixel in the highest bit, white set.
    const size_t rowBytes = static_cast<size_t>((W + 15) / 16) * 2;
    std::vector<BYTE> bits(rowBytes * H);
    for (long y = 0; y < H; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(dib.dsBm.bmBits) +
                                                                 static_cast<size_t>(y) * dib.dsBm.bmWidthBytes);
        BYTE* out = bits.data() + y * rowBytes;
        for (long x = 0; x < W; ++x)
            if (((row[x] & 0xFFFFFF) == key) != invert) out[x >> 3] |= static_cast<BYTE>(0x80 >> (x & 7));
    }
    if (!gdi::SetBitmapBits(static_cast<HBITMAP>(gdi::GetCurrentObject(mask, OBJ_BITMAP)),
                            static_cast<DWORD>(bits.size()), bits.data()))
        RaiseVBDLLError(source, L"CaptureFrom failed!");
}

}  // namespace

void drawMask(HDC mask, HDC image, long X, long Y, long W, long H, COLORREF colour, bool invert, bool workingImage,
              const wchar_t* source) {
    const short bitsPixel = SelectedBitmap(image).bmBitsPixel;
    // A plain colour against 32-bit pixels: compared in memory.
    if (bitsPixel == 32 && (colour >> 24) == 0) {
        ComPtr<_GDIDC> copy;
        HDC pixels = image;
        if (!workingImage) {
            copy = WorkingSurface(ThreadSlot::WorkingCopy, W, H, false);
            pixels = surfaceDC(copy.Get());
            if (!gdi::BitBlt(pixels, 0, 0, W, H, image, X, Y, SRCCOPY)) RaiseVBDLLError(source, L"CaptureFrom failed!");
        }
        writeMask(mask, pixels, W, H, colour, invert, source);
        return;
    }

    // The platform's own transfer. It compares whole 32-bit pixels, and the
    // top byte may be set (some platforms set it when filling with
    // WHITENESS, for one), while a colour matches on its RGB value alone:
    // P AND S with a white brush into a copy keeps the colour and clears
    // the rest.
    ComPtr<_GDIDC> copy;
    HDC from = image;
    if (bitsPixel == 32) {
        copy = WorkingSurface(ThreadSlot::WorkingCopy, W, H, false);
        from = surfaceDC(copy.Get());
        const Selection white(from, gdi::GetStockObject(WHITE_BRUSH));
        if (!gdi::BitBlt(from, 0, 0, W, H, image, X, Y, MERGECOPY)) RaiseVBDLLError(source, L"CaptureFrom failed!");
        X = Y = 0;
    }
    const COLORREF saved = gdi::GetBkColor(from);
    if (saved == CLR_INVALID) RaiseVBDLLError(source, L"GetBkColor failed!");
    if (gdi::SetBkColor(from, colour) == CLR_INVALID) RaiseVBDLLError(source, L"SetBkColor failed!");
    if (!gdi::BitBlt(mask, 0, 0, W, H, from, X, Y, maskOperation(bitsPixel == 1, colour, invert)))
        RaiseVBDLLError(source, L"CaptureFrom failed!");
    if (gdi::SetBkColor(from, saved) == CLR_INVALID)
        RaiseVBDLLError(source, L"SetBkColor failed to restore background color!");
}

void applyMask(HDC image, long DestX, long DestY, HDC mask, SIZE maskSize, HDC replacement, long W, long H,
               const wchar_t* source) {
    // The replacement surface's own colours (white background, black text)
    // turn the mask into a stencil: the pixels under black go.
    transfer(replacement, 0, 0, W, H, mask, 0, 0, SRCAND);
    const ComPtr<_GDIDC> inverse = WorkingSurface(ThreadSlot::WorkingInverse, maskSize.cx, maskSize.cy, true);
    transfer(surfaceDC(inverse.Get()), 0, 0, W, H, mask, 0, 0, SRCINVERT);

    // The inverse mask cuts the holes in the image: white keeps a pixel
    // only with a white background, black clears it only with a black
    // text colour. Both are set for the two transfers and put back.
    const COLORREF savedBackground = gdi::SetBkColor(image, RGB(255, 255, 255));
    if (savedBackground == CLR_INVALID) RaiseVBDLLError(source, L"SetBkColor failed!");
    const COLORREF savedText = gdi::SetTextColor(image, RGB(0, 0, 0));
    if (savedText == CLR_INVALID) RaiseVBDLLError(source, L"SetTextColor failed!");
    // The far edges wrap around like the platform's own 32-bit sums; one
    // that lands on 0 stands for the inverse's own size, as in the hub's
    // transfers.
    const long right = static_cast<long>(static_cast<long long>(DestX) + W);
    const long bottom = static_cast<long>(static_cast<long long>(DestY) + H);
    transfer(image, DestX, DestY, right == 0 ? maskSize.cx : W, bottom == 0 ? maskSize.cy : H,
             surfaceDC(inverse.Get()), 0, 0, SRCAND);
    transfer(image, DestX, DestY, W, H, replacement, 0, 0, SRCPAINT);
    if (gdi::SetTextColor(image, savedText) == CLR_INVALID)
        RaiseVBDLLError(source, L"SetTextColor failed to restore text color!");
    if (gdi::SetBkColor(image, savedBackground) == CLR_INVALID)
        RaiseVBDLLError(source, L"SetBkColor failed to restore background color!");
}

STDMETHODIMP DCEffectDrawing::GetMaskBitmap(OLE_COLOR MaskColor, long X1, long* Y1, long X2, long Y2,
                                            VARIANT_BOOL Invert, _GDIDC** Result) {
    return com::guarded(Result, [&] {
        const wchar_t* const source = L"DCEffectDrawing.GetMaskBitmap()";
        com::require(Y1 != nullptr);
        const ImageArea area = imageArea(X1, *Y1, X2, Y2, source);
        ComPtr<_GDIDC> mask = CreateGDIDC(area.W, area.H, true, nullptr);
        drawMask(surfaceDC(mask.Get()), hDC_, X1, area.Y1, area.W, area.H, TranslateColor(MaskColor),
                 Invert != VARIANT_FALSE, false, source);
        return mask;
    });
}

// Over the size of ToDC's bitmap at (DestX, DestY).
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

        const ComPtr<_GDIDC> replacement = WorkingSurface(ThreadSlot::WorkingReplacement, ToW, ToH, to.bmBitsPixel == 1);
        const HDC toDC = surfaceDC(ToDC);
        const HDC maskDC = surfaceDC(MaskDC);
        com::require(toDC != nullptr && maskDC != nullptr);
        transfer(surfaceDC(replacement.Get()), 0, 0, ToW, ToH, toDC, ReplacementX, ReplacementY, SRCCOPY);
        const BITMAP maskBitmap = SelectedBitmap(maskDC);
        applyMask(hDC_, DestX, DestY, maskDC, SIZE{maskBitmap.bmWidth, maskBitmap.bmHeight},
                  surfaceDC(replacement.Get()), ToW, ToH, source);
    });
}

}  // namespace kolorit
