// Masks from one colour, and their application with replacement pixels.

#include "Effects.h"

using namespace test;

namespace {

constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
constexpr int W = 8, H = 6;

bool isRed(int x, int y) { return (x + 2 * y) % 3 == 0; }
COLORREF spottedAt(int x, int y) { return isRed(x, y) ? red : coordinate(x, y); }

// Coordinates with red on every third pixel; odd background and text colours.
ComPtr<_GDIDC> spotted() {
    auto image = coordinates(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) SetPixelV(dcOf(image.Get()), x, y, spottedAt(x, y));
    SetBkColor(dcOf(image.Get()), RGB(10, 20, 30));
    SetTextColor(dcOf(image.Get()), RGB(200, 0, 0));
    return image;
}

ComPtr<_GDIDC> maskOf(_DCEffectDrawing* effects, OLE_COLOR colour, RECT r = {}, bool invert = false) {
    ComPtr<_GDIDC> mask;
    long top = r.top;
    EXPECT_EQ(effects->GetMaskBitmap(colour, r.left, &top, r.right, r.bottom, invert ? VARIANT_TRUE : VARIANT_FALSE,
                                     &mask),
              S_OK);
    return mask;
}

}  // namespace

TEST(GetMaskBitmap, IsWhiteExactlyWhereTheRectangleHasTheColourOrTheReverse) {
    auto image = spotted();
    auto effects = effectsOn(image.Get());
    for (const RECT& r : {RECT{0, 0, 0, 0}, RECT{2, 1, 6, 5}, RECT{3, 2, 0, 0}})
        for (bool invert : {false, true}) {
            auto mask = maskOf(effects.Get(), red, r, invert);
            const long right = r.right ? r.right : W, bottom = r.bottom ? r.bottom : H;
            std::vector<COLORREF> expected;
            for (int y = r.top; y < bottom; ++y)
                for (int x = r.left; x < right; ++x) expected.push_back(isRed(x, y) != invert ? white : black);
            ASSERT_EQ(pixels(mask.Get()), expected);
            long width = 0;
            mask->get_Width(&width);
            ASSERT_EQ(width, right - r.left);
        }
    EXPECT_EQ(GetBkColor(dcOf(image.Get())), RGB(10, 20, 30));

    for (const RECT& r : {RECT{-1, 0, 0, 0}, RECT{0, -1, 0, 0}, RECT{0, 0, -1, 0}, RECT{0, 0, 0, -1},
                          RECT{5, 0, 5, 4}, RECT{5, 0, 3, 0}, RECT{0, 4, 0, 2}, RECT{W, 0, 0, 0}}) {
        long top = r.top;
        ComPtr<_GDIDC> mask;
        EXPECT_RAISED(errorOf(effects->GetMaskBitmap(red, r.left, &top, r.right, r.bottom, VARIANT_FALSE, &mask)),
                      12346, L"DCEffectDrawing.GetMaskBitmap()", L"Invalid boundaries!");
        EXPECT_EQ(mask, nullptr);
        EXPECT_EQ(top, r.top);
    }
}

TEST(GetMaskBitmap, OnAMonochromeImageMatchesItsWhiteOrItsBlackAndNothingElse) {
    auto image = surface(4, 1, true);
    fill(image.Get(), RECT{0, 0, 2, 1}, black);
    auto effects = effectsOn(image.Get());
    const std::vector<COLORREF> left{white, white, black, black}, right{black, black, white, white};
    EXPECT_EQ(pixels(maskOf(effects.Get(), black).Get()), left);
    EXPECT_EQ(pixels(maskOf(effects.Get(), black, {}, true).Get()), right);
    EXPECT_EQ(pixels(maskOf(effects.Get(), white).Get()), right);
    EXPECT_EQ(pixels(maskOf(effects.Get(), white, {}, true).Get()), left);
    EXPECT_EQ(pixels(maskOf(effects.Get(), red).Get()), std::vector<COLORREF>(4, black));
    EXPECT_EQ(pixels(maskOf(effects.Get(), red, {}, true).Get()), std::vector<COLORREF>(4, white));
}

TEST(ApplyMask, ReplacesThePixelsUnderWhiteWithTheShiftedReplacementAndRestoresTheColours) {
    {
        auto replacement = surface(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) SetPixelV(dcOf(replacement.Get()), x, y, RGB(0, 100 + 10 * x, 100 + 10 * y));
        for (POINT d : {POINT{0, 0}, POINT{-2, 1}, POINT{3, -1}})
            for (POINT r : {POINT{0, 0}, POINT{1, 2}}) {
                SCOPED_TRACE(testing::Message() << d.x << ", " << d.y << " from " << r.x << ", " << r.y);
                auto image = spotted();
                auto effects = effectsOn(image.Get());
                auto mask = maskOf(effects.Get(), red);
                ASSERT_EQ(effects->ApplyMask(mask.Get(), replacement.Get(), d.x, d.y, r.x, r.y), S_OK);
                for (int y = 0; y < H; ++y)
                    for (int x = 0; x < W; ++x) {
                        // Image pixel (x, y) lies under mask pixel (mx, my).
                        const int mx = x - d.x, my = y - d.y, rx = mx + r.x, ry = my + r.y;
                        if (mx < 0 || mx >= W || my < 0 || my >= H || !isRed(mx, my)) {
                            ASSERT_EQ(pixel(image.Get(), x, y), spottedAt(x, y)) << x << ", " << y;
                        } else if (rx < W && ry < H) {
                            ASSERT_EQ(pixel(image.Get(), x, y), pixel(replacement.Get(), rx, ry)) << x << ", " << y;
                        }
                    }
                EXPECT_EQ(GetBkColor(dcOf(image.Get())), RGB(10, 20, 30));
                EXPECT_EQ(GetTextColor(dcOf(image.Get())), RGB(200, 0, 0));
            }
    }
    EXPECT_TRUE(noObjectsLeft());
}

TEST(ApplyMask, RefusesANegativeReplacementOriginAndMissingSurfacesBeforeDrawing) {
    auto image = spotted();
    auto effects = effectsOn(image.Get());
    auto mask = maskOf(effects.Get(), red);
    auto replacement = surface(W, H);
    for (POINT origin : {POINT{-1, 0}, POINT{0, -1}}) {
        SetLastError(ERROR_INVALID_HANDLE);  // a stale code is not the cause: none is reported
        EXPECT_RAISED(errorOf(effects->ApplyMask(mask.Get(), replacement.Get(), 0, 0, origin.x, origin.y)), 10000,
                      L"DCEffectDrawing.ApplyMask()",
                      L"Invalid boundaries!; Unexpected Error\r\nError source: DCEffectDrawing.ApplyMask()");
    }
    EXPECT_EQ(errorOf(effects->ApplyMask(nullptr, replacement.Get(), 0, 0, 0, 0)).number, 5);
    EXPECT_EQ(errorOf(effects->ApplyMask(mask.Get(), nullptr, 0, 0, 0, 0)).number, 5);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) ASSERT_EQ(pixel(image.Get(), x, y), spottedAt(x, y));
}
