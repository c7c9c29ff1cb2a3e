#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeEngine.h"
#include "database/DatabaseInterface.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlStrings.h"

namespace {

using Rows = std::vector<std::string>;

// Table t (a integer key, b text, c text) with four rows.
class SqlExecute : public ::testing::Test {
protected:
  void SetUp() override {
    FakeTable &t = fake.AddTable("t", {{"a", kColumnInteger}, {"b"}, {"c"}},
                                 {{"1", "xa", "p"}, {"2", "ya", FakeValue()}, {"3", "xb", "q"}, {"4", "X", "r"}});
    t.keys = {0};
  }
  Rows T() { return FakeRowTexts(*fake.Find("t")); }

  FakeEngine fake;
};

struct ErrorCase {
  const char *sql;
  int32_t code;
  const char *message;
};

void ExpectErrors(FakeEngine &fake, const std::vector<ErrorCase> &cases) {
  for (const ErrorCase &c : cases) {
    EXPECT_EQ(fake.Execute(c.sql), c.code) << c.sql;
    EXPECT_EQ(fake.ErrorMessage(), c.message) << c.sql;
  }
}

} // namespace

TEST_F(SqlExecute, CreateTableReadsTypesNullabilityAndKey) {
  EXPECT_EQ(fake.Execute("CREATE TABLE n (a integer, b varchar(20) NOT NULL, PRIMARY KEY (a));;"), 0);
  FakeTable *n = fake.Find("n");
  ASSERT_NE(n, nullptr);
  ASSERT_EQ(n->columns.size(), 2u);
  EXPECT_EQ(n->columns[0].type, kColumnInteger);
  EXPECT_TRUE(n->columns[0].nullable);
  EXPECT_EQ(n->columns[1].type, kColumnText);
  EXPECT_FALSE(n->columns[1].nullable);
  EXPECT_EQ(n->keys, std::vector<uint8_t>{0});

  EXPECT_EQ(fake.Execute("create table m (a char, b integer, c long varchar, d long varbinary, e smallint, "
                         "f float, g double, h date, i time, j timestamp, k boolean, l character(5), "
                         "[caf\xc3\xa9 x] CHARACTER)"),
            0);
  std::vector<int32_t> types;
  for (const FakeColumn &column : fake.Find("m")->columns)
    types.push_back(column.type);
  EXPECT_EQ(types, (std::vector<int32_t>{5, 3, 15, 16, 2, 6, 7, 8, 9, 10, 12, 5, 5}));
  EXPECT_EQ(fake.Find("m")->columns.back().name, "caf\xc3\xa9 x");
}

TEST_F(SqlExecute, CreateAndAlterRefuseBadDefinitions) {
  ExpectErrors(fake, {
                         {"CREATE TABLE u (a int)", 200, "Expecting field type"},
                         {"CREATE TABLE u ()", 200, "Expecting field type"},
                         {"CREATE TABLE u a integer)", 200, "Expecting '('"},
                         {"CREATE TABLE u (a varchar(x))", 201, "Invalid field constraint"},
                         {"CREATE TABLE u (a varchar(5 b))", 200, "Expecting ')'"},
                         {"CREATE TABLE u (a integer not x)", 200, "Expecting 'NULL'"},
                         {"CREATE TABLE u (a integer b integer)", 200, "Expecting ',' or ')'"},
                         {"CREATE TABLE u (a integer, primary foo (a))", 200, "Expecting 'KEY'"},
                         {"CREATE TABLE u (a integer, primary key a)", 200, "Expecting '('"},
                         {"CREATE TABLE u (a integer, primary key (b))", 201, "Invalid column"},
                         {"CREATE TABLE u (a integer, primary key (1))", 201, "Invalid column name"},
                         {"CREATE TABLE u (a integer, primary key (a b))", 201, "Expecting ',' or ')'"},
                         {"CREATE TABLE u (a-b integer)", 201, "Invalid column name"},
                         {"CREATE TABLE u (a long text)", 200, "Expecting field type"},
                         {"CREATE TABLE 'u' (a integer)", 201, "Invalid table name"},
                         {"CREATE INDEX i ON t (a)", 200, "Unsupported statement: CREATE INDEX"},
                         {"ALTER TABLE t DROP c", 2008, "Dropping columns is not supported for this database"},
                         {"ALTER TABLE t RENAME c", 200, "Expected 'ADD'"},
                         {"ALTER TABLE t ADD COLUMN c-d integer", 201, "Invalid column name"},
                         {"ALTER TABLE t ADD d integer extra", 201, "Unexpected extra"},
                         {"ALTER VIEW v", 200, "Unsupported statement: ALTER VIEW"},
                     });
  EXPECT_EQ(fake.Find("u"), nullptr);
  EXPECT_EQ(fake.Find("t")->columns.size(), 3u);

  EXPECT_EQ(fake.Execute("ALTER TABLE t ADD COLUMN d long varchar"), 0);
  EXPECT_EQ(fake.Execute("alter table t add e integer not null;"), 0);
  const FakeTable &t = *fake.Find("t");
  ASSERT_EQ(t.columns.size(), 5u);
  EXPECT_EQ(t.columns[3].type, kColumnLongText);
  EXPECT_EQ(t.columns[4].type, kColumnInteger);
  EXPECT_FALSE(t.columns[4].nullable);
}

