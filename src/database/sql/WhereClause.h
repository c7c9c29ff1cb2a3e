// WHERE conditions of the runtime's SQL: the tree of comparisons joined by
// and/or that SELECT, UPDATE and DELETE parse, and its parser.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "database/DatabaseEngine.h"
#include "database/sql/SqlError.h"
#include "database/sql/SqlTokenizer.h"

// Operators and column functions of a WHERE node: those of the engine's
// condition records.
enum SqlOperator : uint32_t {
  kSqlEqual = kConstraintEqual,
  kSqlLess = kConstraintLess,
  kSqlGreater = kConstraintGreater,
  kSqlLessOrEqual = kConstraintLessOrEqual,
  kSqlGreaterOrEqual = kConstraintGreaterOrEqual,
  kSqlNotEqual = kConstraintNotEqual,
  kSqlLike = kConstraintLike,
  kSqlNotLike = kConstraintNotLike,
  kSqlIsNull = kConstraintIsNull,
  kSqlIsNotNull = kConstraintIsNotNull,
  kSqlAnd = kConstraintAnd,
  kSqlOr = kConstraintOr,
};
enum SqlColumnFunction : uint32_t {
  kSqlNoFunction = kConstraintFunctionNone,
  kSqlUpper = kConstraintFunctionUpper,
  kSqlLower = kConstraintFunctionLower,
};

// The kind of a leaf's right side.
enum SqlRightKind : uint32_t { kSqlRightLiteral = 0, kSqlRightColumn = 1 };

// More conditions than this in one WHERE are refused.
inline constexpr int kSqlMaximumConditions = 1000;

// One node of a WHERE tree: an and/or node over two sub-trees, or a leaf
// comparing a column with a literal or with another column.
struct selectConstraint {
  std::unique_ptr<selectConstraint> left, right;
  uint32_t op = kSqlEqual;
  uint32_t function = kSqlNoFunction;
  std::string column;
  uint32_t rightKind = kSqlRightLiteral;
  std::string rightText; // the literal without its quotes, or the right column
  std::string leftTable, leftResolvedTable;   // as written (empty: unqualified), as resolved
  std::string rightTable, rightResolvedTable; // the same for a right-side column
  bool resolved = false;

  bool IsLeaf() const { return op != kSqlAnd && op != kSqlOr; }
  ~selectConstraint();
};

// Parses one condition off the front of text: comparisons joined by "and" or
// "or", nested to the right without precedence (a = 1 and b = 2 or c = 3
// reads as a = 1 and (b = 2 or c = 3)). The token after the condition is left
// in the text. On failure the error is set and out stays empty.
bool ParseSelectConstraint(SqlText &text, SqlError &error, std::unique_ptr<selectConstraint> &out);
