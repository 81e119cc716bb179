#pragma once

#include "VellumTypes.h"
#include "com/Object.h"
#include "declarations/Handles.h"

namespace vellum {

// Holds at most one region and destroys it when replaced, deleted or
// released. Clients may create it directly. A region handle is held by one
// region object at a time, so that no handle is destroyed twice.
class GDIRegion : public com::Object<GDIRegion, _GDIRegion> {
public:
    static const CLSID& classId() { return CLSID_GDIRegion; }

    STDMETHODIMP get_hRgn(OLE_HANDLE* Value) override;
    STDMETHODIMP CreateRect(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP CreateEllipse(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP CreateRoundRect(long X1, long Y1, long X2, long Y2, long EllipseWidth, long EllipseHeight) override;
    STDMETHODIMP Combine(_GDIRegion* Other, RgnCombineModes Mode) override;
    STDMETHODIMP Delete() override;
    STDMETHODIMP AttachRgn(OLE_HANDLE hRgn) override;

private:
    friend com::Object<GDIRegion, _GDIRegion>;
    GDIRegion() = default;
    ~GDIRegion() override;

    void hold(HRGN region, const wchar_t* source, const wchar_t* description);
    void replace(HRGN region) noexcept;

    kolorit::GdiObject<HRGN> region_;
};

}  // namespace vellum
