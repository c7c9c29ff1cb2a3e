// Random and mutated SQL against every statement, on the fake engine and on
// a database file of the built-in engine: each must answer a result or an
// error, and raise no alert. Run under the sanitizers (make test
// SANITIZE=address) this also proves no memory fault.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "FakeEngine.h"
#include "database/DatabaseInterface.h"
#include "database/ZANTEngine.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"
#include "support/AlertRecorder.h"

namespace {

const char *const kSeeds[] = {
    "SELECT id, n, s FROM a WHERE n > 1 and s LIKE 'a%' or id = 3 ORDER BY n DESC, s",
    "SELECT a.id, x.m FROM a, b x WHERE a.n = x.m and upper(a.s) <> 'AB' ORDER BY 2",
    "SELECT n, COUNT(*), SUM(id), AVG(n), MIN(s), MAX(id) FROM a WHERE s IS NOT NULL GROUP BY n",
    "SELECT * FROM a, b WHERE a.id = b.id;;",
    "INSERT INTO a (id, n, s) VALUES (7, -2, 'it''s')",
    "UPDATE a SET s = 'x', n = 5 WHERE id >= 2 and s NOT LIKE '%b'",
    "DELETE FROM a WHERE n IS NULL or s = \"ab\"",
    "CREATE TABLE c (p integer NOT NULL, q varchar(9), r long varchar, PRIMARY KEY (p))",
    "ALTER TABLE a ADD COLUMN z double",
    "COMMIT",
    "ROLLBACK",
    "DROP TABLE a",
};

const char *const kPieces[] = {"(", ")", ",", ".", "=", "<", ">", "<=", ">=", "<>", "'", "\"", "[", "]", "*", ";",
                               "-", "1", "-9.5", "99999999999", "select", "from", "where", "and", "or", "not",
                               "like", "is", "null", "order", "by", "group", "desc", "count", "sum", "upper",
                               "table", "primary", "key", "values", "set", "a", "b", "id", "n", "s", "\xc3\xa9",
                               "\x80", std::string("\0", 1).c_str(), " ", "%", "_", "''", "[x y]"};

std::string Mutate(std::string text, std::mt19937 &random) {
  const int steps = 1 + static_cast<int>(random() % 2);
  for (int i = 0; i < steps; ++i) {
    const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
    switch (random() % 5) {
    case 0: // flip a byte
      if (!text.empty())
        text[random() % text.size()] = static_cast<char>(random() % 256);
      break;
    case 1: // cut a piece out
      text.erase(at, random() % 12);
      break;
    case 2: // put a token in
      text.insert(at, std::string(" ") + kPieces[random() % std::size(kPieces)] + " ");
      break;
    case 3: // truncate
      text.resize(at);
      break;
    default: // repeat a piece
      text.insert(at, text.substr(at, random() % 20));
      break;
    }
  }
  return text;
}

// Runs one text as a query and as a statement; reads whatever comes back.
// Answers whether the query gave a result.
bool RunEverywhere(RuntimeObject *database, const std::string &text) {
  const string sql = sqlString(text);
  RuntimeObject *result = databaseSQLSelect(database, sql.Storage());
  if (result) {
    auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(result);
    for (int row = 0; row < 50 && !recordSet->eof; ++row) {
      FakeCurrentRow(recordSet);
      cursorMoveNext(result);
    }
    CursorMoveLast(result);
    CursorMovePrev(result);
    CursorMoveFirst(result);
    RuntimeUnlockObject(result);
  } else {
    EXPECT_NE(reinterpret_cast<DatabaseObject *>(database)->errorCode, -1);
  }
  databaseSQLExecute(database, sql.Storage());
  return result != nullptr;
}

class SqlFuzz : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    if (GetParam()) {
      char path[] = "/tmp/sql-fuzz-XXXXXX";
      close(mkstemp(path));
      unlink(path);
      mPath = path;
      mDatabase = ZANTdbDatabaseFromDBDatabase(CreateZANTPath(string(path)), &gZANTEngineDefinition);
    } else {
      mFake = std::make_unique<FakeEngine>();
      mDatabase = mFake->Database();
      RuntimeLockObject(mDatabase);
    }
    ASSERT_NE(mDatabase, nullptr);
    for (const char *sql : {"CREATE TABLE a (id integer, n integer, s varchar(10), PRIMARY KEY (id))",
                            "CREATE TABLE b (id integer, m integer)", "INSERT INTO a (id, n, s) VALUES (1, 2, 'ab')",
                            "INSERT INTO a (id, n, s) VALUES (2, 3, 'b')", "INSERT INTO a (id) VALUES (3)",
                            "INSERT INTO b (id, m) VALUES (1, 3)", "INSERT INTO b (id, m) VALUES (2, 2)", "COMMIT"})
      SqlExecuteText(mDatabase, sql);
  }
  void TearDown() override {
    RuntimeUnlockObject(mDatabase);
    mFake.reset();
    if (!mPath.empty()) {
      unlink(mPath.c_str());
      unlink((mPath + "-journal").c_str());
    }
  }

  RuntimeObject *mDatabase = nullptr;
  std::unique_ptr<FakeEngine> mFake;
  std::string mPath;
};

} // namespace

