#include "Members.h"

#include <climits>

namespace kolorit {

int Extent(long From, long To) {
    const long long extent = static_cast<long long>(To) - From;
    com::require(extent >= INT_MIN && extent <= INT_MAX);
    return static_cast<int>(extent);
}

}  // namespace kolorit
