// Rows of the built-in database on top of the storage engine: encoding a row
// from typed fields, adding it at its key's place, replacing a cursor's row,
// reading a column, visiting rows with a key, and BLOBs in "sys$blob".
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "database/StorageEngine.h"
#include "foundation/String.h"

// One field of a row to be written.
struct RowField {
  uint8_t column = 0;
  uint8_t type = 0;
  int32_t integer = 0;     // types 2, 3, 12, 15, 16
  uint32_t singleBits = 0; // type 6, the IEEE single's bits
  uint64_t realBits = 0;   // type 7, the IEEE double's bits
  int16_t parts[3] = {}; // types 8, 9
  string bytes;          // types 5, 14
};

// The record (header and row id zero) holding the fields in the order given.
std::vector<uint8_t> BuildDatabaseRecord(const std::vector<RowField> &fields);

// Results of adding a row.
enum RowResult { kRowAdded = 0, kRowDuplicateKey = 2005, kRowTooLong = 2006, kRowFailed = 2009 };

// Stamps the record (live, current transaction, new row id), finds its key's
// place in the table's stream and inserts it; with unique set an equal live
// key refuses it.
RowResult lowAddTableRecord(qvdbDatabase *db, const string &table, std::vector<uint8_t> &record,
                            const uint8_t *keyColumns, int keyCount, bool unique);

// Whether an equal live key exists in the table (for checks before writing).
bool tableHasKey(qvdbDatabase *db, const string &table, const uint8_t *keyColumns, int keyCount,
                 const uint8_t *key, int keyLength, bool &exists);

// Replaces the cursor's current valid row by the record: the old one is
// deleted; with the same key the new one goes in at once, otherwise into the
// cursor's update file (inserted when the cursor ends or at commit).
bool updateTableCursorRecord(qvdbCursor *cursor, std::vector<uint8_t> &record);

// A column of the cursor's current record; type 0 when absent. Numbers are
// converted to host order in `buffer`; other values point into the record,
// valid until the cursor moves.
struct ColumnValue {
  uint8_t type = 0;
  const uint8_t *data = nullptr;
  int32_t length = 0;
  uint8_t buffer[8] = {};
};
// False when the row is damaged.
bool tableCursorColumnValue(qvdbCursor *cursor, int column, ColumnValue &value);
// A stored field in that form (value points into the field or its buffer).
void FieldColumnValue(const dbformat::FieldRef &field, ColumnValue &value);

// Visits the live rows of the table whose key equals the key, in order.
bool iterateTableRecordsByKey(qvdbDatabase *db, const string &table, const uint8_t *key,
                              int keyLength, const uint8_t *keyColumns, int keyCount,
                              const std::function<bool(const uint8_t *, int)> &visit);

// The key of a stored table row under the key columns.
bool RowKey(const uint8_t *record, int length, const uint8_t *keyColumns, int keyCount,
            dbformat::KeyBuffer &key);

// BLOBs. Values longer than 2^31 - 1 bytes cannot be held and fail.
bool writeBLOB(qvdbDatabase *db, uint32_t &id, const uint8_t *data, int64_t length);
// False when there is no such BLOB or it cannot be read.
bool readBLOB(qvdbDatabase *db, uint32_t id, std::vector<uint8_t> &out);
bool deleteBLOB(qvdbDatabase *db, uint32_t id);
