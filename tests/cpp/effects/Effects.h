#pragma once
// What the effects tests share: effects objects, painted images and the leak
// check.

#include "Support.h"

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

inline bool noObjectsLeft() {
    for (const wchar_t* name : {L"kolorit.dll", L"vellum.dll"}) {
        const auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(name), "DllCanUnloadNow")));
        if (!canUnload || canUnload() != S_OK) return false;
    }
    return true;
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

}  // namespace test
