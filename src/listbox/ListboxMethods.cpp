// The ListBox methods that read and change rows, cells, headings and
// columns. Each checks its indexes first (a failed check raises
// OutOfBoundsException and changes nothing); the row and cell changes do
// nothing while a list-data provider is bound.
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

ListboxControl *AsList(RuntimeObject *object) {
  return reinterpret_cast<ListboxControl *>(object);
}

bool Check(bool ok) {
  if (!ok)
    RaiseOutOfBoundsException();
  return ok;
}

bool RowInRange(RuntimeListbox *pane, int32_t row) {
  return Check(row >= 0 && row < pane->GetRowCount());
}

bool CellColumn(int32_t column) { return Check(column >= 0 && column <= 255); }

// 0 .. ColumnCount: the slot after the last column may be given a heading,
// a direction or a width ahead of time; the tables end at 63.
bool ColumnThroughCount(RuntimeListbox *pane, int32_t column, bool all = false) {
  return Check(column >= (all ? -1 : 0) && column <= pane->ColumnCount() &&
               column < kMaxListColumns);
}

int32_t ColumnCountOf(RuntimeObject *object) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    return pane->ColumnCount();
  return AsList(object)->initialColumnCount;
}

bool DeclaredColumn(RuntimeObject *object, int32_t column) {
  return Check(column >= 0 && column < ColumnCountOf(object) && column < kMaxListColumns);
}

// The pane when the row and cell column pass their checks; nil otherwise.
RuntimeListbox *CellPane(RuntimeObject *object, int32_t row, int32_t column) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !RowInRange(pane, row) || !CellColumn(column))
    return nullptr;
  return pane;
}

// The cell a setter changes, created when missing; nil while bound.
CellEntry *CellToChange(RuntimeObject *object, int32_t row, int32_t column,
                        RuntimeListbox **pane) {
  *pane = CellPane(object, row, column);
  return *pane && !(*pane)->BoundProvider() ? (*pane)->GetItemCell(row, column, true) : nullptr;
}

CellEntry *CellToRead(RuntimeObject *object, int32_t row, int32_t column) {
  RuntimeListbox *pane = CellPane(object, row, column);
  return pane ? pane->GetItemCell(row, column, false) : nullptr;
}

void InsertListRow(RuntimeObject *object, int32_t row, stringStorage *text, int32_t folderState,
                   int32_t indent) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || pane->BoundProvider())
    return;
  PaneHold hold(pane);
  pane->LockListbox();
  const int32_t count = pane->GetRowCount();
  row = row < 0 ? 0 : row > count ? count : row;
  auto *cell = new CellEntry;
  cell->mText = string::Borrow(text);
  pane->InsertItem(row, cell, indent, folderState);
  AsList(object)->lastIndex = row;
  pane->UnlockListbox();
}

void AddListRow(RuntimeObject *object, stringStorage *text, bool folder) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || pane->BoundProvider())
    return;
  PaneHold hold(pane);
  pane->LockListbox();
  pane->AddRowText(string::Borrow(text), folder);
  pane->UnlockListbox();
}

int32_t GetCellStyleBit(RuntimeObject *object, int32_t row, int32_t column, uint8_t bit) {
  CellEntry *cell = CellToRead(object, row, column);
  return cell && (cell->mStyle & bit) ? 1 : 0;
}

void SetCellStyleBit(RuntimeObject *object, int32_t row, int32_t column, uint8_t bit, bool on) {
  RuntimeListbox *pane = CellPane(object, row, column);
  if (!pane || pane->BoundProvider())
    return;
  if (CellEntry *cell = pane->GetItemCell(row, column, false)) {
    const uint8_t style = on ? cell->mStyle | bit : cell->mStyle & ~bit;
    if (style == cell->mStyle)
      return;
    cell->mStyle = style;
  } else if (CellEntry *made = pane->GetItemCell(row, column, true)) {
    made->mStyle = on ? bit : 0;
  }
  pane->InvalidateCell(row, column);
}

int32_t GetBorder(RuntimeObject *object, int32_t row, int32_t column, borderLocations edge) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane)
    return -1;
  if (!RowInRange(pane, row) || !Check(column >= 0 && column <= pane->ColumnCount()))
    return 0;
  return pane->GetCellBorderStyle(edge, row, column, false);
}

