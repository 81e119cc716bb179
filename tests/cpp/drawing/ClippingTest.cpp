#include "Drawing.h"

using namespace test;

// Without a clipping region there is nothing to export: Nothing, not an
// empty region.
TEST(Clipping, ExportsNothingWithoutARegionAndACopyWithOne) {
    Canvas canvas;
    ComPtr<_DCClipping> clipping = canvas.get(&_GDIDCEx::get_Clipping);
    ComPtr<_GDIRegion> exported;
    ASSERT_EQ(clipping->ExportRegion(&exported), S_OK);
    EXPECT_FALSE(exported) << "no clipping region yet";
    ASSERT_EQ(clipping->SetRegion(region(5, 6, 30, 40).Get()), S_OK);
    ASSERT_EQ(clipping->ExportRegion(&exported), S_OK);
    ASSERT_TRUE(exported);
    EXPECT_EQ(boxOf(exported.Get()).right, 30);
    ASSERT_EQ(clipping->SetRegion(nullptr), S_OK);
    ASSERT_EQ(clipping->ExportRegion(exported.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_FALSE(exported);
}
