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

GdiObject<HBRUSH> SolidBrush(COLORREF colour, const wchar_t* source) {
    const LOGBRUSH description{BS_SOLID, colour, 0};
    GdiObject<HBRUSH> brush(gdi::CreateBrushIndirect(&description));
    if (!brush) RaiseVBDLLError(source, L"CreateBrushIndirect failed!");
    return brush;
}

}  // namespace kolorit
