// The hierarchy of a virtual volume: the root, names, child lists, moves and
// deletes, and the stream over a file's contents.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>

#include "foundation/VFile.h"
#include "foundation/VHFSVolume.h"
#include "support/AlertRecorder.h"
#include "support/VolumeTestSupport.h"

namespace {

constexpr VFileType kText = 0x54455854; // "TEXT"

struct VolumeFixture {
  MemoryStream *stream = new MemoryStream;
  std::unique_ptr<VHFSVolume> volume{VHFSVolume::Create(stream, true)};
  VFileRef root = volume->GetRoot();

  std::vector<std::string> Names(const VFileRef &folder) {
    SimpleVector<VFileRef> children;
    EXPECT_TRUE(volume->GetChildren(folder, children));
    std::vector<std::string> names;
    for (const VFileRef &child : children)
      names.push_back(child.mName.CString());
    return names;
  }
};

using Names = std::vector<std::string>;

TEST(VHFSVolumeTest, ANewVolumeHasAnEmptyRootFolder) {
  VolumeFixture f;
  ASSERT_TRUE(f.volume->IsValid());
  EXPECT_EQ(f.root.mIdnum, kRootDirectoryIDnum);
  EXPECT_EQ(f.root.mType, kFolderFileType);
  EXPECT_STREQ(f.root.mName.CString(), "/");
  EXPECT_EQ(f.Names(f.root), Names{});
  EXPECT_EQ(f.volume->GetParent(f.root).mType, 0u);
  EXPECT_EQ(f.volume->GetFileInfo(f.root).mDataLength, 4);
  // The type's bytes in the volume spell "fold" (version 3 is big-endian).
  EXPECT_NE(f.stream->Bytes().find("fold"), std::string::npos);
}

TEST(VHFSVolumeTest, NamesAreStoredAsTheirFirst223Bytes) {
  VolumeFixture f;
  const std::string longName(300, 'n');
  VFileRef file = f.volume->CreateFile(f.root, string(longName.c_str()), kText);
  ASSERT_NE(file.mType, 0u);
  EXPECT_EQ(file.mName.Length(), 223);
  EXPECT_EQ(f.Names(f.root), Names{longName.substr(0, 223)});
  ASSERT_TRUE(f.volume->SetFileName(file, string(std::string(250, 'm').c_str())));
  EXPECT_EQ(f.Names(f.root), Names{std::string(223, 'm')});
}

TEST(VHFSVolumeTest, NamesThatCollideOrEscapeAreRefused) {
  VolumeFixture f;
  const VFileRef notes = f.volume->CreateFile(f.root, "Notes", kText);
  const VFileRef other = f.volume->CreateFile(f.root, "other", kText);
  ASSERT_NE(notes.mType, 0u);
  string withZero;
  withZero.ConstructFromBuffer("a\0b", 3);
  for (const string &name : {string("Notes"), string("notes"), string("a/b"), string("../x"),
                             string("."), string(".."), string(""), withZero}) {
    SCOPED_TRACE(name.CString());
    EXPECT_EQ(f.volume->CreateFile(f.root, name, kText).mType, 0u);
    EXPECT_EQ(f.volume->CreateDirectory(f.root, name).mType, 0u);
    VFileRef renamed = other;
    EXPECT_FALSE(f.volume->SetFileName(renamed, name));
  }
  EXPECT_EQ(f.Names(f.root), (Names{"Notes", "other"}));
  // A file may take its own name in another case.
  VFileRef same = notes;
  EXPECT_TRUE(f.volume->SetFileName(same, "NOTES"));
}

TEST(VHFSVolumeTest, RemovingAChildMovesTheLastEntryIntoItsPlace) {
  VolumeFixture f;
  const VFileRef first = f.volume->CreateFile(f.root, "first", kText);
  f.volume->CreateFile(f.root, "second", kText);
  f.volume->CreateFile(f.root, "third", kText);
  ASSERT_TRUE(f.volume->DeleteFile(first));
  EXPECT_EQ(f.Names(f.root), (Names{"third", "second"}));
}

TEST(VHFSVolumeTest, UnlinkingAnObjectTheFolderDoesNotListChangesNothing) {
  VolumeFixture f;
  const VFileRef folder = f.volume->CreateDirectory(f.root, "d");
  const VFileRef a = f.volume->CreateFile(f.root, "a", kText);
  const VFileRef b = f.volume->CreateFile(f.root, "b", kText);
  EXPECT_FALSE(f.volume->UnlinkFile(folder, folder)); // empty list
  VFileRef stranger;
  stranger.mIdnum = 99;
  stranger.mType = kText;
  EXPECT_FALSE(f.volume->UnlinkFile(stranger, f.root));
  EXPECT_EQ(f.Names(f.root), (Names{"d", "a", "b"}));
  EXPECT_NE(a.mIdnum, b.mIdnum);
}

TEST(VHFSVolumeTest, DeletesRefuseTheRootNonEmptyFoldersAndOpenFiles) {
  VolumeFixture f;
  const VFileRef folder = f.volume->CreateDirectory(f.root, "d");
  const VFileRef inner = f.volume->CreateFile(folder, "f", kText);
  EXPECT_FALSE(f.volume->DeleteFile(f.root));
  EXPECT_FALSE(f.volume->DeleteFile(folder));
  std::unique_ptr<VFile> open(f.volume->OpenFile(inner));
  ASSERT_TRUE(open);
  EXPECT_FALSE(f.volume->DeleteFile(inner));
  EXPECT_EQ(f.Names(folder), Names{"f"});
  open.reset();
  EXPECT_TRUE(f.volume->DeleteFile(inner));
  EXPECT_TRUE(f.volume->DeleteFile(folder));
  EXPECT_EQ(f.Names(f.root), Names{});
}

TEST(VHFSVolumeTest, MovesKeepEveryObjectInExactlyOneFolder) {
  VolumeFixture f;
  const VFileRef outer = f.volume->CreateDirectory(f.root, "outer");
  const VFileRef inner = f.volume->CreateDirectory(outer, "inner");
  const VFileRef file = f.volume->CreateFile(f.root, "file", kText);
  // Into the folder that holds it: nothing changes.
  EXPECT_TRUE(f.volume->MoveFile(file, f.root));
  EXPECT_EQ(f.Names(f.root), (Names{"outer", "file"}));
  ASSERT_TRUE(f.volume->MoveFile(file, inner));
  EXPECT_EQ(f.Names(f.root), Names{"outer"});
  EXPECT_EQ(f.Names(inner), Names{"file"});
  EXPECT_EQ(f.volume->GetParent(file).mIdnum, inner.mIdnum);
  // A folder into itself or below itself, or the root anywhere: refused.
  EXPECT_FALSE(f.volume->MoveFile(outer, outer));
  EXPECT_FALSE(f.volume->MoveFile(outer, inner));
  EXPECT_FALSE(f.volume->MoveFile(f.root, outer));
  // A name the new folder has already.
  const VFileRef twin = f.volume->CreateFile(f.root, "FILE", kText);
  EXPECT_FALSE(f.volume->MoveFile(twin, inner));
  EXPECT_EQ(f.Names(f.root), (Names{"outer", "FILE"}));
  EXPECT_EQ(f.Names(outer), Names{"inner"});
}

TEST(VHFSVolumeTest, InfoTypesAndDatesRoundTrip) {
  VolumeFixture f;
  VFileRef file = f.volume->CreateFile(f.root, "f", kText);
  VFileInfo info = f.volume->GetFileInfo(file);
  EXPECT_GT(info.mCreationDate, 0);
  info.mCreationDate = 1000;
  info.mModificationDate = 2000;
  info.mDataLength = 7;
  ASSERT_TRUE(f.volume->SetFileInfo(info));
  const VFileInfo back = f.volume->GetFileInfo(file);
  EXPECT_EQ(back.mCreationDate, 1000);
  EXPECT_EQ(back.mModificationDate, 2000);
  EXPECT_EQ(back.mDataLength, 7);
  EXPECT_TRUE(f.volume->SetFileType(file, 0x42494E41));
  EXPECT_FALSE(f.volume->SetFileType(file, kFolderFileType));
  EXPECT_FALSE(f.volume->SetFileType(file, 0));
  VFileRef root = f.root;
  EXPECT_FALSE(f.volume->SetFileType(root, kText));
  VFileRef loaded;
  loaded.mIdnum = file.mIdnum;
  f.volume->LoadFileInfo(&loaded);
  EXPECT_EQ(loaded.mType, 0x42494E41u);
}

TEST(VHFSVolumeTest, AStreamOverAFileKeepsItsLogicalLengthInTheHeader) {
  VolumeFixture f;
  const VFileRef ref = f.volume->CreateFile(f.root, "f", kText);
  std::unique_ptr<VFile> file(f.volume->OpenFile(ref));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->GetLength(), 0);
  EXPECT_TRUE(file->IsEOF());
  char buffer[10];
  long got = 99;
  EXPECT_TRUE(file->ReadData(buffer, 10, got));
  EXPECT_EQ(got, 0);
  ASSERT_TRUE(file->WriteData("hello", 5));
  EXPECT_EQ(file->GetLength(), 5);
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Close());
  EXPECT_EQ(ReadAll(*f.volume, ref), "hello");
  // A shorter logical length hides the rest; a later write extends it again.
  file.reset(f.volume->OpenFile(ref));
  file->SetLength(2);
  ASSERT_TRUE(file->SeekFromStart(0));
  EXPECT_TRUE(file->ReadData(buffer, 10, got));
  EXPECT_EQ(std::string(buffer, got), "he");
  ASSERT_TRUE(file->SeekFromStart(3));
  ASSERT_TRUE(file->WriteData("LO", 2));
  EXPECT_EQ(file->GetLength(), 5);
  file.reset();
  EXPECT_EQ(ReadAll(*f.volume, ref), "helLO");
}

