// The edit pane with a recording delegate: what it tells, and the defaults
// of the delegate interface.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "runtime/loop/PaneInterface.h"
#include "support/WindowsTestSupport.h"
#include "text/EditControlGTK.h"

namespace {

class RecordingDelegate : public EditControlDelegate {
public:
  void EditControlTextChange(EditControl *) override { log.push_back("text"); }
  void EditControlSelChange(EditControl *pane) override {
    log.push_back("sel " + std::to_string(pane->GetSelStart()) + "+" +
                  std::to_string(pane->GetSelLength()));
  }
  void EditControlEnableMenuOptions(EditControl *) override { log.push_back("menus"); }
  bool EditControlHandleMouseDown(EditControl *, int32_t x, int32_t y) override {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    return keepMouse;
  }
  std::vector<std::string> log;
  bool keepMouse = false;
};

// The byte form of the key press records what the string form hands it.
class ByteKeyDelegate : public EditControlDelegate {
public:
  bool EditControlHandleKeyPress(EditControl *, uint8_t ch, uint8_t, int16_t) override {
    bytes.push_back(ch);
    return true;
  }
  using EditControlDelegate::EditControlHandleKeyPress;
  std::vector<int> bytes;
};

TEST(EditControlDelegate, TheStringFormOfAKeyHandsOnItsFirstByte) {
  ByteKeyDelegate delegate;
  EXPECT_TRUE(delegate.EditControlHandleKeyPress(nullptr, string("A"), 0, 0));
  EXPECT_TRUE(delegate.EditControlHandleKeyPress(nullptr, string(""), 0, 0));
  EXPECT_EQ(delegate.bytes, (std::vector<int>{65, 0}));
}

class EditPaneTest : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    mWindow = new RecordingWindow(MakeRect(100, 100, 500, 400));
    FontStructure font;
    mSingle = new EditControlGTK(&mDelegate, mWindow, 0, MakeRect(20, 30, 220, 54), true, font,
                                 false, false, false, false);
    mMulti = new EditControlGTK(&mDelegate, mWindow, 0, MakeRect(20, 80, 320, 280), true, font,
                                true, false, true, false);
  }
  void TearDown() override {
    if (mWindow) {
      mWindow->Close();
      StepUntil([] { return true; });
    }
  }
  RecordingDelegate mDelegate;
  RecordingWindow *mWindow = nullptr;
  EditControlGTK *mSingle = nullptr;
  EditControlGTK *mMulti = nullptr;
};

TEST_F(EditPaneTest, SetTextTellsOneChangeAndSelectionMovesAreToldOnce) {
  for (EditControlGTK *pane : {mSingle, mMulti}) {
    pane->SetText(string("hello"));
    pane->SetText(string("world"));
    pane->SetSelection(1, 3);
    pane->SelectionChanged();
    pane->SelectionChanged();  // nothing moved since the last notice
    EXPECT_EQ(mDelegate.log, (std::vector<std::string>{"text", "text", "menus", "sel 1+2"}));
    mDelegate.log.clear();
  }
}

TEST_F(EditPaneTest, AMouseDownThatKeepsTheMouseCapturesItWithPaneCoordinates) {
  EXPECT_FALSE(mSingle->HandleClick(25, 40, 0));
  EXPECT_EQ(GetCaptureMouse(), nullptr);
  mDelegate.keepMouse = true;
  EXPECT_TRUE(mSingle->HandleClick(25, 40, 0));
  EXPECT_EQ(GetCaptureMouse(), mSingle);
  EXPECT_EQ(mDelegate.log, (std::vector<std::string>{"down 5,10", "down 5,10"}));
  ReleaseMouse();
}

TEST_F(EditPaneTest, APaneThatRefusesTheFocusNeverTakesIt) {
  EXPECT_TRUE(mSingle->AcceptFocus());
  mSingle->SetRefusesFocus(true);
  EXPECT_FALSE(mSingle->AcceptFocus());
  mMulti->ShowPane(false);
  EXPECT_FALSE(mMulti->AcceptFocus());
}

TEST_F(EditPaneTest, OnlyTheSingleLinePaneLimitsAndHidesText) {
  for (EditControlGTK *pane : {mSingle, mMulti}) {
    pane->setLimitText(3);
    pane->setPasswordMode(true);
    pane->SetText(string("abcdef"));
  }
  EXPECT_STREQ(mSingle->GetText(kEncodingUTF8).CString(), "abc");
  EXPECT_FALSE(gtk_entry_get_visibility(mSingle->Entry()));
  EXPECT_STREQ(mMulti->GetText(kEncodingUTF8).CString(), "abcdef");
}

TEST_F(EditPaneTest, TextLongerThanTheEntryHoldsReadsBackWholeUntilEdited) {
  std::string whole;
  for (int i = 0; whole.size() < 70000; ++i)
    whole += std::to_string(i % 10);
  whole += "\xC3\xA9nd"; // and one two-byte character
  string text(whole.c_str());
  text.SetEncoding(kEncodingUTF8);
  mSingle->SetText(text);
  const size_t shown = strlen(gtk_entry_get_text(mSingle->Entry()));
  ASSERT_LT(shown, whole.size()) << "GTK+ holds less than was set";
  string back = mSingle->GetText(kEncodingUTF8);
  EXPECT_EQ(std::string(back.CString(), size_t(back.Length())), whole);
  EXPECT_EQ(mSingle->GetTextLength(), int32_t(whole.size()) - 1) << "in characters";

  // Once the entry's own text changes, that is the text.
  mSingle->SetSelection(0, 1);
  mSingle->SetSelText(string("x"));
  back = mSingle->GetText(kEncodingUTF8);
  EXPECT_EQ(size_t(back.Length()), shown);
  EXPECT_EQ(back.CString()[0], 'x');
  mSingle->SetText(string("short"));
  EXPECT_STREQ(mSingle->GetText(kEncodingUTF8).CString(), "short");
}

TEST_F(EditPaneTest, AlignmentJustifiesTheMultiLineView) {
  struct Step {
    int32_t alignment;
    GtkJustification justification;
  } steps[] = {{2, GTK_JUSTIFY_CENTER}, {3, GTK_JUSTIFY_RIGHT}, {1, GTK_JUSTIFY_LEFT},
               {2, GTK_JUSTIFY_CENTER}, {0, GTK_JUSTIFY_LEFT}};
  for (const Step &step : steps) {
    mMulti->SetAlignment(step.alignment);
    EXPECT_EQ(gtk_text_view_get_justification(mMulti->TextView()), step.justification);
  }
  EXPECT_EQ(mMulti->Alignment(), 0);
}

} // namespace
