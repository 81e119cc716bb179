#pragma once
// The arguments of one call: mostly values that fit the declared type (so
// that calls get past the first check), often hostile ones: empty, null,
// Nothing, missing, too many, wrong types and objects, limits of the type,
// NaN and infinities, strings with embedded nulls and characters outside the
// ANSI code page, arrays of every odd shape, and all of them by reference.

#include "Catalog.h"
#include "Objects.h"
#include "Random.h"

#include <deque>
#include <string>
#include <vector>

namespace fuzz {

struct Call {
    const Member* member = nullptr;
    IDispatch* target = nullptr;  // not counted: the pool owns it, and a sink may drop it
    WORD flags = DISPATCH_METHOD;
    DISPID id = 0;
    std::vector<Variant> positional;  // in parameter order
    std::vector<DISPID> namedIds;     // of the last arguments
    std::deque<Variant> referenced;   // what by-reference arguments point at
    bool withException = true;        // some hosts pass no EXCEPINFO
    bool withResult = true;

    // The member, target and arguments, so that a failure can be told apart.
    std::wstring describe(const std::wstring& targetLabel) const;
};

class Arguments {
public:
    Arguments(Random& random, Objects& objects) : random_(random), objects_(objects) {}

    void fill(Call& call);

private:
    Variant fitting(const Parameter& parameter);
    Variant hostile();
    Variant anyLong(const std::wstring& name);
    Variant anyArray();
    Variant numbers(VARTYPE element, LONG lower, ULONG count, bool extreme);

    Random& random_;
    Objects& objects_;
    bool tame_ = false;  // the call reaches platform drawing that Wine cannot bound
};

// Wine's own GDI hangs, asserts or corrupts its heap on shapes, pens, fonts
// and mappings far beyond the device (about 10^6 units), where Windows
// refuses them. Members that hand such values to the platform get numbers
// within +-10000 (NaN, which Wine converts to 2147483647, becomes 0); every
// other member gets the whole range.
bool reachesFragilePlatformDrawing(const Member& member);
void tame(VARIANT& value);

}  // namespace fuzz
