// The DataControl over a three-row database of the built-in engine, with an
// edit field and a label bound to it in a window on the private display:
// filling, moving, writing back (with Commit, and kept back by Validate),
// deleting the last row, a control without a source, the bound part's
// actions, the class table and the navigation bar's geometry.
#include <gtest/gtest.h>

#include <iterator>

#include <gtk/gtk.h>
#include <string>
#include <vector>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/StaticTextClass.h"
#include "database/DatabaseInterface.h"
#include "database/DatabaseObjects.h"
#include "database/ZANTEngine.h"
#include "database/classes/DataControlClass.h"
#include "database/classes/DataControlPane.h"
#include "database/classes/DatabaseMembers.h"
#include "database/DatabaseTestSupport.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ValueAccessors.h"
#include "support/BoundControlList.h"
#include "support/ClassTableChecks.h"
#include "support/WindowsTestSupport.h"
#include "text/EditFieldClass.h"

namespace {

using Strings = std::vector<std::string>;

Strings gEvents;
bool gValidateAnswer = false;

void OnReposition(RuntimeObject *, int32_t row) { gEvents.push_back("Reposition " + std::to_string(row)); }
int32_t OnValidate(RuntimeObject *, int32_t action) {
  gEvents.push_back("Validate " + std::to_string(action));
  return gValidateAnswer ? 1 : 0;
}
void OnUpdate(RuntimeObject *) { gEvents.push_back("Update"); }
void OnDelete(RuntimeObject *) { gEvents.push_back("Delete"); }

ObjectDefinition *LoggingDataControlClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("LoggingDataControl");
    defn.super = DataControlClass();
    defn.objectSize = sizeof(DataControlObject);
    defn.staticTables = 1;
    const std::pair<const char *, void *> handlers[] = {
        {"Reposition", reinterpret_cast<void *>(OnReposition)},
        {"Validate", reinterpret_cast<void *>(OnValidate)},
        {"Update", reinterpret_cast<void *>(OnUpdate)},
        {"Delete", reinterpret_cast<void *>(OnDelete)},
    };
    for (const auto &[name, code] : handlers) {
      auto *item = new ObjectHookInstance;
      item->name = string(name);
      item->code = code;
      item->next = defn.hookInstances;
      defn.hookInstances = item;
    }
  }
  return &defn;
}

void SetText(RuntimeObject *o, void (*setter)(RuntimeObject *, int32_t, stringStorage *), const char *text) {
  stringStorage *s = sqlStorage(text);
  setter(o, 0, s);
  stringStorage::RemoveReference(s);
}

std::string Take(stringStorage *s) {
  std::string text = sqlStdString(s);
  stringStorage::RemoveReference(s);
  return text;
}

RuntimeObject *OpenDatabase(const std::string &path, bool create = false) {
  const string name(path.c_str());
  return ZANTdbDatabaseFromDBDatabase(create ? CreateZANTPath(name) : OpenZANTPath(name), &gZANTEngineDefinition);
}

void Execute(RuntimeObject *database, const std::string &sql) {
  stringStorage *s = sqlStorage(sql);
  databaseSQLExecute(database, s);
  stringStorage::RemoveReference(s);
}

// Column 0 of every row.
Strings FirstColumn(RuntimeObject *database, const std::string &sql) {
  stringStorage *s = sqlStorage(sql);
  RuntimeObject *rs = databaseSQLSelect(database, s);
  stringStorage::RemoveReference(s);
  Strings rows;
  std::string text;
  for (; rs && !reinterpret_cast<DatabaseCursorObject *>(rs)->eof; cursorMoveNext(rs)) {
    recordSetColumnText(reinterpret_cast<DatabaseCursorObject *>(rs), 0, text);
    rows.push_back(text);
  }
  RuntimeUnlockObject(rs);
  return rows;
}

