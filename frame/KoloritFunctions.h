#pragma once

#include "KoloritTypes.h"
#include "com/Object.h"

namespace kolorit {

// The application object: the library's one creatable class. A thread gets
// the same instance for as long as somebody holds it.
class KoloritFunctions : public com::Object<KoloritFunctions, _KoloritFunctions> {
public:
    static const CLSID& classId() { return CLSID_KoloritFunctions; }
    static com::ComPtr<KoloritFunctions> forThisThread();

    ~KoloritFunctions() override;

    STDMETHODIMP GDIAttachDCEx(_GDIDC* DC, _GDIDCEx** Result) override;
    STDMETHODIMP GDIAttachDCWnd(OLE_HANDLE hWnd, DCWndOperations Operation, _DCWindows** Result) override;
    STDMETHODIMP GDIFocusDC(OLE_HANDLE hDC, _DCFocusRect** Result) override;
    STDMETHODIMP get_GDIBatchLimit(long* Value) override;
    STDMETHODIMP put_GDIBatchLimit(long Value) override;
    STDMETHODIMP GDIBatchFlush() override;
    STDMETHODIMP GDIMakeCoords(SAFEARRAY** Coords, SAFEARRAY** Result) override;

private:
    friend com::Object<KoloritFunctions, _KoloritFunctions>;
    KoloritFunctions() = default;

    static thread_local KoloritFunctions* current_;
};

}  // namespace kolorit
