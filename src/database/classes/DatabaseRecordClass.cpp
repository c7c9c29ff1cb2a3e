#include "database/classes/DatabaseRecordClass.h"

#include <iterator>

#include "controls/DataBindingServices.h"
#include "database/DatabaseClasses.h"
#include "database/classes/DatabaseFieldClass.h"
#include "foundation/ByteStrings.h"
#include "foundation/NumberText.h"
#include "graphics/GraphicsServices.h"
#include "language/DateClass.h"
#include "language/StringToNumber.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

DatabaseRecordObject *AsRecord(RuntimeObject *object) { return reinterpret_cast<DatabaseRecordObject *>(object); }

ZANTcolumnValue *Find(RuntimeObject *record, stringStorage *name) {
  const string wanted = string::Borrow(name);
  for (ZANTcolumnValue *entry = DatabaseRecordEntries(record); entry; entry = entry->next) {
    const string entryName = string::Borrow(entry->name);
    if (ustrcmpi(entryName.CString(), entryName.Length(), wanted.CString(), wanted.Length()) == 0)
      return entry;
  }
  return nullptr;
}

// The value text of the named entry (borrowed), or nil.
string TextOf(RuntimeObject *record, stringStorage *name) {
  ZANTcolumnValue *entry = Find(record, name);
  return entry ? string::Borrow(entry->value) : string();
}

void DatabaseRecordDestructor(RuntimeObject *object) {
  DatabaseRecordObject *record = AsRecord(object);
  ZANTcolumnValue *entry = record->entries;
  record->entries = nullptr;
  while (entry) {
    ZANTcolumnValue *next = entry->next;
    stringStorage::RemoveReference(entry->name);
    stringStorage::RemoveReference(entry->value);
    delete entry;
    entry = next;
  }
}

ZANTcolumnValue *NewEntry(stringStorage *name, const string &text, int32_t type) {
  stringStorage::AddReference(name);
  return new ZANTcolumnValue{nullptr, name, text.ExtractStringStorage(), type};
}

#define PARAM(name, type)                                                                          \
  { name, type, 0, {}, 0, {}, 0, {} }
#define COLUMN(name, type, getter, setter)                                                         \
  { name, type, nullptr, 2, {{ACCESSOR(getter), {}}, {ACCESSOR(setter), {}}}, kAssignsMethod, 0, 0 }

// clang-format off
// Each assignable method's parameters: the column name, then the value,
// whose type is filled when the class is built.
MethodParameter sColumnParams[8][2] = {
    {PARAM("Name", &stringType.type), PARAM("value", &stringType.type)},
    {PARAM("Name", &stringType.type), PARAM("value", &doubleType.type)},
    {PARAM("Name", &stringType.type), PARAM("value", &integerType.type)},
    {PARAM("Name", &stringType.type), PARAM("value", nullptr)},
    {PARAM("Name", &stringType.type), PARAM("value", nullptr)},
    {PARAM("Name", &stringType.type), PARAM("value", nullptr)},
    {PARAM("Name", &stringType.type), PARAM("value", &stringType.type)},
    {PARAM("Name", &stringType.type), PARAM("value", &booleanType.type)},
};
MethodParameter sIndexParams[] = {PARAM("v", &integerType.type)};

PropertyMethod RecordMethods[] = {
    COLUMN("Column", &stringType.type, getDatabaseRecordColumn, setDatabaseRecordColumn),
    COLUMN("DoubleColumn", &doubleType.type, getDatabaseRecordDoubleColumn, setDatabaseRecordDoubleColumn),
    COLUMN("IntegerColumn", &integerType.type, getDatabaseRecordIntegerColumn, setDatabaseRecordIntegerColumn),
    COLUMN("DateColumn", nullptr, getDatabaseRecordDateColumn, setDatabaseRecordDateColumn),
    COLUMN("MacPictColumn", nullptr, getDatabaseRecordMacPictColumn, setDatabaseRecordMacPictColumn),
    COLUMN("JPEGColumn", nullptr, getDatabaseRecordJPEGColumn, setDatabaseRecordJPEGColumn),
    COLUMN("BlobColumn", &stringType.type, GetDatabaseRecordBlobColumn, SetDatabaseRecordBlobColumn),
    COLUMN("BooleanColumn", &booleanType.type, GetDatabaseRecordBooleanColumn, SetDatabaseRecordBooleanColumn),
    METHOD("FieldCount", getDatabaseRecordFieldCount, &integerType.type, nullptr, 0),
    METHOD("getIndString", getDatabaseRecordIndString, &stringType.type, sIndexParams, 1),
};
enum { kDateColumn = 3, kMacPictColumn = 4, kJPEGColumn = 5, kAssignableCount = 8 };
// clang-format on

} // namespace

ObjectDefinition *DatabaseRecordClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "DatabaseRecord", nullptr, sizeof(DatabaseRecordObject)))
    return &defn;
  defn.destructor = DatabaseRecordDestructor;
  PropertyType *date = DateClass()->AsType(), *picture = PictureClass()->AsType();
  RecordMethods[kDateColumn].returnType = date;
  RecordMethods[kMacPictColumn].returnType = picture;
  RecordMethods[kJPEGColumn].returnType = picture;
  for (int i = 0; i < kAssignableCount; ++i) {
    RecordMethods[i].params = sColumnParams[i];
    sColumnParams[i][1].type = RecordMethods[i].returnType;
  }
  defn.methods = FillMethods(RecordMethods, std::size(RecordMethods));
  defn.addInterface(TupleInterfaceClass());
  return &defn;
}

