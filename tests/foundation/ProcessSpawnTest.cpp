#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "foundation/ProcessSpawnPosix.h"

namespace {

namespace fs = std::filesystem;

// Each test works in a fresh folder and restores PATH afterwards.
class ProcessSpawnTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "spawn-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    mFolder = pattern;
    const char *path = getenv("PATH");
    mSavedPath = path ? path : "";
  }
  void TearDown() override {
    setenv("PATH", mSavedPath.c_str(), 1);
    fs::remove_all(mFolder);
  }

  std::string Make(const std::string &relative, const std::string &text, mode_t mode) {
    fs::path file = mFolder / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
    chmod(file.c_str(), mode);
    return file.string();
  }

  // A script that writes each argument on a line of `out`.
  std::string Recorder(const std::string &out) {
    return Make("bin/recorder", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + out + ".part\nmv " +
                                    out + ".part " + out + "\n",
                0755);
  }

  static std::string WaitForFile(const std::string &path) {
    for (int i = 0; i < 1000 && !fs::exists(path); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path mFolder;
  std::string mSavedPath;
};

TEST_F(ProcessSpawnTest, FindsTheFirstExecutableRegularFileOnPath) {
  std::string first = Make("a/tool", "#!/bin/sh\n", 0755);
  Make("b/tool", "#!/bin/sh\n", 0755);
  Make("plain/other", "#!/bin/sh\n", 0644);  // not executable
  Make("b/other", "#!/bin/sh\n", 0755);
  fs::create_directories(mFolder / "a" / "folder");  // a folder is not a program
  Make("b/folder", "#!/bin/sh\n", 0755);
  std::string path = (mFolder / "missing").string() + ":" + (mFolder / "plain").string() + ":" +
                     (mFolder / "a").string() + ":" + (mFolder / "b").string();
  setenv("PATH", path.c_str(), 1);

  EXPECT_EQ(FindExecutableOnPath("tool"), first);
  EXPECT_EQ(FindExecutableOnPath("other"), (mFolder / "b" / "other").string());
  EXPECT_EQ(FindExecutableOnPath("folder"), (mFolder / "b" / "folder").string());
  EXPECT_EQ(FindExecutableOnPath("absent"), "");
  EXPECT_EQ(FindExecutableOnPath(""), "");
  EXPECT_EQ(FindExecutableOnPath("a/tool"), "");
  EXPECT_EQ(FindExecutableOnPath(nullptr), "");
}

TEST_F(ProcessSpawnTest, SpawnAndWaitAnswersTheExitStatusOrMinusOne) {
  const char *exits3[] = {"/bin/sh", "-c", "exit 3", nullptr};
  EXPECT_EQ(SpawnAndWait(exits3), 3);
  const char *killed[] = {"/bin/sh", "-c", "kill -9 $$", nullptr};
  EXPECT_EQ(SpawnAndWait(killed), -1);
  const char *missing[] = {"/no/such/program", nullptr};
  EXPECT_EQ(SpawnAndWait(missing), -1);
  const char *empty[] = {nullptr};
  EXPECT_EQ(SpawnAndWait(empty), -1);
  EXPECT_EQ(SpawnAndWait(nullptr), -1);
}

TEST_F(ProcessSpawnTest, ArgumentsArriveVerbatimWithoutAShell) {
  std::string out = (mFolder / "args.txt").string();
  std::string recorder = Recorder(out);
  std::string marker = (mFolder / "side-effect").string();
  std::string hostile = "a b; touch " + marker + " $(touch " + marker + ") `touch " + marker + "` \"q\" 'q'";
  const char *argv[] = {recorder.c_str(), hostile.c_str(), "", "second", nullptr};
  EXPECT_EQ(SpawnAndWait(argv), 0);
  EXPECT_EQ(WaitForFile(out), hostile + "\n\nsecond\n");
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(ProcessSpawnTest, SpawnDetachedStartsTheProgramAndLeavesNoChild) {
  std::string out = (mFolder / "args.txt").string();
  std::string recorder = Recorder(out);
  const char *argv[] = {recorder.c_str(), "http://x.test/a b?c=$(id)", nullptr};
  ASSERT_TRUE(SpawnDetached(argv));
  EXPECT_EQ(WaitForFile(out), "http://x.test/a b?c=$(id)\n");

  // The intermediate child is reaped and the program belongs to init: this
  // process has no child left, and no SIGCHLD handler was installed.
  int status;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  struct sigaction current;
  sigaction(SIGCHLD, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_DFL);
}

TEST_F(ProcessSpawnTest, SpawnDetachedFailsForWhatCannotStart) {
  std::string notExecutable = Make("script", "#!/bin/sh\n", 0644);
  const char *missing[] = {"/no/such/program", nullptr};
  const char *refused[] = {notExecutable.c_str(), nullptr};
  const char *empty[] = {nullptr};
  EXPECT_FALSE(SpawnDetached(missing));
  EXPECT_FALSE(SpawnDetached(refused));
  EXPECT_FALSE(SpawnDetached(empty));
  int status;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
}

} // namespace
