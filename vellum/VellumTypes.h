#pragma once
// Vellum's interfaces as generated from vellum.idl. The console header
// already defines a COORD (with 16-bit members); Vellum's point is reached in
// C++ as VellumCOORD, while the type library keeps the name COORD.

#include <windows.h>
#include <ocidl.h>

#define COORD VellumCOORD
#include "vellum/vellum.h"
#undef COORD
