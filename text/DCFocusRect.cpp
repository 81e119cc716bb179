#include "DCFocusRect.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

#include <algorithm>

namespace kolorit {

namespace {

// The automation runtime's scale mode for pixels.
constexpr long ScalePixels = 3;

}  // namespace

void DCFocusRect::AttachDestDC(HDC hDC) {
    com::require(hDestDC_ == nullptr && hDC != nullptr);
    hDestDC_ = hDC;
}

void DCFocusRect::FocusRect_Draw() const {
    const RECT rectangle{std::min(X1_, X2_), std::min(Y1_, Y2_), std::max(X1_, X2_), std::max(Y1_, Y2_)};
    if (!gdi::DrawFocusRect(hDestDC_, &rectangle))
        RaiseVBDLLError(L"DCFocusRect.<FocusRect_Draw()>", L"DrawFocusRect failed: could not redraw or hide focus rect");
}

STDMETHODIMP DCFocusRect::get_hDestDC(long* Value) {
    return com::guarded(Value, [&] { return static_cast<long>(handleValue(hDestDC_)); });
}

STDMETHODIMP DCFocusRect::get_Visible(VARIANT_BOOL* Value) {
    return com::guarded(Value, [&] { return visible_; });
}

// The new state is stored before drawing: after a failed draw it no longer
// tells what the surface shows.
STDMETHODIMP DCFocusRect::put_Visible(VARIANT_BOOL Value) {
    return com::guarded([&] {
        const VARIANT_BOOL visible = Value != VARIANT_FALSE ? VARIANT_TRUE : VARIANT_FALSE;
        if (visible == visible_) return;
        visible_ = visible;
        FocusRect_Draw();
    });
}

// Not compared with the old value: setting a corner to itself while shown
// erases and redraws, which leaves the surface as it was.
HRESULT DCFocusRect::moveCorner(long& corner, long Value) {
    return com::guarded([&] {
        if (visible_) FocusRect_Draw();
        corner = Value;
        if (visible_) FocusRect_Draw();
    });
}

STDMETHODIMP DCFocusRect::get_X1(long* Value) {
    return com::guarded(Value, [&] { return X1_; });
}

STDMETHODIMP DCFocusRect::get_Y1(long* Value) {
    return com::guarded(Value, [&] { return Y1_; });
}

STDMETHODIMP DCFocusRect::get_X2(long* Value) {
    return com::guarded(Value, [&] { return X2_; });
}

STDMETHODIMP DCFocusRect::get_Y2(long* Value) {
    return com::guarded(Value, [&] { return Y2_; });
}

STDMETHODIMP DCFocusRect::get_ScaleMode(long* Value) {
    return com::guarded(Value, [&] { return ScalePixels; });
}

}  // namespace kolorit
