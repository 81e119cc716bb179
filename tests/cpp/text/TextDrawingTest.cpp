#include "Text.h"

#include <functional>

using namespace test;

namespace {

struct TextDrawing : ::testing::Test {
    Page page;
    ComPtr<_DCTextDrawing> t = page.text();
};

SIZE extentOf(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

TEST_F(TextDrawing, IsMadeOnceAndKeepsItsAttributesInTheDeviceContext) {
    EXPECT_EQ(page.text().Get(), t.Get());
    ASSERT_EQ(t->put_TextAlign(static_cast<DCTextAlign>(dcTextAlignRight | dcTextAlignBottom)), S_OK);
    EXPECT_EQ(GetTextAlign(page.dc), UINT(TA_RIGHT | TA_BOTTOM));
    ASSERT_EQ(t->put_InnerCharSpace(3), S_OK);
    long space = 0;
    EXPECT_EQ(t->get_InnerCharSpace(&space), S_OK);
    EXPECT_EQ(space, 3);
    ASSERT_EQ(t->put_TextColor(0x80000000 | COLOR_HIGHLIGHT), S_OK);
    OLE_COLOR color = 0;
    EXPECT_EQ(t->get_TextColor(&color), S_OK);
    EXPECT_EQ(color, GetSysColor(COLOR_HIGHLIGHT)) << "a system colour reads back as its RGB value";
    ASSERT_EQ(t->put_MapperFlags(12345, 1), S_OK);
    EXPECT_EQ(SetMapperFlags(page.dc, 0), 1u) << "the value is set, PrevValue ignored";
}

// Each measurement is the platform's own for the same text and tab stops.
TEST_F(TextDrawing, MeasuresAsThePlatformDoes) {
    const std::wstring texts[] = {L"Kolorit", L"a\tb", L"a\tbb\tccc", L"W"};
    com::SafeArray one = longs({40}), two = longs({40, 100}), fromOne = longs({40, 100}, 1);
    const INT stops[] = {40, 100};
    struct Stops { const char* what; SAFEARRAY* array; int count; };
    const Stops tables[] = {{"every 40", one.get(), 1}, {"40 and 100", two.get(), 2}, {"bounds 1 to 2", fromOne.get(), 2}};
    for (const std::wstring& text : texts) {
        SCOPED_TRACE(narrow(text));
        const std::string a = ansi(text);
        const int n = static_cast<int>(a.size());
        long width = 0, height = 0;
        Text variable(text.c_str());
        ASSERT_EQ(t->TextWidth(variable.ref(), &width), S_OK);
        ASSERT_EQ(t->TextHeight(variable.ref(), &height), S_OK);
        EXPECT_EQ(width, extentOf(page.dc, a).cx);
        EXPECT_EQ(height, extentOf(page.dc, a).cy);
        const DWORD plain = GetTabbedTextExtentA(page.dc, a.c_str(), n, 0, nullptr);
        ASSERT_EQ(t->TabbedTextWidth(variable.ref(), &width), S_OK);
        ASSERT_EQ(t->TabbedTextHeight(variable.ref(), &height), S_OK);
        EXPECT_EQ(width, LOWORD(plain));
        EXPECT_EQ(height, HIWORD(plain));
        for (Stops table : tables) {
            SCOPED_TRACE(table.what);
            const DWORD packed = GetTabbedTextExtentA(page.dc, a.c_str(), n, table.count, stops);
            ASSERT_EQ(t->TabbedTextWidthEx(variable.ref(), &table.array, &width), S_OK);
            ASSERT_EQ(t->TabbedTextHeightEx(variable.ref(), &table.array, &height), S_OK);
            EXPECT_EQ(width, LOWORD(packed));
            EXPECT_EQ(height, HIWORD(packed));
        }
        EXPECT_EQ(variable.str(), text);
    }
}

TEST_F(TextDrawing, AnswersFontQueriesAsThePlatformDoes) {
    char face[256] = {};
    const int copied = GetTextFaceA(page.dc, sizeof face, face);
    BSTR name = nullptr;
    ASSERT_EQ(t->get_FontFaceName(&name), S_OK);
    EXPECT_EQ(narrow(name), std::string(face, copied)) << "exactly the characters copied";
    SysFreeString(name);
    RASTERIZER_STATUS status{sizeof status, 0, 0};
    GetRasterizerCaps(&status, sizeof status);
    DCRasterizerFlags flags{};
    long language = -1;
    EXPECT_EQ(t->get_RasterizerCapsFlags(&flags), S_OK);
    EXPECT_EQ(t->get_RasterizerCapsLanguageID(&language), S_OK);
    EXPECT_EQ(flags, status.wFlags);
    EXPECT_EQ(language, status.nLanguageID);
    DCFontLanguageInfo info{};
    EXPECT_EQ(t->get_FontLanguageInfo(&info), S_OK);
    EXPECT_EQ(static_cast<DWORD>(info), GetFontLanguageInfo(page.dc));
}

// A character outside the ANSI code page comes back as the code page made it;
// formatting that rewrites the text (65536, the platform's request to put the
// ellipsis into the string) writes into the caller's variable.
TEST_F(TextDrawing, GivesTheTextBackAsTheCodePageMadeIt) {
    const std::wstring foreign = L"a\x0100\x4E2D" L"b";
    Text variable(foreign.c_str());
    long width = 0;
    ASSERT_EQ(t->TextWidth(variable.ref(), &width), S_OK);
    EXPECT_EQ(variable.str(), roundTrip(foreign));
    EXPECT_NE(variable.str(), foreign);

    Text longText(L"Kolorit writes long texts");
    long x1 = 0, y1 = 0, x2 = 40, y2 = 20;
    ASSERT_EQ(t->DrawTextEx(longText.ref(), &x1, &y1, &x2, &y2,
                            static_cast<DCDrawTextFlags>(65536 | dcDrawEndEllipsis | dcDrawSingleLine), 0, 0, 0, 0),
              S_OK);
    EXPECT_EQ(longText.str().size(), 25u) << "Len(Text) characters come back";
    EXPECT_NE(longText.str().find(L"..."), std::wstring::npos) << narrow(longText.str());
}

// What appears where: each output member against the platform drawing the
// same text plainly, or against where its rectangle says text may go.
TEST_F(TextDrawing, DrawsWhereAskedAndClipsWhereAsked) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(page.dc, &metrics);
    const auto at = [&](int x, const char* text, int y = 10) {
        Page reference;
        SetBkMode(reference.dc, TRANSPARENT);
        TextOutA(reference.dc, x, y, text, static_cast<int>(strlen(text)));
        return reference.pixels();
    };
    const auto merged = [](std::vector<COLORREF> a, const std::vector<COLORREF>& b) {
        for (size_t i = 0; i < a.size(); ++i) if (b[i] != Paper) a[i] = b[i];
        return a;
    };
    com::SafeArray fifty = longs({50}), stops = longs({30, 80});
    SAFEARRAY* every50 = fifty.get();
    SAFEARRAY* at30and80 = stops.get();
    Text ab(L"a\tb"), abc(L"a\tb\tc"), word(L"Kolorit");
    struct Case { const char* what; std::function<HRESULT()> draw; std::vector<COLORREF> expected; };
    const Case cases[] = {
        {"DrawText", [&] { return t->DrawText(word.ref(), 20, 10); }, at(20, "Kolorit")},
        {"default tabs: eight average widths",
         [&] { return t->DrawTabbedText(ab.ref(), 10, 10, 10); }, merged(at(10, "a"), at(10 + 8 * metrics.tmAveCharWidth, "b"))},
        {"tabs every 50 from the origin",
         [&] { return t->DrawTabbedTextEx(ab.ref(), 10, 10, &every50, 10); }, merged(at(10, "a"), at(60, "b"))},
        {"tabs at 30 and 80",
         [&] { return t->DrawTabbedTextEx(abc.ref(), 0, 10, &at30and80, 0); },
         merged(merged(at(0, "a"), at(30, "b")), at(80, "c"))},
        {"no rectangle: nothing filled although opaque",
         [&] { return t->DrawExtText(word.ref(), 20, 10, dcDrawExtOpaque, 0, 0, 0, 0); }, at(20, "Kolorit")},
    };
    SetBkMode(page.dc, TRANSPARENT);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(page.surface.Get(), Paper);
        ASSERT_EQ(c.draw(), S_OK);
        EXPECT_TRUE(page.pixels() == c.expected);
    }

