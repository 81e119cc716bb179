// Registration writes what an apartment-threaded in-process automation
// server needs, and unregistration removes all of it. (ctest runs this
// program alone: the other programs need the registration it takes away.)

#include "Support.h"

using namespace test;

namespace {

struct Server {
    const wchar_t* dll;
    const CLSID* classId;
    const wchar_t* progId;
    const GUID* library;
    const IID* defaultInterface;
};

std::wstring guidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

bool keyExists(const std::wstring& path, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring value(const std::wstring& path, const wchar_t* name) {
    wchar_t data[MAX_PATH] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"<none>";
    return data;
}

std::wstring modulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

class Registration : public ::testing::TestWithParam<Server> {};

}  // namespace

TEST_P(Registration, RegistersTheClassesAndUnregistersEverything) {
    const Server& server = GetParam();
    HMODULE module = LoadLibraryW(server.dll);
    ASSERT_NE(module, nullptr);
    const EntryPoint registerServer = entryPoint(module, "DllRegisterServer");
    const EntryPoint unregisterServer = entryPoint(module, "DllUnregisterServer");
    const std::wstring clsid = L"CLSID\\" + guidText(*server.classId);
    const std::wstring library = L"TypeLib\\" + guidText(*server.library);

    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(value(clsid + L"\\InprocServer32", nullptr), modulePath(module));
    EXPECT_EQ(value(clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(value(clsid + L"\\ProgID", nullptr), server.progId);
    EXPECT_EQ(value(std::wstring(server.progId) + L"\\CLSID", nullptr), guidText(*server.classId));
    EXPECT_TRUE(keyExists(library));

    // The prefix may hold the other bitness's registration too (make register
    // writes both): the ProgID and the type library's key are shared with it
    // and must stay exactly as long as it does, and its view's keys with it.
    const bool win64 = sizeof(void*) == 8;
    const std::wstring paths = library + L"\\1.0\\0\\";
    const REGSAM otherView = win64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    const std::wstring iface = L"Interface\\" + guidText(*server.defaultInterface);
    const bool otherClass = keyExists(clsid, otherView);
    const bool otherLibrary = keyExists(paths + (win64 ? L"win32" : L"win64"));

    ASSERT_EQ(unregisterServer(), S_OK);
    EXPECT_FALSE(keyExists(clsid));
    EXPECT_FALSE(keyExists(paths + (win64 ? L"win64" : L"win32")));
    EXPECT_EQ(keyExists(server.progId), otherClass);
    EXPECT_EQ(keyExists(library), otherLibrary);
    EXPECT_FALSE(keyExists(iface));
    EXPECT_EQ(keyExists(iface, otherView), otherLibrary);

    EXPECT_EQ(registerServer(), S_OK) << "registered again for the other tests";
    FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(
    Components, Registration,
    ::testing::Values(Server{L"kolorit.dll", &CLSID_KoloritFunctions, L"Kolorit.KoloritFunctions", &LIBID_Kolorit,
                             &IID__KoloritFunctions},
                      Server{L"vellum.dll", &CLSID_VellumFunctions, L"Vellum.VellumFunctions", &LIBID_Vellum,
                             &IID__VellumFunctions},
                      Server{L"vellum.dll", &CLSID_GDIRegion, L"Vellum.GDIRegion", &LIBID_Vellum, &IID__GDIRegion}));

// DllInstall knows the command line "user" (regsvr32 /n /i:user) and the
// empty one; tools/check-registration registers both ways in a fresh prefix.
TEST(Install, RefusesOtherCommandLinesWithoutTouchingTheRegistry) {
    for (const wchar_t* dll : {L"kolorit.dll", L"vellum.dll"}) {
        const auto install = reinterpret_cast<HRESULT(WINAPI*)(BOOL, const wchar_t*)>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(dll), "DllInstall")));
        ASSERT_NE(install, nullptr);
        EXPECT_EQ(install(TRUE, L"machine"), E_INVALIDARG);
        EXPECT_EQ(install(FALSE, L"users"), E_INVALIDARG);
    }
    EXPECT_TRUE(keyExists(L"CLSID\\" + guidText(CLSID_KoloritFunctions)));
}
