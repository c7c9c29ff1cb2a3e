// Popup menus and combo boxes in a window of the language: design-time rows,
// which changes fire Change, the selection worked out from the entry, row
// tags and their provider, filling from a list provider, and binding.
#include <gtest/gtest.h>

#include "ControlWindowFixture.h"
#include "TestReceivers.h"
#include "controls/ControlEntryPoints.h"
#include "controls/DataBinders.h"
#include "controls/PopupMenuClass.h"
#include "controls/PopupMenuGTK.h"
#include "language/Variant.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "database/classes/DataControlClass.h"
#include "support/BoundControlList.h"
#include "text/EditFieldClass.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

int32_t sSelectInChange = -2; // a ListIndex the Change handler sets, -2 for none

void OnChange(RuntimeObject *o) {
  ControlLog().push_back("Change " + std::to_string(RuntimeComboBoxSelectionGetter(o, 0)));
  if (sSelectInChange != -2)
    RuntimeComboBoxSelectionSetter(o, 0, sSelectInChange);
}
void OnTextChanged(RuntimeObject *) { ControlLog().push_back("TextChanged"); }

ObjectDefinition *TestPopupClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestPopup");
    defn.super = PopupMenuClass();
    defn.objectSize = kPopupMenuInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "Change", reinterpret_cast<void *>(OnChange));
  }
  return &defn;
}

ObjectDefinition *TestComboClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestCombo");
    defn.super = ComboBoxClass();
    defn.objectSize = kPopupMenuInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "Change", reinterpret_cast<void *>(OnChange));
    HandleInClass(defn, "TextChanged", reinterpret_cast<void *>(OnTextChanged));
  }
  return &defn;
}

class Popups : public ControlWindow {
protected:
  void SetUp() override {
    ControlWindow::SetUp();
    sSelectInChange = -2;
  }
  // A popup added to the open window, with its design-time rows.
  RuntimeObject *Popup(const char *name, const char *rows = nullptr, int top = 20,
                       const std::function<void(RuntimeObject *)> &beforePane = {}) {
    return AddOf(TestPopupClass(), name, 20, top, 120, 26, [&](RuntimeObject *o) {
      if (rows)
        stringSetter(o, offsetof(ComboBoxControl, initialValue), string(rows).Storage());
      if (beforePane)
        beforePane(o);
    });
  }
  static Strings Rows(RuntimeObject *o) {
    Strings rows;
    for (int32_t i = 0; i < RuntimeComboBoxCountGetter(o, 0); ++i) {
      stringStorage *row = RuntimeComboBoxGetRow(o, i);
      rows.push_back(stringStorage::CString(row));
      RuntimeUnlockString(row);
    }
    return rows;
  }
  static std::string Text(RuntimeObject *o) {
    stringStorage *s = RuntimeComboBoxTextGetter(o, 0);
    std::string text = stringStorage::CString(s);
    RuntimeUnlockString(s);
    return text;
  }
  static int32_t Index(RuntimeObject *o) { return RuntimeComboBoxSelectionGetter(o, 0); }
  static void AddRow(RuntimeObject *o, const char *text) {
    RuntimeComboBoxAddRow(o, string(text).Storage());
  }
};

TEST_F(Popups, DesignTimeRowsSplitAtEveryLineEndingAndShowRowZeroWithoutAChange) {
  struct Case {
    const char *initial;
    Strings rows;
  } cases[] = {
      {"One\r\nTwo\r\nThree", {"One", "Two", "Three"}},
      {"One\nTwo\nThree\n", {"One", "Two", "Three"}},
      {"One\rTwo\r\rThree", {"One", "Two", "", "Three"}},
      {"Only", {"Only"}},
  };
  Open();
  std::vector<RuntimeObject *> popups;
  int top = 10;
  for (const Case &c : cases) {
    popups.push_back(Popup(("P" + std::to_string(top)).c_str(), c.initial, top));
    top += 30;
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Rows(popups[i]), cases[i].rows) << cases[i].initial;
    EXPECT_EQ(Index(popups[i]), 0) << cases[i].initial;
    EXPECT_EQ(Text(popups[i]), cases[i].rows[0]);
    stringStorage *initial = stringGetter(popups[i], offsetof(ComboBoxControl, initialValue));
    EXPECT_EQ(initial, nullptr) << "consumed by the pane";
  }
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(ControlLog(), Strings{});
}

