// Gradients: stroke order and colours, exactly the rectangle covered, the
// progress events, and skipping what the image cannot show.

#include "Effects.h"

#include <algorithm>
#include <cmath>

using namespace test;

namespace {

constexpr COLORREF marker = RGB(1, 2, 3);  // where nothing may be painted
// Black to dim red in four strokes, painted from the far edge (red 0, 0,
// 63.25 -> 63, 126.5 -> 126: halves to even) and listed from the near one.
constexpr COLORREF dimRed = RGB(253, 0, 0);
const std::vector<COLORREF> fourStrokes{RGB(126, 0, 0), RGB(63, 0, 0), black, black};
const std::vector<Heard> fourEvents{initDraw, {2, 25}, {2, 50}, {2, 75}, {2, 100}, endDraw};

struct Painted { ComPtr<_GDIDC> image; std::vector<Heard> heard; HRESULT result; };

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

TEST(GradientFill, PaintsExactlyItsRectangleFromTheFarEdgeAndReportsItsProgress) {
    const OLE_COLOR window = 0x80000000 | COLOR_WINDOW;
    const HRESULT invalidArgument = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5);
    const std::vector<Heard> none, empty{initDraw, endDraw};
    // With fourEvents the four strokes are painted, with none one plain fill.
    struct Case { RECT r; OLE_COLOR start, end; double step; bool horizontal; HRESULT result;
                  const std::vector<Heard>& heard; };
    const Case cases[] = {
        {{0, 0, 4, 1}, black, dimRed, 0, true, S_OK, fourEvents},  // 4 / 255 widens to 1
        {{1, 0, 2, 4}, black, dimRed, 0.5, false, S_OK, fourEvents},  // so does 0.5
        {{1, 2, 9, 3}, black, dimRed, 2, true, S_OK, fourEvents},
        {{2, 2, 6, 6}, red, red, 1, true, S_OK, none},
        {{2, 2, 6, 6}, window, GetSysColor(COLOR_WINDOW), 0, false, S_OK, none},
        {{5, 0, 5, 8}, black, red, 0, true, S_OK, empty},
        {{0, 6, 8, 2}, black, red, 0, false, S_OK, empty},
        {{0, 0, 8, 8}, black, red, std::nan(""), true, invalidArgument, none},
        {{0, 0, 8, 8}, black, red, HUGE_VAL, false, invalidArgument, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r.left << ", " << c.r.top << ", " << c.r.right << ", " << c.r.bottom);
        auto p = gradient(10, 8, c.r, c.start, c.end, c.step, c.horizontal);
        EXPECT_EQ(p.result, c.result);
        EXPECT_EQ(p.heard, c.heard);
        const int width = c.step < 1 ? 1 : int(c.step);
        EXPECT_EQ(pixels(p.image.Get()), expected(10, 8, [&](int x, int y) {
                      if (FAILED(c.result) || !PtInRect(&c.r, POINT{x, y})) return marker;
                      if (c.heard.empty()) return COLORREF(c.end);
                      return fourStrokes[(c.horizontal ? x - c.r.left : y - c.r.top) / width];
                  }));
    }
}

// A gradient reaching past the image skips the strokes it cannot show. The
// strokes it draws must lie where stepping stroke by stroke puts them and
// have the same colours: the same fill on a surface large enough to show the
// whole rectangle (its window origin moved so that coordinates stay as they
// are, nothing skipped) must look the same over the small image.
TEST(GradientFill, SkippingHiddenStrokesGivesTheEdgesAndColoursOfSteppingThroughThem) {
    constexpr long W = 40, H = 30;
    const RECT rectangles[] = {{-201, 3, 330, 25}, {-26, -13, 394, 510}, {5, -300, 35, 613}, {-50, -227, 60, 167}};
    for (const RECT& r : rectangles)
        for (bool horizontal : {true, false})
            for (double step : {1.5, 2.7, 3.3, 7.77, 0.0}) {
                SCOPED_TRACE(testing::Message() << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom
                                                << (horizontal ? " horizontal" : " vertical") << " step " << step);
                const RECT whole{std::min(r.left, 0L), std::min(r.top, 0L), std::max(r.right, W), std::max(r.bottom, H)};
                auto small = surface(W, H);
                auto large = surface(whole.right - whole.left, whole.bottom - whole.top);
                SetWindowOrgEx(dcOf(large.Get()), whole.left, whole.top, nullptr);
                for (_GDIDC* image : {small.Get(), large.Get()})
                    ASSERT_EQ(effectsOn(image)->GradientFill(r.left, r.top, r.right, r.bottom, RGB(250, 10, 0),
                                                             RGB(3, 200, 77), step, horizontal ? VARIANT_TRUE : VARIANT_FALSE),
                              S_OK);
                // GetPixel reads both at the same coordinates.
                EXPECT_EQ(pixels(small.Get()), expected(W, H, [&](int x, int y) { return pixel(large.Get(), x, y); }));
            }
}
