// Vellum's in-process server entry points.

#include "GDIRegion.h"
#include "VellumFunctions.h"
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

COM_IN_PROCESS_SERVER(classes, L"Vellum")
