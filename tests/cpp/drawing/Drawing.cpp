#include "Drawing.h"

namespace test {

Canvas::Canvas() : surface(test::surface(64, 64)), hub(attach(surface.Get())), dc(dcOf(surface.Get())) {
    fill(surface.Get(), White);
}

void Canvas::pen(COLORREF color, long width) {
    ComPtr<_GDIPen> made;
    EXPECT_EQ(vellum()->CreatePenObject(color, 0, width, &made), S_OK);
    EXPECT_EQ(surface->putref_SelPen(made.Get()), S_OK);
}

ComPtr<_GDIBrush> Canvas::makeBrush(COLORREF color) {
    ComPtr<_GDIBrush> made;
    EXPECT_EQ(vellum()->CreateBrushObject(color, 0, 0, &made), S_OK);
    return made;
}

POINT Canvas::penPosition() {
    POINT position{};
    GetCurrentPositionEx(dc, &position);
    return position;
}

com::SafeArray coords(std::initializer_list<POINT> points, LONG lowerBound) {
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

ComPtr<_GDIRegion> emptyRegionObject() {
    ComPtr<_GDIRegion> region;
    EXPECT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    return region;
}

ComPtr<_GDIRegion> rectRegion(long x1, long y1, long x2, long y2) {
    ComPtr<_GDIRegion> region = emptyRegionObject();
    EXPECT_EQ(region->CreateRect(x1, y1, x2, y2), S_OK);
    return region;
}

RECT boxOf(_GDIRegion* region) {
    OLE_HANDLE handle = 0;
    RECT box{};
    EXPECT_EQ(region->get_hRgn(&handle), S_OK);
    GetRgnBox(reinterpret_cast<HRGN>(static_cast<LONG_PTR>(static_cast<int>(handle))), &box);
    return box;
}

void expectLibraryError(const Raised& raised, const wchar_t* source, const wchar_t* description) {
    const std::wstring start = std::wstring(description) + L"; ", end = std::wstring(L"\r\nError source: ") + source;
    const std::wstring& text = raised.description;
    EXPECT_GE(raised.number, 10000) << narrow(source);
    EXPECT_EQ(narrow(raised.source), narrow(source));
    EXPECT_EQ(narrow(text.substr(0, start.size())), narrow(start));
    EXPECT_TRUE(text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0) << narrow(text);
}

void expectRuntimeError(const Raised& raised, long number) {
    EXPECT_EQ(raised.number, number) << narrow(raised.source) << ": " << narrow(raised.description);
    EXPECT_EQ(raised.description.find(L"Error source:"), std::wstring::npos);
}

}  // namespace test
