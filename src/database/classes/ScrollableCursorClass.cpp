#include "database/classes/ScrollableCursorClass.h"

#include <iterator>
#include <string>
#include <vector>

#include "controls/DataBindingServices.h"
#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/classes/DatabaseRecordClass.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlStrings.h"
#include "foundation/RandomAccessMechanism.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

ScrollableCursorObject *AsScrollable(RuntimeObject *object) {
  return reinterpret_cast<ScrollableCursorObject *>(object);
}

bool WriteText(RandomAccessMechanism *out, const std::string &bytes) {
  return out->WriteEncodedInt(static_cast<int>(bytes.size())) &&
         (bytes.empty() || out->WriteData(bytes.data(), static_cast<long>(bytes.size())));
}

// The 1-based position of the qualified name in the cursor-wide list,
// appended when it is new.
int32_t KeyNamePosition(ScrollableCursorObject *self, const std::string &name) {
  int32_t position = 1;
  for (ScrollableKeyName *entry = self->keyNamesHead; entry; entry = entry->next, ++position)
    if (sqlStdString(entry->name) == name)
      return position;
  auto *entry = new ScrollableKeyName{nullptr, sqlStorage(name)};
  if (self->keyNamesTail)
    self->keyNamesTail->next = entry;
  else
    self->keyNamesHead = entry;
  self->keyNamesTail = entry;
  return position;
}

// One row: every column's StringValue text, then every column's key, a
// key text met before in this row written as its negated position.
bool WriteRow(ScrollableCursorObject *self, DatabaseCursorObject *recordSet, RandomAccessMechanism *out) {
  std::string text;
  for (int32_t column = 0; column < self->columnCount; ++column) {
    recordSetColumnText(recordSet, column, text);
    if (!WriteText(out, text))
      return false;
  }
  ZANTdbCursorDefinition *slots = recordSet->handle ? recordSet->definition : nullptr;
  std::vector<std::string> rowKeys;
  for (int32_t column = 0; column < self->columnCount; ++column) {
    const char *name = nullptr, *key = nullptr;
    int32_t nameLength = 0, keyLength = 0;
    if (!slots || !slots->getFieldKey ||
        !slots->getFieldKey(recordSet->handle, column, &name, &nameLength, &key, &keyLength)) {
      if (!out->WriteEncodedInt(0))
        return false;
      continue;
    }
    const std::string qualified(name ? name : "", name && nameLength > 0 ? size_t(nameLength) : 0);
    const std::string keyText(key ? key : "", key && keyLength > 0 ? size_t(keyLength) : 0);
    if (!out->WriteEncodedInt(KeyNamePosition(self, qualified)))
      return false;
    int32_t earlier = 0;
    for (size_t i = 0; i < rowKeys.size() && !earlier; ++i)
      if (rowKeys[i] == keyText)
        earlier = static_cast<int32_t>(i + 1);
    if (earlier) {
      if (!out->WriteEncodedInt(-earlier))
        return false;
    } else {
      rowKeys.push_back(keyText);
      if (!WriteText(out, keyText))
        return false;
    }
  }
  return true;
}

void ScrollableCursorDestructor(RuntimeObject *object) {
  ScrollableCursorObject *self = AsScrollable(object);
  disposeListChunk(self->rows);
  self->rows = nullptr;
  ScrollableKeyName *entry = self->keyNamesHead;
  self->keyNamesHead = self->keyNamesTail = nullptr;
  while (entry) {
    ScrollableKeyName *next = entry->next;
    stringStorage::RemoveReference(entry->name);
    delete entry;
    entry = next;
  }
}

// clang-format off
MethodParameter sCursorParams[] = {{"cursor", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sRowParams[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
PropertyMethod ScrollableMethods[] = {
    METHOD("ScrollableCursor", scrollableCursorConstructor, nullptr, sCursorParams, 1),
    METHOD("GetCount", scrollableCursorGetCount, &integerType.type, nullptr, 0),
    METHOD("GetRow", scrollableCursorGetRow, nullptr, sRowParams, 1),
};
// clang-format on
enum { kGetRowMethod = 2 };

} // namespace

ObjectDefinition *ScrollableCursorClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "ScrollableCursor", nullptr, sizeof(ScrollableCursorObject)))
    return &defn;
  defn.destructor = ScrollableCursorDestructor;
  sCursorParams[0].type = RecordSetClass()->AsType();
  ScrollableMethods[kGetRowMethod].returnType = TupleInterfaceClass()->AsType();
  defn.methods = FillMethods(ScrollableMethods, std::size(ScrollableMethods));
  defn.addInterface(ListDataProviderClass());
  return &defn;
}

extern "C" void scrollableCursorConstructor(RuntimeObject *object, RuntimeObject *cursor) {
  ScrollableCursorObject *self = AsScrollable(object);
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(cursor);
  if (!self || !recordSet || self->rows)
    return;
  self->rows = newListChunk();
  self->columnCount = cursorFieldCount(cursor);
  if (!self->rows)
    return;
  while (!recordSet->eof) {
    RandomAccessMechanism *out = addListChunk(self->rows);
    // A row that cannot be written ends the copy; the rows before stay.
    if (!out || !WriteRow(self, recordSet, out))
      break;
    cursorMoveNext(cursor);
    RuntimeBackgroundTask();
  }
}

extern "C" int32_t scrollableCursorGetCount(RuntimeObject *object) {
  ScrollableCursorObject *self = AsScrollable(object);
  return self && self->rows ? listChunkCount(self->rows) : 0;
}

extern "C" RuntimeObject *scrollableCursorGetRow(RuntimeObject *object, int32_t v) {
  if (v < 1 || v > scrollableCursorGetCount(object))
    return nullptr;
  ScrollableCursorObject *self = AsScrollable(object);
  RandomAccessMechanism *in = getListChunk(self->rows, v - 1);
  if (!in)
    return nullptr;
  RuntimeObject *record = NewDatabaseObject(DatabaseRecordClass());
  for (int32_t column = 0; record && column < self->columnCount; ++column) {
    int length = 0;
    std::string bytes;
    if (in->ReadEncodedInt(length) && length > 0 && length <= in->GetLength()) {
      bytes.resize(static_cast<size_t>(length));
      long got = 0;
      if (!in->ReadData(bytes.data(), length, got) || got != length)
        bytes.clear();
    }
    DatabaseRecordAppend(record, nullptr, sqlString(bytes), kColumnText);
  }
  return record;
}
