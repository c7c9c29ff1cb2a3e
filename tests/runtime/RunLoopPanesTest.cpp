// The run loop's focus and capture registers and its drag reports, through
// pretend panes: the hooks log what the loop asks of each pane.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>

#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/RunLoop.h"
#include "support/AlertRecorder.h"

namespace {

// Pretend panes are distinct addresses; the loop only passes them on.
char sPaneStorage[3];
SubPane *const kA = reinterpret_cast<SubPane *>(&sPaneStorage[0]);
SubPane *const kB = reinterpret_cast<SubPane *>(&sPaneStorage[1]);
SubPane *const kC = reinterpret_cast<SubPane *>(&sPaneStorage[2]);

std::string sLog;
SubPane *sRedirectOnLostFocus = nullptr; // LostFocus moves the focus here
bool sReleaseOnDrag = false;             // HandleMouseDrag releases the capture
bool sDieOnDrag = false;                 // HandleMouseDrag closes the pane
int sProtection = 0;
bool sDied = false;
int32_t sPointerH = 10, sPointerV = 20;

char Name(SubPane *pane) {
  return static_cast<char>('a' + (reinterpret_cast<char *>(pane) - sPaneStorage));
}

void LostFocus(SubPane *pane) {
  sLog += std::string("-") + Name(pane);
  if (sRedirectOnLostFocus)
    SetFocusPane(sRedirectOnLostFocus);
}
void GainedFocus(SubPane *pane) { sLog += std::string("+") + Name(pane); }
void FocusIdle(SubPane *pane) { sLog += std::string("i") + Name(pane); }
void HandleMouseDrag(SubPane *, int32_t h, int32_t v) {
  sLog += "d" + std::to_string(h) + "," + std::to_string(v) + ";";
  if (sReleaseOnDrag)
    ReleaseMouse();
  if (sDieOnDrag) {
    sDied = true;
    ReleaseMouse();
  }
}
GdkWindow *GetSubPaneWindow(SubPane *) { return nullptr; }
void Protect(SubPane *) { ++sProtection; }
bool UnprotectCausesDeath(SubPane *) {
  --sProtection;
  return sDied;
}

// One step that an idle call wakes at once when nothing else would.
void StepWithoutWaiting() {
  g_idle_add([](gpointer) -> gboolean { return FALSE; }, nullptr);
  RunLoopStep();
}

bool ReadPretendPointer(GdkWindow *, int32_t *h, int32_t *v) {
  *h = sPointerH;
  *v = sPointerV;
  return true;
}

class RunLoopPanes : public testing::Test {
protected:
  void SetUp() override {
    if (!gtk_init_check(nullptr, nullptr))
      GTEST_SKIP() << "no display";
    static const PaneHooks hooks = {LostFocus,           GainedFocus,      FocusIdle,
                                    HandleMouseDrag,     GetSubPaneWindow, Protect,
                                    UnprotectCausesDeath};
    InstallPaneHooks(&hooks);
    SetPointerPositionReader(ReadPretendPointer);
    sLog.clear();
    sRedirectOnLostFocus = nullptr;
    sReleaseOnDrag = sDieOnDrag = sDied = false;
    sProtection = 0;
    sPointerH = 10;
    sPointerV = 20;
  }
  void TearDown() override {
    ReleaseMouse();
    SetFocusPane(nullptr);
    InstallPaneHooks(nullptr);
    SetPointerPositionReader(nullptr);
  }
};

TEST_F(RunLoopPanes, FocusMovesWithLostThenGainedAndALostFocusRedirectWins) {
  struct Case {
    const char *what;
    SubPane *start;
    SubPane *redirect;
    SubPane *requested;
    const char *log;
    SubPane *focus;
  } cases[] = {
      {"from none", nullptr, nullptr, kA, "+a", kA},
      {"to another", kA, nullptr, kB, "-a+b", kB},
      {"the same pane", kA, nullptr, kA, "", kA},
      {"to none", kA, nullptr, nullptr, "-a", nullptr},
      {"redirected by LostFocus", kA, kC, kB, "-a+c", kC},
  };
  for (const Case &c : cases) {
    SetFocusPane(c.start);
    sLog.clear();
    sRedirectOnLostFocus = c.redirect;
    SetFocusPane(c.requested);
    sRedirectOnLostFocus = nullptr;
    EXPECT_EQ(sLog, c.log) << c.what;
    EXPECT_EQ(GetFocusPane(), c.focus) << c.what;
  }
}

TEST_F(RunLoopPanes, CapturePaneHearsTwiceWhenThePointerMovedOnceWhenNot) {
  EXPECT_EQ(CaptureMouse(kA), kA);
  RunLoopStep(); // never blocks while a pane holds the capture
  EXPECT_EQ(sLog, "d10,20;d10,20;");
  sLog.clear();
  RunLoopStep();
  EXPECT_EQ(sLog, "d10,20;");
  sLog.clear();
  sPointerV = 21;
  RunLoopStep();
  EXPECT_EQ(sLog, "d10,21;d10,21;");
  EXPECT_EQ(sProtection, 0);
}

TEST_F(RunLoopPanes, NoSecondReportAfterTheFirstReleasedOrClosedThePane) {
  sPointerH = 30;
  CaptureMouse(kA);
  sReleaseOnDrag = true;
  RunLoopStep();
  EXPECT_EQ(sLog, "d30,20;");
  sLog.clear();
  StepWithoutWaiting(); // released: no more reports
  EXPECT_EQ(sLog, "");

  sPointerH = 31;
  sReleaseOnDrag = false;
  sDieOnDrag = true;
  CaptureMouse(kB);
  RunLoopStep();
  EXPECT_EQ(sLog, "d31,20;");
  EXPECT_EQ(sProtection, 0);
}

TEST_F(RunLoopPanes, NilStepFunctionAlertsAndStillSteps) {
  CaptureMouse(kA); // keeps the step from blocking
  AlertRecorder recorder;
  CallFunctionWithExceptionHandling(nullptr);
  ASSERT_EQ(recorder.count(), 1u);
  EXPECT_EQ(recorder.alerts()[0].line, kNilStepFunctionAlert.line);
  EXPECT_EQ(sLog, "d10,20;d10,20;");
}

TEST_F(RunLoopPanes, FocusPaneGetsItsIdleCallEachStep) {
  SetFocusPane(kB);
  CaptureMouse(kA); // keeps the step from blocking
  sLog.clear();
  RunLoopStep();
  EXPECT_NE(sLog.find("ib"), std::string::npos);
}

TEST(RunLoopRegisters, ForeLayerAndPlatformStubs) {
  SetForeLayer(7);
  EXPECT_EQ(GetForeLayer(), 7);
  EXPECT_EQ(GetModalWindow(), nullptr);
  EXPECT_FALSE(InBackground());
  EXPECT_FALSE(IsCommandStop(nullptr));
}

} // namespace
