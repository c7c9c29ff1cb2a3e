// The ListBox class and its companions as compiled code sees them: the
// golden class tables, the accessors with and without a pane, the index
// rules of the methods, rows and cells, in-place editing, clicks routed to
// cells and check boxes, handlers that close the window, and binding to a
// list-data provider and to part objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ListTestSupport.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "controls/DataBindingServices.h"
#include "foundation/TextEncodings.h"
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ClassTableChecks.h"
#include "support/WindowsTestSupport.h"
#include "text/EditControl.h"

namespace {

stringStorage *Str(const char *text) { return string(text).ExtractStringStorage(); }

std::string Take(stringStorage *s) {
  std::string text = s ? stringStorage::CString(s) : "(nil)";
  RuntimeUnlockString(s);
  return text;
}

// ---- golden tables

const std::vector<std::string> kListboxTable = {
    "Listbox : RectControl, size 448",
    "implements listSelectionNotifier",
    "implements listDataNotificationReceiver",
    "implements bindingPartInterface",
    "implements ListInterface",
    "TextFont As String, listTextFontGetter(0) / listTextFontSetter, flags 0",
    "TextSize As Integer, listTextSizeGetter(0) / listTextSizeSetter, flags 0",
    "Bold As Boolean, listBoldGetter(0) / listBoldSetter, flags 0",
    "Italic As Boolean, listItalicGetter(0) / listItalicSetter, flags 0",
    "Underline As Boolean, listUnderlineGetter(0) / listUnderlineSetter, flags 0",
    "ListCount As Integer, listCountGetter(0) / -, flags 1",
    "ListIndex As Integer, listSelectionGetter(0) / listSelectionSetter, flags 0",
    "Text As String, listTextGetter(0) / listTextSetter, flags 0",
    "ColumnCount As Integer, listColumnCountGetter(0) / listColumnCountSetter, flags 0",
    "ColumnWidths As String, listColumnWidthsGetter(0) / listColumnWidthsSetter, flags 0",
    "Hierarchical As Boolean, boolGetter(108) / listHierarchicalSetter, flags 0",
    "LastIndex As Integer, listLastIndexGetter(0) / -, flags 1",
    "EnableDrag As Boolean, boolGetter(109) / listEnableDragSetter, flags 0",
    "EnableDragReorder As Boolean, boolGetter(110) / ListEnableDragReorderSetter, flags 0",
    "SelectionType As Integer, intGetter(116) / intSetter, flags 128",
    "SelCount As Integer, listSelCountGetter(0) / -, flags 1",
    "InitialValue As String, stringGetter(144) / stringSetter, flags 128",
    "HasHeading As Boolean, boolGetter(111) / listHasHeadingSetter, flags 0",
    "UseFocusRing As Boolean, boolGetter(112) / boolSetter, flags 128",
    "HeadingIndex As Integer, listSortedColumnGetter(0) / listHeadingIndexSetter, flags 0",
    "ScrollPosition As Integer, listScrollPositionGetter(0) / listScrollPositionSetter, flags 0",
    "ScrollPositionX As Integer, listScrollPositionXGetter(0) / listScrollPositionXSetter, flags 0",
    "ScrollBarHorizontal As Boolean, boolGetter(113) / listHScrollBarSetter, flags 0",
    "ScrollBarVertical As Boolean, boolGetter(114) / listVScrollBarSetter, flags 0",
    "DataSource As String, ListboxDataSourceGetter(0) / ListboxDataSourceSetter, flags 0",
    "DataField As String, stringGetter(104) / ListboxDataFieldSetter, flags 0",
    "GridLinesHorizontal As Integer, intGetter(136) / listHGridLinesSetter, flags 0",
    "GridLinesVertical As Integer, intGetter(140) / listVGridLinesSetter, flags 0",
    "DefaultRowHeight As Integer, intGetter(156) / listDefaultRowHeightSetter, flags 0",
    "ActiveCell As EditField, listActiveCellGetter(0) / -, flags 1",
    "SortedColumn As Integer, listSortedColumnGetter(0) / listSortedColumnSetter, flags 1",
    "ColumnsResizable As Boolean, boolGetter(152) / boolSetter, flags 2",
    "Sub DeleteAllRows() = RuntimeListEmpty",
    "Sub AddRow(Text As String) = RuntimeListAddRow",
    "Sub InsertRow(row As Integer, text As String, _indent As Integer) = RuntimeListInsertRow",
    "Sub AddFolder(Text As String) = RuntimeListAddParent",
    "Sub InsertFolder(row As Integer, text As String, _indent As Integer) = "
    "RuntimeListInsertParent",
    "Sub RemoveRow(Index As Integer) = RuntimeRemoveRow",
    "Function List(Index As Integer, Assigns value As String) As String = RuntimeGetRow; set "
    "RuntimeSetRow",
    "Function Cell(row As Integer, column As Integer, Assigns value As String) As String = "
    "listGetCell; set listSetCell",
    "Function CellBold(row As Integer, column As Integer, Assigns value As Boolean) As Boolean = "
    "listGetCellBold; set listSetCellBold",
    "Function CellItalic(row As Integer, column As Integer, Assigns value As Boolean) As Boolean "
    "= listGetCellItalic; set listSetCellItalic",
    "Function CellUnderline(row As Integer, column As Integer, Assigns value As Boolean) As "
    "Boolean = listGetCellUnderline; set listSetCellUnderline",
    "Sub InvalidateCell(row As Integer, column As Integer) = listInvalidateCell",
    "Function RowPicture(Index As Integer, Assigns value As Picture) As Picture = "
    "listGetRowPicture; set listSetRowPicture",
    "Function Selected(v As Integer, Assigns value As Boolean) As Boolean = listGetSelected; set "
    "listSetSelected",
    "Function Expanded(v As Integer, Assigns value As Boolean) As Boolean = listGetExpanded; set "
    "listSetExpanded",
    "Function Heading(Index As Integer, Assigns value As String) As String = listGetHeading; set "
    "listSetHeading",
    "Sub addListSelectionNotificationReceiver(receiver As listSelectionNotificationReceiver) = "
    "listAddLSNR",
    "Sub removeListSelectionNotificationReceiver(receiver As listSelectionNotificationReceiver) = "
    "listRemoveLSNR",
    "Sub BindList(data As listDataProvider) = listBind",
    "Sub listDataInsertedRow(v As Integer) = listListDataInsertedRow",
    "Sub listDataRemovedRow(v As Integer) = listListDataRemovedRow",
    "Sub listDataReload() = listListDataReload",
    "Function CellCheck(row As Integer, column As Integer, Assigns value As Boolean) As Boolean = "
    "listCellCheckGetter; set listCellCheckSetter",
    "Function CellType(row As Integer, column As Integer, Assigns value As Integer) As Integer = "
    "listCellTypeGetter; set listCellTypeSetter",
    "Function ColumnType(Index As Integer, Assigns value As Integer) As Integer = "
    "listColumnTypeGetter; set listColumnTypeSetter",
    "Function CellAlignment(row As Integer, column As Integer, Assigns value As Integer) As "
    "Integer = listCellAlignmentGetter; set listCellAlignmentSetter",
    "Function ColumnAlignment(Index As Integer, Assigns value As Integer) As Integer = "
    "listColumnAlignmentGetter; set listColumnAlignmentSetter",
    "Function CellAlignmentOffset(row As Integer, column As Integer, Assigns value As Integer) As "
    "Integer = listCellAlignmentOffsetGetter; set listCellAlignmentOffsetSetter",
    "Function ColumnAlignmentOffset(Index As Integer, Assigns value As Integer) As Integer = "
    "listColumnAlignmentOffsetGetter; set listColumnAlignmentOffsetSetter",
    "Function getBoundPart(Str As String) As Object = listGetBoundPart",
    "Function CellBorderTop(row As Integer, column As Integer, Assigns value As Integer) As "
    "Integer = listGetCellBorderTop; set listSetCellBorderTop",
    "Function CellBorderLeft(row As Integer, column As Integer, Assigns value As Integer) As "
    "Integer = listGetCellBorderLeft; set listSetCellBorderLeft",
    "Function CellBorderBottom(row As Integer, column As Integer, Assigns value As Integer) As "
    "Integer = listGetCellBorderBottom; set listSetCellBorderBottom",
    "Function CellBorderRight(row As Integer, column As Integer, Assigns value As Integer) As "
    "Integer = listGetCellBorderRight; set listSetCellBorderRight",
    "Sub EditCell(row As Integer, column As Integer) = listEditCell",
    "Function ColumnSortDirection(Index As Integer, Assigns value As Integer) As Integer = "
    "listColumnSortDirectionGetter; set listColumnSortDirectionSetter",
    "Sub Sort() = RuntimeListResort",
    "Function Column(Index As Integer, Assigns value As ListColumn) As ListColumn = "
    "listColumnGetter; set listColumnSetter",
    "Sub PressHeader(v As Integer) = listColumnPressHeader",
    "Function CellTag(row As Integer, column As Integer, Assigns value As Variant) As Variant = "
    "listGetCellTag; set listSetCellTag",
    "event Change()",
    "event DoubleClick()",
    "event KeyDown(key As String) As Boolean",
    "event EnableMenuItems()",
    "event ExpandRow(row As Integer)",
    "event CollapseRow(row As Integer)",
    "event DragRow(drag As DragItem, row As Integer) As Boolean",
    "event SortColumn(column As Integer) As Boolean",
    "event CellAction(row As Integer, column As Integer)",
    "event GotFocus()",
    "event LostFocus()",
    "event CellBackgroundPaint(g As Graphics, row As Integer, column As Integer) As Boolean",
    "event CellTextPaint(g As Graphics, row As Integer, column As Integer, x as Integer, y as "
    "Integer) As Boolean",
    "event CellClick(row as Integer, column as Integer, x as Integer, y as Integer) As Boolean",
    "event CellKeyDown(row as Integer, column as Integer, key as String) As Boolean",
    "event CellTextChange(row as Integer, column as Integer)",
    "event CellGotFocus(row as Integer, column as Integer)",
    "event CellLostFocus(row as Integer, column as Integer)",
    "event MouseDown(x As Integer, y As Integer) As Boolean",
    "event MouseDrag(x As Integer, y As Integer)",
    "event MouseUp(x As Integer, y As Integer)",
    "event CompareRows(row1 as Integer, row2 as Integer, column as Integer, ByRef result as "
    "Integer) As Boolean",
    "event DragReorderRows(newPosition as Integer) As Boolean",
    "event HeaderPressed(column as Integer) As Boolean",
};

const std::vector<std::string> kListColumnTable = {
    "ListColumn, size 60",
    "UserResizable As Boolean, listColUserResizableGetter(0) / listColUserResizableSetter, flags 0",
    "WidthExpression As String, listColWidthExpressionGetter(0) / listColWidthExpressionSetter, "
    "flags 0",
    "MinWidthExpression As String, listColWidthExpressionGetter(1) / "
    "listColWidthExpressionSetter, flags 0",
    "MaxWidthExpression As String, listColWidthExpressionGetter(2) / "
    "listColWidthExpressionSetter, flags 0",
    "WidthActual As Integer, listColWidthActualGetter(0) / listColWidthActualSetter, flags 0",
    "MinWidthActual As Integer, listColWidthActualGetter(1) / listColWidthActualSetter, flags 0",
    "MaxWidthActual As Integer, listColWidthActualGetter(2) / listColWidthActualSetter, flags 0",
};

const std::vector<std::string> kActionTable = {
    "Sys$ListboxAction, size 32",
    "implements actionSource",
    "Sub addActionNotificationReceiver(receiver As actionNotificationReceiver) = "
    "lbaAddActionNotificationReceiver",
    "Sub removeActionNotificationReceiver(receiver As actionNotificationReceiver) = "
    "lbaRemoveActionNotificationReceiver",
};

const std::vector<std::string> kSelectionProviderTable = {
    "listSelectionProvider, size 32",
    "implements BooleanProvider",
    "implements dataNotifier",
    "implements listSelectionNotificationReceiver",
    "Sub addDataNotificationReceiver(receiver As dataNotificationReceiver) = "
    "listSelectionAddDataNotificationReceiver",
    "Sub removeDataNotificationReceiver(receiver As dataNotificationReceiver) = "
    "listSelectionRemoveDataNotificationReceiver",
    "Function getBoolean() As Boolean = listSelectionGetBoolean",
    "Sub setBoolean(value As Boolean) = listSelectionSetBoolean",
    "Sub selectionChanging() = listSelectionChanging",
    "Sub selectionChanged() = listSelectionChanged",
};

const std::vector<std::string> kColumnValueProviderTable = {
    "listColumnValueProvider, size 36",
    "implements listSelectionNotificationReceiver",
    "implements StringProvider",
    "implements StringInterface",
    "implements dataNotifier",
    "implements DataAvailableProvider",
    "Function getString() As String = lcvpGetString",
    "Sub setString(Str As String) = lcvpSetString",
    "Sub addDataNotificationReceiver(receiver As dataNotificationReceiver) = "
    "lcvpAddDataNotificationReceiver",
    "Sub removeDataNotificationReceiver(receiver As dataNotificationReceiver) = "
    "lcvpRemoveDataNotificationReceiver",
    "Sub selectionChanging() = lcvpSelectionChanging",
    "Sub selectionChanged() = lcvpSelectionChanged",
    "Function dataAvailable() As Boolean = lcvpDataAvailable",
};

TEST(ListboxClasses, EachClassHasItsGoldenTableAndEveryEntryPointIsBound) {
  CreateControlClasses();
  const struct {
    ObjectDefinition *(*builder)();
    const std::vector<std::string> *lines;
  } golden[] = {{ListboxClass, &kListboxTable},
                {ListColumnClass, &kListColumnTable},
                {ListboxActionClass, &kActionTable},
                {ListSelectionProviderClass, &kSelectionProviderTable},
                {ListColumnValueProviderClass, &kColumnValueProviderTable}};
  for (const auto &g : golden) {
    ObjectDefinition *defn = g.builder();
    ASSERT_NE(defn, nullptr);
    EXPECT_EQ(DescribeClass(defn), *g.lines);
    ExpectEveryExportBound(defn);
    EXPECT_TRUE(defn->RebuildVTable()) << defn->className.CString() << " implements its interfaces";
  }
  EXPECT_EQ(ListboxClass(), ListboxClass()) << "built once";
  for (const char *name :
       {"listGetBoundPart", "lbaAddActionNotificationReceiver", "lbaRemoveActionNotificationReceiver"})
    EXPECT_NE(BoundAddress(name), nullptr) << name;
}

TEST(ListboxClasses, InsertRowAndInsertFolderShareTheirParametersAndTheIndentMayBeLeftOut) {
  ObjectMethod *insertRow = nullptr, *insertFolder = nullptr;
  for (ObjectMethod *m = ListboxClass()->methods; m; m = m->next) {
    if (m->name.CompareWithCase("InsertRow") == 0)
      insertRow = m;
    if (m->name.CompareWithCase("InsertFolder") == 0)
      insertFolder = m;
  }
  ASSERT_TRUE(insertRow && insertFolder);
  EXPECT_EQ(insertRow->method.params, insertFolder->method.params);
  ASSERT_EQ(insertRow->method.paramCount, 3);
  EXPECT_EQ(insertRow->method.params[2].hasDefault, 1);
  EXPECT_EQ(insertRow->method.params[2].byReference, 0);
  EXPECT_EQ(insertRow->method.params[1].hasDefault, 0);
}

// ---- a ListBox in a window

// What the handlers do, set by each test, and what they heard.
struct Script {
  Strings log;
  std::map<std::string, int32_t> answers; // Boolean events: what to answer
  std::function<void(const std::string &)> then; // runs after an event was logged
};
Script *sScript = nullptr;

int32_t Heard(const std::string &line, const char *event) {
  sScript->log.push_back(line);
  if (sScript->then)
    sScript->then(line);
  auto it = sScript->answers.find(event);
  return it == sScript->answers.end() ? 0 : it->second;
}

std::string RC(const char *name, int32_t a, int32_t b) {
  return std::string(name) + " " + std::to_string(a) + "," + std::to_string(b);
}

void OnChange(RuntimeObject *) { Heard("Change", "Change"); }
int32_t OnCellClick(RuntimeObject *, int32_t row, int32_t column, int32_t, int32_t) {
  return Heard(RC("CellClick", row, column), "CellClick");
}
void OnCellAction(RuntimeObject *, int32_t row, int32_t column) {
  Heard(RC("CellAction", row, column), "CellAction");
}
void OnCellLostFocus(RuntimeObject *, int32_t row, int32_t column) {
  Heard(RC("CellLostFocus", row, column), "CellLostFocus");
}
int32_t OnCellKeyDown(RuntimeObject *, int32_t row, int32_t column, stringStorage *key) {
  const std::string k = key ? stringStorage::CString(key) : "";
  return Heard(RC("CellKeyDown", row, column) + " " + std::to_string(k.empty() ? 0 : k[0]),
               "CellKeyDown");
}
// Heard only by the tests that give it an answer.
int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  if (!sScript->answers.count("MouseDown"))
    return 0;
  return Heard(RC("MouseDown", x, y), "MouseDown");
}
void OnMouseDrag(RuntimeObject *, int32_t x, int32_t y) { Heard(RC("MouseDrag", x, y), "-"); }
void OnMouseUp(RuntimeObject *, int32_t x, int32_t y) { Heard(RC("MouseUp", x, y), "-"); }
void OnExpand(RuntimeObject *, int32_t row) { Heard("ExpandRow " + std::to_string(row), "-"); }
void OnGotFocus(RuntimeObject *) { Heard("GotFocus", "-"); }

