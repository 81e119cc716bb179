#include "Text.h"

#include <functional>

using namespace test;

namespace {

ComPtr<_DCFocusRect> focusOn(HDC dc) {
    ComPtr<_DCFocusRect> focus;
    EXPECT_EQ(koloritFunctions()->GDIFocusDC(handleValue(dc), &focus), S_OK);
    return focus;
}

// The surface with the platform's focus rectangles drawn once each.
std::vector<COLORREF> withFocus(std::initializer_list<RECT> rectangles) {
    Page expected{64, 64};
    for (const RECT& r : rectangles) DrawFocusRect(expected.dc, &r);
    return expected.pixels();
}

}  // namespace

// Memory and metafile device contexts, nothing else; nothing drawn yet.
TEST(GDIFocusDC, TakesOnlyDeviceContexts) {
    Page page{64, 64};
    const HDC metafile = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    const kolorit::GdiObject<HBITMAP> bitmap(CreateBitmap(4, 4, 1, 32, nullptr));
    ComPtr<_DCFocusRect> focus;
    expectRuntimeError(errorOf(koloritFunctions()->GDIFocusDC(handleValue(bitmap.get()), &focus)), 5);
    for (HDC dc : {page.dc, metafile}) EXPECT_TRUE(focusOn(dc));
    EXPECT_TRUE(page.blank());
    DeleteEnhMetaFile(CloseEnhMetaFile(metafile));
}

// The state table, step by step: after each step the surface shows the
// rectangle exactly when Visible is True, at the current corners. (Wine
// draws focus rectangles even on a dead device context, so a failing draw
// cannot be shown.)
TEST(DCFocusRect, ShowsTheRectangleExactlyWhenVisible) {
    Page page{64, 64};
    ComPtr<_DCFocusRect> f = focusOn(page.dc);
    const std::vector<COLORREF> blank = page.pixels();
    struct Step { const char* what; std::function<HRESULT()> step; std::vector<COLORREF> expected; };
    const Step steps[] = {
        {"corners reversed, hidden: stored only", [&] { f->put_X1(50); f->put_Y1(40); f->put_X2(10); return f->put_Y2(5); }, blank},
        {"shown: drawn from 10 to 50", [&] { return f->put_Visible(VARIANT_TRUE); }, withFocus({{10, 5, 50, 40}})},
        {"shown again: nothing drawn", [&] { return f->put_Visible(VARIANT_TRUE); }, withFocus({{10, 5, 50, 40}})},
        {"a corner to its own value", [&] { return f->put_X1(50); }, withFocus({{10, 5, 50, 40}})},
        {"moved while shown", [&] { return f->put_X1(60); }, withFocus({{10, 5, 60, 40}})},
        {"hidden: the surface as before", [&] { return f->put_Visible(VARIANT_FALSE); }, blank},
        {"moved while hidden", [&] { return f->put_Y2(20); }, blank},
        {"shown at the new place", [&] { return f->put_Visible(VARIANT_TRUE); }, withFocus({{10, 20, 60, 40}})},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        ASSERT_EQ(s.step(), S_OK);
        EXPECT_TRUE(page.pixels() == s.expected);
    }
    f.Reset();
    EXPECT_TRUE(page.pixels() == withFocus({{10, 20, 60, 40}})) << "released, the rectangle stays";
}
