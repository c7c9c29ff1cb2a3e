#include "database/StorageRows.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "database/DatabaseEngine.h"

using namespace dbformat;

namespace {
const string &BlobStream() {
  static const string name("sys$blob");
  return name;
}

int FieldSize(const RowField &field) {
  switch (field.type) {
  case kColumnSmallInt: return 4;
  case kColumnInteger:
  case kColumnFloat:
  case kColumnLongText:
  case kColumnLongBinary: return 6;
  case kColumnDouble: return 10;
  case kColumnDate:
  case kColumnTime: return 8;
  case kColumnBoolean: return 3;
  case kColumnText:
  case kColumnBinary: return 6 + field.bytes.Length();
  default: return -1;
  }
}

void Stamp(qvdbDatabase *db, std::vector<uint8_t> &record) {
  record[2] = kLive;
  Store24(record.data() + 3, db->getTransaction() & 0xFFFFFF);
  Store32(record.data() + 6, db->getUniqueKey());
}
} // namespace

std::vector<uint8_t> BuildDatabaseRecord(const std::vector<RowField> &fields) {
  int64_t size = kRowFixed;
  for (const RowField &field : fields) size += FieldSize(field) > 0 ? FieldSize(field) : 0;
  // Too long for any block: the caller's length check refuses it.
  std::vector<uint8_t> record(size_t(size), 0);
  Store16(record.data(), uint32_t(size > 0xFFFF ? 0xFFFF : size));
  uint8_t *out = record.data() + kRowFixed;
  for (const RowField &field : fields) {
    if (FieldSize(field) < 0) continue;
    *out++ = field.column;
    *out++ = field.type;
    switch (field.type) {
    case kColumnSmallInt: Store16(out, uint32_t(field.integer)); out += 2; break;
    case kColumnInteger:
    case kColumnLongText:
    case kColumnLongBinary: Store32(out, uint32_t(field.integer)); out += 4; break;
    case kColumnFloat: Store32(out, field.singleBits); out += 4; break;
    case kColumnDouble: Store64(out, field.realBits); out += 8; break;
    case kColumnDate:
    case kColumnTime:
      for (int i = 0; i < 3; i++) Store16(out + 2 * i, uint32_t(uint16_t(field.parts[i])));
      out += 6;
      break;
    case kColumnBoolean: *out++ = field.integer ? 1 : 0; break;
    default: {
      int n = field.bytes.Length();
      Store32(out, uint32_t(n));
      if (n) std::memcpy(out + 4, field.bytes.CString(), size_t(n));
      out += 4 + n;
    }
    }
  }
  return record;
}

bool RowKey(const uint8_t *record, int length, const uint8_t *keyColumns, int keyCount,
            KeyBuffer &key) {
  return RecordKey(kTableBlock, record, length, keyColumns, keyCount, key);
}

RowResult lowAddTableRecord(qvdbDatabase *db, const string &table, std::vector<uint8_t> &record,
                            const uint8_t *keyColumns, int keyCount, bool unique) {
  std::unique_ptr<qvdbCursor> cursor(db->openTableCursor(table, nullptr, keyColumns, keyCount));
  if (!cursor) return kRowFailed;
  Stamp(db, record);
  if (record.size() > size_t(kBlockDataSize)) return kRowTooLong;
  auto key = std::make_unique<KeyBuffer>();
  bool exists;
  if (!RowKey(record.data(), int(record.size()), keyColumns, keyCount, *key))
    return kRowFailed;
  if (key->length > kMaximumIndexedKeyLength) return kRowTooLong;
  if (!cursor->findInsertionPoint(key->bytes, key->length, exists)) return kRowFailed;
  if (unique && exists) return kRowDuplicateKey;
  return cursor->insertRecordAtThumb(record.data(), int(record.size())) ? kRowAdded : kRowFailed;
}

bool tableHasKey(qvdbDatabase *db, const string &table, const uint8_t *keyColumns, int keyCount,
                 const uint8_t *key, int keyLength, bool &exists) {
  std::unique_ptr<qvdbCursor> cursor(db->openTableCursor(table, nullptr, keyColumns, keyCount));
  return cursor && cursor->findInsertionPoint(key, keyLength, exists);
}

bool updateTableCursorRecord(qvdbCursor *cursor, std::vector<uint8_t> &record) {
  if (!cursor->isOnValidRecord()) return false;
  if (record.size() > size_t(kBlockDataSize)) return false;
  qvdbDatabase *db = cursor->Database();
  auto oldKey = std::make_unique<KeyBuffer>();
  auto newKey = std::make_unique<KeyBuffer>();
  const std::vector<uint8_t> &columns = cursor->KeyColumns();
  if (!cursor->CurrentKey(*oldKey)) return false;
  Stamp(db, record);
  if (!RowKey(record.data(), int(record.size()), columns.data(), int(columns.size()), *newKey))
    return false;
  if (!cursor->deleteRecord()) return false;
  if (CompareKeys(oldKey->bytes, oldKey->length, newKey->bytes, newKey->length) == 0)
    return cursor->insertRecordAtThumb(record.data(), int(record.size()));
  cursor->AddToUpdateFile(record.data(), int(record.size()));
  return true;
}

