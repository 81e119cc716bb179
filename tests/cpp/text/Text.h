#pragma once
// What the text tests share: a surface in a colour no system element uses,
// BSTR variables, typed arrays of Long.

#include "Support.h"

#include <string>
#include <vector>

namespace test {

constexpr COLORREF Paper = RGB(10, 200, 30);

// A surface in a colour no system element uses.
struct Page : Canvas {
    explicit Page(int w = 200, int h = 60) : Canvas(w, h, Paper) {}
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
