#include "DCInterfaceDrawing.h"

#include "AnsiText.h"
#include "com/Boundary.h"
#include "drawing/Extent.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

namespace kolorit {

using com::ComPtr;

namespace {

// The kinds of content of the platform's state drawing, in the lowest three
// bits of its flags.
constexpr UINT StateText = DST_TEXT, StatePrefixText = DST_PREFIXTEXT, StateIcon = DST_ICON,
               StateBitmap = DST_BITMAP, StateKinds = 7;

// A brush colours the image or text only together with dcStateBrushColor:
// anything else than a brush, or a brush without that flag, is a bad
// argument, refused before anything is drawn.
HBRUSH stateBrush(_GDIBrush* ColorBrush, DCStateFlags Flags) {
    if (!ColorBrush) return nullptr;
    ComPtr<_GDIBrush> brush;
    com::require(SUCCEEDED(ColorBrush->QueryInterface(IID_PPV_ARGS(&brush))));
    com::require((Flags & dcStateBrushColor) != 0);
    return BrushHandle(brush.Get());
}

}  // namespace

void DCInterfaceDrawing::movePenTo(long X, long Y, const wchar_t* Source) const {
    if (!gdi::MoveToEx(hDC_, X, Y, nullptr)) RaiseVBDLLError(Source, L"MoveToEx failed!");
}

STDMETHODIMP DCInterfaceDrawing::DrawBorder(long X1, long Y1, long X2, long Y2, DCEdgeTypeFlags EdgeType,
                                            DCBorderTypeFlags BorderType) {
    return com::guarded([&] {
        const wchar_t* source = L"DCInterfaceDrawing.DrawBorder()";
        RECT rectangle{X1, Y1, X2, Y2};
        if (!gdi::DrawEdge(hDC_, &rectangle, static_cast<UINT>(EdgeType), static_cast<UINT>(BorderType)))
            RaiseVBDLLError(source, L"DrawEdge failed to draw a border/edge!");
        movePenTo(X2, Y2, source);
    });
}

STDMETHODIMP DCInterfaceDrawing::DrawControlFrame(long X1, long Y1, long X2, long Y2, DCFrameControlType FrameType,
                                                  DCFrameControlFlags FrameState) {
    return com::guarded([&] {
        const wchar_t* source = L"DCInterfaceDrawing.DrawControlFrame()";
        RECT rectangle{X1, Y1, X2, Y2};
        if (!gdi::DrawFrameControl(hDC_, &rectangle, static_cast<UINT>(FrameType), static_cast<UINT>(FrameState)))
            RaiseVBDLLError(source, L"DrawFrameControl failed to draw the window!");
        movePenTo(X2, Y2, source);
    });
}

// Exclusive or: the same call again removes the rectangle. The corners go
// to the platform as given.
STDMETHODIMP DCInterfaceDrawing::DrawRectFocus(long X1, long Y1, long X2, long Y2) {
    return com::guarded([&] {
        const wchar_t* source = L"DCInterfaceDrawing.DrawRectFocus()";
        const RECT rectangle{X1, Y1, X2, Y2};
        if (!gdi::DrawFocusRect(hDC_, &rectangle)) RaiseVBDLLError(source, L"DrawFocusRect failed to draw a focus rect!");
        movePenTo(X2, Y2, source);
    });
}

// Fills the clipping area with the desktop's pattern or wallpaper.
STDMETHODIMP DCInterfaceDrawing::CaptureWallpaper() {
    return com::guarded([&] {
        if (!gdi::PaintDesktop(hDC_))
            RaiseVBDLLError(L"DCInterfaceDrawing.CaptureWallpaper()", L"PaintDesktop failed to draw the desktop!");
    });
}

// The image type replaces whatever the low bits of Flags held. Width and
// height are plain differences: 0, the image's own size, only with both
// corners at the origin.
STDMETHODIMP DCInterfaceDrawing::CaptureImageState(OLE_HANDLE hImage, long X1, long* Y1, long X2, long Y2,
                                                   _GDIBrush* ColorBrush, DCStateFlags Flags,
                                                   VARIANT_BOOL ImageIsIcon) {
    return com::guarded([&] {
        com::require(Y1 != nullptr);
        const HBRUSH brush = stateBrush(ColorBrush, Flags);
        const UINT flags = (ImageIsIcon != VARIANT_FALSE ? StateIcon : StateBitmap) |
                           (static_cast<UINT>(Flags) & ~StateKinds);
        const LPARAM image = reinterpret_cast<LPARAM>(handleFrom<HANDLE>(hImage));
        com::require(gdi::DrawStateA(hDC_, brush, nullptr, image, 0, X1, *Y1, Extent(X1, X2), Extent(*Y1, Y2), flags));
    });
}

// Unlike CaptureImageState, Flags is combined as given.
STDMETHODIMP DCInterfaceDrawing::DrawStatedText(BSTR* Text, long X1, long Y1, long X2, long Y2,
                                                _GDIBrush* ColorBrush, DCStateFlags Flags, VARIANT_BOOL DrawPrefixes) {
    return com::guarded([&] {
        const HBRUSH brush = stateBrush(ColorBrush, Flags);
        const UINT flags = (DrawPrefixes != VARIANT_FALSE ? StatePrefixText : StateText) | static_cast<UINT>(Flags);
        const int width = Extent(X1, X2), height = Extent(Y1, Y2);
        AnsiText text(Text);
        const BOOL drawn = gdi::DrawStateA(hDC_, brush, nullptr, reinterpret_cast<LPARAM>(text.data()),
                                           static_cast<WPARAM>(text.count()), X1, Y1, width, height, flags);
        text.giveBack();
        com::require(drawn || text.empty());
    });
}

}  // namespace kolorit
