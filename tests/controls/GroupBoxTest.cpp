// Group boxes in a window of the language: the caption before and after the
// pane, "&&", the font, mouse events relative to the box, and the caption
// accessors given nil.
#include <gtest/gtest.h>


#include "ControlWindowFixture.h"
#include "controls/GroupBoxClass.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "windows/GTKHelper.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

bool sMouseDownAnswer = true;

void Note(const char *event, int32_t x, int32_t y) {
  ControlLog().push_back(std::string(event) + " " + std::to_string(x) + "," + std::to_string(y));
}
int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  Note("MouseDown", x, y);
  return sMouseDownAnswer;
}
void OnMouseDrag(RuntimeObject *, int32_t x, int32_t y) { Note("MouseDrag", x, y); }
void OnMouseUp(RuntimeObject *, int32_t x, int32_t y) { Note("MouseUp", x, y); }

ObjectDefinition *TestGroupBoxClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestGroupBox");
    defn.super = GroupBoxClass();
    defn.objectSize = kGroupBoxInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
    HandleInClass(defn, "MouseDrag", reinterpret_cast<void *>(OnMouseDrag));
    HandleInClass(defn, "MouseUp", reinterpret_cast<void *>(OnMouseUp));
  }
  return &defn;
}

using GroupBoxes = ControlWindow;

GroupBox *PaneOf(RuntimeObject *o) { return static_cast<GroupBox *>(Ctl(o)->pane); }

TEST_F(GroupBoxes, TheCaptionSetBeforeThePaneShowsAndLaterOnesRelabelAtOnce) {
  Open();
  RuntimeObject *box = AddOf(TestGroupBoxClass(), "Box", 20, 20, 200, 120, [](RuntimeObject *o) {
    groupCaptionSetter(o, 0, string("&Options").Storage());
    groupBoldSetter(o, 0, 1);
  });
  ASSERT_NE(PaneOf(box), nullptr);
  EXPECT_STREQ(PaneOf(box)->getCaption().CString(), "Options");
  EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(PaneOf(box)->Label())), "_Options");

  groupCaptionSetter(box, 0, string("Salt && Pepper").Storage());
  EXPECT_STREQ(PaneOf(box)->getCaption().CString(), "Salt & Pepper");
  stringStorage *caption = groupCaptionGetter(box, 0);
  EXPECT_STREQ(stringStorage::CString(caption), "Salt && Pepper");
  RuntimeUnlockString(caption);

  groupTextSizeSetter(box, 0, 20);
  FontStructure expected;
  expected.size = 20;
  expected.bold = 1;
  PangoFontDescription *want = GTKHelper::GetPangoFontDescription(&expected);
  PangoFontDescription *font = gtk_widget_get_modifier_style(PaneOf(box)->Label())->font_desc;
  ASSERT_NE(font, nullptr);
  EXPECT_TRUE(pango_font_description_equal(font, want)) << "the whole font, bold kept";
  pango_font_description_free(want);
}

TEST_F(GroupBoxes, CaptionAccessorsGivenNilShowTheAlertThenAnswerNilAndDoNothing) {
  AlertRecorder alerts;
  EXPECT_EQ(groupCaptionGetter(nullptr, 0), nullptr);
  groupCaptionSetter(nullptr, 0, string("x").Storage());
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kGroupCaptionGetterAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[1], kGroupCaptionSetterAlert));
}

TEST_F(GroupBoxes, MouseEventsAreRelativeToTheBoxAndFollowOnlyATrueMouseDown) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *box = AddOf(TestGroupBoxClass(), "Box", 20, 20, 200, 120);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(box)->GetWidget()); }));
  const std::string win = std::to_string(XidOf(w));
  auto at = [&](int x, int y) {
    return "mousemove --window " + win + " " + std::to_string(x) + " " + std::to_string(y) + " ";
  };
  ControlLog().clear();
  ASSERT_TRUE(XDoToolUntil(at(20, 20) + "mousedown 1", [&] {
    return GetCaptureMouse() == PaneOf(box);
  })) << testing::PrintToString(ControlLog());
  ASSERT_TRUE(XDoToolUntil(at(60, 50) + at(300, 250) + "mouseup 1", [&] {
    return !ControlLog().empty() && ControlLog().back() == "MouseUp 280,230";
  })) << testing::PrintToString(ControlLog());
  EXPECT_EQ(ControlLog().front(), "MouseDown 0,0");

  // The window reads the pointer as it takes a press: each step waits.
  sMouseDownAnswer = false;
  ControlLog().clear();
  ASSERT_TRUE(XDoToolUntil(at(30, 30) + "mousedown 1", [&] { return !ControlLog().empty(); }));
  ASSERT_TRUE(XDoTool(at(60, 50) + "mouseup 1"));
  for (int i = 0; i < 20; ++i)
    PaneLoopStep();
  sMouseDownAnswer = true;
  EXPECT_EQ(ControlLog(), (Strings{"MouseDown 10,10"}));
  EXPECT_EQ(GetCaptureMouse(), nullptr);
}

} // namespace
