// The row engine and its heading row in a real window, driven by xdotool:
// the layout of the frame, heading and scroll bars, the scroll range as rows
// go, clicks, drags, keys and the wheel, heading clicks and border drags.
#include <gtest/gtest.h>

#include "ListTestSupport.h"
#include "listbox/CommonListboxHeader.h"
#include "runtime/loop/DeferredUpdates.h"
#include "runtime/loop/PaneInterface.h"
#include "support/WindowsTestSupport.h"

namespace {

// Passes heading clicks and border drags to the heading row, as the list
// box's own click routing does.
class WindowList : public TestList {
public:
  using TestList::TestList;
  bool HandleExternalClick(int32_t x, int32_t y, int32_t modifiers) override {
    TestList::HandleExternalClick(x, y, modifiers);
    if (Header() && Header()->HandleClick(x, y, modifiers)) {
      SetHeaderTracking(Header()->ResizeTarget() != nullptr);
      return true;
    }
    return false;
  }
  void HandleMouseDrag(int32_t x, int32_t y) override {
    if (HeaderTracking())
      Header()->HandleMouseDrag(x, y);
    else
      TestList::HandleMouseDrag(x, y);
  }
  void HandleMouseUp(int32_t x, int32_t y) override {
    if (HeaderTracking()) {
      SetHeaderTracking(false);
      ReleaseMouse();
      return;
    }
    TestList::HandleMouseUp(x, y);
  }
};

std::string Rect4(const QV::Rect &r) {
  return std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) +
         "," + std::to_string(r.right);
}

class ListInWindow : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    w = new RecordingWindow(MakeRect(50, 60, 450, 400));
  }
  void TearDown() override {
    if (w)
      w->Close();
    StepUntil([] { return true; });
  }
  WindowList *Make(const QV::Rect &bounds, int32_t selectionType) {
    auto *list = new WindowList(w, bounds, selectionType, true);
    EXPECT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(list->GetWidget()); }));
    EXPECT_TRUE(XDoTool("windowfocus --sync " + std::to_string(XidOf(w))));
    return list;
  }
  std::string At(int x, int y) {
    return "mousemove --window " + std::to_string(XidOf(w)) + " " + std::to_string(x) + " " +
           std::to_string(y) + " ";
  }
  void Settle() {
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
    applyDeferredUpdates();
  }

  RecordingWindow *w = nullptr;
};

TEST_F(ListInWindow, FrameHeadingAndScrollBarsShareThePane) {
  WindowList *list = Make(MakeRect(0, 0, 200, 100), 0);
  EXPECT_EQ(Rect4(list->GetContentRect()), "1,1,98,198");
  EXPECT_EQ(Rect4(list->GetHeaderRect()), "0,0,0,0");
  list->SetHeadingsShown(true);
  list->AddVScroller();
  list->AddHScroller();
  list->MovePane(list->Bounds(), false);
  EXPECT_EQ(Rect4(list->GetContentRect()), "20,1,80,180");
  EXPECT_EQ(Rect4(list->GetHeaderRect()), "1,1,20,180");
  EXPECT_EQ(Rect4(list->VScroller()->Bounds()), "0,184,82,200");
  EXPECT_EQ(Rect4(list->HScroller()->Bounds()), "84,0,100,182");
  list->RemoveHScroller();
  list->RemoveVScroller();
  EXPECT_EQ(list->VScroller(), nullptr);
  EXPECT_EQ(Rect4(list->GetContentRect()), "20,1,98,198");
}

TEST_F(ListInWindow, TheScrollMaximumKeepsTheCurrentRowWhileItExists) {
  // Four rows of 16 pixels fit in 67 - 3.
  for (auto [removed, maximum] : {std::pair{3, 6}, {5, 1}}) {
    WindowList *list = Make(MakeRect(10, 10, 200, 77), 0);
    list->AddVScroller();
    list->InsertRows(0, 10);
    Settle();
    EXPECT_EQ(list->VScroller()->GetMaximum(), 6);
    list->SetScrollRow(6);
    EXPECT_EQ(list->GetScrollRow(), 6);
    list->RemoveRows(0, removed);
    Settle();
    EXPECT_EQ(list->VScroller()->GetMaximum(), maximum) << removed << " rows removed";
    list->Close();
  }
}

