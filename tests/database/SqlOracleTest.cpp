// The runtime's SQL against SQLite as the oracle: the same generated tables
// in both, random statements in both, and the results compared. Conditions
// are written for SQLite with our right-nested grouping made explicit.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include <memory>

#include "FakeEngine.h"
#include "database/DatabaseInterface.h"
#include "database/ZANTEngine.h"

namespace {

using Rows = std::vector<std::string>;

struct Column {
  std::string name;
  bool integer;
};

struct TableShape {
  std::string name;
  std::vector<Column> columns;
  int rows;
};

const std::vector<TableShape> kTables = {
    {"a", {{"id", true}, {"n", true}, {"s", false}, {"d", false}}, 24},
    {"b", {{"id", true}, {"m", true}, {"t", false}}, 16},
    {"c", {{"id", true}, {"k", true}, {"u", false}}, 8},
};

const char *const kWords[] = {"a", "ab", "abc", "b", "ba", "bb", "c", "ca", "zz"};
const char *const kPatterns[] = {"a%", "%b", "_", "a_", "%", "b%a", "%a%", "__%", "c"};

// Where the generated tables live: the fake engine, or a database file of
// the built-in engine filled through SQL.
class Backend {
public:
  virtual ~Backend() = default;
  virtual void Create(const TableShape &shape, const std::vector<FakeRow> &rows) = 0;
  virtual RuntimeObject *Database() = 0;
  // The table's rows, each as its values in shape order.
  virtual Rows TableRows(const TableShape &shape) {
    std::string columns;
    for (const Column &column : shape.columns)
      columns += (columns.empty() ? "" : ", ") + column.name;
    return SqlSelectRows(Database(), "SELECT " + columns + " FROM " + shape.name);
  }
  int32_t Execute(const std::string &sql) { return SqlExecuteText(Database(), sql); }
  Rows Select(const std::string &sql) { return SqlSelectRows(Database(), sql); }
  std::string Error() { return SqlErrorMessage(Database()); }
};

class FakeBackend final : public Backend {
public:
  void Create(const TableShape &shape, const std::vector<FakeRow> &rows) override {
    std::vector<FakeColumn> columns;
    for (const Column &column : shape.columns)
      columns.push_back({column.name, column.integer ? kColumnInteger : kColumnText});
    fake.AddTable(shape.name, columns, rows);
  }
  RuntimeObject *Database() override { return fake.Database(); }
  Rows TableRows(const TableShape &shape) override { return FakeRowTexts(*fake.Find(shape.name)); }

  FakeEngine fake;
};

std::string InsertText(const TableShape &shape, const FakeRow &row) {
  // Every column is named: a missing value is written as NULL.
  std::string columns, values;
  for (size_t i = 0; i < shape.columns.size(); ++i) {
    columns += (columns.empty() ? "" : ", ") + shape.columns[i].name;
    values += (values.empty() ? "" : ", ") +
              (!row[i] ? std::string("NULL") : shape.columns[i].integer ? *row[i] : "'" + *row[i] + "'");
  }
  return "INSERT INTO " + shape.name + " (" + columns + ") VALUES (" + values + ")";
}

class BuiltInBackend final : public Backend {
public:
  BuiltInBackend() {
    char path[] = "/tmp/sql-oracle-XXXXXX";
    const int descriptor = mkstemp(path);
    close(descriptor);
    unlink(path);
    mPath = path;
    mDatabase = ZANTdbDatabaseFromDBDatabase(CreateZANTPath(string(path)), &gZANTEngineDefinition);
  }
  ~BuiltInBackend() override {
    RuntimeUnlockObject(mDatabase);
    unlink(mPath.c_str());
    unlink((mPath + "-journal").c_str());
  }
  void Create(const TableShape &shape, const std::vector<FakeRow> &rows) override {
    std::string create = "CREATE TABLE " + shape.name + " (";
    for (size_t i = 0; i < shape.columns.size(); ++i)
      create += (i ? ", " : "") + shape.columns[i].name +
                (shape.columns[i].integer ? " integer" : shape.columns[i].name == "d" ? " date" : " varchar(20)");
    EXPECT_EQ(Execute(create + ")"), 0) << Error();
    for (const FakeRow &row : rows)
      EXPECT_EQ(Execute(InsertText(shape, row)), 0) << InsertText(shape, row) << ": " << Error();
    Execute("COMMIT");
  }
  RuntimeObject *Database() override { return mDatabase; }

private:
  std::string mPath;
  RuntimeObject *mDatabase = nullptr;
};

// SQLite's rows, each as its values joined by "|" (NULL: "~").
Rows SqliteSelect(sqlite3 *db, const std::string &sql) {
  sqlite3_stmt *statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
  Rows rows;
  while (statement && sqlite3_step(statement) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      const unsigned char *text = sqlite3_column_text(statement, i);
      row += (i ? "|" : "") + (text ? std::string(reinterpret_cast<const char *>(text)) : std::string("~"));
    }
    rows.push_back(row);
  }
  sqlite3_finalize(statement);
  return rows;
}