void SetBorder(RuntimeObject *object, int32_t row, int32_t column, borderLocations edge,
               int32_t style) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (pane && RowInRange(pane, row) && Check(column >= 0 && column <= pane->ColumnCount()))
    pane->SetCellBorderStyle(edge, row, column, style);
}

} // namespace

extern "C" {

// ---- rows

void RuntimeListEmpty(RuntimeObject *object) {
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    PaneHold hold(pane);
    pane->ResetContent();
  }
}

void RuntimeListAddRow(RuntimeObject *object, stringStorage *text) {
  AddListRow(object, text, false);
}

void RuntimeListAddParent(RuntimeObject *object, stringStorage *text) {
  AddListRow(object, text, true);
}

void RuntimeListInsertRow(RuntimeObject *object, int32_t row, stringStorage *text,
                          int32_t indent) {
  InsertListRow(object, row, text, -1, indent);
}

void RuntimeListInsertParent(RuntimeObject *object, int32_t row, stringStorage *text,
                             int32_t indent) {
  InsertListRow(object, row, text, 0, indent);
}

void RuntimeRemoveRow(RuntimeObject *object, int32_t row) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !RowInRange(pane, row) || pane->BoundProvider())
    return;
  PaneHold hold(pane);
  pane->RemoveItem(row);
}

stringStorage *RuntimeGetRow(RuntimeObject *object, int32_t row) {
  return listGetCell(object, row, 0);
}

void RuntimeSetRow(RuntimeObject *object, int32_t row, stringStorage *text) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || pane->BoundProvider() || !RowInRange(pane, row))
    return;
  if (CellEntry *cell = pane->GetItemCell(row, 0, true)) {
    cell->mText = string::Borrow(text);
    pane->InvalidateCell(row, 0);
  }
}

RuntimeObject *listGetRowPicture(RuntimeObject *object, int32_t row) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || pane->BoundProvider() || row < 0 || row >= pane->GetRowCount())
    return nullptr;
  RuntimeObject *picture = pane->GetItemImage(row);
  if (picture)
    RuntimeLockObject(picture);
  return picture;
}

void listSetRowPicture(RuntimeObject *object, int32_t row, RuntimeObject *picture) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (pane && !pane->BoundProvider() && RowInRange(pane, row))
    pane->SetItemImage(row, picture);
}

int32_t listGetSelected(RuntimeObject *object, int32_t row) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  return pane && pane->getSelected(row) ? 1 : 0;
}

void listSetSelected(RuntimeObject *object, int32_t row, int32_t on) {
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    PaneHold hold(pane);
    pane->setSelected(row, on != 0);
  }
}

int32_t listGetExpanded(RuntimeObject *object, int32_t row) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !RowInRange(pane, row))
    return 0;
  return pane->GetItemExpanded(row) ? 1 : 0;
}

void listSetExpanded(RuntimeObject *object, int32_t row, int32_t on) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !RowInRange(pane, row) || pane->BoundProvider())
    return;
  PaneHold hold(pane);
  if (on)
    pane->ExpandItem(row, false);
  else
    pane->CollapseItem(row, false);
}

// ---- cells

stringStorage *listGetCell(RuntimeObject *object, int32_t row, int32_t column) {
  RuntimeListbox *pane = CellPane(object, row, column);
  if (!pane)
    return nullptr;
  if (pane->BoundProvider())
    return pane->BoundCellText(row, column);
  if (pane->Editing() && row == pane->EditRow() && column == pane->EditColumn())
    return pane->EditedText().ExtractStringStorage();
  CellEntry *cell = pane->GetItemCell(row, column, false);
  if (!cell || cell->mText.IsEmpty())
    return nullptr;
  return RuntimeLockString(cell->mText.Storage());
}

void listSetCell(RuntimeObject *object, int32_t row, int32_t column, stringStorage *text) {
  RuntimeListbox *pane;
  if (CellEntry *cell = CellToChange(object, row, column, &pane)) {
    cell->mText = string::Borrow(text);
    pane->InvalidateCell(row, column);
  }
}

