// The folder-item base: its defaults, and the mark of saved item information.
#include <gtest/gtest.h>

#include "foundation/FolderItemImp.h"

namespace {

TEST(FolderItemImp, BaseItemAnswersTheDefaults) {
  FolderItemImp item;
  EXPECT_FALSE(item.Exists());
  EXPECT_EQ(item.GetName().Length(), 0);
  EXPECT_EQ(item.GetAbsolutePath().Length(), 0);
  EXPECT_EQ(item.GetFourCharType(), 0x3F3F3F3Fu);
  EXPECT_EQ(item.GetFourCharCreator(), 0x3F3F3F3Fu);
  EXPECT_EQ(item.GetModificationDate(), item.GetCreationDate());
  EXPECT_EQ(item.GetCreationDate(), 0.0);
  EXPECT_EQ(item.GetSelectedFilterIndex(), -1);
  EXPECT_TRUE(item.IsCurrentlyReadable());
  EXPECT_TRUE(item.GetExtensionVisible());
  EXPECT_EQ(item.OpenResourceFork(), -1);
  EXPECT_EQ(item.OpenFile(true, true), nullptr);
  EXPECT_EQ(item.mLastError, 0);
  // Writing needs a folder to probe, which a base item has not.
  EXPECT_FALSE(item.IsCurrentlyWriteable());
  FolderItemImp *resolved = item.ResolveAlias(64);
  ASSERT_NE(resolved, nullptr);
  EXPECT_NE(resolved, &item);
  delete resolved;
}

TEST(FolderItemImp, SaveInfoMarkIsTheFirstFourBytes) {
  struct Case {
    const char *bytes;
    int length;
    bool marked;
  } cases[] = {
      {"\x00\xF1\xD1\x73", 4, true}, {"\x00\xF1\xD1\x73rest", 8, true},
      {"\x00\xF1\xD1", 3, false},    {"", 0, false},
      {"\x00\xF1\xD1\x74", 4, false}, {"/tmp/x", 6, false},
  };
  for (const Case &c : cases) {
    string text;
    text.ConstructFromBuffer(c.bytes, c.length);
    EXPECT_EQ(FolderItemImp::IsSaveInfoString(text), c.marked) << c.length;
  }
}

} // namespace
