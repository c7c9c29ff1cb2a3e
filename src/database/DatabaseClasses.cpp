// The class descriptions of the database classes and their registration.
// Database, DatabaseCursor and RecordSet carry their sizes and life cycles
// here; their members, and the four classes of fields, records and
// scrollable cursors, come with the database classes' own work (their
// builders here register names and sizes only).
#include "database/DatabaseClasses.h"

#include <iterator>

#include "database/DatabaseInterface.h"
#include "database/DatabaseObjects.h"
#include "database/ZANTEngine.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

void DatabaseDestructor(RuntimeObject *object) {
  databaseClose(object);
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  // The built-in engine's handle record goes with its Database.
  if (database->definition == &gZANTEngineDefinition) {
    FreeZANTHandle(database->handle);
    database->handle = nullptr;
  }
  for (stringStorage **text :
       {&database->engineName, &database->errorMessage, &database->databaseName, &database->host,
        &database->password, &database->userName}) {
    stringStorage::RemoveReference(*text);
    *text = nullptr;
  }
}

void DatabaseCursorDestructor(RuntimeObject *object) { cursorClose(object); }

// A field object holds one reference on the record set it reads.
void DatabaseFieldDestructor(RuntimeObject *object) {
  auto *field = reinterpret_cast<DatabaseFieldObject *>(object);
  RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(field->recordSet)); // nil is fine
  field->recordSet = nullptr;
}

// A class known by name and size only, until its members are described.
ObjectDefinition *Placeholder(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                              int32_t size) {
  StartDatabaseDefinition(defn, name, super, size);
  return &defn;
}

} // namespace

bool StartDatabaseDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                             int32_t size) {
  if (!defn.className.IsEmpty())
    return false;
  defn.super = super;
  defn.className = string(name);
  defn.objectSize = size;
  defn.staticTables = 1;
  defn.newAllowed = true;
  return true;
}

ObjectDefinition *DatabaseClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "Database", nullptr, sizeof(DatabaseObject)))
    return &defn;
  defn.destructor = DatabaseDestructor;
  return &defn;
}

ObjectDefinition *DatabaseCursorClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "DatabaseCursor", nullptr, sizeof(DatabaseCursorObject)))
    return &defn;
  defn.destructor = DatabaseCursorDestructor;
  return &defn;
}

ObjectDefinition *RecordSetClass() {
  static ObjectDefinition defn;
  StartDatabaseDefinition(defn, "RecordSet", DatabaseCursorClass(), sizeof(DatabaseCursorObject));
  return &defn;
}

RuntimeObject *NewDatabaseObject(ObjectDefinition *cls) {
  RuntimeClass *runtimeClass = LookupObjectDefinition(cls);
  return runtimeClass ? RuntimeNewObject(runtimeClass) : nullptr;
}

void RegisterDatabaseCoreClasses() {
  static ObjectDefinition cursorField, field, record, scrollable;
  addIntrinsicClass(DatabaseClass());
  addIntrinsicClass(DatabaseCursorClass());
  ObjectDefinition *fieldBase = Placeholder(cursorField, "DatabaseCursorField", nullptr, 32);
  cursorField.destructor = DatabaseFieldDestructor;
  addIntrinsicClass(fieldBase);
  addIntrinsicClass(RecordSetClass());
  addIntrinsicClass(Placeholder(field, "DatabaseField", fieldBase, 32));
  addIntrinsicClass(Placeholder(record, "DatabaseRecord", nullptr, 28));
  addIntrinsicClass(Placeholder(scrollable, "ScrollableCursor", nullptr, 40));
  addIntrinsicClass(ZANTDatabaseClass());
  // Until the classes' member tables list them, these are bound by name.
  AddRelocEntry("cursorMoveNext", reinterpret_cast<void *>(cursorMoveNext));
  AddRelocEntry("cursorClose", reinterpret_cast<void *>(cursorClose));
  AddRelocEntry("databaseClose", reinterpret_cast<void *>(databaseClose));
}
