// What the three stream classes share: closing the file they own, the
// encoding a read text is tagged with, and reading a run of bytes whose
// memory is bounded by what the file still holds.
#include <algorithm>
#include <cstring>
#include <utility>

#include "files/FileStreamObjects.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

namespace {
// Without a known length, a run is read in pieces of this size, so that a
// count the program passes never becomes one allocation.
constexpr int32_t kUnknownLengthPiece = 64 * 1024;
} // namespace

void BuildStreamClass(ObjectDefinition &defn, const char *name, int32_t size,
                      ObjectInstanceTemplate *properties, int propertyCount,
                      PropertyMethod *methods, int methodCount) {
  defn.className = string(name);
  defn.objectSize = size;
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.SetPropertyListHead(FillInstances(properties, propertyCount));
  defn.methods = FillMethods(methods, methodCount);
}

RuntimeObject *NewStreamOwning(ObjectDefinition *streamClass, RandomAccessMechanism *file) {
  static_assert(
      offsetof(TextInputStreamObject, mechanism) == offsetof(TextOutputStreamObject, mechanism) &&
      offsetof(TextOutputStreamObject, mechanism) == offsetof(BinaryStreamObject, mechanism));
  RuntimeObject *object = file ? CreateInstance(streamClass) : nullptr;
  if (!object) {
    CloseStreamFile(file);
    return nullptr;
  }
  reinterpret_cast<BinaryStreamObject *>(object)->mechanism = file;
  return object;
}

void CloseStreamFile(RandomAccessMechanism *&file) {
  if (!file)
    return;
  file->Close();
  delete file;
  file = nullptr;
}

uint32_t EncodingCodeOf(TextEncodingObject *encoding, TextEncodingObject *fallback) {
  return uint32_t(GetEncodingFromTEObject(encoding ? encoding : fallback));
}

string ReadFileRun(RandomAccessMechanism *file, const char *prefix, int32_t prefixLength,
                   int32_t wanted, uint32_t code, bool *shortRead) {
  *shortRead = false;
  const long length = file->GetLength();
  const long position = file->GetPosition();
  int32_t piece = kUnknownLengthPiece;
  if (length >= 0 && position >= 0)
    piece = int32_t(std::clamp<long>(length - position, 0, kUnknownLengthPiece * 1024L));
  string run;
  run.ConstructFromBuffer(prefix, prefixLength, code);
  while (wanted > 0) {
    const int32_t ask = std::min(wanted, std::max(piece, int32_t(1)));
    string chunk;
    chunk.AllocateBuffer(ask);
    if (chunk.IsEmpty())
      break;
    long got = 0;
    file->ReadData(chunk.MutableChar(0), ask, got);
    got = std::clamp<long>(got, 0, ask);
    if (run.IsEmpty() && got == ask)
      run = std::move(chunk);
    else if (got > 0)
      run.AppendBytes(chunk.CString(), int(got));
    wanted -= int32_t(got);
    if (got < ask) {
      *shortRead = true;
      break;
    }
    piece = kUnknownLengthPiece; // the file grew past its length: go on in pieces
  }
  if (!run.IsEmpty())
    run.SetEncoding(code);
  return run;
}
