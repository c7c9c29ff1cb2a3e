// The layer of the list box between the column geometry and the row engine:
// where the frame, the heading row, the content and the two scroll bars lie
// inside the pane's bounds, the scroll bars' creation, placement and ranges,
// the cached row height and the sum of the column widths.
#pragma once
#include <cstdint>

#include "controls/Scroller.h"
#include "listbox/CommonListbox.h"

class ScrollingListbox : public CommonListbox, public ScrollerDelegate {
public:
  ScrollingListbox(ContainerPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds);

  void SetFontSize(int32_t size) override;
  bool HandleDragOver(int32_t x, int32_t y) override;
  bool HandleMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  QV::Rect GetContentRect() override;
  QV::Rect GetHeaderRect() override;
  void AdjustHScroller() override;

  virtual int32_t GetTotalContentWidth();
  virtual int32_t GetRowHeight(int32_t row);
  virtual void AdjustListBounds(QV::Rect *rect, bool insets, bool heading);
  virtual void InvalidateRowHeight();
  virtual int32_t GetRowCount() = 0;

  static int32_t GetScrollerWidth() { return 16; }
  void AddVScroller();
  void AddHScroller();
  void RemoveVScroller();
  void RemoveHScroller();
  void PositionVScroller(QV::Rect *r);
  void PositionHScroller(QV::Rect *r);
  void AdjustVScroller();
  void ClipContentRight(QV::Rect *r);
  void ClipContentBottom(QV::Rect *r);

  Scroller *VScroller() const { return mVScroller; }
  Scroller *HScroller() const { return mHScroller; }
  bool WantsHScroller() const { return mWantHScroller; }
  bool WantsVScroller() const { return mWantVScroller; }
  // Rows a page scroll moves, kept by AdjustVScroller.
  int32_t RowsPerPage() const { return mRowsPerPage; }

protected:
  uint8_t mRowHeightValid = 0;
  int32_t mRowHeight = 0;
  int32_t mScrollRow = 0;
  uint8_t mWantHScroller = 0;
  uint8_t mWantVScroller = 0;
  Scroller *mVScroller = nullptr;
  Scroller *mHScroller = nullptr;
  int32_t mScrollerWidth = 16;
  int32_t mRowsPerPage = 1;
};
