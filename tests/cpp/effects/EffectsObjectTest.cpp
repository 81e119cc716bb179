// The effects object, its simple members, and the errors its members raise.

#include "Effects.h"

using namespace test;

namespace {

ComPtr<_GDIRegion> rectangle(long X1, long Y1, long X2, long Y2) {
    ComPtr<_GDIRegion> region;
    EXPECT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    EXPECT_EQ(region->CreateRect(X1, Y1, X2, Y2), S_OK);
    return region;
}

}  // namespace

TEST(EffectsObject, IsMadeOnceAndNamesItsEvents) {
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
    }
    EXPECT_TRUE(noObjectsLeft());
}

TEST(TileArea, LaysTilesOnAGridAnchoredAtTheOriginAndCutsThemAtTheFarEdges) {
    struct Case { long X1, Y1, X2, Y2, SrcWidth, SrcHeight; };
    // The source is 10 x 10; a size of 0 takes the source bitmap's.
    const Case cases[] = {{3, 3, 7, 7, 10, 10}, {8, 0, 12, 5, 10, 10}, {5, 0, 32, 3, 10, 10},
                          {0, 0, 25, 25, 0, 0}, {2, 3, 30, 31, 4, 6},  {10, 0, 10, 20, 0, 0}};
    auto source = painted(10, 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X1 << ", " << c.Y1 << ", " << c.X2 << ", " << c.Y2);
        auto image = surface(40, 40);
        ASSERT_EQ(effectsOn(image.Get())->TileArea(c.X1, c.Y1, c.X2, c.Y2, hDCOf(source.Get()), c.SrcWidth,
                                                   c.SrcHeight, dcBitSrcCopy),
                  S_OK);
        const int W = c.SrcWidth ? c.SrcWidth : 10, H = c.SrcHeight ? c.SrcHeight : 10;
        EXPECT_EQ(pixels(image.Get()), expected(40, 40, [&](int x, int y) {
                      return x >= c.X1 && x < c.X2 && y >= c.Y1 && y < c.Y2 ? coordinate(x % W, y % H) : black;
                  }));
    }
}

// The effects that move or invert pixels in place, on a 7 x 5 image.
TEST(InPlaceEffects, InvertTheirAreaOrReverseTheImageExactly) {
    auto region = rectangle(2, 3, 6, 5);
    const auto inverted = [](RECT r) {
        return [r](int x, int y) { return coordinate(x, y) ^ (PtInRect(&r, POINT{x, y}) ? 0xFFFFFF : 0); };
    };
    using Colours = std::function<COLORREF(int, int)>;
    const struct { std::function<HRESULT(_DCEffectDrawing*)> run; Colours expected; } cases[] = {
        {[](_DCEffectDrawing* e) { return e->InvertArea(0, 0, 0, 0); }, inverted({0, 0, 7, 5})},  // 0: the far edge
        {[](_DCEffectDrawing* e) { return e->InvertArea(5, 3, 0, 0); }, inverted({5, 3, 7, 5})},
        {[](_DCEffectDrawing* e) { return e->InvertArea(0, 3, 6, 0); }, inverted({0, 3, 6, 5})},
        {[](_DCEffectDrawing* e) { return e->InvertArea(2, 1, 4, 4); }, inverted({2, 1, 4, 4})},
        {[&](_DCEffectDrawing* e) { return e->InvertEx(region.Get()); }, inverted({2, 3, 6, 5})},
        {[](_DCEffectDrawing* e) { return e->Mirror(); }, [](int x, int y) { return coordinate(6 - x, y); }},
        {[](_DCEffectDrawing* e) { return e->Flip(); }, [](int x, int y) { return coordinate(x, 4 - y); }},
        {[](_DCEffectDrawing* e) { return e->FlipMirror(); }, [](int x, int y) { return coordinate(6 - x, 4 - y); }},
    };
    for (const auto& c : cases) {
        auto image = painted(7, 5);
        SetStretchBltMode(dcOf(image.Get()), HALFTONE);  // a mode that blends may not blur the reversal
        ASSERT_EQ(c.run(effectsOn(image.Get()).Get()), S_OK);
        EXPECT_EQ(pixels(image.Get()), expected(7, 5, c.expected));
    }
}

