// Real windows under the test's own X server, driven by xdotool: showing,
// geometry, clicks, capture, keys, focus, the cursor and the wheel.
#include <gtest/gtest.h>

#include "WindowsTestSupport.h"
#include "XQueries.h"
#include "windows/GTKHelper.h"
#include "windows/MouseCursor.h"
#include "windows/RunLoopRegisters.h"

namespace {

std::string Str(int v) { return std::to_string(v); }

class OnScreen : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    Log().clear();
  }
  void TearDown() override {
    for (Window *w : mWindows)
      w->Close();
    StepUntil([] { return true; });
  }
  RecordingWindow *Open(const QV::Rect &bounds, bool resizable = true) {
    auto *w = new RecordingWindow(bounds, resizable);
    mWindows.push_back(w);
    return w;
  }
  static bool Mapped(Window *w) {
    return GTK_WIDGET_MAPPED(w->GetGtkWindow()) && w->GetGtkWindow()->window &&
           gdk_window_is_viewable(w->GetGtkWindow()->window);
  }
  // Shows the window, waits until it is on screen and its first configure
  // and size reports are over.
  void ShowAndSettle(RecordingWindow *w) {
    ASSERT_TRUE(StepUntil([&] { return Mapped(w); }));
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
    w->moved = w->resized = 0;
  }
  // The lines of the log that contain the word.
  static std::vector<std::string> Lines(const std::string &word) {
    std::vector<std::string> found;
    for (const std::string &s : Log())
      if (s.find(word) != std::string::npos)
        found.push_back(s);
    return found;
  }
  bool Said(const std::string &line) {
    for (const std::string &s : Log())
      if (s == line)
        return true;
    return false;
  }
  std::vector<Window *> mWindows;
};

TEST_F(OnScreen, WindowsMadeInOneStepAppearAtTheNextWithTheirFinalSize) {
  RecordingWindow *a = Open(MakeRect(50, 60, 250, 210));
  RecordingWindow *b = Open(MakeRect(300, 60, 400, 160));
  a->SizeWindow(320, 240, false);
  EXPECT_FALSE(GTK_WIDGET_VISIBLE(a->GetGtkWindow())) << "not before the step";
  PaneLoopStep();
  EXPECT_EQ(b->moved, 0) << "nothing moved before it was on screen";
  EXPECT_TRUE(GTK_WIDGET_VISIBLE(a->GetGtkWindow()));
  EXPECT_TRUE(GTK_WIDGET_VISIBLE(b->GetGtkWindow()));
  ASSERT_TRUE(StepUntil([&] { return Mapped(a) && Mapped(b); }));
  XSize size = XWindowSize(XidOf(a));
  EXPECT_EQ(size.width, 320);
  EXPECT_EQ(size.height, 240);
  // The configure event comes before GTK+ allocates the new size; the
  // pane takes it at a following step.
  EXPECT_TRUE(StepUntil([&] { return a->Width() == 320 && a->Height() == 240; }));

  b->HideWindow();
  EXPECT_FALSE(GTK_WIDGET_VISIBLE(b->GetGtkWindow()));
  b->ShowWindow();
  PaneLoopStep();
  EXPECT_TRUE(GTK_WIDGET_VISIBLE(b->GetGtkWindow()));
}

TEST_F(OnScreen, SizeWindowMakesRoomForTheMenuBar) {
  RecordingWindow *w = Open(MakeRect(50, 60, 250, 210));
  AddMenuBar(w, 25);
  ShowAndSettle(w);
  ASSERT_TRUE(StepUntil([&] { return GTKHelper::GetMenuBarHeight(w) == 25; }));
  w->SizeWindow(300, 200, true);
  EXPECT_EQ(w->Bounds().bottom, 200);
  EXPECT_EQ(w->Bounds().right, 300);
  ASSERT_TRUE(StepUntil([&] { return XWindowSize(XidOf(w)).height == 225; }));
  EXPECT_EQ(XWindowSize(XidOf(w)).width, 300);

  // Moving to a place puts the window's top there, where the bar begins.
  w->MoveWindow(120, 130, true);
  ASSERT_TRUE(StepUntil([&] {
    QV::Rect r;
    w->GetWindowBounds(&r);
    // The content's height, below the bar, once GTK+ has allocated it.
    return r.left == 120 && r.top == 130 && r.bottom - r.top == 200;
  }));
}

