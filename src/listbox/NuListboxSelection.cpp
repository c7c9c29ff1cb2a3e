// The selection of the row engine: unmerged ranges, their queries and
// changes, and how inserting and removing rows moves them.
#include <algorithm>

#include "listbox/NuListbox.h"

int32_t NuListbox::Selection() {
  int32_t lowest = mRowCount;
  for (NuSelectionRange *r = mSelection; r; r = r->next)
    lowest = std::min(lowest, r->first);
  return lowest < mRowCount ? lowest : -1;
}

int32_t NuListbox::lastSelection() {
  int32_t highest = -1;
  for (NuSelectionRange *r = mSelection; r; r = r->next)
    highest = std::max(highest, r->first + r->count - 1);
  return highest;
}

bool NuListbox::getSelected(int32_t row) {
  for (NuSelectionRange *r = mSelection; r; r = r->next)
    if (row >= r->first && row < r->first + r->count)
      return true;
  return false;
}

int32_t NuListbox::getSelCount() {
  int32_t n = 0;
  for (NuSelectionRange *r = mSelection; r; r = r->next)
    n += r->count;
  return n;
}

bool NuListbox::nextSelectedRow(int32_t *row) {
  const int32_t after = *row;
  int32_t best = mRowCount;
  for (NuSelectionRange *r = mSelection; r; r = r->next) {
    const int32_t last = r->first + r->count - 1;
    if (last <= after)
      continue;
    if (r->first <= after) {
      *row = after + 1;
      return true;
    }
    best = std::min(best, r->first);
  }
  if (best >= mRowCount)
    return false;
  *row = best;
  return true;
}

void NuListbox::NotifyChanging() {
  if (mDelegate && mNotificationDepth == 0)
    mDelegate->ListboxSelChanging(this);
}

void NuListbox::NotifyChanged() {
  if (mDelegate && mNotificationDepth == 0)
    mDelegate->ListboxSelChange(this);
}

void NuListbox::ClearSelection() {
  while (NuSelectionRange *r = mSelection) {
    mSelection = r->next;
    if (!mQuietSelection)
      for (int32_t i = 0; i < r->count; ++i)
        InvalidateRow(r->first + i);
    delete r;
  }
}

void NuListbox::SetSelection(int32_t row, bool reveal) {
  if (row < 0 || row >= mRowCount)
    row = -1;
  NotifyChanging();
  ClearSelection();
  if (row >= 0) {
    mSelection = new NuSelectionRange{nullptr, row, 1};
    if (!mQuietSelection) {
      InvalidateRow(row);
      if (reveal)
        revealRow(row);
    }
  }
  NotifyChanged();
}

void NuListbox::setSelected(int32_t row, bool selected) {
  if (row < 0 || row >= mRowCount)
    return;
  NotifyChanging();
  if (getSelected(row) != selected) {
    if (selected) {
      NuSelectionRange *grown = nullptr;
      for (NuSelectionRange *r = mSelection; r && !grown; r = r->next) {
        if (r->first + r->count == row) {
          ++r->count;
          grown = r;
        } else if (r->first == row + 1) {
          r->first = row;
          ++r->count;
          grown = r;
        }
      }
      if (!grown)
        mSelection = new NuSelectionRange{mSelection, row, 1};
    } else {
      for (NuSelectionRange **link = &mSelection; *link; link = &(*link)->next) {
        NuSelectionRange *r = *link;
        if (row < r->first || row >= r->first + r->count)
          continue;
        if (r->count == 1) {
          *link = r->next;
          delete r;
        } else if (row == r->first) {
          ++r->first;
          --r->count;
        } else if (row == r->first + r->count - 1) {
          --r->count;
        } else {
          r->next = new NuSelectionRange{r->next, row + 1, r->first + r->count - row - 1};
          r->count = row - r->first;
        }
        break;
      }
    }
    InvalidateRow(row);
  }
  NotifyChanged();
}

