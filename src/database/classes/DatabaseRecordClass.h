// DatabaseRecord: a free-standing list of named column values, newest
// first, for Database.InsertRecord and as one row of a ScrollableCursor.
#pragma once
#include <cstddef>
#include <cstdint>

#include "database/DatabaseEngine.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct DatabaseRecordObject {
  RuntimeObject header;
  ZANTcolumnValue *entries; // newest first; each owns its two strings
};
static_assert(sizeof(DatabaseRecordObject) == 28);
static_assert(offsetof(DatabaseRecordObject, entries) == 24);

ObjectDefinition *DatabaseRecordClass();

// The record's entry list (nil for a nil record).
ZANTcolumnValue *DatabaseRecordEntries(RuntimeObject *record);
// The one setter step: an entry of that name (case ignored) gets the new
// text and keeps its type; otherwise a new entry goes first.
void DatabaseRecordSet(RuntimeObject *record, stringStorage *name, const string &text, int32_t type);
// Appends an entry at the end of the list (rows of a ScrollableCursor are
// built in column order).
void DatabaseRecordAppend(RuntimeObject *record, stringStorage *name, const string &text, int32_t type);

extern "C" {
stringStorage *getDatabaseRecordColumn(RuntimeObject *record, stringStorage *name);
void setDatabaseRecordColumn(RuntimeObject *record, stringStorage *name, stringStorage *value);
double getDatabaseRecordDoubleColumn(RuntimeObject *record, stringStorage *name);
void setDatabaseRecordDoubleColumn(RuntimeObject *record, stringStorage *name, double value);
int32_t getDatabaseRecordIntegerColumn(RuntimeObject *record, stringStorage *name);
void setDatabaseRecordIntegerColumn(RuntimeObject *record, stringStorage *name, int32_t value);
RuntimeObject *getDatabaseRecordDateColumn(RuntimeObject *record, stringStorage *name);
void setDatabaseRecordDateColumn(RuntimeObject *record, stringStorage *name, RuntimeObject *date);
RuntimeObject *getDatabaseRecordMacPictColumn(RuntimeObject *record, stringStorage *name);
void setDatabaseRecordMacPictColumn(RuntimeObject *record, stringStorage *name, RuntimeObject *picture);
RuntimeObject *getDatabaseRecordJPEGColumn(RuntimeObject *record, stringStorage *name);
void setDatabaseRecordJPEGColumn(RuntimeObject *record, stringStorage *name, RuntimeObject *picture);
stringStorage *GetDatabaseRecordBlobColumn(RuntimeObject *record, stringStorage *name);
void SetDatabaseRecordBlobColumn(RuntimeObject *record, stringStorage *name, stringStorage *value);
int32_t GetDatabaseRecordBooleanColumn(RuntimeObject *record, stringStorage *name);
void SetDatabaseRecordBooleanColumn(RuntimeObject *record, stringStorage *name, int32_t value);
int32_t getDatabaseRecordFieldCount(RuntimeObject *record);
stringStorage *getDatabaseRecordIndString(RuntimeObject *record, int32_t index);
}
