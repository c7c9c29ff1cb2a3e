#include "database/ZANTCursors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "database/DatabaseInterface.h"
#include "database/ZANTDatabase.h"
#include "foundation/NumberFormat.h"

using namespace dbformat;

namespace {
const uint8_t kTablesKey[] = {1};
const uint8_t kFieldsKey[] = {0, 2};

dbCursor *NewCursor(dbDatabase *db, const string &tableName) {
  auto *cursor = new dbCursor;
  cursor->db = db;
  cursor->tableName = tableName;
  db->cursors.push_back(cursor);
  return cursor;
}

void EndStorage(dbCursor *cursor) {
  if (!cursor->storage) return;
  qvdbCursor *storage = cursor->storage;
  cursor->storage = nullptr;
  delete storage; // inserts the rows of its update file
  if (cursor->db && cursor->db->storage && cursor->db->storage->Failed())
    SetZANTFileError(cursor->db);
}

void CloseSlot(dbCursor *cursor) {
  if (!cursor) return;
  EndStorage(cursor);
  if (cursor->db) {
    auto &list = cursor->db->cursors;
    list.erase(std::remove(list.begin(), list.end(), cursor), list.end());
  }
  ReleaseZANTTable(cursor->table);
  delete cursor;
}

int32_t ColumnCountSlot(dbCursor *cursor) { return int32_t(cursor->columns.size()); }

stringStorage *ColumnNameSlot(dbCursor *cursor, int32_t column) {
  if (column < 0 || size_t(column) >= cursor->columns.size()) return nullptr;
  return cursor->columns[size_t(column)].name.ExtractStringStorage();
}

void ReleaseSlot(dbCursor *cursor) {
  cursor->blob.clear();
  cursor->blob.shrink_to_fit();
}

void ColumnValueSlot(dbCursor *cursor, int32_t column, void **data, uint8_t *type, int32_t *length) {
  *data = nullptr;
  *type = kColumnNull;
  *length = 0;
  if (!cursor->storage || column < 0 || size_t(column) >= cursor->columns.size()) return;
  ColumnValue &value = cursor->value;
  if (!tableCursorColumnValue(cursor->storage, cursor->columns[size_t(column)].number, value)) {
    if (cursor->db) SetZANTFileError(cursor->db);
    return;
  }
  switch (value.type) {
  case kColumnSmallInt:
  case kColumnInteger:
  case kColumnText:
  case kColumnFloat:
  case kColumnDouble:
  case kColumnDate:
  case kColumnTime:
  case kColumnBoolean:
    *data = const_cast<uint8_t *>(value.data);
    *type = value.type;
    *length = value.length;
    return;
  case kColumnBinary:
    // Inline bytes (not written by this engine for user columns).
    *data = const_cast<uint8_t *>(value.data);
    *type = value.type;
    *length = value.length;
    return;
  case kColumnLongText:
  case kColumnLongBinary: {
    uint32_t id;
    std::memcpy(&id, value.data, 4);
    *type = value.type;
    if (cursor->db && readBLOB(cursor->db->storage, id, cursor->blob)) {
      *data = cursor->blob.data();
      *length = int32_t(cursor->blob.size());
    } else if (cursor->db && cursor->db->storage->Failed()) {
      SetZANTFileError(cursor->db); // a damaged BLOB reads as no value
    }
    return;
  }
  default: return;
  }
}

// Steps to the next row that satisfies the condition.
int32_t NextRowSlot(dbCursor *cursor) {
  if (!cursor->storage) return 0;
  qvdbDatabase *db = cursor->db ? cursor->db->storage : nullptr;
  while (db && cursor->storage->nextValidRecord()) {
    int length;
    const uint8_t *record = cursor->storage->CurrentRecord(length);
    if (!record) break;
    if (cursor->seeking) {
      auto key = std::make_unique<KeyBuffer>();
      if (!cursor->storage->CurrentKey(*key)) break;
      // Rows run in key order: past the sought key nothing more can match.
      if (CompareKeys(key->bytes, key->length, cursor->seekKey.data(), int(cursor->seekKey.size())) != 0)
        break;
    }
    if (cursor->fieldSchema) {
      FieldRef id;
      if (!FindField(record, length, 0, id)) break;
      if (id.type != kColumnInteger || int32_t(Load32(id.value)) != cursor->fieldSchemaTable) continue;
    }
    if (EvaluateConstraint(cursor->condition.get(), db, record, length)) return 1;
  }
  if (db && db->Failed() && cursor->db) SetZANTFileError(cursor->db);
  EndStorage(cursor);
  return 0;
}

void DeleteRowSlot(dbCursor *cursor) {
  if (!cursor->storage) return;
  if (!cursor->storage->deleteRecord() && cursor->db) SetZANTFileError(cursor->db);
}

// The text of a stored value in a key condition; false for a type that has none.
bool KeyValueText(const FieldRef &field, string &text) {
  char buffer[64];
  switch (field.type) {
  case 0: text = string(); return true;
  case kColumnSmallInt:
    std::snprintf(buffer, sizeof buffer, "%d", int(int16_t(Load16(field.value))));
    text = string(buffer);
    return true;
  case kColumnInteger:
    std::snprintf(buffer, sizeof buffer, "%ld", long(int32_t(Load32(field.value))));
    text = string(buffer);
    return true;
  case kColumnText: {
    string value;
    value.ConstructFromBuffer(reinterpret_cast<const char *>(field.value + 4), int(Load32(field.value)));
    text = string("'");
    for (int i = 0; i < value.Length(); i++) {
      char c[3] = {value.CString()[i], 0, 0};
      if (c[0] == '\'') c[1] = '\'';
      text += c[0] ? string(c) : string();
    }
    text += string("'");
    return true;
  }
  case kColumnFloat:
  case kColumnDouble: {
    double value;
    if (field.type == kColumnFloat) {
      uint32_t bits = Load32(field.value);
      float single;
      std::memcpy(&single, &bits, 4);
      value = single;
    } else {
      uint64_t bits = Load64(field.value);
      std::memcpy(&value, &bits, 8);
    }
    text = doubleStr(value, -1, 7);
    return true;
  }
  case kColumnDate:
  case kColumnTime: {
    char sep = field.type == kColumnDate ? '-' : ':';
    std::snprintf(buffer, sizeof buffer, "'%d%c%d%c%d'", int(int16_t(Load16(field.value))), sep,
                  int(int16_t(Load16(field.value + 2))), sep, int(int16_t(Load16(field.value + 4))));
    text = string(buffer);
    return true;
  }
  default: return false;
  }
}

int32_t FieldKeySlot(dbCursor *cursor, int32_t column, const char **name, int32_t *nameLength,
                     const char **key, int32_t *keyLength) {
  if (column < 0 || size_t(column) >= cursor->columns.size() || !cursor->storage || !cursor->table)
    return 0;
  int length;
  const uint8_t *record = cursor->storage->CurrentRecord(length);
  if (!record) return 0;
  cursor->qualifiedName = cursor->tableName + string("!") + cursor->columns[size_t(column)].name;
  string text;
  const ZANTTable *table = cursor->table;
  for (int k = 0; k < table->primaryKeyCount; k++) {
    const ZANTColumn *keyColumn = table->Column(table->primaryKey[k]);
    FieldRef field;
    string value;
    if (!keyColumn || !FindField(record, length, keyColumn->number, field) || !KeyValueText(field, value))
      return 0;
    if (k) text += string(" and ");
    text += keyColumn->name + string("=") + value;
  }
  cursor->keyText = text;
  *name = cursor->qualifiedName.CString();
  *nameLength = cursor->qualifiedName.Length();
  *key = cursor->keyText.CString();
  *keyLength = cursor->keyText.Length();
  return 1;
}

// A stored field as a field to write again.
RowField CarriedField(const FieldRef &field, uint8_t column) {
  RowField out;
  out.column = column;
  out.type = field.type;
  switch (field.type) {
  case kColumnSmallInt: out.integer = int16_t(Load16(field.value)); break;
  case kColumnInteger:
  case kColumnLongText:
  case kColumnLongBinary: out.integer = int32_t(Load32(field.value)); break;
  case kColumnFloat: out.singleBits = Load32(field.value); break;
  case kColumnDouble: out.realBits = Load64(field.value); break;
  case kColumnDate:
  case kColumnTime:
    for (int i = 0; i < 3; i++) out.parts[i] = int16_t(Load16(field.value + 2 * i));
    break;
  case kColumnBoolean: out.integer = field.value[0]; break;
  default:
    out.bytes.ConstructFromBuffer(reinterpret_cast<const char *>(field.value + 4), int(Load32(field.value)));
  }
  return out;
}

bool IsBlobType(int32_t type) {
  return type == kColumnBinary || type == kColumnLongText || type == kColumnLongBinary;
}

void UpdateRowSlot(dbCursor *cursor, ZANTpendingEdit *edits) {
  dbDatabase *db = cursor->db;
  if (!cursor->storage || !cursor->table || !db || !db->storage) return;
  db->lastError = 0;
  db->lastErrorText = string();
  int length;
  const uint8_t *current = cursor->storage->CurrentRecord(length);
  if (!current || current[2] != kLive) return;
  std::vector<uint8_t> old(current, current + length);
  std::vector<RowField> fields;
  std::vector<uint32_t> written, replaced;
  auto abandon = [&](int32_t code, const string &message) {
    for (uint32_t id : written) deleteBLOB(db->storage, id);
    if (db->storage->Failed()) SetZANTFileError(db);
    else SetZANTError(db, code, message);
  };
  for (const ZANTColumn &column : cursor->table->columns) {
    ZANTpendingEdit *edit = nullptr;
    for (ZANTpendingEdit *e = edits; e && !edit; e = e->next)
      if (e->column >= 0 && size_t(e->column) < cursor->columns.size() &&
          cursor->columns[size_t(e->column)].number == column.number)
        edit = e;
    FieldRef stored;
    if (!FindField(old.data(), int(old.size()), column.number, stored)) {
      db->storage->Damaged("row fields");
      abandon(kZANTErrorFile, string());
      return;
    }
    if (edit) {
      RowField field;
      bool present;
      string message;
      int32_t code = ConvertColumnText(db, column.type, edit->value, field, present, message);
      if (code) {
        abandon(code, message);
        return;
      }
      if (!edit->value && !column.allowsNull) {
        abandon(kZANTErrorInvalid, string("NotNull column violation"));
        return;
      }
      // The old BLOB goes whether the column gets a new one or NULL.
      if (IsBlobType(column.type) && (stored.type == kColumnLongText || stored.type == kColumnLongBinary))
        replaced.push_back(Load32(stored.value));
      if (!present) continue;
      field.column = uint8_t(column.number);
      if (IsBlobType(column.type)) written.push_back(uint32_t(field.integer));
      fields.push_back(field);
      continue;
    }
    if (stored.type == 0) continue;
    bool carry;
    switch (stored.type) {
    case kColumnSmallInt:
    case kColumnInteger:
    case kColumnText:
    case kColumnFloat: carry = stored.type == column.type; break;
    case kColumnDouble:
    case kColumnDate:
    case kColumnTime:
    case kColumnBoolean:
    case kColumnLongText:
    case kColumnLongBinary: carry = true; break;
    default: carry = false;
    }
    if (carry) fields.push_back(CarriedField(stored, uint8_t(column.number)));
  }
  std::vector<uint8_t> record = BuildDatabaseRecord(fields);
  if (record.size() > size_t(kBlockDataSize)) {
    abandon(kZANTErrorTooLong, string("Insert failed: data too long"));
    return;
  }
  const ZANTTable *table = cursor->table;
  if (table->primaryKeyCount > 0) {
    // A changed key must not collide with a row in the table or one waiting
    // in this cursor's update file.
    auto oldKey = std::make_unique<KeyBuffer>();
    auto newKey = std::make_unique<KeyBuffer>();
    bool exists = false;
    if (!RowKey(old.data(), int(old.size()), table->primaryKey, table->primaryKeyCount, *oldKey) ||
        !RowKey(record.data(), int(record.size()), table->primaryKey, table->primaryKeyCount, *newKey)) {
      abandon(kZANTErrorTooLong, string("Insert failed: data too long"));
      return;
    }
    if (newKey->length > kMaximumIndexedKeyLength) {
      abandon(kZANTErrorTooLong, string("Insert failed: data too long"));
      return;
    }
    if (CompareKeys(oldKey->bytes, oldKey->length, newKey->bytes, newKey->length) != 0) {
      if (!tableHasKey(db->storage, table->StreamName(), table->primaryKey, table->primaryKeyCount,
                       newKey->bytes, newKey->length, exists) ||
          exists || cursor->storage->UpdateFileHasKey(newKey->bytes, newKey->length)) {
        abandon(kZANTErrorDuplicateKey, string("Insert failed: primary key violation"));
        return;
      }
    }
  }
  if (!updateTableCursorRecord(cursor->storage, record)) {
    abandon(kZANTErrorFile, string());
    return;
  }
  for (uint32_t id : replaced) deleteBLOB(db->storage, id);
}

int32_t ColumnTypeSlot(dbCursor *cursor, int32_t column) {
  if (column < 0 || size_t(column) >= cursor->columns.size()) return -1;
  if (!cursor->storage) return 0;
  int length;
  const uint8_t *record = cursor->storage->CurrentRecord(length);
  FieldRef field;
  if (!record || !FindField(record, length, cursor->columns[size_t(column)].number, field)) return 0;
  return field.type;
}

void SchemaValueSlot(dbCursor *cursor, int32_t column, void **data, uint8_t *type, int32_t *length) {
  *data = nullptr;
  *type = kColumnNull;
  *length = 0;
  if (!cursor->storage || column < 0 || size_t(column) >= cursor->columns.size()) return;
  int recordLength;
  const uint8_t *record = cursor->storage->CurrentRecord(recordLength);
  FieldRef field;
  if (!record || !FindField(record, recordLength, cursor->columns[size_t(column)].number, field)) return;
  switch (column) {
  case 0:
    if (field.type != kColumnText) return;
    *data = const_cast<uint8_t *>(field.value + 4);
    *type = kColumnText;
    *length = int32_t(Load32(field.value));
    return;
  case 1:
    cursor->schemaShort = field.type == kColumnSmallInt ? int16_t(Load16(field.value)) : 255;
    *data = &cursor->schemaShort;
    *type = kColumnSmallInt;
    *length = 2;
    return;
  case 2:
    cursor->schemaByte = field.type == kColumnSmallInt && Load16(field.value) != 0;
    *data = &cursor->schemaByte;
    *type = kColumnBoolean;
    *length = 1;
    return;
  case 3:
    cursor->schemaByte = field.type == 0 || (field.type == kColumnSmallInt && Load16(field.value) == 0);
    *data = &cursor->schemaByte;
    *type = kColumnBoolean;
    *length = 1;
    return;
  default:
    cursor->schemaInteger = 0;
    *data = &cursor->schemaInteger;
    *type = kColumnInteger;
    *length = 4;
  }
}

RuntimeObject *Wrap(dbCursor *cursor, ZANTdbCursorDefinition *definition) {
  RuntimeObject *recordSet = ZANTdbCursorFromDBCursor(cursor, definition);
  if (!recordSet) CloseSlot(cursor);
  return recordSet;
}
} // namespace

