// COORD arrays for every kind of client: GDIMakeCoords, and the polygon
// members called late-bound with records or with a flat list of numbers.
#include "Drawing.h"

#include <vector>

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

Variant holding(com::SafeArray array, VARTYPE type) {
    Variant value;
    V_VT(value.get()) = VT_ARRAY | type;
    V_ARRAY(value.get()) = array.release();
    return value;
}

// GDIMakeCoords on the list: the points, or the error and no array.
std::vector<POINT> make(SAFEARRAY* list, Raised* raised = nullptr) {
    SAFEARRAY* out = nullptr;
    const HRESULT hr = kolorit()->GDIMakeCoords(&list, &out);
    com::SafeArray owned(out);
    if (raised) *raised = errorOf(hr);
    if (FAILED(hr) || !out) return {};
    LONG lower = -1, upper = -1;
    SafeArrayGetLBound(out, 1, &lower);
    SafeArrayGetUBound(out, 1, &upper);
    EXPECT_EQ(lower, 0);
    const POINT* first = com::ArrayAccess(out).data<POINT>();
    return std::vector<POINT>(first, first + (upper + 1));
}

}  // namespace

TEST(MakeCoords, PairsBecomePointsRoundedHalfToEven) {
    auto points = make(numbers({arg(1), arg(2), arg(3), arg(4), arg(5), arg(6)}).get());
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].x * 10 + points[2].y, 56);
    com::SafeArray halves = numbers({arg(1.5), arg(2.5), arg(-0.5), arg(L"3.5")});
    points = make(halves.get());
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].x * 10 + points[0].y, 22);
    EXPECT_EQ(points[1].x * 10 + points[1].y, 4);
    LONG first = 0;
    Variant unchanged;
    SafeArrayGetElement(halves.get(), &first, unchanged.get());
    EXPECT_EQ(V_R8(unchanged.get()), 1.5) << "the list is left as it was";
    Raised raised;
    EXPECT_TRUE(make(numbers({}).get(), &raised).empty());
    EXPECT_EQ(raised.number, 0) << "an empty list makes an empty array";
}

TEST(MakeCoords, ListsThatDoNotPairUpOrConvertAreRefused) {
    struct Case { com::SafeArray list; long error; };
    Case cases[] = {
        {numbers({arg(1), arg(2), arg(3), arg(4), arg(5)}), 450},
        {numbers({arg(1)}), 450},
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

TEST(BatchLimit, WrittenLimitIsReadBackAndFlushSucceeds) {
    ComPtr<_KoloritFunctions> functions = kolorit();
    long limit = 0;
    ASSERT_EQ(functions->put_GDIBatchLimit(dcBatchDisable), S_OK);
    ASSERT_EQ(functions->get_GDIBatchLimit(&limit), S_OK);
    EXPECT_EQ(limit, 1);
    ASSERT_EQ(functions->put_GDIBatchLimit(dcBatchRestoreDefault), S_OK);
    ASSERT_EQ(functions->get_GDIBatchLimit(&limit), S_OK);
    EXPECT_EQ(limit, static_cast<long>(GdiGetBatchLimit())) << "(Wine keeps 1 whatever is written)";
    EXPECT_EQ(functions->GDIBatchFlush(), S_OK);
}

TEST(LateBound, PolygonsTakeRecordsOrAFlatListAndLeaveTheVariableAlone) {
    Canvas canvas;
    canvas.brush(Blue);
    Late drawing(canvas.get(&_GDIDCEx::get_Drawing).Get()), functions(kolorit().Get());
    Variant list = holding(numbers({arg(10), arg(10), arg(50), arg(10), arg(50), arg(50)}), VT_VARIANT);
    Variant records = functions.call(L"GDIMakeCoords", byRef(list.get()));
    ASSERT_EQ(V_VT(records.get()), VT_ARRAY | VT_RECORD);
    drawing.call(L"DrawPolygon", arg(-1), byRef(records.get()));
    ASSERT_EQ(drawing.result(), S_OK);
    EXPECT_EQ(canvas.at(45, 20), Blue);

    drawing.call(L"DrawPolyBezier", holding(coords({{0, 0}, {30, 0}, {30, 30}}, 7), VT_RECORD));
    ASSERT_EQ(drawing.result(), S_OK);
    EXPECT_EQ(canvas.penPosition().x, 30);

    fill(canvas.surface.Get(), White);
    drawing.call(L"DrawPolygon", arg(-1), byRef(list.get()));
    ASSERT_EQ(drawing.result(), S_OK);
    EXPECT_EQ(canvas.at(45, 20), Blue);
    EXPECT_EQ(V_VT(list.get()), VT_ARRAY | VT_VARIANT) << "the script's variable still holds its numbers";

    drawing.call(L"DrawPolygon", arg(0), holding(numbers({arg(1), arg(2), arg(3)}), VT_VARIANT));
    expectRuntimeError(drawing.raised(), 450);
    drawing.call(L"DrawPolyBezier", holding(numbers({arg(1), arg(L"ten")}), VT_VARIANT));
    EXPECT_EQ(drawing.result(), DISP_E_TYPEMISMATCH);
}

TEST(LateBound, PathPointsArriveAsRecordsFromOne) {
    Canvas canvas;
    Late path(canvas.get(&_GDIDCEx::get_Path).Get()), drawing(canvas.get(&_GDIDCEx::get_Drawing).Get());
    path.call(L"BeginPath");
    drawing.call(L"DrawLine", arg(1), arg(2), arg(3), arg(4));
    path.call(L"EndPath");
    Variant result = path.call(L"GetCoords");
    ASSERT_EQ(V_VT(result.get()), VT_ARRAY | VT_RECORD);
    LONG lower = 0, upper = 0;
    SafeArrayGetLBound(V_ARRAY(result.get()), 1, &lower);
    SafeArrayGetUBound(V_ARRAY(result.get()), 1, &upper);
    EXPECT_EQ(lower * 10 + upper, 12);
}
