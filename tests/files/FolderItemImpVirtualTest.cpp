// Folder items inside a virtual volume: the root, children by name and index,
// creating, reading and deleting through items, parents and paths, moves
// within the volume and to disk, and four-character codes.
#include <gtest/gtest.h>

#include <memory>

#include "files/FolderItemImpUnix.h"
#include "files/FolderItemImpVirtual.h"
#include "files/VirtualVolumeObject.h"
#include "foundation/UnixDataFile.h"
#include "foundation/VFile.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"
#include "support/VolumeTestSupport.h"
#include "FilesTestSupport.h"

namespace {

// The class registration comes with the VirtualVolume class; the tests make
// objects of the same layout and finaliser.
ObjectDefinition *TestVolumeClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestVirtualVolume");
    defn.objectSize = sizeof(VirtVolObject);
    defn.destructor = VirtVolDestructor;
    defn.staticTables = 1;
  }
  return &defn;
}

using Item = std::unique_ptr<FolderItemImp>;

struct VirtualFixture {
  MemoryStream *stream = new MemoryStream;
  RuntimeObject *object = RuntimeNewObject(LookupObjectDefinition(TestVolumeClass()));
  Item root;

  VirtualFixture() {
    VHFSVolume *volume = VHFSVolume::Create(stream, true);
    reinterpret_cast<VirtVolObject *>(object)->mVolume = volume;
    root.reset(new FolderItemImpVirtual(object, volume->GetRoot()));
  }
  ~VirtualFixture() {
    root.reset();
    RuntimeUnlockObject(object);
  }
  Item Child(const char *name) { return Item(root->GetChildByName(name, 0)); }
  static Item ChildOf(FolderItemImp &folder, const char *name) {
    return Item(folder.GetChildByName(name, 0));
  }
  static bool Write(FolderItemImp &item, const std::string &bytes) {
    std::unique_ptr<RandomAccessMechanism> stream(item.CreateFile(string()));
    return stream && stream->WriteData(bytes.data(), bytes.size());
  }
  static std::string Read(FolderItemImp &item) {
    std::unique_ptr<RandomAccessMechanism> stream(item.OpenFile(true, false));
    if (!stream)
      return "<nil>";
    std::string out(stream->GetLength(), '\0');
    long got = 0;
    if (!out.empty())
      stream->ReadData(&out[0], out.size(), got);
    return out;
  }
  int32_t References() const { return object->refCount; }
};

TEST(FolderItemImpVirtualTest, TheRootIsAnExistingFolderWithoutParent) {
  VirtualFixture f;
  EXPECT_TRUE(f.root->Exists());
  EXPECT_TRUE(f.root->IsDirectory());
  EXPECT_TRUE(f.root->IsVirtual());
  EXPECT_STREQ(f.root->GetName().CString(), "/");
  EXPECT_EQ(f.root->GetParent(), nullptr);
  EXPECT_EQ(f.root->GetDirID(), 2);
  EXPECT_STREQ(f.root->GetAbsolutePath().CString(), "/");
  EXPECT_EQ(f.root->GetChildCount(), 0);
  EXPECT_EQ(f.root->GetChildByIndex(0, 0), nullptr);
}

TEST(FolderItemImpVirtualTest, AChildByNameCanBeCreatedAndIsFoundWithoutRegardToCase) {
  VirtualFixture f;
  Item notes = f.Child("Notes");
  ASSERT_TRUE(notes);
  EXPECT_FALSE(notes->Exists());
  EXPECT_EQ(notes->GetDirID(), 0);
  EXPECT_EQ(notes->GetLength(), 0);
  ASSERT_TRUE(VirtualFixture::Write(*notes, "some notes"));
  EXPECT_TRUE(notes->Exists());
  EXPECT_FALSE(notes->IsDirectory());
  EXPECT_EQ(notes->GetFourCharType(), kUnknownFourCharCode);
  EXPECT_STREQ(notes->GetAbsolutePath().CString(), "//Notes");
  EXPECT_EQ(f.root->GetChildCount(), 1);
  EXPECT_EQ(notes->GetLength(), 10);
  Item lower = f.Child("notes");
  EXPECT_TRUE(lower->Exists());
  EXPECT_EQ(VirtualFixture::Read(*lower), "some notes");
  // Creating what exists gives nil and leaves it alone.
  EXPECT_EQ(lower->CreateFile(string()), nullptr);
  EXPECT_FALSE(lower->CreateFolder());
  EXPECT_EQ(VirtualFixture::Read(*notes), "some notes");
  Item byIndex(f.root->GetChildByIndex(0, 0));
  ASSERT_TRUE(byIndex);
  EXPECT_STREQ(byIndex->GetName().CString(), "Notes");
}

