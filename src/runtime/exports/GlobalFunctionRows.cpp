// The table of built-in global functions, built from GlobalFunctionRows.def.
// Each row's entry point is referred to weakly under its export name, without
// its real header: the row fills itself when the function is linked into the
// runtime and stays nil until then. The table's builder turns the parameter
// texts into parameter records.
#include "runtime/exports/GlobalFunctionRows.h"

#define GLOBAL_FUNCTION(name, params, returnType, entry, flags)                                    \
  extern "C" void entry() __attribute__((weak));
#include "runtime/exports/GlobalFunctionRows.def"
#undef GLOBAL_FUNCTION

namespace {
constexpr int32_t UI = 0;                      // only with a user interface
constexpr int32_t ANY = kConsoleAvailableFlag; // also in console applications
constexpr int32_t CONSOLE = kConsoleOnlyFlags; // only in console applications
} // namespace

const GlobalFunctionRow kGlobalFunctionRows[] = {
#define GLOBAL_FUNCTION(name, params, returnType, entry, flags)                                    \
  {name, params, returnType, entry, #entry, flags},
#include "runtime/exports/GlobalFunctionRows.def"
#undef GLOBAL_FUNCTION
};
static_assert(sizeof(kGlobalFunctionRows) / sizeof(kGlobalFunctionRows[0]) ==
              kGlobalFunctionRowCount);

const int32_t kExtendsFormsOfGlobalRows[kExtendsFormCount] = {
    165, 166, 167, 168, 138, 139, 140, 137, 113, 114, 115, 116, 117, 118, 119,
    120, 121, 122, 123, 124, 81,  82,  83,  84,  85,  86,  87,  88,  91,  125,
};
