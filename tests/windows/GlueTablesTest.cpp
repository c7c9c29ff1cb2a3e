// The GTK+ glue's tables and conversions, window placement, and cursors.
#include <gtest/gtest.h>

#include <cstring>

#include "WindowsTestSupport.h"
#include "foundation/TextEncodings.h"
#include "runtime/image/ResourceManager.h"
#include "support/AlertRecorder.h"
#include "windows/GTKHelper.h"
#include "windows/MouseCursor.h"

extern "C" int32_t getFontCount();
extern "C" stringStorage *getFontName(int32_t index);

namespace {

std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }

TEST(GTKGlue, MnemonicsBecomeGTKMarks) {
  struct Case {
    const char *caption, *expected;
  } cases[] = {{"&File", "_File"}, {"Fish && Chips", "Fish & Chips"},
               {"a_b", "a__b"},    {"Save&", "Save_"},
               {"&&&x", "&_x"},    {"plain", "plain"}};
  for (const Case &c : cases)
    EXPECT_EQ(Text(GTKHelper::TranslateMnemonics(string(c.caption))), c.expected) << c.caption;
}

TEST(GTKGlue, FontNamesAndSizesTranslateBothWays) {
  EXPECT_EQ(GTKHelper::TranslateFontSize(12, true), 9);
  EXPECT_EQ(GTKHelper::TranslateFontSize(0, true), 9);
  EXPECT_EQ(GTKHelper::TranslateFontSize(-4, true), 9);
  EXPECT_EQ(GTKHelper::TranslateFontSize(9, false), 12);
  EXPECT_EQ(Text(GTKHelper::TranslateFontName(string(), true)), "Sans");
  EXPECT_EQ(Text(GTKHelper::TranslateFontName(string("system"), true)), "Sans");
  EXPECT_EQ(Text(GTKHelper::TranslateFontName(string("Courier"), true)), "Courier");
  EXPECT_EQ(Text(GTKHelper::TranslateFontName(string("Sans"), false)), "System");
  EXPECT_EQ(Text(GTKHelper::TranslateFontName(string("Serif"), false)), "Serif");
}

TEST(GTKGlue, FontListStartsWithSystemAndEndsAtTheCount) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  long count = GTKHelper::GetFontCount();
  EXPECT_GE(count, 1);
  EXPECT_EQ(GTKHelper::GetFontCount(), count);
  EXPECT_EQ(Text(GTKHelper::GetFontName(0)), "System");
  EXPECT_TRUE(GTKHelper::GetFontName(count).IsEmpty());
  EXPECT_TRUE(GTKHelper::GetFontName(-1).IsEmpty());
  if (count > 1)
    EXPECT_FALSE(GTKHelper::GetFontName(1).IsEmpty());
  EXPECT_EQ(getFontCount(), count);
  stringStorage *system = getFontName(0);
  EXPECT_EQ(Text(string::Adopt(system)), "System");
  EXPECT_EQ(getFontName(-1), nullptr);
}

TEST(GTKGlue, FontDescriptionsFallBackToSansAtTheSameSize) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  FontStructure system;
  PangoFontDescription *d = GTKHelper::GetPangoFontDescription(&system);
  EXPECT_STREQ(pango_font_description_get_family(d), "Sans");
  EXPECT_EQ(pango_font_description_get_size(d), 9 * PANGO_SCALE);
  pango_font_description_free(d);
  FontStructure bold;
  bold.name = string("Courier");
  bold.bold = bold.italic = 1;
  bold.size = 15;
  d = GTKHelper::GetPangoFontDescription(&bold);
  EXPECT_EQ(pango_font_description_get_weight(d), PANGO_WEIGHT_BOLD);
  EXPECT_EQ(pango_font_description_get_style(d), PANGO_STYLE_ITALIC);
  EXPECT_EQ(pango_font_description_get_size(d), 12 * PANGO_SCALE);
  pango_font_description_free(d);
}

TEST(GTKGlue, CaptionsTakeMnemonicsAndUnderlining) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  GtkWidget *label = gtk_label_new("");
  g_object_ref_sink(label);
  FontStructure underlined;
  underlined.underline = 1;
  GTKHelper::SetCaption(label, string("&Save a_b"), &underlined);
  EXPECT_STREQ(gtk_label_get_label(GTK_LABEL(label)), "_Save a__b");
  EXPECT_EQ(gtk_label_get_mnemonic_keyval(GTK_LABEL(label)), static_cast<guint>('s'));
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label)), "Save a_b");
  PangoAttrList *attrs = gtk_label_get_attributes(GTK_LABEL(label));
  EXPECT_EQ(attrs, nullptr) << "the underline comes from the pattern, not attributes";
  gtk_widget_destroy(label);
  g_object_unref(label);
}

