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

#include "foundation/AssertionAlert.h"
#include "runtime/image/LoaderX86.h"
#include "support/ImageRunner.h"
#include "support/PrivateXvfb.h"

namespace {

constexpr int kImageChecksHeld = 100;

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
  const ProgramRun run = RunCapturingErrors(Emulated("bin/images/loader_fixups"));
  EXPECT_EQ(run.status, kImageChecksHeld)
      << run.errors; // else the number of the first failed check
}

TEST(LoaderImage, LooseFilesInTheCurrentFolderRunWithTheBareRuntime) {
  const ProgramRun run =
      RunCapturingErrors(Emulated("../../runtime"), "bin/images/loader_fixups.loose");
  EXPECT_EQ(run.status, kImageChecksHeld) << run.errors;
}

TEST(LoaderImage, FailedCheckOfTheImageIsNamedOnStandardError) {
  // The loose files without the resources: the image's resource check fails.
  ScratchFolder folder;
  for (const char *name : {"import.dat", "code.dat", "data.dat", "options.dat", "symbols.dat"})
    std::filesystem::copy_file(std::string("bin/images/loader_fixups.loose/") + name,
                               folder.Path(name));
  const std::string runtime = (std::filesystem::current_path() / "bin/runtime").string();
  const ProgramRun run = RunCapturingErrors(Emulated(runtime), folder.Path(""));
  EXPECT_EQ(run.status, 10);
  EXPECT_NE(run.errors.find("failed check: the text resource\n"), std::string::npos) << run.errors;
}

TEST(LoaderImage, ProgramStartedThroughTheSearchPathFindsItsImage) {
  // argv[0] is then a bare name that does not lead to the file.
  std::string command = std::string(I386_EMULATOR).empty()
                            ? "env PATH=\"$PWD/bin/images:$PATH\" loader_fixups"
                            : Emulated("-0 loader_fixups bin/images/loader_fixups");
  const ProgramRun run = RunCapturingErrors(command);
  EXPECT_EQ(run.status, kImageChecksHeld) << run.errors;
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
  EXPECT_EQ(ExitStatusOf(Emulated(runtime) + " 2>bare.err", folder.Path("")),
            kImageLoadFailedStatus);
  EXPECT_NE(ReadFile(folder.Path("bare.err")).find("carries no image"), std::string::npos);
}

namespace {

// Starts the loader_unbound image on the given display and answers each
// alert dialog it shows with the next key (alt+o presses OK, alt+c Cancel);
// answers the image's exit status.
int ExitStatusAnsweringAlerts(const std::string &display, const std::vector<std::string> &keys) {
  ScratchFolder folder;
  std::string script = "export DISPLAY=" + display + "\n(timeout 60 " +
                       Emulated("bin/images/loader_unbound") + "; echo $? >" +
                       folder.Path("status") + ") &\n";
  // Each dialog is answered until its window is gone: a key sent before the
  // dialog takes input is lost. A window once answered is never searched for
  // again, so a dialog that is closing cannot take the next key.
  script += ": >" + folder.Path("answered") + "\n";
  for (const std::string &key : keys)
    script += "w=\n"
              "for attempt in $(seq 120); do\n"
              "  w=$(xdotool search --onlyvisible --classname loader_unbound 2>/dev/null"
              " | grep -vxF -f " + folder.Path("answered") + " | head -1)\n"
              "  [ -n \"$w\" ] && break; sleep 0.5\n"
              "done\n"
              "[ -n \"$w\" ] || { echo 'no dialog took " + key + "' >&2; exit 1; }\n"
              "echo $w >>" + folder.Path("answered") + "\n"
              "for attempt in $(seq 60); do\n"
              "  sleep 0.3; xdotool key --window $w " + key + " 2>/dev/null\n"
              "  sleep 0.2; xdotool search --onlyvisible --classname loader_unbound "
              "| grep -qx \"$w\" || break\n"
              "done\n";
  script += "wait\n";
  std::ofstream(folder.Path("answer.sh")) << script;
  if (ExitStatusOf("sh " + folder.Path("answer.sh")) != 0)
    return -1;
  return std::atoi(ReadFile(folder.Path("status")).c_str());
}

} // namespace

TEST(LoaderImage, AlertDialogOkGoesOnAndCancelEndsTheRuntime) {
  if (std::system("command -v xdotool >/dev/null") != 0)
    GTEST_SKIP() << "xdotool is not installed";
  // A display of its own: no other test's windows or keys meet the dialogs.
  PrivateXvfb xvfb = StartPrivateXvfb();
  ASSERT_FALSE(xvfb.display.empty()) << "Xvfb did not start";
  // OK at load, OK when the unbound import is called: the trap answered 0.
  EXPECT_EQ(ExitStatusAnsweringAlerts(xvfb.display, {"alt+o", "alt+o"}), 5);
  EXPECT_EQ(ExitStatusAnsweringAlerts(xvfb.display, {"alt+c"}), kAssertionAlertQuitStatus);
  EXPECT_EQ(ExitStatusAnsweringAlerts(xvfb.display, {"alt+o", "alt+c"}),
            kAssertionAlertQuitStatus);
  StopPrivateXvfb(xvfb);
}
