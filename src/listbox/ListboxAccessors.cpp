// The ListBox class's property accessors: each works on the pane while the
// window is open and on the object's stored settings before and after.
#include <cstring>

#include "listbox/CommonListboxHeader.h"
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "foundation/AssertionAlert.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

ListboxControl *AsList(RuntimeObject *object) {
  return reinterpret_cast<ListboxControl *>(object);
}

#define FIELD(name) static_cast<int32_t>(offsetof(ListboxControl, name))

// Hands the object's font to the pane and its headings.
void PushFont(ListboxControl *c) {
  RuntimeListbox *pane = ListboxPaneOf(&c->control.header);
  if (!pane)
    return;
  const FontStructure font = c->font.getFont();
  pane->SetFontName(font.name);
  if (pane->FontSize() != font.size)
    pane->SetFontSize(font.size);
  pane->SetStyle(font.getMacStyle());
  pane->setHeadingFont(font);
  pane->InvalidateCell(-1, -1);
}

// Removes blanks and tabs at both ends.
string Trimmed(const char *start, const char *end) {
  while (start < end && (*start == ' ' || *start == '\t'))
    ++start;
  while (end > start && (end[-1] == ' ' || end[-1] == '\t'))
    --end;
  string s;
  s.ConstructFromBuffer(start, static_cast<int32_t>(end - start));
  return s;
}

} // namespace

extern "C" {

stringStorage *listTextFontGetter(RuntimeObject *object, int32_t) {
  return object ? RuntimeLockString(AsList(object)->font.name) : nullptr;
}

void listTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  if (!RUNTIME_CHECK(object != nullptr))
    return;
  AsList(object)->font.SetName(name);
  PushFont(AsList(object));
}

int32_t listTextSizeGetter(RuntimeObject *object, int32_t) {
  return object ? AsList(object)->font.size : 0;
}

void listTextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {
  if (!object)
    return;
  AsList(object)->font.size = static_cast<int16_t>(size);
  PushFont(AsList(object));
}

#define FONT_STYLE(Name, field)                                                                  \
  int32_t list##Name##Getter(RuntimeObject *object, int32_t) {                                    \
    return object && AsList(object)->font.field ? 1 : 0;                                          \
  }                                                                                               \
  void list##Name##Setter(RuntimeObject *object, int32_t, int32_t on) {                           \
    if (!object)                                                                                  \
      return;                                                                                     \
    AsList(object)->font.field = static_cast<uint8_t>(on != 0);                                   \
    PushFont(AsList(object));                                                                     \
  }
FONT_STYLE(Bold, bold)
FONT_STYLE(Italic, italic)
FONT_STYLE(Underline, underline)

int32_t listCountGetter(RuntimeObject *object, int32_t) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  return pane ? pane->GetRowCount() : 0;
}

int32_t listSelectionGetter(RuntimeObject *object, int32_t) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane)
    return -1;
  return pane->Editing() ? pane->EditRow() : pane->Selection();
}

void listSelectionSetter(RuntimeObject *object, int32_t, int32_t row) {
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    PaneHold hold(pane);
    pane->SetSelection(row, true);
  }
}

stringStorage *listTextGetter(RuntimeObject *object, int32_t) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  const int32_t row = pane ? pane->Selection() : -1;
  return row >= 0 ? RuntimeGetRow(object, row) : nullptr;
}

void listTextSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  const int32_t row = pane && !pane->BoundProvider() ? pane->Selection() : -1;
  if (row < 0)
    return;
  if (CellEntry *cell = pane->GetItemCell(row, 0, true)) {
    cell->mText = string::Borrow(text);
    pane->InvalidateCell(row, 0);
  }
}

int32_t listColumnCountGetter(RuntimeObject *object, int32_t) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    return pane->ColumnCount();
  return object ? AsList(object)->initialColumnCount : 0;
}

void listColumnCountSetter(RuntimeObject *object, int32_t, int32_t count) {
  if (!object)
    return;
  const uint32_t n = static_cast<uint32_t>(count);
  const int32_t clamped = n == 0 ? 1 : n > kMaxListColumns ? kMaxListColumns : count;
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    pane->SetColumnCount(clamped);
    pane->ReCalculateColumnWidths();
    if (pane->HeadingsShown())
      pane->UpdateHeaders();
    pane->InvalidateCell(-1, -1);
  } else {
    AsList(object)->initialColumnCount = clamped;
  }
}

stringStorage *listColumnWidthsGetter(RuntimeObject *object, int32_t) {
  if (!object)
    return nullptr;
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane)
    return RuntimeLockString(AsList(object)->columnWidths);
  string joined;
  for (int32_t i = 0; i < pane->ColumnCount(); ++i) {
    if (i > 0)
      joined += ", ";
    joined += pane->GetColWidthExpression(i);
  }
  stringStorage *text = joined.ExtractStringStorage();
  stringSetter(object, FIELD(columnWidths), text);
  return text;
}

void listColumnWidthsSetter(RuntimeObject *object, int32_t, stringStorage *widths) {
  if (!object)
    return;
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane) {
    stringSetter(object, FIELD(columnWidths), widths);
    return;
  }
  const string text = string::Borrow(widths);
  const char *rest = text.CString();
  const char *end = rest + text.Length();
  for (int32_t i = 0; i < pane->ColumnCount(); ++i) {
    if (rest >= end) {
      pane->SetColWidthExpression(i, string("1*"));
      continue;
    }
    const char *comma = static_cast<const char *>(std::memchr(rest, ',', end - rest));
    const char *stop = comma ? comma : end;
    pane->SetColWidthExpression(i, Trimmed(rest, stop));
    rest = comma ? comma + 1 : end;
  }
  pane->ReCalculateColumnWidths();
  if (pane->HeadingsShown())
    pane->UpdateHeaders();
  pane->InvalidateCell(-1, -1);
}

void listHierarchicalSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  boolSetter(object, FIELD(hierarchical), on);
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    pane->SetHierarchical(on != 0);
    pane->InvalidateRowHeight();
    pane->InvalidateCell(-1, -1);
  }
}

int32_t listLastIndexGetter(RuntimeObject *object, int32_t) {
  return object ? AsList(object)->lastIndex : 0;
}

void listEnableDragSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  boolSetter(object, FIELD(enableDrag), on);
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->SetEnableDrag(AsList(object)->enableDrag != 0);
}

void ListEnableDragReorderSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  boolSetter(object, FIELD(enableDragReorder), on);
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->SetEnableDragReorder(AsList(object)->enableDragReorder != 0);
}

int32_t listSelCountGetter(RuntimeObject *object, int32_t) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  return pane ? pane->getSelCount() : 0;
}

void listHasHeadingSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  boolSetter(object, FIELD(hasHeading), on);
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane)
    return;
  PaneHold hold(pane);
  pane->SetHeadingsShown(on != 0);
  if (on) {
    pane->ReCalculateColumnWidths();
    pane->UpdateColumnPositions();
    pane->UpdateHeaders();
    for (int32_t c = 0; c < pane->ColumnCount(); ++c)
      pane->SetSortColumnDirection(c, pane->GetSortColumnDirection(c), true);
    pane->SetSortColumn(pane->SortColumn());
    if (pane->CloseRan())
      return;
  } else {
    pane->ClearHeader();
  }
  pane->MovePane(pane->Bounds(), false);
  pane->InvalidatePane(true);
}

int32_t listSortedColumnGetter(RuntimeObject *object, int32_t) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    return pane->SortColumn();
  return object ? AsList(object)->initialSortedColumn : 0;
}

void listHeadingIndexSetter(RuntimeObject *object, int32_t, int32_t column) {
  if (!object)
    return;
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane) {
    AsList(object)->initialSortedColumn = column;
    return;
  }
  if (column < -1 || column >= pane->ColumnCount()) {
    RaiseOutOfBoundsException();
    return;
  }
  PaneHold hold(pane);
  pane->SetSortColumn(column);
}

void listSortedColumnSetter(RuntimeObject *object, int32_t, int32_t column) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->StoreSortColumn(column);
  else if (object)
    AsList(object)->initialSortedColumn = column;
}

int32_t listScrollPositionGetter(RuntimeObject *object, int32_t) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    return pane->GetScrollRow();
  return object ? AsList(object)->initialScrollRow : 0;
}

void listScrollPositionSetter(RuntimeObject *object, int32_t, int32_t row) {
  if (!object)
    return;
  row = row < 0 ? 0 : row;
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->SetScrollRow(row);
  else
    AsList(object)->initialScrollRow = row;
}

int32_t listScrollPositionXGetter(RuntimeObject *object, int32_t) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    return pane->HScrollOffset();
  return object ? AsList(object)->initialScrollX : 0;
}

void listScrollPositionXSetter(RuntimeObject *object, int32_t, int32_t x) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->SetScrollPositionX(x);
  else if (object)
    AsList(object)->initialScrollX = x;
}

void listHScrollBarSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  boolSetter(object, FIELD(scrollBarHorizontal), on);
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    if (on)
      pane->AddHScroller();
    else
      pane->RemoveHScroller();
    pane->MovePane(pane->Bounds(), true);
  }
}

void listVScrollBarSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  boolSetter(object, FIELD(scrollBarVertical), on);
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    if (on)
      pane->AddVScroller();
    else
      pane->RemoveVScroller();
    pane->MovePane(pane->Bounds(), true);
  }
}

stringStorage *ListboxDataSourceGetter(RuntimeObject *object, int32_t) {
  return object ? RuntimeLockString(AsList(object)->dataSource) : nullptr;
}

void ListboxDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  if (!object)
    return;
  stringSetter(object, FIELD(dataSource), name);
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    pane->RemoveBinding();
    pane->SetDataSourceName(string::Borrow(name));
    pane->InitializeBinding();
  }
}

void ListboxDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  if (!object)
    return;
  stringSetter(object, FIELD(dataField), name);
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->InitializeBinding();
}

void listHGridLinesSetter(RuntimeObject *object, int32_t, int32_t style) {
  if (!object)
    return;
  AsList(object)->gridLinesHorizontal = style;
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    pane->SetHorizontalGridStyle(style);
    pane->InvalidateCell(-1, -1);
  }
}

void listVGridLinesSetter(RuntimeObject *object, int32_t, int32_t style) {
  if (!object)
    return;
  AsList(object)->gridLinesVertical = style;
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    pane->SetVerticalGridStyle(style);
    pane->InvalidateCell(-1, -1);
  }
}

void listDefaultRowHeightSetter(RuntimeObject *object, int32_t, int32_t height) {
  if (!object)
    return;
  AsList(object)->defaultRowHeight = height;
  if (RuntimeListbox *pane = ListboxPaneOf(object)) {
    pane->InvalidateRowHeight();
    pane->InvalidateCell(-1, -1);
  }
}

RuntimeObject *listActiveCellGetter(RuntimeObject *object, int32_t) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  RuntimeObject *field = pane && pane->CellEditor() ? pane->CellEditorObject() : nullptr;
  if (field)
    RuntimeLockObject(field);
  return field;
}

} // extern "C"
