#include "FakeEngine.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"

namespace {

struct FakeDb {
  FakeEngine *engine;
};

struct FakeCursor {
  FakeEngine *engine;
  std::string table;
  std::vector<int32_t> columns; // table column of each cursor column
  ZANTcolumnConstraints *condition = nullptr;
  int64_t row = -1; // index into the table's rows
  std::string value, qualified, key;
};

FakeEngine *EngineOf(dbDatabase *db) { return reinterpret_cast<FakeDb *>(db)->engine; }
FakeCursor *CursorOf(dbCursor *cursor) { return reinterpret_cast<FakeCursor *>(cursor); }

std::string Text(const stringStorage *text) { return sqlStdString(text); }

bool SameName(const std::string &a, const std::string &b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

int32_t ColumnOf(const FakeTable &table, const std::string &name) {
  for (size_t i = 0; i < table.columns.size(); ++i)
    if (SameName(table.columns[i].name, name))
      return static_cast<int32_t>(i);
  return -1;
}

bool Like(const char *value, const char *pattern) {
  if (!*pattern)
    return !*value;
  if (*pattern == '%')
    return Like(value, pattern + 1) || (*value && Like(value + 1, pattern));
  return *value && (*pattern == '_' || *pattern == *value) && Like(value + 1, pattern + 1);
}

bool Matches(const FakeTable &table, const FakeRow &row, const ZANTcolumnConstraints *node) {
  if (!node)
    return true;
  if (node->op == kConstraintAnd)
    return Matches(table, row, node->left) && Matches(table, row, node->right);
  if (node->op == kConstraintOr)
    return Matches(table, row, node->left) || Matches(table, row, node->right);
  const int32_t column = ColumnOf(table, Text(node->column));
  if (column < 0)
    return false;
  const FakeValue &value = row[column];
  if (node->op == kConstraintIsNull)
    return !value;
  if (node->op == kConstraintIsNotNull)
    return value.has_value();
  if (!value)
    return false;
  std::string left = *value;
  const std::string right = Text(node->value);
  if (node->function == kConstraintFunctionUpper)
    std::transform(left.begin(), left.end(), left.begin(), ::toupper);
  if (node->function == kConstraintFunctionLower)
    std::transform(left.begin(), left.end(), left.begin(), ::tolower);
  if (node->op == kConstraintLike)
    return Like(left.c_str(), right.c_str());
  if (node->op == kConstraintNotLike)
    return !Like(left.c_str(), right.c_str());
  int order;
  if (table.columns[column].type == kColumnInteger) {
    const long a = std::strtol(left.c_str(), nullptr, 10), b = std::strtol(right.c_str(), nullptr, 10);
    order = a < b ? -1 : a > b;
  } else {
    order = left.compare(right);
    order = order < 0 ? -1 : order > 0;
  }
  switch (node->op) {
  case kConstraintEqual: return order == 0;
  case kConstraintLess: return order < 0;
  case kConstraintGreater: return order > 0;
  case kConstraintLessOrEqual: return order <= 0;
  case kConstraintGreaterOrEqual: return order >= 0;
  case kConstraintNotEqual: return order != 0;
  }
  return false;
}

ZANTcolumnConstraints *Copy(const ZANTcolumnConstraints *node) {
  if (!node)
    return nullptr;
  stringStorage::AddReference(node->column);
  stringStorage::AddReference(node->value);
  return new ZANTcolumnConstraints{Copy(node->left), Copy(node->right), node->op, node->function, node->column,
                                   node->value};
}

// Cursor slots.
void CloseCursor(dbCursor *c) {
  disposeZANTcolumnConstraint(CursorOf(c)->condition);
  delete CursorOf(c);
}
int32_t ColumnCount(dbCursor *c) { return static_cast<int32_t>(CursorOf(c)->columns.size()); }
stringStorage *ColumnName(dbCursor *c, int32_t column) {
  FakeCursor *cursor = CursorOf(c);
  FakeTable *table = cursor->engine->Find(cursor->table);
  if (!table || column < 0 || column >= static_cast<int32_t>(cursor->columns.size()))
    return nullptr;
  return sqlStorage(table->columns[cursor->columns[column]].name);
}
const FakeRow *CurrentRow(FakeCursor *cursor) {
  FakeTable *table = cursor->engine->Find(cursor->table);
  if (!table || cursor->row < 0 || cursor->row >= static_cast<int64_t>(table->rows.size()))
    return nullptr;
  return &table->rows[cursor->row];
}
void ColumnValue(dbCursor *c, int32_t column, void **data, uint8_t *type, int32_t *length) {
  FakeCursor *cursor = CursorOf(c);
  *data = nullptr;
  *type = kColumnNull;
  *length = 0;
  const FakeRow *row = CurrentRow(cursor);
  if (!row || column < 0 || column >= static_cast<int32_t>(cursor->columns.size()))
    return;
  const FakeValue &value = (*row)[cursor->columns[column]];
  if (!value)
    return;
  const FakeTable &table = *cursor->engine->Find(cursor->table);
  if (table.columns[cursor->columns[column]].type == kColumnInteger) {
    const int32_t number = static_cast<int32_t>(std::strtol(value->c_str(), nullptr, 10));
    cursor->value.assign(reinterpret_cast<const char *>(&number), sizeof number);
    *type = kColumnInteger;
  } else {
    cursor->value = *value;
    *type = kColumnText;
  }
  *data = cursor->value.data();
  *length = static_cast<int32_t>(cursor->value.size());
}
int32_t NextRow(dbCursor *c) {
  FakeCursor *cursor = CursorOf(c);
  FakeTable *table = cursor->engine->Find(cursor->table);
  if (!table)
    return 0;
  while (++cursor->row < static_cast<int64_t>(table->rows.size()))
    if (Matches(*table, table->rows[cursor->row], cursor->condition))
      return 1;
  return 0;
}
void DeleteRow(dbCursor *c) {
  FakeCursor *cursor = CursorOf(c);
  FakeTable *table = cursor->engine->Find(cursor->table);
  if (!CurrentRow(cursor))
    return;
  table->rows.erase(table->rows.begin() + cursor->row);
  --cursor->row;
}
void UpdateRow(dbCursor *c, ZANTpendingEdit *edits) {
  FakeCursor *cursor = CursorOf(c);
  FakeTable *table = cursor->engine->Find(cursor->table);
  if (!CurrentRow(cursor))
    return;
  FakeRow &row = table->rows[cursor->row];
  if (cursor->engine->refuseUpdateOf && row[0] == cursor->engine->refuseUpdateOf) {
    cursor->engine->lastError = 2005;
    return;
  }
  for (ZANTpendingEdit *edit = edits; edit; edit = edit->next) {
    FakeValue &value = row[cursor->columns[edit->column]];
    // The newest edit of a column wins: later ones in the list are older.
    bool newer = false;
    for (ZANTpendingEdit *e = edits; e != edit; e = e->next)
      newer = newer || e->column == edit->column;
    if (!newer)
      value = edit->value ? FakeValue(Text(edit->value)) : FakeValue();
  }
}
int32_t FieldKey(dbCursor *c, int32_t column, const char **name, int32_t *nameLength, const char **key,
                 int32_t *keyLength) {
  FakeCursor *cursor = CursorOf(c);
  const FakeRow *row = CurrentRow(cursor);
  if (!row || column < 0 || column >= static_cast<int32_t>(cursor->columns.size()))
    return 0;
  const FakeTable &table = *cursor->engine->Find(cursor->table);
  cursor->qualified = cursor->table + "!" + table.columns[cursor->columns[column]].name;
  cursor->key.clear();
  for (uint8_t k : table.keys)
    cursor->key += (cursor->key.empty() ? "" : " and ") + table.columns[k].name + " = '" + (*row)[k].value_or("") + "'";
  *name = cursor->qualified.data();
  *nameLength = static_cast<int32_t>(cursor->qualified.size());
  *key = cursor->key.data();
  *keyLength = static_cast<int32_t>(cursor->key.size());
  return 1;
}
int32_t ColumnType(dbCursor *c, int32_t column) {
  FakeCursor *cursor = CursorOf(c);
  if (column < 0 || column >= static_cast<int32_t>(cursor->columns.size()))
    return -1;
  return cursor->engine->Find(cursor->table)->columns[cursor->columns[column]].type;
}

// Field-schema cursor: one text column, ColumnName.
struct SchemaCursor {
  std::vector<std::string> names;
  int64_t row = -1;
  std::string value;
};
ZANTdbCursorDefinition gSchemaCursor = [] {
  ZANTdbCursorDefinition d{};
  d.version = kDatabaseDefinitionVersion;
  d.closeCursor = [](dbCursor *c) { delete reinterpret_cast<SchemaCursor *>(c); };
  d.getColumnCount = [](dbCursor *) { return int32_t{1}; };
  d.getColumnName = [](dbCursor *, int32_t) { return sqlStorage("ColumnName"); };
  d.getColumnValue = [](dbCursor *c, int32_t, void **data, uint8_t *type, int32_t *length) {
    auto *s = reinterpret_cast<SchemaCursor *>(c);
    s->value = s->names[s->row];
    *data = s->value.data();
    *type = kColumnText;
    *length = static_cast<int32_t>(s->value.size());
  };
  d.nextRow = [](dbCursor *c) {
    auto *s = reinterpret_cast<SchemaCursor *>(c);
    return int32_t(++s->row < static_cast<int64_t>(s->names.size()));
  };
  return d;
}();

// Engine slots.
RuntimeObject *GetFieldSchema(dbDatabase *db, stringStorage *name) {
  FakeTable *table = EngineOf(db)->Find(Text(name));
  if (!table)
    return nullptr;
  auto *schema = new SchemaCursor;
  for (const FakeColumn &column : table->columns)
    schema->names.push_back(column.name);
  return ZANTdbCursorFromDBCursor(reinterpret_cast<dbCursor *>(schema), &gSchemaCursor);
}
RuntimeObject *GetTableRecordSet(dbDatabase *db, stringStorage *name, ZANTcolumnName *columns,
                                 ZANTcolumnConstraints *condition) {
  FakeEngine *engine = EngineOf(db);
  engine->lastError = 0;
  engine->conditions.push_back(FakeConditionText(condition));
  FakeTable *table = engine->Find(Text(name));
  if (!table)
    return nullptr;
  auto cursor = std::make_unique<FakeCursor>();
  cursor->engine = engine;
  cursor->table = table->name;
  for (ZANTcolumnName *column = columns; column; column = column->next) {
    if (Text(column->name) == "*") {
      for (size_t i = 0; i < table->columns.size(); ++i)
        cursor->columns.push_back(static_cast<int32_t>(i));
    } else {
      const int32_t index = ColumnOf(*table, Text(column->name));
      if (index < 0)
        return nullptr;
      cursor->columns.push_back(index);
    }
  }
  cursor->condition = Copy(condition);
  return ZANTdbCursorFromDBCursor(reinterpret_cast<dbCursor *>(cursor.release()), &engine->cursor);
}

} // namespace

FakeEngine::FakeEngine() {
  engine.version = kDatabaseDefinitionVersion;
  engine.closeDatabase = [](dbDatabase *) {};
  engine.getFieldSchema = GetFieldSchema;
  engine.getTableRecordSet = GetTableRecordSet;
  engine.directSQLExecute = nullptr;
  engine.createNewTable = [](dbDatabase *db, stringStorage *name, ZANTcolumnDefinition *columns,
                             const uint8_t *keys, int32_t keyCount) {
    FakeTable table;
    table.name = Text(name);
    for (; columns; columns = columns->next)
      table.columns.push_back({Text(columns->name), columns->type, columns->nullable != 0});
    table.keys.assign(keys, keys + keyCount);
    EngineOf(db)->tables.push_back(table);
  };
  engine.addTableColumn = [](dbDatabase *db, stringStorage *name, ZANTcolumnDefinition *column) {
    if (FakeTable *table = EngineOf(db)->Find(Text(name))) {
      table->columns.push_back({Text(column->name), column->type, column->nullable != 0});
      for (FakeRow &row : table->rows)
        row.emplace_back();
    }
  };
  engine.addTableRecord = [](dbDatabase *db, stringStorage *name, ZANTcolumnValue *values) {
    FakeTable *table = EngineOf(db)->Find(Text(name));
    if (!table)
      return;
    FakeRow row(table->columns.size());
    for (; values; values = values->next) {
      const int32_t column = ColumnOf(*table, Text(values->name));
      if (column >= 0 && values->value)
        row[column] = Text(values->value);
    }
    table->rows.push_back(row);
  };
  engine.getLastErrorCode = [](dbDatabase *db) { return EngineOf(db)->lastError; };
  engine.commitChanges = [](dbDatabase *db) { ++EngineOf(db)->commits; };
  engine.rollbackChanges = [](dbDatabase *db) { ++EngineOf(db)->rollbacks; };

  cursor.version = kDatabaseDefinitionVersion;
  cursor.closeCursor = CloseCursor;
  cursor.getColumnCount = ColumnCount;
  cursor.getColumnName = ColumnName;
  cursor.getColumnValue = ColumnValue;
  cursor.nextRow = NextRow;
  cursor.deleteRow = DeleteRow;
  cursor.getFieldKey = FieldKey;
  cursor.updateRow = UpdateRow;
  cursor.getColumnType = ColumnType;
}

FakeEngine::~FakeEngine() {
  RuntimeUnlockObject(mDatabase);
  delete static_cast<FakeDb *>(mHandle);
}

RuntimeObject *FakeEngine::Database() {
  if (!mDatabase) {
    mHandle = new FakeDb{this};
    mDatabase = ZANTdbDatabaseFromDBDatabase(static_cast<dbDatabase *>(mHandle), &engine);
  }
  return mDatabase;
}

FakeTable &FakeEngine::AddTable(const std::string &name, std::vector<FakeColumn> columns, std::vector<FakeRow> rows) {
  tables.push_back(FakeTable{name, std::move(columns), {}, std::move(rows)});
  return tables.back();
}

FakeTable *FakeEngine::Find(const std::string &name) {
  for (FakeTable &table : tables)
    if (SameName(table.name, name))
      return &table;
  return nullptr;
}

int32_t FakeEngine::Execute(const std::string &sql) { return SqlExecuteText(Database(), sql); }

std::string FakeEngine::ErrorMessage() { return SqlErrorMessage(Database()); }

std::string FakeConditionText(const ZANTcolumnConstraints *node) {
  if (!node)
    return "-";
  static const char *const kNames[] = {"=", "<", ">", "<=", ">=", "<>", "like", "not like", "is null", "is not null"};
  if (node->op == kConstraintAnd || node->op == kConstraintOr)
    return std::string(node->op == kConstraintAnd ? "and" : "or") + "(" + FakeConditionText(node->left) + ", " +
           FakeConditionText(node->right) + ")";
  std::string column = sqlStdString(node->column);
  if (node->function == kConstraintFunctionUpper)
    column = "upper(" + column + ")";
  if (node->function == kConstraintFunctionLower)
    column = "lower(" + column + ")";
  std::string text = column + " " + (node->op <= 9 ? kNames[node->op] : "?");
  if (node->op != kConstraintIsNull && node->op != kConstraintIsNotNull)
    text += " '" + sqlStdString(node->value) + "'";
  return text;
}

std::vector<std::string> FakeRowTexts(const FakeTable &table) {
  std::vector<std::string> texts;
  for (const FakeRow &row : table.rows) {
    std::string text;
    for (size_t i = 0; i < row.size(); ++i)
      text += (i ? "|" : "") + row[i].value_or("~");
    texts.push_back(text);
  }
  return texts;
}

std::string FakeCurrentRow(DatabaseCursorObject *recordSet) {
  std::string text;
  const int32_t count = cursorFieldCount(&recordSet->header);
  for (int32_t column = 0; column < count; ++column) {
    std::string value;
    const bool present = recordSetColumnText(recordSet, column, value);
    text += (column ? "|" : "") + (present ? value : std::string("~"));
  }
  return text;
}

std::vector<std::string> FakeRecordSetRows(DatabaseCursorObject *recordSet) {
  std::vector<std::string> rows;
  for (; !recordSet->eof; cursorMoveNext(&recordSet->header))
    rows.push_back(FakeCurrentRow(recordSet));
  return rows;
}

std::vector<std::string> FakeSelect(FakeEngine &fake, const std::string &sql) {
  return SqlSelectRows(fake.Database(), sql);
}

std::vector<std::string> SqlSelectRows(RuntimeObject *database, const std::string &sql) {
  const string text = sqlString(sql);
  RuntimeObject *result = databaseSQLSelect(database, text.Storage());
  if (!result)
    return {"error " + std::to_string(reinterpret_cast<DatabaseObject *>(database)->errorCode) + ": " +
            SqlErrorMessage(database)};
  std::vector<std::string> rows = FakeRecordSetRows(reinterpret_cast<DatabaseCursorObject *>(result));
  RuntimeUnlockObject(result);
  return rows;
}

int32_t SqlExecuteText(RuntimeObject *database, const std::string &sql) {
  const string text = sqlString(sql);
  databaseSQLExecute(database, text.Storage());
  return reinterpret_cast<DatabaseObject *>(database)->errorCode;
}

std::string SqlErrorMessage(RuntimeObject *database) {
  return sqlStdString(reinterpret_cast<DatabaseObject *>(database)->errorMessage);
}

namespace {

struct VectorCursor {
  std::vector<SqlRow> rows;
  int64_t current = -1;
};

VectorCursor *VectorOf(dbCursor *cursor) { return reinterpret_cast<VectorCursor *>(cursor); }

ZANTdbCursorDefinition MakeVectorCursor(bool named) {
  ZANTdbCursorDefinition d{};
  d.version = kDatabaseDefinitionVersion;
  d.closeCursor = [](dbCursor *c) { delete VectorOf(c); };
  d.getColumnCount = [](dbCursor *c) {
    return VectorOf(c)->rows.empty() ? int32_t{0} : static_cast<int32_t>(VectorOf(c)->rows[0].size());
  };
  if (named)
    d.getColumnName = [](dbCursor *, int32_t column) { return sqlStorage("c" + std::to_string(column)); };
  d.getColumnValue = [](dbCursor *c, int32_t column, void **data, uint8_t *type, int32_t *length) {
    VectorCursor *v = VectorOf(c);
    *data = nullptr;
    *type = kColumnNull;
    *length = 0;
    if (v->current < 0 || v->current >= static_cast<int64_t>(v->rows.size()))
      return;
    SqlValue &value = v->rows[v->current][column];
    *data = value.bytes.data();
    *type = value.type;
    *length = static_cast<int32_t>(value.bytes.size());
  };
  d.nextRow = [](dbCursor *c) { return int32_t(++VectorOf(c)->current < static_cast<int64_t>(VectorOf(c)->rows.size())); };
  d.deleteRow = [](dbCursor *c) { VectorOf(c)->rows.erase(VectorOf(c)->rows.begin() + VectorOf(c)->current--); };
  return d;
}

ZANTdbCursorDefinition gNamedVectorCursor = MakeVectorCursor(true);
ZANTdbCursorDefinition gUnnamedVectorCursor = MakeVectorCursor(false);

} // namespace

DatabaseCursorObject *VectorSource(std::vector<SqlRow> rows, bool unnamed) {
  auto *cursor = new VectorCursor{std::move(rows)};
  return reinterpret_cast<DatabaseCursorObject *>(ZANTdbCursorFromDBCursor(
      reinterpret_cast<dbCursor *>(cursor), unnamed ? &gUnnamedVectorCursor : &gNamedVectorCursor));
}
