#include "database/classes/DatabaseFieldClass.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "database/DatabaseInterface.h"
#include "database/DatabaseObjects.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlStrings.h"
#include "files/FolderItemClass.h"
#include "files/SpecialFolders.h"
#include "foundation/NumberFormat.h"
#include "language/DateClass.h"
#include "language/StringToNumber.h"
#include "language/Variant.h"

namespace {

DatabaseFieldObject *AsField(RuntimeObject *object) { return reinterpret_cast<DatabaseFieldObject *>(object); }

// What a getter reads: nothing (no row, or a cursor that hands out no
// values), a pending edit's text (nil for NULL), or the cursor's value.
struct FieldRead {
  enum Source { kNothing, kPending, kCursor } source = kNothing;
  string pending;
  DatabaseValue value;
  std::string bytes; // the cursor value's bytes
};

FieldRead Read(RuntimeObject *object, bool pendingFirst = true) {
  FieldRead read;
  DatabaseFieldObject *field = AsField(object);
  DatabaseCursorObject *recordSet = field ? field->recordSet : nullptr;
  if (!recordSet || recordSet->eof || recordSet->bof)
    return read;
  if (ZANTpendingEdit *edit = pendingFirst ? recordSetPendingEdit(recordSet, field->column) : nullptr) {
    read.source = FieldRead::kPending;
    read.pending = string::Borrow(edit->value);
    return read;
  }
  if (!recordSet->handle || !recordSet->definition || !recordSet->definition->getColumnValue)
    return read;
  read.source = FieldRead::kCursor;
  read.value = ReadCursorValue(recordSet, field->column);
  read.bytes = sqlStdString(read.value.bytes.Storage());
  return read;
}

template <typename Number>
Number HostNumber(const std::string &bytes) {
  Number value{};
  if (bytes.size() >= sizeof value)
    std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

bool IsText(uint8_t type) {
  switch (type) {
  case kColumnText4:
  case kColumnText:
  case kColumnBinary:
  case kColumnLongText:
  case kColumnLongBinary:
    return true;
  default:
    return false;
  }
}

// The number of an integer or floating column; false for other types.
bool NumberOf(const FieldRead &read, double &number) {
  switch (read.value.type) {
  case kColumnSmallInt:
    number = HostNumber<int16_t>(read.bytes);
    return true;
  case kColumnInteger:
    number = HostNumber<int32_t>(read.bytes);
    return true;
  case kColumnFloat:
    number = HostNumber<float>(read.bytes);
    return true;
  case kColumnDouble:
    number = HostNumber<double>(read.bytes);
    return true;
  default:
    return false;
  }
}

double DoubleOf(const FieldRead &read) {
  if (read.source == FieldRead::kPending)
    return StringVal(read.pending.Storage());
  if (read.source == FieldRead::kNothing)
    return 0;
  double number = 0;
  if (NumberOf(read, number))
    return number;
  if (IsText(read.value.type) || read.value.type == kColumnStringRef)
    return StringVal(read.value.bytes.Storage());
  if (read.value.type == kColumnBoolean)
    return !read.bytes.empty() && read.bytes[0] ? 1.0 : 0.0;
  return 0;
}

int16_t Part(const FieldRead &read, size_t n) { return databaseValueField(read.bytes, n); }

// The Date of a date, time or timestamp value; 1 January of year 1 at
// midnight for any other type.
RuntimeObject *DateOf(const FieldRead &read, int32_t timeYear) {
  switch (read.value.type) {
  case kColumnDate:
    return ConstructDate(Part(read, 0), Part(read, 1), Part(read, 2), 0, 0, 0);
  case kColumnTime:
    return ConstructDate(timeYear, timeYear, timeYear, Part(read, 0), Part(read, 1), Part(read, 2));
  case kColumnTimeStamp:
    return ConstructDate(Part(read, 0), Part(read, 1), Part(read, 2), Part(read, 3), Part(read, 4), Part(read, 5));
  default:
    return ConstructDate(1, 1, 1, 0, 0, 0);
  }
}

// The column as the Date of a Variant: a time of day stands on the date
// whose fields are all 0.
RuntimeObject *DateVariant(const FieldRead &read) {
  RuntimeObject *date = DateOf(read, 0);
  RuntimeObject *variant = DateToVariant(date);
  RuntimeUnlockObject(date);
  return variant;
}

void Record(RuntimeObject *object, const string &text) {
  DatabaseFieldObject *field = AsField(object);
  if (field)
    recordSetSetText(field->recordSet, field->column, text.Storage());
}

} // namespace

string DatabaseDoubleText(double value) { return doubleStr(value, kDoubleStrAutomatic, 20); }

string DatabaseIntegerText(int32_t value) { return string(std::to_string(value).c_str()); }

string DatabaseDateText(RuntimeObject *date) { return date ? string::Adopt(QVDateToDBDate(date)) : string(); }

string DatabaseBooleanText(bool value) { return string(value ? "true" : "false"); }

bool DatabaseTextIsTrue(const string &text) {
  // "true" in any case starts with the letter too.
  const char *bytes = text.CString();
  return text.Length() > 0 && (bytes[0] == 't' || bytes[0] == 'T');
}

RuntimeObject *DatabasePictureFromBytes(const string &bytes) {
  if (bytes.IsEmpty())
    return nullptr;
  RuntimeObject *file = getTemporaryFolderItem();
  if (!file)
    return nullptr;
  const std::string path = sqlStdString(string::Adopt(fileAbsolutePathGetter(file, 0)).Storage());
  RuntimeObject *picture = nullptr;
  const int descriptor = path.empty() ? -1 : open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor >= 0) {
    const char *data = bytes.CString();
    size_t left = static_cast<size_t>(bytes.Length());
    bool written = true;
    while (left > 0 && written) {
      const ssize_t n = write(descriptor, data, left);
      written = n > 0;
      if (written) {
        data += n;
        left -= static_cast<size_t>(n);
      }
    }
    close(descriptor);
    if (written)
      picture = FolderItemOpenImage(file);
    unlink(path.c_str());
  }
  RuntimeUnlockObject(file);
  return picture;
}

