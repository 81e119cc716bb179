#pragma once

#include "KoloritTypes.h"
#include "com/Boundary.h"
#include "com/Object.h"
#include "drawing/DCClipping.h"
#include "drawing/DCCoordinates.h"
#include "drawing/DCDrawing.h"
#include "drawing/DCPath.h"
#include "drawing/DCPosition.h"
#include "effects/DCEffectDrawing.h"
#include "text/DCInterfaceDrawing.h"
#include "text/DCTextDrawing.h"

#include <memory>

namespace kolorit {

// The hub: a Vellum surface with every drawing capability of the library.
// It keeps the surface alive and reads its device context once, at attach.
// Each area of drawing is a sub-object made on the first read of its
// property and kept for the hub's life; it holds only the device context.
class GDIDCEx : public com::Object<GDIDCEx, _GDIDCEx> {
public:
    static const CLSID& classId() { return CLSID_GDIDCEx; }

    // A new hub on `surface` (Nothing or not a surface: run-time error 5).
    static com::ComPtr<GDIDCEx> attach(IUnknown* surface);

    HDC hDC() const noexcept { return hDC_; }
    _GDIDC* surface() const noexcept { return dc_.Get(); }

    STDMETHODIMP get_DC(_GDIDC** Value) override;
    STDMETHODIMP get_Clipping(_DCClipping** Value) override { return subObject(clipping_, Value); }
    STDMETHODIMP get_Drawing(_DCDrawing** Value) override { return subObject(drawing_, Value); }
    STDMETHODIMP get_Effects(_DCEffectDrawing** Value) override;
    STDMETHODIMP get_Coordinates(_DCCoordinates** Value) override { return subObject(coordinates_, Value); }
    STDMETHODIMP get_CurrentPos(_DCPosition** Value) override { return subObject(currentPos_, Value); }
    STDMETHODIMP get_Path(_DCPath** Value) override { return subObject(path_, Value); }
    STDMETHODIMP get_TextDrawing(_DCTextDrawing** Value) override { return subObject(textDrawing_, Value); }
    STDMETHODIMP get_UIDrawing(_DCInterfaceDrawing** Value) override { return subObject(uiDrawing_, Value); }
    STDMETHODIMP DrawTo(OLE_HANDLE hDestDC, long DestX1, long DestY1, long DestX2, long DestY2, long SrcX, long SrcY,
                        DCRasterOperations RasterOpCode, long TransparentColor) override;
    STDMETHODIMP CaptureFrom(OLE_HANDLE hSrcDC, long SrcX1, long SrcY1, long SrcX2, long SrcY2, long DestX, long DestY,
                             DCRasterOperations RasterOpCode, long TransparentColor) override;

private:
    friend com::Object<GDIDCEx, _GDIDCEx>;
    GDIDCEx() = default;
    // The surface goes first; the sub-objects follow as members.
    ~GDIDCEx() override { dc_.Reset(); }

    void Attach(com::ComPtr<_GDIDC> surface);

    // The property of a sub-object: made and handed the device context on
    // first read, the same object on every later read.
    template <class SubObject, class Interface>
    HRESULT subObject(com::ComPtr<SubObject>& slot, Interface** Value) {
        return com::guarded(Value, [&] {
            com::require(hDC_ != nullptr);
            if (!slot) {
                slot = SubObject::create();
                slot->AttachHDC(hDC_);
            }
            return slot;
        });
    }

    HDC hDC_ = nullptr;
    com::ComPtr<_GDIDC> dc_;
    // What the effects object's link back to the hub points at: it owns
    // nothing, and the link expires when it goes with the hub.
    const std::shared_ptr<GDIDCEx> identity_{this, [](GDIDCEx*) {}};
    // Declared in reverse, so that they go in the order Clipping,
    // Coordinates, Drawing, Effects, Path, CurrentPos, TextDrawing, UIDrawing.
    com::ComPtr<DCInterfaceDrawing> uiDrawing_;
    com::ComPtr<DCTextDrawing> textDrawing_;
    com::ComPtr<DCPosition> currentPos_;
    com::ComPtr<DCPath> path_;
    com::ComPtr<DCEffectDrawing> effects_;
    com::ComPtr<DCDrawing> drawing_;
    com::ComPtr<DCCoordinates> coordinates_;
    com::ComPtr<DCClipping> clipping_;
};

}  // namespace kolorit
