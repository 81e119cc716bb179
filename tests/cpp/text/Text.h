#pragma once
// What the text tests share: a surface with its hub and text objects,
// snapshots of its pixels, the box of what was drawn, texts as BSTRs.

#include "../drawing/Drawing.h"

#include <string>
#include <vector>

namespace test {

constexpr COLORREF Paper = RGB(10, 200, 30);

// A surface in a colour no system element uses, with its hub.
struct Page {
    int width, height;
    ComPtr<_GDIDC> surface;
    ComPtr<_GDIDCEx> hub;
    HDC dc;

    explicit Page(int w = 200, int h = 60)
        : width(w), height(h), surface(test::surface(w, h)), hub(attach(surface.Get())), dc(dcOf(surface.Get())) {
        fill(surface.Get(), Paper);
    }
    ComPtr<_DCTextDrawing> text() {
        ComPtr<_DCTextDrawing> made;
        EXPECT_EQ(hub->get_TextDrawing(&made), S_OK);
        return made;
    }
    ComPtr<_DCInterfaceDrawing> ui() {
        ComPtr<_DCInterfaceDrawing> made;
        EXPECT_EQ(hub->get_UIDrawing(&made), S_OK);
        return made;
    }
    std::vector<COLORREF> pixels() const {
        std::vector<COLORREF> all;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) all.push_back(GetPixel(dc, x, y));
        return all;
    }
    // The smallest rectangle holding every pixel that is no longer paper
    // (empty when nothing was drawn).
    RECT inked() const {
        RECT box{width, height, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (GetPixel(dc, x, y) != Paper)
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                               std::max<LONG>(box.bottom, y + 1)};
        return box.right ? box : RECT{};
    }
};

inline bool empty(const RECT& box) { return box.right <= box.left; }

// A BSTR variable owned by the test, passed by reference like a client's.
struct Text {
    BSTR value;
    explicit Text(const wchar_t* text) : value(SysAllocString(text)) {}
    Text(const Text&) = delete;
    ~Text() { SysFreeString(value); }
    BSTR* ref() { return &value; }
    std::wstring str() const { return std::wstring(value, SysStringLen(value)); }
};

inline std::string ansi(const std::wstring& text) {
    std::string out(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.pop_back();
    return out;
}

// A text as it comes back from the ANSI code page.
inline std::wstring roundTrip(const std::wstring& text) {
    const std::string a = ansi(text);
    std::wstring back(a.size() + 1, L'\0');
    back.resize(MultiByteToWideChar(CP_ACP, 0, a.c_str(), static_cast<int>(a.size()), back.data(),
                                    static_cast<int>(back.size())));
    return back;
}

// A typed array of Long with the given lower bound.
inline com::SafeArray longs(std::initializer_list<INT> values, LONG lowerBound = 0) {
    SAFEARRAYBOUND bounds{static_cast<ULONG>(values.size()), lowerBound};
    com::SafeArray array(SafeArrayCreate(VT_I4, 1, &bounds));
    if (values.size()) std::copy(values.begin(), values.end(), com::ArrayAccess(array.get()).data<INT>());
    return array;
}

}  // namespace test
