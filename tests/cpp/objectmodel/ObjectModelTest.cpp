// The published object model, read back from the built type libraries the
// way object browsers and script hosts read it. (Identifiers, defaults and
// help texts are held by the reference's check.)

#include "Support.h"
#include "tools/reference/TypeLibrary.h"

using namespace test;

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
            ASSERT_EQ(library->GetTypeInfo(i, &info), S_OK);
            const typelib::Attributes attr(info.Get());
            const std::string name = narrow(typelib::documentation(info.Get(), MEMBERID_NIL).name);
            const bool application = attr->wTypeFlags & TYPEFLAG_FAPPOBJECT;
            ComPtr<IClassFactory> factory;
            if (attr->typekind == TKIND_COCLASS) {
                EXPECT_EQ(SUCCEEDED(getClassObject(attr->guid, IID_PPV_ARGS(&factory))),
                          (attr->wTypeFlags & TYPEFLAG_FCANCREATE) != 0) << name;
                EXPECT_EQ(application, name == "KoloritFunctions") << name;
            }
            if (application) {
                EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FPREDECLID) << name << " is an application object";
            }
        }
    }
}
