#include "GDIDC.h"

#include "GDIBitmap.h"
#include "GDIBrush.h"
#include "GDIFont.h"
#include "GDIPen.h"
#include "Pictures.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace vellum {

using com::ComPtr;
using com::RaiseVBDLLError;
namespace gdi = kolorit::gdi;

namespace {

// The largest surface, of either kind: no side longer than a 16-bit
// coordinate reaches, and 2^25 pixels (128 MB at 32 bits, 4 MB in
// monochrome), more than an 8K screen. Beyond it a caller's number must not
// decide how much memory a host gives away.
constexpr long maxSide = 32767;
constexpr long long maxPixels = 1LL << 25;

}  // namespace

ComPtr<GDIDC> GDIDC::make(long Width, long Height, bool Monochrome, HDC compatible, const wchar_t* source) {
    com::require(Width > 0 && Height > 0);
    if (Width > maxSide || Height > maxSide || static_cast<long long>(Width) * Height > maxPixels)
        com::raise(com::RuntimeError::OutOfMemory);
    kolorit::MemoryDC dc(gdi::CreateCompatibleDC(compatible));
    if (!dc) RaiseVBDLLError(source, L"CreateCompatibleDC failed!");

    kolorit::GdiObject<HBITMAP> bitmap;
    if (Monochrome) {
        bitmap.reset(gdi::CreateBitmap(Width, Height, 1, 1, nullptr));
    } else {
        BITMAPINFO info = topDown32(Width, Height);
        void* bits = nullptr;
        bitmap.reset(gdi::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    }
    if (!bitmap) RaiseVBDLLError(source, L"CreateBitmap failed!");

    const HDC handle = dc.get();
    ComPtr<GDIDC> surface = create(std::move(dc), std::move(bitmap), handle);
    if (Monochrome && !gdi::PatBlt(handle, 0, 0, Width, Height, WHITENESS)) RaiseVBDLLError(source, L"PatBlt failed!");
    return surface;
}

ComPtr<GDIDC> GDIDC::attach(HDC dc) { return create(kolorit::MemoryDC(), kolorit::GdiObject<HBITMAP>(), dc); }

GDIDC::GDIDC(kolorit::MemoryDC owned, kolorit::GdiObject<HBITMAP> bitmap, HDC dc)
    : ownedDC_(std::move(owned)), bitmap_(std::move(bitmap)), dc_(dc) {
    if (bitmap_) originalBitmap_ = SelectObject(dc_, bitmap_.get());
}

GDIDC::~GDIDC() {
    unselect(pen_);
    unselect(brush_);
    unselect(font_);
    if (originalBitmap_) SelectObject(dc_, originalBitmap_);
}

HBITMAP GDIDC::currentBitmap() const { return static_cast<HBITMAP>(gdi::GetCurrentObject(dc_, OBJ_BITMAP)); }

void GDIDC::select(Selected& slot, HGDIOBJ handle, ComPtr<IUnknown> object, const wchar_t* source) {
    const HGDIOBJ previous = gdi::SelectObject(dc_, handle);
    if (!previous || previous == HGDI_ERROR) RaiseVBDLLError(source, L"SelectObject failed!");
    if (!slot.original) slot.original = previous;
    slot.object = std::move(object);  // the object it replaced is no longer selected: let it go
}

void GDIDC::unselect(Selected& slot) noexcept {
    if (slot.original) SelectObject(dc_, slot.original);
    slot.original = nullptr;
    slot.object.Reset();
}

// Selecting Nothing puts the original object back.
template <class Interface, class HandleOf>
HRESULT GDIDC::selectHeld(Selected& slot, Interface* object, HandleOf handleOf, const wchar_t* source) {
    return com::guarded([&] {
        if (!object) {
            unselect(slot);
            return;
        }
        OLE_HANDLE handle = 0;
        if (FAILED((object->*handleOf)(&handle)) || handle == 0) com::raise(com::RuntimeError::InvalidArgument);
        select(slot, kolorit::handleFrom<HGDIOBJ>(handle), ComPtr<IUnknown>(object), source);
    });
}

// The object selected through the surface, or a view of whatever the device
// context has selected when nothing was.
template <class Interface, class Wrapper>
HRESULT GDIDC::held(Selected& slot, Interface** Value, DWORD objectType) {
    return com::guarded(Value, [&] {
        ComPtr<Interface> result;
        if (slot.object) {
            slot.object.As(&result);
        } else {
            using Handle = decltype(std::declval<Wrapper&>().handle());
            Wrapper::create(static_cast<Handle>(gdi::GetCurrentObject(dc_, objectType)), false).As(&result);
        }
        return result;
    });
}

STDMETHODIMP GDIDC::get_hDC(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(dc_); });
}

STDMETHODIMP GDIDC::get_hBitmap(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(currentBitmap()); });
}

STDMETHODIMP GDIDC::get_SelBitmap(_GDIBitmap** Value) {
    return com::guarded(Value, [&] { return GDIBitmap::create(currentBitmap(), ComPtr<IUnknown>(static_cast<_GDIDC*>(this))); });
}

STDMETHODIMP GDIDC::get_SelPen(_GDIPen** Value) { return held<_GDIPen, GDIPen>(pen_, Value, OBJ_PEN); }
STDMETHODIMP GDIDC::get_SelBrush(_GDIBrush** Value) { return held<_GDIBrush, GDIBrush>(brush_, Value, OBJ_BRUSH); }
STDMETHODIMP GDIDC::get_SelFont(_GDIFont** Value) { return held<_GDIFont, GDIFont>(font_, Value, OBJ_FONT); }

STDMETHODIMP GDIDC::putref_SelPen(_GDIPen* Value) {
    return selectHeld<_GDIPen>(pen_, Value, &_GDIPen::get_hPen, L"GDIDC.SelPen [let]");
}
STDMETHODIMP GDIDC::putref_SelBrush(_GDIBrush* Value) {
    return selectHeld<_GDIBrush>(brush_, Value, &_GDIBrush::get_hBrush, L"GDIDC.SelBrush [let]");
}
STDMETHODIMP GDIDC::putref_SelFont(_GDIFont* Value) {
    return selectHeld<_GDIFont>(font_, Value, &_GDIFont::get_hFont, L"GDIDC.SelFont [let]");
}

STDMETHODIMP GDIDC::get_Width(long* Value) {
    return com::guarded(Value, [&] { return describeBitmap(currentBitmap(), L"GDIDC.Width [get]").bmWidth; });
}

STDMETHODIMP GDIDC::get_Height(long* Value) {
    return com::guarded(Value, [&] { return describeBitmap(currentBitmap(), L"GDIDC.Height [get]").bmHeight; });
}

STDMETHODIMP GDIDC::ResetObjects() {
    return com::guarded([&] {
        unselect(pen_);
        unselect(brush_);
        unselect(font_);
    });
}

STDMETHODIMP GDIDC::SaveToFile(BSTR Path) {
    return com::guarded([&] {
        const BITMAP size = describeBitmap(currentBitmap(), L"GDIDC.SaveToFile()");
        savePicture(dc_, currentBitmap(), size.bmWidth, size.bmHeight, Path ? Path : L"", L"GDIDC.SaveToFile()");
    });
}

}  // namespace vellum