class ListboxObject : public testing::Test {
protected:
  void SetUp() override {
    CreateControlClasses();
    sScript = &script;
    object = CreateInstance(ListboxClass());
    ASSERT_NE(object, nullptr);
    c()->defaultRowHeight = 16;
    const struct {
      const char *name;
      void *code;
    } handlers[] = {{"Change", reinterpret_cast<void *>(OnChange)},
                    {"CellClick", reinterpret_cast<void *>(OnCellClick)},
                    {"CellAction", reinterpret_cast<void *>(OnCellAction)},
                    {"CellLostFocus", reinterpret_cast<void *>(OnCellLostFocus)},
                    {"CellKeyDown", reinterpret_cast<void *>(OnCellKeyDown)},
                    {"MouseDown", reinterpret_cast<void *>(OnMouseDown)},
                    {"MouseDrag", reinterpret_cast<void *>(OnMouseDrag)},
                    {"MouseUp", reinterpret_cast<void *>(OnMouseUp)},
                    {"ExpandRow", reinterpret_cast<void *>(OnExpand)},
                    {"GotFocus", reinterpret_cast<void *>(OnGotFocus)}};
    for (auto &h : handlers) {
      string name(h.name);
      RuntimeInstallInstanceEventHandler(object, name.Storage(), h.code);
    }
  }
  void TearDown() override {
    if (w)
      w->Close();
    StepUntil([] { return true; });
    if (object)
      RuntimeUnlockObject(object);
    sScript = nullptr;
  }
  ListboxControl *c() { return reinterpret_cast<ListboxControl *>(object); }
  // Opens a window and builds the pane from the object's fields.
  RuntimeListbox *Open() {
    if (!HaveDisplay())
      return nullptr;
    w = new RecordingWindow(MakeRect(50, 60, 450, 400));
    c()->control.container = w;
    c()->control.visible = 1;
    c()->control.enabled = 1;
    c()->control.bounds = MakeRect(20, 20, 320, 200);
    ListboxCreatePane(object);
    return pane();
  }
  RuntimeListbox *pane() { return ListboxPaneOf(object); }
  void Rows(std::vector<const char *> texts) {
    for (const char *t : texts) {
      stringStorage *s = Str(t);
      RuntimeListAddRow(object, s);
      RuntimeUnlockString(s);
    }
  }
  std::string Cell(int32_t row, int32_t column) { return Take(listGetCell(object, row, column)); }
  void SetCell(int32_t row, int32_t column, const char *text) {
    stringStorage *s = Str(text);
    listSetCell(object, row, column, s);
    RuntimeUnlockString(s);
  }
  // A click in the middle of the cell's height, dx pixels right of its left.
  void ClickCell(int32_t row, int32_t column, int32_t dx, int32_t modifiers = 0) {
    const QV::Rect r = pane()->GetCellBounds(row, column);
    pane()->HandleClick(r.left + dx, (r.top + r.bottom) / 2, modifiers);
  }
  // Types the key into the cell editor as the editor reports it.
  void Key(char ch) {
    pane()->EditControlHandleKeyPress(pane()->CellEditor(), static_cast<uint8_t>(ch), 0, 0);
  }

