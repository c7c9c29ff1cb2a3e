#include "listbox/CommonListboxHeader.h"

#include "listbox/ColumnWidthExpressions.h"
#include "listbox/CommonListbox.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/MouseCursor.h"

namespace {

bool Inside(BevelButton *b, int32_t x, int32_t y) {
  const QV::Rect &r = b->Bounds();
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

int32_t CommonListboxHeader::ColumnOf(const CommonListboxHeader *record) const {
  int32_t c = -1;
  for (const CommonListboxHeader *h = this; h; h = h->mNext) {
    if (h->mFiller) {
      if (h == record)
        return -1;
      continue;
    }
    ++c;
    if (h == record)
      return c;
  }
  return -1;
}

int32_t CommonListboxHeader::FindHeader(int32_t x, int32_t y, CommonListboxHeader **header,
                                        bool *onBorder) {
  *header = nullptr;
  *onBorder = false;
  int32_t column = -1;
  for (CommonListboxHeader *h = this; h; h = h->mNext) {
    if (h->mFiller)
      continue;
    ++column;
    const QV::Rect &r = h->mButton->Bounds();
    if (h->mNext && x >= r.right - 3 && x < h->mNext->mButton->Bounds().left + 3) {
      // A border: a collapsed resizable column after it is pulled open
      // rather than the one before it.
      int32_t result = column;
      CommonListboxHeader *found = h;
      if (!mList->IsStarColumn(column)) {
        int32_t c = column;
        for (CommonListboxHeader *n = h->mNext; n && !n->mFiller; n = n->mNext) {
          ++c;
          if (mList->GetColWidthActual(c) > 0)
            break;
          if (mList->IsUserResizable(c)) {
            result = c;
            found = n;
          }
        }
      }
      *header = found;
      *onBorder = mList->IsUserResizable(result);
      return result;
    }
    if (Inside(h->mButton, x, y)) {
      *header = h;
      return column;
    }
  }
  return -1;
}

bool CommonListboxHeader::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  mResizeTarget = nullptr;
  CommonListboxHeader *hit;
  bool onBorder;
  if (FindHeader(x, y, &hit, &onBorder) < 0)
    return false;
  if (onBorder) {
    CaptureMouse(mList);
    mResizeTarget = hit;
    return true;
  }
  return hit->mButton->HandleClick(x, y, modifiers);
}

void CommonListboxHeader::HandleMouseDrag(int32_t x, int32_t y) {
  if (!mResizeTarget)
    return;
  const int32_t c = ColumnOf(mResizeTarget);
  if (c < 0)
    return;
  int32_t proposed = mList->GetColWidthActual(c) + (x - mResizeTarget->mButton->Bounds().right);
  mList->CheckNewHeaderWidth(c, &proposed, x);
  if (proposed != mList->GetColWidthActual(c)) {
    mList->SetColWidthActual(c, proposed);
    ChangeCursor(x, y);
  }
}

void CommonListboxHeader::HandleMouseMove(int32_t x, int32_t y) {
  if (mResizeTarget)
    return;
  CommonListboxHeader *hit;
  bool onBorder;
  const int32_t column = FindHeader(x, y, &hit, &onBorder);
  const bool overHeading = column >= 0 && !onBorder;
  for (CommonListboxHeader *h = this; h; h = h->mNext)
    if ((!overHeading || h != hit) && h->mButton->IsHover())
      h->mButton->HandleMouseExit();
  if (overHeading)
    hit->mButton->HandleMouseMove(x - hit->mButton->Bounds().left,
                                  y - hit->mButton->Bounds().top);
}

void CommonListboxHeader::HandleMouseExit() {
  for (CommonListboxHeader *h = this; h; h = h->mNext)
    if (h->mButton->IsHover())
      h->mButton->HandleMouseExit();
}

void CommonListboxHeader::BevelMouseOver(BevelButton *, int32_t x, int32_t y) {
  CommonListboxHeader *first = mList->Header();
  for (CommonListboxHeader *h = first; h; h = h->mNext) {
    if (h->mFiller)
      continue;
    if (Inside(h->mButton, x, y)) {
      if (!h->mButton->IsHover())
        h->mButton->HandleMouseEnter();
    } else if (h->mButton->IsHover()) {
      h->mButton->HandleMouseExit();
    }
  }
}

void CommonListboxHeader::BevelChangeCursor(BevelButton *, int32_t x, int32_t y) {
  if (CommonListboxHeader *first = mList->Header())
    first->ChangeCursor(x, y);
}

bool CommonListboxHeader::ChangeCursor(int32_t x, int32_t y) {
  int32_t column;
  bool onBorder;
  if (mList->HeaderTracking() && mResizeTarget) {
    column = ColumnOf(mResizeTarget);
    onBorder = true;
  } else {
    CommonListboxHeader *hit;
    column = FindHeader(x, y, &hit, &onBorder);
    if (!mList->HeaderTracking())
      mResizeTarget = nullptr;
  }
  MouseCursor *cursor = nullptr;
  if (column >= 0 && onBorder &&
      (mList->StarTotal() == 0 || column != mList->ColumnCount() - 1)) {
    int32_t width = mList->GetColWidthActual(column);
    const int32_t r = mList->CheckNewHeaderWidth(column, &width, x);
    cursor = GetCustomCursor(r == 0 ? 6601 : r == 1 ? 6603 : 6602, 0);
  }
  if (!cursor)
    cursor = GetStandardCursor(0);
  EstablishCursor(cursor);
  DisposeMouseCursor(cursor);
  return true;
}

void CommonListboxHeader::BevelButtonClicked(BevelButton *button) {
  CommonListboxHeader *first = mList->Header();
  if (!first || mFiller)
    return;
  const int32_t column = first->ColumnOf(this);
  if (column < 0)
    return;
  for (CommonListboxHeader *h = first; h; h = h->mNext) {
    if (h == this || h->mFiller || !h->mButton->getValue())
      continue;
    h->mButton->setValue(0);
    h->mButton->Update();
  }
  button->setValue(1);
  mList->mSortDirections[column] = button->SortDirection();
  button->Update();
  mList->ListboxHeaderPress(column);
}
