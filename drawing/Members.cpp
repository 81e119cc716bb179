#include "Members.h"

#include <climits>

namespace kolorit {

using com::ComPtr;

HBRUSH BrushHandle(IUnknown* CustomBrush) {
    ComPtr<_GDIBrush> brush;
    com::require(CustomBrush && SUCCEEDED(CustomBrush->QueryInterface(IID_PPV_ARGS(&brush))));
    OLE_HANDLE handle = 0;
    com::passThrough(brush->get_hBrush(&handle));
    return handleFrom<HBRUSH>(static_cast<int>(handle));
}

HRGN RegionHandle(IUnknown* Shape) {
    ComPtr<_GDIRegion> region;
    com::require(Shape && SUCCEEDED(Shape->QueryInterface(IID_PPV_ARGS(&region))));
    OLE_HANDLE handle = 0;
    com::passThrough(region->get_hRgn(&handle));
    return handleFrom<HRGN>(static_cast<int>(handle));
}

int Extent(long From, long To) {
    const long long extent = static_cast<long long>(To) - From;
    com::require(extent >= INT_MIN && extent <= INT_MAX);
    return static_cast<int>(extent);
}

void RaiseRuntimeError(long Number, const std::wstring& Description) {
    try {
        com::raise(com::RuntimeError::InvalidArgument);
    } catch (const com::AutomationError& standard) {
        throw com::AutomationError(Number, standard.source(), Description);
    }
}

}  // namespace kolorit
