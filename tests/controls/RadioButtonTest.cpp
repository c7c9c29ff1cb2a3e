// Radio buttons in a window of the language: the buttons of one parent and
// tab page exclude each other, Value False leaves none selected, Tab reaches
// a group only at its selected button, and a group lives as long as its
// members, also after a button moved to another parent.
#include <gtest/gtest.h>

#include "ControlWindowFixture.h"
#include "TestReceivers.h"
#include "controls/ControlEntryPoints.h"
#include "controls/GroupBoxClass.h"
#include "controls/RadioButtonClass.h"
#include "controls/RadioButtonGTK.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

void OnAction(RuntimeObject *o) {
  ControlLog().push_back(std::string("Action ") + stringStorage::CString(Ctl(o)->name));
}

ObjectDefinition *TestRadioClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestRadio");
    defn.super = RadioButtonClass();
    defn.objectSize = kRadioButtonInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "Action", reinterpret_cast<void *>(OnAction));
  }
  return &defn;
}

class RadioButtons : public ControlWindow {
protected:
  RuntimeObject *Radio(const char *name, int top, int32_t tab = 0) {
    return AddOf(TestRadioClass(), name, 20, top, 120, 24,
                 [tab](RuntimeObject *o) { Ctl(o)->tabPanelIndex = tab; });
  }
  static RadioButtonGTK *PaneOf(RuntimeObject *o) {
    return static_cast<RadioButtonGTK *>(Ctl(o)->pane);
  }
  static int32_t Value(RuntimeObject *o) { return radioValueGetter(o, 0); }
};

TEST_F(RadioButtons, ButtonsOfOneParentExcludeEachOtherAndValueFalseLeavesNoneSelected) {
  Open();
  RuntimeObject *a = Radio("A", 20);
  RuntimeObject *b = Radio("B", 50);
  RuntimeObject *checked = radioGetBoundPart(a, string("GetCheckedAction").Storage());
  ASSERT_NE(checked, nullptr);
  RuntimeObject *receiver = NewReceiver(7);
  rbaAddActionNotificationReceiver(checked, receiver);
  ASSERT_EQ(PaneOf(a)->Group(), PaneOf(b)->Group());
  EXPECT_EQ(Value(a) + Value(b), 0) << "a new group has none selected";

  radioValueSetter(a, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"Action A", "PerformAction R7"}));
  radioValueSetter(b, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"Action A", "PerformAction R7", "Action B"}))
      << "only the newly selected button fires";
  EXPECT_EQ(Value(a), 0);
  EXPECT_EQ(Value(b), 1);

  ControlLog().clear();
  radioValueSetter(a, 0, 0); // not selected: nothing changes
  EXPECT_EQ(Value(b), 1);
  radioValueSetter(b, 0, 0);
  EXPECT_EQ(Value(a) + Value(b), 0);
  EXPECT_EQ(ControlLog(), Strings{});
  EXPECT_FALSE(PaneOf(a)->AcceptFocus()) << "Tab passes a group with none selected";
  EXPECT_FALSE(PaneOf(b)->AcceptFocus());
  radioValueSetter(a, 0, 1);
  EXPECT_TRUE(PaneOf(a)->AcceptFocus());
  EXPECT_FALSE(PaneOf(b)->AcceptFocus());

  rbaRemoveActionNotificationReceiver(checked, receiver);
  RuntimeUnlockObject(receiver);
  RuntimeUnlockObject(checked);
}

TEST_F(RadioButtons, OtherPagesAndParentsAreGroupsOfTheirOwnThatGoWithTheirLastMember) {
  const int32_t groupsBefore = CountRadioGroups();
  Open();
  RuntimeObject *box = AddOf(GroupBoxClass(), "Box", 200, 10, 180, 120);
  RuntimeObject *a = Radio("A", 20);
  RuntimeObject *page1 = Radio("Page1", 50, 1);
  // Moved into the box as its pane is made.
  RuntimeObject *inBox = AddOf(TestRadioClass(), "InBox", 210, 40, 120, 24,
                               [&](RuntimeObject *o) { Ctl(o)->initialParent = Ctl(box); });
  ASSERT_NE(PaneOf(inBox), nullptr);
  EXPECT_EQ(PaneOf(inBox)->GetEmbedder(), Ctl(box)->pane);
  EXPECT_EQ(CountRadioGroups(), groupsBefore + 3);

  for (RuntimeObject *o : {a, page1, inBox})
    radioValueSetter(o, 0, 1);
  EXPECT_EQ(Value(a) + Value(page1) + Value(inBox), 3) << "three groups, one selection each";

  RuntimeObject *b = Radio("B", 80);
  EXPECT_EQ(CountRadioGroups(), groupsBefore + 3) << "B joins A's group";
  for (RuntimeObject *o : {a, b, page1, inBox})
    RuntimeLockObject(o);
  ControlClose(inBox);
  EXPECT_EQ(CountRadioGroups(), groupsBefore + 2) << "the moved button took its group along";
  ControlClose(page1);
  ControlClose(a);
  EXPECT_EQ(CountRadioGroups(), groupsBefore + 1) << "B still keeps A's group";
  ControlClose(b);
  EXPECT_EQ(CountRadioGroups(), groupsBefore);
  for (RuntimeObject *o : {a, b, page1, inBox})
    RuntimeUnlockObject(o);
}

TEST_F(RadioButtons, AUserClickSelectsWithoutAnyHandlerAndValueReadsIt) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *a = Radio("A", 20);
  RuntimeObject *b = Radio("B", 50);
  radioValueSetter(a, 0, 1);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(b)->GetWidget()); }));
  const std::string at = "mousemove --window " + std::to_string(XidOf(w)) + " 30 62 ";
  ControlLog().clear();
  ASSERT_TRUE(XDoToolUntil(at + "click 1", [&] { return Value(b) == 1; }));
  EXPECT_EQ(Value(a), 0);
  EXPECT_EQ(ControlLog(), (Strings{"Action B"}));
}

} // namespace
