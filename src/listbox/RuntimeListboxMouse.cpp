// Where the list's clicks, drags, keys and focus changes go: the program's
// MouseDown tracking, the cell editor, the heading row, cells and check
// boxes, and the row engine's selection, turned into the list's events.
#include "listbox/CommonListboxHeader.h"
#include "listbox/RuntimeListbox.h"
#include "foundation/TextEncodings.h"
#include "runtime/loop/PaneInterface.h"
#include "text/EditControl.h"

bool RuntimeListbox::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  PaneHold hold(this);
  const QV::Rect b = Bounds();
  if (Handler(ListboxEvent::kMouseDown)) {
    int32_t tracking = 0;
    if (!Fire(ListboxEvent::kMouseDown, &tracking, x - b.left, y - b.top))
      return true; // the handler closed the window
    mUserTracking = tracking ? 1 : 0;
    if (mUserTracking) {
      CaptureMouse(this);
      return true;
    }
  }
  if (Editing() && mCellEditor) {
    const QV::Rect e = static_cast<SubPane *>(mCellEditor)->Bounds();
    QV::Point pt{static_cast<int16_t>(y), static_cast<int16_t>(x)};
    if (QV::PtInRect(pt, &e))
      return static_cast<SubPane *>(mCellEditor)->HandleClick(x, y, modifiers);
  }
  NuListbox::HandleClick(x, y, modifiers);
  return true;
}

void RuntimeListbox::HandleMouseDrag(int32_t x, int32_t y) {
  PaneHold hold(this);
  if (mUserTracking) {
    const QV::Rect b = Bounds();
    Fire(ListboxEvent::kMouseDrag, nullptr, x - b.left, y - b.top);
  } else if (HeaderTracking() && Header()) {
    Header()->HandleMouseDrag(x, y);
  } else {
    NuListbox::HandleMouseDrag(x, y);
  }
}

void RuntimeListbox::HandleMouseUp(int32_t x, int32_t y) {
  PaneHold hold(this);
  const bool user = mUserTracking, heading = HeaderTracking();
  SetHeaderTracking(false);
  mUserTracking = 0;
  if (GetCaptureMouse() == this)
    ReleaseMouse();
  if (user) {
    const QV::Rect b = Bounds();
    Fire(ListboxEvent::kMouseUp, nullptr, x - b.left, y - b.top);
  } else if (!heading) {
    NuListbox::HandleMouseUp(x, y);
  }
}

void RuntimeListbox::HandleMouseMove(int32_t x, int32_t y) {
  CommonListboxHeader *h = Header();
  if (!h || !HeadingsShown())
    return;
  if (y - Bounds().top <= HeadingHeight())
    h->HandleMouseMove(x, y);
  else
    h->HandleMouseExit();
}

bool RuntimeListbox::HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) {
  PaneHold hold(this);
  if (Handler(ListboxEvent::kKeyDown)) {
    const char byte = static_cast<char>(ch);
    string text;
    text.ConstructFromBuffer(&byte, 1);
    text.SetEncoding(ch < 0x80 ? kEncodingASCII : kEncodingUnknown);
    int32_t consumed = 0;
    if (!Fire(ListboxEvent::kKeyDown, &consumed, text.Storage()) || consumed)
      return true;
  }
  return NuListbox::HandleKeyPress(ch, key, modifiers);
}

void RuntimeListbox::GainedFocus() {
  PaneHold hold(this);
  NuListbox::GainedFocus();
  if (Fire(ListboxEvent::kGotFocus, nullptr) && mControl)
    mControl->gotFocusNotifiers.PerformAction();
}

void RuntimeListbox::LostFocus() {
  PaneHold hold(this);
  NuListbox::LostFocus();
  if (Fire(ListboxEvent::kLostFocus, nullptr) && mControl)
    mControl->lostFocusNotifiers.PerformAction();
}

void RuntimeListbox::EnableMenuOptions() {
  SubPane::EnableMenuOptions();
  Fire(ListboxEvent::kEnableMenuItems, nullptr);
}

bool RuntimeListbox::HandleRuntimeMenuCommand(void *) { return false; }

// ---- clicks the row engine hands over