class Oracle : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    if (GetParam())
      backend = std::make_unique<BuiltInBackend>();
    else
      backend = std::make_unique<FakeBackend>();
    ASSERT_NE(backend->Database(), nullptr);
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    Sqlite("PRAGMA case_sensitive_like = ON");
    for (const TableShape &shape : kTables) {
      std::string create = "CREATE TABLE " + shape.name + " (";
      for (size_t i = 0; i < shape.columns.size(); ++i)
        create += (i ? ", " : "") + shape.columns[i].name + (shape.columns[i].integer ? " INTEGER" : " TEXT");
      Sqlite(create + ")");
      std::vector<FakeRow> rows;
      for (int r = 0; r < shape.rows; ++r) {
        FakeRow row;
        std::string insert = "INSERT INTO " + shape.name + " VALUES (";
        for (size_t i = 0; i < shape.columns.size(); ++i) {
          FakeValue value = i == 0 ? FakeValue(std::to_string(r)) : RandomValue(shape.columns[i]);
          row.push_back(value);
          insert += (i ? ", " : "") + (value ? (shape.columns[i].integer ? *value : "'" + *value + "'") : "NULL");
        }
        Sqlite(insert + ")");
        rows.push_back(row);
      }
      backend->Create(shape, rows);
    }
  }
  void TearDown() override { sqlite3_close(db); }

  FakeValue RandomValue(const Column &column) {
    if (random() % 5 == 0)
      return FakeValue();
    if (column.name == "d")
      return Date();
    if (column.integer) {
      if (random() % 10 == 0)
        return std::to_string(random() % 2 ? 2147483647 : -2147483647 - 1);
      return std::to_string(static_cast<int>(random() % 9) - 4);
    }
    return std::string(kWords[random() % std::size(kWords)]);
  }
  std::string Date() {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", 1999 + static_cast<int>(random() % 3),
                  1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
    return text;
  }

  void Sqlite(const std::string &sql) {
    char *message = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << sql << ": " << message;
  }
  Rows SqliteRows(const std::string &sql) { return SqliteSelect(db, sql); }

  // A column of one of the tables in scope, qualified when asked.
  struct Pick {
    const TableShape *table;
    const Column *column;
  };
  // A column of any kind, or of the kind (integer, text, date) of like.
  Pick RandomColumn(const std::vector<const TableShape *> &scope, const Column *like = nullptr) {
    for (;;) {
      const TableShape *table = scope[random() % scope.size()];
      const Column &column = table->columns[random() % table->columns.size()];
      if (!like || (column.integer == like->integer && (column.name == "d") == (like->name == "d")))
        return {table, &column};
    }
  }
  std::string Name(const Pick &pick, bool qualify) {
    return qualify ? pick.table->name + "." + pick.column->name : pick.column->name;
  }

  // One comparison: the same text serves both sides.
  std::string Leaf(const std::vector<const TableShape *> &scope, bool qualify, bool columnsOnRight) {
    static const char *const kOperators[] = {"=", "<", ">", "<=", ">=", "<>"};
    const Pick left = RandomColumn(scope);
    const std::string name = Name(left, qualify);
    const int kind = static_cast<int>(random() % 10);
    if (kind == 0)
      return name + (random() % 2 ? " IS NULL" : " IS NOT NULL");
    const std::string op = kOperators[random() % std::size(kOperators)];
    if (kind == 1 && columnsOnRight) {
      const Pick right = RandomColumn(scope, left.column);
      return name + " " + op + " " + Name(right, qualify);
    }
    if (left.column->integer)
      return name + " " + op + " " + std::to_string(static_cast<int>(random() % 11) - 5);
    if (left.column->name == "d")
      return name + " " + op + " '" + Date() + "'";
    if (kind <= 4)
      return name + (random() % 3 ? " LIKE '" : " NOT LIKE '") + kPatterns[random() % std::size(kPatterns)] + "'";
    if (kind == 5)
      return std::string(random() % 2 ? "upper(" : "lower(") + name + ") " + op + " '" +
             (random() % 2 ? "AB" : "ab") + "'";
    return name + " " + op + " '" + kWords[random() % std::size(kWords)] + "'";
  }

  // A condition of up to five comparisons joined by and/or, for us and for
  // SQLite (where the nesting to the right is written out).
  std::pair<std::string, std::string> Where(const std::vector<const TableShape *> &scope, bool qualify,
                                            bool columnsOnRight = true) {
    const int leaves = 1 + static_cast<int>(random() % 5);
    std::vector<std::string> parts;
    std::vector<std::string> joins;
    for (int i = 0; i < leaves; ++i) {
      parts.push_back(Leaf(scope, qualify, columnsOnRight));
      if (i + 1 < leaves)
        joins.push_back(random() % 2 ? "and" : "or");
    }
    std::string ours = parts[0], theirs = parts.back();
    for (size_t i = 1; i < parts.size(); ++i)
      ours += " " + joins[i - 1] + " " + parts[i];
    for (size_t i = parts.size() - 1; i-- > 0;)
      theirs = "(" + parts[i] + ") " + joins[i] + " (" + theirs + ")";
    return {ours, theirs};
  }

