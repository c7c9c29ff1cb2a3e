#include "PropertyStream.h"

#include "ClassBuilding.h"
#include "Tavrin.h"

enum { kEncodingUnknownTag = 0xFFFF };

void StreamBegin(PropertyStream *stream, RuntimeObject *target) {
  stream->target = target;
  stream->overflowed = 0;
  stream->storage.referenceCount = 1; /* lives in this frame: never freed */
  stream->storage.buffer = stream->bytes;
  stream->storage.length = 0;
  stream->storage.bufferSize = 2;
  stream->storage.encoding = kEncodingUnknownTag;
  stream->bytes[0] = 0;
  stream->bytes[1] = 0;
}

static int32_t Room(PropertyStream *stream, int32_t bytes) {
  if (stream->storage.length + bytes > kPropertyStreamRoom)
    stream->overflowed = 1;
  return !stream->overflowed;
}

static void PutByte(PropertyStream *stream, uint32_t byte) {
  stream->bytes[1 + stream->storage.length++] = (unsigned char)byte;
}

static void PutBigEndian(PropertyStream *stream, uint32_t value, int32_t bytes) {
  while (bytes-- > 0)
    PutByte(stream, (value >> (8 * bytes)) & 0xFF);
}

/* The entry of that name and its index, or nil. */
static PropertyEntry *Entry(PropertyStream *stream, const char *name, int32_t *index) {
  RuntimeClass *cls = stream->target ? (RuntimeClass *)stream->target->classPtr : 0;
  PropertyEntry *entry = FindProperty(cls, name);
  if (entry)
    *index = (int32_t)(entry - cls->properties);
  return entry;
}

static void Finish(PropertyStream *stream) {
  int32_t n = stream->storage.length;
  stream->bytes[0] = (unsigned char)(n > 255 ? 255 : n);
  stream->bytes[1 + n] = 0;
  stream->storage.bufferSize = n + 2;
}

void StreamNumber(PropertyStream *stream, const char *name, int32_t value) {
  int32_t index;
  PropertyEntry *entry = Entry(stream, name, &index);
  char letter;
  union {
    float single;
    uint32_t bits;
  } asSingle;
  union {
    double value;
    uint32_t words[2];
  } asDouble;
  if (!entry || !Room(stream, 2 + 8))
    return;
  letter = PropertyTypeLetter(entry);
  if (letter != 'b' && letter != 'c' && letter != 'i' && letter != 'f' && letter != 'd')
    return;
  PutBigEndian(stream, (uint32_t)index, 2);
  switch (letter) {
  case 'b':
    PutByte(stream, value != 0);
    break;
  case 'c':
    PutBigEndian(stream, (uint32_t)value, 3);
    break;
  case 'i':
    PutBigEndian(stream, (uint32_t)value, 4);
    break;
  case 'f':
    asSingle.single = (float)value;
    PutBigEndian(stream, asSingle.bits, 4);
    break;
  default:
    asDouble.value = (double)value;
    PutBigEndian(stream, asDouble.words[1], 4);
    PutBigEndian(stream, asDouble.words[0], 4);
    break;
  }
  Finish(stream);
}

void StreamText(PropertyStream *stream, const char *name, stringStorage *text) {
  int32_t index, i, n = text ? text->length : 0;
  PropertyEntry *entry = Entry(stream, name, &index);
  if (!entry || PropertyTypeLetter(entry) != 's' || !Room(stream, 2 + 4 + n))
    return;
  PutBigEndian(stream, (uint32_t)index, 2);
  PutBigEndian(stream, (uint32_t)n, 4);
  for (i = 0; i < n; ++i)
    PutByte(stream, text->buffer[1 + i]);
  Finish(stream);
}

void StreamApply(PropertyStream *stream) {
  if (stream->target && stream->storage.length > 0)
    RuntimeMassPropertySetter(stream->target, &stream->storage);
}
