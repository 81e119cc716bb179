#include "TransparentTransfer.h"

#include "GDIDCEx.h"
#include "Vellum.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "effects/MaskBitmaps.h"

#include <algorithm>

namespace kolorit {

using com::ComPtr;
using com::ThreadSlot;

namespace {

const wchar_t* const maskSource = L"DCEffectDrawing.GetMaskBitmap()";
const wchar_t* const applySource = L"DCEffectDrawing.ApplyMask()";

// A working copy as deep as the hub's surface, so that the colour found in it
// is the colour the surface holds.
ComPtr<_GDIDC> workingCopy(ThreadSlot slot, GDIDCEx& hub, long W, long H) {
    return WorkingSurface(slot, W, H, surfaceBitsPixel(hub.surface()) == 1);
}

// The mask of the W x H working pixels at the origin of `pixels`: white
// where they have the transparent colour.
ComPtr<_GDIDC> transparentMask(HDC pixels, long W, long H, long TransparentColor) {
    const ComPtr<_GDIDC> mask = WorkingSurface(ThreadSlot::WorkingMask, W, H, true);
    drawMask(surfaceDC(mask.Get()), pixels, 0, 0, W, H, TranslateColor(static_cast<OLE_COLOR>(TransparentColor)), false,
             true, maskSource);
    return mask;
}

// The part of a W x H transfer from (SrcX, SrcY) of `from` to (DestX, DestY)
// of `to` that lies inside both device contexts' visible areas: nothing
// outside it can change, so the working copies need no more, however large
// the caller's rectangle. False when no pixel is visible.
bool visiblePart(HDC from, HDC to, long& SrcX, long& SrcY, long& DestX, long& DestY, long& W, long& H,
                 const wchar_t* source, const wchar_t* description) {
    RECT inFrom{}, inTo{};
    if (gdi::GetClipBox(from, &inFrom) == ERROR || gdi::GetClipBox(to, &inTo) == ERROR)
        RaiseVBDLLError(source, description);
    const long long left = std::max({0LL, 0LL + inFrom.left - SrcX, 0LL + inTo.left - DestX});
    const long long top = std::max({0LL, 0LL + inFrom.top - SrcY, 0LL + inTo.top - DestY});
    const long long right = std::min({0LL + W, 0LL + inFrom.right - SrcX, 0LL + inTo.right - DestX});
    const long long bottom = std::min({0LL + H, 0LL + inFrom.bottom - SrcY, 0LL + inTo.bottom - DestY});
    if (right <= left || bottom <= top) return false;
    SrcX = static_cast<long>(SrcX + left);
    DestX = static_cast<long>(DestX + left);
    SrcY = static_cast<long>(SrcY + top);
    DestY = static_cast<long>(DestY + top);
    W = static_cast<long>(right - left);
    H = static_cast<long>(bottom - top);
    return true;
}

}  // namespace

// The destination takes what the plain transfer would leave there, except
// where this surface has the transparent colour: there it keeps its pixels,
// whatever the raster operation would make of them.
void transparentDrawTo(GDIDCEx& hub, HDC destination, long DestX1, long DestY1, long W, long H, long SrcX, long SrcY,
                       DCRasterOperations RasterOpCode, long TransparentColor) {
    const wchar_t* const source = L"GDIDCEx.DrawTo()";
    if (W > 0 && H > 0 &&
        !visiblePart(hub.hDC(), destination, SrcX, SrcY, DestX1, DestY1, W, H, source, L"DrawTo failed!"))
        return;
    const ComPtr<_GDIDC> foreground = workingCopy(ThreadSlot::WorkingForeground, hub, W, H);
    const ComPtr<_GDIDC> background = workingCopy(ThreadSlot::WorkingReplacement, hub, W, H);
    const ComPtr<_GDIDC> drawn = workingCopy(ThreadSlot::WorkingDrawn, hub, W, H);
    const HDC foregroundDC = surfaceDC(foreground.Get());
    const HDC backgroundDC = surfaceDC(background.Get());
    const HDC drawnDC = surfaceDC(drawn.Get());
    if (!gdi::BitBlt(foregroundDC, 0, 0, W, H, hub.hDC(), SrcX, SrcY, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
    if (!gdi::BitBlt(backgroundDC, 0, 0, W, H, destination, DestX1, DestY1, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
    if (!gdi::BitBlt(drawnDC, 0, 0, W, H, destination, DestX1, DestY1, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
    if (!gdi::BitBlt(drawnDC, 0, 0, W, H, foregroundDC, 0, 0, static_cast<DWORD>(RasterOpCode)))
        RaiseVBDLLError(source, L"DrawTo failed!");

    // The background is the replacement where the foreground has the
    // transparent colour.
    const ComPtr<_GDIDC> transparent = transparentMask(foregroundDC, W, H, TransparentColor);
    applyMask(drawnDC, 0, 0, surfaceDC(transparent.Get()), SIZE{W, H}, backgroundDC, W, H, applySource);
    if (!gdi::BitBlt(destination, DestX1, DestY1, W, H, drawnDC, 0, 0, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
}

void transparentCaptureFrom(GDIDCEx& hub, HDC source, long SrcX1, long SrcY1, long W, long H, long DestX, long DestY,
                            DCRasterOperations RasterOpCode, long TransparentColor) {
    com::require(RasterOpCode == dcBitSrcCopy);
    if (!visiblePart(source, hub.hDC(), SrcX1, SrcY1, DestX, DestY, W, H, L"GDIDCEx.CaptureFrom()",
                     L"CaptureFrom failed!"))
        return;
    const ComPtr<_GDIDC> captured = workingCopy(ThreadSlot::WorkingForeground, hub, W, H);
    const HDC capturedDC = surfaceDC(captured.Get());
    if (!gdi::BitBlt(capturedDC, 0, 0, W, H, source, SrcX1, SrcY1, SRCCOPY))
        RaiseVBDLLError(L"GDIDCEx.CaptureFrom()", L"CaptureFrom failed!");
    // Every pixel of the transparent colour takes this surface's pixel from
    // (DestX, DestY) on, which the mask steps read as replacement pixels:
    // from a corner inside the surface only.
    const ComPtr<_GDIDC> transparent = transparentMask(capturedDC, W, H, TransparentColor);
    if (DestX < 0 || DestY < 0) RaiseVBDLLError(applySource, L"Invalid boundaries!");
    const ComPtr<_GDIDC> replacement = workingCopy(ThreadSlot::WorkingReplacement, hub, W, H);
    const HDC replacementDC = surfaceDC(replacement.Get());
    if (!gdi::BitBlt(replacementDC, 0, 0, W, H, hub.hDC(), DestX, DestY, SRCCOPY))
        RaiseVBDLLError(L"GDIDCEx.DrawTo()", L"DrawTo failed!");
    applyMask(capturedDC, 0, 0, surfaceDC(transparent.Get()), SIZE{W, H}, replacementDC, W, H, applySource);
    if (!gdi::BitBlt(hub.hDC(), DestX, DestY, W, H, capturedDC, 0, 0, static_cast<DWORD>(RasterOpCode)))
        RaiseVBDLLError(L"GDIDCEx.CaptureFrom()", L"CaptureFrom failed!");
}

}  // namespace kolorit
