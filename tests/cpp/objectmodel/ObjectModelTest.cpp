// The published object model, read back from the built type libraries the
// way object browsers and script hosts read it. (Identifiers, defaults and
// help texts are held by the reference's check.)

#include "Support.h"

using namespace test;

namespace {

std::wstring nameOf(ITypeInfo* info) {
    BSTR name = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    std::wstring result = name ? name : L"";
    SysFreeString(name);
    return result;
}

}  // namespace

// A class can be created exactly when its library says so; Kolorit's one
// application object is predeclared (VBA calls its members without naming it).
TEST(ObjectModel, CreatableClassesAndThePredeclaredApplicationObject) {
    for (const wchar_t* dll : {L"kolorit.dll", L"vellum.dll"}) {
        ComPtr<ITypeLib> library;
        ASSERT_EQ(LoadTypeLibEx(dll, REGKIND_NONE, &library), S_OK);
        const auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(dll), "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
            ComPtr<ITypeInfo> info;
            TYPEATTR* attr = nullptr;
            ASSERT_EQ(library->GetTypeInfo(i, &info), S_OK);
            ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
            const std::wstring name = nameOf(info.Get());
            const bool coclass = attr->typekind == TKIND_COCLASS, creatable = attr->wTypeFlags & TYPEFLAG_FCANCREATE;
            const bool application = attr->wTypeFlags & TYPEFLAG_FAPPOBJECT;
            ComPtr<IClassFactory> factory;
            if (coclass) {
                EXPECT_EQ(SUCCEEDED(getClassObject(attr->guid, IID_PPV_ARGS(&factory))), creatable) << narrow(name);
                EXPECT_EQ(application, name == L"KoloritFunctions") << narrow(name);
            }
            if (application) {
                EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FPREDECLID) << narrow(name) << " is an application object";
            }
            info->ReleaseTypeAttr(attr);
        }
    }
}
