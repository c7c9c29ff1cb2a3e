// In-place editing of a cell: the list's one hidden editor is laid over the
// cell, takes the focus and, on commit, gives its text back to the cell.
// The list is the editor's delegate: its keys, focus and text changes come
// back here as the list's cell events.
#include "listbox/RuntimeListbox.h"

#include "foundation/TextEncodings.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/startup/StandardFonts.h"
#include "text/EditControl.h"

void RuntimeListbox::EditCell(int32_t row, int32_t column) {
  if (Editing()) {
    InvalidateFocus(); // the editor loses the focus and commits that edit
    CommitEdit();      // done already unless the editor did not hold the focus
  }
  if (CloseRan())
    return;
  EditCellHelper(row, column);
}

void RuntimeListbox::EditCellHelper(int32_t row, int32_t column) {
  if (!mCellEditor || BoundProvider() || row < 0 || row >= GetRowCount())
    return;
  MakeSureCellVisible(row, column);
  {
    PaneHold hold(this);
    SetSelection(row, true); // the selection events may close the window
    if (IsClosing())
      return;
  }
  if (!mCellEditor || row >= GetRowCount())
    return;
  CellEntry *cell = GetItemCell(row, column, true);
  if (!cell)
    return;
  mSavedCellType = cell->mType;

  // The list's font with the cell's styles added, at the cell's size.
  FontStructure font = mControl ? mControl->font.getFont() : gSmallDialogFont;
  font.SetMacStyle(cell->mStyle);
  font.size = static_cast<int16_t>(cell->mFontSize ? cell->mFontSize : FontSize());
  mCellEditor->setFont(font);

  cell->mType = 3;
  mCellEditor->SetText(cell->mText);
  mCellEditor->ShowPane(true);
  mEditColumn = column;
  mEditRow = row;
  PositionCellEditor();
  static_cast<SubPane *>(mCellEditor)->SetFocus();
  InvalidateCell(row, column);
}

bool RuntimeListbox::HandleEditableCellClick(int32_t row, int32_t column) {
  CellEntry *cell = GetItemCell(row, column, false);
  const int32_t length = cell ? cell->mText.Length() : 0;
  EditCellHelper(row, column);
  if (!CloseRan() && mCellEditor && Editing())
    mCellEditor->SetSelection(0, length);
  return true;
}

void RuntimeListbox::HideEditInstance() {
  if (!mCellEditor)
    return;
  QV::Rect off;
  QV::SetRect(&off, -10, -10, -10, -10);
  mCellEditor->MovePane(off, false);
  mCellEditor->ShowPane(false);
}

void RuntimeListbox::PositionCellEditor() {
  if (!mCellEditor || !Editing())
    return;
  QV::Rect content = GetContentRect();
  QV::InsetRect(&content, 2, 2);
  const QV::Rect r = ClipRectToRect(GetCellBounds(mEditRow, mEditColumn), content);
  mCellEditor->MovePane(r, false);
}

string RuntimeListbox::EditedText() {
  return mCellEditor ? mCellEditor->GetText(kEncodingUTF8) : string();
}

void RuntimeListbox::CommitCancelEdit(bool commit) {
  if (mEndingEdit || !Editing())
    return;
  mEndingEdit = 1;
  const int32_t row = mEditRow, column = mEditColumn;
  // The events below may close the window: the pane stays until the end.
  PaneHold hold(this);
  if (CellEntry *cell = row < GetRowCount() ? GetItemCell(row, column, true) : nullptr) {
    if (commit && mCellEditor)
      cell->mText = mCellEditor->GetText(kEncodingUTF8);
    cell->mType = static_cast<uint8_t>(mSavedCellType);
  }
  bool alive = true;
  if (commit)
    alive = Fire(ListboxEvent::kCellAction, nullptr, row, column);
  if (alive) {
    HideEditInstance();
    InvalidateCell(row, column);
    alive = Fire(ListboxEvent::kCellLostFocus, nullptr, row, column);
  }
  if (alive) {
    mNotificationDepth = 1;
    mQuietSelection = 1;
    SetSelection(row, false);
    mNotificationDepth = 0;
    mQuietSelection = 0;
  }
  mEditRow = -1;
  mEditColumn = -1;
  mEndingEdit = 0;
}

void RuntimeListbox::EditControlTextChange(EditControl *) {
  if (Editing())
    Fire(ListboxEvent::kCellTextChange, nullptr, mEditRow, mEditColumn);
}

void RuntimeListbox::EditControlGainedFocus(EditControl *) {
  if (Editing())
    Fire(ListboxEvent::kCellGotFocus, nullptr, mEditRow, mEditColumn);
}

void RuntimeListbox::EditControlLostFocus(EditControl *) { CommitEdit(); }

bool RuntimeListbox::EditControlHandleKeyPress(EditControl *, const string &key, uint8_t,
                                               int16_t) {
  if (!Editing())
    return false;
  PaneHold hold(this);
  const int32_t row = mEditRow;
  MakeSureCellVisible(mEditRow, mEditColumn);
  int32_t consumed = 0;
  if (!Fire(ListboxEvent::kCellKeyDown, &consumed, mEditRow, mEditColumn, key.Storage()))
    return true;
  if (consumed)
    return true;
  const string utf8 = key.GetUTF8String();
  const uint8_t first = utf8.Length() ? static_cast<uint8_t>(utf8.CString()[0]) : 0;
  if (first == 27)
    CancelEdit();
  else if (first == 13)
    CommitEdit();
  else
    return false;
  if (IsClosing())
    return true;
  SetFocusPane(this);
  SetSelection(row, true);
  return true;
}

bool RuntimeListbox::EditControlHandleCmdKeyPress(EditControl *, uint8_t, uint8_t, int16_t) {
  return false;
}
