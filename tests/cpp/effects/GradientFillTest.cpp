// Gradients: stroke order and colours, exactly the rectangle covered, and the
// progress events as connected sinks hear them.

#include "Effects.h"

#include <cmath>

using namespace test;

namespace {

constexpr COLORREF black = RGB(0, 0, 0), red = RGB(255, 0, 0);
constexpr COLORREF marker = RGB(1, 2, 3);  // where nothing may be painted
const Heard initDraw{1}, endDraw{3};
const HRESULT invalidArgument = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5);

struct Painted {
    ComPtr<_GDIDC> image;
    std::vector<Heard> heard;
    HRESULT result;
    std::vector<float> progress() const {
        std::vector<float> values;
        for (const Heard& h : heard)
            if (h.event == 2) values.push_back(h.value);
        return values;
    }
};

Painted gradient(long width, long height, RECT r, OLE_COLOR start, OLE_COLOR end, double step, bool horizontal) {
    Painted p{surface(width, height), {}, S_OK};
    fill(p.image.Get(), marker);
    auto effects = effectsOn(p.image.Get());
    auto sink = Sink::on(effects.Get());
    p.result = effects->GradientFill(r.left, r.top, r.right, r.bottom, start, end, step,
                                     horizontal ? VARIANT_TRUE : VARIANT_FALSE);
    sink->disconnect();
    p.heard = sink->heard;
    return p;
}

}  // namespace

TEST(GradientFill, StartsAtTheFarEdgeAndGivesEachStrokeThePreviousPassColour) {
    // L = 4, strokes of 1: red 0, 0, 63.75 -> 64, 127.5 -> 128 (half to even).
    auto across = gradient(6, 2, {0, 0, 4, 1}, black, red, 0, true);
    ASSERT_EQ(across.result, S_OK);
    const std::vector<COLORREF> run{RGB(128, 0, 0), RGB(64, 0, 0), black, black, marker, marker};
    std::vector<COLORREF> expected = run;
    expected.insert(expected.end(), 6, marker);
    EXPECT_EQ(pixels(across.image.Get()), expected);
    EXPECT_EQ(across.heard, (std::vector<Heard>{initDraw, {2, 25}, {2, 50}, {2, 75}, {2, 100}, endDraw}));

    // Downward the bands span X1 to X2 and rise from Y2.
    auto down = gradient(3, 6, {1, 0, 2, 4}, black, red, 0.5, false);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(pixel(down.image.Get(), 1, y), run[y]);
        EXPECT_EQ(pixel(down.image.Get(), 0, y), marker);
        EXPECT_EQ(pixel(down.image.Get(), 2, y), marker);
    }
}