TEST_F(SqlExecute, UnknownStatementsDropCommitAndRollback) {
  ExpectErrors(fake, {
                         {"DROP TABLE t", 2007, "Dropping tables from this database is not currently supported."},
                         {"GRANT ALL ON t", 200, "Unsupported statement: GRANT"},
                         {"BEGIN", 200, "Unsupported statement: BEGIN"},
                         {"DELET FROM t", 200, "Unsupported statement: DELET"},
                         {"", 200, "Unsupported statement: "},
                         {"COMMIT WORK", 201, "Unexpected WORK"},
                     });
  EXPECT_EQ(T().size(), 4u);
  EXPECT_EQ(fake.Execute("commit;;"), 0);
  EXPECT_EQ(fake.Execute("ROLLBACK"), 0);
  EXPECT_EQ(fake.commits, 1);
  EXPECT_EQ(fake.rollbacks, 1);
  // A later success clears the error code (the message stays).
  EXPECT_EQ(fake.Execute("DROP TABLE t"), 2007);
  EXPECT_EQ(fake.Execute("commit"), 0);
}

TEST_F(SqlExecute, InsertAddsOneRowOfTextValues) {
  EXPECT_EQ(fake.Execute("INSERT INTO t (a, b, c) VALUES (5, 'it''s', NULL);"), 0);
  EXPECT_EQ(fake.Execute("insert into t (c, a) values (\"q\", -6)"), 0);
  EXPECT_EQ(T(), (Rows{"1|xa|p", "2|ya|~", "3|xb|q", "4|X|r", "5|it's|~", "-6|~|q"}));
  ExpectErrors(fake, {
                         {"INSERT INTO t (a, b) VALUES (1)", 208, "Mismatched INSERT columns"},
                         {"INSERT INTO t (a) VALUES (1, 2)", 208, "Mismatched INSERT columns"},
                         {"INSERT t (a) VALUES (1)", 200, "Expecting 'INTO'"},
                         {"INSERT INTO 't' (a) VALUES (1)", 201, "Invalid table name"},
                         {"INSERT INTO t a VALUES (1)", 200, "Expecting '('"},
                         {"INSERT INTO t (a b) VALUES (1)", 200, "Expecting ')'"},
                         {"INSERT INTO t (1) VALUES (1)", 201, "Invalid column name"},
                         {"INSERT INTO t (a) (1)", 200, "Expecting 'VALUES'"},
                         {"INSERT INTO t (a) VALUES 1", 200, "Expecting '('"},
                         {"INSERT INTO t (a) VALUES (1", 200, "Expecting ')'"},
                         {"INSERT INTO t (a) VALUES ()", 200, "Expected a value"},
                         {"INSERT INTO t (a) VALUES (1) (2)", 201, "Unexpected ("},
                     });
  EXPECT_EQ(T().size(), 6u);
}

