// The row engine without a window: selection ranges as rows come and go
// (checked against a plain vector of flags under seeded random operations),
// the notifications, clicks with their modifiers, keys and the deferred
// refresh.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "ListTestSupport.h"
#include "foundation/QVTime.h"
#include "runtime/feedback/QVFeedback.h"
#include "runtime/loop/DeferredUpdates.h"
#include "support/WindowsTestSupport.h"

namespace {

class Selection : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    // 10 rows of 16 pixels fit from y = 1 to 161.
    list = std::make_unique<TestList>(nullptr, MakeRect(0, 0, 200, 163), 1);
  }
  void Rows(int n) {
    list->InsertRows(0, n);
    list->log.clear();
  }
  void Select(int first, int last) {
    for (int r = first; r <= last; ++r)
      list->setSelected(r, true);
    list->log.clear();
  }
  // A click on the middle of a row.
  bool Click(int row, int modifiers = 0) { return list->HandleClick(50, 1 + row * 16 + 8, modifiers); }

  std::unique_ptr<TestList> list;
};

TEST_F(Selection, InsertingSplitsARangeAndRemovingMovesWithOneNotificationPair) {
  Rows(12);
  Select(4, 6);
  list->InsertRows(5, 3);
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{4, 8, 9}));
  EXPECT_EQ(list->log, Strings{});

  list->ClearSelection();
  Select(0, 9);
  list->RemoveRows(2, 3);
  EXPECT_EQ(list->Ranges(), (Strings{"0..1", "2..6"})) << "ranges are not merged";
  EXPECT_EQ(list->log, (Strings{"changing", "change"}));
  EXPECT_EQ(list->GetRowCount(), 12);
}

TEST_F(Selection, RandomInsertsRemovalsAndTogglesAgreeWithAVectorOfFlags) {
  std::mt19937 random(4111);
  std::vector<bool> model;
  for (int step = 0; step < 3000; ++step) {
    const int n = static_cast<int>(model.size());
    switch (random() % 5) {
    case 0: {
      const int at = n ? static_cast<int>(random() % (n + 1)) : 0;
      const int count = 1 + static_cast<int>(random() % 4);
      list->InsertRows(at, count);
      model.insert(model.begin() + at, count, false);
      break;
    }
    case 1:
      if (n) {
        const int at = static_cast<int>(random() % n);
        const int count = 1 + static_cast<int>(random() % std::min(4, n - at));
        list->RemoveRows(at, count);
        model.erase(model.begin() + at, model.begin() + at + count);
      }
      break;
    case 2:
    case 3:
      if (n) {
        const int row = static_cast<int>(random() % n);
        const bool on = random() % 3 != 0;
        list->setSelected(row, on);
        model[row] = on;
      }
      break;
    default:
      if (n && random() % 4 == 0) {
        const int row = static_cast<int>(random() % n);
        list->SetSelection(row, false);
        model.assign(n, false);
        model[row] = true;
      }
      break;
    }
    ASSERT_EQ(list->GetRowCount(), static_cast<int32_t>(model.size()));
    int32_t count = 0, lowest = -1, highest = -1;
    for (int r = 0; r < static_cast<int>(model.size()); ++r) {
      ASSERT_EQ(list->getSelected(r), model[r]) << "row " << r << " step " << step;
      if (model[r]) {
        ++count;
        highest = r;
        if (lowest < 0)
          lowest = r;
      }
    }
    ASSERT_EQ(list->getSelCount(), count);
    ASSERT_EQ(list->Selection(), lowest);
    ASSERT_EQ(list->lastSelection(), highest);
    int32_t next = -1;
    for (int r = 0; r < static_cast<int>(model.size()); ++r)
      if (model[r]) {
        ASSERT_TRUE(list->nextSelectedRow(&next));
        ASSERT_EQ(next, r);
      }
    ASSERT_FALSE(list->nextSelectedRow(&next));
  }
}

TEST_F(Selection, ClicksSelectByTheirModifiers) {
  Rows(10);
  EXPECT_TRUE(Click(2));
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{2}));
  EXPECT_EQ(list->log, (Strings{"changing", "change"})) << "one pair per click";
  EXPECT_EQ(list->NotificationDepth(), 0);
  list->log.clear();

  Click(5, kListShiftKey); // from the anchor
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{2, 3, 4, 5}));
  EXPECT_EQ(list->log, (Strings{"changing", "change"}));
  Click(3, kListControlKey);
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{2, 4, 5}));
  EXPECT_EQ(list->FocusRow(), 3);
  Click(8, kListControlKey | kListShiftKey); // from the last click
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8}));

  // Below the last row: nothing selected.
  list->RemoveRows(9, 1);
  Click(9);
  EXPECT_EQ(list->Selected(), std::vector<int32_t>{});
  // With nothing selected the modifiers act like a plain click.
  Click(6, kListShiftKey);
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{6}));
  // Above the content: the provider's click (the heading row).
  list->log.clear();
  EXPECT_TRUE(list->HandleClick(50, 0, 0));
  EXPECT_EQ(list->log, (Strings{"external 50,0"}));
}

