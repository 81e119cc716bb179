#include "Drawing.h"

#include <vector>

using namespace test;

namespace {

struct Path : ::testing::Test {
    Canvas canvas;
    ComPtr<_DCPath> path = canvas.get(&_GDIDCEx::get_Path);
    ComPtr<_DCDrawing> drawing = canvas.get(&_GDIDCEx::get_Drawing);

    void bracket(const std::function<void()>& draw) {
        ASSERT_EQ(path->BeginPath(), S_OK);
        draw();
        ASSERT_EQ(path->EndPath(), S_OK);
    }
    // The records, counted from 1.
    std::vector<DCPATHCOORD> coords() {
        SAFEARRAY* result = nullptr;
        EXPECT_EQ(path->GetCoords(&result), S_OK);
        com::SafeArray owned(result);
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(result, 1, &lower);
        SafeArrayGetUBound(result, 1, &upper);
        EXPECT_EQ(lower, 1);
        const DCPATHCOORD* first = com::ArrayAccess(result).data<DCPATHCOORD>();
        return std::vector<DCPATHCOORD>(first, first + (upper - lower + 1));
    }
};

}  // namespace

// (A closed figure read back as numbers is the script's part.)
TEST_F(Path, PointsComeBackWithTheirTypes) {
    bracket([&] { ASSERT_EQ(drawing->DrawLine(5, 6, 40, 50), S_OK); });
    const auto points = coords();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].X * 100 + points[0].Y, 506);
    EXPECT_EQ(points[0].CoordType, dcPathPtMoveTo);
    EXPECT_EQ(points[1].X * 100 + points[1].Y, 4050);
    EXPECT_EQ(points[1].CoordType, dcPathPtLineTo);
}

TEST_F(Path, RegionAndWideningAreMadeFromThePath) {
    bracket([&] { ASSERT_EQ(drawing->DrawRect(10, 10, 30, 20, 0, 0), S_OK); });
    ComPtr<_GDIRegion> region;
    ASSERT_EQ(path->GetRegion(&region), S_OK);
    EXPECT_EQ(boxOf(region.Get()).left * 100 + boxOf(region.Get()).top, 1010);

    canvas.pen(Red, 6);
    bracket([&] { ASSERT_EQ(drawing->DrawLine(5, 6, 40, 50), S_OK); });
    ASSERT_EQ(path->WidenPath(), S_OK);
    EXPECT_GT(coords().size(), 2u);
}

TEST_F(Path, EachDrawStyleStrokesFillsOrFlattens) {
    canvas.pen(Red);
    canvas.brush(Blue);
    for (auto [style, edge, inside] : {std::tuple{dcPathDrawStroked, Red, White}, {dcPathDrawFilled, Blue, Blue},
                                       {dcPathDrawStrokeAndFilled, Red, Blue}}) {
        fill(canvas.surface.Get(), White);
        bracket([&] { ASSERT_EQ(drawing->DrawRect(10, 10, 40, 40, 0, 0), S_OK); });
        ASSERT_EQ(path->DrawPath(style), S_OK);
        EXPECT_EQ(canvas.at(25, 10), edge) << style;
        EXPECT_EQ(canvas.at(25, 25), inside) << style;
    }
    bracket([&] { ASSERT_EQ(drawing->DrawEllipse(10, 10, 40, 40, 0, 0, 0, 0, VARIANT_TRUE), S_OK); });
    ASSERT_EQ(path->DrawPath(dcPathDrawFlattern), S_OK);
    for (const DCPATHCOORD& point : coords()) EXPECT_NE(point.CoordType & ~dcPathPtCloseFigure, dcPathPtBezierTo);

    // Unknown styles, negative ones too, leave the path alone.
    for (long style : {4L, -1L}) {
        const Raised raised = errorOf(path->DrawPath(static_cast<DCPathDrawStyles>(style)));
        EXPECT_EQ(raised.number, 5);
        EXPECT_EQ(narrow(raised.description), "You didn't enter a valid drawing operation constant");
    }
    EXPECT_FALSE(coords().empty());
}
