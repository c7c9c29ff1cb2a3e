// Table cursors of the built-in engine: columns, row conditions and LIKE,
// seeking by primary key, field keys, updating rows, and their edge cases.
#include <gtest/gtest.h>

#include <algorithm>

#include "DatabaseTestSupport.h"
#include "database/RowConditions.h"
#include "database/ZANTCursors.h"

namespace {

class TableCursor : public ::testing::Test {
protected:
  void SetUp() override {
    mPath = mScratch.Path("t.db");
    mDb = CreateZANTPath(string(mPath.c_str()));
    ASSERT_NE(mDb, nullptr);
    CreateTable(mDb, "people", {{"zeta", 5}, {"id", 3, false}, {"alpha", 5}, {"born", 8}}, {1});
    for (auto [id, name] : std::vector<std::pair<int, const char *>>{{1, "a"}, {2, "abc"}, {3, "Abc"}, {4, "b"}})
      ASSERT_EQ(Insert(mDb, "people", {{"id", std::to_string(id)}, {"alpha", name}, {"born", "2000-1-" + std::to_string(id)}}), 0);
    ASSERT_EQ(Insert(mDb, "people", {{"id", "5"}}), 0); // alpha and born NULL
  }
  void TearDown() override { FreeZANTHandle(mDb); }

  std::vector<std::string> Ids(ZANTcolumnConstraints *condition) {
    std::vector<std::string> ids;
    for (auto &row : Select(mDb, "people", condition, {"id"})) ids.push_back(row[0]);
    return ids;
  }
  DatabaseCursorObject *Open(ZANTcolumnConstraints *condition = nullptr) {
    return reinterpret_cast<DatabaseCursorObject *>(OpenTable(mDb, "people", condition));
  }
  void Close(DatabaseCursorObject *rs) {
    cursorClose(&rs->header);
    RuntimeUnlockObject(&rs->header);
  }
  // Edits the current row: (column of the record set, new text or NULL).
  void Update(DatabaseCursorObject *rs, std::vector<std::pair<int, Value>> edits) {
    ZANTpendingEdit *list = nullptr;
    for (auto &[column, value] : edits) list = new ZANTpendingEdit{list, column, value ? Text(*value) : nullptr};
    rs->definition->updateRow(rs->handle, list);
    while (list) {
      ZANTpendingEdit *next = list->next;
      stringStorage::RemoveReference(list->value);
      delete list;
      list = next;
    }
  }

  DatabaseScratch mScratch;
  std::string mPath;
  dbDatabase *mDb = nullptr;
};

using IdList = std::vector<std::string>;

TEST_F(TableCursor, ColumnsComeByNameAndMissingNamesGiveNil) {
  Rows rows = Select(mDb, "people", Leaf("id", 0, "1"));
  EXPECT_EQ(rows, (Rows{{"a", "2000-1-1", "1", "NULL"}})); // alpha, born, id, zeta
  EXPECT_EQ(Select(mDb, "people", nullptr, {"ID", "alpha"})[0], (std::vector<std::string>{"1", "a"}));
  EXPECT_EQ(OpenTable(mDb, "people", nullptr, {"nope"}), nullptr);
  EXPECT_EQ(OpenTable(mDb, "people", Leaf("nope", 0, "1")), nullptr);
  EXPECT_EQ(OpenTable(mDb, "missing"), nullptr);
  EXPECT_EQ(mDb->lastError, 0);
}

TEST_F(TableCursor, Conditions) {
  struct Case {
    const char *what;
    ZANTcolumnConstraints *condition;
    IdList ids;
  } cases[] = {
      {"LIKE a%", Leaf("alpha", 6, "a%"), {"1", "2"}},
      {"upper LIKE A%", Leaf("alpha", 6, "A%", 2), {"1", "2", "3"}},
      {"lower = abc", Leaf("alpha", 0, "abc", 3), {"2", "3"}},
      {"NOT LIKE %c", Leaf("alpha", 7, "%c"), {"1", "4"}},
      {"LIKE _b_", Leaf("alpha", 6, "_b_"), {"2", "3"}},
      {"= ab is not a prefix match", Leaf("alpha", 0, "ab"), {}},
      {"< abd", Leaf("alpha", 1, "abd"), {"1", "2", "3"}},
      {"<> a", Leaf("alpha", 5, "a"), {"2", "3", "4"}},
      {"IS NULL", Leaf("alpha", 8, nullptr), {"5"}},
      {"IS NOT NULL", Leaf("born", 9, nullptr), {"1", "2", "3", "4"}},
      {"date >=", Leaf("born", 4, "2000-01-03"), {"3", "4"}},
      {"bad date reads as 0-0-0", Leaf("born", 2, "soon"), {"1", "2", "3", "4"}},
      {"integer >", Leaf("id", 2, " 3x"), {"4", "5"}},
      {"and", Node(64, Leaf("id", 2, "1"), Leaf("alpha", 6, "a%")), {"2"}},
      {"or", Node(65, Leaf("id", 0, "4"), Leaf("alpha", 0, "a")), {"1", "4"}},
      {"and with a missing side", Node(64, nullptr, Leaf("id", 0, "2")), {"2"}},
  };
  for (Case &c : cases) EXPECT_EQ(Ids(c.condition), c.ids) << c.what;
  // A NULL column fails every comparison but IS NULL.
  for (uint32_t op : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 9u})
    EXPECT_EQ(Ids(Node(64, Leaf("id", 0, "5"), Leaf("alpha", op, "zz"))), IdList{}) << op;
}