TEST(VHFSVolumeTest, FlushingBetweenWritesDoesNotMoveTheNextOnes) {
  VolumeFixture f;
  const VFileRef ref = f.volume->CreateFile(f.root, "f", kText);
  std::unique_ptr<VFile> file(f.volume->OpenFile(ref));
  ASSERT_TRUE(file->WriteData("abc", 3));
  file->FlushToDisk();
  ASSERT_TRUE(file->WriteData("def", 3));
  // Seeking past the end of the chain fails and leaves the position.
  EXPECT_FALSE(file->SeekFromStart(5000));
  EXPECT_EQ(file->GetPosition(), 6);
  ASSERT_TRUE(file->WriteData("g", 1));
  file.reset();
  EXPECT_EQ(ReadAll(*f.volume, ref), "abcdefg");
}

TEST(VHFSVolumeTest, AFailedWriteMakesTheNextOneSeekToTheStreamPosition) {
  VolumeFixture f;
  const VFileRef ref = f.volume->CreateFile(f.root, "f", kText);
  std::unique_ptr<VFile> file(f.volume->OpenFile(ref));
  ASSERT_TRUE(file->WriteData("abc", 3));
  // The big write fails part way, after the store has moved on.
  f.stream->StopAfter(2, false);
  const std::string big(3000, 'x');
  EXPECT_FALSE(file->WriteData(big.data(), big.size()));
  EXPECT_EQ(file->GetPosition(), 3);
  f.stream->Resume();
  ASSERT_TRUE(file->WriteData("XYZ", 3));
  file->SetLength(6);
  file.reset();
  EXPECT_EQ(ReadAll(*f.volume, ref), "abcXYZ");
}

