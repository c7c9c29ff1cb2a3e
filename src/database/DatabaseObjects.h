// The language objects that wrap an engine and a cursor: Database (and the
// built-in engine's subclass ZANTDatabaseOldFormat) and RecordSet. Compiled
// code reads these fields, so their layouts are fixed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "database/DatabaseEngine.h"
#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

struct DatabaseObject {
  RuntimeObject header;
  dbDatabase *handle; // null when not connected
  dbEngineDefinition *definition;
  // The parameters of a deferred connection; nothing in the runtime fills them.
  stringStorage *engineName;
  void *connectionData;
  int32_t connectionDataLength;
  // The Database's own last error (ZANTDatabaseSetError).
  int32_t errorCode;
  stringStorage *errorMessage;
  stringStorage *databaseName;
  stringStorage *host;
  stringStorage *password;
  stringStorage *userName;
  bool connected;
};
static_assert(sizeof(DatabaseObject) == 72);
static_assert(offsetof(DatabaseObject, handle) == 24);
static_assert(offsetof(DatabaseObject, definition) == 28);
static_assert(offsetof(DatabaseObject, connectionDataLength) == 40);
static_assert(offsetof(DatabaseObject, errorCode) == 44);
static_assert(offsetof(DatabaseObject, errorMessage) == 48);
static_assert(offsetof(DatabaseObject, databaseName) == 52);
static_assert(offsetof(DatabaseObject, userName) == 64);
static_assert(offsetof(DatabaseObject, connected) == 68);

// The built-in engine's class adds the database file after the Database fields.
struct ZANTDatabaseObject {
  DatabaseObject base;
  RuntimeObject *databaseFile; // a FolderItem, or nil
};
static_assert(sizeof(ZANTDatabaseObject) == 76);
static_assert(offsetof(ZANTDatabaseObject, databaseFile) == 72);

struct DatabaseCursorObject {
  RuntimeObject header;
  dbCursor *handle; // null once closed
  int32_t moveCount;
  DatabaseObject *owner; // holds one reference, or nil
  ZANTdbCursorDefinition *definition;
  bool eof;
  bool bof;
  bool editing;
  ZANTpendingEdit *pendingEdits;
  stringStorage *sqlText; // the SELECT that made the record set
};
static_assert(sizeof(DatabaseCursorObject) == 52);
static_assert(offsetof(DatabaseCursorObject, handle) == 24);
static_assert(offsetof(DatabaseCursorObject, moveCount) == 28);
static_assert(offsetof(DatabaseCursorObject, owner) == 32);
static_assert(offsetof(DatabaseCursorObject, definition) == 36);
static_assert(offsetof(DatabaseCursorObject, eof) == 40);
static_assert(offsetof(DatabaseCursorObject, bof) == 41);
static_assert(offsetof(DatabaseCursorObject, editing) == 42);
static_assert(offsetof(DatabaseCursorObject, pendingEdits) == 44);
static_assert(offsetof(DatabaseCursorObject, sqlText) == 48);

// A field of a record set's current row: the instance of DatabaseCursorField
// and DatabaseField.
struct DatabaseFieldObject {
  RuntimeObject header;
  DatabaseCursorObject *recordSet; // holds one reference
  int32_t column;                  // 0-based
};
static_assert(sizeof(DatabaseFieldObject) == 32);
static_assert(offsetof(DatabaseFieldObject, recordSet) == 24);
static_assert(offsetof(DatabaseFieldObject, column) == 28);
