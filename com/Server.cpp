#include "Server.h"

#include "AutomationError.h"
#include "Boundary.h"
#include "Module.h"
#include "Unknown.h"

#include <windows.h>
#include <oleauto.h>

#include <olectl.h>

#include <cwchar>
#include <string>

namespace com {
namespace {

class ClassFactory : public Unknown<IClassFactory> {
public:
    explicit ClassFactory(const CreatableClass& kind) : kind_(kind) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ComPtr<IUnknown> object;
        const HRESULT hr = guarded([&] { object = kind_.create(); });
        return FAILED(hr) ? hr : object->QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        lockServer(lock);
        return S_OK;
    }

private:
    const CreatableClass& kind_;
};

std::wstring guidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// The classes a registration writes to: the machine's (what
// HKEY_CLASSES_ROOT writes) or the current user's.
class ClassesRoot {
public:
    explicit ClassesRoot(Scope scope) {
        if (scope == Scope::Machine) return;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                            nullptr))
            throw AutomationError(static_cast<long>(SELFREG_E_CLASS), L"Software\\Classes", L"Cannot write the registry");
        owned_ = true;
    }
    ClassesRoot(const ClassesRoot&) = delete;
    ClassesRoot& operator=(const ClassesRoot&) = delete;
    ~ClassesRoot() {
        if (owned_) RegCloseKey(key_);
    }

    HKEY get() const noexcept { return key_; }

private:
    HKEY key_ = HKEY_CLASSES_ROOT;
    bool owned_ = false;
};

class RegistryKey {
public:
    RegistryKey(const ClassesRoot& root, const std::wstring& path) {
        if (RegCreateKeyExW(root.get(), path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_, nullptr))
            throw AutomationError(static_cast<long>(SELFREG_E_CLASS), path, L"Cannot write the registry");
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { RegCloseKey(key_); }

    void set(const wchar_t* name, const std::wstring& value) {
        const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        if (RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes))
            throw AutomationError(static_cast<long>(SELFREG_E_CLASS), value, L"Cannot write the registry");
    }

private:
    HKEY key_ = nullptr;
};

void registerClass(const ClassesRoot& classes, const CreatableClass& kind, const std::wstring& library,
                   const std::wstring& version) {
    const std::wstring clsid = guidText(*kind.classId);
    const std::wstring root = L"CLSID\\" + clsid;
    RegistryKey(classes, root).set(nullptr, kind.description);
    RegistryKey server(classes, root + L"\\InprocServer32");
    server.set(nullptr, modulePath());
    server.set(L"ThreadingModel", L"Apartment");
    RegistryKey(classes, root + L"\\ProgID").set(nullptr, kind.progId);
    RegistryKey(classes, root + L"\\TypeLib").set(nullptr, library);
    RegistryKey(classes, root + L"\\Version").set(nullptr, version);
    RegistryKey(classes, std::wstring(kind.progId)).set(nullptr, kind.description);
    RegistryKey(classes, std::wstring(kind.progId) + L"\\CLSID").set(nullptr, clsid);
}

bool keyExists(HKEY root, const std::wstring& path, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key)) return false;
    RegCloseKey(key);
    return true;
}

// A class key lives in the registry view of its bitness, while the ProgID
// key naming it is shared by both views: it goes only with the last class
// key, or the other bitness's registration loses its name.
bool classRegisteredInAnyView(HKEY root, const std::wstring& classKey) {
    return keyExists(root, classKey, KEY_WOW64_64KEY) || keyExists(root, classKey, KEY_WOW64_32KEY);
}

void unregisterClass(const ClassesRoot& classes, const CreatableClass& kind) {
    const std::wstring classKey = L"CLSID\\" + guidText(*kind.classId);
    RegDeleteTreeW(classes.get(), classKey.c_str());
    if (!classRegisteredInAnyView(classes.get(), classKey)) RegDeleteTreeW(classes.get(), kind.progId);
}

