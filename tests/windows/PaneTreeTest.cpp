// The pane tree without anything on screen: embedding, cascades, the life
// protocol, drawing-target selection, death notices and window bookkeeping.
#include <gtest/gtest.h>

#include "WindowsTestSupport.h"
#include "graphics/Graphics.h"
#include "runtime/application/ApplicationObject.h"
#include "support/AlertRecorder.h"
#include "windows/GTKHelper.h"
#include "windows/MouseCursor.h"
#include "windows/RunLoopRegisters.h"

namespace {

class PaneTree : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    Log().clear();
    window = new RecordingWindow(MakeRect(100, 100, 500, 400));
  }
  void TearDown() override {
    if (window)
      window->Close();
    Pane::AboutToYield();
  }
  std::vector<std::string> Said() { return Log(); }

  RecordingWindow *window = nullptr;
};

TEST_F(PaneTree, ControlsLandInTheLastEnclosingPaneOfTheirPageYetStayInTheFlatList) {
  auto *box = new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  auto *button = new RecordingPane(window, "button", MakeRect(20, 20, 40, 100));
  auto *other = new RecordingPane(window, "other", MakeRect(20, 120, 40, 140), 1);
  auto *inner = new RecordingPane(box, "inner", MakeRect(300, 300, 310, 310));
  EXPECT_EQ(button->GetEmbedder(), box);
  EXPECT_EQ(button->GetParent(), box);
  EXPECT_EQ(other->GetEmbedder(), window) << "another tab page is not contained";
  EXPECT_EQ(inner->GetEmbedder(), box) << "a pane made inside a pane goes straight in";
  ASSERT_EQ(window->CountPanes(), 3);
  EXPECT_EQ(window->PaneAt(0), box);
  EXPECT_EQ(window->PaneAt(1), button);
  EXPECT_EQ(window->PaneAt(2), other);
  EXPECT_EQ(SubPane::GetSubPaneWindow(inner), window);
  EXPECT_TRUE(window->Contains(button, true));
  EXPECT_FALSE(window->Contains(button, false));

  other->SetTabPanelIndex(0);
  EXPECT_EQ(other->GetEmbedder(), box) << "joining the page finds the box";
}

TEST_F(PaneTree, EnableAndShowCascadeDownTheEmbedderChain) {
  auto *box = new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  auto *button = new RecordingPane(window, "button", MakeRect(20, 20, 40, 100));
  box->HandleAction(6);
  EXPECT_FALSE(box->IsEnabled());
  EXPECT_FALSE(button->IsEnabled());
  button->EnablePane(true, true);
  EXPECT_FALSE(button->IsEnabled()) << "no enabling inside a disabled pane";
  box->HandleAction(5);
  EXPECT_TRUE(button->IsEnabled());

  box->HandleAction(8);
  EXPECT_FALSE(button->IsVisible());
  box->HandleAction(7);
  EXPECT_TRUE(button->IsShowing());

  button->SetTabPanelVisible(false);
  button->ShowPane(false);
  EXPECT_FALSE(button->IsVisible());
  button->SetTabPanelVisible(true);
  EXPECT_FALSE(button->IsShowing()) << "hidden on its own, it stays hidden when the page shows";
}

