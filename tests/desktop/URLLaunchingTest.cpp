#include <cerrno>
#include <chrono>
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

#include "desktop/URLLaunching.h"
#include "foundation/String.h"
#include "runtime/application/CommonRuntimeFunctions.h"

namespace {

namespace fs = std::filesystem;

// Browsers in a folder of their own that PATH names alone; each stub writes
// its name, then each argument on a line of "launched", and its parent's
// process id to "parent".
class URLLaunchingTest : public testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "browsers-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    mFolder = pattern;
    const char *path = getenv("PATH");
    mSavedPath = path ? path : "";
    setenv("PATH", mFolder.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", mSavedPath.c_str(), 1);
    fs::remove_all(mFolder);
  }

  void InstallBrowser(const std::string &name) {
    fs::path file = mFolder / name;
    std::ofstream(file) << "#!/bin/sh\necho $PPID > " << Path("parent") << "\n{ echo " << name
                        << "; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > " << Path("launched.part")
                        << "\n/bin/mv " << Path("launched.part") << " " << Path("launched") << "\n";
    chmod(file.c_str(), 0755);
  }
  std::string Path(const char *name) const { return (mFolder / name).string(); }

  std::string Launched() const {
    for (int i = 0; i < 1000 && !fs::exists(mFolder / "launched"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(mFolder / "launched");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The browser is not a child of ours, so it can never be left unreaped,
  // and no other child of ours has ended unreaped either.
  bool LeavesNoZombie() const {
    std::ifstream parent(mFolder / "parent");
    pid_t browserParent = 0;
    parent >> browserParent;
    int status;
    return browserParent != getpid() && waitpid(-1, &status, WNOHANG) <= 0;
  }
  static bool NoChildEnded() {
    int status;
    return waitpid(-1, &status, WNOHANG) <= 0;
  }

  fs::path mFolder;
  std::string mSavedPath;
};

TEST_F(URLLaunchingTest, TheURLReachesTheBrowserAsOneArgumentThatNoShellReads) {
  InstallBrowser("mozilla");
  std::string marker = Path("side-effect");
  std::string url = "http://x.test/a b;touch " + marker + "&$(touch " + marker + ")`touch " +
                    marker + "`|\"q\"'q'>" + marker;
  LaunchURL(string(url.c_str()));
  EXPECT_EQ(Launched(), "mozilla\n" + url + "\n");
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_TRUE(LeavesNoZombie());
}

TEST_F(URLLaunchingTest, TheFirstKnownBrowserOnPathWins) {
  InstallBrowser("mozilla");
  InstallBrowser("konqueror");
  GlobalShowURL(string("http://x.test/").Storage());
  EXPECT_EQ(Launched(), "konqueror\nhttp://x.test/\n");
  EXPECT_TRUE(LeavesNoZombie());
}

TEST_F(URLLaunchingTest, WithoutABrowserNothingStarts) {
  InstallBrowser("firefox");
  LaunchURL(string("http://x.test/"));
  EXPECT_FALSE(fs::exists(mFolder / "launched"));
  EXPECT_TRUE(NoChildEnded());
}

TEST(AppendFileExtension, KeepsAKnownExtensionAndReplacesAnyOther) {
  struct Case {
    const char *name, *extensions, *extension;
    long maximum;
    const char *result;
    int32_t changed;
  } cases[] = {
      {"report.txt", "txt;text", "txt", 255, "report.txt", 0},
      {"REPORT.TXT", "txt;text", "txt", 255, "REPORT.TXT", 0},
      {"report.text", "txt;text", "txt", 255, "report.text", 0},
      {"report.doc", "txt;text", "txt", 255, "report.txt", 1},
      {"report", ";;txt", "txt", 255, "report.txt", 1},
      {".profile", "txt", "txt", 255, ".profile.txt", 1},
      {"a.b.c", "txt", "txt", 255, "a.b.txt", 1},
      {"verylongname", "txt", "txt", 8, "very.txt", 1},
      {"report.doc", "txt", "", 255, "report.doc", 0},
  };
  for (const Case &c : cases) {
    string name(c.name);
    EXPECT_EQ(AppendFileExtension(name, string(c.extensions), string(c.extension), c.maximum),
              c.changed)
        << c.name;
    EXPECT_STREQ(name.CString(), c.result) << c.name;
  }
}

} // namespace
