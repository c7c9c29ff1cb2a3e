// The styles of a styled multi-line edit pane: text tags in its buffer.
// "bold", "italic" and "underline" exist from construction; a font, a size
// or a colour has one shared tag named by its prefix and value, made the
// first time that value is used, so the tag table grows with the number of
// values and not with the number of changes.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/TextEncodings.h"
#include "text/EditControlGTK.h"
#include "text/TextStyleRecords.h"
#include "windows/GTKHelper.h"

const char kTextFontName[] = "fontName";
const char kTextFontSize[] = "fontSize";
const char kTextForegroundColor[] = "foregroundColor";

namespace {

const char kBlack[] = "000000000000";

bool HasPrefix(const char *name, const char *prefix) {
  return name && g_ascii_strncasecmp(name, prefix, strlen(prefix)) == 0;
}

// The rest of the name of the character's tag with the prefix, or nil.
const char *ValueOfTags(GSList *tags, const char *prefix) {
  size_t skip = strlen(prefix);
  for (GSList *t = tags; t; t = t->next) {
    const char *name = GTK_TEXT_TAG(t->data)->name;
    if (HasPrefix(name, prefix))
      return name + skip;
  }
  return nullptr;
}

string UTF8(const char *text) {
  string s;
  if (text && *text)
    s.ConstructFromBuffer(text, static_cast<int>(strlen(text)), kEncodingUTF8);
  return s;
}

std::string ColorDigits(const QV::RGBColor &c) {
  char digits[13];
  snprintf(digits, sizeof digits, "%04X%04X%04X", c.red, c.green, c.blue);
  return digits;
}

QV::RGBColor ColorFromDigits(const char *digits) {
  QV::RGBColor c{0, 0, 0};
  if (strlen(digits) != 12)
    return c;
  char part[5] = {};
  uint16_t *slots[3] = {&c.red, &c.green, &c.blue};
  for (int i = 0; i < 3; ++i) {
    memcpy(part, digits + 4 * i, 4);
    *slots[i] = static_cast<uint16_t>(strtoul(part, nullptr, 16));
  }
  return c;
}

QV::RGBColor ColorOf(int32_t rrggbb) {
  return QV::RGBColor{static_cast<uint16_t>(((rrggbb >> 16) & 0xFF) * 257),
                      static_cast<uint16_t>(((rrggbb >> 8) & 0xFF) * 257),
                      static_cast<uint16_t>((rrggbb & 0xFF) * 257)};
}

int32_t PackColor(const QV::RGBColor &c) {
  return (c.red / 257) << 16 | (c.green / 257) << 8 | c.blue / 257;
}

} // namespace

void EditControlGTK::GetTextIterFromRange(int32_t start, int32_t length, GtkTextIter *startIter,
                                          GtkTextIter *endIter) {
  gtk_text_buffer_get_iter_at_offset(mBuffer, startIter, start);
  gtk_text_buffer_get_iter_at_offset(mBuffer, endIter, start + length);
}

bool EditControlGTK::StyledSelection(GtkTextIter *start, GtkTextIter *end) {
  if (!HasStyles())
    return false;
  MarkStale();
  return gtk_text_buffer_get_selection_bounds(mBuffer, start, end);
}

void EditControlGTK::RemoveTagsFromBuffer(const GtkTextIter *start, const GtkTextIter *end,
                                          const char *const *prefixes) {
  MarkStale();
  // Tags are taken off stretch by stretch: every character between two
  // toggles carries the same tags.
  GtkTextIter at = *start;
  while (gtk_text_iter_compare(&at, end) < 0) {
    GSList *tags = gtk_text_iter_get_tags(&at);
    for (GSList *t = tags; t; t = t->next) {
      GtkTextTag *tag = GTK_TEXT_TAG(t->data);
      for (const char *const *p = prefixes; *p; ++p)
        if (HasPrefix(tag->name, *p)) {
          gtk_text_buffer_remove_tag(mBuffer, tag, &at, end);
          break;
        }
    }
    g_slist_free(tags);
    if (!gtk_text_iter_forward_to_tag_toggle(&at, nullptr))
      break;
  }
}

