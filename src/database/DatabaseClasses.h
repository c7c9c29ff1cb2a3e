// The language's database classes: Database, DatabaseCursor, RecordSet, and
// the registration that start-up calls (CreateDatabaseClasses), which also
// registers the built-in engine's class ZANTDatabaseOldFormat.
#pragma once
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

ObjectDefinition *DatabaseClass();
ObjectDefinition *DatabaseCursorClass();
ObjectDefinition *RecordSetClass();
ObjectDefinition *ZANTDatabaseClass();

// Starts a class description on the builder's first call; false when it was
// built already.
bool StartDatabaseDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                             int32_t size);

// A new object of the class with one reference, or nil.
RuntimeObject *NewDatabaseObject(ObjectDefinition *cls);
