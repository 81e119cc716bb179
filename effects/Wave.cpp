// A vertical wave, in place: every column moves up or down by a sine of its
// position. All pixels are read before any is written, so none is read after
// it was overwritten; rows that no pixel moves to keep their colour, and
// pixels moved outside the image are dropped.

#include "DCEffectDrawing.h"

#include "LiteralPixels.h"
#include "SurfaceMemory.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

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

template <class Pixels>
void writeColumn(const Pixels& pixels, int x, int H, double shift, const COLORREF* column) {
    int row = 0;
    for (int y = 0; y < H; ++y)
        if (targetRow(y, shift, H, row)) pixels.SetPixel(x, row, column[y]);
}

// Both passes at once, in place and row by row, for when nobody can look
// between the columns; no table is needed. A column moving up (shift 0 or
// less) is gone through from the top: every row it writes lies at or above
// the row being read, so each pixel is read before anything overwrites it,
// and of two pixels landing on one row the lower one comes later and stays.
// A column moving down is gone through from the bottom for the same reason;
// there the lower pixel comes first, so a row already written is left to it.
void waveInPlace(const SurfaceMemory& memory, int W, int H, const std::vector<double>& shifts) {
    int row = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (shifts[x] <= 0 && targetRow(y, shifts[x], H, row)) memory.SetPixel(x, row, memory.GetPixel(x, y));
    std::vector<int> lastRow(W, H);  // below the image: none written yet
    for (int y = H - 1; y >= 0; --y)
        for (int x = 0; x < W; ++x)
            if (shifts[x] > 0 && targetRow(y, shifts[x], H, row) && row != lastRow[x]) {
                memory.SetPixel(x, row, memory.GetPixel(x, y));
                lastRow[x] = row;
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
            if (ProgressDraw(static_cast<double>(x) / W * 100 / 2)) memory = SurfaceMemory::of(hDC_, false);
        }
        memory = SurfaceMemory::of(hDC_, true);
        for (int x = 0; x < W; ++x) {
            const COLORREF* const column = &colours[static_cast<size_t>(x) * H];
            if (memory)
                writeColumn(*memory, x, H, shifts[x], column);
            else
                writeColumn(literal, x, H, shifts[x], column);
            if (ProgressDraw(static_cast<double>(x) / W * 100 / 2 + 50)) memory = SurfaceMemory::of(hDC_, true);
        }
        EndDraw();
    });
}

}  // namespace kolorit
