// The "Listbox" class of the language: its tables of events, properties,
// constants, methods and interfaces, the object's construction and
// destruction, and the pane the window builds from the object's fields.
#include <cstring>
#include <iterator>

#include "controls/ControlClasses.h"
#include "graphics/GraphicsServices.h"
#include "language/Variant.h"
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/EditFieldClass.h"

namespace {

#define CODE(function) reinterpret_cast<void *>(function), #function
#define FIELD(name) static_cast<int32_t>(offsetof(ListboxControl, name))
#define NONE nullptr, nullptr

constexpr int32_t kDesignTime = 128;

ObjectInstanceTemplate ListboxProperties[] = {
    {0, "TextFont", &stringType.type, CODE(listTextFontGetter), CODE(listTextFontSetter), 0, 0},
    {0, "TextSize", &integerType.type, CODE(listTextSizeGetter), CODE(listTextSizeSetter), 0, 0},
    {0, "Bold", &booleanType.type, CODE(listBoldGetter), CODE(listBoldSetter), 0, 0},
    {0, "Italic", &booleanType.type, CODE(listItalicGetter), CODE(listItalicSetter), 0, 0},
    {0, "Underline", &booleanType.type, CODE(listUnderlineGetter), CODE(listUnderlineSetter), 0,
     0},
    {0, "ListCount", &integerType.type, CODE(listCountGetter), NONE, 0, 0},
    {0, "ListIndex", &integerType.type, CODE(listSelectionGetter), CODE(listSelectionSetter), 0,
     0},
    {0, "Text", &stringType.type, CODE(listTextGetter), CODE(listTextSetter), 0, 0},
    {0, "ColumnCount", &integerType.type, CODE(listColumnCountGetter),
     CODE(listColumnCountSetter), 0, 0},
    {0, "ColumnWidths", &stringType.type, CODE(listColumnWidthsGetter),
     CODE(listColumnWidthsSetter), 0, 0},
    {0, "Hierarchical", &booleanType.type, CODE(boolGetter), CODE(listHierarchicalSetter),
     FIELD(hierarchical), 0},
    {0, "LastIndex", &integerType.type, CODE(listLastIndexGetter), NONE, 0, 0},
    {0, "EnableDrag", &booleanType.type, CODE(boolGetter), CODE(listEnableDragSetter),
     FIELD(enableDrag), 0},
    {0, "EnableDragReorder", &booleanType.type, CODE(boolGetter),
     CODE(ListEnableDragReorderSetter), FIELD(enableDragReorder), 0},
    {kDesignTime, "SelectionType", &integerType.type, CODE(intGetter), CODE(intSetter),
     FIELD(selectionType), 0},
    {1, "SelCount", &integerType.type, CODE(listSelCountGetter), NONE, 0, 0},
    {kDesignTime, "InitialValue", &stringType.type, CODE(stringGetter), CODE(stringSetter),
     FIELD(initialValue), 0},
    {0, "HasHeading", &booleanType.type, CODE(boolGetter), CODE(listHasHeadingSetter),
     FIELD(hasHeading), 0},
    {kDesignTime, "UseFocusRing", &booleanType.type, CODE(boolGetter), CODE(boolSetter),
     FIELD(useFocusRing), 0},
    {0, "HeadingIndex", &integerType.type, CODE(listSortedColumnGetter),
     CODE(listHeadingIndexSetter), 0, 0},
    {0, "ScrollPosition", &integerType.type, CODE(listScrollPositionGetter),
     CODE(listScrollPositionSetter), 0, 0},
    {0, "ScrollPositionX", &integerType.type, CODE(listScrollPositionXGetter),
     CODE(listScrollPositionXSetter), 0, 0},
    {0, "ScrollBarHorizontal", &booleanType.type, CODE(boolGetter), CODE(listHScrollBarSetter),
     FIELD(scrollBarHorizontal), 0},
    {0, "ScrollBarVertical", &booleanType.type, CODE(boolGetter), CODE(listVScrollBarSetter),
     FIELD(scrollBarVertical), 0},
    {0, "DataSource", &stringType.type, CODE(ListboxDataSourceGetter),
     CODE(ListboxDataSourceSetter), 0, 0},
    {0, "DataField", &stringType.type, CODE(stringGetter), CODE(ListboxDataFieldSetter),
     FIELD(dataField), 0},
    {0, "GridLinesHorizontal", &integerType.type, CODE(intGetter), CODE(listHGridLinesSetter),
     FIELD(gridLinesHorizontal), 0},
    {0, "GridLinesVertical", &integerType.type, CODE(intGetter), CODE(listVGridLinesSetter),
     FIELD(gridLinesVertical), 0},
    {0, "DefaultRowHeight", &integerType.type, CODE(intGetter), CODE(listDefaultRowHeightSetter),
     FIELD(defaultRowHeight), 0},
    {1, "ActiveCell", nullptr, CODE(listActiveCellGetter), NONE, 0, 0},
    {1, "SortedColumn", &integerType.type, CODE(listSortedColumnGetter),
     CODE(listSortedColumnSetter), 0, 0},
    {2, "ColumnsResizable", &booleanType.type, CODE(boolGetter), CODE(boolSetter),
     FIELD(columnsResizable), 0},
};
enum { kActiveCellProperty = 29 };

ObjectConstantTemplate ListboxConstants[] = {
    {0, "AlignDefault", 1, "0"},     {0, "AlignLeft", 1, "1"},
    {0, "AlignCenter", 1, "2"},      {0, "AlignRight", 1, "3"},
    {0, "AlignDecimal", 1, "4"},     {0, "BorderDefault", 1, "0"},
    {0, "BorderNone", 1, "1"},       {0, "BorderThinDotted", 1, "2"},
    {0, "BorderThinSolid", 1, "3"},  {0, "BorderThickSolid", 1, "4"},
    {0, "BorderDoubleThinSolid", 1, "5"}, {0, "TypeDefault", 1, "0"},
    {0, "TypeNormal", 1, "1"},       {0, "TypeCheckbox", 1, "2"},
    {0, "TypeEditable", 1, "3"},     {0, "SortDescending", 1, "-1"},
    {0, "SortNone", 1, "0"},         {0, "SortAscending", 1, "1"},
    {0, "SelectionSingle", 1, "0"},  {0, "SelectionMultiple", 1, "1"},
};

#define PARAM(name, type) {name, type, 0, {}, 0, {}, 0, {}}

MethodParameter TextParam[] = {PARAM("Text", &stringType.type)};
// Shared by InsertRow and InsertFolder; the indent may be left out.
MethodParameter InsertParams[] = {PARAM("row", &integerType.type),
                                  PARAM("text", &stringType.type),
                                  {"_indent", &integerType.type, 0, {}, 1, {}, 0, {}}};
MethodParameter IndexParam[] = {PARAM("Index", &integerType.type)};
MethodParameter IndexText[] = {PARAM("Index", &integerType.type), PARAM("value", &stringType.type)};
MethodParameter IndexInteger[] = {PARAM("Index", &integerType.type),
                                  PARAM("value", &integerType.type)};
MethodParameter IndexPicture[] = {PARAM("Index", &integerType.type), PARAM("value", nullptr)};
MethodParameter IndexColumn[] = {PARAM("Index", &integerType.type), PARAM("value", nullptr)};
MethodParameter VParam[] = {PARAM("v", &integerType.type)};
MethodParameter VBoolean[] = {PARAM("v", &integerType.type), PARAM("value", &booleanType.type)};
MethodParameter Cell[] = {PARAM("row", &integerType.type), PARAM("column", &integerType.type)};
MethodParameter CellText[] = {PARAM("row", &integerType.type), PARAM("column", &integerType.type),
                              PARAM("value", &stringType.type)};
MethodParameter CellBoolean[] = {PARAM("row", &integerType.type),
                                 PARAM("column", &integerType.type),
                                 PARAM("value", &booleanType.type)};
MethodParameter CellInteger[] = {PARAM("row", &integerType.type),
                                 PARAM("column", &integerType.type),
                                 PARAM("value", &integerType.type)};
MethodParameter CellVariant[] = {PARAM("row", &integerType.type),
                                 PARAM("column", &integerType.type), PARAM("value", nullptr)};
MethodParameter ReceiverParam[] = {PARAM("receiver", nullptr)};
MethodParameter DataParam[] = {PARAM("data", nullptr)};
MethodParameter StrParam[] = {PARAM("Str", &stringType.type)};

#define PLAIN(name, result, params, count, function)                                              \
  {name, result, params, count, {{CODE(function), {}}, {}}, kPlainMethod, 0, 0}
#define ASSIGNS(name, result, params, count, getter, setter)                                      \
  {name, result, params, count, {{CODE(getter), {}}, {CODE(setter), {}}}, kAssignsMethod, 0, 0}

PropertyType *const kString = &stringType.type;
PropertyType *const kInteger = &integerType.type;
PropertyType *const kBoolean = &booleanType.type;

PropertyMethod ListboxMethods[] = {
    PLAIN("DeleteAllRows", nullptr, nullptr, 0, RuntimeListEmpty),
    PLAIN("AddRow", nullptr, TextParam, 1, RuntimeListAddRow),
    PLAIN("InsertRow", nullptr, InsertParams, 3, RuntimeListInsertRow),
    PLAIN("AddFolder", nullptr, TextParam, 1, RuntimeListAddParent),
    PLAIN("InsertFolder", nullptr, InsertParams, 3, RuntimeListInsertParent),
    PLAIN("RemoveRow", nullptr, IndexParam, 1, RuntimeRemoveRow),
    ASSIGNS("List", kString, IndexText, 2, RuntimeGetRow, RuntimeSetRow),
    ASSIGNS("Cell", kString, CellText, 3, listGetCell, listSetCell),
    ASSIGNS("CellBold", kBoolean, CellBoolean, 3, listGetCellBold, listSetCellBold),
    ASSIGNS("CellItalic", kBoolean, CellBoolean, 3, listGetCellItalic, listSetCellItalic),
    ASSIGNS("CellUnderline", kBoolean, CellBoolean, 3, listGetCellUnderline,
            listSetCellUnderline),
    PLAIN("InvalidateCell", nullptr, Cell, 2, listInvalidateCell),
    ASSIGNS("RowPicture", nullptr, IndexPicture, 2, listGetRowPicture, listSetRowPicture),
    ASSIGNS("Selected", kBoolean, VBoolean, 2, listGetSelected, listSetSelected),
    ASSIGNS("Expanded", kBoolean, VBoolean, 2, listGetExpanded, listSetExpanded),
    ASSIGNS("Heading", kString, IndexText, 2, listGetHeading, listSetHeading),
    PLAIN("addListSelectionNotificationReceiver", nullptr, ReceiverParam, 1, listAddLSNR),
    PLAIN("removeListSelectionNotificationReceiver", nullptr, ReceiverParam, 1, listRemoveLSNR),
    PLAIN("BindList", nullptr, DataParam, 1, listBind),
    PLAIN("listDataInsertedRow", nullptr, VParam, 1, listListDataInsertedRow),
    PLAIN("listDataRemovedRow", nullptr, VParam, 1, listListDataRemovedRow),
    PLAIN("listDataReload", nullptr, nullptr, 0, listListDataReload),
    ASSIGNS("CellCheck", kBoolean, CellBoolean, 3, listCellCheckGetter, listCellCheckSetter),
    ASSIGNS("CellType", kInteger, CellInteger, 3, listCellTypeGetter, listCellTypeSetter),
    ASSIGNS("ColumnType", kInteger, IndexInteger, 2, listColumnTypeGetter, listColumnTypeSetter),
    ASSIGNS("CellAlignment", kInteger, CellInteger, 3, listCellAlignmentGetter,
            listCellAlignmentSetter),
    ASSIGNS("ColumnAlignment", kInteger, IndexInteger, 2, listColumnAlignmentGetter,
            listColumnAlignmentSetter),
    ASSIGNS("CellAlignmentOffset", kInteger, CellInteger, 3, listCellAlignmentOffsetGetter,
            listCellAlignmentOffsetSetter),
    ASSIGNS("ColumnAlignmentOffset", kInteger, IndexInteger, 2, listColumnAlignmentOffsetGetter,
            listColumnAlignmentOffsetSetter),
    PLAIN("getBoundPart", nullptr, StrParam, 1, listGetBoundPart),
    ASSIGNS("CellBorderTop", kInteger, CellInteger, 3, listGetCellBorderTop, listSetCellBorderTop),
    ASSIGNS("CellBorderLeft", kInteger, CellInteger, 3, listGetCellBorderLeft,
            listSetCellBorderLeft),
    ASSIGNS("CellBorderBottom", kInteger, CellInteger, 3, listGetCellBorderBottom,
            listSetCellBorderBottom),
    ASSIGNS("CellBorderRight", kInteger, CellInteger, 3, listGetCellBorderRight,
            listSetCellBorderRight),
    PLAIN("EditCell", nullptr, Cell, 2, listEditCell),
    ASSIGNS("ColumnSortDirection", kInteger, IndexInteger, 2, listColumnSortDirectionGetter,
            listColumnSortDirectionSetter),
    PLAIN("Sort", nullptr, nullptr, 0, RuntimeListResort),
    ASSIGNS("Column", nullptr, IndexColumn, 2, listColumnGetter, listColumnSetter),
    PLAIN("PressHeader", nullptr, VParam, 1, listColumnPressHeader),
    ASSIGNS("CellTag", nullptr, CellVariant, 3, listGetCellTag, listSetCellTag),
};
enum {
  kRowPictureMethod = 12,
  kBoundPartMethod = 29,
  kColumnMethod = 37,
  kCellTagMethod = 39,
};
static_assert(std::size(ListboxMethods) == 40);

ObjectInstanceTemplate ListColumnProperties[] = {
    {0, "UserResizable", &booleanType.type, CODE(listColUserResizableGetter),
     CODE(listColUserResizableSetter), 0, 0},
    {0, "WidthExpression", &stringType.type, CODE(listColWidthExpressionGetter),
     CODE(listColWidthExpressionSetter), 0, 0},
    {0, "MinWidthExpression", &stringType.type, CODE(listColWidthExpressionGetter),
     CODE(listColWidthExpressionSetter), 1, 0},
    {0, "MaxWidthExpression", &stringType.type, CODE(listColWidthExpressionGetter),
     CODE(listColWidthExpressionSetter), 2, 0},
    {0, "WidthActual", &integerType.type, CODE(listColWidthActualGetter),
     CODE(listColWidthActualSetter), 0, 0},
    {0, "MinWidthActual", &integerType.type, CODE(listColWidthActualGetter),
     CODE(listColWidthActualSetter), 1, 0},
    {0, "MaxWidthActual", &integerType.type, CODE(listColWidthActualGetter),
     CODE(listColWidthActualSetter), 2, 0},
};

} // namespace

