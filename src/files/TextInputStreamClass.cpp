// The TextInputStream class: lines, runs and the rest of a file as text,
// through a read-ahead buffer inside the object. Texts are tagged, never
// converted.
#include <algorithm>
#include <iterator>

#include "files/FileStreamObjects.h"
#include "foundation/TextEncodings.h"
#include "foundation/TextInputStream.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

TextInputStreamObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<TextInputStreamObject *>(object);
}

RandomAccessMechanism *File(RuntimeObject *object) {
  return object ? Fields(object)->mechanism : nullptr;
}

ReadAheadBuffer Buffer(TextInputStreamObject *fields) {
  return {fields->buffer, kTextInputBufferSize, fields->position, fields->count};
}

uint32_t TagOf(TextInputStreamObject *fields, TextEncodingObject *encoding) {
  return EncodingCodeOf(encoding, fields->encoding);
}

void Constructor(RuntimeObject *object) {
  Fields(object)->encoding = GetEncodingObjectFromCode(kEncodingUTF8);
}

void Destructor(RuntimeObject *object) {
  TextInputStreamObject *fields = Fields(object);
  CloseStreamFile(fields->mechanism);
  RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(fields->encoding));
  fields->encoding = nullptr;
}

MethodParameter sEncodingParam[] = {{"encoding", nullptr, 0, {}, 1, {}, 0, {}}};
MethodParameter sReadParams[] = {
    {"Count", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};

// clang-format off
ObjectInstanceTemplate TextInputProperties[] = {
    {5, "Encoding", nullptr, ACCESSOR(objGetter), ACCESSOR(objSetter),
     int32_t(offsetof(TextInputStreamObject, encoding)), 0},
    {kConsoleAvailableFlag, "PositionB", &integerType.type, ACCESSOR(TextInputStreamGetPosition),
     ACCESSOR(TextInputStreamSetPosition), 0, 0},
    {kConsoleAvailableFlag, "LastErrorCode", &integerType.type,
     ACCESSOR(TextInputStreamLastErrorGetter), NO_ACCESSOR, 0, 0},
};

PropertyMethod TextInputMethods[] = {
    STREAM_METHOD("Read", &stringType.type, sReadParams, 2, TextInputStreamRead),
    STREAM_METHOD("ReadLine", &stringType.type, sEncodingParam, 1, TextInputStreamReadLine),
    STREAM_METHOD("ReadAll", &stringType.type, sEncodingParam, 1, TextInputStreamReadAll),
    STREAM_METHOD("Close", nullptr, nullptr, 0, TextInputStreamClose),
    STREAM_METHOD("EOF", &booleanType.type, nullptr, 0, TextInputStreamEOF),
    STREAM_METHOD("ReadError", &booleanType.type, nullptr, 0, TextInputStreamLastErrorGetter),
};
// clang-format on

} // namespace

ObjectDefinition *TextInputStreamClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *encoding = ForeignClassType(TextEncodingClass, "TextEncoding");
  TextInputProperties[0].type = encoding;
  sEncodingParam[0].type = encoding;
  sReadParams[1].type = encoding;
  BuildStreamClass(defn, "TextInputStream", sizeof(TextInputStreamObject), TextInputProperties,
                   std::size(TextInputProperties), TextInputMethods, std::size(TextInputMethods));
  defn.constructor = Constructor;
  defn.destructor = Destructor;
  defn.addInterface(ReadableInterface());
  return &defn;
}

void CreateTextInputStreamClass() { addIntrinsicClass(TextInputStreamClass()); }

RuntimeObject *NewTextInputStream(RandomAccessMechanism *file) {
  RuntimeObject *object = NewStreamOwning(TextInputStreamClass(), file);
  if (!object)
    return nullptr;
  TextInputStreamObject *fields = Fields(object);
  // The first fill: from here on an empty buffer means that the last read
  // brought nothing, which EOF reports even when the file does not say so.
  Buffer(fields).Refill(file);
  return object;
}

extern "C" {

int32_t TextInputStreamGetPosition(RuntimeObject *object, int32_t) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return 0;
  return int32_t(file->GetPosition() + Fields(object)->position - Fields(object)->count);
}

void TextInputStreamSetPosition(RuntimeObject *object, int32_t, int32_t position) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return;
  file->SeekFromStart(std::max(position, int32_t(0)));
  Buffer(Fields(object)).Refill(file);
}

int32_t TextInputStreamLastErrorGetter(RuntimeObject *object) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return ShowAlert(kClosedStreamAlert), 0;
  return file->mLastError;
}

stringStorage *TextInputStreamRead(RuntimeObject *object, int32_t count,
                                   TextEncodingObject *encoding) {
  RandomAccessMechanism *file = File(object);
  if (!file || count <= 0)
    return nullptr;
  TextInputStreamObject *fields = Fields(object);
  const uint32_t tag = TagOf(fields, encoding);
  const int32_t buffered = std::min(count, fields->count - fields->position);
  const char *start = fields->buffer + fields->position;
  fields->position += buffered;
  if (buffered == count) {
    string run;
    run.ConstructFromBuffer(start, buffered, tag);
    return run.ExtractStringStorage();
  }
  bool shortRead = false;
  string run = ReadFileRun(file, start, buffered, count - buffered, tag, &shortRead);
  if (shortRead)
    fields->position = fields->count = 0; // the buffer is used up and the file gave out
  return run.ExtractStringStorage();
}

stringStorage *TextInputStreamReadLine(RuntimeObject *object, TextEncodingObject *encoding) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return nullptr;
  TextInputStreamObject *fields = Fields(object);
  return Buffer(fields).ReadLine(file, TagOf(fields, encoding)).ExtractStringStorage();
}

stringStorage *TextInputStreamReadAll(RuntimeObject *object, TextEncodingObject *encoding) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return nullptr;
  TextInputStreamObject *fields = Fields(object);
  ReadAheadBuffer buffer = Buffer(fields);
  string all;
  do
    all.AppendBytes(fields->buffer + fields->position, fields->count - fields->position);
  while (buffer.Refill(file));
  if (!all.IsEmpty())
    all.SetEncoding(TagOf(fields, encoding));
  return all.ExtractStringStorage();
}

void TextInputStreamClose(RuntimeObject *object) {
  if (object)
    CloseStreamFile(Fields(object)->mechanism);
}

int32_t TextInputStreamEOF(RuntimeObject *object) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return 0;
  TextInputStreamObject *fields = Fields(object);
  if (fields->position < fields->count)
    return 0;
  return fields->count == 0 || file->IsEOF() ? 1 : 0;
}

} // extern "C"
