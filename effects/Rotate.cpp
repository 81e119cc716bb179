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

struct Offset {
    int RX, RY;
};

// The source offset of the destination offset (x, y): its polar angle turned
// by the angle, at its distance, rounded.
//
// Computed that way it costs four trigonometric functions per step. The
// rotation matrix of the angle gives the same real numbers with two products
// each; the two computations differ by rounding alone, by less than 1e-9 for
// distances up to 46341 (R fits 16 bits) and angles up to 64 radians in size
// (the sum of polar angle and angle is rounded at the angle's scale). Where
// the matrix's value lies further than 1e-8 from a half, where rounding turns
// over, both round to the same integer; elsewhere, and for larger angles, the
// polar computation is made.
class Turn {
public:
    explicit Turn(double Angle)
        : Angle_(Angle), cos_(std::cos(Angle)), sin_(std::sin(Angle)), matrix_(std::fabs(Angle) <= 64) {}

    Offset operator()(int x, int y) const {
        if (matrix_) {
            const double RX = x * cos_ - y * sin_;
            const double RY = x * sin_ + y * cos_;
            const long nearestX = rounded(RX), nearestY = rounded(RY);
            if (std::fabs(RX - nearestX) < clearOfHalf && std::fabs(RY - nearestY) < clearOfHalf)
                return {static_cast<int>(nearestX), static_cast<int>(nearestY)};
        }
        const double theta = x == 0 ? downward : std::atan(static_cast<double>(y) / x);
        const double d = std::sqrt(static_cast<double>(x * x + y * y));
        return {static_cast<int>(rounded(std::cos(theta + Angle_) * d)),
                static_cast<int>(rounded(std::sin(theta + Angle_) * d))};
    }

private:
    // How close to the nearest integer a value lies that is further than
    // 1e-8 from a half.
    static constexpr double clearOfHalf = 0.5 - 1e-8;

    double Angle_, cos_, sin_;
    bool matrix_;
};

struct Geometry {
    int SCX, SCY;  // source centre
    int X, Y;      // destination centre plus the offset
    int R;         // largest offset from the centre
    Turn turned;
};

template <class Source, class Destination>
void rotateColumn(const Source& from, const Destination& to, const Geometry& g, int x) {
    for (int y = 0; y <= g.R; ++y) {
        const Offset o = g.turned(x, y);
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
                         centrePlusOffset(DCX, DestX, R), centrePlusOffset(DCY, DestY, R), static_cast<int>(R), Turn(Angle)};
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