TEST_F(PaneTree, CloseDeletesAtOnceUnlessProtectedAndRunsOnce) {
  auto *a = new RecordingPane(window, "a", MakeRect(0, 0, 10, 10));
  a->Close();
  EXPECT_EQ(Said(), (std::vector<std::string>{"a deleted"}));
  EXPECT_EQ(window->CountPanes(), 0);

  Log().clear();
  auto *b = new RecordingPane(window, "b", MakeRect(0, 0, 10, 10));
  b->Protect();
  b->Close();
  b->Close(); // a second close must not unlock again
  EXPECT_TRUE(Said().empty());
  EXPECT_TRUE(b->IsClosing());
  EXPECT_TRUE(b->UnprotectCausesDeath());
  EXPECT_EQ(Said(), (std::vector<std::string>{"b deleted"}));
  EXPECT_EQ(window->LockCount(), 0) << "the window was locked and unlocked with it";

  Log().clear();
  auto *c = new RecordingPane(window, "c", MakeRect(0, 0, 10, 10));
  c->Protect();
  c->Protect();
  c->Close();
  EXPECT_TRUE(c->UnprotectCausesDeath()) << "a closing pane counts as dead";
  EXPECT_TRUE(Said().empty());
  EXPECT_TRUE(c->UnprotectCausesDeath());
  EXPECT_EQ(Said(), (std::vector<std::string>{"c deleted"}));
}

TEST_F(PaneTree, ADeletedPaneLetsGoOfAChildThatIsStillHeld) {
  auto *parent = new RecordingPane(window, "parent", MakeRect(0, 0, 100, 100));
  auto *child = new RecordingPane(parent, "child", MakeRect(10, 10, 20, 20));
  child->Lock();
  child->Close();
  parent->Close(); // closes its children; the held one stays
  EXPECT_EQ(Said(), (std::vector<std::string>{"parent deleted"}));
  EXPECT_EQ(child->GetEmbedder(), nullptr);
  EXPECT_TRUE(child->Unlock());
  EXPECT_EQ(Said().back(), "child deleted");
}

TEST_F(PaneTree, ClosingAWindowClosesItsWholeTree) {
  new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  new RecordingPane(window, "button", MakeRect(20, 20, 40, 100));
  window->Close();
  window = nullptr;
  EXPECT_EQ(Said(), (std::vector<std::string>{"button deleted", "box deleted"}));
}

TEST_F(PaneTree, SelectPaneResetsThePreviousTargetAndEstablishesOnce) {
  auto *a = new RecordingPane(window, "a", MakeRect(0, 0, 10, 10));
  auto *b = new RecordingPane(window, "b", MakeRect(20, 0, 30, 10));
  a->SelectPane();
  Log().clear();
  b->SelectPane();
  EXPECT_EQ(Said(), (std::vector<std::string>{"a reset", "b establish", "b font"}));
  Log().clear();
  gCurrentGraphics = b->getGraphics();
  b->SelectPane();
  EXPECT_TRUE(Said().empty());
  EXPECT_EQ(gCurrentGraphics, nullptr) << "the selected Graphics is let go";
  b->Close();
  EXPECT_EQ(Pane::CurrentPane(), nullptr);
  Log().clear();
  a->SelectPane();
  EXPECT_EQ(Said(), (std::vector<std::string>{"a establish", "a font"}));
  Pane::AboutToYield();
  EXPECT_EQ(Pane::CurrentPane(), nullptr);
  EXPECT_EQ(Said().back(), "a reset");
}

class Receiver : public PaneDeathNotificationReceiver {
public:
  explicit Receiver(bool leave) : leaveWhenTold(leave) {}
  void PaneImpendingDeath(Pane *) override {
    ++told;
    if (leaveWhenTold)
      Pane::RemovePaneDeathNotificationReceiver(this, true);
  }
  bool leaveWhenTold;
  int told = 0;
};

TEST_F(PaneTree, DeathNoticesReachEveryReceiverStillRegistered) {
  Receiver leaver(true), stayer(false);
  Pane::AddPaneDeathNotificationReceiver(&leaver);
  Pane::AddPaneDeathNotificationReceiver(&stayer);
  delete new Pane(MakeRect(0, 0, 10, 10));
  EXPECT_EQ(leaver.told, 1);
  EXPECT_EQ(stayer.told, 1) << "the receiver after one that left is told too";

  Pane::AddPaneDeathNotificationReceiver(&stayer);
  Pane::RemovePaneDeathNotificationReceiver(&stayer, false);
  EXPECT_EQ(Pane::CountDeathReceivers(), 1);
  Pane::AddPaneDeathNotificationReceiver(&stayer);
  Pane::RemovePaneDeathNotificationReceiver(&stayer, true);
  EXPECT_EQ(Pane::CountDeathReceivers(), 0);
}

