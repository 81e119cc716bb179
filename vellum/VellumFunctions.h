#pragma once

#include "VellumTypes.h"
#include "com/Object.h"

namespace vellum {

// Vellum's creatable entry object: surfaces, pens, brushes, fonts, colours.
class VellumFunctions : public com::Object<VellumFunctions, _VellumFunctions> {
public:
    static const CLSID& classId() { return CLSID_VellumFunctions; }

    STDMETHODIMP CreateGDIDC(long Width, long Height, VARIANT_BOOL Monochrome, long CompatibleDC,
                             _GDIDC** Result) override;
    STDMETHODIMP AttachGDIDC(OLE_HANDLE hDC, long Flags, _GDIDC** Result) override;
    STDMETHODIMP CreatePenObject(OLE_COLOR Color, long Style, long Width, _GDIPen** Result) override;
    STDMETHODIMP CreateBrushObject(OLE_COLOR Color, long Style, long Hatch, _GDIBrush** Result) override;
    STDMETHODIMP CreateFontObject(BSTR FaceName, long Height, VARIANT_BOOL Bold, VARIANT_BOOL Italic,
                                  VARIANT_BOOL Underline, _GDIFont** Result) override;
    STDMETHODIMP TranslateColor(OLE_COLOR Color, long hPalette, long* Result) override;
    STDMETHODIMP LoadPicture(BSTR Path, _GDIDC** Result) override;

private:
    friend com::Object<VellumFunctions, _VellumFunctions>;
    VellumFunctions() = default;
};

}  // namespace vellum
