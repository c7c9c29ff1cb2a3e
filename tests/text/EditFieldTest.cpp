// EditField objects with their edit panes in real windows of the test's own
// X server: the text road the clipboard application takes, the events, the
// keys, and the pane's positions and selection.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/ClipboardClass.h"
#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/loop/PaneInterface.h"
#include "EditFieldFixture.h"

namespace {

string Text(const std::string &bytes, uint32_t encoding = kEncodingUTF8) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()));
  s.SetEncoding(encoding);
  return s;
}

// What the event handlers saw, and how they answer.
struct Events {
  int textChanges = 0;
  int selChanges = 0;
  int gotFocus = 0;
  std::vector<std::string> keys;
  std::vector<uint32_t> keyEncodings;
  std::string refusedKey;     // KeyDown answers True for it
  const char *setInTextChange = nullptr;
} gEvents;

void OnTextChange(RuntimeObject *field) {
  ++gEvents.textChanges;
  if (gEvents.setInTextChange)
    editTextSetter(field, 0, string(gEvents.setInTextChange).Storage());
}
void OnSelChange(RuntimeObject *) { ++gEvents.selChanges; }
void OnGotFocus(RuntimeObject *) { ++gEvents.gotFocus; }
int32_t OnKeyDown(RuntimeObject *, stringStorage *key) {
  string k = string::Borrow(key);
  gEvents.keys.emplace_back(k.CString(), k.Length());
  gEvents.keyEncodings.push_back(k.Encoding());
  return gEvents.keys.back() == gEvents.refusedKey ? 1 : 0;
}

class EditFieldTest : public EditFieldFixture {
protected:
  void SetUp() override {
    gEvents = Events{};
    EditFieldFixture::SetUp();
  }
  void TearDown() override {
    for (EditEvent e : {EditEvent::kTextChange, EditEvent::kSelChange, EditEvent::kGotFocus,
                        EditEvent::kKeyDown})
      Handle(e, nullptr);
    EditFieldFixture::TearDown();
  }

  // The class's event table: every field of the test shares the handlers.
  void Handle(EditEvent event, void *code) {
    RuntimeObject *any = mFields.empty() ? nullptr : mFields.front();
    if (any)
      any->eventTable[EditEventHook(event)->eventIndex].vector = code;
  }
  void HandleAll() {
    Handle(EditEvent::kTextChange, reinterpret_cast<void *>(OnTextChange));
    Handle(EditEvent::kSelChange, reinterpret_cast<void *>(OnSelChange));
    Handle(EditEvent::kGotFocus, reinterpret_cast<void *>(OnGotFocus));
    Handle(EditEvent::kKeyDown, reinterpret_cast<void *>(OnKeyDown));
  }

  // Tavrin's clipboard view: read-only, several lines, a frame and a
  // vertical scroll bar.
  RuntimeObject *ClipContentsField() {
    RuntimeObject *object = NewField(10, 10, 380, 200, true);
    AsEditField(object)->readOnly = 1;
    AsEditField(object)->scrollBarVertical = 1;
    return object;
  }
};

TEST_F(EditFieldTest, ClipboardViewShowsALargeTextAndGivesBackItsBytes) {
  RuntimeObject *field = ClipContentsField();
  HandleAll();
  std::string line = "Z\xC3\xBCrich \xE2\x82\xAC 1234567890 caf\xC3\xA9\r\n";
  std::string big;
  while (big.size() < 100 * 1024)
    big += line;

  // Before the pane the text is only stored; the pane shows it without a
  // TextChange.
  editTextSetter(field, 0, Text("before the pane").Storage());
  EXPECT_EQ(TextOf(field), "before the pane");
  EditCreatePane(field);
  EXPECT_EQ(TextOf(field), "before the pane");
  EXPECT_EQ(gEvents.textChanges, 0);
  EXPECT_TRUE(PaneOf(field)->IsReadOnly());
  EXPECT_TRUE(PaneOf(field)->IsMultiline());

  editTextSetter(field, 0, Text(big).Storage());
  EXPECT_EQ(gEvents.textChanges, 1);
  EXPECT_EQ(TextOf(field), big);
  stringStorage *got = editTextGetter(field, 0);
  EXPECT_EQ(string::Borrow(got).Encoding(), kEncodingUTF8);
  RuntimeUnlockString(got);
}

