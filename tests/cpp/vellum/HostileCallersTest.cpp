// What a hostile caller can no longer do to Vellum: make it allocate without
// limit, or have a region object destroy a handle somebody else owns.

#include "Support.h"

using namespace test;

TEST(AttachRgn, TakesOnlyRegionsNobodyElseHolds) {
    ComPtr<_GDIBrush> brush;
    vellum()->CreateBrushObject(0xFF, 0, 0, &brush);
    OLE_HANDLE brushHandle = 0, held = 0, othersHandle = 0;
    brush->get_hBrush(&brushHandle);
    ComPtr<_GDIRegion> region, other;
    ASSERT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&other)), S_OK);
    region->CreateRect(0, 0, 10, 10);
    region->get_hRgn(&held);
    other->CreateRect(0, 0, 5, 5);
    other->get_hRgn(&othersHandle);
    auto s = surface(4, 4);

    for (OLE_HANDLE refused : {brushHandle, handleValue(dcOf(s.Get())), othersHandle, OLE_HANDLE(0)}) {
        EXPECT_RAISED(errorOf(region->AttachRgn(refused)), 5, L"Vellum", L"Invalid procedure call or argument");
        OLE_HANDLE now = 0;
        region->get_hRgn(&now);
        EXPECT_EQ(now, held) << "the region held stays";
    }
    EXPECT_EQ(region->AttachRgn(held), S_OK) << "its own region changes nothing";
    EXPECT_EQ(region->Delete(), S_OK);
    EXPECT_FALSE(alive(handleFrom<HGDIOBJ>(held)));
    EXPECT_TRUE(alive(handleFrom<HGDIOBJ>(brushHandle)));
    EXPECT_TRUE(alive(handleFrom<HGDIOBJ>(othersHandle)));

    HRGN free = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(region->AttachRgn(handleValue(free)), S_OK);
    region.Reset();
    EXPECT_FALSE(alive(free));
}
