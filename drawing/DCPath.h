#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

#include <vector>

namespace kolorit {

// The platform's path bracket on the hub's device context: what any
// sub-object of the hub draws between BeginPath and EndPath goes into the
// path, which lives in the device context.
class DCPath : public com::Object<DCPath, _DCPath> {
public:
    static const CLSID& classId() { return CLSID_DCPath; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP Abort() override;
    STDMETHODIMP BeginPath() override;
    STDMETHODIMP CloseFigure() override;
    STDMETHODIMP EndPath() override;
    STDMETHODIMP DrawPath(DCPathDrawStyles DrawStyle) override;
    STDMETHODIMP get_MiterLimit(double* Value) override;
    STDMETHODIMP put_MiterLimit(double Value) override;
    STDMETHODIMP GetCoords(SAFEARRAY** Result) override;
    STDMETHODIMP GetRegion(_GDIRegion** Result) override;
    STDMETHODIMP WidenPath() override;
    STDMETHODIMP GetCoordList(SAFEARRAY** Result) override;

private:
    friend com::Object<DCPath, _DCPath>;
    DCPath() = default;

    struct PathPoints {
        std::vector<POINT> points;
        std::vector<BYTE> types;
    };
    // The points of the closed path and their types; failures are raised
    // with the member's source.
    PathPoints pathPoints(const wchar_t* source) const;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