  Script script;
  RecordingWindow *w = nullptr;
  RuntimeObject *object = nullptr;
  RaisedExceptions raised;
};

TEST_F(ListboxObject, WithoutAPaneTheAccessorsAnswerTheirDefaultsAndStoreTheirSettings) {
  EXPECT_EQ(listCountGetter(object, 0), 0);
  EXPECT_EQ(listSelCountGetter(object, 0), 0);
  EXPECT_EQ(listSelectionGetter(object, 0), -1);
  EXPECT_EQ(listColumnCountGetter(object, 0), 1) << "the constructor's count";
  const struct {
    int32_t set, read;
  } counts[] = {{0, 1}, {100, 64}, {-5, 64}, {64, 64}, {7, 7}};
  for (auto k : counts) {
    listColumnCountSetter(object, 0, k.set);
    EXPECT_EQ(listColumnCountGetter(object, 0), k.read) << k.set;
  }
  listScrollPositionSetter(object, 0, -3);
  EXPECT_EQ(listScrollPositionGetter(object, 0), 0);
  listHeadingIndexSetter(object, 0, 99);
  EXPECT_EQ(listSortedColumnGetter(object, 0), 99) << "stored until the pane exists";
  Rows({"ignored"});
  EXPECT_EQ(Take(listGetCell(object, 0, 0)), "(nil)");
  EXPECT_EQ(Take(listGetHeading(object, 0)), "(nil)");
  EXPECT_EQ(listColumnSortDirectionGetter(object, 0), 1);
  EXPECT_EQ(listGetCellBorderTop(object, 0, 0), -1);
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ListboxObject, ThePaneIsBuiltFromTheObjectsFields) {
  c()->initialColumnCount = 3;
  c()->hasHeading = 1;
  c()->initialSortedColumn = -1;
  c()->initialValue = Str("A\tB\tC\none\t1\tx\ntwo\t2\ty");
  c()->columnWidths = Str("50, 25%");
  if (!Open())
    GTEST_SKIP() << "no display";
  EXPECT_EQ(listColumnCountGetter(object, 0), 3);
  EXPECT_EQ(listCountGetter(object, 0), 2);
  EXPECT_EQ(Cell(1, 2), "y");
  EXPECT_EQ(Take(listGetHeading(object, 1)), "B");
  EXPECT_EQ(Take(listColumnWidthsGetter(object, 0)), "50, 25%, 1*");
  EXPECT_EQ(pane()->GetColWidthActual(0), 50);

  // SortedColumn moves the sorted column without sorting.
  SetCell(0, 2, "z");
  listColumnSortDirectionSetter(object, 2, 1);
  listSortedColumnSetter(object, 0, 2);
  EXPECT_EQ(listSortedColumnGetter(object, 0), 2);
  EXPECT_EQ(Cell(0, 0), "one") << "nothing sorted";
  RuntimeListResort(object);
  EXPECT_EQ(Cell(0, 0), "two") << "Sort sorts by that column";

  listHeadingIndexSetter(object, 0, 3);
  EXPECT_EQ(RaisedExceptions::Seen(), Strings{"OutOfBoundsException: "});
}