class DataControls : public ControlWindow {
protected:
  void SetUp() override {
    ControlWindow::SetUp();
    gEvents.clear();
    gValidateAnswer = false;
    mPath = mScratch.Path("three.db");
    mDatabase = OpenDatabase(mPath, true);
    ASSERT_NE(mDatabase, nullptr);
    Execute(mDatabase, "CREATE TABLE t (id integer, s varchar(20), PRIMARY KEY (id))");
    for (const char *row : {"(1, 'one')", "(2, 'two')", "(3, 'three')"})
      Execute(mDatabase, std::string("INSERT INTO t (id, s) VALUES ") + row);
    databaseCommit(mDatabase);
  }
  void TearDown() override {
    ControlWindow::TearDown();
    RuntimeUnlockObject(mDatabase);
  }
  // The data control over t, an edit field on s and a label on id.
  void Build(bool withDatabase = true, const char *sql = "SELECT * FROM t") {
    Open();
    mData = AddOf(LoggingDataControlClass(), "Data1", 10, 10, 200, 20, [&](RuntimeObject *o) {
      DataControlDBSetter(o, 0, withDatabase ? mDatabase : nullptr);
      SetText(o, DataControlTableNameSetter, "t");
      SetText(o, DataControlQuerySetter, sql);
    });
    mField = AddOf(EditClass(), "Field", 10, 40, 120, 24, [](RuntimeObject *o) {
      SetText(o, EditDataSourceSetter, "Data1");
      SetText(o, EditDataFieldSetter, "s");
    });
    mLabel = AddOf(StaticTextClass(), "Label", 10, 70, 120, 20, [](RuntimeObject *o) {
      SetText(o, StaticTextDataSourceSetter, "Data1");
      SetText(o, StaticTextDataFieldSetter, "id");
    });
    ASSERT_NE(Pane(), nullptr);
  }
  DataControl *Pane() { return static_cast<DataControl *>(Ctl(mData)->pane); }
  std::string Shown() {
    return Take(editTextGetter(mField, 0)) + "/" +
           sqlStdString(reinterpret_cast<StaticTextObject *>(mLabel)->text);
  }
  std::string Flags() { return std::string(Pane()->BackFlag() ? "B" : "-") + (Pane()->ForwardFlag() ? "F" : "-"); }

  DatabaseScratch mScratch;
  std::string mPath;
  RuntimeObject *mDatabase = nullptr, *mData = nullptr, *mField = nullptr, *mLabel = nullptr;
};

TEST(DataControlBar, ButtonWidthsRectanglesStatesAndCaption) {
  const struct {
    int32_t width, height, side;
  } widths[] = {{200, 20, 20}, {60, 20, 12}, {400, 50, 35}, {0, 20, 0}, {99, 20, 19}};
  for (const auto &w : widths)
    EXPECT_EQ(CalculateButtonWidth(w.width, w.height), w.side) << w.width << "x" << w.height;

  const QV::Rect bar{10, 100, 30, 300}; // top, left, bottom, right
  EXPECT_EQ(NavButtonRect(bar, kNavFirst).left, 100);
  EXPECT_EQ(NavButtonRect(bar, kNavPrevious).left, 120);
  EXPECT_EQ(NavButtonRect(bar, kNavNext).left, 260);
  EXPECT_EQ(NavButtonRect(bar, kNavLast).right, 300);

  // pressed, hover, enabled, back, forward -> state of first and of next
  const struct {
    int32_t pressed, hover;
    bool enabled, back, forward;
    int32_t first, next;
  } states[] = {
      {kNavNone, kNavNone, true, true, true, 0, 0},
      {kNavFirst, kNavNext, true, true, true, 1, 2},
      {kNavNone, kNavNone, true, false, true, 4, 0},
      {kNavNone, kNavNone, false, true, true, 4, 4},
      {kNavNext, kNavNone, false, true, false, 4, 1},
  };
  for (const auto &s : states) {
    EXPECT_EQ(NavButtonState(kNavFirst, s.pressed, s.hover, s.enabled, s.back, s.forward), s.first);
    EXPECT_EQ(NavButtonState(kNavNext, s.pressed, s.hover, s.enabled, s.back, s.forward), s.next);
  }

  // e = 100 + 40 + 5 = 145; the box ends at 300 - 40 - 5 = 255.
  EXPECT_EQ(CaptionStart(bar, 20, 0, 50), 145);
  EXPECT_EQ(CaptionStart(bar, 20, 1, 50), (255 - 145 - 50) / 2 + 145);
  EXPECT_EQ(CaptionStart(bar, 20, 2, 50), 205);
  EXPECT_EQ(CaptionStart(bar, 20, 2, 500), 145) << "never left of the box";
  const QV::RGBColor red = CaptionColor(0xFF0000, false), dim = CaptionColor(0xFF0000, true);
  EXPECT_EQ(red.red, 65535);
  EXPECT_EQ(red.green, 0);
  EXPECT_EQ(dim.red, (65535 + 0x18000) / 4);
  EXPECT_EQ(dim.green, 0x18000 / 4);
}

