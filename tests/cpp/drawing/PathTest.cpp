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

