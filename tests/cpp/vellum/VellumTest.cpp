// Vellum's surfaces and drawing objects: what they are made of, and that
// each frees exactly what it owns when its last reference goes.

#include "Support.h"

#include <algorithm>

using namespace test;

namespace {

template <class Interface, class Getter>
HGDIOBJ handleOf(Interface* object, Getter getter) {
    OLE_HANDLE value = 0;
    EXPECT_EQ((object->*getter)(&value), S_OK);
    return handleFrom<HGDIOBJ>(value);
}

std::wstring tempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

}  // namespace

TEST(Surface, SurfacesHaveTheirSizeDepthAndDefaultColoursAndMonochromeOnesStartWhite) {
    for (bool monochrome : {false, true}) {
        auto s = surface(9, 4, monochrome);
        long width = 0, height = 0;
        s->get_Width(&width);
        s->get_Height(&height);
        EXPECT_EQ(width * 100 + height, 904);
        ComPtr<_GDIBitmap> bitmap;
        ASSERT_EQ(s->get_SelBitmap(&bitmap), S_OK);
        short bits = 0;
        bitmap->get_BitsPixel(&bits);
        EXPECT_EQ(bits, monochrome ? 1 : 32);
        EXPECT_EQ(GetBkColor(dcOf(s.Get())), RGB(255, 255, 255));
        EXPECT_EQ(GetTextColor(dcOf(s.Get())), RGB(0, 0, 0));
        if (monochrome)
            for (int x = 0; x < 9; ++x) EXPECT_EQ(pixel(s.Get(), x, 3), RGB(255, 255, 255)) << x;
    }
}

TEST(Surface, BadSizesAreRefused) {
    auto functions = vellum();
    for (auto [w, h] : {std::pair{0L, 5L}, {5L, 0L}, {-1L, 5L}, {5L, -3L}}) {
        ComPtr<_GDIDC> made;
        Raised raised = errorOf(functions->CreateGDIDC(w, h, VARIANT_FALSE, 0, &made));
        EXPECT_RAISED(raised, 5, L"Vellum", L"Invalid procedure call or argument");
        EXPECT_EQ(made, nullptr);
    }
}

TEST(Surface, ReleasingItFreesItsDeviceContextAndBitmap) {
    auto s = surface(4, 4);
    HGDIOBJ dc = handleOf(s.Get(), &_GDIDC::get_hDC);
    HGDIOBJ bitmap = handleOf(s.Get(), &_GDIDC::get_hBitmap);
    ASSERT_TRUE(alive(dc));
    ASSERT_TRUE(alive(bitmap));
    s.Reset();
    EXPECT_FALSE(alive(dc));
    EXPECT_FALSE(alive(bitmap));
}

TEST(Surface, KeepsWhatIsSelectedThroughItUntilReplacedOrReset) {
    auto functions = vellum();
    auto s = surface(4, 4);
    HDC dc = dcOf(s.Get());
    HGDIOBJ originalPen = GetCurrentObject(dc, OBJ_PEN);

    ComPtr<_GDIPen> pen;
    functions->CreatePenObject(RGB(255, 0, 0), 0, 1, &pen);
    HGDIOBJ penHandle = handleOf(pen.Get(), &_GDIPen::get_hPen);
    ASSERT_EQ(s->putref_SelPen(pen.Get()), S_OK);
    pen.Reset();  // the client's reference goes; the surface keeps the pen
    EXPECT_TRUE(alive(penHandle));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), penHandle);

    ComPtr<_GDIPen> second;
    functions->CreatePenObject(RGB(0, 255, 0), 0, 1, &second);
    s->putref_SelPen(second.Get());
    EXPECT_FALSE(alive(penHandle)) << "the replaced pen is freed";

    HGDIOBJ secondHandle = handleOf(second.Get(), &_GDIPen::get_hPen);
    second.Reset();
    ASSERT_EQ(s->ResetObjects(), S_OK);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), originalPen);
    EXPECT_FALSE(alive(secondHandle));
}

TEST(Surface, AnAttachedDeviceContextIsLeftAliveWithItsOriginalObjects) {
    HDC own = CreateCompatibleDC(nullptr);
    HGDIOBJ originalBrush = GetCurrentObject(own, OBJ_BRUSH);
    {
        auto functions = vellum();
        ComPtr<_GDIDC> attached;
        ASSERT_EQ(functions->AttachGDIDC(handleValue(own), 0, &attached), S_OK);
        ComPtr<_GDIBrush> brush;
        functions->CreateBrushObject(RGB(0, 0, 255), 0, 0, &brush);
        attached->putref_SelBrush(brush.Get());
        EXPECT_NE(GetCurrentObject(own, OBJ_BRUSH), originalBrush);
    }
    EXPECT_TRUE(alive(own));
    EXPECT_EQ(GetCurrentObject(own, OBJ_BRUSH), originalBrush);
    DeleteDC(own);

    ComPtr<_GDIDC> none;
    EXPECT_RAISED(errorOf(vellum()->AttachGDIDC(0, 0, &none)), 5, L"Vellum", L"Invalid procedure call or argument");
    HBRUSH notADeviceContext = CreateSolidBrush(0);
    EXPECT_RAISED(errorOf(vellum()->AttachGDIDC(handleValue(notADeviceContext), 0, &none)), 5, L"Vellum",
                  L"Invalid procedure call or argument");
    DeleteObject(notADeviceContext);
}

