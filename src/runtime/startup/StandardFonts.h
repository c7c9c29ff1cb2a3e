// The runtime's two standard fonts, which dialogs and list boxes read.
#pragma once
#include <cstdint>

#include "foundation/String.h"

struct FontStructure {
  string name;
  int32_t size = 0;
  uint8_t bold = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
};

extern FontStructure standardButtonFont; // "System" 12, read by the message dialogs
extern FontStructure gSmallDialogFont;   // "System" 10, read by the list boxes

void InitGlobals();            // fills gSmallDialogFont
void FillStandardButtonFont(); // fills standardButtonFont
