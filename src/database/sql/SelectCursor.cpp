#include "database/sql/SelectCursor.h"

#include <vector>

#include "database/DatabaseInterface.h"
#include "database/sql/AggregateCursor.h"
#include "database/sql/JoinedRows.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectQuery.h"
#include "database/sql/SortedCursor.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"
#include "database/sql/SqlTokenizer.h"

namespace {

struct SelectState {
  JoinState join;
  int32_t hiddenCount = 0;
  int32_t heldTable = -1; // the FROM entry whose value is held
  int64_t position = -1;  // the number of the current result row
};

SelectState *StateOf(dbCursor *cursor) { return reinterpret_cast<SelectState *>(cursor); }

// The record set of the FROM entry a column is bound to, and the column there.
DatabaseCursorObject *BoundRows(SelectState *state, int32_t column, int32_t &tableColumn) {
  const auto &columns = state->join.query.columns;
  if (column < 0 || column >= static_cast<int32_t>(columns.size()) - state->hiddenCount)
    return nullptr;
  const selectColumn &item = columns[column];
  tableColumn = item.boundColumn;
  if (item.resolvedTable < 0 || item.boundColumn < 0)
    return nullptr;
  DatabaseCursorObject *rows = state->join.rows[item.resolvedTable];
  return rows && rows->handle ? rows : nullptr;
}

DatabaseCursorObject *FirstRows(SelectState *state) {
  return state->join.rows.empty() ? nullptr : state->join.rows[0];
}

void CloseSelect(dbCursor *cursor) {
  sqlEndJoin(StateOf(cursor)->join);
  delete StateOf(cursor);
}

int32_t SelectColumnCount(dbCursor *cursor) {
  return static_cast<int32_t>(StateOf(cursor)->join.query.columns.size()) - StateOf(cursor)->hiddenCount;
}

stringStorage *SelectColumnName(dbCursor *cursor, int32_t column) {
  if (column < 0 || column >= SelectColumnCount(cursor))
    return nullptr;
  const selectColumn &item = StateOf(cursor)->join.query.columns[column];
  return sqlStorage(item.table.empty() ? item.column : item.table + "." + item.column);
}

int32_t SelectRowCount(dbCursor *cursor) {
  SelectState *state = StateOf(cursor);
  DatabaseCursorObject *rows = FirstRows(state);
  if (state->join.rows.size() != 1 || !rows)
    return state->join.rows.size() == 1 ? 0 : -1;
  return rows->definition->getRowCount ? rows->definition->getRowCount(rows->handle) : -1;
}

void SelectColumnValue(dbCursor *cursor, int32_t column, void **data, uint8_t *type, int32_t *length) {
  SelectState *state = StateOf(cursor);
  *data = nullptr;
  *type = kColumnNull;
  *length = 0;
  int32_t tableColumn = -1;
  DatabaseCursorObject *rows = BoundRows(state, column, tableColumn);
  if (!rows || !rows->definition->getColumnValue)
    return;
  rows->definition->getColumnValue(rows->handle, tableColumn, data, type, length);
  state->heldTable = state->join.query.columns[column].resolvedTable;
}

void SelectReleaseValue(dbCursor *cursor) {
  SelectState *state = StateOf(cursor);
  if (state->heldTable < 0)
    return;
  DatabaseCursorObject *rows = state->join.rows[state->heldTable];
  state->heldTable = -1;
  if (rows && rows->handle && rows->definition->releaseValue)
    rows->definition->releaseValue(rows->handle);
}

int32_t SelectNextRow(dbCursor *cursor) {
  SelectState *state = StateOf(cursor);
  if (sqlNextJoinedRow(state->join)) {
    ++state->position;
    return 1;
  }
  return 0;
}

void SelectDeleteRow(dbCursor *cursor) {
  if (DatabaseCursorObject *rows = FirstRows(StateOf(cursor)))
    cursorDeleteRecord(&rows->header);
}

int32_t SelectFieldKey(dbCursor *cursor, int32_t column, const char **name, int32_t *nameLength, const char **key,
                       int32_t *keyLength) {
  int32_t tableColumn = -1;
  DatabaseCursorObject *rows = BoundRows(StateOf(cursor), column, tableColumn);
  if (!rows || !rows->definition->getFieldKey)
    return 0;
  return rows->definition->getFieldKey(rows->handle, tableColumn, name, nameLength, key, keyLength);
}

void SelectUpdateRow(dbCursor *cursor, ZANTpendingEdit *edits) {
  SelectState *state = StateOf(cursor);
  DatabaseCursorObject *rows = FirstRows(state);
  if (state->join.rows.size() != 1 || !rows || !rows->handle)
    return;
  // The edits with each select column replaced by its table column, newest
  // first as they came.
  std::vector<ZANTpendingEdit> translated;
  for (ZANTpendingEdit *edit = edits; edit; edit = edit->next) {
    int32_t tableColumn = -1;
    if (BoundRows(state, edit->column, tableColumn))
      translated.push_back({nullptr, tableColumn, edit->value});
  }
  if (translated.empty())
    return;
  for (size_t i = 0; i + 1 < translated.size(); ++i)
    translated[i].next = &translated[i + 1];
  if (rows->definition->updateRow) {
    rows->definition->updateRow(rows->handle, translated.data());
    return;
  }
  // A table that cannot update its row writes the edits back by key through
  // its Database, as any record set does.
  DiscardPendingEdits(rows);
  for (size_t i = translated.size(); i-- > 0;) {
    stringStorage::AddReference(translated[i].value);
    rows->pendingEdits = new ZANTpendingEdit{rows->pendingEdits, translated[i].column, translated[i].value};
  }
  rows->editing = true;
  cursorUpdate(&rows->header);
  DiscardPendingEdits(rows);
}

void SelectEditRow(dbCursor *cursor) {
  DatabaseCursorObject *rows = FirstRows(StateOf(cursor));
  if (rows && rows->handle && rows->definition->editRow)
    rows->definition->editRow(rows->handle);
}

// Starts again and steps to result row target (0-based).
void StepTo(SelectState *state, int64_t target) {
  sqlRestartJoin(state->join);
  state->position = -1;
  while (state->position < target && sqlNextJoinedRow(state->join))
    ++state->position;
}

int32_t SelectPreviousRow(dbCursor *cursor) {
  SelectState *state = StateOf(cursor);
  StepTo(state, state->position > 0 ? state->position - 1 : 0);
  return 1;
}

int32_t SelectFirstRow(dbCursor *cursor) {
  StepTo(StateOf(cursor), 0);
  return 1;
}

int32_t SelectLastRow(dbCursor *cursor) {
  SelectState *state = StateOf(cursor);
  StepTo(state, INT64_MAX); // counts the result rows
  if (const int64_t last = state->position; last >= 0)
    StepTo(state, last);
  return 1;
}

int32_t SelectColumnType(dbCursor *cursor, int32_t column) {
  int32_t tableColumn = -1;
  DatabaseCursorObject *rows = BoundRows(StateOf(cursor), column, tableColumn);
  if (!rows || !rows->definition->getColumnType)
    return -1;
  return rows->definition->getColumnType(rows->handle, tableColumn);
}

void HoldOwnerAndText(RuntimeObject *result, DatabaseObject *database, stringStorage *sql) {
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(result);
  RuntimeLockObject(&database->header);
  RuntimeUnlockObject(recordSet->owner ? &recordSet->owner->header : nullptr);
  recordSet->owner = database;
  stringStorage::AddReference(sql);
  stringStorage::RemoveReference(recordSet->sqlText);
  recordSet->sqlText = sql;
}

RuntimeObject *Assemble(DatabaseObject *database, SelectQuery &&query) {
  const bool aggregate = query.aggregated || query.grouped;
  const bool grouped = query.grouped;
  const int32_t hiddenCount = query.hiddenCount;
  std::vector<sortSpec> sort = query.sort;
  std::vector<int32_t> kinds;
  for (int32_t i = 0; i < query.VisibleCount(); ++i)
    kinds.push_back(query.columns[i].function);

  auto *state = new SelectState;
  state->join.query = std::move(query);
  sqlStartJoin(state->join, database);
  state->hiddenCount = aggregate || !sort.empty() ? 0 : hiddenCount;
  RuntimeObject *rows = ZANTdbCursorFromDBCursor(reinterpret_cast<dbCursor *>(state), &structureSelectCursor);
  if (!rows)
    return nullptr;
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(rows);
  if (aggregate) {
    // Only GROUP BY groups: the rows are sorted by the group column first.
    RuntimeObject *source = rows;
    if (grouped) {
      source = buildOrderedCursor(recordSet, static_cast<int32_t>(sort.size()), sort.data(), 0);
      RuntimeUnlockObject(rows);
      if (!source)
        return nullptr;
    }
    RuntimeObject *result = buildAggregateCursor(reinterpret_cast<DatabaseCursorObject *>(source), kinds,
                                                 grouped ? sort[0].column : -1);
    RuntimeUnlockObject(source);
    return result;
  }
  if (!sort.empty()) {
    RuntimeObject *sorted = buildOrderedCursor(recordSet, static_cast<int32_t>(sort.size()), sort.data(), hiddenCount);
    RuntimeUnlockObject(rows);
    return sorted;
  }
  return rows;
}

} // namespace

