#pragma once
// What the C++ tests share: COM set up for the test thread, the components
// created the way a client creates them, pixel access, and late-bound calls
// through IDispatch::Invoke that report the automation error they raise.

#include "frame/KoloritTypes.h"
#include "declarations/Handles.h"
#include "com/Ptr.h"
#include "com/Variant.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace test {

using kolorit::handleFrom;
using kolorit::handleValue;

using com::ComPtr;
using com::Variant;

com::ComPtr<_VellumFunctions> vellum();
com::ComPtr<_KoloritFunctions> koloritFunctions();
com::ComPtr<_GDIDC> surface(long width, long height, bool monochrome = false);
com::ComPtr<_GDIDCEx> attach(_GDIDC* surface);
HDC dcOf(_GDIDC* surface);

COLORREF pixel(_GDIDC* surface, int x, int y);
void fill(_GDIDC* surface, COLORREF color);
// The memory of a 32-bit surface, top row first, pixels as stored (blue in
// the low byte, the unused byte on top); pending drawing is flushed first.
DWORD* bitsOf(_GDIDC* surface);
void fill(_GDIDC* surface, RECT area, COLORREF color);

// An automation error as a client sees it.
struct Raised {
    HRESULT code = S_OK;
    long number = 0;
    std::wstring source;
    std::wstring description;
};
// The error a failed early-bound call left (number from the failure code).
Raised errorOf(HRESULT hr);
std::string narrow(const std::wstring& text);

// Arguments for late-bound calls.
Variant arg(long value);
Variant arg(int value);
Variant arg(double value);
Variant arg(const wchar_t* text);
Variant arg(IUnknown* object);  // as VT_DISPATCH when the object has IDispatch
Variant missing();

struct Named {
    const wchar_t* name;
    Variant value;
};

// Late-bound access to an object through its IDispatch.
class Late {
public:
    explicit Late(IUnknown* object);

    template <class... Args>
    Variant call(const wchar_t* member, Args&&... arguments) {
        return invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, list(std::forward<Args>(arguments)...));
    }
    template <class... Args>
    Variant get(const wchar_t* member, Args&&... arguments) {
        return invoke(member, DISPATCH_PROPERTYGET, list(std::forward<Args>(arguments)...));
    }
    void put(const wchar_t* member, Variant value, bool byReference = false);
    // Adds a named argument to the next call.
    Late& with(const wchar_t* name, Variant value);

    // After a call: the raw Invoke result and the exception it reported.
    HRESULT result() const { return result_; }
    const Raised& raised() const { return raised_; }

private:
    template <class... Args>
    static std::vector<Variant> list(Args&&... arguments) {
        std::vector<Variant> all;
        (all.push_back(std::forward<Args>(arguments)), ...);
        return all;
    }
    Variant invoke(const wchar_t* member, WORD flags, std::vector<Variant> arguments);

    std::vector<Named> named_;

    ComPtr<IDispatch> object_;
    HRESULT result_ = S_OK;
    Raised raised_;
};

long asLong(const Variant& value);

// The IUnknown of a test double implementing one dispatch interface.
template <class Interface>
class TestObject : public Interface {
public:
    virtual ~TestObject() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, __uuidof(Interface))) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

private:
    ULONG references_ = 1;
};

// One of a server's exported entry points (DllCanUnloadNow and the like).
using EntryPoint = HRESULT(WINAPI*)();
EntryPoint entryPoint(HMODULE module, const char* name);

// Whether a GDI handle still names a live object.
inline bool alive(HGDIOBJ handle) { return GetObjectType(handle) != 0; }

constexpr COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

ComPtr<_GDIBrush> makeBrush(COLORREF color);
// A region object holding a rectangle, or none without corners.
ComPtr<_GDIRegion> region();
ComPtr<_GDIRegion> region(long x1, long y1, long x2, long y2);
HRGN handleOf(_GDIRegion* region);
RECT boxOf(_GDIRegion* region);

// A surface of one colour and its hub.
struct Canvas {
    int width, height;
    COLORREF paper;
    ComPtr<_GDIDC> surface;
    ComPtr<_GDIDCEx> hub;
    HDC dc;

    explicit Canvas(int w = 64, int h = 64, COLORREF color = White);
    template <class Interface>
    ComPtr<Interface> get(HRESULT (STDMETHODCALLTYPE _GDIDCEx::*property)(Interface**)) {
        ComPtr<Interface> object;
        EXPECT_EQ((hub.Get()->*property)(&object), S_OK);
        return object;
    }
    void pen(COLORREF color, long width = 1);
    void brush(COLORREF color) { EXPECT_EQ(surface->putref_SelBrush(makeBrush(color).Get()), S_OK); }
    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
    POINT penPosition() const;
    std::vector<COLORREF> pixels() const;
    bool blank() const;  // nothing but paper
};

// A standard run-time error: its number, its standard text, no source line.
void expectRuntimeError(const Raised& raised, long number);
// A library error: 10000 plus the platform's code, the member's text, "; ",
// the platform's text, and the source line.
void expectLibraryError(const Raised& raised, const std::wstring& source, const std::wstring& description);

// A call that must fail: with a standard run-time error, or (number 0) with
// a library error of this source and text.
struct Refusal {
    const char* what;
    std::function<HRESULT()> call;
    long runtimeError;
    const wchar_t* source = nullptr;
    const wchar_t* description = nullptr;
};
void expectRefused(const Refusal& refusal);

}  // namespace test

// Checks an automation error: number, source and the start of its description.
#define EXPECT_RAISED(raised, number_, source_, description_)          \
    do {                                                               \
        const ::test::Raised& r_ = (raised);                           \
        EXPECT_EQ(r_.number, (number_));                               \
        EXPECT_EQ(::test::narrow(r_.source), ::test::narrow(source_)); \
        EXPECT_EQ(::test::narrow(r_.description), ::test::narrow(description_)); \
    } while (0)