ObjectConstantTemplate *ListboxConstantTable(int32_t *count) {
  *count = static_cast<int32_t>(std::size(ListboxConstants));
  return ListboxConstants;
}

const MethodParameter *ListboxInsertParameters() { return InsertParams; }

ObjectDefinition *ListboxClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineControlClass(defn, "Listbox", RectControlClass(), kListboxInstanceSize, listboxDestructor,
                     ListboxCreatePane);
  defn.constructor = listboxConstructor;
  FillHooks(&defn, ListboxHooks, kListboxEventCount);
  ListboxProperties[kActiveCellProperty].type = EditClass()->AsType();
  defn.properties = FillInstances(ListboxProperties, std::size(ListboxProperties));
  FillConstants(&defn, ListboxConstants, std::size(ListboxConstants));
  IndexPicture[1].type = PictureClass()->AsType();
  ListboxMethods[kRowPictureMethod].returnType = PictureClass()->AsType();
  IndexColumn[1].type = ListColumnClass()->AsType();
  ListboxMethods[kColumnMethod].returnType = ListColumnClass()->AsType();
  CellVariant[2].type = VariantClass()->AsType();
  ListboxMethods[kCellTagMethod].returnType = VariantClass()->AsType();
  ReceiverParam[0].type = ListSelectionNotificationReceiverClass()->AsType();
  DataParam[0].type = ListDataProviderClass()->AsType();
  ListboxMethods[kBoundPartMethod].returnType = ObjectClass()->AsType();
  defn.methods = FillMethods(ListboxMethods, std::size(ListboxMethods));
  // Newest first: added in reverse so that they read in declaration order.
  defn.addInterface(ListInterfaceClass());
  defn.addInterface(BindingPartInterfaceClass());
  defn.addInterface(ListDataNotificationReceiverClass());
  defn.addInterface(ListSelectionNotifierClass());
  return &defn;
}

