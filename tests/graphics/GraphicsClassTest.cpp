// The language's Graphics objects: properties and methods through their entry
// points, drawing into offscreen panes.
#include <gtest/gtest.h>

#include "support/OffscreenPixels.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "language/RuntimeArray.h"
#include "runtime/objects/ObjectDefinition.h"

extern "C" {
int32_t graphicsForeColorGetter(RuntimeObject *, int32_t);
void graphicsForeColorSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsBoldGetter(RuntimeObject *, int32_t);
void graphicsBoldSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsItalicGetter(RuntimeObject *, int32_t);
void graphicsItalicSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsUnderlineGetter(RuntimeObject *, int32_t);
int32_t graphicsUseOldRendererGetter(RuntimeObject *, int32_t);
void graphicsUseOldRendererSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsPenWidthGetter(RuntimeObject *, int32_t);
void graphicsPenWidthSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsPenHeightGetter(RuntimeObject *, int32_t);
void graphicsPenHeightSetter(RuntimeObject *, int32_t, int32_t);
int32_t graphicsWidthGetter(RuntimeObject *, int32_t);
stringStorage *graphicsTextFontGetter(RuntimeObject *, int32_t);
void graphicsTextFontSetter(RuntimeObject *, int32_t, stringStorage *);
void RuntimeGraphicsFillRect(RuntimeObject *, int32_t, int32_t, int32_t, int32_t);
void RuntimeGraphicsDrawLine(RuntimeObject *, int32_t, int32_t, int32_t, int32_t);
void RuntimeGraphicsDrawString(RuntimeObject *, stringStorage *, int32_t, int32_t, int32_t);
int32_t RuntimeGraphicsStringWidth(RuntimeObject *, stringStorage *);
void RuntimeGraphicsDrawPicture(RuntimeObject *, RuntimeObject *, int32_t, int32_t, int32_t,
                                int32_t, int32_t, int32_t, int32_t, int32_t);
int32_t graphicsPixelGetter(RuntimeObject *, int32_t, int32_t);
void graphicsPixelSetter(RuntimeObject *, int32_t, int32_t, int32_t);
void graphicsFillPolygon(RuntimeObject *, RuntimeArray *);
}

namespace {

constexpr int32_t kOmit = -10000;

class GraphicsObject : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    pane = NewOffscreen(40, 30);
    object = NewGraphicsObject(pane->getGraphics());
    ASSERT_NE(object, nullptr);
  }
  void TearDown() override {
    RuntimeUnlockObject(object);
    if (pane)
      pane->removeReference();
  }
  DrawablePane *pane = nullptr;
  RuntimeObject *object = nullptr;
};

TEST_F(GraphicsObject, PropertiesReadBackWhatWasSet) {
  for (int32_t color : {0x000000, 0xFFFFFF, 0x123456, 0x80FF01}) {
    graphicsForeColorSetter(object, 0, color);
    EXPECT_EQ(graphicsForeColorGetter(object, 0), color);
  }
  graphicsItalicSetter(object, 0, 1);
  graphicsBoldSetter(object, 0, 1);
  graphicsBoldSetter(object, 0, 0);
  EXPECT_EQ(graphicsBoldGetter(object, 0), 0);
  EXPECT_EQ(graphicsItalicGetter(object, 0), 1) << "Bold false keeps Italic";
  EXPECT_EQ(graphicsUnderlineGetter(object, 0), 0);
  graphicsUseOldRendererSetter(object, 0, 0);
  EXPECT_EQ(graphicsUseOldRendererGetter(object, 0), 1);
  graphicsPenWidthSetter(object, 0, 3);
  graphicsPenHeightSetter(object, 0, 5);
  EXPECT_EQ(graphicsPenWidthGetter(object, 0), 3);
  EXPECT_EQ(graphicsPenHeightGetter(object, 0), 5);
  EXPECT_EQ(graphicsWidthGetter(object, 0), 40);
  stringStorage *font = string("Serif").ExtractStringStorage();
  graphicsTextFontSetter(object, 0, font);
  stringStorage::RemoveReference(font);
  stringStorage *read = graphicsTextFontGetter(object, 0);
  EXPECT_STREQ(stringStorage::CString(read), "Serif");
  stringStorage::RemoveReference(read);
}

