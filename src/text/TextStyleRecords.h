// The TextStyle byte string of styled edit fields: one record per character,
// in text order, with no header or terminator. A record is a flags byte
// (1 bold, 2 italic, 4 underline, 8 a font follows, 0x10 a colour follows),
// then, when flagged, a length byte and that many bytes of font name, then
// three bytes of red, green and blue, and last one byte of size.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/String.h"

class StyledTextDelegate;

// The attributes of one character as the writer sees them: the font as the
// language names it ("System" for the default) and 8-bit colour components.
struct TextStyleAttributes {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  string font;
  uint8_t red = 0, green = 0, blue = 0;
  int32_t size = 0;
};

// Writes records for characters; the font is written only when it differs,
// without regard to case, from the last one written ("System" before the
// first). The output grows as needed.
class TextStyleWriter {
public:
  TextStyleWriter() : mLastFont("System") {}
  // Appends count identical records for characters with these attributes.
  void Append(const TextStyleAttributes &attributes, int32_t count);
  string Result() const;
  const std::string &Bytes() const { return mBytes; }

private:
  std::string mBytes;
  string mLastFont;
};

// One record as read; a font name longer than a record can state is not
// possible, since the length is one byte read unsigned.
struct TextStyleRecord {
  uint8_t flags = 0;
  std::string font; // when flags & 8
  uint8_t red = 0, green = 0, blue = 0; // when flags & 0x10
  uint8_t size = 0;
};

// Reads the record at bytes[at...]; answers the bytes it took, or 0 when the
// record is cut short by the end of the bytes (lengths and sizes are read
// unsigned and every field is checked against what remains).
size_t ReadTextStyleRecord(const uint8_t *bytes, size_t length, size_t at,
                           TextStyleRecord &record);

// Applies the styles of the byte string to the first characters of a text of
// charCount characters through the target's range setters: runs of equal
// bold, italic, underline, font, colour and size are set once each. Reading
// stops at the end of the bytes, at a record cut short (the records before
// it stay applied), or when every character has had its record. Answers the
// number of records applied.
int32_t ApplyTextStyle(const string &style, int32_t charCount, StyledTextDelegate &target);
