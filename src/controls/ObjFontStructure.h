// The font block a control class embeds among its own fields for its
// TextFont, TextSize, Bold, Italic and Underline properties.
#pragma once
#include <cstddef>
#include <cstdint>

#include "graphics/FontStructure.h"

struct stringStorage;

struct ObjFontStructure {
  stringStorage *name; // counted; nil for the default font
  int16_t size;
  uint8_t bold;
  uint8_t italic;
  uint8_t underline;

  // Fills font with the block's name, styles and size.
  void CopyToFontStructure(FontStructure *font) const;
  FontStructure getFont() const;
  // TextFont: keeps the new name, releasing the old one.
  void SetName(stringStorage *newName);
  // Releases the name, as the owning class's destructor does.
  void Release();
};
static_assert(sizeof(ObjFontStructure) == 12);
static_assert(offsetof(ObjFontStructure, size) == 4);
static_assert(offsetof(ObjFontStructure, bold) == 6);
static_assert(offsetof(ObjFontStructure, italic) == 7);
static_assert(offsetof(ObjFontStructure, underline) == 8);
