// Conversion of text between two encoding tags through the C library's
// character-set converters.
#pragma once
#include <cstdint>

class string;

// The text's bytes converted to target and tagged with it, or the empty
// string when there is no converter between the two tags, a byte sequence is
// invalid in the text's own encoding, or a character has no form in target.
// Nothing is approximated or dropped.
string TranscodeText(const string &s, uint32_t target);

// True when the encoding's bytes 0x00 to 0x7F are the ASCII characters, so
// that pure-ASCII text can be relabelled to or from it unchanged. UTF-16 and
// the few byte encodings that put other signs there answer false.
bool EncodingKeepsASCII(uint32_t encoding);