TEST(GTKGlue, ClipboardAndScreenDepthAreAskedOnce) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  GtkClipboard *clipboard = GTKHelper::GetClipboard();
  EXPECT_EQ(clipboard, gtk_clipboard_get(gdk_atom_intern("CLIPBOARD", FALSE)));
  EXPECT_EQ(GTKHelper::GetClipboard(), clipboard);
  EXPECT_EQ(GTKHelper::GetBestSupportedDepth(), 24) << "the test server's screen";
}

TEST(GTKGlue, CharacterCodesOfKeyValues) {
  struct Case {
    guint keyval;
    int code;
  } cases[] = {{0xFF0D, 13},   {0xFF8D, 3},  {0xFE20, 9},  {0xFF09, 9},  {0xFF1B, 27},
               {0xFF08, 8},    {0xFF51, 28}, {0xFF53, 29}, {0xFF52, 30}, {0xFF54, 31},
               {0xFF50, 1},    {0xFF57, 4},  {0xFF55, 11}, {0xFF56, 12}, {0xFFFF, 127},
               {0xFFB5, 0xB5}, {0xFFAB, 43}, {0xFFBD, 61}, {'a', 'a'},   {0xE9, 0xE9}};
  for (const Case &c : cases)
    EXPECT_EQ(GTKHelper::GetCharCodeFromKeyCode(c.keyval, 0), c.code) << std::hex << c.keyval;
}

TEST(GTKGlue, HeldKeysFollowPressesAndReleasesByKeycode) {
  GTKHelper::ForgetKeysPressed();
  GTKHelper::NoteKeyEvent(true, 'a', 38);
  GTKHelper::NoteKeyEvent(true, 'b', 56);
  GTKHelper::NoteKeyEvent(true, 'b', 56); // auto-repeat
  GTKHelper::NoteKeyEvent(false, 'a', 38);
  ASSERT_EQ(GTKHelper::KeysPressed().count(), 1);
  EXPECT_EQ(*GTKHelper::KeysPressed().begin(), 'b');

  // Pressed as "b", released as "B" after Shift went down: it lets go.
  GTKHelper::NoteKeyEvent(false, 'B', 56);
  EXPECT_EQ(GTKHelper::KeysPressed().count(), 0);

  // "a" held until it repeats, Shift pressed, so that it repeats as "A",
  // then both released: nothing stays held.
  GTKHelper::NoteKeyEvent(true, 'a', 38);
  GTKHelper::NoteKeyEvent(true, 'a', 38);
  GTKHelper::NoteKeyEvent(true, 0xFFE1, 50);
  GTKHelper::NoteKeyEvent(true, 'A', 38);
  GTKHelper::NoteKeyEvent(true, 'A', 38);
  EXPECT_EQ(GTKHelper::KeysPressed().count(), 2);
  GTKHelper::NoteKeyEvent(false, 'A', 38);
  GTKHelper::NoteKeyEvent(false, 0xFFE1, 50);
  EXPECT_EQ(GTKHelper::KeysPressed().count(), 0);
  EXPECT_FALSE(GTKHelper::IsKeyDown(0));

  GTKHelper::NoteKeyEvent(true, 0xFF0D, 36);
  EXPECT_TRUE(GTKHelper::IsKeyDown(36));
  EXPECT_TRUE(GTKHelper::IsKeyDown(0xFF0D));
  EXPECT_FALSE(GTKHelper::IsKeyDown(53));
  GTKHelper::NoteKeyEvent(true, 'q', 24);
  EXPECT_TRUE(GTKHelper::IsKeyDown(12)) << "letters match in either case";
  EXPECT_FALSE(GTKHelper::IsKeyDown(10)) << "an unlisted code is never down";
  GTKHelper::ForgetKeysPressed();
}

TEST(GTKGlue, VirtualKeysOfTheClassicLayout) {
  struct Case {
    int code;
    guint keyval;
  } cases[] = {{0, 'A'},      {46, 'M'},     {18, '1'},     {29, '0'},     {24, '='},
               {27, '-'},     {42, '\\'},    {43, ','},     {50, '`'},     {36, 0xFF0D},
               {76, 0xFF8D},  {92, 0xFFB9},  {122, 0xFFBE}, {111, 0xFFC9}, {105, 0xFF15},
               {117, 0xFFFF}, {126, 0xFF52}, {10, 0},       {52, 0},       {127, 0}};
  for (const Case &c : cases)
    EXPECT_EQ(GTKHelper::KeyValueForVirtualKey(c.code), c.keyval) << c.code;
}

