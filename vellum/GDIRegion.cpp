#include "GDIRegion.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace vellum {

using com::RaiseVBDLLError;
namespace gdi = kolorit::gdi;

void GDIRegion::hold(HRGN region, const wchar_t* source, const wchar_t* description) {
    if (!region) RaiseVBDLLError(source, description);
    region_.reset(region);
}

STDMETHODIMP GDIRegion::get_hRgn(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(region_.get()); });
}

STDMETHODIMP GDIRegion::CreateRect(long X1, long Y1, long X2, long Y2) {
    return com::guarded([&] { hold(gdi::CreateRectRgn(X1, Y1, X2, Y2), L"GDIRegion.CreateRect()", L"CreateRectRgn failed!"); });
}

STDMETHODIMP GDIRegion::CreateEllipse(long X1, long Y1, long X2, long Y2) {
    return com::guarded(
        [&] { hold(gdi::CreateEllipticRgn(X1, Y1, X2, Y2), L"GDIRegion.CreateEllipse()", L"CreateEllipticRgn failed!"); });
}

STDMETHODIMP GDIRegion::CreateRoundRect(long X1, long Y1, long X2, long Y2, long EllipseWidth, long EllipseHeight) {
    return com::guarded([&] {
        hold(gdi::CreateRoundRectRgn(X1, Y1, X2, Y2, EllipseWidth, EllipseHeight), L"GDIRegion.CreateRoundRect()",
             L"CreateRoundRectRgn failed!");
    });
}

STDMETHODIMP GDIRegion::Combine(_GDIRegion* Other, RgnCombineModes Mode) {
    return com::guarded([&] {
        com::require(Other != nullptr && Mode >= RGN_AND && Mode <= RGN_COPY);
        OLE_HANDLE other = 0;
        if (FAILED(Other->get_hRgn(&other))) com::raise(com::RuntimeError::InvalidArgument);
        if (!region_) hold(gdi::CreateRectRgn(0, 0, 0, 0), L"GDIRegion.Combine()", L"CreateRectRgn failed!");
        // Combining with no region on the other side counts as an empty one.
        kolorit::GdiObject<HRGN> empty;
        HRGN source = kolorit::handleFrom<HRGN>(other);
        if (!source) {
            empty.reset(gdi::CreateRectRgn(0, 0, 0, 0));
            source = empty.get();
        }
        if (gdi::CombineRgn(region_.get(), region_.get(), source, Mode) == ERROR)
            RaiseVBDLLError(L"GDIRegion.Combine()", L"CombineRgn failed!");
    });
}

STDMETHODIMP GDIRegion::Delete() {
    return com::guarded([&] { region_.reset(); });
}

STDMETHODIMP GDIRegion::AttachRgn(OLE_HANDLE hRgn) {
    return com::guarded([&] { region_.reset(kolorit::handleFrom<HRGN>(hRgn)); });
}

}  // namespace vellum
