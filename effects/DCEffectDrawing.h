#pragma once

#include "frame/KoloritTypes.h"
#include "com/EventSource.h"
#include "com/Object.h"

#include <cmath>
#include <memory>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace kolorit {

class GDIDCEx;

// A floating-point value as a pixel coordinate or colour component: the
// nearest integer, halves to the even neighbour (the default rounding mode),
// as the runtime's lrint gives it, but inline: the runtime's own function is
// never inlined while the maths functions may set errno. On x87 the value is
// stored as a double first, as it is when passed to that function, so that
// extended precision left in a register cannot turn a half over.
inline long rounded(double value) {
#if defined(__x86_64__)
    return _mm_cvtsd_si32(_mm_set_sd(value));
#elif defined(__i386__)
    long nearest;
    __asm__("fldl %1\n\tfistpl %0" : "=m"(nearest) : "m"(value) : "st");
    return nearest;
#else
    return std::lrint(value);
#endif
}

// The image effects of one hub's surface. It works on the surface's device
// context alone; the long effects report their progress through the events
// of __DCEffectDrawing. Each algorithm lives in a source file of its own.
class DCEffectDrawing : public com::Object<DCEffectDrawing, _DCEffectDrawing> {
public:
    static const CLSID& classId() { return CLSID_DCEffectDrawing; }
    static const IID* eventInterface() { return &DIID___DCEffectDrawing; }

    // Library-internal: the hub hands over its device context and a link back
    // to itself. The link does not keep the hub alive (the hub holds this
    // object) and expires with it.
    void AttachHDC(HDC hDC, std::weak_ptr<GDIDCEx> hub);

    IUnknown* queryOther(REFIID iid);

    STDMETHODIMP get_StretchMode(DCStrechMode* Value) override;
    STDMETHODIMP put_StretchMode(DCStrechMode Value) override;
    STDMETHODIMP StretchTo(OLE_HANDLE hDestDC, long DestX1, long DestY1, long DestX2, long DestY2, long SrcX1,
                           long SrcY1, long SrcX2, long SrcY2, DCRasterOperations RasterOpCode) override;
    STDMETHODIMP TileArea(long X1, long Y1, long X2, long Y2, OLE_HANDLE hSrcDC, long SrcWidth, long SrcHeight,
                          DCRasterOperations RasterOpCode) override;
    STDMETHODIMP GradientFill(long X1, long Y1, long X2, long Y2, OLE_COLOR StartColor, OLE_COLOR EndColor,
                              double StepSize, VARIANT_BOOL Horizontal) override;
    STDMETHODIMP InvertArea(long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP FloodFill(long X, long Y, long Color, DCFloodFillStyle FillType) override;
    STDMETHODIMP InvertEx(_GDIRegion* Shape) override;
    STDMETHODIMP GetMaskBitmap(OLE_COLOR MaskColor, long X1, long* Y1, long X2, long Y2, VARIANT_BOOL Invert,
                               _GDIDC** Result) override;
    STDMETHODIMP ApplyMask(_GDIDC* MaskDC, _GDIDC* ToDC, long DestX, long DestY, long ReplacementX,
                           long ReplacementY) override;
    STDMETHODIMP ReplaceColor(OLE_COLOR FromColor, OLE_COLOR ToColor, long X1, long Y1, long X2, long Y2) override;
    STDMETHODIMP ReplaceColorEx(OLE_COLOR FromColor, _GDIDC* ToDC, long X1, long Y1, long X2, long Y2,
                                long ReplacementX, long ReplacementY) override;
    STDMETHODIMP Rotate(_GDIDC** dcDest, double Angle, long DestX, long DestY) override;
    STDMETHODIMP GravitationPit(long X, long Y, VARIANT Radius) override;
    STDMETHODIMP Wave(long Size, VARIANT Length, long MoveX, long MoveY) override;
    STDMETHODIMP Mirror() override;
    STDMETHODIMP Flip() override;
    STDMETHODIMP FlipMirror() override;

private:
    friend com::Object<DCEffectDrawing, _DCEffectDrawing>;
    DCEffectDrawing() = default;

    // The hub as a counted reference, or none once the hub is gone.
    com::ComPtr<GDIDCEx> ObjectFromPointer() const;

    // Error 12346 for a rectangle outside the image, raised directly (not
    // through the library's error routine) with the member's own source.
    [[noreturn]] static void InvalidBoundaries(const wchar_t* source);

    // A variant argument as a number, `omitted` when it was left out; one
    // that does not convert raises run-time error 13.
    static double Number(const VARIANT& value, double omitted);

    // A rectangle of the image for the mask and replacement members: no
    // corner negative, a far edge of 0 meaning the image's edge, and at least
    // one pixel inside (error 12346 otherwise).
    struct ImageArea {
        long X1, Y1, X2, Y2, W, H;
        BITMAP image;
    };
    ImageArea imageArea(long X1, long Y1, long X2, long Y2, const wchar_t* source) const;

    void InitDraw();
    // Whether a sink heard it: it may have drawn on the surface or changed
    // its state in the meantime.
    bool ProgressDraw(double NewValue);
    void EndDraw();
    // Whether a sink is connected that would hear the events.
    bool heard() const noexcept { return events_.connected(); }

    // The whole image reversed onto itself along the chosen axes.
    void reverse(bool alongX, bool alongY, const wchar_t* source);

    HDC hDC_ = nullptr;
    std::weak_ptr<GDIDCEx> hub_;
    com::EventSource events_{static_cast<_DCEffectDrawing*>(this), DIID___DCEffectDrawing};
};

}  // namespace kolorit
