#include "DCTextDrawing.h"

#include "AnsiText.h"
#include "TabStopArray.h"
#include "com/Boundary.h"
#include "drawing/Extent.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

#include <algorithm>
#include <climits>

namespace kolorit {

using com::ComPtr;

namespace {

// The halves of a packed extent are signed 16-bit values.
long lowHalf(DWORD packed) { return static_cast<short>(LOWORD(packed)); }
long highHalf(DWORD packed) { return static_cast<short>(HIWORD(packed)); }

constexpr int FaceBufferSize = 256;

}  // namespace

// --- Attributes --------------------------------------------------------------

STDMETHODIMP DCTextDrawing::get_TextAlign(DCTextAlign* Value) {
    return com::guarded(Value, [&] {
        const UINT align = gdi::GetTextAlign(hDC_);
        if (align == GDI_ERROR) RaiseVBDLLError(L"DCTextDrawing.TextAlign [get]", L"GetTextAlign failed!");
        return static_cast<long>(align);
    });
}

STDMETHODIMP DCTextDrawing::put_TextAlign(DCTextAlign Value) {
    return com::guarded([&] {
        if (gdi::SetTextAlign(hDC_, static_cast<UINT>(Value)) == GDI_ERROR)
            RaiseVBDLLError(L"DCTextDrawing.TextAlign [let]", L"SetTextAlign failed!");
    });
}

STDMETHODIMP DCTextDrawing::get_TextColor(OLE_COLOR* Value) {
    return com::guarded(Value, [&] {
        const COLORREF color = gdi::GetTextColor(hDC_);
        if (color == CLR_INVALID) RaiseVBDLLError(L"DCTextDrawing.TextColor [get]", L"GetTextColor failed!");
        return static_cast<OLE_COLOR>(color);
    });
}

STDMETHODIMP DCTextDrawing::put_TextColor(OLE_COLOR Value) {
    return com::guarded([&] {
        const COLORREF color = TranslateColor(Value);
        if (gdi::SetTextColor(hDC_, color) == CLR_INVALID)
            RaiseVBDLLError(L"DCTextDrawing.TextColor [let]", L"SetTextColor failed!");
    });
}

STDMETHODIMP DCTextDrawing::get_InnerCharSpace(long* Value) {
    return com::guarded(Value, [&] {
        const int extra = gdi::GetTextCharacterExtra(hDC_);
        if (extra == INT_MIN)
            RaiseVBDLLError(L"DCTextDrawing.InnerCharSpace [get]", L"GetTextCharacterExtra failed!");
        return static_cast<long>(extra);
    });
}

STDMETHODIMP DCTextDrawing::put_InnerCharSpace(long Value) {
    return com::guarded([&] {
        if (gdi::SetTextCharacterExtra(hDC_, Value) == INT_MIN)
            RaiseVBDLLError(L"DCTextDrawing.InnerCharSpace [let]", L"SetTextCharacterExtra failed!");
    });
}

// The previous flags the platform answers with are of no use to the client.
STDMETHODIMP DCTextDrawing::put_MapperFlags(long, long Value) {
    return com::guarded([&] {
        if (gdi::SetMapperFlags(hDC_, static_cast<DWORD>(Value)) == GDI_ERROR)
            RaiseVBDLLError(L"DCTextDrawing.MapperFlags [let]", L"SetMapperFlags failed!");
    });
}

// --- Measurement ---------------------------------------------------------------

SIZE DCTextDrawing::textExtent(BSTR* Text, const wchar_t* Source) const {
    AnsiText text(Text);
    SIZE size{};
    const BOOL measured = gdi::GetTextExtentPoint32A(hDC_, text.data(), text.count(), &size);
    text.giveBack();
    if (!measured) RaiseVBDLLError(Source, L"GetTextExtentPoint32 failed!");
    return size;
}

// Without tab stops, tabs reach every eighth average character width.
DWORD DCTextDrawing::tabbedExtent(BSTR* Text, const TabStopArray* tabs, const wchar_t* Source) const {
    AnsiText text(Text);
    const DWORD extent = gdi::GetTabbedTextExtentA(hDC_, text.data(), text.count(), tabs ? tabs->count() : 0,
                                                   tabs ? tabs->positions() : nullptr);
    text.giveBack();
    if (!extent && !text.empty()) RaiseVBDLLError(Source, L"GetTabbedTextExtent failed!");
    return extent;
}

STDMETHODIMP DCTextDrawing::TextWidth(BSTR* Text, long* Result) {
    return com::guarded(Result, [&] { return textExtent(Text, L"DCTextDrawing.TextWidth()").cx; });
}

STDMETHODIMP DCTextDrawing::TextHeight(BSTR* Text, long* Result) {
    return com::guarded(Result, [&] { return textExtent(Text, L"DCTextDrawing.TextHeight()").cy; });
}

STDMETHODIMP DCTextDrawing::TabbedTextWidth(BSTR* Text, long* Result) {
    return com::guarded(Result, [&] { return lowHalf(tabbedExtent(Text, nullptr, L"DCTextDrawing.TabbedTextWidth()")); });
}

STDMETHODIMP DCTextDrawing::TabbedTextHeight(BSTR* Text, long* Result) {
    return com::guarded(Result,
                        [&] { return highHalf(tabbedExtent(Text, nullptr, L"DCTextDrawing.TabbedTextHeight()")); });
}

STDMETHODIMP DCTextDrawing::TabbedTextWidthEx(BSTR* Text, SAFEARRAY** TabStops, long* Result) {
    return com::guarded(Result, [&] {
        const TabStopArray tabs(TabStops);
        return lowHalf(tabbedExtent(Text, &tabs, L"DCTextDrawing.TabbedTextWidthEx()"));
    });
}

STDMETHODIMP DCTextDrawing::TabbedTextHeightEx(BSTR* Text, SAFEARRAY** TabStops, long* Result) {
    return com::guarded(Result, [&] {
        const TabStopArray tabs(TabStops);
        return highHalf(tabbedExtent(Text, &tabs, L"DCTextDrawing.TabbedTextHeightEx()"));
    });
}

// --- Font queries --------------------------------------------------------------

// Exactly as many characters as the platform reports copying.
STDMETHODIMP DCTextDrawing::get_FontFaceName(BSTR* Value) {
    return com::guarded(Value, [&] {
        std::string buffer(FaceBufferSize, ' ');
        const int copied = gdi::GetTextFaceA(hDC_, FaceBufferSize, buffer.data());
        if (!copied) RaiseVBDLLError(L"DCTextDrawing.FontFaceName [get]", L"GetTextFace failed!");
        const int bytes = std::clamp(copied, 0, FaceBufferSize);
        std::wstring name(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, buffer.data(), bytes, nullptr, 0)), L'\0');
        MultiByteToWideChar(CP_ACP, 0, buffer.data(), bytes, name.data(), static_cast<int>(name.size()));
        return name;
    });
}

