// What a hostile caller can no longer do to Vellum: make it allocate without
// limit, or have a region object destroy a handle somebody else owns.

#include "Support.h"

using namespace test;

TEST(Limits, SurfacesBeyond32767ASideOr2To25PixelsAreOutOfMemory) {
    struct Case { long width, height; bool monochrome; bool made; };
    const Case cases[] = {
        {100000, 100000, true, false}, {32768, 1, false, false}, {1, 32768, true, false},
        {5793, 5793, true, false},     {32767, 1, true, true},   {1, 32767, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        ComPtr<_GDIDC> made;
        const HRESULT hr = vellum()->CreateGDIDC(c.width, c.height, c.monochrome ? VARIANT_TRUE : VARIANT_FALSE, 0, &made);
        if (c.made) {
            EXPECT_EQ(hr, S_OK);
        } else {
            EXPECT_RAISED(errorOf(hr), 7, L"Vellum", L"Out of memory");
            EXPECT_EQ(made, nullptr);
        }
    }
}

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
