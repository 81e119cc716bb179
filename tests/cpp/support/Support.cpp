#include "Support.h"

#include "LiveObjects.h"

#include <algorithm>
#include <cstdio>

namespace test {

namespace {

std::wstring take(BSTR text) {
    std::wstring out = text ? text : L"";
    SysFreeString(text);
    return out;
}

long numberOf(HRESULT hr) {
    return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
}

}  // namespace

ComPtr<_VellumFunctions> vellum() {
    ComPtr<_VellumFunctions> functions;
    EXPECT_EQ(CoCreateInstance(CLSID_VellumFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&functions)), S_OK);
    return functions;
}

ComPtr<_KoloritFunctions> koloritFunctions() {
    ComPtr<_KoloritFunctions> functions;
    EXPECT_EQ(CoCreateInstance(CLSID_KoloritFunctions, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&functions)), S_OK);
    return functions;
}

ComPtr<_GDIDC> surface(long width, long height, bool monochrome) {
    ComPtr<_GDIDC> made;
    EXPECT_EQ(vellum()->CreateGDIDC(width, height, monochrome ? VARIANT_TRUE : VARIANT_FALSE, 0, &made), S_OK);
    return made;
}

ComPtr<_GDIDCEx> attach(_GDIDC* surface) {
    ComPtr<_GDIDCEx> hub;
    EXPECT_EQ(koloritFunctions()->GDIAttachDCEx(surface, &hub), S_OK);
    return hub;
}

HDC dcOf(_GDIDC* surface) {
    OLE_HANDLE handle = 0;
    EXPECT_EQ(surface->get_hDC(&handle), S_OK);
    return handleFrom<HDC>(handle);
}

COLORREF pixel(_GDIDC* surface, int x, int y) { return GetPixel(dcOf(surface), x, y); }

void fill(_GDIDC* surface, RECT area, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dcOf(surface), &area, brush);
    DeleteObject(brush);
}

void fill(_GDIDC* surface, COLORREF color) {
    long width = 0, height = 0;
    surface->get_Width(&width);
    surface->get_Height(&height);
    fill(surface, RECT{0, 0, width, height}, color);
}

DWORD* bitsOf(_GDIDC* surface) {
    GdiFlush();
    OLE_HANDLE bitmap = 0;
    EXPECT_EQ(surface->get_hBitmap(&bitmap), S_OK);
    DIBSECTION section{};
    EXPECT_EQ(GetObjectW(handleFrom<HBITMAP>(bitmap), sizeof section, &section), int(sizeof section));
    return static_cast<DWORD*>(section.dsBm.bmBits);
}

EntryPoint entryPoint(HMODULE module, const char* name) {
    const FARPROC found = GetProcAddress(module, name);
    EXPECT_NE(found, nullptr) << name;
    return reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(found));
}

Raised errorOf(HRESULT hr) {
    Raised raised{hr, numberOf(hr), L"", L""};
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, &info) == S_OK) {
        BSTR text = nullptr;
        info->GetSource(&text);
        raised.source = take(text);
        text = nullptr;
        info->GetDescription(&text);
        raised.description = take(text);
    }
    return raised;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

Variant arg(long value) {
    Variant v;
    V_VT(v.get()) = VT_I4;
    V_I4(v.get()) = value;
    return v;
}
Variant arg(int value) { return arg(static_cast<long>(value)); }
Variant arg(double value) {
    Variant v;
    V_VT(v.get()) = VT_R8;
    V_R8(v.get()) = value;
    return v;
}
Variant arg(const wchar_t* text) {
    Variant v;
    V_VT(v.get()) = VT_BSTR;
    V_BSTR(v.get()) = SysAllocString(text);
    return v;
}
Variant arg(IUnknown* object) {
    Variant v;
    V_VT(v.get()) = VT_DISPATCH;
    V_DISPATCH(v.get()) = nullptr;
    if (object && FAILED(object->QueryInterface(IID_PPV_ARGS(&V_DISPATCH(v.get()))))) {
        V_VT(v.get()) = VT_UNKNOWN;
        V_UNKNOWN(v.get()) = object;
        object->AddRef();
    }
    return v;
}
Variant missing() {
    Variant v;
    V_VT(v.get()) = VT_ERROR;
    V_ERROR(v.get()) = DISP_E_PARAMNOTFOUND;
    return v;
}
Late::Late(IUnknown* object) { EXPECT_EQ(object->QueryInterface(IID_PPV_ARGS(&object_)), S_OK); }

