#include "Server.h"

#include "AutomationError.h"
#include "Boundary.h"
#include "Module.h"
#include "Unknown.h"

#include <windows.h>
#include <oleauto.h>

#include <olectl.h>

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

class RegistryKey {
public:
    explicit RegistryKey(const std::wstring& path) {
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key_, nullptr))
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

void registerClass(const CreatableClass& kind, const std::wstring& library, const std::wstring& version) {
    const std::wstring clsid = guidText(*kind.classId);
    const std::wstring root = L"CLSID\\" + clsid;
    RegistryKey(root).set(nullptr, kind.description);
    RegistryKey server(root + L"\\InprocServer32");
    server.set(nullptr, modulePath());
    server.set(L"ThreadingModel", L"Apartment");
    RegistryKey(root + L"\\ProgID").set(nullptr, kind.progId);
    RegistryKey(root + L"\\TypeLib").set(nullptr, library);
    RegistryKey(root + L"\\Version").set(nullptr, version);
    RegistryKey(std::wstring(kind.progId)).set(nullptr, kind.description);
    RegistryKey(std::wstring(kind.progId) + L"\\CLSID").set(nullptr, clsid);
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

HRESULT registerServer(std::span<const CreatableClass> classes) noexcept {
    return guarded([&] {
        ITypeLib* library = typeLibrary();
        const std::wstring path = modulePath();
        if (FAILED(RegisterTypeLib(library, const_cast<wchar_t*>(path.c_str()), nullptr)))
            throw AutomationError(static_cast<long>(SELFREG_E_TYPELIB), path, L"Cannot register the type library");
        TLIBATTR* attr = nullptr;
        library->GetLibAttr(&attr);
        const std::wstring version = std::to_wstring(attr->wMajorVerNum) + L"." + std::to_wstring(attr->wMinorVerNum);
        const std::wstring libraryId = guidText(attr->guid);
        library->ReleaseTLibAttr(attr);
        for (const CreatableClass& kind : classes) registerClass(kind, libraryId, version);
    });
}

HRESULT unregisterServer(std::span<const CreatableClass> classes) noexcept {
    return guarded([&] {
        for (const CreatableClass& kind : classes) {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + guidText(*kind.classId)).c_str());
            RegDeleteTreeW(HKEY_CLASSES_ROOT, kind.progId);
        }
        ITypeLib* library = typeLibrary();
        TLIBATTR* attr = nullptr;
        library->GetLibAttr(&attr);
        UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
        library->ReleaseTLibAttr(attr);
    });
}

}  // namespace com
