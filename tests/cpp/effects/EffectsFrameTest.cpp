// The effects object and its simple members. Failing platform calls often
// leave the thread's last error as it was, so tests clear it first: a stale
// code without a system text would turn a library error into error 5.

#include "Effects.h"

#include <ocidl.h>

using namespace test;

namespace {
constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), blue = RGB(0, 0, 255);
}

TEST(EffectsObject, IsMadeOnceNamesItsEventsAndNeitherKeepsNorNeedsItsHub) {
    {
        auto image = surface(4, 4);
        auto hub = attach(image.Get());
        ComPtr<_DCEffectDrawing> first, second;
        ASSERT_EQ(hub->get_Effects(&first), S_OK);
        ASSERT_EQ(hub->get_Effects(&second), S_OK);
        EXPECT_EQ(first, second);
        ComPtr<IProvideClassInfo2> info;
        GUID events{};
        ASSERT_EQ(first.As(&info), S_OK);
        EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
        EXPECT_TRUE(IsEqualGUID(events, DIID___DCEffectDrawing));

        auto orphan = orphanedEffects();  // its hub and surface are gone
        DCStrechMode mode{};
        SetLastError(0);
        expectLibraryError(orphan->get_StretchMode(&mode), L"DCEffectDrawing.StretchMode [get]", L"GetStretchMode failed!");
        SetLastError(0);
        expectLibraryError(orphan->put_StretchMode(dcStretchHalfTone), L"DCEffectDrawing.StretchMode [let]",
                           L"SetStretchMode failed!");
        // TileArea reports a failed transfer as an invalid argument.
        EXPECT_EQ(errorOf(orphan->TileArea(0, 0, 8, 8, handleOf(dcOf(image.Get())), 0, 0, dcBitSrcCopy)).number, 5);
    }
    EXPECT_TRUE(noObjectsLeft());
}

TEST(StretchTo, TakesTheSecondCornersAsSizes) {
    auto image = coordinates(20, 10);
    auto target = surface(60, 40);
    auto effects = effectsOn(image.Get());
    EXPECT_EQ(effects->StretchTo(handleOf(dcOf(target.Get())), 5, 5, 40, 20, 0, 0, 20, 10, dcBitSrcCopy), S_OK);
    EXPECT_EQ(pixel(target.Get(), 5, 5), coordinate(0, 0));
    EXPECT_EQ(pixel(target.Get(), 44, 24), coordinate(19, 9));
    EXPECT_EQ(pixel(target.Get(), 45, 25), black);
    SetLastError(0);
    expectLibraryError(effects->StretchTo(12345, 0, 0, 4, 4, 0, 0, 4, 4, dcBitSrcCopy), L"DCEffectDrawing.StretchTo()",
                       L"StretchBlt failed!");
}

TEST(TileArea, LaysTilesOnAGridAnchoredAtTheOriginAndCutAtTheFarEdges) {
    struct Case {
        long X1, Y1, X2, Y2, SrcWidth, SrcHeight;
    };
    // The source is 10 x 10; a size of 0 takes the source bitmap's.
    const Case cases[] = {{3, 3, 7, 7, 10, 10}, {8, 0, 12, 5, 10, 10}, {5, 0, 32, 3, 10, 10},
                          {0, 0, 25, 25, 0, 0}, {2, 3, 30, 31, 4, 6},  {10, 0, 10, 20, 0, 0}};
    auto source = coordinates(10, 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X1 << ", " << c.Y1 << ", " << c.X2 << ", " << c.Y2);
        auto image = surface(40, 40);
        ASSERT_EQ(effectsOn(image.Get())->TileArea(c.X1, c.Y1, c.X2, c.Y2, handleOf(dcOf(source.Get())), c.SrcWidth,
                                                   c.SrcHeight, dcBitSrcCopy),
                  S_OK);
        const int W = c.SrcWidth ? c.SrcWidth : 10, H = c.SrcHeight ? c.SrcHeight : 10;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(pixel(image.Get(), x, y),
                          x >= c.X1 && x < c.X2 && y >= c.Y1 && y < c.Y2 ? coordinate(x % W, y % H) : black);
    }
    // No device context, or a tile that would not advance: refused, nothing drawn.
    auto image = surface(20, 20);
    auto effects = effectsOn(image.Get());
    OLE_HANDLE bitmap = 0;
    source->get_hBitmap(&bitmap);
    const OLE_HANDLE dc = handleOf(dcOf(source.Get()));
    EXPECT_EQ(errorOf(effects->TileArea(0, 0, 20, 20, bitmap, 0, 0, dcBitSrcCopy)).number, 5);
    EXPECT_EQ(errorOf(effects->TileArea(0, 0, 20, 20, dc, -2, 0, dcBitSrcCopy)).number, 5);
    EXPECT_EQ(errorOf(effects->TileArea(0, 0, 20, 20, dc, 0, -1, dcBitSrcCopy)).number, 5);
    EXPECT_EQ(pixels(image.Get()), std::vector<COLORREF>(400, black));
}

