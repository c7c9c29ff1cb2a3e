// Push-button panes in real windows, driven by xdotool: clicks through the
// window's click dispatch and the capture, and the default and cancel keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "controls/PushButtonGTK.h"
#include "runtime/loop/PaneInterface.h"
#include "support/OffscreenPixels.h"
#include "windows/WindowsTestSupport.h"

namespace {

std::string Str(long v) { return std::to_string(v); }

// Records what the buttons report, answering MouseDown as told.
class RecordingDelegate final : public PushButtonDelegate {
public:
  void PushButtonClicked(PushButton *p) override { Log().push_back(Name(p) + " clicked"); }
  bool PushButtonMouseDown(PushButton *p, int32_t x, int32_t y) override {
    Log().push_back(Name(p) + " down " + Str(x) + "," + Str(y));
    return mouseDownAnswer;
  }
  bool PushButtonMouseUp(PushButton *p, int32_t x, int32_t y) override {
    Log().push_back(Name(p) + " up " + Str(x) + "," + Str(y));
    return false;
  }
  std::string Name(PushButton *p) {
    return p == a ? "a" : p == b ? "b" : "?";
  }
  PushButton *a = nullptr, *b = nullptr;
  bool mouseDownAnswer = false;
};

// A window whose own key handling lets GTK+ activate a button during the
// Return press too, as a focused default button is activated by GTK+.
class ActivatingWindow : public RecordingWindow {
public:
  explicit ActivatingWindow(const QV::Rect &r) : RecordingWindow(r) {}
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override {
    if (ch == 13 && activate)
      gtk_widget_activate(activate->GetWidget());
    if (ch == 'p' && pushTwice) {
      pushTwice->PressButton();
      pushTwice->PressButton();
      return true;
    }
    return RecordingWindow::HandleKeyPress(ch, key, modifiers);
  }
  PushButton *activate = nullptr;
  PushButton *pushTwice = nullptr; // pushed twice from code on the key "p"
};

class ButtonsOnScreen : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    Log().clear();
    w = new ActivatingWindow(MakeRect(50, 60, 350, 260));
    FontStructure font;
    d.a = newPushButton(&d, font, w, 0, MakeRect(20, 20, 120, 50), string("&Alpha"));
    d.b = newPushButton(&d, font, w, 0, MakeRect(20, 80, 120, 110), string("Beta"));
    ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(d.b->GetWidget()); }));
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
    ASSERT_TRUE(XDoTool("windowfocus --sync " + Str(XidOf(w))));
    Log().clear();
  }
  void TearDown() override {
    if (w)
      w->Close();
    StepUntil([] { return true; });
  }
  // Waits a few steps more so that a second report would have arrived.
  void Settle() {
    for (int i = 0; i < 20; ++i)
      PaneLoopStep();
  }
  bool Key(const std::string &keys) { return XDoTool("key --window 0 " + keys); }
  bool KeyUntil(const std::string &keys, const std::function<bool()> &done) {
    return XDoToolUntil("key --window 0 " + keys, done);
  }
  std::string At(int x, int y) {
    return "mousemove --window " + Str(XidOf(w)) + " " + Str(x) + " " + Str(y) + " ";
  }

  ActivatingWindow *w = nullptr;
  RecordingDelegate d;
};

TEST_F(ButtonsOnScreen, AClickReportsOnceOnReleaseInsideAndNotWhenReleasedOutside) {
  ASSERT_TRUE(XDoToolUntil(At(40, 30) + "click 1", [&] { return Log().size() >= 2; }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"a down 20,10", "a clicked"}));

  Log().clear();
  ASSERT_TRUE(XDoToolUntil(At(40, 30) + "mousedown 1", [&] { return GetCaptureMouse() == d.a; }));
  ASSERT_TRUE(
      XDoToolUntil(At(250, 180) + "mouseup 1", [&] { return GetCaptureMouse() == nullptr; }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"a down 20,10"}));
}

TEST_F(ButtonsOnScreen, TwoClicksQueuedBackToBackEachReachTheButtonThatWasPressed) {
  // One xdotool run queues both clicks before the loop takes the first
  // press, so by then the pointer already rests over the other button.
  for (int round = 0; round < 20; ++round) {
    Log().clear();
    ASSERT_TRUE(XDoToolUntil(At(40, 30) + "click 1 " + At(40, 90) + "click 1",
                             [&] { return !Log().empty(); })) // counted: sent again only when lost
        << "round " << round;
    ASSERT_TRUE(StepUntil([&] { return Log().size() >= 4; })) << "round " << round;
    EXPECT_EQ(Log(), (std::vector<std::string>{"a down 20,10", "a clicked", "b down 20,10",
                                               "b clicked"}))
        << "round " << round;
  }
  Settle();
  EXPECT_EQ(Log().size(), 4u) << "nothing more arrived";
}