TEST_F(SqlExecute, UpdateAndDeleteTouchExactlyTheRowsTheirConditionNames) {
  const struct {
    const char *sql;
    Rows rows;
    const char *condition;
  } cases[] = {
      {"UPDATE t SET c = 'z' WHERE a = 2", {"1|xa|p", "2|ya|z", "3|xb|q", "4|X|r"}, "a = '2'"},
      {"UPDATE t SET c = 'z', b = \"w\" WHERE b LIKE 'x%'",
       {"1|w|z", "2|ya|~", "3|w|z", "4|X|r"},
       "b like 'x%'"},
      {"UPDATE t SET c = 'z' WHERE b NOT LIKE 'x%'", {"1|xa|p", "2|ya|z", "3|xb|q", "4|X|z"}, "b not like 'x%'"},
      {"UPDATE t SET b = 'n' WHERE c IS NULL", {"1|xa|p", "2|n|~", "3|xb|q", "4|X|r"}, "c is null"},
      {"DELETE FROM t WHERE b LIKE 'x%'", {"2|ya|~", "4|X|r"}, "b like 'x%'"},
      {"DELETE FROM t WHERE c IS NOT NULL or a > 3", {"2|ya|~"}, "or(c is not null, a > '3')"},
      {"DELETE FROM t WHERE a >= 2 and a < 4;", {"1|xa|p", "4|X|r"}, "and(a >= '2', a < '4')"},
      {"DELETE FROM t WHERE upper(b) = 'X'", {"1|xa|p", "2|ya|~", "3|xb|q"}, "upper(b) = 'X'"},
      {"DELETE FROM t", {}, "-"},
  };
  for (const auto &c : cases) {
    SetUp(); // a fresh copy of t
    fake.tables.erase(fake.tables.begin());
    fake.conditions.clear();
    EXPECT_EQ(fake.Execute(c.sql), 0) << c.sql << ": " << fake.ErrorMessage();
    EXPECT_EQ(T(), c.rows) << c.sql;
    EXPECT_EQ(fake.conditions, Rows{c.condition}) << c.sql;
  }
}

TEST_F(SqlExecute, MistypedUpdateAndDeleteChangeNothing) {
  const Rows before = T();
  ExpectErrors(fake, {
                         {"DELETE FROM t WHRE a = 1", 201, "Unexpected WHRE"},
                         {"DELETE FROM t WHERE a = 1 extra", 201, "Unexpected extra"},
                         {"DELETE FROM t WHERE a = 1 or", 201, "Invalid column/table identifier"},
                         {"DELETE FROM t WHERE b = c", 201, "Column comparison not supported here: c"},
                         {"DELETE FROM t WHERE zz = 1", 206, "Unknown column: zz"},
                         {"DELETE FROM t WHERE u.a = 1", 206, "Unknown column: a"},
                         {"DELETE FROM nosuch", 202, "Invalid table nosuch"},
                         {"DELETE t", 200, "Expecting 'FROM'"},
                         {"DELETE FROM t WHERE b LIKE x", 201, "Quotes expected after LIKE operation"},
                         {"UPDATE t SET c = 'z' WHRE a = 1", 201, "Unexpected WHRE"},
                         {"UPDATE t SET c = NULL", 201, "NULL cannot be assigned to c"},
                         {"UPDATE t SET c = 'z' WHERE a = b", 201, "Column comparison not supported here: b"},
                         {"UPDATE t SET zz = 'z'", 208, "Mismatched update fields"},
                         {"UPDATE t SET c = 'z' WHERE zz = 1", 206, "Unknown column: zz"},
                         {"UPDATE nosuch SET c = 'z'", 202, "Invalid table nosuch"},
                         {"UPDATE t c = 'z'", 200, "Expecting 'SET'"},
                         {"UPDATE t SET c 'z'", 200, "Expecting '='"},
                         {"UPDATE t SET 'c' = 'z'", 201, "Invalid column name"},
                         {"UPDATE t SET c =", 200, "Expected a value"},
                     });
  EXPECT_EQ(T(), before);
}

TEST_F(SqlExecute, UpdateStopsAtTheFirstRowTheEngineRefuses) {
  fake.refuseUpdateOf = "3";
  EXPECT_EQ(fake.Execute("UPDATE t SET c = 'z'"), 0);
  EXPECT_EQ(T(), (Rows{"1|xa|z", "2|ya|z", "3|xb|q", "4|X|r"}));
  EXPECT_EQ(fake.lastError, 2005);
}

TEST_F(SqlExecute, AnEngineThatRunsSqlGetsTheTextUnchanged) {
  static std::vector<std::string> *log = nullptr;
  log = &fake.directSQL;
  fake.engine.directSQLExecute = [](dbDatabase *, stringStorage *sql) { log->push_back(sqlStdString(sql)); };
  EXPECT_EQ(fake.Execute("DROP TABLE t;"), 0);
  EXPECT_EQ(fake.directSQL, Rows{"DROP TABLE t;"});
  EXPECT_EQ(T().size(), 4u);
}

