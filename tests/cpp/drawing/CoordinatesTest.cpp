#include "Drawing.h"

using namespace test;

namespace {

struct Coordinates : ::testing::Test {
    Canvas canvas;
    ComPtr<_DCCoordinates> coordinates = canvas.get(&_GDIDCEx::get_Coordinates);
    Late late{coordinates.Get()};

    // 10 logical units are 20 device units across and 30 down.
    void scaled() {
        ASSERT_EQ(coordinates->put_MapMode(dcMMAnIsoTroic), S_OK);
        SetWindowExtEx(canvas.dc, 10, 10, nullptr);
        SetViewportExtEx(canvas.dc, 20, 30, nullptr);
    }
};

}  // namespace

TEST_F(Coordinates, OriginsAndExtentsKeepTheOtherHalfOfTheirPair) {
    scaled();
    for (auto [x, y] : {std::pair{L"ViewPortOrgX", L"ViewPortOrgY"}, {L"ViewPortExtX", L"ViewPortExtY"},
                        {L"WindowOrgX", L"WindowOrgY"}, {L"WindowExtX", L"WindowExtY"}}) {
        late.put(x, arg(40));
        late.put(y, arg(-50));
        late.put(x, arg(60));
        EXPECT_EQ(asLong(late.get(y)), -50) << narrow(x);
        late.put(y, arg(70));
        EXPECT_EQ(asLong(late.get(x)), 60) << narrow(y);
    }
    SIZE extent{};
    GetWindowExtEx(canvas.dc, &extent);
    EXPECT_EQ(extent.cx * 100 + extent.cy, 6070);
}

