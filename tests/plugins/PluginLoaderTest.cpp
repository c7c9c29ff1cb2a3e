// Loading plug-ins from resources: the libraries run in resource order, are
// closed newest first and leave nothing behind; every malformed or failing
// resource is refused with its reason after everything is removed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "plugins/PluginLoader.h"
#include "runtime/image/ResourceManager.h"
#include "support/DialogAnswerer.h"
#include "support/ImageRunner.h"

namespace {

std::string ReadFile(const std::string &path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::string Fixture(const char *name) {
  return ReadFile(std::string(PLUGIN_FIXTURES_DIR) + "/" + name + ".so");
}

// A resource of a length byte, the name and the library.
std::string PluginResource(const std::string &name, const std::string &library) {
  return std::string(1, char(name.size())) + name + library;
}

class PluginLoaderTest : public testing::Test {
protected:
  PluginLoaderTest() {
    char pattern[] = "/tmp/pluginstestXXXXXX";
    mRoot = mkdtemp(pattern);
    std::filesystem::create_directory(mRoot + "/tmp");
    setenv("TMPDIR", (mRoot + "/tmp").c_str(), 1);
    setenv("PLUGIN_LOG", (mRoot + "/log").c_str(), 1);
  }
  ~PluginLoaderTest() override {
    RunPluginShutDown();
    unsetenv("TMPDIR");
    unsetenv("PLUGIN_LOG");
    std::filesystem::remove_all(mRoot);
  }

  // Resources are kept by the test: the table points into them.
  void Add(uint32_t type, const std::string &bytes) {
    mBytes.push_back(bytes);
    const std::string &kept = mBytes.back();
    mResources->Add(type, int16_t(mBytes.size()), reinterpret_cast<const uint8_t *>(kept.data()),
                   uint32_t(kept.size()), 0);
  }
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(mRoot + "/log"));
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }
  bool TemporaryFolderIsEmpty() { return std::filesystem::is_empty(mRoot + "/tmp"); }

  std::string mRoot;
  std::list<std::string> mBytes;
  std::unique_ptr<ResourceManagerElf> mResources = std::make_unique<ResourceManagerElf>();
};

constexpr uint32_t kPlugin = FourCharCode("QVPl");

TEST_F(PluginLoaderTest, WithoutPluginsNothingIsWritten) {
  Add(FourCharCode("TEXT"), "not a plug-in");
  std::string reason;
  EXPECT_TRUE(InstallPluginLibrariesFrom(*mResources, reason));
  EXPECT_EQ(gLoadedPlugins, nullptr);
  EXPECT_TRUE(TemporaryFolderIsEmpty());
  EXPECT_EQ(PluginFolderPath(), "");
}

TEST_F(PluginLoaderTest, PluginsRunInResourceOrderAndCloseNewestFirst) {
  Add(kPlugin, PluginResource("libA.so", Fixture("A")));
  Add(FourCharCode("TEXT"), "between");
  Add(kPlugin, PluginResource("libB.so", Fixture("B")));
  std::string reason;
  ASSERT_TRUE(InstallPluginLibrariesFrom(*mResources, reason)) << reason;
  ASSERT_NE(gLoadedPlugins, nullptr);
  EXPECT_EQ(gLoadedPlugins->version, 1);
  EXPECT_EQ(loadingPlugin, nullptr);
  const std::string folder = PluginFolderPath();
  EXPECT_EQ(std::string(gLoadedPlugins->path.CString()), folder + "/libB.so");
  // The folder is private to this user.
  struct stat info;
  ASSERT_EQ(stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 077, 0u);

  RunPluginShutDown();
  EXPECT_EQ(Log(), (std::vector<std::string>{
                       "main A RuntimeLockObject=found NoSuchEntryPoint=missing",
                       "main B RuntimeLockObject=found NoSuchEntryPoint=missing",
                       "close B",
                       "close A",
                   }));
  EXPECT_EQ(gLoadedPlugins, nullptr);
  EXPECT_TRUE(TemporaryFolderIsEmpty());
}

TEST_F(PluginLoaderTest, FailuresAreRefusedWithTheirReasonAndLeaveNothing) {
  const std::string library = Fixture("A");
  struct Case {
    const char *what;
    std::string resource, reason;
    const char *closedToo = nullptr; // a library that was opened, then refused
  } cases[] = {
      {"no entry function", PluginResource("libNoMain.so", Fixture("NoMain")),
       "undefined symbol: ZANTPluginMain", "close NoMain"},
      {"not a library", PluginResource("libText.so", std::string(200, 't')),
       "invalid ELF header"},
      {"length byte 0", std::string(1, '\0') + library, kPluginDamagedReason},
      {"length byte 200", std::string(1, char(200)) + std::string(200, 'n') + library,
       kPluginDamagedReason},
      {"length past the end", std::string(1, char(20)) + "short", kPluginDamagedReason},
      {"nothing after the name", PluginResource("lib.so", ""), kPluginDamagedReason},
      {"parent folder", PluginResource("../x", library), kPluginNameReason},
      {"into a folder", PluginResource("a/b", library), kPluginNameReason},
      {"dot", PluginResource(".", library), kPluginNameReason},
      {"dot dot", PluginResource("..", library), kPluginNameReason},
      {"zero byte", PluginResource(std::string("a\0b", 3), library), kPluginNameReason},
  };
  for (const Case &c : cases) {
    mResources = std::make_unique<ResourceManagerElf>();
    // A good plug-in first: the failure must close and remove it too.
    Add(kPlugin, PluginResource("libA.so", library));
    Add(kPlugin, c.resource);
    Add(kPlugin, PluginResource("libB.so", Fixture("B")));
    std::filesystem::remove(mRoot + "/log");
    std::string reason;
    EXPECT_FALSE(InstallPluginLibrariesFrom(*mResources, reason)) << c.what;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    EXPECT_EQ(gLoadedPlugins, nullptr) << c.what;
    EXPECT_TRUE(TemporaryFolderIsEmpty()) << c.what;
    // The one before ran and was closed; the one after was never looked at.
    std::vector<std::string> expected{"main A RuntimeLockObject=found NoSuchEntryPoint=missing"};
    if (c.closedToo)
      expected.push_back(c.closedToo);
    expected.push_back("close A");
    EXPECT_EQ(Log(), expected) << c.what;
  }
}