TEST_F(Popups, OnlyListIndexFiresChangeOnceAndAHandlerSettingItGetsNoSecond) {
  Open();
  RuntimeObject *p = Popup("P");
  AddRow(p, "A");
  AddRow(p, "B");
  RuntimeComboBoxInsertRow(p, 0, string("First").Storage());
  RuntimeComboBoxRemoveRow(p, 2);
  EXPECT_EQ(Rows(p), (Strings{"First", "A"}));
  EXPECT_EQ(ControlLog(), Strings{}) << "AddRow, InsertRow and RemoveRow fire nothing";

  RuntimeComboBoxSelectionSetter(p, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"Change 1"}));
  RuntimeComboBoxSelectionSetter(p, 0, 1);
  EXPECT_EQ(ControlLog().size(), 1u) << "the same row again changes nothing";
  sSelectInChange = 1;
  RuntimeComboBoxSelectionSetter(p, 0, 0);
  EXPECT_EQ(ControlLog(), (Strings{"Change 1", "Change 0"}));
  EXPECT_EQ(Index(p), 1) << "the handler's selection stands, unreported";
}

TEST_F(Popups, TheFirstRowEqualToTheEntryIgnoringCaseIsTheSelection) {
  Open();
  RuntimeObject *p = Popup("P");
  for (const char *row : {"A", "B", "a"})
    AddRow(p, row);
  RuntimeComboBoxSelectionSetter(p, 0, 2);
  EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(static_cast<PopupMenu *>(Ctl(p)->pane)->Entry())),
               "a");
  EXPECT_EQ(Index(p), 0);
}

TEST_F(Popups, InsertingIntoAnEmptyPopupAndRemovingTheLastRow) {
  Open();
  RuntimeObject *p = Popup("P");
  EXPECT_EQ(Text(p), "") << "no selection, no text";
  RuntimeComboBoxInsertRow(p, 0, string("Solo").Storage());
  EXPECT_EQ(Rows(p), Strings{"Solo"});
  RuntimeComboBoxRemoveRow(p, 0);
  EXPECT_EQ(RuntimeComboBoxCountGetter(p, 0), 0);
  EXPECT_EQ(Index(p), -1);
  EXPECT_EQ(popupDataAvailable(p), 0);
}

TEST_F(Popups, RowIndicesOutsideTheRowsRaiseAndRowMethodsWithoutAPaneDoNothing) {
  RaisedClasses raised;
  OutOfBoundsExceptionClass();
  Open();
  RuntimeObject *p = Popup("P", "A\rB", 20, [](RuntimeObject *o) {
    AddRow(o, "ignored");
    EXPECT_EQ(getPopupRowTag(o, 0), nullptr);
    EXPECT_EQ(Index(o), -1);
    EXPECT_EQ(Text(o), "");
    RuntimeComboBoxSelectionSetter(o, 0, 1); // pending
  });
  EXPECT_EQ(raised.Names(), Strings{});
  EXPECT_EQ(Rows(p), (Strings{"A", "B"}));
  EXPECT_EQ(Index(p), 1) << "the pending selection, shown at creation";

  RuntimeObject *tag = stringToVariant(string("tag").Storage());
  setPopupRowTag(p, 1, tag);
  RuntimeObject *read = getPopupRowTag(p, 1);
  EXPECT_EQ(read, tag);
  RuntimeUnlockObject(read);
  RuntimeUnlockObject(tag);
  EXPECT_EQ(getPopupRowTag(p, RuntimeComboBoxCountGetter(p, 0)), nullptr);
  EXPECT_EQ(RuntimeComboBoxGetRow(p, -1), nullptr);
  RuntimeComboBoxRemoveRow(p, 5);
  EXPECT_EQ(raised.Names(), Strings(3, "OutOfBoundsException"));
  EXPECT_EQ(RuntimeComboBoxCountGetter(p, 0), 2);
}