RASTERIZER_STATUS DCTextDrawing::rasterizerCaps(const wchar_t* Source) const {
    RASTERIZER_STATUS status{};
    status.nSize = sizeof status;
    if (!gdi::GetRasterizerCaps(&status, sizeof status)) RaiseVBDLLError(Source, L"GetRasterizerCaps failed!");
    return status;
}

STDMETHODIMP DCTextDrawing::get_RasterizerCapsFlags(DCRasterizerFlags* Value) {
    return com::guarded(Value, [&] {
        return static_cast<long>(rasterizerCaps(L"DCTextDrawing.RasterizerCapsFlags [get]").wFlags);
    });
}

STDMETHODIMP DCTextDrawing::get_RasterizerCapsLanguageID(long* Value) {
    return com::guarded(Value, [&] {
        return static_cast<long>(rasterizerCaps(L"DCTextDrawing.RasterizerCapsLanguageID [get]").nLanguageID);
    });
}

STDMETHODIMP DCTextDrawing::get_FontLanguageInfo(DCFontLanguageInfo* Value) {
    return com::guarded(Value, [&] {
        const DWORD info = gdi::GetFontLanguageInfo(hDC_);
        if (info == GCP_ERROR) RaiseVBDLLError(L"DCTextDrawing.FontLanguageInfo [get]", L"GetFontLanguageInfo failed!");
        return static_cast<long>(info);
    });
}

// --- Output --------------------------------------------------------------------

STDMETHODIMP DCTextDrawing::DrawText(BSTR* Text, long X, long Y) {
    return com::guarded([&] {
        AnsiText text(Text);
        const BOOL drawn = gdi::TextOutA(hDC_, X, Y, text.data(), text.count());
        text.giveBack();
        if (!drawn) RaiseVBDLLError(L"DCTextDrawing.DrawText()", L"TextOut failed!");
    });
}

STDMETHODIMP DCTextDrawing::DrawTabbedText(BSTR* Text, long X, long Y, long TabOrigin) {
    return com::guarded([&] {
        AnsiText text(Text);
        const LONG drawn = gdi::TabbedTextOutA(hDC_, X, Y, text.data(), text.count(), 0, nullptr, TabOrigin);
        text.giveBack();
        if (!drawn && !text.empty()) RaiseVBDLLError(L"DCTextDrawing.DrawTabbedText()", L"TabbedTextOut failed!");
    });
}

