// The runtime's two standard fonts, which dialogs and list boxes read.
#pragma once
#include <cstdint>

#include "foundation/FontStructure.h"

extern FontStructure standardButtonFont; // "System" 12, read by the message dialogs
extern FontStructure gSmallDialogFont;   // "System" 10, read by the list boxes

void InitGlobals();            // fills gSmallDialogFont
void FillStandardButtonFont(); // fills standardButtonFont
