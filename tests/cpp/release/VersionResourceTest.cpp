// Both DLLs carry a version resource, as a file's properties show it, with
// the version of the type library inside them.

#include "Support.h"

#include <winver.h>

using namespace test;

namespace {

struct Dll {
    const wchar_t* file;
    const wchar_t* name;
};

std::wstring modulePath(const wchar_t* file) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(file), path, MAX_PATH);
    return path;
}

std::wstring versionText(const std::vector<BYTE>& block, const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return L"<none>";
    return static_cast<const wchar_t*>(value);
}

}  // namespace

TEST(VersionResource, MatchesTheTypeLibraryAndNamesTheProduct) {
    for (const Dll& dll : {Dll{L"kolorit.dll", L"kolorit"}, Dll{L"vellum.dll", L"vellum"}}) {
        SCOPED_TRACE(narrow(dll.file));
        ASSERT_NE(LoadLibraryW(dll.file), nullptr);
        const std::wstring path = modulePath(dll.file);

        std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        ASSERT_FALSE(block.empty());
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));

        ComPtr<ITypeLib> library;
        ASSERT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library), S_OK);
        TLIBATTR* attr = nullptr;
        ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
        const DWORD version = MAKELONG(attr->wMinorVerNum, attr->wMajorVerNum);
        const std::wstring versionName = std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum);
        library->ReleaseTLibAttr(attr);
        BSTR description = nullptr;
        ASSERT_EQ(library->GetDocumentation(-1, nullptr, &description, nullptr, nullptr), S_OK);
        const std::wstring libraryText(description);
        SysFreeString(description);

        EXPECT_EQ(fixed->dwFileVersionMS, version);
        EXPECT_EQ(fixed->dwProductVersionMS, version);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
        const struct {
            const wchar_t* field;
            std::wstring value;
        } texts[] = {{L"FileVersion", versionName},     {L"ProductVersion", versionName},
                     {L"ProductName", L"Kolorit"},       {L"CompanyName", L"The Kolorit developers"},
                     {L"FileDescription", libraryText},  {L"InternalName", dll.name},
                     {L"OriginalFilename", dll.file}};
        for (const auto& text : texts) EXPECT_EQ(narrow(versionText(block, text.field)), narrow(text.value)) << narrow(text.field);
    }
}
