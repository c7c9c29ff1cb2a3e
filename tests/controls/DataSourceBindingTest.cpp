// Labels and edit fields name their data control in DataSource: they bind
// only to a control of the DataControl class, and a label lets go exactly
// once, when its pane closes or when its object goes first.
#include <gtest/gtest.h>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/StaticTextClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "text/EditFieldClass.h"
#include "database/classes/DataControlClass.h"
#include "support/BoundControlList.h"

namespace {

using Strings = std::vector<std::string>;

class DataSourceBinding : public ControlWindow {
protected:
  // A control of the class added to the open window as WindowAddControl adds
  // it: in the window's pane, in its map (which holds the reference), with
  // its pane made at once.
  using DataSourceSetter = void (*)(RuntimeObject *, int32_t, stringStorage *);
  RuntimeObject *AddOf(ObjectDefinition *cls, const char *name, const char *dataSource = nullptr,
                       DataSourceSetter setDataSource = StaticTextDataSourceSetter) {
    RuntimeObject *o = CreateInstance(cls);
    ctlPosSetter(o, 1, mNextTop); // apart, so that none holds another
    mNextTop += 30;
    Ctl(o)->view = window;
    stringSetter(o, 36, string(name).Storage());
    Ctl(o)->index = kNotInControlArray;
    ctlPosSetter(o, 2, 40);
    ctlPosSetter(o, 3, 20);
    ControlVisibleSetter(o, 0, 1);
    if (dataSource)
      setDataSource(o, 0, string(dataSource).Storage());
    Ctl(o)->container = view->nativeWindow;
    view->controlMap->AddEntry(string(name), o);
    CreateNewControlPane(o);
    return o;
  }
  int32_t mNextTop = 40;
};

TEST_F(DataSourceBinding, OnlyADataControlBindsAndEachLabelLetsGoOnce) {
  Open();
  Add("Plain", kNotInControlArray, 10, 10, 40, 20);
  RuntimeObject *data = AddOf(DataControlClass(), "Data1");
  AddOf(StaticTextClass(), "ToPlain", "Plain");
  RuntimeObject *closed = AddOf(StaticTextClass(), "Closed", "data1");
  AddOf(StaticTextClass(), "Kept", "Data1");
  EXPECT_EQ(BoundControls(data), (Strings{"1 Kept", "1 Closed"}))
      << "the two labels naming the data control, case ignored; not the one naming Plain";

  RuntimeLockObject(closed);
  ControlClose(closed);
  EXPECT_EQ(BoundControls(data), (Strings{"1 Kept"})) << "its pane closed";
  RuntimeUnlockObject(closed);
  EXPECT_EQ(BoundControls(data), (Strings{"1 Kept"}));

  // An object that goes while its pane still stands unbinds itself. (A
  // window holds its controls while it is open, so the pane here is made
  // for a label outside the window's map, which nothing else holds.)
  RuntimeObject *released = CreateInstance(StaticTextClass());
  Ctl(released)->view = window;
  stringSetter(released, 36, string("Released").Storage());
  Ctl(released)->container = view->nativeWindow;
  StaticTextDataSourceSetter(released, 0, string("Data1").Storage());
  StaticTextCreatePane(released);
  ASSERT_NE(Ctl(released)->pane, nullptr);
  EXPECT_EQ(BoundControls(data), (Strings{"1 Released", "1 Kept"}));
  RuntimeUnlockObject(released);
  EXPECT_EQ(BoundControls(data), (Strings{"1 Kept"}));
}

TEST_F(DataSourceBinding, AnEditFieldBindsOnlyToADataControlAndLeavesItForAnEmptyName) {
  Open();
  Add("Plain", kNotInControlArray, 10, 10, 40, 20);
  RuntimeObject *data = AddOf(DataControlClass(), "Data1");
  AddOf(EditClass(), "ToPlain", "Plain", EditDataSourceSetter);
  RuntimeObject *field = AddOf(EditClass(), "ToData", "DATA1", EditDataSourceSetter);
  EXPECT_EQ(BoundControls(data), (Strings{"0 ToData"}));
  EditDataSourceSetter(field, 0, string("").Storage());
  EXPECT_EQ(BoundControls(data), Strings{});
}

// The data control's list holds its controls without references: it is
// emptied when the data control's pane closes, and a control that outlives
// its data control leaves nothing behind to touch.
TEST_F(DataSourceBinding, ADataControlClosedOrReleasedBeforeItsBoundControls) {
  Open();
  RuntimeObject *data = AddOf(DataControlClass(), "Data1");
  RuntimeObject *label = AddOf(StaticTextClass(), "Label", "Data1");
  ASSERT_EQ(BoundControls(data), (Strings{"1 Label"}));
  ControlClose(data);
  EXPECT_EQ(BoundControls(data), Strings{}) << "emptied as its pane closed";
  view->controlMap->DeleteEntry(string("Data1"));
  RuntimeUnlockObject(data); // the map's reference: the data control goes before the label
  RuntimeLockObject(label);
  ControlClose(label); // leaves a data control that is gone: nothing happens
  RuntimeUnlockObject(label);
}

} // namespace
