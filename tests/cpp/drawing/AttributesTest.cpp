#include "Drawing.h"

using namespace test;

TEST(Attributes, RefusedModesRaiseTheLibraryError) {
    Canvas canvas;
    Late late(canvas.get(&_GDIDCEx::get_Drawing).Get());
    for (auto [name, value] : {std::pair{L"FillStyle", 0}, {L"DrawMode", 0}, {L"PolyFillMode", 3}}) {
        late.put(name, arg(value));
        const std::wstring member = std::wstring(L"DCDrawing.") + name;
        expectLibraryError(late.raised(), (member + L" [let]").c_str(), (std::wstring(name) + L" failed!").c_str());
    }
}

TEST(Attributes, ColoursAreTranslatedAndPixelColorIsTheDefaultMember) {
    Canvas canvas;
    ComPtr<_DCDrawing> drawing = canvas.get(&_GDIDCEx::get_Drawing);
    const OLE_COLOR highlight = 0x80000000 | COLOR_HIGHLIGHT;
    ASSERT_EQ(drawing->put_BackColor(highlight), S_OK);
    EXPECT_EQ(GetBkColor(canvas.dc), GetSysColor(COLOR_HIGHLIGHT));
    ASSERT_EQ(drawing->put_PixelColor(3, 4, VARIANT_TRUE, highlight), S_OK);
    EXPECT_EQ(canvas.at(3, 4), GetSysColor(COLOR_HIGHLIGHT));

    // obj(5, 6) = colour, then obj(5, 6), as a script writes them.
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(drawing.As(&dispatch), S_OK);
    VARIANT args[3] = {};
    V_VT(&args[0]) = V_VT(&args[1]) = V_VT(&args[2]) = VT_I4;
    V_I4(&args[0]) = static_cast<LONG>(Green), V_I4(&args[1]) = 6, V_I4(&args[2]) = 5;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS write{args, &put, 3, 1}, read{args + 1, nullptr, 2, 0};
    ASSERT_EQ(dispatch->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYPUT, &write, nullptr, nullptr, nullptr), S_OK);
    Variant color;
    ASSERT_EQ(dispatch->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &read, color.get(), nullptr, nullptr), S_OK);
    EXPECT_EQ(V_VT(color.get()), VT_I4) << "a Long, which scripts can compare";
    EXPECT_EQ(V_I4(color.get()), static_cast<LONG>(Green));

    // (Wine's SetPixel and SetPixelV report success outside the bitmap: only reads show error 9.)
    OLE_COLOR value = 0;
    for (POINT outside : {POINT{64, 0}, POINT{-1, 5}})
        expectRuntimeError(errorOf(drawing->get_PixelColor(outside.x, outside.y, VARIANT_FALSE, &value)), 9);
}
