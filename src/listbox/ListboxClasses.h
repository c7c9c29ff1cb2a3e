// The language classes of list boxes: ListBox, ListColumn and the three
// part classes that binding hands out, with the objects' layouts and the
// entry points compiled code calls under their export names.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "listbox/ListboxControl.h"

class Array;
class RuntimeListbox;

ObjectDefinition *ListboxClass();
ObjectDefinition *ListColumnClass();
ObjectDefinition *ListboxActionClass();
ObjectDefinition *ListSelectionProviderClass();
ObjectDefinition *ListColumnValueProviderClass();

// The pane of a ListBox object, nil before its window built it and after
// it closed.
RuntimeListbox *ListboxPaneOf(RuntimeObject *object);

// Leaves the list-data provider bound to the ListBox object, if any: tells
// it to forget the list and drops the reference.
void UnbindListProvider(RuntimeObject *object);

// Calls the method of that name of the interface on each object of the
// list, in order, over a snapshot that holds a reference on each, so that a
// receiver may add or remove receivers meanwhile.
void CallEachReceiver(const Array &list, ObjectDefinition *iface, const char *method);

// A detached description of one column (index >= 0) or of all (-1).
struct ListColumnObject {
  RuntimeObject header;
  RuntimeObject *listbox; // counted; nil until Column sets it
  int32_t index;
  int32_t userResizable; // read as a byte
  stringStorage *expressions[3]; // width, minimum, maximum
  int32_t actuals[3];            // width, minimum, maximum
};
constexpr int32_t kListColumnInstanceSize = 60;
static_assert(sizeof(ListColumnObject) == kListColumnInstanceSize);
static_assert(offsetof(ListColumnObject, listbox) == 24);
static_assert(offsetof(ListColumnObject, index) == 28);
static_assert(offsetof(ListColumnObject, userResizable) == 32);
static_assert(offsetof(ListColumnObject, expressions) == 36);
static_assert(offsetof(ListColumnObject, actuals) == 48);

// "Sys$ListboxAction": the got-focus (kind 1) or lost-focus (0) action.
struct ListboxActionObject {
  RuntimeObject header;
  RuntimeObject *listbox; // counted
  int32_t kind;
};
static_assert(sizeof(ListboxActionObject) == 32);

// "listSelectionProvider": whether the list has a selected row.
struct ListSelectionProviderObject {
  RuntimeObject header;
  RuntimeObject *listbox; // counted
  DataNotifierHandler receivers;
};
static_assert(sizeof(ListSelectionProviderObject) == 32);

// "listColumnValueProvider": one column's text of the selected row.
struct ListColumnValueProviderObject {
  RuntimeObject header;
  RuntimeObject *listbox; // counted
  int32_t column;
  Array *receivers; // counted dataNotificationReceiver objects
};
static_assert(sizeof(ListColumnValueProviderObject) == 36);
static_assert(offsetof(ListColumnValueProviderObject, column) == 28);
static_assert(offsetof(ListColumnValueProviderObject, receivers) == 32);