public:
  static Rows Sorted(Rows rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  Rows Ours(const std::string &sql) { return backend->Select(sql); }

  sqlite3 *db = nullptr;
  std::unique_ptr<Backend> backend;
  std::mt19937 random{20261211};
  const std::vector<const TableShape *> a{&kTables[0]};
};

// Numbers that agree to two decimals (our averages keep two).
bool SameRow(const std::string &ours, const std::string &theirs) {
  if (ours == theirs)
    return true;
  size_t i = 0, j = 0;
  while (i <= ours.size() && j <= theirs.size()) {
    const size_t ie = std::min(ours.find('|', i), ours.size()), je = std::min(theirs.find('|', j), theirs.size());
    const std::string x = ours.substr(i, ie - i), y = theirs.substr(j, je - j);
    if (x != y) {
      char *endX = nullptr, *endY = nullptr;
      const double dx = std::strtod(x.c_str(), &endX), dy = std::strtod(y.c_str(), &endY);
      if (x.empty() || y.empty() || *endX || *endY || std::fabs(dx - dy) > 0.006)
        return false;
    }
    i = ie + 1;
    j = je + 1;
  }
  return i > ours.size() && j > theirs.size();
}

} // namespace

TEST_P(Oracle, RandomConditionsOnOneTable) {
  for (int i = 0; i < 400; ++i) {
    const auto [ours, theirs] = Where(a, random() % 2 == 0);
    const Rows expected = Sorted(SqliteRows("SELECT id, n, s, d FROM a WHERE " + theirs));
    ASSERT_EQ(Sorted(Ours("SELECT id, n, s, d FROM a WHERE " + ours)), expected) << ours;
  }
}

TEST_P(Oracle, JoinsOfTwoAndThreeTablesAsMultisets) {
  const std::vector<const TableShape *> ab{&kTables[0], &kTables[1]};
  const std::vector<const TableShape *> abc{&kTables[0], &kTables[1], &kTables[2]};
  for (int i = 0; i < 200; ++i) {
    const bool three = i % 4 == 3;
    const auto [ours, theirs] = Where(three ? abc : ab, true);
    const std::string select = three ? "SELECT a.id, b.id, c.id, a.s, c.u FROM a, b, c WHERE "
                                     : "SELECT a.id, b.id, a.n, b.t FROM a, b WHERE ";
    const Rows expected = Sorted(SqliteRows(select + theirs));
    ASSERT_EQ(Sorted(Ours(select + ours)), expected) << ours;
  }
}

TEST_P(Oracle, OrderByWithEveryColumnAsTieBreaker) {
  const char *const kColumns[] = {"id", "n", "s", "d"};
  for (int i = 0; i < 150; ++i) {
    std::vector<std::string> order(std::begin(kColumns), std::end(kColumns));
    std::shuffle(order.begin(), order.end(), random);
    std::string by;
    for (const std::string &column : order)
      by += (by.empty() ? "" : ", ") + column + (random() % 2 ? " DESC" : "");
    const auto [ours, theirs] = Where(a, false);
    const Rows expected = SqliteRows("SELECT id, n, s, d FROM a WHERE " + theirs + " ORDER BY " + by);
    ASSERT_EQ(Ours("SELECT id, n, s, d FROM a WHERE " + ours + " ORDER BY " + by), expected)
        << ours << " ORDER BY " << by;
  }
  // Sorting by a column that is not selected.
  EXPECT_EQ(Ours("SELECT id FROM a ORDER BY d DESC, id"),
            SqliteRows("SELECT id FROM a ORDER BY d DESC, id"));
}

