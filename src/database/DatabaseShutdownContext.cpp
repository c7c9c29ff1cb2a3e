#include "database/DatabaseShutdownContext.h"

#include "database/DatabaseInterface.h"

namespace {
dbShutdownContext *gContext = nullptr;      // what getDBShutdownContext answers
dbShutdownContext *gContextList = nullptr;  // every context, newest first
} // namespace

dbShutdownContext::dbShutdownContext(uint8_t) : runShutdownTask("dbShutdownContext") {
  nextContext = gContextList;
  gContextList = this;
}

dbShutdownContext::~dbShutdownContext() {
  closeDBShutdownContextConnections(this);
  if (gContext == this) gContext = nullptr;
  for (dbShutdownContext **link = &gContextList; *link; link = &(*link)->nextContext) {
    if (*link == this) {
      *link = nextContext;
      break;
    }
  }
  // Objects still listed (a close that failed to unlink) are not ours to free.
  while (databases) {
    DatabaseEntry *next = databases->next;
    delete databases;
    databases = next;
  }
  while (recordSets) {
    CursorEntry *next = recordSets->next;
    delete recordSets;
    recordSets = next;
  }
}

dbShutdownContext *getDBShutdownContext() {
  if (!gContext) gContext = new dbShutdownContext(0);
  return gContext;
}

void addDBShutdownContextCursor(dbShutdownContext *context, DatabaseCursorObject *recordSet) {
  context->recordSets = new dbShutdownContext::CursorEntry{context->recordSets, recordSet};
}

void addDBShutdownContextDatabase(dbShutdownContext *context, DatabaseObject *database) {
  context->databases = new dbShutdownContext::DatabaseEntry{context->databases, database};
}

namespace {
// Unlinks and frees the first entry whose object is the given one.
template <typename Entry, typename Object>
bool RemoveEntry(Entry *&head, Object *object, Object *Entry::*field) {
  for (Entry **link = &head; *link; link = &(*link)->next) {
    if ((*link)->*field == object) {
      Entry *found = *link;
      *link = found->next;
      delete found;
      return true;
    }
  }
  return false;
}

// Closes the record sets of one context, those of the owner only when one is
// given. Closing one can close others and free their entries (a SELECT's
// record set releases the tables it read), so the walk starts again from the
// head after every close; a record set still listed after its close is
// unlinked here, so every turn shortens the list.
void CloseRecordSets(dbShutdownContext *context, DatabaseObject *owner) {
  for (;;) {
    dbShutdownContext::CursorEntry *entry = context->recordSets;
    while (entry && owner && entry->recordSet->owner != owner) entry = entry->next;
    if (!entry) return;
    DatabaseCursorObject *recordSet = entry->recordSet;
    cursorClose(&recordSet->header);
    RemoveEntry(context->recordSets, recordSet, &dbShutdownContext::CursorEntry::recordSet);
  }
}
} // namespace

void removeDBShutdownContextCursor(DatabaseCursorObject *recordSet) {
  for (dbShutdownContext *c = gContextList; c; c = c->nextContext)
    if (RemoveEntry(c->recordSets, recordSet, &dbShutdownContext::CursorEntry::recordSet)) return;
}

void removeDBShutdownContextDatabase(DatabaseObject *database) {
  for (dbShutdownContext *c = gContextList; c; c = c->nextContext)
    if (RemoveEntry(c->databases, database, &dbShutdownContext::DatabaseEntry::database)) return;
}

void closeDBShutdownContextCursorsForDatabase(DatabaseObject *database) {
  for (dbShutdownContext *c = gContextList; c; c = c->nextContext) CloseRecordSets(c, database);
}

void closeDBShutdownContextConnections(dbShutdownContext *context) {
  CloseRecordSets(context, nullptr);
  // From the head each time, as with the record sets.
  while (dbShutdownContext::DatabaseEntry *entry = context->databases) {
    DatabaseObject *database = entry->database;
    databaseClose(&database->header);
    RemoveEntry(context->databases, database, &dbShutdownContext::DatabaseEntry::database);
  }
}
