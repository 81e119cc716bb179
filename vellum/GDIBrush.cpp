#include "GDIBrush.h"

#include "com/Boundary.h"

namespace vellum {

STDMETHODIMP GDIBrush::get_hBrush(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return static_cast<OLE_HANDLE>(kolorit::handleValue(handle())); });
}

}  // namespace vellum
