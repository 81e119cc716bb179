#include "TransparentTransfer.h"

#include "GDIDCEx.h"
#include "Vellum.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

#include <algorithm>

namespace kolorit {

using com::ComPtr;

namespace {

// A working copy as deep as the hub's surface, so that the colour found in it
// is the colour the surface holds.
ComPtr<_GDIDC> workingCopy(GDIDCEx& hub, long W, long H) {
    return CreateGDIDC(W, H, surfaceBitsPixel(hub.surface()) == 1, hub.hDC());
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

ComPtr<_DCEffectDrawing> effectsOf(_GDIDC* image) {
    const ComPtr<GDIDCEx> hub = GDIDCEx::attach(image);
    ComPtr<_DCEffectDrawing> effects;
    com::passThrough(static_cast<_GDIDCEx*>(hub.Get())->get_Effects(&effects));
    return effects;
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
    const ComPtr<_GDIDC> foreground = workingCopy(hub, W, H);
    const ComPtr<_GDIDC> background = workingCopy(hub, W, H);
    const ComPtr<_GDIDC> drawn = workingCopy(hub, W, H);
    if (!gdi::BitBlt(surfaceDC(foreground.Get()), 0, 0, W, H, hub.hDC(), SrcX, SrcY, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
    if (!gdi::BitBlt(surfaceDC(background.Get()), 0, 0, W, H, destination, DestX1, DestY1, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
    if (!gdi::BitBlt(surfaceDC(drawn.Get()), 0, 0, W, H, destination, DestX1, DestY1, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
    if (!gdi::BitBlt(surfaceDC(drawn.Get()), 0, 0, W, H, surfaceDC(foreground.Get()), 0, 0,
                     static_cast<DWORD>(RasterOpCode)))
        RaiseVBDLLError(source, L"DrawTo failed!");

    ComPtr<_GDIDC> transparent;
    long top = 0;
    com::passThrough(effectsOf(foreground.Get())
                         ->GetMaskBitmap(static_cast<OLE_COLOR>(TransparentColor), 0, &top, W, H, VARIANT_FALSE,
                                         &transparent));
    com::passThrough(effectsOf(drawn.Get())->ApplyMask(transparent.Get(), background.Get(), 0, 0, 0, 0));
    if (!gdi::BitBlt(destination, DestX1, DestY1, W, H, surfaceDC(drawn.Get()), 0, 0, SRCCOPY))
        RaiseVBDLLError(source, L"DrawTo failed!");
}

void transparentCaptureFrom(GDIDCEx& hub, HDC source, long SrcX1, long SrcY1, long W, long H, long DestX, long DestY,
                            DCRasterOperations RasterOpCode, long TransparentColor) {
    com::require(RasterOpCode == dcBitSrcCopy);
    if (!visiblePart(source, hub.hDC(), SrcX1, SrcY1, DestX, DestY, W, H, L"GDIDCEx.CaptureFrom()",
                     L"CaptureFrom failed!"))
        return;
    const ComPtr<_GDIDC> captured = workingCopy(hub, W, H);
    if (!gdi::BitBlt(surfaceDC(captured.Get()), 0, 0, W, H, source, SrcX1, SrcY1, SRCCOPY))
        RaiseVBDLLError(L"GDIDCEx.CaptureFrom()", L"CaptureFrom failed!");
    // Every pixel of the transparent colour takes this surface's pixel from
    // (DestX, DestY) on.
    com::passThrough(effectsOf(captured.Get())
                         ->ReplaceColorEx(static_cast<OLE_COLOR>(TransparentColor), hub.surface(), 0, 0, W, H, DestX,
                                          DestY));
    if (!gdi::BitBlt(hub.hDC(), DestX, DestY, W, H, surfaceDC(captured.Get()), 0, 0,
                     static_cast<DWORD>(RasterOpCode)))
        RaiseVBDLLError(L"GDIDCEx.CaptureFrom()", L"CaptureFrom failed!");
}

}  // namespace kolorit