#define CELL_STYLE(Name, bit)                                                                     \
  int32_t listGetCell##Name(RuntimeObject *object, int32_t row, int32_t column) {                 \
    return GetCellStyleBit(object, row, column, bit);                                             \
  }                                                                                               \
  void listSetCell##Name(RuntimeObject *object, int32_t row, int32_t column, int32_t on) {        \
    SetCellStyleBit(object, row, column, bit, on != 0);                                           \
  }
CELL_STYLE(Bold, 1)
CELL_STYLE(Italic, 2)
CELL_STYLE(Underline, 4)

void listInvalidateCell(RuntimeObject *object, int32_t row, int32_t column) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->InvalidateCell(row, column);
}

// Getter and setter of one field of a cell: the getter reads 0 without a
// cell or while bound; the setter creates the cell.
#define CELL_FIELD(getter, setter, field, Type)                                                   \
  int32_t getter(RuntimeObject *object, int32_t row, int32_t column) {                            \
    CellEntry *cell = CellToRead(object, row, column);                                            \
    return cell ? cell->field : 0;                                                                \
  }                                                                                               \
  void setter(RuntimeObject *object, int32_t row, int32_t column, int32_t value) {                \
    RuntimeListbox *pane;                                                                         \
    if (CellEntry *cell = CellToChange(object, row, column, &pane)) {                             \
      cell->field = static_cast<Type>(value);                                                     \
      pane->InvalidateCell(row, column);                                                          \
    }                                                                                             \
  }
CELL_FIELD(listCellCheckGetter, listCellCheckSetter, mChecked, uint8_t)
CELL_FIELD(listCellTypeGetter, listCellTypeSetter, mType, uint8_t)
CELL_FIELD(listCellAlignmentGetter, listCellAlignmentSetter, mAlignment, uint8_t)
CELL_FIELD(listCellAlignmentOffsetGetter, listCellAlignmentOffsetSetter, mAlignmentOffset,
           int32_t)

RuntimeObject *listGetCellTag(RuntimeObject *object, int32_t row, int32_t column) {
  CellEntry *cell = CellToRead(object, row, column);
  RuntimeObject *tag = cell ? cell->mTag : nullptr;
  if (tag)
    RuntimeLockObject(tag);
  return tag;
}

void listSetCellTag(RuntimeObject *object, int32_t row, int32_t column, RuntimeObject *tag) {
  RuntimeListbox *pane;
  if (CellEntry *cell = CellToChange(object, row, column, &pane)) {
    RuntimeLockUnlockObjects(tag, cell->mTag);
    cell->mTag = tag;
    pane->InvalidateCell(row, column);
  }
}

#define CELL_BORDER(Name, edge)                                                                   \
  int32_t listGetCellBorder##Name(RuntimeObject *object, int32_t row, int32_t column) {           \
    return GetBorder(object, row, column, edge);                                                  \
  }                                                                                               \
  void listSetCellBorder##Name(RuntimeObject *object, int32_t row, int32_t column,                \
                               int32_t style) {                                                   \
    SetBorder(object, row, column, edge, style);                                                  \
  }
CELL_BORDER(Top, kBorderTop)
CELL_BORDER(Left, kBorderLeft)
CELL_BORDER(Bottom, kBorderBottom)
CELL_BORDER(Right, kBorderRight)

void listEditCell(RuntimeObject *object, int32_t row, int32_t column) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || pane->BoundProvider() || !RowInRange(pane, row) ||
      !ColumnThroughCount(pane, column))
    return;
  PaneHold hold(pane);
  pane->EditCell(row, column);
}

// ---- columns and headings

#define COLUMN_FIELD(getter, setter, table, Type)                                                 \
  int32_t getter(RuntimeObject *object, int32_t column) {                                         \
    if (!object || !DeclaredColumn(object, column))                                               \
      return 0;                                                                                   \
    return AsList(object)->table[column];                                                         \
  }                                                                                               \
  void setter(RuntimeObject *object, int32_t column, int32_t value) {                             \
    if (!object || !DeclaredColumn(object, column))                                               \
      return;                                                                                     \
    AsList(object)->table[column] = static_cast<Type>(value);                                     \
    if (RuntimeListbox *pane = ListboxPaneOf(object))                                             \
      pane->InvalidateColumn(column);                                                             \
  }
