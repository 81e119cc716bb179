// COORD arrays made by GDIMakeCoords. (Flat lists handed to the polygon
// members directly are the scripts' part.)
#include "Drawing.h"

#include <string>

using namespace test;

namespace {

// A list of variants, as a script's Array(...) is.
com::SafeArray numbers(std::initializer_list<Variant> items, LONG lowerBound = 0) {
    SAFEARRAYBOUND bounds{static_cast<ULONG>(items.size()), lowerBound};
    com::SafeArray list(SafeArrayCreate(VT_VARIANT, 1, &bounds));
    LONG i = lowerBound;
    for (const Variant& item : items) SafeArrayPutElement(list.get(), &i, const_cast<VARIANT*>(item.get())), ++i;
    return list;
}

// GDIMakeCoords on the list: "lower bound: x,y x,y ...", or "" and the error.
std::string make(SAFEARRAY* list, Raised* raised = nullptr) {
    SAFEARRAY* out = nullptr;
    const HRESULT hr = koloritFunctions()->GDIMakeCoords(&list, &out);
    com::SafeArray owned(out);
    if (raised) *raised = errorOf(hr);
    if (FAILED(hr) || !out) return "";
    LONG lower = -1, upper = -1;
    SafeArrayGetLBound(out, 1, &lower);
    SafeArrayGetUBound(out, 1, &upper);
    std::string text = std::to_string(lower) + ":";
    const POINT* points = com::ArrayAccess(out).data<POINT>();
    for (LONG i = 0; i <= upper - lower; ++i)
        text.append(" ").append(std::to_string(points[i].x)).append(",").append(std::to_string(points[i].y));
    return text;
}

}  // namespace

TEST(MakeCoords, PairsBecomePointsRoundedHalfToEven) {
    com::SafeArray halves = numbers({arg(1.5), arg(2.5), arg(-0.5), arg(L"3.5")});
    EXPECT_EQ(make(halves.get()), "0: 2,2 0,4");
    LONG first = 0;
    Variant unchanged;
    SafeArrayGetElement(halves.get(), &first, unchanged.get());
    EXPECT_EQ(V_R8(unchanged.get()), 1.5) << "the list is left as it was";
    EXPECT_EQ(make(numbers({}).get()), "0:") << "an empty list makes an empty array";
}

TEST(MakeCoords, ListsThatDoNotPairUpOrConvertAreRefused) {
    struct Case { com::SafeArray list; long error; };
    Case cases[] = {
        {numbers({arg(1), arg(2), arg(3), arg(4), arg(5)}), 450},
        {numbers({arg(1), arg(2), arg(3), arg(4)}, 1), 9},  // read from index 0, it would run past its end
        {com::SafeArray(), 9},
        {numbers({arg(1), arg(L"ten")}), 13},
        {numbers({arg(1e12), arg(1)}), 6},
        {com::SafeArray(SafeArrayCreateVector(VT_I4, 0, 2)), 13},
    };
    for (Case& c : cases) {
        Raised raised;
        make(c.list.get(), &raised);
        expectRuntimeError(raised, c.error);
    }
}

// What a client that holds records (VBA, say) makes and passes on; its
// list of numbers stays one.
TEST(LateBound, MadeCoordsDrawAPolygon) {
    Canvas canvas;
    canvas.brush(Blue);
    Variant list;
    V_VT(list.get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(list.get()) = numbers({arg(10), arg(10), arg(50), arg(10), arg(50), arg(50)}).release();
    Variant records = Late(koloritFunctions().Get()).call(L"GDIMakeCoords", byRef(list.get()));
    ASSERT_EQ(V_VT(records.get()), VT_ARRAY | VT_RECORD);
    EXPECT_EQ(V_VT(list.get()), VT_ARRAY | VT_VARIANT);
    Late drawing(canvas.get(&_GDIDCEx::get_Drawing).Get());
    drawing.call(L"DrawPolygon", arg(-1), byRef(records.get()));
    ASSERT_EQ(drawing.result(), S_OK);
    EXPECT_EQ(canvas.at(45, 20), Blue);
}