extern "C" {
void listboxConstructor(RuntimeObject *object);
void listboxDestructor(RuntimeObject *object);
void ListboxCreatePane(RuntimeObject *object);

// Properties.
stringStorage *listTextFontGetter(RuntimeObject *object, int32_t);
void listTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t listTextSizeGetter(RuntimeObject *object, int32_t);
void listTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
int32_t listBoldGetter(RuntimeObject *object, int32_t);
void listBoldSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t listItalicGetter(RuntimeObject *object, int32_t);
void listItalicSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t listUnderlineGetter(RuntimeObject *object, int32_t);
void listUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t listCountGetter(RuntimeObject *object, int32_t);
int32_t listSelectionGetter(RuntimeObject *object, int32_t);
void listSelectionSetter(RuntimeObject *object, int32_t, int32_t row);
stringStorage *listTextGetter(RuntimeObject *object, int32_t);
void listTextSetter(RuntimeObject *object, int32_t, stringStorage *text);
int32_t listColumnCountGetter(RuntimeObject *object, int32_t);
void listColumnCountSetter(RuntimeObject *object, int32_t, int32_t count);
stringStorage *listColumnWidthsGetter(RuntimeObject *object, int32_t);
void listColumnWidthsSetter(RuntimeObject *object, int32_t, stringStorage *widths);
void listHierarchicalSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t listLastIndexGetter(RuntimeObject *object, int32_t);
void listEnableDragSetter(RuntimeObject *object, int32_t, int32_t on);
void ListEnableDragReorderSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t listSelCountGetter(RuntimeObject *object, int32_t);
void listHasHeadingSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t listSortedColumnGetter(RuntimeObject *object, int32_t);
void listHeadingIndexSetter(RuntimeObject *object, int32_t, int32_t column);
void listSortedColumnSetter(RuntimeObject *object, int32_t, int32_t column);
int32_t listScrollPositionGetter(RuntimeObject *object, int32_t);
void listScrollPositionSetter(RuntimeObject *object, int32_t, int32_t row);
int32_t listScrollPositionXGetter(RuntimeObject *object, int32_t);
void listScrollPositionXSetter(RuntimeObject *object, int32_t, int32_t x);
void listHScrollBarSetter(RuntimeObject *object, int32_t, int32_t on);
void listVScrollBarSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *ListboxDataSourceGetter(RuntimeObject *object, int32_t);
void ListboxDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name);
void ListboxDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name);
void listHGridLinesSetter(RuntimeObject *object, int32_t, int32_t style);
void listVGridLinesSetter(RuntimeObject *object, int32_t, int32_t style);
void listDefaultRowHeightSetter(RuntimeObject *object, int32_t, int32_t height);
RuntimeObject *listActiveCellGetter(RuntimeObject *object, int32_t);

// Rows.
void RuntimeListEmpty(RuntimeObject *object);
void RuntimeListAddRow(RuntimeObject *object, stringStorage *text);
void RuntimeListAddParent(RuntimeObject *object, stringStorage *text);
void RuntimeListInsertRow(RuntimeObject *object, int32_t row, stringStorage *text, int32_t indent);
void RuntimeListInsertParent(RuntimeObject *object, int32_t row, stringStorage *text,
                             int32_t indent);
void RuntimeRemoveRow(RuntimeObject *object, int32_t row);
stringStorage *RuntimeGetRow(RuntimeObject *object, int32_t row);
void RuntimeSetRow(RuntimeObject *object, int32_t row, stringStorage *text);
RuntimeObject *listGetRowPicture(RuntimeObject *object, int32_t row);
void listSetRowPicture(RuntimeObject *object, int32_t row, RuntimeObject *picture);
int32_t listGetSelected(RuntimeObject *object, int32_t row);
void listSetSelected(RuntimeObject *object, int32_t row, int32_t on);
int32_t listGetExpanded(RuntimeObject *object, int32_t row);
void listSetExpanded(RuntimeObject *object, int32_t row, int32_t on);