ZANTdbCursorDefinition gZANTTableCursorDefinition = {
    kDatabaseDefinitionVersion, 0, CloseSlot, ColumnCountSlot, ColumnNameSlot, nullptr,
    ColumnValueSlot, ReleaseSlot, NextRowSlot, DeleteRowSlot, nullptr, FieldKeySlot, UpdateRowSlot,
    nullptr, nullptr, nullptr, nullptr, ColumnTypeSlot,
};

ZANTdbCursorDefinition gZANTFieldSchemaCursorDefinition = {
    kDatabaseDefinitionVersion, 0, CloseSlot, ColumnCountSlot, ColumnNameSlot, nullptr,
    SchemaValueSlot, ReleaseSlot, NextRowSlot, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr,
};

void CutCursorsLoose(dbDatabase *db) {
  std::vector<dbCursor *> cursors;
  cursors.swap(db->cursors);
  for (dbCursor *cursor : cursors) {
    EndStorage(cursor);
    cursor->db = nullptr;
  }
}

RuntimeObject *GetTableSchemaSlot(dbDatabase *db) {
  if (!db || !db->storage) return nullptr;
  db->lastError = 0;
  dbCursor *cursor = NewCursor(db, string(kSysTables));
  cursor->storage = db->storage->openTableCursor(string(kSysTables), nullptr, kTablesKey, 1);
  if (!cursor->storage) {
    CloseSlot(cursor);
    return nullptr;
  }
  cursor->columns.push_back({string("TableName"), 1, kColumnText});
  return Wrap(cursor, &gZANTTableCursorDefinition);
}

