/* The built-in database as a program uses it: NewZANTDatabaseOldFormat makes
 * a file next to the program, OpenZANTDatabaseOldFormat reopens it, and a
 * ZANTDatabaseOldFormat object connects to it by its DatabaseFile and adds a
 * table, then the program ends without closing it: the exit closes it. A
 * missing or foreign file gives nil. Reports through its exit status: 0 when
 * every check held (the normal end), otherwise the number of the first check
 * that failed. */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

RuntimeObject *RuntimeGetFolderItem(stringStorage *path);
RuntimeObject *newZANTDatabase(RuntimeObject *file);
RuntimeObject *openZANTDatabase(RuntimeObject *file);
void databaseClose(RuntimeObject *database);
void ZANTDatabaseFolderItemSetter(RuntimeObject *object, int32_t param, RuntimeObject *file);
int32_t ZANTDatabaseConnect(RuntimeObject *object);

/* The built-in engine's definition and handle, as the Database fields hold
 * them, and a column definition record. */
enum { kHandleOffset = 24, kDefinitionOffset = 28, kConnectedOffset = 68 };
struct ColumnDefinition {
  struct ColumnDefinition *next;
  stringStorage *name;
  int32_t type;
  int32_t nullable;
};
typedef void (*CreateTableSlot)(void *db, stringStorage *name, struct ColumnDefinition *columns,
                                const uint8_t *keys, int32_t keyCount);

static void Check(int32_t number, int32_t holds) {
  if (!holds)
    _exit(number);
}

static void *Field(RuntimeObject *object, int32_t offset) {
  return *(void **)((char *)object + offset);
}

void ImageEntry(void) {
  RuntimeObject *file, *made, *opened, *object, *missing, *foreign;
  RuntimeClass *cls;
  struct ColumnDefinition column;
  static const uint8_t key[1] = {0};
  RuntimeInit();
  file = RuntimeGetFolderItem(KIT_STRING("database_files.db"));
  Check(1, file != 0);
  made = newZANTDatabase(file);
  Check(2, made != 0);
  databaseClose(made);
  RuntimeUnlockObject(made);

  opened = openZANTDatabase(file);
  Check(3, opened != 0);
  Check(4, *((char *)opened + kConnectedOffset) == 1);
  databaseClose(opened);
  RuntimeUnlockObject(opened);

  cls = SubclassOf(KIT_STRING("ZANTDatabaseOldFormat"));
  Check(5, cls != 0);
  object = RuntimeNewObject(cls);
  ZANTDatabaseFolderItemSetter(object, 0, file);
  Check(6, ZANTDatabaseConnect(object) == 1);
  column.next = 0;
  column.name = KIT_STRING("id");
  column.type = 3;
  column.nullable = 0;
  ((CreateTableSlot)((void **)Field(object, kDefinitionOffset))[7])(Field(object, kHandleOffset),
                                                                      KIT_STRING("left_open"), &column, key, 1);

  missing = RuntimeGetFolderItem(KIT_STRING("database_files_missing.db"));
  Check(7, openZANTDatabase(missing) == 0);
  foreign = RuntimeGetFolderItem(KIT_STRING("database_files_foreign.db"));
  Check(8, openZANTDatabase(foreign) == 0);
  /* The object stays open and connected: the exit closes it. */
}