TEST_F(DataControls, ClassTables) {
  addIntrinsicClass(DataControlClass());
  addIntrinsicClass(DataControlActionClass());
  ObjectDefinition *defn = DataControlClass();
  EXPECT_EQ(defn->objectSize, 148);
  EXPECT_STREQ(defn->super->className.CString(), "RectControl");
  Strings properties, methods;
  for (const InstanceVariable *p = defn->properties; p; p = p->next) {
    properties.push_back(p->name.CString());
    ExpectAccessorsBound(p);
  }
  for (const ObjectMethod *m = defn->methods; m; m = m->next)
    methods.push_back(m->name.CString());
  ExpectMethodsBound(defn);
  EXPECT_EQ(properties, (Strings{"Caption", "TableName", "SQLQuery", "Database", "TextAlign", "TextColor",
                                 "TextFont", "TextSize", "Bold", "Italic", "Underline", "ControlBind",
                                 "ReadOnly", "kInsert", "kUpdate", "kDelete", "RecordLocked", "Commit"}));
  EXPECT_EQ(methods, (Strings{"GetField", "FieldCount", "Cursor", "RecordSet", "MoveNext", "MovePrevious",
                              "MoveFirst", "MoveLast", "MoveTo", "RecordCount", "RowCount", "Row", "RunQuery",
                              "Insert", "Delete", "Update", "getBoundPart", "ClearBoundControls", "NewRecord"}));
  ASSERT_NE(defn->interfaces, nullptr);
  EXPECT_STREQ(defn->interfaces->interface->className.CString(), "bindingPartInterface");
  ObjectDefinition *action = DataControlActionClass();
  EXPECT_EQ(action->objectSize, 32);
  ExpectMethodsBound(action);
  EXPECT_STREQ(action->interfaces->interface->className.CString(), "actionNotificationReceiver");
}

TEST_F(DataControls, FillsMovesAndSetsTheButtonFlags) {
  Build();
  EXPECT_EQ(DataControlRowCount(mData), 3);
  EXPECT_EQ(DataControlRow(mData), 1);
  EXPECT_EQ(Shown(), "one/1");
  EXPECT_EQ(Flags(), "-F");
  EXPECT_EQ(BoundControls(mData), (Strings{"1 Label", "0 Field"}));
  EXPECT_EQ(DataControlFieldCount(mData), 2);
  EXPECT_EQ(Take(DataControlGetField(mData, 1)), "s");
  EXPECT_EQ(DataControlGetField(mData, 2), nullptr);
  EXPECT_EQ(DataControlGetField(mData, -1), nullptr);

  DataControlMoveNext(mData);
  EXPECT_EQ(Shown(), "two/2");
  EXPECT_EQ(Flags(), "BF");
  EXPECT_EQ(gEvents, (Strings{"Reposition 2"}));
  DataControlMoveLast(mData);
  EXPECT_EQ(Shown(), "three/3");
  EXPECT_EQ(Flags(), "B-");
  DataControlMoveNext(mData); // past the end: nothing
  EXPECT_EQ(DataControlRow(mData), 3);
  DataControlMovePrev(mData);
  EXPECT_EQ(Shown(), "two/2");
  DataControlMoveFirst(mData);
  EXPECT_EQ(Shown(), "one/1");
  EXPECT_EQ(Flags(), "-F");
  gEvents.clear();
  DataControlMoveTo(mData, 1); // the current row
  DataControlMoveTo(mData, 0);
  EXPECT_EQ(gEvents, Strings{});
  DataControlMoveTo(mData, 3);
  EXPECT_EQ(Shown(), "three/3");
  EXPECT_EQ(gEvents, (Strings{"Reposition 3"}));
}

