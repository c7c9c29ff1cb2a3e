#include "listbox/NuListbox.h"

#include <algorithm>

#include "foundation/AssertionAlert.h"
#include "foundation/QVTime.h"
#include "graphics/Graphics.h"
#include "runtime/feedback/QVFeedback.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/Window.h"

namespace {

constexpr AlertSite kNilProvider{"NuListbox.cpp", 196, "mProvider"};

int32_t Now() { return static_cast<int32_t>(QV::TickCount()); }

} // namespace

void NuListboxDelegate::ListboxDoubleClick(NuListbox *) {}
void NuListboxDelegate::ListboxSelChanging(NuListbox *) {}
void NuListboxDelegate::ListboxSelChange(NuListbox *) {}
void NuListboxDelegate::ListboxScrolled(NuListbox *, int32_t) {}
bool NuListboxDelegate::ListboxDragReorderRows(NuListbox *, int32_t) { return false; }

NuListbox::NuListbox(NuListboxDelegate *delegate, NuListboxProvider *provider,
                     ContainerPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds,
                     bool constantRowHeight, int32_t selectionType)
    : ScrollingListbox(parent, tabPanelIndex, bounds), mConstantRowHeight(constantRowHeight),
      mProvider(provider), mSelectionType(selectionType), mDelegate(delegate) {
  if (!provider)
    ShowAlert(kNilProvider);
}

NuListbox::~NuListbox() {
  removeDeferredUpdate(this);
  while (NuSelectionRange *r = mSelection) {
    mSelection = r->next;
    delete r;
  }
  delete mPendingRefresh;
}

int32_t NuListbox::GetRowCount() { return mRowCount; }
int32_t NuListbox::GetTotalContentWidth() { return 0; }
bool NuListbox::FocusOnClick() { return true; }
void NuListbox::TriggerRefresh() {}
void NuListbox::ScrollContentHorizontally(int32_t) {}
void NuListbox::SetScrollPositionX(int32_t) {}
void NuListbox::DrawFocusRow(Graphics *) {}
void NuListbox::DrawFocusRing(Graphics *) {}
void NuListbox::LockListbox() {}
void NuListbox::UnlockListbox() {}
bool NuListbox::HandleCmdKeyPress(int32_t, int32_t, int32_t) { return false; }

QV::Rect NuListbox::RowArea() {
  QV::Rect r = Bounds();
  AdjustListBounds(&r, true, true);
  return r;
}

// ---- geometry

bool NuListbox::RowFromPoint(int32_t x, int32_t y, int32_t *row, int32_t *dx, int32_t *dy) {
  const int32_t h = GetRowHeight(-1);
  if (h <= 0)
    return false; // rows without height hold no point, and a walk would not end
  const QV::Rect &b = Bounds();
  int32_t top = RowArea().top;
  for (int32_t i = mScrollRow; i < mRowCount && top < b.bottom; ++i, top += h) {
    if (y >= top && y < top + h && x >= b.left && x < b.right) {
      *row = i;
      *dx = x - b.left;
      *dy = y - top;
      return true;
    }
  }
  return false;
}

bool NuListbox::GetVisibleSpanBounds(int32_t first, int32_t count, QV::Rect *span,
                                     QV::Rect *visible) {
  if (!IsShowing() || first < mScrollRow || count <= 0)
    return false;
  const int32_t h = GetRowHeight(-1);
  if (h <= 0)
    return false;
  const QV::Rect k = GetContentRect();
  const int32_t bottom = Bounds().bottom;
  const int32_t last = first + count - 1;
  int32_t top = RowArea().top;
  bool any = false;
  QV::Rect u{0, 0, 0, 0};
  for (int32_t i = mScrollRow; i <= last && top < bottom; ++i, top += h) {
    if (i < first)
      continue;
    if (!any) {
      u.top = static_cast<int16_t>(top);
      u.left = k.left;
      u.right = k.right;
    }
    u.bottom = static_cast<int16_t>(top + h);
    any = true;
  }
  if (!any)
    return false;
  *span = u;
  return QV::SectRect(&u, &k, visible);
}

// ---- clicks and drags

