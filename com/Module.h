#pragma once
// What one in-process server knows about itself: its instance handle, the
// type library bound into it, and how many objects and locks keep it loaded.

#include "Ptr.h"

#include <oaidl.h>

#include <string>

namespace com {

void setModuleInstance(HINSTANCE instance);
HINSTANCE moduleInstance();
std::wstring modulePath();

void objectCreated() noexcept;
void objectDestroyed() noexcept;
void lockServer(bool lock) noexcept;
bool canUnload() noexcept;

// The type library embedded as resource 1 of this module; loaded on first use
// and shared by every thread (type libraries are free-threaded).
ITypeLib* typeLibrary();

// Type information of one type of the embedded library. For a dual interface
// `vtableInfo` is its vtable half, which the invoker needs; `dispatchInfo` is
// what IDispatch::GetTypeInfo hands out.
struct InterfaceInfo {
    ComPtr<ITypeInfo> dispatchInfo;
    ComPtr<ITypeInfo> vtableInfo;
};
const InterfaceInfo& interfaceInfo(REFGUID iid);
ComPtr<ITypeInfo> typeInfoOf(REFGUID guid);

}  // namespace com