TEST_F(PaneTree, MovePaneCarriesEmbeddedChildrenAlong) {
  auto *box = new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  auto *button = new RecordingPane(window, "button", MakeRect(20, 20, 40, 100));
  Log().clear();
  box->MovePane(MakeRect(20, 15, 210, 205), false);
  EXPECT_EQ(button->Bounds().left, 30);
  EXPECT_EQ(button->Bounds().top, 25);
  EXPECT_EQ(button->Width(), 20);
  int onSize = 0;
  for (const std::string &s : Said())
    onSize += s.find("OnSize") != std::string::npos;
  EXPECT_EQ(onSize, 2);
}

TEST_F(PaneTree, IterateChildrenSeesOnlyLeaves) {
  auto *box = new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  new RecordingPane(window, "b1", MakeRect(20, 20, 40, 40));
  new RecordingPane(window, "b2", MakeRect(50, 50, 60, 60));
  new RecordingPane(window, "lone", MakeRect(300, 10, 310, 20));
  std::vector<std::string> seen;
  window->IterateChildren(
      [](SubPane *p, void *arg) {
        static_cast<std::vector<std::string> *>(arg)->push_back(
            static_cast<RecordingPane *>(p)->name);
        return true;
      },
      &seen);
  EXPECT_EQ(seen, (std::vector<std::string>{"b1", "b2", "lone"}));
  EXPECT_EQ(box->CountChildren(), 2);
}

TEST_F(PaneTree, RadioBehaviourResetsOnlyTheInnermostGroup) {
  new RecordingPane(window, "outer", MakeRect(0, 0, 300, 300));
  auto *inner = new RecordingPane(window, "inner", MakeRect(10, 10, 150, 150));
  auto *r1 = new RecordingPane(window, "r1", MakeRect(20, 20, 40, 40));
  new RecordingPane(window, "r2", MakeRect(20, 50, 40, 70));
  new RecordingPane(window, "r3", MakeRect(200, 200, 220, 220));
  ASSERT_EQ(r1->GetEmbedder(), inner);
  Log().clear();
  window->RadioBehaviour(r1);
  EXPECT_EQ(Said(), (std::vector<std::string>{"r2 ResetRadio"}));
}

TEST_F(PaneTree, DropRecipientIsTheDeepestPaneThatAcceptsSomething) {
  auto *box = new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  new RecordingPane(window, "button", MakeRect(20, 20, 40, 100));
  box->acceptTypeDrop(string("TEXT"));
  box->acceptTypeDrop(string("text"));
  EXPECT_EQ(window->FindDropRecipient(30, 30, nullptr), box);
  EXPECT_TRUE(box->SupportsDropType(string("Text")));
  EXPECT_EQ(window->FindDropRecipient(300, 300, nullptr), nullptr);
}

