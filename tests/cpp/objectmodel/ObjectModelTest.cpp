// The published object model, read back from the built type libraries the
// way object browsers, early-bound compilers and script hosts read it. Each
// rule walks every type of both libraries, so that members added later are
// held to it too.

#include "Support.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>

using namespace test;

namespace {

struct Library {
    const wchar_t* dll;
    const GUID* id;
};
const Library libraries[] = {{L"kolorit.dll", &LIBID_Kolorit}, {L"vellum.dll", &LIBID_Vellum}};

// Default members (dispatch identifier 0), and whether a user interface
// shows them by default.
const std::map<std::wstring, bool> defaultMembers = {
    {L"_DCClipping.SetRegion", false}, {L"_DCDrawing.PixelColor", true}, {L"_DCPosition.Move", false},
    {L"_DCFocusRect.Visible", true},   {L"_DCCoordinates.MapMode", true}};
const std::set<std::wstring> hiddenMembers = {L"_GDIDCEx.CaptureFrom"};
// Steps the library takes itself; no client may reach them.
const std::set<std::wstring> internalMembers = {L"AttachHDC", L"AttachDestDC", L"Open", L"Attach"};

std::wstring nameOf(ITypeInfo* info, MEMBERID member = MEMBERID_NIL, std::wstring* help = nullptr) {
    BSTR name = nullptr, doc = nullptr;
    info->GetDocumentation(member, &name, &doc, nullptr, nullptr);
    std::wstring result = name ? name : L"";
    if (help) *help = doc ? doc : L"";
    SysFreeString(name);
    SysFreeString(doc);
    return result;
}

// One type with its attributes, released when done.
struct Type {
    ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    std::wstring name;
    explicit Type(ComPtr<ITypeInfo> i) : info(std::move(i)) {
        info->GetTypeAttr(&attr);
        name = nameOf(info.Get());
    }
    ~Type() { info->ReleaseTypeAttr(attr); }
};

void forEachType(const std::function<void(const Library&, Type&)>& visit) {
    for (const Library& library : libraries) {
        ComPtr<ITypeLib> loaded;
        ASSERT_EQ(LoadTypeLibEx(library.dll, REGKIND_NONE, &loaded), S_OK);
        for (UINT i = 0; i < loaded->GetTypeInfoCount(); ++i) {
            ComPtr<ITypeInfo> info;
            ASSERT_EQ(loaded->GetTypeInfo(i, &info), S_OK);
            Type type(info);
            visit(library, type);
        }
    }
}

// The members of a dual interface as its vtable half declares them, or of
// a dispatch interface.
void forEachMember(Type& type, const std::function<void(const FUNCDESC&, const std::wstring&)>& visit) {
    ComPtr<ITypeInfo> declaring = type.info;
    HREFTYPE half = 0;
    if (type.attr->wTypeFlags & TYPEFLAG_FDUAL) {
        ASSERT_EQ(type.info->GetRefTypeOfImplType(-1, &half), S_OK);
        ASSERT_EQ(type.info->GetRefTypeInfo(half, &declaring), S_OK);
    }
    Type own(declaring);
    for (UINT i = 0; i < own.attr->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(own.info->GetFuncDesc(i, &function), S_OK) << narrow(type.name) << " member " << i;
        if (!(function->wFuncFlags & FUNCFLAG_FRESTRICTED))
            visit(*function, type.name + L"." + nameOf(own.info.Get(), function->memid));
        own.info->ReleaseFuncDesc(function);
    }
}

bool isInterface(const Type& type) { return type.attr->typekind == TKIND_DISPATCH || type.attr->typekind == TKIND_INTERFACE; }

// A parameter that takes an object: a pointer to an interface, or IDispatch/IUnknown.
bool takesObject(ITypeInfo* info, const TYPEDESC& type) {
    if (type.vt == VT_DISPATCH || type.vt == VT_UNKNOWN) return true;
    if (type.vt != VT_PTR || type.lptdesc->vt != VT_USERDEFINED) return false;
    ComPtr<ITypeInfo> target;
    if (FAILED(info->GetRefTypeInfo(type.lptdesc->hreftype, &target))) return false;
    Type pointed(target);
    return isInterface(pointed);
}

}  // namespace

