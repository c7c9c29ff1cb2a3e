// The interface through which the runtime drives a database engine and its
// cursors: two fixed tables of function pointers that every engine (the
// built-in one, the runtime's derived cursors, plug-in engines) fills, and the
// linked records passed through them. A null slot means the engine lacks the
// operation; every caller tests the slot before calling it.
//
// Strings passed to a slot are borrowed unless a slot says otherwise; strings
// a slot returns carry one reference for the caller. Booleans that cross this
// interface are full 32-bit 0 or 1.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

// Opaque engine-owned handles; the runtime stores them and passes them back.
struct dbDatabase;
struct dbCursor;

// Column type codes of database values; the built-in file stores the same.
enum DatabaseColumnType : int32_t {
  kColumnNull = 0,
  kColumnSmallInt = 2,   // int16, host order, length 2
  kColumnInteger = 3,    // int32, host order, length 4
  kColumnText4 = 4,      // text bytes
  kColumnText = 5,       // text bytes without terminator
  kColumnFloat = 6,      // IEEE single, host order
  kColumnDouble = 7,     // IEEE double, host order
  kColumnDate = 8,       // big-endian int16 year, month, day
  kColumnTime = 9,       // big-endian int16 hour, minute, second
  kColumnTimeStamp = 10, // big-endian int16 year, month, day, hour, minute, second
  kColumnBoolean = 12,   // one byte, non-zero is true
  kColumnBinary = 14,    // bytes
  kColumnLongText = 15,  // bytes
  kColumnLongBinary = 16,// bytes
  kColumnStringRef = 18, // the data area holds one stringStorage*, owned by the cursor
  kColumnUnknown = 255,
};

// Column-definition record (createNewTable, addTableColumn).
struct ZANTcolumnDefinition {
  ZANTcolumnDefinition *next;
  stringStorage *name;
  int32_t type;
  int32_t nullable; // 1 when NULL is allowed, 0 for NOT NULL
};
static_assert(sizeof(ZANTcolumnDefinition) == 16);

// Column-value record (addTableRecord; also the entries of a DatabaseRecord).
struct ZANTcolumnValue {
  ZANTcolumnValue *next;
  stringStorage *name;
  stringStorage *value; // text; nil stands for no value
  int32_t type;
};
static_assert(sizeof(ZANTcolumnValue) == 16);

// Column-name record (getTableRecordSet); one record named "*" asks for all.
struct ZANTcolumnName {
  ZANTcolumnName *next;
  stringStorage *name;
};
static_assert(sizeof(ZANTcolumnName) == 8);

// Condition operators and column functions of ZANTcolumnConstraints.
enum ConstraintOperator : uint32_t {
  kConstraintEqual = 0,
  kConstraintLess = 1,
  kConstraintGreater = 2,
  kConstraintLessOrEqual = 3,
  kConstraintGreaterOrEqual = 4,
  kConstraintNotEqual = 5,
  kConstraintLike = 6,
  kConstraintNotLike = 7,
  kConstraintIsNull = 8,
  kConstraintIsNotNull = 9,
  kConstraintAnd = 64,
  kConstraintOr = 65,
};
enum ConstraintFunction : uint32_t {
  kConstraintFunctionNone = 0,
  kConstraintFunctionUpper = 2,
  kConstraintFunctionLower = 3,
};

// A row condition. Leaves (operators 0-9) name a column and a value text;
// inner nodes (64 and, 65 or) have nil texts and sub-trees that may be null.
// The caller owns the tree and frees it with disposeZANTcolumnConstraint.
struct ZANTcolumnConstraints {
  ZANTcolumnConstraints *left;
  ZANTcolumnConstraints *right;
  uint32_t op;
  uint32_t function;
  stringStorage *column;
  stringStorage *value;
};
static_assert(sizeof(ZANTcolumnConstraints) == 24);

// Update record (updateFields): writes one column of the row a key selects.
struct ZANTupdateRecord {
  ZANTupdateRecord *next;
  const char *qualifiedName; // table name, "!", column name
  int32_t qualifiedNameLength;
  const char *key; // text of an SQL condition selecting the row
  int32_t keyLength;
  stringStorage *value; // nil means NULL
};
static_assert(sizeof(ZANTupdateRecord) == 24);

