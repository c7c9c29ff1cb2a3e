// Check boxes in a window of the language: what one change of Value tells
// and in which order, the value set before the pane, the mouse, the action
// parts, binding to a data control, and the offscreen drawing.
#include <gtest/gtest.h>

#include "ControlWindowFixture.h"
#include "TestReceivers.h"
#include "controls/CheckBoxClass.h"
#include "controls/CheckBoxGTK.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "database/classes/DataControlClass.h"
#include "support/BoundControlList.h"
#include "support/OffscreenPixels.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

std::string NameOf(RuntimeObject *o) { return stringStorage::CString(Ctl(o)->name); }

bool sMouseDownAnswer = false;
bool sCloseInAction = false;

void OnAction(RuntimeObject *o) {
  ControlLog().push_back("Action " + NameOf(o));
  if (sCloseInAction)
    reinterpret_cast<RuntimeView *>(Ctl(o)->view)->nativeWindow->Close();
}
int32_t OnMouseDown(RuntimeObject *o, int32_t x, int32_t y) {
  ControlLog().push_back("MouseDown " + NameOf(o));
  return sMouseDownAnswer;
}
int32_t OnMouseUp(RuntimeObject *o, int32_t, int32_t) {
  ControlLog().push_back("MouseUp " + NameOf(o));
  return 0;
}

ObjectDefinition *TestCheckBoxClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestCheckBox");
    defn.super = CheckBoxClass();
    defn.objectSize = kCheckBoxInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "Action", reinterpret_cast<void *>(OnAction));
    HandleInClass(defn, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
    HandleInClass(defn, "MouseUp", reinterpret_cast<void *>(OnMouseUp));
  }
  return &defn;
}

class CheckBoxes : public ControlWindow {
protected:
  void SetUp() override {
    ControlWindow::SetUp();
    sMouseDownAnswer = false;
    sCloseInAction = false;
    OnTold() = nullptr;
  }
  void TearDown() override {
    OnTold() = nullptr;
    for (RuntimeObject *o : mHeld)
      RuntimeUnlockObject(o);
    ControlWindow::TearDown();
  }
  RuntimeObject *Held(RuntimeObject *o) {
    mHeld.push_back(o);
    return o;
  }
  CheckBoxGTK *PaneOf(RuntimeObject *box) { return static_cast<CheckBoxGTK *>(Ctl(box)->pane); }
  // Adds receivers 1 (data), 2 (checked, through a part named in capitals)
  // and 3 (unchecked).
  void Listen(RuntimeObject *box) {
    checkBoxAddDataNotificationReceiver(box, Held(NewReceiver(1)));
    RuntimeObject *checked = Held(checkBoxGetBoundPart(box, string("GETCHECKEDACTION").Storage()));
    RuntimeObject *unchecked =
        Held(checkBoxGetBoundPart(box, string("getUncheckedAction").Storage()));
    ASSERT_NE(checked, nullptr);
    ASSERT_NE(unchecked, nullptr);
    cbaAddActionNotificationReceiver(checked, Held(NewReceiver(2)));
    cbaAddActionNotificationReceiver(unchecked, Held(NewReceiver(3)));
  }
  std::vector<RuntimeObject *> mHeld;
};

TEST_F(CheckBoxes, AChangeFromCodeTellsDataReceiversActionAndTheMatchingReceiversOnceInOrder) {
  Open();
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 120, 24);
  Listen(box);
  EXPECT_EQ(checkBoxGetBoundPart(box, string("getAction").Storage()), nullptr);

  ControlLog().clear();
  checkBoxValueSetter(box, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1", "Action Box", "PerformAction R2"}));
  EXPECT_TRUE(PaneOf(box)->getValue());
  checkBoxValueSetter(box, 0, 1);
  EXPECT_EQ(ControlLog().size(), 3u) << "the same value again tells nobody";

  ControlLog().clear();
  checkBoxSetBoolean(box, 0);
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1", "Action Box", "PerformAction R3"}));
  EXPECT_EQ(checkBoxGetBoolean(box), 0);
}

TEST_F(CheckBoxes, AValueSetBeforeThePaneMakesItCheckedWithoutAReport) {
  Open();
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 120, 24, [&](RuntimeObject *o) {
    checkBoxValueSetter(o, 0, 1);
    Listen(o);
    ControlLog().clear();
  });
  ASSERT_NE(PaneOf(box), nullptr);
  EXPECT_TRUE(PaneOf(box)->getValue());
  EXPECT_EQ(ControlLog(), Strings{});
}

