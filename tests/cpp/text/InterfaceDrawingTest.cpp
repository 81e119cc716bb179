#include "Text.h"

#include <functional>

using namespace test;

namespace {

struct InterfaceDrawing : ::testing::Test {
    Page page{64, 64};
    ComPtr<_DCInterfaceDrawing> ui = page.ui();

    // Whether the pixel differs from the paper, for every pixel of a row or column.
    bool rowChanged(int y, int from, int to) const {
        for (int x = from; x < to; ++x) if (GetPixel(page.dc, x, y) == Paper) return false;
        return true;
    }
    bool columnChanged(int x, int from, int to) const {
        for (int y = from; y < to; ++y) if (GetPixel(page.dc, x, y) == Paper) return false;
        return true;
    }
};

// A red 8 x 8 bitmap.
kolorit::GdiObject<HBITMAP> redBitmap() {
    const std::vector<DWORD> bits(64, 0x00FF0000);
    return kolorit::GdiObject<HBITMAP>(CreateBitmap(8, 8, 1, 32, bits.data()));
}

}  // namespace

// Each element against where it may draw: inside its rectangle only, with
// the pen left at the second corner.
TEST_F(InterfaceDrawing, DrawsItsElementsInsideTheirRectangles) {
    struct Case { const char* what; std::function<HRESULT()> draw; RECT within; std::function<bool()> look; };
    const Case cases[] = {
        {"raised border on all four sides", [&] { return ui->DrawBorder(10, 10, 50, 30, dcBorderRaised, dcBorderRect); },
         {10, 10, 50, 30},
         [&] { return rowChanged(10, 10, 50) && rowChanged(29, 10, 50) && columnChanged(10, 10, 30) &&
                      columnChanged(49, 10, 30) && GetPixel(page.dc, 30, 20) == Paper; }},
        {"flat bottom only", [&] { return ui->DrawBorder(10, 10, 50, 30, dcBorderRaised, static_cast<DCBorderTypeFlags>(dcBorderBottom | dcBorderFlat)); },
         {10, 10, 50, 30}, [&] { return rowChanged(29, 10, 50) && !rowChanged(10, 10, 50) && !columnChanged(10, 10, 28); }},
        {"push button", [&] { return ui->DrawControlFrame(10, 10, 50, 30, dcFrameButton, dcFrameButtonPush); },
         {10, 10, 50, 30}, [&] { return rowChanged(10, 10, 50) && GetPixel(page.dc, 30, 20) == GetSysColor(COLOR_BTNFACE); }},
        {"focus rectangle", [&] { return ui->DrawRectFocus(10, 10, 50, 30); }, {10, 10, 50, 30},
         [&] { return GetPixel(page.dc, 30, 20) == Paper; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(page.surface.Get(), Paper);
        MoveToEx(page.dc, 0, 0, nullptr);
        ASSERT_EQ(c.draw(), S_OK);
        const RECT box = page.inked();
        EXPECT_FALSE(empty(box));
        EXPECT_TRUE(box.left >= c.within.left && box.top >= c.within.top && box.right <= c.within.right &&
                    box.bottom <= c.within.bottom);
        EXPECT_TRUE(c.look());
        POINT pen{};
        GetCurrentPositionEx(page.dc, &pen);
        EXPECT_EQ(pen.x * 100 + pen.y, c.within.right * 100 + c.within.bottom);
    }
}

TEST_F(InterfaceDrawing, TicksACheckedBoxAndUndoesAFocusRectangle) {
    ASSERT_EQ(ui->DrawControlFrame(0, 0, 16, 16, dcFrameButton, dcFrameButtonCheck), S_OK);
    const std::vector<COLORREF> unchecked = page.pixels();
    ASSERT_EQ(ui->DrawControlFrame(0, 0, 16, 16, dcFrameButton, static_cast<DCFrameControlFlags>(dcFrameButtonCheck | dcFrameChecked)), S_OK);
    EXPECT_FALSE(page.pixels() == unchecked) << "the tick";

    const std::vector<COLORREF> before = page.pixels();
    ASSERT_EQ(ui->DrawRectFocus(5, 5, 40, 40), S_OK);
    EXPECT_FALSE(page.pixels() == before);
    ASSERT_EQ(ui->DrawRectFocus(5, 5, 40, 40), S_OK);
    EXPECT_TRUE(page.pixels() == before);
}

// Fills the clipping area, leaves the pen where it was.
TEST_F(InterfaceDrawing, PaintsTheDesktopIntoTheClippingArea) {
    IntersectClipRect(page.dc, 0, 0, 20, 20);
    MoveToEx(page.dc, 7, 8, nullptr);
    ASSERT_EQ(ui->CaptureWallpaper(), S_OK);
    SelectClipRgn(page.dc, nullptr);
    const RECT box = page.inked();
    EXPECT_FALSE(empty(box));
    EXPECT_TRUE(box.right <= 20 && box.bottom <= 20);
    POINT pen{};
    GetCurrentPositionEx(page.dc, &pen);
    EXPECT_EQ(pen.x * 100 + pen.y, 708);
}

// Images and text in a state look, against the platform's own drawing of
// the same content type.
TEST_F(InterfaceDrawing, DrawsImagesAndTextInAStateLook) {
    const kolorit::GdiObject<HBITMAP> bitmap = redBitmap();
    const OLE_HANDLE hBitmap = handleValue(bitmap.get());
    const HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    const OLE_HANDLE hIcon = handleValue(icon);
    const auto reference = [](HANDLE content, LPCSTR text, UINT flags) {
        Page drawn{64, 64};
        const LPARAM data = text ? reinterpret_cast<LPARAM>(text) : reinterpret_cast<LPARAM>(content);
        DrawStateA(drawn.dc, nullptr, nullptr, data, text ? strlen(text) : 0, 0, 0, 0, 0, flags);
        return drawn.pixels();
    };
    long zero = 0, ten = 10;
    Text prefixed(L"&Kolorit");
    struct Case { const char* what; std::function<HRESULT()> draw; std::vector<COLORREF> expected; };
    const Case cases[] = {
        {"icon at its own size", [&] { return ui->CaptureImageState(hIcon, 0, &zero, 0, 0, nullptr, dcStateNormal, VARIANT_TRUE); },
         reference(icon, nullptr, DST_ICON)},
        {"bitmap, the 3 in Flags replaced", [&] { return ui->CaptureImageState(hBitmap, 0, &zero, 0, 0, nullptr, static_cast<DCStateFlags>(3 | dcStateDisabled), VARIANT_FALSE); },
         reference(bitmap.get(), nullptr, DST_BITMAP | DSS_DISABLED)},
        {"prefixes", [&] { return ui->DrawStatedText(prefixed.ref(), 0, 0, 0, 0, nullptr, dcStateNormal, VARIANT_TRUE); },
         reference(nullptr, "&Kolorit", DST_PREFIXTEXT)},
        {"an ampersand as a character", [&] { return ui->DrawStatedText(prefixed.ref(), 0, 0, 0, 0, nullptr, dcStateNormal, VARIANT_FALSE); },
         reference(nullptr, "&Kolorit", DST_TEXT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(page.surface.Get(), Paper);
        ASSERT_EQ(c.draw(), S_OK);
        EXPECT_FALSE(empty(page.inked()));
        EXPECT_TRUE(page.pixels() == c.expected);
    }
    EXPECT_EQ(prefixed.str(), L"&Kolorit");

    // Corners elsewhere than the origin: the size is their difference.
    fill(page.surface.Get(), Paper);
    ASSERT_EQ(ui->CaptureImageState(hBitmap, 10, &ten, 14, 14, nullptr, dcStateNormal, VARIANT_FALSE), S_OK);
    EXPECT_EQ(page.inked().left * 1000000 + page.inked().top * 10000 + page.inked().right * 100 + page.inked().bottom,
              10101414);
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
    EXPECT_TRUE(empty(page.inked()));
    EXPECT_EQ(text.str(), L"a\x0100") << "refused before the text was converted";

    ASSERT_EQ(ui->DrawStatedText(text.ref(), 0, 0, 0, 0, brush.Get(), dcStateBrushColor, VARIANT_FALSE), S_OK);
    const std::vector<COLORREF> drawn = page.pixels();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), Blue), drawn.end()) << "in the brush's colour";
}

// On a dead device context the drawing members raise their library errors
// (Wine draws edges, frames, focus rectangles and the desktop on it without
// failing, so the move after them fails), the state members run-time error 5.
TEST(DeadInterfaceDrawing, MembersRaiseTheirErrors) {
    ComPtr<_DCInterfaceDrawing> ui = Page().ui();
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
