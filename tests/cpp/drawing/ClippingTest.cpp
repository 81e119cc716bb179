#include "Drawing.h"

#include <string>

using namespace test;

namespace {

struct Clipping : ::testing::Test {
    Canvas canvas;
    ComPtr<_DCClipping> clipping = canvas.get(&_GDIDCEx::get_Clipping);

    std::string edges() {
        long left = -1, top = -1, right = -1, bottom = -1;
        EXPECT_EQ(clipping->get_LeftEdge(&left) | clipping->get_TopEdge(&top) | clipping->get_RightEdge(&right) |
                      clipping->get_BottomEdge(&bottom), S_OK);
        return std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) + "," + std::to_string(bottom);
    }
    bool inside(long x, long y) {
        VARIANT_BOOL result = VARIANT_FALSE;
        EXPECT_EQ(clipping->PointInClipRgn(x, y, &result), S_OK);
        return result == VARIANT_TRUE;
    }
    ComPtr<_GDIRegion> exported() {
        ComPtr<_GDIRegion> region;
        EXPECT_EQ(clipping->ExportRegion(&region), S_OK);
        return region;
    }
};

}  // namespace

// The platform copies every region handed in or out.
TEST_F(Clipping, RegionsAreCopiedInAndOutAndBoundDrawing) {
    EXPECT_FALSE(exported()) << "no clipping region yet";
    ComPtr<_GDIRegion> shape = region(5, 6, 30, 40);
    ASSERT_EQ(clipping->SetRegion(shape.Get()), S_OK);
    ASSERT_EQ(shape->Delete(), S_OK);
    EXPECT_EQ(edges(), "5,6,30,40");
    ASSERT_EQ(clipping->IncludeRect(10, 10, 20, 20), S_OK);
    EXPECT_EQ(edges(), "10,10,20,20");
    ASSERT_EQ(canvas.get(&_GDIDCEx::get_Drawing)->DrawRectFiled(0, 0, 64, 64, makeBrush(Blue).Get()), S_OK);
    EXPECT_EQ(canvas.at(15, 15), Blue);
    EXPECT_EQ(canvas.at(25, 25), White);
    EXPECT_TRUE(inside(15, 15));
    EXPECT_FALSE(inside(25, 25));

    ComPtr<_GDIRegion> copy = exported();
    ASSERT_TRUE(copy);
    ASSERT_EQ(clipping->ExcludeRect(0, 0, 64, 64), S_OK);
    EXPECT_EQ(edges(), "0,0,0,0") << "an empty clipping area is no failure";
    EXPECT_EQ(boxOf(copy.Get()).right, 20) << "the copy is the caller's";
    ASSERT_EQ(clipping->SetRegion(nullptr), S_OK);
    EXPECT_FALSE(exported());
    EXPECT_EQ(edges(), "0,0,64,64");
}

