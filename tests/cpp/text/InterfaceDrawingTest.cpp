#include "Text.h"

#include <algorithm>

using namespace test;

// A brush is taken only with dcStateBrushColor, and only a brush; refused
// before the text is converted.
TEST(InterfaceDrawing, RefusesABrushWithoutItsFlag) {
    Page page{64, 64};
    ComPtr<_DCInterfaceDrawing> ui = page.get(&_GDIDCEx::get_UIDrawing);
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
    EXPECT_EQ(text.str(), L"a\x0100");
    ASSERT_EQ(ui->DrawStatedText(text.ref(), 0, 0, 0, 0, brush.Get(), dcStateBrushColor, VARIANT_FALSE), S_OK);
    const std::vector<COLORREF> drawn = page.pixels();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), Blue), drawn.end()) << "in the brush's colour";
}
