#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// The mapping mode, the viewport and window origins and extents of the
// hub's device context, and conversions of single points. Every refusal of
// the platform is a bad argument here (run-time error 5).
class DCCoordinates : public com::Object<DCCoordinates, _DCCoordinates> {
public:
    static const CLSID& classId() { return CLSID_DCCoordinates; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP get_MapMode(DCMapModes* Value) override;
    STDMETHODIMP put_MapMode(DCMapModes Value) override;
    STDMETHODIMP ConvLPtoDP(long* X, long* Y) override;
    STDMETHODIMP ConvDPtoLP(long* X, long* Y) override;
    STDMETHODIMP get_ViewPortOrgX(long* Value) override;
    STDMETHODIMP put_ViewPortOrgX(long Value) override;
    STDMETHODIMP get_ViewPortOrgY(long* Value) override;
    STDMETHODIMP put_ViewPortOrgY(long Value) override;
    STDMETHODIMP get_ViewPortExtX(long* Value) override;
    STDMETHODIMP put_ViewPortExtX(long Value) override;
    STDMETHODIMP get_ViewPortExtY(long* Value) override;
    STDMETHODIMP put_ViewPortExtY(long Value) override;
    STDMETHODIMP ScaleViewportExt(long HorMultiplicand, long HorDivisor, long VertMultiplicand, long VertDivisor,
                                  long* PrevExtentsX, long* PrevExtentsY) override;
    STDMETHODIMP get_WindowOrgX(long* Value) override;
    STDMETHODIMP put_WindowOrgX(long Value) override;
    STDMETHODIMP get_WindowOrgY(long* Value) override;
    STDMETHODIMP put_WindowOrgY(long Value) override;
    STDMETHODIMP get_WindowExtX(long* Value) override;
    STDMETHODIMP put_WindowExtX(long Value) override;
    STDMETHODIMP get_WindowExtY(long* Value) override;
    STDMETHODIMP put_WindowExtY(long Value) override;
    STDMETHODIMP ScaleWindowExt(long HorMultiplicand, long HorDivisor, long VertMultiplicand, long VertDivisor,
                                long* PrevExtentsX, long* PrevExtentsY) override;

private:
    friend com::Object<DCCoordinates, _DCCoordinates>;
    DCCoordinates() = default;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
