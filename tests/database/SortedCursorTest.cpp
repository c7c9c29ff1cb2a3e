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

// Every row of a record set from its current one, as values.
std::vector<SqlRow> Read(DatabaseCursorObject *recordSet) {
  std::vector<SqlRow> rows;
  for (; !recordSet->eof; cursorMoveNext(&recordSet->header)) {
    SqlRow row;
    sqlLoadRow(recordSet, cursorFieldCount(&recordSet->header), row);
    rows.push_back(row);
  }
  return rows;
}

bool Same(const SqlRow &a, const SqlRow &b) {
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
      {},          SqlInteger(-7),      SqlDouble(-0.5), SqlInteger(0), SqlDouble(2.5), SqlInteger(3), SqlText("A"), SqlText("a"),
      SqlText("ab"),  SqlText("B"),        SqlFields(kColumnDate, 2001, 1, 9), SqlFields(kColumnDate, 2001, 2, 1),
      SqlFields(kColumnDate, 2004, 7, 9), SqlFields(kColumnTime, 0, 0, 1), SqlFields(kColumnTime, 9, 5, 0), SqlBoolean(false),
      SqlBoolean(true), SqlBytes(std::string("\0", 1)), SqlBytes("a")};
  std::vector<SqlRow> rows;
  for (size_t i = order.size(); i-- > 0;)
    rows.push_back({order[i]});
  std::shuffle(rows.begin(), rows.end(), std::mt19937(7));
  for (uint8_t descending : {0, 1}) {
    DatabaseCursorObject *source = VectorSource(rows);
    const sortSpec key{0, descending};
    auto *sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &key, 0));
    const std::vector<SqlRow> result = Read(sorted);
    ASSERT_EQ(result.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i)
      EXPECT_TRUE(Same(result[i], {order[descending ? order.size() - 1 - i : i]})) << i;
    RuntimeUnlockObject(&sorted->header);
    RuntimeUnlockObject(&source->header);
  }
}

TEST(SortedCursor, SmallRunsMergeToTheOrderOfAStableSort) {
  std::mt19937 random(42);
  std::vector<SqlRow> rows;
  for (int i = 0; i < 3000; ++i) {
    SqlRow row;
    row.push_back(random() % 7 == 0 ? SqlValue{} : SqlInteger(static_cast<int32_t>(random() % 50) - 25));
    row.push_back(SqlText(std::string(1 + random() % 3, static_cast<char>('a' + random() % 4))));
    row.push_back(random() % 3 ? SqlFields(kColumnDate, 2000 + random() % 3, 1 + random() % 12, 1) : SqlValue{});
    row.push_back(SqlInteger(i)); // hidden: sorted by, not shown
    rows.push_back(row);
  }
  const sortSpec keys[] = {{2, 1}, {0, 0}, {1, 1}};
  std::vector<SqlRow> expected = rows;
  std::stable_sort(expected.begin(), expected.end(), [&](const SqlRow &a, const SqlRow &b) {
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
    DatabaseCursorObject *source = VectorSource(rows);
    auto *sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 3, keys, 1, budget));
    ASSERT_NE(sorted, nullptr);
    EXPECT_EQ(cursorFieldCount(&sorted->header), 3);
    EXPECT_TRUE(source->eof);
    const std::vector<SqlRow> result = Read(sorted);
    ASSERT_EQ(result.size(), expected.size());
    for (size_t i = 0; i < result.size(); ++i)
      ASSERT_TRUE(Same(result[i], SqlRow(expected[i].begin(), expected[i].begin() + 3))) << "budget " << budget << " row " << i;
    RuntimeUnlockObject(&sorted->header);
    RuntimeUnlockObject(&source->header);
  }
}

TEST(SortedCursor, LargeValuesWideRowsAndEmptySources) {
  // A value past the budget comes back whole.
  const std::string big(kSortRunBudget + 1000, 'x');
  std::vector<SqlRow> rows = {{SqlInteger(2), SqlBytes(big)}, {SqlInteger(1), SqlBytes("small")}, {SqlInteger(3), SqlBytes(big + "y")}};
  DatabaseCursorObject *source = VectorSource(rows);
  const sortSpec key{0, 0};
  auto *sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &key, 0));
  const std::vector<SqlRow> result = Read(sorted);
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(result[0][1].bytes, "small");
  EXPECT_EQ(result[1][1].bytes, big);
  EXPECT_EQ(result[2][1].bytes, big + "y");
  RuntimeUnlockObject(&sorted->header);
  RuntimeUnlockObject(&source->header);

  // More than 128 columns.
  SqlRow wide;
  for (int i = 0; i < 300; ++i)
    wide.push_back(SqlInteger(i));
  source = VectorSource({wide, wide});
  const sortSpec last{299, 1};
  sorted = reinterpret_cast<DatabaseCursorObject *>(buildOrderedCursor(source, 1, &last, 0));
  EXPECT_EQ(cursorFieldCount(&sorted->header), 300);
  const std::vector<SqlRow> wideResult = Read(sorted);
  ASSERT_EQ(wideResult.size(), 2u);
  EXPECT_TRUE(Same(wideResult[1], wide));
  RuntimeUnlockObject(&sorted->header);
  RuntimeUnlockObject(&source->header);

  source = VectorSource({});
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