RuntimeObject *GetFieldSchemaSlot(dbDatabase *db, stringStorage *tableName) {
  if (!db || !db->storage) return nullptr;
  db->lastError = 0;
  ZANTTable *table = FindZANTTable(db, string::Borrow(tableName));
  if (!table) return nullptr;
  dbCursor *cursor = NewCursor(db, string(kSysFields));
  cursor->fieldSchema = true;
  cursor->fieldSchemaTable = table->id;
  cursor->key = std::make_unique<keyConstraint>();
  uint8_t id[4];
  Store32(id, uint32_t(table->id));
  cursor->key->key = {1, uint8_t(id[0] ^ 0x80), id[1], id[2], id[3]};
  cursor->storage = db->storage->openTableCursor(string(kSysFields), cursor->key.get(), kFieldsKey, 2);
  if (!cursor->storage) {
    CloseSlot(cursor);
    return nullptr;
  }
  cursor->columns = {{string("ColumnName"), 2, kColumnText},
                     {string("FieldType"), 4, kColumnSmallInt},
                     {string("IsPrimary"), 5, kColumnSmallInt},
                     {string("NotNull"), 3, kColumnSmallInt},
                     {string("Length"), 6, kColumnInteger}};
  bool exists;
  if (!cursor->storage->findInsertionPoint(cursor->key->key.data(), int(cursor->key->key.size()), exists)) {
    CloseSlot(cursor);
    return nullptr;
  }
  return Wrap(cursor, &gZANTFieldSchemaCursorDefinition);
}

