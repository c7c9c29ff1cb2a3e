// The data sources plug-ins register under a name: connectDatabase hands
// every engine name other than the built-in engine's to them.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

// The Database the data source registered under the name opens from the
// connection data, with one reference; nil when there is none.
RuntimeObject *ConnectPluginDataSource(const string &name, void *data, int32_t length);
