// Progress bars in a window of the language: the fraction shown for values
// out of range, the pulsing block while the maximum is 0 or less, a maximum
// arriving later, the class table, moving the bar, mouse coordinates, and
// the width the offscreen drawing fills.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ProgressBarClass.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ClassTableChecks.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
  return 1;
}
void OnMouseUp(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseUp " + std::to_string(x) + "," + std::to_string(y));
}

ObjectDefinition *TestProgressBarClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestProgressBar");
    defn.super = ProgressBarClass();
    defn.objectSize = kProgressBarInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
    HandleInClass(defn, "MouseUp", reinterpret_cast<void *>(OnMouseUp));
  }
  return &defn;
}

ProgressBar *PaneOf(RuntimeObject *o) { return static_cast<ProgressBar *>(Ctl(o)->pane); }
GtkProgressBar *Bar(RuntimeObject *o) { return GTK_PROGRESS_BAR(PaneOf(o)->GetWidget()); }
double Fraction(RuntimeObject *o) { return gtk_progress_bar_get_fraction(Bar(o)); }

std::function<void(RuntimeObject *)> Starting(int32_t value, int32_t maximum) {
  return [=](RuntimeObject *o) {
    progressValueSetter(o, 0, value);
    progressMaximumSetter(o, 0, maximum);
  };
}

using ProgressBars = ControlWindow;

TEST(ProgressBarClass, TableEventsAndSize) {
  CreateControlClasses();
  ObjectDefinition *defn = ProgressBarClass();
  EXPECT_STREQ(defn->className.CString(), "ProgressBar");
  EXPECT_EQ(defn->super, RectControlClass());
  EXPECT_EQ(defn->objectSize, 108);
  Strings events;
  for (ObjectHook *h = defn->hooks; h; h = h->next)
    events.push_back(h->name.CString());
  EXPECT_EQ(events, (Strings{"MouseDown", "MouseDrag", "MouseUp"}));
  std::vector<const InstanceVariable *> items;
  for (const InstanceVariable *p = defn->properties; p; p = p->next)
    items.push_back(p);
  ExpectPropertyFlagsAndExports(
      items, {{"Value%i", 0, Code(progressValueGetter), Code(progressValueSetter), 0},
              {"Maximum%i", 0, Code(progressMaximumGetter), Code(progressMaximumSetter), 0}});
}

TEST_F(ProgressBars, ValuesBeyondTheRangeShowFullOrEmptyAndReadBackAsGiven) {
  Open();
  RuntimeObject *bar = AddOf(TestProgressBarClass(), "Bar", 20, 20, 200, 20, Starting(150, 100));
  EXPECT_DOUBLE_EQ(Fraction(bar), 1.0);
  EXPECT_EQ(progressValueGetter(bar, 0), 150);
  progressValueSetter(bar, 0, -5);
  EXPECT_DOUBLE_EQ(Fraction(bar), 0.0);
  EXPECT_EQ(progressValueGetter(bar, 0), -5);
  progressValueSetter(bar, 0, 25);
  EXPECT_DOUBLE_EQ(Fraction(bar), 0.25);
  EXPECT_EQ(progressMaximumGetter(bar, 0), 100);
}

// Each assignment of a maximum of 0 or less moves the block a step; a value
// meanwhile moves nothing; a maximum above 0 shows the stored value at once.
TEST_F(ProgressBars, AMaximumOfZeroPulsesAndALaterMaximumShowsTheStoredValue) {
  Open();
  RuntimeObject *bar = AddOf(TestProgressBarClass(), "Bar", 20, 20, 200, 20, Starting(5, 0));
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(bar)->GetWidget()); }));
  EXPECT_TRUE(GTK_PROGRESS(Bar(bar))->activity_mode);
  const gint first = Bar(bar)->activity_pos;
  progressMaximumSetter(bar, 0, 0);
  const gint second = Bar(bar)->activity_pos;
  EXPECT_NE(second, first);
  progressValueSetter(bar, 0, 7);
  EXPECT_EQ(Bar(bar)->activity_pos, second);
  progressMaximumSetter(bar, 0, -3);
  EXPECT_NE(Bar(bar)->activity_pos, second);

  progressValueSetter(bar, 0, 5);
  progressMaximumSetter(bar, 0, 10);
  EXPECT_FALSE(GTK_PROGRESS(Bar(bar))->activity_mode);
  EXPECT_DOUBLE_EQ(Fraction(bar), 0.5);
}

TEST_F(ProgressBars, MovingTheControlMovesItsWidget) {
  Open();
  RuntimeObject *bar = AddOf(TestProgressBarClass(), "Bar", 20, 20, 200, 20, Starting(1, 2));
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(bar)->GetWidget()); }));
  const int x = PaneOf(bar)->GetWidget()->allocation.x;
  ctlPosSetter(bar, 0, 60);
  ctlPosSetter(bar, 2, 120);
  GtkWidget *widget = PaneOf(bar)->GetWidget();
  ASSERT_TRUE(StepUntil([&] { return widget->allocation.x == x + 40; }))
      << widget->allocation.x << " from " << x;
  ASSERT_TRUE(StepUntil([&] { return widget->allocation.width == 120; }));
}

TEST_F(ProgressBars, MouseEventsAreRelativeToTheBarsTopLeftCorner) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *bar = AddOf(TestProgressBarClass(), "Bar", 20, 20, 200, 20, Starting(1, 2));
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(bar)->GetWidget()); }));
  const std::string at = "mousemove --window " + std::to_string(XidOf(w)) + " 23 24 ";
  ControlLog().clear();
  // A click may be lost on a loaded display: click until it is heard.
  ASSERT_TRUE(StepUntil([&] {
    if (ControlLog().empty())
      XDoTool(at + "click 1");
    return ControlLog().size() >= 2;
  }));
  EXPECT_EQ(ControlLog(), (Strings{"MouseDown 3,4", "MouseUp 3,4"}));
}

TEST(ProgressFill, IsValueOutOfMaximumClampedToTheWidthAndNothingWithoutAMaximum) {
  struct Case {
    int32_t value, maximum, width, fill;
  } cases[] = {
      {50, 100, 96, 48},
      {150, 100, 96, 96},
      {-5, 100, 96, 0},
      {5, 0, 96, 0},
      {5, -3, 96, 0},
      {INT32_MAX, 1, 1000, 1000},
      {INT32_MAX, INT32_MAX, 1000, 1000},
      {INT32_MIN, 7, 1000, 0},
      {3, 4, -2, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ProgressFillWidth(c.value, c.maximum, c.width), c.fill)
        << c.value << "/" << c.maximum << " of " << c.width;
}

} // namespace
