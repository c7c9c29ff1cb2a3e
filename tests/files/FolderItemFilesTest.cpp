// The FolderItem members that open files as streams and volumes, through
// their entry points as compiled code calls them: creating, appending and
// the last error; virtual volumes made, opened, refused and kept open by the
// items inside them; and the path copied for the database engine.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "files/FileStreamObjects.h"
#include "files/FilesTestSupport.h"
#include "files/FolderItemClass.h"
#include "files/VirtualVolumeObject.h"
#include "foundation/VFSFormat.h"
#include "runtime/ObjectModelFixtures.h"

namespace {

RuntimeObject *ItemAt(const std::string &path) {
  stringStorage *text = TextOfBytes(path);
  RuntimeObject *item = RuntimeGetFolderItem(text);
  stringStorage::RemoveReference(text);
  return item;
}

RuntimeObject *ChildOf(RuntimeObject *folder, const std::string &name) {
  stringStorage *text = TextOfBytes(name);
  RuntimeObject *child = FolderChild(folder, text);
  stringStorage::RemoveReference(text);
  return child;
}

void WriteLine(RuntimeObject *stream, const std::string &line) {
  stringStorage *text = TextOfBytes(line);
  TextOutputStreamWriteLine(stream, text);
  stringStorage::RemoveReference(text);
}

// Runs the check in a child process without root's right to write every
// file (the tests may run as root); true when it passed.
bool AsUnprivileged(const std::function<bool()> &check) {
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
      _exit(2);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

int OpenDescriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++count;
  return count;
}

class FolderItemFilesTest : public testing::Test {
protected:
  FolderItemFilesTest() {
    std::filesystem::permissions(mTree.Path(), std::filesystem::perms::all,
                                 std::filesystem::perm_options::add);
  }
  RuntimeObject *Item(const std::string &name) { return ItemAt(mTree.Path(name)); }
  std::string Read(const std::string &name) { return ScratchTree::Read(mTree.Path(name)); }
  ScratchTree mTree;
};

TEST_F(FolderItemFilesTest, CreateTextFileTruncatesCreatesAndRefusesLockedFiles) {
  mTree.Write("old", "old content");
  {
    ObjectHolder item(Item("old"));
    ObjectHolder stream(FolderItemCreateTextFile(item.get()));
    ASSERT_NE(stream.get(), nullptr);
    WriteLine(stream.get(), "new");
  }
  EXPECT_EQ(Read("old"), "new\n");
  {
    ObjectHolder item(Item("missing"));
    ObjectHolder stream(FolderItemCreateTextFile(item.get()));
    ASSERT_NE(stream.get(), nullptr);
  }
  EXPECT_TRUE(std::filesystem::exists(mTree.Path("missing")));

  mTree.Write("readonly", "keep");
  std::filesystem::permissions(mTree.Path("readonly"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read |
                                                           std::filesystem::perms::others_read);
  const std::string path = mTree.Path("readonly");
  EXPECT_TRUE(AsUnprivileged([&] {
    RuntimeObject *item = ItemAt(path);
    const bool refused = FolderItemCreateTextFile(item) == nullptr &&
                         FolderItemAppendTextFile(item) == nullptr &&
                         FolderItemCreateBinaryFile(item, nullptr) == nullptr &&
                         FolderItemCreateVirtualVolume(item) == nullptr;
    RuntimeUnlockObject(item);
    return refused;
  }));
  EXPECT_EQ(Read("readonly"), "keep");
}

TEST_F(FolderItemFilesTest, AppendToTextFileWritesAfterTheOldContentOrCreates) {
  mTree.Write("log", "one\n");
  for (const char *name : {"log", "fresh"}) {
    ObjectHolder item(Item(name));
    ObjectHolder stream(FolderItemAppendTextFile(item.get()));
    ASSERT_NE(stream.get(), nullptr) << name;
    WriteLine(stream.get(), "two");
  }
  EXPECT_EQ(Read("log"), "one\ntwo\n");
  EXPECT_EQ(Read("fresh"), "two\n");
}

TEST_F(FolderItemFilesTest, LastErrorCodeTellsWhyAnOpenFailed) {
  ObjectHolder item(Item("absent"));
  FolderItemSetLastError(item.get(), 0, 7);
  EXPECT_EQ(FolderItemGetLastError(item.get(), 0), 7);
  EXPECT_EQ(FolderItemOpenBinaryFile(item.get(), 0), nullptr);
  EXPECT_EQ(FolderItemGetLastError(item.get(), 0), ENOENT);
  EXPECT_EQ(FolderItemOpenTextFile(item.get()), nullptr);
}

TEST_F(FolderItemFilesTest, ABinaryFileOpenedForWritingChangesItsBytesInPlace) {
  mTree.Write("data", "abcdef");
  {
    ObjectHolder item(Item("data"));
    ObjectHolder stream(FolderItemOpenBinaryFile(item.get(), 1));
    BinaryStreamSetPosition(stream.get(), 0, 2);
    BinaryStreamWriteShort(stream.get(), 0x5859);
    BinaryStreamSetLength(stream.get(), 0, 5);
  }
  EXPECT_EQ(Read("data"), "abXYe");
}

TEST_F(FolderItemFilesTest, ANewVolumeHasAnEmptyRootAndTheVolumeHeader) {
  ObjectHolder item(Item("volume"));
  ObjectHolder volume(FolderItemCreateVirtualVolume(item.get()));
  ASSERT_NE(volume.get(), nullptr);
  ObjectHolder root(VirtVolRootGetter(volume.get(), 0));
  ASSERT_NE(root.get(), nullptr);
  EXPECT_EQ(fileDirectoryGetter(root.get(), 0), 1);
  EXPECT_EQ(fileExistsGetter(root.get(), 0), 1);
  EXPECT_EQ(fileCountGetter(root.get(), 0), 0);
  const std::string bytes = Read("volume");
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("VFSv\0\0\0\3", 8));
  static_assert(kVolumeMagic == 0x56465376 && kVolumeVersion == 3);

  // Root's VirtualVolume is this object; a POSIX item has none.
  ObjectHolder same(folderVirtVolGetter(root.get(), 0));
  EXPECT_EQ(same.get(), volume.get());
  EXPECT_EQ(folderVirtVolGetter(item.get(), 0), nullptr);
}

TEST_F(FolderItemFilesTest, FilesWrittenInsideAVolumeReadBackAfterReopening) {
  {
    ObjectHolder item(Item("volume"));
    RuntimeObject *volume = FolderItemCreateVirtualVolume(item.get());
    ObjectHolder root(VirtVolRootGetter(volume, 0));
    // The items inside keep the volume open once the program's variable went.
    RuntimeUnlockObject(volume);
    ObjectHolder notes(ChildOf(root.get(), "notes.txt"));
    {
      ObjectHolder out(FolderItemCreateTextFile(notes.get()));
      ASSERT_NE(out.get(), nullptr);
      WriteLine(out.get(), "inside");
      WriteLine(out.get(), "the volume");
    }
    ObjectHolder data(ChildOf(root.get(), "data"));
    ObjectHolder binary(FolderItemCreateBinaryFile(data.get(), nullptr));
    ASSERT_NE(binary.get(), nullptr);
    BinaryStreamWriteDouble(binary.get(), 2.5);
    BinaryStreamWriteLong(binary.get(), -7);
  }
  ObjectHolder item(Item("volume"));
  ObjectHolder volume(FolderItemOpenAsVirtualVolume(item.get()));
  ASSERT_NE(volume.get(), nullptr);
  ObjectHolder root(VirtVolRootGetter(volume.get(), 0));
  EXPECT_EQ(fileCountGetter(root.get(), 0), 2);
  ObjectHolder notes(ChildOf(root.get(), "notes.txt"));
  ObjectHolder in(FolderItemOpenTextFile(notes.get()));
  ASSERT_NE(in.get(), nullptr);
  EXPECT_EQ(TakeBytes(TextInputStreamReadLine(in.get(), nullptr)), "inside");
  EXPECT_EQ(TakeBytes(TextInputStreamReadLine(in.get(), nullptr)), "the volume");
  EXPECT_EQ(TextInputStreamEOF(in.get()), 1);
  ObjectHolder data(ChildOf(root.get(), "data"));
  ObjectHolder binary(FolderItemOpenBinaryFile(data.get(), 0));
  EXPECT_EQ(BinaryStreamReadDouble(binary.get()), 2.5);
  EXPECT_EQ(BinaryStreamReadLong(binary.get()), -7);
}

TEST_F(FolderItemFilesTest, FilesThatHoldNoVolumeOrCannotTakeOneGiveNil) {
  const std::string text = "just some text, not a volume\n";
  mTree.Write("plain", text);
  ObjectHolder plain(Item("plain"));
  EXPECT_EQ(FolderItemOpenAsVirtualVolume(plain.get()), nullptr);
  EXPECT_EQ(Read("plain"), text);
  ObjectHolder missing(Item("missing"));
  EXPECT_EQ(FolderItemOpenAsVirtualVolume(missing.get()), nullptr);
  EXPECT_EQ(FolderItemGetLastError(missing.get(), 0), ENOENT);

  // A device that refuses every write: the volume is refused and its file
  // closed.
  if (!std::filesystem::exists("/dev/full"))
    GTEST_SKIP() << "no /dev/full here";
  const int before = OpenDescriptors();
  ObjectHolder full(ItemAt("/dev/full"));
  EXPECT_EQ(FolderItemCreateVirtualVolume(full.get()), nullptr);
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(FolderItemFilesTest, ThePathForTheDatabaseIsCopiedOnlyWhenItFits) {
  char buffer[4096 + 16];
  std::memset(buffer, 'z', sizeof buffer);
  ObjectHolder item(Item("db"));
  ASSERT_EQ(ZANTPathFromFolderItem(buffer, item.get()), 1);
  EXPECT_EQ(std::string(buffer), mTree.Path("db"));
  EXPECT_EQ(ZANTPathFromFolderItem(buffer, nullptr), 0);

  // An item deep inside a volume has a path no POSIX path could reach.
  ObjectHolder volumeItem(Item("deep"));
  ObjectHolder volume(FolderItemCreateVirtualVolume(volumeItem.get()));
  RuntimeObject *folder = VirtVolRootGetter(volume.get(), 0);
  const std::string name(200, 'd');
  for (int depth = 0; depth < 21; ++depth) {
    RuntimeObject *child = ChildOf(folder, name);
    FolderItemCreateAsFolder(child);
    RuntimeUnlockObject(folder);
    folder = child;
  }
  ObjectHolder deepest(folder);
  ASSERT_GT(TakeBytes(fileAbsolutePathGetter(deepest.get(), 0)).size(), 4095u);
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(ZANTPathFromFolderItem(buffer, deepest.get()), 0);
  EXPECT_EQ(buffer[0], 'z');
  EXPECT_EQ(buffer[sizeof buffer - 1], 'z');
}

} // namespace