TEST_F(PluginLoaderTest, FailedLoadingAlertsWithTheReasonAndExitsWithOne) {
  // A good plug-in first, so that there is something to remove.
  const std::string good = PluginResource("libA.so", Fixture("A"));
  const std::string resource = PluginResource("a/b", Fixture("A"));
  auto AddToImage = [](const std::string &bytes) {
    gResourceManager.Add(kPlugin, 1, reinterpret_cast<const uint8_t *>(bytes.data()),
                         uint32_t(bytes.size()), 0);
  };
  EXPECT_EXIT(
      {
        AddToImage(good);
        AddToImage(resource);
        SetAssertionAlertPresenter(PrintAssertionAlert);
        InstallPluginLibraries();
      },
      testing::ExitedWithCode(1),
      "The application cannot continue because a needed file cannot be installed. "
      "The plug-in's file name is not allowed.");
  // Cancel ends the process from inside the alert: by then nothing is left.
  EXPECT_EXIT(
      {
        AddToImage(good);
        AddToImage(resource);
        SetAssertionAlertPresenter([](const AssertionAlert &) {
          const char *root = std::getenv("TMPDIR");
          std::fprintf(stderr, std::filesystem::is_empty(root) ? "nothing left\n" : "left over\n");
          FinishAssertionAlert(AssertionAlertAnswer::kQuit);
        });
        InstallPluginLibraries();
      },
      testing::ExitedWithCode(kAssertionAlertQuitStatus), "nothing left");
}

TEST_F(PluginLoaderTest, ResolverFindsEntryPointsIgnoringCase) {
  EXPECT_NE(PluginEntryPointResolver("RuntimeLockObject"), nullptr);
  EXPECT_EQ(PluginEntryPointResolver("runtimelockobject"),
            PluginEntryPointResolver("RuntimeLockObject"));
  EXPECT_EQ(ResolverPPC("RUNTIMELOCKOBJECT"), PluginEntryPointResolver("RuntimeLockObject"));
  EXPECT_EQ(PluginEntryPointResolver("NoSuchEntryPoint"), nullptr);
  EXPECT_EQ(PluginEntryPointResolver(nullptr), nullptr);
}

// The image's two plug-ins, loaded by the runtime itself and closed by its
// exit tasks; a link planted where an older loader wrote is left alone.
TEST(PluginImages, TwoPluginsLoadAndLeaveNothing) {
  char pattern[] = "/tmp/pluginsimageXXXXXX";
  const std::string root = mkdtemp(pattern);
  std::filesystem::create_directory(root + "/tmp");
  std::ofstream(root + "/target") << "unchanged";
  // Where a loader that wrote into /tmp itself would put the first library.
  const std::string planted = "/tmp/libA.so";
  const bool plant = !std::filesystem::exists(std::filesystem::symlink_status(planted));
  if (plant)
    std::filesystem::create_symlink(root + "/target", planted);
  const std::string environment = "TMPDIR=" + root + "/tmp PLUGIN_LOG=" + root + "/log ";
  const ProgramRun run =
      RunCapturingErrors("env " + environment + Emulated(TEST_IMAGES_DIR "/plugins_two"));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(ReadFile(root + "/log"), "main A RuntimeLockObject=found NoSuchEntryPoint=missing\n"
                                     "main B RuntimeLockObject=found NoSuchEntryPoint=missing\n"
                                     "close B\nclose A\n");
  EXPECT_TRUE(std::filesystem::is_empty(root + "/tmp"));
  EXPECT_EQ(ReadFile(root + "/target"), "unchanged");
  if (plant) {
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
    std::filesystem::remove(planted);
  }
  std::filesystem::remove_all(root);
}

// A plug-in that cannot be installed: everything is removed before the
// alert, so Cancel (the button Return presses), which ends the program from
// inside the alert, leaves nothing either.
TEST(PluginImages, FailedLoadingLeavesNothingWhenTheAlertIsCancelled) {
  if (std::system("command -v xdotool >/dev/null") != 0)
    GTEST_SKIP() << "xdotool is not installed";
  char pattern[] = "/tmp/pluginsimageXXXXXX";
  const std::string root = mkdtemp(pattern);
  std::filesystem::create_directory(root + "/tmp");
  setenv("TMPDIR", (root + "/tmp").c_str(), 1);
  const AnsweredRun run = RunTestImageAnsweringDialogs("plugins_escaping");
  unsetenv("TMPDIR");
  EXPECT_EQ(run.status, kAssertionAlertQuitStatus) << run.errors;
  EXPECT_EQ(run.dialogs, 1);
  EXPECT_TRUE(std::filesystem::is_empty(root + "/tmp"));
  std::filesystem::remove_all(root);
}

} // namespace
