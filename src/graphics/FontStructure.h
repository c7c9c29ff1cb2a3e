// A font as the language and the panes describe it: a family name, three
// style flags and a point size.
#pragma once
#include <cstdint>

#include "foundation/String.h"

struct FontStructure {
  string name; // empty or "System": the platform's default font
  uint8_t bold = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  int16_t size = 12;

  // Style bits 1 bold, 2 italic, 4 underline.
  int32_t Style() const { return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0); }
};