TEST_F(OnScreen, MovingReportsOneMoveAndResizingReportsResizedAtTheNextStep) {
  RecordingWindow *w = Open(MakeRect(50, 60, 250, 210));
  ShowAndSettle(w);
  int configures = 0;
  g_signal_connect_swapped(w->GetGtkWindow(), "configure-event", G_CALLBACK(+[](int *n) {
                             ++*n;
                             return FALSE;
                           }),
                           &configures);
  ASSERT_TRUE(
      XDoToolUntil("windowmove " + Str(XidOf(w)) + " 200 150", [&] { return w->moved > 0; }));
  for (int i = 0; i < 20; ++i)
    PaneLoopStep();
  EXPECT_EQ(w->moved, 1) << configures << " configure events";
  EXPECT_EQ(w->resized, 0);
  EXPECT_EQ(w->ScreenBounds().left, 200);
  EXPECT_EQ(w->ScreenBounds().top, 150);

  ASSERT_TRUE(
      XDoToolUntil("windowsize " + Str(XidOf(w)) + " 400 300", [&] { return w->resized > 0; }));
  EXPECT_EQ(w->resized, 1);
  EXPECT_EQ(w->Width(), 400);
  EXPECT_EQ(w->Height(), 300);
}

TEST_F(OnScreen, MovingAndSizingFromCodeReportEachChangeOnce) {
  RecordingWindow *w = Open(MakeRect(50, 60, 250, 210));
  ShowAndSettle(w);
  auto settle = [] {
    for (int i = 0; i < 20; ++i)
      PaneLoopStep();
  };
  w->MoveWindow(200, 150, true);
  EXPECT_EQ(w->ScreenBounds().left, 200) << "the place asked for reads back at once";
  ASSERT_TRUE(StepUntil([&] { return w->moved > 0; }));
  settle();
  EXPECT_EQ(w->moved, 1);
  EXPECT_EQ(w->resized, 0);

  w->SizeWindow(320, 240, true);
  ASSERT_TRUE(StepUntil([&] { return w->resized > 0; }));
  settle();
  EXPECT_EQ(w->resized, 1);
  EXPECT_EQ(w->moved, 1);
  EXPECT_EQ(w->Width(), 320);
  EXPECT_EQ(w->Height(), 240);
  EXPECT_EQ(w->ScreenBounds().left, 200);
  EXPECT_EQ(w->ScreenBounds().bottom - w->ScreenBounds().top, 240);
}

TEST_F(OnScreen, MinimumWidthShowsInTheSizeHints) {
  RecordingWindow *w = Open(MakeRect(50, 60, 350, 260));
  w->limits = QV::Rect{0, 200, 0, 0}; // minimum width 200 only
  ShowAndSettle(w);
  XSize min;
  ASSERT_TRUE(StepUntil([&] { return XMinimumSizeHint(XidOf(w), &min); }));
  EXPECT_EQ(min.width, 200);
  EXPECT_EQ(min.height, 0) << "a 0 limit sets no bound";
}

TEST_F(OnScreen, ClicksGoToTheLatestPaneFirstFallThroughAndSkipHiddenOnes) {
  RecordingWindow *w = Open(MakeRect(50, 60, 350, 260));
  new RecordingPane(w, "under", MakeRect(10, 10, 200, 150), 0, true);
  new RecordingPane(w, "over", MakeRect(20, 20, 100, 100), 0, false);
  auto *hidden = new RecordingPane(w, "hidden", MakeRect(0, 0, 300, 200), 0, true);
  hidden->ShowPane(false);
  ShowAndSettle(w);
  Log().clear();
  std::string at = "mousemove --window " + Str(XidOf(w)) + " 50 40 ";
  ASSERT_TRUE(XDoToolUntil(at + "click 1", [&] { return Lines("click").size() >= 2; }));
  EXPECT_EQ(Lines("click"),
            (std::vector<std::string>{"over click 50,40 0", "under click 50,40 0"}));

  Log().clear();
  // Sent again only when none of it landed: the presses are counted.
  ASSERT_TRUE(XDoToolUntil(at + "click 3 click --repeat 2 --delay 50 1",
                           [&] { return !Lines("click").empty(); }));
  ASSERT_TRUE(StepUntil([&] { return Lines("click").size() >= 6; }));
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(Lines("click").size(), 6u) << "each press one click, whatever the button";
  for (const std::string &s : Lines("click"))
    EXPECT_EQ(s.substr(s.size() - 2), " 0") << s;
}