ZANTcolumnValue *DatabaseRecordEntries(RuntimeObject *record) {
  return record ? AsRecord(record)->entries : nullptr;
}

void DatabaseRecordSet(RuntimeObject *object, stringStorage *name, const string &text, int32_t type) {
  if (!object)
    return;
  if (ZANTcolumnValue *entry = Find(object, name)) {
    stringStorage::RemoveReference(entry->value);
    entry->value = text.ExtractStringStorage();
    return;
  }
  DatabaseRecordObject *record = AsRecord(object);
  ZANTcolumnValue *entry = NewEntry(name, text, type);
  entry->next = record->entries;
  record->entries = entry;
}

void DatabaseRecordAppend(RuntimeObject *object, stringStorage *name, const string &text, int32_t type) {
  if (!object)
    return;
  ZANTcolumnValue **tail = &AsRecord(object)->entries;
  while (*tail)
    tail = &(*tail)->next;
  *tail = NewEntry(name, text, type);
}

extern "C" stringStorage *getDatabaseRecordColumn(RuntimeObject *record, stringStorage *name) {
  return TextOf(record, name).ExtractStringStorage();
}

extern "C" void setDatabaseRecordColumn(RuntimeObject *record, stringStorage *name, stringStorage *value) {
  DatabaseRecordSet(record, name, string::Borrow(value), kColumnText);
}

extern "C" double getDatabaseRecordDoubleColumn(RuntimeObject *record, stringStorage *name) {
  return StringVal(TextOf(record, name).Storage());
}

extern "C" void setDatabaseRecordDoubleColumn(RuntimeObject *record, stringStorage *name, double value) {
  DatabaseRecordSet(record, name, DatabaseDoubleText(value), kColumnDouble);
}

extern "C" int32_t getDatabaseRecordIntegerColumn(RuntimeObject *record, stringStorage *name) {
  const string text = TextOf(record, name);
  return static_cast<int32_t>(uatol(text.CString(), text.Length()));
}

extern "C" void setDatabaseRecordIntegerColumn(RuntimeObject *record, stringStorage *name, int32_t value) {
  DatabaseRecordSet(record, name, DatabaseIntegerText(value), kColumnInteger);
}

extern "C" RuntimeObject *getDatabaseRecordDateColumn(RuntimeObject *record, stringStorage *name) {
  const string text = TextOf(record, name);
  return text.IsEmpty() ? nullptr : dbDateToQVDate(text.Storage());
}

extern "C" void setDatabaseRecordDateColumn(RuntimeObject *record, stringStorage *name, RuntimeObject *date) {
  if (date)
    DatabaseRecordSet(record, name, DatabaseDateText(date), kColumnDate);
}

extern "C" RuntimeObject *getDatabaseRecordMacPictColumn(RuntimeObject *, stringStorage *) { return nullptr; }

extern "C" void setDatabaseRecordMacPictColumn(RuntimeObject *record, stringStorage *name, RuntimeObject *picture) {
  if (picture)
    DatabaseRecordSet(record, name, string(), kColumnText);
}

extern "C" RuntimeObject *getDatabaseRecordJPEGColumn(RuntimeObject *record, stringStorage *name) {
  return DatabasePictureFromBytes(TextOf(record, name));
}

extern "C" void setDatabaseRecordJPEGColumn(RuntimeObject *, stringStorage *, RuntimeObject *) {
  // No picture can be saved as JPEG on this platform, and a nil picture
  // records nothing either: the column is left as it is.
}

extern "C" stringStorage *GetDatabaseRecordBlobColumn(RuntimeObject *record, stringStorage *name) {
  return TextOf(record, name).ExtractStringStorage();
}

extern "C" void SetDatabaseRecordBlobColumn(RuntimeObject *record, stringStorage *name, stringStorage *value) {
  DatabaseRecordSet(record, name, string::Borrow(value), kColumnBinary);
}

extern "C" int32_t GetDatabaseRecordBooleanColumn(RuntimeObject *record, stringStorage *name) {
  const string text = TextOf(record, name);
  return ustrcmpi(text.CString(), text.Length(), "true", 4) == 0;
}

extern "C" void SetDatabaseRecordBooleanColumn(RuntimeObject *record, stringStorage *name, int32_t value) {
  DatabaseRecordSet(record, name, DatabaseBooleanText(value != 0), kColumnBoolean);
}

extern "C" int32_t getDatabaseRecordFieldCount(RuntimeObject *record) {
  int32_t count = 0;
  for (ZANTcolumnValue *entry = DatabaseRecordEntries(record); entry; entry = entry->next)
    ++count;
  return count;
}

extern "C" stringStorage *getDatabaseRecordIndString(RuntimeObject *record, int32_t index) {
  int32_t position = 1;
  for (ZANTcolumnValue *entry = DatabaseRecordEntries(record); entry; entry = entry->next, ++position)
    if (position == index) {
      stringStorage::AddReference(entry->value);
      return entry->value;
    }
  return nullptr;
}
