#include "database/classes/DatabaseMembers.h"

#include "database/DatabaseInterface.h"
#include "database/classes/DatabaseRecordClass.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"

namespace {

DatabaseObject *AsDatabase(RuntimeObject *object) { return reinterpret_cast<DatabaseObject *>(object); }

DatabaseCursorObject *AsRecordSet(RuntimeObject *object) {
  return reinterpret_cast<DatabaseCursorObject *>(object);
}

// The engine's slots while the Database holds a handle; null otherwise.
dbEngineDefinition *EngineSlots(DatabaseObject *database) {
  return database && database->handle ? database->definition : nullptr;
}

// The cursor's slots while the record set is open; null otherwise.
ZANTdbCursorDefinition *CursorSlots(DatabaseCursorObject *recordSet) {
  return recordSet && recordSet->handle ? recordSet->definition : nullptr;
}

// Commit and Rollback: the engine's own slot, else the statement through
// the engine's direct SQL; with neither, nothing. Neither connects.
void Finish(DatabaseObject *database, void (*dbEngineDefinition::*slot)(dbDatabase *), const char *statement) {
  dbEngineDefinition *slots = EngineSlots(database);
  if (!slots)
    return;
  if (slots->*slot) {
    (slots->*slot)(database->handle);
  } else if (slots->directSQLExecute) {
    const string text(statement);
    slots->directSQLExecute(database->handle, text.Storage());
  }
}

} // namespace

extern "C" int32_t databaseErrorGetter(RuntimeObject *object, int32_t param) {
  DatabaseObject *database = AsDatabase(object);
  if (!database)
    return 0;
  return database->errorCode != 0 || databaseErrorCodeGetter(object, param) != 0;
}

extern "C" int32_t databaseErrorCodeGetter(RuntimeObject *object, int32_t) {
  DatabaseObject *database = AsDatabase(object);
  if (!database)
    return 0;
  if (database->errorCode != 0)
    return database->errorCode;
  dbEngineDefinition *slots = EngineSlots(database);
  return slots && slots->getLastErrorCode ? slots->getLastErrorCode(database->handle) : 0;
}

extern "C" stringStorage *databaseErrorStringGetter(RuntimeObject *object, int32_t) {
  DatabaseObject *database = AsDatabase(object);
  if (!database)
    return nullptr;
  if (database->errorCode != 0) {
    stringStorage::AddReference(database->errorMessage);
    return database->errorMessage;
  }
  dbEngineDefinition *slots = EngineSlots(database);
  return slots && slots->getLastErrorString ? slots->getLastErrorString(database->handle) : nullptr;
}

std::string InsertRecordText(const std::string &table, const ZANTcolumnValue *entries) {
  std::string names, values;
  for (const ZANTcolumnValue *entry = entries; entry; entry = entry->next) {
    if (entry != entries) {
      names += ",";
      values += ",";
    }
    names += sqlStdString(entry->name);
    const std::string text = sqlStdString(entry->value);
    values += entry->type == kColumnInteger || entry->type == kColumnDouble ? text : sqlQuoted(text);
  }
  return "insert into " + table + "(" + names + ") values (" + values + ")";
}

extern "C" void databaseInsertRecord(RuntimeObject *object, stringStorage *table, RuntimeObject *record) {
  DatabaseObject *database = AsDatabase(object);
  if (!record || !demandConnectDatabase(database))
    return;
  ZANTcolumnValue *entries = DatabaseRecordEntries(record);
  if (database->definition && database->definition->addTableRecord) {
    database->definition->addTableRecord(database->handle, table, entries);
    return;
  }
  const string text = sqlString(InsertRecordText(sqlStdString(table), entries));
  databaseSQLExecute(object, text.Storage());
}

extern "C" RuntimeObject *databaseTableSchema(RuntimeObject *object) {
  DatabaseObject *database = AsDatabase(object);
  if (!demandConnectDatabase(database) || !database->definition || !database->definition->getTableSchema)
    return nullptr;
  return database->definition->getTableSchema(database->handle);
}

extern "C" void databaseCommit(RuntimeObject *object) {
  Finish(AsDatabase(object), &dbEngineDefinition::commitChanges, "commit");
}

extern "C" void databaseRollback(RuntimeObject *object) {
  Finish(AsDatabase(object), &dbEngineDefinition::rollbackChanges, "rollback");
}

extern "C" stringStorage *getDatabaseProperty(RuntimeObject *object, stringStorage *name) {
  DatabaseObject *database = AsDatabase(object);
  if (!demandConnectDatabase(database) || !database->definition || !database->definition->getEngineProperty)
    return nullptr;
  return database->definition->getEngineProperty(database->handle, name);
}

extern "C" int32_t DatabaseConnect(RuntimeObject *) { return 0; }

extern "C" RuntimeObject *databaseIndexSchema(RuntimeObject *object, int32_t argument) {
  DatabaseObject *database = AsDatabase(object);
  if (!demandConnectDatabase(database) || !database->definition || !database->definition->getIndexSchema)
    return nullptr;
  return database->definition->getIndexSchema(database->handle, argument);
}

extern "C" int32_t cursorBOFGetter(RuntimeObject *object, int32_t) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  return recordSet && recordSet->bof;
}

extern "C" int32_t cursorEOFGetter(RuntimeObject *object, int32_t) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  return recordSet && recordSet->eof;
}

extern "C" int32_t RecordSetRecordCount(RuntimeObject *object) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  ZANTdbCursorDefinition *slots = CursorSlots(recordSet);
  return slots && slots->getRowCount ? slots->getRowCount(recordSet->handle) : -1;
}

extern "C" int32_t RecordSetColumnType(RuntimeObject *object, int32_t index) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  ZANTdbCursorDefinition *slots = CursorSlots(recordSet);
  if (index < 0 || !slots || !slots->getColumnType)
    return -1;
  return slots->getColumnType(recordSet->handle, index);
}
