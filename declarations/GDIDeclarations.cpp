#include "GDIDeclarations.h"

namespace kolorit {

BITMAP GetStructBitap(HBITMAP hBitmap) {
    BITMAP record{};
    if (gdi::GetObjectA(hBitmap, sizeof record, &record) == 0)
        RaiseVBDLLError(L"GetStructBitap()", L"Failed to get bitmap information");
    return record;
}

bool IsDeviceContext(HDC hDC) {
    switch (gdi::GetObjectType(hDC)) {
    case OBJ_DC:
    case OBJ_MEMDC:
    case OBJ_METADC:
    case OBJ_ENHMETADC:
        return true;
    default:
        return false;
    }
}

BITMAP SelectedBitmap(HDC hDC) { return GetStructBitap(static_cast<HBITMAP>(gdi::GetCurrentObject(hDC, OBJ_BITMAP))); }

}  // namespace kolorit
