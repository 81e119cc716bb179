#pragma once

#include "VellumTypes.h"
#include "com/Object.h"
#include "declarations/Handles.h"

namespace vellum {

// A drawing surface: a device context with a selected bitmap. A surface made
// by CreateGDIDC owns both; one made by AttachGDIDC owns neither. Either way
// it keeps the pen, brush and font selected through it alive until they are
// replaced or reset, and selects the originals back before it goes.
class GDIDC : public com::Object<GDIDC, _GDIDC> {
public:
    static const CLSID& classId() { return CLSID_GDIDC; }

    // A new memory surface; `source` names the member that asked, for errors.
    static com::ComPtr<GDIDC> make(long Width, long Height, bool Monochrome, HDC compatible, const wchar_t* source);
    static com::ComPtr<GDIDC> attach(HDC dc);

    ~GDIDC() override;

    STDMETHODIMP get_hDC(OLE_HANDLE* Value) override;
    STDMETHODIMP get_hBitmap(OLE_HANDLE* Value) override;
    STDMETHODIMP get_SelBitmap(_GDIBitmap** Value) override;
    STDMETHODIMP get_SelPen(_GDIPen** Value) override;
    STDMETHODIMP putref_SelPen(_GDIPen* Value) override;
    STDMETHODIMP get_SelBrush(_GDIBrush** Value) override;
    STDMETHODIMP putref_SelBrush(_GDIBrush* Value) override;
    STDMETHODIMP get_SelFont(_GDIFont** Value) override;
    STDMETHODIMP putref_SelFont(_GDIFont* Value) override;
    STDMETHODIMP get_Width(long* Value) override;
    STDMETHODIMP get_Height(long* Value) override;
    STDMETHODIMP ResetObjects() override;
    STDMETHODIMP SaveToFile(BSTR Path) override;

private:
    friend com::Object<GDIDC, _GDIDC>;

    // An object selected through the surface, and what it replaced.
    struct Selected {
        com::ComPtr<IUnknown> object;
        HGDIOBJ original = nullptr;
    };

    GDIDC(kolorit::MemoryDC owned, kolorit::GdiObject<HBITMAP> bitmap, HDC dc);

    HBITMAP currentBitmap() const;
    void select(Selected& slot, HGDIOBJ handle, com::ComPtr<IUnknown> object, const wchar_t* source);
    void unselect(Selected& slot) noexcept;
    template <class Interface, class HandleOf>
    HRESULT selectHeld(Selected& slot, Interface* object, HandleOf handleOf, const wchar_t* source);
    template <class Interface, class Wrapper>
    HRESULT held(Selected& slot, Interface** Value, DWORD objectType);

    kolorit::MemoryDC ownedDC_;
    kolorit::GdiObject<HBITMAP> bitmap_;
    HDC dc_;
    HGDIOBJ originalBitmap_ = nullptr;
    Selected pen_, brush_, font_;
};

}  // namespace vellum
