// Vellum's surfaces: how they start, what they keep selected, pictures, and
// the server's lock.

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
