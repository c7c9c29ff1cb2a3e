// Scroll bars and sliders in a window of the language: the class tables,
// bounds held back while the range is empty or inverted, set-up and nested
// changes that report nothing, the orientation rule, the mouse, and the
// update policy LiveScroll chooses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ScrollerClass.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ClassTableChecks.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

enum { kMin, kValue, kMax, kLine, kPage };

bool sMouseDownAnswer = false;
int32_t sValueInHandler = -1; // ValueChanged sets Value to this when not -1

void OnValueChanged(RuntimeObject *o) {
  ControlLog().push_back("ValueChanged " + std::to_string(scrollerPropGetter(o, kValue)));
  if (sValueInHandler >= 0)
    scrollerPropSetter(o, kValue, sValueInHandler);
}
int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
  return sMouseDownAnswer;
}
void OnMouseUp(RuntimeObject *, int32_t, int32_t) { ControlLog().push_back("MouseUp"); }

ObjectDefinition *TestClass(bool slider) {
  static ObjectDefinition bar, slide;
  ObjectDefinition &defn = slider ? slide : bar;
  if (defn.className.IsEmpty()) {
    defn.className = string(slider ? "TestSlider" : "TestScrollBar");
    defn.super = slider ? SliderClass() : ScrollBarClass();
    defn.objectSize = kScrollerInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "ValueChanged", reinterpret_cast<void *>(OnValueChanged));
    HandleInClass(defn, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
    HandleInClass(defn, "MouseUp", reinterpret_cast<void *>(OnMouseUp));
  }
  return &defn;
}

// The numbers a designer gives a new control: 0..100, line 1, page 20.
void Designed(RuntimeObject *o) {
  for (auto [which, v] : {std::pair{kMax, 100}, {kLine, 1}, {kPage, 20}})
    scrollerPropSetter(o, which, v);
}

// The ValueChanged lines of the log.
Strings Changes() {
  Strings changes;
  for (const std::string &line : ControlLog())
    if (line.rfind("ValueChanged", 0) == 0)
      changes.push_back(line);
  return changes;
}

Scroller *PaneOf(RuntimeObject *o) { return static_cast<Scroller *>(Ctl(o)->pane); }

GtkAdjustment *Range(RuntimeObject *o) {
  return gtk_range_get_adjustment(GTK_RANGE(PaneOf(o)->GetWidget()));
}

class Scrollers : public ControlWindow {
protected:
  void SetUp() override {
    ControlWindow::SetUp();
    sMouseDownAnswer = false;
    sValueInHandler = -1;
  }
  std::string At(RuntimeViewWindow *w, int x, int y) const {
    return "mousemove --window " + std::to_string(XidOf(w)) + " " + std::to_string(x) + " " +
           std::to_string(y) + " ";
  }
};

