#include "database/sql/JoinedRows.h"

#include <cstdlib>
#include <cstring>

#include "database/DatabaseInterface.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlStrings.h"
#include "language/StringToNumber.h"
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
    recordSetColumnText(rows, index, text);
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

// Evaluation of one comparison the way the engines compare a stored value
// with a text.
long DecimalValue(const std::string &text) {
  const char *p = text.c_str();
  while (*p == ' ')
    ++p;
  return std::strtol(p, nullptr, 10);
}

bool ReadFields(const std::string &text, char separator, int count, int fields[3]) {
  fields[0] = fields[1] = fields[2] = 0;
  const char *p = text.c_str();
  for (int i = 0; i < count; ++i) {
    char *end = nullptr;
    const long value = std::strtol(p, &end, 10);
    if (end == p)
      return false;
    fields[i] = static_cast<int>(value);
    p = end;
    if (i + 1 < count) {
      if (*p != separator)
        return i + 1 == 2 && separator == ':' && !*p; // a time may leave out its seconds
      ++p;
    }
  }
  return !*p;
}

// A date is the part before the first space, a time the part after it.
void DateFields(const std::string &text, int fields[3]) {
  const std::string trimmed = sqlStdString(trim(sqlString(text)).Storage());
  if (!ReadFields(trimmed.substr(0, trimmed.find(' ')), '-', 3, fields))
    fields[0] = fields[1] = fields[2] = 0;
}

void TimeFields(const std::string &text, int fields[3]) {
  const std::string trimmed = sqlStdString(trim(sqlString(text)).Storage());
  const size_t space = trimmed.find(' ');
  if (!ReadFields(space == std::string::npos ? trimmed : trimmed.substr(space + 1), ':', 3, fields))
    fields[0] = fields[1] = fields[2] = 0;
}

bool Like(const char *value, const char *pattern) {
  // Iterative matching with one remembered "%": linear in practice and
  // never exponential.
  const char *star = nullptr, *resume = nullptr;
  while (*value) {
    if (*pattern == '%') {
      star = pattern++;
      resume = value;
    } else if (*pattern && (*pattern == '_' || *pattern == *value)) {
      ++pattern;
      ++value;
    } else if (star) {
      pattern = star + 1;
      value = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '%')
    ++pattern;
  return !*pattern;
}

bool Ordered(uint32_t op, int order) {
  switch (op) {
  case kSqlEqual: return order == 0;
  case kSqlLess: return order < 0;
  case kSqlGreater: return order > 0;
  case kSqlLessOrEqual: return order <= 0;
  case kSqlGreaterOrEqual: return order >= 0;
  case kSqlNotEqual: return order != 0;
  default: return false;
  }
}

int16_t BigEndian16(const std::string &bytes, size_t i) {
  return bytes.size() >= 2 * i + 2 ? static_cast<int16_t>((static_cast<uint8_t>(bytes[2 * i]) << 8) |
                                                            static_cast<uint8_t>(bytes[2 * i + 1]))
                                   : 0;
}

bool Compare(const DatabaseValue &value, const selectConstraint &leaf, const std::string &right) {
  const std::string bytes = sqlStdString(value.bytes.Storage());
  switch (value.type) {
  case kColumnSmallInt:
  case kColumnInteger: {
    int32_t left = 0;
    if (value.type == kColumnSmallInt && bytes.size() >= 2) {
      int16_t small;
      std::memcpy(&small, bytes.data(), 2);
      left = small;
    } else if (bytes.size() >= 4) {
      std::memcpy(&left, bytes.data(), 4);
    }
    const long other = DecimalValue(right);
    return Ordered(leaf.op, left < other ? -1 : left > other);
  }
  case kColumnFloat:
  case kColumnDouble: {
    double left = 0;
    if (value.type == kColumnFloat && bytes.size() >= 4) {
      float single;
      std::memcpy(&single, bytes.data(), 4);
      left = single;
    } else if (bytes.size() >= 8) {
      std::memcpy(&left, bytes.data(), 8);
    }
    const double other = StringVal(sqlString(right).Storage());
    return Ordered(leaf.op, left < other ? -1 : left > other);
  }
  case kColumnDate:
  case kColumnTime: {
    int fields[3];
    (value.type == kColumnDate ? DateFields : TimeFields)(right, fields);
    int order = 0;
    for (size_t i = 0; i < 3 && !order; ++i)
      order = BigEndian16(bytes, i) < fields[i] ? -1 : BigEndian16(bytes, i) > fields[i];
    return Ordered(leaf.op, order);
  }
  case kColumnText:
  case kColumnBinary:
  case kColumnLongText:
  case kColumnLongBinary: {
    std::string left(bytes.c_str()); // up to the first zero byte
    for (char &c : left) {
      if (leaf.function == kSqlUpper && c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
      if (leaf.function == kSqlLower && c >= 'A' && c <= 'Z')
        c = static_cast<char>(c - 'A' + 'a');
    }
    if (leaf.op == kSqlLike)
      return Like(left.c_str(), right.c_str());
    if (leaf.op == kSqlNotLike)
      return !Like(left.c_str(), right.c_str());
    const int order = std::strcmp(left.c_str(), right.c_str());
    return Ordered(leaf.op, order < 0 ? -1 : order > 0);
  }
  default:
    return false;
  }
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
    if (otherColumn < 0 || !recordSetColumnText(otherRows, otherColumn, right))
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
