// ORDER BY over a record set whose engine cannot sort: the rows are read into
// runs of bounded size, each run sorted in memory and merged into one sorted
// list chunk on disk, and the result is offered as a new, read-only record
// set that can move forwards and backwards.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "database/DatabaseObjects.h"
#include "database/sql/ValueOrder.h"

// One sort key: a 0-based column of the source, and descending.
struct sortSpec {
  int32_t column;
  uint8_t descending;
};
static_assert(sizeof(sortSpec) == 8);

// The value bytes a run holds in memory before it is merged to disk.
inline constexpr size_t kSortRunBudget = 640000;

// Sorts the source's rows from its current row to its end (the source ends at
// EOF and stays the caller's) by the keys, then by every column ascending.
// The last hiddenCount columns are sorted by but not shown. Answers a new
// record set on its first row (one reference), or nil when the temporary
// files cannot be made.
RuntimeObject *buildOrderedCursor(DatabaseCursorObject *source, int32_t keyCount, const sortSpec *keys,
                                  int32_t hiddenCount, size_t budget = kSortRunBudget);

// The values of the source's current row (NULL for every column at EOF or
// BOF); a string reference becomes its text.
void sqlLoadRow(DatabaseCursorObject *source, int32_t columnCount, std::vector<SqlValue> &row);
