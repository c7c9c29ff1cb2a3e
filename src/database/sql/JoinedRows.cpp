#include "database/sql/JoinedRows.h"

#include "database/DatabaseInterface.h"
#include "database/ValueConditions.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlStrings.h"
#include "runtime/application/CommonRuntimeFunctions.h"

namespace {

int32_t TableIndex(const JoinState &state, const std::string &reference) {
  for (size_t t = 0; t < state.query.tables.size(); ++t)
    if (sqlEqualsIgnoringCase(state.query.tables[t].reference, reference))
      return static_cast<int32_t>(t);
  return -1;
}

bool HasColumnComparison(const selectConstraint *node) {
  if (!node)
    return false;
  if (!node->IsLeaf())
    return HasColumnComparison(node->left.get()) || HasColumnComparison(node->right.get());
  return node->rightKind == kSqlRightColumn;
}

ZANTcolumnConstraints *Leaf(uint32_t op, uint32_t function, const std::string &column, const std::string *value) {
  return new ZANTcolumnConstraints{nullptr, nullptr, op, function, sqlStorage(column),
                                   value ? sqlStorage(*value) : nullptr};
}

// The text of column of the FROM entry before t that the reference names.
bool OuterValue(const JoinState &state, size_t t, const std::string &reference, const std::string &column,
                std::string &text) {
  for (size_t outer = 0; outer < t; ++outer) {
    if (!sqlEqualsIgnoringCase(state.query.tables[outer].reference, reference))
      continue;
    DatabaseCursorObject *rows = state.rows[outer];
    const int32_t index = rows ? recordSetColumnIndex(rows, column) : -1;
    if (index < 0)
      return false;
    // A number goes over in a text that reads back as the same number.
    recordSetColumnText(rows, index, text, true);
    return true;
  }
  return false;
}

bool OpenTable(JoinState &state, size_t t) {
  const selectTable &table = state.query.tables[t];
  ZANTcolumnConstraints *condition = rewriteConstraintForTable(state, state.query.where.get(), t);
  ZANTcolumnName all{nullptr, sqlStorage("*")};
  RuntimeObject *rows = state.database->definition->getTableRecordSet(
      state.database->handle, sqlString(table.name).Storage(), &all, condition);
  stringStorage::RemoveReference(all.name);
  disposeZANTcolumnConstraint(condition);
  if (!rows)
    return false;
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(rows);
  // The table's edits write back through its Database.
  RuntimeLockObject(&state.database->header);
  RuntimeUnlockObject(recordSet->owner ? &recordSet->owner->header : nullptr);
  recordSet->owner = state.database;
  state.rows[t] = recordSet;
  for (selectColumn &item : state.query.columns)
    if (item.resolvedTable == static_cast<int32_t>(t) && item.boundColumn < 0)
      item.boundColumn = recordSetColumnIndex(recordSet, item.column);
  return true;
}

void CloseTable(JoinState &state, size_t t) {
  RuntimeObject *rows = state.rows[t] ? &state.rows[t]->header : nullptr;
  state.rows[t] = nullptr;
  RuntimeUnlockObject(rows);
}

// One comparison of a record set's value with a text: the same meaning the
// built-in engine gives a condition on its stored rows.
bool Compare(const DatabaseValue &value, const selectConstraint &leaf, const std::string &right) {
  return ValueSatisfies(value.type, reinterpret_cast<const uint8_t *>(value.bytes.CString()), value.bytes.Length(),
                        leaf.op, leaf.function, right.data(), static_cast<int>(right.size()));
}

} // namespace

uint32_t swapComparisonOperator(uint32_t op) {
  switch (op) {
  case kSqlLess: return kSqlGreater;
  case kSqlGreater: return kSqlLess;
  case kSqlLessOrEqual: return kSqlGreaterOrEqual;
  case kSqlGreaterOrEqual: return kSqlLessOrEqual;
  default: return op;
  }
}