TEST(Region, OwnsTheRegionItHolds) {
    ComPtr<_GDIRegion> region, other;
    ASSERT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&region)), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_GDIRegion, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&other)), S_OK);
    EXPECT_EQ(handleOf(region.Get(), &_GDIRegion::get_hRgn), nullptr);

    region->CreateRect(0, 0, 10, 10);
    other->CreateEllipse(5, 5, 20, 20);
    HGDIOBJ first = handleOf(region.Get(), &_GDIRegion::get_hRgn);
    ASSERT_EQ(region->Combine(other.Get(), vlRgnOr), S_OK);
    HRGN combined = static_cast<HRGN>(handleOf(region.Get(), &_GDIRegion::get_hRgn));
    EXPECT_TRUE(PtInRegion(combined, 2, 2));
    EXPECT_TRUE(PtInRegion(combined, 15, 15));
    EXPECT_EQ(combined, first) << "combining keeps the same region";

    HRGN adopted = CreateRectRgn(0, 0, 1, 1);
    region->AttachRgn(handleValue(adopted));
    EXPECT_FALSE(alive(first)) << "the region held before is destroyed";
    region->Delete();
    EXPECT_FALSE(alive(adopted));
    EXPECT_EQ(handleOf(region.Get(), &_GDIRegion::get_hRgn), nullptr);

    HGDIOBJ last = handleOf(other.Get(), &_GDIRegion::get_hRgn);
    other.Reset();
    EXPECT_FALSE(alive(last));
}

// (Resolved system colours are seen through Kolorit's drawing tests.)
TEST(Colours, UnknownColourKindsAreRefused) {
    long rgb = 0;
    EXPECT_RAISED(errorOf(vellum()->TranslateColor(0x7F000000, 0, &rgb)), 5, L"Vellum",
                  L"Invalid procedure call or argument");
}

TEST(Pictures, SaveAndLoadKeepEveryPixel) {
    auto s = surface(7, 5);
    fill(s.Get(), RGB(10, 20, 30));
    fill(s.Get(), RECT{2, 1, 5, 4}, RGB(200, 100, 0));
    for (const wchar_t* name : {L"kolorit-roundtrip.png", L"kolorit-roundtrip.bmp"}) {
        const std::wstring path = tempPath(name);
        BSTR file = SysAllocString(path.c_str());
        ASSERT_EQ(s->SaveToFile(file), S_OK) << narrow(errorOf(E_FAIL).description);
        ComPtr<_GDIDC> loaded;
        ASSERT_EQ(vellum()->LoadPicture(file, &loaded), S_OK);
        SysFreeString(file);
        long width = 0;
        loaded->get_Width(&width);
        EXPECT_EQ(width, 7);
        EXPECT_EQ(pixel(loaded.Get(), 0, 0), RGB(10, 20, 30)) << narrow(path);
        EXPECT_EQ(pixel(loaded.Get(), 3, 2), RGB(200, 100, 0)) << narrow(path);
        // Plain RGB values, the unused top byte clear, whatever the decoder gives.
        const DWORD* bits = bitsOf(loaded.Get());
        EXPECT_TRUE(std::all_of(bits, bits + 35, [](DWORD p) { return p >> 24 == 0; })) << narrow(path);
        DeleteFileW(path.c_str());
    }
}

TEST(Pictures, UnreadableOrUnknownFilesRaiseErrors) {
    auto s = surface(2, 2);
    BSTR unknown = SysAllocString(tempPath(L"kolorit.xyz").c_str());
    EXPECT_RAISED(errorOf(s->SaveToFile(unknown)), 5, L"Vellum", L"Invalid procedure call or argument");
    SysFreeString(unknown);

    ComPtr<_GDIDC> loaded;
    BSTR nowhere = SysAllocString(L"C:\\no\\such\\folder\\picture.png");
    Raised raised = errorOf(vellum()->LoadPicture(nowhere, &loaded));
    EXPECT_GT(raised.number, 10000);
    EXPECT_EQ(raised.source, L"VellumFunctions.LoadPicture()");
    EXPECT_EQ(raised.description.rfind(L"Cannot read the picture!; ", 0), 0u) << narrow(raised.description);
    SysFreeString(nowhere);

    const std::wstring text = tempPath(L"kolorit-not-a-picture.png");
    HANDLE file = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "hello", 5, &written, nullptr);
    CloseHandle(file);
    BSTR notAPicture = SysAllocString(text.c_str());
    raised = errorOf(vellum()->LoadPicture(notAPicture, &loaded));
    EXPECT_EQ(raised.source, L"VellumFunctions.LoadPicture()");
    EXPECT_EQ(loaded, nullptr);
    SysFreeString(notAPicture);
    DeleteFileW(text.c_str());
}

// (Unloading once the objects are gone is the hub tests' part and every
// program's last check.)
TEST(Server, ALockedServerCannotUnload) {
    const EntryPoint canUnload = entryPoint(GetModuleHandleW(L"vellum.dll"), "DllCanUnloadNow");
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_VellumFunctions, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory)), S_OK);
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_FALSE);
    CoGetClassObject(CLSID_VellumFunctions, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory));
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_OK);
}