TEST_F(SqlExecute, EditsOfACursorWithoutUpdateRowBecomeOneUpdatePerRow) {
  static std::vector<std::string> *log = nullptr;
  log = &fake.directSQL;
  fake.AddTable("w", {{"id"}, {"c1"}, {"c2"}}, {{"7", "a", "b"}}).keys = {0};
  fake.cursor.updateRow = nullptr;
  fake.engine.directSQLExecute = [](dbDatabase *, stringStorage *sql) { log->push_back(sqlStdString(sql)); };

  ZANTcolumnName all{nullptr, sqlStorage("*")};
  RuntimeObject *rows =
      fake.engine.getTableRecordSet(fake.database()->handle, sqlString("w").Storage(), &all, nullptr);
  stringStorage::RemoveReference(all.name);
  ASSERT_NE(rows, nullptr);
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(rows);
  RuntimeLockObject(fake.Database());
  recordSet->owner = fake.database();

  // Without Edit nothing is recorded or written.
  recordSetSetText(recordSet, 1, sqlString("ignored").Storage());
  cursorUpdate(rows);
  EXPECT_TRUE(fake.directSQL.empty());

  cursorEdit(rows);
  recordSetSetText(recordSet, 1, sqlString("it's").Storage());
  recordSetSetText(recordSet, 2, nullptr);
  recordSetSetText(recordSet, 1, sqlString("x").Storage());
  std::string text;
  EXPECT_TRUE(recordSetColumnText(recordSet, 1, text));
  EXPECT_EQ(text, "x");
  EXPECT_FALSE(recordSetColumnText(recordSet, 2, text));
  cursorUpdate(rows);
  EXPECT_EQ(fake.directSQL, Rows{"UPDATE [w] SET [c1] = 'x', [c2] = NULL WHERE id = '7'"});
  // The edits stay readable until the next move.
  EXPECT_TRUE(recordSetColumnText(recordSet, 1, text));
  EXPECT_EQ(text, "x");
  RuntimeUnlockObject(rows);
}

TEST_F(SqlExecute, EditsGoToUpdateFieldsWhenTheEngineHasIt) {
  static std::vector<std::string> *log = nullptr;
  log = &fake.updateLog;
  fake.AddTable("w", {{"id"}, {"c1"}, {"c2"}}, {{"7", "a", "b"}}).keys = {0};
  // A table cursor that updates its row gets the edits of a SELECT's columns
  // as its own columns.
  RuntimeObject *selected = databaseSQLSelect(fake.Database(), sqlString("SELECT c2, id FROM w").Storage());
  ASSERT_NE(selected, nullptr);
  cursorEdit(selected);
  recordSetSetText(reinterpret_cast<DatabaseCursorObject *>(selected), 0, sqlString("z").Storage());
  cursorUpdate(selected);
  RuntimeUnlockObject(selected);
  EXPECT_EQ(FakeRowTexts(*fake.Find("w")), Rows{"7|a|z"});

  fake.cursor.updateRow = nullptr;
  fake.engine.updateFields = [](dbDatabase *, ZANTupdateRecord *updates) {
    for (; updates; updates = updates->next)
      log->push_back(std::string(updates->qualifiedName, updates->qualifiedNameLength) + " | " +
                     std::string(updates->key, updates->keyLength) + " | " +
                     (updates->value ? sqlStdString(updates->value) : "NULL"));
  };
  RuntimeObject *rows = databaseSQLSelect(fake.Database(), sqlString("SELECT c2, c1 FROM w").Storage());
  ASSERT_NE(rows, nullptr);
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(rows);
  cursorEdit(rows);
  recordSetSetText(recordSet, 1, sqlString("x").Storage());
  recordSetSetText(recordSet, 0, nullptr);
  cursorUpdate(rows);
  // Oldest edit first, each column under its table's name.
  EXPECT_EQ(fake.updateLog, (Rows{"w!c1 | id = '7' | x", "w!c2 | id = '7' | NULL"}));
  EXPECT_TRUE(fake.directSQL.empty());
  RuntimeUnlockObject(rows);
}
