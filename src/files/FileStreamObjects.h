// The language's stream classes over open files: TextInputStream (lines and
// runs of text through a read-ahead buffer), TextOutputStream (text with a
// chosen line end), BinaryStream (typed values in either byte order at any
// position) and the inert ResourceFork. Each stream owns the open file a
// folder item handed out until Close or its destruction.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/RandomAccessMechanism.h"
#include "foundation/String.h"
#include "language/TextEncodingClasses.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

inline constexpr int32_t kTextInputBufferSize = 1024;

struct TextInputStreamObject {
  RuntimeObject header;
  RandomAccessMechanism *mechanism; // owned; nil after Close
  TextEncodingObject *encoding;     // one reference; what read texts are tagged with
  int32_t position;                 // next unread byte of buffer
  int32_t count;                    // valid bytes in buffer
  char buffer[kTextInputBufferSize];
};
static_assert(sizeof(TextInputStreamObject) == 1064);
static_assert(offsetof(TextInputStreamObject, mechanism) == 24);
static_assert(offsetof(TextInputStreamObject, encoding) == 28);
static_assert(offsetof(TextInputStreamObject, position) == 32);
static_assert(offsetof(TextInputStreamObject, count) == 36);
static_assert(offsetof(TextInputStreamObject, buffer) == 40);

struct TextOutputStreamObject {
  RuntimeObject header;
  RandomAccessMechanism *mechanism; // owned; nil after Close
  stringStorage *delimiter;         // one reference; empty: WriteLine ends with a line feed
};
static_assert(sizeof(TextOutputStreamObject) == 32);
static_assert(offsetof(TextOutputStreamObject, mechanism) == 24);
static_assert(offsetof(TextOutputStreamObject, delimiter) == 28);

struct BinaryStreamObject {
  RuntimeObject header;
  RandomAccessMechanism *mechanism; // owned; nil after Close
  uint8_t littleEndian;             // the Boolean property's byte
  uint8_t readFailed;               // the last read brought fewer bytes than it wanted
  uint8_t reserved[2];
};
static_assert(sizeof(BinaryStreamObject) == 32);
static_assert(offsetof(BinaryStreamObject, mechanism) == 24);
static_assert(offsetof(BinaryStreamObject, littleEndian) == 28);

struct ResourceForkObject {
  RuntimeObject header;
  int32_t reserved; // no fork is ever open on this platform
};
static_assert(sizeof(ResourceForkObject) == 28);

inline constexpr char kFileAccessAlertSource[] = "../Common/runFileAccess";
inline constexpr AlertSite kClosedStreamAlert{kFileAccessAlertSource, 212, "obj->mechanism"};
inline constexpr AlertSite kNoBinaryStreamAlert{kFileAccessAlertSource, 615, "0"};
inline constexpr char kNoBinaryStreamMessage[] = "No binary stream to get last error code on!";

ObjectDefinition *TextInputStreamClass();
ObjectDefinition *TextOutputStreamClass();
ObjectDefinition *BinaryStreamClass();
ObjectDefinition *ResourceForkClass();
// The registrars start-up calls.
void CreateTextInputStreamClass();
void CreateTextOutputStreamClass();
void CreateBinaryStreamClass();
void CreateResourceForkClass();

// New streams (one reference) that take over the open file; nil (the file
// closed and deleted) when no object can be made. A new TextInputStream has
// read its first fill.
RuntimeObject *NewTextInputStream(RandomAccessMechanism *file);
RuntimeObject *NewTextOutputStream(RandomAccessMechanism *file);
RuntimeObject *NewBinaryStream(RandomAccessMechanism *file);