TEST_F(Popups, ARowTagProviderFollowsTheSelectionAndAnswersNilOnceThePopupWent) {
  Open();
  RuntimeObject *p = Popup("P");
  RuntimeLockObject(p);
  AddRow(p, "A");
  AddRow(p, "B");
  RuntimeObject *tag = stringToVariant(string("bee").Storage());
  setPopupRowTag(p, 1, tag);
  RuntimeUnlockObject(tag);
  RuntimeObject *provider = popupGetBoundPart(p, string("rowtagprovider").Storage());
  ASSERT_NE(provider, nullptr);
  EXPECT_EQ(popupGetBoundPart(p, string("Rows").Storage()), nullptr);
  RuntimeObject *receiver = NewReceiver(9);
  popupRowTagAddDNR(provider, receiver);
  EXPECT_EQ(popupRowTagGetString(provider), nullptr) << "row 0 has no tag";
  RuntimeComboBoxSelectionSetter(p, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"Change 1", "dataChanged R9"}));
  stringStorage *s = popupRowTagGetString(provider);
  EXPECT_STREQ(stringStorage::CString(s), "bee");
  RuntimeUnlockString(s);
  EXPECT_EQ(popupRowTagDataAvailable(provider), 1);

  ControlClose(p);
  RuntimeUnlockObject(p); // the window's map let go as well: the popup is gone
  EXPECT_EQ(popupRowTagGetString(provider), nullptr);
  EXPECT_EQ(popupRowTagDataAvailable(provider), 0);
  RuntimeUnlockObject(provider);
  RuntimeUnlockObject(receiver);
}

// A list provider of three rows, the second with one field only.
struct TupleObject {
  RuntimeObject header;
  int32_t row;
};
int32_t TupleFieldCount(RuntimeObject *o) {
  return reinterpret_cast<TupleObject *>(o)->row == 2 ? 1 : 2;
}
stringStorage *TupleField(RuntimeObject *o, int32_t field) {
  std::string text =
      (field == 1 ? "row " : "tag ") + std::to_string(reinterpret_cast<TupleObject *>(o)->row);
  string s(text.c_str());
  return RuntimeLockString(s.Storage());
}
int32_t ListCount(RuntimeObject *) { return 3; }
RuntimeObject *ListRow(RuntimeObject *, int32_t row);

ObjectDefinition *TupleClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    static MethodParameter v[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
    PropertyMethod methods[] = {
        {"FieldCount", &integerType.type, nullptr, 0, {{EntryCode(TupleFieldCount), {}}, {}}, 0,
         0, 0},
        {"getIndString", &stringType.type, v, 1, {{EntryCode(TupleField), {}}, {}}, 0, 0, 0},
    };
    defn.className = string("TestTuple");
    defn.objectSize = sizeof(TupleObject);
    defn.staticTables = 1;
    defn.methods = FillMethods(methods, std::size(methods));
    defn.addInterface(TupleInterfaceClass());
  }
  return &defn;
}

ObjectDefinition *ListClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    static MethodParameter v[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
    PropertyMethod methods[] = {
        {"GetCount", &integerType.type, nullptr, 0, {{EntryCode(ListCount), {}}, {}}, 0, 0, 0},
        {"GetRow", TupleInterfaceClass()->AsType(), v, 1, {{EntryCode(ListRow), {}}, {}}, 0, 0,
         0},
    };
    defn.className = string("TestList");
    defn.objectSize = sizeof(RuntimeObject);
    defn.staticTables = 1;
    defn.methods = FillMethods(methods, std::size(methods));
    defn.addInterface(ListDataProviderClass());
  }
  return &defn;
}

RuntimeObject *ListRow(RuntimeObject *, int32_t row) {
  RuntimeObject *o = CreateInstance(TupleClass());
  reinterpret_cast<TupleObject *>(o)->row = row;
  return o;
}

