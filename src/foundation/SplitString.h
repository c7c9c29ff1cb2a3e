// Splitting UTF-8 text at a separator character.
#pragma once
#include "foundation/SimpleVector.h"
#include "foundation/String.h"

// The alert of a separator above 255.
inline constexpr AlertSite kSplitSeparatorAlert{"../Universal/StringUtils", 35,
                                                "(unsigned long)sepChar <= 255"};

// Replaces the contents of pieces with the runs of text between occurrences
// of separator (a code point up to 255), each tagged UTF-8; an empty run is
// the empty string. A separator at the very end adds no empty last piece, and
// the empty text gives no pieces.
void SplitString(const string &text, unsigned long separator, SimpleVector<string> &pieces);