TEST(FolderItemImpVirtualTest, ParentsAndPathsFollowTheFolders) {
  VirtualFixture f;
  Item d = f.Child("d");
  ASSERT_TRUE(d->CreateFolder());
  EXPECT_TRUE(d->IsDirectory());
  EXPECT_EQ(d->GetDirID(), 2);
  Item e = VirtualFixture::ChildOf(*d, "e");
  ASSERT_TRUE(e->CreateFolder());
  Item file = VirtualFixture::ChildOf(*e, "f");
  ASSERT_TRUE(VirtualFixture::Write(*file, "x"));
  EXPECT_STREQ(file->GetAbsolutePath().CString(), "//d/e/f");
  Item parent(file->GetParent());
  ASSERT_TRUE(parent);
  EXPECT_STREQ(parent->GetName().CString(), "e");
  EXPECT_TRUE(parent->IsDirectory());
  Item grandparent(parent->GetParent());
  EXPECT_STREQ(grandparent->GetAbsolutePath().CString(), "//d");
  Item top(grandparent->GetParent());
  ASSERT_TRUE(top);
  EXPECT_STREQ(top->GetAbsolutePath().CString(), "/");
  EXPECT_EQ(top->GetParent(), nullptr);
  // Files have no children.
  EXPECT_EQ(file->GetChildByName("x", 0), nullptr);
  EXPECT_EQ(file->GetChildCount(), 0);
}

TEST(FolderItemImpVirtualTest, FourCharCodesReadTheSameAsOnPosixItems) {
  VirtualFixture f;
  Item file = f.Child("f");
  ASSERT_TRUE(VirtualFixture::Write(*file, "x"));
  uint32_t code;
  std::memcpy(&code, "ABCD", 4); // the runtime keeps a code's bytes in memory order
  ASSERT_TRUE(file->SetFourCharType(code));
  EXPECT_EQ(file->GetFourCharType(), code);
  EXPECT_NE(f.stream->Bytes().find("ABCD"), std::string::npos);
  EXPECT_FALSE(f.root->SetFourCharType(code));
}

TEST(FolderItemImpVirtualTest, DatesAndLengthsChangeOnlyForExistingFiles) {
  VirtualFixture f;
  Item file = f.Child("f");
  EXPECT_FALSE(file->SetModificationDate(5));
  EXPECT_EQ(file->GetCreationDate(), 0);
  ASSERT_TRUE(VirtualFixture::Write(*file, "12345"));
  EXPECT_GT(file->GetCreationDate(), 0);
  ASSERT_TRUE(file->SetModificationDate(5000));
  ASSERT_TRUE(file->SetCreationDate(4000));
  EXPECT_EQ(file->GetModificationDate(), 5000);
  EXPECT_EQ(file->GetCreationDate(), 4000);
  ASSERT_TRUE(file->SetLength(3));
  EXPECT_EQ(file->GetLength(), 3);
  EXPECT_EQ(VirtualFixture::Read(*file), "123");
  EXPECT_FALSE(file->SetLength(-1));
  EXPECT_FALSE(f.root->SetLength(3));
  EXPECT_EQ(f.root->GetLength(), 8); // a folder: 4 + 4 for its one child
}

TEST(FolderItemImpVirtualTest, RenamingAndDeletingGoThroughTheVolume) {
  VirtualFixture f;
  Item file = f.Child("old");
  ASSERT_TRUE(VirtualFixture::Write(*file, "x"));
  Item other = f.Child("other");
  ASSERT_TRUE(VirtualFixture::Write(*other, "y"));
  EXPECT_FALSE(file->SetName("OTHER"));
  EXPECT_FALSE(file->SetName("a/b"));
  ASSERT_TRUE(file->SetName("new"));
  EXPECT_STREQ(file->GetName().CString(), "new");
  EXPECT_TRUE(f.Child("new")->Exists());
  EXPECT_FALSE(f.Child("old")->Exists());
  ASSERT_TRUE(file->DeleteFile());
  EXPECT_FALSE(file->Exists());
  EXPECT_FALSE(file->DeleteFile());
  EXPECT_EQ(f.root->GetChildCount(), 1);
}

