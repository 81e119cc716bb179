#include "DCClipping.h"

#include "com/Boundary.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

namespace kolorit {

using com::ComPtr;

// Nothing removes the clipping region.
STDMETHODIMP DCClipping::SetRegion(_GDIRegion* Shape) {
    return com::guarded([&] {
        const HRGN region = Shape ? RegionHandle(Shape) : nullptr;
        if (gdi::SelectClipRgn(hDC_, region) == ERROR)
            RaiseVBDLLError(L"DCClipping.SetRegion()", L"Could not set clipped region!");
    });
}

// A copy the caller owns, or Nothing when the device context clips nothing.
// The region object made for the copy is dropped on every other path.
STDMETHODIMP DCClipping::ExportRegion(_GDIRegion** Result) {
    return com::guarded(Result, [&] {
        ComPtr<_GDIRegion> exported = CreateRegionObject();
        com::passThrough(exported->CreateRect(0, 0, 0, 0));
        const HRGN copy = RegionHandle(exported.Get());
        switch (gdi::GetClipRgn(hDC_, copy)) {
        case 1:
            return exported;
        case 0:
            com::passThrough(exported->Delete());
            return ComPtr<_GDIRegion>();
        default: {
            // The error reports the failed copy, not what the clean-up left.
            const long failure = static_cast<long>(GetLastDLLError());
            com::passThrough(exported->Delete());
            RaiseVBDLLError(L"DCClipping.ExportRegion()", L"Could not get clipping region!", failure);
        }
        }
    });
}

STDMETHODIMP DCClipping::IncludeRect(long X1, long Y1, long X2, long Y2) {
    return com::guarded([&] {
        if (gdi::IntersectClipRect(hDC_, X1, Y1, X2, Y2) == ERROR)
            RaiseVBDLLError(L"DCClipping.IncludeRect()", L"Could not include rect in clipping region!");
    });
}

STDMETHODIMP DCClipping::ExcludeRect(long X1, long Y1, long X2, long Y2) {
    return com::guarded([&] {
        if (gdi::ExcludeClipRect(hDC_, X1, Y1, X2, Y2) == ERROR)
            RaiseVBDLLError(L"DCClipping.ExcludeRect()", L"Could not exclude rect from clipping region!");
    });
}

STDMETHODIMP DCClipping::ImportRgn(_GDIRegion* ImportRgn, RgnCombineModes CombineMethod) {
    return com::guarded([&] {
        const HRGN region = RegionHandle(ImportRgn);
        if (gdi::ExtSelectClipRgn(hDC_, region, CombineMethod) == ERROR)
            RaiseVBDLLError(L"DCClipping.ImportRgn()", L"Could not add region to clipped region!");
    });
}

// An empty clipping area is a result, not a failure.
RECT DCClipping::Region_ClipRect() const {
    RECT box{};
    if (gdi::GetClipBox(hDC_, &box) == ERROR)
        RaiseVBDLLError(L"DCClipping.<Region_ClipRect()>", L"Could not get clipping box!");
    return box;
}

STDMETHODIMP DCClipping::get_LeftEdge(long* Value) {
    return com::guarded(Value, [&] { return Region_ClipRect().left; });
}

STDMETHODIMP DCClipping::get_TopEdge(long* Value) {
    return com::guarded(Value, [&] { return Region_ClipRect().top; });
}

STDMETHODIMP DCClipping::get_RightEdge(long* Value) {
    return com::guarded(Value, [&] { return Region_ClipRect().right; });
}

STDMETHODIMP DCClipping::get_BottomEdge(long* Value) {
    return com::guarded(Value, [&] { return Region_ClipRect().bottom; });
}

// The platform's error value counts as visible, as any non-zero answer does.
STDMETHODIMP DCClipping::PointInClipRgn(long X, long Y, VARIANT_BOOL* Result) {
    return com::guarded(Result, [&] {
        return static_cast<short>(gdi::PtVisible(hDC_, X, Y) != 0 ? VARIANT_TRUE : VARIANT_FALSE);
    });
}

}  // namespace kolorit