ObjectDefinition *ListColumnClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("ListColumn");
  defn.objectSize = kListColumnInstanceSize;
  defn.constructor = listColumnConstructor;
  defn.destructor = listColumnDestructor;
  defn.staticTables = 1;
  defn.properties = FillInstances(ListColumnProperties, std::size(ListColumnProperties));
  return &defn;
}

RuntimeListbox *ListboxPaneOf(RuntimeObject *object) {
  if (!object)
    return nullptr;
  SubPane *pane = reinterpret_cast<ListboxControl *>(object)->control.pane;
  return pane ? static_cast<RuntimeListbox *>(pane) : nullptr;
}

extern "C" {

void listboxConstructor(RuntimeObject *object) {
  reinterpret_cast<ListboxControl *>(object)->initialColumnCount = 1;
}

void listboxDestructor(RuntimeObject *object) {
  ListboxControl *c = reinterpret_cast<ListboxControl *>(object);
  c->gotFocusNotifiers.Clear();
  c->lostFocusNotifiers.Clear();
  c->font.Release();
  for (stringStorage **s : {&c->initialValue, &c->columnWidths, &c->dataSource, &c->dataField}) {
    RuntimeUnlockString(*s);
    *s = nullptr;
  }
}

void ListboxCreatePane(RuntimeObject *object) {
  ListboxControl *c = reinterpret_cast<ListboxControl *>(object);
  auto *pane = new RuntimeListbox(c, c->control.container, c->control.tabPanelIndex,
                                  c->control.bounds);
  c->control.pane = pane;
  PaneHold hold(pane);
  if (RuntimeControl *parent = c->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetHScrollOffset(c->initialScrollX);

  const FontStructure font = c->font.getFont();
  pane->SetFontName(font.name);
  pane->SetFontSize(font.size);
  pane->SetStyle(font.getMacStyle());
  pane->SetHierarchical(c->hierarchical != 0);
  pane->InvalidateRowHeight();

  pane->SetHeadingsShown(c->hasHeading != 0);
  pane->SetFocusRingAllowed(c->useFocusRing != 0);
  pane->SetUserResizable(c->columnsResizable != 0);
  pane->SetColumnCount(c->initialColumnCount);
  if (c->scrollBarVertical)
    pane->AddVScroller();
  if (!c->control.enabled)
    pane->HandleAction(6);
  if (!c->control.visible)
    pane->HandleAction(8);
  pane->SetEnableDrag(c->enableDrag != 0);
  pane->SetEnableDragReorder(c->enableDragReorder != 0);
  pane->ResetInitialContent();
  if (pane->CloseRan())
    return;

  stringStorage *widths = RuntimeLockString(c->columnWidths);
  listColumnWidthsSetter(object, 0, widths);
  RuntimeUnlockString(widths);
  if (c->hasHeading) {
    pane->UpdateColumnPositions();
    pane->UpdateHeaders();
  }
  listHeadingIndexSetter(object, 0, c->initialSortedColumn);
  if (pane->CloseRan())
    return;
  pane->SetScrollRow(c->initialScrollRow);
  if (c->scrollBarHorizontal) {
    pane->AddHScroller();
    if (Scroller *h = pane->HScroller())
      h->SetValue(c->initialScrollX);
  }
  pane->SetDataSourceName(string::Borrow(c->dataSource));
  pane->InitializeBinding();
}

} // extern "C"
