// The database_files test image: a database made, reopened directly and by
// Connect, and left open at exit, which closes it (flag 0, table kept).
#include <gtest/gtest.h>

#include "DatabaseTestSupport.h"
#include "support/ImageRunner.h"

namespace {

TEST(DatabaseImage, MadeReopenedConnectedAndClosedAtExit) {
  std::string folder = TEST_IMAGES_DIR;
  std::string path = folder + "/database_files.db";
  std::remove(path.c_str());
  DatabaseScratch::Write(folder + "/database_files_foreign.db", std::string(200, 'x'));
  const ProgramRun run = RunTestImage("database_files");
  EXPECT_EQ(run.status, 0) << run.errors;
  std::string bytes = DatabaseScratch::Read(path);
  ASSERT_GE(bytes.size(), 64u);
  EXPECT_EQ(dbformat::Load32(reinterpret_cast<const uint8_t *>(bytes.data()) + 12), 0u);
  dbDatabase *db = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(db, nullptr);
  EXPECT_NE(FindZANTTable(db, string("left_open")), nullptr);
  FreeZANTHandle(db);
  std::remove(path.c_str());
  std::remove((folder + "/database_files_foreign.db").c_str());
}

} // namespace