TEST_F(EditFieldTest, TextSetInsideTextChangeFiresNoSecondOne) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  HandleAll();
  EditCreatePane(field);
  gEvents.setInTextChange = "replaced";
  editTextSetter(field, 0, string("typed").Storage());
  EXPECT_EQ(gEvents.textChanges, 1);
  EXPECT_EQ(TextOf(field), "replaced");
}

TEST_F(EditFieldTest, PaneOnlyPropertiesReadNothingBeforeThePane) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  editSelStartSetter(field, 0, 3);
  editSelTextSetter(field, 0, string("x").Storage());
  EXPECT_EQ(editSelStartGetter(field, 0), 0);
  EXPECT_EQ(editSelLengthGetter(field, 0), 0);
  EXPECT_EQ(editSelTextGetter(field, 0), nullptr);
  EXPECT_EQ(editCharPosAtLineNum(field, 0), 0);
  EXPECT_EQ(TextOf(field), "");

  // A StyledText assigned before the pane is ignored and holds no reference.
  RuntimeObject *styled = CreateInstance(EditClass()); // any object will do
  StyledTextObjectSetter(field, 0, styled);
  EXPECT_EQ(styled->refCount, 1);
  EXPECT_EQ(StyledTextObjectGetter(field, 0), nullptr);
  RuntimeUnlockObject(styled);
}

TEST_F(EditFieldTest, TypedAddressReadsBackThroughTheTextGetter) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  EditCreatePane(field);
  ASSERT_TRUE(Focus(field));
  // Typed again only when none of it landed.
  ASSERT_TRUE(XDoToolUntil("type --window 0 --delay 20 '10.0.0.2'",
                           [&] { return !TextOf(field).empty(); }));
  EXPECT_TRUE(StepUntil([&] { return TextOf(field) == "10.0.0.2"; })) << TextOf(field);
}

TEST_F(EditFieldTest, KeyDownAnsweringTrueKeepsTheKeyOut) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  HandleAll();
  EditCreatePane(field);
  gEvents.refusedKey = "x";
  ASSERT_TRUE(Focus(field));
  ASSERT_TRUE(
      XDoToolUntil("type --window 0 --delay 20 'axb'", [&] { return !gEvents.keys.empty(); }));
  ASSERT_TRUE(StepUntil([&] { return TextOf(field) == "ab" && gEvents.keys.size() >= 3; }));
  EXPECT_EQ(TextOf(field), "ab");
  EXPECT_EQ(gEvents.keys, (std::vector<std::string>{"a", "x", "b"}));
}

TEST_F(EditFieldTest, KeyBytesReachKeyDownTaggedByTheirRange) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  HandleAll();
  EditCreatePane(field);
  EditControl *pane = PaneOf(field);
  pane->getDelegate()->EditControlHandleKeyPress(pane, 0xE9, 0, 0);
  pane->getDelegate()->EditControlHandleKeyPress(pane, 'a', 0, 0);
  ASSERT_EQ(gEvents.keys.size(), 2u);
  EXPECT_EQ(gEvents.keys[0], "\xE9");
  EXPECT_EQ(gEvents.keyEncodings[0], kEncodingUnknown);
  EXPECT_EQ(gEvents.keys[1], "a");
  EXPECT_EQ(gEvents.keyEncodings[1], kEncodingASCII);
}

