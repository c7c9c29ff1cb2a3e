// The Edit menu of an edit field: which items its state enables, and which
// commands it carries out, with a stand-in for the menu bar's items.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/ClipboardClass.h"
#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/ClassLookup.h"
#include "EditFieldFixture.h"
#include "windows/GTKHelper.h"

namespace {

// The Edit items of a pretend menu bar, and the ones enabled since the last
// clear.
struct FakeMenu {
  std::map<std::string, int> items{{"EditCut", 1}, {"EditCopy", 2}, {"EditPaste", 3},
                                   {"EditClear", 4}, {"FileQuit", 5}};
  std::set<std::string> enabled;
} gMenu;

RunMenuItem *FindItem(const char *name) {
  auto it = gMenu.items.find(name);
  return it == gMenu.items.end() ? nullptr : reinterpret_cast<RunMenuItem *>(&it->second);
}

void EnableItem(RunMenuItem *item) {
  for (auto &[name, slot] : gMenu.items)
    if (reinterpret_cast<RunMenuItem *>(&slot) == item)
      gMenu.enabled.insert(name);
}

class EditMenuTest : public EditFieldFixture {
protected:
  void SetUp() override {
    static const EditMenuAccess access{FindItem, EnableItem};
    SetEditMenuAccess(&access);
    gMenu.enabled.clear();
    mClipboard = CreateInstance(ClipboardClass());
    EditFieldFixture::SetUp();
  }
  void TearDown() override {
    SetEditMenuAccess(nullptr);
    EditFieldFixture::TearDown();
    RuntimeUnlockObject(mClipboard);
  }

  // A single-line field holding "secret text". Selecting in one entry of a
  // shown window takes the PRIMARY selection and so clears the selection of
  // the others: each check selects "secret" first.
  RuntimeObject *Field(bool readOnly, bool password) {
    RuntimeObject *object = NewField(10, 10 + 40 * static_cast<int>(mFields.size()), 200, 24, false);
    AsEditField(object)->readOnly = readOnly;
    AsEditField(object)->password = password;
    EditCreatePane(object);
    editTextSetter(object, 0, string("secret text").Storage());
    return object;
  }
  std::set<std::string> EnabledFor(RuntimeObject *field, bool select = true) {
    if (select)
      EditPaneOf(field)->SetSelection(0, 6);
    gMenu.enabled.clear();
    EditPaneOf(field)->EnableMenuOptions();
    return gMenu.enabled;
  }
  bool Choose(RuntimeObject *field, const char *item, bool select = true) {
    if (select)
      EditPaneOf(field)->SetSelection(0, 6);
    return EditPaneOf(field)->HandleRuntimeMenuCommand(FindItem(item));
  }
  void ClipboardHolds(const char *text) { clipboardSetText(mClipboard, string(text).Storage()); }
  std::string ClipboardText() { return Bytes(clipboardTextGetter(mClipboard)); }
  RuntimeObject *mClipboard = nullptr;
};

using Items = std::set<std::string>;

TEST_F(EditMenuTest, TheFieldsStateDecidesWhatIsEnabled) {
  RuntimeObject *editable = Field(false, false);
  RuntimeObject *readOnly = Field(true, false);
  RuntimeObject *password = Field(false, true);
  ClipboardHolds("pasted");
  EXPECT_EQ(EnabledFor(editable), (Items{"EditCut", "EditCopy", "EditClear", "EditPaste"}));
  EXPECT_EQ(EnabledFor(readOnly), (Items{"EditCopy"}));
  EXPECT_EQ(EnabledFor(password), (Items{"EditClear", "EditPaste"}));

  // Paste needs text on the clipboard; nothing selected leaves only Paste.
  gtk_clipboard_clear(GTKHelper::GetClipboard());
  EXPECT_EQ(EnabledFor(editable), (Items{"EditCut", "EditCopy", "EditClear"}));
  EditPaneOf(editable)->SetSelStart(2);
  ClipboardHolds("pasted");
  EXPECT_EQ(EnabledFor(editable, false), (Items{"EditPaste"}));
}

TEST_F(EditMenuTest, CommandsActOnlyWhereTheyAreAllowed) {
  RuntimeObject *readOnly = Field(true, false);
  EXPECT_FALSE(Choose(readOnly, "EditCut"));
  EXPECT_TRUE(Choose(readOnly, "EditCopy"));
  EXPECT_TRUE(StepUntil([&] { return ClipboardText() == "secret"; }));
  EXPECT_FALSE(Choose(readOnly, "EditPaste"));
  EXPECT_FALSE(Choose(readOnly, "FileQuit"));
  EXPECT_EQ(TextOf(readOnly), "secret text");

  RuntimeObject *password = Field(false, true);
  ClipboardHolds("before");
  EXPECT_FALSE(Choose(password, "EditCopy"));
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_TRUE(Choose(password, "EditClear"));
  EXPECT_EQ(TextOf(password), " text");

  RuntimeObject *editable = Field(false, false);
  EXPECT_TRUE(Choose(editable, "EditCut"));
  EXPECT_TRUE(StepUntil([&] { return ClipboardText() == "secret"; }));
  EXPECT_EQ(TextOf(editable), " text");
  EXPECT_TRUE(Choose(editable, "EditPaste", false));
  EXPECT_TRUE(StepUntil([&] { return TextOf(editable) == "secret text"; })) << TextOf(editable);
}

// With a Paste item to enable, a key press must not ask the clipboard: the
// wait for its owner would take the next keys before this one is done.
TEST_F(EditMenuTest, TypingWithTextOnTheClipboardKeepsTheKeysInOrder) {
  RuntimeObject *field = Field(false, false);
  editTextSetter(field, 0, string("").Storage());
  // xclip runs again while the clipboard does not show its text.
  bool offered = false;
  for (int attempt = 0; attempt < 4 && !offered; ++attempt)
    offered = system("printf offered | xclip -selection clipboard -i") == 0 &&
              StepWithin([&] { return ClipboardText() == "offered"; }, 15);
  ASSERT_TRUE(offered);
  ASSERT_TRUE(Focus(field));
  // Typed again only when none of it landed.
  ASSERT_TRUE(XDoToolUntil("type --window 0 --delay 10 '10.0.0.2'",
                           [&] { return !TextOf(field).empty(); }));
  EXPECT_TRUE(StepUntil([&] { return TextOf(field) == "10.0.0.2"; })) << TextOf(field);
}

} // namespace
