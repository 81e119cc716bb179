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

TEST_F(Path, PointsComeBackFromOneWithTheirTypes) {
    for (bool closed : {false, true}) {
        bracket([&] {
            ASSERT_EQ(drawing->DrawLine(5, 6, 40, 50), S_OK);
            if (closed) {
                EXPECT_EQ(path->CloseFigure(), S_OK);
            }
        });
        const auto points = coords();
        ASSERT_EQ(points.size(), 2u);
        EXPECT_EQ(points[0].X * 100 + points[0].Y, 506);
        EXPECT_EQ(points[0].CoordType, dcPathPtMoveTo);
        EXPECT_EQ(points[1].X * 100 + points[1].Y, 4050);
        EXPECT_EQ(points[1].CoordType, closed ? 3 : dcPathPtLineTo);
    }
    // The same as numbers a script can index, from 0.
    SAFEARRAY* list = nullptr;
    ASSERT_EQ(path->GetCoordList(&list), S_OK);
    com::SafeArray owned(list);
    const long expected[] = {5, 6, 6, 40, 50, 3};
    LONG upper = 0;
    SafeArrayGetUBound(list, 1, &upper);
    ASSERT_EQ(upper, 5);
    for (LONG i = 0; i <= upper; ++i) {
        Variant item;
        ASSERT_EQ(SafeArrayGetElement(list, &i, item.get()), S_OK);
        EXPECT_EQ(asLong(item), expected[i]);
    }
}

TEST_F(Path, WithoutAClosedPathThereAreNoPoints) {
    SAFEARRAY* result = nullptr;
    expectLibraryError(errorOf(path->GetCoords(&result)), L"DCPath.GetCoords()", L"GetPath failed to get number of coords!");
    ASSERT_EQ(path->BeginPath(), S_OK);
    ASSERT_EQ(drawing->DrawLine(0, 0, 9, 9), S_OK);
    expectLibraryError(errorOf(path->GetCoordList(&result)), L"DCPath.GetCoordList()",
                       L"GetPath failed to get number of coords!");
    EXPECT_EQ(result, nullptr);
    ASSERT_EQ(path->Abort(), S_OK);
    expectLibraryError(errorOf(path->EndPath()), L"DCPath.EndPath()", L"EndPath failed!");
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

TEST_F(Path, MiterLimitIsKeptInSinglePrecision) {
    double limit = 0;
    ASSERT_EQ(path->get_MiterLimit(&limit), S_OK);
    EXPECT_EQ(limit, 10.0);
    for (double value : {2.5, 1.1}) {
        ASSERT_EQ(path->put_MiterLimit(value), S_OK);
        ASSERT_EQ(path->get_MiterLimit(&limit), S_OK);
        EXPECT_EQ(limit, static_cast<double>(static_cast<float>(value)));
    }
}
