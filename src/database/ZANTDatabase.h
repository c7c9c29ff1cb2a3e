// The built-in engine's handle: the storage database, the catalogue of user
// tables with their columns and primary keys, and the last error.
#pragma once
#include <cstdint>
#include <vector>

#include "database/DatabaseEngine.h"
#include "database/StorageRows.h"
#include "foundation/String.h"

// Error codes of the built-in engine.
enum : int32_t {
  kZANTErrorExists = 2000,
  kZANTErrorInternal = 2001,
  kZANTErrorColumnType = 2002,
  kZANTErrorInvalid = 2003,
  kZANTErrorBlob = 2004,
  kZANTErrorDuplicateKey = 2005,
  kZANTErrorTooLong = 2006,
  kZANTErrorFile = 2009, // the file failed to read or write, or is damaged
};

struct ZANTColumn {
  int16_t number = 0;
  string name;
  uint8_t allowsNull = 1;
  int32_t type = 0;
};

struct ZANTTable {
  int32_t refCount = 0;
  bool released = false; // the database closed; the last cursor frees it
  string name;
  int32_t id = 0;
  std::vector<ZANTColumn> columns; // ordered by name, as "sys$fields" holds them
  uint8_t primaryKey[256] = {};
  int primaryKeyCount = 0;

  string StreamName() const;
  const ZANTColumn *Column(int number) const;
};

struct dbDatabase {
  qvdbDatabase *storage = nullptr;
  std::vector<ZANTTable *> tables;
  std::vector<dbCursor *> cursors; // open cursors, cut loose when the file closes
  int32_t lastError = 0;
  string lastErrorText;
};

inline bool SameName(const string &a, const string &b) {
  return dbformat::SameName(a.CString(), a.Length(), b.CString(), b.Length());
}

// The stream names of the system tables.
extern const char kSysTables[], kSysFields[], kSysBlob[];

void SetZANTError(dbDatabase *db, int32_t code, const string &text);
// Reports the storage engine's failure (I/O or damage) as error 2009.
void SetZANTFileError(dbDatabase *db);
ZANTTable *FindZANTTable(dbDatabase *db, const string &name);
void ReleaseZANTTable(ZANTTable *table);

// Text to a stored field by the column's declared type. Answers 0, or the
// error code (2003 with "Invalid date format"/"Invalid time format", or for
// a number out of an integer column's range; 2004)
// with its message; `present` is false for types that store nothing.
int32_t ConvertColumnText(dbDatabase *db, int32_t type, stringStorage *text, RowField &field,
                          bool &present, string &message);
// Whether the engine stores values of the type.
bool SupportedColumnType(int32_t type);
