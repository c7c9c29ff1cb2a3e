// The ListBox pane: construction and teardown, the row table and the cell
// lookups with their defaults, pictures, initial content and invalidation.
#include "listbox/RuntimeListbox.h"

#include <algorithm>

#include "controls/ObjFontStructure.h"
#include "foundation/NumberText.h"
#include "language/LineEndings.h"
#include "listbox/CommonListboxHeader.h"
#include "listbox/ListboxClasses.h"
#include "runtime/startup/StandardFonts.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/EditControlGTK.h"
#include "text/EditFieldClass.h"
#include "text/EditFieldObject.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

bool ValidColumn(int32_t column) { return column >= 0 && column < kMaxListColumns; }

FontStructure ControlFont(ListboxControl *control) {
  if (control)
    return control->font.getFont();
  return gSmallDialogFont;
}

} // namespace

RuntimeObject *RuntimeListbox::NewCellEditorObject() { return CreateInstance(EditClass()); }

RuntimeListbox::RuntimeListbox(ListboxControl *control, ContainerPane *parent, int32_t id,
                               const QV::Rect &bounds)
    : NuListbox(this, this, parent, id, bounds, true, control ? control->selectionType : 0),
      RuntimeEditRouter(NewCellEditorObject()), mControl(control) {
  if (mControl)
    RuntimeLockObject(&mControl->control.header);
  StoreSortColumn(-1);
  for (int32_t c = 0; c < kMaxListColumns; ++c)
    SetHeadingNames(c, ultoa(c));

  // The cell editor: hidden until an edit places it over its cell.
  QV::Rect off;
  QV::SetRect(&off, -10, -10, -10, -10);
  mCellEditor = newEditControl(static_cast<RuntimeEditRouter *>(this), this, -1, off, false,
                               ControlFont(mControl));
  if (mCellEditor) {
    mCellEditor->ShowPane(false);
    mCellEditor->setMultiline(true);
    mCellEditor->addDelegate(static_cast<PaneDelegate *>(this));
    if (RuntimeObject *field = Field())
      reinterpret_cast<EditControlObject *>(field)->control.pane = mCellEditor;
  }

  if (mControl) {
    mHorizontalGridStyle = mControl->gridLinesHorizontal;
    mVerticalGridStyle = mControl->gridLinesVertical;
    for (int32_t e = 0; e < kListboxEventCount; ++e)
      if (const ObjectHook *hook = ListboxHooks[e].hook)
        mHandlers[e] = FindObjectCode(&mControl->control.header, hook);
  }

  SetWidget(gtk_fixed_new());
  GTKHelper::SetupWidget(this, true);
  gtk_widget_add_events(GetWidget(), GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  g_signal_connect(GetWidget(), "expose-event", G_CALLBACK(GTKHelper::GenericPaintCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(GetWidget(), "button-press-event",
                   G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
}

RuntimeListbox::~RuntimeListbox() {
  for (int32_t i = 0; i < mRows.GetCount(); ++i)
    delete static_cast<RowEntry *>(mRows.GetElement(i));
  mRows.SetCount(0);
  if (RuntimeObject *field = Field()) {
    reinterpret_cast<EditControlObject *>(field)->control.pane = nullptr;
    RuntimeUnlockObject(field);
  }
  if (mControl)
    RuntimeUnlockObject(&mControl->control.header);
}

void RuntimeListbox::Close() {
  if (CloseRan())
    return;
  if (mControl) {
    if (mControl->control.pane == this)
      mControl->control.pane = nullptr; // the object must not keep a pane that goes
    mControl->gotFocusNotifiers.Clear();
    mControl->lostFocusNotifiers.Clear();
  }
  RemoveBinding();
  if (mControl)
    UnbindListProvider(&mControl->control.header);
  for (int32_t i = 0; i < mRows.GetCount(); ++i)
    delete static_cast<RowEntry *>(mRows.GetElement(i));
  mRows.SetCount(0);
  Array receivers;
  for (int32_t i = 0; i < mSelectionReceivers.GetCount(); ++i)
    receivers.AppendItem(mSelectionReceivers.GetElement(i));
  mSelectionReceivers.SetCount(0);
  for (int32_t i = 0; i < receivers.GetCount(); ++i)
    RuntimeUnlockObject(static_cast<RuntimeObject *>(receivers.GetElement(i)));
  if (EditControl *editor = mCellEditor) {
    mCellEditor = nullptr;
    editor->ClearDelegate();
    if (RuntimeObject *field = Field())
      reinterpret_cast<EditControlObject *>(field)->control.pane = nullptr;
    editor->Close();
  }
  SubPane::Close();
}

void RuntimeListbox::VisibilityChanged(bool visible) { SubPane::VisibilityChanged(visible); }

void RuntimeListbox::OrphanChildren() {
  Window *w = GetWindow();
  int32_t position = w ? w->IndexOfPane(this) : -1;
  if (position < 0)
    position = 0;
  else
    w->RemovePane(this);
  for (int32_t i = CountChildren() - 1; i >= 0; --i) {
    if (i >= CountChildren())
      continue;
    SubPane *child = ChildAt(i);
    bool own = child == GetWorkerPane() || child == mVScroller || child == mHScroller ||
               child == static_cast<SubPane *>(mCellEditor);
    for (CommonListboxHeader *h = Header(); h && !own; h = h->Next())
      own = child == static_cast<SubPane *>(h->Button());
    if (own)
      continue;
    child->FindNewEmbedder(false, true);
    RemoveChild(child);
  }
  if (w)
    w->InsertPane(position, this);
}

void RuntimeListbox::MovePane(const QV::Rect &r, bool redraw) {
  NuListbox::MovePane(r, redraw);
  ReCalculateColumnWidths();
}

void RuntimeListbox::ScrollContentHorizontally(int32_t x) {
  SetHScrollOffset(x);
  UpdateColumnPositions();
  if (mControl && mControl->hasHeading)
    UpdateHeaders();
  InvalidatePane(true);
}

void RuntimeListbox::SetScrollPositionX(int32_t x) {
  if (mHScroller)
    mHScroller->SetValue(x);
  else
    ScrollContentHorizontally(x);
}

int32_t RuntimeListbox::GetTotalContentWidth() { return ScrollingListbox::GetTotalContentWidth(); }

RuntimeObject *RuntimeListbox::BoundProvider() const {
  return mControl ? mControl->boundProvider : nullptr;
}

// ---- the row table

int32_t RuntimeListbox::AddItem(CellEntry *cells, int32_t indent, int32_t folderState) {
  CommitEdit();
  const int32_t row = mRows.GetCount();
  mRows.AppendItem(new RowEntry(cells, static_cast<int16_t>(indent),
                                static_cast<int16_t>(folderState)));
  InsertRows(row, 1);
  return row;
}

void RuntimeListbox::InsertItem(int32_t row, CellEntry *cells, int32_t indent,
                                int32_t folderState) {
  CommitEdit();
  if (row < 0 || row > mRows.GetCount()) {
    mRows.InsertItem(row, nullptr); // the table's own alert
    DeleteCellChain(cells);
    return;
  }
  mRows.InsertItem(row, new RowEntry(cells, static_cast<int16_t>(indent),
                                     static_cast<int16_t>(folderState)));
  if (mExpandDepth > 0 && row <= mExpandingRow)
    ++mExpandingRow;
  InsertRows(row, 1);
}

void RuntimeListbox::RemoveItem(int32_t row) {
  if (BoundProvider() || row < 0 || row >= mRows.GetCount())
    return;
  RemoveRows(row, 1);
  auto *entry = static_cast<RowEntry *>(mRows.GetElement(row));
  mRows.RemoveElement(row);
  delete entry;
  if (mExpandDepth > 0 && row < mExpandingRow)
    --mExpandingRow;
}

void RuntimeListbox::RemoveRows(int32_t first, int32_t count) {
  if (mCellEditor && mEditRow >= 0) {
    if (mEditRow >= first && mEditRow < first + count)
      CancelEdit();
    else
      CommitEdit();
  }
  NuListbox::RemoveRows(first, count);
}

void RuntimeListbox::ResetContent() {
  CommitEdit();
  NuListbox::RemoveRows(0, GetRowCount());
  if (!BoundProvider())
    for (int32_t i = 0; i < mRows.GetCount(); ++i)
      delete static_cast<RowEntry *>(mRows.GetElement(i));
  mRows.SetCount(0);
}

void RuntimeListbox::SwapRows(int32_t first, int32_t count, int32_t otherFirst,
                              int32_t otherCount) {
  mRows.SwapElements(first, count, otherFirst, otherCount);
}

int32_t RuntimeListbox::AddRowText(const string &text, bool folder) {
  auto *cell = new CellEntry;
  cell->mText = text;
  int32_t row;
  if (mExpandDepth > 0 && mExpandingRow >= 0 && mExpandingRow < mRows.GetCount()) {
    row = ParentInsertRow(mExpandingRow);
    InsertItem(row, cell, GetItemIndent(mExpandingRow) + 1, folder ? 0 : -1);
  } else {
    row = AddItem(cell, 0, folder ? 0 : -1);
  }
  if (mControl)
    mControl->lastIndex = row;
  return row;
}

// ---- lookups

RowEntry *RuntimeListbox::GetItemRow(int32_t row) {
  if (BoundProvider())
    return nullptr;
  if (row < 0 || row >= mRows.GetCount()) {
    mRows.GetElement(-1); // the table's alert for a bad index
    return nullptr;
  }
  return static_cast<RowEntry *>(mRows.GetElement(row));
}

CellEntry *RuntimeListbox::GetItemData(int32_t row) {
  RowEntry *entry = GetItemRow(row);
  return entry ? entry->mCells : nullptr;
}

CellEntry *RuntimeListbox::GetItemCell(int32_t row, int32_t column, bool create) {
  if (BoundProvider() || column < 0 || column > 255)
    return nullptr;
  RowEntry *entry = GetItemRow(row);
  if (!entry)
    return nullptr;
  CellEntry **link = &entry->mCells;
  for (; *link; link = &(*link)->mNext)
    if ((*link)->mColumn == column)
      return *link;
  if (!create)
    return nullptr;
  *link = new CellEntry;
  (*link)->mColumn = static_cast<uint8_t>(column);
  return *link;
}

int32_t RuntimeListbox::GetItemIndent(int32_t row) {
  RowEntry *entry = GetItemRow(row);
  return entry ? entry->mIndent : 0;
}

int32_t RuntimeListbox::GetCellType(int32_t row, int32_t column) {
  if (!ValidColumn(column))
    return 0;
  if (CellEntry *cell = GetItemCell(row, column, false); cell && cell->mType)
    return cell->mType;
  return mControl ? mControl->columnTypes[column] : 0;
}

int32_t RuntimeListbox::GetCellAlignment(int32_t row, int32_t column) {
  if (!ValidColumn(column))
    return 0;
  if (CellEntry *cell = GetItemCell(row, column, false); cell && cell->mAlignment)
    return cell->mAlignment;
  return mControl ? mControl->columnAlignments[column] : 0;
}

int32_t RuntimeListbox::GetCellAlignmentOffset(int32_t row, int32_t column) {
  if (!ValidColumn(column))
    return 0;
  if (CellEntry *cell = GetItemCell(row, column, false);
      cell && (cell->mAlignment || cell->mAlignmentOffset))
    return cell->mAlignmentOffset;
  return mControl ? mControl->columnAlignmentOffsets[column] : 0;
}

int32_t RuntimeListbox::GetCellFontSize(int32_t row, int32_t column) {
  if (!ValidColumn(column))
    return 0;
  if (CellEntry *cell = GetItemCell(row, column, false); cell && cell->mFontSize)
    return cell->mFontSize;
  return FontSize();
}

RuntimeObject *RuntimeListbox::GetCellImage(int32_t row, int32_t column) {
  CellEntry *cell = GetItemCell(row, column, false);
  return cell ? cell->mPicture : nullptr;
}

void RuntimeListbox::SetCellImage(int32_t row, int32_t column, RuntimeObject *picture) {
  CellEntry *cell = GetItemCell(row, column, true);
  if (!cell || cell->mPicture == picture)
    return;
  if (cell->mPicture)
    RuntimeUnlockObject(cell->mPicture);
  cell->mPicture = picture;
  if (picture)
    RuntimeLockObject(picture);
  InvalidateCell(row, column);
}

void RuntimeListbox::setHeadingFont(const FontStructure &font) {
  for (CommonListboxHeader *h = Header(); h; h = h->Next())
    h->Button()->setFont(font);
  if (HeadingsShown()) {
    UpdateColumnPositions();
    UpdateHeaders();
  }
}

// ---- initial content

void RuntimeListbox::ResetInitialContent() {
  ResetContent();
  if (!mControl || !mControl->initialValue)
    return;
  const string text = string::Borrow(mControl->initialValue);
  stringStorage *eol = RuntimeEndOfLine();
  const char lineSeparator = stringStorage::Length(eol) ? stringStorage::CString(eol)[0] : '\n';
  RuntimeUnlockString(eol);
  const char *bytes = text.CString();
  const int32_t length = text.Length();
  int32_t start = 0, column = 0, lastRow = -1;
  bool firstLine = true;
  for (int32_t i = 0; i <= length; ++i) {
    const bool atEnd = i == length;
    const char byte = atEnd ? 0 : bytes[i];
    if (!atEnd && byte != '\t' && byte != lineSeparator)
      continue;
    if (atEnd && start >= length)
      break; // the text ended with a separator: no token follows
    string token;
    token.ConstructFromBuffer(bytes + start, i - start, text.Encoding());
    if (mControl->hasHeading && firstLine) {
      if (column < kMaxListColumns)
        SetHeadingNames(column, token);
    } else if (column == 0) {
      AddRowText(token, false);
      lastRow = mControl->lastIndex;
    } else if (column > 255) {
      RaiseOutOfBoundsException();
      return;
    } else if (lastRow >= 0) {
      if (CellEntry *cell = GetItemCell(lastRow, column, true)) {
        cell->mText = token;
        InvalidateCell(lastRow, column);
      }
    }
    if (atEnd)
      break;
    start = i + 1;
    if (byte == '\t') {
      ++column;
    } else {
      column = 0;
      firstLine = false;
      if (start < length && bytes[start] == '\n' && lineSeparator != '\n')
        ++start, ++i;
    }
  }
}

// ---- invalidation

void RuntimeListbox::InvalidateCell(int32_t row, int32_t column) {
  if (row < -1 || column < -1) {
    RaiseOutOfBoundsException();
    return;
  }
  InvalidatePane(true);
}

void RuntimeListbox::InvalidateRow(int32_t row) { InvalidateCell(row, -1); }
void RuntimeListbox::InvalidateColumn(int32_t column) { InvalidateCell(-1, column); }
void RuntimeListbox::InvalidateRowAndAllAfter(int32_t) { InvalidatePane(true); }
void RuntimeListbox::InvalidateColumnAndAllAfter(int32_t) { InvalidatePane(true); }

void RuntimeListbox::InvalidateRowHeight() {
  ScrollingListbox::InvalidateRowHeight();
  mRowHeightCached = 0;
}

QV::Rect RuntimeListbox::ClipRectToRect(const QV::Rect &a, const QV::Rect &b) {
  QV::Rect r = a;
  r.top = std::max(r.top, b.top);
  r.left = std::max(r.left, b.left);
  r.bottom = std::min(r.bottom, b.bottom);
  r.right = std::min(r.right, b.right);
  return r;
}

Graphics *RuntimeListbox::GetContext(Graphics *g, void **, void **, const QV::Rect &) { return g; }

void RuntimeListbox::Activate() {
  for (CommonListboxHeader *h = Header(); h; h = h->Next())
    h->Button()->Activate();
  SetActive(true);
}

void RuntimeListbox::Deactivate() {
  for (CommonListboxHeader *h = Header(); h; h = h->Next())
    h->Button()->Deactivate();
  SetActive(false);
}
