#include "Drawing.h"

using namespace test;

// Wine cannot describe some members widl accepts (a default on an alias type,
// say); no client could call such a member late-bound. The default members
// have dispatch identifier 0.
TEST(TypeLibrary, EveryMemberIsDescribableAndDefaultMembersAreZero) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadRegTypeLib(LIBID_Kolorit, 1, 0, 0, &library), S_OK);
    struct Case { const IID* iid; const wchar_t* defaultMember; };
    for (const Case& c : {Case{&IID__DCDrawing, L"PixelColor"}, Case{&IID__DCClipping, L"SetRegion"},
                          Case{&IID__DCPosition, L"Move"}, Case{&IID__DCCoordinates, L"MapMode"}, Case{&IID__DCPath, nullptr},
                          Case{&IID__KoloritFunctions, nullptr}, Case{&IID__GDIDCEx, nullptr}}) {
        ComPtr<ITypeInfo> info, vtable;
        HREFTYPE half = 0;
        ASSERT_EQ(library->GetTypeInfoOfGuid(*c.iid, &info), S_OK);
        ASSERT_EQ(info->GetRefTypeOfImplType(-1, &half), S_OK);
        ASSERT_EQ(info->GetRefTypeInfo(half, &vtable), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(vtable->GetTypeAttr(&attr), S_OK);
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FUNCDESC* function = nullptr;
            EXPECT_EQ(vtable->GetFuncDesc(i, &function), S_OK) << "function " << i;
            if (function) vtable->ReleaseFuncDesc(function);
        }
        vtable->ReleaseTypeAttr(attr);
        if (!c.defaultMember) continue;
        LPOLESTR name = const_cast<LPOLESTR>(c.defaultMember);
        MEMBERID id = -1;
        ASSERT_EQ(vtable->GetIDsOfNames(&name, 1, &id), S_OK);
        EXPECT_EQ(id, DISPID_VALUE) << narrow(c.defaultMember);
    }
}
