// The pixel effects' fast path against their reference path. Every seeded
// case runs twice on freshly made, identical surfaces: once with the mapping
// mode MM_ANISOTROPIC at its default 1:1 extents (coordinates unchanged, the
// reference path taken), once as the case sets them up. Both runs must leave
// the same bytes in every surface, top bytes included, let the sinks hear the
// same events and end with the same result. Some cases connect no sink at
// all, where the effects may take their pixels in any order.

#include "Effects.h"

#include <numbers>
#include <optional>
#include <random>
#include <span>
#include <cstdio>

using namespace test;

namespace {

using Random = std::mt19937;

int between(Random& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
bool oneIn(Random& random, int n) { return between(random, 1, n) == 1; }

// Mostly small, odd and even, up to a few hundred.
int someSize(Random& random) {
    static const int largest[] = {3, 12, 64, 300};
    return between(random, 1, largest[between(random, 0, 3)]);
}

struct Shape {
    int width, height;
    bool monochrome;
};

enum class Target { Other, Itself, New };

struct Case {
    unsigned seed;
    bool rotate;  // otherwise a wave
    Shape image, other;
    Target target;
    double angle;
    long destX, destY;
    long size, moveX, moveY;
    double length;
    std::optional<RECT> clipImage, clipOther;
    bool xorWrites;    // R2_XORPEN where the effect writes
    bool movedOrigin;  // a viewport origin away from 0 on the image
    bool sink;         // a sink that draws and changes the surfaces' state during the events
    bool unheard;      // no sink connected at all: nobody can look between the steps

    std::string text() const {
        char line[256];
        std::snprintf(line, sizeof line, "seed %u %s %dx%d%s to %dx%d%s (%d) angle %g at %ld,%ld size %ld length %g move %ld,%ld%s%s%s%s%s%s",
                      seed, rotate ? "Rotate" : "Wave", image.width, image.height, image.monochrome ? " mono" : "",
                      other.width, other.height, other.monochrome ? " mono" : "", static_cast<int>(target), angle, destX,
                      destY, size, length, moveX, moveY, clipImage ? " clipped" : "", clipOther ? " other clipped" : "",
                      xorWrites ? " xor" : "", movedOrigin ? " origin" : "", sink ? " sink" : "", unheard ? " unheard" : "");
        return line;
    }
};

// A clip rectangle somewhere in (or around) a surface.
std::optional<RECT> someClip(Random& random, const Shape& shape) {
    if (!oneIn(random, 6)) return std::nullopt;
    if (oneIn(random, 3)) return RECT{-2, -2, shape.width + 2, shape.height + 2};  // all of it: no clipping at all
    const int left = between(random, 0, shape.width - 1), top = between(random, 0, shape.height - 1);
    return RECT{left, top, between(random, left + 1, shape.width), between(random, top + 1, shape.height)};
}

Case someCase(unsigned seed) {
    Random random(seed);
    Case c{};
    c.seed = seed;
    c.rotate = oneIn(random, 2);
    c.image = {someSize(random), someSize(random), oneIn(random, 10)};
    c.other = {someSize(random), someSize(random), oneIn(random, 10)};
    c.target = !c.rotate || !oneIn(random, 3) ? Target::Other : oneIn(random, 2) ? Target::Itself : Target::New;
    if (c.target != Target::Other) c.other = c.image;
    c.angle = oneIn(random, 3) ? between(random, -4, 4) * std::numbers::pi / 2
                               : std::uniform_real_distribution<double>(-10, 10)(random);
    c.destX = oneIn(random, 2) ? 0 : between(random, -c.other.width, c.other.width);
    c.destY = oneIn(random, 2) ? 0 : between(random, -c.other.height, c.other.height);
    c.size = between(random, -20, 20);
    c.length = oneIn(random, 2) ? between(random, 1, 40) : std::uniform_real_distribution<double>(0.2, 40)(random);
    c.moveX = between(random, -5, 5);
    c.moveY = between(random, -20, 20);
    c.clipImage = someClip(random, c.image);
    if (c.rotate && c.target == Target::Other) c.clipOther = someClip(random, c.other);
    c.xorWrites = oneIn(random, 12);
    c.movedOrigin = oneIn(random, 12);
    c.sink = oneIn(random, 3);
    // Where rounding turns over: a column whose shift lies at a half (so
    // that rows meet or leave gaps), rotations that put offsets on halves,
    // quarter turns and angles too small to move anything.
    if (oneIn(random, 3)) {
        const int x = between(random, 1, c.image.width), half = between(random, 0, 2 * std::abs(c.size) - 1);
        if (c.size != 0) c.length = x / std::asin((half - std::abs(c.size) + 0.5) / c.size);
        c.moveX = 0;
        static const double angles[] = {0, 1e-12, -1e-9, std::numbers::pi / 6, -std::numbers::pi / 3, 5 * std::numbers::pi / 6};
        c.angle = angles[between(random, 0, 5)];
    }
    c.unheard = !c.sink && oneIn(random, 2);
    // Onto its own pixels, centred: most steps read what others wrote.
    if (c.target == Target::Itself && oneIn(random, 2)) c.destX = c.destY = 0;
    return c;
}

// Random bytes everywhere, top bytes included.
void scribble(_GDIDC* image, Random& random) {
    const DIBSECTION dib = dibOf(image);
    auto* const bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    std::vector<BYTE> bytes(static_cast<size_t>(dib.dsBm.bmWidthBytes) * dib.dsBm.bmHeight);
    for (BYTE& b : bytes) b = static_cast<BYTE>(random());
    if (bits)
        std::copy(bytes.begin(), bytes.end(), bits);
    else
        SetBitmapBits(static_cast<HBITMAP>(GetCurrentObject(dcOf(image), OBJ_BITMAP)), static_cast<DWORD>(bytes.size()),
                      bytes.data());
}

std::vector<BYTE> bytesOf(_GDIDC* image) {
    const DIBSECTION dib = dibOf(image);
    std::vector<BYTE> bytes(static_cast<size_t>(dib.dsBm.bmWidthBytes) * dib.dsBm.bmHeight);
    if (const auto* bits = static_cast<const BYTE*>(dib.dsBm.bmBits))
        std::copy(bits, bits + bytes.size(), bytes.begin());
    else
        GetBitmapBits(static_cast<HBITMAP>(GetCurrentObject(dcOf(image), OBJ_BITMAP)), static_cast<LONG>(bytes.size()),
                      bytes.data());
    return bytes;
}

struct Outcome {
    HRESULT result;
    std::vector<Heard> heard;
    std::vector<std::vector<BYTE>> bytes;
    bool operator==(const Outcome&) const = default;
};

// A bottom-up bitmap that a sink selects in place of a surface's own, and
// later the surface's own back.
class Swap {
public:
    explicit Swap(Random& random) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = between(random, 1, 40);
        info.bmiHeader.biHeight = between(random, 1, 40);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bytes_ = {static_cast<BYTE*>(bits), static_cast<size_t>(info.bmiHeader.biWidth) * info.bmiHeader.biHeight * 4};
        for (BYTE& b : bytes_) b = static_cast<BYTE>(random());
    }
    ~Swap() {
        back();
        DeleteObject(bitmap_);
    }
    void toggle(HDC dc) {
        if (dc_) return back();
        dc_ = dc;
        own_ = SelectObject(dc, bitmap_);
    }
    void back() {
        if (dc_) SelectObject(dc_, own_);
        dc_ = nullptr;
    }
    std::vector<BYTE> bytes() const { return {bytes_.begin(), bytes_.end()}; }

private:
    HBITMAP bitmap_;
    std::span<BYTE> bytes_;
    HDC dc_ = nullptr;
    HGDIOBJ own_ = nullptr;
};

// What the sink does at some progress events, drawn from its own seed so
// that both runs do the same.
void disturb(Random& acts, HDC dc, const Shape& shape, Swap& swap) {
    const int x = between(acts, 0, shape.width - 1), y = between(acts, 0, shape.height - 1);
    switch (between(acts, 0, 6)) {
    case 0:
        SetPixelV(dc, x, y, RGB(acts(), acts(), acts()));
        break;
    case 1: {
        const RECT area{x, y, between(acts, x, shape.width), between(acts, y, shape.height)};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        break;
    }
    case 2:
        IntersectClipRect(dc, x, y, between(acts, x, shape.width + 1), between(acts, y, shape.height + 1));
        break;
    case 3:
        SelectClipRgn(dc, nullptr);
        break;
    case 4:
        SetROP2(dc, GetROP2(dc) == R2_COPYPEN ? R2_NOT : R2_COPYPEN);
        break;
    case 5: {
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x == 0 ? 1 : 0, 0, nullptr);
        break;
    }
    default:
        swap.toggle(dc);
        break;
    }
}

