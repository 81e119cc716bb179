#pragma once
// The platform calls members make. Each wrapper is named after its call,
// forwards the arguments unchanged and saves the thread's last error right
// after the call, so no member can forget to (the error routine reads it).
// Members write gdi::BitBlt(...) where they would write ::BitBlt(...).
//
// The last error is cleared before the call: several calls fail without
// setting one, and a code left over from unrelated earlier work would be
// reported as the cause.

#include "com/DLLErrors.h"
#include "declarations/Handles.h"

#include <windows.h>

namespace kolorit {

// The library's members raise through the error routine both components share.
using com::DllErrorBase;
using com::GetDLLErrorText;
using com::GetLastDLLError;
using com::RaiseVBDLLError;
using com::SaveLastDLLError;
using com::UseLastDllError;

}  // namespace kolorit

namespace kolorit::gdi {

#define KOLORIT_RECORDED_CALL(name)                     \
    template <class... Args>                            \
    inline auto name(Args... args) {                    \
        ::SetLastError(0);                              \
        const auto result = ::name(args...);            \
        SaveLastDLLError();                             \
        return result;                                  \
    }

// Block transfers and bitmaps
KOLORIT_RECORDED_CALL(BitBlt)
KOLORIT_RECORDED_CALL(StretchBlt)
KOLORIT_RECORDED_CALL(PatBlt)
KOLORIT_RECORDED_CALL(GetObjectA)
KOLORIT_RECORDED_CALL(GetCurrentObject)
KOLORIT_RECORDED_CALL(SelectObject)
KOLORIT_RECORDED_CALL(GetDeviceCaps)

// Objects
KOLORIT_RECORDED_CALL(CreateCompatibleDC)
KOLORIT_RECORDED_CALL(CreateBitmap)
KOLORIT_RECORDED_CALL(CreateDIBSection)
KOLORIT_RECORDED_CALL(CreatePen)
KOLORIT_RECORDED_CALL(CreateBrushIndirect)
KOLORIT_RECORDED_CALL(CreateFontW)
KOLORIT_RECORDED_CALL(GetStockObject)

// Regions
KOLORIT_RECORDED_CALL(CreateRectRgn)
KOLORIT_RECORDED_CALL(CreateEllipticRgn)
KOLORIT_RECORDED_CALL(CreateRoundRectRgn)
KOLORIT_RECORDED_CALL(CombineRgn)

// Batch control
KOLORIT_RECORDED_CALL(GdiGetBatchLimit)
KOLORIT_RECORDED_CALL(GdiSetBatchLimit)
KOLORIT_RECORDED_CALL(GdiFlush)
KOLORIT_RECORDED_CALL(SetBitmapBits)

// Shapes, pixels, clipping, coordinates and paths (drawing/)
KOLORIT_RECORDED_CALL(GetArcDirection)
KOLORIT_RECORDED_CALL(SetArcDirection)
KOLORIT_RECORDED_CALL(GetBkMode)
KOLORIT_RECORDED_CALL(SetBkMode)
KOLORIT_RECORDED_CALL(GetBkColor)
KOLORIT_RECORDED_CALL(SetBkColor)
KOLORIT_RECORDED_CALL(GetROP2)
KOLORIT_RECORDED_CALL(SetROP2)
KOLORIT_RECORDED_CALL(GetPixel)
KOLORIT_RECORDED_CALL(SetPixel)
KOLORIT_RECORDED_CALL(SetPixelV)
KOLORIT_RECORDED_CALL(GetPolyFillMode)
KOLORIT_RECORDED_CALL(SetPolyFillMode)
KOLORIT_RECORDED_CALL(Ellipse)
KOLORIT_RECORDED_CALL(Arc)
KOLORIT_RECORDED_CALL(Chord)
KOLORIT_RECORDED_CALL(Pie)
KOLORIT_RECORDED_CALL(MoveToEx)
KOLORIT_RECORDED_CALL(LineTo)
KOLORIT_RECORDED_CALL(Polygon)
KOLORIT_RECORDED_CALL(PolylineTo)
KOLORIT_RECORDED_CALL(PolyBezierTo)
KOLORIT_RECORDED_CALL(Rectangle)
KOLORIT_RECORDED_CALL(RoundRect)
KOLORIT_RECORDED_CALL(FrameRect)
KOLORIT_RECORDED_CALL(FillRect)
KOLORIT_RECORDED_CALL(FillRgn)
KOLORIT_RECORDED_CALL(FrameRgn)
KOLORIT_RECORDED_CALL(DrawIcon)
KOLORIT_RECORDED_CALL(DrawIconEx)
KOLORIT_RECORDED_CALL(SelectClipRgn)
KOLORIT_RECORDED_CALL(ExtSelectClipRgn)
KOLORIT_RECORDED_CALL(GetClipRgn)
KOLORIT_RECORDED_CALL(IntersectClipRect)
KOLORIT_RECORDED_CALL(ExcludeClipRect)
KOLORIT_RECORDED_CALL(GetClipBox)
KOLORIT_RECORDED_CALL(PtVisible)
KOLORIT_RECORDED_CALL(GetCurrentPositionEx)
KOLORIT_RECORDED_CALL(GetMapMode)
KOLORIT_RECORDED_CALL(SetMapMode)
KOLORIT_RECORDED_CALL(LPtoDP)
KOLORIT_RECORDED_CALL(DPtoLP)
KOLORIT_RECORDED_CALL(GetViewportOrgEx)
KOLORIT_RECORDED_CALL(SetViewportOrgEx)
KOLORIT_RECORDED_CALL(GetViewportExtEx)
KOLORIT_RECORDED_CALL(SetViewportExtEx)
KOLORIT_RECORDED_CALL(GetWindowOrgEx)
KOLORIT_RECORDED_CALL(SetWindowOrgEx)
KOLORIT_RECORDED_CALL(GetWindowExtEx)
KOLORIT_RECORDED_CALL(SetWindowExtEx)
KOLORIT_RECORDED_CALL(ScaleViewportExtEx)
KOLORIT_RECORDED_CALL(ScaleWindowExtEx)
KOLORIT_RECORDED_CALL(AbortPath)
KOLORIT_RECORDED_CALL(BeginPath)
KOLORIT_RECORDED_CALL(CloseFigure)
KOLORIT_RECORDED_CALL(EndPath)
KOLORIT_RECORDED_CALL(WidenPath)
KOLORIT_RECORDED_CALL(FlattenPath)
KOLORIT_RECORDED_CALL(StrokePath)
KOLORIT_RECORDED_CALL(FillPath)
KOLORIT_RECORDED_CALL(StrokeAndFillPath)
KOLORIT_RECORDED_CALL(GetMiterLimit)
KOLORIT_RECORDED_CALL(SetMiterLimit)
KOLORIT_RECORDED_CALL(GetPath)
KOLORIT_RECORDED_CALL(PathToRegion)

// Effects (effects/)
KOLORIT_RECORDED_CALL(GetStretchBltMode)
KOLORIT_RECORDED_CALL(SetStretchBltMode)
KOLORIT_RECORDED_CALL(GetObjectType)
KOLORIT_RECORDED_CALL(InvertRect)
KOLORIT_RECORDED_CALL(InvertRgn)
KOLORIT_RECORDED_CALL(ExtFloodFill)
KOLORIT_RECORDED_CALL(SetTextColor)
KOLORIT_RECORDED_CALL(GetLayout)
KOLORIT_RECORDED_CALL(GetWorldTransform)
KOLORIT_RECORDED_CALL(GetBoundsRect)
KOLORIT_RECORDED_CALL(SetICMMode)

// Text and interface drawing (text/)
KOLORIT_RECORDED_CALL(GetTextAlign)
KOLORIT_RECORDED_CALL(SetTextAlign)
KOLORIT_RECORDED_CALL(GetTextColor)
KOLORIT_RECORDED_CALL(GetTextCharacterExtra)
KOLORIT_RECORDED_CALL(SetTextCharacterExtra)
KOLORIT_RECORDED_CALL(SetMapperFlags)
KOLORIT_RECORDED_CALL(GetTextExtentPoint32A)
KOLORIT_RECORDED_CALL(GetTabbedTextExtentA)
KOLORIT_RECORDED_CALL(GetTextFaceA)
KOLORIT_RECORDED_CALL(GetRasterizerCaps)
KOLORIT_RECORDED_CALL(GetFontLanguageInfo)
KOLORIT_RECORDED_CALL(TextOutA)
KOLORIT_RECORDED_CALL(TabbedTextOutA)
KOLORIT_RECORDED_CALL(ExtTextOutA)
KOLORIT_RECORDED_CALL(GrayStringA)
KOLORIT_RECORDED_CALL(DrawTextExA)
KOLORIT_RECORDED_CALL(DrawEdge)
KOLORIT_RECORDED_CALL(DrawFrameControl)
KOLORIT_RECORDED_CALL(DrawFocusRect)
KOLORIT_RECORDED_CALL(PaintDesktop)
KOLORIT_RECORDED_CALL(DrawStateA)

// Window device contexts (frame/DCWindows)
KOLORIT_RECORDED_CALL(IsWindow)
KOLORIT_RECORDED_CALL(GetWindowDC)
KOLORIT_RECORDED_CALL(GetDC)
KOLORIT_RECORDED_CALL(BeginPaint)
KOLORIT_RECORDED_CALL(EndPaint)
KOLORIT_RECORDED_CALL(ReleaseDC)
KOLORIT_RECORDED_CALL(SetWindowRgn)
KOLORIT_RECORDED_CALL(GetWindowRgn)
KOLORIT_RECORDED_CALL(LockWindowUpdate)

#undef KOLORIT_RECORDED_CALL

}  // namespace kolorit::gdi

namespace kolorit {

// The bitmap description of a bitmap handle.
BITMAP GetStructBitap(HBITMAP hBitmap);
// Whether a handle names a device context (of any kind) rather than another
// object or nothing.
bool IsDeviceContext(HDC hDC);
// The description of the bitmap selected into a device context, which is
// what most callers want.
BITMAP SelectedBitmap(HDC hDC);
// A solid brush as Vellum makes one, for the library's own fills that no
// caller sees; `source` names the member for its error.
GdiObject<HBRUSH> SolidBrush(COLORREF colour, const wchar_t* source);

}  // namespace kolorit