// The stream classes' method rows: console-safe, code under the export name.
#define STREAM_METHOD(name, returnType, params, count, function)                                   \
  {                                                                                                \
    name, returnType, params, count, {{EntryCode(function), #function, {}}, {}}, 0,                \
        kConsoleAvailableFlag, 0                                                                   \
  }

// Fills a stream class's definition: name, size, tables; built-in and
// console-safe.
void BuildStreamClass(ObjectDefinition &defn, const char *name, int32_t size,
                      ObjectInstanceTemplate *properties, int propertyCount,
                      PropertyMethod *methods, int methodCount);
// A new object of the stream class (one reference) that takes over the open
// file (the field after the object header); nil, the file closed and
// deleted, when no object can be made.
RuntimeObject *NewStreamOwning(ObjectDefinition *streamClass, RandomAccessMechanism *file);

// Closes and deletes the file a stream's field holds, and forgets it.
void CloseStreamFile(RandomAccessMechanism *&file);
// The encoding code of the argument, else of the fallback object.
uint32_t EncodingCodeOf(TextEncodingObject *encoding, TextEncodingObject *fallback);
// Reads up to wanted bytes of the file into a new string tagged with the
// code, appended to the prefix bytes; never asks for more memory than the
// file still holds.
string ReadFileRun(RandomAccessMechanism *file, const char *prefix, int32_t prefixLength,
                   int32_t wanted, uint32_t code, bool *shortRead);

extern "C" {
int32_t TextInputStreamGetPosition(RuntimeObject *stream, int32_t param);
void TextInputStreamSetPosition(RuntimeObject *stream, int32_t param, int32_t position);
int32_t TextInputStreamLastErrorGetter(RuntimeObject *stream);
stringStorage *TextInputStreamRead(RuntimeObject *stream, int32_t count,
                                   TextEncodingObject *encoding);
stringStorage *TextInputStreamReadLine(RuntimeObject *stream, TextEncodingObject *encoding);
stringStorage *TextInputStreamReadAll(RuntimeObject *stream, TextEncodingObject *encoding);
void TextInputStreamClose(RuntimeObject *stream);
int32_t TextInputStreamEOF(RuntimeObject *stream);

int32_t TextOutputStreamLastErrorGetter(RuntimeObject *stream);
void TextOutputStreamWriteLine(RuntimeObject *stream, stringStorage *line);
void TextOutputStreamWrite(RuntimeObject *stream, stringStorage *text);
void TextOutputStreamClose(RuntimeObject *stream);
void TextOutputStreamFlush(RuntimeObject *stream);

int32_t BinaryStreamGetLength(RuntimeObject *stream, int32_t param);
void BinaryStreamSetLength(RuntimeObject *stream, int32_t param, int32_t length);
int32_t BinaryStreamGetPosition(RuntimeObject *stream, int32_t param);
void BinaryStreamSetPosition(RuntimeObject *stream, int32_t param, int32_t position);
int32_t BinaryStreamLastErrorGetter(RuntimeObject *stream);
int32_t BinaryStreamReadByte(RuntimeObject *stream);
int32_t BinaryStreamReadShort(RuntimeObject *stream);
int32_t BinaryStreamReadLong(RuntimeObject *stream);
stringStorage *BinaryStreamReadPString(RuntimeObject *stream, TextEncodingObject *encoding);
double BinaryStreamReadFloat(RuntimeObject *stream);
double BinaryStreamReadDouble(RuntimeObject *stream);
int32_t BinaryStreamReadBoolean(RuntimeObject *stream);
stringStorage *BinaryStreamRead(RuntimeObject *stream, int32_t count, TextEncodingObject *encoding);
void BinaryStreamWriteByte(RuntimeObject *stream, int32_t value);
void BinaryStreamWriteShort(RuntimeObject *stream, int32_t value);
void BinaryStreamWriteLong(RuntimeObject *stream, int32_t value);
void BinaryStreamWritePString(RuntimeObject *stream, stringStorage *text);
void BinaryStreamWriteFloat(RuntimeObject *stream, double value);
void BinaryStreamWriteDouble(RuntimeObject *stream, double value);
void BinaryStreamWriteBoolean(RuntimeObject *stream, int32_t value);
void BinaryStreamWrite(RuntimeObject *stream, stringStorage *text);
void BinaryStreamClose(RuntimeObject *stream);
void BinaryStreamFlush(RuntimeObject *stream);
int32_t BinaryStreamEOF(RuntimeObject *stream);
}
