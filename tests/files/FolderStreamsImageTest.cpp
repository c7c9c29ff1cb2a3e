// Folder items, streams and virtual volumes as compiled code meets them: the
// folder_streams image (tests/images) works on relative paths, which name
// items in the application's folder, so a copy of it runs from an empty
// private folder; it names each failed check (42: every check held).
#include <gtest/gtest.h>

#include <filesystem>

#include "files/FilesTestSupport.h"
#include "support/ImageRunner.h"

namespace {

TEST(FolderStreamsImage, StreamsFolderItemsAndVolumesFromCompiledCode) {
  ScratchTree tree;
  std::filesystem::copy_file(std::string(TEST_IMAGES_DIR) + "/folder_streams",
                             tree.Path("folder_streams"));
  const ProgramRun run = RunCapturingErrors(Emulated(tree.Path("folder_streams")), tree.Path());
  EXPECT_EQ(run.status, 42) << run.errors;
  // What the image made is beside it.
  EXPECT_TRUE(std::filesystem::exists(tree.Path("files.vol")));
  EXPECT_TRUE(std::filesystem::is_directory(tree.Path("folder")));
}

} // namespace
