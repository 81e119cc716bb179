// The leak accounting the suite and the fuzzer end with must see a leak.

#include "LiveObjects.h"
#include "Support.h"


using namespace test;

TEST(LeakAccounting, CatchesADeliberatelyLeakedPen) {
    const GdiObjects before = liveGdiObjects();
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(liveGdiObjects() - before, 1);
    DeleteObject(pen);
    EXPECT_EQ(liveGdiObjects() - before, 0);

    // A pen object of Vellum whose reference is never given back.
    ComPtr<_GDIPen> held;
    ASSERT_EQ(vellum()->CreatePenObject(0, 0, 1, &held), S_OK);
    _GDIPen* leaked = held.Detach();
    EXPECT_EQ(liveGdiObjects() - before, 1);
    EXPECT_FALSE(componentsUnloadable());
    leaked->Release();
    EXPECT_EQ(liveGdiObjects() - before, 0);
    EXPECT_TRUE(componentsUnloadable());
}