string EditControlGTK::GetRangeTextAttribute(const char *prefix, const string &defaultValue,
                                             const GtkTextIter *start, const GtkTextIter *end) {
  if (!mView || gtk_text_iter_compare(start, end) >= 0)
    return defaultValue;
  string first;
  bool haveFirst = false;
  GtkTextIter at = *start;
  while (gtk_text_iter_compare(&at, end) < 0) {
    GSList *tags = gtk_text_iter_get_tags(&at);
    const char *found = ValueOfTags(tags, prefix);
    string value = found ? UTF8(found) : defaultValue;
    g_slist_free(tags);
    if (!haveFirst) {
      first = value;
      haveFirst = true;
    } else if (!value.EqualsIgnoringCase(first)) {
      return string("");
    }
    if (!gtk_text_iter_forward_to_tag_toggle(&at, nullptr))
      break;
  }
  return first;
}

void EditControlGTK::ApplyValueTag(const char *prefix, const std::string &value,
                                   const char *property, const void *propertyValue,
                                   const GtkTextIter *start, const GtkTextIter *end) {
  std::string name = prefix + value;
  GtkTextTagTable *table = gtk_text_buffer_get_tag_table(mBuffer);
  GtkTextTag *tag = gtk_text_tag_table_lookup(table, name.c_str());
  const char *const prefixes[] = {prefix, nullptr};
  RemoveTagsFromBuffer(start, end, prefixes);
  if (!tag) {
    if (strcmp(property, "size") == 0)
      tag = gtk_text_buffer_create_tag(mBuffer, name.c_str(), property,
                                       *static_cast<const gint *>(propertyValue), nullptr);
    else
      tag = gtk_text_buffer_create_tag(mBuffer, name.c_str(), property, propertyValue, nullptr);
  }
  gtk_text_buffer_apply_tag(mBuffer, tag, start, end);
}

void EditControlGTK::ApplyFont(const string &font, const GtkTextIter *start,
                               const GtkTextIter *end) {
  string family = GTKHelper::ToUTF8(GTKHelper::TranslateFontName(font, true));
  std::string name(family.CString(), static_cast<size_t>(family.Length()));
  ApplyValueTag(kTextFontName, name, "family", name.c_str(), start, end);
}

void EditControlGTK::ApplySize(int32_t size, const GtkTextIter *start, const GtkTextIter *end) {
  long points = GTKHelper::TranslateFontSize(size, true);
  if (points < 1)
    points = 1;
  gint pango = static_cast<gint>(points * PANGO_SCALE);
  ApplyValueTag(kTextFontSize, std::to_string(points), "size", &pango, start, end);
}

void EditControlGTK::ApplyColor(const QV::RGBColor &color, const GtkTextIter *start,
                                const GtkTextIter *end) {
  GdkColor c = {0, color.red, color.green, color.blue};
  ApplyValueTag(kTextForegroundColor, ColorDigits(color), "foreground-gdk", &c, start, end);
}

string EditControlGTK::FontOfRange(const GtkTextIter *start, const GtkTextIter *end) {
  string value = GetRangeTextAttribute(kTextFontName,
                                       GTKHelper::TranslateFontName(mFont.name, true), start, end);
  return value.IsEmpty() ? string("") : GTKHelper::TranslateFontName(value, false);
}

int32_t EditControlGTK::SizeOfRange(const GtkTextIter *start, const GtkTextIter *end) {
  string fallback(std::to_string(GTKHelper::TranslateFontSize(mFont.size, true)).c_str());
  string value = GetRangeTextAttribute(kTextFontSize, fallback, start, end);
  if (value.IsEmpty())
    return 0;
  return static_cast<int32_t>(GTKHelper::TranslateFontSize(atol(value.CString()), false));
}

QV::RGBColor EditControlGTK::ColorOfRange(const GtkTextIter *start, const GtkTextIter *end) {
  string value = GetRangeTextAttribute(kTextForegroundColor, string(kBlack), start, end);
  return ColorFromDigits(value.CString());
}

