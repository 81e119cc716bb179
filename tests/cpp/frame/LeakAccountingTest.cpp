// The leak accounting the suite and the fuzzer end with must see a leak.

#include "LiveObjects.h"
#include "Support.h"

#include <functional>

using namespace test;

TEST(LeakAccounting, CatchesADeliberatelyLeakedPen) {
    const GdiObjects before = liveGdiObjects();
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(liveGdiObjects() - before, 1);
    DeleteObject(pen);
    EXPECT_EQ(liveGdiObjects() - before, 0);

    // A pen object of Vellum whose reference is never given back.
    ComPtr<_GDIPen> held;
    ASSERT_EQ(vellum()->CreatePenObject(0, 0, 1, &held), S_OK);
    _GDIPen* leaked = held.Detach();
    EXPECT_EQ(liveGdiObjects() - before, 1);
    EXPECT_FALSE(componentsUnloadable());
    leaked->Release();
    EXPECT_EQ(liveGdiObjects() - before, 0);
    EXPECT_TRUE(componentsUnloadable());
}

// Edges and grayed text draw with objects the platform makes on first use and
// keeps (Wine: system-colour pens and brushes, a halftone brush); the fuzzer
// counts after them. Once they exist, these members must add nothing more.
TEST(LeakAccounting, EdgesAndGrayedTextKeepNothingAfterTheFirstCall) {
    const ComPtr<_GDIDC> page = surface(64, 48);
    const ComPtr<_GDIDCEx> hub = attach(page.Get());
    ComPtr<_DCInterfaceDrawing> ui;
    ComPtr<_DCTextDrawing> text;
    ASSERT_EQ(hub->get_UIDrawing(&ui), S_OK);
    ASSERT_EQ(hub->get_TextDrawing(&text), S_OK);
    ComPtr<_GDIBrush> brush;
    ASSERT_EQ(vellum()->CreateBrushObject(0xFF, 0, 0, &brush), S_OK);
    BSTR grey = SysAllocString(L"Grey");
    const std::function<HRESULT()> calls[] = {
        [&] { return ui->DrawBorder(2, 2, 40, 30, dcBorderRaised, dcBorderRect); },
        [&] { return ui->DrawBorder(2, 2, 40, 30, dcBorderSunken, static_cast<DCBorderTypeFlags>(dcBorderRect | dcBorderFlat)); },
        [&] { return ui->DrawBorder(2, 2, 40, 30, dcBorderEtched, dcBorderRect); },
        [&] { return ui->DrawBorder(2, 2, 40, 30, dcBorderBump, dcBorderBottom); },
        [&] { return text->DrawGrayedText(&grey, 4, 4, 60, 20, nullptr); },
        [&] { return text->DrawGrayedText(&grey, 4, 4, 60, 20, brush.Get()); },
    };
    for (const auto& call : calls) ASSERT_EQ(call(), S_OK);
    const GdiObjects before = liveGdiObjects();
    for (int round = 0; round < 20; ++round)
        for (const auto& call : calls) call();
    EXPECT_EQ(liveGdiObjects().changesSince(before), "none");
    SysFreeString(grey);
}