bool NuListbox::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  if (!IsEnabled())
    return true;
  mToggleState = 0;
  const QV::Rect k = GetContentRect();
  QV::Point pt{y, x};
  if (!QV::PtInRect(pt, &k)) {
    if (y < k.top && x <= k.right) {
      mProvider->HandleExternalClick(x, y, modifiers);
      return true;
    }
    return false;
  }
  if (SubPane::HandleClick(x, y, modifiers))
    return true;
  if (AcceptFocus() && FocusOnClick())
    SetFocus();
  int32_t row, dx, dy;
  if (!RowFromPoint(x, y, &row, &dx, &dy)) {
    mLastClickRow = -1;
    NotifyChanging();
    ++mNotificationDepth;
    SetSelection(-1, true);
  } else {
    if (mProvider->HandleRowClick(row, dx, dy, modifiers))
      return true;
    const int32_t now = Now();
    if (now - mLastClickTime < QV::GetDblTime() && row == mLastClickRow && !mMovedSinceClick &&
        modifiers == mLastClickModifiers) {
      if (mDelegate)
        mDelegate->ListboxDoubleClick(this);
      mLastClickTime = now;
      return true;
    }
    NotifyChanging();
    ++mNotificationDepth;
    const bool extend = MultipleSelection() && getSelCount() > 0;
    const bool shift = extend && (modifiers & kListShiftKey);
    const bool control = extend && (modifiers & kListControlKey);
    if (shift && control) {
      SpreadSelection(mLastClickRow, row);
    } else if (control) {
      HideFocusRow();
      mToggleState = getSelected(row);
      setSelected(row, !mToggleState);
      mFocusRow = row;
    } else if (shift) {
      HideFocusRow();
      ClearSelection();
      SpreadSelection(mAnchorRow, row);
      mFocusRow = row;
    } else {
      HideFocusRow();
      mAnchorRow = row;
      mLastClickTime = now;
      SetSelection(row, false);
      mFocusRow = row;
    }
    mLastClickRow = row;
  }
  mLastClickModifiers = modifiers;
  if (StillDown()) {
    CaptureMouse(this);
  } else {
    mLastClickTime = Now();
    if (mNotificationDepth > 0)
      --mNotificationDepth;
    NotifyChanged();
  }
  mMovedSinceClick = 0;
  return true;
}

void NuListbox::HandleMouseUp(int32_t, int32_t) {
  mLastClickTime = Now();
  if (mNotificationDepth > 0)
    --mNotificationDepth;
  NotifyChanged();
}

void NuListbox::HandleMouseDrag(int32_t x, int32_t y) {
  QV::Rect r = RowArea();
  if (mHScroller)
    r.bottom = static_cast<int16_t>(r.bottom - mScrollerWidth);
  int32_t target = -1;
  bool haveTarget = false;
  if (mVScroller) {
    const int32_t v = mVScroller->GetValue();
    if (y < r.top && v > 0) {
      mVScroller->SetValue(v - 1);
      if (Selection() != mScrollRow) {
        target = mScrollRow;
        haveTarget = true;
      } else {
        return;
      }
    } else if (y < r.top) {
      if (!MultipleSelection() && !(mFocusRow == 0 && getSelCount() == 0)) {
        HideFocusRow();
        SetSelection(-1, true);
        mFocusRow = 0;
      }
      return;
    } else if (y >= r.bottom && v < mVScroller->GetMaximum()) {
      mVScroller->SetValue(v + 1);
    }
  }
  if (!haveTarget) {
    int32_t dx, dy;
    if (!RowFromPoint(x, y, &target, &dx, &dy)) {
      if (!MultipleSelection() && getSelCount() > 0) {
        HideFocusRow();
        SetSelection(-1, true);
        mFocusRow = mRowCount > 0 ? mRowCount - 1 : 0;
      }
      return;
    }
  }
  if (target != mLastClickRow)
    mMovedSinceClick = 1;
  if (!MultipleSelection()) {
    if (target != Selection()) {
      SetSelection(target, false);
      mFocusRow = target;
    }
    return;
  }
  const bool wanted = !mToggleState;
  if (target == mLastClickRow && getSelected(target) == wanted)
    return;
  if (mLastClickRow >= 0) {
    const int32_t step = target >= mLastClickRow ? 1 : -1;
    for (int32_t i = mLastClickRow;; i += step) {
      setSelected(i, wanted);
      if (i == target)
        break;
    }
  } else {
    setSelected(target, wanted);
  }
  mLastClickRow = target;
  mFocusRow = target;
}

// ---- keys

void NuListbox::SelectByKey(int32_t row, bool add) {
  HideFocusRow();
  revealRow(row);
  if (add)
    setSelected(row, true);
  else
    SetSelection(row, true);
  mFocusRow = row;
}

bool NuListbox::HandleKeyPress(int32_t ch, int32_t, int32_t modifiers) {
  if (modifiers & kListCommandKey)
    return false;
  const int32_t n = getSelCount();
  const bool shift = MultipleSelection() && (modifiers & kListShiftKey);
  switch (ch) {
  case 1:
    if (mVScroller)
      mVScroller->SetValue(0);
    return true;
  case 4:
    if (mVScroller)
      mVScroller->SetValue(mVScroller->GetMaximum());
    return true;
  case 11:
    if (!mVScroller)
      return false;
    mVScroller->SetValue(std::max(0, mVScroller->GetValue() - mRowsPerPage));
    return true;
  case 12:
    if (!mVScroller)
      return false;
    mVScroller->SetValue(std::min(mVScroller->GetMaximum(), mVScroller->GetValue() + mRowsPerPage));
    return true;
  case 30: {
    // Shift extends upwards while it can; otherwise the selection narrows
    // to one row, moved up when it was one row.
    const int32_t s = Selection();
    if (shift && n > 0 && s > 0)
      SelectByKey(s - 1, true);
    else if (n > 1)
      SelectByKey(s, false);
    else if (n == 1 && s > 0)
      SelectByKey(s - 1, false);
    else if (n == 0 && mRowCount > 0)
      SelectByKey(0, false);
    return true;
  }
  case 31: {
    const int32_t s = lastSelection();
    if (shift && n > 0 && s + 1 < mRowCount)
      SelectByKey(s + 1, true);
    else if (n > 1)
      SelectByKey(s, false);
    else if (n == 1 && s + 1 < mRowCount)
      SelectByKey(s + 1, false);
    else if (n == 0 && mRowCount > 0)
      SelectByKey(0, false);
    return true;
  }
  default:
    return false;
  }
}

