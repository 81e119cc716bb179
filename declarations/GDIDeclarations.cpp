#include "GDIDeclarations.h"

namespace kolorit {

BITMAP GetStructBitap(HBITMAP hBitmap) {
    BITMAP record{};
    if (gdi::GetObjectA(hBitmap, sizeof record, &record) == 0)
        RaiseVBDLLError(L"GetStructBitap()", L"Failed to get bitmap information");
    return record;
}

BITMAP SelectedBitmap(HDC hDC) { return GetStructBitap(static_cast<HBITMAP>(gdi::GetCurrentObject(hDC, OBJ_BITMAP))); }

}  // namespace kolorit
