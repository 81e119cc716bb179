#pragma once
// What the drawing tests share: COORD arrays as typed clients build them.

#include "Support.h"

#include <initializer_list>

namespace test {

// A COORD array, made with the type library's description of COORD.
inline com::SafeArray coords(std::initializer_list<POINT> points, LONG lowerBound = 0) {
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> info;
    ComPtr<IRecordInfo> record;
    MEMBERID id = 0;
    USHORT found = 1;
    EXPECT_EQ(LoadRegTypeLib(LIBID_Vellum, 1, 0, 0, &library), S_OK);
    EXPECT_EQ(library->FindName(const_cast<LPOLESTR>(L"COORD"), 0, &info, &id, &found), S_OK);
    EXPECT_EQ(GetRecordInfoFromTypeInfo(info.Get(), &record), S_OK);
    SAFEARRAYBOUND bounds{static_cast<ULONG>(points.size()), lowerBound};
    com::SafeArray array(SafeArrayCreateEx(VT_RECORD, 1, &bounds, record.Get()));
    if (points.size()) std::copy(points.begin(), points.end(), com::ArrayAccess(array.get()).data<POINT>());
    return array;
}

// The polygon members on a COORD array that lives for the call.
inline HRESULT polygon(_DCDrawing* drawing, VARIANT_BOOL fill, std::initializer_list<POINT> points, LONG lowerBound = 0) {
    com::SafeArray array = coords(points, lowerBound);
    SAFEARRAY* held = array.get();
    return drawing->DrawPolygon(fill, &held);
}

}  // namespace test
