// Converting the texts the runtime hands over into stored fields.
#include <cstring>

#include "database/ValueConditions.h"
#include "database/ZANTDatabase.h"
#include "language/StringToNumber.h"

using namespace dbformat;

bool SupportedColumnType(int32_t type) {
  switch (type) {
  case kColumnSmallInt:
  case kColumnInteger:
  case kColumnText:
  case kColumnFloat:
  case kColumnDouble:
  case kColumnDate:
  case kColumnTime:
  case kColumnBoolean:
  case kColumnBinary:
  case kColumnLongText:
  case kColumnLongBinary: return true;
  default: return false;
  }
}

int32_t ConvertColumnText(dbDatabase *db, int32_t type, stringStorage *text, RowField &field,
                          bool &present, string &message) {
  // A nil text is NULL: the row gets no field for the column.
  present = text != nullptr;
  if (!present) return 0;
  const char *bytes = stringStorage::CString(text);
  int length = stringStorage::Length(text);
  field.type = uint8_t(type);
  switch (type) {
  case kColumnSmallInt:
  case kColumnInteger: {
    // The same conversion as conditions use; a number the column cannot
    // hold is refused, never wrapped.
    int64_t value = ConditionInteger(bytes, length);
    bool small = type == kColumnSmallInt;
    if (value < (small ? INT16_MIN : INT32_MIN) || value > (small ? INT16_MAX : INT32_MAX)) {
      message = string("Value out of range for the column");
      return kZANTErrorInvalid;
    }
    field.integer = int32_t(value);
    return 0;
  }
  case kColumnText: field.bytes = string::Borrow(text); return 0;
  case kColumnFloat: {
    float single = float(StringVal(text));
    std::memcpy(&field.singleBits, &single, 4);
    return 0;
  }
  case kColumnDouble: {
    double real = StringVal(text);
    std::memcpy(&field.realBits, &real, 8);
    return 0;
  }
  case kColumnDate:
  case kColumnTime: {
    bool ok = type == kColumnDate ? ParseDateText(bytes, length, field.parts)
                                  : ParseTimeText(bytes, length, field.parts);
    if (ok) return 0;
    message = string(type == kColumnDate ? "Invalid date format" : "Invalid time format");
    return kZANTErrorInvalid;
  }
  case kColumnBoolean:
    field.integer = SameName(string::Borrow(text), string("true")) ? 1 : 0;
    return 0;
  case kColumnBinary:
  case kColumnLongText:
  case kColumnLongBinary: {
    // Large values live in "sys$blob"; the row keeps the BLOB's id. A
    // column declared as raw bytes stores its id as a long varbinary.
    uint32_t id;
    if (!writeBLOB(db->storage, id, reinterpret_cast<const uint8_t *>(bytes), length)) {
      message = string("Error writing BLOB");
      return kZANTErrorBlob;
    }
    field.type = uint8_t(type == kColumnBinary ? kColumnLongBinary : type);
    field.integer = int32_t(id);
    return 0;
  }
  default: present = false; return 0;
  }
}