TEST_F(CheckBoxes, AChangeInsideAReportIsStoredButNotReported) {
  Open();
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 120, 24);
  Listen(box);
  OnTold() = [box](RuntimeObject *) { checkBoxValueSetter(box, 0, 0); };
  ControlLog().clear();
  checkBoxValueSetter(box, 0, 1);
  OnTold() = nullptr;
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1", "Action Box", "PerformAction R3"}))
      << "the receivers of the value the box has by then";
  EXPECT_EQ(checkBoxValueGetter(box, 0), 0);
}

TEST_F(CheckBoxes, AnActionClosingTheWindowEndsTheReportAndTheBoxStaysSafe) {
  Open();
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 120, 24);
  RuntimeLockObject(box);
  Listen(box);
  sCloseInAction = true;
  ControlLog().clear();
  checkBoxValueSetter(box, 0, 1);
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1", "Action Box"}));
  EXPECT_EQ(Ctl(box)->pane, nullptr) << "the object forgot its closed pane";
  checkBoxValueSetter(box, 0, 0); // stores only
  EXPECT_EQ(checkBoxValueGetter(box, 0), 0);
  RuntimeUnlockObject(box);
}

TEST_F(CheckBoxes, AMouseDownAnsweringTrueKeepsTheStateAndGetsMouseUpOtherwiseTheClickToggles) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 120, 24);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(box)->GetWidget()); }));
  const std::string at = "mousemove --window " + std::to_string(XidOf(w)) + " 30 32 ";
  sMouseDownAnswer = true;
  ControlLog().clear();
  ASSERT_TRUE(XDoToolUntil(at + "click 1", [&] { return !ControlLog().empty(); }));
  ASSERT_TRUE(StepUntil([&] { return ControlLog().size() >= 2; }));
  EXPECT_EQ(ControlLog(), (Strings{"MouseDown Box", "MouseUp Box"}));
  EXPECT_FALSE(PaneOf(box)->getValue());

  sMouseDownAnswer = false;
  ControlLog().clear();
  ASSERT_TRUE(XDoToolUntil(at + "click 1", [&] { return checkBoxValueGetter(box, 0) == 1; }));
  EXPECT_EQ(ControlLog().back(), "Action Box");
  EXPECT_TRUE(PaneOf(box)->getValue());
}

TEST_F(CheckBoxes, ItBindsOnlyToADataControlAndLetsGoWhenRenamedClosedOrReleased) {
  Open();
  RuntimeObject *data = AddOf(DataControlClass(), "Data1", 200, 200, 40, 20);
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 120, 24);
  CheckBoxDataSourceSetter(box, 0, string("data1").Storage());
  CheckBoxDataFieldSetter(box, 0, string("Flag").Storage());
  EXPECT_EQ(BoundControls(data), (Strings{"4 Box"})) << "a new binding first drops the old one";
  CheckBoxDataSourceSetter(box, 0, string("Box").Storage());
  EXPECT_EQ(BoundControls(data), Strings{}) << "a check box is no data control";

  CheckBoxDataSourceSetter(box, 0, string("Data1").Storage());
  EXPECT_EQ(BoundControls(data), (Strings{"4 Box"}));
  RuntimeLockObject(box);
  ControlClose(box);
  EXPECT_EQ(BoundControls(data), Strings{}) << "its pane closed";
  RuntimeUnlockObject(box);
  EXPECT_EQ(BoundControls(data), Strings{});
}

TEST_F(CheckBoxes, DrawnOffscreenTheCaptionStarts20PixelsRightOfTheBoxEdge) {
  Open();
  RuntimeObject *box = AddOf(TestCheckBoxClass(), "Box", 20, 20, 160, 44);
  checkBoxTitleSetter(box, 0, string("&Mark").Storage());
  DrawablePane *pixmap = NewOffscreen(300, 200);
  Graphics *g = pixmap->getGraphics();
  PaneOf(box)->DrawIntoOffscreen(g);
  Graphics::Release(g);
  QV::Rect text = DarkBounds(pixmap, 39, 20, 140, 44, 64); // right of the indicator
  ASSERT_GT(text.right, text.left) << "a caption was drawn";
  EXPECT_NEAR(text.left, 40, 2);
  EXPECT_NEAR((text.top + text.bottom) / 2.0, 42, 4) << "centred down";
  pixmap->removeReference();
}

} // namespace
