#include "database/sql/RecordSetOperations.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SqlStrings.h"
#include "database/sql/SqlTokenizer.h"
#include "foundation/NumberFormat.h"
#include "runtime/objects/ClassRegistry.h"

int16_t databaseValueField(const std::string &bytes, size_t field) {
  if (bytes.size() < 2 * field + 2)
    return 0;
  return static_cast<int16_t>((static_cast<uint8_t>(bytes[2 * field]) << 8) |
                              static_cast<uint8_t>(bytes[2 * field + 1]));
}

namespace {

DatabaseCursorObject *AsRecordSet(RuntimeObject *object) {
  return reinterpret_cast<DatabaseCursorObject *>(object);
}

// The slots of an open record set; null when it is nil or closed.
ZANTdbCursorDefinition *OpenSlots(DatabaseCursorObject *recordSet) {
  return recordSet && recordSet->handle ? recordSet->definition : nullptr;
}

std::string TwoDigits(int value) {
  const std::string text = "0" + std::to_string(value);
  return text.substr(text.size() - 2);
}

std::string DateText(const std::string &bytes, size_t first) {
  return std::to_string(databaseValueField(bytes, first)) + "-" + TwoDigits(databaseValueField(bytes, first + 1)) + "-" +
         TwoDigits(databaseValueField(bytes, first + 2));
}

std::string TimeText(const std::string &bytes, size_t first) {
  return TwoDigits(databaseValueField(bytes, first)) + ":" + TwoDigits(databaseValueField(bytes, first + 1)) + ":" +
         TwoDigits(databaseValueField(bytes, first + 2));
}

template <typename Number>
Number HostNumber(const std::string &bytes) {
  Number value{};
  if (bytes.size() >= sizeof value)
    std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

DatabaseFieldObject *NewField(DatabaseCursorObject *recordSet, int32_t column) {
  // The registered class is looked up by name once (a record set makes a
  // field for every column it is asked for, row after row).
  static ObjectDefinition *registered = nullptr;
  if (!registered)
    registered = getIntrinsicClass(string("DatabaseField"));
  ObjectDefinition *fieldClass = registered;
  RuntimeObject *object = fieldClass ? NewDatabaseObject(fieldClass) : nullptr;
  if (!object)
    return nullptr;
  auto *field = reinterpret_cast<DatabaseFieldObject *>(object);
  RuntimeLockObject(&recordSet->header);
  field->recordSet = recordSet;
  field->column = column;
  return field;
}

// One UPDATE statement of the write-back: the row a key selects in a table.
struct UpdateStatement {
  std::string table, set, key;
};

// Writes the update records back through the owner Database.
void WriteBack(DatabaseObject *owner, const std::vector<ZANTupdateRecord> &updates) {
  if (owner->definition && owner->definition->updateFields) {
    std::vector<ZANTupdateRecord> list = updates;
    for (size_t i = 0; i + 1 < list.size(); ++i)
      list[i].next = &list[i + 1];
    owner->definition->updateFields(owner->handle, list.data());
    return;
  }
  if (!owner->handle)
    return;
  // Statements newest first; assignments to the same row join one statement.
  std::vector<UpdateStatement> statements;
  for (const ZANTupdateRecord &update : updates) {
    const std::string_view qualified(update.qualifiedName, update.qualifiedNameLength);
    const size_t bang = qualified.find('!');
    const std::string table(qualified.substr(0, bang == std::string_view::npos ? 0 : bang));
    const std::string column(bang == std::string_view::npos ? qualified : qualified.substr(bang + 1));
    const std::string key(update.key, update.keyLength);
    const std::string assignment =
        "[" + column + "] = " + (update.value ? sqlQuoted(sqlStdString(update.value)) : std::string("NULL"));
    bool joined = false;
    for (UpdateStatement &statement : statements)
      if (sqlEqualsIgnoringCase(statement.table, table) && statement.key == key) {
        statement.set += ", " + assignment;
        joined = true;
        break;
      }
    if (!joined)
      statements.insert(statements.begin(), UpdateStatement{table, assignment, key});
  }
  for (const UpdateStatement &statement : statements) {
    const string text = sqlString("UPDATE [" + statement.table + "] SET " + statement.set + " WHERE " + statement.key);
    databaseSQLExecute(&owner->header, text.Storage());
  }
}

} // namespace

std::string recordSetColumnName(DatabaseCursorObject *recordSet, int32_t column) {
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (slots && slots->getColumnName)
    return sqlStdString(string::Adopt(slots->getColumnName(recordSet->handle, column)).Storage());
  return "field" + std::to_string(column + 1);
}

ZANTpendingEdit *recordSetPendingEdit(DatabaseCursorObject *recordSet, int32_t column) {
  for (ZANTpendingEdit *edit = recordSet->pendingEdits; edit; edit = edit->next)
    if (edit->column == column)
      return edit;
  return nullptr;
}

bool databaseValueText(const DatabaseValue &value, std::string &text, bool exact) {
  const std::string bytes = sqlStdString(value.bytes.Storage());
  switch (value.type) {
  case kColumnSmallInt:
    text = std::to_string(HostNumber<int16_t>(bytes));
    return true;
  case kColumnInteger:
    text = std::to_string(HostNumber<int32_t>(bytes));
    return true;
  case kColumnText4:
  case kColumnText:
  case kColumnBinary:
  case kColumnLongText:
  case kColumnLongBinary:
  case kColumnStringRef:
    text = bytes;
    return true;
  case kColumnFloat:
  case kColumnDouble:
    if (exact) {
      char digits[40];
      std::snprintf(digits, sizeof digits, value.type == kColumnFloat ? "%.9g" : "%.17g",
                    value.type == kColumnFloat ? double(HostNumber<float>(bytes)) : HostNumber<double>(bytes));
      text = digits;
      return true;
    }
    if (value.type == kColumnFloat) {
      text = sqlStdString(doubleStr(HostNumber<float>(bytes), kDoubleStrAutomatic, 7).Storage());
      return true;
    }
    text = sqlStdString(FormatNumber(HostNumber<double>(bytes), string("-#.0#")).Storage());
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, ".0") == 0)
      text.resize(text.size() - 2);
    return true;
  case kColumnDate:
    text = DateText(bytes, 0);
    return true;
  case kColumnTime:
    text = TimeText(bytes, 0);
    return true;
  case kColumnTimeStamp:
    text = DateText(bytes, 0) + " " + TimeText(bytes, 3);
    return true;
  case kColumnBoolean:
    text = !bytes.empty() && bytes[0] ? "true" : "false";
    return true;
  default:
    text.clear();
    return false;
  }
}

