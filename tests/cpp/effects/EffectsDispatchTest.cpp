// The effects object as a script sees it: every member by name, optional
// parameters left out and taken from the type library.

#include "Effects.h"

using namespace test;

TEST(EffectsByName, EveryMemberRunsWithItsDefaultsAndTheDistortionsAreNotThereYet) {
    auto image = coordinates(20, 20);
    auto other = surface(20, 20);
    const long otherDC = long(handleOf(dcOf(other.Get())));
    Late hub(attach(image.Get()).Get());
    Late effects(asObject(hub.get(L"Effects")).Get());
    ComPtr<_GDIRegion> region;
    ASSERT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);

    effects.put(L"StretchMode", arg(3));
    EXPECT_EQ(asLong(effects.get(L"StretchMode")), 3);
    effects.call(L"StretchTo", arg(otherDC), arg(0), arg(0), arg(20), arg(20), arg(0), arg(0), arg(20), arg(20));
    EXPECT_EQ(pixel(other.Get(), 19, 19), coordinate(19, 19));  // SRCCOPY by default
    effects.call(L"TileArea", arg(0), arg(0), arg(20), arg(20), arg(otherDC));
    effects.call(L"GradientFill", arg(0), arg(0), arg(20), arg(20), arg(0L), arg(255L));
    EXPECT_EQ(pixel(image.Get(), 0, 19), RGB(0, 0, 0));  // bands by default: the start colour at the bottom
    effects.call(L"FloodFill", arg(1), arg(1));  // the colour found there, its whole area
    EXPECT_EQ(effects.result(), S_OK);
    effects.call(L"InvertArea");
    EXPECT_EQ(pixel(image.Get(), 0, 19), RGB(255, 255, 255));
    Variant mask = effects.call(L"GetMaskBitmap", arg(0L));
    effects.call(L"ApplyMask", Variant(*mask.get()), arg(other.Get()));
    effects.call(L"ReplaceColor", arg(0L), arg(255L));
    effects.call(L"ReplaceColorEx", arg(255L), arg(other.Get()));
    region->CreateRect(0, 0, 5, 5);
    effects.call(L"InvertEx", arg(region.Get()));
    for (const wchar_t* name : {L"Mirror", L"Flip", L"FlipMirror"}) {
        effects.call(name);
        EXPECT_EQ(effects.result(), S_OK) << narrow(name);
    }
    for (const wchar_t* name : {L"Rotate", L"GravitationPit", L"Wave"}) {
        effects.call(name);
        EXPECT_EQ(effects.result(), DISP_E_UNKNOWNNAME) << narrow(name);
    }
}

// The event interface once made the type library compiler damage the
// library's identifier, which broke unregistration.
TEST(EffectsByName, TheTypeLibraryKeepsItsIdentifier) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(L"kolorit.dll", REGKIND_NONE, &library), S_OK);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, LIBID_Kolorit));
    library->ReleaseTLibAttr(attributes);
}