// Cells.
stringStorage *listGetCell(RuntimeObject *object, int32_t row, int32_t column);
void listSetCell(RuntimeObject *object, int32_t row, int32_t column, stringStorage *text);
int32_t listGetCellBold(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellBold(RuntimeObject *object, int32_t row, int32_t column, int32_t on);
int32_t listGetCellItalic(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellItalic(RuntimeObject *object, int32_t row, int32_t column, int32_t on);
int32_t listGetCellUnderline(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellUnderline(RuntimeObject *object, int32_t row, int32_t column, int32_t on);
void listInvalidateCell(RuntimeObject *object, int32_t row, int32_t column);
int32_t listCellCheckGetter(RuntimeObject *object, int32_t row, int32_t column);
void listCellCheckSetter(RuntimeObject *object, int32_t row, int32_t column, int32_t on);
int32_t listCellTypeGetter(RuntimeObject *object, int32_t row, int32_t column);
void listCellTypeSetter(RuntimeObject *object, int32_t row, int32_t column, int32_t type);
int32_t listCellAlignmentGetter(RuntimeObject *object, int32_t row, int32_t column);
void listCellAlignmentSetter(RuntimeObject *object, int32_t row, int32_t column, int32_t value);
int32_t listCellAlignmentOffsetGetter(RuntimeObject *object, int32_t row, int32_t column);
void listCellAlignmentOffsetSetter(RuntimeObject *object, int32_t row, int32_t column,
                                   int32_t value);
RuntimeObject *listGetCellTag(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellTag(RuntimeObject *object, int32_t row, int32_t column, RuntimeObject *tag);
int32_t listGetCellBorderTop(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellBorderTop(RuntimeObject *object, int32_t row, int32_t column, int32_t style);
int32_t listGetCellBorderLeft(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellBorderLeft(RuntimeObject *object, int32_t row, int32_t column, int32_t style);
int32_t listGetCellBorderBottom(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellBorderBottom(RuntimeObject *object, int32_t row, int32_t column, int32_t style);
int32_t listGetCellBorderRight(RuntimeObject *object, int32_t row, int32_t column);
void listSetCellBorderRight(RuntimeObject *object, int32_t row, int32_t column, int32_t style);
void listEditCell(RuntimeObject *object, int32_t row, int32_t column);

// Columns and headings.
int32_t listColumnTypeGetter(RuntimeObject *object, int32_t column);
void listColumnTypeSetter(RuntimeObject *object, int32_t column, int32_t type);
int32_t listColumnAlignmentGetter(RuntimeObject *object, int32_t column);
void listColumnAlignmentSetter(RuntimeObject *object, int32_t column, int32_t value);
int32_t listColumnAlignmentOffsetGetter(RuntimeObject *object, int32_t column);
void listColumnAlignmentOffsetSetter(RuntimeObject *object, int32_t column, int32_t value);
stringStorage *listGetHeading(RuntimeObject *object, int32_t column);
void listSetHeading(RuntimeObject *object, int32_t column, stringStorage *text);
int32_t listColumnSortDirectionGetter(RuntimeObject *object, int32_t column);
void listColumnSortDirectionSetter(RuntimeObject *object, int32_t column, int32_t direction);
void RuntimeListResort(RuntimeObject *object);
void listColumnPressHeader(RuntimeObject *object, int32_t column);
RuntimeObject *listColumnGetter(RuntimeObject *object, int32_t column);
void listColumnSetter(RuntimeObject *object, int32_t column, RuntimeObject *description);

// ListColumn.
void listColumnConstructor(RuntimeObject *object);
void listColumnDestructor(RuntimeObject *object);
int32_t listColUserResizableGetter(RuntimeObject *object, int32_t);
void listColUserResizableSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *listColWidthExpressionGetter(RuntimeObject *object, int32_t which);
void listColWidthExpressionSetter(RuntimeObject *object, int32_t which, stringStorage *text);
int32_t listColWidthActualGetter(RuntimeObject *object, int32_t which);
void listColWidthActualSetter(RuntimeObject *object, int32_t which, int32_t width);

// Binding.
void listAddLSNR(RuntimeObject *object, RuntimeObject *receiver);
void listRemoveLSNR(RuntimeObject *object, RuntimeObject *receiver);
void listBind(RuntimeObject *object, RuntimeObject *provider);
void listListDataInsertedRow(RuntimeObject *object, int32_t row);
void listListDataRemovedRow(RuntimeObject *object, int32_t row);
void listListDataReload(RuntimeObject *object);
RuntimeObject *listGetBoundPart(RuntimeObject *object, stringStorage *name);
void listboxActionDestructor(RuntimeObject *object);
void lbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void lbaRemoveActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void listSelectionProviderDestructor(RuntimeObject *object);
void listSelectionAddDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void listSelectionRemoveDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
int32_t listSelectionGetBoolean(RuntimeObject *part);
void listSelectionSetBoolean(RuntimeObject *part, int32_t value);
void listSelectionChanging(RuntimeObject *part);
void listSelectionChanged(RuntimeObject *part);
void listColumnValueProviderDestructor(RuntimeObject *object);
stringStorage *lcvpGetString(RuntimeObject *part);
void lcvpSetString(RuntimeObject *part, stringStorage *text);
void lcvpAddDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void lcvpRemoveDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void lcvpSelectionChanging(RuntimeObject *part);
void lcvpSelectionChanged(RuntimeObject *part);
int32_t lcvpDataAvailable(RuntimeObject *part);
}
