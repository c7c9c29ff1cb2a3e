// A parsed and checked SELECT: its select list, FROM list, WHERE tree and
// sort list, and the parser that builds it.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/DatabaseObjects.h"
#include "database/sql/SortedCursor.h"
#include "database/sql/SqlError.h"
#include "database/sql/WhereClause.h"

// More sort items than this are refused.
inline constexpr int kSqlMaximumSortItems = 32;

// One entry of the select list.
struct selectColumn {
  std::string column;        // "*" for all columns
  std::string table;         // as written; empty when unqualified
  int32_t function = 0;      // SqlAggregateKind
  int32_t resolvedTable = -1; // the FROM entry the checks found
  int32_t boundColumn = -1;  // its column in that entry's record set
  bool fixed = false;        // made by expanding "*" or COUNT(*): resolved once
};

// A sort item as written: a select-list number (1-based) or a hidden column.
struct SortItem {
  bool hidden;
  int32_t number; // the select-list number, or the hidden column's position
  uint8_t descending;
};

// One entry of the FROM list.
struct selectTable {
  std::string reference; // the alias, or the table name
  std::string name;
};

struct SelectQuery {
  std::vector<selectColumn> columns; // visible ones, then hidden sort columns
  std::vector<selectTable> tables;
  std::unique_ptr<selectConstraint> where;
  std::vector<SortItem> sortItems;
  std::vector<sortSpec> sort; // the items as result columns, once checked
  int32_t hiddenCount = 0;
  bool grouped = false;    // GROUP BY: the single sort item is the group column
  bool aggregated = false; // an aggregate function in the select list

  int32_t VisibleCount() const { return static_cast<int32_t>(columns.size()) - hiddenCount; }
};

// Parses the SELECT text and checks its names against the Database's field
// schemas. On failure the error is set.
bool ParseSelect(DatabaseObject *database, std::string_view sql, SelectQuery &query, SqlError &error);
