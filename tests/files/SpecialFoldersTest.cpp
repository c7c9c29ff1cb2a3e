// The application's paths from the start path, and the special folders from
// HOME and fixed places.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "files/FilesTestSupport.h"
#include "files/FolderItemClass.h"
#include "files/FolderItemImpUnix.h"
#include "files/SpecialFolders.h"
#include "runtime/image/ExecutablePathPosix.h"

namespace {

std::string Text(const string &s) { return s.CString(); }

// The path of a FolderItem result, which is released.
std::string TakeItemPath(RuntimeObject *item) {
  if (!item)
    return "(nil)";
  std::string path = FolderItemImpOf(item)->GetAbsolutePath().CString();
  RuntimeUnlockObject(item);
  return path;
}

class WorkingFolder {
public:
  explicit WorkingFolder(const std::string &folder) {
    getcwd(mOld, sizeof mOld);
    chdir(folder.c_str());
  }
  ~WorkingFolder() { chdir(mOld); }

private:
  char mOld[4096] = {};
};

TEST(ApplicationPaths, FromTheStartPath) {
  ScratchTree tree;
  tree.Folder("home/u");
  tree.Folder("x");
  const std::string root = tree.Path();
  struct Case {
    const char *start;
    std::string workingFolder, folder, file;
  } cases[] = {
      {"/opt/app/bin/tool", root, "/opt/app/bin", "/opt/app/bin/tool"},
      {"/prog", root, "", "/prog"},
      {"./tool", root + "/home/u", root + "/home/u/", root + "/home/u/tool"},
      {"../x/tool", root + "/home", root + "/x/", root + "/x/tool"},
      {"../missing/tool", root + "/home", "", ""},
  };
  for (const Case &c : cases) {
    WorkingFolder in(c.workingFolder);
    StartPath start(c.start);
    // The file first, then the folder: each has its own cache.
    EXPECT_EQ(Text(GetApplicationPath(false)), c.file) << c.start;
    EXPECT_EQ(Text(GetApplicationPath(true)), c.folder) << c.start;
  }
}

TEST(ApplicationPaths, BareNameTakesTheExecutableAndCachesSurviveChdir) {
  ScratchTree tree;
  tree.Folder("bin");
  const std::string onPath = tree.Write("bin/tool", "#!/bin/sh\n");
  std::filesystem::permissions(onPath, std::filesystem::perms::owner_all);
  ScopedEnv path("PATH", tree.Path("bin").c_str());
  WorkingFolder in(tree.Path());
  StartPath start("tool");
  // The running file where the system names it (an emulator may not), else
  // the program the search path gives; never a path in the working folder.
  std::string executable = CurrentExecutablePath(nullptr);
  if (executable.empty())
    executable = onPath;
  EXPECT_EQ(Text(GetApplicationPath(false)), executable);
  const std::string folder = Text(GetApplicationPath(true));
  EXPECT_EQ(folder, executable.substr(0, executable.rfind('/')));
  chdir("/");
  EXPECT_EQ(Text(GetApplicationPath(true)), folder);
  EXPECT_EQ(TakePath(new FolderItemImpUnix(string("data.txt"))), folder + "/data.txt");
}

TEST(ApplicationPaths, AppFolderItemTakesTheFilePathAsItIs) {
  StartPath start("/opt/app/bin/tool");
  EXPECT_EQ(TakePath(FolderItemImpUnix::GetAppFolderItem()), "/opt/app/bin/tool");
  EXPECT_EQ(TakePath(new FolderItemImpUnix(string("data.txt"))), "/opt/app/bin/data.txt");
}

TEST(SpecialFolders, HomeBasedFolders) {
  ScratchTree tree;
  const std::string a = tree.Folder("a"), b = tree.Folder("b"), c = tree.Folder("c");
  tree.Folder("a/Desktop");
  tree.Folder("a/Documents");
  tree.Folder("a/.Trash");
  tree.Folder("b/.gnome-desktop");
  tree.Write("b/Documents", "a file, not a folder");
  const std::string absent = tree.Path("absent");
  struct Case {
    const char *home;
    std::string homeItem, desktop, documents, trash;
  } cases[] = {
      {a.c_str(), a + "/", a + "/Desktop/", a + "/Documents/", a + "/.Trash/"},
      {b.c_str(), b + "/", b + "/.gnome-desktop/", b + "/", "(nil)"},
      {c.c_str(), c + "/", c + "/", c + "/", "(nil)"},
      {absent.c_str(), absent, absent, absent, "(nil)"},
      {nullptr, "(nil)", "(nil)", "(nil)", "(nil)"},
  };
  for (const Case &t : cases) {
    ScopedEnv home("HOME", t.home);
    const std::string which = t.home ? t.home : "no HOME";
    EXPECT_EQ(TakeItemPath(GetHomeFolder()), t.homeItem) << which;
    EXPECT_EQ(TakeItemPath(getDesktopFolder()), t.desktop) << which;
    EXPECT_EQ(TakeItemPath(GetDocumentsFolder()), t.documents) << which;
    EXPECT_EQ(TakeItemPath(getTrashFolder()), t.trash) << which;
    EXPECT_EQ(TakeItemPath(getPreferencesFolder()), t.homeItem) << which;
    EXPECT_EQ(TakeItemPath(getApplicationSupportFolder()), t.homeItem) << which;
  }
}

TEST(SpecialFolders, FixedPlacesAndVolumes) {
  EXPECT_EQ(TakeItemPath(getSystemFolder()), "/usr/");
  EXPECT_EQ(TakeItemPath(getTemporaryItemsFolder()), "/tmp/");
  EXPECT_EQ(TakeItemPath(getVolume(0)), "/");
  EXPECT_EQ(TakeItemPath(getVolume(1)), "(nil)");
  EXPECT_EQ(getVolumeCount(), 1);
  for (auto folder : {getAppleMenuFolder, getControlPanelsFolder, getExtensionsFolder,
                      getStartupItemsFolder, getShutdownItemsFolder, getFontsFolder})
    EXPECT_EQ(folder(), nullptr);
}

TEST(SpecialFolders, TemporaryItemsAreFreshNames) {
  const std::string first = TakeItemPath(getTemporaryFolderItem());
  const std::string second = TakeItemPath(getTemporaryFolderItem());
  for (const std::string &path : {first, second}) {
    EXPECT_TRUE(std::regex_match(path, std::regex("/tmp/[A-Za-z0-9]{7}"))) << path;
    EXPECT_FALSE(std::filesystem::exists(path)) << path;
  }
  EXPECT_NE(first, second);
}

} // namespace
