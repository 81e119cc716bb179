#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// One dotted focus rectangle on a device context the client owns, kept
// shown or hidden as state. It is drawn by exclusive or, so drawing it again
// at the same place removes it: hiding and moving rely on that, and no
// pixels are saved. Releasing the object leaves the rectangle as it is.
class DCFocusRect : public com::Object<DCFocusRect, _DCFocusRect> {
public:
    static const CLSID& classId() { return CLSID_DCFocusRect; }

    // Once, with a device context (a second handle or none: run-time error 5).
    void AttachDestDC(HDC hDC);

    STDMETHODIMP get_hDestDC(long* Value) override;
    STDMETHODIMP get_Visible(VARIANT_BOOL* Value) override;
    STDMETHODIMP put_Visible(VARIANT_BOOL Value) override;
    STDMETHODIMP get_X1(long* Value) override;
    STDMETHODIMP put_X1(long Value) override { return moveCorner(X1_, Value); }
    STDMETHODIMP get_Y1(long* Value) override;
    STDMETHODIMP put_Y1(long Value) override { return moveCorner(Y1_, Value); }
    STDMETHODIMP get_X2(long* Value) override;
    STDMETHODIMP put_X2(long Value) override { return moveCorner(X2_, Value); }
    STDMETHODIMP get_Y2(long* Value) override;
    STDMETHODIMP put_Y2(long Value) override { return moveCorner(Y2_, Value); }
    STDMETHODIMP get_ScaleMode(long* Value) override;

private:
    friend com::Object<DCFocusRect, _DCFocusRect>;
    DCFocusRect() = default;

    // Draws the rectangle once, its corners put in order.
    void FocusRect_Draw() const;
    // While shown, the rectangle is erased at the old corner and drawn at the new.
    HRESULT moveCorner(long& corner, long Value);

    VARIANT_BOOL visible_ = VARIANT_FALSE;
    long X1_ = 0;
    long Y1_ = 0;
    long X2_ = 0;
    long Y2_ = 0;
    HDC hDestDC_ = nullptr;
};

}  // namespace kolorit
