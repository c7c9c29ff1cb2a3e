// The language's database classes: Database, DatabaseCursor, RecordSet, and
// their registration with the built-in engine's class ZANTDatabaseOldFormat
// (RegisterDatabaseCoreClasses). Start-up's registrar for the whole area,
// CreateDatabaseClasses, sits above the SQL layer and calls down into it.
#pragma once
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// Start-up's registrar for the area (sql/DatabaseRegistration.cpp).
void CreateDatabaseClasses();

ObjectDefinition *DatabaseClass();
ObjectDefinition *DatabaseCursorClass();
ObjectDefinition *RecordSetClass();
ObjectDefinition *ZANTDatabaseClass();

// Starts a class description on the builder's first call; false when it was
// built already.
bool StartDatabaseDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                             int32_t size);

// Registers the classes above and the core's entry points bound by name.
void RegisterDatabaseCoreClasses();

// A new object of the class with one reference, or nil.
RuntimeObject *NewDatabaseObject(ObjectDefinition *cls);
