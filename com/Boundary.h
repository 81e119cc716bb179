#pragma once
// The boundary between a member's C++ body and its COM caller. Every
// interface method is one call to `guarded`: exceptions become the failure
// code plus error information, results go to the out parameter.

#include "AutomationError.h"
#include "Ptr.h"

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <type_traits>
#include <utility>

namespace com {

// Publishes the error's source and description for the calling thread and
// returns the failure code the method hands back.
HRESULT report(const AutomationError& error) noexcept;

// Rethrows the failure of a call into another automation object (a Vellum
// surface, say) with its number, source and description unchanged.
void passThrough(HRESULT hr);

// Moves a member's result into the caller's out parameter.
inline void deliver(long* out, long value) { *out = value; }
inline void deliver(unsigned long* out, unsigned long value) { *out = value; }
inline void deliver(unsigned int* out, unsigned int value) { *out = value; }
inline void deliver(short* out, short value) { *out = value; }
inline void deliver(float* out, float value) { *out = value; }
inline void deliver(double* out, double value) { *out = value; }
void deliver(BSTR* out, const std::wstring& value);
// Enumeration results travel as the 32-bit values they are.
template <class Enum>
    requires std::is_enum_v<Enum>
void deliver(Enum* out, long value) {
    static_assert(sizeof(Enum) == sizeof(long));
    *out = static_cast<Enum>(value);
}
inline void deliver(VARIANT* out, VARIANT value) { *out = value; }
inline void deliver(SAFEARRAY** out, SAFEARRAY* value) { *out = value; }
template <class T, class U>
void deliver(T** out, ComPtr<U> value) {
    ComPtr<T> typed;
    if (value) value.As(&typed);
    *out = typed.Detach();
}

template <class Body>
HRESULT guarded(Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const AutomationError& error) {
        return report(error);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// For members with a result: a null out pointer is refused, otherwise the
// body's value is delivered only when the body succeeds.
template <class Out, class Body>
HRESULT guarded(Out* out, Body&& body) noexcept {
    if (!out) return E_POINTER;
    return guarded([&] { deliver(out, body()); });
}

}  // namespace com
