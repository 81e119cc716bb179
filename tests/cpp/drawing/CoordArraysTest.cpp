// COORD arrays made by GDIMakeCoords. (Flat lists handed to the polygon
// members directly are the scripts' part.)
#include "Drawing.h"

using namespace test;

// A list of numbers must pair up into points.
TEST(MakeCoords, AnOddCountIsRefused) {
    SAFEARRAYBOUND bounds{5, 0};
    com::SafeArray list(SafeArrayCreate(VT_VARIANT, 1, &bounds));
    for (LONG i = 0; i < 5; ++i) SafeArrayPutElement(list.get(), &i, arg(i).get());
    SAFEARRAY *in = list.get(), *out = nullptr;
    expectRuntimeError(errorOf(koloritFunctions()->GDIMakeCoords(&in, &out)), 450);
    EXPECT_EQ(out, nullptr);
}
