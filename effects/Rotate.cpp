// Rotation by inverse mapping: for every offset of one quadrant around the
// destination centre, the source offset turned by the angle is computed once
// and serves the four quarter turns of both. Destination pixels whose source
// lies outside the source image keep their colour.
//
// The pixels are read and written in the order the algorithm states, one
// step at a time, whichever path carries them: a destination that is the
// source itself then gives the same picture on both paths.

#include "DCEffectDrawing.h"

#include "LiteralPixels.h"
#include "SurfaceMemory.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace kolorit {

using com::ComPtr;

namespace {

const wchar_t* const source = L"DCEffectDrawing.Rotate()";

// The polar angle of an offset straight down, written the way the rotation
// has always used it (its double is not the one nearest to pi / 2).
constexpr double downward = 1.570796326794895;

struct Geometry {
    int SCX, SCY;  // source centre
    int X, Y;      // destination centre plus the offset
    int R;         // largest offset from the centre
    double Angle;
};

struct Offset {
    int RX, RY;
};

Offset turned(int x, int y, double Angle) {
    const double theta = x == 0 ? downward : std::atan(static_cast<double>(y) / x);
    const double d = std::sqrt(static_cast<double>(x * x + y * y));
    return {static_cast<int>(rounded(std::cos(theta + Angle) * d)),
            static_cast<int>(rounded(std::sin(theta + Angle) * d))};
}

template <class Source, class Destination>
void rotateColumn(const Source& from, const Destination& to, const Geometry& g, int x) {
    for (int y = 0; y <= g.R; ++y) {
        const Offset o = turned(x, y, g.Angle);
        const COLORREF C1 = from.GetPixel(g.SCX + o.RX, g.SCY + o.RY);
        const COLORREF C2 = from.GetPixel(g.SCX - o.RX, g.SCY - o.RY);
        const COLORREF C3 = from.GetPixel(g.SCX + o.RY, g.SCY - o.RX);
        const COLORREF C4 = from.GetPixel(g.SCX - o.RY, g.SCY + o.RX);
        if (C1 != CLR_INVALID) to.SetPixel(g.X + x, g.Y + y, C1);
        if (C2 != CLR_INVALID) to.SetPixel(g.X - x, g.Y - y, C2);
        if (C3 != CLR_INVALID) to.SetPixel(g.X + y, g.Y - x, C3);
        if (C4 != CLR_INVALID) to.SetPixel(g.X - y, g.Y + x, C4);
    }
}

struct Memories {
    SurfaceMemory from, to;
};

std::optional<Memories> memoriesOf(HDC from, HDC to) {
    const auto source = SurfaceMemory::of(from, false);
    const auto destination = source ? SurfaceMemory::of(to, true) : std::nullopt;
    if (!destination) return std::nullopt;
    return Memories{*source, *destination};
}

// A destination coordinate range beyond 32 bits cannot be written.
int centrePlusOffset(long centre, long offset, int R) {
    const long long sum = static_cast<long long>(centre) + offset;
    if (sum - R < INT_MIN || sum + R > INT_MAX) com::raise(com::RuntimeError::Overflow);
    return static_cast<int>(sum);
}

}  // namespace

STDMETHODIMP DCEffectDrawing::Rotate(_GDIDC** dcDest, double Angle, long DestX, long DestY) {
    if (!dcDest) return E_POINTER;
    return com::guarded([&] {
        // The angle becomes pixel offsets: it has to be a number.
        com::require(std::isfinite(Angle));
        // A sink may drop the caller's last reference while an event runs.
        const ComPtr<_DCEffectDrawing> keepAlive(this);

        const BITMAP image = SelectedBitmap(hDC_);
        ComPtr<_GDIDC> destination;
        if (!*dcDest) {
            destination = CreateGDIDC(image.bmWidth, image.bmHeight, image.bmBitsPixel == 1, hDC_);
            destination.CopyTo(dcDest);
        } else if (FAILED((*dcDest)->QueryInterface(IID_PPV_ARGS(&destination))) ||
                   surfaceDC(destination.Get()) == nullptr) {
            RaiseVBDLLError(source, L"DC object is invalid!");
        }
        const SIZE size = surfaceSize(destination.Get());
        const long DCX = size.cx / 2;
        const long DCY = size.cy / 2;
        const HDC hDestDC = surfaceDC(destination.Get());
        InitDraw();

        const long R = std::max(DCX, DCY) - 1;
        if (R > SHRT_MAX) com::raise(com::RuntimeError::Overflow);
        const Geometry g{static_cast<int>(image.bmWidth / 2), static_cast<int>(image.bmHeight / 2),
                         centrePlusOffset(DCX, DestX, R), centrePlusOffset(DCY, DestY, R), static_cast<int>(R), Angle};
        const LiteralPixels literalFrom(hDC_), literalTo(hDestDC);
        std::optional<Memories> memory = memoriesOf(hDC_, hDestDC);
        for (int x = 0; x <= g.R; ++x) {
            if (memory)
                rotateColumn(memory->from, memory->to, g, x);
            else
                rotateColumn(literalFrom, literalTo, g, x);
            // With R = 0 the one column is the whole rotation.
            if (ProgressDraw(g.R == 0 ? 100 : static_cast<double>(x) / g.R * 100)) memory = memoriesOf(hDC_, hDestDC);
        }
        EndDraw();
    });
}

}  // namespace kolorit