COLUMN_FIELD(listColumnTypeGetter, listColumnTypeSetter, columnTypes, uint8_t)
COLUMN_FIELD(listColumnAlignmentGetter, listColumnAlignmentSetter, columnAlignments, uint8_t)
COLUMN_FIELD(listColumnAlignmentOffsetGetter, listColumnAlignmentOffsetSetter,
             columnAlignmentOffsets, int16_t)

stringStorage *listGetHeading(RuntimeObject *object, int32_t column) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !ColumnThroughCount(pane, column, true) || column < 0)
    return nullptr; // -1 names every heading at once: there is no one text to read
  return pane->GetHeadingName(column).ExtractStringStorage();
}

void listSetHeading(RuntimeObject *object, int32_t column, stringStorage *text) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (pane && ColumnThroughCount(pane, column, true))
    pane->SetHeadingNames(column, string::Borrow(text));
}

int32_t listColumnSortDirectionGetter(RuntimeObject *object, int32_t column) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane)
    return 1;
  return ColumnThroughCount(pane, column) ? pane->GetSortColumnDirection(column) : 0;
}

void listColumnSortDirectionSetter(RuntimeObject *object, int32_t column, int32_t direction) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !ColumnThroughCount(pane, column, true))
    return;
  if (column >= 0) {
    pane->SetSortColumnDirection(column, direction, false);
    return;
  }
  for (int32_t c = 0; c < pane->ColumnCount(); ++c)
    pane->SetSortColumnDirection(c, direction, false);
}

void RuntimeListResort(RuntimeObject *object) {
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    PaneHold hold(pane);
    pane->ListboxResort(pane->SortColumn());
  }
}

void listColumnPressHeader(RuntimeObject *object, int32_t column) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !DeclaredColumn(object, column))
    return;
  PaneHold hold(pane);
  pane->SetSortColumn(column);
}

RuntimeObject *listColumnGetter(RuntimeObject *object, int32_t column) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !ColumnThroughCount(pane, column, true))
    return nullptr;
  RuntimeObject *made = CreateInstance(ListColumnClass());
  if (!made)
    return nullptr;
  auto *c = reinterpret_cast<ListColumnObject *>(made);
  RuntimeLockObject(object);
  c->listbox = object;
  c->index = column;
  if (column < 0) {
    const char *texts[3] = {"0", "0", "-1"};
    for (int32_t i = 0; i < 3; ++i)
      c->expressions[i] = string(texts[i]).ExtractStringStorage();
    c->actuals[2] = -1;
    return made;
  }
  c->userResizable = pane->IsUserResizable(column) ? 1 : 0;
  c->expressions[0] = pane->GetColWidthExpression(column).ExtractStringStorage();
  c->expressions[1] = pane->GetMinColWidthExpression(column).ExtractStringStorage();
  c->expressions[2] = pane->GetMaxColWidthExpression(column).ExtractStringStorage();
  c->actuals[0] = pane->GetColWidthActual(column);
  c->actuals[1] = pane->GetMinColWidthActual(column);
  c->actuals[2] = pane->GetMaxColWidthActual(column);
  return made;
}

void listColumnSetter(RuntimeObject *object, int32_t column, RuntimeObject *description) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane || !ColumnThroughCount(pane, column, true) || !description)
    return;
  auto *d = reinterpret_cast<ListColumnObject *>(description);
  const int32_t first = column < 0 ? 0 : column;
  const int32_t last = column < 0 ? pane->ColumnCount() - 1 : column;
  for (int32_t c = first; c <= last; ++c) {
    pane->SetColumnUserResizable(c, (d->userResizable & 0xff) != 0);
    pane->SetColWidthExpression(c, string::Borrow(d->expressions[0]));
    pane->SetMinColWidthExpression(c, string::Borrow(d->expressions[1]));
    pane->SetMaxColWidthExpression(c, string::Borrow(d->expressions[2]));
    pane->SetColWidthActual(c, d->actuals[0]);
    pane->SetMinColWidthActual(c, d->actuals[1]);
    pane->SetMaxColWidthActual(c, d->actuals[2]);
  }
}

} // extern "C"