TEST(FloodFill, FillsUpToABorderOrTheFoundColoursAreaWithTheSelectedBrush) {
    constexpr COLORREF blue = RGB(0, 0, 255);
    auto image = surface(20, 20);  // a white frame around (6, 6)-(13, 13) on black
    fill(image.Get(), RECT{5, 5, 15, 15}, white);
    fill(image.Get(), RECT{6, 6, 14, 14}, black);
    ComPtr<_GDIBrush> brush;
    ASSERT_EQ(vellum()->CreateBrushObject(blue, 0, 0, &brush), S_OK);
    ASSERT_EQ(image->putref_SelBrush(brush.Get()), S_OK);
    auto effects = effectsOn(image.Get());
    const auto expect = [&](COLORREF inside, COLORREF outside) {
        const RECT in{6, 6, 14, 14}, frame{5, 5, 15, 15};
        EXPECT_EQ(pixels(image.Get()), expected(20, 20, [&](int x, int y) {
                      return PtInRect(&in, POINT{x, y}) ? inside : PtInRect(&frame, POINT{x, y}) ? white : outside;
                  }));
    };
    ASSERT_EQ(effects->FloodFill(1, 1, white, dcFloodFillBorder), S_OK);
    expect(black, blue);
    ASSERT_EQ(effects->FloodFill(10, 10, -1, dcFloodFillSurface), S_OK);  // the colour found there: black
    expect(blue, blue);
}