TEST_F(GraphicsObject, MethodsDraw) {
  graphicsForeColorSetter(object, 0, 0xFF0000);
  RuntimeGraphicsFillRect(object, 2, 3, 4, 5);
  EXPECT_EQ(Ink(pane, 0, 2, 8, 1), (std::vector<std::string>{"........"}));
  EXPECT_EQ(Ink(pane, 0, 3, 8, 1), (std::vector<std::string>{"..####.."}));
  EXPECT_EQ(PixelAt(pane, 5, 7), 0xFF0000u);
  EXPECT_EQ(PixelAt(pane, 5, 8), 0xFFFFFFu);
  RuntimeGraphicsDrawLine(object, 10, 20, 14, 20);
  EXPECT_EQ(Ink(pane, 9, 20, 7, 1), (std::vector<std::string>{".#####."}));
  graphicsPixelSetter(object, 30, 1, 0x00FF00);
  EXPECT_EQ(graphicsPixelGetter(object, 30, 1), 0x00FF00);
  EXPECT_EQ(graphicsPixelGetter(object, -3, 1), 0);

  stringStorage *text = string("Hi").ExtractStringStorage();
  EXPECT_GT(RuntimeGraphicsStringWidth(object, text), 0);
  EXPECT_EQ(RuntimeGraphicsStringWidth(object, nullptr), 0);
  int before = InkCount(pane);
  RuntimeGraphicsDrawString(object, text, 20, 15, 0);
  EXPECT_GT(InkCount(pane), before);
  stringStorage::RemoveReference(text);

  RuntimeArray *empty = CreateArray(1, kIntegerElements, 0);
  before = InkCount(pane);
  graphicsFillPolygon(object, empty);
  EXPECT_EQ(InkCount(pane), before);
  RuntimeUnlockArray(empty);
}

TEST_F(GraphicsObject, DrawStringWithAWidthWrapsBelowTheFirstBaseline) {
  Graphics *g = reinterpret_cast<RuntimeGraphics *>(object)->context;
  stringStorage *text = string("aa aa aa aa").ExtractStringStorage();
  int32_t wordWidth = g->StringWidth(string("aa aa"));
  RuntimeGraphicsDrawString(object, text, 0, 10, wordWidth + 1);
  stringStorage::RemoveReference(text);
  int lowest = LowestInkRow(pane);
  EXPECT_GT(lowest, 10 + g->FontHeight() / 2) << "at least two lines";
  std::vector<std::string> top = Ink(pane, 0, 0, 40, 10 - g->FontAscent());
  for (const std::string &row : top)
    EXPECT_EQ(row.find('#'), std::string::npos) << "nothing above the first line's ascent";
}

// A 10 x 10 picture: columns 0 to 4 black, 5 to 9 white.
class PictureDrawing : public GraphicsObject {
protected:
  void SetUp() override {
    GraphicsObject::SetUp();
    if (!pane)
      return;
    image = NewOffscreen(10, 10);
    Graphics *g = image->getGraphics();
    QV::Rect left = Rect(0, 0, 5, 10);
    g->FillRect(&left);
    Graphics::Release(g);
    picture.image = image;
  }
  void TearDown() override {
    if (image)
      image->removeReference();
    GraphicsObject::TearDown();
  }
  DrawablePane *image = nullptr;
  PictureObject picture{};
};

TEST_F(PictureDrawing, ClippingTable) {
  struct Case {
    const char *name;
    int32_t x, w1, sx, w2;
    const char *row; // row 0 of the pane, first 24 pixels
  } cases[] = {
      {"whole picture at its size", 2, kOmit, kOmit, kOmit, "..#####................."},
      {"stretched twice", 2, 20, 0, 10, "..##########............"},
      {"source from -2: starts 2 further right", 2, kOmit, -2, kOmit, "....#####..............."},
      {"source from -2 scaled twice", 2, 20, -2, 10, "......##########........"},
      {"source past the right edge", 2, kOmit, 3, kOmit, "..##...................."},
      {"w2 = 0 draws nothing", 2, kOmit, 0, 0, "........................"},
      {"w1 = 0 draws nothing", 2, 0, 0, kOmit, "........................"},
  };
  for (const Case &c : cases) {
    QV::Rect all = Rect(0, 0, 40, 30);
    reinterpret_cast<RuntimeGraphics *>(object)->context->EraseRect(&all);
    RuntimeGraphicsDrawPicture(object, &picture.header, c.x, 0, c.w1, kOmit, c.sx, 0, c.w2,
                               kOmit);
    EXPECT_EQ(Ink(pane, 0, 0, 24, 1)[0], c.row) << c.name;
  }
  RuntimeGraphicsDrawPicture(object, nullptr, 0, 0, kOmit, kOmit, kOmit, kOmit, kOmit, kOmit);
}

TEST_F(PictureDrawing, TransparentWhiteLeavesTheBackgroundShowing) {
  graphicsForeColorSetter(object, 0, 0x0000FF);
  RuntimeGraphicsFillRect(object, 0, 0, 40, 30);
  picture.transparent = kTransparentWhite;
  RuntimeGraphicsDrawPicture(object, &picture.header, 0, 0, kOmit, kOmit, kOmit, kOmit, kOmit,
                             kOmit);
  EXPECT_EQ(PixelAt(pane, 1, 1), 0x000000u);
  EXPECT_EQ(PixelAt(pane, 7, 1), 0x0000FFu);
}

TEST(GraphicsClassTable, SizePropertiesAndMethods) {
  ObjectDefinition *defn = GraphicsClass();
  EXPECT_EQ(defn->objectSize, 40);
  int properties = 0, methods = 0;
  for (InstanceVariable *p = defn->properties; p; p = p->next)
    ++properties;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    ++methods;
  EXPECT_EQ(properties, 14);
  EXPECT_EQ(methods, 22);
}

} // namespace