Outcome run(const Case& c, bool forceReference) {
    Random random(c.seed);
    auto image = surface(c.image.width, c.image.height, c.image.monochrome);
    scribble(image.Get(), random);
    ComPtr<_GDIDC> other;
    if (c.rotate && c.target == Target::Other) {
        other = surface(c.other.width, c.other.height, c.other.monochrome);
        scribble(other.Get(), random);
    } else if (c.target == Target::Itself) {
        other = image;
    }
    const HDC imageDC = dcOf(image.Get());
    const HDC otherDC = other ? dcOf(other.Get()) : nullptr;
    const HDC written = otherDC ? otherDC : imageDC;
    for (HDC dc : {imageDC, otherDC}) {
        if (dc && forceReference) SetMapMode(dc, MM_ANISOTROPIC);
    }
    if (c.movedOrigin) SetViewportOrgEx(imageDC, 3, -2, nullptr);
    if (c.clipImage) IntersectClipRect(imageDC, c.clipImage->left, c.clipImage->top, c.clipImage->right, c.clipImage->bottom);
    if (c.clipOther) IntersectClipRect(otherDC, c.clipOther->left, c.clipOther->top, c.clipOther->right, c.clipOther->bottom);
    if (c.xorWrites) SetROP2(written, R2_XORPEN);

    auto hub = attach(image.Get());
    ComPtr<_DCEffectDrawing> effects;
    EXPECT_EQ(hub->get_Effects(&effects), S_OK);
    auto sink = c.unheard ? nullptr : Sink::on(effects.Get());
    Random acts(c.seed + 1);
    Swap swap(acts);
    if (c.sink)
        sink->onEvent = [&](DISPID event) {
            if (event == 2 && oneIn(acts, 3)) {
                const bool onImage = !c.rotate || !otherDC || oneIn(acts, 2);
                disturb(acts, onImage ? imageDC : otherDC, onImage ? c.image : c.other, swap);
            }
            return S_OK;
        };

    Outcome outcome{};
    if (c.rotate) {
        ComPtr<_GDIDC> destination = other;
        outcome.result = effects->Rotate(destination.GetAddressOf(), c.angle, c.destX, c.destY);
        if (destination && destination != other) outcome.bytes.push_back(bytesOf(destination.Get()));
    } else {
        Variant length;
        V_VT(length.get()) = VT_R8;
        V_R8(length.get()) = c.length;
        outcome.result = effects->Wave(c.size, *length.get(), c.moveX, c.moveY);
    }
    if (sink) {
        sink->disconnect();
        outcome.heard = sink->heard;
    }
    swap.back();
    outcome.bytes.push_back(swap.bytes());
    outcome.bytes.push_back(bytesOf(image.Get()));
    if (other && other != image) outcome.bytes.push_back(bytesOf(other.Get()));
    return outcome;
}

}  // namespace

TEST(FastPath, LeavesExactlyTheBytesAndEventsOfTheReferencePath) {
    for (unsigned seed = 1; seed <= 400; ++seed) {
        const Case c = someCase(seed);
        SCOPED_TRACE(c.text());
        const Outcome reference = run(c, true);
        const Outcome fast = run(c, false);
        EXPECT_EQ(fast.result, reference.result);
        EXPECT_EQ(fast.heard, reference.heard);
        ASSERT_EQ(fast.bytes.size(), reference.bytes.size());
        for (size_t i = 0; i < fast.bytes.size(); ++i) EXPECT_TRUE(fast.bytes[i] == reference.bytes[i]) << "surface " << i;
    }
    EXPECT_TRUE(componentsUnloadable());
}