TEST_F(ListInWindow, ClicksDragsAndKeysSelectRows) {
  WindowList *list = Make(MakeRect(20, 20, 220, 183), 0);
  list->InsertRows(0, 10);
  Settle();
  // Row r lies from y = 21 + 16 r.
  ASSERT_TRUE(XDoToolUntil(At(60, 21 + 2 * 16 + 8) + "click 1",
                           [&] { return list->Selection() == 2; }));
  // A drag moves the single selection with the mouse.
  ASSERT_TRUE(XDoToolUntil(At(60, 21 + 4 * 16 + 8) + "mousedown 1",
                           [&] { return list->Selection() == 4; }));
  ASSERT_TRUE(XDoToolUntil(At(60, 21 + 6 * 16 + 8), [&] { return list->Selection() == 6; }));
  ASSERT_TRUE(XDoToolUntil("mouseup 1", [&] { return GetCaptureMouse() == nullptr; }));
  Settle();
  EXPECT_EQ(list->NotificationDepth(), 0);
  // The focus came with the click: the arrows move the selection.
  ASSERT_TRUE(XDoToolUntil("key Up", [&] { return list->Selection() == 5; }));
  ASSERT_TRUE(XDoToolUntil("key Down", [&] { return list->Selection() == 6; }));
}

// The window passes every press as a plain click (modified clicks are
// covered without a window); two quick presses on one row are a double click.
TEST_F(ListInWindow, TwoQuickClicksOnOneRowAreADoubleClick) {
  WindowList *list = Make(MakeRect(20, 20, 220, 183), 1);
  list->InsertRows(0, 10);
  Settle();
  ASSERT_TRUE(XDoToolUntil(At(60, 21 + 1 * 16 + 8) + "click 1",
                           [&] { return list->Selection() == 1; }));
  list->log.clear();
  ASSERT_TRUE(XDoToolUntil(At(60, 21 + 7 * 16 + 8) + "click --repeat 2 --delay 30 1", [&] {
    return std::count(list->log.begin(), list->log.end(), "double") > 0;
  }));
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{7}));
  EXPECT_EQ(std::count(list->log.begin(), list->log.end(), "changing"), 1)
      << "the second click of the pair changes no selection";
}

TEST_F(ListInWindow, AWheelNotchScrollsThreeRowsUnlessTheScrollBarIsDisabled) {
  WindowList *list = Make(MakeRect(20, 20, 220, 183), 0);
  list->AddVScroller();
  list->InsertRows(0, 40);
  Settle();
  ASSERT_TRUE(XDoToolUntil(At(60, 60) + "click 5", [&] { return list->GetScrollRow() != 0; }));
  EXPECT_EQ(list->GetScrollRow(), 3);
  list->VScroller()->EnablePane(false, true);
  EXPECT_TRUE(list->HandleMouseWheel(60, 60, 3)) << "consumed all the same";
  EXPECT_EQ(list->GetScrollRow(), 3);
}

TEST_F(ListInWindow, AHeadingClickPressesItsColumnAndASecondFlipsTheDirection) {
  WindowList *list = Make(MakeRect(20, 20, 323, 183), 0);
  list->SetColumnCount(3);
  list->SetHeadingsShown(true);
  for (int c = 0; c < 3; ++c)
    list->SetColWidthExpression(c, string("*"));
  list->ReCalculateColumnWidths();
  Settle();
  // Columns 100 pixels wide from x = 21; headings from y = 21.
  CommonListboxHeader *second = list->Header()->Next()->Next();
  ASSERT_EQ(list->Header()->ColumnOf(second), 1);
  list->log.clear();
  ASSERT_TRUE(XDoToolUntil(At(170, 30) + "click 1",
                           [&] { return second->Button()->getValue() == 1; }));
  Settle();
  EXPECT_EQ(std::count(list->log.begin(), list->log.end(), "press 1"), 1);
  EXPECT_EQ(list->GetSortColumnDirection(1), 1);
  ASSERT_TRUE(XDoToolUntil(At(170, 30) + "click 1",
                           [&] { return list->GetSortColumnDirection(1) == -1; }));
  EXPECT_EQ(second->Button()->SortDirection(), -1);
}

TEST_F(ListInWindow, ABorderDragResizesTheColumnAgainstItsNeighbour) {
  WindowList *list = Make(MakeRect(20, 20, 323, 183), 0);
  list->SetColumnCount(2);
  list->SetHeadingsShown(true);
  list->SetUserResizable(true);
  list->SetColWidthExpression(0, string("*"));
  list->SetColWidthExpression(1, string("*"));
  list->ReCalculateColumnWidths();
  Settle();
  ASSERT_EQ(list->GetColRight(0), 171);
  ASSERT_TRUE(XDoToolUntil(At(170, 30) + "mousedown 1", [&] { return list->HeaderTracking(); }));
  ASSERT_TRUE(XDoToolUntil(At(230, 30), [&] { return list->GetColRight(0) > 200; }));
  ASSERT_TRUE(XDoToolUntil("mouseup 1", [&] { return !list->HeaderTracking(); }));
  EXPECT_EQ(list->GetColWidthActual(0) + list->GetColWidthActual(1), 300);
  EXPECT_GT(list->GetColWidthActual(0), 200);
}

} // namespace
