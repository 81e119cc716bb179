#pragma once

#include "HeldObject.h"
#include "VellumTypes.h"

namespace vellum {

class GDIFont : public HeldObject<GDIFont, _GDIFont, HFONT> {
public:
    static const CLSID& classId() { return CLSID_GDIFont; }

    STDMETHODIMP get_hFont(OLE_HANDLE* Value) override;

private:
    friend com::Object<GDIFont, _GDIFont>;
    GDIFont(HFONT font, bool owned) : HeldObject(font, owned) {}
};

}  // namespace vellum
