// The shape controls in a window of the language: their class tables, the
// look drawn offscreen (a two-coloured bevel, pen-wide line squares, round
// corners, the context's colour), which clicks reach MouseDown, and a Line
// whose end moves the control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ShapeControlClasses.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ClassTableChecks.h"
#include "support/OffscreenPixels.h"
#include "windows/WindowsTestSupport.h"

namespace {

using Strings = std::vector<std::string>;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhiteRGB = 0xFFFFFF;

int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
  return 0;
}

// A subclass of the shape class that hears MouseDown.
ObjectDefinition *Heard(ObjectDefinition *shape) {
  static std::vector<ObjectDefinition *> made;
  for (ObjectDefinition *d : made)
    if (d->super == shape)
      return d;
  auto *defn = new ObjectDefinition;
  defn->className = string(("Test" + std::string(shape->className.CString())).c_str());
  defn->super = shape;
  defn->objectSize = shape->objectSize;
  defn->staticTables = 1;
  HandleInClass(*defn, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
  made.push_back(defn);
  return defn;
}

// A property of the class by name.
const InstanceVariable *Property(ObjectDefinition *defn, const char *name) {
  for (const InstanceVariable *p = defn->properties; p; p = p->next)
    if (std::string(p->name.CString()) == name)
      return p;
  return nullptr;
}

using Setter = void (*)(RuntimeObject *, int32_t, int32_t);

class Shapes : public ControlWindow {
protected:
  // Sets the property of the object's class through its table's setter.
  void Put(ObjectDefinition *cls, RuntimeObject *o, const char *name, int32_t value) {
    const InstanceVariable *p = Property(cls, name);
    ASSERT_NE(p, nullptr) << name;
    reinterpret_cast<Setter>(p->setter)(o, p->param, value);
  }
  int32_t Get(ObjectDefinition *cls, RuntimeObject *o, const char *name) {
    const InstanceVariable *p = Property(cls, name);
    return p ? reinterpret_cast<int32_t (*)(RuntimeObject *, int32_t)>(p->getter)(o, p->param) : -1;
  }
  // The pane drawn into a white offscreen of 100 by 80.
  DrawablePane *Drawn(RuntimeObject *o, const QV::RGBColor *colour = nullptr) {
    DrawablePane *pixmap = NewOffscreen(100, 80);
    Graphics *g = pixmap->getGraphics();
    if (colour)
      g->RGBForeColor(colour);
    Ctl(o)->pane->Redraw(g);
    Graphics::Release(g);
    return pixmap;
  }
};

TEST(ShapeClasses, NamesSizesEventsAndPropertyRows) {
  CreateControlClasses();
  struct Shape {
    ObjectDefinition *defn;
    const char *name;
    int32_t size;
    Strings properties;
  } shapes[] = {
      {RectangleClass(),
       "Rectangle",
       116,
       {"FillColor", "BorderWidth", "TopLeftColor", "BottomRightColor"}},
      {OvalClass(), "Oval", 112, {"FillColor", "BorderWidth", "BorderColor"}},
      {RoundRectClass(),
       "RoundRectangle",
       116,
       {"FillColor", "BorderWidth", "BorderColor", "OvalWidth", "OvalHeight"}},
      {LineClass(), "Line", 124, {"X1", "X2", "Y1", "Y2", "BorderWidth", "LineColor"}},
  };
  for (const Shape &s : shapes) {
    SCOPED_TRACE(s.name);
    EXPECT_STREQ(s.defn->className.CString(), s.name);
    EXPECT_EQ(s.defn->super, RectControlClass());
    EXPECT_EQ(s.defn->objectSize, s.size);
    Strings events, names;
    for (ObjectHook *h = s.defn->hooks; h; h = h->next)
      events.push_back(h->name.CString());
    EXPECT_EQ(events, (Strings{"MouseDown", "MouseDrag", "MouseUp"}));
    for (const InstanceVariable *p = s.defn->properties; p; p = p->next) {
      names.push_back(p->name.CString());
      ExpectAccessorsBound(p);
    }
    EXPECT_EQ(names, s.properties);
  }
  const InstanceVariable *x2 = Property(LineClass(), "X2");
  ASSERT_NE(x2, nullptr);
  EXPECT_EQ(x2->setter, Code(linePosSetter));
  EXPECT_EQ(x2->param, 104);
  EXPECT_EQ(Property(RectangleClass(), "BorderWidth")->getter, Code(paneShortGetter));
  EXPECT_EQ(Property(OvalClass(), "FillColor")->setter, Code(paneIntSetter));
  EXPECT_EQ(BoundAddress("linePosSetter"), Code(linePosSetter));
}

// The rectangle spans (10, 10) to (40, 30): red inside, green top and left
// sides and blue bottom and right ones, each as wide as |BorderWidth|.
TEST_F(Shapes, ARectangleFramesItsFillInTwoColoursAsWideAsTheBorderEitherSign) {
  Open();
  ObjectDefinition *cls = RectangleClass();
  RuntimeObject *r = AddOf(cls, "Box", 10, 10, 30, 20, [&](RuntimeObject *o) {
    Put(cls, o, "FillColor", 0xFF0000);
    Put(cls, o, "TopLeftColor", 0x00FF00);
    Put(cls, o, "BottomRightColor", 0x0000FF);
  });
  for (int width : {3, -3, 0}) {
    SCOPED_TRACE(width);
    Put(cls, r, "BorderWidth", width);
    EXPECT_EQ(Get(cls, r, "BorderWidth"), width);
    DrawablePane *p = Drawn(r);
    const uint32_t left = width ? kGreen : kRed, right = width ? kBlue : kRed;
    EXPECT_EQ(PixelAt(p, 10, 20), left);
    EXPECT_EQ(PixelAt(p, 12, 20), left);
    EXPECT_EQ(PixelAt(p, 13, 20), kRed);
    EXPECT_EQ(PixelAt(p, 20, 10), left) << "top";
    EXPECT_EQ(PixelAt(p, 39, 20), right);
    EXPECT_EQ(PixelAt(p, 37, 20), right);
    EXPECT_EQ(PixelAt(p, 36, 20), kRed);
    EXPECT_EQ(PixelAt(p, 20, 29), right) << "bottom";
    EXPECT_EQ(PixelAt(p, 40, 20), kWhiteRGB);
    EXPECT_EQ(PixelAt(p, 20, 30), kWhiteRGB);
    p->removeReference();
  }
}

TEST_F(Shapes, OvalsAndRoundRectanglesFrameOnlyWithABorderAndRoundTheirCorners) {
  Open();
  ObjectDefinition *round = RoundRectClass();
  RuntimeObject *r = AddOf(round, "Round", 10, 10, 40, 30, [&](RuntimeObject *o) {
    Put(round, o, "FillColor", 0xFF0000);
    Put(round, o, "BorderColor", 0x0000FF);
    Put(round, o, "OvalWidth", 16);
    Put(round, o, "OvalHeight", 16);
  });
  DrawablePane *p = Drawn(r);
  EXPECT_EQ(PixelAt(p, 10, 10), kWhiteRGB) << "a rounded corner";
  EXPECT_EQ(PixelAt(p, 49, 39), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 30, 10), kRed) << "the straight top";
  EXPECT_EQ(PixelAt(p, 10, 25), kRed) << "no frame without a border";
  p->removeReference();
  Put(round, r, "BorderWidth", 2);
  p = Drawn(r);
  EXPECT_EQ(PixelAt(p, 30, 10), kBlue);
  EXPECT_EQ(PixelAt(p, 30, 11), kBlue);
  EXPECT_EQ(PixelAt(p, 30, 12), kRed);
  p->removeReference();

  ObjectDefinition *oval = OvalClass();
  RuntimeObject *o = AddOf(oval, "Oval", 10, 10, 40, 30, [&](RuntimeObject *x) {
    Put(oval, x, "FillColor", 0x00FF00);
    Put(oval, x, "BorderColor", 0x0000FF);
  });
  p = Drawn(o);
  EXPECT_EQ(PixelAt(p, 11, 11), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 30, 25), kGreen);
  EXPECT_EQ(PixelAt(p, 30, 10), kGreen) << "no frame";
  p->removeReference();
}

