#include "DCEffectDrawing.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/GDIDCEx.h"
#include "frame/Vellum.h"

#include <algorithm>
#include <array>

namespace kolorit {

using com::ComPtr;

namespace {

constexpr DISPID dispidInitDraw = 1;
constexpr DISPID dispidProgressDraw = 2;
constexpr DISPID dispidEndDraw = 3;

}  // namespace

void DCEffectDrawing::AttachHDC(HDC hDC, std::weak_ptr<GDIDCEx> hub) {
    hDC_ = hDC;
    hub_ = std::move(hub);
}

IUnknown* DCEffectDrawing::queryOther(REFIID iid) {
    if (IsEqualIID(iid, IID_IConnectionPointContainer)) return &events_;
    return nullptr;
}

ComPtr<GDIDCEx> DCEffectDrawing::ObjectFromPointer() const {
    return ComPtr<GDIDCEx>(hub_.lock().get());
}

void DCEffectDrawing::InvalidBoundaries(const wchar_t* source) {
    throw com::AutomationError(12346, source, L"Invalid boundaries!");
}

double DCEffectDrawing::Number(const VARIANT& value, double omitted) {
    if (V_VT(&value) == VT_ERROR && V_ERROR(&value) == DISP_E_PARAMNOTFOUND) return omitted;
    VARIANT number{};
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_R8)))
        com::raise(com::RuntimeError::TypeMismatch);
    return V_R8(&number);
}

DCEffectDrawing::ImageArea DCEffectDrawing::imageArea(long X1, long Y1, long X2, long Y2, const wchar_t* source) const {
    if (X1 < 0 || Y1 < 0 || X2 < 0 || Y2 < 0) InvalidBoundaries(source);
    const BITMAP image = SelectedBitmap(hDC_);
    if (X2 == 0) X2 = image.bmWidth;
    if (Y2 == 0) Y2 = image.bmHeight;
    const ImageArea area{X1, Y1, X2, Y2, X2 - X1, Y2 - Y1, image};
    if (area.W < 1 || area.H < 1) InvalidBoundaries(source);
    return area;
}

void DCEffectDrawing::InitDraw() { events_.fire(dispidInitDraw); }

bool DCEffectDrawing::ProgressDraw(double NewValue) {
    std::array<VARIANT, 1> arguments{};
    V_VT(&arguments[0]) = VT_R4;
    V_R4(&arguments[0]) = static_cast<float>(NewValue);
    return events_.fire(dispidProgressDraw, arguments);
}

void DCEffectDrawing::EndDraw() { events_.fire(dispidEndDraw); }

STDMETHODIMP DCEffectDrawing::get_StretchMode(DCStrechMode* Value) {
    return com::guarded(Value, [&] {
        const int mode = gdi::GetStretchBltMode(hDC_);
        if (mode == 0) RaiseVBDLLError(L"DCEffectDrawing.StretchMode [get]", L"GetStretchMode failed!");
        return mode;
    });
}

STDMETHODIMP DCEffectDrawing::put_StretchMode(DCStrechMode Value) {
    return com::guarded([&] {
        if (gdi::SetStretchBltMode(hDC_, static_cast<int>(Value)) == 0)
            RaiseVBDLLError(L"DCEffectDrawing.StretchMode [let]", L"SetStretchMode failed!");
    });
}

// The second corner parameters are sizes, as the platform takes them.
STDMETHODIMP DCEffectDrawing::StretchTo(OLE_HANDLE hDestDC, long DestX1, long DestY1, long DestX2, long DestY2,
                                        long SrcX1, long SrcY1, long SrcX2, long SrcY2,
                                        DCRasterOperations RasterOpCode) {
    return com::guarded([&] {
        if (!gdi::StretchBlt(handleFrom<HDC>(hDestDC), DestX1, DestY1, DestX2, DestY2, hDC_, SrcX1,
                             SrcY1, SrcX2, SrcY2, static_cast<DWORD>(RasterOpCode)))
            RaiseVBDLLError(L"DCEffectDrawing.StretchTo()", L"StretchBlt failed!");
    });
}

