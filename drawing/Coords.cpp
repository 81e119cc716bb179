#include "Coords.h"

#include "com/Boundary.h"

#include <functional>
#include <memory>

namespace kolorit {

using com::ComPtr;

namespace {

// Vellum's COORD, as its type library names it.
constexpr GUID CoordGuid = {0x3744EF86, 0x882F, 0x454B, {0x96, 0xF8, 0x08, 0xC7, 0xBC, 0x43, 0x34, 0x97}};

ComPtr<ITypeLib> vellumLibrary() {
    ComPtr<ITypeLib> library;
    if (FAILED(LoadRegTypeLib(LIBID_Vellum, 1, 0, 0, &library)))
        com::passThrough(LoadTypeLib(L"vellum.dll", &library));
    return library;
}

// Two 32-bit integers and nothing else: the layout of COORD, whichever
// description of it (the type library's alias or its record) the array was
// made with.
bool isPointRecord(IRecordInfo* record) {
    ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    if (FAILED(record->GetTypeInfo(&info)) || FAILED(info->GetTypeAttr(&attr))) return false;
    const std::unique_ptr<TYPEATTR, std::function<void(TYPEATTR*)>> held(
        attr, [&](TYPEATTR* a) { info->ReleaseTypeAttr(a); });
    if (attr->typekind != TKIND_RECORD || attr->cVars != 2 || attr->cbSizeInstance != sizeof(POINT)) return false;
    for (UINT i = 0; i < attr->cVars; ++i) {
        VARDESC* field = nullptr;
        if (FAILED(info->GetVarDesc(i, &field))) return false;
        const VARTYPE type = field->elemdescVar.tdesc.vt;
        info->ReleaseVarDesc(field);
        if (type != VT_I4) return false;
    }
    return true;
}

bool holdsCoords(SAFEARRAY* array) {
    ComPtr<IRecordInfo> record;
    return SafeArrayGetDim(array) == 1 && SafeArrayGetElemsize(array) == sizeof(POINT) &&
           SUCCEEDED(SafeArrayGetRecordInfo(array, &record)) && record && isPointRecord(record.Get());
}

int countOf(SAFEARRAY* array) {
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper)))
        com::raise(com::RuntimeError::SubscriptOutOfRange);
    return static_cast<int>(static_cast<long long>(upper) - lower + 1);
}

}  // namespace

ComPtr<IRecordInfo> CoordRecord() {
    ComPtr<ITypeInfo> info;
    com::passThrough(vellumLibrary()->GetTypeInfoOfGuid(CoordGuid, &info));
    ComPtr<IRecordInfo> record;
    com::passThrough(GetRecordInfoFromTypeInfo(info.Get(), &record));
    return record;
}

SAFEARRAY* CoordArray::checked(SAFEARRAY** Coords) {
    if (!Coords || !*Coords) com::raise(com::RuntimeError::SubscriptOutOfRange);
    com::require(holdsCoords(*Coords));
    return *Coords;
}

CoordArray::CoordArray(SAFEARRAY** Coords)
    : array_(checked(Coords)), count_(countOf(array_)), access_(array_) {}

const POINT& CoordArray::first() const {
    if (count_ < 1) com::raise(com::RuntimeError::SubscriptOutOfRange);
    return points()[0];
}

const POINT& CoordArray::last() const {
    if (count_ < 1) com::raise(com::RuntimeError::SubscriptOutOfRange);
    return points()[count_ - 1];
}

}  // namespace kolorit