TEST_F(PaneTree, WindowKeepsItsTypeNamedPropertiesAndPaneOrder) {
  AlertRecorder alerts;
  Window drawer(string("d"), MakeRect(0, 0, 10, 10), Window::kWindowTypeDrawer, true, 0, true);
  Window metal(string("m"), MakeRect(0, 0, 10, 10), Window::kWindowTypeMetal, true, 0, true);
  Window modal(string("m"), MakeRect(0, 0, 10, 10), Window::kWindowTypeModal, true, 0, true);
  EXPECT_EQ(drawer.GetType(), Window::kWindowTypeFloating);
  EXPECT_EQ(metal.GetType(), Window::kWindowTypeDocument);
  EXPECT_FALSE(modal.IsResizable());
  EXPECT_TRUE(modal.IsModal());
  EXPECT_EQ(drawer.getGrowBoxWidth(), 12);
  EXPECT_EQ(alerts.count(), 0u);

  uint32_t value = 7;
  EXPECT_FALSE(window->getProperty(string("Kind"), &value));
  EXPECT_EQ(value, 0u);
  window->setProperty(string("RuntimeViewWindow"), 1);
  window->setProperty(string("runtimeviewwindow"), 2);
  EXPECT_TRUE(window->getProperty(string("RUNTIMEVIEWWINDOW"), &value));
  EXPECT_EQ(value, 2u);

  auto *a = new RecordingPane(window, "a", MakeRect(0, 0, 1, 1));
  auto *b = new RecordingPane(window, "b", MakeRect(2, 0, 3, 1));
  auto *c = new RecordingPane(window, "c", MakeRect(4, 0, 5, 1));
  window->ReorderControl(a, c);
  EXPECT_EQ(window->PaneAt(2), a);
  window->ReorderControl(a, nullptr);
  EXPECT_EQ(window->PaneAt(0), a);
  window->RemovePane(b);
  window->ReorderControl(a, b);
  EXPECT_EQ(window->PaneAt(0), a) << "an unlisted anchor changes nothing";
  EXPECT_EQ(window->CountPanes(), 2);
  window->AppendPane(b);

  AlertRecorder layer;
  Window wrongLayer(string("x"), MakeRect(0, 0, 10, 10), Window::kWindowTypeDocument, true, 3,
                    true);
  EXPECT_TRUE(layer.saw("layer == GetForeLayer()"));
}