TEST_F(EditFieldTest, TabInsertsATabOnlyWhenAcceptedAndElseMovesTheFocus) {
  RuntimeObject *tabs = NewField(10, 10, 200, 24, false);
  AsEditField(tabs)->acceptTabs = 1;
  RuntimeObject *next = NewField(10, 50, 200, 24, false);
  EditCreatePane(tabs);
  EditCreatePane(next);

  ASSERT_TRUE(Focus(tabs));
  EXPECT_TRUE(XDoToolUntil("key --window 0 Tab", [&] { return TextOf(tabs) == "\t"; }));
  EXPECT_EQ(GetFocusPane(), PaneOf(tabs));

  AsEditField(tabs)->acceptTabs = 0;
  PaneOf(tabs)->setAcceptTabs(false);
  EXPECT_TRUE(XDoToolUntil("key --window 0 Tab", [&] { return GetFocusPane() == PaneOf(next); }));
  EXPECT_EQ(TextOf(tabs), "\t");
}

// A read-only field takes no typing, also not the tab it would accept (the
// application's clipboard view is such a field): the key is kept, and the
// text stays as it was.
TEST_F(EditFieldTest, TabInsertsNothingInAReadOnlyFieldThatAcceptsTabs) {
  for (bool multiLine : {false, true}) {
    SCOPED_TRACE(multiLine);
    RuntimeObject *field = NewField(10, 10, 200, 60, multiLine);
    AsEditField(field)->acceptTabs = 1;
    AsEditField(field)->readOnly = 1;
    EditCreatePane(field);
    editTextSetter(field, 0, string("hello").Storage());
    EXPECT_TRUE(PaneOf(field)->HandleKeyPress('\t', 0, 0));
    EXPECT_EQ(TextOf(field), "hello");
  }
}

// A pane that stands for the window's default button.
class DefaultButton : public RecordingPane {
public:
  DefaultButton(Window *w) : RecordingPane(w, "default", MakeRect(10, 300, 100, 330)) {}
  SubPane *getDefaultPane() override { return this; }
  void triggerPane() override { ++pressed; }
  int pressed = 0;
};

TEST_F(EditFieldTest, ReturnPressesTheDefaultButtonAndBreaksNoLine) {
  RuntimeObject *field = NewField(10, 10, 300, 100, true);
  EditCreatePane(field);
  auto *button = new DefaultButton(mWindow);
  editTextSetter(field, 0, string("one").Storage());
  ASSERT_TRUE(Focus(field));
  PaneOf(field)->SetSelStart(3);
  EXPECT_TRUE(XDoToolUntil("key --window 0 Return", [&] { return button->pressed == 1; }));
  EXPECT_TRUE(XDoToolUntil("type --window 0 x", [&] { return TextOf(field) == "onex"; }))
      << TextOf(field);
}

TEST_F(EditFieldTest, ASelectionMadeWithKeysIsToldAtTheKeysRelease) {
  RuntimeObject *field = NewField(10, 10, 300, 100, true);
  HandleAll();
  EditCreatePane(field);
  editTextSetter(field, 0, string("hello").Storage());
  ASSERT_TRUE(Focus(field));
  PaneOf(field)->SetSelStart(5);
  PaneOf(field)->SelectionChanged();  // the caret's move is told now, not at the key
  gEvents.selChanges = 0;
  ASSERT_TRUE(XDoToolUntil("key --window 0 shift+Left", [&] { return gEvents.selChanges == 1; }));
  EXPECT_EQ(editSelStartGetter(field, 0), 4);
  EXPECT_EQ(editSelLengthGetter(field, 0), 1);
  ASSERT_TRUE(XDoToolUntil("key --window 0 shift+Left", [&] { return gEvents.selChanges == 2; }));
  EXPECT_EQ(Bytes(editSelTextGetter(field, 0)), "lo");
}

