#include "GDIDCEx.h"

#include "TransparentTransfer.h"
#include "Vellum.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace kolorit {

using com::ComPtr;

namespace {

bool noTransparentColor(long color) { return color == -1; }

// A size from two corners, wrapping around like the platform's own 32-bit
// sums rather than overflowing.
long difference(long to, long from) {
    return static_cast<long>(static_cast<unsigned long>(to) - static_cast<unsigned long>(from));
}

}  // namespace

ComPtr<GDIDCEx> GDIDCEx::attach(IUnknown* surface) {
    com::require(surface != nullptr);
    ComPtr<_GDIDC> typed;
    com::require(SUCCEEDED(surface->QueryInterface(IID_PPV_ARGS(&typed))));
    ComPtr<GDIDCEx> hub = create();
    hub->Attach(std::move(typed));
    return hub;
}

void GDIDCEx::Attach(ComPtr<_GDIDC> surface) {
    com::require(!dc_);
    com::require(surface != nullptr);
    dc_ = std::move(surface);
    hDC_ = surfaceDC(dc_.Get());
    com::require(hDC_ != nullptr);
}

STDMETHODIMP GDIDCEx::get_DC(_GDIDC** Value) {
    return com::guarded(Value, [&] { return dc_; });
}

STDMETHODIMP GDIDCEx::get_Effects(_DCEffectDrawing** Value) {
    return com::guarded(Value, [&] {
        com::require(hDC_ != nullptr);
        if (!effects_) {
            effects_ = DCEffectDrawing::create();
            effects_->AttachHDC(hDC_, identity_);
        }
        return effects_;
    });
}

STDMETHODIMP GDIDCEx::DrawTo(OLE_HANDLE hDestDC, long DestX1, long DestY1, long DestX2, long DestY2, long SrcX,
                             long SrcY, DCRasterOperations RasterOpCode, long TransparentColor) {
    return com::guarded([&] {
        com::require(hDC_ != nullptr);
        if (DestX2 == 0 || DestY2 == 0) {
            const SIZE size = surfaceSize(dc_.Get());
            if (DestX2 == 0) DestX2 = size.cx + DestX1;
            if (DestY2 == 0) DestY2 = size.cy + DestY1;
        }
        const long W = difference(DestX2, DestX1);
        const long H = difference(DestY2, DestY1);
        const HDC destination = handleFrom<HDC>(hDestDC);
        if (!noTransparentColor(TransparentColor)) {
            transparentDrawTo(*this, destination, DestX1, DestY1, W, H, SrcX, SrcY, RasterOpCode, TransparentColor);
            return;
        }
        if (!gdi::BitBlt(destination, DestX1, DestY1, W, H, hDC_, SrcX, SrcY, static_cast<DWORD>(RasterOpCode)))
            RaiseVBDLLError(L"GDIDCEx.DrawTo()", L"DrawTo failed!");
    });
}

STDMETHODIMP GDIDCEx::CaptureFrom(OLE_HANDLE hSrcDC, long SrcX1, long SrcY1, long SrcX2, long SrcY2, long DestX,
                                  long DestY, DCRasterOperations RasterOpCode, long TransparentColor) {
    return com::guarded([&] {
        com::require(SrcX1 < SrcX2 && SrcY1 < SrcY2 && hSrcDC != 0);
        const long W = difference(SrcX2, SrcX1);
        const long H = difference(SrcY2, SrcY1);
        const HDC source = handleFrom<HDC>(hSrcDC);
        if (!noTransparentColor(TransparentColor)) {
            transparentCaptureFrom(*this, source, SrcX1, SrcY1, W, H, DestX, DestY, RasterOpCode, TransparentColor);
            return;
        }
        if (!gdi::BitBlt(hDC_, DestX, DestY, W, H, source, SrcX1, SrcY1, static_cast<DWORD>(RasterOpCode)))
            RaiseVBDLLError(L"GDIDCEx.CaptureFrom()", L"CaptureFrom failed!");
    });
}

}  // namespace kolorit