TEST_F(OnScreen, TheCapturePaneGetsDragsEachStepAndItsMouseUpWhereverItIs) {
  RecordingWindow *w = Open(MakeRect(50, 60, 250, 210));
  auto *p = new RecordingPane(w, "p", MakeRect(10, 10, 100, 100), 0, true);
  p->captureOnClick = true;
  ShowAndSettle(w);
  Log().clear();
  ASSERT_TRUE(XDoToolUntil("mousemove --window " + Str(XidOf(w)) + " 30 30 mousedown 1",
                           [&] { return GetCaptureMouse() == p; }));
  ASSERT_TRUE(StepUntil([&] { return Said("p drag 30,30"); }));
  ASSERT_TRUE(
      XDoToolUntil("mousemove 600 500 mouseup 1", [&] { return GetCaptureMouse() == nullptr; }));
  // 600,500 on the screen is (550, 440) in the content of a window at (50, 60).
  EXPECT_TRUE(Said("p up 550,440")) << testing::PrintToString(Log());
}

// A pane with an entry widget, placed in its window's fixed as controls are.
class EntryPane : public RecordingPane {
public:
  EntryPane(Window *w, const char *name, const QV::Rect &r) : RecordingPane(w, name, r) {
    SetWidget(gtk_entry_new());
    GTKHelper::SetupWidget(this, true);
    g_signal_connect(GetWidget(), "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack),
                     static_cast<SubPane *>(this));
  }
  SubPane *getDefaultPane() override { return isDefault ? this : nullptr; }
  SubPane *getCancelPane() override { return isCancel ? this : nullptr; }
  void triggerPane() override { Log().push_back(name + " pressed"); }
  bool isDefault = false, isCancel = false;
};

class KeysOnScreen : public OnScreen {
protected:
  void SetUp() override {
    OnScreen::SetUp();
    if (IsSkipped())
      return;
    w = Open(MakeRect(50, 60, 350, 260));
    e1 = new EntryPane(w, "e1", MakeRect(10, 10, 150, 35));
    e2 = new EntryPane(w, "e2", MakeRect(10, 50, 150, 75));
    e3 = new EntryPane(w, "e3", MakeRect(10, 90, 150, 115));
    ShowAndSettle(w);
    ASSERT_TRUE(
        XDoToolUntil("windowfocus --sync " + Str(XidOf(w)), [&] { return GetFocusPane() == e1; }));
  }
  bool Key(const std::string &keys) { return XDoTool("key --window 0 " + keys); }
  bool KeyUntil(const std::string &keys, const std::function<bool()> &done) {
    return XDoToolUntil("key --window 0 " + keys, done);
  }

  RecordingWindow *w = nullptr;
  EntryPane *e1 = nullptr, *e2 = nullptr, *e3 = nullptr;
};

TEST_F(KeysOnScreen, TabAndShiftTabWalkTheFocusOrder) {
  ASSERT_TRUE(KeyUntil("Tab", [&] { return GetFocusPane() == e2; }));
  ASSERT_TRUE(KeyUntil("Tab", [&] { return GetFocusPane() == e3; }));
  ASSERT_TRUE(KeyUntil("Tab", [&] { return GetFocusPane() == e1; }));
  ASSERT_TRUE(KeyUntil("shift+Tab", [&] { return GetFocusPane() == e3; }));
  EXPECT_EQ(w->GetRememberedFocus(), e3);
}

