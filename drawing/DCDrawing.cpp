#include "DCDrawing.h"

#include "Coords.h"
#include "Extent.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

#include <climits>

namespace kolorit {

namespace {

bool isTrue(VARIANT_BOOL value) { return value != VARIANT_FALSE; }

}  // namespace

void DCDrawing::requireDC() const { com::require(hDC_ != nullptr); }

void DCDrawing::movePenTo(long X, long Y) const { com::require(gdi::MoveToEx(hDC_, X, Y, nullptr)); }

HBRUSH DCDrawing::chosenBrush(_GDIBrush* CustomBrush) const {
    if (!CustomBrush) return static_cast<HBRUSH>(gdi::GetCurrentObject(hDC_, OBJ_BRUSH));
    const HBRUSH brush = BrushHandle(CustomBrush);
    com::require(brush != nullptr);
    return brush;
}

// --- Attributes --------------------------------------------------------------

STDMETHODIMP DCDrawing::get_ArcDirection(DCArcDirection* Value) {
    return com::guarded(Value, [&] {
        requireDC();
        return gdi::GetArcDirection(hDC_);
    });
}

STDMETHODIMP DCDrawing::put_ArcDirection(DCArcDirection Value) {
    return com::guarded([&] {
        requireDC();
        gdi::SetArcDirection(hDC_, Value);
    });
}

STDMETHODIMP DCDrawing::get_FillStyle(DCBackgroundMode* Value) {
    return com::guarded(Value, [&] {
        requireDC();
        return gdi::GetBkMode(hDC_);
    });
}

STDMETHODIMP DCDrawing::put_FillStyle(DCBackgroundMode Value) {
    return com::guarded([&] {
        requireDC();
        if (!gdi::SetBkMode(hDC_, Value)) RaiseVBDLLError(L"DCDrawing.FillStyle [let]", L"FillStyle failed!");
    });
}

STDMETHODIMP DCDrawing::get_BackColor(OLE_COLOR* Value) {
    return com::guarded(Value, [&] {
        requireDC();
        return static_cast<OLE_COLOR>(gdi::GetBkColor(hDC_));
    });
}

STDMETHODIMP DCDrawing::put_BackColor(OLE_COLOR Value) {
    return com::guarded([&] {
        requireDC();
        const COLORREF color = TranslateColor(Value);
        if (gdi::SetBkColor(hDC_, color) == CLR_INVALID)
            RaiseVBDLLError(L"DCDrawing.BackColor [let]", L"BackColor failed!");
    });
}

// Without a device context the platform answers 0, which is returned.
STDMETHODIMP DCDrawing::get_DrawMode(DCDrawMode* Value) {
    return com::guarded(Value, [&] { return gdi::GetROP2(hDC_); });
}

STDMETHODIMP DCDrawing::put_DrawMode(DCDrawMode Value) {
    return com::guarded([&] {
        requireDC();
        if (!gdi::SetROP2(hDC_, Value)) RaiseVBDLLError(L"DCDrawing.DrawMode [let]", L"DrawMode failed!");
    });
}

// A pixel outside the bitmap or the clipping region has no colour.
STDMETHODIMP DCDrawing::get_PixelColor(long X, long Y, VARIANT_BOOL, OLE_COLOR* Value) {
    return com::guarded(Value, [&] {
        requireDC();
        const COLORREF color = gdi::GetPixel(hDC_, X, Y);
        if (color == CLR_INVALID) com::raise(com::RuntimeError::SubscriptOutOfRange);
        return static_cast<OLE_COLOR>(color);
    });
}

STDMETHODIMP DCDrawing::put_PixelColor(long X, long Y, VARIANT_BOOL ClosestColor, OLE_COLOR Value) {
    return com::guarded([&] {
        requireDC();
        const COLORREF color = TranslateColor(Value);
        const bool set = isTrue(ClosestColor) ? gdi::SetPixelV(hDC_, X, Y, color) != FALSE
                                              : gdi::SetPixel(hDC_, X, Y, color) != CLR_INVALID;
        if (!set) com::raise(com::RuntimeError::SubscriptOutOfRange);
    });
}

STDMETHODIMP DCDrawing::get_PolyFillMode(DCPolyFillMode* Value) {
    return com::guarded(Value, [&] {
        requireDC();
        const int mode = gdi::GetPolyFillMode(hDC_);
        if (!mode) RaiseVBDLLError(L"DCDrawing.PolyFillMode [get]", L"PolyFillMode failed!");
        return mode;
    });
}

STDMETHODIMP DCDrawing::put_PolyFillMode(DCPolyFillMode Value) {
    return com::guarded([&] {
        requireDC();
        if (!gdi::SetPolyFillMode(hDC_, Value))
            RaiseVBDLLError(L"DCDrawing.PolyFillMode [let]", L"PolyFillMode failed!");
    });
}

// --- Shapes --------------------------------------------------------------------

// Only a filled request without radials is a whole ellipse; anything else
// is an arc (with coinciding radials, the full outline).
STDMETHODIMP DCDrawing::DrawEllipse(long X1, long Y1, long X2, long Y2, long RadialStartArcX, long RadialStartArcY,
                                    long RadialEndArcX, long RadialEndArcY, VARIANT_BOOL Fill) {
    return com::guarded([&] {
        requireDC();
        const bool noRadials = RadialStartArcX == 0 && RadialStartArcY == 0 && RadialEndArcX == 0 && RadialEndArcY == 0;
        if (isTrue(Fill) && noRadials) {
            if (!gdi::Ellipse(hDC_, X1, Y1, X2, Y2))
                RaiseVBDLLError(L"DCDrawing.DrawEllipse()", L"DrawEllipse failed!");
        } else if (!gdi::Arc(hDC_, X1, Y1, X2, Y2, RadialStartArcX, RadialStartArcY, RadialEndArcX, RadialEndArcY)) {
            RaiseVBDLLError(L"DCDrawing.DrawEllipse()", L"DrawEllipse (arc) failed!");
        }
        movePenTo(X2, Y2);
    });
}

STDMETHODIMP DCDrawing::DrawLine(long X1, long Y1, long X2, long Y2) {
    return com::guarded([&] {
        requireDC();
        com::require(gdi::MoveToEx(hDC_, X1, Y1, nullptr));
        com::require(gdi::LineTo(hDC_, X2, Y2));
    });
}

STDMETHODIMP DCDrawing::DrawLineTo(long X2, long Y2) {
    return com::guarded([&] {
        requireDC();
        if (!gdi::LineTo(hDC_, X2, Y2)) RaiseVBDLLError(L"DCDrawing.DrawLineTo()", L"DrawLineTo failed!");
    });
}

STDMETHODIMP DCDrawing::DrawChord(long X1, long Y1, long X2, long Y2, long Radial1EndX, long Radial1EndY,
                                  long Radial2EndX, long Radial2EndY) {
    return com::guarded([&] {
        requireDC();
        if (!gdi::Chord(hDC_, X1, Y1, X2, Y2, Radial1EndX, Radial1EndY, Radial2EndX, Radial2EndY))
            RaiseVBDLLError(L"DCDrawing.DrawChord()", L"DrawChord failed!");
        movePenTo(X2, Y2);
    });
}

STDMETHODIMP DCDrawing::DrawPie(long X1, long Y1, long X2, long Y2, long Radial1EndX, long Radial1EndY,
                                long Radial2EndX, long Radial2EndY) {
    return com::guarded([&] {
        requireDC();
        if (!gdi::Pie(hDC_, X1, Y1, X2, Y2, Radial1EndX, Radial1EndY, Radial2EndX, Radial2EndY))
            RaiseVBDLLError(L"DCDrawing.DrawPie()", L"DrawPie failed!");
        movePenTo(X2, Y2);
    });
}

// Unfilled, the pen first goes to the first point, so that the outline
// starts there; the figure stays open.
STDMETHODIMP DCDrawing::DrawPolygon(VARIANT_BOOL Fill, SAFEARRAY** Coords) {
    return com::guarded([&] {
        requireDC();
        const CoordArray coords(Coords);
        if (isTrue(Fill)) {
            if (!gdi::Polygon(hDC_, coords.points(), coords.count()))
                RaiseVBDLLError(L"DCDrawing.DrawPolygon()", L"DrawPolygon (polygon) failed!");
            movePenTo(coords.last().x, coords.last().y);
        } else {
            movePenTo(coords.first().x, coords.first().y);
            if (!gdi::PolylineTo(hDC_, coords.points(), static_cast<DWORD>(coords.count())))
                RaiseVBDLLError(L"DCDrawing.DrawPolygon()", L"DrawPolygon (polylineto) failed!");
        }
    });
}

// All points go to the platform, the first included: it is the first
// curve's first control point. The platform refuses a count that is not a
// multiple of 3.
STDMETHODIMP DCDrawing::DrawPolyBezier(SAFEARRAY** Coords) {
    return com::guarded([&] {
        requireDC();
        const CoordArray coords(Coords);
        movePenTo(coords.first().x, coords.first().y);
        if (!gdi::PolyBezierTo(hDC_, coords.points(), static_cast<DWORD>(coords.count())))
            RaiseVBDLLError(L"DCDrawing.DrawPolyBezier()", L"DrawPolyBezier failed!");
    });
}

STDMETHODIMP DCDrawing::DrawRect(long X1, long Y1, long X2, long Y2, long RoundWidth, long RoundHeight) {
    return com::guarded([&] {
        requireDC();
        if (RoundWidth != 0 || RoundHeight != 0) {
            if (!gdi::RoundRect(hDC_, X1, Y1, X2, Y2, RoundWidth, RoundHeight))
                RaiseVBDLLError(L"DCDrawing.DrawRect()", L"DrawRoundRect failed!");
        } else if (!gdi::Rectangle(hDC_, X1, Y1, X2, Y2)) {
            RaiseVBDLLError(L"DCDrawing.DrawRect()", L"DrawRect failed!");
        }
        movePenTo(X2, Y2);
    });
}

// Filled, the rectangle is painted with the selected brush through the
// pattern operation; unfilled, that brush (not the pen) frames it.
STDMETHODIMP DCDrawing::DrawRectEx(long X1, long Y1, long X2, long Y2, VARIANT_BOOL Fill,
                                   DCPatternOpCodes PatternOpCode) {
    return com::guarded([&] {
        requireDC();
        if (isTrue(Fill)) {
            if (!gdi::PatBlt(hDC_, X1, Y1, Extent(X1, X2), Extent(Y1, Y2), static_cast<DWORD>(PatternOpCode)))
                RaiseVBDLLError(L"DCDrawing.DrawRectEx()", L"DrawRectEx failed!");
        } else {
            const RECT rectangle{X1, Y1, X2, Y2};
            const auto brush = static_cast<HBRUSH>(gdi::GetCurrentObject(hDC_, OBJ_BRUSH));
            if (!gdi::FrameRect(hDC_, &rectangle, brush))
                RaiseVBDLLError(L"DCDrawing.DrawRectEx()", L"DrawRect failed!");
        }
        movePenTo(X2, Y2);
    });
}

STDMETHODIMP DCDrawing::DrawRectFiled(long X1, long Y1, long X2, long Y2, _GDIBrush* CustomBrush) {
    return com::guarded([&] {
        requireDC();
        const HBRUSH brush = chosenBrush(CustomBrush);
        const RECT rectangle{X1, Y1, X2, Y2};
        if (!gdi::FillRect(hDC_, &rectangle, brush))
            RaiseVBDLLError(L"DCDrawing.DrawRectFilled()", L"DrawRectFilled failed!");
        movePenTo(X2, Y2);
    });
}

// Either frame size asks for a border only. The region is read again right
// before it is drawn: choosing the brush calls into Vellum.
STDMETHODIMP DCDrawing::DrawRegion(_GDIRegion* Shape, _GDIBrush* CustomBrush, long FrameWidth, long FrameHeight) {
    return com::guarded([&] {
        com::require(RegionHandle(Shape) != nullptr);
        const HBRUSH brush = chosenBrush(CustomBrush);
        const bool drawn = FrameWidth == 0 && FrameHeight == 0
                               ? gdi::FillRgn(hDC_, RegionHandle(Shape), brush)
                               : gdi::FrameRgn(hDC_, RegionHandle(Shape), brush, FrameWidth, FrameHeight);
        if (!drawn) RaiseVBDLLError(L"DCDrawing.DrawRegion()", L"DrawRegion Failed!");
    });
}

STDMETHODIMP DCDrawing::CaptureIcon(OLE_HANDLE hIcon, long X, long Y) {
    return com::guarded([&] {
        com::require(gdi::DrawIcon(hDC_, X, Y, handleFrom<HICON>(hIcon)));
    });
}

STDMETHODIMP DCDrawing::CaptureIconEx(OLE_HANDLE hIcon, long X, long Y, long Width, long Height,
                                      long ANICurFrameIndex, _GDIBrush* FlickerBrush, DCCaptureIconFlags Flags) {
    return com::guarded([&] {
        const HBRUSH brush = FlickerBrush ? BrushHandle(FlickerBrush) : nullptr;
        com::require(gdi::DrawIconEx(hDC_, X, Y, handleFrom<HICON>(hIcon), Width, Height,
                                     static_cast<UINT>(ANICurFrameIndex), brush, static_cast<UINT>(Flags)));
    });
}

}  // namespace kolorit
