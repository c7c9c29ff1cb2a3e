#include "database/sql/SelectQuery.h"

#include "database/sql/AggregateCursor.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlTokenizer.h"

namespace {

bool Is(const std::string &token, const char *keyword) { return sqlEqualsIgnoringCase(token, keyword); }

int32_t AggregateOf(const std::string &name) {
  static const struct {
    const char *name;
    int32_t kind;
  } kFunctions[] = {{"count", kSqlCount}, {"avg", kSqlAvg}, {"sum", kSqlSum}, {"min", kSqlMin}, {"max", kSqlMax}};
  for (const auto &function : kFunctions)
    if (Is(name, function.name))
      return function.kind;
  return kSqlPlainColumn;
}

// "[table .] column" whose first name was taken already; a next token other
// than "." stays in the text.
bool ParseColumnReference(SqlText &text, SqlError &error, std::string first, selectColumn &item,
                          const char *invalidColumn) {
  if (text.NextToken() != ".") {
    text.PushBack();
    item.column = std::move(first);
    return true;
  }
  std::string column = text.NextToken();
  if (!sqlValidIdentifier(column))
    return error.Fail(201, invalidColumn);
  item.table = std::move(first);
  item.column = std::move(column);
  return true;
}

bool ParseSelectItem(SqlText &text, SqlError &error, SelectQuery &query) {
  selectColumn item;
  const std::string first = text.NextToken();
  if (first == "*") {
    item.column = "*";
    query.columns.push_back(item);
    return true;
  }
  if (!sqlValidIdentifier(first))
    return error.Fail(201, "Invalid column/table name");
  const std::string next = text.NextToken();
  if (next == "(") {
    item.function = AggregateOf(first);
    if (item.function == kSqlPlainColumn)
      return error.Fail(201, "Unsupported SELECT function");
    const std::string argument = text.NextToken();
    if (item.function == kSqlCount) {
      if (argument != "*")
        return error.Fail(201, "Only COUNT(*) supported");
      item.column = "*";
    } else {
      if (!sqlValidIdentifier(argument))
        return error.Fail(201, "Invalid column/table name");
      if (!ParseColumnReference(text, error, argument, item, "Invalid column name"))
        return false;
    }
    if (text.NextToken() != ")")
      return error.Fail(200, "Expected ')'");
    query.aggregated = true;
  } else if (next == ".") {
    const std::string column = text.NextToken();
    if (column != "*" && !sqlValidIdentifier(column))
      return error.Fail(201, "Invalid column name");
    item.table = first;
    item.column = column;
  } else {
    text.PushBack();
    item.column = first;
  }
  query.columns.push_back(item);
  return true;
}

// A hidden column to sort or group by.
bool ParseHiddenColumn(SqlText &text, SqlError &error, SelectQuery &query, const char *invalid) {
  const std::string first = text.NextToken();
  if (!sqlValidIdentifier(first))
    return error.Fail(201, invalid);
  selectColumn item;
  if (!ParseColumnReference(text, error, first, item, invalid))
    return false;
  query.columns.push_back(item);
  ++query.hiddenCount;
  return true;
}

bool ParseOrderBy(SqlText &text, SqlError &error, SelectQuery &query) {
  if (!Is(text.NextToken(), "by"))
    return error.Fail(200, "Expecting 'BY'");
  for (;;) {
    if (static_cast<int>(query.sortItems.size()) >= kSqlMaximumSortItems)
      return error.Fail(201, "Too many ORDER BY columns");
    const char *invalid = query.sortItems.empty() ? "Invalid ORDER BY column" : "Invalid column index";
    const std::string item = text.NextToken();
    SortItem sort{false, 0, 0};
    if (sqlValidInteger(item)) {
      sort.number = item.size() > 9 ? 0 : static_cast<int32_t>(std::stol(item));
      if (sort.number < 1)
        return error.Fail(201, invalid);
    } else {
      text.PushBack();
      if (!ParseHiddenColumn(text, error, query, invalid))
        return false;
      sort.hidden = true;
      sort.number = query.hiddenCount - 1;
    }
    const std::string direction = text.NextToken();
    if (Is(direction, "desc"))
      sort.descending = 1;
    else if (!Is(direction, "asc"))
      text.PushBack();
    query.sortItems.push_back(sort);
    if (text.NextToken() != ",") {
      text.PushBack();
      return true;
    }
  }
}

bool ParseGroupBy(SqlText &text, SqlError &error, SelectQuery &query) {
  if (!Is(text.NextToken(), "by"))
    return error.Fail(200, "Expecting 'BY'");
  if (!query.sortItems.empty())
    return error.Fail(201, "ORDER BY can't be used in conjunction with GROUP BY");
  if (!ParseHiddenColumn(text, error, query, "Invalid GROUP BY column"))
    return false;
  query.sortItems.push_back(SortItem{true, query.hiddenCount - 1, 0});
  query.grouped = true;
  if (text.NextToken() == ",")
    return error.Fail(201, "Only single GROUP BY columns currently supported");
  text.PushBack();
  return true;
}

bool ParseText(std::string_view sql, SelectQuery &query, SqlError &error) {
  SqlText text(sql);
  if (!Is(text.NextToken(), "select"))
    return error.Fail(200, "Expected 'SELECT'");
  for (;;) {
    if (!ParseSelectItem(text, error, query))
      return false;
    const std::string separator = text.NextToken();
    if (Is(separator, "from"))
      break;
    if (separator != ",")
      return error.Fail(200, "Expecting ','");
  }
  for (;;) {
    selectTable table;
    table.name = text.NextToken();
    if (!sqlValidIdentifier(table.name))
      return error.Fail(201, "Invalid table name");
    table.reference = table.name;
    std::string next = text.NextToken();
    if (!next.empty() && next != "," && !Is(next, "where") && !Is(next, "order") && !Is(next, "group")) {
      if (!sqlValidIdentifier(next))
        return error.Fail(201, "Invalid table name");
      table.reference = next;
      next = text.NextToken();
    }
    query.tables.push_back(table);
    if (next != ",") {
      text.PushBack();
      break;
    }
  }
  std::string token = text.NextToken();
  if (Is(token, "where")) {
    if (!ParseSelectConstraint(text, error, query.where))
      return false;
    token = text.NextToken();
  }
  if (Is(token, "order")) {
    if (!ParseOrderBy(text, error, query))
      return false;
    token = text.NextToken();
  }
  if (Is(token, "group")) {
    if (!ParseGroupBy(text, error, query))
      return false;
    token = text.NextToken();
  }
  // A misspelt clause must not pass unnoticed.
  if (!token.empty())
    return error.Fail(201, "Unexpected " + token);
  return true;
}

// Resolves the WHERE leaves that name this column of FROM entry t.
bool ResolveWhere(selectConstraint *node, const SelectQuery &query, int32_t t, const std::string &column,
                  SqlError &error) {
  if (!node)
    return true;
  if (!node->IsLeaf())
    return ResolveWhere(node->left.get(), query, t, column, error) &&
           ResolveWhere(node->right.get(), query, t, column, error);
  const std::string &reference = query.tables[t].reference;
  auto resolve = [&](const std::string &name, const std::string &table, std::string &resolved) {
    if (!sqlEqualsIgnoringCase(name, column))
      return true;
    if (!table.empty()) {
      if (sqlEqualsIgnoringCase(table, reference))
        resolved = reference;
      return true;
    }
    if (!resolved.empty() && !sqlEqualsIgnoringCase(resolved, reference))
      return error.Fail(205, "Ambiguous column reference: " + column);
    resolved = reference;
    return true;
  };
  if (!resolve(node->column, node->leftTable, node->leftResolvedTable))
    return false;
  if (node->rightKind == kSqlRightColumn && !resolve(node->rightText, node->rightTable, node->rightResolvedTable))
    return false;
  return true;
}

bool WhereResolved(const selectConstraint *node, SqlError &error) {
  if (!node)
    return true;
  if (!node->IsLeaf())
    return WhereResolved(node->left.get(), error) && WhereResolved(node->right.get(), error);
  if (node->leftResolvedTable.empty())
    return error.Fail(206, "Unknown column: " + node->column);
  if (node->rightKind == kSqlRightColumn && node->rightResolvedTable.empty())
    return error.Fail(206, "Unknown column: " + node->rightText);
  return true;
}

bool Check(DatabaseObject *database, SelectQuery &query, SqlError &error) {
  for (int32_t t = 0; t < static_cast<int32_t>(query.tables.size()); ++t) {
    const selectTable &table = query.tables[t];
    std::vector<std::string> schema;
    if (!sqlTableColumns(database, table.name, schema))
      return error.Fail(202, "Invalid table " + table.name);
    for (const std::string &column : schema) {
      for (size_t i = 0; i < query.columns.size(); ++i) {
        selectColumn &item = query.columns[i];
        const bool mine = item.table.empty() || sqlEqualsIgnoringCase(item.table, table.reference);
        if (!mine || (item.fixed && item.resolvedTable >= 0))
          continue;
        if (item.column == "*") {
          if (item.function == kSqlCount) {
            item.column = column;
            item.resolvedTable = t;
            item.fixed = true;
          } else {
            selectColumn added;
            added.column = column;
            added.table = item.table;
            added.resolvedTable = t;
            added.fixed = true;
            query.columns.insert(query.columns.begin() + static_cast<long>(i), added);
            ++i;
          }
        } else if (sqlEqualsIgnoringCase(item.column, column)) {
          if (item.table.empty() && item.resolvedTable >= 0 && item.resolvedTable != t)
            return error.Fail(205, "Ambiguous column reference: " + column);
          item.resolvedTable = t;
        }
      }
      if (!ResolveWhere(query.where.get(), query, t, column, error))
        return false;
    }
  }
  for (size_t i = 0; i < query.columns.size();) {
    if (query.columns[i].column == "*" && query.columns[i].function != kSqlCount) {
      query.columns.erase(query.columns.begin() + static_cast<long>(i));
      continue;
    }
    if (query.columns[i].resolvedTable < 0)
      return error.Fail(206, "Unknown column: " + query.columns[i].column);
    ++i;
  }
  if (query.columns.size() == static_cast<size_t>(query.hiddenCount))
    return error.Fail(206, "Unknown column: *");
  if (!WhereResolved(query.where.get(), error))
    return false;
  // Sort items as result columns: hidden columns follow the visible ones.
  const int32_t visible = query.VisibleCount();
  for (const SortItem &item : query.sortItems) {
    if (!item.hidden && item.number > visible)
      return error.Fail(201, query.sort.empty() ? "Invalid ORDER BY column" : "Invalid column index");
    query.sort.push_back(sortSpec{item.hidden ? visible + item.number : item.number - 1, item.descending});
  }
  return true;
}

} // namespace

bool ParseSelect(DatabaseObject *database, std::string_view sql, SelectQuery &query, SqlError &error) {
  return ParseText(sql, query, error) && Check(database, query, error);
}
