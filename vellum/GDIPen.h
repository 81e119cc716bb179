#pragma once

#include "HeldObject.h"
#include "VellumTypes.h"

namespace vellum {

class GDIPen : public HeldObject<GDIPen, _GDIPen, HPEN> {
public:
    static const CLSID& classId() { return CLSID_GDIPen; }

    STDMETHODIMP get_hPen(OLE_HANDLE* Value) override;

private:
    friend com::Object<GDIPen, _GDIPen>;
    GDIPen(HPEN pen, bool owned) : HeldObject(pen, owned) {}
};

}  // namespace vellum
