// COUNT(*), AVG, SUM, MIN and MAX over a record set, grouped by at most one
// column of a source sorted by it: each result row is one group, computed
// when the cursor first reaches it and kept, so the result can move back.
#pragma once
#include <cstdint>
#include <vector>

#include "database/DatabaseObjects.h"

// What a result column computes from the source column of the same number.
enum SqlAggregateKind : int32_t {
  kSqlPlainColumn = 0, // the value of the group's first row
  kSqlCount = 1,
  kSqlAvg = 2,
  kSqlSum = 3,
  kSqlMin = 4,
  kSqlMax = 5,
};

// A record set over the source (which it holds a reference to) with one
// column per kind; groupColumn is the source column of GROUP BY, or -1 for
// one group of every row (one result row even when the source is empty).
// COUNT counts rows; the others take the numeric values only and answer NULL
// when a group has none.
RuntimeObject *buildAggregateCursor(DatabaseCursorObject *source, const std::vector<int32_t> &kinds,
                                    int32_t groupColumn);
