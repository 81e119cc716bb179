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
#include <cstdint>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

    // What the matrix's products are made of, for loops that make them for
    // many steps at once: they must make them as above.
    bool matrix() const noexcept { return matrix_; }
    double cosine() const noexcept { return cos_; }
    double sine() const noexcept { return sin_; }
    // How close to the nearest integer a value lies that is further than
    // 1e-8 from a half.
    static constexpr double clearOfHalf = 0.5 - 1e-8;

private:
    double Angle_, cos_, sin_;
    bool matrix_;
};

struct Geometry {
    int SCX, SCY;  // source centre
    int X, Y;      // destination centre plus the offset
    int R;         // largest offset from the centre
    Turn turned;
};

// One step of the rotation: the four source pixels of the offset (x, y),
// each written to its quarter turn of the destination.
template <class Source, class Destination>
void rotateStep(const Source& from, const Destination& to, const Geometry& g, int x, int y) {
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

template <class Source, class Destination>
void rotateColumn(const Source& from, const Destination& to, const Geometry& g, int x) {
    for (int y = 0; y <= g.R; ++y) rotateStep(from, to, g, x, y);
}

// The destination offsets (dx, dy) of one quarter turn off the axes, where
// each pixel is written by one step alone: the step's offset (x, y) and the
// source pixel it takes.
enum class Quarter { C1, C2, C3, C4 };

#if defined(__SSE2__)
// Two destination pixels of a row at a time, from dx on while a pair is
// left: each lane makes the matrix's products, rounding and test of Turn,
// operation for operation (the coordinate that moves along the row is a
// whole number in a double, exact). A pair that the matrix does not serve
// is asked for one step at a time. Gives the dx it stopped at.
template <Quarter q, class Place, class Step>
int rotatePairs(const Geometry& g, int dx, int dx2, int dy, const Place& place, const Step& step) {
    // In the first two quarters x moves with dx and y stays, in the others y moves.
    constexpr bool xMoves = q == Quarter::C1 || q == Quarter::C2;
    constexpr bool forward = q == Quarter::C1 || q == Quarter::C3;
    const int stays = q == Quarter::C1 || q == Quarter::C4 ? dy : -dy;
    const __m128d c = _mm_set1_pd(g.turned.cosine()), s = _mm_set1_pd(g.turned.sine());
    const __m128d staysC = _mm_mul_pd(_mm_set1_pd(stays), c), staysS = _mm_mul_pd(_mm_set1_pd(stays), s);
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    const __m128d limit = _mm_set1_pd(Turn::clearOfHalf);
    const __m128d advance = _mm_set1_pd(forward ? 2 : -2);
    __m128d moves = forward ? _mm_set_pd(dx + 1, dx) : _mm_set_pd(-dx - 1, -dx);
    for (; dx < dx2; dx += 2, moves = _mm_add_pd(moves, advance)) {
        // RX = x * cos - y * sin, RY = x * sin + y * cos
        const __m128d rx = xMoves ? _mm_sub_pd(_mm_mul_pd(moves, c), staysS) : _mm_sub_pd(staysC, _mm_mul_pd(moves, s));
        const __m128d ry = xMoves ? _mm_add_pd(_mm_mul_pd(moves, s), staysC) : _mm_add_pd(staysS, _mm_mul_pd(moves, c));
        const __m128i RX = _mm_cvtpd_epi32(rx), RY = _mm_cvtpd_epi32(ry);
        const __m128d clearX = _mm_cmplt_pd(_mm_and_pd(_mm_sub_pd(rx, _mm_cvtepi32_pd(RX)), magnitude), limit);
        const __m128d clearY = _mm_cmplt_pd(_mm_and_pd(_mm_sub_pd(ry, _mm_cvtepi32_pd(RY)), magnitude), limit);
        if (_mm_movemask_pd(_mm_and_pd(clearX, clearY)) != 3) {
            place(dx, step(dx));
            place(dx + 1, step(dx + 1));
            continue;
        }
        place(dx, Offset{_mm_cvtsi128_si32(RX), _mm_cvtsi128_si32(RY)});
        place(dx + 1, Offset{_mm_cvtsi128_si32(_mm_shuffle_epi32(RX, 1)), _mm_cvtsi128_si32(_mm_shuffle_epi32(RY, 1))});
    }
    return dx;
}
#endif

template <Quarter q>
void rotateBlock(const SurfaceMemory& from, const SurfaceMemory& to, const Geometry& g, int dx1, int dx2, int dy1,
                 int dy2) {
    const unsigned width = static_cast<unsigned>(from.width()), height = static_cast<unsigned>(from.height());
    for (int dy = dy1; dy <= dy2; ++dy) {
        std::uint32_t* const row = to.row(g.Y + dy);
        // The step's offset of the destination offset (dx, dy).
        const auto step = [&](int dx) {
            if constexpr (q == Quarter::C1) return g.turned(dx, dy);
            else if constexpr (q == Quarter::C2) return g.turned(-dx, -dy);
            else if constexpr (q == Quarter::C3) return g.turned(-dy, dx);
            else return g.turned(dy, -dx);
        };
        const auto place = [&](int dx, Offset o) {
            int sx, sy;
            if constexpr (q == Quarter::C1) sx = g.SCX + o.RX, sy = g.SCY + o.RY;
            else if constexpr (q == Quarter::C2) sx = g.SCX - o.RX, sy = g.SCY - o.RY;
            else if constexpr (q == Quarter::C3) sx = g.SCX + o.RY, sy = g.SCY - o.RX;
            else sx = g.SCX - o.RY, sy = g.SCY + o.RX;
            if (static_cast<unsigned>(sx) < width && static_cast<unsigned>(sy) < height)
                row[g.X + dx] = from.row(sy)[sx] & SurfaceMemory::colourBits;
        };
        int dx = dx1;
#if defined(__SSE2__)
        if (g.turned.matrix()) dx = rotatePairs<q>(g, dx, dx2, dy, place, step);
#endif
        for (; dx <= dx2; ++dx) place(dx, step(dx));
    }
}

// The whole rotation onto another surface's memory, for when nobody can look
// between the steps: each destination pixel off the axes is written once, so
// the destination is walked in tiles (the source pixels of a tile lie close
// together), from the same offsets as the steps. The pixels on the axes are
// written by several steps; those steps are replayed in their own order.
void rotateTiled(const SurfaceMemory& from, const SurfaceMemory& to, const Geometry& g) {
    constexpr int tile = 64;
    // The destination offsets that land in the destination image.
    const int left = static_cast<int>(std::max<long long>(-g.R, -static_cast<long long>(g.X)));
    const int right = static_cast<int>(std::min<long long>(g.R, static_cast<long long>(to.width()) - 1 - g.X));
    const int top = static_cast<int>(std::max<long long>(-g.R, -static_cast<long long>(g.Y)));
    const int bottom = static_cast<int>(std::min<long long>(g.R, static_cast<long long>(to.height()) - 1 - g.Y));
    const auto blocks = [&](auto block, int dx1, int dx2, int dy1, int dy2) {
        dx1 = std::max(dx1, left), dx2 = std::min(dx2, right), dy1 = std::max(dy1, top), dy2 = std::min(dy2, bottom);
        for (int ty = dy1; ty <= dy2; ty += tile)
            for (int tx = dx1; tx <= dx2; tx += tile)
                block(from, to, g, tx, std::min(tx + tile - 1, dx2), ty, std::min(ty + tile - 1, dy2));
    };
    blocks(rotateBlock<Quarter::C1>, 1, g.R, 1, g.R);
    blocks(rotateBlock<Quarter::C2>, -g.R, -1, -g.R, -1);
    blocks(rotateBlock<Quarter::C3>, 1, g.R, -g.R, -1);
    blocks(rotateBlock<Quarter::C4>, -g.R, -1, 1, g.R);
    for (int y = 0; y <= g.R; ++y) rotateStep(from, to, g, 0, y);
    for (int x = 1; x <= g.R; ++x) rotateStep(from, to, g, x, 0);
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
        std::optional<SurfaceMemory> from = SurfaceMemory::of(hDC_, false);
        std::optional<SurfaceMemory> to = SurfaceMemory::of(hDestDC, true);
        // Unheard, the events cannot change anything in between; a rotation
        // onto its own pixels reads what earlier steps wrote, step by step.
        if (!heard() && from && to && !from->overlaps(*to)) {
            rotateTiled(*from, *to, g);
            EndDraw();
            return;
        }
        for (int x = 0; x <= g.R; ++x) {
            if (from && to)
                rotateColumn(*from, *to, g, x);
            else
                rotateColumn(literalFrom, literalTo, g, x);
            // With R = 0 the one column is the whole rotation.
            if (ProgressDraw(g.R == 0 ? 100 : static_cast<double>(x) / g.R * 100)) {
                from = SurfaceMemory::again(hDC_, false, from);
                to = SurfaceMemory::again(hDestDC, true, to);
            }
        }
        EndDraw();
    });
}

}  // namespace kolorit