Variant Late::invoke(const wchar_t* member, WORD flags, std::vector<Variant> arguments) {
    const std::vector<Named> named = std::move(named_);
    named_.clear();
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(member)};
    for (const auto& n : named) names.push_back(const_cast<LPOLESTR>(n.name));
    std::vector<DISPID> ids(names.size());
    raised_ = Raised{};
    result_ = object_->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()), 0, ids.data());
    if (FAILED(result_)) return Variant();

    // DISPPARAMS wants named arguments first, then the positional ones last to first.
    std::vector<VARIANT> packed;
    std::vector<DISPID> namedIds;
    for (size_t i = 0; i < named.size(); ++i) {
        packed.push_back(*const_cast<VARIANT*>(named[i].value.get()));
        namedIds.push_back(ids[i + 1]);
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) namedIds.insert(namedIds.begin(), DISPID_PROPERTYPUT);
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) packed.push_back(*it->get());

    DISPPARAMS params{packed.data(), namedIds.data(), static_cast<UINT>(packed.size()), static_cast<UINT>(namedIds.size())};
    Variant result;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    result_ = object_->Invoke(ids[0], IID_NULL, 0, flags, &params, result.get(), &exception, &argumentError);
    if (result_ == DISP_E_EXCEPTION) {
        raised_ = Raised{exception.scode, numberOf(exception.scode), take(exception.bstrSource),
                         take(exception.bstrDescription)};
        SysFreeString(exception.bstrHelpFile);
    } else if (FAILED(result_)) {
        raised_ = Raised{result_, numberOf(result_), L"", L""};
    }
    return result;
}

Late& Late::with(const wchar_t* name, Variant value) {
    named_.push_back(Named{name, std::move(value)});
    return *this;
}

void Late::put(const wchar_t* member, Variant value, bool byReference) {
    invoke(member, byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, list(std::move(value)));
}

long asLong(const Variant& value) {
    Variant converted;
    EXPECT_EQ(VariantChangeType(converted.get(), const_cast<VARIANT*>(value.get()), 0, VT_I4), S_OK);
    return V_I4(converted.get());
}

ComPtr<_GDIBrush> makeBrush(COLORREF color) {
    ComPtr<_GDIBrush> made;
    EXPECT_EQ(vellum()->CreateBrushObject(color, 0, 0, &made), S_OK);
    return made;
}

ComPtr<_GDIRegion> region() {
    ComPtr<_GDIRegion> made;
    EXPECT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made)), S_OK);
    return made;
}

ComPtr<_GDIRegion> region(long x1, long y1, long x2, long y2) {
    ComPtr<_GDIRegion> made = region();
    EXPECT_EQ(made->CreateRect(x1, y1, x2, y2), S_OK);
    return made;
}

HRGN handleOf(_GDIRegion* region) {
    OLE_HANDLE handle = 0;
    EXPECT_EQ(region->get_hRgn(&handle), S_OK);
    return handleFrom<HRGN>(handle);
}

RECT boxOf(_GDIRegion* region) {
    RECT box{};
    GetRgnBox(handleOf(region), &box);
    return box;
}

Canvas::Canvas(int w, int h, COLORREF color)
    : width(w), height(h), paper(color), surface(test::surface(w, h)), hub(attach(surface.Get())), dc(dcOf(surface.Get())) {
    fill(surface.Get(), paper);
}

void Canvas::pen(COLORREF color, long width) {
    ComPtr<_GDIPen> made;
    EXPECT_EQ(vellum()->CreatePenObject(color, 0, width, &made), S_OK);
    EXPECT_EQ(surface->putref_SelPen(made.Get()), S_OK);
}

POINT Canvas::penPosition() const {
    POINT position{};
    GetCurrentPositionEx(dc, &position);
    return position;
}

std::vector<COLORREF> Canvas::pixels() const {
    std::vector<COLORREF> all;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) all.push_back(GetPixel(dc, x, y));
    return all;
}

bool Canvas::blank() const {
    const std::vector<COLORREF> all = pixels();
    return std::all_of(all.begin(), all.end(), [&](COLORREF c) { return c == paper; });
}

void expectRuntimeError(const Raised& raised, long number) {
    EXPECT_EQ(raised.number, number) << narrow(raised.source) << ": " << narrow(raised.description);
    EXPECT_EQ(raised.description.find(L"Error source:"), std::wstring::npos);
}

void expectLibraryError(const Raised& raised, const std::wstring& source, const std::wstring& description) {
    const std::wstring& text = raised.description;
    const std::wstring end = L"\r\nError source: " + source;
    EXPECT_GE(raised.number, 10000);
    EXPECT_EQ(narrow(raised.source), narrow(source));
    EXPECT_TRUE(text.starts_with(description + L"; ") && text.ends_with(end)) << narrow(text);
}

void expectRefused(const Refusal& refusal) {
    SCOPED_TRACE(refusal.what);
    SetLastError(ERROR_INVALID_HANDLE);  // Wine leaves some failures without a code of their own
    const HRESULT hr = refusal.call();
    ASSERT_TRUE(FAILED(hr));
    if (refusal.runtimeError) return expectRuntimeError(errorOf(hr), refusal.runtimeError);
    expectLibraryError(errorOf(hr), refusal.source, refusal.description);
}

}  // namespace test

// After the whole program every object must be gone: both components can
// unload, and the process holds as many GDI objects as before the first test.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    test::warmUpPlatform();
    const test::GdiObjects before = test::liveGdiObjects();
    int failed = RUN_ALL_TESTS();
    const test::GdiObjects after = test::liveGdiObjects();
    if (after - before != 0) {
        std::printf("GDI objects left behind by the tests: %s\n", after.changesSince(before).c_str());
        failed = 1;
    }
    if (!test::componentsUnloadable()) {
        std::printf("A component still holds objects after the tests (DllCanUnloadNow is not S_OK)\n");
        failed = 1;
    }
    CoUninitialize();
    return failed;
}
