// The language's database classes: Database, DatabaseCursor, RecordSet, the
// field classes, and their registration with the built-in engine's class
// ZANTDatabaseOldFormat. The classes are described in classes/, above the
// SQL layer whose entry points their tables list; the engine code below
// makes their objects through the builders declared here.
#pragma once
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// Start-up's registrar for the area: every class in registration order.
void CreateDatabaseClasses();

ObjectDefinition *DatabaseClass();
ObjectDefinition *DatabaseCursorClass();
ObjectDefinition *RecordSetClass();
ObjectDefinition *DatabaseCursorFieldClass();
ObjectDefinition *DatabaseFieldClass();
ObjectDefinition *ZANTDatabaseClass();

// Starts a class description on the builder's first call; false when it was
// built already.
bool StartDatabaseDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                             int32_t size);

// A new object of the class with one reference, or nil.
RuntimeObject *NewDatabaseObject(ObjectDefinition *cls);