// Pending-edit record (updateRow); the list runs newest first, one record per
// edited column, and holds a reference on each value.
struct ZANTpendingEdit {
  ZANTpendingEdit *next;
  int32_t column; // 0-based
  stringStorage *value; // nil means NULL
};
static_assert(sizeof(ZANTpendingEdit) == 12);

struct dbEngineDefinition {
  int32_t version; // 4
  int32_t flags;
  void (*closeDatabase)(dbDatabase *db);
  RuntimeObject *(*getTableSchema)(dbDatabase *db);
  RuntimeObject *(*getFieldSchema)(dbDatabase *db, stringStorage *table);
  RuntimeObject *(*directSQLSelect)(dbDatabase *db, stringStorage *sql);
  void (*directSQLExecute)(dbDatabase *db, stringStorage *sql);
  void (*createNewTable)(dbDatabase *db, stringStorage *table, ZANTcolumnDefinition *columns,
                         const uint8_t *keyColumns, int32_t keyCount);
  void (*addTableRecord)(dbDatabase *db, stringStorage *table, ZANTcolumnValue *values);
  RuntimeObject *(*getTableRecordSet)(dbDatabase *db, stringStorage *table, ZANTcolumnName *columns,
                                      ZANTcolumnConstraints *condition);
  void (*updateFields)(dbDatabase *db, ZANTupdateRecord *updates);
  void (*addTableColumn)(dbDatabase *db, stringStorage *table, ZANTcolumnDefinition *column);
  RuntimeObject *(*getIndexSchema)(dbDatabase *db, int32_t argument);
  int32_t (*getLastErrorCode)(dbDatabase *db);
  stringStorage *(*getLastErrorString)(dbDatabase *db);
  void (*commitChanges)(dbDatabase *db);
  void (*rollbackChanges)(dbDatabase *db);
  stringStorage *(*getEngineProperty)(dbDatabase *db, stringStorage *name);
};
static_assert(sizeof(dbEngineDefinition) == 72);
static_assert(offsetof(dbEngineDefinition, closeDatabase) == 8);
static_assert(offsetof(dbEngineDefinition, getTableRecordSet) == 36);
static_assert(offsetof(dbEngineDefinition, getEngineProperty) == 68);

struct ZANTdbCursorDefinition {
  int32_t version; // 4
  int32_t flags;
  void (*closeCursor)(dbCursor *cursor);
  int32_t (*getColumnCount)(dbCursor *cursor);
  stringStorage *(*getColumnName)(dbCursor *cursor, int32_t column);
  int32_t (*getRowCount)(dbCursor *cursor);
  // The data stays owned by the cursor until releaseValue or the next call.
  void (*getColumnValue)(dbCursor *cursor, int32_t column, void **data, uint8_t *type,
                         int32_t *length);
  void (*releaseValue)(dbCursor *cursor);
  int32_t (*nextRow)(dbCursor *cursor); // 0 when there is no current row any more
  void (*deleteRow)(dbCursor *cursor);
  void *reserved; // never filled, never called
  int32_t (*getFieldKey)(dbCursor *cursor, int32_t column, const char **name,
                         int32_t *nameLength, const char **key, int32_t *keyLength);
  void (*updateRow)(dbCursor *cursor, ZANTpendingEdit *edits);
  void (*editRow)(dbCursor *cursor);
  int32_t (*previousRow)(dbCursor *cursor);
  int32_t (*firstRow)(dbCursor *cursor);
  int32_t (*lastRow)(dbCursor *cursor);
  int32_t (*getColumnType)(dbCursor *cursor, int32_t column);
};
static_assert(sizeof(ZANTdbCursorDefinition) == 72);
static_assert(offsetof(ZANTdbCursorDefinition, closeCursor) == 8);
static_assert(offsetof(ZANTdbCursorDefinition, nextRow) == 32);
static_assert(offsetof(ZANTdbCursorDefinition, reserved) == 40);
static_assert(offsetof(ZANTdbCursorDefinition, getColumnType) == 68);

inline constexpr int32_t kDatabaseDefinitionVersion = 4;
