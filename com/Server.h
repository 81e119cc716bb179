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

// The library entry point's work: the module's instance handle and the
// source its standard run-time errors carry.
BOOL moduleEntry(HINSTANCE instance, DWORD reason, const wchar_t* runtimeErrorSource) noexcept;

// Where a registration goes: the machine's classes (administrators only) or
// the current user's, which the user's own programs see first.
enum class Scope { Machine, User };

HRESULT getClassObject(std::span<const CreatableClass> classes, REFCLSID classId, REFIID iid, void** out) noexcept;
HRESULT canUnloadNow() noexcept;
HRESULT registerServer(std::span<const CreatableClass> classes, Scope scope = Scope::Machine) noexcept;
HRESULT unregisterServer(std::span<const CreatableClass> classes, Scope scope = Scope::Machine) noexcept;
// DllInstall: the command line "user" (regsvr32 /n /i:user) registers or
// unregisters for the current user only, an empty one machine-wide.
HRESULT install(std::span<const CreatableClass> classes, bool install, const wchar_t* commandLine) noexcept;

}  // namespace com

// Defines a component's exported entry points over its creatable classes.
#define COM_IN_PROCESS_SERVER(classes, runtimeErrorSource)                                                    \
    extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {                                \
        return com::moduleEntry(instance, reason, runtimeErrorSource);                                       \
    }                                                                                                         \
    extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {                  \
        return com::getClassObject(classes, classId, iid, out);                                              \
    }                                                                                                         \
    extern "C" HRESULT WINAPI DllCanUnloadNow() { return com::canUnloadNow(); }                              \
    extern "C" HRESULT WINAPI DllRegisterServer() { return com::registerServer(classes); }                   \
    extern "C" HRESULT WINAPI DllUnregisterServer() { return com::unregisterServer(classes); }              \
    extern "C" HRESULT WINAPI DllInstall(BOOL install, const wchar_t* commandLine) {                         \
        return com::install(classes, install != FALSE, commandLine);                                         \
    }
