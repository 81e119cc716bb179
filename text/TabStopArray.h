#pragma once

#include "com/Variant.h"

namespace kolorit {

// A TabStops array as the platform's tabbed text calls read it: the count of
// its first dimension and its elements from the lower bound on, locked for
// one scope. The array is not changed.
class TabStopArray {
public:
    // An array that was never dimensioned: run-time error 9. Anything but a
    // one-dimensional array of Long: run-time error 5.
    explicit TabStopArray(SAFEARRAY** Array);

    int count() const noexcept { return count_; }
    const INT* positions() const noexcept { return access_.data<INT>(); }

private:
    static SAFEARRAY* checked(SAFEARRAY** Array);

    int count_;
    com::ArrayAccess access_;
};

}  // namespace kolorit