TEST(InvertArea, InvertsTheRectangleTwiceRestoresAndBadEdgesTouchNothing) {
    const RECT cases[][2] = {// given (0: the far edge), inverted
                             {{0, 0, 0, 0}, {0, 0, 12, 8}},
                             {{5, 5, 0, 0}, {5, 5, 12, 8}},
                             {{0, 3, 6, 0}, {0, 3, 6, 8}},
                             {{2, 1, 4, 7}, {2, 1, 4, 7}}};
    auto image = coordinates(12, 8);
    const auto original = pixels(image.Get());
    auto effects = effectsOn(image.Get());
    for (const auto& c : cases) {
        ASSERT_EQ(effects->InvertArea(c[0].left, c[0].top, c[0].right, c[0].bottom), S_OK);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 12; ++x)
                ASSERT_EQ(pixel(image.Get(), x, y), coordinate(x, y) ^ (PtInRect(&c[1], POINT{x, y}) ? 0xFFFFFF : 0));
        ASSERT_EQ(effects->InvertArea(c[0].left, c[0].top, c[0].right, c[0].bottom), S_OK);
        ASSERT_EQ(pixels(image.Get()), original);
    }
    for (const RECT& r : {RECT{-1, 0, 0, 0}, RECT{0, -1, 0, 0}, RECT{5, 5, 2, 10}, RECT{5, 5, 10, 2}})
        EXPECT_RAISED(errorOf(effects->InvertArea(r.left, r.top, r.right, r.bottom)), 12346,
                      L"DCEffectDrawing.InvertArea()", L"Invalid boundaries!");
    EXPECT_EQ(pixels(image.Get()), original);
}

TEST(FloodFill, FillsTheFoundColoursAreaOrUpToABorderWithTheSelectedBrush) {
    // A white frame around (6, 6)-(13, 13) on black; a blue brush selected.
    auto frame = [] {
        auto image = surface(20, 20);
        fill(image.Get(), RECT{5, 5, 15, 15}, white);
        fill(image.Get(), RECT{6, 6, 14, 14}, black);
        ComPtr<_GDIBrush> brush;
        EXPECT_EQ(vellum()->CreateBrushObject(blue, 0, 0, &brush), S_OK);
        EXPECT_EQ(image->putref_SelBrush(brush.Get()), S_OK);
        return image;
    };
    auto inside = frame(), outside = frame();
    auto effects = effectsOn(inside.Get());
    EXPECT_EQ(effects->FloodFill(10, 10, -1, dcFloodFillSurface), S_OK);
    EXPECT_EQ(effectsOn(outside.Get())->FloodFill(1, 1, white, dcFloodFillBorder), S_OK);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool in = x >= 6 && x < 14 && y >= 6 && y < 14, onFrame = x >= 5 && x < 15 && y >= 5 && y < 15 && !in;
            ASSERT_EQ(pixel(inside.Get(), x, y), in ? blue : onFrame ? white : black);
            ASSERT_EQ(pixel(outside.Get(), x, y), in ? black : onFrame ? white : blue);
        }
    SetLastError(0);  // outside the bitmap there is no colour to fill
    expectLibraryError(effects->FloodFill(100, 100, -1, dcFloodFillSurface), L"DCEffectDrawing.FloodFill()",
                       L"ExtFloodFill failed!");
}

TEST(InvertEx, InvertsTheRegionOnly) {
    auto image = coordinates(10, 10);
    auto effects = effectsOn(image.Get());
    ComPtr<_GDIRegion> region;
    ASSERT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    ASSERT_EQ(region->CreateRect(2, 3, 6, 5), S_OK);
    EXPECT_EQ(effects->InvertEx(region.Get()), S_OK);
    const RECT shape{2, 3, 6, 5};
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(pixel(image.Get(), x, y), coordinate(x, y) ^ (PtInRect(&shape, POINT{x, y}) ? 0xFFFFFF : 0));
    EXPECT_EQ(errorOf(effects->InvertEx(nullptr)).number, 5);
    ASSERT_EQ(region->Delete(), S_OK);
    SetLastError(0);
    expectLibraryError(effects->InvertEx(region.Get()), L"DCEffectDrawing.InvertEx()", L"InvertEx failed!");
}
