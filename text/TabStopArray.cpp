#include "TabStopArray.h"

#include "com/AutomationError.h"

namespace kolorit {

namespace {

bool holdsLongs(SAFEARRAY* array) {
    VARTYPE type = VT_EMPTY;
    return SafeArrayGetDim(array) == 1 && SafeArrayGetElemsize(array) == sizeof(INT) &&
           SUCCEEDED(SafeArrayGetVartype(array, &type)) && (type == VT_I4 || type == VT_INT);
}

}  // namespace

SAFEARRAY* TabStopArray::checked(SAFEARRAY** Array) {
    if (!Array || !*Array) com::raise(com::RuntimeError::SubscriptOutOfRange);
    com::require(holdsLongs(*Array));
    return *Array;
}

TabStopArray::TabStopArray(SAFEARRAY** Array) : count_(com::elementCount(checked(Array))), access_(*Array) {}

}  // namespace kolorit
