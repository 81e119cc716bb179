// One colour of a rectangle replaced by a solid colour or by another surface.

#include "Effects.h"

using namespace test;

namespace {

constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0), green = RGB(0, 255, 0);
constexpr int W = 40, H = 50;
const wchar_t* const boundaries = L"Invalid boundaries!";

COLORREF checkedAt(int x, int y) { return (x / 3 + y / 3) % 2 ? coordinate(x, y) : red; }

ComPtr<_GDIDC> checked() {
    auto image = surface(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) SetPixelV(dcOf(image.Get()), x, y, checkedAt(x, y));
    return image;
}

}  // namespace

TEST(ReplaceColor, ChangesTheColourOnlyInsideTheRectangle) {
    struct Case {
        OLE_COLOR from;
        RECT given, affected;  // 0 as a far edge: the bitmap's
    };
    const Case cases[] = {{red, {0, 0, 0, 0}, {0, 0, W, H}},
                          {red, {10, 10, 30, 40}, {10, 10, 30, 40}},
                          {red, {5, 7, 0, 0}, {5, 7, W, H}},
                          {RGB(1, 2, 3), {0, 0, 0, 0}, {}}};
    for (const Case& c : cases) {
        {
            auto image = checked();
            auto effects = effectsOn(image.Get());
            ASSERT_EQ(effects->ReplaceColor(c.from, green, c.given.left, c.given.top, c.given.right, c.given.bottom), S_OK);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const bool changes = PtInRect(&c.affected, POINT{x, y}) && checkedAt(x, y) == c.from;
                    ASSERT_EQ(pixel(image.Get(), x, y), changes ? green : checkedAt(x, y)) << x << ", " << y;
                }
        }
        EXPECT_TRUE(noObjectsLeft());
    }
    // On a monochrome image both ways.
    for (COLORREF from : {black, white}) {
        auto image = surface(6, 1, true);
        fill(image.Get(), RECT{0, 0, 3, 1}, black);
        ASSERT_EQ(effectsOn(image.Get())->ReplaceColor(from, from ^ 0xFFFFFF, 0, 0, 0, 0), S_OK);
        EXPECT_EQ(pixels(image.Get()), std::vector<COLORREF>(6, from ^ 0xFFFFFF));
    }
}

TEST(ReplaceColor, RaisesInvalidBoundariesItselfWhileReplaceColorExLetsTheMaskRaiseIt) {
    auto image = checked();
    auto effects = effectsOn(image.Get());
    auto other = surface(W, H);
    for (const RECT& r : {RECT{-1, 0, 0, 0}, RECT{0, -1, 0, 0}, RECT{0, 0, -1, 0}, RECT{0, 0, 0, -1},
                          RECT{10, 10, 10, 20}, RECT{10, 10, 20, 10}, RECT{30, 0, 20, 0}}) {
        EXPECT_RAISED(errorOf(effects->ReplaceColor(red, green, r.left, r.top, r.right, r.bottom)), 12346,
                      L"DCEffectDrawing.ReplaceColor()", boundaries);
        EXPECT_RAISED(errorOf(effects->ReplaceColorEx(red, other.Get(), r.left, r.top, r.right, r.bottom, 0, 0)), 12346,
                      L"DCEffectDrawing.GetMaskBitmap()", boundaries);
    }
    EXPECT_EQ(errorOf(effects->ReplaceColorEx(red, other.Get(), 0, 0, 0, 0, -1, 0)).source, L"DCEffectDrawing.ApplyMask()");
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(pixel(image.Get(), x, y), checkedAt(x, y));
}

TEST(ReplaceColorEx, TakesThePixelsOfTheOtherSurfaceFromTheReplacementOrigin) {
    auto pattern = surface(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) SetPixelV(dcOf(pattern.Get()), x, y, RGB(x * 5, 100, y * 5));
    auto image = checked();
    ASSERT_EQ(effectsOn(image.Get())->ReplaceColorEx(red, pattern.Get(), 0, 0, 0, 0, 5, 5), S_OK);
    for (int y = 0; y < H - 5; ++y)
        for (int x = 0; x < W - 5; ++x)
            ASSERT_EQ(pixel(image.Get(), x, y), checkedAt(x, y) == red ? RGB((x + 5) * 5, 100, (y + 5) * 5) : checkedAt(x, y));
}
