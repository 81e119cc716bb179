#include "KoloritFunctions.h"

#include "DCWindows.h"
#include "GDIDCEx.h"
#include "Vellum.h"
#include "com/Boundary.h"
#include "com/Variant.h"
#include "declarations/GDIDeclarations.h"
#include "text/DCFocusRect.h"

#include <algorithm>
#include <vector>

namespace kolorit {

thread_local KoloritFunctions* KoloritFunctions::current_ = nullptr;

com::ComPtr<KoloritFunctions> KoloritFunctions::forThisThread() {
    if (current_) return com::ComPtr<KoloritFunctions>(current_);
    auto created = create();
    current_ = created.Get();
    return created;
}

KoloritFunctions::~KoloritFunctions() {
    if (current_ == this) current_ = nullptr;
}

STDMETHODIMP KoloritFunctions::GDIAttachDCEx(_GDIDC* DC, _GDIDCEx** Result) {
    return com::guarded(Result, [&] { return GDIDCEx::attach(DC); });
}

STDMETHODIMP KoloritFunctions::GDIAttachDCWnd(OLE_HANDLE hWnd, DCWndOperations Operation, _DCWindows** Result) {
    return com::guarded(Result, [&] { return DCWindows::attach(handleFrom<HWND>(hWnd), Operation); });
}

// Any of the four kinds of device context, a surface's memory one included;
// anything else makes no object.
STDMETHODIMP KoloritFunctions::GDIFocusDC(OLE_HANDLE hDC, _DCFocusRect** Result) {
    return com::guarded(Result, [&] {
        const HDC destination = handleFrom<HDC>(hDC);
        com::require(IsDeviceContext(destination));
        auto focus = DCFocusRect::create();
        focus->AttachDestDC(destination);
        return focus;
    });
}

// --- The thread's GDI batch ---------------------------------------------------

STDMETHODIMP KoloritFunctions::get_GDIBatchLimit(long* Value) {
    return com::guarded(Value, [&] {
        const DWORD limit = gdi::GdiGetBatchLimit();
        if (!limit) RaiseVBDLLError(L"GDIBatchLimit [get]", L"BatchLimit failed!");
        return static_cast<long>(limit);
    });
}

// The previous limit the platform answers with is of no use to the client.
STDMETHODIMP KoloritFunctions::put_GDIBatchLimit(long Value) {
    return com::guarded([&] {
        if (!gdi::GdiSetBatchLimit(static_cast<DWORD>(Value))) RaiseVBDLLError(L"GDIBatchLimit [let]", L"BatchLimit failed!");
    });
}

STDMETHODIMP KoloritFunctions::GDIBatchFlush() {
    return com::guarded([&] {
        if (!gdi::GdiFlush())
            RaiseVBDLLError(L"GDIBatchFlush()",
                            L"At least one function failed when ExecuteBatch executed the drawing batch queue!");
    });
}

// --- Coordinate arrays --------------------------------------------------------

namespace {

// One element as a coordinate: rounded half to even, like every automation
// conversion; what does not convert is the run-time error a script shows.
long coordinateOf(SAFEARRAY* list, LONG index) {
    com::Variant item, number;
    if (FAILED(SafeArrayGetElement(list, &index, item.get()))) com::raise(com::RuntimeError::SubscriptOutOfRange);
    const HRESULT converted = VariantChangeType(number.get(), item.get(), 0, VT_I4);
    if (converted == DISP_E_OVERFLOW) com::raise(com::RuntimeError::Overflow);
    if (converted == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(converted)) com::raise(com::RuntimeError::TypeMismatch);
    return V_I4(number.get());
}

}  // namespace

// The list is read from index 0 in pairs, so it must start at 0 (run-time
// error 9 otherwise, as for a list that was never dimensioned) and end on
// an odd index; an empty list gives an empty array.
STDMETHODIMP KoloritFunctions::GDIMakeCoords(SAFEARRAY** Coords, SAFEARRAY** Result) {
    return com::guarded(Result, [&] {
        SAFEARRAY* list = Coords ? *Coords : nullptr;
        LONG lower = 0, upper = -1;
        if (!list || SafeArrayGetDim(list) != 1 || FAILED(SafeArrayGetLBound(list, 1, &lower)) ||
            FAILED(SafeArrayGetUBound(list, 1, &upper)) || lower != 0)
            com::raise(com::RuntimeError::SubscriptOutOfRange);
        VARTYPE type = VT_EMPTY;
        if (FAILED(SafeArrayGetVartype(list, &type)) || type != VT_VARIANT) com::raise(com::RuntimeError::TypeMismatch);
        if (upper % 2 == 0) com::raise(com::RuntimeError::WrongArguments);

        const ULONG count = (static_cast<ULONG>(upper) + 1) / 2;
        com::SafeArray points(SafeArrayCreateVectorEx(VT_RECORD, 0, count, CoordRecord().Get()));
        if (!points.get()) throw std::bad_alloc();
        std::vector<POINT> converted(count);
        for (ULONG i = 0; i < count; ++i)
            converted[i] = POINT{coordinateOf(list, static_cast<LONG>(2 * i)), coordinateOf(list, static_cast<LONG>(2 * i + 1))};
        {
            com::ArrayAccess access(points.get());
            std::copy(converted.begin(), converted.end(), access.data<POINT>());
        }
        return points.release();
    });
}

}  // namespace kolorit
