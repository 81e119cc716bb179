#include "GDIFont.h"

#include "com/Boundary.h"

namespace vellum {

STDMETHODIMP GDIFont::get_hFont(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return static_cast<OLE_HANDLE>(kolorit::handleValue(handle())); });
}

}  // namespace vellum
