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
#include "runtime/startup/BuiltinClassBuilders.h"

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

// Takes a new handle: the old one is closed and freed, and this object is
// listed for closing at exit (once).
void TakeHandle(ZANTDatabaseObject *self, dbDatabase *handle) {
  DatabaseObject &base = self->base;
  dbDatabase *old = base.handle;
  if (old && old != handle) {
    closeDBShutdownContextCursorsForDatabase(&base);
    FreeZANTHandle(old);
  }
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
  ObjectDefinition *folderItem = FolderItemClass ? FolderItemClass() : nullptr;
  ZANTDatabaseInstances[0].type = folderItem ? folderItem->AsType() : nullptr;
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
  // Close before the handle record goes; the Database part's own close then
  // finds no handle.
  databaseClose(object);
  FreeZANTHandle(self->base.handle);
  self->base.handle = nullptr;
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
  dbDatabase *handle = OpenZANTHandle(self->databaseFile);
  if (!handle)
    return 0;
  TakeHandle(self, handle);
  self->base.connected = true;
  return 1;
}

extern "C" int32_t ZANTDatabaseCreateDatabaseFile(RuntimeObject *object) {
  ZANTDatabaseObject *self = Self(object);
  if (!FileGiven(self))
    return 0;
  dbDatabase *handle = CreateZANTHandle(self->databaseFile);
  if (!handle)
    return 0;
  // Connected stays as it was: a later Connect opens the file for use.
  TakeHandle(self, handle);
  return 1;
}