void FieldColumnValue(const FieldRef &field, ColumnValue &value) {
  value = ColumnValue();
  value.type = field.type;
  switch (field.type) {
  case 0: return;
  case kColumnSmallInt: {
    int16_t v = int16_t(Load16(field.value));
    std::memcpy(value.buffer, &v, 2);
    value.data = value.buffer;
    value.length = 2;
    return;
  }
  case kColumnInteger:
  case kColumnLongText:
  case kColumnLongBinary:
  case kColumnFloat: {
    // Bit patterns only: a float never passes through the FPU here.
    uint32_t v = Load32(field.value);
    std::memcpy(value.buffer, &v, 4);
    value.data = value.buffer;
    value.length = 4;
    return;
  }
  case kColumnDouble: {
    uint64_t v = Load64(field.value);
    std::memcpy(value.buffer, &v, 8);
    value.data = value.buffer;
    value.length = 8;
    return;
  }
  case kColumnText:
  case kColumnBinary:
    value.data = field.value + 4;
    value.length = int32_t(Load32(field.value));
    return;
  default:
    value.data = field.value;
    value.length = field.size;
    return;
  }
}

bool tableCursorColumnValue(qvdbCursor *cursor, int column, ColumnValue &value) {
  value = ColumnValue();
  int length;
  const uint8_t *record = cursor->CurrentRecord(length);
  if (!record) return true;
  FieldRef field;
  if (!FindField(record, length, column, field))
    return cursor->Database()->Damaged("row fields");
  FieldColumnValue(field, value);
  return true;
}

bool iterateTableRecordsByKey(qvdbDatabase *db, const string &table, const uint8_t *key,
                              int keyLength, const uint8_t *keyColumns, int keyCount,
                              const std::function<bool(const uint8_t *, int)> &visit) {
  std::unique_ptr<qvdbCursor> cursor(db->openTableCursor(table, nullptr, keyColumns, keyCount));
  bool exists;
  if (!cursor || !cursor->findInsertionPoint(key, keyLength, exists)) return false;
  auto recordKey = std::make_unique<KeyBuffer>();
  while (cursor->nextRecord()) {
    int length;
    const uint8_t *record = cursor->CurrentRecord(length);
    if (!record) break;
    if (record[2] != kLive) continue;
    if (!RowKey(record, length, keyColumns, keyCount, *recordKey)) return db->Damaged("row key");
    if (CompareKeys(recordKey->bytes, recordKey->length, key, keyLength) != 0) break;
    if (!visit(record, length)) break;
  }
  return !db->Failed();
}

// ------------------------------------------------------------ BLOBs

