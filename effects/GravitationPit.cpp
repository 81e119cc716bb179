// A pit, in place: the colours found on a ring around the centre are drawn
// as radial Bezier strokes from the centre outward, one per direction. The
// direction counter is taken as radians, so the 361 directions fall
// irregularly around the circle. A pen is made only when the colour changes.

#include "DCEffectDrawing.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/GDIDCEx.h"
#include "frame/Vellum.h"

#include <array>
#include <climits>

namespace kolorit {

using com::ComPtr;

namespace {

const wchar_t* const source = L"DCEffectDrawing.GravitationPit()";
constexpr int directions = 361;

// A coordinate beyond 32 bits (or no number at all) overflows.
LONG coordinate(double value) {
    const double whole = std::nearbyint(value);
    if (!(whole >= INT_MIN && whole <= INT_MAX)) com::raise(com::RuntimeError::Overflow);
    return static_cast<LONG>(whole);
}

struct Direction {
    POINT sample;  // on the ring at Radius / 2.23
    POINT outer;   // the stroke's first control point
};

}  // namespace

STDMETHODIMP DCEffectDrawing::GravitationPit(long X, long Y, VARIANT Radius) {
    return com::guarded([&] {
        const double radius = Number(Radius, 120);
        // Every point first, so that a radius out of range fails before
        // anything is drawn.
        std::array<Direction, directions> ring;
        for (int k = 0; k < directions; ++k) {
            ring[k].outer = {coordinate(std::cos(k) * radius + X), coordinate(std::sin(k) * radius + Y)};
            ring[k].sample = {coordinate(std::cos(k) * (radius / 2.23) + X),
                              coordinate(std::sin(k) * (radius / 2.23) + Y)};
        }
        // A sink may drop the caller's last reference while an event runs.
        const ComPtr<_DCEffectDrawing> keepAlive(this);

        // The pens are exchanged through the surface, which only the hub knows.
        const ComPtr<GDIDCEx> hub = ObjectFromPointer();
        com::require(hub != nullptr);
        ComPtr<_GDIDC> surface;
        com::passThrough(hub->get_DC(&surface));
        ComPtr<_GDIPen> saved;
        com::passThrough(surface->get_SelPen(&saved));

        InitDraw();
        COLORREF lastColour = CLR_INVALID;
        ComPtr<_GDIPen> pen;
        const POINT centre{X, Y};
        for (int k = 0; k < directions; ++k) {
            const COLORREF C = gdi::GetPixel(hDC_, ring[k].sample.x, ring[k].sample.y);
            if (C == CLR_INVALID) continue;
            if (C != lastColour) {
                ComPtr<_GDIPen> created;
                com::passThrough(VellumFunctions()->CreatePenObject(C, 0, 1, &created));
                com::passThrough(surface->putref_SelPen(created.Get()));
                pen = std::move(created);
            }
            if (!gdi::MoveToEx(hDC_, X, Y, nullptr)) RaiseVBDLLError(source, L"MoveToEx failed!");
            const POINT points[3] = {ring[k].outer, centre, centre};
            if (!gdi::PolyBezierTo(hDC_, points, 3)) RaiseVBDLLError(source, L"PolyBezierTo failed!");
            ProgressDraw(k / 3.6);
            lastColour = C;
        }
        com::passThrough(surface->putref_SelPen(saved.Get()));
        EndDraw();
    });
}

}  // namespace kolorit
