// Case conversion and trimming of text. UTF-8 text is mapped code point by
// code point and UTF-16 text unit by unit through the Unicode case tables;
// other text byte by byte through the locale's tables. Only space and tab
// are trimmed.
#pragma once
#include "foundation/String.h"

string UppercaseText(const string &text);
string LowercaseText(const string &text);
// The first letter of each word upper-cased, the rest lower-cased; text that
// is neither UTF-8 nor UTF-16 comes back unchanged.
string TitlecaseText(const string &text);
string TrimText(const string &text, bool leading, bool trailing);

extern "C" {
stringStorage *StringUCase(stringStorage *text);
stringStorage *StringLCase(stringStorage *text);
stringStorage *StringTitleCase(stringStorage *text);
stringStorage *runTrim(stringStorage *text);
stringStorage *runLTrim(stringStorage *text);
stringStorage *runRTrim(stringStorage *text);
}
