#include "Variant.h"

#include "AutomationError.h"

#include <climits>
#include <new>
#include <stdexcept>

namespace com {

void Variant::check(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) throw std::runtime_error("VariantCopy failed");
}

HRESULT convertScalar(VARIANT& out, const VARIANT& given, VARTYPE type) noexcept {
    // The conversions scripts make on nearly every call are done here; they
    // give what VariantChangeType gives.
    const VARTYPE from = V_VT(&given);
    const bool integer = from == VT_I4 || from == VT_I2;
    const LONG number = from == VT_I4 ? V_I4(&given) : from == VT_I2 ? V_I2(&given) : 0;
    switch (type) {
    case VT_I4:
        if (!integer) break;
        V_I4(&out) = number;
        V_VT(&out) = type;
        return S_OK;
    case VT_UI4:
        if (from == VT_UI4) {
            V_UI4(&out) = V_UI4(&given);
        } else if (integer) {
            V_UI4(&out) = static_cast<ULONG>(number);
        } else {
            break;
        }
        V_VT(&out) = type;
        return S_OK;
    case VT_I2:
        if (!integer) break;
        if (number < SHRT_MIN || number > SHRT_MAX) return DISP_E_OVERFLOW;
        V_I2(&out) = static_cast<SHORT>(number);
        V_VT(&out) = type;
        return S_OK;
    case VT_BOOL:
        if (from == VT_BOOL) {
            V_BOOL(&out) = V_BOOL(&given);
        } else if (integer) {
            V_BOOL(&out) = number ? VARIANT_TRUE : VARIANT_FALSE;
        } else {
            break;
        }
        V_VT(&out) = type;
        return S_OK;
    case VT_R8:
        if (from == VT_R8) {
            V_R8(&out) = V_R8(&given);
        } else if (integer) {
            V_R8(&out) = number;
        } else {
            break;
        }
        V_VT(&out) = type;
        return S_OK;
    default:
        break;
    }
    return VariantChangeType(&out, const_cast<VARIANT*>(&given), 0, type);
}

ArrayAccess::ArrayAccess(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) throw std::runtime_error("SafeArrayAccessData failed");
}

int elementCount(SAFEARRAY* array) {
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        raise(RuntimeError::SubscriptOutOfRange);
    return static_cast<int>(static_cast<long long>(upper) - lower + 1);
}

}  // namespace com