TEST(LikePattern, MatchesAndStaysLinear) {
  struct Case {
    const char *value, *pattern;
    bool match;
  } cases[] = {
      {"abc", "a%", true},   {"abc", "%", true},     {"", "%", true},      {"", "", true},
      {"", "_", false},      {"abc", "a_c", true},   {"abc", "a%c%", true}, {"abc", "%b", false},
      {"abcbc", "%bc", true}, {"aXbXc", "a%b%c", true}, {"ab", "a%%b", true}, {"abc", "ab", false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(LikeMatch(reinterpret_cast<const uint8_t *>(c.value), int(strlen(c.value)),
                        reinterpret_cast<const uint8_t *>(c.pattern), int(strlen(c.pattern))),
              c.match)
        << c.value << " LIKE " << c.pattern;
  // A pattern that sends backtracking matchers into exponential time.
  std::string value(20000, 'a'), pattern;
  for (int i = 0; i < 40; i++) pattern += "%a";
  pattern += "%b";
  EXPECT_FALSE(LikeMatch(reinterpret_cast<const uint8_t *>(value.data()), int(value.size()),
                         reinterpret_cast<const uint8_t *>(pattern.data()), int(pattern.size())));
}

TEST_F(TableCursor, PrimaryKeyEqualitySeeks) {
  CreateTable(mDb, "named", {{"name", 5, false}, {"n", 3}}, {0});
  for (const char *name : {"pear", "apple", "Apple", "fig"}) ASSERT_EQ(Insert(mDb, "named", {{"name", name}, {"n", "1"}}), 0);
  struct Case {
    const char *table;
    ZANTcolumnConstraints *condition;
    bool seeks;
    Rows rows;
  } cases[] = {
      {"people", Leaf("id", 0, "3"), true, {{"3"}}},
      {"people", Leaf("id", 0, "9"), true, {}},
      {"people", Node(64, Leaf("id", 0, "2"), Leaf("alpha", 6, "a%")), true, {{"2"}}},
      {"people", Node(64, Leaf("id", 0, "2"), Leaf("alpha", 0, "zz")), true, {}},
      {"people", Leaf("id", 0, "3", 2), false, {{"3"}}},
      {"people", Node(65, Leaf("id", 0, "3"), Leaf("id", 0, "4")), false, {{"3"}, {"4"}}},
      {"named", Leaf("name", 0, "Apple"), true, {{"Apple"}}},
      {"named", Leaf("name", 0, "APPLE"), true, {}},
  };
  for (Case &c : cases) {
    auto *rs = reinterpret_cast<DatabaseCursorObject *>(
        OpenTable(mDb, c.table, c.condition, {std::string(c.table) == "people" ? "id" : "name"}));
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(reinterpret_cast<dbCursor *>(rs->handle)->seeking, c.seeks) << &c - cases;
    EXPECT_EQ(ReadAll(&rs->header), c.rows);
  }
}

TEST_F(TableCursor, FieldKeysAndColumnTypes) {
  CreateTable(mDb, "keyed", {{"k", 5, false}, {"d", 8, false}, {"v", 3}}, {1, 0});
  ASSERT_EQ(Insert(mDb, "keyed", {{"k", "O'Neil"}, {"d", "2001-2-3"}, {"v", "1"}}), 0);
  auto *rs = reinterpret_cast<DatabaseCursorObject *>(OpenTable(mDb, "keyed"));
  const char *name, *key;
  int32_t nameLength, keyLength;
  ASSERT_TRUE(rs->definition->getFieldKey(rs->handle, 2, &name, &nameLength, &key, &keyLength));
  EXPECT_EQ(std::string(name, size_t(nameLength)), "keyed!v");
  EXPECT_EQ(std::string(key, size_t(keyLength)), "d='2001-2-3' and k='O''Neil'");
  EXPECT_FALSE(rs->definition->getFieldKey(rs->handle, 3, &name, &nameLength, &key, &keyLength));
  EXPECT_EQ(rs->definition->getColumnType(rs->handle, 1), 5);
  EXPECT_EQ(rs->definition->getColumnType(rs->handle, 3), -1); // past the columns
  EXPECT_EQ(rs->definition->getColumnType(rs->handle, -1), -1);
  Close(rs);

  CreateTable(mDb, "loose", {{"a", 3}});
  Insert(mDb, "loose", {{"a", "1"}});
  rs = reinterpret_cast<DatabaseCursorObject *>(OpenTable(mDb, "loose"));
  ASSERT_TRUE(rs->definition->getFieldKey(rs->handle, 0, &name, &nameLength, &key, &keyLength));
  EXPECT_EQ(keyLength, 0);
  // After the last row: no row, no values.
  cursorMoveNext(&rs->header);
  EXPECT_TRUE(rs->eof);
  EXPECT_EQ(rs->definition->nextRow(rs->handle), 0);
  EXPECT_EQ(ReadCursorValue(rs, 0).type, 0);
  EXPECT_FALSE(rs->definition->getFieldKey(rs->handle, 0, &name, &nameLength, &key, &keyLength));
  Close(rs);
}

TEST_F(TableCursor, UpdatingTheKeyMovesTheRowWhenTheCursorCloses) {
  auto *rs = Open();
  ASSERT_EQ(ValueText(ReadCursorValue(rs, 2)), "1");
  Update(rs, {{2, "10"}, {0, "A"}});
  EXPECT_EQ(mDb->lastError, 0);
  std::vector<std::string> seen;
  for (; !rs->eof; cursorMoveNext(&rs->header)) seen.push_back(ValueText(ReadCursorValue(rs, 2)));
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "3", "4", "5"})); // 10 not met
  Close(rs);
  EXPECT_EQ(Select(mDb, "people", Leaf("id", 0, "10"), {"id", "alpha", "born"}), (Rows{{"10", "A", "2000-1-1"}}));
  EXPECT_EQ(Ids(nullptr), (IdList{"2", "3", "4", "5", "10"}));
}