    // Clipped at x = 50, and an opaque rectangle filled with the background colour.
    fill(page.surface.Get(), Paper);
    Text wide(L"WWWWWWWWWWWWWWWWWWWW");
    ASSERT_EQ(t->DrawExtText(wide.ref(), 0, 0, dcDrawExtClipped, 0, 0, 50, 20), S_OK);
    EXPECT_EQ(page.inked().right, 50);
    SetBkColor(page.dc, Blue);
    ASSERT_EQ(t->DrawExtText(word.ref(), 0, 30, dcDrawExtOpaque, 0, 30, 200, 60), S_OK);
    EXPECT_EQ(GetPixel(page.dc, 199, 59), Blue);

    // Colour and alignment: right-aligned text ends at its point.
    fill(page.surface.Get(), Paper);
    ASSERT_EQ(t->put_TextColor(Red), S_OK);
    ASSERT_EQ(t->put_TextAlign(dcTextAlignRight), S_OK);
    ASSERT_EQ(t->DrawText(word.ref(), 150, 10), S_OK);
    const RECT box = page.inked();
    EXPECT_LE(box.right, 150);
    EXPECT_GE(box.left, 150 - extentOf(page.dc, "Kolorit").cx);
    const std::vector<COLORREF> drawn = page.pixels();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), Red), drawn.end());
}

