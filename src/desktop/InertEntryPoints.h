// The fixed-answer entry points of the inert classes (InertEntryPoints.def),
// declared by their answer's type only: the class tables take their
// addresses, and compiled code calls them with the arguments the tables
// declare, which they never read.
#pragma once
#include <cstdint>

struct RuntimeObject;

using InertNothing = void;
using InertNil = RuntimeObject *;
using InertZero = int32_t;
using InertMinusOne = int32_t;
using InertSingle = float;
using InertDouble = double;

extern "C" {
#define INERT_ENTRY(answer, name) Inert##answer name();
#include "desktop/InertEntryPoints.def"
#undef INERT_ENTRY
}