TEST_F(TableCursor, UpdateRefusals) {
  auto *rs = Open(Leaf("id", 0, "2"));
  struct Case {
    const char *what;
    std::vector<std::pair<int, Value>> edits;
    int32_t code;
    const char *text;
  } cases[] = {
      {"a key that exists", {{2, "3"}}, 2005, "Insert failed: primary key violation"},
      {"a bad date", {{1, "2000-x-1"}}, 2003, "Invalid date format"},
  };
  for (Case &c : cases) {
    Update(rs, c.edits);
    EXPECT_EQ(mDb->lastError, c.code) << c.what;
    EXPECT_EQ(ErrorText(mDb), c.text);
  }
  Close(rs);
  // A key waiting in the same cursor's update file counts too.
  rs = Open();
  Update(rs, {{2, "20"}});
  cursorMoveNext(&rs->header);
  Update(rs, {{2, "20"}});
  EXPECT_EQ(mDb->lastError, 2005);
  Close(rs);
  EXPECT_EQ(Ids(nullptr), (IdList{"2", "3", "4", "5", "20"}));
  EXPECT_EQ(Select(mDb, "people", Leaf("id", 0, "2"), {"alpha", "born"}), (Rows{{"abc", "2000-1-2"}}));
}

// Commit first inserts the rows waiting in open cursors' update files.
TEST_F(TableCursor, CommitInsertsRowsWaitingInCursors) {
  gZANTEngineDefinition.commitChanges(mDb);
  auto *rs = Open(Leaf("id", 0, "4"));
  Update(rs, {{2, "40"}});
  gZANTEngineDefinition.commitChanges(mDb);
  // What the file holds, read from a copy: the file itself stays locked.
  std::string copy = mPath + ".copy";
  DatabaseScratch::Write(copy, DatabaseScratch::Read(mPath));
  dbDatabase *other = OpenZANTPath(string(copy.c_str()));
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(Select(other, "people", nullptr, {"id"}), (Rows{{"1"}, {"2"}, {"3"}, {"5"}, {"40"}}));
  FreeZANTHandle(other);
  Close(rs);
  EXPECT_EQ(Ids(nullptr), (IdList{"1", "2", "3", "5", "40"}));
}

