// The process-wide byte tables of the string functions: upper- and
// lower-case byte, blank flag and lead-byte mark for each byte value. They
// are taken from the platform's locale on first use, which comes after the
// start-up has set the locale.
#pragma once
#include <cstdint>

class CharTables {
public:
  unsigned char upper[256];
  unsigned char lower[256];
  bool blank[256];    // space and tab only
  bool leadByte[256]; // the system code page is single-byte: all false

  // Makes this set the one the string functions read.
  void Apply();
  // The current set, built on the first call.
  static const CharTables &Current();
};

// Whether the byte leads a double-byte character: never, on this platform.
bool IsCharDBCS(unsigned char byte);
bool IsCharDBCS(unsigned char byte, int32_t unused);

inline unsigned char CharToUpper(unsigned char byte) { return CharTables::Current().upper[byte]; }
inline unsigned char CharToLower(unsigned char byte) { return CharTables::Current().lower[byte]; }
inline bool IsCharBlank(unsigned char byte) { return CharTables::Current().blank[byte]; }
