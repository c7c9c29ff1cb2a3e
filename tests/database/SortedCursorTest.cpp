#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "FakeEngine.h"
#include "database/DatabaseInterface.h"
#include "database/sql/ListChunk.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SortedCursor.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlStrings.h"
#include "foundation/RandomAccessMechanism.h"

namespace {

using Row = std::vector<SqlValue>;

// A read-only cursor over rows held in memory.
struct VectorCursor {
  std::vector<Row> rows;
  int64_t current = -1;
};

ZANTdbCursorDefinition gVectorCursor = [] {
  ZANTdbCursorDefinition d{};
  d.version = kDatabaseDefinitionVersion;
  d.closeCursor = [](dbCursor *c) { delete reinterpret_cast<VectorCursor *>(c); };
  d.getColumnCount = [](dbCursor *c) {
    auto *v = reinterpret_cast<VectorCursor *>(c);
    return v->rows.empty() ? int32_t{0} : static_cast<int32_t>(v->rows[0].size());
  };
  d.getColumnName = [](dbCursor *, int32_t column) { return sqlStorage("c" + std::to_string(column)); };
  d.getColumnValue = [](dbCursor *c, int32_t column, void **data, uint8_t *type, int32_t *length) {
    SqlValue &value = reinterpret_cast<VectorCursor *>(c)->rows[reinterpret_cast<VectorCursor *>(c)->current][column];
    *data = value.bytes.data();
    *type = value.type;
    *length = static_cast<int32_t>(value.bytes.size());
  };
  d.nextRow = [](dbCursor *c) {
    auto *v = reinterpret_cast<VectorCursor *>(c);
    return int32_t(++v->current < static_cast<int64_t>(v->rows.size()));
  };
  return d;
}();

DatabaseCursorObject *Source(std::vector<Row> rows) {
  auto *cursor = new VectorCursor{std::move(rows)};
  return reinterpret_cast<DatabaseCursorObject *>(
      ZANTdbCursorFromDBCursor(reinterpret_cast<dbCursor *>(cursor), &gVectorCursor));
}

SqlValue Integer(int32_t value) { return {kColumnInteger, std::string(reinterpret_cast<char *>(&value), 4)}; }
SqlValue Double(double value) { return {kColumnDouble, std::string(reinterpret_cast<char *>(&value), 8)}; }
SqlValue Text(const std::string &text) { return {kColumnText, text}; }
SqlValue Fields(uint8_t type, int a, int b, int c) {
  const char bytes[] = {char(a >> 8), char(a), char(b >> 8), char(b), char(c >> 8), char(c)};
  return {type, std::string(bytes, 6)};
}
SqlValue Boolean(bool value) { return {kColumnBoolean, std::string(1, value ? 1 : 0)}; }
SqlValue Bytes(const std::string &bytes) { return {kColumnLongBinary, bytes}; }

// Every row of a record set from its current one, as values.
std::vector<Row> Read(DatabaseCursorObject *recordSet) {
  std::vector<Row> rows;
  for (; !recordSet->eof; cursorMoveNext(&recordSet->header)) {
    Row row;
    sqlLoadRow(recordSet, cursorFieldCount(&recordSet->header), row);
    rows.push_back(row);
  }
  return rows;
}

bool Same(const Row &a, const Row &b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].type != b[i].type || a[i].bytes != b[i].bytes)
      return false;
  return true;
}

} // namespace

