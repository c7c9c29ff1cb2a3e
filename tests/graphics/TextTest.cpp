// Text fitting against a fixed-width measurer, and text drawn through Pango
// into offscreen panes.
#include <gtest/gtest.h>

#include "support/OffscreenPixels.h"
#include "foundation/TextEncodings.h"

namespace {

string Tagged(const char *bytes, int length, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(bytes, length);
  s.SetEncoding(encoding);
  return s;
}

// Ten pixels per character: UTF-8 counts lead bytes, UTF-16 byte pairs,
// anything else bytes. "a" measures aWidth.
struct FixedWidth {
  int32_t aWidth = 10;
  int calls = 0;
  static int32_t Measure(void *ref, const string &text) {
    auto *self = static_cast<FixedWidth *>(ref);
    ++self->calls;
    if (text.Length() == 1 && text.CString()[0] == 'a')
      return self->aWidth;
    int32_t chars = 0;
    const auto *p = reinterpret_cast<const unsigned char *>(text.CString());
    for (int i = 0; i < text.Length(); ++i)
      if (text.Encoding() == kEncodingUTF8 ? (p[i] & 0xC0) != 0x80
                                           : text.Encoding() != kEncodingUTF16 || i % 2 == 0)
        ++chars;
    return chars * 10;
  }
  int32_t Break(const string &text, long width, bool wordBreak) {
    return FindSoftLineBreak(text, width, wordBreak, Measure, this);
  }
};

struct BreakCase {
  const char *text;
  long width;
  bool wordBreak;
  int32_t expected;
};

TEST(SoftLineBreak, Table) {
  const BreakCase cases[] = {
      {"hello", 100, false, 5},          // fits
      {"hello", 50, false, 4},           // exactly as wide does not fit
      {"hello", 0, false, 0},            // nothing fits
      {"hello", -7, false, 0},           //
      {"  hello", 0, true, 2},           // width 0 with word breaks: the leading blanks
      {"", 30, false, 0},                //
      {"hello world", 80, true, 6},      // cut in the second word: after the blank
      {"hello world", 80, false, 7},     //
      {"abcdefghij", 55, true, 5},       // no blank: the word is cut
      {"ab \t cd ef", 60, true, 5},      // every blank skipped
      {"ab cd", 25, true, 3},            // the blank just past the cut
  };
  for (const BreakCase &c : cases) {
    FixedWidth m;
    EXPECT_EQ(m.Break(string(c.text), c.width, c.wordBreak), c.expected)
        << '"' << c.text << "\" width " << c.width;
  }
}

TEST(SoftLineBreak, AgreesWithALinearScanAtEveryWidth) {
  const string text("The quick brown fox jumps over the lazy dog");
  for (long width = 1; width < 450; ++width) {
    FixedWidth m;
    int32_t expected = 0;
    while (expected < text.Length() && (expected + 1) * 10 < width)
      ++expected;
    if (text.Length() * 10 < width)
      expected = text.Length();
    ASSERT_EQ(m.Break(text, width, false), expected) << "width " << width;
  }
}

TEST(SoftLineBreak, NeverSplitsUTF8OrUTF16Characters) {
  const char utf8[] = "\xC3\xA9\xE2\x82\xAC\xC3\xA9x\xF0\x9F\x98\x80yz"; // é € é x 😀 y z
  string u8 = Tagged(utf8, sizeof utf8 - 1, kEncodingUTF8);
  string u16 = Tagged("a\0b\0c\0d\0", 8, kEncodingUTF16);
  for (long width = 1; width < 90; ++width) {
    FixedWidth m;
    int32_t cut = m.Break(u8, width, false);
    ASSERT_TRUE(cut == u8.Length() || (static_cast<unsigned char>(utf8[cut]) & 0xC0) != 0x80)
        << "width " << width << " cut " << cut;
    EXPECT_LT(FixedWidth::Measure(&m, left(u8, cut)), width);
    EXPECT_EQ(m.Break(u16, width, false) % 2, 0);
  }
  FixedWidth m;
  EXPECT_EQ(m.Break(u8, 25, false), 5) << "two characters: five bytes";
}

TEST(SoftLineBreak, ALetterOfNoWidthStillGivesTheRightBreakInFewMeasurements) {
  std::string paragraph;
  while (paragraph.size() < 2000)
    paragraph += "lorem ipsum dolor sit amet ";
  string text(paragraph.c_str());
  FixedWidth zero;
  zero.aWidth = 0;
  EXPECT_EQ(zero.Break(text, 4005, false), 400);
  FixedWidth m;
  EXPECT_EQ(m.Break(text, 4005, false), 400);
  EXPECT_LT(m.calls, 40) << "bisection, not a scan";
}

class PangoText : public testing::Test {
protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    pane = NewOffscreen(120, 40);
    g = pane->getGraphics();
  }
  void TearDown() override {
    Graphics::Release(g);
    if (pane)
      pane->removeReference();
  }
  // The ink of text drawn with its baseline at y 20 on a fresh pane.
  std::vector<std::string> InkOf(const string &text, int32_t face, DrawablePane **keep = nullptr) {
    DrawablePane *p = NewOffscreen(120, 40);
    Graphics *pg = p->getGraphics();
    pg->TextFace(face);
    pg->DrawString(text, 2, 20);
    Graphics::Release(pg);
    std::vector<std::string> ink = Ink(p, 0, 0, 120, 40);
    if (keep)
      *keep = p;
    else
      p->removeReference();
    return ink;
  }
  DrawablePane *pane = nullptr;
  Graphics *g = nullptr;
};