RuntimeObject *GetTableRecordSetSlot(dbDatabase *db, stringStorage *tableName, ZANTcolumnName *names,
                                     ZANTcolumnConstraints *condition) {
  if (!db || !db->storage) return nullptr;
  db->lastError = 0;
  db->lastErrorText = string();
  string name = string::Borrow(tableName);
  ZANTTable *table = FindZANTTable(db, name);
  if (!table) return nullptr;
  dbCursor *cursor = NewCursor(db, name);
  cursor->table = table;
  table->refCount++;
  cursor->condition = CopyConstraint(condition);
  for (ZANTcolumnName *n = names; n; n = n->next) {
    string wanted = string::Borrow(n->name);
    if (wanted.CompareWithCase("*") == 0) {
      for (const ZANTColumn &column : table->columns)
        cursor->columns.push_back({column.name, column.number, int16_t(column.type)});
      continue;
    }
    const ZANTColumn *found = nullptr;
    for (const ZANTColumn &column : table->columns)
      if (!found && SameName(column.name, wanted)) found = &column;
    if (!found) {
      CloseSlot(cursor);
      return nullptr;
    }
    cursor->columns.push_back({found->name, found->number, int16_t(found->type)});
  }
  if (!ResolveConstraint(cursor->condition.get(), table)) {
    CloseSlot(cursor);
    return nullptr;
  }
  cursor->storage = db->storage->openTableCursor(table->StreamName(), nullptr, table->primaryKey,
                                                 table->primaryKeyCount);
  if (!cursor->storage) {
    if (db->storage->Failed()) SetZANTFileError(db);
    CloseSlot(cursor);
    return nullptr;
  }
  if (SeekKeyFromConstraint(cursor->condition.get(), table, cursor->seekKey)) {
    bool exists;
    cursor->seeking = true;
    if (!cursor->storage->findInsertionPoint(cursor->seekKey.data(), int(cursor->seekKey.size()), exists)) {
      if (db->storage->Failed()) SetZANTFileError(db);
      CloseSlot(cursor);
      return nullptr;
    }
  }
  return Wrap(cursor, &gZANTTableCursorDefinition);
}
