#include "GDIFont.h"

#include "com/Boundary.h"

namespace vellum {

STDMETHODIMP GDIFont::get_hFont(OLE_HANDLE* Value) {
    return com::guarded(Value, [&] { return kolorit::handleValue(handle()); });
}

}  // namespace vellum
