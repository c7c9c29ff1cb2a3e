// A font as the language, the panes and the drawing code describe it: a
// family name, three style flags and a point size. Controls keep one and
// re-apply it to their widgets only when CopyFont reports a change.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"

struct FontStructure {
  string name; // empty or "System": the platform's default font
  uint8_t bold = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  int16_t size = 12;

  // Style bits 1 bold, 2 italic, 4 underline.
  int32_t getMacStyle() const { return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0); }
  int32_t Style() const { return getMacStyle(); }
  // Turns on the flags whose bits are present; never turns one off.
  void SetMacStyle(unsigned char bits) {
    if (bits & 1)
      bold = 1;
    if (bits & 2)
      italic = 1;
    if (bits & 4)
      underline = 1;
  }
  // Copies other when it differs (the name compared with case); answers
  // whether anything changed.
  bool CopyFont(const FontStructure &other) {
    if (name.CompareWithCase(other.name) == 0 && size == other.size && bold == other.bold &&
        italic == other.italic && underline == other.underline)
      return false;
    name = other.name;
    bold = other.bold;
    italic = other.italic;
    underline = other.underline;
    size = other.size;
    return true;
  }
  void EstablishFont() {}
};
static_assert(offsetof(FontStructure, bold) == 4 && offsetof(FontStructure, size) == 8);
