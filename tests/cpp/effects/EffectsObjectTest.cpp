// The effects that change pixels in place, arguments they refuse, and
// sinks that disconnect each other.

#include "Effects.h"

using namespace test;

// The effects that move or invert pixels in place, on a 7 x 5 image.
TEST(InPlaceEffects, InvertTheirAreaOrReverseTheImageExactly) {
    auto box = region(2, 3, 6, 5);
    const auto inverted = [](RECT r) {
        return [r](int x, int y) { return coordinate(x, y) ^ (PtInRect(&r, POINT{x, y}) ? 0xFFFFFF : 0); };
    };
    using Colours = std::function<COLORREF(int, int)>;
    const struct { std::function<HRESULT(_DCEffectDrawing*)> run; Colours expected; } cases[] = {
        {[](_DCEffectDrawing* e) { return e->InvertArea(0, 0, 0, 0); }, inverted({0, 0, 7, 5})},  // 0: the far edge
        {[](_DCEffectDrawing* e) { return e->InvertArea(5, 3, 0, 0); }, inverted({5, 3, 7, 5})},
        {[](_DCEffectDrawing* e) { return e->InvertArea(0, 3, 6, 0); }, inverted({0, 3, 6, 5})},
        {[](_DCEffectDrawing* e) { return e->InvertArea(2, 1, 4, 4); }, inverted({2, 1, 4, 4})},
        {[&](_DCEffectDrawing* e) { return e->InvertEx(box.Get()); }, inverted({2, 3, 6, 5})},
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

// Arguments no effect can work with raise run-time error 5 and change nothing.
TEST(Refusals, RaiseRunTimeError5AndChangeNothing) {
    auto image = spotted();
    const auto original = pixels(image.Get());
    auto effects = effectsOn(image.Get());
    auto other = surface(spottedW, spottedH);
    const OLE_HANDLE otherDC = hDCOf(other.Get());
    long top = 0;
    ComPtr<_GDIDC> mask;
    ASSERT_EQ(effects->GetMaskBitmap(red, 0, &top, 0, 0, VARIANT_FALSE, &mask), S_OK);
    const std::function<HRESULT()> refused[] = {
        // A tile that would not advance.
        [&] { return effects->TileArea(0, 0, 8, 8, otherDC, -2, 0, dcBitSrcCopy); },
        [&] { return effects->TileArea(0, 0, 8, 8, otherDC, 0, -1, dcBitSrcCopy); },
        [&] { return effects->ApplyMask(nullptr, other.Get(), 0, 0, 0, 0); },
        [&] { return effects->ApplyMask(mask.Get(), nullptr, 0, 0, 0, 0); },
    };
    for (const auto& call : refused)
        EXPECT_RAISED(errorOf(call()), 5, L"Kolorit", L"Invalid procedure call or argument");
    EXPECT_EQ(pixels(image.Get()), original);
    EXPECT_EQ(pixels(other.Get()), std::vector<COLORREF>(spottedW * spottedH, black));
}

// A sink disconnected by another one during an event hears nothing more,
// not even the rest of that event.
TEST(Events, ASinkDisconnectedByAnotherHearsNoMore) {
    auto image = surface(4, 1);
    auto effects = effectsOn(image.Get());
    auto first = Sink::on(effects.Get()), second = Sink::on(effects.Get());
    first->onEvent = [&](DISPID event) {
        if (event == 1) second->disconnect();
        return S_OK;
    };
    ASSERT_EQ(effects->GradientFill(0, 0, 4, 1, black, red, 0, VARIANT_TRUE), S_OK);
    first->disconnect();
    EXPECT_TRUE(second->heard.empty());
}