TEST(ScrollerClasses, ScrollBarAndSliderShareLayoutEventsAndPropertiesButNotLiveScrollSetters) {
  CreateControlClasses();
  const RuntimeClass *rect = LookupObjectDefinition(RectControlClass());
  ASSERT_NE(rect, nullptr);
  for (bool slider : {false, true}) {
    ObjectDefinition *defn = slider ? SliderClass() : ScrollBarClass();
    SCOPED_TRACE(defn->className.CString());
    EXPECT_STREQ(defn->className.CString(), slider ? "Slider" : "ScrollBar");
    EXPECT_EQ(defn->super, RectControlClass());
    EXPECT_EQ(defn->objectSize, 128);
    Strings events;
    for (ObjectHook *h = defn->hooks; h; h = h->next)
      events.push_back(h->name.CString());
    EXPECT_EQ(events, (Strings{"ValueChanged", "GotFocus", "LostFocus", "MouseDown", "MouseDrag",
                               "MouseUp"}));
    void *live = slider ? Code(SliderLiveScrollSetter) : Code(ScrollerLiveScrollSetter);
    const std::vector<PropertyRow> own = {
        {"Minimum%i", 0, Code(scrollerPropGetter), Code(scrollerPropSetter), 0},
        {"Value%i", 1, Code(scrollerPropGetter), Code(scrollerPropSetter), 0},
        {"Maximum%i", 2, Code(scrollerPropGetter), Code(scrollerPropSetter), 0},
        {"LineStep%i", 3, Code(scrollerPropGetter), Code(scrollerPropSetter), 0},
        {"PageStep%i", 4, Code(scrollerPropGetter), Code(scrollerPropSetter), 0},
        {"LiveScroll%b", 124, Code(boolGetter), live, 0x80},
    };
    std::vector<const InstanceVariable *> items;
    for (const InstanceVariable *p = defn->properties; p; p = p->next)
      items.push_back(p);
    ExpectPropertyFlagsAndExports(items, own);
    std::vector<PropertyRow> all;
    for (int32_t i = 0; i < rect->propertyCount; ++i) {
      const PropertyEntry &e = rect->properties[i];
      all.push_back({stringStorage::CString(e.name), e.param, e.getter, e.setter, 0});
    }
    all.insert(all.end(), own.begin(), own.end());
    std::vector<std::string> names; // keep the names alive for the rows
    for (PropertyRow &row : all)
      names.push_back(row.linkName);
    for (size_t i = 0; i < all.size(); ++i)
      all[i].linkName = names[i].c_str();
    ExpectRunTimeProperties(LookupObjectDefinition(defn), all);
  }
}

// Each step: a property set on the open ScrollBar, then what GTK+'s range,
// the getters and the pane show.
TEST_F(Scrollers, BoundsThatLeaveNoRangeAreHeldBackAndDisableUntilARangeIsValidAgain) {
  Open();
  RuntimeObject *bar = AddOf(TestClass(false), "Bar", 20, 20, 200, 16, Designed);
  struct Step {
    int which, value;
    int lower, upper;     // GTK+'s range after the step
    int minimum, maximum; // what the getters read
    bool enabled;
  } steps[] = {
      {kMin, 10, 10, 100, 10, 100, true},
      {kMax, 5, 10, 100, 10, 5, false},
      {kMax, 20, 10, 20, 10, 20, true},
      {kMin, 20, 10, 20, 20, 20, false}, // Minimum = Maximum is inverted
      {kMin, -4, -4, 20, -4, 20, true},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(std::to_string(s.which) + " := " + std::to_string(s.value));
    scrollerPropSetter(bar, s.which, s.value);
    EXPECT_EQ(Range(bar)->lower, s.lower);
    EXPECT_EQ(Range(bar)->upper, s.upper);
    EXPECT_EQ(scrollerPropGetter(bar, kMin), s.minimum);
    EXPECT_EQ(scrollerPropGetter(bar, kMax), s.maximum);
    EXPECT_EQ(PaneOf(bar)->IsEnabled(), s.enabled);
    EXPECT_EQ(GTK_WIDGET_SENSITIVE(PaneOf(bar)->GetWidget()) != 0, s.enabled);
  }
  EXPECT_EQ(scrollerPropGetter(bar, 9), 0) << "no such number";
}

TEST_F(Scrollers, AtCreationTheMinimumWaitsForTheMaximumAndTheStoredValueComesAfterTheRange) {
  Open();
  ControlLog().clear();
  RuntimeObject *bar = AddOf(TestClass(false), "Bar", 20, 20, 200, 16, [](RuntimeObject *o) {
    Designed(o);
    for (auto [which, v] : {std::pair{kMin, 200}, {kMax, 300}, {kValue, 250}, {kPage, 7}})
      scrollerPropSetter(o, which, v);
    EXPECT_EQ(scrollerPropGetter(o, kValue), 250) << "stored before the pane";
  });
  EXPECT_EQ(Range(bar)->lower, 200);
  EXPECT_EQ(Range(bar)->upper, 300);
  EXPECT_EQ(scrollerPropGetter(bar, kValue), 250);
  EXPECT_EQ(scrollerPropGetter(bar, kPage), 7);
  EXPECT_EQ(scrollerPropGetter(bar, kLine), 1);
  EXPECT_TRUE(PaneOf(bar)->IsEnabled());
  EXPECT_EQ(ControlLog(), Strings{}) << "set-up reports nothing";
}

