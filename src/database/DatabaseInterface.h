// The entry points with which engines hand their handles to the runtime, and
// the runtime's own operations on Database and RecordSet objects that the
// SQL layer and the classes share. Objects returned carry one reference for
// the caller; arguments are borrowed.
#pragma once
#include <cstdint>

#include "database/DatabaseEngine.h"
#include "database/DatabaseObjects.h"

extern "C" {
// A new connected Database over the handle, registered for closing at exit;
// nil for a null handle.
RuntimeObject *ZANTdbDatabaseFromDBDatabase(dbDatabase *handle, dbEngineDefinition *definition);
// A new RecordSet over the cursor, moved to its first row (BOF and EOF true
// when empty), registered for closing at exit; nil for a null handle.
RuntimeObject *ZANTdbCursorFromDBCursor(dbCursor *handle, ZANTdbCursorDefinition *definition);
// Frees a condition tree: both sub-trees, both strings, then the node.
void disposeZANTcolumnConstraint(ZANTcolumnConstraints *node);
// Stores the Database's own error (a copy of the message, nil for null).
void ZANTDatabaseSetError(RuntimeObject *database, int32_t code, const char *message);
// Opens a database by engine name: "zantdb" in any case is the built-in
// engine, anything else a plug-in data source of that name.
RuntimeObject *connectDatabase(stringStorage *engineName, void *data, int32_t length);
void PluginRegisterDBEngine(dbEngineDefinition *definition);
void PluginRegisterDBCursor(ZANTdbCursorDefinition *definition);
RuntimeObject *RuntimeGetDatabaseFromResource(int32_t resourceId);
RuntimeObject *ZANTDBConnectionDialogCreate();
void ZANTDBConnectionDialogAddField(RuntimeObject *dialog, stringStorage *label,
                                    stringStorage *value, int32_t mask);
RuntimeObject *ZANTDBConnectionDialogShow(RuntimeObject *dialog);
void ZANTDBConnectionDialogDelete(RuntimeObject *dialog);

// RecordSet.MoveNext and Close, Database.Close.
void cursorMoveNext(RuntimeObject *recordSet);
void cursorClose(RuntimeObject *recordSet);
void databaseClose(RuntimeObject *database);
}

// Connects a Database whose connection was deferred; true when it is
// connected (now or already). Database operations call it before the engine.
bool demandConnectDatabase(DatabaseObject *database);

// Drops a record set's pending edits and their values.
void DiscardPendingEdits(DatabaseCursorObject *recordSet);

// A column value read through a cursor: getColumnValue, then releaseValue.
// The bytes are copied out so they outlive the release.
struct DatabaseValue {
  uint8_t type = kColumnNull;
  string bytes; // the value bytes as getColumnValue yielded them
};
DatabaseValue ReadCursorValue(DatabaseCursorObject *recordSet, int32_t column);
