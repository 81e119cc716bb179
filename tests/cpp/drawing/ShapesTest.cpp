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
    using Probes = std::vector<std::pair<POINT, COLORREF>>;
    struct Shape { const char* what; std::function<HRESULT()> draw; POINT pen; Probes probes; };
    const Shape shapes[] = {
        {"unfilled ellipse", [&] { return d->DrawEllipse(10, 10, 50, 50, 0, 0, 0, 0, VARIANT_FALSE); }, {50, 50},
         {{{30, 30}, White}, {{30, 49}, Red}}},
        {"polygon from 5", [&] { return polygon(d, VARIANT_TRUE, {{10, 10}, {50, 10}, {50, 50}}, 5); }, {50, 50},
         {{{45, 20}, Blue}}},
        // Open: it starts on its first point, not where the pen was, and stays open.
        {"open polygon", [&] { return polygon(d, VARIANT_FALSE, {{0, 0}, {10, 0}, {10, 10}}); }, {10, 10},
         {{{5, 0}, Red}, {{5, 5}, White}, {{30, 30}, White}}},
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