bool RuntimeListbox::HandleExternalClick(int32_t x, int32_t y, int32_t modifiers) {
  const QV::Rect k = GetContentRect();
  if (y < k.top && Header() && HeadingsShown()) {
    const bool handled = Header()->HandleClick(x, y, modifiers);
    if (GetCaptureMouse() == this || Header()->ResizeTarget())
      SetHeaderTracking(true);
    return handled;
  }
  SetHeaderTracking(false);
  return SubPane::HandleClick(x, y, modifiers);
}

bool RuntimeListbox::HandleRowClick(int32_t row, int32_t dx, int32_t dy, int32_t modifiers) {
  if (Editing())
    InvalidateFocus(), CommitEdit();
  if (CloseRan() || row >= GetRowCount())
    return true;
  QV::Rect span, visible;
  if (GetVisibleSpanBounds(row, 1, &span, &visible)) {
    const int32_t scroll = HScrollOffset();
    int32_t xx = dx + scroll - 1;
    int32_t left = span.left - scroll;
    int32_t column = 0;
    const int32_t count = ColumnCount();
    for (; column < count; ++column) {
      const int32_t width = GetColWidthActual(column);
      if (width > xx)
        break;
      xx -= width;
      left += width;
    }
    const int32_t right = column < count ? left + GetColWidthActual(column) : span.right;
    QV::Rect cell;
    QV::SetRect(&cell, static_cast<int16_t>(left), span.top, static_cast<int16_t>(right),
                span.bottom);
    if (HandleCellClick(row, column, xx, dy, cell) || CloseRan())
      return true;
  }
  if (BoundProvider())
    return false;
  if (mHierarchical && row < GetRowCount()) {
    RowEntry *entry = GetItemRow(row);
    if (entry && entry->mFolderState != -1 && HandleHierarchicalRowClick(entry, row, dx, dy))
      return true;
  }
  return false;
}

bool RuntimeListbox::HandleCellClick(int32_t row, int32_t column, int32_t x, int32_t y,
                                     const QV::Rect &cell) {
  int32_t handled = 0;
  if (!Fire(ListboxEvent::kCellClick, &handled, row, column, x, y) || handled)
    return true;
  if (row >= GetRowCount())
    return true;
  if (column >= ColumnCount() || BoundProvider())
    return false; // a bound list has no cell entries to edit or check
  switch (GetCellType(row, column)) {
  case 3:
    return HandleEditableCellClick(row, column);
  case 2:
    return HandleCheckboxCellClick(row, column, x, y, cell);
  default:
    return false;
  }
}

bool RuntimeListbox::HandleCheckboxCellClick(int32_t row, int32_t column, int32_t x, int32_t y,
                                             const QV::Rect &cell) {
  CellEntry *data = GetItemCell(row, column, true);
  if (!data)
    return false;
  int32_t edge = cell.left;
  if (column == 0)
    edge += mHierarchical ? 20 + 12 * (GetItemIndent(row) & 0x3fff) : 4;
  const int32_t px = cell.left + x, py = cell.top + y;
  if (px < edge || px >= edge + 16 || py < cell.top || py >= cell.bottom)
    return false;
  data->mChecked = static_cast<uint8_t>(1 - (data->mChecked ? 1 : 0));
  InvalidateCell(row, column);
  InvalidatePane(true);
  Fire(ListboxEvent::kCellAction, nullptr, row, column);
  return true;
}

// ---- the row engine's reports

void RuntimeListbox::ListboxDoubleClick(NuListbox *) { Fire(ListboxEvent::kDoubleClick, nullptr); }

void RuntimeListbox::ListboxSelChanging(NuListbox *) {
  NotifySelectionReceivers("selectionChanging");
}

void RuntimeListbox::ListboxSelChange(NuListbox *) {
  if (!mControl || mControl->inChange)
    return;
  ListboxControl *control = mControl;
  RuntimeLockObject(&control->control.header); // the pane may go under the handler
  control->inChange = 1;
  const bool alive = Fire(ListboxEvent::kChange, nullptr);
  control->inChange = 0;
  RuntimeUnlockObject(&control->control.header);
  if (alive)
    NotifySelectionReceivers("selectionChanged");
}

bool RuntimeListbox::ListboxDragReorderRows(NuListbox *, int32_t row) {
  int32_t moved = 0;
  Fire(ListboxEvent::kDragReorderRows, &moved, row);
  return moved != 0;
}

void RuntimeListbox::ListboxScrolled(NuListbox *, int32_t) {}