namespace {
bool StoreBlobRecord(qvdbDatabase *db, uint32_t &id, uint32_t marker, uint32_t lengthWord,
                     const uint8_t *payload, int payloadLength) {
  std::vector<uint8_t> record(size_t(20 + payloadLength), 0);
  Store16(record.data(), uint32_t(record.size()));
  record[10] = 1;
  record[11] = kColumnBinary;
  Store32(record.data() + 12, lengthWord);
  Store32(record.data() + 16, marker);
  if (payloadLength) std::memcpy(record.data() + 20, payload, size_t(payloadLength));
  std::unique_ptr<qvdbCursor> cursor(db->openTableCursor(BlobStream(), nullptr, nullptr, 0));
  if (!cursor) return false;
  Stamp(db, record);
  id = Load32(record.data() + 6);
  uint8_t key[4] = {record[9], record[8], record[7], record[6]};
  bool exists;
  return cursor->findInsertionPoint(key, 4, exists) &&
         cursor->insertRecordAtThumb(record.data(), int(record.size()));
}

// Stands the cursor on the live record of the BLOB piece or list.
bool FindBlobRecord(qvdbCursor &cursor, uint32_t id) {
  uint8_t key[4] = {uint8_t(id), uint8_t(id >> 8), uint8_t(id >> 16), uint8_t(id >> 24)};
  bool exists;
  if (!cursor.findInsertionPoint(key, 4, exists)) return false;
  while (cursor.nextRecord()) {
    int length;
    const uint8_t *record = cursor.CurrentRecord(length);
    if (!record) return false;
    if (record[2] == kLive && Load32(record + 6) == id) return length >= 20;
    if (Load32(record + 6) != id && record[2] == kLive) {
      // Rows run in key order: a larger key ends the search.
      uint8_t other[4] = {record[9], record[8], record[7], record[6]};
      if (CompareKeys(other, 4, key, 4) > 0) return false;
    }
  }
  return false;
}

// Reads the BLOB into out: data pieces in order, lists expanded where they
// stand. A crafted file must neither hang nor exhaust memory, so the walk
// keeps its own stack, visits every piece and list at most once (a BLOB that
// was written names each once), and refuses a value longer than the file.
bool ReadBlobInto(qvdbDatabase *db, qvdbCursor &cursor, uint32_t id, std::vector<uint8_t> &out) {
  struct Open {
    std::vector<uint32_t> entries;
    size_t next = 0;
  };
  std::vector<Open> stack;
  std::unordered_set<uint32_t> seen;
  const uint64_t limit = uint64_t(BlockOffset(db->BlockCount()));
  uint32_t current = id;
  while (true) {
    if (!seen.insert(current).second) return db->Damaged("BLOB piece named twice");
    if (!FindBlobRecord(cursor, current)) return false;
    int length;
    const uint8_t *record = cursor.CurrentRecord(length);
    uint32_t marker = Load32(record + 16);
    int payload = length - 20;
    if (marker == kBlobData) {
      if (uint64_t(out.size()) + uint64_t(payload) > limit) return db->Damaged("BLOB longer than its file");
      out.insert(out.end(), record + 20, record + 20 + payload);
    } else if (marker == kBlobList && payload % 8 == 0) {
      Open list;
      for (int i = 0; i < payload; i += 8) list.entries.push_back(Load32(record + 20 + i));
      stack.push_back(std::move(list));
    } else {
      return db->Damaged("BLOB record");
    }
    while (!stack.empty() && stack.back().next == stack.back().entries.size()) stack.pop_back();
    if (stack.empty()) return true;
    current = stack.back().entries[stack.back().next++];
  }
}
} // namespace

bool writeBLOB(qvdbDatabase *db, uint32_t &id, const uint8_t *data, int64_t length) {
  if (length < 0 || length > int64_t(0x7FFFFFFF)) return db->Fail(string("BLOB too large"));
  if (length <= kBlobPiece)
    return StoreBlobRecord(db, id, kBlobData, uint32_t(length + 4), data, int(length));
  std::vector<uint8_t> list;
  auto addEntry = [&](uint32_t entryId, uint32_t entryLength) {
    uint8_t entry[8];
    Store32(entry, entryId);
    Store32(entry + 4, entryLength);
    list.insert(list.end(), entry, entry + 8);
  };
  for (int64_t at = 0; at < length; at += kBlobPiece) {
    int piece = int(length - at < kBlobPiece ? length - at : kBlobPiece);
    if (list.size() == size_t(8 * kBlobListEntries)) {
      uint32_t listId;
      if (!StoreBlobRecord(db, listId, kBlobList, uint32_t(list.size()), list.data(),
                           int(list.size())))
        return false;
      list.clear();
      addEntry(listId, 0);
    }
    uint32_t pieceId;
    if (!StoreBlobRecord(db, pieceId, kBlobData, uint32_t(piece + 4), data + at, piece))
      return false;
    addEntry(pieceId, uint32_t(piece));
  }
  return StoreBlobRecord(db, id, kBlobList, uint32_t(list.size()), list.data(), int(list.size()));
}

bool readBLOB(qvdbDatabase *db, uint32_t id, std::vector<uint8_t> &out) {
  out.clear();
  std::unique_ptr<qvdbCursor> cursor(db->openTableCursor(BlobStream(), nullptr, nullptr, 0));
  if (!cursor) return false;
  if (ReadBlobInto(db, *cursor, id, out)) return true;
  out.clear();
  return false;
}

bool deleteBLOB(qvdbDatabase *db, uint32_t id) {
  std::unique_ptr<qvdbCursor> cursor(db->openTableCursor(BlobStream(), nullptr, nullptr, 0));
  if (!cursor || !FindBlobRecord(*cursor, id)) return false;
  // A work list, not recursion: a deleted record is not found again, so
  // each record goes once whatever its lists name.
  std::vector<uint32_t> pending{id};
  while (!pending.empty()) {
    uint32_t next = pending.back();
    pending.pop_back();
    if (!FindBlobRecord(*cursor, next)) {
      if (db->Failed()) return false;
      continue;
    }
    int length;
    const uint8_t *record = cursor->CurrentRecord(length);
    size_t first = pending.size();
    if (Load32(record + 16) == kBlobList)
      for (int i = 20; i + 8 <= length; i += 8) pending.push_back(Load32(record + i));
    // Entries are deleted in the order the list names them.
    std::reverse(pending.begin() + ptrdiff_t(first), pending.end());
    if (!cursor->deleteRecord()) return false;
  }
  return true;
}