extern "C" stringStorage *cursorFieldNameGetter(RuntimeObject *object, int32_t) {
  DatabaseFieldObject *field = AsField(object);
  if (!field || !field->recordSet)
    return nullptr;
  return sqlStorage(recordSetColumnName(field->recordSet, field->column));
}

extern "C" void cursorFieldStringValueSetter(RuntimeObject *object, int32_t, stringStorage *value) {
  databaseCursorFieldSetString(object, value);
}

extern "C" double cursorFieldDoubleValueGetter(RuntimeObject *object, int32_t) { return DoubleOf(Read(object)); }

extern "C" void cursorFieldDoubleValueSetter(RuntimeObject *object, int32_t, double value) {
  Record(object, DatabaseDoubleText(value));
}

extern "C" int32_t cursorFieldIntegerValueGetter(RuntimeObject *object, int32_t) {
  // Converted as compiled code converts a Double: out of range gives the
  // 32-bit integer indefinite.
  return DoubleToInteger(DoubleOf(Read(object)));
}

extern "C" void cursorFieldIntegerValueSetter(RuntimeObject *object, int32_t, int32_t value) {
  Record(object, DatabaseIntegerText(value));
}

extern "C" stringStorage *cursorFieldNativeValueGetter(RuntimeObject *object, int32_t) {
  FieldRead read = Read(object, false);
  if (read.source != FieldRead::kCursor)
    return nullptr;
  return read.value.bytes.ExtractStringStorage();
}

extern "C" RuntimeObject *cursorFieldDateValueGetter(RuntimeObject *object, int32_t) {
  FieldRead read = Read(object);
  if (read.source == FieldRead::kPending)
    return read.pending.IsEmpty() ? nullptr : dbDateToQVDate(read.pending.Storage());
  if (read.source == FieldRead::kNothing)
    return nullptr;
  return DateOf(read, 1);
}

