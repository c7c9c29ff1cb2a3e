#include "listbox/ScrollingListbox.h"

#include <algorithm>

#include "graphics/Graphics.h"

ScrollingListbox::ScrollingListbox(ContainerPane *parent, int32_t tabPanelIndex,
                                   const QV::Rect &bounds)
    : CommonListbox(parent, tabPanelIndex, bounds) {
  UpdateColumnPositions();
}

void ScrollingListbox::SetFontSize(int32_t size) {
  Pane::SetFontSize(size);
  InvalidateRowHeight();
}

QV::Rect ScrollingListbox::GetContentRect() {
  const QV::Rect &b = Bounds();
  QV::Rect k;
  k.top = static_cast<int16_t>(b.top + Inset(kInsetTop));
  k.left = static_cast<int16_t>(b.left + Inset(kInsetLeft));
  k.bottom = static_cast<int16_t>(b.bottom - Inset(kInsetBottom));
  k.right = static_cast<int16_t>(b.right - Inset(kInsetRight));
  if (HeadingsShown())
    k.top = static_cast<int16_t>(k.top + HeadingHeight() - 1);
  if (mWantHScroller)
    k.bottom = static_cast<int16_t>(k.bottom - (mScrollerWidth + 2));
  if (mWantVScroller)
    k.right = static_cast<int16_t>(k.right - (mScrollerWidth + 2));
  return k;
}

QV::Rect ScrollingListbox::GetHeaderRect() {
  QV::Rect h{0, 0, 0, 0};
  if (!HeadingsShown())
    return h;
  const QV::Rect &b = Bounds();
  h.top = static_cast<int16_t>(b.top + Inset(kInsetTop));
  h.left = static_cast<int16_t>(b.left + Inset(kInsetLeft));
  h.right = static_cast<int16_t>(b.right - Inset(kInsetRight));
  h.bottom = static_cast<int16_t>(h.top + HeadingHeight() - 1);
  if (mWantVScroller)
    h.right = static_cast<int16_t>(h.right - (mScrollerWidth + 2));
  return h;
}

void ScrollingListbox::AdjustListBounds(QV::Rect *r, bool insets, bool heading) {
  if (insets) {
    r->top = static_cast<int16_t>(r->top + Inset(kInsetTop));
    r->left = static_cast<int16_t>(r->left + Inset(kInsetLeft));
    r->bottom = static_cast<int16_t>(r->bottom - Inset(kInsetBottom));
    r->right = static_cast<int16_t>(r->right - Inset(kInsetRight));
  }
  if (heading && HeadingsShown())
    r->top = static_cast<int16_t>(r->top + HeadingHeight() - 1);
}

int32_t ScrollingListbox::GetTotalContentWidth() {
  int32_t total = 0;
  for (int32_t c = 0; c < ColumnCount(); ++c)
    total += GetColWidthActual(c);
  return total;
}

int32_t ScrollingListbox::GetRowHeight(int32_t) {
  if (mRowHeightValid)
    return mRowHeight;
  Graphics *g = getGraphics();
  if (!g)
    return 0;
  g->TextSize(FontSize());
  mRowHeight = g->FontHeight();
  Graphics::Release(g);
  mRowHeightValid = 1;
  return mRowHeight;
}

void ScrollingListbox::InvalidateRowHeight() { mRowHeightValid = 0; }

void ScrollingListbox::PositionHScroller(QV::Rect *r) {
  *r = Bounds();
  if (HeadingsShown())
    r->top = static_cast<int16_t>(r->top + HeadingHeight() - 1);
  r->top = static_cast<int16_t>(r->bottom - mScrollerWidth);
  if (mWantVScroller)
    r->right = static_cast<int16_t>(r->right - (mScrollerWidth + 2));
}

void ScrollingListbox::PositionVScroller(QV::Rect *r) {
  *r = Bounds();
  r->left = static_cast<int16_t>(r->right - mScrollerWidth);
  if (mWantHScroller)
    r->bottom = static_cast<int16_t>(r->bottom - (mScrollerWidth + 2));
}

