// The built-in engine's catalogue and table operations: create table, add
// column, insert, their error codes and texts, and the file's growth past
// 4 GiB.
#include <gtest/gtest.h>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>

#include "DatabaseTestSupport.h"
#include "database/DatabaseFilePosix.h"

namespace {

class Catalogue : public ::testing::Test {
protected:
  void SetUp() override {
    mPath = mScratch.Path("c.db");
    mDb = CreateZANTPath(string(mPath.c_str()));
    ASSERT_NE(mDb, nullptr);
  }
  void TearDown() override { FreeZANTHandle(mDb); }
  Rows Tables() { return ReadAll(gZANTEngineDefinition.getTableSchema(mDb)); }
  Rows Fields(const char *table) {
    stringStorage *name = Text(table);
    Rows rows = ReadAll(gZANTEngineDefinition.getFieldSchema(mDb, name));
    stringStorage::RemoveReference(name);
    return rows;
  }
  void AddColumn(const char *table, const char *column, int32_t type) {
    ZANTcolumnDefinition def{nullptr, Text(column), type, 1};
    stringStorage *name = Text(table);
    gZANTEngineDefinition.addTableColumn(mDb, name, &def);
    stringStorage::RemoveReference(name);
    stringStorage::RemoveReference(def.name);
  }

  DatabaseScratch mScratch;
  std::string mPath;
  dbDatabase *mDb = nullptr;
};

TEST_F(Catalogue, CreateTableErrors) {
  CreateTable(mDb, "Items", {{"id", 3, false}, {"name", 5}}, {0});
  EXPECT_EQ(mDb->lastError, 0);
  uint32_t blocks = mDb->storage->BlockCount();
  struct Case {
    const char *table;
    std::vector<ColumnSpec> columns;
    int32_t code;
    const char *text;
  } cases[] = {
      {"ITEMS", {{"x", 3}}, 2000, "Unable to create ITEMS because it already exists"},
      {"stamps", {{"x", 3}, {"at", 10}}, 2002, "Unable to create stamps because an unsupported column type was used"},
      {"odd", {{"x", 4}}, 2002, "Unable to create odd because an unsupported column type was used"},
  };
  for (const Case &c : cases) {
    CreateTable(mDb, c.table, c.columns);
    EXPECT_EQ(mDb->lastError, c.code) << c.table;
    EXPECT_EQ(ErrorText(mDb), c.text);
  }
  // Refused tables left nothing behind: no stream, no listing.
  EXPECT_EQ(mDb->storage->BlockCount(), blocks);
  EXPECT_EQ(Tables(), (Rows{{"Items"}}));
}

TEST_F(Catalogue, InsertErrors) {
  CreateTable(mDb, "t", {{"id", 3, false}, {"name", 5}, {"d", 8}, {"tm", 9}, {"blob", 16}}, {0});
  CreateTable(mDb, "free", {{"a", 3}});
  struct Case {
    const char *table;
    std::vector<std::pair<std::string, Value>> values;
    int32_t code;
    const char *text;
  } cases[] = {
      {"nope", {{"id", "1"}}, 2003, "Unknown table nope"},
      {"t", {{"name", "x"}}, 2003, "NotNull column violation"},
      {"t", {{"id", "1"}, {"zz", "x"}, {"yy", "y"}}, 2003, "Unknown column zz"},
      {"t", {{"id", "1"}, {"d", "2004-13"}}, 2003, "Invalid date format"},
      {"t", {{"id", "1"}, {"tm", "noon"}}, 2003, "Invalid time format"},
      {"t", {{"id", "1"}, {"name", std::string(9000, 'x')}}, 2006, "Insert failed: data too long"},
      {"t", {{"id", "7"}}, 0, ""},
      {"t", {{"id", " 7abc"}}, 2005, "Insert failed: primary key violation"},
      {"free", {{"a", "1"}}, 0, ""},
      {"free", {{"a", "1"}}, 0, ""}, // no primary key: duplicates are rows
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Insert(mDb, c.table, c.values), c.code) << c.text;
    EXPECT_EQ(ErrorText(mDb), c.text);
  }
  EXPECT_EQ(Select(mDb, "t", nullptr, {"id"}), (Rows{{"7"}}));
  EXPECT_EQ(Select(mDb, "free").size(), 2u);
}

