#include "database/sql/AggregateCursor.h"

#include <cstring>

#include "database/DatabaseInterface.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SortedCursor.h"
#include "database/sql/ValueOrder.h"
#include "runtime/application/CommonRuntimeFunctions.h"

namespace {

using Row = std::vector<SqlValue>;

struct AggregateState {
  DatabaseCursorObject *source = nullptr; // one reference; null once exhausted
  std::vector<int32_t> kinds;
  int32_t groupColumn = -1;
  std::vector<Row> groups; // the groups computed so far
  int64_t current = -1;
  bool producedAny = false;
};

AggregateState *StateOf(dbCursor *cursor) { return reinterpret_cast<AggregateState *>(cursor); }

SqlValue Number(double value) {
  SqlValue result;
  result.type = kColumnDouble;
  result.bytes.assign(reinterpret_cast<const char *>(&value), sizeof value);
  return result;
}

SqlValue Count(int32_t count) {
  SqlValue result;
  result.type = kColumnInteger;
  result.bytes.assign(reinterpret_cast<const char *>(&count), sizeof count);
  return result;
}

bool SameValue(const SqlValue &a, const SqlValue &b) { return a.type == b.type && a.bytes == b.bytes; }

void ReleaseSource(AggregateState *state) {
  RuntimeUnlockObject(state->source ? &state->source->header : nullptr);
  state->source = nullptr;
}

// Computes the next group from the source; false when there is none.
bool ComputeGroup(AggregateState *state) {
  const int32_t columns = static_cast<int32_t>(state->kinds.size());
  struct Accumulator {
    int32_t rows = 0, values = 0;
    double sum = 0, min = 0, max = 0;
  };
  std::vector<Accumulator> accumulators(state->kinds.size());
  Row first;
  if (!state->source || state->source->eof) {
    ReleaseSource(state);
    // Without GROUP BY every row is in the one group, which exists also
    // when there are no rows.
    if (state->groupColumn >= 0 || state->producedAny)
      return false;
  } else {
    const int32_t sourceColumns = cursorFieldCount(&state->source->header);
    sqlLoadRow(state->source, sourceColumns, first);
    while (!state->source->eof) {
      Row row;
      sqlLoadRow(state->source, sourceColumns, row);
      if (state->groupColumn >= 0 && state->groupColumn < sourceColumns &&
          !SameValue(row[state->groupColumn], first[state->groupColumn]))
        break;
      for (int32_t column = 0; column < columns && column < sourceColumns; ++column) {
        Accumulator &accumulator = accumulators[column];
        ++accumulator.rows;
        double x = 0;
        if (state->kinds[column] == kSqlCount || !sqlNumericValue(row[column], x))
          continue;
        accumulator.min = accumulator.values == 0 || x < accumulator.min ? x : accumulator.min;
        accumulator.max = accumulator.values == 0 || x > accumulator.max ? x : accumulator.max;
        accumulator.sum += x;
        ++accumulator.values;
      }
      cursorMoveNext(&state->source->header);
      RuntimeBackgroundTask();
    }
  }
  first.resize(state->kinds.size());
  Row result(state->kinds.size());
  for (int32_t column = 0; column < columns; ++column) {
    const Accumulator &accumulator = accumulators[column];
    switch (state->kinds[column]) {
    case kSqlCount: result[column] = Count(accumulator.rows); break;
    case kSqlAvg:
      if (accumulator.values)
        result[column] = Number(accumulator.sum / accumulator.values);
      break;
    case kSqlSum:
      if (accumulator.values)
        result[column] = Number(accumulator.sum);
      break;
    case kSqlMin:
      if (accumulator.values)
        result[column] = Number(accumulator.min);
      break;
    case kSqlMax:
      if (accumulator.values)
        result[column] = Number(accumulator.max);
      break;
    default: result[column] = first[column]; break;
    }
  }
  state->groups.push_back(std::move(result));
  state->producedAny = true;
  return true;
}

void CloseAggregate(dbCursor *cursor) {
  ReleaseSource(StateOf(cursor));
  delete StateOf(cursor);
}

int32_t AggregateColumnCount(dbCursor *cursor) { return static_cast<int32_t>(StateOf(cursor)->kinds.size()); }

stringStorage *AggregateColumnName(dbCursor *, int32_t) { return nullptr; }

void AggregateColumnValue(dbCursor *cursor, int32_t column, void **data, uint8_t *type, int32_t *length) {
  AggregateState *state = StateOf(cursor);
  *data = nullptr;
  *type = kColumnNull;
  *length = 0;
  if (state->current < 0 || state->current >= static_cast<int64_t>(state->groups.size()) || column < 0 ||
      column >= AggregateColumnCount(cursor))
    return;
  SqlValue &value = state->groups[state->current][column];
  *data = value.bytes.data();
  *type = value.type;
  *length = static_cast<int32_t>(value.bytes.size());
}

int32_t AggregateNext(dbCursor *cursor) {
  AggregateState *state = StateOf(cursor);
  const int64_t count = static_cast<int64_t>(state->groups.size());
  if (state->current + 1 < count || ComputeGroup(state)) {
    ++state->current;
    return 1;
  }
  state->current = static_cast<int64_t>(state->groups.size());
  return 0;
}

int32_t AggregatePrevious(dbCursor *cursor) {
  if (StateOf(cursor)->current > 0)
    --StateOf(cursor)->current;
  return 1;
}

int32_t AggregateFirst(dbCursor *cursor) {
  AggregateState *state = StateOf(cursor);
  if (state->groups.empty())
    ComputeGroup(state);
  state->current = 0;
  return 1;
}

int32_t AggregateLast(dbCursor *cursor) {
  AggregateState *state = StateOf(cursor);
  while (ComputeGroup(state)) {
  }
  if (!state->groups.empty())
    state->current = static_cast<int64_t>(state->groups.size()) - 1;
  return 1;
}

ZANTdbCursorDefinition gAggregateCursor = [] {
  ZANTdbCursorDefinition slots{};
  slots.version = kDatabaseDefinitionVersion;
  slots.closeCursor = CloseAggregate;
  slots.getColumnCount = AggregateColumnCount;
  slots.getColumnName = AggregateColumnName;
  slots.getColumnValue = AggregateColumnValue;
  slots.nextRow = AggregateNext;
  slots.previousRow = AggregatePrevious;
  slots.firstRow = AggregateFirst;
  slots.lastRow = AggregateLast;
  return slots;
}();

} // namespace

RuntimeObject *buildAggregateCursor(DatabaseCursorObject *source, const std::vector<int32_t> &kinds,
                                    int32_t groupColumn) {
  auto *state = new AggregateState;
  RuntimeLockObject(source ? &source->header : nullptr);
  state->source = source;
  state->kinds = kinds;
  state->groupColumn = groupColumn;
  return ZANTdbCursorFromDBCursor(reinterpret_cast<dbCursor *>(state), &gAggregateCursor);
}
