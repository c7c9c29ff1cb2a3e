// Shorthands for the rows of a built-in class's tables: an accessor or a
// method row names its entry point once, and the row gets both its code and
// its export name from that.
#pragma once
#include "runtime/objects/ClassTables.h"

#define ACCESSOR(function) EntryCode(function), #function
#define NO_ACCESSOR nullptr, nullptr
#define METHOD(name, function, returnType, params, count)                                          \
  { name, returnType, params, count, {{EntryCode(function), #function, {}}, {}}, 0, 0, 0 }
