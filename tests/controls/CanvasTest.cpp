// Canvases in a window of the language: their class table, Paint and the
// Backdrop drawn offscreen (where asked, hidden, cut, not tiled), redrawing
// a changed Backdrop, the Graphics property, keys, scrolling with and
// without the controls inside, and mouse coordinates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlWindowFixture.h"
#include "controls/Canvas.h"
#include "controls/ControlEntryPoints.h"
#include "graphics/PictureObject.h"
#include "graphics/PictureServices.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/ClassTableChecks.h"
#include "support/OffscreenPixels.h"
#include "windows/WindowClass.h"
#include "windows/WindowsTestSupport.h"

extern "C" {
void RuntimeGraphicsFillRect(RuntimeObject *object, int32_t x, int32_t y, int32_t width,
                             int32_t height);
void graphicsForeColorSetter(RuntimeObject *object, int32_t, int32_t color);
}

namespace {

using Strings = std::vector<std::string>;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kWhiteRGB = 0xFFFFFF;

int sPaints = 0;
bool sMouseDownAnswer = true;

// Paint fills (5, 5) to (15, 15) of the canvas in red.
void OnPaint(RuntimeObject *, RuntimeObject *g) {
  ++sPaints;
  graphicsForeColorSetter(g, 0, 0xFF0000);
  RuntimeGraphicsFillRect(g, 5, 5, 10, 10);
}
int32_t OnKeyDown(RuntimeObject *, stringStorage *key) {
  std::string text = "KeyDown";
  for (unsigned char byte : std::string(stringStorage::CString(key)))
    text += " " + std::to_string(byte);
  ControlLog().push_back(text);
  return 1;
}
int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
  return sMouseDownAnswer;
}
void OnMouseDrag(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseDrag " + std::to_string(x) + "," + std::to_string(y));
}
void OnMouseUp(RuntimeObject *, int32_t x, int32_t y) {
  ControlLog().push_back("MouseUp " + std::to_string(x) + "," + std::to_string(y));
}

ObjectDefinition *TestCanvasClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestCanvas");
    defn.super = CanvasClass();
    defn.objectSize = kCanvasInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "Paint", reinterpret_cast<void *>(OnPaint));
    HandleInClass(defn, "KeyDown", reinterpret_cast<void *>(OnKeyDown));
    HandleInClass(defn, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
    HandleInClass(defn, "MouseDrag", reinterpret_cast<void *>(OnMouseDrag));
    HandleInClass(defn, "MouseUp", reinterpret_cast<void *>(OnMouseUp));
  }
  return &defn;
}

// A Picture (one reference) of a pixmap of that size filled with the colour.
RuntimeObject *FilledPicture(int width, int height, const QV::RGBColor &colour,
                             DrawablePane **pixmap = nullptr) {
  auto *image = new DrawablePane(Rect(0, 0, width, height), 32, 0);
  Graphics *g = image->getGraphics();
  g->RGBForeColor(&colour);
  QV::Rect all = Rect(0, 0, width, height);
  g->FillRect(&all);
  Graphics::Release(g);
  if (pixmap)
    *pixmap = image;
  return NewPictureFromDrawable(image);
}

RuntimeCanvas *PaneOf(RuntimeObject *o) { return static_cast<RuntimeCanvas *>(Ctl(o)->pane); }

class Canvases : public ControlWindow {
protected:
  void SetUp() override {
    ControlWindow::SetUp();
    sPaints = 0;
    sMouseDownAnswer = true;
  }
  // The canvas drawn into a white offscreen of 200 by 150.
  DrawablePane *Drawn(RuntimeObject *o) {
    DrawablePane *pixmap = NewOffscreen(200, 150);
    Graphics *g = pixmap->getGraphics();
    PaneOf(o)->DrawIntoOffscreen(g);
    Graphics::Release(g);
    return pixmap;
  }
};

TEST(CanvasClassTable, NamesEventsPropertiesAndScrollDefaults) {
  CreateControlClasses();
  ObjectDefinition *defn = CanvasClass();
  EXPECT_STREQ(defn->className.CString(), "Canvas");
  EXPECT_EQ(defn->super, RectControlClass());
  EXPECT_EQ(defn->objectSize, 112);
  Strings events, properties;
  for (ObjectHook *h = defn->hooks; h; h = h->next)
    events.push_back(h->name.CString());
  EXPECT_EQ(events, (Strings{"Paint", "GotFocus", "LostFocus", "KeyDown", "MouseDown", "MouseDrag",
                             "MouseUp", "EnableMenuItems"}));
  for (const InstanceVariable *p = defn->properties; p; p = p->next) {
    properties.push_back(p->name.CString());
    ExpectAccessorsBound(p);
  }
  EXPECT_EQ(properties,
            (Strings{"Graphics", "Backdrop", "AcceptFocus", "AcceptTabs", "UseFocusRing"}));
  ExpectMethodsBound(defn);
  ASSERT_NE(defn->methods, nullptr);
  const PropertyMethod &scroll = defn->methods->method;
  ASSERT_EQ(scroll.paramCount, 7);
  EXPECT_FALSE(scroll.params[1].hasDefault);
  for (int i = 2; i < 7; ++i)
    EXPECT_TRUE(scroll.params[i].hasDefault) << i;
  EXPECT_EQ(scroll.params[4].defaultValue, -10000);
  EXPECT_EQ(scroll.params[6].defaultValue, 1);
}

