#include "Text.h"

#include <functional>

using namespace test;

namespace {

struct TextDrawing : ::testing::Test {
    Page page;
    ComPtr<_DCTextDrawing> t = page.get(&_GDIDCEx::get_TextDrawing);
};

}  // namespace

TEST_F(TextDrawing, IsMadeOnceAndKeepsItsAttributesInTheDeviceContext) {
    EXPECT_EQ(page.get(&_GDIDCEx::get_TextDrawing).Get(), t.Get());
    ASSERT_EQ(t->put_TextAlign(static_cast<DCTextAlign>(dcTextAlignRight | dcTextAlignBottom)), S_OK);
    EXPECT_EQ(GetTextAlign(page.dc), UINT(TA_RIGHT | TA_BOTTOM));
    long space = 0;
    ASSERT_EQ(t->put_InnerCharSpace(3), S_OK);
    EXPECT_EQ(t->get_InnerCharSpace(&space), S_OK);
    EXPECT_EQ(space, 3);
    OLE_COLOR color = 0;
    ASSERT_EQ(t->put_TextColor(0x80000000 | COLOR_HIGHLIGHT), S_OK);
    EXPECT_EQ(t->get_TextColor(&color), S_OK);
    EXPECT_EQ(color, GetSysColor(COLOR_HIGHLIGHT)) << "a system colour reads back as its RGB value";
    ASSERT_EQ(t->put_MapperFlags(12345, 1), S_OK);
    EXPECT_EQ(SetMapperFlags(page.dc, 0), 1u) << "the value is set, PrevValue ignored";
}

// Measurements and font queries answer what the platform answers for the
// same text and tab stops; an array from index 1 is read from there.
TEST_F(TextDrawing, MeasuresAsThePlatformDoes) {
    com::SafeArray one = longs({40}), two = longs({40, 100}, 1);
    const INT stops[] = {40, 100};
    const char* ansi = "a\tbb\tccc";
    Text text(L"a\tbb\tccc");
    long w = 0, h = 0;
    SIZE size{};
    GetTextExtentPoint32A(page.dc, ansi, 8, &size);
    ASSERT_EQ(t->TextWidth(text.ref(), &w) | t->TextHeight(text.ref(), &h), S_OK);
    EXPECT_EQ(w * 1000 + h, size.cx * 1000 + size.cy);
    struct Stops { SAFEARRAY* array; int count; };
    for (Stops s : {Stops{nullptr, 0}, Stops{one.get(), 1}, Stops{two.get(), 2}}) {
        const DWORD packed = GetTabbedTextExtentA(page.dc, ansi, 8, s.count, stops);
        ASSERT_EQ(s.array ? t->TabbedTextWidthEx(text.ref(), &s.array, &w) | t->TabbedTextHeightEx(text.ref(), &s.array, &h)
                          : t->TabbedTextWidth(text.ref(), &w) | t->TabbedTextHeight(text.ref(), &h), S_OK);
        EXPECT_EQ(w * 1000 + h, LOWORD(packed) * 1000 + HIWORD(packed)) << s.count << " tab stops";
    }
    EXPECT_EQ(text.str(), L"a\tbb\tccc");
    SetTextCharacterExtra(page.dc, 20000);
    ASSERT_EQ(t->TabbedTextWidth(text.ref(), &w), S_OK);
    EXPECT_EQ(w, static_cast<short>(LOWORD(GetTabbedTextExtentA(page.dc, ansi, 8, 0, nullptr))));
    EXPECT_LT(w, 0) << "a width of 32768 or more comes back negative";
    SetTextCharacterExtra(page.dc, 0);

    char face[256] = {};
    const int copied = GetTextFaceA(page.dc, sizeof face, face);
    BSTR name = nullptr;
    ASSERT_EQ(t->get_FontFaceName(&name), S_OK);
    EXPECT_EQ(narrow(name), std::string(face, copied)) << "exactly the characters copied";
    SysFreeString(name);
    RASTERIZER_STATUS status{sizeof status, 0, 0};
    GetRasterizerCaps(&status, sizeof status);
    DCRasterizerFlags flags{};
    DCFontLanguageInfo info{};
    ASSERT_EQ(t->get_RasterizerCapsFlags(&flags) | t->get_RasterizerCapsLanguageID(&w) | t->get_FontLanguageInfo(&info), S_OK);
    EXPECT_EQ(flags * 100000 + w, status.wFlags * 100000 + status.nLanguageID);
    EXPECT_EQ(static_cast<DWORD>(info), GetFontLanguageInfo(page.dc));
}

