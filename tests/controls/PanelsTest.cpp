// Page panels and tab panels in a window of the language: the class tables,
// tabs made from the design-time definition, captions, the page a child
// shows on, Value's clamping and its Change events, and Facing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/PagePanelClass.h"
#include "foundation/TextEncodings.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ClassTableChecks.h"
#include "windows/ControlServices.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

void OnTabChange(RuntimeObject *o) {
  ControlLog().push_back("Change " + std::to_string(tabPanelValueGetter(o, 0)));
}
void OnPageChange(RuntimeObject *o) {
  ControlLog().push_back("Change " + std::to_string(PagePanelValueGetter(o, 0)));
}

ObjectDefinition *Subclass(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                           int32_t size, void *change) {
  if (defn.className.IsEmpty()) {
    defn.className = string(name);
    defn.super = super;
    defn.objectSize = size;
    defn.staticTables = 1;
    HandleInClass(defn, "Change", change);
  }
  return &defn;
}

ObjectDefinition *TestTabPanelClass() {
  static ObjectDefinition defn;
  return Subclass(defn, "TestTabPanel", TabPanelClass(), kTabPanelInstanceSize,
                  reinterpret_cast<void *>(OnTabChange));
}

ObjectDefinition *TestPagePanelClass() {
  static ObjectDefinition defn;
  return Subclass(defn, "TestPagePanel", PagePanelClass(), kPagePanelInstanceSize,
                  reinterpret_cast<void *>(OnPageChange));
}

TabPanel *TabPane(RuntimeObject *o) { return static_cast<TabPanel *>(Ctl(o)->pane); }

Strings Captions(RuntimeObject *o) {
  Strings captions;
  for (int32_t i = 0; i < TabPane(o)->GetCount(); ++i) {
    stringStorage *s = tabPanelCaptionGetter(o, i);
    captions.push_back(stringStorage::CString(s));
    RuntimeUnlockString(s);
  }
  return captions;
}

class Panels : public ControlWindow {
protected:
  // A tab panel at (20, 20), 300 by 200, with that definition, tagged.
  RuntimeObject *Tabs(const std::string &definition, uint32_t encoding = kEncodingUTF8,
                      int32_t facing = 0) {
    return AddOf(TestTabPanelClass(), "Tabs", 20, 20, 300, 200, [&](RuntimeObject *o) {
      string text;
      text.ConstructFromBuffer(definition.data(), static_cast<int>(definition.size()), encoding);
      stringSetter(o, offsetof(TabPanelObject, tabDefinition), text.Storage());
      AsTabObject(o)->facing = facing;
    });
  }
  // A plain control on the page, inside the panels' area.
  RuntimeObject *OnPage(const char *name, int32_t page) {
    return AddOf(TestControlClass(), name, 60, 80, 80, 30,
                 [page](RuntimeObject *o) { Ctl(o)->tabPanelIndex = page; });
  }
  static TabPanelObject *AsTabObject(RuntimeObject *o) {
    return reinterpret_cast<TabPanelObject *>(o);
  }
  static bool Shown(RuntimeObject *o) { return Ctl(o)->pane->IsTabPanelVisible(); }
};

TEST(PanelClasses, TablesEventsAndSizes) {
  CreateControlClasses();
  ObjectDefinition *page = PagePanelClass();
  ObjectDefinition *tab = TabPanelClass();
  EXPECT_EQ(page->super, RectControlClass());
  EXPECT_EQ(tab->super, page);
  EXPECT_EQ(page->objectSize, 104);
  EXPECT_EQ(tab->objectSize, 132);
  Strings events;
  for (ObjectHook *h = tab->hooks; h; h = h->next)
    events.push_back(h->name.CString());
  EXPECT_EQ(events,
            (Strings{"Change", "GotFocus", "LostFocus", "MouseDown", "MouseDrag", "MouseUp"}));
  std::vector<const InstanceVariable *> items;
  for (const InstanceVariable *p = page->properties; p; p = p->next)
    items.push_back(p);
  ExpectPropertyFlagsAndExports(
      items, {{"Enabled%b", 0, Code(controlEnabledGetter), Code(controlEnabledSetter), 0},
              {"Value%i", 0, Code(PagePanelValueGetter), Code(PagePanelValueSetter), 0},
              {"PanelCount%i", 100, Code(intGetter), Code(intSetter), 0x80}});
  items.clear();
  for (const InstanceVariable *p = tab->properties; p; p = p->next)
    items.push_back(p);
  ExpectPropertyFlagsAndExports(
      items,
      {{"Enabled%b", 0, Code(controlEnabledGetter), Code(controlEnabledSetter), 0},
       {"TabDefinition%s", 104, nullptr, Code(stringSetter), 0x40},
       {"Value%i", 0, Code(tabPanelValueGetter), Code(tabPanelValueSetter), 0},
       {"Facing%i", 128, Code(intGetter), Code(intSetter), 0x80},
       {"SmallTabs%b", 124, Code(boolGetter), Code(boolSetter), 0x80},
       {"TextFont%s", 112, Code(stringGetter), Code(tabPanelTextFontSetter), 0},
       {"TextSize%i", 116, Code(shortGetter), Code(tabPanelTextSizeSetter), 0},
       {"Bold%b", 118, Code(boolGetter), Code(tabPanelBoldSetter), 0},
       {"Italic%b", 119, Code(boolGetter), Code(tabPanelItalicSetter), 0},
       {"Underline%b", 120, Code(boolGetter), Code(tabPanelUnderlineSetter), 0}});
  ExpectMethodsBound(tab);
}

