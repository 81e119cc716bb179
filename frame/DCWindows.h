#pragma once

#include "KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// A window's device context with every drawing capability of the library: a
// Vellum surface over the context and a hub on that surface. The context is
// given back, the way it was opened, when the last reference goes; there is
// no reopening and no giving back early.
class DCWindows : public com::Object<DCWindows, _DCWindows> {
public:
    static const CLSID& classId() { return CLSID_DCWindows; }

    // A new object holding the context of hWnd, opened by Operation.
    static com::ComPtr<DCWindows> attach(HWND hWnd, long Operation);

    STDMETHODIMP get_hWndParent(OLE_HANDLE* Value) override;
    STDMETHODIMP get_CmdOperation(DCWndOperations* Value) override;
    STDMETHODIMP get_DCEx(_GDIDCEx** Value) override;
    STDMETHODIMP SetRegion(_GDIRegion** Shape, VARIANT_BOOL* Redraw) override;
    STDMETHODIMP ExportRegion(_GDIRegion** Result) override;
    STDMETHODIMP LockForUpdate() override;
    STDMETHODIMP UnlockAll() override;

private:
    friend com::Object<DCWindows, _DCWindows>;
    DCWindows() = default;
    ~DCWindows() override;

    // Library-internal: opens the context, once per object.
    void Open(HWND hWnd, long Operation);

    HWND hWnd_ = nullptr;
    com::ComPtr<_GDIDCEx> DCEx_;
    long Operation_ = 0;
    // hdc holds the context for every operation; BeginPaint fills the rest.
    PAINTSTRUCT PS_{};
};

}  // namespace kolorit
