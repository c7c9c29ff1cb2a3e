// The clipboard application's clipboard view, made as its window makes it:
// the design-time property stream first, then CreatePane.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "EditFieldFixture.h"
#include "controls/ControlEntryPoints.h"
#include "foundation/TextEncodings.h"
#include "support/AlertRecorder.h"

namespace {

// Records as the compiler writes them: a big-endian property index, then the
// value in the encoding of the property's type.
class Stream {
public:
  Stream &Boolean(uint16_t index) { return Index(index).Put({1}); }
  Stream &Integer(uint16_t index, uint32_t v) { return Index(index).Long(v); }
  Stream &Colour(uint16_t index, uint32_t rrggbb) {
    return Index(index).Put({static_cast<char>(rrggbb >> 16), static_cast<char>(rrggbb >> 8),
                             static_cast<char>(rrggbb)});
  }
  Stream &Text(uint16_t index, const std::string &s) {
    Index(index).Long(static_cast<uint32_t>(s.size()));
    mBytes += s;
    return *this;
  }
  string bytes() const {
    string s;
    s.ConstructFromBuffer(mBytes.data(), static_cast<int>(mBytes.size()));
    return s;
  }

private:
  Stream &Index(uint16_t i) { return Put({static_cast<char>(i >> 8), static_cast<char>(i)}); }
  Stream &Long(uint32_t v) {
    return Put({static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                static_cast<char>(v)});
  }
  Stream &Put(std::initializer_list<char> bytes) {
    mBytes.append(bytes.begin(), bytes.end());
    return *this;
  }
  std::string mBytes;
};

// Indices in the stream: RectControl's properties, then the EditField's.
enum : uint16_t {
  kName = 0,
  kLeft = 12,
  kTop,
  kWidth,
  kHeight,
  kBorder = 27,
  kMultiLine = 28,
  kReadOnly = 29,
  kAcceptTabs = 32,
  kBackColor = 34,
  kScrollBarVertical = 36,
  kScrollBar = 37,
  kTextFont = 38,
  kTextSize = 39,
  kUseFocusRing = 59,
  kAlignment = 62,
};

using EditFieldStreamTest = EditFieldFixture;

TEST_F(EditFieldStreamTest, ClipContentsFieldShowsAndReturnsALargeText) {
  AlertRecorder alerts;
  RuntimeObject *field = NewField(0, 0, 0, 0, false);
  string stream = Stream()
                      .Text(kName, "ClipContentsField")
                      .Integer(kLeft, 20).Integer(kTop, 68).Integer(kWidth, 285).Integer(kHeight, 75)
                      .Text(kTextFont, "System").Integer(kTextSize, 10)
                      .Boolean(kBorder).Boolean(kMultiLine).Boolean(kReadOnly).Boolean(kAcceptTabs)
                      .Boolean(kScrollBar).Boolean(kScrollBarVertical).Boolean(kUseFocusRing)
                      .Integer(kAlignment, 1).Colour(kBackColor, 0xFFFFFF)
                      .bytes();
  RuntimeMassPropertySetter(field, stream.Storage());
  EditCreatePane(field);
  EXPECT_EQ(alerts.count(), 0u);

  EditControlGTK *pane = PaneOf(field);
  ASSERT_NE(pane, nullptr);
  EXPECT_TRUE(pane->IsMultiline());
  EXPECT_TRUE(pane->IsReadOnly());
  EXPECT_TRUE(pane->AcceptsTabs());
  EXPECT_TRUE(pane->UseFocusRing());
  EXPECT_EQ(pane->Alignment(), 1);
  EXPECT_EQ(pane->Bounds().left, 20);
  EXPECT_EQ(pane->Bounds().bottom, 68 + 75);
  FontStructure font;
  pane->getFont(font);
  EXPECT_STREQ(font.name.CString(), "System");
  EXPECT_EQ(font.size, 10);
  GtkScrolledWindow *scroller = GTK_SCROLLED_WINDOW(pane->GetWidget());
  GtkPolicyType horizontal, vertical;
  gtk_scrolled_window_get_policy(scroller, &horizontal, &vertical);
  EXPECT_EQ(horizontal, GTK_POLICY_NEVER);
  EXPECT_EQ(vertical, GTK_POLICY_AUTOMATIC);
  EXPECT_EQ(gtk_scrolled_window_get_shadow_type(scroller), GTK_SHADOW_ETCHED_IN);
  EXPECT_EQ(gtk_text_view_get_wrap_mode(pane->TextView()), GTK_WRAP_WORD);

  std::string big;
  while (big.size() < 100 * 1024)
    big += "line \xC3\xA9\xE2\x82\xAC\t\"quoted\"\r\n";
  string text;
  text.ConstructFromBuffer(big.data(), static_cast<int>(big.size()));
  text.SetEncoding(kEncodingUTF8);
  editTextSetter(field, 0, text.Storage());
  EXPECT_EQ(TextOf(field), big);
}

} // namespace
