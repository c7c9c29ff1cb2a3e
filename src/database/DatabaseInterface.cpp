// The Database and RecordSet objects over engine handles: wrapping handles,
// the deferred connection, the own error, moving, closing.
#include "database/DatabaseInterface.h"

#include <cstring>

#include "database/DatabaseClasses.h"
#include "database/DatabaseFormat.h"
#include "database/DatabaseShutdownContext.h"
#include "database/PluginDataSources.h"
#include "database/ZANTEngine.h"

namespace {
// Cursors written as C may answer a Boolean in the low byte only.
bool Truth(int32_t value) { return (value & 0xFF) != 0; }
} // namespace

extern "C" RuntimeObject *ZANTdbDatabaseFromDBDatabase(dbDatabase *handle,
                                                      dbEngineDefinition *definition) {
  if (!handle) return nullptr;
  auto *database = reinterpret_cast<DatabaseObject *>(NewDatabaseObject(DatabaseClass()));
  if (!database) return nullptr;
  database->handle = handle;
  database->definition = definition;
  database->connected = true;
  addDBShutdownContextDatabase(getDBShutdownContext(), database);
  return &database->header;
}

extern "C" RuntimeObject *ZANTdbCursorFromDBCursor(dbCursor *handle,
                                                  ZANTdbCursorDefinition *definition) {
  if (!handle) return nullptr;
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(NewDatabaseObject(RecordSetClass()));
  if (!recordSet) return nullptr;
  recordSet->handle = handle;
  recordSet->definition = definition;
  cursorMoveNext(&recordSet->header);
  recordSet->bof = recordSet->eof;
  addDBShutdownContextCursor(getDBShutdownContext(), recordSet);
  return &recordSet->header;
}

extern "C" void disposeZANTcolumnConstraint(ZANTcolumnConstraints *node) {
  if (!node) return;
  disposeZANTcolumnConstraint(node->left);
  disposeZANTcolumnConstraint(node->right);
  stringStorage::RemoveReference(node->column);
  stringStorage::RemoveReference(node->value);
  delete node;
}

extern "C" void ZANTDatabaseSetError(RuntimeObject *object, int32_t code, const char *message) {
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  if (!database) return;
  database->errorCode = code;
  stringStorage *old = database->errorMessage;
  database->errorMessage = message ? string(message).ExtractStringStorage() : nullptr;
  stringStorage::RemoveReference(old);
}

extern "C" RuntimeObject *connectDatabase(stringStorage *engineName, void *data, int32_t length) {
  string name = string::Borrow(engineName);
  RuntimeObject *result = dbformat::SameName(name.CString(), name.Length(), "zantdb", 6)
                              ? connectZANTDatabase(data, length)
                              : ConnectPluginDataSource(name, data, length);
  if (result) reinterpret_cast<DatabaseObject *>(result)->connected = true;
  return result;
}

bool demandConnectDatabase(DatabaseObject *database) {
  if (!database) return false;
  if (database->handle && database->connected) return true;
  if (database->connectionDataLength == 0) return false;
  RuntimeObject *made = connectDatabase(database->engineName, database->connectionData,
                                        database->connectionDataLength);
  if (!made) return false;
  auto *other = reinterpret_cast<DatabaseObject *>(made);
  // The new object is listed for closing; it hands its connection over.
  removeDBShutdownContextDatabase(other);
  database->handle = other->handle;
  database->definition = other->definition;
  other->handle = nullptr;
  other->definition = nullptr;
  other->connected = false;
  database->connected = true;
  RuntimeUnlockObject(made);
  addDBShutdownContextDatabase(getDBShutdownContext(), database);
  return true;
}

extern "C" void PluginRegisterDBEngine(dbEngineDefinition *definition) {
  if (definition) *reinterpret_cast<uint8_t *>(&definition->flags) = 0;
}

extern "C" void PluginRegisterDBCursor(ZANTdbCursorDefinition *definition) {
  if (definition) definition->flags = 0;
}

extern "C" RuntimeObject *ZANTDBConnectionDialogCreate() { return nullptr; }
extern "C" void ZANTDBConnectionDialogAddField(RuntimeObject *, stringStorage *, stringStorage *,
                                               int32_t) {}
extern "C" RuntimeObject *ZANTDBConnectionDialogShow(RuntimeObject *) { return nullptr; }
extern "C" void ZANTDBConnectionDialogDelete(RuntimeObject *) {}

extern "C" void cursorMoveNext(RuntimeObject *object) {
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(object);
  if (!recordSet) return;
  DiscardPendingEdits(recordSet);
  ZANTdbCursorDefinition *definition = recordSet->definition;
  // A closed record set has no engine cursor to step.
  if (recordSet->handle && definition && definition->nextRow)
    recordSet->eof = !Truth(definition->nextRow(recordSet->handle));
  else
    recordSet->eof = true;
  recordSet->moveCount++;
}

extern "C" void cursorClose(RuntimeObject *object) {
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(object);
  if (!recordSet) return;
  DiscardPendingEdits(recordSet);
  if (recordSet->handle) {
    removeDBShutdownContextCursor(recordSet);
    dbCursor *handle = recordSet->handle;
    recordSet->handle = nullptr;
    if (recordSet->definition && recordSet->definition->closeCursor)
      recordSet->definition->closeCursor(handle);
    stringStorage::RemoveReference(recordSet->sqlText);
    recordSet->sqlText = nullptr;
  }
  DatabaseObject *owner = recordSet->owner;
  recordSet->owner = nullptr;
  RuntimeUnlockObject(owner ? &owner->header : nullptr);
}

extern "C" void databaseClose(RuntimeObject *object) {
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  if (!database) return;
  closeDBShutdownContextCursorsForDatabase(database);
  removeDBShutdownContextDatabase(database);
  // The engine is closed once: the handle goes with it, so that a second
  // Close, the destruction and later operations reach no closed engine.
  dbDatabase *handle = database->handle;
  database->handle = nullptr;
  database->connected = false;
  if (!handle)
    return;
  if (database->definition && database->definition->closeDatabase)
    database->definition->closeDatabase(handle);
  // The built-in engine's handle record goes with its close.
  if (database->definition == &gZANTEngineDefinition)
    FreeZANTHandle(handle);
}

DatabaseValue ReadCursorValue(DatabaseCursorObject *recordSet, int32_t column) {
  DatabaseValue value;
  if (!recordSet || !recordSet->handle) return value;
  ZANTdbCursorDefinition *definition = recordSet->definition;
  if (!definition || !definition->getColumnValue) return value;
  void *data = nullptr;
  uint8_t type = kColumnNull;
  int32_t length = 0;
  definition->getColumnValue(recordSet->handle, column, &data, &type, &length);
  value.type = type;
  if (type == kColumnStringRef) {
    // The data area holds a string the cursor owns: keep its text.
    stringStorage *text = data ? *static_cast<stringStorage **>(data) : nullptr;
    value.bytes = string::Borrow(text);
  } else if (data && length > 0) {
    value.bytes.ConstructFromBuffer(static_cast<const char *>(data), length);
  }
  if (definition->releaseValue) definition->releaseValue(recordSet->handle);
  return value;
}

void DiscardPendingEdits(DatabaseCursorObject *recordSet) {
  ZANTpendingEdit *edit = recordSet->pendingEdits;
  recordSet->pendingEdits = nullptr;
  while (edit) {
    ZANTpendingEdit *next = edit->next;
    stringStorage::RemoveReference(edit->value);
    delete edit;
    edit = next;
  }
}
