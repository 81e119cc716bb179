#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// Shapes, pixels and the drawing attributes of the hub's device context.
// Shapes use the pen and brush selected into the device context; a brush
// handed in is used for that one call. Every shape bounded by a rectangle
// leaves the pen at its second corner, so that DrawLineTo carries on there.
class DCDrawing : public com::Object<DCDrawing, _DCDrawing> {
public:
    static const CLSID& classId() { return CLSID_DCDrawing; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP get_ArcDirection(DCArcDirection* Value) override;
    STDMETHODIMP put_ArcDirection(DCArcDirection Value) override;
    STDMETHODIMP get_FillStyle(DCBackgroundMode* Value) override;
    STDMETHODIMP put_FillStyle(DCBackgroundMode Value) override;
    STDMETHODIMP get_BackColor(OLE_COLOR* Value) override;
    STDMETHODIMP put_BackColor(OLE_COLOR Value) override;
    STDMETHODIMP get_DrawMode(DCDrawMode* Value) override;
    STDMETHODIMP put_DrawMode(DCDrawMode Value) override;
    STDMETHODIMP get_PixelColor(long X, long Y, VARIANT_BOOL ClosestColor, OLE_COLOR* Value) override;
    STDMETHODIMP put_PixelColor(long X, long Y, VARIANT_BOOL ClosestColor, OLE_COLOR Value) override;
    STDMETHODIMP get_PolyFillMode(DCPolyFillMode* Value) override;
    STDMETHODIMP put_PolyFillMode(DCPolyFillMode Value) override;

    STDMETHODIMP DrawEllipse(long X1, long Y1, long X2, long Y2, long RadialStartArcX, long RadialStartArcY,
                             long RadialEndArcX, long RadialEndArcY, VARIANT_BOOL Fill) override;
    STDMETHODIMP DrawLine(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP DrawLineTo(long X2, long Y2) override;
    STDMETHODIMP DrawChord(long X1, long Y1, long X2, long Y2, long Radial1EndX, long Radial1EndY, long Radial2EndX,
                           long Radial2EndY) override;
    STDMETHODIMP DrawPie(long X1, long Y1, long X2, long Y2, long Radial1EndX, long Radial1EndY, long Radial2EndX,
                         long Radial2EndY) override;
    STDMETHODIMP DrawPolygon(VARIANT_BOOL Fill, SAFEARRAY** Coords) override;
    STDMETHODIMP DrawPolyBezier(SAFEARRAY** Coords) override;
    STDMETHODIMP DrawRect(long X1, long Y1, long X2, long Y2, long RoundWidth, long RoundHeight) override;
    STDMETHODIMP DrawRectEx(long X1, long Y1, long X2, long Y2, VARIANT_BOOL Fill,
                            DCPatternOpCodes PatternOpCode) override;
    STDMETHODIMP DrawRectFiled(long X1, long Y1, long X2, long Y2, _GDIBrush* CustomBrush) override;
    STDMETHODIMP DrawRegion(_GDIRegion* Shape, _GDIBrush* CustomBrush, long FrameWidth, long FrameHeight) override;
    STDMETHODIMP CaptureIcon(OLE_HANDLE hIcon, long X, long Y) override;
    STDMETHODIMP CaptureIconEx(OLE_HANDLE hIcon, long X, long Y, long Width, long Height, long ANICurFrameIndex,
                               _GDIBrush* FlickerBrush, DCCaptureIconFlags Flags) override;

private:
    friend com::Object<DCDrawing, _DCDrawing>;
    DCDrawing() = default;

    void requireDC() const;
    // The pen goes to the end of the shape just drawn.
    void movePenTo(long X, long Y) const;
    // The custom brush, or the one selected into the device context.
    HBRUSH chosenBrush(_GDIBrush* CustomBrush) const;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
