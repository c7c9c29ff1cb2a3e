#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeEngine.h"

namespace {

using Rows = std::vector<std::string>;

class SqlSelect : public ::testing::Test {
protected:
  void SetUp() override {
    fake.AddTable("a", {{"id", kColumnInteger}, {"x", kColumnInteger}, {"s"}},
                  {{"1", "10", "pa"}, {"2", "20", "Pb"}, {"3", FakeValue(), "pc"}, {"4", "20", FakeValue()}});
    fake.AddTable("b", {{"id", kColumnInteger}, {"y", kColumnInteger}, {"s"}},
                  {{"1", "20", "qa"}, {"2", "10", "qb"}, {"3", "20", FakeValue()}});
  }
  Rows Select(const std::string &sql) { return FakeSelect(fake, sql); }

  FakeEngine fake;
};

} // namespace

TEST_F(SqlSelect, SingleTables) {
  const struct {
    const char *sql;
    Rows rows;
  } cases[] = {
      {"SELECT * FROM a", {"1|10|pa", "2|20|Pb", "3|~|pc", "4|20|~"}},
      {"select s, id from a where x = 20;;", {"Pb|2", "~|4"}},
      {"SELECT a.id FROM a WHERE s LIKE 'p%'", {"1", "3"}},
      {"SELECT t.id FROM a t WHERE t.x IS NULL", {"3"}},
      {"SELECT id FROM a WHERE x > 10 or s = 'pa'", {"1", "2", "4"}},
      {"SELECT id FROM a WHERE id = x", {}},
      {"SELECT id FROM a WHERE x > id", {"1", "2", "4"}},
      {"SELECT id, x FROM a ORDER BY x DESC, id", {"2|20", "4|20", "1|10", "3|~"}},
      {"SELECT id FROM a ORDER BY 1 DESC", {"4", "3", "2", "1"}},
      {"SELECT id FROM a ORDER BY s", {"4", "2", "1", "3"}},
      {"SELECT COUNT(*) FROM a", {"4"}},
      {"SELECT COUNT(*), SUM(x), AVG(x), MIN(x), MAX(x) FROM a WHERE id > 100", {"0|~|~|~|~"}},
      {"SELECT COUNT(*), SUM(x), AVG(x), MIN(x), MAX(x) FROM a", {"4|50|16.67|10|20"}},
      {"SELECT x, COUNT(*), SUM(id) FROM a GROUP BY x", {"~|1|3", "10|1|1", "20|2|6"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Select(c.sql), c.rows) << c.sql;
}

TEST_F(SqlSelect, Joins) {
  const struct {
    const char *sql;
    Rows rows;
  } cases[] = {
      {"SELECT a.id, b.id FROM a, b WHERE a.x = b.y", {"1|2", "2|1", "2|3", "4|1", "4|3"}},
      {"SELECT a.id, b.id FROM a, b WHERE b.y < a.x", {"2|2", "4|2"}},
      {"SELECT a.id, b.id FROM a, b WHERE a.id = 1 or b.id = 1", {"1|1", "1|2", "1|3", "2|1", "3|1", "4|1"}},
      {"SELECT * FROM a, b WHERE a.id = 3 and b.id = 3", {"3|~|pc|3|20|~"}},
      {"SELECT a.s, b.s FROM a, b WHERE a.s = b.s", {}},
      {"SELECT COUNT(*) FROM a, b", {"12"}},
      {"SELECT x, y FROM a, b WHERE x = y ORDER BY 1, 2", {"10|10", "20|20", "20|20", "20|20", "20|20"}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Select(c.sql), c.rows) << c.sql;
}

TEST_F(SqlSelect, RefusesBadQueries) {
  const struct {
    const char *sql;
    const char *error;
  } cases[] = {
      {"DELETE FROM a", "error 200: Expected 'SELECT'"},
      {"SELECT id x FROM a", "error 200: Expecting ','"},
      {"SELECT 1 FROM a", "error 201: Invalid column/table name"},
      {"SELECT a.1 FROM a", "error 201: Invalid column name"},
      {"SELECT COUNT(id) FROM a", "error 201: Only COUNT(*) supported"},
      {"SELECT LEN(id) FROM a", "error 201: Unsupported SELECT function"},
      {"SELECT SUM(id FROM a", "error 200: Expected ')'"},
      {"SELECT SUM(1) FROM a", "error 201: Invalid column/table name"},
      {"SELECT id FROM 'a'", "error 201: Invalid table name"},
      {"SELECT id FROM a 'b'", "error 201: Invalid table name"},
      {"SELECT id FROM a ORDER id", "error 200: Expecting 'BY'"},
      {"SELECT id FROM a ORDER BY 'x'", "error 201: Invalid ORDER BY column"},
      {"SELECT id FROM a ORDER BY id, 'x'", "error 201: Invalid column index"},
      {"SELECT id FROM a ORDER BY 2", "error 201: Invalid ORDER BY column"},
      {"SELECT id FROM a GROUP id", "error 200: Expecting 'BY'"},
      {"SELECT id FROM a GROUP BY 'x'", "error 201: Invalid GROUP BY column"},
      {"SELECT id FROM a ORDER BY id GROUP BY id", "error 201: ORDER BY can't be used in conjunction with GROUP BY"},
      {"SELECT id FROM a GROUP BY id, x", "error 201: Only single GROUP BY columns currently supported"},
      {"SELECT id FROM a WHRE id = 1", "error 201: Unexpected id"},
      {"SELECT id FROM a WHERE id = 1 ORDR BY id", "error 201: Unexpected ORDR"},
      {"SELECT id FROM nosuch", "error 202: Invalid table nosuch"},
      {"SELECT id FROM a, b", "error 205: Ambiguous column reference: id"},
      {"SELECT a.id FROM a, b WHERE id = 1", "error 205: Ambiguous column reference: id"},
      {"SELECT zz FROM a", "error 206: Unknown column: zz"},
      {"SELECT id FROM a WHERE zz = 1", "error 206: Unknown column: zz"},
      {"SELECT id FROM a WHERE id = c.zz", "error 206: Unknown column: zz"},
      {"SELECT id FROM a WHERE s LIKE 5", "error 201: Quotes expected after LIKE operation"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Select(c.sql), Rows{c.error}) << c.sql;

  std::string many = "SELECT id FROM a ORDER BY id";
  for (int i = 0; i < 32; ++i)
    many += ", x";
  EXPECT_EQ(Select(many), Rows{"error 201: Too many ORDER BY columns"});
}
