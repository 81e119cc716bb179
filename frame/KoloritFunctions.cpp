#include "KoloritFunctions.h"

#include "GDIDCEx.h"
#include "com/Boundary.h"

namespace kolorit {

thread_local KoloritFunctions* KoloritFunctions::current_ = nullptr;

com::ComPtr<KoloritFunctions> KoloritFunctions::forThisThread() {
    if (current_) return com::ComPtr<KoloritFunctions>(current_);
    auto created = create();
    current_ = created.Get();
    return created;
}

KoloritFunctions::~KoloritFunctions() {
    if (current_ == this) current_ = nullptr;
}

STDMETHODIMP KoloritFunctions::GDIAttachDCEx(_GDIDC* DC, _GDIDCEx** Result) {
    return com::guarded(Result, [&] { return GDIDCEx::attach(DC); });
}

}  // namespace kolorit
