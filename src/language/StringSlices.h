// The language's length, part and character-code functions on text: byte
// forms (names ending in B) and character forms, which count code points in
// UTF-8 text, 16-bit units in UTF-16 text and bytes in every other text.
// Positions are 1-based. A part that covers the whole text shares its
// storage; an empty part is nil.
#pragma once
#include <cstdint>

#include "foundation/String.h"

// 1-based byte slices with the language's rules for starts below 1 and
// lengths past the end; counts are 64-bit so that doubled unit counts of
// UTF-16 text cannot wrap.
string LeftBytes(const string &text, int64_t n);
string RightBytes(const string &text, int64_t n);
string MidBytes(const string &text, int64_t start);
string MidBytes(const string &text, int64_t start, int64_t length);

extern "C" {
int32_t StringLen(stringStorage *text);
stringStorage *StringLeft(stringStorage *text, int32_t n);
stringStorage *StringRight(stringStorage *text, int32_t n);
stringStorage *StringMid2(stringStorage *text, int32_t start);
stringStorage *StringMid3(stringStorage *text, int32_t start, int32_t length);
int32_t StringAsc(stringStorage *text);
stringStorage *StringChr(int32_t n);

int32_t StringDBCSLen(stringStorage *text);
stringStorage *StringDBCSLeft(stringStorage *text, int32_t n);
stringStorage *StringDBCSRight(stringStorage *text, int32_t n);
stringStorage *StringDBCSMid2(stringStorage *text, int32_t start);
stringStorage *StringDBCSMid3(stringStorage *text, int32_t start, int32_t length);
int32_t StringDBCSAsc(stringStorage *text);
stringStorage *StringDBCSChr(int32_t n);
}