TEST(ObjectModel, OnlyTheApplicationObjectsAreCreatableAndEachClassShowsOnlyItsName) {
    forEachType([](const Library& library, Type& type) {
        if (type.attr->typekind != TKIND_COCLASS) return;
        const bool creatable = type.attr->wTypeFlags & TYPEFLAG_FCANCREATE;
        ComPtr<IClassFactory> factory;
        const auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(library.dll), "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        EXPECT_EQ(SUCCEEDED(getClassObject(type.attr->guid, IID_PPV_ARGS(&factory))), creatable) << narrow(type.name);
        if (library.id == &LIBID_Kolorit) {
            EXPECT_EQ(creatable, type.name == L"KoloritFunctions") << narrow(type.name);
            EXPECT_EQ((type.attr->wTypeFlags & TYPEFLAG_FAPPOBJECT) != 0, creatable) << narrow(type.name);
        }
        if (type.attr->wTypeFlags & TYPEFLAG_FAPPOBJECT) {
            EXPECT_TRUE(type.attr->wTypeFlags & TYPEFLAG_FPREDECLID) << narrow(type.name) << " is an application object";
        }

        for (UINT i = 0; i < type.attr->cImplTypes; ++i) {
            INT flags = 0;
            HREFTYPE reference = 0;
            ComPtr<ITypeInfo> implemented;
            type.info->GetImplTypeFlags(i, &flags);
            type.info->GetRefTypeOfImplType(i, &reference);
            ASSERT_EQ(type.info->GetRefTypeInfo(reference, &implemented), S_OK);
            Type face(implemented);
            const bool events = flags & IMPLTYPEFLAG_FSOURCE;
            EXPECT_EQ(face.name, (events ? L"__" : L"_") + type.name);
            const WORD expected = events ? TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE
                                         : TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;
            EXPECT_EQ(face.attr->wTypeFlags & expected, expected) << narrow(face.name);
            if (events) continue;
            // Wine's reader shows oleautomation on the vtable half of a dual
            // interface only (the library stores it once for both).
            HREFTYPE half = 0;
            ComPtr<ITypeInfo> vtable;
            ASSERT_EQ(implemented->GetRefTypeOfImplType(-1, &half), S_OK);
            ASSERT_EQ(implemented->GetRefTypeInfo(half, &vtable), S_OK);
            EXPECT_TRUE(Type(vtable).attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) << narrow(face.name);
        }
    });
}

TEST(ObjectModel, DispatchIdentifiersDefaultsAndHiddenMembers) {
    std::set<std::wstring> interfaces, defaultsSeen;
    forEachType([&](const Library&, Type& type) {
        if (!isInterface(type)) return;
        interfaces.insert(type.name);
        const bool events = !(type.attr->wTypeFlags & TYPEFLAG_FDUAL);
        std::map<MEMBERID, std::wstring> owners;
        int uiDefaults = 0;
        forEachMember(type, [&](const FUNCDESC& f, const std::wstring& name) {
            const bool property = f.invkind != INVOKE_FUNC;
            const auto [owner, added] = owners.emplace(f.memid, name);
            EXPECT_TRUE(added || (property && owner->second == name)) << narrow(name) << " shares its identifier";
            const bool uiDefault = f.wFuncFlags & FUNCFLAG_FUIDEFAULT;
            uiDefaults += uiDefault;
            EXPECT_EQ((f.wFuncFlags & FUNCFLAG_FHIDDEN) != 0, hiddenMembers.count(name) == 1) << narrow(name);
            EXPECT_EQ(internalMembers.count(name.substr(name.find(L'.') + 1)), 0u) << narrow(name) << " is library-internal";
            if (events) return;

            EXPECT_EQ(f.elemdescFunc.tdesc.vt, VT_HRESULT) << narrow(name);
            const auto found = defaultMembers.find(name);
            if (f.memid == DISPID_VALUE) {
                EXPECT_NE(found, defaultMembers.end()) << narrow(name) << " has identifier 0";
                defaultsSeen.insert(name);
            } else {
                EXPECT_EQ(found, defaultMembers.end()) << narrow(name) << " is a default member";
                EXPECT_EQ(property, f.memid > 0 && f.memid < 1001) << narrow(name) << " is numbered in the wrong range";
            }
            EXPECT_EQ(uiDefault, found != defaultMembers.end() && found->second) << narrow(name);
        });
        if (events) {
            EXPECT_EQ(uiDefaults, 1) << narrow(type.name) << " has one default event";
        }
    });
    for (const auto& [name, uiDefault] : defaultMembers) {
        if (interfaces.count(name.substr(0, name.find(L'.')))) {
            EXPECT_EQ(defaultsSeen.count(name), 1u) << narrow(name) << " is not a default member";
        }
    }
}