bool EditControlGTK::GetToggle(GtkTextTag *tag, const GtkTextIter *start,
                               const GtkTextIter *end) {
  if (!HasStyles() || !gtk_text_iter_has_tag(start, tag))
    return false;
  GtkTextIter at = *start;
  gtk_text_iter_forward_to_tag_toggle(&at, tag);
  return gtk_text_iter_compare(&at, end) >= 0;
}

bool EditControlGTK::GetSelectionToggle(GtkTextTag *tag) {
  if (!HasStyles())
    return false;
  GtkTextIter start, end;
  gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end);
  return GetToggle(tag, &start, &end);
}

#define SELECTION_STYLE(setter, getter, toggle, tagMember)                                         \
  void EditControlGTK::setter(bool on) {                                                           \
    GtkTextIter start, end;                                                                        \
    if (!StyledSelection(&start, &end))                                                            \
      return;                                                                                      \
    if (on)                                                                                        \
      gtk_text_buffer_apply_tag(mBuffer, tagMember, &start, &end);                                 \
    else                                                                                           \
      gtk_text_buffer_remove_tag(mBuffer, tagMember, &start, &end);                                \
  }                                                                                                \
  bool EditControlGTK::getter() { return GetSelectionToggle(tagMember); }                          \
  void EditControlGTK::toggle() { setter(!getter()); }

SELECTION_STYLE(setSelectionBold, getSelectionBold, toggleSelectionBold, mBoldTag)
SELECTION_STYLE(setSelectionItalic, getSelectionItalic, toggleSelectionItalic, mItalicTag)
SELECTION_STYLE(setSelectionUnderline, getSelectionUnderline, toggleSelectionUnderline,
                mUnderlineTag)

void EditControlGTK::setSelectionPlain(bool) {
  if (!mView)
    return;
  MarkStale();
  GtkTextIter start, end;
  if (!gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end))
    return;
  const char *const prefixes[] = {"bold", "italic", "underline", nullptr};
  RemoveTagsFromBuffer(&start, &end, prefixes);
}

void EditControlGTK::setSelectionTextFont(const string &font) {
  GtkTextIter start, end;
  if (StyledSelection(&start, &end))
    ApplyFont(font, &start, &end);
}

void EditControlGTK::setSelectionTextSize(int32_t size) {
  GtkTextIter start, end;
  if (StyledSelection(&start, &end))
    ApplySize(size, &start, &end);
}

void EditControlGTK::setSelectionTextColor(const QV::RGBColor &color) {
  GtkTextIter start, end;
  if (StyledSelection(&start, &end))
    ApplyColor(color, &start, &end);
}

// The value getters read the selection, or the character after the caret
// when nothing is selected; a single-line pane has only its own font.
string EditControlGTK::getSelectionTextFont() {
  if (!mView)
    return GTKHelper::TranslateFontName(GTKHelper::TranslateFontName(mFont.name, true), false);
  GtkTextIter start, end;
  if (!gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end))
    gtk_text_iter_forward_char(&end);
  return FontOfRange(&start, &end);
}

int32_t EditControlGTK::getSelectionTextSize() {
  if (!mView)
    return static_cast<int32_t>(
        GTKHelper::TranslateFontSize(GTKHelper::TranslateFontSize(mFont.size, true), false));
  GtkTextIter start, end;
  if (!gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end))
    gtk_text_iter_forward_char(&end);
  return SizeOfRange(&start, &end);
}

void EditControlGTK::getSelectionTextColor(QV::RGBColor *color) {
  if (!color)
    return;
  *color = QV::RGBColor{0, 0, 0};
  if (!mView)
    return;
  GtkTextIter start, end;
  if (!gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end))
    gtk_text_iter_forward_char(&end);
  *color = ColorOfRange(&start, &end);
}

void EditControlGTK::SetToggleRange(GtkTextTag *tag, int32_t start, int32_t length, bool on) {
  if (!HasStyles())
    return;
  MarkStale();
  GtkTextIter s, e;
  GetTextIterFromRange(start, length, &s, &e);
  if (on)
    gtk_text_buffer_apply_tag(mBuffer, tag, &s, &e);
  else
    gtk_text_buffer_remove_tag(mBuffer, tag, &s, &e);
}

