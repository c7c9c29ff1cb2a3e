// The rows of the built-in global function table as written: the language
// name, the parameters and return type as the language declares them, and
// the entry point with its export name.
#pragma once
#include <cstdint>

#include "runtime/objects/ClassTables.h"

struct GlobalFunctionRow {
  const char *name;
  // "source As String, start As Integer = 0", "fields() As String",
  // "ByRef value As Color"; defaults are 0, empty or " ".
  const char *params;
  const char *returnType; // a type name, "String()" for an array; nil for none
  void (*entry)();        // nil until its subsystem is linked in
  const char *exportName;
  int32_t flags;
};

// The global forms (rows 0 to 173), then the two Extends forms with their own
// parameter order (InStr, InStrB).
constexpr int32_t kGlobalFunctionRowCount = 176;
extern const GlobalFunctionRow kGlobalFunctionRows[kGlobalFunctionRowCount];

// The global forms offered again as methods of their first argument, in table
// order; they come before the two Extends rows above.
constexpr int32_t kExtendsFormCount = 30;
extern const int32_t kExtendsFormsOfGlobalRows[kExtendsFormCount];