TEST_P(SqlFuzz, RandomAndMutatedStatementsAnswerOrFail) {
  AlertRecorder alerts;
  std::mt19937 random(GetParam() ? 11 : 12);
  int results = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    if (i % 10 == 0) {
      for (int n = static_cast<int>(random() % 30); n > 0; --n)
        text += std::string(kPieces[random() % std::size(kPieces)]) + (random() % 2 ? " " : "");
    } else {
      // Queries (the first four seeds) half of the time.
      text = Mutate(kSeeds[random() % 2 ? random() % 4 : random() % std::size(kSeeds)], random);
    }
    results += RunEverywhere(mDatabase, text);
    ASSERT_EQ(alerts.count(), 0u) << text;
  }
  // Mutations leave many queries valid: results were read, not only errors.
  EXPECT_GT(results, 500);
  // The tables are still there and readable.
  const std::vector<std::string> rows = SqlSelectRows(mDatabase, "SELECT id FROM b");
  EXPECT_TRUE(rows.empty() || rows.front().substr(0, 5) != "error") << rows.front();
}

TEST_P(SqlFuzz, HugeStatementsEndQuickly) {
  AlertRecorder alerts;
  std::string conditions = "id = 0";
  for (int i = 1; i < 100000; ++i)
    conditions += (i % 2 ? " or id = " : " and n > ") + std::to_string(i);
  EXPECT_EQ(SqlSelectRows(mDatabase, "SELECT id FROM a WHERE " + conditions),
            std::vector<std::string>{"error 201: Too many conditions"});
  EXPECT_EQ(SqlExecuteText(mDatabase, "DELETE FROM a WHERE " + conditions), 201);
  EXPECT_EQ(SqlExecuteText(mDatabase, "UPDATE a SET s = 'x' WHERE " + conditions), 201);

  // A 10 MB literal, and 10 MB of tokens.
  const std::string literal(10 << 20, 'q');
  EXPECT_EQ(SqlSelectRows(mDatabase, "SELECT id FROM a WHERE s = '" + literal + "'"), std::vector<std::string>{});
  std::string tokens = "SELECT id FROM a ORDER BY id";
  while (tokens.size() < (10u << 20))
    tokens += " , ( ) 'x' [y z] 12.5";
  EXPECT_EQ(SqlSelectRows(mDatabase, tokens).size(), 1u);
  EXPECT_EQ(SqlExecuteText(mDatabase, "INSERT" + tokens), 200);
  EXPECT_EQ(SqlSelectRows(mDatabase, "SELECT id FROM a").size(), 3u);
  EXPECT_EQ(alerts.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlFuzz, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "BuiltIn" : "Fake"; });