// Text of every tag reaches GTK+ and Pango as UTF-8: converted by its tag,
// with what its encoding does not allow (and zero bytes) replaced by U+FFFD
// one unit at a time, so the rest still shows.
TEST(GTKGlue, TextOfEveryTagReachesGTKAsUTF8) {
  constexpr uint32_t kLatin1 = 0x0201, kWindowsLatin1 = 0x0500, kShiftJIS = 0x0A01,
                     kNoConverter = 0x0001;
  struct Case {
    const char *name;
    std::string bytes;
    uint32_t tag;
    std::string expected;
  } cases[] = {
      {"Mac Roman", "caf\x8E \xA5\xD2", kEncodingMacRoman, "caf\xC3\xA9 \xE2\x80\xA2\xE2\x80\x9C"},
      {"Mac Roman zero byte", std::string("a\0b", 3), kEncodingMacRoman, "a\xEF\xBF\xBD" "b"},
      {"Latin-1", "caf\xE9 \x80\xFF", kLatin1, "caf\xC3\xA9 \xC2\x80\xC3\xBF"},
      {"Windows Latin-1", "\x80 caf\xE9", kWindowsLatin1, "\xE2\x82\xAC caf\xC3\xA9"},
      {"Windows Latin-1 byte without a character", "a\x81" "b", kWindowsLatin1,
       "a\xEF\xBF\xBD" "b"},
      {"UTF-16 with a pair", std::string("a\0\xE9\0\x3D\xD8\x00\xDE", 8), kEncodingUTF16,
       "a\xC3\xA9\xF0\x9F\x98\x80"},
      {"UTF-16 lone surrogate and odd byte", std::string("\x00\xDC" "b\0" "c", 5), kEncodingUTF16,
       "\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
      {"UTF-8", "\xC3\xA9t\xC3\xA9", kEncodingUTF8, "\xC3\xA9t\xC3\xA9"},
      {"UTF-8 bad bytes", std::string("a\xFF\0b\xC3", 5), kEncodingUTF8,
       "a\xEF\xBF\xBD\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
      {"untagged", "\xC3\xA9t\xE9", kEncodingUnknown, "\xC3\xA9t\xEF\xBF\xBD"},
      {"ASCII", "plain", kEncodingASCII, "plain"},
      {"Shift-JIS", "\x82\xA0" "a", kShiftJIS, "\xE3\x81\x82" "a"},
      {"Shift-JIS cut short", "a\x82", kShiftJIS, "a\xEF\xBF\xBD"},
      {"a tag without a converter", "ab\x82\xA0", kNoConverter, "ab\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case &c : cases) {
    string text;
    text.ConstructFromBuffer(c.bytes.data(), static_cast<int>(c.bytes.size()), c.tag);
    EXPECT_EQ(Text(GTKHelper::ToUTF8(text)), c.expected) << c.name;
  }
}

// One 1024 x 768 screen, all of it available.
int32_t OneScreen() { return 1; }
bool Screen1024(int32_t i, ScreenRect *s) {
  if (i != 0)
    return false;
  *s = ScreenRect{0, 0, 1024, 768, 0, 0, 1024, 768};
  return true;
}

class Placement : public testing::Test {
protected:
  void SetUp() override { mOld = SetScreenSource(ScreenSource{OneScreen, Screen1024}); }
  void TearDown() override { SetScreenSource(mOld); }
  ScreenSource mOld;
};

TEST_F(Placement, CentredPlacementsOnTheMainScreen) {
  QV::Rect r = MakeRect(0, 0, 400, 300);
  WindowPlacement(&r, 2, Window::kWindowTypeDocument);
  EXPECT_EQ(r.left, 312);
  EXPECT_EQ(r.top, 156);
  r = MakeRect(0, 0, 400, 300);
  WindowPlacement(&r, 5, Window::kWindowTypeDefault);
  EXPECT_EQ(r.left, 312);
  EXPECT_EQ(r.top, 234);
  r = MakeRect(10, 20, 410, 320);
  WindowPlacement(&r, 0, Window::kWindowTypeDocument);
  EXPECT_EQ(r.left, 14);
  EXPECT_EQ(r.top, 120);
  r = MakeRect(0, 0, 100, 100);
  WindowPlacement(&r, 4, Window::kWindowTypeModal);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 50);
}

TEST_F(Placement, ConstrainingKeepsTheSizeOrCutsIt) {
  QV::Rect r = MakeRect(-50, 0, 50, 100);
  ConstrainRectToAvoidDockEtc(&r, 0);
  EXPECT_EQ(r.top, 25);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 125);
  EXPECT_EQ(r.right, 102);

  r = MakeRect(1000, 700, 1100, 800);
  ConstrainRectToAvoidDockEtc(&r, 0);
  EXPECT_EQ(r.right, 1022);
  EXPECT_EQ(r.bottom, 766);
  r = MakeRect(-10, 10, 2000, 900);
  ConstrainRectToAvoidDockEtc(&r, 1);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 25);
  EXPECT_EQ(r.right, 1022);
  EXPECT_EQ(r.bottom, 766);
}