// DrawTextEx against the platform's DrawTextExA on the rectangle it should
// have built; the corners come back only from a measuring call.
TEST_F(TextDrawing, FormatsTextInTheRectangleItBuilds) {
    const char* sentence = "Kolorit draws formatted text for scripts";
    struct Case { const char* what; long x1, y1, x2, y2; long flags; long margin; RECT platform; DRAWTEXTPARAMS* record; };
    DRAWTEXTPARAMS margin{sizeof margin, 0, 5, 0, 0};
    const Case cases[] = {
        {"only the text: one line, middle, ellipsis", 0, 0, 0, 0, 32804, 0, {0, 0, 200, 60}, nullptr},
        {"right edge 0 is the bitmap's width", 10, 0, 0, 50, dcDrawWordBreak, 0, {10, 0, 200, 50}, nullptr},
        {"a left margin indents", 0, 0, 120, 40, dcDrawWordBreak, 5, {0, 0, 120, 40}, &margin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page reference;
        RECT r = c.platform;
        DrawTextExA(reference.dc, const_cast<char*>(sentence), static_cast<int>(strlen(sentence)), &r, c.flags, c.record);
        fill(page.surface.Get(), Paper);
        Text text(L"Kolorit draws formatted text for scripts");
        long x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(t->DrawTextEx(text.ref(), &x1, &y1, &x2, &y2, static_cast<DCDrawTextFlags>(c.flags), c.margin, 0, 0, 0), S_OK);
        EXPECT_TRUE(page.pixels() == reference.pixels());
        EXPECT_EQ(x1 * 1000000 + y1 * 10000 + x2 * 100 + y2, c.x1 * 1000000 + c.y1 * 10000 + c.x2 * 100 + c.y2)
            << "the corners are left as they were";
    }

    fill(page.surface.Get(), Paper);
    RECT measured{0, 0, 100, 0};
    DrawTextExA(page.dc, const_cast<char*>(sentence), static_cast<int>(strlen(sentence)), &measured,
                DT_CALCRECT | DT_WORDBREAK, nullptr);
    Text text(L"Kolorit draws formatted text for scripts");
    long x1 = 0, y1 = 0, x2 = 100, y2 = 0;
    ASSERT_EQ(t->DrawTextEx(text.ref(), &x1, &y1, &x2, &y2,
                            static_cast<DCDrawTextFlags>(dcDrawCalcRectInstead | dcDrawWordBreak), 0, 0, 0, 0), S_OK);
    EXPECT_TRUE(empty(page.inked())) << "measuring draws nothing";
    EXPECT_EQ(y2, measured.bottom);
    EXPECT_GT(y2, extentOf(page.dc, "K").cy) << "the text wrapped";
    EXPECT_EQ(x1 + y1, 0);
}

TEST_F(TextDrawing, GraysText) {
    Text text(L"Kolorit");
    ASSERT_EQ(t->DrawGrayedText(text.ref(), 10, 10, 110, 40, nullptr), S_OK);
    const RECT box = page.inked();
    EXPECT_FALSE(empty(box));
    EXPECT_GE(box.left, 10);
    EXPECT_GE(box.top, 10);
    fill(page.surface.Get(), Paper);
    ASSERT_EQ(t->DrawGrayedText(text.ref(), 10, 10, 0, 0, nullptr), S_OK);
    EXPECT_TRUE(empty(page.inked())) << "omitted corners make a negative size";
    fill(page.surface.Get(), Paper);
    ASSERT_EQ(t->DrawGrayedText(text.ref(), 0, 0, 0, 0, makeBrush(Red).Get()), S_OK);
    EXPECT_FALSE(empty(page.inked()));
}

// Refusals a user meets on a live device context: the variable keeps its
// text when the arguments are refused before the call.
TEST_F(TextDrawing, RefusesBadArgumentsBeforeTouchingTheText) {
    Text text(L"a\x0100");
    ComPtr<_GDIPen> pen;
    ASSERT_EQ(vellum()->CreatePenObject(Red, 0, 1, &pen), S_OK);
    SAFEARRAY* never = nullptr;
    SAFEARRAYBOUND bounds{2, 0};
    com::SafeArray doubles(SafeArrayCreate(VT_R8, 1, &bounds));
    SAFEARRAY* notLongs = doubles.get();
    long value = 0;
    const Refusal refusals[] = {
        {"never dimensioned", [&] { return t->TabbedTextWidthEx(text.ref(), &never, &value); }, 9},
        {"never dimensioned, drawing", [&] { return t->DrawTabbedTextEx(text.ref(), 0, 0, &never, 0); }, 9},
        {"not Longs", [&] { return t->TabbedTextHeightEx(text.ref(), &notLongs, &value); }, 5},
        {"a pen is no brush", [&] { return t->DrawGrayedText(text.ref(), 0, 0, 0, 0, reinterpret_cast<_GDIBrush*>(pen.Get())); }, 5},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
    EXPECT_EQ(text.str(), L"a\x0100");
    EXPECT_TRUE(empty(page.inked()));
    t->DrawGrayedText(text.ref(), 0, 0, 0, 0, reinterpret_cast<_GDIBrush*>(pen.Get()));
    EXPECT_EQ(narrow(errorOf(E_FAIL).description), "Brush object was not valid!");
}

// A text object whose hub and surface are gone: members raise their own
// errors, and the text still comes back converted. (Wine answers
// GetTextAlign, GetTabbedTextExtent, GetTextFace, GetFontLanguageInfo and
// TabbedTextOut on a dead device context without failing.)
TEST(DeadTextDrawing, MembersRaiseTheirErrors) {
    ComPtr<_DCTextDrawing> t = Page().text();
    Text text(L"a\x0100");
    long value = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    const Refusal refusals[] = {
        {"TextColor", [&] { return t->put_TextColor(Red); }, 0, L"DCTextDrawing.TextColor [let]", L"SetTextColor failed!"},
        {"InnerCharSpace", [&] { return t->get_InnerCharSpace(&value); }, 0, L"DCTextDrawing.InnerCharSpace [get]", L"GetTextCharacterExtra failed!"},
        {"MapperFlags", [&] { return t->put_MapperFlags(0, 1); }, 0, L"DCTextDrawing.MapperFlags [let]", L"SetMapperFlags failed!"},
        {"TextHeight", [&] { return t->TextHeight(text.ref(), &value); }, 0, L"DCTextDrawing.TextHeight()", L"GetTextExtentPoint32 failed!"},
        {"DrawText", [&] { return t->DrawText(text.ref(), 0, 0); }, 0, L"DCTextDrawing.DrawText()", L"TextOut failed!"},
        {"DrawExtText", [&] { return t->DrawExtText(text.ref(), 0, 0, dcDrawExtClipped, 0, 0, 9, 9); }, 5},
        {"DrawGrayedText", [&] { return t->DrawGrayedText(text.ref(), 0, 0, 0, 0, nullptr); }, 0, L"DCTextDrawing.DrawGrayedText()", L"GrayString failed!"},
        {"DrawTextEx", [&] { return t->DrawTextEx(text.ref(), &x1, &y1, &x2, &y2, dcDrawCalcRectInstead, 0, 0, 0, 0); }, 0, L"GetStructBitap()", L"Failed to get bitmap information"},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
    EXPECT_EQ(text.str(), roundTrip(L"a\x0100")) << "converted back after failing";
}