TEST_P(Oracle, GroupByWithEachAggregate) {
  for (int i = 0; i < 150; ++i) {
    const auto [ours, theirs] = Where(a, false);
    const char *group = i % 3 == 0 ? "s" : "n";
    const std::string select = std::string("SELECT ") + group + ", COUNT(*), SUM(id), MIN(id), MAX(n), AVG(n) FROM a";
    const Rows expected = Sorted(SqliteRows(select + " WHERE " + theirs + " GROUP BY " + group));
    const Rows actual = Sorted(Ours(select + " WHERE " + ours + " GROUP BY " + group));
    ASSERT_EQ(actual.size(), expected.size()) << ours;
    for (size_t r = 0; r < actual.size(); ++r)
      ASSERT_TRUE(SameRow(actual[r], expected[r])) << ours << ": " << actual[r] << " vs " << expected[r];

    const std::string whole = "SELECT COUNT(*), SUM(n), MIN(n), MAX(n), AVG(n) FROM a WHERE ";
    const Rows one = Ours(whole + ours), sqliteOne = SqliteRows(whole + theirs);
    ASSERT_EQ(one.size(), 1u) << ours;
    ASSERT_TRUE(SameRow(one[0], sqliteOne[0])) << ours << ": " << one[0] << " vs " << sqliteOne[0];
  }
}

TEST_P(Oracle, UpdateAndDeleteTouchExactlyTheRowsSqliteTouches) {
  int changed = 0, refused = 0;
  for (int i = 0; i < 300; ++i) {
    // Every fifth condition may compare two columns, which is refused.
    const bool columnsOnRight = i % 5 == 0;
    auto [ours, theirs] = Where(a, false, columnsOnRight);
    std::string statement = i % 2 ? "DELETE FROM a WHERE " : "UPDATE a SET s = 'zz', n = 99 WHERE ";
    const std::string sqliteStatement = statement + theirs;
    statement += ours;
    // Now and then a misspelt keyword, a column that does not exist or
    // words after the condition.
    const int damage = static_cast<int>(random() % 8);
    if (damage == 0)
      statement.replace(statement.find("WHERE"), 5, "WHRE");
    if (damage == 1)
      statement += " and zz = 1";
    if (damage == 2)
      statement += " id = 1";
    const Rows before = backend->TableRows(kTables[0]);
    const int32_t code = backend->Execute(statement);
    const Rows after = backend->TableRows(kTables[0]);
    if (code != 0) {
      ++refused;
      // A refused statement changes nothing, and only these are refused.
      ASSERT_EQ(after, before) << statement;
      ASSERT_TRUE(damage <= 2 || columnsOnRight) << statement << ": " << backend->Error();
      continue;
    }
    ++changed;
    ASSERT_GT(damage, 2) << statement;
    Sqlite(sqliteStatement);
    ASSERT_EQ(Sorted(after), Sorted(SqliteRows("SELECT id, n, s, d FROM a"))) << statement;
    // Deleted rows come back, so that later statements have rows to touch.
    if (after.size() < 8) {
      ASSERT_EQ(backend->Execute("DELETE FROM a"), 0);
      Sqlite("DELETE FROM a");
      for (int r = 0; r < 24; ++r) {
        const FakeRow row{std::to_string(r), RandomValue({"n", true}), RandomValue({"s", false}), Date()};
        ASSERT_EQ(backend->Execute(InsertText(kTables[0], row)), 0);
        Sqlite(InsertText(kTables[0], row));
      }
    }
  }
  // Both kinds of outcome were exercised.
  EXPECT_GT(changed, 150);
  EXPECT_GT(refused, 30);
}

