#include "runtime/startup/StandardFonts.h"

FontStructure standardButtonFont;
FontStructure gSmallDialogFont;

void InitGlobals() {
  gSmallDialogFont.name = string("System");
  gSmallDialogFont.size = 10;
  gSmallDialogFont.bold = gSmallDialogFont.italic = gSmallDialogFont.underline = 0;
}

void FillStandardButtonFont() {
  standardButtonFont.name = string("System");
  standardButtonFont.size = 12;
}
