// Opening a database by engine name. The body is weak and opens nothing
// until the database engines are built.
#pragma once
#include <cstdint>

#include "foundation/String.h"

struct RuntimeObject;

// A new Database object marked connected (one reference for the caller),
// opened by the built-in engine or the plug-in engine of that name with the
// connection data; nil when none opens.
RuntimeObject *connectDatabase(const string &engine, const void *data, int32_t length);
