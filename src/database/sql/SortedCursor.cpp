#include "database/sql/SortedCursor.h"

#include <algorithm>
#include <vector>

#include "database/DatabaseInterface.h"
#include "database/sql/ListChunk.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlStrings.h"
#include "foundation/RandomAccessMechanism.h"
#include "runtime/application/CommonRuntimeFunctions.h"

namespace {

using Row = std::vector<SqlValue>;

struct SortedState {
  int32_t columnCount = 0;
  std::vector<string> names;
  ListChunk *rows = nullptr;
  int32_t current = -1;
  int32_t hiddenCount = 0;
  std::string value; // the value last handed out
};

SortedState *StateOf(dbCursor *cursor) { return reinterpret_cast<SortedState *>(cursor); }

// Rows compare by the keys (a descending key reversed), then column by column.
struct RowOrder {
  const sortSpec *keys;
  int32_t keyCount;
  int operator()(const Row &a, const Row &b) const {
    for (int32_t i = 0; i < keyCount; ++i) {
      const size_t column = static_cast<size_t>(keys[i].column);
      if (keys[i].column < 0 || column >= a.size() || column >= b.size())
        continue;
      int order = sqlCompareValues(a[column], b[column]);
      if (keys[i].descending)
        order = -order;
      if (order)
        return order;
    }
    for (size_t column = 0; column < a.size() && column < b.size(); ++column)
      if (int order = sqlCompareValues(a[column], b[column]))
        return order;
    return 0;
  }
};

bool WriteRow(RandomAccessMechanism *file, const Row &row) {
  for (const SqlValue &value : row)
    if (!file || !file->WriteShort(value.type) || !file->WriteLong(static_cast<int>(value.bytes.size())) ||
        (!value.bytes.empty() && !file->WriteData(value.bytes.data(), static_cast<long>(value.bytes.size()))))
      return false;
  return true;
}

bool ReadValue(RandomAccessMechanism *file, SqlValue &value) {
  short type = 0;
  int length = 0;
  if (!file->ReadShort(type) || !file->ReadLong(length) || length < 0)
    return false;
  value.type = static_cast<uint8_t>(type);
  value.bytes.resize(static_cast<size_t>(length));
  long got = 0;
  return length == 0 || (file->ReadData(value.bytes.data(), length, got) && got == length);
}

bool ReadRow(RandomAccessMechanism *file, int32_t columnCount, Row &row) {
  row.resize(static_cast<size_t>(columnCount));
  for (SqlValue &value : row)
    if (!ReadValue(file, value))
      return false;
  return true;
}

// What a row costs the run's budget: its value bytes, and a few bytes for
// each value so that a run of empty values is bounded too.
size_t RowBytes(const Row &row) {
  size_t bytes = 0;
  for (const SqlValue &value : row)
    bytes += value.bytes.size() + 8;
  return bytes;
}

// Reads the rows of a chunk in order, from the start of its data file.
struct ChunkReader {
  ChunkReader(ListChunk *from, int32_t columns) : chunk(from), columnCount(columns) {}

  ListChunk *chunk;
  int32_t columnCount;
  int32_t next = 0;
  long position = 0;
  Row row;
  bool have = false;