// A character outside the ANSI code page comes back as the code page made it;
// a formatting request that rewrites the text (65536, the ellipsis put into
// the string) writes into the caller's variable, Len(Text) characters long.
TEST_F(TextDrawing, GivesTheTextBackAsTheCodePageMadeIt) {
    Text foreign(L"a\x0100\x4E2D" L"b"), sentence(L"Kolorit writes long texts");
    long w = 0, x1 = 0, y1 = 0, x2 = 40, y2 = 20;
    ASSERT_EQ(t->TextWidth(foreign.ref(), &w), S_OK);
    EXPECT_EQ(foreign.str(), roundTrip(L"a\x0100\x4E2D" L"b"));
    EXPECT_NE(foreign.str(), L"a\x0100\x4E2D" L"b");
    // A surrogate pair may become fewer bytes than characters: the platform
    // measures what the conversion made, nothing beyond it.
    char bytes[8] = {};
    SIZE size{};
    GetTextExtentPoint32A(page.dc, bytes, WideCharToMultiByte(CP_ACP, 0, L"a\xD83D\xDE00", 3, bytes, 8, nullptr, nullptr), &size);
    Text pair(L"a\xD83D\xDE00");
    ASSERT_EQ(t->TextWidth(pair.ref(), &w), S_OK);
    EXPECT_EQ(w, size.cx);
    ASSERT_EQ(t->DrawTextEx(sentence.ref(), &x1, &y1, &x2, &y2,
                            static_cast<DCDrawTextFlags>(65536 | dcDrawEndEllipsis | dcDrawSingleLine), 0, 0, 0, 0), S_OK);
    EXPECT_EQ(sentence.str().size(), 25u);
    EXPECT_NE(sentence.str().find(L"..."), std::wstring::npos) << narrow(sentence.str());
}

// Each output member against the platform drawing plain text where the
// member should have put it; rectangles clip and fill.
TEST_F(TextDrawing, DrawsWhereAskedAndClipsWhereAsked) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(page.dc, &metrics);
    std::vector<COLORREF> expected;
    const auto at = [&](int x, const char* text, COLORREF color = 0) {
        Page reference;
        SetBkMode(reference.dc, TRANSPARENT);
        SetTextColor(reference.dc, color);
        TextOutA(reference.dc, x, 10, text, static_cast<int>(strlen(text)));
        const std::vector<COLORREF> drawn = reference.pixels();
        if (expected.empty()) expected.assign(drawn.size(), Paper);
        for (size_t i = 0; i < drawn.size(); ++i) if (drawn[i] != Paper) expected[i] = drawn[i];
    };
    com::SafeArray fifty = longs({50}), stops = longs({30, 80});
    SAFEARRAY* every50 = fifty.get();
    SAFEARRAY* at30and80 = stops.get();
    Text ab(L"a\tb"), abc(L"a\tb\tc"), word(L"Kolorit");
    SIZE size{};
    GetTextExtentPoint32A(page.dc, "Kolorit", 7, &size);
    struct Case { const char* what; std::function<HRESULT()> draw; std::function<void()> expect; };
    const Case cases[] = {
        {"DrawText", [&] { return t->DrawText(word.ref(), 20, 10); }, [&] { at(20, "Kolorit"); }},
        {"default tabs every eight average widths from the origin", [&] { return t->DrawTabbedText(ab.ref(), 10, 10, 10); },
         [&] { at(10, "a"), at(10 + 8 * metrics.tmAveCharWidth, "b"); }},
        {"tabs every 50", [&] { return t->DrawTabbedTextEx(ab.ref(), 10, 10, &every50, 10); }, [&] { at(10, "a"), at(60, "b"); }},
        {"tabs at 30 and 80", [&] { return t->DrawTabbedTextEx(abc.ref(), 0, 10, &at30and80, 0); },
         [&] { at(0, "a"), at(30, "b"), at(80, "c"); }},
        {"opaque without a rectangle fills nothing", [&] { return t->DrawExtText(word.ref(), 20, 10, dcDrawExtOpaque, 0, 0, 0, 0); },
         [&] { at(20, "Kolorit"); }},
        {"red, right-aligned: ends at its point",
         [&] { t->put_TextColor(Red), t->put_TextAlign(dcTextAlignRight); return t->DrawText(word.ref(), 150, 10); },
         [&] { at(150 - size.cx, "Kolorit", Red); }},
    };
    SetBkMode(page.dc, TRANSPARENT);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fill(page.surface.Get(), Paper);
        expected.clear();
        c.expect();
        ASSERT_EQ(c.draw(), S_OK);
        EXPECT_TRUE(page.pixels() == expected);
    }
    SetTextAlign(page.dc, TA_LEFT);
    fill(page.surface.Get(), Paper);
    Text wide(L"WWWWWWWWWWWWWWWWWWWW");
    ASSERT_EQ(t->DrawExtText(wide.ref(), 0, 0, dcDrawExtClipped, 0, 0, 50, 20), S_OK);
    EXPECT_EQ(page.inked().right, 50);
    SetBkColor(page.dc, Blue);
    ASSERT_EQ(t->DrawExtText(word.ref(), 0, 30, dcDrawExtOpaque, 0, 30, 200, 60), S_OK);
    EXPECT_EQ(GetPixel(page.dc, 199, 59), Blue) << "the rectangle filled with the background colour";
}

