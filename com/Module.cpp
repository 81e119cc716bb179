#include "Module.h"

#include "AutomationError.h"

#include <atomic>
#include <map>
#include <mutex>
#include <utility>

namespace com {
namespace {

HINSTANCE instance = nullptr;
std::atomic<long> objects{0};
std::atomic<long> locks{0};
thread_local long threadObjects = 0;
// Not an owning pointer on purpose: a thread that ends with objects of ours
// still alive must not call into a component that may be unloaded by then.
thread_local IUnknown* kept[static_cast<int>(ThreadSlot::Count)] = {};

struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const { return memcmp(&a, &b, sizeof(GUID)) < 0; }
};

struct TypeCache {
    std::mutex mutex;
    ComPtr<ITypeLib> library;
    std::map<GUID, InterfaceInfo, GuidLess> interfaces;
};

TypeCache& cache() {
    static TypeCache instance;
    return instance;
}

[[noreturn]] void typeLibraryBroken() {
    // Only a damaged build gets here: the library is bound into the module.
    throw AutomationError(static_cast<long>(TYPE_E_CANTLOADLIBRARY), L"", L"The component's type library cannot be read");
}

ITypeLib* loadedLibrary(TypeCache& c) {
    if (!c.library) {
        const std::wstring path = modulePath();
        if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &c.library))) typeLibraryBroken();
    }
    return c.library.Get();
}

}  // namespace

void setModuleInstance(HINSTANCE module) { instance = module; }
HINSTANCE moduleInstance() { return instance; }

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(instance, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

void objectCreated() noexcept {
    ++objects;
    ++threadObjects;
}

void objectDestroyed() noexcept {
    --objects;
    if (--threadObjects != 0) return;
    for (IUnknown*& slot : kept)
        if (slot) std::exchange(slot, nullptr)->Release();
}

IUnknown* threadKept(ThreadSlot slot) noexcept { return kept[static_cast<int>(slot)]; }

void keepForThread(ThreadSlot slot, IUnknown* object) noexcept {
    if (threadObjects == 0) return;
    object->AddRef();
    if (IUnknown* replaced = std::exchange(kept[static_cast<int>(slot)], object)) replaced->Release();
}

void lockServer(bool lock) noexcept { lock ? ++locks : --locks; }
bool canUnload() noexcept { return objects == 0 && locks == 0; }

ITypeLib* typeLibrary() {
    TypeCache& c = cache();
    std::lock_guard guard(c.mutex);
    return loadedLibrary(c);
}

ComPtr<ITypeInfo> typeInfoOf(REFGUID guid) {
    ComPtr<ITypeInfo> info;
    if (FAILED(typeLibrary()->GetTypeInfoOfGuid(guid, &info))) typeLibraryBroken();
    return info;
}

const InterfaceInfo& interfaceInfo(REFGUID iid) {
    TypeCache& c = cache();
    std::lock_guard guard(c.mutex);
    auto found = c.interfaces.find(iid);
    if (found != c.interfaces.end()) return found->second;

    InterfaceInfo info;
    if (FAILED(loadedLibrary(c)->GetTypeInfoOfGuid(iid, &info.dispatchInfo))) typeLibraryBroken();
    // A dual interface is listed as its dispatch half; index -1 leads to the
    // vtable half, whose FUNCDESCs carry the vtable offsets.
    HREFTYPE vtableHalf = 0;
    if (SUCCEEDED(info.dispatchInfo->GetRefTypeOfImplType(-1, &vtableHalf)))
        info.dispatchInfo->GetRefTypeInfo(vtableHalf, &info.vtableInfo);
    if (!info.vtableInfo) info.vtableInfo = info.dispatchInfo;
    return c.interfaces.emplace(iid, std::move(info)).first->second;
}

}  // namespace com
