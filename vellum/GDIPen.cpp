#include "GDIPen.h"

#include "com/Boundary.h"

namespace vellum {

STDMETHODIMP GDIPen::get_hPen(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(handle()); });
}

}  // namespace vellum
