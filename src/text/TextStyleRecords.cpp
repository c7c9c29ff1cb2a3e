#include "text/TextStyleRecords.h"

#include "foundation/TextEncodings.h"
#include "text/StyledTextDelegate.h"

namespace {

constexpr uint8_t kBold = 0x01, kItalic = 0x02, kUnderline = 0x04, kFont = 0x08, kColor = 0x10;
// The length byte of a font entry states at most this many bytes.
constexpr int kLongestFontName = 255;

} // namespace

void TextStyleWriter::Append(const TextStyleAttributes &a, int32_t count) {
  if (count <= 0)
    return;
  uint8_t styleFlags = (a.bold ? kBold : 0) | (a.italic ? kItalic : 0) |
                       (a.underline ? kUnderline : 0);
  bool colored = a.red || a.green || a.blue;
  if (colored)
    styleFlags |= kColor;
  const auto size = static_cast<char>(static_cast<uint8_t>(a.size));
  const char rgb[3] = {static_cast<char>(a.red), static_cast<char>(a.green),
                       static_cast<char>(a.blue)};
  for (int32_t i = 0; i < count; ++i) {
    uint8_t flags = styleFlags;
    bool newFont = i == 0 && !a.font.EqualsIgnoringCase(mLastFont);
    if (newFont)
      flags |= kFont;
    mBytes.push_back(static_cast<char>(flags));
    if (newFont) {
      int length = a.font.Length() < kLongestFontName ? a.font.Length() : kLongestFontName;
      mBytes.push_back(static_cast<char>(length));
      mBytes.append(a.font.CString(), static_cast<size_t>(length));
      mLastFont = a.font;
    }
    if (colored)
      mBytes.append(rgb, 3);
    mBytes.push_back(size);
  }
}

string TextStyleWriter::Result() const {
  string result;
  if (!mBytes.empty())
    result.ConstructFromBuffer(mBytes.data(), static_cast<int>(mBytes.size()));
  return result;
}

size_t ReadTextStyleRecord(const uint8_t *bytes, size_t length, size_t at,
                           TextStyleRecord &record) {
  size_t p = at;
  if (p >= length)
    return 0;
  record.flags = bytes[p++];
  record.font.clear();
  if (record.flags & kFont) {
    if (p >= length)
      return 0;
    size_t fontLength = bytes[p++];
    if (fontLength > length - p)
      return 0;
    record.font.assign(reinterpret_cast<const char *>(bytes + p), fontLength);
    p += fontLength;
  }
  if (record.flags & kColor) {
    if (length - p < 3)
      return 0;
    record.red = bytes[p];
    record.green = bytes[p + 1];
    record.blue = bytes[p + 2];
    p += 3;
  }
  if (p >= length)
    return 0;
  record.size = bytes[p++];
  return p - at;
}

namespace {

// One attribute's open run while the records are read: where it began, or
// -1 when none is open, and its value.
template <typename T>
struct OpenRun {
  int32_t start = -1;
  T value{};
  bool IsOpen() const { return start >= 0; }
};

} // namespace

int32_t ApplyTextStyle(const string &style, int32_t charCount, StyledTextDelegate &target) {
  const auto *bytes = reinterpret_cast<const uint8_t *>(style.CString());
  const auto length = static_cast<size_t>(style.Length());
  OpenRun<bool> styles[3];
  using StyleSetter = void (StyledTextDelegate::*)(int32_t, int32_t, bool);
  const StyleSetter setters[3] = {&StyledTextDelegate::SetBoldRange,
                                  &StyledTextDelegate::SetItalicRange,
                                  &StyledTextDelegate::SetUnderlineRange};
  OpenRun<std::string> font;
  OpenRun<int32_t> color;
  OpenRun<int32_t> size;
  auto closeFont = [&](int32_t end) {
    if (font.IsOpen() && !font.value.empty()) {
      string name;
      name.ConstructFromBuffer(font.value.data(), static_cast<int>(font.value.size()),
                               kEncodingUTF8);
      target.SetFontRange(font.start, end - font.start, name);
    }
    font.start = -1;
  };
  auto closeColor = [&](int32_t end) {
    if (color.IsOpen())
      target.SetColorRange(color.start, end - color.start, color.value);
    color.start = -1;
  };
  auto closeSize = [&](int32_t end) {
    if (size.IsOpen())
      target.SetSizeRange(size.start, end - size.start, size.value);
    size.start = -1;
  };

  int32_t i = 0;
  size_t at = 0;
  TextStyleRecord record;
  for (; i < charCount; ++i) {
    size_t taken = ReadTextStyleRecord(bytes, length, at, record);
    if (!taken)
      break;
    at += taken;
    for (int s = 0; s < 3; ++s) {
      bool on = record.flags & (1 << s);
      if (on && !styles[s].IsOpen()) {
        styles[s].start = i;
      } else if (!on && styles[s].IsOpen()) {
        (target.*setters[s])(styles[s].start, i - styles[s].start, true);
        styles[s].start = -1;
      }
    }
    if (record.flags & kFont) {
      closeFont(i);
      font.start = i;
      font.value = record.font;
    }
    if (record.flags & kColor) {
      int32_t rgb = record.red << 16 | record.green << 8 | record.blue;
      if (color.IsOpen() && color.value != rgb)
        closeColor(i);
      if (!color.IsOpen()) {
        color.start = i;
        color.value = rgb;
      }
    } else {
      closeColor(i);
    }
    if (!size.IsOpen() || size.value != record.size) {
      closeSize(i);
      size.start = i;
      size.value = record.size;
    }
  }
  for (int s = 0; s < 3; ++s)
    if (styles[s].IsOpen())
      (target.*setters[s])(styles[s].start, i - styles[s].start, true);
  closeFont(i);
  closeColor(i);
  closeSize(i);
  return i;
}
