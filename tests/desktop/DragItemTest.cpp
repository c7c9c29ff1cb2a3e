// DragItem objects and what drops from other clients turn into.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "desktop/DragHelperGTK.h"
#include "desktop/DragItem.h"
#include "files/FolderItemClass.h"
#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "support/WindowsTestSupport.h"

extern "C" RuntimeObject *newPicture(int32_t width, int32_t height, int32_t depth);

namespace {

std::string Take(stringStorage *s) {
  std::string text = stringStorage::CString(s);
  stringStorage::RemoveReference(s);
  return text;
}

stringStorage *Text(const char *s) { return string(s).ExtractStringStorage(); }

void SetText(RuntimeObject *item, const char *text) {
  stringStorage *s = Text(text);
  dragItemTextSetter(item, 0, s);
  stringStorage::RemoveReference(s);
}

std::string TextOf(RuntimeObject *item) { return Take(dragItemTextGetter(item)); }

// The path of the current item's FolderItem, or "-" without one.
std::string PathOf(RuntimeObject *item) {
  RuntimeObject *folder = dragItemFolderItemGetter(item);
  if (!folder)
    return "-";
  std::string path = Take(fileAbsolutePathGetter(folder, 0));
  RuntimeUnlockObject(folder);
  return path;
}

RuntimeObject *FromBytes(const std::string &bytes, guint info) {
  return GTKDragHelper::DragItemFromSelection(reinterpret_cast<const guchar *>(bytes.data()),
                                              gint(bytes.size()), info, nullptr);
}

std::vector<std::string> Paths(RuntimeObject *item) {
  std::vector<std::string> paths;
  AsDragItem(item)->currentItem = 0;
  do
    paths.push_back(PathOf(item));
  while (DragItemNextItem(item));
  return paths;
}

} // namespace

TEST(DragItem, ItemsAndTheirEntries) {
  RuntimeObject *item = CreateNewDragItem(10, 20, 30, 40);
  ASSERT_NE(item, nullptr);
  DragItemObject *d = AsDragItem(item);
  EXPECT_EQ(d->itemCount, 1);
  EXPECT_EQ(DragItemNextItem(item), 0);
  EXPECT_EQ(d->currentItem, 0);
  EXPECT_EQ((std::vector<int>{d->lastBounds.left, d->lastBounds.top, d->lastBounds.right,
                              d->lastBounds.bottom}),
            (std::vector<int>{10, 20, 40, 60}));
  SetText(item, "first");

  DragItemAddItem(item, 1, 2, 3, 4);
  DragItemAddItem(item, 5, 6, 7, 8);
  EXPECT_EQ(d->itemCount, 3);
  EXPECT_EQ(d->currentItem, 2);
  SetText(item, "third");
  EXPECT_EQ(DragItemNextItem(item), 0);
  std::vector<std::string> texts;
  std::vector<int> lefts;
  for (d->currentItem = 0; d->currentItem < 3; ++d->currentItem)
    texts.push_back(DragItemTextAvailable(item) ? TextOf(item) : "-");
  ForEachDragBounds(d, [&](QV::Rect &r) { lefts.push_back(r.left); });
  EXPECT_EQ(texts, (std::vector<std::string>{"first", "-", "third"}));
  EXPECT_EQ(lefts, (std::vector<int>{10, 1, 5}));

  // Typed data: the type is matched without regard to case.
  d->currentItem = 1;
  stringStorage *type = Text("ABCD"), *lower = Text("abcd"), *other = Text("WXYZ"),
                *data = Text("payload");
  DragItemSetMacData(item, type, data);
  EXPECT_EQ(Take(DragItemGetMacData(item, lower)), "payload");
  EXPECT_EQ(DragItemMacDataAvailable(item, lower), 1);
  EXPECT_EQ(DragItemMacDataAvailable(item, other), 0);
  EXPECT_EQ(DragItemGetMacData(item, other), nullptr);
  DragItemSetPrivateMacData(item, lower, other);
  EXPECT_EQ(Take(DragItemGetMacData(item, type)), "WXYZ");
  d->currentItem = 0;
  EXPECT_EQ(DragItemMacDataAvailable(item, type), 0);
  for (stringStorage *s : {type, lower, other, data})
    stringStorage::RemoveReference(s);

  // The drop place is not known here; nil items answer nothing.
  EXPECT_EQ(dragItemDropLeft(item) | dragItemDropTop(item) | dragItemDropWidth(item) |
                dragItemDropHeight(item),
            0);
  EXPECT_EQ(DragItemTextAvailable(nullptr), 0);
  EXPECT_EQ(dragItemTextGetter(nullptr), nullptr);
  EXPECT_EQ(DragItemNextItem(nullptr), 0);
  RuntimeUnlockObject(item);
}