TEST(VHFSVolumeTest, StoredLengthsOutsideTheStreamsRangeAreClamped) {
  const struct {
    double stored;
    long length;
  } cases[] = {{NAN, 0}, {-1, 0}, {1e300, INT32_MAX}, {INFINITY, INT32_MAX}, {12.75, 12}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.stored);
    VolumeFixture f;
    const VFileRef ref = f.volume->CreateFile(f.root, "f", kText);
    VFileInfo info = f.volume->GetFileInfo(ref);
    info.mDataLength = c.stored;
    ASSERT_TRUE(f.volume->SetFileInfo(info));
    std::unique_ptr<VFile> file(f.volume->OpenFile(ref));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->GetLength(), c.length);
  }
}

TEST(VHFSVolumeTest, ADamagedChildCountAlertsAndListsNothing) {
  AlertRecorder alerts;
  VolumeFixture f;
  f.volume->CreateFile(f.root, "a", kText);
  // The root's count word at data offset 256: 2^30.
  VFSVolume *store = f.volume->BlockStore();
  const int16_t handle = store->OpenFile(kRootDirectoryIDnum);
  ASSERT_TRUE(store->SetFilePosition(handle, kChildCountOffset));
  ASSERT_TRUE(store->WriteFileLong(handle, 1 << 30));
  store->CloseFile(handle);
  SimpleVector<VFileRef> children;
  EXPECT_TRUE(f.volume->GetChildren(f.root, children));
  EXPECT_EQ(children.count(), 0);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kVHFSChildCountAlert));
}

} // namespace
