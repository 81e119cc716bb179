// Kolorit's in-process server entry points.

#include "KoloritFunctions.h"
#include "com/Server.h"

namespace {

const com::CreatableClass classes[] = {
    {&CLSID_KoloritFunctions, L"Kolorit.KoloritFunctions", L"Kolorit drawing library", [] {
         return com::ComPtr<IUnknown>(static_cast<_KoloritFunctions*>(kolorit::KoloritFunctions::forThisThread().Get()));
     }},
};

}  // namespace

COM_IN_PROCESS_SERVER(classes, L"Kolorit")
