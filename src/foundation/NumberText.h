// Decimal and hexadecimal text of numbers, four-character codes and the
// fixed byte forms of 16- and 32-bit values. Numbers are always written and
// read in the C locale, whatever locale the process runs under.
#pragma once
#include <cstdint>

#include "foundation/String.h"

// Skips spaces, takes one sign, then decimal digits; wraps on overflow.
long uatol(const char *text);
// The same, reading digits only while the offset is below length.
long uatol(const char *text, int length);
double uatod(const char *text);

// All results are tagged kEncodingASCII unless said otherwise.
string ultoa(long value);
string udtoa(double value, bool scientific); // "%e" or "%g"; -0 prints as 0
string ultohexa(unsigned long value);        // eight upper-case digits

// The code's bytes in host memory order, tagged kEncodingMacRoman, and back;
// text that is not exactly four Mac Roman bytes gives '????'.
string FourCharCodeToString(unsigned long code);
unsigned long StringToFourCharCode(const string &text);

string WriteShortAsBits(unsigned short value); // low byte first
string WriteLongAsBits(unsigned long value);   // high byte first
unsigned short ReadShortAsBits(const unsigned char *bytes);
unsigned long ReadLongAsBits(const unsigned char *bytes);
