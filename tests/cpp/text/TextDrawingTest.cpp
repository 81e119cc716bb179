#include "Text.h"

#include <functional>

using namespace test;

namespace {

struct TextDrawing : ::testing::Test {
    Page page;
    ComPtr<_DCTextDrawing> t = page.get(&_GDIDCEx::get_TextDrawing);
};

}  // namespace

// Measurements answer what the platform answers for the same text and tab
// stops; an array from index 1 is read from there.
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

// The tabbed output members against the platform drawing plain text where
// the member should have put it.
TEST_F(TextDrawing, DrawsTabbedTextAtItsTabStops) {
    std::vector<COLORREF> expected;
    const auto at = [&](int x, const char* text) {
        Page reference;
        SetBkMode(reference.dc, TRANSPARENT);
        TextOutA(reference.dc, x, 10, text, static_cast<int>(strlen(text)));
        const std::vector<COLORREF> drawn = reference.pixels();
        if (expected.empty()) expected.assign(drawn.size(), Paper);
        for (size_t i = 0; i < drawn.size(); ++i) if (drawn[i] != Paper) expected[i] = drawn[i];
    };
    com::SafeArray fifty = longs({50}), stops = longs({30, 80});
    SAFEARRAY* every50 = fifty.get();
    SAFEARRAY* at30and80 = stops.get();
    Text ab(L"a\tb"), abc(L"a\tb\tc");
    struct Case { const char* what; std::function<HRESULT()> draw; std::function<void()> expect; };
    const Case cases[] = {
        {"tabs every 50", [&] { return t->DrawTabbedTextEx(ab.ref(), 10, 10, &every50, 10); }, [&] { at(10, "a"), at(60, "b"); }},
        {"tabs at 30 and 80", [&] { return t->DrawTabbedTextEx(abc.ref(), 0, 10, &at30and80, 0); },
         [&] { at(0, "a"), at(30, "b"), at(80, "c"); }},
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
}

