/* The clipboard application's framing done through the runtime's exported
 * names: a UTF-8 text converted through Encodings.UTF8, a big-endian block of
 * 8 + n bytes (command, byte length, the bytes), parsed back; then frames
 * that are too short or whose length lies, read without leaving the block.
 * Also the character functions on untagged bytes, the case-insensitive
 * comparison and DefineEncoding on a string constant. Exit status 42 is
 * success, any other the number of the first failed check. */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void *GetEncodingsObject(void);
void *EncodingsGetter(void *encodings, int32_t index);
stringStorage *StringConvertEncoding(stringStorage *text, void *encoding);
stringStorage *StringSetEncoding(stringStorage *text, void *encoding);
int32_t StringLen(stringStorage *text);
int32_t StringDBCSLen(stringStorage *text);
stringStorage *StringDBCSMid2(stringStorage *text, int32_t start);
int32_t RuntimeStringCompare(stringStorage *a, stringStorage *b);
void *newMemoryBlock(int32_t size);
void boolSetter(void *object, int32_t offset, int32_t value);
int32_t memoryBlockGetSize(void *block);
void memorySetLong(void *block, int32_t offset, int32_t value);
int32_t memoryGetLong(void *block, int32_t offset);
int32_t memoryGetByte(void *block, int32_t offset);
void memorySetString(void *block, int32_t offset, int32_t length, stringStorage *value);
stringStorage *memoryGetString(void *block, int32_t offset, int32_t length);

enum { kLittleEndianOffset = 33, kCommandText = 1, kEncodingUnknown = 0xFFFF };

static int sFailed;

static void Check(int condition, int number) {
  if (!condition && !sFailed)
    sFailed = number;
}

static int SameBytes(stringStorage *s, const char *bytes, int32_t length) {
  if (!s || s->length != length)
    return 0;
  for (int32_t i = 0; i < length; ++i)
    if (s->buffer[1 + i] != (unsigned char)bytes[i])
      return 0;
  return 1;
}

/* A frame of the text: command, byte count, bytes; most significant first. */
static void *Frame(stringStorage *text) {
  int32_t n = StringLen(text);
  void *block = newMemoryBlock(8 + n);
  if (!block)
    return 0;
  boolSetter(block, kLittleEndianOffset, 0);
  memorySetLong(block, 0, kCommandText);
  memorySetLong(block, 4, n);
  memorySetString(block, 8, n, text);
  return block;
}

static void FramesTravelExactly(void *utf8) {
  stringStorage *text = KIT_UTF8_STRING("caf\xC3\xA9");
  stringStorage *converted = StringConvertEncoding(text, utf8);
  Check(converted != 0 && converted->encoding == kEncodingUTF8, 1);
  void *frame = Frame(converted);
  Check(frame != 0, 2);
  if (!frame)
    return;
  static const unsigned char expected[13] = {0, 0, 0, 1, 0, 0, 0, 5, 'c', 'a', 'f', 0xC3, 0xA9};
  Check(memoryBlockGetSize(frame) == 13, 3);
  for (int32_t i = 0; i < 13; ++i)
    Check(memoryGetByte(frame, i) == expected[i], 4);

  /* Parsed back. */
  Check(memoryGetLong(frame, 0) == kCommandText, 5);
  int32_t n = memoryGetLong(frame, 4);
  Check(n == 5, 6);
  stringStorage *bytes = memoryGetString(frame, 8, n);
  stringStorage *received = StringSetEncoding(bytes, utf8);
  Check(received && received->encoding == kEncodingUTF8, 7);
  Check(RuntimeStringCompare(received, text) == 0, 8);
  Check(StringDBCSLen(received) == 4, 9);

  /* The frame's length lies: only the bytes inside the block come back. */
  memorySetLong(frame, 4, 1000);
  stringStorage *lying = memoryGetString(frame, 8, memoryGetLong(frame, 4));
  Check(SameBytes(lying, "caf\xC3\xA9", 5), 10);
  stringStorage *negative = memoryGetString(frame, 8, -7);
  Check(negative == 0, 11);

  RuntimeUnlockString(negative);
  RuntimeUnlockString(lying);
  RuntimeUnlockString(received);
  RuntimeUnlockString(bytes);
  RuntimeUnlockString(converted);
  RuntimeUnlockObject(frame);
}

static void ShortFramesReadSafely(void) {
  /* Six bytes: the length word runs past the end. */
  void *header = newMemoryBlock(6);
  boolSetter(header, kLittleEndianOffset, 0);
  memorySetLong(header, 0, kCommandText);
  Check(memoryGetLong(header, 0) == kCommandText, 20);
  Check(memoryGetLong(header, 4) == 0, 21);
  Check(memoryGetLong(header, 2147483647) == 0, 22);
  stringStorage *none = memoryGetString(header, 8, 4);
  Check(none == 0, 23);
  RuntimeUnlockString(none);
  RuntimeUnlockObject(header);
}

static void CharactersAndComparison(void *utf8) {
  /* Bytes read out of a block carry no tag: they count as bytes. */
  void *block = newMemoryBlock(6);
  memorySetString(block, 0, 6, KIT_UTF8_STRING("h\xC3\xA9llo"));
  stringStorage *untagged = memoryGetString(block, 0, 6);
  Check(untagged && untagged->encoding == kEncodingUnknown, 29);
  Check(StringDBCSLen(untagged) == 6, 30);
  stringStorage *tail = StringDBCSMid2(untagged, 2);
  Check(SameBytes(tail, "\xC3\xA9llo", 5) && tail->encoding == kEncodingUnknown, 31);
  RuntimeUnlockString(tail);
  RuntimeUnlockString(untagged);
  RuntimeUnlockObject(block);

  Check(RuntimeStringCompare(KIT_STRING("Hello"), KIT_STRING("hELLO")) == 0, 32);
  Check(RuntimeStringCompare(KIT_UTF8_STRING("\xC3\xA9t\xC3\xA9"),
                             KIT_UTF8_STRING("\xC3\x89T\xC3\x89")) == 0,
        33);
  Check(RuntimeStringCompare(KIT_STRING("abc"), KIT_STRING("abd")) == -1, 34);

  /* DefineEncoding retags a copy; the image's constant keeps its tag. */
  stringStorage *constant = KIT_STRING("plain");
  stringStorage *defined = StringSetEncoding(constant, utf8);
  Check(defined != constant && defined->encoding == kEncodingUTF8, 35);
  Check(constant->encoding == kEncodingASCII, 36);
  RuntimeUnlockString(defined);
}

void ImageEntry(void) {
  void *encodings = GetEncodingsObject();
  void *utf8 = EncodingsGetter(encodings, 1);
  Check(utf8 != 0, 40);
  if (utf8) {
    FramesTravelExactly(utf8);
    ShortFramesReadSafely();
    CharactersAndComparison(utf8);
  }
  RuntimeUnlockObject(utf8);
  RuntimeUnlockObject(encodings);
  _exit(sFailed ? sFailed : 42);
}
