// The class descriptions of the language's database classes and their
// registration: Database, DatabaseCursor and RecordSet over the engine and
// cursor tables, the field classes, DatabaseRecord and ScrollableCursor.
// These sit above the SQL layer, whose entry points their tables list.
#include "database/DatabaseClasses.h"

#include <cstddef>
#include <iterator>

#include "controls/DataBindingServices.h"
#include "database/DatabaseInterface.h"
#include "database/DatabaseObjects.h"
#include "database/ZANTEngine.h"
#include "database/classes/DatabaseFieldClass.h"
#include "database/classes/DatabaseMembers.h"
#include "database/classes/DatabaseRecordClass.h"
#include "database/classes/ScrollableCursorClass.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "graphics/GraphicsServices.h"
#include "language/DateClass.h"
#include "language/Variant.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

constexpr int32_t kStoredFlags = 4;
constexpr int32_t kErrorFlags = 5;

#define STORED_TEXT(name, field)                                                                   \
  {                                                                                                \
    kStoredFlags, name, &stringType.type, ACCESSOR(stringGetter), ACCESSOR(stringSetter),          \
        offsetof(DatabaseObject, field), 0                                                         \
  }
#define READ_ONLY(flags, name, type, getter)                                                       \
  { flags, name, type, ACCESSOR(getter), NO_ACCESSOR, 0, 0 }
#define READ_WRITE(name, type, getter, setter)                                                     \
  { kStoredFlags, name, type, ACCESSOR(getter), ACCESSOR(setter), 0, 0 }
#define PARAM(name, type)                                                                          \
  { name, type, 0, {}, 0, {}, 0, {} }

// clang-format off
ObjectInstanceTemplate DatabaseInstances[] = {
    READ_ONLY(kErrorFlags, "Error", &booleanType.type, databaseErrorGetter),
    READ_ONLY(kErrorFlags, "ErrorCode", &integerType.type, databaseErrorCodeGetter),
    READ_ONLY(kErrorFlags, "ErrorMessage", &stringType.type, databaseErrorStringGetter),
    STORED_TEXT("DatabaseName", databaseName),
    STORED_TEXT("Host", host),
    STORED_TEXT("Password", password),
    STORED_TEXT("UserName", userName),
};

MethodParameter sSqlParams[] = {PARAM("sqlString", &stringType.type)};
MethodParameter sInsertParams[] = {PARAM("tableName", &stringType.type), PARAM("dbRecord", nullptr)};
MethodParameter sNameParams[] = {PARAM("v", &stringType.type)};
MethodParameter sFieldNameParams[] = {PARAM("Name", &stringType.type)};
MethodParameter sIndexParams[] = {PARAM("Index", &integerType.type)};
MethodParameter sTextParams[] = {PARAM("v", &stringType.type)};

PropertyMethod DatabaseMethods[] = {
    METHOD("SQLExecute", databaseSQLExecute, nullptr, sSqlParams, 1),
    METHOD("SQLSelect", databaseSQLSelect, nullptr, sSqlParams, 1),
    METHOD("InsertRecord", databaseInsertRecord, nullptr, sInsertParams, 2),
    METHOD("TableSchema", databaseTableSchema, nullptr, nullptr, 0),
    METHOD("FieldSchema", databaseFieldSchema, nullptr, sNameParams, 1),
    METHOD("Commit", databaseCommit, nullptr, nullptr, 0),
    METHOD("Rollback", databaseRollback, nullptr, nullptr, 0),
    METHOD("Property", getDatabaseProperty, &stringType.type, sNameParams, 1),
    METHOD("Close", databaseClose, nullptr, nullptr, 0),
    METHOD("Connect", DatabaseConnect, &booleanType.type, nullptr, 0),
};
enum { kSelectMethod = 1, kTableSchemaMethod = 3, kFieldSchemaMethod = 4 };

ObjectInstanceTemplate CursorInstances[] = {
    READ_ONLY(kStoredFlags, "BOF", &booleanType.type, cursorBOFGetter),
    READ_ONLY(kStoredFlags, "EOF", &booleanType.type, cursorEOFGetter),
    READ_ONLY(kStoredFlags, "FieldCount", &integerType.type, cursorFieldCount),
};

PropertyMethod CursorMethods[] = {
    METHOD("MoveNext", cursorMoveNext, nullptr, nullptr, 0),
    METHOD("Field", cursorGetFieldByName, nullptr, sFieldNameParams, 1),
    METHOD("IdxField", cursorGetFieldByIndex, nullptr, sIndexParams, 1),
    METHOD("DeleteRecord", cursorDeleteRecord, nullptr, nullptr, 0),
    METHOD("Edit", cursorEdit, nullptr, nullptr, 0),
    METHOD("Update", cursorUpdate, nullptr, nullptr, 0),
    METHOD("Close", cursorClose, nullptr, nullptr, 0),
    METHOD("MovePrevious", CursorMovePrev, nullptr, nullptr, 0),
    METHOD("MoveFirst", CursorMoveFirst, nullptr, nullptr, 0),
    METHOD("MoveLast", CursorMoveLast, nullptr, nullptr, 0),
    METHOD("RecordCount", RecordSetRecordCount, &integerType.type, nullptr, 0),
    METHOD("ColumnType", RecordSetColumnType, &integerType.type, sIndexParams, 1),
};
enum { kFieldMethod = 1, kIdxFieldMethod = 2 };

