#pragma once
// What the drawing tests share: a white surface with its hub, Vellum pens and
// brushes, COORD arrays as typed clients build them, library error checks.

#include "Support.h"

#include <functional>
#include <initializer_list>

namespace test {

constexpr COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 128, 0);

// A white 64 x 64 surface and its hub.
struct Canvas {
    Canvas();
    template <class Interface>
    ComPtr<Interface> get(HRESULT (STDMETHODCALLTYPE _GDIDCEx::*property)(Interface**)) {
        ComPtr<Interface> object;
        EXPECT_EQ((hub.Get()->*property)(&object), S_OK);
        return object;
    }
    void pen(COLORREF color, long width = 1);
    void brush(COLORREF color) { EXPECT_EQ(surface->putref_SelBrush(makeBrush(color).Get()), S_OK); }
    ComPtr<_GDIBrush> makeBrush(COLORREF color);
    COLORREF at(int x, int y) { return pixel(surface.Get(), x, y); }
    POINT penPosition();

    ComPtr<_GDIDC> surface;
    ComPtr<_GDIDCEx> hub;
    HDC dc = nullptr;
};

// A COORD array, made with the type library's description of COORD.
com::SafeArray coords(std::initializer_list<POINT> points, LONG lowerBound = 0);
ComPtr<_GDIRegion> rectRegion(long x1, long y1, long x2, long y2);
ComPtr<_GDIRegion> emptyRegionObject();
RECT boxOf(_GDIRegion* region);

// A library error (base 10000 plus a platform code) with this source and
// description, or a standard run-time error.
void expectLibraryError(const Raised& raised, const wchar_t* source, const wchar_t* description);
void expectRuntimeError(const Raised& raised, long number);

}  // namespace test
