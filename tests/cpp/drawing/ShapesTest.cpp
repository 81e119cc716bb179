#include "Drawing.h"

#include <vector>

using namespace test;

namespace {

// A red pen and a blue brush on white tell outline and fill apart.
struct Shapes : ::testing::Test {
    Canvas canvas;
    ComPtr<_DCDrawing> drawing = canvas.get(&_GDIDCEx::get_Drawing);
    void SetUp() override {
        canvas.pen(Red);
        canvas.brush(Blue);
    }
};

}  // namespace

// Each shape starts with the pen at (60, 60): where it leaves the pen, and
// which pixels show the pen's red, the brush's colour or the white beneath.
TEST_F(Shapes, DrawTheirOutlineAndFillAndLeaveThePen) {
    _DCDrawing* d = drawing.Get();
    ComPtr<_GDIBrush> green = makeBrush(Green);
    ComPtr<_GDIRegion> region = rectRegion(52, 0, 64, 20);
    using Probes = std::vector<std::pair<POINT, COLORREF>>;
    struct Shape { const char* what; std::function<HRESULT()> draw; POINT pen; Probes probes; };
    const Shape shapes[] = {
        {"rectangle", [&] { return d->DrawRect(10, 10, 50, 40, 0, 0); }, {50, 40},
         {{{10, 10}, Red}, {{30, 25}, Blue}, {{50, 40}, White}}},
        {"rounded", [&] { return d->DrawRect(10, 10, 50, 40, 12, 12); }, {50, 40}, {{{10, 10}, White}, {{30, 25}, Blue}}},
        {"ellipse", [&] { return d->DrawEllipse(10, 10, 50, 50, 0, 0, 0, 0, VARIANT_TRUE); }, {50, 50},
         {{{30, 30}, Blue}, {{30, 10}, Red}, {{30, 49}, Red}}},
        {"unfilled ellipse", [&] { return d->DrawEllipse(10, 10, 50, 50, 0, 0, 0, 0, VARIANT_FALSE); }, {50, 50},
         {{{30, 30}, White}, {{30, 49}, Red}}},
        // Radials right and left, counterclockwise: the upper half, unfilled though asked.
        {"arc", [&] { return d->DrawEllipse(10, 10, 50, 50, 60, 30, 0, 30, VARIANT_TRUE); }, {50, 50},
         {{{30, 10}, Red}, {{30, 30}, White}, {{30, 49}, White}}},
        {"pie", [&] { return d->DrawPie(0, 0, 60, 60, 60, 30, 30, 0); }, {60, 60}, {{{40, 20}, Blue}, {{20, 40}, White}}},
        {"chord", [&] { return d->DrawChord(0, 0, 60, 60, 60, 30, 30, 0); }, {60, 60},
         {{{50, 10}, Blue}, {{35, 25}, White}}},
        {"line to", [&] { return d->DrawLineTo(60, 0); }, {60, 0}, {{{60, 30}, Red}}},
        {"framed by the brush", [&] { return d->DrawRectEx(10, 10, 50, 40, VARIANT_FALSE, dcPatCopy); }, {50, 40},
         {{{10, 10}, Blue}, {{30, 25}, White}}},
        {"pattern, corners reversed", [&] { return d->DrawRectEx(50, 40, 10, 10, VARIANT_TRUE, dcPatCopy); }, {10, 10},
         {{{11, 11}, Blue}, {{30, 25}, Blue}}},
        {"inverted", [&] { return d->DrawRectEx(10, 10, 50, 40, VARIANT_TRUE, dcPatInvert); }, {50, 40},
         {{{30, 25}, RGB(255, 255, 0)}}},
        {"filled", [&] { return d->DrawRectFiled(10, 10, 50, 40, nullptr); }, {50, 40},
         {{{10, 10}, Blue}, {{50, 40}, White}}},
        {"filled, given brush", [&] { return d->DrawRectFiled(10, 10, 50, 40, green.Get()); }, {50, 40},
         {{{10, 10}, Green}}},
        {"region, given brush", [&] { return d->DrawRegion(region.Get(), green.Get(), 0, 0); }, {60, 60},
         {{{58, 10}, Green}}},
        // The given brush was for that call only; either frame size frames.
        {"region frame", [&] { return d->DrawRegion(region.Get(), nullptr, 0, 1); }, {60, 60},
         {{{58, 0}, Blue}, {{58, 10}, White}}},
        {"polygon from 5", [&] { return polygon(d, VARIANT_TRUE, {{10, 10}, {50, 10}, {50, 50}}, 5); }, {50, 50},
         {{{45, 20}, Blue}}},
        // Open: it starts on its first point, not where the pen was, and stays open.
        {"open polygon", [&] { return polygon(d, VARIANT_FALSE, {{0, 0}, {10, 0}, {10, 10}}); }, {10, 10},
         {{{5, 0}, Red}, {{5, 5}, White}, {{30, 30}, White}}},
        {"two curves", [&] { return bezier(d, {{0, 0}, {20, 0}, {20, 20}, {30, 30}, {40, 30}, {40, 40}}); }, {40, 40},
         {{{20, 20}, Red}, {{50, 50}, White}}},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        fill(canvas.surface.Get(), White);
        MoveToEx(canvas.dc, 60, 60, nullptr);
        ASSERT_EQ(shape.draw(), S_OK);
        EXPECT_EQ(canvas.penPosition().x * 100 + canvas.penPosition().y, shape.pen.x * 100 + shape.pen.y);
        for (auto [at, color] : shape.probes) EXPECT_EQ(canvas.at(at.x, at.y), color) << at.x << "," << at.y;
    }
}

TEST_F(Shapes, SystemColoursAreTranslated) {
    const OLE_COLOR highlight = 0x80000000 | COLOR_HIGHLIGHT;
    ASSERT_EQ(drawing->put_BackColor(highlight), S_OK);
    EXPECT_EQ(GetBkColor(canvas.dc), GetSysColor(COLOR_HIGHLIGHT));
    ASSERT_EQ(drawing->put_PixelColor(3, 4, VARIANT_TRUE, highlight), S_OK);
    EXPECT_EQ(canvas.at(3, 4), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(Shapes, IconsAreDrawn) {
    const long icon = static_cast<long>(reinterpret_cast<LONG_PTR>(LoadIcon(nullptr, IDI_APPLICATION)));
    ASSERT_EQ(drawing->CaptureIcon(icon, 0, 0), S_OK);
    ASSERT_EQ(drawing->CaptureIconEx(icon, 32, 32, 16, 16, 0, makeBrush(Green).Get(), dcIconUseBoth), S_OK);
    int changed[2] = {};  // (the icon's pixels are the system's)
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) changed[0] += canvas.at(x, y) != White, changed[1] += canvas.at(32 + x, 32 + y) != White;
    EXPECT_TRUE(changed[0] && changed[1]);
}