// A control its program disabled is not enabled by a valid range; a
// scroller without a control (a list box's) is.
TEST_F(Scrollers, AValidRangeLeavesAScrollBarItsProgramDisabledDisabled) {
  Open();
  RuntimeObject *bar = AddOf(TestClass(false), "Bar", 20, 20, 200, 16, Designed);
  controlEnabledSetter(bar, 0, 0);
  scrollerPropSetter(bar, kMax, 50);
  EXPECT_FALSE(PaneOf(bar)->IsEnabled());
  scrollerPropSetter(bar, kMax, 0);
  scrollerPropSetter(bar, kMax, 60);
  EXPECT_FALSE(PaneOf(bar)->IsEnabled());
  controlEnabledSetter(bar, 0, 1);
  EXPECT_TRUE(PaneOf(bar)->IsEnabled());

  QV::Rect bounds;
  QV::SetRect(&bounds, 20, 60, 220, 76);
  // The window's pane tree owns the scroller and closes it with the window.
  Scroller *plain = newScroller(nullptr, Ctl(bar)->container, 0, bounds, true);
  plain->SetMaximum(0);
  EXPECT_FALSE(plain->IsEnabled());
  plain->SetMaximum(10);
  EXPECT_TRUE(plain->IsEnabled());
}

TEST_F(Scrollers, AValueSetInsideValueChangedIsNeitherReportedThereNorLater) {
  Open();
  for (bool slider : {false, true}) {
    RuntimeObject *c =
        AddOf(TestClass(slider), slider ? "Slide" : "Bar", 20, 20, 200, 16, Designed);
    ControlLog().clear();
    sValueInHandler = 70;
    scrollerPropSetter(c, kValue, 30);
    sValueInHandler = -1;
    EXPECT_EQ(ControlLog(), Strings{"ValueChanged 30"});
    EXPECT_EQ(scrollerPropGetter(c, kValue), 70);
    scrollerPropSetter(c, kValue, 70);
    for (int i = 0; i < 5; ++i)
      PaneLoopStep();
    EXPECT_EQ(ControlLog(), Strings{"ValueChanged 30"});
    scrollerPropSetter(c, kValue, 71);
    EXPECT_EQ(ControlLog().back(), "ValueChanged 71");
  }
}

TEST_F(Scrollers, OnlyAChangeOfTheIntegerIsReported) {
  Open();
  RuntimeObject *slide = AddOf(TestClass(true), "Slide", 20, 20, 200, 24, [](RuntimeObject *o) {
    Designed(o);
    scrollerPropSetter(o, kMax, 10);
  });
  ControlLog().clear();
  for (double v : {0.2, 0.9, 1.0, 1.7, 2.5})
    gtk_range_set_value(GTK_RANGE(PaneOf(slide)->GetWidget()), v);
  EXPECT_EQ(ControlLog(), (Strings{"ValueChanged 1", "ValueChanged 2"}));
}

TEST_F(Scrollers, ABarNarrowerThanTallIsVerticalAndASquareOneHorizontal) {
  Open();
  struct Case {
    bool slider;
    int width;
    GType type;
  } cases[] = {{false, 20, GTK_TYPE_HSCROLLBAR},
               {false, 19, GTK_TYPE_VSCROLLBAR},
               {true, 20, GTK_TYPE_HSCALE},
               {true, 19, GTK_TYPE_VSCALE}};
  int n = 0;
  for (const Case &c : cases) {
    const std::string name = "C" + std::to_string(++n);
    RuntimeObject *o = AddOf(TestClass(c.slider), name.c_str(), 20, 20, c.width, 20, Designed);
    EXPECT_TRUE(G_TYPE_CHECK_INSTANCE_TYPE(PaneOf(o)->GetWidget(), c.type))
        << c.slider << " " << c.width;
    EXPECT_EQ(PaneOf(o)->IsVertical(), c.width == 19);
  }
}

