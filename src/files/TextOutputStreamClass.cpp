// The TextOutputStream class: a string's bytes written as they are stored,
// and lines ended with the Delimiter (a line feed while it is empty).
#include <iterator>

#include "files/FileStreamObjects.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

TextOutputStreamObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<TextOutputStreamObject *>(object);
}

RandomAccessMechanism *File(RuntimeObject *object) {
  return object ? Fields(object)->mechanism : nullptr;
}

void WriteText(RandomAccessMechanism *file, stringStorage *text) {
  if (const int32_t length = stringStorage::Length(text))
    file->WriteData(stringStorage::CString(text), length);
}

void Destructor(RuntimeObject *object) {
  TextOutputStreamObject *fields = Fields(object);
  CloseStreamFile(fields->mechanism);
  stringStorage::RemoveReference(fields->delimiter);
  fields->delimiter = nullptr;
}

MethodParameter sLineParams[] = {{"Line", &stringType.type, 0, {}, 0, {}, 0, {}}};

// clang-format off
ObjectInstanceTemplate TextOutputProperties[] = {
    {kConsoleAvailableFlag, "Delimiter", &stringType.type, ACCESSOR(stringGetter),
     ACCESSOR(stringSetter), int32_t(offsetof(TextOutputStreamObject, delimiter)), 0},
    {kConsoleAvailableFlag, "LastErrorCode", &integerType.type,
     ACCESSOR(TextOutputStreamLastErrorGetter), NO_ACCESSOR, 0, 0},
};

PropertyMethod TextOutputMethods[] = {
    STREAM_METHOD("WriteLine", nullptr, sLineParams, 1, TextOutputStreamWriteLine),
    STREAM_METHOD("Write", nullptr, sLineParams, 1, TextOutputStreamWrite),
    STREAM_METHOD("Close", nullptr, nullptr, 0, TextOutputStreamClose),
    STREAM_METHOD("Flush", nullptr, nullptr, 0, TextOutputStreamFlush),
    STREAM_METHOD("WriteError", &booleanType.type, nullptr, 0, TextOutputStreamLastErrorGetter),
};
// clang-format on

} // namespace

ObjectDefinition *TextOutputStreamClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  BuildStreamClass(defn, "TextOutputStream", sizeof(TextOutputStreamObject), TextOutputProperties,
                   std::size(TextOutputProperties), TextOutputMethods,
                   std::size(TextOutputMethods));
  defn.destructor = Destructor;
  defn.addInterface(WriteableInterface());
  return &defn;
}

void CreateTextOutputStreamClass() { addIntrinsicClass(TextOutputStreamClass()); }

RuntimeObject *NewTextOutputStream(RandomAccessMechanism *file) {
  return NewStreamOwning(TextOutputStreamClass(), file);
}

extern "C" {

int32_t TextOutputStreamLastErrorGetter(RuntimeObject *object) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return ShowAlert(kClosedStreamAlert), 0;
  return file->mLastError;
}

void TextOutputStreamWriteLine(RuntimeObject *object, stringStorage *line) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return;
  WriteText(file, line);
  if (stringStorage *delimiter = Fields(object)->delimiter)
    WriteText(file, delimiter);
  else
    file->WriteData("\n", 1);
}

void TextOutputStreamWrite(RuntimeObject *object, stringStorage *text) {
  if (RandomAccessMechanism *file = File(object))
    WriteText(file, text);
}

void TextOutputStreamClose(RuntimeObject *object) {
  if (object)
    CloseStreamFile(Fields(object)->mechanism);
}

void TextOutputStreamFlush(RuntimeObject *object) {
  RandomAccessMechanism *file = File(object);
  if (!file)
    return void(ShowAlert(kClosedStreamAlert));
  file->FlushToDisk();
}

} // extern "C"
