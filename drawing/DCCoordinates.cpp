#include "DCCoordinates.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace kolorit {

namespace {

// One point through a conversion of the platform; the caller's variables
// change only when it succeeds.
template <class Convert>
void convert(long* X, long* Y, Convert&& platformConversion) {
    com::require(X && Y);
    POINT point{*X, *Y};
    com::require(platformConversion(&point));
    *X = point.x;
    *Y = point.y;
}

// The extents before a scaling go to whichever outputs the caller gave.
void previousExtents(const SIZE& before, long* PrevExtentsX, long* PrevExtentsY) {
    if (PrevExtentsX) *PrevExtentsX = before.cx;
    if (PrevExtentsY) *PrevExtentsY = before.cy;
}

}  // namespace

STDMETHODIMP DCCoordinates::get_MapMode(DCMapModes* Value) {
    return com::guarded(Value, [&] {
        const int mode = gdi::GetMapMode(hDC_);
        com::require(mode != 0);
        return mode;
    });
}

STDMETHODIMP DCCoordinates::put_MapMode(DCMapModes Value) {
    return com::guarded([&] { com::require(gdi::SetMapMode(hDC_, Value) != 0); });
}

STDMETHODIMP DCCoordinates::ConvLPtoDP(long* X, long* Y) {
    return com::guarded([&] { convert(X, Y, [&](POINT* point) { return gdi::LPtoDP(hDC_, point, 1); }); });
}

STDMETHODIMP DCCoordinates::ConvDPtoLP(long* X, long* Y) {
    return com::guarded([&] { convert(X, Y, [&](POINT* point) { return gdi::DPtoLP(hDC_, point, 1); }); });
}

// --- Origins and extents: a write keeps the other half of its pair, read
// through this object's own property first. --------------------------------

STDMETHODIMP DCCoordinates::get_ViewPortOrgX(long* Value) {
    return com::guarded(Value, [&] {
        POINT origin{};
        com::require(gdi::GetViewportOrgEx(hDC_, &origin));
        return origin.x;
    });
}

STDMETHODIMP DCCoordinates::get_ViewPortOrgY(long* Value) {
    return com::guarded(Value, [&] {
        POINT origin{};
        com::require(gdi::GetViewportOrgEx(hDC_, &origin));
        return origin.y;
    });
}

STDMETHODIMP DCCoordinates::put_ViewPortOrgX(long Value) {
    return com::guarded([&] {
        long y = 0;
        com::passThrough(get_ViewPortOrgY(&y));
        com::require(gdi::SetViewportOrgEx(hDC_, Value, y, nullptr));
    });
}

STDMETHODIMP DCCoordinates::put_ViewPortOrgY(long Value) {
    return com::guarded([&] {
        long x = 0;
        com::passThrough(get_ViewPortOrgX(&x));
        com::require(gdi::SetViewportOrgEx(hDC_, x, Value, nullptr));
    });
}

STDMETHODIMP DCCoordinates::get_ViewPortExtX(long* Value) {
    return com::guarded(Value, [&] {
        SIZE extent{};
        com::require(gdi::GetViewportExtEx(hDC_, &extent));
        return extent.cx;
    });
}

STDMETHODIMP DCCoordinates::get_ViewPortExtY(long* Value) {
    return com::guarded(Value, [&] {
        SIZE extent{};
        com::require(gdi::GetViewportExtEx(hDC_, &extent));
        return extent.cy;
    });
}

STDMETHODIMP DCCoordinates::put_ViewPortExtX(long Value) {
    return com::guarded([&] {
        long y = 0;
        com::passThrough(get_ViewPortExtY(&y));
        com::require(gdi::SetViewportExtEx(hDC_, Value, y, nullptr));
    });
}

STDMETHODIMP DCCoordinates::put_ViewPortExtY(long Value) {
    return com::guarded([&] {
        long x = 0;
        com::passThrough(get_ViewPortExtX(&x));
        com::require(gdi::SetViewportExtEx(hDC_, x, Value, nullptr));
    });
}

STDMETHODIMP DCCoordinates::get_WindowOrgX(long* Value) {
    return com::guarded(Value, [&] {
        POINT origin{};
        com::require(gdi::GetWindowOrgEx(hDC_, &origin));
        return origin.x;
    });
}

STDMETHODIMP DCCoordinates::get_WindowOrgY(long* Value) {
    return com::guarded(Value, [&] {
        POINT origin{};
        com::require(gdi::GetWindowOrgEx(hDC_, &origin));
        return origin.y;
    });
}

STDMETHODIMP DCCoordinates::put_WindowOrgX(long Value) {
    return com::guarded([&] {
        long y = 0;
        com::passThrough(get_WindowOrgY(&y));
        com::require(gdi::SetWindowOrgEx(hDC_, Value, y, nullptr));
    });
}

STDMETHODIMP DCCoordinates::put_WindowOrgY(long Value) {
    return com::guarded([&] {
        long x = 0;
        com::passThrough(get_WindowOrgX(&x));
        com::require(gdi::SetWindowOrgEx(hDC_, x, Value, nullptr));
    });
}

STDMETHODIMP DCCoordinates::get_WindowExtX(long* Value) {
    return com::guarded(Value, [&] {
        SIZE extent{};
        com::require(gdi::GetWindowExtEx(hDC_, &extent));
        return extent.cx;
    });
}

STDMETHODIMP DCCoordinates::get_WindowExtY(long* Value) {
    return com::guarded(Value, [&] {
        SIZE extent{};
        com::require(gdi::GetWindowExtEx(hDC_, &extent));
        return extent.cy;
    });
}

STDMETHODIMP DCCoordinates::put_WindowExtX(long Value) {
    return com::guarded([&] {
        long y = 0;
        com::passThrough(get_WindowExtY(&y));
        com::require(gdi::SetWindowExtEx(hDC_, Value, y, nullptr));
    });
}

STDMETHODIMP DCCoordinates::put_WindowExtY(long Value) {
    return com::guarded([&] {
        long x = 0;
        com::passThrough(get_WindowExtX(&x));
        com::require(gdi::SetWindowExtEx(hDC_, x, Value, nullptr));
    });
}

// --- Scaling ----------------------------------------------------------------

STDMETHODIMP DCCoordinates::ScaleViewportExt(long HorMultiplicand, long HorDivisor, long VertMultiplicand,
                                             long VertDivisor, long* PrevExtentsX, long* PrevExtentsY) {
    return com::guarded([&] {
        SIZE before{};
        com::require(
            gdi::ScaleViewportExtEx(hDC_, HorMultiplicand, HorDivisor, VertMultiplicand, VertDivisor, &before));
        previousExtents(before, PrevExtentsX, PrevExtentsY);
    });
}

STDMETHODIMP DCCoordinates::ScaleWindowExt(long HorMultiplicand, long HorDivisor, long VertMultiplicand,
                                           long VertDivisor, long* PrevExtentsX, long* PrevExtentsY) {
    return com::guarded([&] {
        SIZE before{};
        com::require(gdi::ScaleWindowExtEx(hDC_, HorMultiplicand, HorDivisor, VertMultiplicand, VertDivisor, &before));
        previousExtents(before, PrevExtentsX, PrevExtentsY);
    });
}

}  // namespace kolorit
