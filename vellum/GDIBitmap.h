#pragma once

#include "VellumTypes.h"
#include "com/Object.h"

namespace vellum {

// The description of a bitmap; `source` names the member that asked, for
// the error.
BITMAP describeBitmap(HBITMAP bitmap, const wchar_t* source);

// The bitmap selected into a surface. It keeps the surface alive, since the
// surface owns the bitmap.
class GDIBitmap : public com::Object<GDIBitmap, _GDIBitmap> {
public:
    static const CLSID& classId() { return CLSID_GDIBitmap; }

    STDMETHODIMP get_hBitmap(OLE_HANDLE* Value) override;
    STDMETHODIMP get_Width(long* Value) override;
    STDMETHODIMP get_Height(long* Value) override;
    STDMETHODIMP get_BitsPixel(short* Value) override;

private:
    friend com::Object<GDIBitmap, _GDIBitmap>;
    GDIBitmap(HBITMAP bitmap, com::ComPtr<IUnknown> owner) : bitmap_(bitmap), owner_(std::move(owner)) {}

    HBITMAP bitmap_;
    com::ComPtr<IUnknown> owner_;
};

}  // namespace vellum