// ---- scrolling

void NuListbox::revealRow(int32_t row) {
  if (!mVScroller)
    return;
  if (row < mScrollRow) {
    mVScroller->SetValue(row);
    return;
  }
  const int32_t h = GetRowHeight(-1);
  if (h <= 0)
    return;
  const QV::Rect k = GetContentRect();
  int32_t remaining = k.bottom - k.top;
  int32_t top = row;
  while (top >= 0 && remaining > h) {
    remaining -= h;
    --top;
  }
  ++top;
  if (top > mScrollRow)
    mVScroller->SetValue(top);
}

void NuListbox::ScrollerValueChanged(Scroller *scroller, int32_t oldValue, int32_t newValue) {
  if (oldValue == newValue)
    return;
  const int32_t focus = mFocusRow;
  HideFocusRow();
  if (scroller == mVScroller)
    ScrollContentVertically(oldValue, newValue);
  else if (scroller == mHScroller)
    ScrollContentHorizontally(newValue);
  ShowFocusRow(focus);
}

void NuListbox::ScrollContentVertically(int32_t oldRow, int32_t newRow) {
  mScrollRow = newRow;
  DropPendingRefresh();
  if (!mContentInvalid)
    InvalidatePane(true);
  if (mDelegate)
    mDelegate->ListboxScrolled(this, (oldRow - newRow) * GetRowHeight(-1));
  AdjustVScroller();
}

void NuListbox::SetScrollRow(int32_t row) {
  if (mVScroller) {
    if (row >= mVScroller->GetMaximum())
      AdjustVScroller();
    mVScroller->SetValue(row);
  } else {
    ScrollContentVertically(mScrollRow, row);
  }
}

bool NuListbox::HandleMouseWheel(int32_t, int32_t, int32_t delta) {
  if (mVScroller && mVScroller->IsEnabled())
    SetScrollRow(mScrollRow + delta);
  return true;
}

// ---- the focus mark

void NuListbox::ShowFocusRow(int32_t row) {
  mFocusRow = row;
  if (row >= 0 && !mQuietSelection)
    InvalidateRow(row);
}

void NuListbox::HideFocusRow() {
  if (mFocusRow >= 0 && !mQuietSelection)
    InvalidateRow(mFocusRow);
  mFocusRow = -1;
}

// ---- focus, actions, moving and drawing hooks

bool NuListbox::AcceptFocus() { return IsEnabled() && IsShowing(); }

void NuListbox::GainedFocus() {
  mHasFocus = 1;
  if (mFocusRingEnabled && mFocusRingAllowed)
    SelectPane();
  if (Graphics *g = getGraphics()) {
    DrawFocusRow(g);
    Graphics::Release(g);
  }
}

void NuListbox::LostFocus() { mHasFocus = 0; }

void NuListbox::HandleAction(int32_t action) {
  if (action == 1000 && AcceptFocus()) {
    bool other = false;
    if (Window *w = GetWindow())
      for (int32_t i = 0; i < w->CountPanes() && !other; ++i) {
        SubPane *p = w->PaneAt(i);
        other = p != this && p->IsShowing() && p->AcceptFocus();
      }
    mFocusRingEnabled = other;
  }
  if (action == 1000 || action == 1001 || action == 5 || action == 6)
    InvalidateCell(-1, -1);
  SubPane::HandleAction(action);
}

void NuListbox::MovePane(const QV::Rect &r, bool redraw) {
  CommonListbox::MovePane(r, redraw);
  QV::Rect place;
  if (mVScroller) {
    PositionVScroller(&place);
    mVScroller->MovePane(place, redraw);
  }
  if (mHScroller) {
    PositionHScroller(&place);
    mHScroller->MovePane(place, redraw);
  }
  AdjustVScroller();
}

bool NuListbox::UpdateBounds(QV::Rect *r) {
  *r = Bounds();
  QV::InsetRect(r, -4, -4);
  return true;
}

bool NuListbox::OpaqueBounds(QV::Rect *r) {
  *r = Bounds();
  return true;
}

void NuListbox::DrawIntoOffscreen(Graphics *g) {
  ++mOffscreenDepth;
  Redraw(g);
  SubPane::DrawIntoOffscreen(g);
  --mOffscreenDepth;
}
