// The hub's DrawTo and CaptureFrom with a transparent colour.

#include "Effects.h"

using namespace test;

namespace {

// A 10 x 10 sprite: a red square (2..6) and a green row (8) on black.
COLORREF spriteAt(int x, int y) { return x >= 2 && x < 7 && y >= 2 && y < 7 ? red : y == 8 ? green : black; }

}  // namespace

TEST(TransparentDrawTo, KeepsTheDestinationWhereTheImageHasTheColourWhateverTheOperation) {
    struct Case { long transparent; DCRasterOperations operation; COLORREF (*combine)(COLORREF image, COLORREF under); };
    const Case cases[] = {
        {0, dcBitSrcCopy, [](COLORREF s, COLORREF) { return s; }},  // black is a colour like any other
        {long(green), dcBitSrcCopy, [](COLORREF s, COLORREF) { return s; }},
        {-1, dcBitSrcCopy, [](COLORREF s, COLORREF) { return s; }},  // none
        {0, dcBitSrcInvert, [](COLORREF s, COLORREF d) { return s ^ d; }},
        {0, dcBitSrcAnd, [](COLORREF s, COLORREF d) { return s & d; }},
        {0, dcBitNotSrcCopy, [](COLORREF s, COLORREF) { return ~s & 0xFFFFFF; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.transparent << " " << c.operation);
        auto image = painted(10, 10, spriteAt);
        auto destination = painted(20, 20);
        // Partly left of the destination: its first three columns are cut off.
        ASSERT_EQ(attach(image.Get())->DrawTo(hDCOf(destination.Get()), -3, 6, 0, 0, 0, 0, c.operation, c.transparent),
                  S_OK);
        EXPECT_EQ(pixels(destination.Get()), expected(20, 20, [&](int x, int y) {
                      const bool covered = x < 7 && y >= 6 && y < 16;
                      const COLORREF drawn = covered ? spriteAt(x + 3, y - 6) : 0;
                      return covered && drawn != COLORREF(c.transparent) ? c.combine(drawn, coordinate(x, y))
                                                                         : coordinate(x, y);
                  }));
        EXPECT_EQ(pixels(image.Get()), expected(10, 10, spriteAt));
    }
}

// The transparent colour is an RGB value: a pixel with its unused top byte
// set (WHITENESS sets it on some platforms) has the colour all the same.
TEST(TransparentDrawTo, MatchesTheColourWhateverTheTopByteOfThePixel) {
    auto image = painted(4, 1, [](int x, int) { return x < 2 ? white : red; });
    GdiFlush();
    DWORD* bits = bitsOf(image.Get());
    bits[0] |= 0xFF000000;
    bits[2] |= 0x01000000;
    auto destination = painted(4, 1, [](int, int) { return green; });
    ASSERT_EQ(attach(image.Get())->DrawTo(hDCOf(destination.Get()), 0, 0, 0, 0, 0, 0, dcBitSrcCopy, long(white)), S_OK);
    EXPECT_EQ(pixels(destination.Get()), (std::vector<COLORREF>{green, green, red, red}));
}

TEST(TransparentCaptureFrom, KeepsThisSurfaceWhereTheSourceHasTheColourAndTakesOnlySrcCopy) {
    for (long transparent : {0L, long(red)}) {
        auto source = painted(10, 10, spriteAt);
        auto image = painted(20, 20);
        ASSERT_EQ(attach(image.Get())->CaptureFrom(hDCOf(source.Get()), 1, 1, 9, 10, 3, 4, dcBitSrcCopy, transparent),
                  S_OK);
        EXPECT_EQ(pixels(image.Get()), expected(20, 20, [&](int x, int y) {
                      const bool covered = x >= 3 && x < 11 && y >= 4 && y < 13;
                      const COLORREF captured = covered ? spriteAt(x - 2, y - 3) : 0;
                      return covered && captured != COLORREF(transparent) ? captured : coordinate(x, y);
                  }));
    }
    auto source = painted(10, 10, spriteAt);
    auto image = painted(12, 12);
    auto hub = attach(image.Get());
    for (long operation : {long(dcBitSrcInvert), long(dcBitSrcAnd), long(dcBitSrcCopy | dcBitNoMirrorBmp)})
        EXPECT_RAISED(errorOf(hub->CaptureFrom(hDCOf(source.Get()), 0, 0, 10, 10, 0, 0, DCRasterOperations(operation), 0)),
                      5, L"Kolorit", L"Invalid procedure call or argument");
    EXPECT_EQ(pixels(image.Get()), expected(12, 12, coordinate));
}
