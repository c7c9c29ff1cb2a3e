// The rows of a SELECT over one or more tables: a nested-loop join whose
// first FROM entry is the outermost loop. Each time a table is opened, the
// WHERE tree is rewritten for it, with the columns of the tables outside it
// replaced by their current values, and handed to its engine; when the
// engine cannot have seen the whole condition (two or more tables, or a
// comparison of two columns) the whole WHERE is also evaluated on each
// combined row, where a NULL compares false.
#pragma once
#include <cstdint>
#include <vector>

#include "database/DatabaseObjects.h"
#include "database/sql/SelectQuery.h"

struct JoinState {
  SelectQuery query;
  DatabaseObject *database = nullptr;        // one reference
  std::vector<DatabaseCursorObject *> rows; // per FROM entry, one reference, or null when not open
  bool evaluateWhere = false;
};

// Sets up the state for the checked query (taking a reference to database).
void sqlStartJoin(JoinState &state, DatabaseObject *database);
// Advances the join from FROM entry t inwards to its next combined row;
// false when entry t and those inside it are exhausted.
bool pieceNextRow(JoinState &state, size_t t);
// The next combined row that satisfies the WHERE; false at the end.
bool sqlNextJoinedRow(JoinState &state);
// Closes every open table, so that the next step starts from the first row.
void sqlRestartJoin(JoinState &state);
// Releases the tables and the Database.
void sqlEndJoin(JoinState &state);

// The WHERE tree for table t as the engine's condition tree (null: none).
ZANTcolumnConstraints *rewriteConstraintForTable(const JoinState &state, const selectConstraint *node, size_t t);
// The operator seen from the other side: < and > exchanged, <= and >=.
uint32_t swapComparisonOperator(uint32_t op);
// The WHERE on the current combined row.
bool sqlEvaluateWhere(const JoinState &state, const selectConstraint *node);
