#include "database/sql/WhereClause.h"

#include <vector>

namespace {

constexpr char kInvalidIdentifier[] = "Invalid column/table identifier";

bool ParseOperator(SqlText &text, SqlError &error, selectConstraint &leaf) {
  const std::string token = text.NextToken();
  static const struct {
    const char *text;
    SqlOperator op;
  } kComparisons[] = {{"=", kSqlEqual},           {"<", kSqlLess},    {">", kSqlGreater},
                      {"<=", kSqlLessOrEqual},    {">=", kSqlGreaterOrEqual},
                      {"<>", kSqlNotEqual},       {"like", kSqlLike}};
  for (const auto &comparison : kComparisons)
    if (sqlEqualsIgnoringCase(token, comparison.text)) {
      leaf.op = comparison.op;
      return true;
    }
  if (sqlEqualsIgnoringCase(token, "not")) {
    const std::string next = text.NextToken();
    if (!sqlEqualsIgnoringCase(next, "like"))
      return error.Fail(201, "Invalid operator " + next);
    leaf.op = kSqlNotLike;
    return true;
  }
  if (sqlEqualsIgnoringCase(token, "is")) {
    std::string next = text.NextToken();
    leaf.op = kSqlIsNull;
    if (sqlEqualsIgnoringCase(next, "not")) {
      next = text.NextToken();
      leaf.op = kSqlIsNotNull;
    }
    if (!sqlEqualsIgnoringCase(next, "null"))
      return error.Fail(201, "Invalid operator " + next);
    return true;
  }
  return error.Fail(201, "Invalid operator " + token);
}

// Reads "[table .] column" whose first name was already taken; a following
// token other than "." is left in the text.
bool ParseQualifiedName(SqlText &text, SqlError &error, std::string first, std::string &table,
                        std::string &column) {
  if (text.NextToken() != ".") {
    text.PushBack();
    column = std::move(first);
    return true;
  }
  std::string second = text.NextToken();
  if (!sqlValidIdentifier(second))
    return error.Fail(201, kInvalidIdentifier);
  table = std::move(first);
  column = std::move(second);
  return true;
}

bool ParseLeaf(SqlText &text, SqlError &error, selectConstraint &leaf) {
  std::string token = text.NextToken();
  const bool upper = sqlEqualsIgnoringCase(token, "upper");
  const bool function = upper || sqlEqualsIgnoringCase(token, "lower");
  if (function) {
    leaf.function = upper ? kSqlUpper : kSqlLower;
    if (text.NextToken() != "(")
      return error.Fail(200, "Expected '('");
    token = text.NextToken();
  }
  if (!sqlValidIdentifier(token))
    return error.Fail(201, kInvalidIdentifier);
  if (!ParseQualifiedName(text, error, std::move(token), leaf.leftTable, leaf.column))
    return false;
  if (function && text.NextToken() != ")")
    return error.Fail(200, "Expected ')'");
  if (!ParseOperator(text, error, leaf))
    return false;
  if (leaf.op == kSqlIsNull || leaf.op == kSqlIsNotNull)
    return true;

  std::string right = text.NextToken();
  // The end of the text or a punctuation token where a value belongs.
  if (right.empty() || std::string_view("(),.=<>").find(right[0]) != std::string_view::npos)
    return error.Fail(200, "Expected a value");
  if (sqlIsQuoted(right)) {
    leaf.rightText = sqlLiteralText(right);
    return true;
  }
  if (leaf.op == kSqlLike || leaf.op == kSqlNotLike)
    return error.Fail(201, "Quotes expected after LIKE operation");
  if (!sqlValidIdentifier(right)) {
    leaf.rightText = std::move(right);
    return true;
  }
  leaf.rightKind = kSqlRightColumn;
  return ParseQualifiedName(text, error, std::move(right), leaf.rightTable, leaf.rightText);
}

} // namespace

// Sub-trees are freed as a loop along the right spine, so that a long chain
// of conditions does not recurse once per condition.
selectConstraint::~selectConstraint() {
  std::unique_ptr<selectConstraint> spine = std::move(right);
  while (spine) {
    std::unique_ptr<selectConstraint> next = std::move(spine->right);
    spine = std::move(next);
  }
}

bool ParseSelectConstraint(SqlText &text, SqlError &error, std::unique_ptr<selectConstraint> &out) {
  out.reset();
  // The leaves and the joining operators in reading order; the tree nests to
  // the right, so it is built from the last leaf backwards.
  std::vector<std::unique_ptr<selectConstraint>> leaves;
  std::vector<uint32_t> joins;
  for (;;) {
    if (static_cast<int>(leaves.size()) >= kSqlMaximumConditions)
      return error.Fail(201, "Too many conditions");
    auto leaf = std::make_unique<selectConstraint>();
    if (!ParseLeaf(text, error, *leaf))
      return false;
    leaves.push_back(std::move(leaf));
    const std::string token = text.NextToken();
    if (sqlEqualsIgnoringCase(token, "and"))
      joins.push_back(kSqlAnd);
    else if (sqlEqualsIgnoringCase(token, "or"))
      joins.push_back(kSqlOr);
    else {
      text.PushBack();
      break;
    }
  }
  std::unique_ptr<selectConstraint> tree = std::move(leaves.back());
  for (size_t i = joins.size(); i-- > 0;) {
    auto node = std::make_unique<selectConstraint>();
    node->op = joins[i];
    node->left = std::move(leaves[i]);
    node->right = std::move(tree);
    tree = std::move(node);
  }
  out = std::move(tree);
  return true;
}
