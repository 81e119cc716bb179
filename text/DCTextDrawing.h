#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

class TabStopArray;

// Text on the hub's device context, with the font, colours, background mode
// and alignment selected there: attributes, measurement, font queries and
// output. Texts go to the platform's ANSI calls and come back converted into
// the caller's variable, also when the call failed.
class DCTextDrawing : public com::Object<DCTextDrawing, _DCTextDrawing> {
public:
    static const CLSID& classId() { return CLSID_DCTextDrawing; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP get_TextAlign(DCTextAlign* Value) override;
    STDMETHODIMP put_TextAlign(DCTextAlign Value) override;
    STDMETHODIMP get_TextColor(OLE_COLOR* Value) override;
    STDMETHODIMP put_TextColor(OLE_COLOR Value) override;
    STDMETHODIMP get_InnerCharSpace(long* Value) override;
    STDMETHODIMP put_InnerCharSpace(long Value) override;
    STDMETHODIMP put_MapperFlags(long PrevValue, long Value) override;
    STDMETHODIMP TextWidth(BSTR* Text, long* Result) override;
    STDMETHODIMP TextHeight(BSTR* Text, long* Result) override;
    STDMETHODIMP TabbedTextWidth(BSTR* Text, long* Result) override;
    STDMETHODIMP TabbedTextHeight(BSTR* Text, long* Result) override;
    STDMETHODIMP TabbedTextWidthEx(BSTR* Text, SAFEARRAY** TabStops, long* Result) override;
    STDMETHODIMP TabbedTextHeightEx(BSTR* Text, SAFEARRAY** TabStops, long* Result) override;
    STDMETHODIMP get_FontFaceName(BSTR* Value) override;
    STDMETHODIMP get_RasterizerCapsFlags(DCRasterizerFlags* Value) override;
    STDMETHODIMP get_RasterizerCapsLanguageID(long* Value) override;
    STDMETHODIMP get_FontLanguageInfo(DCFontLanguageInfo* Value) override;

    STDMETHODIMP DrawText(BSTR* Text, long X, long Y) override;
    STDMETHODIMP DrawTabbedText(BSTR* Text, long X, long Y, long TabOrigin) override;
    STDMETHODIMP DrawTabbedTextEx(BSTR* Text, long X, long Y, SAFEARRAY** TabStops, long TabOrigin) override;
    STDMETHODIMP DrawExtText(BSTR* Text, long X, long Y, DCDrawExtTextFlags Flags, long X1, long Y1, long X2,
                             long Y2) override;
    STDMETHODIMP DrawGrayedText(BSTR* Text, long X1, long Y1, long X2, long Y2, _GDIBrush* CustomBrush) override;
    STDMETHODIMP DrawTextEx(BSTR* Text, long* X1, long* Y1, long* X2, long* Y2, DCDrawTextFlags FormatFlags,
                            long LeftMargin, long RightMargin, long TabLength, long LengthDrawn) override;

private:
    friend com::Object<DCTextDrawing, _DCTextDrawing>;
    DCTextDrawing() = default;

    // The packed extent of a tabbed text (no tab stops: the default ones);
    // zero raises the member's error.
    DWORD tabbedExtent(BSTR* Text, const TabStopArray* tabs, const wchar_t* Source) const;
    SIZE textExtent(BSTR* Text, const wchar_t* Source) const;
    RASTERIZER_STATUS rasterizerCaps(const wchar_t* Source) const;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