// The canvas spans (20, 30) to (70, 70); Paint fills (25, 35) to (35, 45).
TEST_F(Canvases, PaintFillsWhereAskedInCanvasCoordinatesAndAHiddenCanvasDrawsNothing) {
  Open();
  RuntimeObject *c = AddOf(TestCanvasClass(), "Canvas", 20, 30, 50, 40);
  DrawablePane *p = Drawn(c);
  EXPECT_EQ(PixelAt(p, 25, 35), kRed);
  EXPECT_EQ(PixelAt(p, 34, 44), kRed);
  EXPECT_EQ(PixelAt(p, 35, 45), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 24, 35), kWhiteRGB);
  p->removeReference();

  ControlVisibleSetter(c, 0, 0);
  p = Drawn(c);
  EXPECT_EQ(InkCount(p), 0);
  p->removeReference();
  const int before = sPaints;
  ControlVisibleSetter(c, 0, 1);
  ASSERT_TRUE(StepUntil([&] { return sPaints > before; })) << "shown again, it is repainted";
}

TEST_F(Canvases, ABackdropLargerThanTheCanvasIsCutAndASmallerOneDrawnOnce) {
  Open();
  RuntimeObject *c = AddOf(CanvasClass(), "Canvas", 20, 30, 50, 40);
  RuntimeObject *large = FilledPicture(120, 120, QV::RGBColor{0, 0, 65535});
  canvasBackdropSetter(c, offsetof(CanvasObject, backdrop), large);
  DrawablePane *p = Drawn(c);
  EXPECT_EQ(PixelAt(p, 20, 30), kBlue);
  EXPECT_EQ(PixelAt(p, 69, 69), kBlue);
  EXPECT_EQ(PixelAt(p, 70, 50), kWhiteRGB);
  EXPECT_EQ(PixelAt(p, 50, 70), kWhiteRGB);
  p->removeReference();

  RuntimeObject *small = FilledPicture(10, 10, QV::RGBColor{0, 65535, 0});
  canvasBackdropSetter(c, offsetof(CanvasObject, backdrop), small);
  EXPECT_EQ(objGetter(c, offsetof(CanvasObject, backdrop)), small);
  RuntimeUnlockObject(small); // the getter's
  p = Drawn(c);
  EXPECT_EQ(PixelAt(p, 29, 39), kGreen);
  EXPECT_EQ(PixelAt(p, 30, 30), kWhiteRGB) << "not tiled";
  EXPECT_EQ(PixelAt(p, 20, 40), kWhiteRGB);
  p->removeReference();
  RuntimeUnlockObject(large);
  RuntimeUnlockObject(small);
}

// Fills the image with the colour, as a program draws into a Picture.
void DrawInto(DrawablePane *image, const QV::RGBColor &colour) {
  Graphics *g = image->getGraphics();
  g->RGBForeColor(&colour);
  QV::Rect all = Rect(0, 0, 20, 20);
  g->FillRect(&all);
  Graphics::Release(g);
}

// A Backdrop drawn into after it was shown is redrawn, the window's own as
// well as a canvas's; an unchanged one is left alone.
TEST_F(Canvases, InvalidateChangedBackdropsRedrawsWhatWasDrawnIntoSinceItWasShown) {
  Open();
  DrawablePane *canvasImage = nullptr, *windowImage = nullptr;
  RuntimeObject *picture = FilledPicture(20, 20, QV::RGBColor{0, 0, 65535}, &canvasImage);
  RuntimeObject *c = AddOf(TestCanvasClass(), "Canvas", 20, 30, 50, 40, [&](RuntimeObject *o) {
    canvasBackdropSetter(o, offsetof(CanvasObject, backdrop), picture);
  });
  RuntimeObject *backdrop = FilledPicture(20, 20, QV::RGBColor{0, 65535, 0}, &windowImage);
  windowBackdropSetter(view, 0, backdrop);
  const int32_t shown = windowImage->getGeneration();
  ASSERT_TRUE(
      StepUntil([&] { return sPaints > 0 && view->drawnBackdropGeneration == shown; }));
  for (int i = 0; i < 20; ++i)
    PaneLoopStep();
  const int painted = sPaints;
  InvalidateChangedBackdrops();
  for (int i = 0; i < 20; ++i)
    PaneLoopStep();
  EXPECT_EQ(sPaints, painted) << "nothing changed";

  DrawInto(canvasImage, QV::RGBColor{65535, 0, 0});
  DrawInto(windowImage, QV::RGBColor{65535, 0, 0});
  ASSERT_NE(windowImage->getGeneration(), shown) << "drawing changes the image's generation";
  InvalidateChangedBackdrops();
  EXPECT_TRUE(
      StepUntil([&] { return view->drawnBackdropGeneration == windowImage->getGeneration(); }));
  EXPECT_TRUE(StepUntil([&] { return sPaints > painted; }));
  RuntimeUnlockObject(picture);
  RuntimeUnlockObject(backdrop);
  (void)c;
}

