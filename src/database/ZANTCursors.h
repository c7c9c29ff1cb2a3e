// The built-in engine's cursors: the table cursor (also behind the table
// schema) and the field-schema cursor, with their definitions.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "database/DatabaseEngine.h"
#include "database/RowConditions.h"
#include "database/StorageRows.h"
#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

struct ZANTTable;

struct dbCursor {
  struct Column {
    string name;
    int16_t number;
    int16_t type;
  };
  dbDatabase *db = nullptr; // nil once the database closed
  string tableName;
  ZANTTable *table = nullptr; // holds a reference; none for the schema cursors
  qvdbCursor *storage = nullptr; // nil once the rows are exhausted
  std::vector<Column> columns;
  std::unique_ptr<keyConstraint> key;
  std::unique_ptr<qvDatabaseConstraint> condition;
  std::vector<uint8_t> seekKey; // when the condition fixes the primary key
  bool seeking = false;
  bool fieldSchema = false;
  int32_t fieldSchemaTable = 0;
  string qualifiedName, keyText;
  ColumnValue value;
  std::vector<uint8_t> blob; // a BLOB read by the last column value
  uint8_t schemaByte = 0;
  int16_t schemaShort = 0;
  int32_t schemaInteger = 0;
};

extern ZANTdbCursorDefinition gZANTTableCursorDefinition;
extern ZANTdbCursorDefinition gZANTFieldSchemaCursorDefinition;

// Engine slots.
RuntimeObject *GetTableSchemaSlot(dbDatabase *db);
RuntimeObject *GetFieldSchemaSlot(dbDatabase *db, stringStorage *table);
RuntimeObject *GetTableRecordSetSlot(dbDatabase *db, stringStorage *table, ZANTcolumnName *columns,
                                     ZANTcolumnConstraints *condition);
// Ends every storage cursor of the database before its file closes.
void CutCursorsLoose(dbDatabase *db);