// DrawTextEx against DrawTextExA on the rectangle it should have built; the
// corners come back only from a measuring call.
TEST_F(TextDrawing, FormatsTextInTheRectangleItBuilds) {
    char sentence[] = "Kolorit draws formatted text for scripts";
    DRAWTEXTPARAMS margin{sizeof margin, 0, 5, 0, 0};
    struct Case { const char* what; long x1, y1, x2, y2, flags, margin; RECT platform; DRAWTEXTPARAMS* record; };
    const Case cases[] = {
        {"only the text: one line, middle, ellipsis", 0, 0, 0, 0, 32804, 0, {0, 0, 200, 60}, nullptr},
        {"right edge 0 is the bitmap's width", 10, 0, 0, 50, dcDrawWordBreak, 0, {10, 0, 200, 50}, nullptr},
        {"a left margin indents", 0, 0, 120, 40, dcDrawWordBreak, 5, {0, 0, 120, 40}, &margin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Page reference;
        RECT r = c.platform;
        DrawTextExA(reference.dc, sentence, sizeof sentence - 1, &r, c.flags, c.record);
        fill(page.surface.Get(), Paper);
        Text text(L"Kolorit draws formatted text for scripts");
        long x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(t->DrawTextEx(text.ref(), &x1, &y1, &x2, &y2, static_cast<DCDrawTextFlags>(c.flags), c.margin, 0, 0, 0), S_OK);
        EXPECT_TRUE(page.pixels() == reference.pixels());
        EXPECT_TRUE(x1 == c.x1 && y1 == c.y1 && x2 == c.x2 && y2 == c.y2) << "the corners are left as they were";
    }
    fill(page.surface.Get(), Paper);
    RECT measured{0, 0, 100, 0};
    DrawTextExA(page.dc, sentence, sizeof sentence - 1, &measured, DT_CALCRECT | DT_WORDBREAK, nullptr);
    Text text(L"Kolorit draws formatted text for scripts");
    long x1 = 0, y1 = 0, x2 = 100, y2 = 0;
    ASSERT_EQ(t->DrawTextEx(text.ref(), &x1, &y1, &x2, &y2,
                            static_cast<DCDrawTextFlags>(dcDrawCalcRectInstead | dcDrawWordBreak), 0, 0, 0, 0), S_OK);
    EXPECT_TRUE(page.blank()) << "measuring draws nothing";
    EXPECT_TRUE(x1 == 0 && y1 == 0 && x2 == measured.right && y2 == measured.bottom);
    EXPECT_GT(y2, 20) << "the text wrapped";
}

// Omitted corners make the size -X1 by -Y1: only at the origin does the
// platform measure the text.
TEST_F(TextDrawing, GraysText) {
    Text text(L"Kolorit");
    ASSERT_EQ(t->DrawGrayedText(text.ref(), 10, 10, 0, 0, nullptr), S_OK);
    EXPECT_TRUE(page.blank());
    ASSERT_EQ(t->DrawGrayedText(text.ref(), 10, 10, 110, 40, nullptr), S_OK);
    EXPECT_TRUE(page.inked().left >= 10 && page.inked().top >= 10);
    fill(page.surface.Get(), Paper);
    ASSERT_EQ(t->DrawGrayedText(text.ref(), 0, 0, 0, 0, makeBrush(Red).Get()), S_OK);
    EXPECT_FALSE(page.blank());
}

// An empty text measures 0 and draws nothing, also where the platform
// answers 0 as it does for a failure.
TEST_F(TextDrawing, TakesEmptyTexts) {
    Text none(L"");
    com::SafeArray stops = longs({40});
    SAFEARRAY* array = stops.get();
    long w = -1, h = -1, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ComPtr<_DCInterfaceDrawing> ui = page.get(&_GDIDCEx::get_UIDrawing);
    for (HRESULT hr : {t->TabbedTextWidth(none.ref(), &w), t->TabbedTextHeightEx(none.ref(), &array, &h),
                       t->DrawTabbedText(none.ref(), 0, 0, 0), t->DrawTabbedTextEx(none.ref(), 0, 0, &array, 0),
                       t->DrawTextEx(none.ref(), &x1, &y1, &x2, &y2, static_cast<DCDrawTextFlags>(32804), 0, 0, 0, 0),
                       ui->DrawStatedText(none.ref(), 0, 0, 0, 0, nullptr, dcStateNormal, VARIANT_FALSE)})
        EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(w + h, 0);
    EXPECT_TRUE(page.blank());
}

// Arguments refused before the call leave the variable's text untouched.
TEST_F(TextDrawing, RefusesBadArgumentsBeforeTouchingTheText) {
    Text text(L"a\x0100");
    ComPtr<_GDIPen> pen;
    ASSERT_EQ(vellum()->CreatePenObject(Red, 0, 1, &pen), S_OK);
    _GDIBrush* notABrush = reinterpret_cast<_GDIBrush*>(pen.Get());
    SAFEARRAY* never = nullptr;
    SAFEARRAYBOUND bounds{2, 0};
    com::SafeArray doubles(SafeArrayCreate(VT_R8, 1, &bounds));
    SAFEARRAY* notLongs = doubles.get();
    long value = 0;
    const Refusal refusals[] = {
        {"never dimensioned", [&] { return t->TabbedTextWidthEx(text.ref(), &never, &value); }, 9},
        {"never dimensioned, drawing", [&] { return t->DrawTabbedTextEx(text.ref(), 0, 0, &never, 0); }, 9},
        {"not Longs", [&] { return t->TabbedTextHeightEx(text.ref(), &notLongs, &value); }, 5},
        {"a pen is no brush", [&] { return t->DrawGrayedText(text.ref(), 0, 0, 0, 0, notABrush); }, 5},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
    EXPECT_EQ(text.str(), L"a\x0100");
    EXPECT_TRUE(page.blank());
    EXPECT_EQ(narrow(errorOf(t->DrawGrayedText(text.ref(), 0, 0, 0, 0, notABrush)).description), "Brush object was not valid!");
}

// A text object whose hub and surface are gone: members raise their own
// errors, and the text comes back converted also from a failed call. (Wine
// answers GetTextAlign, GetTabbedTextExtent, GetTextFace, GetFontLanguageInfo
// and TabbedTextOut on a dead device context without failing.)
TEST(DeadTextDrawing, MembersRaiseTheirErrors) {
    ComPtr<_DCTextDrawing> t = Page().get(&_GDIDCEx::get_TextDrawing);
    Text text(L"a\x0100");
    long value = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    const Refusal refusals[] = {
        {"TextColor", [&] { return t->put_TextColor(Red); }, 0, L"DCTextDrawing.TextColor [let]", L"SetTextColor failed!"},
        {"InnerCharSpace", [&] { return t->get_InnerCharSpace(&value); }, 0, L"DCTextDrawing.InnerCharSpace [get]", L"GetTextCharacterExtra failed!"},
        {"MapperFlags", [&] { return t->put_MapperFlags(0, 1); }, 0, L"DCTextDrawing.MapperFlags [let]", L"SetMapperFlags failed!"},
        {"DrawText", [&] { return t->DrawText(text.ref(), 0, 0); }, 0, L"DCTextDrawing.DrawText()", L"TextOut failed!"},
        {"TextHeight", [&] { return t->TextHeight(text.ref(), &value); }, 0, L"DCTextDrawing.TextHeight()", L"GetTextExtentPoint32 failed!"},
        {"DrawExtText", [&] { return t->DrawExtText(text.ref(), 0, 0, dcDrawExtClipped, 0, 0, 9, 9); }, 5},
        {"DrawGrayedText", [&] { return t->DrawGrayedText(text.ref(), 0, 0, 0, 0, nullptr); }, 0, L"DCTextDrawing.DrawGrayedText()", L"GrayString failed!"},
        {"DrawTextEx", [&] { return t->DrawTextEx(text.ref(), &x1, &y1, &x2, &y2, dcDrawCalcRectInstead, 0, 0, 0, 0); }, 0, L"GetStructBitap()", L"Failed to get bitmap information"},
    };
    expectRefused(refusals[3]);
    EXPECT_EQ(text.str(), roundTrip(L"a\x0100")) << "converted back after the failed call";
    for (const Refusal& refusal : refusals) expectRefused(refusal);
}