TEST_F(DataControls, AnEditWrittenBackOnTheNextMoveWithCommitAndKeptBackByValidate) {
  Build();
  gValidateAnswer = true;
  SetText(mField, editTextSetter, "uno");
  DataControlMoveNext(mData);
  EXPECT_EQ(gEvents, (Strings{"Validate 1", "Reposition 2"})) << "cancelled, and the move goes on";
  EXPECT_EQ(Shown(), "two/2");
  EXPECT_EQ(FirstColumn(mDatabase, "SELECT s FROM t WHERE id = 1"), (Strings{"one"}));

  gValidateAnswer = false;
  gEvents.clear();
  boolSetter(mData, offsetof(DataControlObject, commit), 1);
  SetText(mField, editTextSetter, "dos");
  DataControlMoveNext(mData);
  EXPECT_EQ(gEvents, (Strings{"Validate 1", "Update", "Reposition 3"}));
  EXPECT_EQ(Shown(), "three/3");
  // Committed: the file closed and opened again holds the change.
  databaseClose(mDatabase);
  RuntimeObject *reopened = OpenDatabase(mPath);
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(FirstColumn(reopened, "SELECT s FROM t ORDER BY id"), (Strings{"one", "dos", "three"}));
  RuntimeUnlockObject(reopened);
}

TEST_F(DataControls, DeletingTheLastRowShowsTheNewLast) {
  Build();
  DataControlMoveLast(mData);
  gEvents.clear();
  DataControlDeleteRecord(mData);
  EXPECT_EQ(Take(databaseErrorStringGetter(mDatabase, 0)), "");
  EXPECT_EQ(gEvents, (Strings{"Validate 2", "Reposition 2", "Delete"}));
  EXPECT_EQ(Shown(), "two/2");
  EXPECT_EQ(DataControlRowCount(mData), 2);
  EXPECT_EQ(Flags(), "B-");
  EXPECT_EQ(FirstColumn(mDatabase, "SELECT s FROM t ORDER BY id"), (Strings{"one", "two"}));
}

TEST_F(DataControls, WithoutADatabaseOrOnTheOnlyRowTheButtonsAreOff) {
  Build(false);
  EXPECT_EQ(DataControlRowCount(mData), 0);
  EXPECT_EQ(DataControlRow(mData), 0);
  EXPECT_EQ(DataControlGetCursor(mData), nullptr);
  EXPECT_EQ(Flags(), "--");
  DataControlDBSetter(mData, 0, mDatabase); // the query runs again
  EXPECT_EQ(DataControlRowCount(mData), 3);
  SetText(mData, DataControlQuerySetter, "SELECT * FROM t WHERE id = 2");
  DataControlRunQuery(mData);
  EXPECT_EQ(DataControlRowCount(mData), 1);
  EXPECT_EQ(Flags(), "--");
  EXPECT_EQ(Shown(), "two/2");
}