// A vertical Line from (10, 10) to (10, 50).
TEST_F(Shapes, AVerticalLineCoversBothEndsAndAWidePenDrawsPenSquares) {
  Open();
  ObjectDefinition *cls = LineClass();
  RuntimeObject *line = AddOf(cls, "Line", 10, 10, 1, 41, [&](RuntimeObject *o) {
    for (auto [name, v] : {std::pair{"X1", 10}, {"Y1", 10}, {"X2", 10}, {"Y2", 50}})
      Put(cls, o, name, v);
    Put(cls, o, "BorderWidth", 1);
    Put(cls, o, "LineColor", 0xFF0000);
  });
  DrawablePane *p = Drawn(line);
  EXPECT_EQ(PixelAt(p, 10, 10), kRed);
  EXPECT_EQ(PixelAt(p, 10, 50), kRed);
  EXPECT_EQ(PixelAt(p, 10, 9), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 10, 51), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 11, 30), kWhiteRGB);
  p->removeReference();

  // The widget covers the line's box grown by the pen, and follows the pen.
  GtkWidget *widget = Ctl(line)->pane->GetWidget();
  gint width = 0, height = 0;
  gtk_widget_get_size_request(widget, &width, &height);
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 42);
  Put(cls, line, "BorderWidth", 4);
  p = Drawn(line);
  gtk_widget_get_size_request(widget, &width, &height);
  EXPECT_EQ(width, 7);
  EXPECT_EQ(height, 47);
  EXPECT_EQ(PixelAt(p, 13, 53), kRed) << "the last square's far corner";
  EXPECT_EQ(PixelAt(p, 14, 30), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 10, 54), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 9, 30), kWhiteRGB);
  p->removeReference();
}

