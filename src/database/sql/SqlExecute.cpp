#include "database/sql/SqlExecute.h"

#include <memory>

#include "database/DatabaseInterface.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlStrings.h"
#include "database/sql/SqlTokenizer.h"
#include "database/sql/TableConstraint.h"
#include "database/sql/WhereClause.h"

namespace {

constexpr int32_t kMaximumKeyColumns = 256;

bool Is(const std::string &token, const char *keyword) { return sqlEqualsIgnoringCase(token, keyword); }

// The statement's table: the next token, which must be an identifier.
bool ParseTableName(SqlText &text, SqlError &error, std::string &table) {
  table = text.NextToken();
  return sqlValidIdentifier(table) || error.Fail(201, "Invalid table name");
}

// Owns the engine's column-definition list.
struct ColumnDefinitions {
  ZANTcolumnDefinition *head = nullptr, *tail = nullptr;
  int32_t count = 0;
  ~ColumnDefinitions() {
    while (head) {
      ZANTcolumnDefinition *next = head->next;
      stringStorage::RemoveReference(head->name);
      delete head;
      head = next;
    }
  }
  void Append(const std::string &name, int32_t type, bool nullable) {
    auto *column = new ZANTcolumnDefinition{nullptr, sqlStorage(name), type, nullable ? 1 : 0};
    (tail ? tail->next : head) = column;
    tail = column;
    ++count;
  }
};

// Owns the engine's column-value list.
struct ColumnValues {
  ZANTcolumnValue *head = nullptr, *tail = nullptr;
  ~ColumnValues() {
    while (head) {
      ZANTcolumnValue *next = head->next;
      stringStorage::RemoveReference(head->name);
      stringStorage::RemoveReference(head->value);
      delete head;
      head = next;
    }
  }
};

// A release of a record set on every path.
struct HeldRecordSet {
  RuntimeObject *object = nullptr;
  ~HeldRecordSet() { RuntimeUnlockObject(object); }
  DatabaseCursorObject *get() const { return reinterpret_cast<DatabaseCursorObject *>(object); }
};

// The engine's condition tree, freed on every path.
struct HeldConstraint {
  ZANTcolumnConstraints *tree = nullptr;
  ~HeldConstraint() { disposeZANTcolumnConstraint(tree); }
};

// The type of a column definition: its code, and NOT NULL.
bool ParseColumnType(SqlText &text, SqlError &error, int32_t &type, bool &nullable) {
  const std::string name = text.NextToken();
  static const struct {
    const char *name;
    int32_t type;
  } kPlainTypes[] = {{"smallint", kColumnSmallInt}, {"integer", kColumnInteger}, {"float", kColumnFloat},
                     {"double", kColumnDouble},     {"date", kColumnDate},       {"time", kColumnTime},
                     {"timestamp", kColumnTimeStamp}, {"boolean", kColumnBoolean}};
  type = -1;
  if (Is(name, "char") || Is(name, "character") || Is(name, "varchar")) {
    type = kColumnText;
    if (text.NextToken() == "(") {
      if (!sqlValidInteger(text.NextToken()))
        return error.Fail(201, "Invalid field constraint");
      if (text.NextToken() != ")")
        return error.Fail(200, "Expecting ')'");
    } else {
      text.PushBack();
    }
  } else if (Is(name, "long")) {
    const std::string second = text.NextToken();
    if (Is(second, "varchar"))
      type = kColumnLongText;
    else if (Is(second, "varbinary"))
      type = kColumnLongBinary;
  } else {
    for (const auto &plain : kPlainTypes)
      if (Is(name, plain.name))
        type = plain.type;
  }
  if (type < 0)
    return error.Fail(200, "Expecting field type");
  nullable = true;
  if (Is(text.NextToken(), "not")) {
    if (!Is(text.NextToken(), "null"))
      return error.Fail(200, "Expecting 'NULL'");
    nullable = false;
  } else {
    text.PushBack();
  }
  return true;
}

// Anything left after a complete statement is refused: a misspelt keyword
// must not widen what the statement touches.
bool ExpectEnd(SqlText &text, SqlError &error) {
  const std::string token = text.NextToken();
  return token.empty() || error.Fail(201, "Unexpected " + token);
}

bool CreateTable(DatabaseObject *database, SqlText &text, SqlError &error) {
  if (!Is(text.NextToken(), "table")) {
    text.PushBack();
    return error.Fail(200, "Unsupported statement: CREATE " + text.NextToken());
  }
  std::string table;
  if (!ParseTableName(text, error, table))
    return false;
  if (text.NextToken() != "(")
    return error.Fail(200, "Expecting '('");
  ColumnDefinitions columns;
  std::vector<std::string> names;
  std::vector<uint8_t> keys;
  for (;;) {
    const std::string name = text.NextToken();
    if (Is(name, "primary")) {
      if (!Is(text.NextToken(), "key"))
        return error.Fail(200, "Expecting 'KEY'");
      if (text.NextToken() != "(")
        return error.Fail(200, "Expecting '('");
      for (;;) {
        const std::string key = text.NextToken();
        if (!sqlValidIdentifier(key))
          return error.Fail(201, "Invalid column name");
        size_t position = 0;
        while (position < names.size() && !sqlEqualsIgnoringCase(names[position], key))
          ++position;
        if (position == names.size())
          return error.Fail(201, "Invalid column");
        if (position > 255 || static_cast<int32_t>(keys.size()) >= kMaximumKeyColumns)
          return error.Fail(201, "Too many columns");
        keys.push_back(static_cast<uint8_t>(position));
        const std::string separator = text.NextToken();
        if (separator == ")")
          break;
        if (separator != ",")
          return error.Fail(201, "Expecting ',' or ')'");
      }
      // The key clause ends the definition.
      text.NextToken();
      break;
    }
    int32_t type = 0;
    bool nullable = true;
    if (!ParseColumnType(text, error, type, nullable))
      return false;
    if (!sqlValidIdentifier(name))
      return error.Fail(201, "Invalid column name");
    columns.Append(name, type, nullable);
    names.push_back(name);
    const std::string separator = text.NextToken();
    if (separator == ")")
      break;
    if (separator != ",")
      return error.Fail(200, "Expecting ',' or ')'");
  }
  if (!ExpectEnd(text, error))
    return false;
  if (database->definition->createNewTable)
    database->definition->createNewTable(database->handle, sqlString(table).Storage(), columns.head,
                                         keys.data(), static_cast<int32_t>(keys.size()));
  return true;
}

bool AlterTable(DatabaseObject *database, SqlText &text, SqlError &error) {
  if (!Is(text.NextToken(), "table")) {
    text.PushBack();
    return error.Fail(200, "Unsupported statement: ALTER " + text.NextToken());
  }
  std::string table;
  if (!ParseTableName(text, error, table))
    return false;
  const std::string action = text.NextToken();
  if (Is(action, "drop"))
    return error.Fail(2008, "Dropping columns is not supported for this database");
  if (!Is(action, "add"))
    return error.Fail(200, "Expected 'ADD'");
  std::string name = text.NextToken();
  if (Is(name, "column"))
    name = text.NextToken();
  int32_t type = 0;
  bool nullable = true;
  if (!ParseColumnType(text, error, type, nullable))
    return false;
  if (!sqlValidIdentifier(name))
    return error.Fail(201, "Invalid column name");
  if (!ExpectEnd(text, error))
    return false;
  if (database->definition->addTableColumn) {
    ColumnDefinitions column;
    column.Append(name, type, nullable);
    database->definition->addTableColumn(database->handle, sqlString(table).Storage(), column.head);
  }
  return true;
}

// A value of SET or VALUES: a quoted text loses its quotes; a number stays as
// it is written. isNull reports the bare word NULL.
bool ParseValue(SqlText &text, SqlError &error, std::string &value, bool &isNull) {
  const std::string token = text.NextToken();
  isNull = Is(token, "null");
  if (token.empty() || token == "," || token == ")" || token == "(" || token == "=")
    return error.Fail(200, "Expected a value");
  value = sqlLiteralText(token);
  return true;
}

// Every WHERE leaf must name a column of the table (and, when qualified,
// the table itself).
bool CheckWhereColumns(const selectConstraint *node, const std::string &table,
                       const std::vector<std::string> &columns, SqlError &error) {
  if (!node)
    return true;
  if (!node->IsLeaf())
    return CheckWhereColumns(node->left.get(), table, columns, error) &&
           CheckWhereColumns(node->right.get(), table, columns, error);
  bool known = node->leftTable.empty() || sqlEqualsIgnoringCase(node->leftTable, table);
  bool named = false;
  for (const std::string &column : columns)
    named = named || sqlEqualsIgnoringCase(column, node->column);
  return (known && named) || error.Fail(206, "Unknown column: " + node->column);
}

// The optional "where condition" of UPDATE and DELETE, up to the end of the
// statement.
bool ParseOptionalWhere(SqlText &text, SqlError &error, std::unique_ptr<selectConstraint> &where) {
  const std::string token = text.NextToken();
  if (token.empty())
    return true;
  if (!Is(token, "where"))
    return error.Fail(201, "Unexpected " + token);
  return ParseSelectConstraint(text, error, where) && ExpectEnd(text, error);
}

// Opens the rows of table that where selects, after checking the table and
// the condition's columns against the table's field schema.
bool OpenRows(DatabaseObject *database, const std::string &table, const selectConstraint *where, SqlError &error,
              HeldRecordSet &rows) {
  HeldConstraint condition;
  if (!BuildTableConstraint(where, error, condition.tree))
    return false;
  std::vector<std::string> columns;
  const bool haveSchema = database->definition->getFieldSchema != nullptr;
  if (haveSchema && !sqlTableColumns(database, table, columns))
    return error.Fail(202, "Invalid table " + table);
  if (haveSchema && !CheckWhereColumns(where, table, columns, error))
    return false;
  if (!database->definition->getTableRecordSet)
    return error.Fail(202, "Invalid table " + table);
  ZANTcolumnName all{nullptr, sqlStorage("*")};
  rows.object = database->definition->getTableRecordSet(database->handle, sqlString(table).Storage(), &all,
                                                        condition.tree);
  stringStorage::RemoveReference(all.name);
  if (!rows.object)
    return error.Fail(202, "Invalid table " + table);
  return true;
}

int32_t EngineErrorCode(DatabaseObject *database) {
  return database->definition->getLastErrorCode ? database->definition->getLastErrorCode(database->handle) : 0;
}

bool Update(DatabaseObject *database, SqlText &text, SqlError &error) {
  std::string table;
  if (!ParseTableName(text, error, table))
    return false;
  if (!Is(text.NextToken(), "set"))
    return error.Fail(200, "Expecting 'SET'");
  std::vector<std::pair<std::string, std::string>> assignments;
  for (;;) {
    const std::string column = text.NextToken();
    if (!sqlValidIdentifier(column))
      return error.Fail(201, "Invalid column name");
    if (text.NextToken() != "=")
      return error.Fail(200, "Expecting '='");
    std::string value;
    bool isNull = false;
    if (!ParseValue(text, error, value, isNull))
      return false;
    if (isNull)
      return error.Fail(201, "NULL cannot be assigned to " + column);
    assignments.emplace_back(column, value);
    if (text.NextToken() != ",") {
      text.PushBack();
      break;
    }
  }
  std::unique_ptr<selectConstraint> where;
  if (!ParseOptionalWhere(text, error, where))
    return false;
  HeldRecordSet rows;
  if (!OpenRows(database, table, where.get(), error, rows))
    return false;
  DatabaseCursorObject *recordSet = rows.get();
  std::vector<std::pair<int32_t, string>> fields;
  for (const auto &[column, value] : assignments) {
    const int32_t index = recordSetColumnIndex(recordSet, column);
    if (index < 0)
      return error.Fail(208, "Mismatched update fields");
    fields.emplace_back(index, sqlString(value));
  }
  while (!recordSet->eof) {
    cursorEdit(rows.object);
    for (const auto &[index, value] : fields)
      recordSetSetText(recordSet, index, value.Storage());
    cursorUpdate(rows.object);
    // The engine refused the row: stop with its error.
    if (EngineErrorCode(database) != 0)
      break;
    cursorMoveNext(rows.object);
  }
  return true;
}

bool Delete(DatabaseObject *database, SqlText &text, SqlError &error) {
  if (!Is(text.NextToken(), "from"))
    return error.Fail(200, "Expecting 'FROM'");
  std::string table;
  if (!ParseTableName(text, error, table))
    return false;
  std::unique_ptr<selectConstraint> where;
  if (!ParseOptionalWhere(text, error, where))
    return false;
  HeldRecordSet rows;
  if (!OpenRows(database, table, where.get(), error, rows))
    return false;
  while (!rows.get()->eof) {
    cursorDeleteRecord(rows.object);
    cursorMoveNext(rows.object);
  }
  return true;
}

bool Insert(DatabaseObject *database, SqlText &text, SqlError &error) {
  if (!Is(text.NextToken(), "into"))
    return error.Fail(200, "Expecting 'INTO'");
  std::string table;
  if (!ParseTableName(text, error, table))
    return false;
  if (text.NextToken() != "(")
    return error.Fail(200, "Expecting '('");
  std::vector<std::string> columns;
  for (;;) {
    const std::string column = text.NextToken();
    if (!sqlValidIdentifier(column))
      return error.Fail(201, "Invalid column name");
    columns.push_back(column);
    const std::string separator = text.NextToken();
    if (separator == ")")
      break;
    if (separator != ",")
      return error.Fail(200, "Expecting ')'");
  }
  if (!Is(text.NextToken(), "values"))
    return error.Fail(200, "Expecting 'VALUES'");
  if (text.NextToken() != "(")
    return error.Fail(200, "Expecting '('");
  ColumnValues values;
  size_t count = 0;
  for (;;) {
    std::string value;
    bool isNull = false;
    if (!ParseValue(text, error, value, isNull))
      return false;
    if (count >= columns.size())
      return error.Fail(208, "Mismatched INSERT columns");
    // NULL leaves the column without a value.
    auto *entry = new ZANTcolumnValue{nullptr, sqlStorage(columns[count]), isNull ? nullptr : sqlStorage(value),
                                      kColumnText};
    (values.tail ? values.tail->next : values.head) = entry;
    values.tail = entry;
    ++count;
    const std::string separator = text.NextToken();
    if (separator == ")")
      break;
    if (separator != ",")
      return error.Fail(200, "Expecting ')'");
  }
  if (count != columns.size())
    return error.Fail(208, "Mismatched INSERT columns");
  if (!ExpectEnd(text, error))
    return false;
  if (database->definition->addTableRecord)
    database->definition->addTableRecord(database->handle, sqlString(table).Storage(), values.head);
  return true;
}

void Execute(DatabaseObject *database, std::string_view sql, SqlError &error) {
  SqlText text(sqlStripTrailingSemicolons(sql));
  const std::string verb = text.NextToken();
  dbEngineDefinition *engine = database->definition;
  if (Is(verb, "commit")) {
    if (ExpectEnd(text, error) && engine->commitChanges)
      engine->commitChanges(database->handle);
  } else if (Is(verb, "rollback")) {
    if (ExpectEnd(text, error) && engine->rollbackChanges)
      engine->rollbackChanges(database->handle);
  } else if (Is(verb, "create")) {
    CreateTable(database, text, error);
  } else if (Is(verb, "alter")) {
    AlterTable(database, text, error);
  } else if (Is(verb, "update")) {
    Update(database, text, error);
  } else if (Is(verb, "delete")) {
    Delete(database, text, error);
  } else if (Is(verb, "insert")) {
    Insert(database, text, error);
  } else if (Is(verb, "drop")) {
    error.Fail(2007, "Dropping tables from this database is not currently supported.");
  } else {
    error.Fail(200, "Unsupported statement: " + verb);
  }
}

} // namespace

void sqlReportError(DatabaseObject *database, const SqlError &error) {
  if (error.Failed())
    ZANTDatabaseSetError(&database->header, error.code, error.message.c_str());
}

bool sqlTableColumns(DatabaseObject *database, const std::string &table, std::vector<std::string> &columns) {
  columns.clear();
  if (!database->definition || !database->definition->getFieldSchema)
    return false;
  HeldRecordSet schema;
  schema.object = database->definition->getFieldSchema(database->handle, sqlString(table).Storage());
  if (!schema.object)
    return false;
  for (; !schema.get()->eof; cursorMoveNext(schema.object)) {
    std::string name;
    recordSetColumnText(schema.get(), 0, name);
    columns.push_back(name);
  }
  return true;
}

extern "C" void databaseSQLExecute(RuntimeObject *object, stringStorage *sql) {
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  if (!database)
    return;
  database->errorCode = 0;
  if (!demandConnectDatabase(database) || !database->definition)
    return;
  if (database->definition->directSQLExecute) {
    database->definition->directSQLExecute(database->handle, sql);
    return;
  }
  SqlError error;
  Execute(database, std::string_view(stringStorage::CString(sql), stringStorage::Length(sql)), error);
  sqlReportError(database, error);
}