// A description that a type library or one of its types hands out, given
// back when it goes out of scope.
template <class Source, class Description>
class Described {
public:
    using Get = HRESULT (STDMETHODCALLTYPE Source::*)(Description**);
    using Release = void (STDMETHODCALLTYPE Source::*)(Description*);
    Described(Source* source, Get get, Release release) : source_(source), release_(release) {
        if (FAILED((source->*get)(&description_)))
            throw AutomationError(static_cast<long>(SELFREG_E_TYPELIB), L"TypeLib", L"Cannot read the type library");
    }
    Described(const Described&) = delete;
    Described& operator=(const Described&) = delete;
    ~Described() { (source_->*release_)(description_); }
    const Description* operator->() const noexcept { return description_; }
    const Description& operator*() const noexcept { return *description_; }

private:
    Source* source_;
    Release release_;
    Description* description_ = nullptr;
};

struct LibraryAttributes : Described<ITypeLib, TLIBATTR> {
    explicit LibraryAttributes(ITypeLib* library)
        : Described(library, &ITypeLib::GetLibAttr, &ITypeLib::ReleaseTLibAttr) {}
};

struct TypeAttributes : Described<ITypeInfo, TYPEATTR> {
    explicit TypeAttributes(ITypeInfo* type) : Described(type, &ITypeInfo::GetTypeAttr, &ITypeInfo::ReleaseTypeAttr) {}
};

std::wstring versionText(const TLIBATTR& attr) {
    return std::to_wstring(attr.wMajorVerNum) + L"." + std::to_wstring(attr.wMinorVerNum);
}

// TypeLib\{library}\{version}: the key both bitnesses share, each adding the
// path for its own platform under the locale.
std::wstring libraryVersionKey(const TLIBATTR& attr) {
    return L"TypeLib\\" + guidText(attr.guid) + L"\\" + versionText(attr);
}

std::wstring platformKey(const TLIBATTR& attr, SYSKIND platform) {
    wchar_t locale[16] = {};
    swprintf(locale, 16, L"%lx", static_cast<unsigned long>(attr.lcid));
    return libraryVersionKey(attr) + L"\\" + locale + (platform == SYS_WIN64 ? L"\\win64" : L"\\win32");
}

SYSKIND otherPlatform(SYSKIND platform) { return platform == SYS_WIN64 ? SYS_WIN32 : SYS_WIN64; }

// The interfaces a client reaches through the library's marshaler: the
// dispatch interfaces (dual ones included) and the automation-compatible
// custom ones, each with the marshaler its kind needs.
template <class Visit>
void forEachMarshaledInterface(ITypeLib* library, Visit visit) {
    static constexpr wchar_t dispatchMarshaler[] = L"{00020420-0000-0000-C000-000000000046}";
    static constexpr wchar_t automationMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";
    for (UINT i = 0, count = library->GetTypeInfoCount(); i < count; ++i) {
        ComPtr<ITypeInfo> type;
        if (FAILED(library->GetTypeInfo(i, &type))) continue;
        const TypeAttributes attr(type.Get());
        const bool dual = attr->wTypeFlags & TYPEFLAG_FDUAL;
        if (attr->typekind == TKIND_DISPATCH)
            visit(static_cast<int>(i), attr->guid, dual ? automationMarshaler : dispatchMarshaler);
        else if (attr->typekind == TKIND_INTERFACE && (attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION))
            visit(static_cast<int>(i), attr->guid, automationMarshaler);
    }
}

// The name the library documents for itself (index -1) or one of its types.
std::wstring documentedName(ITypeLib* library, int index) {
    BSTR name = nullptr;
    BSTR help = nullptr;
    library->GetDocumentation(index, &name, &help, nullptr, nullptr);
    std::wstring text = index < 0 && help && *help ? help : (name ? name : L"");
    SysFreeString(name);
    SysFreeString(help);
    return text;
}