TEST(FolderItemImpVirtualTest, MovesWithinTheVolumeRenameOrKeepTheName) {
  VirtualFixture f;
  Item d = f.Child("d");
  ASSERT_TRUE(d->CreateFolder());
  Item file = f.Child("f");
  ASSERT_TRUE(VirtualFixture::Write(*file, "contents"));
  // Onto a file item that does not exist: moved there under its name.
  Item target = VirtualFixture::ChildOf(*d, "g");
  ASSERT_TRUE(file->MoveFileTo(target.get()));
  EXPECT_FALSE(file->Exists());
  EXPECT_EQ(VirtualFixture::Read(*target), "contents");
  // Onto a folder: the name stays.
  ASSERT_TRUE(target->MoveFileTo(f.root.get()));
  EXPECT_EQ(VirtualFixture::Read(*f.Child("g")), "contents");
  // Onto an existing file: that file is replaced.
  Item h = VirtualFixture::ChildOf(*d, "h");
  ASSERT_TRUE(VirtualFixture::Write(*h, "old h"));
  ASSERT_TRUE(f.Child("g")->MoveFileTo(h.get()));
  EXPECT_EQ(VirtualFixture::Read(*h), "contents");
  EXPECT_EQ(d->GetChildCount(), 1);
  EXPECT_EQ(f.root->GetChildCount(), 1);
  // A folder into itself: refused.
  EXPECT_FALSE(d->MoveFileTo(h.get()));
  EXPECT_TRUE(d->MoveFileTo(d.get())); // onto itself
}

TEST(FolderItemImpVirtualTest, ARefusedMoveLeavesTheDestinationInPlace) {
  VirtualFixture f;
  Item d = f.Child("d");
  ASSERT_TRUE(d->CreateFolder());
  Item destination = VirtualFixture::ChildOf(*d, "dest");
  ASSERT_TRUE(VirtualFixture::Write(*destination, "keep me"));
  Item file = f.Child("f");
  ASSERT_TRUE(VirtualFixture::Write(*file, "mover"));
  // The destination is open: it cannot be deleted, so nothing happens.
  {
    std::unique_ptr<RandomAccessMechanism> open(destination->OpenFile(true, true));
    ASSERT_TRUE(open);
    EXPECT_FALSE(file->MoveFileTo(destination.get()));
  }
  EXPECT_EQ(VirtualFixture::Read(*destination), "keep me");
  EXPECT_EQ(VirtualFixture::Read(*file), "mover");
  // The destination's folder is gone: the file stays where it is.
  Item gone = f.Child("gone");
  ASSERT_TRUE(gone->CreateFolder());
  Item inGone = VirtualFixture::ChildOf(*gone, "x");
  ASSERT_TRUE(gone->DeleteFile());
  EXPECT_FALSE(file->MoveFileTo(inGone.get()));
  EXPECT_EQ(VirtualFixture::Read(*file), "mover");
  // A sibling in the target folder already has the item's name.
  Item twin = VirtualFixture::ChildOf(*d, "f");
  ASSERT_TRUE(VirtualFixture::Write(*twin, "twin"));
  EXPECT_FALSE(file->MoveFileTo(d.get()));
  EXPECT_EQ(VirtualFixture::Read(*file), "mover");
}

TEST(FolderItemImpVirtualTest, AMoveToDiskCopiesThenDeletes) {
  ScratchTree tree;
  VirtualFixture f;
  Item file = f.Child("report");
  ASSERT_TRUE(VirtualFixture::Write(*file, std::string(5000, 'r')));
  Item disk(new FolderItemImpUnix(string(tree.Path().c_str())));
  ASSERT_TRUE(disk->IsDirectory());
  ASSERT_TRUE(file->MoveFileTo(disk.get()));
  EXPECT_EQ(ScratchTree::Read(tree.Path("report")), std::string(5000, 'r'));
  EXPECT_FALSE(file->Exists());
  // A folder does not copy: it stays.
  Item folder = f.Child("folder");
  ASSERT_TRUE(folder->CreateFolder());
  EXPECT_FALSE(folder->MoveFileTo(disk.get()));
  EXPECT_TRUE(folder->Exists());
}

TEST(FolderItemImpVirtualTest, ItemsAndStreamsKeepTheVolumeObjectAlive) {
  VirtualFixture f;
  const int32_t base = f.References();
  Item file = f.Child("f");
  EXPECT_EQ(f.References(), base + 1);
  std::unique_ptr<RandomAccessMechanism> stream(file->CreateFile(string()));
  EXPECT_EQ(f.References(), base + 2);
  Item copy(file->Clone());
  EXPECT_EQ(f.References(), base + 3);
  *copy = *f.root;
  EXPECT_EQ(f.References(), base + 3);
  EXPECT_STREQ(copy->GetName().CString(), "/");
  file.reset();
  copy.reset();
  ASSERT_TRUE(stream->WriteData("still open", 10));
  stream.reset();
  EXPECT_EQ(f.References(), base);
}

