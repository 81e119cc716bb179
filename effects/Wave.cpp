// A vertical wave, in place: every column moves up or down by a sine of its
// position. All pixels are read before any is written, so none is read after
// it was overwritten; rows that no pixel moves to keep their colour, and
// pixels moved outside the image are dropped.

#include "DCEffectDrawing.h"

#include "LiteralPixels.h"
#include "SurfaceMemory.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <vector>

namespace kolorit {

using com::ComPtr;

namespace {

template <class Pixels>
void readColumn(const Pixels& pixels, int x, int H, COLORREF* column) {
    for (int y = 0; y < H; ++y) column[y] = pixels.GetPixel(x, y);
}

// The row a pixel of row y moves to: its row plus the column's shift, tested
// against the image before it is rounded.
bool targetRow(int y, double shift, int H, int& row) {
    const double t = y + shift;
    if (t < 0 || t > H - 1) return false;
    row = static_cast<int>(rounded(t));
    return true;
}

// A column whose shift lies 1e-8 or more clear of a half, and is a whole
// number or as clear of one, moves every pixel by the same whole number of
// rows: a row plus a shift that can land in the image stays below 2^25, where
// the sum's rounding is off by less than 4e-9, so neither the test against
// the image nor the rounding can turn over on any row. Rows `first` to `last`
// are the ones whose target lies in the image; an empty range when none does.
struct WholeMove {
    int first, last, offset;
};

std::optional<WholeMove> wholeMove(double shift, int H) {
    constexpr double margin = 1e-8;
    if (H > 1 << 24) return std::nullopt;
    // So far up or down that no row lands in the image.
    if (!(std::fabs(shift) <= H)) return WholeMove{0, -1, 0};
    const long offset = rounded(shift);
    const double fraction = shift - offset;  // exact
    if (std::fabs(fraction) > 0.5 - margin || (fraction != 0 && std::fabs(fraction) < margin)) return std::nullopt;
    // y + shift >= 0 and y + shift <= H - 1, for a whole y.
    const long first = fraction < 0 ? 1 - offset : -offset;
    const long last = fraction > 0 ? H - 2 - offset : H - 1 - offset;
    return WholeMove{static_cast<int>(std::max(first, 0L)), static_cast<int>(std::min(last, H - 1L)),
                     static_cast<int>(offset)};
}

template <class Pixels>
void writeColumn(const Pixels& pixels, int x, int H, double shift, const COLORREF* column) {
    int row = 0;
    for (int y = 0; y < H; ++y)
        if (targetRow(y, shift, H, row)) pixels.SetPixel(x, row, column[y]);
}

void writeColumn(const SurfaceMemory& memory, int x, int H, double shift, const COLORREF* column) {
    const auto move = wholeMove(shift, H);
    if (!move) return writeColumn<SurfaceMemory>(memory, x, H, shift, column);
    for (int y = move->first; y <= move->last; ++y) memory.SetPixel(x, y + move->offset, column[y]);
}

// Both passes at once, in place and row by row, for when nobody can look
// between the columns; no table is needed. A column moving up (shift 0 or
// less) is gone through from the top: every row it writes lies at or above
// the row being read, so each pixel is read before anything overwrites it,
// and of two pixels landing on one row the lower one comes later and stays.
// A column moving down is gone through from the bottom for the same reason;
// there the lower pixel comes first, so a row already written is left to it.
// Columns are independent of each other: those that move by whole rows are
// copied a row at a time, the few others pixel by pixel.
void waveInPlace(const SurfaceMemory& memory, int W, int H, const std::vector<double>& shifts) {
    struct Copied {
        int x, first, last;
        std::ptrdiff_t target;  // from a pixel to the one it moves to
    };
    std::vector<Copied> up, down;
    std::vector<int> others;
    const std::ptrdiff_t stride = H > 1 ? memory.row(1) - memory.row(0) : 0;
    for (int x = 0; x < W; ++x) {
        const auto move = wholeMove(shifts[x], H);
        if (!move)
            others.push_back(x);
        else if (move->first <= move->last)
            (move->offset > 0 ? down : up).push_back({x, move->first, move->last, move->offset * stride});
    }
    const auto copyRow = [&](const std::vector<Copied>& columns, int y) {
        std::uint32_t* const row = memory.row(y);
        for (const Copied& c : columns)
            if (y >= c.first && y <= c.last) row[c.x + c.target] = row[c.x] & SurfaceMemory::colourBits;
    };
    for (int y = 0; y < H; ++y) copyRow(up, y);
    for (int y = H - 1; y >= 0; --y) copyRow(down, y);

    int row = 0;
    for (const int x : others) {
        if (shifts[x] <= 0) {
            for (int y = 0; y < H; ++y)
                if (targetRow(y, shifts[x], H, row)) memory.SetPixel(x, row, memory.GetPixel(x, y));
            continue;
        }
        int lastRow = H;  // below the image: none written yet
        for (int y = H - 1; y >= 0; --y)
            if (targetRow(y, shifts[x], H, row) && row != lastRow) {
                memory.SetPixel(x, row, memory.GetPixel(x, y));
                lastRow = row;
            }
    }
}

}  // namespace

STDMETHODIMP DCEffectDrawing::Wave(long Size, VARIANT Length, long MoveX, long MoveY) {
    return com::guarded([&] {
        const double length = Number(Length, 10);
        if (length == 0) com::raise(com::RuntimeError::DivisionByZero);
        // A sink may drop the caller's last reference while an event runs.
        const ComPtr<_DCEffectDrawing> keepAlive(this);

        const BITMAP image = SelectedBitmap(hDC_);
        const int W = image.bmWidth;
        const int H = image.bmHeight;
        // The shift of every column, before anything is read: one that is no
        // number could not become a row.
        std::vector<double> shifts(W);
        for (int x = 0; x < W; ++x) {
            shifts[x] = Size * std::sin(x / length - MoveX) + MoveY;
            if (std::isnan(shifts[x])) com::raise(com::RuntimeError::Overflow);
        }
        // Unheard, the events cannot change anything in between.
        if (!heard()) {
            if (const auto memory = SurfaceMemory::of(hDC_, true)) {
                InitDraw();
                waveInPlace(*memory, W, H, shifts);
                EndDraw();
                return;
            }
        }
        if (static_cast<std::uint64_t>(W) * static_cast<std::uint64_t>(H) > SIZE_MAX / sizeof(COLORREF))
            throw std::bad_alloc();
        std::vector<COLORREF> colours(static_cast<size_t>(W) * H);
        InitDraw();

        const LiteralPixels literal(hDC_);
        std::optional<SurfaceMemory> memory = SurfaceMemory::of(hDC_, false);
        for (int x = 0; x < W; ++x) {
            COLORREF* const column = &colours[static_cast<size_t>(x) * H];
            if (memory)
                readColumn(*memory, x, H, column);
            else
                readColumn(literal, x, H, column);
            if (ProgressDraw(static_cast<double>(x) / W * 100 / 2)) memory = SurfaceMemory::again(hDC_, false, memory);
        }
        memory = SurfaceMemory::again(hDC_, true, memory);
        for (int x = 0; x < W; ++x) {
            const COLORREF* const column = &colours[static_cast<size_t>(x) * H];
            if (memory)
                writeColumn(*memory, x, H, shifts[x], column);
            else
                writeColumn(literal, x, H, shifts[x], column);
            if (ProgressDraw(static_cast<double>(x) / W * 100 / 2 + 50))
                memory = SurfaceMemory::again(hDC_, true, memory);
        }
        EndDraw();
    });
}

}  // namespace kolorit
