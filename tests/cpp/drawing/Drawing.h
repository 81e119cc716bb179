#pragma once
// What the drawing tests share: a white surface with its hub, Vellum pens and
// brushes, COORD arrays as typed clients build them, and refused calls.

#include "Support.h"

#include <functional>
#include <initializer_list>

namespace test {

constexpr COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 128, 0);

inline ComPtr<_GDIBrush> makeBrush(COLORREF color) {
    ComPtr<_GDIBrush> made;
    EXPECT_EQ(vellum()->CreateBrushObject(color, 0, 0, &made), S_OK);
    return made;
}

// A white 64 x 64 surface and its hub.
struct Canvas {
    ComPtr<_GDIDC> surface = test::surface(64, 64);
    ComPtr<_GDIDCEx> hub = attach(surface.Get());
    HDC dc = dcOf(surface.Get());

    Canvas() { fill(surface.Get(), White); }
    template <class Interface>
    ComPtr<Interface> get(HRESULT (STDMETHODCALLTYPE _GDIDCEx::*property)(Interface**)) {
        ComPtr<Interface> object;
        EXPECT_EQ((hub.Get()->*property)(&object), S_OK);
        return object;
    }
    void pen(COLORREF color, long width = 1) {
        ComPtr<_GDIPen> made;
        EXPECT_EQ(vellum()->CreatePenObject(color, 0, width, &made), S_OK);
        EXPECT_EQ(surface->putref_SelPen(made.Get()), S_OK);
    }
    void brush(COLORREF color) { EXPECT_EQ(surface->putref_SelBrush(makeBrush(color).Get()), S_OK); }
    COLORREF at(int x, int y) { return pixel(surface.Get(), x, y); }
    POINT penPosition() {
        POINT position{};
        GetCurrentPositionEx(dc, &position);
        return position;
    }
};

// A COORD array, made with the type library's description of COORD.
inline com::SafeArray coords(std::initializer_list<POINT> points, LONG lowerBound = 0) {
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> info;
    ComPtr<IRecordInfo> record;
    MEMBERID id = 0;
    USHORT found = 1;
    EXPECT_EQ(LoadRegTypeLib(LIBID_Vellum, 1, 0, 0, &library), S_OK);
    EXPECT_EQ(library->FindName(const_cast<LPOLESTR>(L"COORD"), 0, &info, &id, &found), S_OK);
    EXPECT_EQ(GetRecordInfoFromTypeInfo(info.Get(), &record), S_OK);
    SAFEARRAYBOUND bounds{static_cast<ULONG>(points.size()), lowerBound};
    com::SafeArray array(SafeArrayCreateEx(VT_RECORD, 1, &bounds, record.Get()));
    if (points.size()) std::copy(points.begin(), points.end(), com::ArrayAccess(array.get()).data<POINT>());
    return array;
}

// The polygon members on a COORD array that lives for the call.
inline HRESULT polygon(_DCDrawing* drawing, VARIANT_BOOL fill, std::initializer_list<POINT> points, LONG lowerBound = 0) {
    com::SafeArray array = coords(points, lowerBound);
    SAFEARRAY* held = array.get();
    return drawing->DrawPolygon(fill, &held);
}
inline HRESULT bezier(_DCDrawing* drawing, std::initializer_list<POINT> points, LONG lowerBound = 0) {
    com::SafeArray array = coords(points, lowerBound);
    SAFEARRAY* held = array.get();
    return drawing->DrawPolyBezier(&held);
}

inline ComPtr<_GDIRegion> emptyRegionObject() {
    ComPtr<_GDIRegion> region;
    EXPECT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    return region;
}

inline ComPtr<_GDIRegion> rectRegion(long x1, long y1, long x2, long y2) {
    ComPtr<_GDIRegion> region = emptyRegionObject();
    EXPECT_EQ(region->CreateRect(x1, y1, x2, y2), S_OK);
    return region;
}

inline RECT boxOf(_GDIRegion* region) {
    OLE_HANDLE handle = 0;
    RECT box{};
    EXPECT_EQ(region->get_hRgn(&handle), S_OK);
    GetRgnBox(handleFrom<HRGN>(handle), &box);
    return box;
}

inline void expectRuntimeError(const Raised& raised, long number) {
    EXPECT_EQ(raised.number, number) << narrow(raised.source) << ": " << narrow(raised.description);
    EXPECT_EQ(raised.description.find(L"Error source:"), std::wstring::npos);
}

// A call that must fail: with a standard run-time error, or (number 0) with
// a library error (10000 plus the platform's code) of this source and text.
struct Refusal {
    const char* what;
    std::function<HRESULT()> call;
    long runtimeError;
    const wchar_t* source = nullptr;
    const wchar_t* description = nullptr;
};

inline void expectRefused(const Refusal& refusal) {
    SCOPED_TRACE(refusal.what);
    SetLastError(ERROR_INVALID_HANDLE);  // Wine leaves some failures without a code of their own
    const HRESULT hr = refusal.call();
    ASSERT_TRUE(FAILED(hr));
    const Raised raised = errorOf(hr);
    if (refusal.runtimeError) return expectRuntimeError(raised, refusal.runtimeError);
    // The member's text, "; ", the platform's text, and the source line.
    const std::wstring start = std::wstring(refusal.description) + L"; ";
    const std::wstring end = std::wstring(L"\r\nError source: ") + refusal.source;
    const std::wstring& text = raised.description;
    EXPECT_GE(raised.number, 10000);
    EXPECT_EQ(narrow(raised.source), narrow(refusal.source));
    EXPECT_EQ(narrow(text.substr(0, start.size())), narrow(start));
    EXPECT_TRUE(text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0) << narrow(text);
}

}  // namespace test
