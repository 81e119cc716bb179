#include "Drawing.h"

using namespace test;

namespace {

// A red pen and a blue brush on white tell outline and fill apart.
struct Shapes : ::testing::Test {
    Canvas canvas;
    ComPtr<_DCDrawing> drawing = canvas.get(&_GDIDCEx::get_Drawing);
    void SetUp() override {
        canvas.pen(Red);
        canvas.brush(Blue);
    }
    void expectPen(long x, long y) {
        EXPECT_EQ(canvas.penPosition().x, x);
        EXPECT_EQ(canvas.penPosition().y, y);
    }
    void clear() { fill(canvas.surface.Get(), White); }
};

}  // namespace

TEST(DrawingHub, EverySubObjectIsMadeOnceAndKept) {
    Canvas canvas;
    EXPECT_EQ(canvas.get(&_GDIDCEx::get_Drawing), canvas.get(&_GDIDCEx::get_Drawing));
    EXPECT_EQ(canvas.get(&_GDIDCEx::get_Clipping), canvas.get(&_GDIDCEx::get_Clipping));
    EXPECT_EQ(canvas.get(&_GDIDCEx::get_CurrentPos), canvas.get(&_GDIDCEx::get_CurrentPos));
    EXPECT_EQ(canvas.get(&_GDIDCEx::get_Coordinates), canvas.get(&_GDIDCEx::get_Coordinates));
    EXPECT_EQ(canvas.get(&_GDIDCEx::get_Path), canvas.get(&_GDIDCEx::get_Path));
}

TEST_F(Shapes, RectangleIsOutlinedAndFilledAndLineToGoesOnFromItsCorner) {
    ASSERT_EQ(drawing->DrawRect(10, 10, 50, 40, 0, 0), S_OK);
    EXPECT_EQ(canvas.at(10, 10), Red);
    EXPECT_EQ(canvas.at(30, 25), Blue);
    EXPECT_EQ(canvas.at(50, 40), White);
    ASSERT_EQ(drawing->DrawLineTo(80, 40), S_OK);
    EXPECT_EQ(canvas.at(60, 40), Red);
    expectPen(80, 40);
    ASSERT_EQ(drawing->DrawRect(10, 45, 30, 63, 12, 12), S_OK);
    EXPECT_EQ(canvas.at(10, 45), White) << "a rounded corner";
}

