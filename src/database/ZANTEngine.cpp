// The built-in engine's handle and catalogue: opening and creating files,
// the system tables, create table, add column, insert, and the engine
// definition the runtime calls through.
#include "database/ZANTEngine.h"

#include <cstdio>
#include <memory>

#include "database/DatabaseInterface.h"
#include "database/ZANTCursors.h"
#include "database/ZANTDatabase.h"
#include "files/FolderItemClass.h"

using namespace dbformat;

const char kSysTables[] = "sys$tables", kSysFields[] = "sys$fields", kSysBlob[] = "sys$blob";

namespace {
const uint8_t kTablesKey[] = {1};
const uint8_t kFieldsKey[] = {0, 2};
const uint8_t kFieldsByTable[] = {0};

string Decimal(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", long(value));
  return string(text);
}

string FieldText(const FieldRef &field) {
  string text;
  if (field.type == kColumnText && field.size >= 4)
    text.ConstructFromBuffer(reinterpret_cast<const char *>(field.value + 4), field.size - 4);
  return text;
}

bool FieldInteger(const FieldRef &field, int32_t &value) {
  if (field.type == kColumnInteger) value = int32_t(Load32(field.value));
  else if (field.type == kColumnSmallInt) value = int16_t(Load16(field.value));
  else return false;
  return true;
}

// The key of a table id in "sys$fields": present, then the integer's form.
void TableIdKey(int32_t id, KeyBuffer &key) {
  key.length = 0;
  key.bytes[key.length++] = 1;
  uint8_t value[4];
  Store32(value, uint32_t(id));
  FieldRef field;
  field.type = kColumnInteger;
  field.value = value;
  field.size = 4;
  AppendKeyForm(key, field);
}

// Reads the table's rows of "sys$fields" into its column list.
bool LoadColumns(dbDatabase *db, ZANTTable *table) {
  table->columns.clear();
  table->primaryKeyCount = 0;
  auto key = std::make_unique<KeyBuffer>();
  TableIdKey(table->id, *key);
  bool damaged = false;
  bool ok = iterateTableRecordsByKey(
      db->storage, string(kSysFields), key->bytes, key->length, kFieldsByTable, 1,
      [&](const uint8_t *record, int length) {
        FieldRef number, name, allowsNull, type, position;
        int32_t n = 0, allows = 1, t = 0, p = 0;
        if (!FindField(record, length, 1, number) || !FindField(record, length, 2, name) ||
            !FindField(record, length, 3, allowsNull) || !FindField(record, length, 4, type) ||
            !FindField(record, length, 5, position) || !FieldInteger(number, n) ||
            !FieldInteger(type, t) || n < 0 || n > 255) {
          damaged = true;
          return false;
        }
        if (allowsNull.type) FieldInteger(allowsNull, allows);
        if (position.type && FieldInteger(position, p) && p > 0) {
          if (p > 256) {
            damaged = true;
            return false;
          }
          table->primaryKey[p - 1] = uint8_t(n);
          if (p > table->primaryKeyCount) table->primaryKeyCount = p;
        }
        ZANTColumn column;
        column.number = int16_t(n);
        column.name = FieldText(name);
        column.allowsNull = allows ? 1 : 0;
        column.type = t;
        table->columns.push_back(column);
        return true;
      });
  if (damaged) db->storage->Damaged("column description");
  return ok && !damaged;
}

ZANTTable *AddTableEntry(dbDatabase *db, const string &name, int32_t id) {
  auto *table = new ZANTTable;
  table->name = name;
  table->id = id;
  db->tables.push_back(table);
  return table;
}

// A "sys$fields" row.
std::vector<uint8_t> FieldsRow(int32_t tableId, int number, const string &name, int allowsNull,
                               int32_t type, int position) {
  std::vector<RowField> fields(position ? 6 : 5);
  fields[0].column = 0, fields[0].type = kColumnInteger, fields[0].integer = tableId;
  fields[1].column = 1, fields[1].type = kColumnInteger, fields[1].integer = number;
  fields[2].column = 2, fields[2].type = kColumnText, fields[2].bytes = name;
  fields[3].column = 3, fields[3].type = kColumnSmallInt, fields[3].integer = allowsNull ? 1 : 0;
  fields[4].column = 4, fields[4].type = kColumnSmallInt, fields[4].integer = type;
  if (position) fields[5].column = 5, fields[5].type = kColumnSmallInt, fields[5].integer = position;
  return BuildDatabaseRecord(fields);
}

// A "sys$tables" row.
std::vector<uint8_t> TablesRow(int32_t id, const string &name) {
  std::vector<RowField> fields(2);
  fields[0].column = 0, fields[0].type = kColumnInteger, fields[0].integer = id;
  fields[1].column = 1, fields[1].type = kColumnText, fields[1].bytes = name;
  return BuildDatabaseRecord(fields);
}

// Whether the row and its key fit a stream.
bool RowKeyFits(const std::vector<uint8_t> &row, const uint8_t *keyColumns, int keyCount) {
  auto key = std::make_unique<KeyBuffer>();
  return row.size() <= size_t(kBlockDataSize) &&
         RowKey(row.data(), int(row.size()), keyColumns, keyCount, *key) &&
         key->length <= kMaximumIndexedKeyLength;
}

// Adds a system row; false with the error set.
bool AddSystemRow(dbDatabase *db, const char *stream, std::vector<uint8_t> &row,
                  const uint8_t *keyColumns, int keyCount) {
  RowResult result = lowAddTableRecord(db->storage, string(stream), row, keyColumns, keyCount, true);
  if (result == kRowAdded) return true;
  if (result == kRowDuplicateKey) SetZANTError(db, result, string("Insert failed: primary key violation"));
  else if (result == kRowTooLong) SetZANTError(db, result, string("Insert failed: data too long"));
  else SetZANTFileError(db);
  return false;
}

void ClearError(dbDatabase *db) {
  db->lastError = 0;
  db->lastErrorText = string();
  if (db->storage) db->storage->ClearFailure();
}

dbDatabase *NewHandle(qvdbDatabase *storage) {
  auto *db = new dbDatabase;
  db->storage = storage;
  return db;
}

string PathOf(RuntimeObject *file) {
  return file ? string::Adopt(ZANTpathFromFolderItem(file)) : string();
}

// ---------------------------------------------------------- engine slots

void CloseDatabaseSlot(dbDatabase *db) {
  if (!db || !db->storage) return;
  CutCursorsLoose(db);
  for (ZANTTable *table : db->tables) {
    table->released = true;
    if (table->refCount == 0) delete table;
  }
  db->tables.clear();
  db->storage->Close();
  delete db->storage;
  db->storage = nullptr;
}

void CreateTableSlot(dbDatabase *db, stringStorage *tableName, ZANTcolumnDefinition *columns,
                     const uint8_t *keyColumns, int32_t keyCount) {
  ClearError(db);
  string name = string::Borrow(tableName);
  if (FindZANTTable(db, name)) {
    SetZANTError(db, kZANTErrorExists, string("Unable to create ") + name + string(" because it already exists"));
    return;
  }
  // Types are checked before anything is written.
  for (ZANTcolumnDefinition *c = columns; c; c = c->next) {
    if (!SupportedColumnType(c->type)) {
      SetZANTError(db, kZANTErrorColumnType, string("Unable to create ") + name +
                                                 string(" because an unsupported column type was used"));
      return;
    }
  }
  int count = 0;
  for (ZANTcolumnDefinition *c = columns; c; c = c->next) count++;
  if (count > 256) {
    SetZANTError(db, kZANTErrorColumnType, string("Unable to create ") + name +
                                               string(" because an unsupported column type was used"));
    return;
  }
  // A name used twice, or a name too long for its catalogue row's key, is
  // refused before anything is written.
  for (ZANTcolumnDefinition *c = columns; c; c = c->next) {
    for (ZANTcolumnDefinition *d = c->next; d; d = d->next) {
      if (SameName(string::Borrow(c->name), string::Borrow(d->name))) {
        SetZANTError(db, kZANTErrorColumnType, string("Unable to create ") + name + string(" because the column ") +
                                                   string::Borrow(c->name) + string(" is defined twice"));
        return;
      }
    }
  }
  int32_t id = int32_t(db->storage->getUniqueKey());
  std::vector<uint8_t> tableRow = TablesRow(id, name);
  bool fits = RowKeyFits(tableRow, kTablesKey, 1);
  for (ZANTcolumnDefinition *c = columns; c && fits; c = c->next)
    fits = RowKeyFits(FieldsRow(id, 0, string::Borrow(c->name), 1, c->type, 0), kFieldsKey, 2);
  if (!fits) {
    SetZANTError(db, kZANTErrorTooLong, string("Insert failed: data too long"));
    return;
  }
  if (!db->storage->createTable(Decimal(id))) {
    if (db->storage->Failed()) SetZANTFileError(db);
    else SetZANTError(db, kZANTErrorInternal, string("Unable to create ") + name + string(" due to an internal error"));
    return;
  }
  if (!AddSystemRow(db, kSysTables, tableRow, kTablesKey, 1)) return;
  int number = 0;
  for (ZANTcolumnDefinition *c = columns; c; c = c->next, number++) {
    int position = 0;
    for (int k = 0; k < keyCount; k++)
      if (keyColumns[k] == number) position = k + 1;
    std::vector<uint8_t> row = FieldsRow(id, number, string::Borrow(c->name), c->nullable, c->type, position);
    if (!AddSystemRow(db, kSysFields, row, kFieldsKey, 2)) return;
  }
  ZANTTable *table = AddTableEntry(db, name, id);
  if (!LoadColumns(db, table)) SetZANTFileError(db);
}

void AddColumnSlot(dbDatabase *db, stringStorage *tableName, ZANTcolumnDefinition *column) {
  ClearError(db);
  string name = string::Borrow(tableName);
  string columnName = column ? string::Borrow(column->name) : string();
  ZANTTable *table = FindZANTTable(db, name);
  if (!table) {
    SetZANTError(db, kZANTErrorInvalid, string("Unable to add column ") + columnName +
                                            string(" because table '") + name + string("' doesn't exist"));
    return;
  }
  if (!column) return;
  int number = 0;
  for (bool used = true; used && number < 256; ) {
    used = false;
    for (const ZANTColumn &c : table->columns)
      if (c.number == number) used = true;
    if (used) number++;
  }
  if (!SupportedColumnType(column->type) || number > 255) {
    SetZANTError(db, kZANTErrorColumnType, string("Unable to add ") + columnName +
                                               string(" because an unsupported  type was used"));
    return;
  }
  std::vector<uint8_t> row = FieldsRow(table->id, number, columnName, column->nullable, column->type, 0);
  if (!AddSystemRow(db, kSysFields, row, kFieldsKey, 2)) return;
  if (!LoadColumns(db, table)) SetZANTFileError(db);
}

void AddRecordSlot(dbDatabase *db, stringStorage *tableName, ZANTcolumnValue *values) {
  ClearError(db);
  string name = string::Borrow(tableName);
  ZANTTable *table = FindZANTTable(db, name);
  if (!table) {
    SetZANTError(db, kZANTErrorInvalid, string("Unknown table ") + name);
    return;
  }
  struct Slot {
    ZANTcolumnValue *value;
    const ZANTColumn *column;
  };
  std::vector<Slot> slots;
  for (ZANTcolumnValue *v = values; v; v = v->next) slots.push_back({v, nullptr});
  for (const ZANTColumn &column : table->columns) {
    // A column given NULL holds no value, as one left out does.
    bool matched = false;
    for (Slot &slot : slots) {
      if (SameName(column.name, string::Borrow(slot.value->name))) {
        slot.column = &column;
        matched = matched || slot.value->value != nullptr;
      }
    }
    if (!matched && !column.allowsNull) {
      SetZANTError(db, kZANTErrorInvalid, string("NotNull column violation"));
      return;
    }
  }
  for (size_t i = 0; i < slots.size(); i++) {
    if (!slots[i].column) {
      SetZANTError(db, kZANTErrorInvalid, string("Unknown column ") + string::Borrow(slots[i].value->name));
      return;
    }
    // Two values for one column would store two fields for it.
    for (size_t j = 0; j < i; j++) {
      if (slots[j].column == slots[i].column) {
        SetZANTError(db, kZANTErrorInvalid, string("Column ") + string::Borrow(slots[i].value->name) +
                                                string(" is given twice"));
        return;
      }
    }
  }
  std::vector<RowField> fields;
  for (const Slot &slot : slots) {
    RowField field;
    bool present;
    string message;
    int32_t code = ConvertColumnText(db, slot.column->type, slot.value->value, field, present, message);
    if (code) {
      if (db->storage->Failed()) SetZANTFileError(db);
      else SetZANTError(db, code, message);
      return;
    }
    if (!present) continue;
    field.column = uint8_t(slot.column->number);
    fields.push_back(field);
  }
  std::vector<uint8_t> row = BuildDatabaseRecord(fields);
  RowResult result = lowAddTableRecord(db->storage, table->StreamName(), row, table->primaryKey,
                                       table->primaryKeyCount, table->primaryKeyCount > 0);
  if (result == kRowDuplicateKey) SetZANTError(db, result, string("Insert failed: primary key violation"));
  else if (result == kRowTooLong) SetZANTError(db, result, string("Insert failed: data too long"));
  else if (result == kRowFailed) SetZANTFileError(db);
}

int32_t LastErrorCodeSlot(dbDatabase *db) { return db ? db->lastError : -1; }

stringStorage *LastErrorStringSlot(dbDatabase *db) {
  if (!db || db->lastError == 0) return nullptr;
  return db->lastErrorText.ExtractStringStorage();
}

void CommitSlot(dbDatabase *db) {
  if (!db || !db->storage) return;
  ClearError(db);
  if (!db->storage->commitTransaction()) SetZANTFileError(db);
}

void RollbackSlot(dbDatabase *db) {
  if (!db || !db->storage) return;
  ClearError(db);
  if (!db->storage->rollbackTransaction()) SetZANTFileError(db);
}

// Opens the file's catalogue into a new handle; nil when it cannot be read.
dbDatabase *OpenHandle(const string &path, string *failure) {
  if (path.IsEmpty()) return nullptr;
  qvdbDatabase *storage = qvdbDatabase::Open(path, failure);
  if (!storage) return nullptr;
  dbDatabase *db = NewHandle(storage);
  std::unique_ptr<qvdbCursor> cursor(storage->openTableCursor(string(kSysTables), nullptr, kTablesKey, 1));
  bool ok = cursor != nullptr;
  while (ok && cursor->nextValidRecord()) {
    int length;
    const uint8_t *record = cursor->CurrentRecord(length);
    FieldRef id, name;
    int32_t tableId;
    if (!record || !FindField(record, length, 0, id) || !FindField(record, length, 1, name) ||
        !FieldInteger(id, tableId)) {
      ok = false;
      break;
    }
    AddTableEntry(db, FieldText(name), tableId);
  }
  cursor.reset();
  ok = ok && !storage->Failed();
  for (size_t i = 0; ok && i < db->tables.size(); i++) ok = LoadColumns(db, db->tables[i]);
  if (!ok) {
    if (failure) *failure = storage->Failed() ? storage->Failure() : string("the catalogue cannot be read");
    CloseDatabaseSlot(db);
    delete db;
    return nullptr;
  }
  return db;
}

dbDatabase *CreateHandle(const string &path, string *failure) {
  if (path.IsEmpty()) return nullptr;
  qvdbDatabase *storage = qvdbDatabase::Create(path, failure);
  if (!storage) return nullptr;
  bool ok = storage->createTable(string(kSysTables)) && storage->createTable(string(kSysFields)) &&
            storage->createTable(string(kSysBlob)) && storage->commitTransaction();
  if (!ok) {
    if (failure) *failure = storage->Failure();
    delete storage;
    return nullptr;
  }
  return NewHandle(storage);
}
} // namespace

