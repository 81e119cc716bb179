// Kolorit's in-process server entry points.

#include "KoloritFunctions.h"
#include "com/AutomationError.h"
#include "com/Server.h"

namespace {

const com::CreatableClass classes[] = {
    {&CLSID_KoloritFunctions, L"Kolorit.KoloritFunctions", L"Kolorit drawing library", [] {
         return com::ComPtr<IUnknown>(static_cast<_KoloritFunctions*>(kolorit::KoloritFunctions::forThisThread().Get()));
     }},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) {
        com::setModuleInstance(instance);
        com::setRuntimeErrorSource(L"Kolorit");
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
