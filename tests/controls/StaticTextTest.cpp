// Labels: how a caption splits into drawn lines, the dimmed colour, the
// caption pushed to the GTK+ label, and the mouse events a label fires
// itself when its window is clicked.
#include <gtest/gtest.h>

#include "controls/StaticTextClass.h"
#include "controls/StaticTextGTK.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/OffscreenPixels.h"
#include "windows/WindowsTestSupport.h"

namespace {

std::string Str(long v) { return std::to_string(v); }

struct LinesCase {
  const char *text;
  std::vector<std::string> lines; // "text@pitch"
};

TEST(StaticTextLines, LineBreaksEndLinesAndEmptyLinesOnlyTakeTheirPitch) {
  const LinesCase cases[] = {
      {"a\r\nb\n\nc", {"a@0", "b@1", "c@3"}},
      {"one line", {"one line@0"}},
      {"ends with a break\n", {"ends with a break@0"}},
      {"a\rb", {"a@0", "b@1"}},
      {"a\n\rb", {"a@0", "b@2"}},
      {"\r\n", {}},
      {"", {}},
  };
  for (const LinesCase &c : cases) {
    string text(c.text);
    std::vector<std::string> drawn;
    for (const CaptionLine &line : SplitCaptionLines(text))
      drawn.push_back(std::string(c.text + line.start, line.length) + "@" + Str(line.pitch));
    EXPECT_EQ(drawn, c.lines) << c.text;
  }
}

TEST(StaticTextLines, DimmingMixesAQuarterOfTheColourIntoMidGrey) {
  QV::RGBColor black = DimmedColour(QV::RGBColor{0, 0, 0});
  EXPECT_EQ(black.red, 24576);
  EXPECT_EQ(black.green, 24576);
  EXPECT_EQ(black.blue, 24576);
  EXPECT_EQ(DimmedColour(QV::RGBColor{65535, 0, 4}).red, 40959);
  EXPECT_EQ(DimmedColour(QV::RGBColor{65535, 0, 4}).blue, 24577);
}

std::vector<std::string> &Events() {
  static std::vector<std::string> events;
  return events;
}

int32_t sMouseDownAnswer = 0;

// A label on a window, made as a window makes its controls' panes.
class Labels : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    Events().clear();
    sMouseDownAnswer = 0;
    w = new RecordingWindow(MakeRect(50, 60, 350, 260));
    object = CreateInstance(StaticTextClass());
    ASSERT_NE(object, nullptr);
    label = reinterpret_cast<StaticTextObject *>(object);
    label->control.container = w;
    label->control.visible = label->control.enabled = 1;
    label->control.bounds = MakeRect(20, 30, 220, 60);
    staticCaptionSetter(object, 0, string("Hello").Storage());
    StaticTextCreatePane(object);
    pane = static_cast<StaticText *>(label->control.pane);
    ASSERT_NE(pane, nullptr);
  }
  void TearDown() override {
    if (w) {
      label->control.pane = nullptr;
      w->Close();
      StepUntil([] { return true; });
    }
    RuntimeUnlockObject(object);
  }
  void Handle(StaticTextEvent event, void *code) {
    EventEntry *table = MakePrivateEventTable(object);
    table[StaticTextEventHook(event)->eventIndex].vector = code;
  }
  void ShowAndFocus() {
    ASSERT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(pane->Label()); }));
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
  }
  void Settle() {
    for (int i = 0; i < 20; ++i)
      PaneLoopStep();
  }
  std::string At(int x, int y) {
    return "mousemove --window " + Str(XidOf(w)) + " " + Str(x) + " " + Str(y) + " ";
  }
  std::string LabelText() { return gtk_label_get_label(GTK_LABEL(pane->Label())); }

  RecordingWindow *w = nullptr;
  RuntimeObject *object = nullptr;
  StaticTextObject *label = nullptr;
  StaticText *pane = nullptr;
};

int32_t RecordDown(RuntimeObject *, int32_t x, int32_t y) {
  Events().push_back("down " + Str(x) + "," + Str(y));
  return sMouseDownAnswer;
}
void RecordDrag(RuntimeObject *, int32_t x, int32_t y) {
  Events().push_back("drag " + Str(x) + "," + Str(y));
}
void RecordUp(RuntimeObject *, int32_t x, int32_t y) {
  Events().push_back("up " + Str(x) + "," + Str(y));
}

TEST_F(Labels, TheSameCaptionAgainLeavesTheLabelAloneAndACaseChangeReachesIt) {
  EXPECT_EQ(LabelText(), "Hello");
  gtk_label_set_label(GTK_LABEL(pane->Label()), "changed behind its back");
  staticCaptionSetter(object, 0, string("Hello").Storage());
  EXPECT_EQ(LabelText(), "changed behind its back");
  staticCaptionSetter(object, 0, string("HELLO").Storage());
  EXPECT_EQ(LabelText(), "HELLO");
  staticCaptionSetter(object, 0, string("&Name").Storage());
  EXPECT_EQ(LabelText(), "_Name");
}

