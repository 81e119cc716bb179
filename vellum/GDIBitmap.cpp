#include "GDIBitmap.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace vellum {

BITMAP describeBitmap(HBITMAP bitmap, const wchar_t* source) {
    BITMAP record{};
    if (kolorit::gdi::GetObjectA(bitmap, sizeof record, &record) == 0)
        com::RaiseVBDLLError(source, L"GetObject failed!");
    return record;
}

STDMETHODIMP GDIBitmap::get_hBitmap(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(bitmap_); });
}

STDMETHODIMP GDIBitmap::get_Width(long* Value) {
    return com::guarded(Value, [&] { return describeBitmap(bitmap_, L"GDIBitmap.Width [get]").bmWidth; });
}

STDMETHODIMP GDIBitmap::get_Height(long* Value) {
    return com::guarded(Value, [&] { return describeBitmap(bitmap_, L"GDIBitmap.Height [get]").bmHeight; });
}

STDMETHODIMP GDIBitmap::get_BitsPixel(short* Value) {
    return com::guarded(Value, [&] { return static_cast<short>(describeBitmap(bitmap_, L"GDIBitmap.BitsPixel [get]").bmBitsPixel); });
}

}  // namespace vellum
