// The class ZANTDatabaseOldFormat: a Database over the built-in engine that
// names its file by a folder item and connects or creates it on request.
#include <iterator>

#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/DatabaseShutdownContext.h"
#include "database/ZANTDatabase.h"
#include "database/ZANTEngine.h"
#include "files/FolderItemClass.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {
// clang-format off
ObjectInstanceTemplate ZANTDatabaseInstances[] = {
    {0, "DatabaseFile", nullptr, EntryCode(ZANTDatabaseFolderItemGetter),
     "ZANTDatabaseFolderItemGetter", EntryCode(ZANTDatabaseFolderItemSetter),
     "ZANTDatabaseFolderItemSetter", 0, 0},
};
PropertyMethod ZANTDatabaseMethods[] = {
    {"Connect", &booleanType.type, nullptr, 0,
     {{EntryCode(ZANTDatabaseConnect), "ZANTDatabaseConnect", {}}, {}}, 0, 0, 0},
    {"CreateDatabaseFile", &booleanType.type, nullptr, 0,
     {{EntryCode(ZANTDatabaseCreateDatabaseFile), "ZANTDatabaseCreateDatabaseFile", {}}, {}}, 0, 0, 0},
};
// clang-format on

ZANTDatabaseObject *Self(RuntimeObject *object) {
  return reinterpret_cast<ZANTDatabaseObject *>(object);
}

bool FileGiven(ZANTDatabaseObject *self) {
  if (self->databaseFile)
    return true;
  ZANTDatabaseSetError(&self->base.header, 1, "A Database file was not specified");
  return false;
}

// A file that could not be opened or created: the reason, when there is
// one, becomes the Database's own error.
int32_t Refused(ZANTDatabaseObject *self, const string &failure) {
  if (!failure.IsEmpty())
    ZANTDatabaseSetError(&self->base.header, kZANTErrorFile,
                         (string("Database file error: ") + failure).CString());
  return 0;
}

// Closes and frees the handle this object holds, committing what it wrote,
// before another handle opens the file: a handle opened first would read a
// catalogue and block count that the commit then makes stale.
void DropHandle(ZANTDatabaseObject *self) {
  DatabaseObject &base = self->base;
  if (!base.handle) return;
  closeDBShutdownContextCursorsForDatabase(&base);
  FreeZANTHandle(base.handle);
  base.handle = nullptr;
  base.connected = false;
}

// Takes a new handle, and lists this object for closing at exit (once).
void TakeHandle(ZANTDatabaseObject *self, dbDatabase *handle) {
  DatabaseObject &base = self->base;
  base.handle = handle;
  base.definition = &gZANTEngineDefinition;
  removeDBShutdownContextDatabase(&base);
  addDBShutdownContextDatabase(getDBShutdownContext(), &base);
}
} // namespace

ObjectDefinition *ZANTDatabaseClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "ZANTDatabaseOldFormat", DatabaseClass(),
                               sizeof(ZANTDatabaseObject)))
    return &defn;
  ZANTDatabaseInstances[0].type = FolderItemClass()->AsType();
  defn.constructor = ZANTDatabaseConstructor;
  defn.destructor = ZANTDatabaseDestructor;
  defn.SetPropertyListHead(FillInstances(ZANTDatabaseInstances, std::size(ZANTDatabaseInstances)));
  defn.methods = FillMethods(ZANTDatabaseMethods, std::size(ZANTDatabaseMethods));
  return &defn;
}

void ZANTDatabaseConstructor(RuntimeObject *object) {
  Self(object)->base.definition = &gZANTEngineDefinition;
}

void ZANTDatabaseDestructor(RuntimeObject *object) {
  ZANTDatabaseObject *self = Self(object);
  // Close frees the handle record; the Database part's own close then finds
  // no handle.
  databaseClose(object);
  RuntimeUnlockObject(self->databaseFile);
  self->databaseFile = nullptr;
}

extern "C" RuntimeObject *ZANTDatabaseFolderItemGetter(RuntimeObject *object, int32_t) {
  RuntimeObject *file = Self(object)->databaseFile;
  RuntimeLockObject(file);
  return file;
}

extern "C" void ZANTDatabaseFolderItemSetter(RuntimeObject *object, int32_t, RuntimeObject *value) {
  ZANTDatabaseObject *self = Self(object);
  RuntimeLockUnlockObjects(value, self->databaseFile);
  self->databaseFile = value;
}

extern "C" int32_t ZANTDatabaseConnect(RuntimeObject *object) {
  ZANTDatabaseObject *self = Self(object);
  if (!FileGiven(self))
    return 0;
  DropHandle(self);
  string failure;
  dbDatabase *handle = OpenZANTHandle(self->databaseFile, &failure);
  if (!handle)
    return Refused(self, failure);
  TakeHandle(self, handle);
  self->base.connected = true;
  return 1;
}

extern "C" int32_t ZANTDatabaseCreateDatabaseFile(RuntimeObject *object) {
  ZANTDatabaseObject *self = Self(object);
  if (!FileGiven(self))
    return 0;
  bool connected = self->base.connected;
  DropHandle(self);
  string failure;
  dbDatabase *handle = CreateZANTHandle(self->databaseFile, &failure);
  if (!handle)
    return Refused(self, failure);
  self->base.connected = connected;
  // Connected stays as it was: a later Connect opens the file for use.
  TakeHandle(self, handle);
  return 1;
}
