#pragma once
// Rectangle sizes as the drawing classes pass them on.

#include "com/Boundary.h"

namespace kolorit {

// X2 - X1 as the platform's int; a distance beyond its range is a bad
// argument rather than a wrapped-around size.
int Extent(long From, long To);

}  // namespace kolorit