TEST_F(Catalogue, ValuesOfEveryTypeRoundTrip) {
  CreateTable(mDb, "v", {{"s", 2}, {"i", 3}, {"t", 5}, {"f", 6}, {"d", 7}, {"dt", 8}, {"tm", 9},
                         {"b", 12}, {"lt", 15}, {"lb", 16}, {"raw", 14}});
  std::string big(5000, 'q');
  ASSERT_EQ(Insert(mDb, "v", {{"s", "-12"}, {"i", "  +42x"}, {"t", "it's"}, {"f", "1.5"}, {"d", "-0.25"},
                              {"dt", "1999-12-31 23:59"}, {"tm", "1999-12-31 23:59"}, {"b", "TRUE"},
                              {"lt", big}, {"lb", "bytes"}, {"raw", "raw"}}),
            0);
  ASSERT_EQ(Insert(mDb, "v", {{"i", "none"}, {"b", "yes"}}), 0);
  // Columns come in name order.
  Rows rows = Select(mDb, "v");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"true", "-0.25", "1999-12-31", "1.5", "42", "bytes", big,
                                               "raw", "-12", "it's", "23:59:0"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"false", "NULL", "NULL", "NULL", "0", "NULL", "NULL", "NULL",
                                               "NULL", "NULL", "NULL"}));
  FreeZANTHandle(mDb);
  mDb = OpenZANTPath(string(mPath.c_str()));
  EXPECT_EQ(Select(mDb, "v"), rows);
}