TEST_F(PaneTree, GraphicsContextsAreCachedAndBalanced) {
  gtk_widget_realize(window->GetFixed());
  GdkGC *first = window->GetGC();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(window->GetGC(), first);
  window->ReleaseGC();
  window->ReleaseGC();
  GdkGC *again = window->GetGC();
  EXPECT_NE(again, nullptr);
  window->ReleaseGC();
  AlertRecorder alerts;
  window->ReleaseGC(); // nothing cached: nothing to release
  EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(PaneTree, DeferredCloseClosesQueuedWindowsNewestFirst) {
  auto *w1 = new RecordingWindow(MakeRect(0, 0, 10, 10));
  auto *w2 = new RecordingWindow(MakeRect(0, 0, 10, 10));
  new RecordingPane(w1, "p1", MakeRect(0, 0, 1, 1));
  new RecordingPane(w2, "p2", MakeRect(0, 0, 1, 1));
  w1->CloseWindowLater();
  w2->CloseWindowLater();
  w1->CloseWindowLater();
  EXPECT_TRUE(Said().empty());
  EXPECT_TRUE(StepUntil([&] { return Said().size() == 2; }));
  EXPECT_EQ(Said(), (std::vector<std::string>{"p2 deleted", "p1 deleted"}));
}

TEST_F(PaneTree, MouseTrackingTellsEveryPaneUnderThePointerExitsFirst) {
  new RecordingPane(window, "a", MakeRect(0, 0, 100, 100));
  new RecordingPane(window, "b", MakeRect(50, 50, 150, 150));
  window->HandleMouseMove(10, 10);
  EXPECT_EQ(Said(), (std::vector<std::string>{"a enter"}));
  Log().clear();
  window->HandleMouseMove(60, 60);
  EXPECT_EQ(Said(), (std::vector<std::string>{"b enter"})) << "a stays entered";
  Log().clear();
  window->HandleMouseMove(120, 120);
  EXPECT_EQ(Said(), (std::vector<std::string>{"a exit"}));
}

TEST_F(PaneTree, DialogParentAndMenuWindowAreFoundAmongTheToplevels) {
  gtk_widget_realize(window->GetGtkWindow());
  EXPECT_EQ(GTKHelper::GetDialogParent(window), nullptr) << "no other window yet";
  auto *other = new RecordingWindow(MakeRect(0, 0, 100, 100));
  gtk_widget_realize(other->GetGtkWindow());
  EXPECT_EQ(GTKHelper::GetDialogParent(window), other);
  EXPECT_EQ(GTKHelper::GetDialogParent(other), window);
  EXPECT_EQ(GTKHelper::GetMenuWindow(), nullptr);
  other->SetHasMenuBar(true);
  EXPECT_EQ(GTKHelper::GetMenuWindow(), other);
  other->Close();
}

TEST_F(PaneTree, SheetsHideAsTheyCloseAndLayersCloseTogether) {
  auto *sheet =
      new Window(string("s"), MakeRect(0, 0, 50, 50), Window::kWindowTypeSheet, true, 0, true);
  new RecordingPane(sheet, "in sheet", MakeRect(0, 0, 10, 10));
  sheet->Protect();
  sheet->Close();
  EXPECT_FALSE(sheet->IsVisible());
  EXPECT_TRUE(sheet->UnprotectCausesDeath());

  new RecordingPane(window, "in window", MakeRect(0, 0, 10, 10));
  Window::DestroyLayerWindows(0);
  window = nullptr;
  EXPECT_EQ(gWindowList, nullptr);
  EXPECT_EQ(Said(), (std::vector<std::string>{"in sheet deleted", "in window deleted"}));
}

TEST_F(PaneTree, DragDetectionAnswersFalseForAPaneClosedMeanwhile) {
  auto *p = new RecordingPane(window, "p", MakeRect(0, 0, 10, 10));
  g_idle_add(
      [](gpointer pane) {
        static_cast<SubPane *>(pane)->Close();
        return FALSE;
      },
      p);
  EXPECT_FALSE(p->IsDragDetected());
  EXPECT_EQ(Said(), (std::vector<std::string>{"p deleted"})) << "deleted once the check let go";
}

TEST_F(PaneTree, TheCursorUnderThePointerComesFromTheTopmostPaneThatHasOne) {
  gtk_widget_realize(window->GetFixed());
  auto *box = new RecordingPane(window, "box", MakeRect(10, 10, 200, 200));
  new RecordingPane(window, "button", MakeRect(20, 20, 40, 100));
  MouseCursor *watch = GetGTKCursor(GDK_WATCH);
  box->setMouseCursor(watch);
  window->ApplyCursorAt(30, 30);
  EXPECT_EQ(window->GetCursorCache().type, GDK_WATCH) << "the button has none: the box's shows";
  window->ApplyCursorAt(300, 300);
  EXPECT_EQ(window->GetCursorCache().type, 2) << "outside: the window's own, the arrow";

  // Each window keeps its own record of what it shows.
  auto *other = new RecordingWindow(MakeRect(0, 0, 100, 100));
  gtk_widget_realize(other->GetFixed());
  auto *inOther = new RecordingPane(other, "x", MakeRect(0, 0, 100, 100));
  inOther->setMouseCursor(watch);
  window->ApplyCursorAt(30, 30);
  int32_t before = Window::CursorsApplied();
  other->ApplyCursorAt(5, 5);
  EXPECT_EQ(Window::CursorsApplied(), before + 1) << "set on the other window too";
  window->ApplyCursorAt(31, 31);
  EXPECT_EQ(Window::CursorsApplied(), before + 1);

  // The application's cursor hides every pane's and window's.
  ApplicationObject app{};
  RuntimeObject *arrow = getArrowCursor();
  app.mouseCursor = arrow;
  RuntimeObject *registered = gApplicationObject;
  gApplicationObject = &app.header;
  window->ApplyCursorAt(30, 30);
  gApplicationObject = registered;
  EXPECT_EQ(window->GetCursorCache().type, 2);
  RuntimeUnlockObject(arrow);

  box->setMouseCursor(nullptr);
  inOther->setMouseCursor(nullptr);
  other->Close();
  DisposeMouseCursor(watch);
}

} // namespace
