#include "Text.h"

#include <functional>

using namespace test;

namespace {

struct InterfaceDrawing : ::testing::Test {
    Page page{64, 64};
    ComPtr<_DCInterfaceDrawing> ui = page.get(&_GDIDCEx::get_UIDrawing);

    // Whether none of `length` pixels from (x, y) in steps of (dx, dy) is paper.
    bool drawn(int x, int y, int dx, int dy, int length) const {
        for (int i = 0; i < length; ++i) if (GetPixel(page.dc, x + i * dx, y + i * dy) == Paper) return false;
        return true;
    }
};

std::vector<COLORREF> platformState(HANDLE content, const char* text, UINT flags) {
    Page drawn{64, 64};
    const LPARAM data = text ? reinterpret_cast<LPARAM>(text) : reinterpret_cast<LPARAM>(content);
    DrawStateA(drawn.dc, nullptr, nullptr, data, text ? strlen(text) : 0, 0, 0, 0, 0, flags);
    return drawn.pixels();
}

}  // namespace

// Each element inside its rectangle only, with the pen left at the second
// corner; the desktop fills the clipping area and leaves the pen.
TEST_F(InterfaceDrawing, DrawsItsElementsInsideTheirRectangles) {
    struct Case { const char* what; std::function<HRESULT()> draw; RECT within; std::function<bool()> look; };
    const Case cases[] = {
        {"raised border on all four sides", [&] { return ui->DrawBorder(10, 10, 50, 30, dcBorderRaised, dcBorderRect); }, {10, 10, 50, 30},
         [&] { return drawn(10, 10, 1, 0, 40) && drawn(10, 29, 1, 0, 40) && drawn(10, 10, 0, 1, 20) && drawn(49, 10, 0, 1, 20) &&
                      GetPixel(page.dc, 30, 20) == Paper; }},
        {"flat, the bottom only", [&] { return ui->DrawBorder(10, 10, 50, 30, dcBorderRaised, static_cast<DCBorderTypeFlags>(dcBorderBottom | dcBorderFlat)); },
         {10, 10, 50, 30}, [&] { return drawn(10, 29, 1, 0, 40) && page.inked().top >= 28; }},
        {"push button", [&] { return ui->DrawControlFrame(10, 10, 50, 30, dcFrameButton, dcFrameButtonPush); }, {10, 10, 50, 30},
         [&] { return drawn(10, 10, 1, 0, 40) && GetPixel(page.dc, 30, 20) == GetSysColor(COLOR_BTNFACE); }},
        {"focus rectangle", [&] { return ui->DrawRectFocus(10, 10, 50, 30); }, {10, 10, 50, 30},
         [&] { return GetPixel(page.dc, 30, 20) == Paper; }},
        {"desktop", [&] { IntersectClipRect(page.dc, 0, 0, 20, 20); return ui->CaptureWallpaper(); }, {0, 0, 20, 20},
         [&] { return SelectClipRgn(page.dc, nullptr) != ERROR; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(page.surface.Get(), Paper);
        MoveToEx(page.dc, 20, 20, nullptr);
        ASSERT_EQ(c.draw(), S_OK);
        EXPECT_TRUE(c.look());
        const RECT box = page.inked();
        EXPECT_TRUE(box.right && box.left >= c.within.left && box.top >= c.within.top && box.right <= c.within.right &&
                    box.bottom <= c.within.bottom);
        POINT pen{};
        GetCurrentPositionEx(page.dc, &pen);
        EXPECT_EQ(pen.x * 100 + pen.y, c.within.right * 100 + c.within.bottom);
    }
}

TEST_F(InterfaceDrawing, TicksACheckedBoxAndUndoesAFocusRectangle) {
    ASSERT_EQ(ui->DrawControlFrame(0, 0, 16, 16, dcFrameButton, dcFrameButtonCheck), S_OK);
    const std::vector<COLORREF> unchecked = page.pixels();
    ASSERT_EQ(ui->DrawControlFrame(0, 0, 16, 16, dcFrameButton, static_cast<DCFrameControlFlags>(dcFrameButtonCheck | dcFrameChecked)), S_OK);
    const std::vector<COLORREF> checked = page.pixels();
    EXPECT_FALSE(checked == unchecked) << "the tick";
    ASSERT_EQ(ui->DrawRectFocus(5, 5, 40, 40), S_OK);
    EXPECT_FALSE(page.pixels() == checked);
    ASSERT_EQ(ui->DrawRectFocus(5, 5, 40, 40), S_OK);
    EXPECT_TRUE(page.pixels() == checked);
}

// Images and text in a state look against the platform's drawing of the
// content type the member should have chosen.
TEST_F(InterfaceDrawing, DrawsImagesAndTextInAStateLook) {
    const std::vector<DWORD> red(64, 0x00FF0000);
    const kolorit::GdiObject<HBITMAP> bitmap(CreateBitmap(8, 8, 1, 32, red.data()));
    const HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    long zero = 0, ten = 10;
    Text prefixed(L"&Kolorit");
    struct Case { const char* what; std::function<HRESULT()> draw; std::vector<COLORREF> expected; };
    const Case cases[] = {
        {"icon at its own size", [&] { return ui->CaptureImageState(handleValue(icon), 0, &zero, 0, 0, nullptr, dcStateNormal, VARIANT_TRUE); },
         platformState(icon, nullptr, DST_ICON)},
        {"disabled bitmap, the 3 in Flags replaced",
         [&] { return ui->CaptureImageState(handleValue(bitmap.get()), 0, &zero, 0, 0, nullptr, static_cast<DCStateFlags>(3 | dcStateDisabled), VARIANT_FALSE); },
         platformState(bitmap.get(), nullptr, DST_BITMAP | DSS_DISABLED)},
        {"prefixes", [&] { return ui->DrawStatedText(prefixed.ref(), 0, 0, 0, 0, nullptr, dcStateNormal, VARIANT_TRUE); },
         platformState(nullptr, "&Kolorit", DST_PREFIXTEXT)},
        {"an ampersand as a character", [&] { return ui->DrawStatedText(prefixed.ref(), 0, 0, 0, 0, nullptr, dcStateNormal, VARIANT_FALSE); },
         platformState(nullptr, "&Kolorit", DST_TEXT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(page.surface.Get(), Paper);
        ASSERT_EQ(c.draw(), S_OK);
        EXPECT_FALSE(page.blank());
        EXPECT_TRUE(page.pixels() == c.expected);
    }
    EXPECT_EQ(prefixed.str(), L"&Kolorit");
    fill(page.surface.Get(), Paper);
    ASSERT_EQ(ui->CaptureImageState(handleValue(bitmap.get()), 10, &ten, 14, 14, nullptr, dcStateNormal, VARIANT_FALSE), S_OK);
    EXPECT_EQ(page.inked().left + page.inked().top * 100 + page.inked().right * 10000, 10 + 1000 + 140000) << "sized by the corners";
}

TEST_F(InterfaceDrawing, RefusesABrushWithoutItsFlag) {
    ComPtr<_GDIPen> pen;
    ASSERT_EQ(vellum()->CreatePenObject(Red, 0, 1, &pen), S_OK);
    ComPtr<_GDIBrush> brush = makeBrush(Blue);
    Text text(L"a\x0100");
    long zero = 0;
    const OLE_HANDLE icon = handleValue(LoadIcon(nullptr, IDI_APPLICATION));
    const Refusal refusals[] = {
        {"text, brush without dcStateBrushColor", [&] { return ui->DrawStatedText(text.ref(), 0, 0, 0, 0, brush.Get(), dcStateNormal, VARIANT_FALSE); }, 5},
        {"text, a pen", [&] { return ui->DrawStatedText(text.ref(), 0, 0, 0, 0, reinterpret_cast<_GDIBrush*>(pen.Get()), dcStateBrushColor, VARIANT_FALSE); }, 5},
        {"image, brush without the flag", [&] { return ui->CaptureImageState(icon, 0, &zero, 0, 0, brush.Get(), dcStateDisabled, VARIANT_TRUE); }, 5},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
    EXPECT_TRUE(page.blank());
    EXPECT_EQ(text.str(), L"a\x0100") << "refused before the text was converted";
    ASSERT_EQ(ui->DrawStatedText(text.ref(), 0, 0, 0, 0, brush.Get(), dcStateBrushColor, VARIANT_FALSE), S_OK);
    const std::vector<COLORREF> drawn = page.pixels();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), Blue), drawn.end()) << "in the brush's colour";
}

// On a dead device context the state members raise run-time error 5 and the
// others their library errors (Wine draws edges, frames, focus rectangles
// and the desktop on it without failing, so the move after them fails).
TEST(DeadInterfaceDrawing, MembersRaiseTheirErrors) {
    ComPtr<_DCInterfaceDrawing> ui = Page().get(&_GDIDCEx::get_UIDrawing);
    Text text(L"Kolorit");
    long zero = 0;
    const OLE_HANDLE icon = handleValue(LoadIcon(nullptr, IDI_APPLICATION));
    const Refusal refusals[] = {
        {"DrawBorder", [&] { return ui->DrawBorder(0, 0, 9, 9, dcBorderRaised, dcBorderRect); }, 0, L"DCInterfaceDrawing.DrawBorder()", L"MoveToEx failed!"},
        {"DrawControlFrame", [&] { return ui->DrawControlFrame(0, 0, 9, 9, dcFrameButton, dcFrameButtonPush); }, 0, L"DCInterfaceDrawing.DrawControlFrame()", L"MoveToEx failed!"},
        {"DrawRectFocus", [&] { return ui->DrawRectFocus(0, 0, 9, 9); }, 0, L"DCInterfaceDrawing.DrawRectFocus()", L"MoveToEx failed!"},
        {"CaptureImageState", [&] { return ui->CaptureImageState(icon, 0, &zero, 0, 0, nullptr, dcStateNormal, VARIANT_TRUE); }, 5},
        {"DrawStatedText", [&] { return ui->DrawStatedText(text.ref(), 0, 0, 0, 0, nullptr, dcStateNormal, VARIANT_FALSE); }, 5},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
}
