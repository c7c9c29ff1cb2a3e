// Reading numbers from text: Val with its well-formedness flag, CDbl in the
// process locale, and the radix digit parsers behind "&h", "&o" and "&b".
#pragma once
#include <cstdint>

#include "foundation/String.h"

// The number at the start of text: a decimal number read with "." as the
// decimal point whatever the locale, or "&h", "&o", "&b" digits. When flag is
// given it receives 0 for a well-formed number and 1 otherwise.
double StringValHelper(const string &text, uint8_t *flag);

// True when the text is a well-formed number: optional blanks, a sign, digits
// and commas, a fraction, an exponent (see the grammar in the source).
bool IsWellFormedNumber(const char *text);

// Digits of base 16, 8 or 2 in count bytes. Every other byte sets the flag
// (when given) and is skipped; the value wraps at 32 bits.
int32_t HexVal(const char *bytes, int32_t count, uint8_t *flag);
int32_t OctVal(const char *bytes, int32_t count, uint8_t *flag);
int32_t BinVal(const char *bytes, int32_t count, uint8_t *flag);

extern "C" {
double StringVal(stringStorage *text);
// The number of a text written in the process locale's separators.
double runCDbl(stringStorage *text);
}