// The types of Date, Picture and Variant are filled when the class is built.
ObjectInstanceTemplate FieldInstances[] = {
    READ_ONLY(kStoredFlags, "Name", &stringType.type, cursorFieldNameGetter),
    READ_WRITE("StringValue", &stringType.type, cursorFieldStringValueGetter, cursorFieldStringValueSetter),
    READ_WRITE("DoubleValue", &doubleType.type, cursorFieldDoubleValueGetter, cursorFieldDoubleValueSetter),
    READ_WRITE("IntegerValue", &integerType.type, cursorFieldIntegerValueGetter, cursorFieldIntegerValueSetter),
    READ_ONLY(kStoredFlags, "NativeValue", &stringType.type, cursorFieldNativeValueGetter),
    READ_WRITE("DateValue", nullptr, cursorFieldDateValueGetter, cursorFieldDateValueSetter),
    READ_WRITE("MacPictValue", nullptr, cursorFieldMactPictGetter, cursorFieldMactPictSetter),
    READ_WRITE("JPEGValue", nullptr, cursorFieldJPEGGetter, cursorFieldJPEGSetter),
    READ_WRITE("BooleanValue", &booleanType.type, CursorFieldBooleanValueGetter, CursorFieldBooleanValueSetter),
    READ_WRITE("Value", nullptr, CursorFieldValueGetter, CursorFieldValueSetter),
};
enum { kDateValue = 5, kMacPictValue = 6, kJPEGValue = 7, kValue = 9 };

PropertyMethod FieldMethods[] = {
    METHOD("getString", databaseCursorFieldGetString, &stringType.type, nullptr, 0),
    METHOD("setString", databaseCursorFieldSetString, nullptr, sTextParams, 1),
};
// clang-format on

void DatabaseConstructor(RuntimeObject *object) {
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  for (stringStorage **text : {&database->databaseName, &database->host, &database->password, &database->userName})
    *text = string("").ExtractStringStorage();
}

void DatabaseDestructor(RuntimeObject *object) {
  // Close frees the built-in engine's handle record with its one close.
  databaseClose(object);
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  for (stringStorage **text : {&database->engineName, &database->errorMessage, &database->databaseName,
                               &database->host, &database->password, &database->userName}) {
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

} // namespace

bool StartDatabaseDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super, int32_t size) {
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
  defn.constructor = DatabaseConstructor;
  defn.destructor = DatabaseDestructor;
  PropertyType *recordSet = RecordSetClass()->AsType();
  DatabaseMethods[kSelectMethod].returnType = recordSet;
  DatabaseMethods[kTableSchemaMethod].returnType = recordSet;
  DatabaseMethods[kFieldSchemaMethod].returnType = recordSet;
  sInsertParams[1].type = DatabaseRecordClass()->AsType();
  defn.SetPropertyListHead(FillInstances(DatabaseInstances, std::size(DatabaseInstances)));
  defn.methods = FillMethods(DatabaseMethods, std::size(DatabaseMethods));
  return &defn;
}

ObjectDefinition *DatabaseCursorClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "DatabaseCursor", nullptr, sizeof(DatabaseCursorObject)))
    return &defn;
  defn.destructor = DatabaseCursorDestructor;
  PropertyType *field = DatabaseFieldClass()->AsType();
  CursorMethods[kFieldMethod].returnType = field;
  CursorMethods[kIdxFieldMethod].returnType = field;
  defn.SetPropertyListHead(FillInstances(CursorInstances, std::size(CursorInstances)));
  defn.methods = FillMethods(CursorMethods, std::size(CursorMethods));
  return &defn;
}

ObjectDefinition *RecordSetClass() {
  static ObjectDefinition defn;
  StartDatabaseDefinition(defn, "RecordSet", DatabaseCursorClass(), sizeof(DatabaseCursorObject));
  return &defn;
}

ObjectDefinition *DatabaseCursorFieldClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "DatabaseCursorField", nullptr, sizeof(DatabaseFieldObject)))
    return &defn;
  defn.destructor = DatabaseFieldDestructor;
  FieldInstances[kDateValue].type = DateClass()->AsType();
  FieldInstances[kMacPictValue].type = PictureClass()->AsType();
  FieldInstances[kJPEGValue].type = PictureClass()->AsType();
  FieldInstances[kValue].type = VariantClass()->AsType();
  defn.SetPropertyListHead(FillInstances(FieldInstances, std::size(FieldInstances)));
  defn.methods = FillMethods(FieldMethods, std::size(FieldMethods));
  defn.addInterface(StringProviderClass());
  return &defn;
}

ObjectDefinition *DatabaseFieldClass() {
  static ObjectDefinition defn;
  StartDatabaseDefinition(defn, "DatabaseField", DatabaseCursorFieldClass(), sizeof(DatabaseFieldObject));
  return &defn;
}

RuntimeObject *NewDatabaseObject(ObjectDefinition *cls) {
  RuntimeClass *runtimeClass = LookupObjectDefinition(cls);
  return runtimeClass ? RuntimeNewObject(runtimeClass) : nullptr;
}

void CreateDatabaseClasses() {
  addIntrinsicClass(DatabaseClass());
  addIntrinsicClass(DatabaseCursorClass());
  addIntrinsicClass(DatabaseCursorFieldClass());
  addIntrinsicClass(RecordSetClass());
  addIntrinsicClass(DatabaseFieldClass());
  addIntrinsicClass(DatabaseRecordClass());
  addIntrinsicClass(ScrollableCursorClass());
  addIntrinsicClass(ZANTDatabaseClass());
}