TEST_F(Canvases, TheGraphicsPropertyIsNilBeforeThePaneAndThenAlwaysTheSameObject) {
  Open();
  RuntimeObject *c = AddOf(TestCanvasClass(), "Canvas", 20, 30, 50, 40, [](RuntimeObject *o) {
    EXPECT_EQ(canvasGraphicsGetter(o, 0), nullptr);
  });
  RuntimeObject *first = canvasGraphicsGetter(c, 0);
  RuntimeObject *second = canvasGraphicsGetter(c, 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
}

TEST_F(Canvases, TabReachesKeyDownOnlyWithAcceptTabsAndAnAccentedLetterComesAsUTF8) {
  Open();
  RuntimeObject *c = AddOf(TestCanvasClass(), "Canvas", 20, 30, 50, 40);
  ControlLog().clear();
  EXPECT_FALSE(PaneOf(c)->HandleKeyPress('\t', 48, 0));
  EXPECT_EQ(ControlLog(), Strings{});
  boolSetter(c, offsetof(CanvasObject, acceptTabs), 1);
  EXPECT_TRUE(PaneOf(c)->HandleKeyPress('\t', 48, 0));
  EXPECT_TRUE(PaneOf(c)->HandleUnicodeInput(0xE9, 0, 0));
  EXPECT_TRUE(PaneOf(c)->HandleUnicodeInput('a', 0, 0));
  EXPECT_EQ(ControlLog(), (Strings{"KeyDown 9", "KeyDown 195 169", "KeyDown 97"}));
}

TEST_F(Canvases, ScrollMovesTheControlsInsideUnlessToldNotTo) {
  Open();
  RuntimeObject *outer = AddOf(CanvasClass(), "Outer", 20, 30, 100, 80);
  RuntimeObject *inner = AddOf(CanvasClass(), "Inner", 30, 40, 20, 20,
                               [&](RuntimeObject *o) { Ctl(o)->initialParent = Ctl(outer); });
  ASSERT_EQ(Ctl(inner)->pane->GetEmbedder(), Ctl(outer)->pane);
  canvasScroll(outer, 0, 0, 0, 0, -10000, -10000, 1);
  EXPECT_EQ(Ctl(inner)->pane->Bounds().left, 30);
  canvasScroll(outer, 10, 0, 0, 0, -10000, -10000, 1);
  EXPECT_EQ(Ctl(inner)->pane->Bounds().left, 40);
  canvasScroll(outer, 10, 0, 0, 0, -10000, -10000, 0);
  EXPECT_EQ(Ctl(inner)->pane->Bounds().left, 40);
}

// MouseDown answering true holds the mouse: MouseDrag follows outside the
// canvas, relative to it.
TEST_F(Canvases, AfterATrueMouseDownDragsArriveRelativeToTheCanvasEvenOutsideIt) {
  RuntimeViewWindow *w = Open();
  RuntimeObject *c = AddOf(TestCanvasClass(), "Canvas", 20, 30, 50, 40);
  ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(PaneOf(c)->GetWidget()); }));
  const std::string win = std::to_string(XidOf(w));
  auto at = [&](int x, int y) {
    return "mousemove --window " + win + " " + std::to_string(x) + " " + std::to_string(y) + " ";
  };
  ControlLog().clear();
  ASSERT_TRUE(StepUntil([&] {
    if (GetCaptureMouse() != PaneOf(c) && ControlLog().empty())
      XDoTool(at(25, 35) + "mousedown 1");
    return GetCaptureMouse() == PaneOf(c);
  }));
  ASSERT_TRUE(StepUntil([&] {
    XDoTool(at(150, 120));
    return !ControlLog().empty() && ControlLog().back() == "MouseDrag 130,90";
  })) << testing::PrintToString(ControlLog());
  EXPECT_EQ(ControlLog().front(), "MouseDown 5,5");
  ASSERT_TRUE(XDoTool("mouseup 1"));
  ASSERT_TRUE(StepUntil([&] { return ControlLog().back() == "MouseUp 130,90"; }));
}

} // namespace