TEST(GradientFill, StrokesOfTheGivenWidthTileExactlyTheRectangle) {
    auto p = gradient(102, 3, {0, 1, 100, 2}, black, red, 10, true);
    ASSERT_EQ(p.result, S_OK);
    for (int x = 0; x < 102; ++x) {
        const int stroke = x < 100 ? (99 - x) / 10 : -1;  // counted from the right
        const double fraction = stroke <= 0 ? 0 : (stroke - 1) / 10.0;
        ASSERT_EQ(pixel(p.image.Get(), x, 1), stroke < 0 ? marker : RGB(BYTE(std::nearbyint(255 * fraction)), 0, 0));
        ASSERT_EQ(pixel(p.image.Get(), x, 0), marker);
        ASSERT_EQ(pixel(p.image.Get(), x, 2), marker);
    }
    EXPECT_EQ(p.progress(), (std::vector<float>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST(GradientFill, AFractionalWidthLeavesNoGapsAndEndsAtExactlyAHundredPercent) {
    // 1000 / 255: strokes of 3 or 4 pixels between rounded running edges.
    auto p = gradient(1004, 1, {2, 0, 1002, 1}, red, black, 0, true);
    const auto row = pixels(p.image.Get());
    EXPECT_EQ((std::vector<COLORREF>{row[0], row[1], row[1001], row[1002], row[1003]}),
              (std::vector<COLORREF>{marker, marker, red, marker, marker}));
    for (int x = 2; x < 1001; ++x) ASSERT_LE(GetRValue(row[x]), GetRValue(row[x + 1])) << x;
    const auto progress = p.progress();
    ASSERT_GE(progress.size(), 255u);
    EXPECT_EQ(progress.back(), 100.0f);
    for (size_t i = 1; i + 1 < progress.size(); ++i) {
        const float step = progress[i] - progress[i - 1];
        ASSERT_TRUE(std::fabs(step - 0.3f) < 1e-3 || std::fabs(step - 0.4f) < 1e-3) << step;
    }
}

TEST(GradientFill, EqualColoursEmptyLengthsAndWidthsThatAreNoNumber) {
    const OLE_COLOR window = 0x80000000 | COLOR_WINDOW;
    struct Case {
        RECT r;
        OLE_COLOR start, end;
        double step;
        bool horizontal;
        HRESULT result;
        std::vector<Heard> heard;
        COLORREF inside;  // the colour of (2, 2)..(5, 5)
    };
    const Case cases[] = {
        {{2, 2, 6, 6}, red, red, 1, true, S_OK, {}, red},  // one fill, no events
        {{2, 2, 6, 6}, window, GetSysColor(COLOR_WINDOW), 0, false, S_OK, {}, GetSysColor(COLOR_WINDOW)},
        {{5, 0, 5, 8}, black, red, 0, true, S_OK, {initDraw, endDraw}, marker},
        {{0, 6, 8, 2}, black, red, 0, false, S_OK, {initDraw, endDraw}, marker},
        {{0, 0, 8, 8}, black, red, std::nan(""), true, invalidArgument, {}, marker},
        {{0, 0, 8, 8}, black, red, HUGE_VAL, false, invalidArgument, {}, marker},
    };
    for (const Case& c : cases) {
        auto p = gradient(8, 8, c.r, c.start, c.end, c.step, c.horizontal);
        EXPECT_EQ(p.result, c.result);
        EXPECT_EQ(p.heard, c.heard);
        for (int i = 0; i < 64; ++i) {
            const int x = i % 8, y = i / 8;
            ASSERT_EQ(pixels(p.image.Get())[i], x >= 2 && x < 6 && y >= 2 && y < 6 ? c.inside : marker);
        }
    }
}

TEST(GradientFill, EverySinkHearsEverythingWhateverAnotherSinkDoes) {
    auto image = surface(4, 1);
    auto effects = effectsOn(image.Get());
    auto first = Sink::on(effects.Get()), failing = Sink::on(effects.Get()), leaving = Sink::on(effects.Get()),
         last = Sink::on(effects.Get());
    failing->onEvent = [](DISPID) { return E_FAIL; };
    leaving->onEvent = [&](DISPID event) {
        if (event == 2) leaving->disconnect();
        return S_OK;
    };
    ASSERT_EQ(effects->GradientFill(0, 0, 4, 1, black, red, 0, VARIANT_TRUE), S_OK);
    const std::vector<Heard> all{initDraw, {2, 25}, {2, 50}, {2, 75}, {2, 100}, endDraw};
    EXPECT_EQ(first->heard, all);
    EXPECT_EQ(failing->heard, all);
    EXPECT_EQ(leaving->heard, (std::vector<Heard>{initDraw, {2, 25}}));
    EXPECT_EQ(last->heard, all);
    for (Sink* sink : {first.Get(), failing.Get(), last.Get()}) sink->disconnect();
}

TEST(GradientFill, ASinkMayDropTheLastReferenceToTheEffectsObjectWhileItRuns) {
    auto image = surface(4, 1);
    ComPtr<_DCEffectDrawing> effects = effectsOn(image.Get());  // the only reference
    auto sink = Sink::on(effects.Get());
    sink->onEvent = [&](DISPID event) {
        if (event == 1) {
            sink->disconnect();
            effects.Reset();
        }
        return S_OK;
    };
    _DCEffectDrawing* const caller = effects.Get();
    EXPECT_EQ(caller->GradientFill(0, 0, 4, 1, black, red, 0, VARIANT_TRUE), S_OK);
    EXPECT_EQ(pixel(image.Get(), 0, 0), RGB(128, 0, 0));
    sink.Reset();
    image.Reset();
    EXPECT_TRUE(noObjectsLeft());
}

// Where the platform reports a failed stroke (Wine's FillRect reports success
// even on a device context that is gone), EndDraw is not heard; each call
// starts again with InitDraw.
TEST(GradientFill, EndDrawIsHeardExactlyWhenTheCallSucceeds) {
    auto effects = orphanedEffects();
    auto sink = Sink::on(effects.Get());
    for (int call = 0; call < 2; ++call) {
        const size_t before = sink->heard.size();
        SetLastError(0);
        const HRESULT hr = effects->GradientFill(0, 0, 8, 8, black, red, 0, VARIANT_TRUE);
        if (FAILED(hr))
            expectLibraryError(hr, L"DCEffectDrawing.GradientFill()", L"FillRect failed to draw a stroke of the gradient!");
        ASSERT_GT(sink->heard.size(), before);
        EXPECT_EQ(sink->heard[before], initDraw);
        EXPECT_EQ(sink->heard.back() == endDraw, SUCCEEDED(hr));
    }
    sink->disconnect();
}
