#include "DCPosition.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"

namespace kolorit {

POINT DCPosition::current(const wchar_t* source) const {
    POINT position{};
    if (!gdi::GetCurrentPositionEx(hDC_, &position)) RaiseVBDLLError(source, L"GetCurrentPositionEx failed!");
    return position;
}

STDMETHODIMP DCPosition::Move(long X, long Y) {
    return com::guarded([&] {
        if (!gdi::MoveToEx(hDC_, X, Y, nullptr)) RaiseVBDLLError(L"DCPosition.Move()", L"MoveToEx failed!");
    });
}

STDMETHODIMP DCPosition::get_X(long* Value) {
    return com::guarded(Value, [&] { return current(L"DCPosition.X [get]").x; });
}

STDMETHODIMP DCPosition::get_Y(long* Value) {
    return com::guarded(Value, [&] { return current(L"DCPosition.Y [get]").y; });
}

// Each coordinate is written by a move that keeps the other one; their
// errors are those of the read and of Move.
STDMETHODIMP DCPosition::put_X(long Value) {
    return com::guarded([&] {
        long y = 0;
        com::passThrough(get_Y(&y));
        com::passThrough(Move(Value, y));
    });
}

STDMETHODIMP DCPosition::put_Y(long Value) {
    return com::guarded([&] {
        long x = 0;
        com::passThrough(get_X(&x));
        com::passThrough(Move(x, Value));
    });
}

}  // namespace kolorit