TEST_F(KeysOnScreen, ReturnEnterAndEscapePressTheDefaultAndCancelPanes) {
  e2->isDefault = true;
  e3->isCancel = true;
  ASSERT_TRUE(KeyUntil("Return", [&] { return Log().size() == 1; }));
  ASSERT_TRUE(KeyUntil("KP_Enter", [&] { return Log().size() == 2; }));
  ASSERT_TRUE(KeyUntil("Escape", [&] { return Log().size() == 3; }));
  EXPECT_EQ(Log(), (std::vector<std::string>{"e2 pressed", "e2 pressed", "e3 pressed"}));
}

TEST_F(KeysOnScreen, HeldKeysLetGoOnlyOfWhatWasReleased) {
  GTKHelper::ForgetKeysPressed();
  ASSERT_TRUE(XDoToolUntil("keydown --window 0 a keydown --window 0 b keyup --window 0 a", [] {
    return GTKHelper::KeysPressed().count() == 1 && GTKHelper::IsKeyDown(11);
  }));
  EXPECT_FALSE(GTKHelper::IsKeyDown(0));
  ASSERT_TRUE(
      XDoToolUntil("keyup --window 0 b", [] { return GTKHelper::KeysPressed().count() == 0; }));
}

TEST_F(OnScreen, ManyMovesUnderOneCursorSetItOnce) {
  RecordingWindow *w = Open(MakeRect(50, 60, 350, 260));
  auto *p = new RecordingPane(w, "p", MakeRect(0, 0, 300, 200));
  MouseCursor *watch = GetGTKCursor(GDK_WATCH);
  p->setMouseCursor(watch);
  ShowAndSettle(w);
  ASSERT_TRUE(XDoToolUntil("mousemove --window " + Str(XidOf(w)) + " 5 5",
                           [&] { return w->GetCursorCache().type == GDK_WATCH; }));
  int32_t before = Window::CursorsApplied();
  std::string moves;
  for (int i = 0; i < 100; ++i)
    moves += "mousemove --window " + Str(XidOf(w)) + " " + Str(10 + i) + " 50 ";
  ASSERT_TRUE(XDoToolUntil(moves, [&] {
    QV::Point pt = GTKHelper::GetCursorPos(w);
    return pt.h == 109;
  }));
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(Window::CursorsApplied(), before);
  p->setMouseCursor(nullptr);
  DisposeMouseCursor(watch);
}

TEST_F(OnScreen, TheWheelTurnsByThreeUpwardsNegative) {
  RecordingWindow *w = Open(MakeRect(50, 60, 350, 260));
  new RecordingPane(w, "p", MakeRect(0, 0, 300, 200));
  ShowAndSettle(w);
  Log().clear();
  ASSERT_TRUE(XDoToolUntil("mousemove --window " + Str(XidOf(w)) + " 40 40 click 4 click 5",
                           [&] { return Lines("wheel").size() >= 2; }));
  EXPECT_EQ(Lines("wheel"), (std::vector<std::string>{"p wheel -3", "p wheel 3"}));
}

TEST_F(OnScreen, ClicksAndTurnsQueuedBackToBackReachThePaneUnderEachOfThem) {
  RecordingWindow *w = Open(MakeRect(50, 60, 350, 260));
  new RecordingPane(w, "left", MakeRect(10, 10, 100, 100), 0, true);
  new RecordingPane(w, "right", MakeRect(150, 10, 250, 100), 0, true);
  ShowAndSettle(w);
  const std::string left = "mousemove --window " + Str(XidOf(w)) + " 30 40 ";
  const std::string right = "mousemove --window " + Str(XidOf(w)) + " 170 40 ";
  // One xdotool run queues all of it before the loop takes the first press,
  // so by then the pointer already rests over the other pane.
  for (int round = 0; round < 5; ++round) {
    Log().clear();
    ASSERT_TRUE(XDoToolUntil(left + "click 1 " + right + "click 1 " + left + "click 4 " + right +
                                 "click 5 " + left,
                             [&] { return !Lines("click").empty(); }));
    ASSERT_TRUE(StepUntil([&] { return Lines("wheel").size() >= 2; }));
    EXPECT_EQ(Lines("click"),
              (std::vector<std::string>{"left click 30,40 0", "right click 170,40 0"}))
        << "round " << round;
    EXPECT_EQ(Lines("wheel"), (std::vector<std::string>{"left wheel -3", "right wheel 3"}))
        << "round " << round;
  }
}

} // namespace