ZANTcolumnConstraints *rewriteConstraintForTable(const JoinState &state, const selectConstraint *node, size_t t) {
  if (!node)
    return nullptr;
  if (!node->IsLeaf()) {
    ZANTcolumnConstraints *left = rewriteConstraintForTable(state, node->left.get(), t);
    ZANTcolumnConstraints *right = rewriteConstraintForTable(state, node->right.get(), t);
    // An or whose one side has no form for this table cannot narrow it.
    if (node->op == kSqlOr && (!left || !right)) {
      disposeZANTcolumnConstraint(left);
      disposeZANTcolumnConstraint(right);
      return nullptr;
    }
    if (!left || !right)
      return left ? left : right;
    return new ZANTcolumnConstraints{left, right, node->op, node->function, nullptr, nullptr};
  }
  const std::string &reference = state.query.tables[t].reference;
  const bool leftIsMine = sqlEqualsIgnoringCase(node->leftResolvedTable, reference);
  const bool rightIsMine =
      node->rightKind == kSqlRightColumn && sqlEqualsIgnoringCase(node->rightResolvedTable, reference);
  std::string value;
  if (leftIsMine) {
    if (node->rightKind != kSqlRightColumn)
      return Leaf(node->op, node->function,
                  node->column, node->op == kSqlIsNull || node->op == kSqlIsNotNull ? nullptr : &node->rightText);
    if (!OuterValue(state, t, node->rightResolvedTable, node->rightText, value))
      return nullptr;
    return Leaf(node->op, node->function, node->column, &value);
  }
  // A column function applies to the left column only: it cannot move over.
  if (rightIsMine && node->function == kSqlNoFunction && node->op <= kSqlNotEqual &&
      OuterValue(state, t, node->leftResolvedTable, node->column, value))
    return Leaf(swapComparisonOperator(node->op), node->function, node->rightText, &value);
  return nullptr;
}

bool sqlEvaluateWhere(const JoinState &state, const selectConstraint *node) {
  if (!node)
    return true;
  if (node->op == kSqlAnd)
    return sqlEvaluateWhere(state, node->left.get()) && sqlEvaluateWhere(state, node->right.get());
  if (node->op == kSqlOr)
    return sqlEvaluateWhere(state, node->left.get()) || sqlEvaluateWhere(state, node->right.get());
  const int32_t table = TableIndex(state, node->leftResolvedTable);
  DatabaseCursorObject *rows = table >= 0 ? state.rows[table] : nullptr;
  const int32_t column = rows ? recordSetColumnIndex(rows, node->column) : -1;
  if (column < 0)
    return false;
  const DatabaseValue value = ReadCursorValue(rows, column);
  if (node->op == kSqlIsNull)
    return value.type == kColumnNull;
  if (node->op == kSqlIsNotNull)
    return value.type != kColumnNull;
  std::string right = node->rightText;
  if (node->rightKind == kSqlRightColumn) {
    const int32_t other = TableIndex(state, node->rightResolvedTable);
    DatabaseCursorObject *otherRows = other >= 0 ? state.rows[other] : nullptr;
    const int32_t otherColumn = otherRows ? recordSetColumnIndex(otherRows, node->rightText) : -1;
    if (otherColumn < 0 || !recordSetColumnText(otherRows, otherColumn, right, true))
      return false; // NULL compares false
  }
  return Compare(value, *node, right);
}

void sqlStartJoin(JoinState &state, DatabaseObject *database) {
  RuntimeLockObject(&database->header);
  state.database = database;
  state.rows.assign(state.query.tables.size(), nullptr);
  state.evaluateWhere = state.query.tables.size() > 1 || HasColumnComparison(state.query.where.get());
}

bool pieceNextRow(JoinState &state, size_t t) {
  const size_t count = state.rows.size();
  if (!state.rows[t]) {
    if (!OpenTable(state, t))
      return false;
  } else if (t + 1 < count && state.rows[t + 1] && pieceNextRow(state, t + 1)) {
    return true;
  } else {
    cursorMoveNext(&state.rows[t]->header);
  }
  for (;;) {
    if (state.rows[t]->eof) {
      CloseTable(state, t);
      return false;
    }
    if (t + 1 == count || pieceNextRow(state, t + 1))
      return true;
    cursorMoveNext(&state.rows[t]->header);
  }
}

bool sqlNextJoinedRow(JoinState &state) {
  if (state.rows.empty())
    return false;
  while (pieceNextRow(state, 0)) {
    if (!state.evaluateWhere || sqlEvaluateWhere(state, state.query.where.get()))
      return true;
    RuntimeBackgroundTask();
  }
  return false;
}

void sqlRestartJoin(JoinState &state) {
  for (size_t t = state.rows.size(); t-- > 0;)
    if (state.rows[t])
      CloseTable(state, t);
}

void sqlEndJoin(JoinState &state) {
  sqlRestartJoin(state);
  RuntimeObject *database = state.database ? &state.database->header : nullptr;
  state.database = nullptr;
  RuntimeUnlockObject(database);
}
