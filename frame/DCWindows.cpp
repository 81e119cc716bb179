#include "DCWindows.h"

#include "GDIDCEx.h"
#include "Vellum.h"
#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace kolorit {

using com::ComPtr;

ComPtr<DCWindows> DCWindows::attach(HWND hWnd, long Operation) {
    com::require(gdi::IsWindow(hWnd));
    ComPtr<DCWindows> window = create();
    window->Open(hWnd, Operation);
    return window;
}

// Operation and the window are stored before the surface is made, so that a
// failure from there on still gives the context back.
void DCWindows::Open(HWND hWnd, long Operation) {
    com::require(!hWnd_ && hWnd);
    switch (Operation) {
    case dcWndRetreiveClientDC:
        PS_.hdc = gdi::GetWindowDC(hWnd);
        break;
    case dcWndRetreiveDC:
        PS_.hdc = gdi::GetDC(hWnd);
        break;
    case dcWndStartPainting:
        gdi::BeginPaint(hWnd, &PS_);
        break;
    default:
        com::raise(com::RuntimeError::InvalidArgument);
    }
    com::require(PS_.hdc != nullptr);
    Operation_ = Operation;
    hWnd_ = hWnd;

    ComPtr<_GDIDC> surface;
    com::passThrough(VellumFunctions()->AttachGDIDC(handleValue(PS_.hdc), 0, &surface));
    DCEx_ = GDIDCEx::attach(surface.Get());
}

// The hub goes first: its surface selects back what was selected through it
// while the context is still the window's. A failing ReleaseDC has nobody to
// report to.
DCWindows::~DCWindows() {
    DCEx_.Reset();
    if (!PS_.hdc) return;
    if (Operation_ == dcWndStartPainting)
        gdi::EndPaint(hWnd_, &PS_);
    else
        gdi::ReleaseDC(hWnd_, PS_.hdc);
    PS_.hdc = nullptr;
    hWnd_ = nullptr;
}

STDMETHODIMP DCWindows::get_hWndParent(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return handleValue(hWnd_); });
}

STDMETHODIMP DCWindows::get_CmdOperation(DCWndOperations* Value) {
    return com::guarded(Value, [&] { return Operation_; });
}

STDMETHODIMP DCWindows::get_DCEx(_GDIDCEx** Value) {
    return com::guarded(Value, [&] { return DCEx_; });
}

// The window gets a copy of the region: the platform owns the handle it is
// given, while the caller's region object keeps owning (and one day
// deleting) its own.
STDMETHODIMP DCWindows::SetRegion(_GDIRegion** Shape, VARIANT_BOOL* Redraw) {
    return com::guarded([&] {
        com::require(gdi::IsWindow(hWnd_));
        const HRGN shape = Shape && *Shape ? RegionHandle(*Shape) : nullptr;
        GdiObject<HRGN> copy;
        if (shape) {
            copy.reset(gdi::CreateRectRgn(0, 0, 0, 0));
            if (!copy || gdi::CombineRgn(copy.get(), shape, nullptr, RGN_COPY) == ERROR)
                RaiseVBDLLError(L"DCWindows.SetRegion()", L"Could not set window shape!");
        }
        const BOOL redraw = Redraw && *Redraw == VARIANT_TRUE;
        if (!gdi::SetWindowRgn(hWnd_, copy.get(), redraw))
            RaiseVBDLLError(L"DCWindows.SetRegion()", L"Could not set window shape!");
        copy.release();
    });
}

STDMETHODIMP DCWindows::ExportRegion(_GDIRegion** Result) {
    return com::guarded(Result, [&] {
        com::require(gdi::IsWindow(hWnd_));
        ComPtr<_GDIRegion> exported = CreateRegionObject();
        com::passThrough(exported->CreateRect(0, 0, 0, 0));
        if (gdi::GetWindowRgn(hWnd_, RegionHandle(exported.Get())) == ERROR) {
            // The error reports the failed copy, not what the clean-up left.
            const long failure = static_cast<long>(GetLastDLLError());
            com::passThrough(exported->Delete());
            RaiseVBDLLError(L"DCWindows.ExportRegion()", L"Could not get window region!", failure);
        }
        return exported;
    });
}

STDMETHODIMP DCWindows::LockForUpdate() {
    return com::guarded([&] {
        if (!gdi::LockWindowUpdate(hWnd_)) RaiseVBDLLError(L"DCWindows.LockForUpdate()", L"Failed to lock the window!");
    });
}

STDMETHODIMP DCWindows::UnlockAll() {
    return com::guarded([&] {
        if (!gdi::LockWindowUpdate(nullptr))
            RaiseVBDLLError(L"DCWindows.UnlockAll()", L"Failed to unload the windows for update!");
    });
}

}  // namespace kolorit
