#pragma once

#include "frame/KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// The elements of the Windows user interface on the hub's device context:
// borders, frame controls, the focus rectangle, the desktop, and images or
// text in a state look. The members bounded by a rectangle leave the pen at
// its second corner, like the shapes of DCDrawing.
class DCInterfaceDrawing : public com::Object<DCInterfaceDrawing, _DCInterfaceDrawing> {
public:
    static const CLSID& classId() { return CLSID_DCInterfaceDrawing; }

    void AttachHDC(HDC hDC) noexcept { hDC_ = hDC; }

    STDMETHODIMP DrawBorder(long X1, long Y1, long X2, long Y2, DCEdgeTypeFlags EdgeType,
                            DCBorderTypeFlags BorderType) override;
    STDMETHODIMP DrawControlFrame(long X1, long Y1, long X2, long Y2, DCFrameControlType FrameType,
                                  DCFrameControlFlags FrameState) override;
    STDMETHODIMP DrawRectFocus(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP CaptureWallpaper() override;
    STDMETHODIMP CaptureImageState(OLE_HANDLE hImage, long X1, long* Y1, long X2, long Y2, _GDIBrush* ColorBrush,
                                   DCStateFlags Flags, VARIANT_BOOL ImageIsIcon) override;
    STDMETHODIMP DrawStatedText(BSTR* Text, long X1, long Y1, long X2, long Y2, _GDIBrush* ColorBrush,
                                DCStateFlags Flags, VARIANT_BOOL DrawPrefixes) override;

private:
    friend com::Object<DCInterfaceDrawing, _DCInterfaceDrawing>;
    DCInterfaceDrawing() = default;

    void movePenTo(long X, long Y, const wchar_t* Source) const;

    HDC hDC_ = nullptr;
};

}  // namespace kolorit
