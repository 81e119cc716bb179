#include "GDIBrush.h"

#include "com/Boundary.h"

namespace vellum {

STDMETHODIMP GDIBrush::get_hBrush(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(handle()); });
}

}  // namespace vellum
