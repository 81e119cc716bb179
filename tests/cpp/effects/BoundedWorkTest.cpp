// Huge rectangles from a caller: the work is bounded by the image, and what
// can be seen is what the whole rectangle would have given.

#include "Effects.h"

using namespace test;

TEST(BoundedWork, TransparentTransfersCopyOnlyWhatOverlapsBothSurfaces) {
    // A monochrome image, black on its left half, and a huge rectangle.
    auto mono = surface(8, 4, true);
    fill(mono.Get(), RECT{0, 0, 4, 4}, black);
    auto target = painted(16, 8, [](int, int) { return red; });
    ASSERT_EQ(attach(mono.Get())->DrawTo(hDCOf(target.Get()), 0, 0, 84476037, 185, 0, 0, dcBitSrcCopy, 257), S_OK);
    EXPECT_EQ(pixels(target.Get()), expected(16, 8, [](int x, int y) {
                  return x >= 8 || y >= 4 ? red : x < 4 ? black : white;
              }));

    auto source = painted(6, 5);
    auto image = painted(10, 10, [](int, int) { return green; });
    ASSERT_EQ(attach(image.Get())->CaptureFrom(hDCOf(source.Get()), 1, 1, 2147483647, 2147483647, 2, 3, dcBitSrcCopy,
                                                long(coordinate(1, 1))),
              S_OK);
    EXPECT_EQ(pixels(image.Get()), expected(10, 10, [](int x, int y) {
                  const bool covered = x >= 2 && x < 7 && y >= 3 && y < 7 && !(x == 2 && y == 3);
                  return covered ? coordinate(x - 1, y - 2) : green;
              }));
}

TEST(BoundedWork, GradientsOverHugeRectanglesDrawOnlyTheStrokesOnTheImage) {
    struct Case { long X1, Y1, X2, Y2; VARIANT_BOOL horizontal; COLORREF seen; };
    const Case cases[] = {
        {0, 0, 2147483647, 10, VARIANT_TRUE, red},   // the image lies at the end of the run: the end colour
        {0, -2147483647, 64, 48, VARIANT_FALSE, black},  // at its start: the start colour
    };
    for (const Case& c : cases) {
        auto image = painted(64, 48, [](int, int) { return white; });
        ASSERT_EQ(effectsOn(image.Get())->GradientFill(c.X1, c.Y1, c.X2, c.Y2, black, red, 1, c.horizontal), S_OK);
        EXPECT_EQ(pixels(image.Get()), expected(64, 48, [&](int, int y) { return y < c.Y2 ? c.seen : white; }));
    }
}