// Each accessor with an index against the values around its limits, on a
// list of 64 columns (so that ColumnCount is the tables' end) and 2 rows.
TEST_F(ListboxObject, IndexRulesAsOneTable) {
  c()->initialColumnCount = 64;
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1"});
  const int32_t indexes[] = {-1, 0, 63, 64, 255, 256};
  struct Rule {
    const char *name;
    std::function<void(int32_t)> call;
    const char *accepted; // one letter per index: y accepted, n raises
  };
  const Rule rules[] = {
      {"Heading", [&](int32_t i) { Take(listGetHeading(object, i)); }, "yyynnn"},
      {"Heading=", [&](int32_t i) { listSetHeading(object, i, nullptr); }, "yyynnn"},
      {"ColumnSortDirection", [&](int32_t i) { listColumnSortDirectionGetter(object, i); },
       "nyynnn"},
      {"ColumnSortDirection=", [&](int32_t i) { listColumnSortDirectionSetter(object, i, 0); },
       "yyynnn"},
      {"Column", [&](int32_t i) { RuntimeUnlockObject(listColumnGetter(object, i)); }, "yyynnn"},
      {"EditCell", [&](int32_t i) { listEditCell(object, 0, i); }, "nyynnn"},
      {"ColumnType", [&](int32_t i) { listColumnTypeGetter(object, i); }, "nyynnn"},
      {"ColumnAlignment=", [&](int32_t i) { listColumnAlignmentSetter(object, i, 1); }, "nyynnn"},
      {"Cell", [&](int32_t i) { Take(listGetCell(object, 0, i)); }, "nyyyyn"},
      {"CellBold=", [&](int32_t i) { listSetCellBold(object, 1, i, 1); }, "nyyyyn"},
      {"CellBorderTop", [&](int32_t i) { listGetCellBorderTop(object, 0, i); }, "nyyynn"},
      {"List (row)", [&](int32_t i) { Take(RuntimeGetRow(object, i)); }, "nynnnn"},
      {"RemoveRow", [&](int32_t i) { RuntimeRemoveRow(object, i == 0 ? 5 : i); }, "nnnnnn"},
  };
  for (const Rule &rule : rules)
    for (size_t k = 0; k < std::size(indexes); ++k) {
      RaisedExceptions::Seen().clear();
      rule.call(indexes[k]);
      if (pane() && pane()->Editing())
        pane()->CancelEdit();
      const bool accepted = RaisedExceptions::Seen().empty();
      EXPECT_EQ(accepted, rule.accepted[k] == 'y') << rule.name << "(" << indexes[k] << ")";
    }
}

