// Small text utilities: label mnemonics ("&" markers), backslash escapes of
// bytes, and conversion to the font script of the language setting.
#pragma once
#include <cstdint>

#include "foundation/String.h"

// The language setting; 0, and nothing changes it.
extern "C" int32_t gLanguage;

// Removes the "&" markers of a label: "&&" leaves one "&", a final "&" goes,
// and the character after the last single marker becomes the mnemonic (0 for
// none). The mnemonic pointer may be null.
void StripAmpersand(string *text, uint32_t *mnemonic);
string StripAmpersand(const string &text, uint32_t *mnemonic);

// Printable escapes of every byte that is not printable ASCII, and back.
string EncodeBackslashEscape(const string &text);
string DecodeBackslashEscape(const string &text);

// The text in the encoding of the font script of gLanguage; text that
// cannot be converted stays as it is.
string ConvertToFontScript(const string &text);
