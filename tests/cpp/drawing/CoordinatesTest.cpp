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

TEST_F(Coordinates, MapModesAreKeptAndPointsConvertBothWays) {
    for (DCMapModes mode : {dcMMText, dcMMLoMetric, dcMMHiMetric, dcMMLoEnglish, dcMMHiEnglish, dcMMTwips,
                            dcMMIsoTropic, dcMMAnIsoTroic}) {
        DCMapModes read{};
        ASSERT_EQ(coordinates->put_MapMode(mode), S_OK);
        ASSERT_EQ(coordinates->get_MapMode(&read), S_OK);
        EXPECT_EQ(read, mode);
    }
    expectRuntimeError(errorOf(coordinates->put_MapMode(static_cast<DCMapModes>(9))), 5);
    scaled();
    long x = 12, y = -7;
    ASSERT_EQ(coordinates->ConvLPtoDP(&x, &y), S_OK);
    EXPECT_EQ(x * 100 + y, 24 * 100 - 21);
    ASSERT_EQ(coordinates->ConvDPtoLP(&x, &y), S_OK);
    EXPECT_EQ(x * 100 + y, 12 * 100 - 7);
}

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

TEST_F(Coordinates, ScalingReportsThePreviousExtentsWhenAsked) {
    scaled();
    long previousX = 0, previousY = 0;
    ASSERT_EQ(coordinates->ScaleViewportExt(1, 2, 3, 1, &previousX, &previousY), S_OK);
    EXPECT_EQ(previousX * 100 + previousY, 2030);
    SIZE extent{};
    GetViewportExtEx(canvas.dc, &extent);
    EXPECT_EQ(extent.cx * 100 + extent.cy, 1090);
    late.call(L"ScaleWindowExt", arg(2), arg(1), arg(1), arg(2));  // outputs omitted
    ASSERT_EQ(late.result(), S_OK);
    GetWindowExtEx(canvas.dc, &extent);
    EXPECT_EQ(extent.cx * 100 + extent.cy, 2005);
    expectRuntimeError(errorOf(coordinates->ScaleViewportExt(1, 0, 1, 1, nullptr, nullptr)), 5);
}
