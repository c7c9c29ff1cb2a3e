#include <gtest/gtest.h>

#include <string>

#include "database/sql/WhereClause.h"

namespace {

const char *OperatorText(uint32_t op) {
  switch (op) {
  case kSqlEqual: return "=";
  case kSqlLess: return "<";
  case kSqlGreater: return ">";
  case kSqlLessOrEqual: return "<=";
  case kSqlGreaterOrEqual: return ">=";
  case kSqlNotEqual: return "<>";
  case kSqlLike: return "like";
  case kSqlNotLike: return "not like";
  case kSqlIsNull: return "is null";
  case kSqlIsNotNull: return "is not null";
  case kSqlAnd: return "and";
  case kSqlOr: return "or";
  }
  return "?";
}

// The tree in prefix form: and(a = '1', b > c), with functions, qualifiers
// and the kind of the right side spelled out.
std::string Show(const selectConstraint *node) {
  if (!node)
    return "null";
  if (!node->IsLeaf())
    return std::string(OperatorText(node->op)) + "(" + Show(node->left.get()) + ", " + Show(node->right.get()) +
           ")";
  std::string column = node->leftTable.empty() ? node->column : node->leftTable + "." + node->column;
  if (node->function == kSqlUpper)
    column = "upper(" + column + ")";
  if (node->function == kSqlLower)
    column = "lower(" + column + ")";
  std::string text = column + " " + OperatorText(node->op);
  if (node->op == kSqlIsNull || node->op == kSqlIsNotNull)
    return text;
  if (node->rightKind == kSqlRightColumn)
    return text + " " + (node->rightTable.empty() ? "" : node->rightTable + ".") + node->rightText;
  return text + " '" + node->rightText + "'";
}

struct Parsed {
  bool ok;
  std::string tree;
  SqlError error;
  std::string rest;
};

Parsed Parse(const std::string &where) {
  SqlText text(where);
  SqlError error;
  std::unique_ptr<selectConstraint> tree;
  const bool ok = ParseSelectConstraint(text, error, tree);
  return {ok, Show(tree.get()), error, std::string(text.Rest())};
}

} // namespace

TEST(WhereClause, BuildsRightNestedTreesWithoutPrecedence) {
  const struct {
    const char *where;
    const char *tree;
  } cases[] = {
      {"a = 1", "a = '1'"},
      {"a = 1 or b = 2 and c = 3", "or(a = '1', and(b = '2', c = '3'))"},
      {"a = 1 and b = 2 or c = 3", "and(a = '1', or(b = '2', c = '3'))"},
      {"a<>'x' AND b<=-1", "and(a <> 'x', b <= '-1')"},
      {"t.a >= u.b", "t.a >= u.b"},
      {"a = b", "a = b"},
      {"a = 'b'", "a = 'b'"},
      {"a = \"it's\"", "a = 'it's'"},
      {"a = 'it''s'", "a = 'it's'"},
      {"name LIKE 'x%'", "name like 'x%'"},
      {"name not like 'x%'", "name not like 'x%'"},
      {"a is null or b IS NOT NULL", "or(a is null, b is not null)"},
      {"UPPER(name) = 'X'", "upper(name) = 'X'"},
      {"lower(name) like 'x%'", "lower(name) like 'x%'"},
      {"upper(t.name) >= 'X'", "upper(t.name) >= 'X'"},
      {"[my col] < 3", "my col < '3'"},
      {"caf\xc3\xa9 = 1", "caf\xc3\xa9 = '1'"},
      {"a = 1.5", "a = '1.5'"},
  };
  for (const auto &c : cases) {
    const Parsed parsed = Parse(c.where);
    EXPECT_TRUE(parsed.ok) << c.where << ": " << parsed.error.message;
    EXPECT_EQ(parsed.tree, c.tree) << c.where;
  }
}

TEST(WhereClause, LeavesTheTokenAfterTheCondition) {
  EXPECT_EQ(Parse("a = 1 order by a").rest, "order by a");
  EXPECT_EQ(Parse("a = b , c").rest, ", c");
  EXPECT_EQ(Parse("a = t.b group by a").tree, "a = t.b");
}

TEST(WhereClause, RefusesMistypedConditions) {
  const struct {
    const char *where;
    int32_t code;
    const char *message;
  } cases[] = {
      {"1 = a", 201, "Invalid column/table identifier"},
      {"'a' = 1", 201, "Invalid column/table identifier"},
      {"t. = 1", 201, "Invalid column/table identifier"},
      {"a = t.5", 201, "Invalid column/table identifier"},
      {"a == 1", 200, "Expected a value"},
      {"a = (1)", 200, "Expected a value"},
      {"a ! 1", 201, "Invalid operator !"},
      {"a is not 5", 201, "Invalid operator 5"},
      {"a is 5", 201, "Invalid operator 5"},
      {"a not in (1)", 201, "Invalid operator in"},
      {"a like x", 201, "Quotes expected after LIKE operation"},
      {"a not like 5", 201, "Quotes expected after LIKE operation"},
      {"upper a = 1", 200, "Expected '('"},
      {"upper(a = 1", 200, "Expected ')'"},
      {"upper(a).b = 1", 201, "Invalid operator ."},
      {"a = 1 and", 201, "Invalid column/table identifier"},
      {"a = 1 or (b = 2)", 201, "Invalid column/table identifier"},
      {"not a = 1", 201, "Invalid operator a"},
      {"a =", 200, "Expected a value"},
      {"", 201, "Invalid column/table identifier"},
  };
  for (const auto &c : cases) {
    const Parsed parsed = Parse(c.where);
    EXPECT_FALSE(parsed.ok) << c.where;
    EXPECT_EQ(parsed.tree, "null") << c.where;
    EXPECT_EQ(parsed.error.code, c.code) << c.where;
    EXPECT_EQ(parsed.error.message, c.message) << c.where;
  }
}

TEST(WhereClause, ConditionCountIsBounded) {
  std::string where = "a = 0";
  for (int i = 1; i < kSqlMaximumConditions; ++i)
    where += " or a = " + std::to_string(i);
  EXPECT_TRUE(Parse(where).ok);

  std::string tooMany;
  for (int i = 0; i < 100000; ++i)
    tooMany += (i ? " and a = " : "a = ") + std::to_string(i);
  const Parsed parsed = Parse(tooMany);
  EXPECT_FALSE(parsed.ok);
  EXPECT_EQ(parsed.error.code, 201);
  EXPECT_EQ(parsed.error.message, "Too many conditions");
}
