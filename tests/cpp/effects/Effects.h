#pragma once
// What the effects tests share: effects objects, an event sink that records
// what it hears, coordinate-painted images and the leak check.

#include "Support.h"

#include <functional>
#include <vector>

namespace test {

inline OLE_HANDLE handleOf(HDC dc) { return static_cast<OLE_HANDLE>(reinterpret_cast<LONG_PTR>(dc)); }

// The effects object of a new hub over `image` (the hub itself is dropped).
ComPtr<_DCEffectDrawing> effectsOn(_GDIDC* image);
// The effects object of a surface that is gone: every platform call fails.
ComPtr<_DCEffectDrawing> orphanedEffects();
// Whether neither component has an object left.
bool noObjectsLeft();

// Red = x, green = y: a moved pixel shows where it came from.
inline COLORREF coordinate(int x, int y) { return RGB(x, y, 7); }
ComPtr<_GDIDC> coordinates(long width, long height);
std::vector<COLORREF> pixels(_GDIDC* surface);

// A library error: 10000 plus a platform code, the source, and a description
// made of the member's text, "; ", the system text and the source line.
void expectLibraryError(HRESULT hr, const std::wstring& source, const std::wstring& description);

// One event: 1 InitDraw, 2 ProgressDraw (with its value), 3 EndDraw.
struct Heard {
    DISPID event;
    float value = 0;
    bool operator==(const Heard&) const = default;
};

// A sink of __DCEffectDrawing; `onEvent` runs inside each event and gives
// the sink's answer.
class Sink : public IDispatch {
public:
    static ComPtr<Sink> on(IUnknown* source);  // made and connected
    void disconnect();
    std::vector<Heard> heard;
    std::function<HRESULT(DISPID)> onEvent;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

private:
    Sink() = default;
    virtual ~Sink() = default;
    ULONG references_ = 1;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

}  // namespace test
