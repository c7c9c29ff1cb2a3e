/* The runtime's SQL under an application image: a new database file of the
 * built-in engine next to the image, CREATE TABLE, four INSERTs, a DELETE
 * with LIKE and COMMIT through databaseSQLExecute, then a sorted SELECT
 * through databaseSQLSelect read field by field; the database is closed and
 * the image exits. The test then reopens the file. Exit status 42 is
 * success, any other the number of the first failed check. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void *RuntimeGetFolderItem(stringStorage *path);
void *newZANTDatabase(void *file);
void databaseSQLExecute(void *database, stringStorage *sql);
void *databaseSQLSelect(void *database, stringStorage *sql);
void databaseClose(void *database);
void cursorMoveNext(void *recordSet);
void cursorClose(void *recordSet);
void *cursorGetFieldByIndex(void *recordSet, int32_t index);
stringStorage *cursorFieldStringValueGetter(void *field);

enum { kErrorCodeOffset = 44, kEofOffset = 40 };

static int sFailed;

static void Check(int condition, int number) {
  if (!condition && !sFailed)
    sFailed = number;
}

static int32_t ErrorCode(void *database) { return *(int32_t *)((char *)database + kErrorCodeOffset); }

static int Eof(void *recordSet) { return *((char *)recordSet + kEofOffset) != 0; }

static int FieldIs(void *recordSet, int32_t index, const char *text) {
  void *field = cursorGetFieldByIndex(recordSet, index);
  stringStorage *value = field ? cursorFieldStringValueGetter(field) : 0;
  int32_t length = 0;
  while (text[length])
    ++length;
  if (!value)
    return length == 0;
  if (value->length != length)
    return 0;
  for (int32_t i = 0; i < length; ++i)
    if (value->buffer[1 + i] != (unsigned char)text[i])
      return 0;
  return 1;
}

void ImageEntry(void) {
  void *database = newZANTDatabase(RuntimeGetFolderItem(KIT_STRING("database_sql.db")));
  if (!database)
    _exit(1);
  databaseSQLExecute(database, KIT_STRING("CREATE TABLE people (id integer, name varchar(20), PRIMARY KEY (id))"));
  Check(ErrorCode(database) == 0, 2);
  databaseSQLExecute(database, KIT_STRING("INSERT INTO people (id, name) VALUES (1, 'anna')"));
  databaseSQLExecute(database, KIT_STRING("INSERT INTO people (id, name) VALUES (2, 'bert')"));
  databaseSQLExecute(database, KIT_STRING("INSERT INTO people (id, name) VALUES (3, 'anton')"));
  databaseSQLExecute(database, KIT_STRING("INSERT INTO people (name, id) VALUES ('carl', 4);"));
  Check(ErrorCode(database) == 0, 3);
  databaseSQLExecute(database, KIT_STRING("DELETE FROM people WHERE name LIKE 'an%'"));
  Check(ErrorCode(database) == 0, 4);
  databaseSQLExecute(database, KIT_STRING("DELETE FROM people WHRE id = 2"));
  Check(ErrorCode(database) == 201, 5);
  databaseSQLExecute(database, KIT_STRING("COMMIT"));
  Check(ErrorCode(database) == 0, 6);

  void *rows = databaseSQLSelect(database, KIT_STRING("SELECT name, id FROM people ORDER BY id DESC"));
  Check(rows != 0, 7);
  if (rows) {
    Check(!Eof(rows) && FieldIs(rows, 1, "carl") && FieldIs(rows, 2, "4"), 8);
    cursorMoveNext(rows);
    Check(!Eof(rows) && FieldIs(rows, 1, "bert") && FieldIs(rows, 2, "2"), 9);
    cursorMoveNext(rows);
    Check(Eof(rows), 10);
    cursorClose(rows);
  }
  databaseClose(database);
  _exit(sFailed ? sFailed : 42);
}