TEST_F(TableCursor, DeleteAndRollback) {
  gZANTEngineDefinition.commitChanges(mDb);
  auto *rs = Open(Leaf("alpha", 6, "a%"));
  for (; !rs->eof; cursorMoveNext(&rs->header)) rs->definition->deleteRow(rs->handle);
  Close(rs);
  Insert(mDb, "people", {{"id", "6"}});
  EXPECT_EQ(Ids(nullptr), (IdList{"3", "4", "5", "6"}));
  gZANTEngineDefinition.rollbackChanges(mDb);
  EXPECT_EQ(Ids(nullptr), (IdList{"1", "2", "3", "4", "5"}));
}

// A key-changing update near the end of a large table reads only the blocks
// on the way to its rows: neither the closing cursor nor a commit walks the
// table from its first row to find the row again. Rows fill their blocks, so
// the new key splits the old row's block and moves it.
TEST_F(TableCursor, KeyChangesNearTheEndReadOnlyTheirPath) {
  CreateTable(mDb, "big", {{"id", 3, false}, {"pad", 5}}, {0});
  for (int id = 0; id < 2000; id++)
    ASSERT_EQ(Insert(mDb, "big", {{"id", std::to_string(id * 10)}, {"pad", std::string(780, 'p')}}), 0);
  gZANTEngineDefinition.commitChanges(mDb);
  for (bool commitFirst : {false, true}) {
    FreeZANTHandle(mDb);
    mDb = OpenZANTPath(string(mPath.c_str()));
    ASSERT_NE(mDb, nullptr);
    size_t before = mDb->storage->CachedBlockCount();
    const std::string id = commitFirst ? "19980" : "19990";
    auto *rs = reinterpret_cast<DatabaseCursorObject *>(OpenTable(mDb, "big", Leaf("id", 0, id.c_str())));
    ASSERT_FALSE(rs->eof);
    Update(rs, {{0, std::to_string(std::stoi(id) - 5)}});
    EXPECT_EQ(mDb->lastError, 0);
    if (commitFirst) {
      // The cursor stands on its row again after the commit inserted the new one.
      gZANTEngineDefinition.commitChanges(mDb);
      EXPECT_EQ(mDb->lastError, 0);
    }
    cursorMoveNext(&rs->header);
    EXPECT_TRUE(rs->eof);
    Close(rs);
    // The table has about 200 blocks; the path to one row is a handful.
    EXPECT_LT(mDb->storage->CachedBlockCount() - before, 20u) << (commitFirst ? "commit" : "close");
    EXPECT_EQ(Select(mDb, "big", Leaf("id", 0, std::to_string(std::stoi(id) - 5).c_str()), {"id"}).size(), 1u);
    EXPECT_EQ(Select(mDb, "big", Leaf("id", 0, id.c_str()), {"id"}).size(), 0u);
    gZANTEngineDefinition.commitChanges(mDb);
  }
  EXPECT_EQ(Select(mDb, "big", nullptr, {"id"}).size(), 2000u);
}