// The type library and its interfaces are written here rather than by the
// platform's registration calls, which put the interfaces' keys into both
// registry views (and, on some systems, into the machine's classes for a
// per-user registration): a registration writes its own bitness's view of
// the hive it was asked for, and nothing else.
void registerTypeLibrary(const ClassesRoot& classes, ITypeLib* library, const std::wstring& path) {
    const LibraryAttributes attr(library);
    const std::wstring versionKey = libraryVersionKey(*attr);
    RegistryKey(classes, versionKey).set(nullptr, documentedName(library, -1));
    RegistryKey(classes, versionKey + L"\\FLAGS").set(nullptr, std::to_wstring(attr->wLibFlags));
    RegistryKey(classes, versionKey + L"\\HELPDIR").set(nullptr, path.substr(0, path.find_last_of(L'\\')));
    RegistryKey(classes, platformKey(*attr, attr->syskind)).set(nullptr, path);
    const std::wstring libraryId = guidText(attr->guid);
    const std::wstring version = versionText(*attr);
    forEachMarshaledInterface(library, [&](int index, REFGUID iid, const wchar_t* marshaler) {
        const std::wstring key = L"Interface\\" + guidText(iid);
        RegistryKey(classes, key).set(nullptr, documentedName(library, index));
        RegistryKey(classes, key + L"\\ProxyStubClsid").set(nullptr, marshaler);
        RegistryKey(classes, key + L"\\ProxyStubClsid32").set(nullptr, marshaler);
        RegistryKey typeLib(classes, key + L"\\TypeLib");
        typeLib.set(nullptr, libraryId);
        typeLib.set(L"Version", version);
    });
}

// Our platform's path and our view's interfaces go; the shared key goes with
// the last platform's path, so that the other bitness's registration stays
// whole.
void unregisterTypeLibrary(const ClassesRoot& classes, ITypeLib* library) {
    const LibraryAttributes attr(library);
    forEachMarshaledInterface(library, [&](int, REFGUID iid, const wchar_t*) {
        RegDeleteTreeW(classes.get(), (L"Interface\\" + guidText(iid)).c_str());
    });
    const std::wstring ours = platformKey(*attr, attr->syskind);
    RegDeleteKeyW(classes.get(), ours.c_str());
    if (keyExists(classes.get(), platformKey(*attr, otherPlatform(attr->syskind)))) return;
    RegDeleteTreeW(classes.get(), libraryVersionKey(*attr).c_str());
    RegDeleteKeyW(classes.get(), (L"TypeLib\\" + guidText(attr->guid)).c_str());
}

}  // namespace

BOOL moduleEntry(HINSTANCE instance, DWORD reason, const wchar_t* runtimeErrorSource) noexcept {
    if (reason == DLL_PROCESS_ATTACH) {
        setModuleInstance(instance);
        setRuntimeErrorSource(runtimeErrorSource);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HRESULT getClassObject(std::span<const CreatableClass> classes, REFCLSID classId, REFIID iid, void** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const CreatableClass& kind : classes) {
        if (!IsEqualCLSID(*kind.classId, classId)) continue;
        auto* factory = new (std::nothrow) ClassFactory(kind);
        if (!factory) return E_OUTOFMEMORY;
        const HRESULT hr = factory->QueryInterface(iid, out);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT canUnloadNow() noexcept { return canUnload() ? S_OK : S_FALSE; }

HRESULT registerServer(std::span<const CreatableClass> classes, Scope scope) noexcept {
    return guarded([&] {
        const ClassesRoot root(scope);
        ITypeLib* library = typeLibrary();
        registerTypeLibrary(root, library, modulePath());
        const LibraryAttributes attr(library);
        for (const CreatableClass& kind : classes) registerClass(root, kind, guidText(attr->guid), versionText(*attr));
    });
}

HRESULT unregisterServer(std::span<const CreatableClass> classes, Scope scope) noexcept {
    return guarded([&] {
        const ClassesRoot root(scope);
        for (const CreatableClass& kind : classes) unregisterClass(root, kind);
        unregisterTypeLibrary(root, typeLibrary());
    });
}

HRESULT install(std::span<const CreatableClass> classes, bool install, const wchar_t* commandLine) noexcept {
    Scope scope = Scope::Machine;
    if (commandLine && *commandLine) {
        if (_wcsicmp(commandLine, L"user") != 0) return E_INVALIDARG;
        scope = Scope::User;
    }
    return install ? registerServer(classes, scope) : unregisterServer(classes, scope);
}

}  // namespace com