TEST_F(Labels, AClickFiresMouseDownRelativeToTheLabelAndTrueTracksTheMouse) {
  Handle(StaticTextEvent::kMouseDown, reinterpret_cast<void *>(RecordDown));
  Handle(StaticTextEvent::kMouseDrag, reinterpret_cast<void *>(RecordDrag));
  Handle(StaticTextEvent::kMouseUp, reinterpret_cast<void *>(RecordUp));
  ShowAndFocus();
  ASSERT_TRUE(XDoToolUntil(At(25, 40) + "click 1", [&] { return !Events().empty(); }));
  Settle();
  EXPECT_EQ(Events(), (std::vector<std::string>{"down 5,10"})) << "False: no drag, no up";

  Events().clear();
  sMouseDownAnswer = 1;
  ASSERT_TRUE(XDoToolUntil(At(30, 45) + "mousedown 1", [&] { return GetCaptureMouse() == pane; }));
  ASSERT_TRUE(StepUntil([&] { return Events().size() >= 2; }));
  ASSERT_TRUE(XDoToolUntil(At(100, 150) + "mouseup 1",
                           [&] { return Events().back().rfind("up ", 0) == 0; }));
  EXPECT_EQ(Events().front(), "down 10,15");
  EXPECT_EQ(Events()[1], "drag 10,15");
  EXPECT_EQ(Events().back(), "up 80,120");
}

TEST_F(Labels, ADisabledLabelFiresNothing) {
  Handle(StaticTextEvent::kMouseDown, reinterpret_cast<void *>(RecordDown));
  pane->EnablePane(false, true);
  EXPECT_FALSE(pane->HandleClick(30, 40, 0));
  EXPECT_TRUE(Events().empty());
}

// Bands of rows holding ink, as (first row, last row).
std::vector<std::pair<int, int>> InkBands(DrawablePane *pixmap) {
  int32_t w, h;
  pixmap->getSize(&w, &h);
  std::vector<std::pair<int, int>> bands;
  std::vector<std::string> rows = Ink(pixmap, 0, 0, w, h);
  for (int y = 0; y < h; ++y) {
    if (rows[y].find('#') == std::string::npos)
      continue;
    if (!bands.empty() && bands.back().second == y - 1)
      bands.back().second = y;
    else
      bands.push_back({y, y});
  }
  return bands;
}

TEST_F(Labels, RedrawPutsLinesAtTheirPitchesStripsAmpersandsAndDimsWhenDisabled) {
  ShowAndFocus();
  FontStructure font;
  font.name = string("Sans");
  font.size = 12;
  pane->SetFont(&font);
  // The label's caption drawn into a white pixmap the size of its window.
  auto redraw = [&](const char *caption) {
    staticCaptionSetter(object, 0, string(caption).Storage());
    DrawablePane *pixmap = NewOffscreen(300, 200);
    Graphics *g = pixmap->getGraphics();
    pane->Redraw(g);
    Graphics::Release(g);
    return pixmap;
  };
  DrawablePane *lines = redraw("a\r\nb\n\nc");
  Graphics *measure = lines->getGraphics();
  measure->TextFont(&font);
  const int32_t pitch = measure->FontHeight() + measure->FontLeading();
  Graphics::Release(measure);
  ASSERT_GT(pitch, 0);
  std::vector<std::pair<int, int>> bands = InkBands(lines);
  ASSERT_EQ(bands.size(), 3u) << "a, b and c (no descenders) on separate lines";
  EXPECT_EQ(bands[1].second - bands[0].second, pitch);
  EXPECT_EQ(bands[2].second - bands[0].second, 3 * pitch) << "the empty line takes its pitch";
  lines->removeReference();

  DrawablePane *doubled = redraw("&&x");
  int32_t baseline = 0;
  pane->GetBaseline(baseline);
  DrawablePane *expected = NewOffscreen(300, 200);
  Graphics *g = expected->getGraphics();
  g->TextFont(&font);
  g->DrawString(string("&x"), label->control.bounds.left, label->control.bounds.top + baseline);
  Graphics::Release(g);
  EXPECT_EQ(Ink(doubled, 0, 0, 300, 200), Ink(expected, 0, 0, 300, 200));
  EXPECT_GT(InkCount(doubled), 0);
  doubled->removeReference();
  expected->removeReference();

  pane->EnablePane(false, true);
  DrawablePane *dimmed = redraw("HIL");
  EXPECT_EQ(DarkestPixel(dimmed), 0x606060u) << "black dims to grey 24576";
  dimmed->removeReference();
}

TEST_F(Labels, AlignmentOutsideZeroToTwoIsKeptAndLeavesTheLabelAsItWas) {
  staticTextAlignSetter(object, 0, 2);
  gfloat x = 0, y = 0;
  gtk_misc_get_alignment(GTK_MISC(pane->Label()), &x, &y);
  EXPECT_EQ(x, 1.0f);
  staticTextAlignSetter(object, 0, 3);
  EXPECT_EQ(label->alignment, 3);
  gtk_misc_get_alignment(GTK_MISC(pane->Label()), &x, &y);
  EXPECT_EQ(x, 1.0f);
  StaticTextMultilineSetter(object, 0, 1);
  staticTextAlignSetter(object, 0, 1);
  gtk_misc_get_alignment(GTK_MISC(pane->Label()), &x, &y);
  EXPECT_EQ(x, 0.5f);
  EXPECT_EQ(y, 0.0f) << "multi-line labels sit at the top";
}

} // namespace
