#pragma once
// What the effects tests share: effects objects, painted images and a sink
// for the progress events.

#include "LiveObjects.h"
#include "Support.h"

#include <ocidl.h>

#include <functional>
#include <vector>

namespace test {

constexpr COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0), green = RGB(0, 255, 0);

inline OLE_HANDLE hDCOf(_GDIDC* image) { return static_cast<OLE_HANDLE>(reinterpret_cast<LONG_PTR>(dcOf(image))); }

// The effects object of a new hub over `image` (the hub itself is dropped).
inline ComPtr<_DCEffectDrawing> effectsOn(_GDIDC* image) {
    ComPtr<_DCEffectDrawing> effects;
    EXPECT_EQ(attach(image)->get_Effects(&effects), S_OK);
    return effects;
}

// Red = x, green = y: a moved pixel shows where it came from.
inline COLORREF coordinate(int x, int y) { return RGB(x, y, 7); }

// The pixels of a width x height image painted by `colour`, row by row.
inline std::vector<COLORREF> expected(long width, long height, const std::function<COLORREF(int, int)>& colour) {
    std::vector<COLORREF> all;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) all.push_back(colour(x, y));
    return all;
}

inline std::vector<COLORREF> pixels(_GDIDC* image) {
    long width = 0, height = 0;
    image->get_Width(&width);
    image->get_Height(&height);
    return expected(width, height, [&](int x, int y) { return pixel(image, x, y); });
}

inline ComPtr<_GDIDC> painted(long width, long height, const std::function<COLORREF(int, int)>& colour = coordinate) {
    auto image = surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixelV(dcOf(image.Get()), x, y, colour(x, y));
    return image;
}

// A surface's bitmap as the platform describes it.
inline DIBSECTION dibOf(_GDIDC* image) {
    OLE_HANDLE handle = 0;
    EXPECT_EQ(image->get_hBitmap(&handle), S_OK);
    DIBSECTION dib{};
    GetObject(handleFrom<HBITMAP>(handle), sizeof dib, &dib);
    return dib;
}

// Coordinates with red on every third pixel, and background and text colours
// that no mask operation may rely on.
constexpr int spottedW = 8, spottedH = 6;
inline bool isRed(int x, int y) { return (x + 2 * y) % 3 == 0; }
inline COLORREF spottedAt(int x, int y) { return isRed(x, y) ? red : coordinate(x, y); }
inline ComPtr<_GDIDC> spotted() {
    auto image = painted(spottedW, spottedH, spottedAt);
    SetBkColor(dcOf(image.Get()), RGB(10, 20, 30));
    SetTextColor(dcOf(image.Get()), RGB(200, 0, 0));
    return image;
}

// One event: 1 InitDraw, 2 ProgressDraw (with its value), 3 EndDraw.
struct Heard {
    DISPID event;
    float value = 0;
    bool operator==(const Heard&) const = default;
};
inline const Heard initDraw{1}, endDraw{3};

// A connected sink of __DCEffectDrawing; `onEvent` runs inside each event and
// gives the sink's answer.
class Sink : public TestObject<IDispatch> {
public:
    static ComPtr<Sink> on(IUnknown* source) {
        ComPtr<Sink> sink;
        *sink.GetAddressOf() = new Sink;
        ComPtr<IConnectionPointContainer> container;
        EXPECT_EQ(source->QueryInterface(IID_PPV_ARGS(&container)), S_OK);
        EXPECT_EQ(container->FindConnectionPoint(DIID___DCEffectDrawing, &sink->point_), S_OK);
        EXPECT_EQ(sink->point_->Advise(sink.Get(), &sink->cookie_), S_OK);
        return sink;
    }
    void disconnect() {
        if (point_) {
            EXPECT_EQ(point_->Unadvise(cookie_), S_OK);
        }
        point_.Reset();
    }
    std::vector<Heard> heard;
    std::function<HRESULT(DISPID)> onEvent;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        EXPECT_EQ(params->cArgs, member == 2 ? 1u : 0u);
        heard.push_back(Heard{member, member == 2 && V_VT(&params->rgvarg[0]) == VT_R4 ? V_R4(&params->rgvarg[0]) : 0});
        return onEvent ? onEvent(member) : S_OK;
    }

private:
    Sink() = default;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace test