// NULL in every column type, doubles that need all their digits, and
// numbers outside the integer columns' ranges, on the built-in engine: rows
// that SQLite stores are ours too, numbers a column cannot hold are refused
// (2003), and conditions and joins select what SQLite selects.
TEST(OracleValues, NullsDoublesAndWideIntegers) {
  BuiltInBackend ours;
  sqlite3 *db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  auto sqlite = [&](const std::string &sql) {
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  };
  auto sqliteRows = [&](const std::string &sql) { return Oracle::Sorted(SqliteSelect(db, sql)); };
  ASSERT_EQ(ours.Execute("CREATE TABLE x (id integer, i integer, s smallint, r double, f float, d date, "
                         "tm time, b boolean, t varchar(20), lt long varchar)"),
            0)
      << ours.Error();
  ASSERT_EQ(ours.Execute("CREATE TABLE y (id integer, r double, i integer)"), 0) << ours.Error();
  sqlite("CREATE TABLE x (id INTEGER, i INTEGER, s INTEGER, r REAL, f REAL, d TEXT, tm TEXT, b TEXT, t TEXT, "
         "lt TEXT)");
  sqlite("CREATE TABLE y (id INTEGER, r REAL, i INTEGER)");
  const char *const integers[] = {"0", "5", "-1", "2147483647", "-2147483648"};
  const char *const smallints[] = {"-32768", "32767", "0", "7"};
  const char *const doubles[] = {"0.123456789", "-2.5", "0.0000001", "123456.789012345", "0.1", "0.3"};
  std::mt19937 random(7582);
  auto pick = [&](auto &values) -> std::string {
    return random() % 4 == 0 ? "NULL" : values[random() % std::size(values)];
  };
  for (int id = 0; id < 40; ++id) {
    const std::string text = random() % 3 == 0 ? "NULL" : "'w" + std::to_string(random() % 5) + "'";
    const std::string values = std::to_string(id) + ", " + pick(integers) + ", " + pick(smallints) + ", " +
                               pick(doubles) + ", " + (random() % 3 ? "NULL" : "1.5") + ", " +
                               (random() % 3 ? "NULL" : "'2001-02-03'") + ", " +
                               (random() % 3 ? "NULL" : "'10:11:12'") + ", " + (random() % 3 ? "NULL" : "'true'") +
                               ", " + text + ", " + text;
    const std::string insert = "INSERT INTO x (id, i, s, r, f, d, tm, b, t, lt) VALUES (" + values + ")";
    ASSERT_EQ(ours.Execute(insert), 0) << insert << ": " << ours.Error();
    sqlite(insert);
    const std::string other = "INSERT INTO y (id, r, i) VALUES (" + std::to_string(id) + ", " + pick(doubles) +
                              ", " + pick(integers) + ")";
    ASSERT_EQ(ours.Execute(other), 0) << other << ": " << ours.Error();
    sqlite(other);
  }
  // Numbers the columns cannot hold are refused and leave no row.
  for (const char *insert : {"INSERT INTO x (id, i) VALUES (100, 3000000000)",
                             "INSERT INTO x (id, i) VALUES (101, 4294967301)",
                             "INSERT INTO x (id, i) VALUES (102, -2147483649)",
                             "INSERT INTO x (id, s) VALUES (103, 70000)",
                             "INSERT INTO x (id, s) VALUES (104, -32769)"}) {
    ASSERT_EQ(ours.Execute(insert), 0) << insert;
    auto *database = reinterpret_cast<DatabaseObject *>(ours.Database());
    EXPECT_EQ(database->definition->getLastErrorCode(database->handle), 2003) << insert;
  }
  const std::string all = "SELECT id, i, s, b, t, lt FROM x";
  ASSERT_EQ(Oracle::Sorted(ours.Select(all)), sqliteRows(all));
  for (const char *where :
       {"i = 4294967301", "i < 4294967301", "i > -3000000000", "i >= 2147483648", "i <= -2147483649",
        "i = 2147483647", "s < 40000", "s > -40000", "r = 0.123456789", "r = 0.0000001", "r > 0.1", "r <= 0.3",
        "r = 123456.789012345", "i IS NULL", "s IS NULL", "r IS NULL", "f IS NULL", "d IS NULL", "tm IS NULL",
        "b IS NULL", "t IS NULL", "lt IS NULL", "i IS NOT NULL", "lt IS NOT NULL", "d = '2001-02-03'"}) {
    const std::string select = std::string("SELECT id FROM x WHERE ") + where;
    EXPECT_EQ(Oracle::Sorted(ours.Select(select)), sqliteRows(select)) << where;
  }
  for (const char *where : {"x.r = y.r", "y.r = x.r", "x.r < y.r", "x.i = y.i", "y.i <= x.i",
                            "x.i = y.i and y.i = 4294967301", "x.r = y.r or x.i = y.i"}) {
    const std::string select = std::string("SELECT x.id, y.id FROM x, y WHERE ") + where;
    EXPECT_EQ(Oracle::Sorted(ours.Select(select)), sqliteRows(select)) << where;
  }
  sqlite3_close(db);
}

INSTANTIATE_TEST_SUITE_P(Engines, Oracle, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "BuiltIn" : "Fake"; });
