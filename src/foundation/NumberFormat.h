// Number text by format pattern (the engine of Format) and by count of
// significant digits (the engine of Str and CStr). Both write in the C locale:
// "." is the decimal point and "," the thousands separator whatever the
// user's locale.
#pragma once
#include "foundation/String.h"

// The number formatted by a pattern of up to three ";"-separated sections
// (positive; negative; zero) built from # 0 . , % E e + - ( ) and \ (which
// prints the next character). Other characters print nothing. "Scientific"
// (any case) stands for "-#.000000E+". The result carries the pattern's tag.
string FormatNumber(double value, const string &format);

// Modes of doubleStr.
enum : long { kDoubleStrScientific = 0, kDoubleStrFixed = 1, kDoubleStrAutomatic = -1 };

// The number with digits significant digits: fixed, scientific, or automatic
// (fixed from 0.00001 to 1000000 and for zero, else scientific). Fixed text
// loses trailing zeros and a trailing point. Tagged kEncodingASCII.
string doubleStr(double value, long mode, unsigned long digits);

// The separators the engines print: thousands ",", decimal ".", date "/" and
// time ":", tagged kEncodingASCII. Each output may be null.
void GetDigitSeparators(string *thousands, string *decimal, string *date, string *time);