TEST_F(EditFieldTest, SingleLineSelection) {
  RuntimeObject *field = NewField(10, 10, 200, 24, false);
  EditCreatePane(field);
  editTextSetter(field, 0, string("abcdef").Storage());
  EditControl *pane = PaneOf(field);

  pane->SetSelStart(2);  // a caret, nothing selected
  EXPECT_EQ(pane->GetSelStart(), 2);
  EXPECT_EQ(pane->GetSelEnd(), 2);
  EXPECT_EQ(pane->GetSelLength(), 0);
  EXPECT_FALSE(pane->HasSelection());
  EXPECT_EQ(Bytes(editSelTextGetter(field, 0)), "");

  editSelLengthSetter(field, 0, 3);  // from the caret
  EXPECT_EQ(editSelStartGetter(field, 0), 2);
  EXPECT_EQ(editSelLengthGetter(field, 0), 3);
  EXPECT_EQ(Bytes(editSelTextGetter(field, 0)), "cde");

  pane->SetSelection(1, 3);
  EXPECT_TRUE(pane->HasSelection());
  EXPECT_EQ(Bytes(editSelTextGetter(field, 0)), "bc");
  editSelTextSetter(field, 0, string("XYZ").Storage());
  EXPECT_EQ(TextOf(field), "aXYZdef");
}

TEST_F(EditFieldTest, PositionsCountCharacters) {
  RuntimeObject *single = NewField(10, 10, 200, 24, false);
  RuntimeObject *multi = NewField(10, 50, 300, 200, true);
  EditCreatePane(single);
  EditCreatePane(multi);
  editTextSetter(multi, 0, Text("\xC3\xA9\xC3\xA8\nsecond\nthird").Storage());
  editTextSetter(single, 0, Text("\xC3\xA9\xC3\xA8").Storage());

  EXPECT_EQ(PaneOf(single)->GetTextLength(), 2);
  EXPECT_EQ(editCharPosAtLineNum(single, 0), 1);
  EXPECT_EQ(editCharPosAtXY(single, 5, 5), 1);
  EXPECT_EQ(editLineNumAtCharPos(single, 1), 0);

  EXPECT_EQ(editCharPosAtLineNum(multi, 0), 1);
  EXPECT_EQ(editCharPosAtLineNum(multi, 1), 4);
  EXPECT_EQ(editCharPosAtLineNum(multi, 3), 15 + 1);  // past the end: count + 1
  EXPECT_EQ(editLineNumAtCharPos(multi, 5), 1);
}

TEST_F(EditFieldTest, InvalidUTF8ShowsRepairedAndValidTextUnchanged) {
  RuntimeObject *field = NewField(10, 10, 300, 100, true);
  EditCreatePane(field);
  struct Case {
    std::string bytes;
    uint32_t encoding;
    std::string shown;
  } cases[] = {
      {"caf\xC3\xA9", kEncodingUTF8, "caf\xC3\xA9"},
      {"caf\xC3\xA9", kEncodingUnknown, "caf\xC3\xA9"},
      {"a\xFF" "b\xC3", kEncodingUTF8, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
      {"caf\xE9", 0x0201, "caf\xC3\xA9"},
  };
  for (const Case &c : cases) {
    editTextSetter(field, 0, Text(c.bytes, c.encoding).Storage());
    EXPECT_EQ(TextOf(field), c.shown);
    // The selection's text takes the same road.
    editTextSetter(field, 0, string("[]").Storage());
    PaneOf(field)->SetSelection(1, 1);
    editSelTextSetter(field, 0, Text(c.bytes, c.encoding).Storage());
    EXPECT_EQ(TextOf(field), "[" + c.shown + "]");
  }
}

TEST_F(EditFieldTest, CtrlCInAReadOnlyFieldCopiesTheSelection) {
  RuntimeObject *field = ClipContentsField();
  EditCreatePane(field);
  editTextSetter(field, 0, string("copy this part").Storage());
  ASSERT_TRUE(Focus(field));
  PaneOf(field)->SetSelection(5, 9);
  EXPECT_TRUE(XDoToolUntil("key --window 0 ctrl+c", [&] {
    RuntimeObject *clipboard = CreateInstance(ClipboardClass());
    std::string text = Bytes(clipboardTextGetter(clipboard));
    RuntimeUnlockObject(clipboard);
    return text == "this";
  }));
  EXPECT_EQ(TextOf(field), "copy this part");
}

} // namespace