extern "C" void cursorFieldDateValueSetter(RuntimeObject *object, int32_t, RuntimeObject *date) {
  if (date)
    Record(object, DatabaseDateText(date));
}

extern "C" RuntimeObject *cursorFieldMactPictGetter(RuntimeObject *, int32_t) { return nullptr; }

extern "C" void cursorFieldMactPictSetter(RuntimeObject *object, int32_t, RuntimeObject *) {
  Record(object, string());
}

extern "C" RuntimeObject *cursorFieldJPEGGetter(RuntimeObject *object, int32_t) {
  FieldRead read = Read(object);
  if (read.source == FieldRead::kPending)
    return DatabasePictureFromBytes(read.pending);
  if (read.source == FieldRead::kCursor && IsText(read.value.type) && read.value.type != kColumnText4)
    return DatabasePictureFromBytes(read.value.bytes);
  return nullptr;
}

extern "C" void cursorFieldJPEGSetter(RuntimeObject *object, int32_t, RuntimeObject *picture) {
  // No picture can be saved as JPEG on this platform: a picture leaves the
  // value as it is rather than erase it.
  if (!picture)
    Record(object, string());
}

extern "C" int32_t CursorFieldBooleanValueGetter(RuntimeObject *object, int32_t) {
  FieldRead read = Read(object);
  // A pending edit reads as a text column does.
  if (read.source == FieldRead::kPending)
    return DatabaseTextIsTrue(read.pending);
  if (read.source == FieldRead::kNothing)
    return 0;
  double number = 0;
  if (NumberOf(read, number))
    return number != 0;
  if (IsText(read.value.type))
    return DatabaseTextIsTrue(read.value.bytes);
  if (read.value.type == kColumnBoolean)
    return !read.bytes.empty() && read.bytes[0] != 0;
  return 0;
}

extern "C" void CursorFieldBooleanValueSetter(RuntimeObject *object, int32_t, int32_t value) {
  Record(object, DatabaseBooleanText(value != 0));
}

extern "C" RuntimeObject *CursorFieldValueGetter(RuntimeObject *object, int32_t) {
  FieldRead read = Read(object);
  if (read.source == FieldRead::kPending)
    return stringToVariant(read.pending.Storage());
  if (read.source == FieldRead::kNothing)
    return nullptr;
  switch (read.value.type) {
  case kColumnSmallInt:
    return intToVariant(HostNumber<int16_t>(read.bytes));
  case kColumnInteger:
    return intToVariant(HostNumber<int32_t>(read.bytes));
  case kColumnFloat:
    return doubleToVariant(HostNumber<float>(read.bytes));
  case kColumnDouble:
    return doubleToVariant(HostNumber<double>(read.bytes));
  case kColumnDate:
  case kColumnTime:
  case kColumnTimeStamp:
    return DateVariant(read);
  case kColumnBoolean:
    return booleanToVariant(!read.bytes.empty() && read.bytes[0] != 0);
  case kColumnStringRef:
    return stringToVariant(read.value.bytes.Storage());
  default:
    return IsText(read.value.type) ? stringToVariant(read.value.bytes.Storage()) : nullptr;
  }
}

extern "C" void CursorFieldValueSetter(RuntimeObject *object, int32_t, RuntimeObject *variant) {
  switch (VarType(variant)) {
  case kVariantNil:
  case kVariantObject:
    Record(object, string());
    return;
  case kVariantInteger:
    Record(object, DatabaseIntegerText(variantToInt(variant)));
    return;
  case kVariantDouble:
    Record(object, DatabaseDoubleText(variantToDouble(variant)));
    return;
  case kVariantDate:
    Record(object, DatabaseDateText(variant));
    return;
  case kVariantBoolean:
    Record(object, DatabaseBooleanText(variantToBoolean(variant) != 0));
    return;
  default:
    // Any other value records its text as StringValue would, "" included.
    Record(object, string::Adopt(variantToString(variant)));
    return;
  }
}