TEST(SortedCursor, ValuesFollowOneTotalOrder) {
  // Ascending, each strictly before the next.
  const std::vector<SqlValue> order = {
      {},          Integer(-7),      Double(-0.5), Integer(0), Double(2.5), Integer(3), Text("A"), Text("a"),
      Text("ab"),  Text("B"),        Fields(kColumnDate, 2001, 1, 9), Fields(kColumnDate, 2001, 2, 1),
      Fields(kColumnDate, 2004, 7, 9), Fields(kColumnTime, 0, 0, 1), Fields(kColumnTime, 9, 5, 0), Boolean(false),
      Boolean(true), Bytes(std::string("\0", 1)), Bytes("a")};
  std::vector<Row> rows;
  for (size_t i = order.size(); i-- > 0;)
    rows.push_back({order[i]});
  std::shuffle(rows.begin(), rows.end(), std::mt19937(7));
  for (uint8_t descending : {0, 1}) {
    DatabaseCursorObject *source = Source(rows);
    const sortSpec key{0, descending};
    auto *sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &key, 0));
    const std::vector<Row> result = Read(sorted);
    ASSERT_EQ(result.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i)
      EXPECT_TRUE(Same(result[i], {order[descending ? order.size() - 1 - i : i]})) << i;
    RuntimeUnlockObject(&sorted->header);
    RuntimeUnlockObject(&source->header);
  }
}

TEST(SortedCursor, SmallRunsMergeToTheOrderOfAStableSort) {
  std::mt19937 random(42);
  std::vector<Row> rows;
  for (int i = 0; i < 3000; ++i) {
    Row row;
    row.push_back(random() % 7 == 0 ? SqlValue{} : Integer(static_cast<int32_t>(random() % 50) - 25));
    row.push_back(Text(std::string(1 + random() % 3, static_cast<char>('a' + random() % 4))));
    row.push_back(random() % 3 ? Fields(kColumnDate, 2000 + random() % 3, 1 + random() % 12, 1) : SqlValue{});
    row.push_back(Integer(i)); // hidden: sorted by, not shown
    rows.push_back(row);
  }
  const sortSpec keys[] = {{2, 1}, {0, 0}, {1, 1}};
  std::vector<Row> expected = rows;
  std::stable_sort(expected.begin(), expected.end(), [&](const Row &a, const Row &b) {
    for (const sortSpec &key : keys) {
      const int order = sqlCompareValues(a[key.column], b[key.column]);
      if (order)
        return key.descending ? order > 0 : order < 0;
    }
    for (size_t i = 0; i < a.size(); ++i)
      if (const int order = sqlCompareValues(a[i], b[i]))
        return order < 0;
    return false;
  });
  // Budgets from a few rows per run to all rows in one run.
  for (size_t budget : {size_t{1}, size_t{100}, size_t{5000}, kSortRunBudget}) {
    DatabaseCursorObject *source = Source(rows);
    auto *sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 3, keys, 1, budget));
    ASSERT_NE(sorted, nullptr);
    EXPECT_EQ(cursorFieldCount(&sorted->header), 3);
    EXPECT_TRUE(source->eof);
    const std::vector<Row> result = Read(sorted);
    ASSERT_EQ(result.size(), expected.size());
    for (size_t i = 0; i < result.size(); ++i)
      ASSERT_TRUE(Same(result[i], Row(expected[i].begin(), expected[i].begin() + 3))) << "budget " << budget << " row " << i;
    RuntimeUnlockObject(&sorted->header);
    RuntimeUnlockObject(&source->header);
  }
}

TEST(SortedCursor, LargeValuesWideRowsAndEmptySources) {
  // A value past the budget comes back whole.
  const std::string big(kSortRunBudget + 1000, 'x');
  std::vector<Row> rows = {{Integer(2), Bytes(big)}, {Integer(1), Bytes("small")}, {Integer(3), Bytes(big + "y")}};
  DatabaseCursorObject *source = Source(rows);
  const sortSpec key{0, 0};
  auto *sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &key, 0));
  const std::vector<Row> result = Read(sorted);
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(result[0][1].bytes, "small");
  EXPECT_EQ(result[1][1].bytes, big);
  EXPECT_EQ(result[2][1].bytes, big + "y");
  RuntimeUnlockObject(&sorted->header);
  RuntimeUnlockObject(&source->header);

  // More than 128 columns.
  Row wide;
  for (int i = 0; i < 300; ++i)
    wide.push_back(Integer(i));
  source = Source({wide, wide});
  const sortSpec last{299, 1};
  sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &last, 0));
  EXPECT_EQ(cursorFieldCount(&sorted->header), 300);
  const std::vector<Row> wideResult = Read(sorted);
  ASSERT_EQ(wideResult.size(), 2u);
  EXPECT_TRUE(Same(wideResult[1], wide));
  RuntimeUnlockObject(&sorted->header);
  RuntimeUnlockObject(&source->header);

  source = Source({});
  sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &key, 0));
  EXPECT_TRUE(sorted->bof);
  EXPECT_TRUE(sorted->eof);
  RuntimeUnlockObject(&sorted->header);
  RuntimeUnlockObject(&source->header);
}

