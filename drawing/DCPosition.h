#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// The current pen position of the hub's device context, where line-to
// drawing continues.
class DCPosition : public com::Object<DCPosition, _DCPosition> {
public:
    static const CLSID& classId() { return CLSID_DCPosition; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP Move(long X, long Y) override;
    STDMETHODIMP get_X(long* Value) override;
    STDMETHODIMP put_X(long Value) override;
    STDMETHODIMP get_Y(long* Value) override;
    STDMETHODIMP put_Y(long Value) override;

private:
    friend com::Object<DCPosition, _DCPosition>;
    DCPosition() = default;

    POINT current(const wchar_t* source) const;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