TEST_F(DataControls, BoundPartActionsInsertBlankAndUpdate) {
  Build();
  stringStorage *name = sqlStorage("GETUPDATEACTION");
  RuntimeObject *update = DataControlGetBoundPart(mData, name);
  stringStorage::RemoveReference(name);
  ASSERT_NE(update, nullptr);
  name = sqlStorage("getNothing");
  EXPECT_EQ(DataControlGetBoundPart(mData, name), nullptr);
  stringStorage::RemoveReference(name);
  SetText(mField, editTextSetter, "first");
  DataControlActionPerformAction(update);
  EXPECT_EQ(FirstColumn(mDatabase, "SELECT s FROM t WHERE id = 1"), (Strings{"first"}));
  RuntimeUnlockObject(update);

  DataControlNewRecord(mData);
  EXPECT_EQ(Shown(), "/");
  EXPECT_EQ(Flags(), "--");
  SetText(mField, editTextSetter, "four");
  SetText(mLabel, staticCaptionSetter, "4");
  DataControlAddNewRecord(mData);
  EXPECT_EQ(Shown(), "/") << "cleared after the insert";
  EXPECT_EQ(FirstColumn(mDatabase, "SELECT s FROM t WHERE id = 4"), (Strings{"four"}));

  // Read-only: edits do nothing.
  DataControlReadOnlySetter(mData, 0, 1);
  DataControlRunQuery(mData);
  EXPECT_EQ(editReadOnlyGetter(mField, 0), 1);
  DataControlDeleteRecord(mData);
  EXPECT_EQ(DataControlRowCount(mData), 4);
}

} // namespace

namespace {

// The darkest pixel of the window's rectangle as 0xRRGGBB (0xFFFFFF for
// none read).
uint32_t DarkestOnScreen(unsigned long xid, int left, int top, int width, int height) {
  GdkWindow *window = gdk_window_foreign_new(xid);
  if (!window)
    return 0xFFFFFF;
  GdkPixbuf *pixels = gdk_pixbuf_get_from_drawable(
      nullptr, window, gdk_screen_get_system_colormap(gdk_screen_get_default()), left, top, 0, 0, width, height);
  g_object_unref(window);
  if (!pixels)
    return 0xFFFFFF;
  uint32_t darkest = 0xFFFFFF;
  int least = 3 * 255 + 1;
  const int channels = gdk_pixbuf_get_n_channels(pixels), stride = gdk_pixbuf_get_rowstride(pixels);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const guchar *c = gdk_pixbuf_get_pixels(pixels) + y * stride + x * channels;
      if (c[0] + c[1] + c[2] < least) {
        least = c[0] + c[1] + c[2];
        darkest = uint32_t(c[0] << 16 | c[1] << 8 | c[2]);
      }
    }
  g_object_unref(pixels);
  return darkest;
}

// The bar at (10, 10), 200 by 20: 20-pixel buttons, next at 170..190, first
// at 10..30; the caption box between 48 and 172.
TEST_F(DataControls, ClicksOnTheButtonsMoveTheRecordAndADisabledBarDimsItsCaption) {
  Build();
  RuntimeViewWindow *w = reinterpret_cast<RuntimeViewWindow *>(view->nativeWindow);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(Pane()->GetWidget()); }));
  const std::string window = "mousemove --window " + std::to_string(XidOf(w)) + " ";
  ASSERT_TRUE(XDoToolUntil(window + "180 20 click 1", [&] { return DataControlRow(mData) >= 2; }));
  EXPECT_EQ(Shown(), "two/2");
  EXPECT_EQ(Pane()->Pressed(), kNavNone) << "released";
  ASSERT_TRUE(XDoToolUntil(window + "20 20 click 1", [&] { return DataControlRow(mData) == 1; }));
  EXPECT_EQ(Shown(), "one/1");
  // A press on an inactive button (first, on the first row) takes nothing.
  XDoTool(window + "20 20 click 1");
  EXPECT_EQ(DataControlRow(mData), 1);

  SetText(mData, DataControlCaptionSetter, "MMMMMMMM");
  ASSERT_TRUE(StepUntil([&] { return DarkestOnScreen(XidOf(w), 60, 12, 100, 16) == 0x000000; }))
      << "black caption";
  controlEnabledSetter(mData, 0, 0);
  uint32_t dimmed = 0;
  ASSERT_TRUE(StepUntil([&] {
    dimmed = DarkestOnScreen(XidOf(w), 60, 12, 100, 16);
    return dimmed != 0x000000;
  }));
  EXPECT_EQ(dimmed, 0x606060) << "each component (0 + 0x18000) / 4";
  XDoTool(window + "180 20 click 1");
  EXPECT_EQ(DataControlRow(mData), 1) << "a disabled bar takes no click";
}

} // namespace
