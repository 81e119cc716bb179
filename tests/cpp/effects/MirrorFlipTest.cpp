// The whole image reversed in place along x, y or both.

#include "Effects.h"

using namespace test;

TEST(MirrorAndFlip, ReverseEveryPixelAlongTheirAxesAndLeaveTheStretchMode) {
    struct Reversal {
        HRESULT (STDMETHODCALLTYPE _DCEffectDrawing::*member)();
        bool alongX, alongY;
    };
    const Reversal reversals[] = {{&_DCEffectDrawing::Mirror, true, false},
                                  {&_DCEffectDrawing::Flip, false, true},
                                  {&_DCEffectDrawing::FlipMirror, true, true}};
    for (const Reversal& r : reversals)
        for (const SIZE& size : {SIZE{7, 5}, SIZE{1, 4}, SIZE{6, 1}}) {
            auto image = coordinates(size.cx, size.cy);
            auto effects = effectsOn(image.Get());
            SetStretchBltMode(dcOf(image.Get()), HALFTONE);
            ASSERT_EQ((effects.Get()->*r.member)(), S_OK);
            for (int y = 0; y < size.cy; ++y)
                for (int x = 0; x < size.cx; ++x)
                    ASSERT_EQ(pixel(image.Get(), x, y),
                              coordinate(r.alongX ? size.cx - 1 - x : x, r.alongY ? size.cy - 1 - y : y));
            EXPECT_EQ(GetStretchBltMode(dcOf(image.Get())), HALFTONE);
        }
    auto orphan = orphanedEffects();
    SetLastError(0);
    expectLibraryError(orphan->Mirror(), L"GetStructBitap()", L"Failed to get bitmap information");
}