// Object browsers and early-bound compilers show an optional object's
// default; without one they offer no way to leave it out.
TEST(ObjectModel, OptionalObjectParametersDefaultToNothing) {
    forEachType([](const Library&, Type& type) {
        if (!isInterface(type)) return;
        forEachMember(type, [&](const FUNCDESC& f, const std::wstring& name) {
            for (SHORT i = 0; i < f.cParams; ++i) {
                const PARAMDESC& param = f.lprgelemdescParam[i].paramdesc;
                if (!(param.wParamFlags & PARAMFLAG_FOPT) || !takesObject(type.info.Get(), f.lprgelemdescParam[i].tdesc))
                    continue;
                ASSERT_TRUE(param.wParamFlags & PARAMFLAG_FHASDEFAULT) << narrow(name) << " parameter " << i;
                const VARIANT& value = param.pparamdescex->varDefaultValue;
                EXPECT_TRUE((V_VT(&value) == VT_I4 && V_I4(&value) == 0) ||
                            ((V_VT(&value) == VT_DISPATCH || V_VT(&value) == VT_UNKNOWN) && !V_UNKNOWN(&value)))
                    << narrow(name) << " parameter " << i << " defaults to type " << V_VT(&value);
            }
        });
    });
    // Late-bound callers that leave one out get Nothing passed on. The hub
    // is kept: a drawing object does not keep its surface's context alive.
    auto hub = attach(surface(8, 8).Get());
    ComPtr<_DCDrawing> drawing;
    hub->get_Drawing(&drawing);
    Late late(drawing.Get());
    late.call(L"DrawRectFiled", arg(0), arg(0), arg(4), arg(4));
    EXPECT_EQ(late.result(), S_OK) << narrow(late.raised().source) << ": " << narrow(late.raised().description);
}

// Type-library strings are read in the ANSI code page: text stored as
// UTF-8 comes out as "Ã©" where "é" was written.
TEST(ObjectModel, HelpStringsComeOutAsWritten) {
    auto check = [](const std::wstring& owner, const std::wstring& help) {
        std::string bytes(help.size() * 2 + 1, '\0');
        BOOL lossy = FALSE;
        bytes.resize(WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, help.c_str(), static_cast<int>(help.size()),
                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, &lossy));
        EXPECT_FALSE(lossy) << narrow(owner);
        const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
        EXPECT_TRUE(ascii || !MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                  static_cast<int>(bytes.size()), nullptr, 0))
            << narrow(owner) << " holds UTF-8";
    };
    forEachType([&](const Library&, Type& type) {
        std::wstring help;
        nameOf(type.info.Get(), MEMBERID_NIL, &help);
        check(type.name, help);
        if (!isInterface(type)) return;
        forEachMember(type, [&](const FUNCDESC& f, const std::wstring& name) {
            nameOf(type.info.Get(), f.memid, &help);
            check(name, help);
            if (name == L"_DCDrawing.DrawPolyBezier") {
                EXPECT_EQ(help, L"This function draws one or more B\u00e9zier curves");
            }
        });
    });
}

// Records travel in variants and arrays under their own name and are found
// by their GUID; an alias in front would hide both.
TEST(ObjectModel, RecordsCarryTheirNameAndGuid) {
    std::set<std::wstring> records;
    forEachType([&](const Library& library, Type& type) {
        if (type.attr->typekind == TKIND_ALIAS && type.attr->tdescAlias.vt == VT_USERDEFINED) {
            ComPtr<ITypeInfo> target;
            type.info->GetRefTypeInfo(type.attr->tdescAlias.hreftype, &target);
            EXPECT_NE(Type(target).attr->typekind, TKIND_RECORD) << narrow(type.name) << " is an alias of a record";
        }
        if (type.attr->typekind != TKIND_RECORD) return;
        records.insert(type.name);
        ComPtr<IRecordInfo> record;
        ASSERT_EQ(GetRecordInfoFromGuids(*library.id, 1, 0, 0, type.attr->guid, &record), S_OK) << narrow(type.name);
        BSTR name = nullptr;
        record->GetName(&name);
        EXPECT_EQ(std::wstring(name ? name : L""), type.name);
        SysFreeString(name);
    });
    EXPECT_EQ(records.count(L"COORD") + records.count(L"DCPATHCOORD"), 2u);
}
