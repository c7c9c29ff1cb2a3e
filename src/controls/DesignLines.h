// The lines of a design-time text (a popup's rows, a tab panel's tabs).
#pragma once
#include <functional>

#include "foundation/String.h"

// Hands each line of the text to take, in the text's encoding, whatever its
// line endings; with zeroSeparates a zero byte ends a line as well. Empty
// lines come as "" (never nil); a line ending at the very end adds nothing,
// and an empty text has no lines.
void ForEachDesignLine(stringStorage *text, bool zeroSeparates,
                       const std::function<void(const string &)> &take);
