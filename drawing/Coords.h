#pragma once
// Arrays of Vellum's COORD point as the polygon members read them.

#include "frame/KoloritTypes.h"
#include "com/Ptr.h"
#include "com/Variant.h"

namespace kolorit {

// The points of a COORD array, from its lower to its upper bound, locked
// for one scope; a COORD has the layout of a platform POINT.
class CoordArray {
public:
    // An array that was never dimensioned: run-time error 9. Anything but a
    // one-dimensional array of COORD: run-time error 5.
    explicit CoordArray(SAFEARRAY** Coords);

    const POINT* points() const noexcept { return access_.data<POINT>(); }
    int count() const noexcept { return count_; }
    // The first and the last point; an empty array has neither (run-time
    // error 9).
    const POINT& first() const;
    const POINT& last() const;

private:
    static SAFEARRAY* checked(SAFEARRAY** Coords);

    SAFEARRAY* array_;
    int count_;
    com::ArrayAccess access_;
};

}  // namespace kolorit