TEST_F(ButtonsOnScreen, AMouseDownAnsweringTrueGetsMouseUpRelativeToTheButtonAndNoClick) {
  d.mouseDownAnswer = true;
  ASSERT_TRUE(XDoToolUntil(At(30, 90) + "mousedown 1", [&] { return GetCaptureMouse() == d.b; }));
  ASSERT_TRUE(XDoToolUntil(At(200, 150) + "mouseup 1", [&] { return Log().size() >= 2; }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"b down 10,10", "b up 180,70"}));
}

TEST_F(ButtonsOnScreen, ReturnAndEscapeReachTheDefaultAndCancelButtonsOncePerPress) {
  d.b->setDefault(true);
  d.a->setCancel(true);
  d.b->SetFocus(); // GTK+'s own activation of the focused default button
  ASSERT_TRUE(StepUntil([&] { return GetFocusPane() == d.b; }));
  ASSERT_TRUE(KeyUntil("Return", [&] { return !Log().empty(); }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"b clicked"}));

  d.a->SetFocus();
  ASSERT_TRUE(StepUntil([&] { return GetFocusPane() == d.a; }));
  Log().clear();
  ASSERT_TRUE(KeyUntil("Return", [&] { return !Log().empty(); }));
  ASSERT_TRUE(KeyUntil("Escape", [&] { return Log().size() >= 2; }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"b clicked", "a clicked"}));
}

TEST_F(ButtonsOnScreen, AReturnThatActivatesTheDefaultButtonTwiceReportsOneClick) {
  d.b->setDefault(true);
  w->activate = d.b;
  ASSERT_TRUE(KeyUntil("Return", [&] { return !Log().empty(); }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"b clicked"}));
  ASSERT_TRUE(KeyUntil("Return", [&] { return Log().size() >= 2; }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"b clicked", "b clicked"})) << "once per press";
}

TEST_F(ButtonsOnScreen, TwoPushesFromCodeWhileOneKeyIsHandledReportTwoClicks) {
  w->pushTwice = d.a;
  ASSERT_TRUE(KeyUntil("p", [&] { return !Log().empty(); }));
  Settle();
  EXPECT_EQ(Log(), (std::vector<std::string>{"a clicked", "a clicked"}));
}

TEST_F(ButtonsOnScreen, ADisabledDefaultButtonIgnoresReturnAndClicks) {
  d.b->setDefault(true);
  d.b->EnablePane(false, true);
  EXPECT_EQ(w->getDefaultPane(), nullptr);
  ASSERT_TRUE(Key("Return"));
  ASSERT_TRUE(XDoTool(At(40, 90) + "click 1"));
  // A click on the other button, once it lands, comes after both.
  ASSERT_TRUE(XDoToolUntil(At(40, 30) + "click 1", [&] {
    return std::count(Log().begin(), Log().end(), "a clicked") > 0;
  }));
  Settle();
  // The focused button may take Return itself; the disabled one hears nothing.
  for (const std::string &line : Log())
    EXPECT_NE(line[0], 'b') << line;
}

TEST_F(ButtonsOnScreen, PushFromCodeReportsEvenWithoutAnEventAndTitlesTurnAmpersandsIntoMnemonics) {
  d.a->PressButton();
  d.a->PressButton();
  EXPECT_EQ(Log(), (std::vector<std::string>{"a clicked", "a clicked"}));
  auto *a = static_cast<PushButtonGTK *>(d.a);
  EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(a->Label())), "_Alpha");
  EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(a->Label())), static_cast<guint>('a'));
}

TEST_F(ButtonsOnScreen, DrawnOffscreenTheCaptionSitsInTheMiddleOfItsBox) {
  DrawablePane *pixmap = NewOffscreen(300, 200);
  Graphics *g = pixmap->getGraphics();
  auto *a = static_cast<PushButtonGTK *>(d.a); // (20, 20) to (120, 50), "&Alpha"
  a->DrawIntoOffscreen(g);
  const int32_t width = g->StringWidth(string("Alpha"));
  Graphics::Release(g);
  EXPECT_NE(PixelAt(pixmap, 21, 35), 0xFFFFFFu) << "the box";
  EXPECT_EQ(PixelAt(pixmap, 10, 35), 0xFFFFFFu) << "nothing outside it";
  // The black caption, inside the box's frame and shades.
  QV::Rect text = DarkBounds(pixmap, 24, 24, 92, 22, 64);
  ASSERT_GT(text.right, text.left) << "a caption was drawn";
  EXPECT_NEAR((text.left + text.right) / 2.0, 70, 3) << "centred across";
  EXPECT_NEAR((text.top + text.bottom) / 2.0, 35, 4) << "and down";
  EXPECT_NEAR(text.right - text.left, width, 3) << "the caption without its ampersand";
  pixmap->removeReference();
}

} // namespace