TEST_F(Popups, AListBinderFillsTheRowsWithTheirTagsAndAStringBinderFollowsTheSelection) {
  Open();
  RuntimeObject *p = Popup("P", "Old");
  RuntimeObject *list = CreateInstance(ListClass());
  listBinderBind(nullptr, list, p);
  RuntimeUnlockObject(list);
  EXPECT_EQ(Rows(p), (Strings{"row 1", "row 2", "row 3"}));
  RuntimeObject *tag = getPopupRowTag(p, 2);
  stringStorage *s = variantToString(tag);
  EXPECT_STREQ(stringStorage::CString(s), "tag 3");
  RuntimeUnlockString(s);
  RuntimeUnlockObject(tag);
  EXPECT_EQ(getPopupRowTag(p, 1), nullptr) << "a one-field row has no tag";

  RuntimeObject *receiver = NewReceiver(4);
  RuntimeObject *binder = CreateInstance(StringBinderClass());
  ControlLog().clear();
  stringBinderBind(binder, p, receiver);
  RuntimeComboBoxSelectionSetter(p, 0, 2);
  EXPECT_EQ(ControlLog(), (Strings{"setString R4 row 1", "Change 2", "setString R4 row 3"}));
  RuntimeUnlockObject(binder);
  RuntimeUnlockObject(receiver);
}

TEST_F(Popups, AStringBinderFillsAnEditFieldDisabledWithoutSelectionAndATypedTextReachesTheSource) {
  Open();
  RuntimeObject *p = Popup("P");
  RuntimeObject *field = AddOf(EditClass(), "Field", 20, 80, 160, 26);
  RuntimeObject *binder = CreateInstance(StringBinderClass());
  stringBinderBind(binder, p, field);
  EXPECT_EQ(controlEnabledGetter(field, 0), 0) << "nothing selected";
  AddRow(p, "alpha");
  AddRow(p, "beta");
  RuntimeComboBoxSelectionSetter(p, 0, 1);
  stringStorage *text = editTextGetter(field, 0);
  EXPECT_STREQ(stringStorage::CString(text), "beta");
  RuntimeUnlockString(text);
  EXPECT_EQ(controlEnabledGetter(field, 0), 1);
  RuntimeUnlockObject(binder);

  // A field following a source with setString hands its text back: on every
  // change with LiveUpdate.
  RuntimeObject *sink = NewReceiver(6);
  editBindValue(field, sink);
  boolSetter(field, 153, 1);
  ControlLog().clear();
  editTextSetter(field, 0, string("typed").Storage());
  EXPECT_NE(std::find(ControlLog().begin(), ControlLog().end(), "setString R6 typed"),
            ControlLog().end());
  editBindValue(field, nullptr);
  RuntimeUnlockObject(sink);
}

TEST_F(Popups, PopupsAndComboBoxesBindToADataControlAsTheirPanesAreMade) {
  Open();
  RuntimeObject *data = AddOf(DataControlClass(), "Data1", 200, 200, 40, 20);
  auto data1 = [](RuntimeObject *o) { PopupDataSourceSetter(o, 0, string("Data1").Storage()); };
  RuntimeObject *p = Popup("P", nullptr, 20, data1);
  AddOf(TestComboClass(), "C", 20, 60, 120, 26, data1);
  EXPECT_EQ(BoundControls(data), (Strings{"3 C", "3 P"}));
  PopupDataFieldSetter(p, 0, string("Name").Storage());
  EXPECT_EQ(BoundControls(data), (Strings{"3 P", "3 C"})) << "left, then bound again";
}

TEST_F(Popups, AComboBoxTellsTextChangedOfEveryEditAndItsTextSelectsARow) {
  Open();
  RuntimeObject *c = AddOf(TestComboClass(), "C", 20, 20, 120, 26);
  AddRow(c, "Red");
  AddRow(c, "Green");
  ControlLog().clear();
  RuntimeComboBoxTextSetter(c, 0, string("green").Storage());
  EXPECT_EQ(Index(c), 1);
  EXPECT_EQ(ControlLog().back(), "Change 1");
  EXPECT_NE(std::find(ControlLog().begin(), ControlLog().end(), "TextChanged"),
            ControlLog().end());
  ControlLog().clear();
  RuntimeComboBoxTextSetter(c, 0, string("Blue").Storage());
  EXPECT_EQ(Index(c), -1);
  EXPECT_EQ(Text(c), "Blue");
  for (const std::string &line : ControlLog())
    EXPECT_EQ(line, "TextChanged") << "no row: no Change";
}

} // namespace
