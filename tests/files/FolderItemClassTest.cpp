// The FolderItem class over a scratch tree: items and children, the paths
// that give nil or raise, and the forwarding of properties.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/FilesTestSupport.h"
#include "files/FolderItemClass.h"
#include "files/FolderItemImpUnix.h"
#include "language/DateClass.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

namespace {

struct Raise {
  std::string className, message;
};

// Records each exception that reaches the unhandled path with its message.
class MessageRecorder {
public:
  MessageRecorder() {
    NilObjectExceptionClass();
    UnsupportedFormatExceptionClass();
    Raised().clear();
    SetUnhandledExceptionHook(Record);
  }
  ~MessageRecorder() { SetUnhandledExceptionHook(nullptr); }
  static std::vector<Raise> &Raised() {
    static std::vector<Raise> raised;
    return raised;
  }

private:
  static void Record(RuntimeObject *exception) {
    auto *fields = reinterpret_cast<RuntimeExceptionObject *>(exception);
    Raised().push_back({stringStorage::CString(exception->classPtr->name),
                        stringStorage::CString(fields->message)});
  }
};

std::string TakeText(stringStorage *s) {
  std::string text = stringStorage::CString(s);
  RuntimeUnlockString(s);
  return text;
}

std::string PathOfItem(RuntimeObject *item) {
  return item ? TakeText(fileAbsolutePathGetter(item, 0)) : "(nil)";
}

std::string TakeItem(RuntimeObject *item) {
  std::string path = PathOfItem(item);
  RuntimeUnlockObject(item);
  return path;
}

stringStorage *Text(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  return s.ExtractStringStorage();
}

class FolderItemClassTest : public testing::Test {
protected:
  FolderItemClassTest() {
    mTree.Folder("docs");
    mTree.Write("docs/only.txt", "x");
    mTree.Write("file", "bytes");
    symlink(mTree.Path("file").c_str(), mTree.Path("docs/link").c_str());
  }
  RuntimeObject *Get(const std::string &path) {
    stringStorage *text = Text(path);
    RuntimeObject *item = RuntimeGetFolderItem(text);
    RuntimeUnlockString(text);
    return item;
  }
  ScratchTree mTree;
  StartPath mStart{"/opt/app/bin/tool"};
  MessageRecorder mRecorder;
};

TEST_F(FolderItemClassTest, ItemsAreOneBasedAndFollowLinksUnlessTrue) {
  ObjectHolder docs(Get(mTree.Path("docs")));
  ASSERT_EQ(fileCountGetter(docs.get(), 0), 2);
  EXPECT_EQ(FolderItemItem(docs.get(), 0), nullptr);
  EXPECT_EQ(FolderItemItem(docs.get(), 3), nullptr);
  std::vector<std::string> items{TakeItem(FolderItemItem(docs.get(), 1)),
                                 TakeItem(FolderItemItem(docs.get(), 2))};
  std::vector<std::string> trueItems{TakeItem(FolderItemTrueItem(docs.get(), 1)),
                                     TakeItem(FolderItemTrueItem(docs.get(), 2))};
  // Directory order is the system's; the link is the one that differs.
  for (size_t i = 0; i < 2; ++i)
    if (trueItems[i] == mTree.Path("docs/link"))
      EXPECT_EQ(items[i], mTree.Path("file"));
    else
      EXPECT_EQ(items[i], trueItems[i]);

  stringStorage *link = Text("link");
  ObjectHolder child(FolderChild(docs.get(), link));
  ObjectHolder trueChild(FolderTrueChild(docs.get(), link));
  RuntimeUnlockString(link);
  EXPECT_EQ(PathOfItem(child.get()), PathOfItem(trueChild.get()));
  EXPECT_EQ(fileAliasGetter(trueChild.get(), 0), 1);
  ObjectHolder item(FolderItemItem(docs.get(), 1));
  ObjectHolder parent(folderParentGetter(docs.get(), 0));
  EXPECT_EQ(PathOfItem(parent.get()), mTree.Path() + "/");
}

// A zero byte would end the name the system sees: "victim\0../x" must not
// name "victim". Child and TrueChild answer nil, the Name setter refuses.
TEST_F(FolderItemClassTest, NamesHoldingAZeroByteAreRefused) {
  mTree.Write("docs/victim", "keep");
  ObjectHolder docs(Get(mTree.Path("docs")));
  stringStorage *name = Text(std::string("victim\0../../file", 18));
  ObjectHolder child(FolderChild(docs.get(), name));
  ObjectHolder trueChild(FolderTrueChild(docs.get(), name));
  EXPECT_EQ(child.get(), nullptr);
  EXPECT_EQ(trueChild.get(), nullptr);
  if (child.get())
    FolderItemDelete(child.get());
  ObjectHolder file(Get(mTree.Path("docs/only.txt")));
  fileNameSetter(file.get(), 0, name);
  RuntimeUnlockString(name);
  EXPECT_EQ(ScratchTree::Read(mTree.Path("docs/victim")), "keep");
  EXPECT_TRUE(std::filesystem::exists(mTree.Path("docs/only.txt")));
  EXPECT_EQ(PathOfItem(file.get()), mTree.Path("docs/only.txt"));
}

// Delete on an item for a link to a folder removes the link, not the folder.
TEST_F(FolderItemClassTest, DeletingALinkToAFolderRemovesTheLink) {
  ASSERT_EQ(symlink(mTree.Path("docs").c_str(), mTree.Path("folderlink").c_str()), 0);
  stringStorage *path = Text(mTree.Path("folderlink"));
  ObjectHolder link(RuntimeGetTrueFolderItem(path));
  ObjectHolder followed(RuntimeGetFolderItem(path));
  RuntimeUnlockString(path);
  EXPECT_EQ(fileAliasGetter(link.get(), 0), 1);
  EXPECT_EQ(PathOfItem(followed.get()), mTree.Path("docs/"));
  FolderItemDelete(link.get());
  EXPECT_FALSE(std::filesystem::is_symlink(mTree.Path("folderlink")));
  EXPECT_TRUE(std::filesystem::exists(mTree.Path("docs/only.txt")));
}

TEST_F(FolderItemClassTest, UnusablePathsGiveNilOrRaise) {
  EXPECT_EQ(Get(std::string("/tmp/a\0b", 8)), nullptr);
  EXPECT_EQ(Get(std::string("\x00\xF1\xD1\x73/tmp", 8)), nullptr);
  EXPECT_EQ(Get(mTree.Path("file/below")), nullptr);
  EXPECT_EQ(TakeItem(Get(mTree.Path("not yet"))), mTree.Path("not yet"));
  EXPECT_EQ(TakeItem(Get("")), "/opt/app/bin/");

  ObjectHolder object(CreateInstance(FolderItemClass()));
  EXPECT_EQ(PathOfItem(object.get()), "/opt/app/bin/"); // a new one names the app folder
  stringStorage *below = Text(mTree.Path("file/below"));
  FolderItemPathCtor(object.get(), below);
  RuntimeUnlockString(below);
  ASSERT_EQ(MessageRecorder::Raised().size(), 1u);
  EXPECT_EQ(MessageRecorder::Raised()[0].className, "UnsupportedFormatException");
  EXPECT_EQ(MessageRecorder::Raised()[0].message, "The path passed into new FolderItem was invalid");

  stringStorage *good = Text(mTree.Path("file"));
  FolderItemPathCtor(object.get(), good);
  RuntimeUnlockString(good);
  EXPECT_EQ(PathOfItem(object.get()), mTree.Path("file"));
  FolderItemPathCtorNoParams(object.get());
  EXPECT_EQ(PathOfItem(object.get()), "/opt/app/bin/");
}

TEST_F(FolderItemClassTest, NilArgumentsRaiseNilObjectException) {
  ObjectHolder file(Get(mTree.Path("file")));
  FolderItemCopyFileTo(file.get(), nullptr);
  FolderItemCopyCtor(file.get(), nullptr);
  FolderItemSaveAsPicture(file.get(), nullptr, 0);
  EXPECT_EQ(FolderItemGetRelative(file.get(), nullptr), nullptr);
  ASSERT_EQ(MessageRecorder::Raised().size(), 3u);
  for (const Raise &raise : MessageRecorder::Raised())
    EXPECT_EQ(raise.className, "NilObjectException");
  FolderItemSetLastError(nullptr, 0, 7);
  EXPECT_EQ(MessageRecorder::Raised().size(), 4u);
}

TEST_F(FolderItemClassTest, PropertiesForwardToTheItem) {
  ObjectHolder file(Get(mTree.Path("file")));
  EXPECT_EQ(TakeText(fileNameGetter(file.get(), 0)), "file");
  EXPECT_EQ(fileSizeGetter(file.get(), 0), 5);
  EXPECT_EQ(fileExistsGetter(file.get(), 0), 1);
  EXPECT_EQ(fileDirectoryGetter(file.get(), 0), 0);
  EXPECT_EQ(TakeText(fileTypeGetter(file.get(), 0)), "");
  EXPECT_EQ(TakeText(fileMacTypeGetter(file.get(), 0)), "????");
  stringStorage *code = Text("TEXT");
  fileMacTypeSetter(file.get(), 0, code);
  RuntimeUnlockString(code);
  EXPECT_EQ(TakeText(fileMacTypeGetter(file.get(), 0)), "????");
  EXPECT_EQ(folderFindFolder(file.get(), 0x74656D70), nullptr);

  FolderItemSetLastError(file.get(), 0, 7);
  EXPECT_EQ(FolderItemGetLastError(file.get(), 0), 7);
  ObjectHolder copy(CreateInstance(FolderItemClass()));
  FolderItemCopyCtor(copy.get(), file.get());
  EXPECT_EQ(PathOfItem(copy.get()), mTree.Path("file"));
  EXPECT_EQ(FolderItemGetLastError(copy.get(), 0), 0);

  ObjectHolder modified(folderGetModified(file.get(), 0));
  ASSERT_NE(modified.get(), nullptr);
  RuntimeObject *date = NewDate(dateTotalSecondsGetter(modified.get(), 0) - 86400);
  folderSetModified(file.get(), 0, date);
  RuntimeUnlockObject(date);
  ObjectHolder changed(folderGetModified(file.get(), 0));
  EXPECT_EQ(dateTotalSecondsGetter(changed.get(), 0),
            dateTotalSecondsGetter(modified.get(), 0) - 86400);

  stringStorage *name = Text("renamed");
  fileNameSetter(file.get(), 0, name);
  RuntimeUnlockString(name);
  EXPECT_EQ(PathOfItem(file.get()), mTree.Path("renamed"));
  EXPECT_EQ(TakeText(ZANTpathFromFolderItem(file.get())), mTree.Path("renamed"));
  EXPECT_EQ(FolderItemGetImp(file.get()), FolderItemImpOf(file.get()));
  EXPECT_EQ(FolderItemGetImp(nullptr), nullptr);

  // Getters of an object without an item answer empty values.
  EXPECT_EQ(fileAbsolutePathGetter(nullptr, 0), nullptr);
  EXPECT_EQ(fileCountGetter(nullptr, 0), 0);
}

TEST_F(FolderItemClassTest, AnObjectWithoutItsItemAnswersEmptyAndMethodsAlert) {
  ObjectHolder object(CreateInstance(FolderItemClass()));
  auto *fields = reinterpret_cast<FolderItemObject *>(object.get());
  delete fields->mImp;
  fields->mImp = nullptr;
  AlertRecorder alerts;
  EXPECT_EQ(fileNameGetter(object.get(), 0), nullptr);
  EXPECT_EQ(fileExistsGetter(object.get(), 0), 0);
  EXPECT_EQ(folderParentGetter(object.get(), 0), nullptr);
  fileVisibleSetter(object.get(), 0, 0);
  EXPECT_EQ(alerts.count(), 0u);
  EXPECT_EQ(FolderItemItem(object.get(), 1), nullptr);
  FolderItemDelete(object.get());
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kEntryImpAlert));
  ObjectHolder file(Get(mTree.Path("file")));
  FolderItemCopyFileTo(file.get(), object.get());
  ASSERT_EQ(alerts.count(), 3u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[2], kDestinationImpAlert));
  EXPECT_TRUE(std::filesystem::exists(mTree.Path("file")));
}

TEST_F(FolderItemClassTest, PathsFromPlugInsAndTheStartUp) {
  EXPECT_EQ(TakeItem(FolderItemFromPath(mTree.Path("docs").c_str())), mTree.Path("docs/"));
  EXPECT_EQ(TakeItem(FolderItemFromPath(nullptr)), "/opt/app/bin/");
  EXPECT_EQ(FolderItemFromPath((mTree.Path("file") + "/x").c_str()), nullptr);
  EXPECT_EQ(TakeItem(NewFolderItemForPath("a.txt")), "/opt/app/bin/a.txt");
  EXPECT_EQ(TakeItem(NewAppFolderItem()), "/opt/app/bin/tool");
}

} // namespace