TEST(DragItem, PicturesWithoutAnImageAreIgnored) {
  ASSERT_TRUE(HaveDisplay());
  RuntimeObject *item = CreateNewDragItem(0, 0, 1, 1);
  RuntimeObject *picture = newPicture(4, 3, 32);
  RuntimeObject *vector = newPicture(4, 3, 0);
  ASSERT_NE(picture, nullptr);
  dragItemPictureSetter(item, 0, nullptr);
  EXPECT_EQ(DragItemPictureAvailable(item), 0);
  dragItemPictureSetter(item, 0, picture);
  dragItemPictureSetter(item, 0, nullptr);
  dragItemPictureSetter(item, 0, vector);
  RuntimeObject *got = dragItemPictureGetter(item);
  EXPECT_EQ(got, picture);
  RuntimeUnlockObject(got);
  // The item holds its own reference: the picture outlives the caller's.
  const int32_t held = picture->refCount;
  RuntimeUnlockObject(item);
  EXPECT_EQ(picture->refCount, held - 1);
  RuntimeUnlockObject(picture);
  RuntimeUnlockObject(vector);
}

TEST(DragDrops, FileURIListsBecomeFolderItems) {
  const struct {
    const char *list;
    std::vector<std::string> paths;
  } cases[] = {
      // Percent-decoded; the last line needs no line end.
      {"file:///tmp/a%20b.txt\r\nfile:///tmp/nowhere-c\r\nfile:///tmp/nowhere-last", {"/tmp/a b.txt", "/tmp/nowhere-c", "/tmp/nowhere-last"}},
      {"file:///tmp/one", {"/tmp/one"}},
      // Lines that are not local files are skipped; comments too.
      {"file:///tmp/nowhere-x\r\nhttp://example.org/y\r\n# note\r\nfile:///tmp/nowhere-z\r\n", {"/tmp/nowhere-x", "/tmp/nowhere-z"}},
      {"FILE:///tmp/upper\r\n", {"/tmp/upper"}},
      {"file://\r\n", {"-"}},
  };
  for (const auto &c : cases) {
    RuntimeObject *item = FromBytes(c.list, 0);
    ASSERT_NE(item, nullptr) << c.list;
    EXPECT_EQ(DragItemTextAvailable(item), 0) << c.list;
    EXPECT_EQ(Paths(item), c.paths) << c.list;
    RuntimeUnlockObject(item);
  }
}

TEST(DragDrops, OtherDataArrivesAsText) {
  RuntimeObject *item = FromBytes("http://example.org/\r\n", 0);
  EXPECT_EQ(TextOf(item), "http://example.org/\r\n");
  EXPECT_EQ(DragItemFolderItemAvailable(item), 0);
  RuntimeUnlockObject(item);
  item = FromBytes("plain words", 1);
  EXPECT_EQ(TextOf(item), "plain words");
  RuntimeUnlockObject(item);
  EXPECT_EQ(FromBytes("x", 3), nullptr);

  // "STRING" is Latin-1: é arrives as its UTF-8 form.
  ASSERT_TRUE(HaveDisplay());
  GtkSelectionData data{};
  data.type = gdk_atom_intern("STRING", FALSE);
  data.format = 8;
  guchar latin1[] = {0xE9, 0};
  data.data = latin1;
  data.length = 1;
  data.display = gdk_display_get_default();
  item = GTKDragHelper::DragItemFromSelection(latin1, 1, 2, &data);
  stringStorage *text = dragItemTextGetter(item);
  EXPECT_EQ(string::Borrow(text).Encoding(), kEncodingUTF8);
  EXPECT_EQ(Take(text), "\xC3\xA9");
  RuntimeUnlockObject(item);
}

TEST(DragDrops, MutatedURIListsAreTakenApartSafely) {
  const std::string seed = "file:///tmp/a%20b\r\nfile:///tmp/%C3%A9\r\nfile://host/x\r\nfile:///";
  std::mt19937 random(39);
  for (int round = 0; round < 2000; ++round) {
    std::string list = seed;
    const int edits = 1 + int(random() % 8);
    for (int e = 0; e < edits; ++e) {
      const size_t at = list.empty() ? 0 : random() % list.size();
      switch (random() % 3) {
      case 0:
        if (!list.empty())
          list[at] = char(random() % 256);
        break;
      case 1:
        list.insert(at, 1, "%\r\n\0/#"[random() % 6]);
        break;
      default:
        list.erase(at, 1 + random() % 4);
        break;
      }
    }
    RuntimeObject *item = FromBytes(list, 0);
    ASSERT_NE(item, nullptr) << round;
    EXPECT_GE(AsDragItem(item)->itemCount, 1);
    EXPECT_EQ(AsDragItem(item)->currentItem, 0);
    RuntimeUnlockObject(item);
  }
}
