#pragma once
// The four entry points of an in-process server, shared by both components.

#include "Ptr.h"

#include <objbase.h>

#include <span>

namespace com {

struct CreatableClass {
    const CLSID* classId;
    const wchar_t* progId;
    const wchar_t* description;
    ComPtr<IUnknown> (*create)();  // may throw AutomationError
};

HRESULT getClassObject(std::span<const CreatableClass> classes, REFCLSID classId, REFIID iid, void** out) noexcept;
HRESULT canUnloadNow() noexcept;
HRESULT registerServer(std::span<const CreatableClass> classes) noexcept;
HRESULT unregisterServer(std::span<const CreatableClass> classes) noexcept;

}  // namespace com
