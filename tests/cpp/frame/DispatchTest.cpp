#include "Support.h"

using namespace test;

TEST(Dispatch, ObjectResultTravelsAsDispatch) {
    Late functions(vellum().Get());
    Variant made = functions.call(L"CreateGDIDC", arg(20), arg(10));
    EXPECT_EQ(functions.result(), S_OK);
    EXPECT_EQ(V_VT(made.get()), VT_DISPATCH);
}
