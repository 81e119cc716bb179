// A linear gradient drawn as solid strokes of equal width, from the far edge
// (X2 or Y2, in the start colour) toward the near one.

#include "DCEffectDrawing.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

#include <algorithm>
#include <cmath>

namespace kolorit {

using com::ComPtr;

namespace {

const wchar_t* const source = L"DCEffectDrawing.GradientFill()";

BYTE component(COLORREF colour, int shift) { return static_cast<BYTE>((colour >> shift) & 0xFF); }

}  // namespace

STDMETHODIMP DCEffectDrawing::GradientFill(long X1, long Y1, long X2, long Y2, OLE_COLOR StartColor,
                                           OLE_COLOR EndColor, double StepSize, VARIANT_BOOL Horizontal) {
    return com::guarded([&] {
        // Stroke edges become pixel coordinates: a width that is no number
        // would make them meaningless.
        com::require(std::isfinite(StepSize));
        // A sink may drop the caller's last reference while an event runs.
        const ComPtr<_DCEffectDrawing> keepAlive(this);

        const COLORREF start = TranslateColor(StartColor);
        const COLORREF end = TranslateColor(EndColor);
        if (start == end) {
            const GdiObject<HBRUSH> brush = SolidBrush(start, source);
            const RECT area{X1, Y1, X2, Y2};
            if (!gdi::FillRect(hDC_, &area, brush.get()))
                RaiseVBDLLError(source, L"FillRect failed to draw filled rectangle!");
            return;
        }

        InitDraw();
        const bool alongX = Horizontal != VARIANT_FALSE;
        // The strokes move from the far edge toward the near one and stop
        // there: nothing is painted outside the rectangle.
        const double nearEdge = alongX ? X1 : Y1;
        const double farEdge = alongX ? X2 : Y2;
        const double L = farEdge - nearEdge;
        double s = StepSize == 0 ? L / 255 : StepSize;
        if (s < 1) s = 1;

        const int shifts[3] = {0, 8, 16};
        int difference[3];
        for (int i = 0; i < 3; ++i) difference[i] = component(end, shifts[i]) - component(start, shifts[i]);
        // The colour of the stroke that lies `travelled` units behind the far edge.
        const auto colourAt = [&](double travelled) {
            BYTE channel[3];
            for (int i = 0; i < 3; ++i)
                channel[i] = static_cast<BYTE>(rounded(component(start, shifts[i]) + travelled * difference[i] / L));
            return RGB(channel[0], channel[1], channel[2]);
        };
        long brushColour = -1;
        GdiObject<HBRUSH> brush;

        // Strokes that cannot land on the image are not drawn: the work is
        // bounded by the image, not by the rectangle. The run skips ahead to
        // the first stroke that reaches the visible part and ends past the
        // visible part. Stroke k lies between farEdge - k s and
        // farEdge - (k + 1) s, cut at the near edge, in the colour
        // colourAt(s (k - 1)) (the first two in the start colour): its place
        // and colour follow from its number alone, so that a skipped run
        // lands on exactly the edges and colours that stepping would.
        // (A device context that is gone has no visible part: its first
        // stroke fails as any stroke would, and none is tried after it, so
        // that a platform which lets strokes into a dead context succeed
        // cannot make the run as long as the rectangle.)
        RECT visible{};
        const bool clipped = gdi::GetClipBox(hDC_, &visible) != ERROR;
        const double visibleNear = clipped ? (alongX ? visible.left : visible.top) : nearEdge;
        const double visibleFar = clipped ? (alongX ? visible.right : visible.bottom) : farEdge;
        const double lastEdge = std::max(nearEdge, visibleNear);
        const double hidden = std::floor((farEdge - visibleFar) / s) - 1;
        for (double k = hidden > 0 ? hidden : 0;; ++k) {
            const double strokeEnd = farEdge - k * s;
            if (!(strokeEnd > lastEdge)) break;
            const double strokeStart = std::max(farEdge - (k + 1) * s, nearEdge);
            const long from = rounded(strokeStart);
            const long to = rounded(strokeEnd);
            // Only a sliver left by rounding: the rectangle is full.
            if (from == to) break;

            const COLORREF colour = k == 0 ? start : colourAt(s * (k - 1));
            if (static_cast<long>(colour) != brushColour) {
                brush = SolidBrush(colour, source);
                brushColour = static_cast<long>(colour);
            }
            const RECT stroke = alongX ? RECT{from, Y1, to, Y2} : RECT{X1, from, X2, to};
            if (!gdi::FillRect(hDC_, &stroke, brush.get()))
                RaiseVBDLLError(source, L"FillRect failed to draw a stroke of the gradient!");
            ProgressDraw((farEdge - from) / L * 100);
            if (!clipped) break;
        }
        brush.reset();
        EndDraw();
    });
}

}  // namespace kolorit