// A press in the trough moves the thumb by a page, unless MouseDown takes
// it: then the value stays, the pane holds the mouse and MouseUp follows.
TEST_F(Scrollers, AMouseDownAnsweringTrueKeepsTheThumbAndGetsMouseUp) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *bar = AddOf(TestClass(false), "Bar", 20, 20, 200, 16, Designed);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(bar)->GetWidget()); }));
  sMouseDownAnswer = true;
  ControlLog().clear();
  ASSERT_TRUE(XDoTool(At(w, 180, 28) + "mousedown 1"));
  ASSERT_TRUE(StepUntil([&] { return GetCaptureMouse() == PaneOf(bar); }))
      << testing::PrintToString(ControlLog());
  ASSERT_TRUE(XDoTool("mouseup 1"));
  ASSERT_TRUE(StepUntil([&] { return !ControlLog().empty() && ControlLog().back() == "MouseUp"; }));
  EXPECT_EQ(ControlLog(), (Strings{"MouseDown 160,8", "MouseUp"}));
  EXPECT_EQ(scrollerPropGetter(bar, kValue), 0);

  sMouseDownAnswer = false;
  // A click may be lost on a loaded display: click until the thumb moves.
  ASSERT_TRUE(StepUntil([&] {
    if (scrollerPropGetter(bar, kValue) == 0)
      XDoTool(At(w, 180, 28) + "click 1");
    return scrollerPropGetter(bar, kValue) > 0;
  }));
  EXPECT_EQ(ControlLog().back(), "ValueChanged " + std::to_string(scrollerPropGetter(bar, kValue)));
}

// Without LiveScroll the slider's value changes once, when the knob is let
// go; with it GTK+ follows the pointer.
TEST_F(Scrollers, WithoutLiveScrollADragIsReportedOnceOnRelease) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *slow = AddOf(TestClass(true), "Slow", 20, 20, 200, 24, Designed);
  RuntimeObject *live = AddOf(TestClass(true), "Live", 20, 60, 200, 24, [](RuntimeObject *o) {
    Designed(o);
    boolSetter(o, 124, 1);
  });
  EXPECT_EQ(gtk_range_get_update_policy(GTK_RANGE(PaneOf(slow)->GetWidget())),
            GTK_UPDATE_DISCONTINUOUS);
  EXPECT_EQ(gtk_range_get_update_policy(GTK_RANGE(PaneOf(live)->GetWidget())),
            GTK_UPDATE_CONTINUOUS);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(slow)->GetWidget()); }));
  ControlLog().clear();
  // The knob sits at the left end; it is dragged to the right end in steps,
  // again only when a while passed without a report.
  int steps = 0;
  ASSERT_TRUE(StepUntil([&] {
    if (Changes().empty() && steps++ % 40 == 0)
      XDoTool(At(w, 30, 32) + "mousedown 1 " + At(w, 80, 32) + At(w, 140, 32) + At(w, 230, 32) +
              "mouseup 1");
    return !Changes().empty();
  }));
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(Changes(), Strings{"ValueChanged " + std::to_string(scrollerPropGetter(slow, kValue))});
  EXPECT_GT(scrollerPropGetter(slow, kValue), 50);
}

TEST_F(Scrollers, TheWheelLeavesTheValueAloneAndLiveScrollIsOnlyStoredAfterThePaneIsMade) {
  Open();
  RuntimeObject *bar = AddOf(TestClass(false), "Bar", 20, 20, 200, 16, Designed);
  EXPECT_TRUE(PaneOf(bar)->HandleMouseWheel(30, 28, 3));
  EXPECT_EQ(scrollerPropGetter(bar, kValue), 0);
  ScrollerLiveScrollSetter(bar, 124, 1);
  EXPECT_EQ(boolGetter(bar, 124), 1);
  EXPECT_EQ(gtk_range_get_update_policy(GTK_RANGE(PaneOf(bar)->GetWidget())),
            GTK_UPDATE_DISCONTINUOUS);
}

} // namespace