void EditControlGTK::SetBoldRange(int32_t start, int32_t length, bool on) {
  SetToggleRange(mBoldTag, start, length, on);
}
void EditControlGTK::SetItalicRange(int32_t start, int32_t length, bool on) {
  SetToggleRange(mItalicTag, start, length, on);
}
void EditControlGTK::SetUnderlineRange(int32_t start, int32_t length, bool on) {
  SetToggleRange(mUnderlineTag, start, length, on);
}

#define VALUE_RANGE_SETTER(name, type, apply)                                                      \
  void EditControlGTK::name(int32_t start, int32_t length, type value) {                           \
    if (!HasStyles())                                                                              \
      return;                                                                                      \
    MarkStale();                                                                                   \
    GtkTextIter s, e;                                                                              \
    GetTextIterFromRange(start, length, &s, &e);                                                   \
    apply;                                                                                         \
  }

VALUE_RANGE_SETTER(SetFontRange, const string &, ApplyFont(value, &s, &e))
VALUE_RANGE_SETTER(SetSizeRange, int32_t, ApplySize(value, &s, &e))
VALUE_RANGE_SETTER(SetColorRange, int32_t, ApplyColor(ColorOf(value), &s, &e))

// The range getters answer for untagged text on a pane without styles and
// never report a mixed range.
#define RANGE_GETTER(name, type, none, read)                                                       \
  type EditControlGTK::name(int32_t start, int32_t length, bool *) {                               \
    if (!HasStyles())                                                                              \
      return none;                                                                                 \
    GtkTextIter s, e;                                                                              \
    GetTextIterFromRange(start, length, &s, &e);                                                   \
    return read;                                                                                   \
  }

RANGE_GETTER(GetBoldRange, bool, false, GetToggle(mBoldTag, &s, &e))
RANGE_GETTER(GetItalicRange, bool, false, GetToggle(mItalicTag, &s, &e))
RANGE_GETTER(GetUnderlineRange, bool, false, GetToggle(mUnderlineTag, &s, &e))
RANGE_GETTER(GetFontRange, string, string(""), FontOfRange(&s, &e))
RANGE_GETTER(GetSizeRange, int32_t, 0, SizeOfRange(&s, &e))
RANGE_GETTER(GetColorRange, int32_t, 0, PackColor(ColorOfRange(&s, &e)))

void EditControlGTK::AttributesAt(const GtkTextIter *at, TextStyleAttributes &a) {
  GtkTextIter end = *at;
  gtk_text_iter_forward_char(&end);
  a.bold = GetToggle(mBoldTag, at, &end);
  a.italic = GetToggle(mItalicTag, at, &end);
  a.underline = GetToggle(mUnderlineTag, at, &end);
  a.font = FontOfRange(at, &end);
  a.size = SizeOfRange(at, &end);
  QV::RGBColor c = ColorOfRange(at, &end);
  a.red = static_cast<uint8_t>(c.red / 257);
  a.green = static_cast<uint8_t>(c.green / 257);
  a.blue = static_cast<uint8_t>(c.blue / 257);
}

// One record per character; the characters between two tag toggles share
// their attributes, so they are read once per stretch.
string EditControlGTK::GetTextStyle() {
  TextStyleWriter writer;
  if (!mView) {
    TextStyleAttributes plain;
    plain.font = getSelectionTextFont();
    plain.size = getSelectionTextSize();
    writer.Append(plain, GetTextLength());
    return writer.Result();
  }
  GtkTextIter at;
  gtk_text_buffer_get_start_iter(mBuffer, &at);
  TextStyleAttributes attributes;
  while (!gtk_text_iter_is_end(&at)) {
    AttributesAt(&at, attributes);
    int32_t from = gtk_text_iter_get_offset(&at);
    gtk_text_iter_forward_to_tag_toggle(&at, nullptr);
    writer.Append(attributes, gtk_text_iter_get_offset(&at) - from);
  }
  return writer.Result();
}

void EditControlGTK::SetTextAndStyle(const string &text, const string &style) {
  MarkStale();
  SetText(text);
  int32_t records = ApplyTextStyle(style, GetTextLength(), *this);
  SetSelection(records + 1, records + 1);
}
