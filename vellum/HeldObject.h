#pragma once
// The common shape of Vellum's pen, brush and font objects: a GDI handle that
// the object either owns (it made it) or only shows (it was already selected
// into a device context somebody else made).

#include "declarations/Handles.h"
#include "com/Object.h"

namespace vellum {

template <class Derived, class Interface, class Handle>
class HeldObject : public com::Object<Derived, Interface> {
public:
    Handle handle() const noexcept { return handle_; }

protected:
    HeldObject(Handle handle, bool owned) : handle_(handle) {
        if (owned) owned_.reset(handle);
    }

private:
    Handle handle_;
    kolorit::GdiObject<Handle> owned_;
};

}  // namespace vellum
