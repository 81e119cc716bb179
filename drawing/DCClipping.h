#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// The clipping region of the hub's device context. The platform copies
// every region handed in, so the caller's region objects stay theirs; the
// region itself lives in the device context only.
class DCClipping : public com::Object<DCClipping, _DCClipping> {
public:
    static const CLSID& classId() { return CLSID_DCClipping; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP SetRegion(_GDIRegion* Shape) override;
    STDMETHODIMP ExportRegion(_GDIRegion** Result) override;
    STDMETHODIMP IncludeRect(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP ExcludeRect(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP ImportRgn(_GDIRegion* ImportRgn, RgnCombineModes CombineMethod) override;
    STDMETHODIMP get_LeftEdge(long* Value) override;
    STDMETHODIMP get_TopEdge(long* Value) override;
    STDMETHODIMP get_RightEdge(long* Value) override;
    STDMETHODIMP get_BottomEdge(long* Value) override;
    STDMETHODIMP PointInClipRgn(long X, long Y, VARIANT_BOOL* Result) override;

private:
    friend com::Object<DCClipping, _DCClipping>;
    DCClipping() = default;

    // The box around what can currently be drawn, in logical units.
    RECT Region_ClipRect() const;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