int32_t recordSetColumnIndex(DatabaseCursorObject *recordSet, std::string_view name) {
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (!slots || !slots->getColumnCount)
    return -1;
  const int32_t count = slots->getColumnCount(recordSet->handle);
  for (int32_t column = 0; column < count; ++column)
    if (sqlEqualsIgnoringCase(recordSetColumnName(recordSet, column), name))
      return column;
  return -1;
}

bool recordSetColumnText(DatabaseCursorObject *recordSet, int32_t column, std::string &text, bool exact) {
  text.clear();
  if (!recordSet || recordSet->eof || recordSet->bof)
    return false;
  if (ZANTpendingEdit *edit = recordSetPendingEdit(recordSet, column)) {
    text = sqlStdString(edit->value);
    return edit->value != nullptr;
  }
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (!slots || !slots->getColumnValue)
    return false;
  return databaseValueText(ReadCursorValue(recordSet, column), text, exact);
}

void recordSetSetText(DatabaseCursorObject *recordSet, int32_t column, stringStorage *text) {
  if (!recordSet || !recordSet->editing)
    return;
  stringStorage::AddReference(text);
  if (ZANTpendingEdit *edit = recordSetPendingEdit(recordSet, column)) {
    stringStorage::RemoveReference(edit->value);
    edit->value = text;
    return;
  }
  recordSet->pendingEdits = new ZANTpendingEdit{recordSet->pendingEdits, column, text};
}

extern "C" void cursorEdit(RuntimeObject *object) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  if (!recordSet)
    return;
  recordSet->editing = true;
  if (ZANTdbCursorDefinition *slots = OpenSlots(recordSet); slots && slots->editRow)
    slots->editRow(recordSet->handle);
}