// Closing the database ends its cursors' storage; the record sets stay safe.
TEST_F(TableCursor, CursorOutlivingItsDatabase) {
  auto *rs = Open();
  gZANTEngineDefinition.closeDatabase(mDb);
  cursorMoveNext(&rs->header);
  EXPECT_TRUE(rs->eof);
  EXPECT_EQ(ReadCursorValue(rs, 0).type, 0);
  Close(rs);
}

} // namespace

namespace {

// Rows inserted through other cursors split the blocks under an open
// cursor: it goes on from the row it stood on, meeting every old row once
// and in key order.
TEST(TableCursorInterleaved, InsertsUnderAnOpenCursor) {
  DatabaseScratch scratch;
  dbDatabase *db = CreateZANTPath(string(scratch.Path("i.db").c_str()));
  CreateTable(db, "t", {{"id", 3, false}, {"v", 5}}, {0});
  for (int k = 0; k < 400; k += 2) Insert(db, "t", {{"id", std::to_string(k)}, {"v", std::string(300, 'o')}});
  auto *rs = reinterpret_cast<DatabaseCursorObject *>(OpenTable(db, "t", nullptr, {"id"}));
  std::vector<int> seen;
  for (int i = 0; i < 50; i++, cursorMoveNext(&rs->header)) seen.push_back(std::stoi(ValueText(ReadCursorValue(rs, 0))));
  for (int k = 1; k < 400; k += 2) Insert(db, "t", {{"id", std::to_string(k)}, {"v", std::string(300, 'n')}});
  for (; !rs->eof; cursorMoveNext(&rs->header)) seen.push_back(std::stoi(ValueText(ReadCursorValue(rs, 0))));
  cursorClose(&rs->header);
  RuntimeUnlockObject(&rs->header);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end()) << "a row met twice";
  for (int k = 0; k < 400; k += 2) EXPECT_TRUE(std::binary_search(seen.begin(), seen.end(), k)) << k;
  EXPECT_EQ(db->lastError, 0);
  FreeZANTHandle(db);
}

} // namespace

namespace {

int LiveBlobRecords(dbDatabase *db) {
  std::unique_ptr<qvdbCursor> cursor(db->storage->openTableCursor(string("sys$blob"), nullptr, nullptr, 0));
  int count = 0;
  while (cursor->nextValidRecord()) count++;
  return count;
}

// Updating a BLOB column writes a new BLOB and deletes the row's old one;
// the other columns are carried over.
TEST_F(TableCursor, UpdatingABlobColumnReplacesTheBlob) {
  CreateTable(mDb, "docs", {{"id", 3, false}, {"body", 15}, {"score", 7}}, {0});
  ASSERT_EQ(Insert(mDb, "docs", {{"id", "1"}, {"body", std::string(9000, 'a')}, {"score", "2.5"}}), 0);
  EXPECT_EQ(LiveBlobRecords(mDb), 4); // three pieces and their list
  auto *rs = reinterpret_cast<DatabaseCursorObject *>(OpenTable(mDb, "docs"));
  Update(rs, {{0, std::string(10, 'b')}});
  EXPECT_EQ(mDb->lastError, 0);
  Close(rs);
  EXPECT_EQ(Select(mDb, "docs"), (Rows{{std::string(10, 'b'), "1", "2.5"}}));
  EXPECT_EQ(LiveBlobRecords(mDb), 1);
}

} // namespace