TEST_F(ListboxObject, HeadingAndDirectionOfTheColumnAfterTheLastWaitForItToBeShown) {
  c()->initialColumnCount = 3;
  if (!Open())
    GTEST_SKIP() << "no display";
  stringStorage *s = Str("later");
  listSetHeading(object, 3, s);
  RuntimeUnlockString(s);
  listColumnSortDirectionSetter(object, 3, -1);
  listColumnCountSetter(object, 0, 4);
  EXPECT_EQ(Take(listGetHeading(object, 3)), "later");
  EXPECT_EQ(listColumnSortDirectionGetter(object, 3), -1);
  EXPECT_EQ(Take(listGetHeading(object, -1)), "(nil)") << "no one text for every heading";
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ListboxObject, RowsLandWhereTheMethodsSay) {
  c()->initialColumnCount = 2;
  if (!Open())
    GTEST_SKIP() << "no display";
  listHierarchicalSetter(object, 0, 1);
  Rows({"a", "b", "c"});
  stringStorage *folder = Str("folder");
  RuntimeListInsertParent(object, 3, folder, 1);
  RuntimeUnlockString(folder);
  // Row 3 is a folder at indent 1 whose ExpandRow adds two children, then
  // a third row while the first two are already there.
  script.then = [&](const std::string &line) {
    if (line != "ExpandRow 3")
      return;
    Rows({"child 1", "child 2"});
    Rows({"child 3"});
  };
  listSetExpanded(object, 3, 1);
  script.then = nullptr;
  ASSERT_EQ(listCountGetter(object, 0), 7);
  EXPECT_EQ(Cell(6, 0), "child 3");
  EXPECT_EQ(pane()->GetItemIndent(6), 2);
  EXPECT_EQ(listLastIndexGetter(object, 0), 6);
  Rows({"outside"});
  EXPECT_EQ(pane()->GetItemIndent(7), 0) << "outside ExpandRow a row goes last, at indent 0";
  EXPECT_EQ(listLastIndexGetter(object, 0), 7);

  stringStorage *first = Str("first"), *last = Str("last");
  RuntimeListInsertRow(object, -7, first, 0);
  EXPECT_EQ(Cell(0, 0), "first");
  EXPECT_EQ(listLastIndexGetter(object, 0), 0);
  RuntimeListInsertRow(object, 1000, last, 0);
  EXPECT_EQ(Cell(listCountGetter(object, 0) - 1, 0), "last");
  RuntimeUnlockString(first);
  RuntimeUnlockString(last);

  // CellBold on a cell that does not exist yet makes it, bold or plain.
  listSetCellBold(object, 0, 1, 0);
  ASSERT_NE(pane()->GetItemCell(0, 1, false), nullptr);
  EXPECT_EQ(pane()->GetItemCell(0, 1, false)->mStyle, 0);
  listSetCellBold(object, 1, 1, 1);
  EXPECT_EQ(listGetCellBold(object, 1, 1), 1);
  EXPECT_EQ(listGetCellItalic(object, 1, 1), 0);
  EXPECT_EQ(listCellTypeGetter(object, 1, 1), 0) << "only the cell's own type";
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ListboxObject, ColumnMinusOneAssignedBackResetsEveryWidth) {
  c()->initialColumnCount = 3;
  c()->columnWidths = Str("50, 60, 70");
  if (!Open())
    GTEST_SKIP() << "no display";
  RuntimeObject *all = listColumnGetter(object, -1);
  ASSERT_NE(all, nullptr);
  RaisedExceptions::Seen().clear();
  EXPECT_EQ(Take(listColWidthExpressionGetter(all, 0)), "(nil)") << "live: -1 is no one column";
  EXPECT_EQ(RaisedExceptions::Seen(), Strings{"OutOfBoundsException: "});
  RaisedExceptions::Seen().clear();
  auto *d = reinterpret_cast<ListColumnObject *>(all);
  EXPECT_EQ(Take(RuntimeLockString(d->expressions[2])), "-1");
  listColumnSetter(object, -1, all);
  EXPECT_EQ(Take(listColumnWidthsGetter(object, 0)), "0, 0, 0");
  RuntimeUnlockObject(all);

  RuntimeObject *one = listColumnGetter(object, 1);
  EXPECT_EQ(listColWidthActualGetter(one, 0), pane()->GetColWidthActual(1));
  stringStorage *s = Str("40");
  listColWidthExpressionSetter(one, 0, s);
  RuntimeUnlockString(s);
  EXPECT_EQ(pane()->GetColWidthActual(1), 40) << "a live column changes the list";
  RuntimeUnlockObject(one);
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

// ---- editing

TEST_F(ListboxObject, ReturnStoresTheTypedTextAndEscapeKeepsTheOld) {
  c()->initialColumnCount = 2;
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1", "r2"});
  SetCell(1, 1, "old");
  listSetSelected(object, 0, 1);
  listEditCell(object, 1, 1);
  ASSERT_TRUE(pane()->Editing());
  EXPECT_EQ(listCellTypeGetter(object, 1, 1), 3) << "the cell shows as editable";
  EXPECT_EQ(Take(pane()->CellEditor()->GetText(kEncodingUTF8).ExtractStringStorage()), "old");
  pane()->CellEditor()->SetText(string("typed"));
  EXPECT_EQ(Cell(1, 1), "typed") << "Cell reads the editor while the edit runs";
  EXPECT_EQ(listSelectionGetter(object, 0), 1);
  script.log.clear();
  Key('\r');
  EXPECT_FALSE(pane()->Editing());
  EXPECT_EQ(Cell(1, 1), "typed");
  EXPECT_EQ(listCellTypeGetter(object, 1, 1), 0) << "the cell's own type again";
  // Then the list takes the focus back and selects the row again.
  ASSERT_GE(script.log.size(), 3u);
  EXPECT_EQ(Strings(script.log.begin(), script.log.begin() + 3),
            (Strings{"CellKeyDown 1,1 13", "CellAction 1,1", "CellLostFocus 1,1"}));
  EXPECT_EQ(listSelCountGetter(object, 0), 1);
  EXPECT_EQ(listGetSelected(object, 1), 1);

  listEditCell(object, 1, 1);
  pane()->CellEditor()->SetText(string("dropped"));
  script.log.clear();
  Key(27);
  EXPECT_EQ(Cell(1, 1), "typed");
  ASSERT_GE(script.log.size(), 2u);
  EXPECT_EQ(Strings(script.log.begin(), script.log.begin() + 2),
            (Strings{"CellKeyDown 1,1 27", "CellLostFocus 1,1"}));

  // A CellKeyDown handler that takes Return keeps the edit open.
  script.answers["CellKeyDown"] = 1;
  listEditCell(object, 2, 0);
  Key('\r');
  EXPECT_TRUE(pane()->Editing());
  script.answers.clear();
  // EditCell on another cell commits the first before the second opens.
  pane()->CellEditor()->SetText(string("first"));
  script.log.clear();
  listEditCell(object, 0, 1);
  EXPECT_EQ(Cell(2, 0), "first");
  EXPECT_EQ(script.log.front(), "CellAction 2,0");
  EXPECT_EQ(pane()->EditRow(), 0);
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ListboxObject, TheEditorTakesTheCellsStyleOnTopOfTheListsFont) {
  c()->initialColumnCount = 2;
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0"});
  listSetCellBold(object, 0, 1, 1);
  listEditCell(object, 0, 1);
  FontStructure f;
  pane()->CellEditor()->getFont(f);
  EXPECT_TRUE(f.bold) << "a bold cell in a plain list";
  pane()->CancelEdit();
  listBoldSetter(object, 0, 1);
  listEditCell(object, 0, 0);
  pane()->CellEditor()->getFont(f);
  EXPECT_TRUE(f.bold) << "a plain cell in a bold list";
}

// ---- clicks

TEST_F(ListboxObject, ClicksReachEditableCellsCheckBoxesAndTheColumnAfterTheLast) {
  c()->initialColumnCount = 2;
  c()->columnWidths = Str("100, 100");
  c()->columnTypes[0] = 2;
  c()->columnTypes[1] = 3;
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1", "r2"});
  SetCell(1, 1, "edit me");

  ClickCell(0, 0, 1); // 3 pixels left of the box
  EXPECT_EQ(listCellCheckGetter(object, 0, 0), 0);
  EXPECT_EQ(listGetSelected(object, 0), 1) << "a miss selects the row";
  script.log.clear();
  ClickCell(0, 0, 4 + 8);
  EXPECT_EQ(listCellCheckGetter(object, 0, 0), 1);
  EXPECT_EQ(script.log, (Strings{"CellClick 0,0", "CellAction 0,0"}));

  script.log.clear();
  ClickCell(1, 1, 10);
  ASSERT_TRUE(pane()->Editing());
  EXPECT_EQ(pane()->CellEditor()->GetSelStart(), 0);
  EXPECT_EQ(pane()->CellEditor()->GetSelLength(), 7) << "the whole text is selected";
  pane()->CommitEdit();

  // Right of the last column: CellClick with ColumnCount, then the row.
  script.log.clear();
  const QV::Rect r = pane()->GetCellBounds(2, 1);
  pane()->HandleClick(r.right + 20, (r.top + r.bottom) / 2, 0);
  EXPECT_NE(std::find(script.log.begin(), script.log.end(), "CellClick 2,2"), script.log.end());
  EXPECT_EQ(listSelectionGetter(object, 0), 2);
}

TEST_F(ListboxObject, ACheckBoxOfAnIndentedFolderRowIsFartherRight) {
  c()->columnTypes[0] = 2;
  c()->hierarchical = 1;
  if (!Open())
    GTEST_SKIP() << "no display";
  stringStorage *s = Str("deep");
  RuntimeListInsertRow(object, 0, s, 2);
  RuntimeUnlockString(s);
  ClickCell(0, 0, 43);
  EXPECT_EQ(listCellCheckGetter(object, 0, 0), 0);
  ClickCell(0, 0, 44 + 2);
  EXPECT_EQ(listCellCheckGetter(object, 0, 0), 1);
}

TEST_F(ListboxObject, MouseDownTrueTracksTheMouseWithoutChangingTheSelection) {
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1"});
  script.answers["MouseDown"] = 1;
  pane()->HandleClick(20 + 30, 20 + 10, 0);
  pane()->HandleMouseDrag(20 + 35, 20 + 40);
  pane()->HandleMouseUp(20 + 36, 20 + 41);
  EXPECT_EQ(script.log, (Strings{"MouseDown 30,10", "MouseDrag 35,40", "MouseUp 36,41"}));
  EXPECT_EQ(listSelCountGetter(object, 0), 0);
}

TEST_F(ListboxObject, AChangeHandlerThatSelectsAgainFiresChangeOnce) {
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1", "r2"});
  script.then = [&](const std::string &line) {
    if (line == "Change")
      listSelectionSetter(object, 0, 2);
  };
  ClickCell(0, 0, 10);
  EXPECT_EQ(std::count(script.log.begin(), script.log.end(), "Change"), 1);
  EXPECT_EQ(listSelectionGetter(object, 0), 2);
}

// Handlers that close the window inside the list's own operations: the
// operation ends there, and nothing touches the pane afterwards (the
// sanitized build checks the second part).
TEST_F(ListboxObject, HandlersThatCloseTheWindowEndTheOperation) {
  const char *events[] = {"MouseDown", "CellAction", "Change", "CellLostFocus"};
  for (const char *event : events) {
    SCOPED_TRACE(event);
    c()->columnTypes[0] = 2;
    if (!Open())
      GTEST_SKIP() << "no display";
    Rows({"r0", "r1"});
    script.log.clear();
    script.answers.clear();
    if (std::string(event) == "MouseDown")
      script.answers["MouseDown"] = 0;
    script.then = [&, event](const std::string &line) {
      if (line.rfind(event, 0) == 0 && w) {
        RecordingWindow *closing = w;
        w = nullptr;
        closing->Close();
      }
    };
    if (std::string(event) == "CellLostFocus") {
      listEditCell(object, 1, 0);
      pane()->CommitEdit();
    } else {
      ClickCell(0, 0, 4 + 8); // the check box: CellAction, then no Change
      if (w)
        ClickCell(1, 0, 1); // a plain selection: Change
    }
    script.then = nullptr;
    EXPECT_EQ(w, nullptr) << "the handler ran";
    EXPECT_EQ(pane(), nullptr);
    EXPECT_EQ(listCountGetter(object, 0), 0);
    StepUntil([] { return true; });
  }
}

// ---- a real window, driven by xdotool

class ListboxOnScreen : public ListboxObject {
protected:
  // Opens the window, waits for the list to show and focuses the window.
  bool Show() {
    if (!Open())
      return false;
    EXPECT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(pane()->GetWidget()); }));
    EXPECT_TRUE(XDoTool("windowfocus --sync " + std::to_string(XidOf(w))));
    return true;
  }
  // Moves to the middle of the cell's height, dx right of its left edge.
  std::string AtCell(int32_t row, int32_t column, int32_t dx) {
    const QV::Rect r = pane()->GetCellBounds(row, column);
    return "mousemove --window " + std::to_string(XidOf(w)) + " " + std::to_string(r.left + dx) +
           " " + std::to_string((r.top + r.bottom) / 2) + " ";
  }
};

