#pragma once

#include "HeldObject.h"
#include "VellumTypes.h"

namespace vellum {

class GDIBrush : public HeldObject<GDIBrush, _GDIBrush, HBRUSH> {
public:
    static const CLSID& classId() { return CLSID_GDIBrush; }

    STDMETHODIMP get_hBrush(OLE_HANDLE* Value) override;

private:
    friend com::Object<GDIBrush, _GDIBrush>;
    GDIBrush(HBRUSH brush, bool owned) : HeldObject(brush, owned) {}
};

}  // namespace vellum
