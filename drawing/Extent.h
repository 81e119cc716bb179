#pragma once

#include "com/AutomationError.h"

#include <climits>

namespace kolorit {

// To - From as the platform's int: the width or height of two corners. A
// distance beyond its range is a bad argument, not a wrapped-around size.
inline int Extent(long From, long To) {
    const long long extent = static_cast<long long>(To) - From;
    com::require(extent >= INT_MIN && extent <= INT_MAX);
    return static_cast<int>(extent);
}

}  // namespace kolorit
