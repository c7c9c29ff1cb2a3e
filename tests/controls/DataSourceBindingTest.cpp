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
#include "support/DataControlRecorder.h"

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
  DataControlLog().clear();
  Open();
  Add("Plain", kNotInControlArray, 10, 10, 40, 20);
  AddOf(DataControlClass(), "Data1");
  AddOf(StaticTextClass(), "ToPlain", "Plain");
  RuntimeObject *closed = AddOf(StaticTextClass(), "Closed", "data1");
  AddOf(StaticTextClass(), "Kept", "Data1");
  EXPECT_EQ(DataControlLog(), (Strings{"add 1 Closed", "repopulate", "add 1 Kept", "repopulate"}))
      << "the two labels naming the data control, case ignored; not the one naming Plain";

  DataControlLog().clear();
  RuntimeLockObject(closed);
  ControlClose(closed);
  EXPECT_EQ(DataControlLog(), (Strings{"del 1 Closed"})) << "its pane closed";
  RuntimeUnlockObject(closed);
  EXPECT_EQ(DataControlLog(), (Strings{"del 1 Closed"})) << "the link was cleared: no second del";

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
  DataControlLog().clear();
  RuntimeUnlockObject(released);
  EXPECT_EQ(DataControlLog(), (Strings{"del 1 Released"}));
}

TEST_F(DataSourceBinding, AnEditFieldBindsOnlyToADataControlAndLeavesItForAnEmptyName) {
  DataControlLog().clear();
  Open();
  Add("Plain", kNotInControlArray, 10, 10, 40, 20);
  AddOf(DataControlClass(), "Data1");
  AddOf(EditClass(), "ToPlain", "Plain", EditDataSourceSetter);
  RuntimeObject *field = AddOf(EditClass(), "ToData", "DATA1", EditDataSourceSetter);
  EXPECT_EQ(DataControlLog(), (Strings{"add 0 ToData", "repopulate"}));
  DataControlLog().clear();
  EditDataSourceSetter(field, 0, string("").Storage());
  EXPECT_EQ(DataControlLog(), (Strings{"del 0 ToData"}));
}

} // namespace
