// The hub's DrawTo and CaptureFrom with a transparent colour.

#include "Effects.h"

using namespace test;

namespace {

constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0), green = RGB(0, 255, 0);

// A 10 x 10 sprite: a red square (2..6) and a green row (8) on black.
COLORREF spriteAt(int x, int y) { return x >= 2 && x < 7 && y >= 2 && y < 7 ? red : y == 8 ? green : black; }
ComPtr<_GDIDC> sprite() {
    auto image = surface(10, 10);
    fill(image.Get(), RECT{2, 2, 7, 7}, red);
    fill(image.Get(), RECT{0, 8, 10, 9}, green);
    return image;
}

}  // namespace

TEST(TransparentDrawTo, KeepsTheDestinationWhereTheImageHasTheColourWhateverTheOperation) {
    struct Case {
        long transparent;
        DCRasterOperations operation;
        COLORREF (*combine)(COLORREF image, COLORREF destination);
    };
    const Case cases[] = {
        {0, dcBitSrcCopy, [](COLORREF s, COLORREF) { return s; }},
        {long(green), dcBitSrcCopy, [](COLORREF s, COLORREF) { return s; }},
        {-1, dcBitSrcCopy, [](COLORREF s, COLORREF) { return s; }},  // none
        {0, dcBitSrcInvert, [](COLORREF s, COLORREF d) { return s ^ d; }},
        {0, dcBitSrcAnd, [](COLORREF s, COLORREF d) { return s & d; }},
        {0, dcBitNotSrcCopy, [](COLORREF s, COLORREF) { return ~s & 0xFFFFFF; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.transparent << " " << c.operation);
        {
            auto image = sprite();
            auto destination = coordinates(20, 20);
            ASSERT_EQ(attach(image.Get())->DrawTo(handleOf(dcOf(destination.Get())), 5, 6, 0, 0, 0, 0, c.operation,
                                                  c.transparent),
                      S_OK);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    const bool covered = x >= 5 && x < 15 && y >= 6 && y < 16;
                    const COLORREF drawn = covered ? spriteAt(x - 5, y - 6) : 0;
                    const bool shows = covered && drawn != COLORREF(c.transparent);
                    ASSERT_EQ(pixel(destination.Get(), x, y), shows ? c.combine(drawn, coordinate(x, y)) : coordinate(x, y));
                }
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 10; ++x) ASSERT_EQ(pixel(image.Get(), x, y), spriteAt(x, y));
        }
        EXPECT_TRUE(noObjectsLeft());
    }
}

TEST(TransparentDrawTo, TakesItsPartFromTheSourceOriginAndWorksInMonochrome) {
    auto image = sprite();
    auto destination = surface(10, 10);
    fill(destination.Get(), white);
    // 4 x 4 from (4, 4): red at (0..2, 0..2) of it, black elsewhere.
    ASSERT_EQ(attach(image.Get())->DrawTo(handleOf(dcOf(destination.Get())), 1, 1, 5, 5, 4, 4, dcBitSrcCopy, 0), S_OK);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(pixel(destination.Get(), x, y), x >= 1 && x < 4 && y >= 1 && y < 4 ? red : white);

    auto mono = surface(8, 1, true);  // black at 0..3
    fill(mono.Get(), RECT{0, 0, 4, 1}, black);
    for (COLORREF transparent : {black, white}) {
        auto target = surface(8, 1, true);  // black at 0, 1, 4, 5
        fill(target.Get(), RECT{0, 0, 2, 1}, black);
        fill(target.Get(), RECT{4, 0, 6, 1}, black);
        ASSERT_EQ(attach(mono.Get())->DrawTo(handleOf(dcOf(target.Get())), 0, 0, 0, 0, 0, 0, dcBitSrcCopy, long(transparent)), S_OK);
        const COLORREF w = white, b = black;
        const std::vector<COLORREF> expected = transparent == black ? std::vector<COLORREF>{b, b, w, w, w, w, w, w}
                                                                    : std::vector<COLORREF>{b, b, b, b, b, b, w, w};
        EXPECT_EQ(pixels(target.Get()), expected);
    }
}

TEST(TransparentCaptureFrom, KeepsThisSurfaceWhereTheSourceHasTheColourAndTakesOnlySrcCopy) {
    for (long transparent : {0L, long(red)}) {
        {
            auto source = sprite();
            auto image = coordinates(20, 20);
            auto hub = attach(image.Get());
            ASSERT_EQ(hub->CaptureFrom(handleOf(dcOf(source.Get())), 1, 1, 9, 10, 3, 4, dcBitSrcCopy, transparent), S_OK);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x) {
                    const bool covered = x >= 3 && x < 11 && y >= 4 && y < 13;
                    const COLORREF captured = covered ? spriteAt(x - 2, y - 3) : 0;
                    ASSERT_EQ(pixel(image.Get(), x, y),
                              covered && captured != COLORREF(transparent) ? captured : coordinate(x, y));
                }
        }
        EXPECT_TRUE(noObjectsLeft());
    }
    auto source = sprite();
    auto image = coordinates(12, 12);
    auto hub = attach(image.Get());
    const OLE_HANDLE from = handleOf(dcOf(source.Get()));
    for (long operation : {long(dcBitSrcInvert), long(dcBitSrcAnd), long(dcBitSrcCopy | dcBitNoMirrorBmp)})
        EXPECT_EQ(errorOf(hub->CaptureFrom(from, 0, 0, 10, 10, 0, 0, DCRasterOperations(operation), 0)).number, 5);
    // The transparent pixels come from this surface at (DestX, DestY) on.
    EXPECT_EQ(errorOf(hub->CaptureFrom(from, 0, 0, 10, 10, -1, 0, dcBitSrcCopy, 0)).source, L"DCEffectDrawing.ApplyMask()");
    EXPECT_EQ(pixels(image.Get()), pixels(coordinates(12, 12).Get()));
}
