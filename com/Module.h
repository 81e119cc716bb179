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

// Objects that this module keeps for the calling thread, one per slot: what
// costs far more to make than to use (Kolorit keeps Vellum's global object
// and region class object there, each a registry search to find, the
// description of Vellum's COORD, and its own working surfaces). They are
// kept only while objects of this module live on the thread and released
// with the last of them, so that they never hold either module loaded by
// themselves. Objects are apartment-threaded: each is made and destroyed on
// one thread.
enum class ThreadSlot {
    VellumFunctions,
    RegionClass,
    CoordRecord,
    // Working surfaces, one per role in the masks and transparent transfers.
    WorkingCopy,
    WorkingForeground,
    WorkingDrawn,
    WorkingReplacement,
    WorkingMask,
    WorkingInverse,
    Count
};
IUnknown* threadKept(ThreadSlot slot) noexcept;
// Keeps `object` in the slot (releasing what it held), or nothing when no
// object of this module lives on the thread.
void keepForThread(ThreadSlot slot, IUnknown* object) noexcept;

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