ZANTdbCursorDefinition structureSelectCursor = [] {
  ZANTdbCursorDefinition slots{};
  slots.version = kDatabaseDefinitionVersion;
  slots.closeCursor = CloseSelect;
  slots.getColumnCount = SelectColumnCount;
  slots.getColumnName = SelectColumnName;
  slots.getRowCount = SelectRowCount;
  slots.getColumnValue = SelectColumnValue;
  slots.releaseValue = SelectReleaseValue;
  slots.nextRow = SelectNextRow;
  slots.deleteRow = SelectDeleteRow;
  slots.getFieldKey = SelectFieldKey;
  slots.updateRow = SelectUpdateRow;
  slots.editRow = SelectEditRow;
  slots.previousRow = SelectPreviousRow;
  slots.firstRow = SelectFirstRow;
  slots.lastRow = SelectLastRow;
  slots.getColumnType = SelectColumnType;
  return slots;
}();

extern "C" RuntimeObject *databaseSQLSelect(RuntimeObject *object, stringStorage *sql) {
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  if (!database)
    return nullptr;
  database->errorCode = 0;
  if (!demandConnectDatabase(database) || !database->definition)
    return nullptr;
  if (database->definition->directSQLSelect) {
    RuntimeObject *result = database->definition->directSQLSelect(database->handle, sql);
    if (result)
      HoldOwnerAndText(result, database, sql);
    return result;
  }
  if (!database->definition->getTableRecordSet)
    return nullptr;
  SelectQuery query;
  SqlError error;
  const std::string_view text(stringStorage::CString(sql), stringStorage::Length(sql));
  if (!ParseSelect(database, sqlStripTrailingSemicolons(text), query, error)) {
    sqlReportError(database, error);
    return nullptr;
  }
  RuntimeObject *result = Assemble(database, std::move(query));
  if (result)
    HoldOwnerAndText(result, database, sql);
  return result;
}
