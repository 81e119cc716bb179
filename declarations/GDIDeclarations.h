#pragma once
// The platform calls members make. Each wrapper is named after its call,
// forwards the arguments unchanged and saves the thread's last error right
// after the call, so no member can forget to (the error routine reads it).
// Members write gdi::BitBlt(...) where they would write ::BitBlt(...).

#include "declarations/Handles.h"
#include "frame/DLLErrors.h"

#include <windows.h>

namespace kolorit::gdi {

#define KOLORIT_RECORDED_CALL(name)                     \
    template <class... Args>                            \
    inline auto name(Args... args) {                    \
        const auto result = ::name(args...);            \
        SaveLastDLLError();                             \
        return result;                                  \
    }

// Block transfers and bitmaps
KOLORIT_RECORDED_CALL(BitBlt)
KOLORIT_RECORDED_CALL(StretchBlt)
KOLORIT_RECORDED_CALL(PatBlt)
KOLORIT_RECORDED_CALL(GetObjectA)
KOLORIT_RECORDED_CALL(GetCurrentObject)
KOLORIT_RECORDED_CALL(SelectObject)
KOLORIT_RECORDED_CALL(GetDeviceCaps)

// Objects
KOLORIT_RECORDED_CALL(CreateCompatibleDC)
KOLORIT_RECORDED_CALL(CreateBitmap)
KOLORIT_RECORDED_CALL(CreateDIBSection)
KOLORIT_RECORDED_CALL(CreatePen)
KOLORIT_RECORDED_CALL(CreateBrushIndirect)
KOLORIT_RECORDED_CALL(CreateFontW)

// Regions
KOLORIT_RECORDED_CALL(CreateRectRgn)
KOLORIT_RECORDED_CALL(CreateEllipticRgn)
KOLORIT_RECORDED_CALL(CreateRoundRectRgn)
KOLORIT_RECORDED_CALL(CombineRgn)

// Batch control
KOLORIT_RECORDED_CALL(GdiGetBatchLimit)
KOLORIT_RECORDED_CALL(GdiSetBatchLimit)
KOLORIT_RECORDED_CALL(GdiFlush)

// Shapes, pixels, clipping, coordinates and paths (drawing/)

// Effects (effects/)

#undef KOLORIT_RECORDED_CALL

}  // namespace kolorit::gdi

namespace kolorit {

// The bitmap description of a bitmap handle; most callers pass
// GetCurrentObject(hDC, OBJ_BITMAP).
BITMAP GetStructBitap(HBITMAP hBitmap);

}  // namespace kolorit
