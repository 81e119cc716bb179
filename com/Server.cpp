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

// The platform's per-user type-library calls, which not every SDK declares.
WINOLEAUTAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* fullPath, OLECHAR* helpDir);
WINOLEAUTAPI UnRegisterTypeLibForUser(REFGUID libraryId, WORD majorVersion, WORD minorVersion, LCID locale,
                                      SYSKIND kind);

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
    bool user() const noexcept { return owned_; }

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

// Points HKEY_CLASSES_ROOT of this process at the user's classes while a
// per-user type-library call runs: an implementation of that call that
// writes the machine's classes still ends up in the user's hive.
class UserClassesOverride {
public:
    explicit UserClassesOverride(const ClassesRoot& root) : active_(root.user()) {
        if (active_ && RegOverridePredefKey(HKEY_CLASSES_ROOT, root.get()))
            throw AutomationError(static_cast<long>(SELFREG_E_TYPELIB), L"Software\\Classes", L"Cannot write the registry");
    }
    UserClassesOverride(const UserClassesOverride&) = delete;
    UserClassesOverride& operator=(const UserClassesOverride&) = delete;
    ~UserClassesOverride() {
        if (active_) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    }

private:
    bool active_;
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

// The type library with its interfaces (the platform writes their keys).
void registerTypeLibrary(const ClassesRoot& classes, ITypeLib* library, const std::wstring& path) {
    UserClassesOverride redirected(classes);
    OLECHAR* file = const_cast<wchar_t*>(path.c_str());
    const HRESULT hr = classes.user() ? RegisterTypeLibForUser(library, file, nullptr)
                                      : RegisterTypeLib(library, file, nullptr);
    if (FAILED(hr)) throw AutomationError(static_cast<long>(SELFREG_E_TYPELIB), path, L"Cannot register the type library");
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

// Both bitnesses register a type library under one shared key, each adding
// the path for its own platform (win32 or win64), and the platform writes
// the interfaces' keys into both registry views for either of them. While
// the other bitness's path remains, only ours goes; the platform's own
// unregistration, which removes the shared key and the interfaces of both
// views, runs for the last one.
void unregisterTypeLibrary(const ClassesRoot& classes, ITypeLib* library) {
    TLIBATTR* attr = nullptr;
    if (FAILED(library->GetLibAttr(&attr))) return;
    wchar_t locale[16] = {};
    swprintf(locale, 16, L"%lx", static_cast<unsigned long>(attr->lcid));
    const std::wstring version = L"TypeLib\\" + guidText(attr->guid) + L"\\" + std::to_wstring(attr->wMajorVerNum) +
                                 L"." + std::to_wstring(attr->wMinorVerNum) + L"\\" + locale + L"\\";
    const bool win64 = attr->syskind == SYS_WIN64;
    if (keyExists(classes.get(), version + (win64 ? L"win32" : L"win64"))) {
        RegDeleteKeyW(classes.get(), (version + (win64 ? L"win64" : L"win32")).c_str());
    } else {
        UserClassesOverride redirected(classes);
        if (classes.user())
            UnRegisterTypeLibForUser(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
        else
            UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
    }
    library->ReleaseTLibAttr(attr);
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
        TLIBATTR* attr = nullptr;
        library->GetLibAttr(&attr);
        const std::wstring version = std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum);
        const std::wstring libraryId = guidText(attr->guid);
        library->ReleaseTLibAttr(attr);
        for (const CreatableClass& kind : classes) registerClass(root, kind, libraryId, version);
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
