// The members of the Database and RecordSet classes that the SQL layer does
// not already provide: errors, inserting a DatabaseRecord, schemas, commit
// and rollback, engine properties, and the record set's flags, row count and
// column types. Every engine slot is tested before it is called, and none
// is called with a null handle.
#pragma once
#include <cstdint>
#include <string>

#include "database/DatabaseObjects.h"

extern "C" {
int32_t databaseErrorGetter(RuntimeObject *database, int32_t param);
int32_t databaseErrorCodeGetter(RuntimeObject *database, int32_t param);
stringStorage *databaseErrorStringGetter(RuntimeObject *database, int32_t param);
void databaseInsertRecord(RuntimeObject *database, stringStorage *table, RuntimeObject *record);
RuntimeObject *databaseTableSchema(RuntimeObject *database);
void databaseCommit(RuntimeObject *database);
void databaseRollback(RuntimeObject *database);
stringStorage *getDatabaseProperty(RuntimeObject *database, stringStorage *name);
int32_t DatabaseConnect(RuntimeObject *database);
RuntimeObject *databaseIndexSchema(RuntimeObject *database, int32_t argument);

int32_t cursorBOFGetter(RuntimeObject *recordSet, int32_t param);
int32_t cursorEOFGetter(RuntimeObject *recordSet, int32_t param);
int32_t RecordSetRecordCount(RuntimeObject *recordSet);
int32_t RecordSetColumnType(RuntimeObject *recordSet, int32_t index);
}

// The INSERT statement of InsertRecord for an engine that cannot add a
// record itself: the entries in list order, integers and doubles bare,
// every other value quoted with its quotes doubled.
std::string InsertRecordText(const std::string &table, const ZANTcolumnValue *entries);