extern "C" void cursorUpdate(RuntimeObject *object) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  if (!recordSet || !recordSet->editing)
    return;
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (recordSet->pendingEdits && slots) {
    if (slots->updateRow) {
      slots->updateRow(recordSet->handle, recordSet->pendingEdits);
    } else if (DatabaseObject *owner = recordSet->owner) {
      // Oldest edit first: the pending edits run newest first. The key bytes
      // belong to the cursor and change with the next column: copy them.
      std::vector<std::pair<std::string, std::string>> keys;
      std::vector<stringStorage *> values;
      for (ZANTpendingEdit *edit = recordSet->pendingEdits; edit; edit = edit->next) {
        const char *name = nullptr, *key = nullptr;
        int32_t nameLength = 0, keyLength = 0;
        if (slots->getFieldKey &&
            slots->getFieldKey(recordSet->handle, edit->column, &name, &nameLength, &key, &keyLength)) {
          keys.insert(keys.begin(), {std::string(name ? name : "", name ? nameLength : 0),
                                     std::string(key ? key : "", key ? keyLength : 0)});
          values.insert(values.begin(), edit->value);
        }
      }
      std::vector<ZANTupdateRecord> updates;
      for (size_t i = 0; i < keys.size(); ++i)
        updates.push_back({nullptr, keys[i].first.data(), static_cast<int32_t>(keys[i].first.size()),
                           keys[i].second.data(), static_cast<int32_t>(keys[i].second.size()), values[i]});
      if (!updates.empty())
        WriteBack(owner, updates);
    }
  }
  recordSet->editing = false;
}

extern "C" void cursorDeleteRecord(RuntimeObject *object) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (slots && !recordSet->eof && slots->deleteRow)
    slots->deleteRow(recordSet->handle);
}

namespace {

void Reposition(RuntimeObject *object, int32_t (*ZANTdbCursorDefinition::*slot)(dbCursor *)) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  if (!recordSet)
    return;
  DiscardPendingEdits(recordSet);
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (slots && slots->*slot)
    (slots->*slot)(recordSet->handle);
}

} // namespace

extern "C" void CursorMovePrev(RuntimeObject *object) { Reposition(object, &ZANTdbCursorDefinition::previousRow); }
extern "C" void CursorMoveFirst(RuntimeObject *object) { Reposition(object, &ZANTdbCursorDefinition::firstRow); }
extern "C" void CursorMoveLast(RuntimeObject *object) { Reposition(object, &ZANTdbCursorDefinition::lastRow); }

extern "C" int32_t cursorFieldCount(RuntimeObject *object) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  return slots && slots->getColumnCount ? slots->getColumnCount(recordSet->handle) : 0;
}

extern "C" RuntimeObject *cursorGetFieldByName(RuntimeObject *object, stringStorage *name) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  const int32_t column = recordSetColumnIndex(recordSet, sqlStdString(name));
  DatabaseFieldObject *field = column < 0 ? nullptr : NewField(recordSet, column);
  return field ? &field->header : nullptr;
}

extern "C" RuntimeObject *cursorGetFieldByIndex(RuntimeObject *object, int32_t index) {
  DatabaseCursorObject *recordSet = AsRecordSet(object);
  ZANTdbCursorDefinition *slots = OpenSlots(recordSet);
  if (!slots || !slots->getColumnCount || index < 1 || index > slots->getColumnCount(recordSet->handle))
    return nullptr;
  DatabaseFieldObject *field = NewField(recordSet, index - 1);
  return field ? &field->header : nullptr;
}

extern "C" RuntimeObject *databaseFieldSchema(RuntimeObject *object, stringStorage *table) {
  auto *database = reinterpret_cast<DatabaseObject *>(object);
  if (!demandConnectDatabase(database) || !database->definition || !database->definition->getFieldSchema)
    return nullptr;
  return database->definition->getFieldSchema(database->handle, table);
}

extern "C" void databaseCursorFieldSetString(RuntimeObject *object, stringStorage *text) {
  auto *field = reinterpret_cast<DatabaseFieldObject *>(object);
  if (field)
    recordSetSetText(field->recordSet, field->column, text);
}

extern "C" stringStorage *cursorFieldStringValueGetter(RuntimeObject *object) {
  auto *field = reinterpret_cast<DatabaseFieldObject *>(object);
  if (!field)
    return nullptr;
  std::string text;
  recordSetColumnText(field->recordSet, field->column, text);
  return sqlStorage(text);
}

extern "C" stringStorage *databaseCursorFieldGetString(RuntimeObject *object) {
  return cursorFieldStringValueGetter(object);
}
