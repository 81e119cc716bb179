#pragma once
// What the members of the drawing classes share: enumeration results, the
// handles held by Vellum objects, and rectangle sizes.

#include "frame/KoloritTypes.h"
#include "com/Boundary.h"
#include "declarations/Handles.h"

#include <string>
#include <type_traits>

namespace kolorit {

// Enumeration results travel as the 32-bit values they are.
template <class Enum, class Body>
HRESULT guardedEnum(Enum* Value, Body&& body) noexcept {
    static_assert(std::is_enum_v<Enum> && sizeof(Enum) == sizeof(long));
    if (!Value) return E_POINTER;
    return com::guarded([&] { *Value = static_cast<Enum>(body()); });
}

// The brush handle of a Vellum brush object, read anew at each use (0 when it
// holds none). Anything that is not a brush is a bad argument (run-time
// error 5); the object's own errors pass through.
HBRUSH BrushHandle(IUnknown* CustomBrush);

// The region handle of a Vellum region object; as above.
HRGN RegionHandle(IUnknown* Shape);

// X2 - X1 as the platform's int; a distance beyond its range is a bad
// argument rather than a wrapped-around size.
int Extent(long From, long To);

// A standard run-time error that carries a description of its own (and the
// component's usual source for run-time errors).
[[noreturn]] void RaiseRuntimeError(long Number, const std::wstring& Description);

}  // namespace kolorit
