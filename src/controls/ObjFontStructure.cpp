#include "controls/ObjFontStructure.h"

#include "runtime/objects/ValueEntryPoints.h"

void ObjFontStructure::CopyToFontStructure(FontStructure *font) const {
  font->name = string::Borrow(name);
  font->bold = bold;
  font->italic = italic;
  font->underline = underline;
  font->size = size;
}

FontStructure ObjFontStructure::getFont() const {
  FontStructure font;
  CopyToFontStructure(&font);
  return font;
}

void ObjFontStructure::SetName(stringStorage *newName) {
  RuntimeLockUnlockStrings(newName, name);
  name = newName;
}

void ObjFontStructure::Release() {
  RuntimeUnlockString(name);
  name = nullptr;
}
