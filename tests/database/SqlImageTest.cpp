// The SQL under an application image (tests/images/database_sql.c): the
// image makes and fills a database file next to itself and exits; the file,
// reopened here, holds exactly the rows its statements left.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "FakeEngine.h"
#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/ZANTEngine.h"
#include "runtime/exports/ExportTable.h"
#include "support/ImageRunner.h"

TEST(SqlImage, StatementsOfAnImageLeaveExactlyTheirRowsInTheFile) {
  // The image binds the SQL entry points by name, which the database classes
  // register when the runtime starts.
  CreateDatabaseClasses();
  ASSERT_NE(resolveRelocEntry("databaseSQLExecute"), nullptr);
  ASSERT_NE(resolveRelocEntry("databaseClose"), nullptr);

  const std::string path = std::string(TEST_IMAGES_DIR) + "/database_sql.db";
  unlink(path.c_str());
  const ProgramRun run = RunTestImage("database_sql");
  ASSERT_EQ(run.status, 42) << run.errors;

  RuntimeObject *database = ZANTdbDatabaseFromDBDatabase(OpenZANTPath(string(path.c_str())), &gZANTEngineDefinition);
  ASSERT_NE(database, nullptr);
  EXPECT_EQ(SqlSelectRows(database, "SELECT id, name FROM people"), (std::vector<std::string>{"2|bert", "4|carl"}));
  RuntimeUnlockObject(database);
  unlink(path.c_str());
}