// NULL given for a column stores no value, for every type, and a NOT NULL
// column refuses it as it refuses a missing value.
TEST_F(Catalogue, NullValuesStoreNothing) {
  CreateTable(mDb, "n", {{"k", 3, false}, {"s", 2}, {"i", 3}, {"t", 5}, {"f", 6}, {"d", 7}, {"dt", 8},
                         {"tm", 9}, {"b", 12}, {"lt", 15}, {"lb", 16}, {"raw", 14}});
  std::vector<std::pair<std::string, Value>> values{{"k", "1"}};
  for (const char *column : {"s", "i", "t", "f", "d", "dt", "tm", "b", "lt", "lb", "raw"})
    values.push_back({column, std::nullopt});
  ASSERT_EQ(Insert(mDb, "n", values), 0) << ErrorText(mDb);
  EXPECT_EQ(Insert(mDb, "n", {{"k", std::nullopt}, {"i", "5"}}), 2003);
  EXPECT_EQ(ErrorText(mDb), "NotNull column violation");
  const Rows expected{{"NULL", "NULL", "NULL", "NULL", "NULL", "1", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL"}};
  EXPECT_EQ(Select(mDb, "n"), expected);
  // IS NULL sees every one of them.
  EXPECT_EQ(Select(mDb, "n", Leaf("dt", kConstraintIsNull, nullptr), {"k"}), (Rows{{"1"}}));
  EXPECT_EQ(Select(mDb, "n", Leaf("i", kConstraintIsNotNull, nullptr), {"k"}), Rows{});
  FreeZANTHandle(mDb);
  mDb = OpenZANTPath(string(mPath.c_str()));
  EXPECT_EQ(Select(mDb, "n"), expected);
}

// A key too long for an index record beside a root's first record, and a
// column named twice, are refused before anything is written: the file and
// the listing stay as they were.
TEST_F(Catalogue, LongKeysAndRepeatedColumnsLeaveNothingBehind) {
  CreateTable(mDb, "k", {{"name", 5, false}, {"n", 3}}, {0});
  // Rows enough for the stream to have split once.
  for (int i = 0; i < 3; i++)
    ASSERT_EQ(Insert(mDb, "k", {{"name", std::string(3000, char('a' + i))}}), 0) << ErrorText(mDb);
  // The longest key that fits goes in, beside the others.
  ASSERT_EQ(Insert(mDb, "k", {{"name", std::string(8148, 'm')}}), 0) << ErrorText(mDb);
  uint32_t blocks = mDb->storage->BlockCount();
  struct Case {
    const char *what;
    std::function<int32_t()> attempt;
    int32_t code;
  } cases[] = {
      {"key value", [&] { return Insert(mDb, "k", {{"name", std::string(8149, 'z')}}); }, 2006},
      {"larger key value", [&] { return Insert(mDb, "k", {{"name", std::string(8160, 'y')}}); }, 2006},
      {"table name", [&] { CreateTable(mDb, std::string(8150, 'T'), {{"a", 3}}); return mDb->lastError; }, 2006},
      {"column name", [&] { CreateTable(mDb, "c", {{std::string(8150, 'c'), 3}}); return mDb->lastError; }, 2006},
      {"column twice", [&] { CreateTable(mDb, "d", {{"a", 3}, {"b", 5}, {"A", 3}}); return mDb->lastError; }, 2002},
      {"value twice", [&] { return Insert(mDb, "k", {{"name", "q"}, {"n", "1"}, {"N", "2"}}); }, 2003},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(c.attempt(), c.code) << c.what << ": " << ErrorText(mDb);
    EXPECT_EQ(mDb->storage->BlockCount(), blocks) << c.what;
  }
  EXPECT_EQ(ErrorText(mDb), "Column N is given twice");
  EXPECT_EQ(Tables(), (Rows{{"k"}}));
  EXPECT_EQ(Select(mDb, "k", nullptr, {"n"}).size(), 4u);
  // An update to a key that long is refused too, and the row keeps its key.
  RuntimeObject *rs = OpenTable(mDb, "k", Leaf("name", kConstraintEqual, std::string(8148, 'm').c_str()));
  ASSERT_NE(rs, nullptr);
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(rs);
  ASSERT_FALSE(recordSet->eof);
  ZANTpendingEdit edit{nullptr, 1, Text(std::string(8149, 'x'))};
  recordSet->definition->updateRow(recordSet->handle, &edit);
  EXPECT_EQ(mDb->lastError, 2006);
  stringStorage::RemoveReference(edit.value);
  cursorClose(rs);
  RuntimeUnlockObject(rs);
  FreeZANTHandle(mDb);
  mDb = OpenZANTPath(string(mPath.c_str()));
  ASSERT_NE(mDb, nullptr);
  EXPECT_EQ(Select(mDb, "k", Leaf("name", kConstraintEqual, std::string(8148, 'm').c_str()), {"n"}),
            (Rows{{"NULL"}}));
  EXPECT_EQ(Tables(), (Rows{{"k"}}));
}

TEST_F(Catalogue, AddColumnTakesTheSmallestFreeNumber) {
  CreateTable(mDb, "t", {{"a", 3}, {"b", 3}, {"c", 3}});
  // Number 1 free: drop b's row by hand from sys$fields.
  RuntimeObject *rs = OpenTable(mDb, "t");
  cursorClose(rs);
  RuntimeUnlockObject(rs);
  {
    std::unique_ptr<qvdbCursor> fields(mDb->storage->openTableCursor(string("sys$fields"), nullptr, nullptr, 0));
    while (fields->nextValidRecord()) {
      int length;
      const uint8_t *record = fields->CurrentRecord(length);
      dbformat::FieldRef name;
      dbformat::FindField(record, length, 2, name);
      if (name.value[4] == 'b') fields->deleteRecord();
    }
  }
  gZANTEngineDefinition.commitChanges(mDb);
  FreeZANTHandle(mDb);
  mDb = OpenZANTPath(string(mPath.c_str()));
  AddColumn("t", "z", 5);
  EXPECT_EQ(mDb->lastError, 0);
  EXPECT_EQ(FindZANTTable(mDb, string("t"))->Column(1)->name.CompareWithCase("z"), 0);
  struct Case {
    const char *table, *column;
    int32_t type, code;
    const char *text;
  } cases[] = {
      {"nope", "q", 3, 2003, "Unable to add column q because table 'nope' doesn't exist"},
      {"t", "q", 10, 2002, "Unable to add q because an unsupported  type was used"},
      {"t", "z", 3, 2005, "Insert failed: primary key violation"},
  };
  for (const Case &c : cases) {
    AddColumn(c.table, c.column, c.type);
    EXPECT_EQ(mDb->lastError, c.code) << c.text;
    EXPECT_EQ(ErrorText(mDb), c.text);
  }
}

TEST_F(Catalogue, SchemaCursors) {
  CreateTable(mDb, "zeta", {{"id", 3}, {"name", 5, false}, {"n", 2}}, {0});
  CreateTable(mDb, "alpha", {{"x", 7}});
  EXPECT_EQ(Tables(), (Rows{{"alpha"}, {"zeta"}}));
  // Primary key without NOT NULL: IsPrimary true, NotNull false.
  EXPECT_EQ(Fields("zeta"), (Rows{{"id", "3", "true", "false", "0"},
                                  {"n", "2", "false", "false", "0"},
                                  {"name", "5", "false", "true", "0"}}));
  EXPECT_EQ(gZANTEngineDefinition.getFieldSchema(mDb, nullptr), nullptr);
  stringStorage *missing = Text("missing");
  EXPECT_EQ(gZANTEngineDefinition.getFieldSchema(mDb, missing), nullptr);
  stringStorage::RemoveReference(missing);
  EXPECT_EQ(mDb->lastError, 0);
}

TEST_F(Catalogue, NullHandleSlots) {
  EXPECT_EQ(gZANTEngineDefinition.getLastErrorCode(nullptr), -1);
  EXPECT_EQ(gZANTEngineDefinition.getLastErrorString(nullptr), nullptr);
  EXPECT_EQ(gZANTEngineDefinition.getTableSchema(nullptr), nullptr);
  gZANTEngineDefinition.commitChanges(nullptr);
  gZANTEngineDefinition.rollbackChanges(nullptr);
  gZANTEngineDefinition.closeDatabase(nullptr);
  // A repeated close does nothing.
  gZANTEngineDefinition.closeDatabase(mDb);
  gZANTEngineDefinition.closeDatabase(mDb);
  EXPECT_EQ(gZANTEngineDefinition.getTableSchema(mDb), nullptr);
}

// A full disk: writes that fail are reported as 2009 naming the failure, and
// the file keeps its last commit.
TEST_F(Catalogue, FullDiskFailsWith2009) {
  CreateTable(mDb, "t", {{"id", 3, false}, {"v", 5}}, {0});
  for (int k = 0; k < 20; k++) Insert(mDb, "t", {{"id", std::to_string(k)}, {"v", std::string(500, 'v')}});
  FreeZANTHandle(mDb);
  mDb = nullptr;
  off_t size = off_t(DatabaseScratch::Read(mPath).size());
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {rlim_t(size), rlim_t(size)};
    setrlimit(RLIMIT_FSIZE, &limit);
    dbDatabase *db = OpenZANTPath(string(mPath.c_str()));
    if (!db) _exit(10);
    for (int k = 100; k < 200; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", std::string(500, 'w')}});
    gZANTEngineDefinition.commitChanges(db);
    bool reported = db->lastError == kZANTErrorFile && ErrorText(db).find("write") != std::string::npos;
    // What reads show is what the file holds: the rows of the last commit.
    reported = reported && Select(db, "t", nullptr, {"id"}).size() == 20u;
    // Later changes are refused until the file is opened again.
    Insert(db, "t", {{"id", "999"}});
    reported = reported && db->lastError == kZANTErrorFile;
    FreeZANTHandle(db);
    _exit(reported ? 0 : 11);
  }
  int status;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  mDb = OpenZANTPath(string(mPath.c_str()));
  ASSERT_NE(mDb, nullptr);
  EXPECT_EQ(Select(mDb, "t", nullptr, {"id"}).size(), 20u);
}

// A file grown sparsely past 4 GiB: new blocks go past it and read back.
TEST_F(Catalogue, BlocksPastFourGibibytes) {
  CreateTable(mDb, "t", {{"id", 3, false}, {"v", 5}}, {0});
  FreeZANTHandle(mDb);
  mDb = nullptr;
  {
    DatabaseFile file;
    ASSERT_TRUE(file.Open(string(mPath.c_str())));
    // 524,288 blocks: the next one starts at 4 GiB + 64.
    if (!file.SetLength(64 + int64_t(524288) * 8192)) GTEST_SKIP() << "no sparse files here";
  }
  mDb = OpenZANTPath(string(mPath.c_str()));
  ASSERT_NE(mDb, nullptr);
  for (int k = 0; k < 40; k++) Insert(mDb, "t", {{"id", std::to_string(k)}, {"v", std::string(900, char('a' + k % 26))}});
  EXPECT_GT(mDb->storage->BlockCount(), 524288u);
  FreeZANTHandle(mDb);
  mDb = OpenZANTPath(string(mPath.c_str()));
  ASSERT_NE(mDb, nullptr);
  Rows rows = Select(mDb, "t");
  ASSERT_EQ(rows.size(), 40u);
  EXPECT_EQ(rows[39][1], std::string(900, char('a' + 39 % 26)));
  EXPECT_EQ(mDb->lastError, 0);
}

} // namespace

namespace {

// Rows deleted in an earlier transaction leave the block when it is read,
// in memory only: reading opens no transaction and leaves the flag clear.
TEST_F(Catalogue, ReadingPurgesDeadRowsWithoutATransaction) {
  CreateTable(mDb, "t", {{"id", 3, false}}, {0});
  for (int k = 0; k < 5; k++) Insert(mDb, "t", {{"id", std::to_string(k)}});
  gZANTEngineDefinition.commitChanges(mDb);
  RuntimeObject *rs = OpenTable(mDb, "t", Leaf("id", 1, "3"));
  auto *cursor = reinterpret_cast<DatabaseCursorObject *>(rs);
  for (; !cursor->eof; cursorMoveNext(rs)) cursor->definition->deleteRow(cursor->handle);
  cursorClose(rs);
  RuntimeUnlockObject(rs);
  FreeZANTHandle(mDb);
  std::string before = DatabaseScratch::Read(mPath);
  mDb = OpenZANTPath(string(mPath.c_str()));
  EXPECT_EQ(Select(mDb, "t"), (Rows{{"3"}, {"4"}}));
  EXPECT_FALSE(mDb->storage->TransactionOpen());
  EXPECT_EQ(DatabaseScratch::Read(mPath), before);
}

// A block joining a transaction whose number matches, in its low 24 bits,
// the stamp of a record written 2^24 transactions earlier clears that stamp,
// so no rollback can take the old record for one of its own.
TEST_F(Catalogue, OldStampsEqualToTheNewTransactionAreCleared) {
  CreateTable(mDb, "t", {{"id", 3, false}}, {0});
  Insert(mDb, "t", {{"id", "1"}});
  uint32_t stamp = mDb->storage->getTransaction() & 0xFFFFFF;
  FreeZANTHandle(mDb);
  std::string bytes = DatabaseScratch::Read(mPath);
  // The next opening runs transaction stamp + 2^24.
  dbformat::Store32(reinterpret_cast<uint8_t *>(&bytes[0]) + dbformat::kHeaderTransaction, stamp + 0xFFFFFF);
  DatabaseScratch::Write(mPath, bytes);
  mDb = OpenZANTPath(string(mPath.c_str()));
  ASSERT_EQ(mDb->storage->getTransaction() & 0xFFFFFF, stamp);
  Insert(mDb, "t", {{"id", "2"}});
  FreeZANTHandle(mDb);
  mDb = OpenZANTPath(string(mPath.c_str()));
  ZANTTable *table = FindZANTTable(mDb, string("t"));
  std::unique_ptr<qvdbCursor> cursor(mDb->storage->openTableCursor(table->StreamName(), nullptr, nullptr, 0));
  std::vector<uint32_t> stamps;
  while (cursor->nextValidRecord()) {
    int length;
    stamps.push_back(dbformat::Load24(cursor->CurrentRecord(length) + 3));
  }
  EXPECT_EQ(stamps, (std::vector<uint32_t>{0, stamp}));
}

} // namespace
