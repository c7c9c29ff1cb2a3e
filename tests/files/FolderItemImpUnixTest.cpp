// Folder items on POSIX paths over a scratch tree: path rules, names and
// parents, renaming, children, links, opening files and dates.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <memory>
#include <set>
#include <string>

#include "files/FolderItemImpUnix.h"
#include "files/FilesTestSupport.h"
#include "foundation/DataFile.h"
#include "foundation/TextEncodings.h"

namespace {

class FolderItemUnixTest : public testing::Test {
protected:
  FolderItemUnixTest() {
    mTree.Write("a.txt", "alpha");
    mTree.Folder("docs/inner");
    mTree.Write("docs/b.txt", "beta");
  }
  std::unique_ptr<FolderItemImpUnix> Item(const std::string &path) {
    return std::make_unique<FolderItemImpUnix>(string(path.c_str()));
  }
  ScratchTree mTree;
  StartPath mStart{"/opt/app/bin/tool"};
};

TEST_F(FolderItemUnixTest, PathsNamesAndParents) {
  const std::string root = mTree.Path();
  struct Case {
    std::string given, path, name, parent;
  } cases[] = {
      {root + "/docs", root + "/docs/", "docs", root + "/"},
      {root + "/docs/", root + "/docs/", "docs", root + "/"},
      {root + "/a.txt", root + "/a.txt", "a.txt", root + "/"},
      {root + "/missing", root + "/missing", "missing", root + "/"},
      {root + "/docs/inner", root + "/docs/inner/", "inner", root + "/docs/"},
      // Nothing is normalised: ".." stays as written.
      {root + "/docs/../a.txt", root + "/docs/../a.txt", "a.txt", root + "/docs/../"},
      {"x.txt", "/opt/app/bin/x.txt", "x.txt", "/opt/app/bin/"},
      {"", "/opt/app/bin/", "bin", "/opt/app/"},
      {"/", "/", "", "(nil)"},
  };
  for (const Case &c : cases) {
    auto item = Item(c.given);
    EXPECT_EQ(PathOf(item.get()), c.path) << c.given;
    EXPECT_EQ(std::string(item->GetName().CString()), c.name) << c.given;
    EXPECT_EQ(TakePath(item->GetParent()), c.parent) << c.given;
    EXPECT_EQ(item->GetAbsolutePath().Encoding(), kEncodingASCII) << c.given;
  }
  EXPECT_TRUE(Item("/")->GetVisible());
}

TEST_F(FolderItemUnixTest, RenamingKeepsAFolderSlashAndVisibilityRenames) {
  auto folder = Item(mTree.Path("docs"));
  ASSERT_TRUE(folder->SetName(string("papers")));
  EXPECT_EQ(PathOf(folder.get()), mTree.Path("papers/"));
  EXPECT_TRUE(std::filesystem::is_directory(mTree.Path("papers")));

  auto file = Item(mTree.Path("a.txt"));
  EXPECT_TRUE(file->SetVisible(true)); // already visible: nothing happens
  EXPECT_EQ(PathOf(file.get()), mTree.Path("a.txt"));
  ASSERT_TRUE(file->SetVisible(false));
  EXPECT_EQ(PathOf(file.get()), mTree.Path(".a.txt"));
  EXPECT_FALSE(file->GetVisible());
  ASSERT_TRUE(file->SetVisible(true));
  EXPECT_EQ(ScratchTree::Read(mTree.Path("a.txt")), "alpha");

  auto missing = Item(mTree.Path("nothing"));
  EXPECT_FALSE(missing->SetName(string("other")));
  EXPECT_EQ(PathOf(missing.get()), mTree.Path("nothing"));
}

TEST_F(FolderItemUnixTest, ChildrenByIndexAndByName) {
  auto docs = Item(mTree.Path("docs"));
  EXPECT_EQ(docs->GetChildCount(), 2);
  EXPECT_EQ(docs->GetChildByIndex(-1, 0), nullptr);
  EXPECT_EQ(docs->GetChildByIndex(2, 0), nullptr);
  std::set<std::string> children{TakePath(docs->GetChildByIndex(0, 0)),
                                 TakePath(docs->GetChildByIndex(1, 0))};
  EXPECT_EQ(children, (std::set<std::string>{mTree.Path("docs/b.txt"), mTree.Path("docs/inner/")}));

  EXPECT_EQ(TakePath(docs->GetChildByName(string(".."), 0)), mTree.Path() + "/");
  EXPECT_EQ(TakePath(docs->GetChildByName(string("."), 0)), mTree.Path("docs/"));
  EXPECT_EQ(TakePath(docs->GetChildByName(string("inner/deeper"), 0)),
            mTree.Path("docs/inner/deeper"));
  auto file = Item(mTree.Path("a.txt"));
  EXPECT_EQ(file->GetChildCount(), 0);
  EXPECT_EQ(file->GetChildByName(string("x"), 0), nullptr);
  EXPECT_EQ(Item(mTree.Path("missing/"))->GetChildByName(string("x"), 0), nullptr);
}

TEST_F(FolderItemUnixTest, LinksAreAliasesResolvedOneLevel) {
  ASSERT_EQ(symlink(mTree.Path("a.txt").c_str(), mTree.Path("link").c_str()), 0);
  ASSERT_EQ(symlink("gone", mTree.Path("dangling").c_str()), 0);
  ASSERT_EQ(symlink("a.txt", mTree.Path("relative").c_str()), 0);

  auto link = Item(mTree.Path("link"));
  EXPECT_TRUE(link->IsAlias());
  EXPECT_TRUE(link->Exists());
  EXPECT_EQ(TakePath(link->ResolveAlias(64)), mTree.Path("a.txt"));
  // A relative target names a place beside the link.
  EXPECT_EQ(TakePath(Item(mTree.Path("relative"))->ResolveAlias(64)), mTree.Path("a.txt"));

  auto dangling = Item(mTree.Path("dangling"));
  EXPECT_TRUE(dangling->IsAlias());
  EXPECT_FALSE(dangling->Exists());
  EXPECT_EQ(Item(mTree.Path("a.txt"))->ResolveAlias(64), nullptr);

  // A target too long for the link buffer gives nil rather than a path read
  // past its end.
  const std::string longTarget = "/" + std::string(1099, 'x');
  ASSERT_EQ(symlink(longTarget.c_str(), mTree.Path("long").c_str()), 0);
  EXPECT_EQ(Item(mTree.Path("long"))->ResolveAlias(64), nullptr);
}

TEST_F(FolderItemUnixTest, LockedMeansExistingAndNotWritable) {
  EXPECT_FALSE(Item(mTree.Path("a.txt"))->GetLocked());
  EXPECT_FALSE(Item(mTree.Path("missing"))->GetLocked());
  if (geteuid() == 0)
    GTEST_SKIP() << "every file is writable for root";
  chmod(mTree.Path("a.txt").c_str(), 0444);
  EXPECT_TRUE(Item(mTree.Path("a.txt"))->GetLocked());
}

TEST_F(FolderItemUnixTest, OpenFileModesAndTheLastError) {
  auto file = Item(mTree.Path("a.txt"));
  std::unique_ptr<RandomAccessMechanism> readOnly(file->OpenFile(true, false));
  ASSERT_NE(readOnly, nullptr);
  EXPECT_FALSE(readOnly->WriteData("x", 1) && readOnly->Close());
  readOnly.reset();
  EXPECT_EQ(ScratchTree::Read(mTree.Path("a.txt")), "alpha");

  std::unique_ptr<RandomAccessMechanism> readWrite(file->OpenFile(true, true));
  ASSERT_NE(readWrite, nullptr);
  EXPECT_TRUE(readWrite->WriteData("A", 1));
  readWrite.reset();
  EXPECT_EQ(ScratchTree::Read(mTree.Path("a.txt")), "Alpha");

  auto missing = Item(mTree.Path("missing"));
  EXPECT_EQ(missing->OpenFile(true, true), nullptr);
  EXPECT_EQ(missing->mLastError, 2);
  std::unique_ptr<RandomAccessMechanism> created(missing->CreateFile(string("text")));
  ASSERT_NE(created, nullptr);
  EXPECT_TRUE(created->WriteData("new", 3));
  created.reset();
  EXPECT_EQ(ScratchTree::Read(mTree.Path("missing")), "new");
  EXPECT_EQ(Item(mTree.Path("docs/nowhere/x"))->CreateFile(string()), nullptr);
}

TEST_F(FolderItemUnixTest, CreatingAndDeleting) {
  auto folder = Item(mTree.Path("made"));
  EXPECT_TRUE(folder->CreateFolder());
  EXPECT_EQ(PathOf(folder.get()), mTree.Path("made/"));
  auto again = Item(mTree.Path("made"));
  EXPECT_FALSE(again->CreateFolder());
  EXPECT_EQ(PathOf(again.get()), mTree.Path("made/"));
  EXPECT_TRUE(folder->DeleteFile());
  EXPECT_FALSE(std::filesystem::exists(mTree.Path("made")));
  // Only an empty folder goes with DeleteFile; DeleteFolder takes the tree.
  auto docs = Item(mTree.Path("docs"));
  EXPECT_FALSE(docs->DeleteFile());
  EXPECT_TRUE(docs->DeleteFolder());
  EXPECT_FALSE(std::filesystem::exists(mTree.Path("docs")));
}

// Links inside the tree go as links; what they point to outside stays whole.
TEST_F(FolderItemUnixTest, DeleteFolderRemovesLinksNotWhatTheyPointTo) {
  mTree.Folder("outside/deep");
  mTree.Write("outside/deep/kept.txt", "kept");
  ASSERT_EQ(symlink(mTree.Path("outside").c_str(), mTree.Path("docs/to-folder").c_str()), 0);
  ASSERT_EQ(symlink(mTree.Path("outside/deep/kept.txt").c_str(),
                    mTree.Path("docs/inner/to-file").c_str()),
            0);
  EXPECT_TRUE(Item(mTree.Path("docs"))->DeleteFolder());
  EXPECT_FALSE(std::filesystem::exists(mTree.Path("docs")));
  EXPECT_EQ(ScratchTree::Read(mTree.Path("outside/deep/kept.txt")), "kept");

  // DeleteFolder on the link itself removes only the link.
  ASSERT_EQ(symlink(mTree.Path("outside").c_str(), mTree.Path("top-link").c_str()), 0);
  EXPECT_TRUE(Item(mTree.Path("top-link"))->DeleteFolder());
  EXPECT_FALSE(std::filesystem::is_symlink(mTree.Path("top-link")));
  EXPECT_EQ(ScratchTree::Read(mTree.Path("outside/deep/kept.txt")), "kept");
}

TEST_F(FolderItemUnixTest, ByteCopyOfTheBaseCopiesEveryChunk) {
  std::string bytes(10000, 0);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = char(i * 7);
  mTree.Write("big", bytes);
  auto source = Item(mTree.Path("big"));
  auto folder = Item(mTree.Path("docs"));
  EXPECT_TRUE(source->FolderItemImp::CopyFileTo(folder.get()));
  EXPECT_EQ(ScratchTree::Read(mTree.Path("docs/big")), bytes);
}

TEST_F(FolderItemUnixTest, DatesGoThroughLocalTime) {
  // 1970-01-01 00:00 and 1969-12-31 18:00 as seconds since 1904-01-01.
  struct Case {
    const char *zone;
    double epoch;
  } cases[] = {{"UTC", 2082844800.0}, {"America/Chicago", 2082823200.0}};
  for (const Case &c : cases) {
    ScopedEnv zone("TZ", c.zone);
    struct utimbuf times {0, 0};
    ASSERT_EQ(utime(mTree.Path("a.txt").c_str(), &times), 0);
    auto file = Item(mTree.Path("a.txt"));
    EXPECT_EQ(file->GetModificationDate(), c.epoch) << c.zone;
    ASSERT_TRUE(file->SetModificationDate(c.epoch + 3600.5)) << c.zone;
    struct stat info;
    ASSERT_EQ(stat(mTree.Path("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 3600) << c.zone;
    // A summer date, when daylight saving time is in force in Chicago.
    ASSERT_TRUE(file->SetModificationDate(DateValueOfPosixTime(1719835200)));
    ASSERT_EQ(stat(mTree.Path("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 1719835200) << c.zone;
  }
  EXPECT_EQ(Item(mTree.Path("missing"))->GetModificationDate(), 0.0);
  EXPECT_FALSE(Item(mTree.Path("missing"))->SetModificationDate(0.0));
}

TEST_F(FolderItemUnixTest, ConstructorFlagsOnlyUnusablePaths) {
  struct Case {
    std::string path;
    bool invalid;
  } cases[] = {
      {mTree.Path("a.txt"), false},
      {mTree.Path("missing"), false},
      {mTree.Path("a.txt/below"), true}, // a file used as a folder
      {"/" + std::string(5000, 'y'), true},
  };
  for (const Case &c : cases) {
    bool invalid = false;
    FolderItemImpUnix item(string(c.path.c_str()), &invalid);
    EXPECT_EQ(invalid, c.invalid) << c.path.substr(0, 60);
  }
}

} // namespace
