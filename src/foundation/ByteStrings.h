// Zero-terminated byte strings and byte runs: length, copy, compare (with and
// without case), fill and search. Case-insensitive comparison throughout the
// runtime folds bytes through the one Mac Roman upper-case table below.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"

// The alert of ustrlen given a null pointer.
inline constexpr AlertSite kUstrlenNullAlert{"../Universal/utility", 377, "str"};

// Each byte mapped to its Mac Roman capital (ASCII letters, accented vowels,
// ñ, ç, æ, ø, œ, ÿ and dotless i); every other byte maps to itself.
extern const unsigned char kMacRomanUpperCase[256];

inline unsigned char utoupper(unsigned char c) { return kMacRomanUpperCase[c]; }

// Byte count before the zero; a null pointer alerts and counts as empty.
int ustrlen(const char *str);
void ustrcpy(char *dst, const char *src);
// Appends src and a zero at the end of the text *dst points to.
void ustrcat(char **dst, const char *src);
// Copies a length-prefixed string: the length byte and that many bytes.
void pstrcpy(unsigned char *dst, const unsigned char *src);
// A copy from OSalloc (kMemFullQuit); release it with OSfree.
char *OSstrdup(const char *src);

// -1, 0 or 1. The zero-terminated forms order a null pointer first; the
// counted forms put the shorter of two runs with a common prefix first.
int ustrcmpi(const char *a, const char *b);
int ustrcmpi(const char *a, int aLength, const char *b, int bLength);
// Folds only the ASCII letters: for UTF-8 text, whose bytes above 0x7F are
// parts of multi-byte characters, not Mac Roman letters.
int ustrcmpiASCII(const char *a, int aLength, const char *b, int bLength);
int ustrcmp(const char *a, const char *b);
// The case-insensitive hash of a byte run: h * 31 + byte over the bytes
// folded through the Mac Roman table and read as signed chars, from h = 0.
// Text that compares equal ignoring case, in one encoding, hashes alike.
uint32_t FoldedHash31(const char *bytes, int length);
int ustrcmp(const char *a, int aLength, const char *b, int bLength);

// Whether two runs of length bytes are the same.
bool SameBytes(const char *a, const char *b, int length);
// Offset of the first carriage return or line feed in a run, or length.
int FindLineBreak(const char *bytes, int length);

// Fill n bytes (nothing for n <= 0) and answer n.
int umemzero(void *dst, int n);
int umemset(void *dst, int byte, int n);
// Overlap-safe copies; nothing for n <= 0.
void umemcpy(void *dst, const void *src, int n);
void umemmove(void *dst, const void *src, int n);
// Offset of the first occurrence of pattern in text, or -1.
int umemcmp(const char *text, const char *pattern, int patternLength, int textLength);

// Index of the first zero element.
int uwstrlen(const wchar_t *str);
// Writes each byte of src followed by a zero byte (no terminator); answers 0.
int ANSICharToWideChar(const char *src, char **dst);