TEST_F(ListboxOnScreen, ShiftAndControlClicksReachTheList) {
  c()->selectionType = 1;
  if (!Show())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1", "r2", "r3", "r4"});
  ASSERT_TRUE(XDoToolUntil(AtCell(0, 0, 20) + "click 1",
                           [&] { return listSelectionGetter(object, 0) == 0; }));
  ASSERT_TRUE(XDoToolUntil(AtCell(2, 0, 20) + "keydown shift click 1 keyup shift",
                           [&] { return listSelCountGetter(object, 0) == 3; }));
  EXPECT_EQ(listGetSelected(object, 1), 1);
  ASSERT_TRUE(XDoToolUntil(AtCell(4, 0, 20) + "keydown ctrl click 1 keyup ctrl",
                           [&] { return listSelCountGetter(object, 0) == 4; }));
  EXPECT_EQ(listGetSelected(object, 3), 0) << "Control adds the row alone";
  EXPECT_EQ(listGetSelected(object, 4), 1);
}

TEST_F(ListboxOnScreen, ClickingAnEditableCellThenTypingAndReturnStoresTheText) {
  c()->initialColumnCount = 2;
  c()->columnWidths = Str("100, 100");
  c()->columnTypes[1] = 3;
  if (!Show())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1"});
  SetCell(1, 1, "old text");
  ASSERT_TRUE(XDoToolUntil(AtCell(1, 1, 20) + "click 1", [&] { return pane()->Editing(); }));
  EXPECT_EQ(pane()->CellEditor()->GetSelLength(), 8) << "the whole text selected";
  // Typing replaces the selected text; Return ends the edit.
  ASSERT_TRUE(XDoToolUntil("type --delay 50 new", [&] { return Cell(1, 1).find("new") == 0; }));
  ASSERT_TRUE(XDoToolUntil("key Return", [&] { return !pane()->Editing(); }));
  EXPECT_EQ(Cell(1, 1).substr(0, 3), "new");
  EXPECT_NE(std::find(script.log.begin(), script.log.end(), "CellAction 1,1"), script.log.end());
  EXPECT_EQ(listSelCountGetter(object, 0), 1);
  EXPECT_EQ(listSelectionGetter(object, 0), 1);
}

