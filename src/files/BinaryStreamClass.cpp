// The BinaryStream class: typed values at any position of a file, multi-byte
// values most significant byte first unless LittleEndian is set. The stream
// orders the bytes itself; the file's own byte-order setting is not used.
#include <cstring>
#include <iterator>

#include "files/FileStreamObjects.h"
#include "foundation/ByteOrder.h"
#include "foundation/TextEncodings.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

BinaryStreamObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<BinaryStreamObject *>(object);
}

RandomAccessMechanism *File(RuntimeObject *object) {
  return object ? Fields(object)->mechanism : nullptr;
}

// The host is little-endian: big-endian values are reversed on the way.
bool Swaps(RuntimeObject *object) { return Fields(object)->littleEndian == 0; }

// Reads the value's bytes in the stream's order; false (value untouched) on a
// short read, which EOF then reports.
template <typename Value>
bool ReadValue(RuntimeObject *object, Value &value) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return false;
  unsigned char bytes[sizeof(Value)];
  long got = 0;
  file->ReadData(bytes, sizeof bytes, got);
  Fields(object)->readFailed = got != long(sizeof bytes);
  if (Fields(object)->readFailed)
    return false;
  if (sizeof(Value) > 1 && Swaps(object))
    swapBytes(bytes, sizeof bytes);
  std::memcpy(&value, bytes, sizeof value);
  return true;
}

template <typename Value>
void WriteValue(RuntimeObject *object, Value value) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return;
  if (sizeof(Value) > 1 && Swaps(object))
    swapBytes(&value, sizeof value);
  file->WriteData(&value, sizeof value);
}

// Up to count bytes from the file, tagged; a short read is remembered.
stringStorage *ReadRun(RuntimeObject *object, int32_t count, TextEncodingObject *encoding) {
  bool shortRead = false;
  string run =
      ReadFileRun(File(object), nullptr, 0, count, EncodingCodeOf(encoding, nullptr), &shortRead);
  Fields(object)->readFailed = shortRead;
  return run.ExtractStringStorage();
}

void Destructor(RuntimeObject *object) { CloseStreamFile(Fields(object)->mechanism); }