TEST_F(Selection, SingleSelectionIgnoresModifiersAndTheProviderMayTakeAClick) {
  auto single = std::make_unique<TestList>(nullptr, MakeRect(0, 0, 200, 163), 0);
  single->InsertRows(0, 5);
  single->HandleClick(50, 1 + 16 + 8, 0);
  single->HandleClick(50, 1 + 3 * 16 + 8, kListShiftKey);
  EXPECT_EQ(single->Selected(), (std::vector<int32_t>{3}));
  single->takeRowClicks = true;
  single->log.clear();
  single->HandleClick(50, 1 + 8, 0);
  EXPECT_EQ(single->log, (Strings{"row click 0"}));
  EXPECT_EQ(single->Selected(), (std::vector<int32_t>{3}));
}

TEST_F(Selection, ASecondClickInTheIntervalIsADoubleClickWithoutNotifications) {
  if (QV::GetDblTime() < 2)
    GTEST_SKIP() << "no double-click interval";
  Rows(10);
  // Repeat until both clicks fell within the interval on a slow machine.
  bool doubled = false;
  for (int attempt = 0; attempt < 5 && !doubled; ++attempt) {
    list->log.clear();
    Click(4, kListShiftKey); // other modifiers than the last click: a plain one
    const uint32_t first = QV::TickCount();
    list->log.clear();
    Click(4, kListShiftKey);
    if (QV::TickCount() - first < static_cast<uint32_t>(QV::GetDblTime()))
      doubled = true;
  }
  ASSERT_TRUE(doubled);
  EXPECT_EQ(list->log, Strings{"double"});
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{4}));
}

TEST_F(Selection, ArrowKeysNarrowOrMoveTheSelection) {
  Rows(10);
  list->setSelected(3, true);
  list->setSelected(7, true);
  EXPECT_TRUE(list->HandleKeyPress(30, 0, 0));
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{3}));
  EXPECT_EQ(list->FocusRow(), 3);
  list->setSelected(7, true);
  EXPECT_TRUE(list->HandleKeyPress(31, 0, 0));
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{7}));
  EXPECT_TRUE(list->HandleKeyPress(31, 0, kListShiftKey));
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{7, 8}));

  list->SetSelection(0, false);
  EXPECT_TRUE(list->HandleKeyPress(30, 0, 0)) << "up on row 0";
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{0}));
  list->SetSelection(9, false);
  EXPECT_TRUE(list->HandleKeyPress(31, 0, 0)) << "down on the last row";
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{9}));
  list->ClearSelection();
  EXPECT_TRUE(list->HandleKeyPress(31, 0, 0));
  EXPECT_EQ(list->Selected(), (std::vector<int32_t>{0}));

  EXPECT_FALSE(list->HandleKeyPress(30, 0, kListCommandKey));
  EXPECT_FALSE(list->HandleKeyPress('a', 0, 0));
  EXPECT_FALSE(list->HandleKeyPress(12, 0, 0)) << "page down without a scroll bar";
  EXPECT_TRUE(list->HandleKeyPress(1, 0, 0));
}

TEST_F(Selection, RowChangesCoalesceIntoOneDeferredRefresh) {
  Rows(3);
  applyDeferredUpdates();
  list->ClearContentInvalid();
  list->wholeInvalidations = 0;
  list->InsertRows(3, 1);
  list->InsertRows(4, 2);
  ASSERT_NE(list->PendingRefresh(), nullptr);
  EXPECT_EQ(list->PendingRefresh()->top, 1 + 3 * 16);
  EXPECT_EQ(list->PendingRefresh()->height, 3 * 16) << "the second insertion continues the first";
  list->RemoveRows(0, 1);
  EXPECT_EQ(list->PendingRefresh()->height, 0) << "another change: the whole list";
  EXPECT_EQ(list->log, Strings{"after row 0"});
  applyDeferredUpdates();
  EXPECT_EQ(list->PendingRefresh(), nullptr);
  EXPECT_EQ(list->wholeInvalidations, 1);
}

TEST_F(Selection, RowsWithoutHeightHoldNoPointAndEndEveryWalk) {
  Rows(100000);
  list->rowHeight = 0;
  int32_t row, dx, dy;
  EXPECT_FALSE(list->RowFromPoint(50, 20, &row, &dx, &dy));
  QV::Rect span, visible;
  EXPECT_FALSE(list->GetVisibleSpanBounds(0, 5, &span, &visible));
  EXPECT_TRUE(list->HandleClick(50, 20, 0));
  EXPECT_EQ(list->Selected(), std::vector<int32_t>{});
}

} // namespace
