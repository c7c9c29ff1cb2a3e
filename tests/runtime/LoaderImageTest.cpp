// The loader inside the real runtime: the loader_fixups test image
// (tests/images/loader_fixups.c) checks every fix-up from inside and reports
// the first failed check through its exit status; damaged and missing images
// end the runtime with a message and a failure status.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/LoaderX86.h"

namespace {

constexpr int kImageChecksHeld = 100;

// Runs a shell command from the build folder (where tests run); a hung
// runtime fails instead of blocking.
int ExitStatusOf(const std::string &command) {
  int status = std::system(("timeout 120 " + command).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Emulated(const std::string &program) {
  return std::string(I386_EMULATOR) + " " + program;
}

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ScratchFolder {
public:
  ScratchFolder() { mkdtemp(mPath); }
  ~ScratchFolder() { std::system((std::string("rm -rf ") + mPath).c_str()); }
  std::string Path(const std::string &name) const { return std::string(mPath) + "/" + name; }

private:
  char mPath[32] = "/tmp/loaderimageXXXXXX";
};

} // namespace

TEST(LoaderImage, ImageBehindTheRuntimeRunsWithEveryFixupInPlace) {
  EXPECT_EQ(ExitStatusOf(Emulated("bin/images/loader_fixups")), kImageChecksHeld)
      << "the number of the first failed check";
}

TEST(LoaderImage, LooseFilesInTheCurrentFolderRunWithTheBareRuntime) {
  EXPECT_EQ(ExitStatusOf("cd bin/images/loader_fixups.loose && " + Emulated("../../runtime")),
            kImageChecksHeld);
}

TEST(LoaderImage, ProgramStartedThroughTheSearchPathFindsItsImage) {
  // argv[0] is then a bare name that does not lead to the file.
  std::string command = std::string(I386_EMULATOR).empty()
                            ? "PATH=\"$PWD/bin/images:$PATH\" loader_fixups"
                            : Emulated("-0 loader_fixups bin/images/loader_fixups");
  EXPECT_EQ(ExitStatusOf(command), kImageChecksHeld);
}

TEST(LoaderImage, DamagedOrMissingImageEndsWithAMessageAndAFailureStatus) {
  ScratchFolder folder;
  std::string image = ReadFile("bin/images/minimal");
  ASSERT_GT(image.size(), 13u);
  // The back distance now reaches before the start of the file.
  image[image.size() - 10] = '\x7F';
  std::ofstream(folder.Path("damaged"), std::ios::binary) << image;
  chmod(folder.Path("damaged").c_str(), 0755);
  std::string runtime = (std::filesystem::current_path() / "bin/runtime").string();

  EXPECT_EQ(ExitStatusOf(Emulated(folder.Path("damaged")) + " 2>" + folder.Path("damaged.err")),
            kImageLoadFailedStatus);
  EXPECT_NE(ReadFile(folder.Path("damaged.err")).find("back distance"), std::string::npos);

  // The bare runtime in a folder without loose files.
  EXPECT_EQ(ExitStatusOf("cd " + folder.Path("") + " && " + Emulated(runtime) + " 2>bare.err"),
            kImageLoadFailedStatus);
  EXPECT_NE(ReadFile(folder.Path("bare.err")).find("carries no image"), std::string::npos);
}