TEST_F(Shapes, ALineOfColourZeroDrawsInTheContextsColour) {
  Open();
  ObjectDefinition *cls = LineClass();
  RuntimeObject *line = AddOf(cls, "Line", 0, 0, 1, 1, [&](RuntimeObject *o) {
    for (auto [name, v] : {std::pair{"X1", 5}, {"Y1", 20}, {"X2", 60}, {"Y2", 20}})
      Put(cls, o, name, v);
    Put(cls, o, "BorderWidth", 1);
  });
  const QV::RGBColor green{0, 65535, 0};
  DrawablePane *p = Drawn(line, &green);
  EXPECT_EQ(PixelAt(p, 5, 20), kGreen);
  EXPECT_EQ(PixelAt(p, 60, 20), kGreen);
  p->removeReference();
}

// The slanted Line runs from (10, 10) by (30, 40); (29, 27) is 5 pixels off
// it and (28, 24) 6.
TEST_F(Shapes, ClicksWithinFivePixelsOfALineReachItEnabledOrNotADisabledRectangleTakesNone) {
  Open();
  ObjectDefinition *cls = Heard(LineClass());
  RuntimeObject *line = AddOf(cls, "Line", 0, 0, 1, 1, [&](RuntimeObject *o) {
    for (auto [name, v] : {std::pair{"X1", 10}, {"Y1", 10}, {"X2", 40}, {"Y2", 50}})
      Put(LineClass(), o, name, v);
    Put(LineClass(), o, "BorderWidth", 1);
  });
  RuntimeObject *box = AddOf(Heard(RectangleClass()), "Box", 60, 10, 30, 30);
  controlEnabledSetter(line, 0, 0);
  controlEnabledSetter(box, 0, 0);
  ControlLog().clear();
  SubPane *linePane = Ctl(line)->pane;
  linePane->HandleClick(29, 27, 0);
  linePane->HandleClick(28, 24, 0);
  Ctl(box)->pane->HandleClick(70, 20, 0);
  EXPECT_EQ(ControlLog(), (Strings{"MouseDown 19,17"})) << "relative to the line's box at (10, 10)";
  controlEnabledSetter(box, 0, 1);
  Ctl(box)->pane->HandleClick(70, 20, 0);
  EXPECT_EQ(ControlLog().back(), "MouseDown 10,10");
}

// Setting X2 moves the box: ends (10, 10) and (40, 50) with a pen of 4 give
// h = 2 and r = 2.
TEST_F(Shapes, MovingALinesEndMovesAndResizesTheControlByTheEndsAndThePen) {
  Open();
  ObjectDefinition *cls = LineClass();
  RuntimeObject *line = AddOf(cls, "Line", 0, 0, 1, 1, [&](RuntimeObject *o) {
    for (auto [name, v] : {std::pair{"X1", 10}, {"Y1", 10}, {"X2", 20}, {"Y2", 50}})
      Put(cls, o, name, v);
    Put(cls, o, "BorderWidth", 4);
  });
  Put(cls, line, "X2", 40);
  EXPECT_EQ(Get(cls, line, "X2"), 40);
  EXPECT_EQ(ctlPosGetter(line, 0), 8);
  EXPECT_EQ(ctlPosGetter(line, 1), 8);
  EXPECT_EQ(ctlPosGetter(line, 2), 34);
  EXPECT_EQ(ctlPosGetter(line, 3), 44);
  const QV::Rect &b = Ctl(line)->pane->Bounds();
  EXPECT_EQ(b.left, 8);
  EXPECT_EQ(b.right, 42);
  auto *pane = static_cast<EditLine *>(Ctl(line)->pane);
  EXPECT_EQ(pane->x2, 40);
}

} // namespace
