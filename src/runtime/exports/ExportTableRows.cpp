// The fixed rows of the runtime export table, built from ExportRows.def.
// Convention: every exported function is defined extern "C" under its row's
// name. The functions are referred to weakly so that a row fills itself when
// its function is linked into the runtime and stays nil until then; a nil row
// counts as absent. No real header is included here: the rows need only
// addresses, and the functions' true signatures differ.
#include "runtime/exports/ExportTable.h"

#define EXPORT_ROW(name) extern "C" void name() __attribute__((weak));
#define EXPORT_ALIAS_ROW(name, function) extern "C" void function() __attribute__((weak));
#include "runtime/exports/ExportRows.def"
#undef EXPORT_ROW
#undef EXPORT_ALIAS_ROW

const RelocEntry kFixedRelocTable[] = {
#define EXPORT_ROW(name) {#name, reinterpret_cast<void *>(&name)},
#define EXPORT_ALIAS_ROW(name, function) {#name, reinterpret_cast<void *>(&function)},
#include "runtime/exports/ExportRows.def"
#undef EXPORT_ROW
#undef EXPORT_ALIAS_ROW
};
static_assert(sizeof(kFixedRelocTable) / sizeof(kFixedRelocTable[0]) == kFixedRelocEntryCount);
