#include "DCPath.h"

#include "com/Boundary.h"
#include "com/Module.h"
#include "com/Variant.h"
#include "declarations/GDIDeclarations.h"
#include "frame/Vellum.h"

namespace kolorit {

using com::ComPtr;

namespace {

// DCPATHCOORD, as the type library names it.
constexpr GUID PathCoordGuid = {0x4F584780, 0x918A, 0x4636, {0x8C, 0x46, 0xF3, 0x4C, 0x3D, 0xF1, 0x21, 0xFB}};

}  // namespace

STDMETHODIMP DCPath::Abort() {
    return com::guarded([&] {
        if (!gdi::AbortPath(hDC_)) RaiseVBDLLError(L"DCPath.Abort()", L"AbortPath failed!");
    });
}

STDMETHODIMP DCPath::BeginPath() {
    return com::guarded([&] {
        if (!gdi::BeginPath(hDC_)) RaiseVBDLLError(L"DCPath.BeginPath()", L"BeginPath failed!");
    });
}

STDMETHODIMP DCPath::CloseFigure() {
    return com::guarded([&] {
        if (!gdi::CloseFigure(hDC_)) RaiseVBDLLError(L"DCPath.CloseFigure()", L"CloseFigure failed!");
    });
}

STDMETHODIMP DCPath::EndPath() {
    return com::guarded([&] {
        if (!gdi::EndPath(hDC_)) RaiseVBDLLError(L"DCPath.EndPath()", L"EndPath failed!");
    });
}

STDMETHODIMP DCPath::WidenPath() {
    return com::guarded([&] {
        if (!gdi::WidenPath(hDC_)) RaiseVBDLLError(L"DCPath.WidenPath()", L"WidenPath failed!");
    });
}

// Negative styles are as unknown as those above 3; an unknown one reaches
// the platform in no way.
STDMETHODIMP DCPath::DrawPath(DCPathDrawStyles DrawStyle) {
    return com::guarded([&] {
        switch (static_cast<unsigned long>(DrawStyle)) {
        case dcPathDrawFlattern:
            if (!gdi::FlattenPath(hDC_)) RaiseVBDLLError(L"DCPath.DrawPath()", L"FlatternPath failed!");
            break;
        case dcPathDrawStroked:
            if (!gdi::StrokePath(hDC_)) RaiseVBDLLError(L"DCPath.DrawPath()", L"StrokePath failed!");
            break;
        case dcPathDrawFilled:
            if (!gdi::FillPath(hDC_)) RaiseVBDLLError(L"DCPath.DrawPath()", L"FillPath failed!");
            break;
        case dcPathDrawStrokeAndFilled:
            if (!gdi::StrokeAndFillPath(hDC_)) RaiseVBDLLError(L"DCPath.DrawPath()", L"StrokeAndFillPath failed!");
            break;
        default:
            com::raise(com::RuntimeError::InvalidArgument, L"You didn't enter a valid drawing operation constant");
        }
    });
}

// The platform keeps the limit in single precision.
STDMETHODIMP DCPath::get_MiterLimit(double* Value) {
    return com::guarded(Value, [&] {
        FLOAT limit = 0;
        if (!gdi::GetMiterLimit(hDC_, &limit)) RaiseVBDLLError(L"DCPath.MiterLimit [get]", L"GetMiterLimit failed!");
        return static_cast<double>(limit);
    });
}

STDMETHODIMP DCPath::put_MiterLimit(double Value) {
    return com::guarded([&] {
        if (!gdi::SetMiterLimit(hDC_, static_cast<FLOAT>(Value), nullptr))
            RaiseVBDLLError(L"DCPath.MiterLimit [let]", L"SetMiterLimit failed!");
    });
}

DCPath::PathPoints DCPath::pathPoints(const wchar_t* source) const {
    const int n = gdi::GetPath(hDC_, nullptr, nullptr, 0);
    if (n <= 0) RaiseVBDLLError(source, L"GetPath failed to get number of coords!");
    PathPoints path{std::vector<POINT>(n), std::vector<BYTE>(n)};
    if (gdi::GetPath(hDC_, path.points.data(), path.types.data(), n) == -1)
        RaiseVBDLLError(source, L"GetPath failed to retreive coords!");
    return path;
}

// Records counted from 1, as the point numbers of the path.
STDMETHODIMP DCPath::GetCoords(SAFEARRAY** Result) {
    return com::guarded(Result, [&] {
        const PathPoints path = pathPoints(L"DCPath.GetCoords()");
        ComPtr<IRecordInfo> record;
        com::passThrough(GetRecordInfoFromTypeInfo(com::typeInfoOf(PathCoordGuid).Get(), &record));
        SAFEARRAYBOUND bounds{static_cast<ULONG>(path.points.size()), 1};
        com::SafeArray coords(SafeArrayCreateEx(VT_RECORD, 1, &bounds, record.Get()));
        if (!coords.get()) throw std::bad_alloc();
        {
            com::ArrayAccess access(coords.get());
            DCPATHCOORD* out = access.data<DCPATHCOORD>();
            for (size_t i = 0; i < path.points.size(); ++i)
                out[i] = DCPATHCOORD{path.points[i].x, path.points[i].y,
                                     static_cast<DCPathCoordTypeFlags>(path.types[i])};
        }
        return coords.release();
    });
}

// The new region object owns the region from the moment it holds it.
STDMETHODIMP DCPath::GetRegion(_GDIRegion** Result) {
    return com::guarded(Result, [&] {
        GdiObject<HRGN> region(gdi::PathToRegion(hDC_));
        if (!region) RaiseVBDLLError(L"DCPath.GetRegion()", L"PathToRegion failed to create region!");
        const ComPtr<_GDIRegion> shape = CreateRegionObject();
        com::passThrough(shape->AttachRgn(handleValue(region.get())));
        region.release();
        return shape;
    });
}

// X, Y and type of each point in a row, from index 0: what a script can hold.
STDMETHODIMP DCPath::GetCoordList(SAFEARRAY** Result) {
    return com::guarded(Result, [&] {
        const PathPoints path = pathPoints(L"DCPath.GetCoordList()");
        com::SafeArray list(SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(path.points.size() * 3)));
        if (!list.get()) throw std::bad_alloc();
        {
            com::ArrayAccess access(list.get());
            VARIANT* out = access.data<VARIANT>();
            for (size_t i = 0; i < path.points.size(); ++i) {
                const long values[] = {path.points[i].x, path.points[i].y, path.types[i]};
                for (long value : values) {
                    V_VT(out) = VT_I4;
                    V_I4(out) = value;
                    ++out;
                }
            }
        }
        return list.release();
    });
}

}  // namespace kolorit