void ScrollingListbox::AddVScroller() {
  mWantVScroller = 1;
  if (mVScroller)
    return;
  QV::Rect r;
  PositionVScroller(&r);
  mVScroller = NewVerticalScroller(this, this, GetTabPanelIndex(), r, true, false);
  mVScroller->EnablePane(IsEnabled(), false);
  AdjustHScroller();
  AdjustVScroller();
}

void ScrollingListbox::AddHScroller() {
  mWantHScroller = 1;
  if (mHScroller)
    return;
  QV::Rect r;
  PositionHScroller(&r);
  mHScroller = NewHorizontalScroller(this, this, GetTabPanelIndex(), r, true, false);
  mHScroller->EnablePane(IsEnabled(), false);
  mHScroller->SetLineStep(16);
  AdjustHScroller();
  AdjustVScroller();
}

void ScrollingListbox::RemoveHScroller() {
  mWantHScroller = 0;
  if (Scroller *s = mHScroller) {
    mHScroller = nullptr;
    s->Close(); // its last lock
  }
}

void ScrollingListbox::RemoveVScroller() {
  mWantVScroller = 0;
  if (Scroller *s = mVScroller) {
    mVScroller = nullptr;
    s->Close();
  }
  AdjustHScroller();
}

void ScrollingListbox::AdjustHScroller() {
  if (!mHScroller)
    return;
  const QV::Rect &b = Bounds();
  int32_t visible = (b.right - b.left) - Inset(kInsetLeft) - Inset(kInsetRight);
  if (mWantVScroller)
    visible -= mScrollerWidth;
  mHScroller->SetMinimum(0);
  mHScroller->SetPageStep(visible - 20);
  mHScroller->SetMaximum(std::max(0, GetTotalContentWidth() - visible));
}

void ScrollingListbox::AdjustVScroller() {
  QV::Rect r = Bounds();
  AdjustListBounds(&r, true, true);
  int32_t h = GetRowHeight(-1);
  if (h <= 0)
    h = 12;
  if (mWantHScroller)
    r.bottom = static_cast<int16_t>(r.bottom - mScrollerWidth);
  if (!mVScroller)
    return;
  const int32_t rows = (r.bottom - r.top) / h;
  const int32_t count = GetRowCount();
  int32_t maximum = count - rows;
  const int32_t value = mVScroller->GetValue();
  if (value < count && value > maximum)
    maximum = value;
  mVScroller->SetMinimum(0);
  mVScroller->SetMaximum(std::max(0, maximum));
  if (rows > 1) {
    mVScroller->SetPageStep(rows - 1);
    mRowsPerPage = rows - 1;
  } else {
    mRowsPerPage = 1;
  }
}

bool ScrollingListbox::HandleMouseWheel(int32_t x, int32_t y, int32_t delta) {
  return mVScroller ? mVScroller->HandleMouseWheel(x, y, delta) : false;
}

bool ScrollingListbox::HandleDragOver(int32_t x, int32_t y) {
  if (mVScroller) {
    if (y <= 3)
      mVScroller->SetValue(mVScroller->GetValue() - mVScroller->GetLineStep());
    else if (y >= Height() - 3)
      mVScroller->SetValue(mVScroller->GetValue() + mVScroller->GetLineStep());
  }
  return SubPane::HandleDragOver(x, y);
}

void ScrollingListbox::ClipContentRight(QV::Rect *r) {
  int32_t right = Bounds().right;
  if (mVScroller)
    right -= mScrollerWidth;
  r->right = static_cast<int16_t>(std::min<int32_t>(r->right, right));
}

void ScrollingListbox::ClipContentBottom(QV::Rect *r) {
  int32_t bottom = Bounds().bottom;
  if (mHScroller)
    bottom -= mScrollerWidth;
  r->bottom = static_cast<int16_t>(std::min<int32_t>(r->top + GetRowHeight(-1), bottom));
}