// Failing platform calls often leave the thread's last error as it was, so
// each call starts with it cleared: a stale code without a system text would
// turn a library error into error 5.
TEST(Refusals, RaiseTheirOwnErrorsAndChangeNothing) {
    auto image = spotted();
    const auto original = pixels(image.Get());
    auto effects = effectsOn(image.Get());
    // The effects object of a surface that is gone: every platform call fails.
    auto gone = surface(4, 4);
    const HDC goneDC = dcOf(gone.Get());
    auto orphan = effectsOn(gone.Get());
    gone.Reset();
    ASSERT_FALSE(alive(goneDC)) << "the effects object kept its hub and surface alive";
    auto other = surface(spottedW, spottedH);
    const OLE_HANDLE otherDC = hDCOf(other.Get());
    OLE_HANDLE bitmap = 0;
    other->get_hBitmap(&bitmap);
    auto deleted = rectangle(0, 0, 4, 4);
    ASSERT_EQ(deleted->Delete(), S_OK);
    long top = 0;
    ComPtr<_GDIDC> mask;
    ASSERT_EQ(effects->GetMaskBitmap(red, 0, &top, 0, 0, VARIANT_FALSE, &mask), S_OK);
    DCStrechMode mode{};

    const wchar_t *kolorit = L"Kolorit", *invalid = L"Invalid procedure call or argument";
    const wchar_t *applyMask = L"DCEffectDrawing.ApplyMask()", *boundaries = L"Invalid boundaries!";
    // No platform call failed, so the stale code is no cause: none is reported.
    const wchar_t* noCause = L"Invalid boundaries!; Unexpected Error\r\nError source: DCEffectDrawing.ApplyMask()";
    // Number 0: a library error, its description starting with the text given.
    struct Refusal { std::function<HRESULT()> call; long number; std::wstring source, description; };
    const Refusal refusals[] = {
        {[&] { return orphan->get_StretchMode(&mode); }, 0, L"DCEffectDrawing.StretchMode [get]",
         L"GetStretchMode failed!"},
        {[&] { return orphan->Mirror(); }, 0, L"GetStructBitap()", L"Failed to get bitmap information"},
        {[&] { return effects->StretchTo(12345, 0, 0, 4, 4, 0, 0, 4, 4, dcBitSrcCopy); }, 0,
         L"DCEffectDrawing.StretchTo()", L"StretchBlt failed!"},
        {[&] { return effects->FloodFill(100, 100, -1, dcFloodFillSurface); }, 0, L"DCEffectDrawing.FloodFill()",
         L"ExtFloodFill failed!"},
        {[&] { return effects->InvertEx(deleted.Get()); }, 0, L"DCEffectDrawing.InvertEx()", L"InvertEx failed!"},
        // A failed tiling, no device context, or a tile that would not advance.
        {[&] { return orphan->TileArea(0, 0, 8, 8, otherDC, 0, 0, dcBitSrcCopy); }, 5, kolorit, invalid},
        {[&] { return effects->TileArea(0, 0, 8, 8, bitmap, 0, 0, dcBitSrcCopy); }, 5, kolorit, invalid},
        {[&] { return effects->TileArea(0, 0, 8, 8, otherDC, -2, 0, dcBitSrcCopy); }, 5, kolorit, invalid},
        {[&] { return effects->TileArea(0, 0, 8, 8, otherDC, 0, -1, dcBitSrcCopy); }, 5, kolorit, invalid},
        {[&] { return effects->InvertEx(nullptr); }, 5, kolorit, invalid},
        {[&] { return effects->ApplyMask(nullptr, other.Get(), 0, 0, 0, 0); }, 5, kolorit, invalid},
        {[&] { return effects->ApplyMask(mask.Get(), nullptr, 0, 0, 0, 0); }, 5, kolorit, invalid},
        {[&] { return SetLastError(ERROR_INVALID_HANDLE), effects->ApplyMask(mask.Get(), other.Get(), 0, 0, -1, 0); },
         10000, applyMask, noCause},
        {[&] { return SetLastError(ERROR_INVALID_HANDLE), effects->ApplyMask(mask.Get(), other.Get(), 0, 0, 0, -1); },
         10000, applyMask, noCause},
    };
    for (const Refusal& r : refusals) {
        SetLastError(0);
        const Raised raised = errorOf(r.call());
        SCOPED_TRACE(narrow(raised.source + L": " + raised.description));
        if (r.number == 0) {  // 10000 plus a platform code; the system's text comes between
            EXPECT_GE(raised.number, 10000);
            EXPECT_EQ(narrow(raised.source), narrow(r.source));
            EXPECT_TRUE(raised.description.starts_with(r.description + L"; ") &&
                        raised.description.ends_with(L"\r\nError source: " + r.source));
        } else {
            EXPECT_RAISED(raised, r.number, r.source, r.description);
        }
    }
    // Below 0, an empty width or height, a far edge before the near one.
    for (const RECT& r : {RECT{-1, 0, 0, 0}, RECT{0, -1, 0, 0}, RECT{0, 0, -1, 0}, RECT{0, 0, 0, -1}, RECT{5, 0, 5, 4},
                          RECT{5, 0, 3, 0}, RECT{0, 4, 0, 2}, RECT{spottedW, 0, 0, 0}}) {
        ComPtr<_GDIDC> none;
        top = r.top;
        EXPECT_RAISED(errorOf(effects->GetMaskBitmap(red, r.left, &top, r.right, r.bottom, VARIANT_FALSE, &none)), 12346,
                      L"DCEffectDrawing.GetMaskBitmap()", boundaries);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(top, r.top);
        EXPECT_RAISED(errorOf(effects->ReplaceColor(red, green, r.left, r.top, r.right, r.bottom)), 12346,
                      L"DCEffectDrawing.ReplaceColor()", boundaries);
        // ReplaceColorEx leaves the check to the mask.
        EXPECT_RAISED(errorOf(effects->ReplaceColorEx(red, other.Get(), r.left, r.top, r.right, r.bottom, 0, 0)), 12346,
                      L"DCEffectDrawing.GetMaskBitmap()", boundaries);
    }
    // InvertArea takes an empty rectangle; 0 as a far edge is the bitmap's.
    for (const RECT& r : {RECT{-1, 0, 0, 0}, RECT{0, -1, 0, 0}, RECT{5, 5, 2, 10}, RECT{5, 5, 10, 2}})
        EXPECT_RAISED(errorOf(effects->InvertArea(r.left, r.top, r.right, r.bottom)), 12346,
                      L"DCEffectDrawing.InvertArea()", boundaries);
    EXPECT_EQ(pixels(image.Get()), original);
    EXPECT_EQ(pixels(other.Get()), std::vector<COLORREF>(spottedW * spottedH, black));
}
