#include "GDIRegion.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

#include <mutex>
#include <set>

namespace vellum {

using com::RaiseVBDLLError;
namespace gdi = kolorit::gdi;

namespace {

// The region handles that region objects of this process hold.
struct HeldRegions {
    std::mutex mutex;
    std::set<HRGN> handles;
};

HeldRegions& heldRegions() {
    static HeldRegions held;
    return held;
}

}  // namespace

GDIRegion::~GDIRegion() { replace(nullptr); }

void GDIRegion::replace(HRGN region) noexcept {
    HeldRegions& held = heldRegions();
    std::lock_guard guard(held.mutex);
    held.handles.erase(region_.get());
    region_.reset(region);
    if (region) held.handles.insert(region);
}

void GDIRegion::hold(HRGN region, const wchar_t* source, const wchar_t* description) {
    if (!region) RaiseVBDLLError(source, description);
    replace(region);
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
    return com::guarded([&] { replace(nullptr); });
}

// Only a region that nobody else holds can be taken over: any other handle
// would be destroyed under its owner. The region already held stays as it is.
STDMETHODIMP GDIRegion::AttachRgn(OLE_HANDLE hRgn) {
    return com::guarded([&] {
        const HRGN region = kolorit::handleFrom<HRGN>(hRgn);
        if (region && region == region_.get()) return;
        com::require(gdi::GetObjectType(region) == OBJ_REGION);
        {
            HeldRegions& held = heldRegions();
            std::lock_guard guard(held.mutex);
            com::require(held.handles.count(region) == 0);
        }
        replace(region);
    });
}

}  // namespace vellum