TEST_F(Shapes, EllipseIsFilledOnlyWhenAskedWithoutRadials) {
    // Radials right and left: counterclockwise, the arc is the upper half.
    for (bool fillIt : {false, true}) {
        for (bool radials : {false, true}) {
            clear();
            ASSERT_EQ(drawing->DrawEllipse(10, 10, 50, 50, radials ? 60 : 0, radials ? 30 : 0, 0, radials ? 30 : 0,
                                           fillIt ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
            EXPECT_EQ(canvas.at(30, 30) == Blue, fillIt && !radials) << fillIt << radials;
            EXPECT_EQ(canvas.at(30, 10), Red);
            EXPECT_EQ(canvas.at(30, 49) == Red, !radials) << "only a whole outline has a bottom";
            expectPen(50, 50);
        }
    }
}

TEST_F(Shapes, PieAndChordFillTheirPartAndMoveThePen) {
    ASSERT_EQ(drawing->DrawPie(0, 0, 60, 60, 60, 30, 30, 0), S_OK);  // the upper right quarter
    EXPECT_EQ(canvas.at(40, 20), Blue);
    EXPECT_EQ(canvas.at(20, 40), White);
    expectPen(60, 60);
    clear();
    ASSERT_EQ(drawing->DrawChord(0, 0, 60, 60, 60, 30, 30, 0), S_OK);
    EXPECT_EQ(canvas.at(50, 10), Blue);
    EXPECT_EQ(canvas.at(35, 25), White) << "cut at the secant";
}

TEST_F(Shapes, PolygonsTakeAnyLowerBound) {
    com::SafeArray triangle = coords({{10, 10}, {50, 10}, {50, 50}}, 5);
    SAFEARRAY* array = triangle.get();
    ASSERT_EQ(drawing->DrawPolygon(VARIANT_TRUE, &array), S_OK);
    EXPECT_EQ(canvas.at(45, 20), Blue);
    expectPen(50, 50);

    // Open: it starts on its first point, not where the pen was, and stays open.
    clear();
    MoveToEx(canvas.dc, 60, 60, nullptr);
    com::SafeArray corner = coords({{0, 0}, {10, 0}, {10, 10}});
    array = corner.get();
    ASSERT_EQ(drawing->DrawPolygon(VARIANT_FALSE, &array), S_OK);
    EXPECT_EQ(canvas.at(5, 0), Red);
    EXPECT_EQ(canvas.at(5, 5), White);
    EXPECT_EQ(canvas.at(30, 30), White);
    expectPen(10, 10);
}

TEST_F(Shapes, BezierCurvesNeedThreePointsEach) {
    com::SafeArray six = coords({{0, 0}, {20, 0}, {20, 20}, {30, 30}, {40, 30}, {40, 40}});
    SAFEARRAY* array = six.get();
    ASSERT_EQ(drawing->DrawPolyBezier(&array), S_OK);
    expectPen(40, 40);
    com::SafeArray four = coords({{0, 0}, {20, 0}, {20, 20}, {5, 5}}, 1);
    array = four.get();
    SetLastError(0);  // Wine's PolyBezierTo sets no code of its own
    expectLibraryError(errorOf(drawing->DrawPolyBezier(&array)), L"DCDrawing.DrawPolyBezier()", L"DrawPolyBezier failed!");
}

TEST_F(Shapes, ArraysThatAreNoPointListsAreRefused) {
    SAFEARRAY* none = nullptr;
    expectRuntimeError(errorOf(drawing->DrawPolygon(VARIANT_TRUE, &none)), 9);
    com::SafeArray longs(SafeArrayCreateVector(VT_I4, 0, 6));
    SAFEARRAY* array = longs.get();
    expectRuntimeError(errorOf(drawing->DrawPolyBezier(&array)), 5);
    com::SafeArray empty = coords({});  // no first point to start from
    array = empty.get();
    expectRuntimeError(errorOf(drawing->DrawPolygon(VARIANT_FALSE, &array)), 9);
}

TEST_F(Shapes, RectExFramesWithTheBrushOrPaintsAPattern) {
    ASSERT_EQ(drawing->DrawRectEx(10, 10, 50, 40, VARIANT_FALSE, dcPatCopy), S_OK);
    EXPECT_EQ(canvas.at(10, 10), Blue) << "the brush, not the pen";
    EXPECT_EQ(canvas.at(30, 25), White);
    for (auto [op, inside] : {std::pair{dcPatCopy, Blue}, {dcPatBlackness, RGB(0, 0, 0)}, {dcPatInvert, RGB(255, 255, 0)}}) {
        clear();
        ASSERT_EQ(drawing->DrawRectEx(50, 40, 10, 10, VARIANT_TRUE, op), S_OK);  // negative sizes pass
        EXPECT_EQ(canvas.at(30, 25), inside) << op;
        EXPECT_EQ(canvas.at(11, 11), inside) << "no outline";
        expectPen(10, 10);
    }
}

TEST_F(Shapes, FilledRectAndRegionUseTheSelectedOrTheGivenBrush) {
    ASSERT_EQ(drawing->DrawRectFiled(10, 10, 50, 40, nullptr), S_OK);
    EXPECT_EQ(canvas.at(10, 10), Blue);
    expectPen(50, 40);
    ComPtr<_GDIRegion> shape = rectRegion(52, 0, 64, 20);
    ASSERT_EQ(drawing->DrawRegion(shape.Get(), canvas.makeBrush(Green).Get(), 0, 0), S_OK);
    EXPECT_EQ(canvas.at(58, 10), Green);
    expectPen(50, 40);
    clear();
    ASSERT_EQ(drawing->DrawRegion(shape.Get(), nullptr, 0, 1), S_OK);  // either size frames
    EXPECT_EQ(canvas.at(58, 0), Blue);
    EXPECT_EQ(canvas.at(58, 10), White);

    ComPtr<_GDIPen> pen;
    ASSERT_EQ(vellum()->CreatePenObject(Green, 0, 1, &pen), S_OK);
    auto notABrush = reinterpret_cast<_GDIBrush*>(pen.Get());
    expectRuntimeError(errorOf(drawing->DrawRectFiled(0, 0, 60, 60, notABrush)), 5);
    expectRuntimeError(errorOf(drawing->DrawRegion(emptyRegionObject().Get(), nullptr, 0, 0)), 5);
    expectRuntimeError(errorOf(drawing->CaptureIconEx(1, 0, 0, 0, 0, 0, notABrush, dcIconUseBoth)), 5);
    EXPECT_EQ(canvas.at(30, 30), White);
}

TEST_F(Shapes, IconsAreDrawnAndAMissingOneIsRefused) {
    const long icon = static_cast<long>(reinterpret_cast<LONG_PTR>(LoadIcon(nullptr, IDI_APPLICATION)));
    ASSERT_EQ(drawing->CaptureIcon(icon, 0, 0), S_OK);
    ASSERT_EQ(drawing->CaptureIconEx(icon, 32, 32, 16, 16, 0, canvas.makeBrush(Green).Get(), dcIconUseBoth), S_OK);
    int changed[2] = {};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) changed[0] += canvas.at(x, y) != White, changed[1] += canvas.at(32 + x, 32 + y) != White;
    EXPECT_GT(changed[0], 0);
    EXPECT_GT(changed[1], 0);
    expectRuntimeError(errorOf(drawing->CaptureIcon(0, 0, 0)), 5);
}