TEST_F(Placement, ScreensAndLegalPositions) {
  QV::Rect far = MakeRect(5000, 5000, 5100, 5100);
  EXPECT_EQ(GetBestScreenNumForRect(&far), 0);
  QV::Rect on = MakeRect(100, 100, 300, 300);
  EXPECT_TRUE(LegalWindowPosition(&on));
  QV::Rect thin = MakeRect(100, 100, 110, 300);
  EXPECT_FALSE(LegalWindowPosition(&thin));
  EXPECT_FALSE(LegalWindowPosition(&far));
  AlertRecorder alerts;
  WindowPlacement(nullptr, 2, Window::kWindowTypeDocument);
  EXPECT_TRUE(alerts.saw("rBounds"));
}

TEST(MouseCursors, StandardAndCustomRecords) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  RuntimeObject *arrow = getArrowCursor();
  ASSERT_NE(arrow, nullptr);
  auto *record = reinterpret_cast<MouseCursorObject *>(arrow)->record;
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->cursor, nullptr) << "the arrow is the default cursor";
  RuntimeObject *w1 = getWatchCursor(), *w2 = getWatchCursor();
  GdkCursor *c2 = reinterpret_cast<MouseCursorObject *>(w2)->record->cursor;
  // GDK may share one cursor between them; each record holds its own reference.
  EXPECT_NE(reinterpret_cast<MouseCursorObject *>(w1)->record,
            reinterpret_cast<MouseCursorObject *>(w2)->record);
  RuntimeUnlockObject(w1);
  EXPECT_EQ(gdk_cursor_get_cursor_type(c2), GDK_WATCH) << "the other stays intact";
  RuntimeUnlockObject(w2);
  RuntimeUnlockObject(arrow);
  RuntimeObject *ibeam = getIBeamCursor();
  EXPECT_EQ(
      gdk_cursor_get_cursor_type(reinterpret_cast<MouseCursorObject *>(ibeam)->record->cursor),
      GDK_XTERM);
  RuntimeUnlockObject(ibeam);

  EXPECT_EQ(GetCustomCursor(6602, 0), nullptr);
  EXPECT_EQ(GetCustomCursor(6603, 0), nullptr);
  MouseCursor *resize = GetCustomCursor(6601, 0);
  EXPECT_EQ(gdk_cursor_get_cursor_type(resize->cursor), GDK_SB_H_DOUBLE_ARROW);
  DisposeMouseCursor(resize);
  MouseCursor *standard = GetStandardCursor(1);
  EXPECT_EQ(standard->cursor, nullptr);
  DisposeMouseCursor(standard);
  EXPECT_EQ(ShowStandardCursor(), ShowStandardCursor());
  AlertRecorder alerts;
  ShowWaitCursor();
  EXPECT_EQ(alerts.count(), 1u);
}

TEST(MouseCursors, CursorResourcesNeedTheirWholeRecord) {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  uint8_t data[68] = {};
  data[0] = 0x80; // the leftmost pixel of the first row
  data[65] = 3;
  data[67] = 5;
  gResourceManager.Add(FourCharCode("CURS"), 128, data, sizeof data, 0);
  gResourceManager.Add(FourCharCode("CURS"), 129, data, 67, 0);
  RuntimeObject *cursor = gResourceManager.GetCursor(128);
  ASSERT_NE(cursor, nullptr);
  MouseCursor *record = reinterpret_cast<MouseCursorObject *>(cursor)->record;
  EXPECT_EQ(record->id, 128);
  EXPECT_EQ(gdk_cursor_get_cursor_type(record->cursor), GDK_CURSOR_IS_PIXMAP);
  RuntimeUnlockObject(cursor);
  EXPECT_EQ(gResourceManager.GetCursor(129), nullptr) << "short of 68 bytes";
  EXPECT_EQ(gResourceManager.GetCursor(130), nullptr) << "absent";
}

} // namespace