// Every line ending separates, as does a zero byte; empty lines are empty
// tabs, and a separator at the end adds none.
TEST_F(Panels, TheDefinitionGivesOneTabPerLine) {
  struct Case {
    std::string definition;
    Strings tabs;
  };
  const Case cases[] = {
      {"Two\nWords", {"Two", "Words"}},
      {"Two\n\nWords", {"Two", "", "Words"}},
      {"Two\nWords\n", {"Two", "Words"}},
      {"A\r\nB\rC\nD", {"A", "B", "C", "D"}},
      {std::string("A\0B", 3), {"A", "B"}},
      {"", {}},
  };
  Open();
  for (const Case &c : cases) {
    RuntimeObject *tabs = Tabs(c.definition);
    EXPECT_EQ(Captions(tabs), c.tabs) << c.definition;
    EXPECT_EQ(ControlLog(), Strings{}) << "building the tabs fires no Change";
    Ctl(tabs)->pane->Close();
  }
}

// Captions reach GTK+ as UTF-8 whatever their tag; bytes that are no UTF-8
// are replaced, not passed on.
TEST_F(Panels, CaptionsAreConvertedByTheirTagAndOutOfRangeIndicesRaise) {
  RaisedClasses raised;
  OutOfBoundsExceptionClass();
  Open();
  RuntimeObject *tabs = Tabs("caf\x8E\nbad \xFF", kEncodingMacRoman);
  EXPECT_EQ(Captions(tabs), (Strings{"café", "bad ˇ"}));
  RuntimeObject *bad = Tabs("ok\nbad \xFF", kEncodingUTF8);
  const Strings captions = Captions(bad);
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_TRUE(g_utf8_validate(captions[1].c_str(), -1, nullptr)) << captions[1];

  string latin;
  latin.ConstructFromBuffer("&Caf\x8E", 5, kEncodingMacRoman);
  tabPanelCaptionSetter(tabs, 1, latin.Storage());
  EXPECT_EQ(Captions(tabs), (Strings{"café", "Café"}));

  EXPECT_EQ(tabPanelCaptionGetter(tabs, 5), nullptr);
  tabPanelCaptionSetter(tabs, -1, latin.Storage());
  EXPECT_EQ(raised.Names(), Strings(2, "OutOfBoundsException"));
}

// A child shows only on its page; assigning another page fires Change
// twice (the notebook's switch and the assignment), the current page once.
TEST_F(Panels, ATabPanelShowsTheChildrenOfItsCurrentPage) {
  RuntimeViewWindow *native = Open();
  RuntimeObject *tabs = Tabs("One\nTwo\nThree");
  RuntimeObject *first = OnPage("First", 1);
  RuntimeObject *second = OnPage("Second", 2);
  EnforceAllRunViewTabPanels(native);
  EXPECT_EQ(Ctl(second)->pane->GetParent(), Ctl(tabs)->pane);
  EXPECT_TRUE(Shown(first));
  EXPECT_FALSE(Shown(second));

  tabPanelValueSetter(tabs, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"Change 1", "Change 1"}));
  EXPECT_FALSE(Shown(first));
  EXPECT_TRUE(Shown(second));
  ControlLog().clear();
  tabPanelValueSetter(tabs, 0, 1);
  EXPECT_EQ(ControlLog(), Strings{"Change 1"});
  EXPECT_EQ(PagePanelValueGetter(tabs, 0), 1);
}

TEST_F(Panels, APagePanelClampsItsValueToTheLastPageAndFiresChangeEachTime) {
  RuntimeViewWindow *native = Open();
  RuntimeObject *pages = AddOf(TestPagePanelClass(), "Pages", 20, 20, 300, 200,
                               [](RuntimeObject *o) { intSetter(o, 100, 3); });
  RuntimeObject *third = OnPage("Third", 3);
  RuntimeObject *outside = AddOf(TestControlClass(), "Outside", 330, 20, 40, 40,
                                 [](RuntimeObject *o) { Ctl(o)->tabPanelIndex = 3; });
  EnforceAllRunViewTabPanels(native);
  EXPECT_EQ(PagePanelValueGetter(pages, 0), 0);
  EXPECT_FALSE(Shown(third));
  EXPECT_TRUE(Shown(outside)) << "outside the panel's bounds: not its child";

  for (int32_t value : {7, -1, 2}) {
    PagePanelValueSetter(pages, 0, value);
    EXPECT_EQ(PagePanelValueGetter(pages, 0), 2) << value;
    EXPECT_TRUE(Shown(third)) << value;
  }
  EXPECT_EQ(ControlLog(), Strings(3, "Change 2"));
  PagePanelValueSetter(pages, 0, 0);
  EXPECT_FALSE(Shown(third));
}

TEST_F(Panels, FacingChoosesTheTabSideOnlyWhenThePaneIsMade) {
  Open();
  RuntimeObject *tabs = Tabs("One", kEncodingUTF8, 3);
  GtkNotebook *book = GTK_NOTEBOOK(Ctl(tabs)->pane->GetWidget());
  EXPECT_EQ(gtk_notebook_get_tab_pos(book), GTK_POS_RIGHT) << "FacingWest puts tabs right";
  intSetter(tabs, offsetof(TabPanelObject, facing), 1);
  EXPECT_EQ(gtk_notebook_get_tab_pos(book), GTK_POS_RIGHT);
  TabPane(tabs)->setFacing(9);
  EXPECT_EQ(gtk_notebook_get_tab_pos(book), GTK_POS_RIGHT) << "an unknown side changes nothing";
  TabPane(tabs)->setFacing(2);
  EXPECT_EQ(gtk_notebook_get_tab_pos(book), GTK_POS_LEFT) << "FacingEast puts tabs left";
}

} // namespace
