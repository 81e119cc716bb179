#pragma once
// What the text tests share: a surface in a colour no system element uses,
// snapshots of its pixels, the box of what was drawn, BSTR variables.

#include "../drawing/Drawing.h"

#include <string>
#include <vector>

namespace test {

constexpr COLORREF Paper = RGB(10, 200, 30);

struct Page {
    int width, height;
    ComPtr<_GDIDC> surface;
    ComPtr<_GDIDCEx> hub;
    HDC dc;

    explicit Page(int w = 200, int h = 60)
        : width(w), height(h), surface(test::surface(w, h)), hub(attach(surface.Get())), dc(dcOf(surface.Get())) {
        fill(surface.Get(), Paper);
    }
    template <class Interface>
    ComPtr<Interface> get(HRESULT (STDMETHODCALLTYPE _GDIDCEx::*property)(Interface**)) {
        ComPtr<Interface> object;
        EXPECT_EQ((hub.Get()->*property)(&object), S_OK);
        return object;
    }
    std::vector<COLORREF> pixels() const {
        std::vector<COLORREF> all;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) all.push_back(GetPixel(dc, x, y));
        return all;
    }
    // The smallest rectangle holding every pixel that is no longer paper
    // (all zero when nothing was drawn).
    RECT inked() const {
        RECT box{width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (GetPixel(dc, x, y) != Paper)
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                               std::max<LONG>(box.bottom, y + 1)};
        return box.right ? box : RECT{};
    }
    bool blank() const { return inked().right == 0; }
};

// A BSTR variable of the test, passed by reference like a client's.
struct Text {
    BSTR value;
    explicit Text(const wchar_t* text) : value(SysAllocString(text)) {}
    Text(const Text&) = delete;
    ~Text() { SysFreeString(value); }
    BSTR* ref() { return &value; }
    std::wstring str() const { return std::wstring(value, SysStringLen(value)); }
};

// A text as it comes back from the ANSI code page.
inline std::wstring roundTrip(const std::wstring& text) {
    char ansi[64] = {};
    wchar_t back[64] = {};
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
    return std::wstring(back, MultiByteToWideChar(CP_ACP, 0, ansi, bytes, back, 64) - 1);
}

// A typed array of Long with the given lower bound.
inline com::SafeArray longs(std::initializer_list<INT> values, LONG lowerBound = 0) {
    SAFEARRAYBOUND bounds{static_cast<ULONG>(values.size()), lowerBound};
    com::SafeArray array(SafeArrayCreate(VT_I4, 1, &bounds));
    std::copy(values.begin(), values.end(), com::ArrayAccess(array.get()).data<INT>());
    return array;
}

}  // namespace test
