// Text-encoding tags: the rules that pick the encoding of a joined or
// compared pair, conversion between encodings, UTF-8 walking and Unicode case
// mapping.
#pragma once
#include <cstdint>

#include "ImageFormat.h"
#include "foundation/AssertionAlert.h"

class string;

// Tags follow the classic Mac OS numbering: base encoding in the low 16 bits,
// variant in bits 16 to 25, format in bits 26 and up.
inline constexpr uint32_t kEncodingMacRoman = 0x00000000;
inline constexpr uint32_t kEncodingUTF16 = 0x00000100;
inline constexpr uint32_t kEncodingASCII = IMAGE_ENCODING_ASCII; // what string constants carry
inline constexpr uint32_t kEncodingUTF8 = IMAGE_ENCODING_UTF8;
inline constexpr uint32_t kEncodingUnknown = 0x0000FFFF;

// Encodings whose characters can take several bytes, the later ones in the
// ASCII range (Shift-JIS, Big5, GBK, Johab and the other East Asian tags of
// the Encodings table): their bytes cannot be case-mapped one at a time.
bool EncodingHasMultiByteCharacters(uint32_t encoding);

// Tags 0x0100 to 0x01FF are the UTF-16 family.
constexpr bool IsUTF16Family(uint32_t encoding) { return encoding >= 0x0100 && encoding <= 0x01FF; }

// Splits a tag into base, variant and format (UTF-8 is base 0x100, format 2;
// every other tag is its own base). Answers the tag.
uint32_t GetEncodingAttributes(uint32_t encoding, uint32_t &base, uint32_t &variant,
                               uint32_t &format);

// The encoding in which text of both tags can be held, or kEncodingUnknown.
// Without allowUnicode only ASCII widens into another encoding; with it,
// unrelated encodings meet in UTF-8 (or UTF-16 when one side is UTF-16).
uint32_t CommonEncoding(uint32_t a, uint32_t b, bool allowUnicode);

// The text converted to target: the string itself when it already carries
// target (or target is kEncodingUnknown, or the text is empty), a retagged
// copy when its bytes are ASCII and mean the same in both encodings, else the
// transcoded text (TranscodeText). Untagged text that is not ASCII, bytes
// invalid in the text's encoding and characters target lacks give the empty
// string, which callers read as "cannot be converted". The last conversion is
// remembered, so converting the same storage to the same target again returns
// the same copy.
string ConvertEncoding(const string &s, uint32_t target);

// Brings two strings to one encoding in place and answers that encoding, or
// kEncodingUnknown when there is none (the strings are then left as far as
// they got). Both pointers must be non-null.
uint32_t ConvertToSameEncoding(string *s1, string *s2);
// Its alert when either string is missing.
inline constexpr AlertSite kSameEncodingNullAlert{"../Universal/TextEncodingUtil", 1092,
                                                  "s1 and s2"};

// Font encodings are unknown on this platform: kEncodingUnknown for every
// named font; the empty name answers kEncodingASCII until a named font has
// been asked for.
uint32_t GetEncodingFromFont(const string &fontName);
uint32_t GetSystemEncoding();
// The system encoding is unknown, so the text stays as it is (shared).
string ConvertToSystemEncoding(const string &s);

// UTF-8 walking. A character is a lead byte and the continuation bytes
// (10xxxxxx) that follow it; nothing is validated. Cursors never leave
// [begin, end].
void AdvanceUTF8(const unsigned char **cursor, const unsigned char *end, long count);
void BackupUTF8(const unsigned char **cursor, const unsigned char *begin, long count);

// Writes the UTF-8 form of codePoint (up to 0x1FFFFF, surrogates included)
// and a zero byte after it, so out needs 5 bytes. Answers the UTF-8 byte
// count, 0 for values above 0x1FFFFF (only the zero byte is written).
int UTF8Encode(unsigned long codePoint, unsigned char *out);

// The code point whose lead byte is at p; the lead byte alone decides the
// length. Bytes at or past end are never read: a sequence cut short by end
// yields the bits of the bytes it has; an empty range yields 0.
unsigned long UTF8Decode(const unsigned char *p, const unsigned char *end);
// The same, then moves *p past the sequence (at most to end).
unsigned long UTF8DecodeAndAdvance(const unsigned char **p, const unsigned char *end);

// Decodes one character of text that may not be well-formed UTF-8: a
// complete sequence of the shortest form (no encoded surrogate) gives its
// code point in *c, moves *p past it and answers true. Any other byte stands
// alone: *c is kUTF8StrayByteBase plus the byte (a value that no case mapping
// touches and no well-formed sequence decodes to), *p moves one byte and the
// answer is false. *p must lie before end.
inline constexpr unsigned long kUTF8StrayByteBase = 0xDC00;
bool UTF8DecodeCharacter(const unsigned char **p, const unsigned char *end, unsigned long *c);

// Simple Unicode case mapping of one code point below U+10000; others, and
// code points without a mapping, come back unchanged.
unsigned long UnicodeCharToUpper(unsigned long c);
unsigned long UnicodeCharToLower(unsigned long c);
// -1, 0 or 1 for two code points or 16-bit units, upper-cased first with
// ignoreCase.
int UnicodeCharCompare(unsigned long a, unsigned long b, bool ignoreCase);

// Case-mapped copies of UTF-8 text in a new array the caller frees with
// delete[]; *outLength receives the bytes written. Title case upper-cases a
// code point that follows a space or control character (or starts the text)
// and lower-cases the others. Bytes that are not part of a well-formed
// character are copied as they are, one at a time. A null out only measures; with out and
// outLength both null nothing happens.
void UTF8ToUpper(const unsigned char *text, unsigned long length, unsigned char **out,
                 unsigned long *outLength);
void UTF8ToLower(const unsigned char *text, unsigned long length, unsigned char **out,
                 unsigned long *outLength);
void UTF8Capitalize(const unsigned char *text, unsigned long length, unsigned char **out,
                    unsigned long *outLength);

// True when no code point of the text has a case mapping (the empty text too).
bool UTF8IsCaseless(const unsigned char *text, unsigned long length);

// -1, 0 or 1, comparing code point by code point (upper-cased first with
// ignoreCase), a stray byte as UTF8DecodeCharacter gives it; when one text
// runs out, the shorter in bytes comes first.
int UTF8StringCompare(const unsigned char *a, unsigned long aLength, const unsigned char *b,
                      unsigned long bLength, bool ignoreCase);
// The same over 16-bit units; lengths are byte counts.
int UCS2StringCompare(const unsigned short *a, unsigned long aBytes, const unsigned short *b,
                      unsigned long bBytes, bool ignoreCase);

// Case-mapped copies of byteCount / 2 UTF-16 units, in a new array of
// byteCount units that the caller frees with delete[].
unsigned short *UCS2ToUpper(const unsigned short *units, unsigned long byteCount);
unsigned short *UCS2ToLower(const unsigned short *units, unsigned long byteCount);
unsigned short *UCS2Capitalize(const unsigned short *units, unsigned long byteCount);

// The scanner behind string::ContainsOnlyASCII. The base class lets a
// vectorised scanner take the scalar one's place.
class VectorStuffImp {
public:
  // True when no byte of the run has bit 7 set.
  virtual bool ContainsOnlyLowBytes(const unsigned char *bytes, long length) = 0;

protected:
  ~VectorStuffImp() = default;
};

class VectorStuffScalarImp final : public VectorStuffImp {
public:
  bool ContainsOnlyLowBytes(const unsigned char *bytes, long length) override;
};

// The process-wide scanner, made on first use and kept to the end.
VectorStuffImp *VectorStuff();
