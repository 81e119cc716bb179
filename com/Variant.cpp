#include "Variant.h"

#include <new>
#include <stdexcept>

namespace com {

void Variant::check(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw std::runtime_error("VariantCopy failed");
}

ArrayAccess::ArrayAccess(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) throw std::runtime_error("SafeArrayAccessData failed");
}

}  // namespace com
