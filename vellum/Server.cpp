// Vellum's in-process server entry points.

#include "GDIRegion.h"
#include "VellumFunctions.h"
#include "com/AutomationError.h"
#include "com/Server.h"

namespace {

using com::ComPtr;

const com::CreatableClass classes[] = {
    {&CLSID_VellumFunctions, L"Vellum.VellumFunctions", L"Vellum drawing surfaces",
     [] { return ComPtr<IUnknown>(static_cast<_VellumFunctions*>(vellum::VellumFunctions::create().Get())); }},
    {&CLSID_GDIRegion, L"Vellum.GDIRegion", L"Vellum region",
     [] { return ComPtr<IUnknown>(static_cast<_GDIRegion*>(vellum::GDIRegion::create().Get())); }},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        com::setModuleInstance(instance);
        com::setRuntimeErrorSource(L"Vellum");
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** out) {
    return com::getClassObject(classes, classId, iid, out);
}
extern "C" HRESULT WINAPI DllCanUnloadNow() { return com::canUnloadNow(); }
extern "C" HRESULT WINAPI DllRegisterServer() { return com::registerServer(classes); }
extern "C" HRESULT WINAPI DllUnregisterServer() { return com::unregisterServer(classes); }
