#pragma once
// Kolorit's interfaces as generated from kolorit.idl (see vellum/VellumTypes.h
// for the COORD rename).

#include "vellum/VellumTypes.h"

#define COORD VellumCOORD
#include "kolorit.h"
#undef COORD