void NuListbox::SpreadSelection(int32_t a, int32_t b) {
  const bool aValid = a >= 0 && a < mRowCount, bValid = b >= 0 && b < mRowCount;
  if (aValid && bValid) {
    for (int32_t i = std::min(a, b); i <= std::max(a, b); ++i)
      setSelected(i, true);
  } else if (aValid) {
    setSelected(a, true);
  } else {
    setSelected(b, true);
  }
}

void NuListbox::InsertRows(int32_t first, int32_t count) {
  if (count <= 0)
    return;
  mRowCount += count;
  for (NuSelectionRange *r = mSelection; r; r = r->next) {
    if (r->first >= first) {
      r->first += count;
    } else if (r->first + r->count > first) {
      // Split: the part from first on moves down with the new rows.
      r->next = new NuSelectionRange{r->next, first + count, r->first + r->count - first};
      r->count = first - r->first;
      r = r->next;
    }
  }
  QV::Rect span, visible;
  const bool inView = !mContentInvalid && GetVisibleSpanBounds(first, count, &span, &visible);
  ScheduleRefresh(first, count, true, inView ? &span : nullptr);
}

void NuListbox::RemoveRows(int32_t first, int32_t count) {
  if (count <= 0)
    return;
  QV::Rect span, visible;
  const bool inView = !mContentInvalid && GetVisibleSpanBounds(first, count, &span, &visible);
  const int32_t end = first + count;
  bool touched = false;
  auto touch = [&] {
    if (!touched && mDelegate)
      mDelegate->ListboxSelChanging(this);
    touched = true;
  };
  for (NuSelectionRange **link = &mSelection; *link;) {
    NuSelectionRange *r = *link;
    const int32_t rEnd = r->first + r->count;
    if (r->first >= end) {
      touch();
      r->first -= count;
    } else if (r->first < first) {
      if (rEnd > first) {
        touch();
        r->count = first - r->first;
        if (rEnd > end) {
          // Its part after the removed rows: already in place, skipped.
          r->next = new NuSelectionRange{r->next, first, rEnd - end};
          link = &r->next->next;
          continue;
        }
      }
    } else {
      // Starts inside the removed rows: only its part after them stays.
      touch();
      r->first = first;
      r->count = std::max(0, rEnd - end);
    }
    if (r->count <= 0) {
      *link = r->next;
      delete r;
      continue;
    }
    link = &r->next;
  }
  if (touched && mDelegate && mNotificationDepth == 0)
    mDelegate->ListboxSelChange(this);
  mRowCount = std::max(0, mRowCount - count);
  ScheduleRefresh(first, count, false, inView ? &span : nullptr);
}

void NuListbox::ScheduleRefresh(int32_t first, int32_t, bool insertion, const QV::Rect *span) {
  if (span) {
    const int32_t height = (span->bottom - span->top) * (insertion ? 1 : -1);
    if (!mPendingRefresh) {
      mPendingRefresh = new NuListboxUpdate{span->top, height};
      addDeferredUpdate(this);
    } else if (insertion ? mPendingRefresh->height > 0 &&
                               span->top == mPendingRefresh->top + mPendingRefresh->height
                         : mPendingRefresh->height < 0 && span->top == mPendingRefresh->top) {
      mPendingRefresh->height += height;
    } else {
      mPendingRefresh->height = 0;
      InvalidateRowAndAllAfter(first);
    }
  }
  if (!mPendingRefresh) {
    mPendingRefresh = new NuListboxUpdate{0, 0};
    addDeferredUpdate(this);
  }
}

void NuListbox::DropPendingRefresh() {
  if (!mPendingRefresh)
    return;
  removeDeferredUpdate(this);
  delete mPendingRefresh;
  mPendingRefresh = nullptr;
}

void NuListbox::DeferredUpdateApply() {
  if (!mPendingRefresh)
    return;
  AdjustVScroller();
  InvalidateCell(-1, -1);
  delete mPendingRefresh;
  mPendingRefresh = nullptr;
}
