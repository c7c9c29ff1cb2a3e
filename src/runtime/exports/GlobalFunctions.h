// The language's built-in global functions (Left, Mid, MsgBox, App, ...): one
// table of method rows giving each its name, parameters, return type and the
// runtime entry point that implements it. Building the table registers every
// entry point's export name, which is how an image's calls to global
// functions are bound; plug-ins look functions up here by name.
#pragma once
#include <cstdint>

#include "runtime/objects/ClassTables.h"

constexpr int32_t kIntrinsicFunctionCount = 206;

// Builds the table on the first call and adds its rows; later calls return
// at once.
void CreateIntrinsicFunctions();
// Appends a row and registers its implementations' export names; a nil row
// shows the alert.
void AddIntrinsicFunction(PropertyMethod *item);
void AddIntrinsicFunctions(PropertyMethod *items, int32_t count);

// Each builds the table first.
int32_t CountIntrinsicFunctions();
// The row at the index (from 0); nil, after the alert, for an index out of range.
PropertyMethod *GetIntrinsicFunction(int32_t index);
// The first row of that name, letter case ignored; nil when none.
PropertyMethod *GetIntrinsicFunction(const char *name);
