#pragma once
// The pixels of a device context read and written in its bitmap's memory,
// for the effects that move single pixels. It stands in for GetPixel and
// SetPixel (see LiteralPixels.h, the reference) and is handed out only while
// it gives exactly what those calls would give:
// - a memory device context with a 32-bit RGB DIB section selected;
// - identity mapping: MM_TEXT, both origins at 0, the identity world
//   transform and no mirrored layout (any other mapping mode, even one that
//   maps 1:1 such as MM_ANISOTROPIC with equal extents, takes the reference
//   path: that is how a caller asks for it);
// - no clipping inside the bitmap (the clip box is a simple region covering
//   it), because whether GetPixel honours the clipping region differs from
//   one platform implementation to the next;
// - when written: the mix mode R2_COPYPEN, bounds accumulation off and image
//   colour management off, since SetPixel would honour each of them.
// The GDI batch is flushed when it is handed out. Whoever may have drawn or
// changed the device context since (an event sink) must ask `again`.
//
// Like the platform calls, it reads a pixel's colour without its top byte,
// answers CLR_INVALID outside the bitmap, writes colours with the top byte
// clear and drops writes outside the bitmap. A colour with flags in its top
// byte (a palette index, CLR_INVALID) is left to SetPixel itself.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kolorit {

class SurfaceMemory {
public:
    // The memory of `dc` when every condition above holds; `written` adds
    // those of SetPixel.
    static std::optional<SurfaceMemory> of(HDC dc, bool written);
    // The same after others may have used the device context, knowing what
    // the memory was before: it is looked at afresh only when another bitmap
    // is selected, else the device context's state alone is read again.
    static std::optional<SurfaceMemory> again(HDC dc, bool written, const std::optional<SurfaceMemory>& before);

    COLORREF GetPixel(int x, int y) const noexcept {
        if (!inside(x, y)) return CLR_INVALID;
        const std::uint32_t pixel = row(y)[x];
        return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
    }

    void SetPixel(int x, int y, COLORREF colour) const {
        if (colour >> 24) return setFlagged(x, y, colour);
        if (!inside(x, y)) return;
        row(y)[x] = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    }

    int width() const noexcept { return width_; }
    int height() const noexcept { return height_; }
    // A row of pixels as it lies in memory (blue in the low byte, the top
    // byte unused), for loops that move many pixels at once: what they copy
    // is masked with `colourBits` to come out as GetPixel and SetPixel would leave
    // it. y lies inside the bitmap.
    std::uint32_t* row(int y) const noexcept { return reinterpret_cast<std::uint32_t*>(top_ + y * stride_); }
    static constexpr std::uint32_t colourBits = 0x00FFFFFF;
    // Whether the two lie in memory that overlaps: then writes to one show
    // in what the other reads.
    bool overlaps(const SurfaceMemory& other) const noexcept;

private:
    SurfaceMemory(HDC dc, HBITMAP bitmap, std::byte* top, std::ptrdiff_t stride, int width, int height) noexcept
        : dc_(dc), bitmap_(bitmap), top_(top), stride_(stride), width_(width), height_(height) {}

    bool inside(int x, int y) const noexcept {
        return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
               static_cast<unsigned>(y) < static_cast<unsigned>(height_);
    }
    void setFlagged(int x, int y, COLORREF colour) const;
    static bool topDown(HDC dc, std::uint32_t* first);

    HDC dc_;
    HBITMAP bitmap_;
    std::byte* top_;         // the first row as shown (the last one in memory for a bottom-up bitmap)
    std::ptrdiff_t stride_;  // from one shown row to the next, negative for a bottom-up bitmap
    int width_;
    int height_;
};

}  // namespace kolorit