TEST(SortedCursor, ListChunkEntriesAreNumberedBlocks) {
  ListChunk *chunk = newListChunk();
  ASSERT_NE(chunk, nullptr);
  for (int i = 0; i < 5; ++i) {
    RandomAccessMechanism *file = addListChunk(chunk);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->WriteData(std::string(i + 1, char('a' + i)).data(), i + 1));
  }
  EXPECT_EQ(listChunkCount(chunk), 5);
  EXPECT_EQ(getListChunkOffset(chunk, 3), 1 + 2 + 3);
  EXPECT_EQ(getListChunkOffset(chunk, 5), 0);
  RandomAccessMechanism *file = getListChunk(chunk, 2);
  ASSERT_NE(file, nullptr);
  char bytes[3];
  long got = 0;
  ASSERT_TRUE(file->ReadData(bytes, 3, got));
  EXPECT_EQ(std::string(bytes, 3), "ccc");
  EXPECT_EQ(getListChunk(chunk, -1), nullptr);
  EXPECT_EQ(getListChunk(chunk, 5), nullptr);
  disposeListChunk(chunk);
  disposeListChunk(nullptr);
  EXPECT_EQ(listChunkCount(nullptr), 0);
}

// Moving back and forth on sorted, joined and grouped results.
TEST(SortedCursor, MoveFirstPreviousAndLastOnDerivedResults) {
  FakeEngine fake;
  std::vector<FakeRow> rows;
  for (int i = 0; i < 10; ++i)
    rows.push_back({std::to_string(i), std::to_string(i % 3)});
  fake.AddTable("t", {{"id", kColumnInteger}, {"g", kColumnInteger}}, rows);
  fake.AddTable("u", {{"v", kColumnInteger}}, {{"1"}, {"2"}});
  const struct {
    const char *sql;
    const char *first, *secondToLast, *last;
  } cases[] = {
      {"SELECT id FROM t ORDER BY id DESC", "9", "1", "0"},
      {"SELECT id, v FROM t, u WHERE id < 3", "0|1", "2|1", "2|2"},
      {"SELECT id, v FROM t, u WHERE id = v or v = 2 and id > 7", "1|1", "8|2", "9|2"},
      {"SELECT g, COUNT(*), MAX(id) FROM t GROUP BY g", "0|4|9", "1|3|7", "2|3|8"},
      {"SELECT COUNT(*) FROM t", "10", "10", "10"},
      {"SELECT id FROM t WHERE g = 1", "1", "4", "7"},
  };
  for (const auto &c : cases) {
    const string sql = sqlString(c.sql);
    auto *result = reinterpret_cast<DatabaseCursorObject *>(databaseSQLSelect(fake.Database(), sql.Storage()));
    ASSERT_NE(result, nullptr) << c.sql;
    CursorMoveLast(&result->header);
    EXPECT_EQ(FakeCurrentRow(result), c.last) << c.sql;
    CursorMovePrev(&result->header);
    EXPECT_EQ(FakeCurrentRow(result), c.secondToLast) << c.sql;
    CursorMoveFirst(&result->header);
    EXPECT_EQ(FakeCurrentRow(result), c.first) << c.sql;
    CursorMoveLast(&result->header);
    CursorMoveLast(&result->header);
    EXPECT_EQ(FakeCurrentRow(result), c.last) << c.sql;
    EXPECT_FALSE(result->eof);
    RuntimeUnlockObject(&result->header);
  }
}