// ---- binding

// A list-data provider as a compiled class would be: GetCount answers what
// the test stores, GetRow a row object of that many fields, or nil.
struct ProviderObject {
  RuntimeObject header;
  int32_t count;
  int32_t fields;
  int32_t rowsAreNil;
  int32_t notifiedBy; // add / remove of the list as notification receiver
};
struct RowObject {
  RuntimeObject header;
  int32_t row;
  int32_t fields;
};

int32_t ProviderGetCount(RuntimeObject *p) { return reinterpret_cast<ProviderObject *>(p)->count; }
RuntimeObject *RowClassInstance();
RuntimeObject *ProviderGetRow(RuntimeObject *p, int32_t row) {
  auto *provider = reinterpret_cast<ProviderObject *>(p);
  if (provider->rowsAreNil)
    return nullptr;
  RuntimeObject *made = RowClassInstance();
  reinterpret_cast<RowObject *>(made)->row = row;
  reinterpret_cast<RowObject *>(made)->fields = provider->fields;
  return made;
}
void ProviderAdd(RuntimeObject *p, RuntimeObject *) {
  ++reinterpret_cast<ProviderObject *>(p)->notifiedBy;
}
void ProviderRemove(RuntimeObject *p, RuntimeObject *) {
  --reinterpret_cast<ProviderObject *>(p)->notifiedBy;
}
int32_t RowFieldCount(RuntimeObject *r) { return reinterpret_cast<RowObject *>(r)->fields; }
stringStorage *RowField(RuntimeObject *r, int32_t field) {
  return Str(("row " + std::to_string(reinterpret_cast<RowObject *>(r)->row) + " field " +
              std::to_string(field))
                 .c_str());
}

ObjectDefinition *TestClass(ObjectDefinition &defn, const char *name, int32_t size,
                            std::vector<std::pair<const char *, void *>> methods,
                            std::vector<ObjectDefinition *> interfaces) {
  if (!defn.className.IsEmpty())
    return &defn;
  static std::vector<std::vector<PropertyMethod>> tables;
  std::vector<PropertyMethod> rows;
  for (auto &m : methods)
    rows.push_back({m.first, nullptr, nullptr, 0, {{m.second, m.first, {}}, {}}, kPlainMethod, 0, 0});
  tables.push_back(rows);
  defn.className = string(name);
  defn.objectSize = size;
  defn.staticTables = 1;
  defn.methods = FillMethods(tables.back().data(), static_cast<int>(tables.back().size()));
  for (auto it = interfaces.rbegin(); it != interfaces.rend(); ++it)
    defn.addInterface(*it);
  return &defn;
}

ObjectDefinition *ProviderClass() {
  static ObjectDefinition defn;
  return TestClass(defn, "TestListProvider", sizeof(ProviderObject),
                   {{"GetCount", reinterpret_cast<void *>(ProviderGetCount)},
                    {"GetRow", reinterpret_cast<void *>(ProviderGetRow)},
                    {"addListDataNotificationReceiver", reinterpret_cast<void *>(ProviderAdd)},
                    {"removeListDataNotificationReceiver",
                     reinterpret_cast<void *>(ProviderRemove)}},
                   {ListDataProviderClass(), ListDataNotifierClass()});
}

RuntimeObject *RowClassInstance() {
  static ObjectDefinition defn;
  return CreateInstance(TestClass(defn, "TestListRow", sizeof(RowObject),
                                  {{"FieldCount", reinterpret_cast<void *>(RowFieldCount)},
                                   {"getIndString", reinterpret_cast<void *>(RowField)}},
                                  {TupleInterfaceClass()}));
}

TEST_F(ListboxObject, ABoundListShowsTheProvidersRowsAndIgnoresItsOwnChanges) {
  c()->initialColumnCount = 3;
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
  listColumnSortDirectionSetter(object, -1, 1);
  RuntimeObject *provider = CreateInstance(ProviderClass());
  auto *p = reinterpret_cast<ProviderObject *>(provider);
  p->count = 3;
  p->fields = 3;
  listBind(object, provider);
  EXPECT_EQ(p->notifiedBy, 1);
  EXPECT_EQ(listCountGetter(object, 0), 3);
  Rows({"ignored"});
  SetCell(0, 0, "ignored");
  EXPECT_EQ(listCountGetter(object, 0), 3);
  EXPECT_EQ(Take(RuntimeGetRow(object, 0)), "row 1 field 1");
  EXPECT_EQ(Cell(0, 2), "row 1 field 3");
  p->fields = 2;
  EXPECT_EQ(Cell(0, 2), "(nil)");
  for (int32_t col = 0; col < 3; ++col)
    EXPECT_EQ(listColumnSortDirectionGetter(object, col), 0);
  listEditCell(object, 0, 0);
  EXPECT_FALSE(pane()->Editing());

  // The provider's notices, rows outside its count ignored.
  listListDataInsertedRow(object, 3);
  listListDataInsertedRow(object, 9);
  listListDataRemovedRow(object, -1);
  EXPECT_EQ(listCountGetter(object, 0), 4);

  listBind(object, nullptr);
  EXPECT_EQ(p->notifiedBy, 0);
  EXPECT_EQ(listCountGetter(object, 0), 0);
  Rows({"own"});
  EXPECT_EQ(Cell(0, 0), "own");

  // Counts no row engine should take: negative is none; the largest with
  // every row nil reads and draws nil.
  p->count = -5;
  listBind(object, provider);
  EXPECT_EQ(listCountGetter(object, 0), 0);
  p->count = 0x7fffffff;
  p->rowsAreNil = 1;
  listBind(object, provider);
  EXPECT_EQ(listCountGetter(object, 0), 0x7fffffff);
  EXPECT_EQ(Cell(0x7ffffffe, 1), "(nil)");
  listScrollPositionSetter(object, 0, 0x7ffffff0);
  pane()->InvalidatePane(true);
  StepUntil([] { return true; });
  RuntimeUnlockObject(provider);
  EXPECT_TRUE(RaisedExceptions::Seen().empty());
}

