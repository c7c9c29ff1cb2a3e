// The built-in engine's connection by data: it keeps no connection data, so
// a 'DBAS' resource naming it yields no database.
#include "database/ZANTEngine.h"

RuntimeObject *connectZANTDatabase(void *, int32_t) { return nullptr; }
