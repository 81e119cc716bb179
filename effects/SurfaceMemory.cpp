#include "SurfaceMemory.h"

#include "declarations/GDIDeclarations.h"

#include <cstdlib>
#include <utility>

namespace kolorit {

namespace {

bool identityMapping(HDC dc) {
    POINT window{}, viewport{};
    XFORM transform{};
    return gdi::GetMapMode(dc) == MM_TEXT && gdi::GetWindowOrgEx(dc, &window) && window.x == 0 && window.y == 0 &&
           gdi::GetViewportOrgEx(dc, &viewport) && viewport.x == 0 && viewport.y == 0 &&
           gdi::GetWorldTransform(dc, &transform) && transform.eM11 == 1 && transform.eM12 == 0 &&
           transform.eM21 == 0 && transform.eM22 == 1 && transform.eDx == 0 && transform.eDy == 0 &&
           gdi::GetLayout(dc) == 0;
}

bool plainRGB(const DIBSECTION& dib) {
    if (dib.dsBmih.biCompression == BI_RGB) return true;
    return dib.dsBmih.biCompression == BI_BITFIELDS && dib.dsBitfields[0] == 0xFF0000 &&
           dib.dsBitfields[1] == 0xFF00 && dib.dsBitfields[2] == 0xFF;
}

bool unclipped(HDC dc, int width, int height) {
    RECT box{};
    return gdi::GetClipBox(dc, &box) == SIMPLEREGION && box.left <= 0 && box.top <= 0 && box.right >= width &&
           box.bottom >= height;
}

bool plainWrites(HDC dc) {
    RECT bounds{};
    return gdi::GetROP2(dc) == R2_COPYPEN && (gdi::GetBoundsRect(dc, &bounds, 0) & DCB_ENABLE) == 0 &&
           gdi::SetICMMode(dc, ICM_QUERY) != ICM_ON;
}

}  // namespace

std::optional<SurfaceMemory> SurfaceMemory::of(HDC dc, bool written) {
    if (gdi::GetObjectType(dc) != OBJ_MEMDC || !identityMapping(dc)) return std::nullopt;
    DIBSECTION dib{};
    const HGDIOBJ selected = gdi::GetCurrentObject(dc, OBJ_BITMAP);
    if (gdi::GetObjectA(selected, sizeof dib, &dib) != sizeof dib) return std::nullopt;
    const BITMAP& bitmap = dib.dsBm;
    if (bitmap.bmBits == nullptr || bitmap.bmBitsPixel != 32 || bitmap.bmPlanes != 1 || !plainRGB(dib) ||
        !unclipped(dc, bitmap.bmWidth, bitmap.bmHeight) || (written && !plainWrites(dc)))
        return std::nullopt;
    gdi::GdiFlush();

    auto* const first = static_cast<std::byte*>(bitmap.bmBits);
    const std::ptrdiff_t stride = bitmap.bmWidthBytes;
    const auto handle = static_cast<HBITMAP>(selected);
    if (topDown(dc, static_cast<std::uint32_t*>(bitmap.bmBits)))
        return SurfaceMemory(dc, handle, first, stride, bitmap.bmWidth, bitmap.bmHeight);
    return SurfaceMemory(dc, handle, first + (bitmap.bmHeight - 1) * stride, -stride, bitmap.bmWidth, bitmap.bmHeight);
}

// A bitmap's size, format and memory stay what they are while it lives, and
// one that is selected cannot be deleted: with the same bitmap selected,
// only the device context's state can have changed.
std::optional<SurfaceMemory> SurfaceMemory::again(HDC dc, bool written, const std::optional<SurfaceMemory>& before) {
    if (!before || before->dc_ != dc || gdi::GetCurrentObject(dc, OBJ_BITMAP) != before->bitmap_)
        return of(dc, written);
    if (!identityMapping(dc) || !unclipped(dc, before->width_, before->height_) || (written && !plainWrites(dc)))
        return std::nullopt;
    gdi::GdiFlush();
    return before;
}

// The description does not say which way up the rows lie (the platform
// reports the height of a top-down bitmap as positive too). The first pixel
// in memory, given two different values for a moment, shows it: the pixel
// the platform reads at (0, 0) changes with it exactly when the first row in
// memory is the top one. A bitmap one row high is both.
bool SurfaceMemory::topDown(HDC dc, std::uint32_t* first) {
    const std::uint32_t kept = *first;
    *first = 0;
    const COLORREF black = gdi::GetPixel(dc, 0, 0);
    *first = 0xFFFFFF;
    const COLORREF white = gdi::GetPixel(dc, 0, 0);
    *first = kept;
    return black != white;
}

// The platform resolves such a colour itself; it may have batched the write.
void SurfaceMemory::setFlagged(int x, int y, COLORREF colour) const {
    gdi::SetPixel(dc_, x, y, colour);
    gdi::GdiFlush();
}

bool SurfaceMemory::overlaps(const SurfaceMemory& other) const noexcept {
    const auto span = [](const SurfaceMemory& memory) {
        const auto start = reinterpret_cast<std::uintptr_t>(memory.row(memory.stride_ < 0 ? memory.height_ - 1 : 0));
        return std::pair(start, start + static_cast<std::uintptr_t>(memory.height_) * std::abs(memory.stride_));
    };
    const auto [start, end] = span(*this);
    const auto [otherStart, otherEnd] = span(other);
    return start < otherEnd && otherStart < end;
}

}  // namespace kolorit
