#include "Coords.h"

#include "com/Boundary.h"
#include "com/Invoker.h"

namespace kolorit {

using com::ComPtr;

namespace {

// Two 32-bit integers and nothing else: the layout of COORD, whichever
// description of it (the type library's alias or its record) the array was
// made with.
bool holdsCoords(SAFEARRAY* array) {
    ComPtr<IRecordInfo> record;
    return SafeArrayGetDim(array) == 1 && SafeArrayGetElemsize(array) == sizeof(POINT) &&
           SUCCEEDED(SafeArrayGetRecordInfo(array, &record)) && record && com::longFieldsOf(record.Get()) == 2;
}

}  // namespace

SAFEARRAY* CoordArray::checked(SAFEARRAY** Coords) {
    if (!Coords || !*Coords) com::raise(com::RuntimeError::SubscriptOutOfRange);
    com::require(holdsCoords(*Coords));
    return *Coords;
}

CoordArray::CoordArray(SAFEARRAY** Coords)
    : array_(checked(Coords)), count_(com::elementCount(array_)), access_(array_) {}

const POINT& CoordArray::first() const {
    if (count_ < 1) com::raise(com::RuntimeError::SubscriptOutOfRange);
    return points()[0];
}

const POINT& CoordArray::last() const {
    if (count_ < 1) com::raise(com::RuntimeError::SubscriptOutOfRange);
    return points()[count_ - 1];
}

}  // namespace kolorit
