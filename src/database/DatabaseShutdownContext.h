// The list of every open RecordSet and connected Database, so that the exit
// sequence closes them (record sets first, databases after) while each engine
// is still loaded. It is a shutdown task: its destruction at exit does the
// closing. The entries hold no references; objects leave when they close.
#pragma once
#include <cstdint>

#include "foundation/ShutdownTasks.h"
#include "runtime/objects/RuntimeObject.h"

struct DatabaseObject;
struct DatabaseCursorObject;

class dbShutdownContext final : public runShutdownTask {
public:
  explicit dbShutdownContext(uint8_t unused);
  ~dbShutdownContext() override;

  struct DatabaseEntry {
    DatabaseEntry *next;
    DatabaseObject *database;
  };
  struct CursorEntry {
    CursorEntry *next;
    DatabaseCursorObject *recordSet;
  };

  dbShutdownContext *nextContext = nullptr; // every context, newest first
  DatabaseEntry *databases = nullptr;       // newest first
  CursorEntry *recordSets = nullptr;        // newest first
};

// The context, made on first use.
dbShutdownContext *getDBShutdownContext();
void addDBShutdownContextCursor(dbShutdownContext *context, DatabaseCursorObject *recordSet);
void addDBShutdownContextDatabase(dbShutdownContext *context, DatabaseObject *database);
// Unlink the first entry naming the object in any context; unknown objects
// are ignored.
void removeDBShutdownContextCursor(DatabaseCursorObject *recordSet);
void removeDBShutdownContextDatabase(DatabaseObject *database);
// Closes every listed record set whose owner is the database.
void closeDBShutdownContextCursorsForDatabase(DatabaseObject *database);
// Closes every record set of the context, then every database.
void closeDBShutdownContextConnections(dbShutdownContext *context);