TEST_F(PangoText, OnlyTheUnderlineBitPutsInkBelowTheBaseline) {
  for (int32_t face : {0, kBoldFace, kItalicFace, kCondenseFace, kUnderlineFace}) {
    DrawablePane *p;
    InkOf(string("mace"), face, &p);
    // Glyphs stand on the baseline, y 20: their ink ends in row 19.
    int lowest = LowestInkRow(p);
    EXPECT_GE(lowest, 10) << "face " << face;
    if (face == kUnderlineFace)
      EXPECT_GE(lowest, 20);
    else
      EXPECT_LT(lowest, 20) << "face " << face;
    p->removeReference();
  }
}

// Drawn text goes through the same conversion as every widget's text: each
// tag's "café" draws the ink of the UTF-8 one.
TEST_F(PangoText, EveryTagDrawsTheInkOfTheSameUTF8Text) {
  std::vector<std::string> utf8 = InkOf(Tagged("caf\xC3\xA9", 5, kEncodingUTF8), 0);
  EXPECT_NE(utf8, InkOf(string("caf"), 0)) << "the accented letter drew";
  struct Case {
    const char *name;
    string text;
  } cases[] = {
      {"Mac Roman", Tagged("caf\x8E", 4, kEncodingMacRoman)},
      {"Latin-1", Tagged("caf\xE9", 4, 0x0201)},
      {"Windows Latin-1", Tagged("caf\xE9", 4, 0x0500)},
      {"UTF-16", Tagged("c\0a\0f\0\xE9\0", 8, kEncodingUTF16)},
      {"untagged", Tagged("caf\xC3\xA9", 5, kEncodingUnknown)},
  };
  for (const Case &c : cases)
    EXPECT_EQ(InkOf(c.text, 0), utf8) << c.name;
  std::vector<std::string> broken = InkOf(Tagged("ab\xFF", 3, kEncodingUTF8), 0);
  EXPECT_NE(broken, InkOf(string(""), 0)) << "bad bytes are replaced, the rest still draws";
}

TEST_F(PangoText, WidthsAndMetricsAreMeasured) {
  int32_t one = g->StringWidth(string("wide")), two = g->StringWidth(string("widewide"));
  EXPECT_GT(one, 0);
  EXPECT_GT(two, one);
  EXPECT_EQ(g->StringWidth(string("")), 0);
  EXPECT_EQ(g->FontHeight(), g->FontAscent() + g->FontDescent());
  EXPECT_GT(g->FontAscent(), 0);
  EXPECT_GE(g->FontLeading(), 0);
  g->TextSize(30);
  EXPECT_GT(g->StringWidth(string("wide")), one) << "a size change rebuilds the font";
  g->TextSize(12);
  string paragraph("one two three four five six seven eight nine ten");
  EXPECT_GT(g->GetWrapHeight(paragraph, 40), 2 * g->FontHeight());
  EXPECT_EQ(g->FindSoftLineBreak(string("wide"), one + 1, false), 4);
  EXPECT_LT(g->FindSoftLineBreak(string("wide"), one, false), 4);
}

TEST_F(PangoText, ConstrainedStringsCutToTheEllipsis) {
  string text("a long line of text"), ellipsis("...");
  g->DrawConstrainedString(text, 2, 20, 500, ellipsis, nullptr);
  EXPECT_EQ(Ink(pane, 0, 0, 120, 40), InkOf(text, 0)) << "a fitting text is drawn unchanged";

  int32_t ellipsisWidth = g->StringWidth(ellipsis);
  DrawablePane *alone = NewOffscreen(120, 40);
  Graphics *ag = alone->getGraphics();
  ag->DrawConstrainedString(text, 2, 20, ellipsisWidth - 1, ellipsis, nullptr);
  EXPECT_EQ(Ink(alone, 0, 0, 120, 40), InkOf(ellipsis, 0)) << "only the ellipsis, at x";
  EXPECT_EQ(ag->GetFace(), 0) << "the face comes back";
  Graphics::Release(ag);
  alone->removeReference();
}

TEST_F(PangoText, DrawStandardIconOnAPaneWithoutWidget) {
  g->DrawStandardIcon(0, 0, 0, 32, 32);
  EXPECT_GT(InkCount(pane), 20);
}

} // namespace
