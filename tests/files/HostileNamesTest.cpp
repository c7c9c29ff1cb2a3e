// Names that a shell would read as syntax reach copy, move, folder creation,
// making executable and launching as literal names, with no side effect.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <memory>
#include <string>
#include <thread>

#include "files/FilesTestSupport.h"
#include "files/FolderItemImpUnix.h"

namespace {

// The processes whose parent is this one, ended ones not yet reaped included
// (a test display server started for the whole program is among them).
std::set<pid_t> OurChildren() {
  std::set<pid_t> children;
  for (const auto &entry : std::filesystem::directory_iterator("/proc")) {
    const pid_t pid = std::atoi(entry.path().filename().c_str());
    if (pid <= 0)
      continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 2 > line.size())
      continue;
    std::istringstream rest(line.substr(nameEnd + 2));
    char state = 0;
    pid_t parent = 0;
    if (rest >> state >> parent && parent == getpid())
      children.insert(pid);
  }
  return children;
}

// Each would create the file "pwned" in the working directory if a shell
// ever read it.
const char *const kHostileNames[] = {
    "$(touch pwned)", "a;touch pwned", "`touch pwned`", "it's", "say \"hi\"", "back\\slash",
    "two  blanks",    "new\nline",     "star*",        "-rf",  "a|touch pwned",
};

class HostileNamesTest : public testing::Test {
protected:
  HostileNamesTest() {
    mTree.Folder("work");
    getcwd(mOldFolder, sizeof mOldFolder);
    chdir(mTree.Path("work").c_str());
  }
  ~HostileNamesTest() override { chdir(mOldFolder); }

  FolderItemImpUnix Item(const std::string &name) {
    return FolderItemImpUnix(string(mTree.Path(name).c_str()));
  }
  bool NoSideEffect() {
    return !std::filesystem::exists(mTree.Path("work/pwned")) &&
           !std::filesystem::exists("pwned");
  }

  ScratchTree mTree;
  char mOldFolder[4096] = {};
};

TEST_F(HostileNamesTest, CopyMoveAndMakeFolderTakeNamesLiterally) {
  for (const char *raw : kHostileNames) {
    const std::string name = raw;
    mTree.Write(name, "payload");
    FolderItemImpUnix copy = Item("copy " + name);
    EXPECT_TRUE(Item(name).CopyFileTo(&copy)) << name;
    EXPECT_EQ(ScratchTree::Read(mTree.Path("copy " + name)), "payload") << name;

    FolderItemImpUnix moved = Item("moved " + name);
    FolderItemImpUnix source = Item(name);
    EXPECT_TRUE(source.MoveFileTo(&moved)) << name;
    EXPECT_FALSE(std::filesystem::exists(mTree.Path(name))) << name;
    EXPECT_EQ(ScratchTree::Read(mTree.Path("moved " + name)), "payload") << name;
    EXPECT_EQ(PathOf(&source), mTree.Path(name)) << "a move leaves the item's path";

    FolderItemImpUnix folder = Item("dir " + name);
    EXPECT_TRUE(folder.CreateFolder()) << name;
    EXPECT_TRUE(std::filesystem::is_directory(mTree.Path("dir " + name))) << name;
    EXPECT_TRUE(NoSideEffect()) << name;
  }
}

TEST_F(HostileNamesTest, FailuresAnswerFalse) {
  FolderItemImpUnix missing = Item("$(touch pwned) missing");
  FolderItemImpUnix target = Item("target");
  EXPECT_FALSE(missing.CopyFileTo(&target));
  EXPECT_FALSE(missing.MoveFileTo(&target));
  FolderItemImpUnix nested = Item("no/such/folder");
  EXPECT_FALSE(nested.CreateFolder());
  EXPECT_TRUE(NoSideEffect());
}

TEST_F(HostileNamesTest, MakeExecutableAndLaunchRunTheFileItself) {
  for (const char *raw : kHostileNames) {
    const std::string name = raw;
    const std::string marker = mTree.Path("launched");
    std::filesystem::remove(marker);
    mTree.Write(name, "#!/bin/sh\necho ran > '" + marker + "'\n");
    FolderItemImpUnix script = Item(name);
    script.MakeFileExecutable();
    struct stat info;
    ASSERT_EQ(stat(mTree.Path(name).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0100, 0100u) << name;

    const std::set<pid_t> before = OurChildren();
    EXPECT_TRUE(script.Launch(true)) << name;
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(std::filesystem::exists(marker)) << name;
    // The launch leaves no child of ours to reap.
    EXPECT_EQ(OurChildren(), before) << name;
    EXPECT_TRUE(NoSideEffect()) << name;
  }
  FolderItemImpUnix missing = Item("not there");
  EXPECT_FALSE(missing.Launch(true));
}

} // namespace