MethodParameter sEncodingParam[] = {{"encoding", nullptr, 0, {}, 1, {}, 0, {}}};
MethodParameter sReadParams[] = {
    {"byteCount", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};
MethodParameter sIntegerParam[] = {{"value", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sStringParam[] = {{"value", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sDoubleParam[] = {{"value", &doubleType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sBooleanParam[] = {{"value", &booleanType.type, 0, {}, 0, {}, 0, {}}};

// clang-format off
ObjectInstanceTemplate BinaryStreamProperties[] = {
    {kConsoleAvailableFlag, "LittleEndian", &booleanType.type, ACCESSOR(boolGetter),
     ACCESSOR(boolSetter), int32_t(offsetof(BinaryStreamObject, littleEndian)), 0},
    {kConsoleAvailableFlag, "Length", &integerType.type, ACCESSOR(BinaryStreamGetLength),
     ACCESSOR(BinaryStreamSetLength), 0, 0},
    {kConsoleAvailableFlag, "Position", &integerType.type, ACCESSOR(BinaryStreamGetPosition),
     ACCESSOR(BinaryStreamSetPosition), 0, 0},
    {5, "LastErrorCode", &integerType.type, ACCESSOR(BinaryStreamLastErrorGetter), NO_ACCESSOR,
     0, 0},
};

PropertyMethod BinaryStreamMethods[] = {
    STREAM_METHOD("ReadByte", &integerType.type, nullptr, 0, BinaryStreamReadByte),
    STREAM_METHOD("ReadShort", &integerType.type, nullptr, 0, BinaryStreamReadShort),
    STREAM_METHOD("ReadLong", &integerType.type, nullptr, 0, BinaryStreamReadLong),
    STREAM_METHOD("ReadPString", &stringType.type, sEncodingParam, 1, BinaryStreamReadPString),
    STREAM_METHOD("ReadSingle", &doubleType.type, nullptr, 0, BinaryStreamReadFloat),
    STREAM_METHOD("ReadDouble", &doubleType.type, nullptr, 0, BinaryStreamReadDouble),
    STREAM_METHOD("ReadBoolean", &booleanType.type, nullptr, 0, BinaryStreamReadBoolean),
    STREAM_METHOD("Read", &stringType.type, sReadParams, 2, BinaryStreamRead),
    STREAM_METHOD("WriteByte", nullptr, sIntegerParam, 1, BinaryStreamWriteByte),
    STREAM_METHOD("WriteShort", nullptr, sIntegerParam, 1, BinaryStreamWriteShort),
    STREAM_METHOD("WriteLong", nullptr, sIntegerParam, 1, BinaryStreamWriteLong),
    STREAM_METHOD("WritePString", nullptr, sStringParam, 1, BinaryStreamWritePString),
    STREAM_METHOD("WriteSingle", nullptr, sDoubleParam, 1, BinaryStreamWriteFloat),
    STREAM_METHOD("WriteDouble", nullptr, sDoubleParam, 1, BinaryStreamWriteDouble),
    STREAM_METHOD("WriteBoolean", nullptr, sBooleanParam, 1, BinaryStreamWriteBoolean),
    STREAM_METHOD("Write", nullptr, sStringParam, 1, BinaryStreamWrite),
    STREAM_METHOD("Close", nullptr, nullptr, 0, BinaryStreamClose),
    STREAM_METHOD("Flush", nullptr, nullptr, 0, BinaryStreamFlush),
    STREAM_METHOD("WriteError", &booleanType.type, nullptr, 0, BinaryStreamLastErrorGetter),
    STREAM_METHOD("EOF", &booleanType.type, nullptr, 0, BinaryStreamEOF),
    STREAM_METHOD("ReadError", &booleanType.type, nullptr, 0, BinaryStreamLastErrorGetter),
};
// clang-format on

} // namespace

ObjectDefinition *BinaryStreamClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *encoding = ForeignClassType(TextEncodingClass, "TextEncoding");
  sEncodingParam[0].type = encoding;
  sReadParams[1].type = encoding;
  BuildStreamClass(defn, "BinaryStream", sizeof(BinaryStreamObject), BinaryStreamProperties,
                   std::size(BinaryStreamProperties), BinaryStreamMethods,
                   std::size(BinaryStreamMethods));
  defn.destructor = Destructor;
  defn.addInterface(ReadableInterface());
  defn.addInterface(WriteableInterface());
  return &defn;
}

void CreateBinaryStreamClass() { addIntrinsicClass(BinaryStreamClass()); }

RuntimeObject *NewBinaryStream(RandomAccessMechanism *file) {
  return NewStreamOwning(BinaryStreamClass(), file);
}

extern "C" {

int32_t BinaryStreamGetLength(RuntimeObject *object, int32_t) {
  RandomAccessMechanism *file = File(object);
  return file ? int32_t(file->GetLength()) : 0;
}

void BinaryStreamSetLength(RuntimeObject *object, int32_t, int32_t length) {
  if (RandomAccessMechanism *file = File(object))
    file->SetLength(length);
}

int32_t BinaryStreamGetPosition(RuntimeObject *object, int32_t) {
  RandomAccessMechanism *file = File(object);
  return file ? int32_t(file->GetPosition()) : 0;
}

void BinaryStreamSetPosition(RuntimeObject *object, int32_t, int32_t position) {
  if (RandomAccessMechanism *file = File(object)) {
    file->SeekFromStart(position);
    Fields(object)->readFailed = 0;
  }
}

int32_t BinaryStreamLastErrorGetter(RuntimeObject *object) {
  if (!object)
    return ShowAlert(kNoBinaryStreamAlert, kNoBinaryStreamMessage), 0;
  RandomAccessMechanism *file = File(object);
  return file ? file->mLastError : 0;
}

int32_t BinaryStreamReadByte(RuntimeObject *object) {
  uint8_t value = 0;
  return ReadValue(object, value) ? value : 0;
}

int32_t BinaryStreamReadShort(RuntimeObject *object) {
  int16_t value = 0;
  return ReadValue(object, value) ? value : 0;
}

int32_t BinaryStreamReadLong(RuntimeObject *object) {
  int32_t value = 0;
  return ReadValue(object, value) ? value : 0;
}

stringStorage *BinaryStreamReadPString(RuntimeObject *object, TextEncodingObject *encoding) {
  uint8_t length = 0;
  if (!ReadValue(object, length))
    return nullptr;
  return length ? ReadRun(object, length, encoding) : nullptr;
}

double BinaryStreamReadFloat(RuntimeObject *object) {
  float value = 0;
  return ReadValue(object, value) ? double(value) : 0.0;
}

double BinaryStreamReadDouble(RuntimeObject *object) {
  double value = 0;
  return ReadValue(object, value) ? value : 0.0;
}

int32_t BinaryStreamReadBoolean(RuntimeObject *object) {
  uint8_t value = 0;
  return ReadValue(object, value) && value != 0 ? 1 : 0;
}

stringStorage *BinaryStreamRead(RuntimeObject *object, int32_t count,
                                TextEncodingObject *encoding) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return nullptr;
  // Never more memory than the file still holds; a request that reaches
  // past the end is a read that went past it, as EOF reports.
  const long left = file->GetLength() - file->GetPosition();
  const bool pastTheEnd = count > 0 && left >= 0 && count > left;
  if (count > left)
    count = int32_t(left);
  stringStorage *run = count > 0 ? ReadRun(object, count, encoding) : nullptr;
  if (pastTheEnd)
    Fields(object)->readFailed = 1;
  return run;
}

void BinaryStreamWriteByte(RuntimeObject *object, int32_t value) {
  WriteValue(object, uint8_t(value));
}

void BinaryStreamWriteShort(RuntimeObject *object, int32_t value) {
  WriteValue(object, uint16_t(value));
}

void BinaryStreamWriteLong(RuntimeObject *object, int32_t value) {
  WriteValue(object, uint32_t(value));
}

void BinaryStreamWritePString(RuntimeObject *object, stringStorage *text) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return;
  const int32_t length = stringStorage::Length(text);
  char bytes[256];
  bytes[0] = char(length > 255 ? 255 : length);
  std::memcpy(bytes + 1, stringStorage::CString(text), uint8_t(bytes[0]));
  file->WriteData(bytes, 1 + uint8_t(bytes[0]));
}

void BinaryStreamWriteFloat(RuntimeObject *object, double value) {
  WriteValue(object, float(value));
}

void BinaryStreamWriteDouble(RuntimeObject *object, double value) { WriteValue(object, value); }

void BinaryStreamWriteBoolean(RuntimeObject *object, int32_t value) {
  WriteValue(object, uint8_t(value != 0 ? 1 : 0));
}

void BinaryStreamWrite(RuntimeObject *object, stringStorage *text) {
  RandomAccessMechanism *file = File(object);
  if (const int32_t length = stringStorage::Length(text); file && length > 0)
    file->WriteData(stringStorage::CString(text), length);
}

void BinaryStreamClose(RuntimeObject *object) {
  if (object)
    CloseStreamFile(Fields(object)->mechanism);
}

void BinaryStreamFlush(RuntimeObject *object) {
  if (RandomAccessMechanism *file = File(object))
    file->FlushToDisk();
}

int32_t BinaryStreamEOF(RuntimeObject *object) {
  RandomAccessMechanism *file = File(object);
  return !file || Fields(object)->readFailed || file->IsEOF() ? 1 : 0;
}

} // extern "C"
