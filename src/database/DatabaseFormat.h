// The bytes of a built-in database file: the file header, blocks, record
// headers, index and contents records, table rows and their fields, derived
// keys and the collation of text keys. All integers are big-endian; floats
// travel as their bit patterns (memcpy), never through the FPU.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dbformat {

inline constexpr uint32_t kMagic = 0xFEEDDBDB;
inline constexpr uint32_t kVersion = 1;
inline constexpr int kHeaderSize = 64;
inline constexpr int kBlockSize = 8192;
inline constexpr int kBlockHeaderSize = 18;
inline constexpr int kBlockDataSize = kBlockSize - kBlockHeaderSize; // 8,174
inline constexpr int kRecordHeaderSize = 6;
inline constexpr int kIndexRecordFixed = 12;
inline constexpr int kContentsRecordFixed = 18;
inline constexpr int kRowFixed = 10;

// Header offsets.
inline constexpr int kHeaderMagic = 0, kHeaderVersion = 4, kHeaderTransaction = 8,
                     kHeaderOpenFlag = 12, kHeaderNextKey = 16, kHeaderContentsRoot = 20;
// Block header offsets.
inline constexpr int kBlockType = 0, kBlockStream = 4, kBlockTransaction = 8,
                     kBlockRollbackLink = 12, kBlockUsed = 16;

inline constexpr uint32_t kContentsBlock = 0xBEEF0002;
inline constexpr uint32_t kTableBlock = 0xBEEF0003;
inline constexpr uint32_t kIndexBlock = 0x0001BEEF;

inline constexpr uint8_t kLive = 'A';
inline constexpr uint8_t kDeleted = 'D';

// Blob pieces and lists.
inline constexpr int kBlobPiece = 4000;
inline constexpr int kBlobListEntries = 500;
inline constexpr uint32_t kBlobData = 0, kBlobList = 1;

// The offset of a block in the file; 64-bit, as blocks lie past 2 GiB.
inline constexpr int64_t BlockOffset(uint32_t block) {
  return kHeaderSize + int64_t(block) * kBlockSize;
}

inline uint16_t Load16(const uint8_t *p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t Load24(const uint8_t *p) { return uint32_t(p[0]) << 16 | p[1] << 8 | p[2]; }
inline uint32_t Load32(const uint8_t *p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
inline void Store16(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}
inline void Store24(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v >> 16);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v);
}
inline void Store32(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}
inline uint64_t Load64(const uint8_t *p) { return uint64_t(Load32(p)) << 32 | Load32(p + 4); }
inline void Store64(uint8_t *p, uint64_t v) {
  Store32(p, uint32_t(v >> 32));
  Store32(p + 4, uint32_t(v));
}
// The collation of text keys: a permutation of the byte values.
extern const uint8_t macLexoMap[256];

// A key built in place. Keys longer than a block's data cannot be indexed,
// so building one fails. Large: allocate it, never put it on the stack.
inline constexpr int kMaximumKeyLength = kBlockDataSize + 16;
// The longest key a stream accepts: its index record must fit in a block
// beside a root's first record, or splitting would grow new roots without end.
inline constexpr int kMaximumIndexedKeyLength = kBlockDataSize - 2 * kIndexRecordFixed; // 8,150
struct KeyBuffer {
  uint8_t bytes[kMaximumKeyLength];
  int length = 0;
};

// Names of tables, columns and streams: equal bytes, ASCII letters compared
// without regard to case.
bool SameName(const char *a, int aLength, const char *b, int bLength);

// Keys compare as unsigned bytes; a prefix sorts first.
int CompareKeys(const uint8_t *a, int aLength, const uint8_t *b, int bLength);

// The stored size of a field's value (after column and type bytes), or -1 for
// an unknown type or a length running past the end. `value` points at the
// value; `available` is the room left in the record.
int FieldValueSize(uint8_t type, const uint8_t *value, int available);

// A field located in a row: its type, and its value bytes within the record.
struct FieldRef {
  uint8_t type = 0; // 0: the row has no field for the column
  const uint8_t *value = nullptr;
  int size = 0;
};
// Walks the row's fields (record bytes including the 6-byte header). False
// when the fields do not fit the record (a damaged row).
bool FindField(const uint8_t *record, int length, int column, FieldRef &field);
// True when every field of the row is well formed.
bool ValidRow(const uint8_t *record, int length);

// Appends the key form of a stored value; false for a type without one.
bool AppendKeyForm(KeyBuffer &key, const FieldRef &field);

// The derived key of a record of a block of the given type. For a table row
// the key columns decide; without them it is the row id, least significant
// byte first. False when the record is damaged.
bool RecordKey(uint32_t blockType, const uint8_t *record, int length, const uint8_t *keyColumns,
               int keyCount, KeyBuffer &key);

// Date and time text: "y-m-d" before the first space; "h:m[:s]" after it.
bool ParseDateText(const char *text, int length, int16_t out[3]);
bool ParseTimeText(const char *text, int length, int16_t out[3]);

} // namespace dbformat