TEST_F(ListboxObject, GetBoundPartHandsOutItsFourPartsByName) {
  if (!Open())
    GTEST_SKIP() << "no display";
  const struct {
    const char *name;
    const char *cls;
    int32_t column;
  } parts[] = {{"gotFocusAction", "Sys$ListboxAction", -1},
               {"LOSTFOCUSACTION", "Sys$ListboxAction", -1},
               {"getSelectionProvider", "listSelectionProvider", -1},
               {"COLUMNVALUEPROVIDER_2", "listColumnValueProvider", 2},
               {"columnValueProvider_x", "listColumnValueProvider", 0},
               {"columnValueProvider", "(nil)", -1},
               {"something", "(nil)", -1}};
  for (auto &part : parts) {
    stringStorage *s = Str(part.name);
    RuntimeObject *made = listGetBoundPart(object, s);
    RuntimeUnlockString(s);
    EXPECT_EQ(made ? stringStorage::CString(made->classPtr->name) : "(nil)", std::string(part.cls))
        << part.name;
    if (made && part.column >= 0) {
      EXPECT_EQ(reinterpret_cast<ListColumnValueProviderObject *>(made)->column, part.column);
    }
    RuntimeUnlockObject(made);
  }
}

TEST_F(ListboxObject, PartsFollowTheSelectionAndTheEdit) {
  c()->initialColumnCount = 2;
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1"});
  SetCell(1, 1, "one-one");
  stringStorage *s = Str("getSelectionProvider");
  RuntimeObject *selection = listGetBoundPart(object, s);
  RuntimeUnlockString(s);
  s = Str("columnValueProvider_1");
  RuntimeObject *value = listGetBoundPart(object, s);
  RuntimeUnlockString(s);
  s = Str("columnValueProvider_300");
  RuntimeObject *outside = listGetBoundPart(object, s);
  RuntimeUnlockString(s);

  EXPECT_EQ(listSelectionGetBoolean(selection), 0);
  EXPECT_EQ(lcvpDataAvailable(value), 0);
  EXPECT_EQ(Take(lcvpGetString(value)), "(nil)");
  listSelectionSetter(object, 0, 1);
  EXPECT_EQ(listSelectionGetBoolean(selection), 1);
  EXPECT_EQ(Take(lcvpGetString(value)), "one-one");
  stringStorage *text = Str("set");
  lcvpSetString(value, text);
  EXPECT_EQ(Cell(1, 1), "set");
  // A column no cell can have: nil and nothing stored, no exception.
  lcvpSetString(outside, text);
  RuntimeUnlockString(text);
  EXPECT_EQ(Take(lcvpGetString(outside)), "(nil)");
  EXPECT_TRUE(RaisedExceptions::Seen().empty());

  listSelectionSetter(object, 0, -1);
  listEditCell(object, 0, 0);
  EXPECT_EQ(listSelectionGetBoolean(selection), 1) << "true while a cell is edited";
  pane()->CancelEdit();

  RuntimeUnlockObject(selection);
  RuntimeUnlockObject(value);
  RuntimeUnlockObject(outside);
}

// A selection receiver that removes itself and another while being told:
// the walk goes on over what it held, and nothing is freed under it.
int32_t sToldCount = 0;
RuntimeObject *sOther = nullptr;
RuntimeObject *sList = nullptr;
void ReceiverChanged(RuntimeObject *self) {
  ++sToldCount;
  listRemoveLSNR(sList, self);
  if (sOther) {
    listRemoveLSNR(sList, sOther);
    sOther = nullptr;
  }
}
ObjectDefinition *ReceiverClass() {
  static ObjectDefinition defn;
  return TestClass(defn, "TestSelectionReceiver", sizeof(RuntimeObject),
                   {{"selectionChanging", reinterpret_cast<void *>(+[](RuntimeObject *) {})},
                    {"selectionChanged", reinterpret_cast<void *>(ReceiverChanged)}},
                   {ListSelectionNotificationReceiverClass()});
}

TEST_F(ListboxObject, ReceiversThatRemoveReceiversWhileToldAreSafe) {
  if (!Open())
    GTEST_SKIP() << "no display";
  Rows({"r0", "r1"});
  RuntimeObject *a = CreateInstance(ReceiverClass());
  RuntimeObject *b = CreateInstance(ReceiverClass());
  listAddLSNR(object, a);
  listAddLSNR(object, b);
  RuntimeUnlockObject(a);
  RuntimeUnlockObject(b); // the list holds the only references
  sList = object;
  sOther = b;
  sToldCount = 0;
  ClickCell(1, 0, 5);
  EXPECT_EQ(sToldCount, 2) << "both were in the snapshot";
  sToldCount = 0;
  ClickCell(0, 0, 5);
  EXPECT_EQ(sToldCount, 0) << "both are gone";
  sList = nullptr;
}

// A receiver of the got-focus action runs after GotFocus.
int32_t sPerformed = 0;
void Perform(RuntimeObject *) {
  sScript->log.push_back("PerformAction");
  ++sPerformed;
}
ObjectDefinition *ActionReceiverClass() {
  static ObjectDefinition defn;
  return TestClass(defn, "TestActionReceiver", sizeof(RuntimeObject),
                   {{"PerformAction", reinterpret_cast<void *>(Perform)}},
                   {ActionNotificationReceiverClass()});
}

TEST_F(ListboxObject, GotFocusActionReceiversRunAfterGotFocus) {
  if (!Open())
    GTEST_SKIP() << "no display";
  stringStorage *s = Str("gotFocusAction");
  RuntimeObject *action = listGetBoundPart(object, s);
  RuntimeUnlockString(s);
  RuntimeObject *receiver = CreateInstance(ActionReceiverClass());
  lbaAddActionNotificationReceiver(action, receiver);
  pane()->GainedFocus();
  EXPECT_EQ(script.log, (Strings{"GotFocus", "PerformAction"}));
  lbaRemoveActionNotificationReceiver(action, receiver);
  script.log.clear();
  pane()->GainedFocus();
  EXPECT_EQ(script.log, Strings{"GotFocus"});
  RuntimeUnlockObject(receiver);
  RuntimeUnlockObject(action);
}

TEST_F(ListboxObject, ADataSourceNamingNoDataControlLeavesTheListUnbound) {
  if (!Open())
    GTEST_SKIP() << "no display";
  stringStorage *s = Str("NoSuchControl");
  ListboxDataSourceSetter(object, 0, s);
  RuntimeUnlockString(s);
  EXPECT_EQ(pane()->BoundDataControl(), nullptr);
  EXPECT_EQ(Take(ListboxDataSourceGetter(object, 0)), "NoSuchControl");
}

} // namespace
