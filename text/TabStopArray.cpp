#include "TabStopArray.h"

#include "com/AutomationError.h"

namespace kolorit {

namespace {

bool holdsLongs(SAFEARRAY* array) {
    VARTYPE type = VT_EMPTY;
    return SafeArrayGetDim(array) == 1 && SafeArrayGetElemsize(array) == sizeof(INT) &&
           SUCCEEDED(SafeArrayGetVartype(array, &type)) && (type == VT_I4 || type == VT_INT);
}

int countOf(SAFEARRAY* array) {
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        com::raise(com::RuntimeError::SubscriptOutOfRange);
    return static_cast<int>(static_cast<long long>(upper) - lower + 1);
}

}  // namespace

SAFEARRAY* TabStopArray::checked(SAFEARRAY** Array) {
    if (!Array || !*Array) com::raise(com::RuntimeError::SubscriptOutOfRange);
    com::require(holdsLongs(*Array));
    return *Array;
}

TabStopArray::TabStopArray(SAFEARRAY** Array) : count_(countOf(checked(Array))), access_(*Array) {}

}  // namespace kolorit