TEST(FolderItemImpVirtualTest, WithoutAVolumeEveryAnswerIsNeutral) {
  VirtualFixture f;
  VHFSVolume *volume = reinterpret_cast<VirtVolObject *>(f.object)->mVolume;
  Item child = f.Child("c");
  ASSERT_TRUE(VirtualFixture::Write(*child, "x"));
  reinterpret_cast<VirtVolObject *>(f.object)->mVolume = nullptr;
  EXPECT_FALSE(child->Exists());
  EXPECT_FALSE(f.root->IsDirectory());
  EXPECT_EQ(child->GetLength(), 0);
  EXPECT_EQ(child->OpenFile(true, true), nullptr);
  EXPECT_EQ(child->CreateFile(string()), nullptr);
  EXPECT_EQ(f.root->GetChildCount(), 0);
  EXPECT_EQ(child->GetParent(), nullptr);
  EXPECT_FALSE(child->MoveFileTo(f.root.get()));
  EXPECT_STREQ(child->GetTypeString().CString(), "");
  reinterpret_cast<VirtVolObject *>(f.object)->mVolume = volume;
}

TEST(FolderItemImpVirtualTest, ARootMadeFromAnotherReferenceAlerts) {
  AlertRecorder alerts;
  VirtualFixture f;
  VFileRef notRoot;
  notRoot.mIdnum = 3;
  notRoot.mType = kFolderFileType;
  FolderItemImpVirtual item(f.object, notRoot);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kVirtualRootAlert));
}

TEST(FolderItemImpVirtualTest, PathsEndEvenWhenParentsFormACycle) {
  VirtualFixture f;
  Item d = f.Child("d");
  ASSERT_TRUE(d->CreateFolder());
  Item e = VirtualFixture::ChildOf(*d, "e");
  ASSERT_TRUE(e->CreateFolder());
  Item inner = VirtualFixture::ChildOf(*e, "x");
  // d names e as its parent.
  VHFSVolume *volume = reinterpret_cast<VirtVolObject *>(f.object)->mVolume;
  const uint32_t dId = static_cast<FolderItemImpVirtual *>(d.get())->FileRef().mIdnum;
  const uint32_t eId = static_cast<FolderItemImpVirtual *>(e.get())->FileRef().mIdnum;
  VFSVolume *store = volume->BlockStore();
  const int16_t handle = store->OpenFile(dId);
  ASSERT_TRUE(store->SetFilePosition(handle, kObjectParentOffset));
  ASSERT_TRUE(store->WriteFileLong(handle, static_cast<int32_t>(eId)));
  store->CloseFile(handle);
  EXPECT_GT(inner->GetAbsolutePath().Length(), 0);
  EXPECT_FALSE(f.Child("d")->Exists());
}

TEST(FolderItemImpVirtualTest, AVolumeInADiskFileReadsBackAfterItIsClosed) {
  ScratchTree tree;
  const string path(tree.Path("volume").c_str());
  auto openVolume = [&](bool create) {
    UnixDataFile *file = new UnixDataFile;
    EXPECT_TRUE(create ? file->Create(path) : file->Open(path, DataFile::kReadWritePermission));
    file->SetBigEndian();
    file->mSwapDoubles = 1;
    RuntimeObject *object = RuntimeNewObject(LookupObjectDefinition(TestVolumeClass()));
    VHFSVolume *volume = create ? VHFSVolume::Create(file, true) : new VHFSVolume(file, true);
    reinterpret_cast<VirtVolObject *>(object)->mVolume = volume;
    Item root(new FolderItemImpVirtual(object, volume->GetRoot()));
    RuntimeUnlockObject(object); // the root item holds the only reference now
    return root;
  };
  {
    Item root = openVolume(true);
    Item folder = VirtualFixture::ChildOf(*root, "docs");
    ASSERT_TRUE(folder->CreateFolder());
    for (int i = 0; i < 5; ++i)
      ASSERT_TRUE(VirtualFixture::Write(*VirtualFixture::ChildOf(*folder, std::to_string(i).c_str()),
                                        std::string(700 * i, static_cast<char>('0' + i))));
  }
  EXPECT_EQ(ScratchTree::Read(tree.Path("volume")).substr(0, 8),
            std::string("VFSv\0\0\0\3", 8));
  Item root = openVolume(false);
  ASSERT_TRUE(root->Exists());
  Item folder = VirtualFixture::ChildOf(*root, "docs");
  ASSERT_EQ(folder->GetChildCount(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(VirtualFixture::Read(*VirtualFixture::ChildOf(*folder, std::to_string(i).c_str())),
              std::string(700 * i, static_cast<char>('0' + i)));
}

} // namespace
