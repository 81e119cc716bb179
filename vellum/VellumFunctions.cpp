#include "VellumFunctions.h"

#include "GDIBrush.h"
#include "GDIDC.h"
#include "GDIFont.h"
#include "GDIPen.h"
#include "Pictures.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

#include <olectl.h>

namespace vellum {

using com::RaiseVBDLLError;
namespace gdi = kolorit::gdi;

namespace {

COLORREF rgbOf(OLE_COLOR color, long palette) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(color, kolorit::handleFrom<HPALETTE>(palette), &rgb)))
        com::raise(com::RuntimeError::InvalidArgument);
    return rgb;
}

}  // namespace

STDMETHODIMP VellumFunctions::CreateGDIDC(long Width, long Height, VARIANT_BOOL Monochrome, long CompatibleDC,
                                          _GDIDC** Result) {
    return com::guarded(Result, [&] {
        return GDIDC::make(Width, Height, Monochrome != VARIANT_FALSE, kolorit::handleFrom<HDC>(CompatibleDC),
                           L"VellumFunctions.CreateGDIDC()");
    });
}

STDMETHODIMP VellumFunctions::AttachGDIDC(OLE_HANDLE hDC, long, _GDIDC** Result) {
    return com::guarded(Result, [&] {
        const HDC dc = kolorit::handleFrom<HDC>(hDC);
        com::require(kolorit::IsDeviceContext(dc));
        return GDIDC::attach(dc);
    });
}

STDMETHODIMP VellumFunctions::CreatePenObject(OLE_COLOR Color, long Style, long Width, _GDIPen** Result) {
    return com::guarded(Result, [&] {
        const HPEN pen = gdi::CreatePen(Style, Width, rgbOf(Color, 0));
        if (!pen) RaiseVBDLLError(L"VellumFunctions.CreatePenObject()", L"CreatePen failed!");
        return GDIPen::create(pen, true);
    });
}

STDMETHODIMP VellumFunctions::CreateBrushObject(OLE_COLOR Color, long Style, long Hatch, _GDIBrush** Result) {
    return com::guarded(Result, [&] {
        // Solid, hollow and hatched brushes; pattern brushes need a bitmap.
        com::require(Style == BS_SOLID || Style == BS_NULL || Style == BS_HATCHED);
        const LOGBRUSH description{static_cast<UINT>(Style), rgbOf(Color, 0), static_cast<ULONG_PTR>(Hatch)};
        const HBRUSH brush = gdi::CreateBrushIndirect(&description);
        if (!brush) RaiseVBDLLError(L"VellumFunctions.CreateBrushObject()", L"CreateBrushIndirect failed!");
        return GDIBrush::create(brush, true);
    });
}

STDMETHODIMP VellumFunctions::CreateFontObject(BSTR FaceName, long Height, VARIANT_BOOL Bold, VARIANT_BOOL Italic,
                                               VARIANT_BOOL Underline, _GDIFont** Result) {
    return com::guarded(Result, [&] {
        const HFONT font = gdi::CreateFontW(Height, 0, 0, 0, Bold ? FW_BOLD : FW_NORMAL, Italic ? TRUE : FALSE,
                                            Underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                            FaceName ? FaceName : L"");
        if (!font) RaiseVBDLLError(L"VellumFunctions.CreateFontObject()", L"CreateFont failed!");
        return GDIFont::create(font, true);
    });
}

STDMETHODIMP VellumFunctions::TranslateColor(OLE_COLOR Color, long hPalette, long* Result) {
    return com::guarded(Result, [&] { return static_cast<long>(rgbOf(Color, hPalette)); });
}

STDMETHODIMP VellumFunctions::LoadPicture(BSTR Path, _GDIDC** Result) {
    return com::guarded(Result, [&] {
        const wchar_t* source = L"VellumFunctions.LoadPicture()";
        const Picture picture = loadPicture(Path ? Path : L"", source);
        auto surface = GDIDC::make(picture.width, picture.height, false, nullptr, source);
        OLE_HANDLE dc = 0;
        surface->get_hDC(&dc);
        paintPicture(kolorit::handleFrom<HDC>(dc), picture, source);
        return surface;
    });
}

}  // namespace vellum
