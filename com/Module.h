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

// One object of another component that this module keeps for the calling
// thread (Kolorit keeps Vellum's global object there, which costs a
// registry search to create). It is kept only while objects of this module
// live on the thread and released with the last of them, so that it never
// holds either module loaded by itself. Objects are apartment-threaded:
// each is made and destroyed on one thread.
IUnknown* threadKept() noexcept;
void keepForThread(IUnknown* object) noexcept;

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