  bool Advance() {
    have = false;
    if (next >= listChunkCount(chunk))
      return true;
    RandomAccessMechanism *data = getChunkStorage(chunk);
    if (!data->SeekFromStart(position) || !ReadRow(data, columnCount, row))
      return false;
    position = data->GetPosition();
    ++next;
    have = true;
    return true;
  }
};

// Merges two sorted chunks into a new one (nil on failure); on ties the row
// of the first comes first.
ListChunk *MergeChunks(ListChunk *first, ListChunk *second, int32_t columnCount, const RowOrder &order) {
  ListChunk *merged = newListChunk();
  ChunkReader a(first, columnCount), b(second, columnCount);
  bool ok = merged && a.Advance() && b.Advance();
  while (ok && (a.have || b.have)) {
    ChunkReader &from = a.have && (!b.have || order(a.row, b.row) <= 0) ? a : b;
    ok = WriteRow(addListChunk(merged), from.row) && from.Advance();
  }
  if (!ok) {
    disposeListChunk(merged);
    return nullptr;
  }
  return merged;
}

// Sorted chunks waiting to be merged, the largest at the bottom. A new run is
// merged with the chunks above it while they are no larger, so that every
// row is rewritten only about log(rows) times.
struct ChunkStack {
  std::vector<ListChunk *> chunks;
  ~ChunkStack() {
    for (ListChunk *chunk : chunks)
      disposeListChunk(chunk);
  }
  bool MergeTop(int32_t columnCount, const RowOrder &order) {
    ListChunk *second = chunks.back();
    ListChunk *first = chunks[chunks.size() - 2];
    ListChunk *merged = MergeChunks(first, second, columnCount, order);
    if (!merged)
      return false;
    chunks.pop_back();
    chunks.back() = merged;
    disposeListChunk(first);
    disposeListChunk(second);
    return true;
  }
  // Sorts the run, writes it as a chunk and merges what has grown alike.
  bool AddRun(std::vector<Row> &run, int32_t columnCount, const RowOrder &order) {
    std::stable_sort(run.begin(), run.end(), [&](const Row &a, const Row &b) { return order(a, b) < 0; });
    ListChunk *chunk = newListChunk();
    if (!chunk)
      return false;
    chunks.push_back(chunk);
    for (const Row &row : run)
      if (!WriteRow(addListChunk(chunk), row))
        return false;
    run.clear();
    while (chunks.size() >= 2 && listChunkCount(chunks[chunks.size() - 2]) <= listChunkCount(chunks.back()))
      if (!MergeTop(columnCount, order))
        return false;
    return true;
  }
  // Merges everything into one chunk and hands it over (nil when empty).
  bool Finish(int32_t columnCount, const RowOrder &order, ListChunk *&result) {
    while (chunks.size() >= 2)
      if (!MergeTop(columnCount, order))
        return false;
    result = chunks.empty() ? nullptr : chunks.back();
    chunks.clear();
    return true;
  }
};

// Cursor slots.
void CloseSorted(dbCursor *cursor) {
  disposeListChunk(StateOf(cursor)->rows);
  delete StateOf(cursor);
}

int32_t SortedColumnCount(dbCursor *cursor) { return StateOf(cursor)->columnCount - StateOf(cursor)->hiddenCount; }

stringStorage *SortedColumnName(dbCursor *cursor, int32_t column) {
  SortedState *state = StateOf(cursor);
  if (column < 0 || column >= SortedColumnCount(cursor))
    return nullptr;
  return state->names[column].ExtractStringStorage();
}

void SortedColumnValue(dbCursor *cursor, int32_t column, void **data, uint8_t *type, int32_t *length) {
  SortedState *state = StateOf(cursor);
  *data = nullptr;
  *type = kColumnNull;
  *length = 0;
  if (state->current < 0 || state->current >= listChunkCount(state->rows) || column < 0 ||
      column >= SortedColumnCount(cursor))
    return;
  RandomAccessMechanism *file = getListChunk(state->rows, state->current);
  if (!file)
    return;
  SqlValue value;
  for (int32_t i = 0; i <= column; ++i) {
    if (i < column) {
      short skippedType = 0;
      int skippedLength = 0;
      if (!file->ReadShort(skippedType) || !file->ReadLong(skippedLength) ||
          !file->SeekFromStart(file->GetPosition() + skippedLength))
        return;
    } else if (!ReadValue(file, value)) {
      return;
    }
  }
  state->value = std::move(value.bytes);
  *data = state->value.data();
  *type = value.type;
  *length = static_cast<int32_t>(state->value.size());
}

void SortedRelease(dbCursor *cursor) { std::string().swap(StateOf(cursor)->value); }

int32_t SortedNext(dbCursor *cursor) {
  SortedState *state = StateOf(cursor);
  if (state->current < listChunkCount(state->rows))
    ++state->current;
  return state->current < listChunkCount(state->rows) ? 1 : 0;
}

int32_t SortedPrevious(dbCursor *cursor) {
  if (StateOf(cursor)->current > 0)
    --StateOf(cursor)->current;
  return 1;
}

int32_t SortedFirst(dbCursor *cursor) {
  StateOf(cursor)->current = 0;
  return 1;
}

int32_t SortedLast(dbCursor *cursor) {
  if (const int32_t count = listChunkCount(StateOf(cursor)->rows))
    StateOf(cursor)->current = count - 1;
  return 1;
}

ZANTdbCursorDefinition gSortedCursor = [] {
  ZANTdbCursorDefinition slots{};
  slots.version = kDatabaseDefinitionVersion;
  slots.closeCursor = CloseSorted;
  slots.getColumnCount = SortedColumnCount;
  slots.getColumnName = SortedColumnName;
  slots.getColumnValue = SortedColumnValue;
  slots.releaseValue = SortedRelease;
  slots.nextRow = SortedNext;
  slots.previousRow = SortedPrevious;
  slots.firstRow = SortedFirst;
  slots.lastRow = SortedLast;
  return slots;
}();

} // namespace

void sqlLoadRow(DatabaseCursorObject *source, int32_t columnCount, std::vector<SqlValue> &row) {
  row.assign(static_cast<size_t>(columnCount), SqlValue());
  const bool readable = source->handle && source->definition && source->definition->getColumnValue;
  if (source->eof || source->bof || !readable)
    return;
  for (int32_t column = 0; column < columnCount; ++column) {
    DatabaseValue value = ReadCursorValue(source, column);
    row[column].type = value.type == kColumnStringRef ? static_cast<uint8_t>(kColumnText) : value.type;
    row[column].bytes = sqlStdString(value.bytes.Storage());
  }
}

RuntimeObject *buildOrderedCursor(DatabaseCursorObject *source, int32_t keyCount, const sortSpec *keys,
                                  int32_t hiddenCount, size_t budget) {
  auto state = new SortedState;
  state->columnCount = cursorFieldCount(&source->header);
  state->hiddenCount = hiddenCount;
  for (int32_t column = 0; column < state->columnCount; ++column) {
    ZANTdbCursorDefinition *slots = source->definition;
    state->names.push_back(slots && slots->getColumnName && source->handle
                               ? string::Adopt(slots->getColumnName(source->handle, column))
                               : string());
  }
  const RowOrder order{keys, keyCount};
  std::vector<Row> run;
  size_t runBytes = 0;
  ChunkStack sorted;
  bool ok = true;
  while (ok && !source->eof) {
    Row row;
    sqlLoadRow(source, state->columnCount, row);
    const size_t bytes = RowBytes(row);
    // A row past the budget waits for the next run; a run always takes one
    // row, so a value larger than the budget is kept whole.
    if (!run.empty() && runBytes + bytes > budget) {
      ok = sorted.AddRun(run, state->columnCount, order);
      runBytes = 0;
    }
    run.push_back(std::move(row));
    runBytes += bytes;
    cursorMoveNext(&source->header);
    RuntimeBackgroundTask();
  }
  if (ok && !run.empty())
    ok = sorted.AddRun(run, state->columnCount, order);
  if (!ok || !sorted.Finish(state->columnCount, order, state->rows)) {
    CloseSorted(reinterpret_cast<dbCursor *>(state));
    return nullptr;
  }
  return ZANTdbCursorFromDBCursor(reinterpret_cast<dbCursor *>(state), &gSortedCursor);
}