// The tab stops are checked before the text is touched.
STDMETHODIMP DCTextDrawing::DrawTabbedTextEx(BSTR* Text, long X, long Y, SAFEARRAY** TabStops, long TabOrigin) {
    return com::guarded([&] {
        const TabStopArray tabs(TabStops);
        AnsiText text(Text);
        const LONG drawn =
            gdi::TabbedTextOutA(hDC_, X, Y, text.data(), text.count(), tabs.count(), tabs.positions(), TabOrigin);
        text.giveBack();
        if (!drawn && !text.empty()) RaiseVBDLLError(L"DCTextDrawing.DrawTabbedTextEx()", L"TabbedTextOut failed!");
    });
}

// A rectangle of four zeros is no rectangle. The font's own advances space
// the characters.
STDMETHODIMP DCTextDrawing::DrawExtText(BSTR* Text, long X, long Y, DCDrawExtTextFlags Flags, long X1, long Y1,
                                        long X2, long Y2) {
    return com::guarded([&] {
        const RECT rectangle{X1, Y1, X2, Y2};
        const bool noRectangle = X1 == 0 && Y1 == 0 && X2 == 0 && Y2 == 0;
        AnsiText text(Text);
        const BOOL drawn = gdi::ExtTextOutA(hDC_, X, Y, static_cast<UINT>(Flags), noRectangle ? nullptr : &rectangle,
                                            text.data(), static_cast<UINT>(text.count()), nullptr);
        text.giveBack();
        com::require(drawn);
    });
}

// Without a brush the platform grays with the one it uses for window text.
// A size of 0 (only with both corners at the origin) lets it measure.
STDMETHODIMP DCTextDrawing::DrawGrayedText(BSTR* Text, long X1, long Y1, long X2, long Y2, _GDIBrush* CustomBrush) {
    return com::guarded([&] {
        HBRUSH brush = nullptr;
        if (CustomBrush) {
            ComPtr<_GDIBrush> typed;
            if (FAILED(CustomBrush->QueryInterface(IID_PPV_ARGS(&typed))))
                com::raise(com::RuntimeError::InvalidArgument, L"Brush object was not valid!");
            brush = BrushHandle(typed.Get());
        }
        const int width = Extent(X1, X2), height = Extent(Y1, Y2);
        AnsiText text(Text);
        const BOOL drawn = gdi::GrayStringA(hDC_, brush, nullptr, reinterpret_cast<LPARAM>(text.data()), text.count(),
                                            X1, Y1, width, height);
        text.giveBack();
        if (!drawn) RaiseVBDLLError(L"DCTextDrawing.DrawGrayedText()", L"GrayString failed!");
    });
}

// The selected bitmap is read on every call: a right or bottom of 0 means
// its width or height. The parameter record goes along only when one of its
// values is set; what the platform counts into it is not returned. Only a
// measuring call writes the rectangle back.
STDMETHODIMP DCTextDrawing::DrawTextEx(BSTR* Text, long* X1, long* Y1, long* X2, long* Y2,
                                       DCDrawTextFlags FormatFlags, long LeftMargin, long RightMargin, long TabLength,
                                       long LengthDrawn) {
    return com::guarded([&] {
        com::require(X1 && Y1 && X2 && Y2);
        const BITMAP bitmap = SelectedBitmap(hDC_);
        RECT rectangle{*X1, *Y1, *X2 != 0 ? *X2 : bitmap.bmWidth, *Y2 != 0 ? *Y2 : bitmap.bmHeight};
        DRAWTEXTPARAMS parameters{sizeof parameters, TabLength, LeftMargin, RightMargin, static_cast<UINT>(LengthDrawn)};
        const bool withParameters = LeftMargin != 0 || RightMargin != 0 || TabLength != 0 || LengthDrawn != 0;
        AnsiText text(Text);
        const int drawn = gdi::DrawTextExA(hDC_, text.data(), text.count(), &rectangle, static_cast<UINT>(FormatFlags),
                                           withParameters ? &parameters : nullptr);
        text.giveBack();
        if (!drawn && !text.empty()) RaiseVBDLLError(L"DCTextDrawing.DrawTextEx()", L"DrawTextEx failed!");
        if (FormatFlags & dcDrawCalcRectInstead) {
            *X1 = rectangle.left;
            *Y1 = rectangle.top;
            *X2 = rectangle.right;
            *Y2 = rectangle.bottom;
        }
    });
}

}  // namespace kolorit