// The tiles lie on a grid anchored at the origin of this image, so that areas
// tiled one after the other fit together. Only tiles that can land on the
// image are drawn: the work is bounded by the image, not by the rectangle.
STDMETHODIMP DCEffectDrawing::TileArea(long X1, long Y1, long X2, long Y2, OLE_HANDLE hSrcDC, long SrcWidth,
                                       long SrcHeight, DCRasterOperations RasterOpCode) {
    return com::guarded([&] {
        const HDC source = handleFrom<HDC>(hSrcDC);
        com::require(IsDeviceContext(source));
        // A negative tile would never advance toward the far edge.
        com::require(SrcWidth >= 0 && SrcHeight >= 0);
        long W = SrcWidth;
        long H = SrcHeight;
        if (W == 0 || H == 0) {
            const BITMAP bitmap = SelectedBitmap(source);
            if (W == 0) W = bitmap.bmWidth;
            if (H == 0) H = bitmap.bmHeight;
        }
        if (W == 0 || H == 0) com::raise(com::RuntimeError::DivisionByZero);
        if (Y1 >= Y2 || X1 >= X2) return;
        RECT visible{};
        if (gdi::GetClipBox(hDC_, &visible) == ERROR) com::raise(com::RuntimeError::InvalidArgument);

        // 64-bit positions: a tile past the far edge is cut, never wrapped around.
        const long long left = std::max<long long>(X1, visible.left), right = std::min<long long>(X2, visible.right);
        const long long top = std::max<long long>(Y1, visible.top), bottom = std::min<long long>(Y2, visible.bottom);
        const auto gridOffset = [](long long position, long size) {
            const long long offset = position % size;
            return offset < 0 ? offset + size : offset;
        };
        for (long long y = top; y < bottom;) {
            const long long sourceRow = gridOffset(y, H);
            const long long rowHeight = std::min(H - sourceRow, bottom - y);
            for (long long x = left; x < right;) {
                const long long sourceColumn = gridOffset(x, W);
                const long long columnWidth = std::min(W - sourceColumn, right - x);
                if (!gdi::BitBlt(hDC_, static_cast<int>(x), static_cast<int>(y), static_cast<int>(columnWidth),
                                 static_cast<int>(rowHeight), source, static_cast<int>(sourceColumn),
                                 static_cast<int>(sourceRow), static_cast<DWORD>(RasterOpCode)))
                    com::raise(com::RuntimeError::InvalidArgument);
                x += columnWidth;
            }
            y += rowHeight;
        }
    });
}

STDMETHODIMP DCEffectDrawing::InvertArea(long X1, long Y1, long X2, long Y2) {
    return com::guarded([&] {
        const wchar_t* const source = L"DCEffectDrawing.InvertArea()";
        if (X1 < 0 || Y1 < 0 || (X2 != 0 && X2 < X1) || (Y2 != 0 && Y2 < Y1))
            InvalidBoundaries(source);
        const BITMAP bitmap = SelectedBitmap(hDC_);
        const RECT area{X1, Y1, X2 == 0 ? bitmap.bmWidth : X2, Y2 == 0 ? bitmap.bmHeight : Y2};
        if (!gdi::InvertRect(hDC_, &area)) RaiseVBDLLError(source, L"InvertRect failed to invert!");
    });
}

// Fills with the brush selected into the device context.
STDMETHODIMP DCEffectDrawing::FloodFill(long X, long Y, long Color, DCFloodFillStyle FillType) {
    return com::guarded([&] {
        const COLORREF colour = Color == -1 ? gdi::GetPixel(hDC_, X, Y) : TranslateColor(static_cast<OLE_COLOR>(Color));
        if (!gdi::ExtFloodFill(hDC_, X, Y, colour, static_cast<UINT>(FillType)))
            RaiseVBDLLError(L"DCEffectDrawing.FloodFill()", L"ExtFloodFill failed!");
    });
}

STDMETHODIMP DCEffectDrawing::InvertEx(_GDIRegion* Shape) {
    return com::guarded([&] {
        if (!gdi::InvertRgn(hDC_, RegionHandle(Shape)))
            RaiseVBDLLError(L"DCEffectDrawing.InvertEx()", L"InvertEx failed!");
    });
}

}  // namespace kolorit