string ZANTTable::StreamName() const { return Decimal(id); }

const ZANTColumn *ZANTTable::Column(int number) const {
  for (const ZANTColumn &column : columns)
    if (column.number == number) return &column;
  return nullptr;
}

void SetZANTError(dbDatabase *db, int32_t code, const string &text) {
  db->lastError = code;
  db->lastErrorText = text;
}

void SetZANTFileError(dbDatabase *db) {
  string reason = db->storage && db->storage->Failed() ? db->storage->Failure() : string("unknown failure");
  SetZANTError(db, kZANTErrorFile, string("Database file error: ") + reason);
}

ZANTTable *FindZANTTable(dbDatabase *db, const string &name) {
  for (ZANTTable *table : db->tables)
    if (SameName(table->name, name)) return table;
  return nullptr;
}

void ReleaseZANTTable(ZANTTable *table) {
  if (table && --table->refCount == 0 && table->released) delete table;
}

dbEngineDefinition gZANTEngineDefinition = {
    kDatabaseDefinitionVersion,
    0,
    CloseDatabaseSlot,
    GetTableSchemaSlot,
    GetFieldSchemaSlot,
    nullptr,
    nullptr,
    CreateTableSlot,
    AddRecordSlot,
    GetTableRecordSetSlot,
    nullptr,
    AddColumnSlot,
    nullptr,
    LastErrorCodeSlot,
    LastErrorStringSlot,
    CommitSlot,
    RollbackSlot,
    nullptr,
};

RuntimeObject *connectZANTDatabase(void *, int32_t) { return nullptr; }

dbDatabase *OpenZANTHandle(RuntimeObject *file, string *failure) {
  return OpenHandle(PathOf(file), failure);
}
dbDatabase *CreateZANTHandle(RuntimeObject *file, string *failure) {
  return CreateHandle(PathOf(file), failure);
}
dbDatabase *OpenZANTPath(const string &path, string *failure) { return OpenHandle(path, failure); }
dbDatabase *CreateZANTPath(const string &path, string *failure) { return CreateHandle(path, failure); }
void FreeZANTHandle(dbDatabase *db) {
  if (!db) return;
  CloseDatabaseSlot(db);
  delete db;
}

extern "C" RuntimeObject *newZANTDatabase(RuntimeObject *file) {
  dbDatabase *db = CreateZANTHandle(file);
  return db ? ZANTdbDatabaseFromDBDatabase(db, &gZANTEngineDefinition) : nullptr;
}

extern "C" RuntimeObject *openZANTDatabase(RuntimeObject *file) {
  dbDatabase *db = OpenZANTHandle(file);
  return db ? ZANTdbDatabaseFromDBDatabase(db, &gZANTEngineDefinition) : nullptr;
}
