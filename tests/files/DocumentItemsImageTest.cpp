// Command-line arguments reach the application's OpenDocument as FolderItems,
// in order, relative paths made absolute against the program's folder.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/ImageRunner.h"

namespace {

std::vector<std::string> DocumentLines(const std::string &errors) {
  std::vector<std::string> lines;
  std::istringstream in(errors);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("document: ", 0) == 0)
      lines.push_back(line.substr(10));
  return lines;
}

TEST(DocumentItemsImage, ArgumentsArriveAsItemsInOrder) {
  const std::string image = std::string(TEST_IMAGES_DIR) + "/app_documents";
  const std::string folder = TEST_IMAGES_DIR;
  const ProgramRun run = RunCapturingErrors(Emulated(image) + " a.txt '/tmp/x y' ''");
  ASSERT_EQ(run.status, 43) << run.errors;
  EXPECT_EQ(DocumentLines(run.errors),
            (std::vector<std::string>{folder + "/a.txt", "/tmp/x y", folder + "/"}));
}

} // namespace
