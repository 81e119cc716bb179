// Rotation, wave and pit: the edges of what they write and the events
// connected sinks hear. That both paths of the pixel effects agree is
// FastPathTest's business.

#include "Effects.h"

#include <cmath>
#include <cstdint>
#include <numbers>

using namespace test;

namespace {

constexpr COLORREF marker = RGB(1, 2, 3);  // where nothing may be written
constexpr double quarter = std::numbers::pi / 2;

Heard progress(float value) { return {2, value}; }

Variant number(double value) {
    Variant v;
    V_VT(v.get()) = VT_R8;
    V_R8(v.get()) = value;
    return v;
}

}  // namespace

// The source is painted with its coordinates, the destination with the marker.
TEST(Rotate, WritesTheSquareAroundTheDestinationCentreFromTheTurnedSource) {
    using Colours = std::function<COLORREF(int, int)>;
    const auto inside = [](int low, int high, Colours colour) {
        return [=](int x, int y) { return x >= low && x <= high && y >= low && y <= high ? colour(x, y) : marker; };
    };
    struct Case { int source; SIZE destination; double angle; long destX, destY; Colours expected; std::vector<Heard> heard; };
    const Case cases[] = {
        // Even: column and row 0 are left out, 5 is written (R = 2).
        {6, {6, 6}, 0, 0, 0, inside(1, 5, coordinate), {initDraw, progress(0), progress(50), progress(100), endDraw}},
        // Odd: 0 and 4 are left out.
        {5, {5, 5}, 0, 0, 0, inside(1, 3, coordinate), {initDraw, progress(0), progress(100), endDraw}},
        // Counter-clockwise on the screen: what was below the centre lands right of it.
        {6, {6, 6}, quarter, 0, 0, inside(1, 5, [](int x, int y) { return coordinate(6 - y, x); }), {}},
        // Centred on its own centre; samples outside the source keep the marker.
        {4, {10, 10}, 0, 0, 0, inside(3, 6, [](int x, int y) { return coordinate(x - 3, y - 3); }), {}},
        {6, {6, 6}, 0, 2, -1, [](int x, int y) { return x >= 3 && y <= 4 ? coordinate(x - 2, y + 1) : marker; }, {}},
        // R = 0: one step, reported as complete.
        {3, {2, 2}, 0, 0, 0, [](int x, int y) { return x == 1 && y == 1 ? coordinate(1, 1) : marker; },
         {initDraw, progress(100), endDraw}},
        // R = -1: nothing written, no progress.
        {1, {1, 1}, 0, 0, 0, [](int, int) { return marker; }, {initDraw, endDraw}},
        // A wide destination: R follows its longer side (R = 2).
        {6, {6, 2}, 0, 0, 0, [](int x, int y) { return x >= 1 ? coordinate(x, y + 2) : marker; }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " to " << c.destination.cx << "x" << c.destination.cy << ", angle " << c.angle);
        auto image = painted(c.source, c.source);
        auto destination = surface(c.destination.cx, c.destination.cy);
        fill(destination.Get(), marker);
        auto effects = effectsOn(image.Get());
        auto sink = Sink::on(effects.Get());
        _GDIDC* given = destination.Get();
        ASSERT_EQ(effects->Rotate(&given, c.angle, c.destX, c.destY), S_OK);
        sink->disconnect();
        EXPECT_EQ(given, destination.Get());
        EXPECT_EQ(pixels(destination.Get()), expected(c.destination.cx, c.destination.cy, c.expected));
        if (!c.heard.empty()) {
            EXPECT_EQ(sink->heard, c.heard);
        }
    }
}

// A one-pixel-wide image shifted by Size x sin(-MoveX) + MoveY, top bytes set:
// a written pixel loses its top byte, one left alone keeps it.
TEST(Wave, MovesEachColumnAndDropsTargetsOutsideTheImageBeforeRounding) {
    const auto stored = [](int y) { return 0xAB000000u | static_cast<std::uint32_t>(y) * 0x010101u; };
    const auto written = [&](int y) { return stored(y) & 0xFFFFFFu; };
    struct Case { long size; double length; long moveX, moveY; std::vector<std::uint32_t> expected; };
    const Case cases[] = {
        // The defaults: 3 rows up; the bottom three keep theirs.
        {6, 10, 0, -3, {written(3), written(4), written(5), written(6), written(7), stored(5), stored(6), stored(7)}},
        {0, 10, 0, 0, {written(0), written(1), written(2), written(3), written(4), written(5), written(6), written(7)}},
        {0, 10, 0, 2, {stored(0), stored(1), written(0), written(1), written(2), written(3), written(4), written(5)}},
        // -1.42: row 1 would round to row 0 but its target -0.42 is outside.
        {3, 10, 3, -1, {stored(0), written(2), written(3), written(4), written(5), written(6), written(7), stored(7)}},
        // +0.42: row 7 would round to itself but its target 7.42 is outside.
        {-3, 10, 3, 0, {written(0), written(1), written(2), written(3), written(4), written(5), written(6), stored(7)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << ", " << c.moveX << ", " << c.moveY);
        auto image = surface(1, 8);
        for (int y = 0; y < 8; ++y) bitsOf(image.Get())[y] = stored(y);
        auto effects = effectsOn(image.Get());
        auto sink = Sink::on(effects.Get());
        ASSERT_EQ(effects->Wave(c.size, *number(c.length).get(), c.moveX, c.moveY), S_OK);
        sink->disconnect();
        std::vector<std::uint32_t> result;
        for (int y = 0; y < 8; ++y) result.push_back(bitsOf(image.Get())[y]);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(sink->heard, (std::vector<Heard>{initDraw, progress(0), progress(50), endDraw}));
    }
}

// A black spot on white, pulled into the white around it (the samples lie
// about 54 pixels out); the pen comes back.
TEST(GravitationPit, DrawsTheRingsColoursFromTheCentreAndRestoresThePen) {
    auto image = painted(121, 121, [](int x, int y) { return std::hypot(x - 60, y - 60) <= 2 ? black : white; });
    auto hub = attach(image.Get());
    ComPtr<_DCEffectDrawing> effects;
    ASSERT_EQ(hub->get_Effects(&effects), S_OK);
    ComPtr<_GDIPen> pen, after;
    ASSERT_EQ(vellum()->CreatePenObject(red, 0, 1, &pen), S_OK);
    ASSERT_EQ(image->putref_SelPen(pen.Get()), S_OK);
    auto sink = Sink::on(effects.Get());
    ASSERT_EQ(effects->GravitationPit(60, 60, *missing().get()), S_OK);
    sink->disconnect();
    EXPECT_EQ(pixels(image.Get()), std::vector<COLORREF>(121 * 121, white));
    ASSERT_EQ(image->get_SelPen(&after), S_OK);
    EXPECT_EQ(after.Get(), pen.Get());  // (ComPtrs compare as truth values)
    POINT position{};
    GetCurrentPositionEx(dcOf(image.Get()), &position);
    EXPECT_EQ((std::vector<long>{position.x, position.y}), (std::vector<long>{60, 60}));
    ASSERT_EQ(sink->heard.size(), 363u);  // every sample inside: all 361 directions
    EXPECT_EQ(sink->heard[1], progress(0));
    EXPECT_EQ(sink->heard[361], progress(100));
}

