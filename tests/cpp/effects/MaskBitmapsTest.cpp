// Masks from one colour, their application with replacement pixels, and the
// colour replacement built on both.

#include "Effects.h"

using namespace test;

namespace {

constexpr int W = spottedW, H = spottedH;

ComPtr<_GDIDC> maskOf(_DCEffectDrawing* effects, OLE_COLOR colour, RECT r = {}, bool invert = false) {
    ComPtr<_GDIDC> mask;
    long top = r.top;
    EXPECT_EQ(effects->GetMaskBitmap(colour, r.left, &top, r.right, r.bottom, invert ? VARIANT_TRUE : VARIANT_FALSE,
                                     &mask),
              S_OK);
    return mask;
}

}  // namespace

// A monochrome image has no colours to convert through, only its set and
// clear bits: its white or its black matches, no other colour.
TEST(GetMaskBitmap, OnAMonochromeImageMatchesItsWhiteOrItsBlackAndNothingElse) {
    auto image = surface(4, 1, true);  // black at 0 and 1, white at 2 and 3
    fill(image.Get(), RECT{0, 0, 2, 1}, black);
    auto effects = effectsOn(image.Get());
    const std::vector<COLORREF> left{white, white, black, black}, right{black, black, white, white};
    const std::vector<COLORREF> none(4, black), all(4, white);
    const struct { COLORREF colour; bool invert; const std::vector<COLORREF>& mask; } cases[] = {
        {black, false, left}, {black, true, right}, {white, false, right},
        {white, true, left},  {red, false, none},   {red, true, all}};
    for (const auto& c : cases) EXPECT_EQ(pixels(maskOf(effects.Get(), c.colour, {}, c.invert).Get()), c.mask);
}

// ReplaceColorEx is a mask of its rectangle applied at that rectangle: over
// the whole image it does what ApplyMask does at (0, 0).
TEST(ApplyMask, ReplacesThePixelsUnderWhiteWithTheShiftedReplacementAndRestoresTheColours) {
    auto replacement = painted(W, H, [](int x, int y) { return RGB(0, 100 + 10 * x, 100 + 10 * y); });
    const struct { POINT d, r; bool ex; } cases[] = {
        {{0, 0}, {0, 0}, false}, {{-2, 1}, {0, 0}, false}, {{3, -1}, {0, 0}, false}, {{0, 0}, {1, 2}, false},
        {{-2, 1}, {1, 2}, false}, {{3, -1}, {1, 2}, false}, {{0, 0}, {1, 2}, true}};
    for (const auto& [d, r, ex] : cases) {
        SCOPED_TRACE(testing::Message() << d.x << ", " << d.y << " from " << r.x << ", " << r.y << " ex " << ex);
        auto image = spotted();
        auto effects = effectsOn(image.Get());
        ASSERT_EQ(ex ? effects->ReplaceColorEx(red, replacement.Get(), 0, 0, 0, 0, r.x, r.y)
                     : effects->ApplyMask(maskOf(effects.Get(), red).Get(), replacement.Get(), d.x, d.y, r.x, r.y),
                  S_OK);
        EXPECT_EQ(pixels(image.Get()), expected(W, H, [&](int x, int y) {
                      // Image pixel (x, y) lies under mask pixel (mx, my); past
                      // the replacement's edge the platform decides.
                      const int mx = x - d.x, my = y - d.y, rx = mx + r.x, ry = my + r.y;
                      if (mx < 0 || mx >= W || my < 0 || my >= H || !isRed(mx, my)) return spottedAt(x, y);
                      return rx < W && ry < H ? pixel(replacement.Get(), rx, ry) : pixel(image.Get(), x, y);
                  }));
        // The odd colours were not used, and they are put back.
        EXPECT_EQ(GetBkColor(dcOf(image.Get())), RGB(10, 20, 30));
        EXPECT_EQ(GetTextColor(dcOf(image.Get())), RGB(200, 0, 0));
    }
}

TEST(ReplaceColor, ChangesTheColourOnlyInsideTheRectangle) {
    for (const RECT& r : {RECT{2, 1, 6, 5}, RECT{3, 2, 0, 0}}) {  // 0: the far edge
        auto image = spotted();
        ASSERT_EQ(effectsOn(image.Get())->ReplaceColor(red, green, r.left, r.top, r.right, r.bottom), S_OK);
        const RECT affected{r.left, r.top, r.right ? r.right : W, r.bottom ? r.bottom : H};
        EXPECT_EQ(pixels(image.Get()), expected(W, H, [&](int x, int y) {
                      return isRed(x, y) && PtInRect(&affected, POINT{x, y}) ? green : spottedAt(x, y);
                  }));
    }
}
