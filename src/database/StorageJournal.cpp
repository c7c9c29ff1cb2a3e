// The commit journal beside a database file, and the recovery of a file
// whose transaction was interrupted.
//
// Journal layout (big-endian): "ZDBJRNL1", the old file length (8 bytes),
// the old 64-byte header, the entry count, each entry (block number and its
// 8,192 old bytes), then the count again, "DONE" and a checksum of all that
// precedes it. Only a journal complete to its checksum is replayed.
#include <cstring>
#include <vector>

#include "database/StorageEngine.h"

using namespace dbformat;

namespace {
constexpr char kJournalMagic[8] = {'Z', 'D', 'B', 'J', 'R', 'N', 'L', '1'};
constexpr int kJournalHead = 8 + 8 + kHeaderSize + 4;
constexpr int kJournalEntry = 4 + kBlockSize;
constexpr int kJournalTrailer = 12;

uint32_t Checksum(uint32_t sum, const uint8_t *bytes, size_t count) {
  for (size_t i = 0; i < count; i++) sum = (sum ^ bytes[i]) * 16777619u;
  return sum;
}
} // namespace

string qvdbDatabase::JournalPath() const { return mFile.Path() + string("-journal"); }

bool qvdbDatabase::WriteJournal() {
  std::vector<uint32_t> saved;
  for (uint32_t number : mDirty)
    if (number < mCommittedBlockCount) saved.push_back(number);
  std::vector<uint8_t> bytes(size_t(kJournalHead) + saved.size() * kJournalEntry + kJournalTrailer);
  uint8_t *out = bytes.data();
  std::memcpy(out, kJournalMagic, 8);
  Store64(out + 8, uint64_t(BlockOffset(mCommittedBlockCount)));
  if (!mFile.ReadAt(0, out + 16, kHeaderSize)) return Fail(mFile.LastFailure());
  // The header as the last commit left it: no transaction open, old root.
  Store32(out + 16 + kHeaderOpenFlag, 0);
  Store32(out + 16 + kHeaderContentsRoot, mCommittedContentsRoot);
  Store32(out + 16 + kHeaderSize, uint32_t(saved.size()));
  uint8_t *entry = out + kJournalHead;
  for (uint32_t number : saved) {
    Store32(entry, number);
    if (!mFile.ReadAt(BlockOffset(number), entry + 4, kBlockSize)) return Fail(mFile.LastFailure());
    entry += kJournalEntry;
  }
  Store32(entry, uint32_t(saved.size()));
  std::memcpy(entry + 4, "DONE", 4);
  Store32(entry + 8, Checksum(2166136261u, out, size_t(entry + 8 - out)));
  DatabaseFile journal;
  if (!journal.Create(JournalPath()) || !journal.WriteAt(0, out, int32_t(bytes.size())) ||
      !journal.Flush())
    return Fail(journal.LastFailure());
  // The journal's name must outlast a power loss as its bytes do.
  if (!SyncFolderOf(JournalPath())) return Fail(string("flush: the folder cannot be flushed"));
  return true;
}

bool qvdbDatabase::ReplayJournal(bool &replayed) {
  replayed = false;
  DatabaseFile journal;
  if (!DatabaseFileExists(JournalPath()) || !journal.Open(JournalPath())) return true;
  int64_t length = journal.Length();
  if (length < kJournalHead + kJournalTrailer || length > int64_t(0x7FFFFFFF)) return true;
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  if (!journal.ReadAt(0, bytes.data(), int32_t(length))) return true;
  const uint8_t *in = bytes.data();
  uint32_t count = Load32(in + 16 + kHeaderSize);
  if (std::memcmp(in, kJournalMagic, 8) != 0 ||
      int64_t(kJournalHead) + int64_t(count) * kJournalEntry + kJournalTrailer != length)
    return true;
  const uint8_t *trailer = in + length - kJournalTrailer;
  if (Load32(trailer) != count || std::memcmp(trailer + 4, "DONE", 4) != 0 ||
      Load32(trailer + 8) != Checksum(2166136261u, in, size_t(length - 4)))
    return true;
  // A journal of another transaction than the one the file flags is stale
  // (its removal was lost): replaying it would undo later commits.
  uint8_t fields[4];
  if (!mFile.ReadAt(kHeaderTransaction, fields, 4)) return Fail(mFile.LastFailure());
  if (Load32(in + 16 + kHeaderTransaction) != Load32(fields)) return true;
  // Complete: put every saved block, the header and the length back.
  for (uint32_t i = 0; i < count; i++) {
    const uint8_t *entry = in + kJournalHead + size_t(i) * kJournalEntry;
    if (!mFile.WriteAt(BlockOffset(Load32(entry)), entry + 4, kBlockSize))
      return Fail(mFile.LastFailure());
  }
  if (!mFile.WriteAt(0, in + 16, kHeaderSize) || !mFile.SetLength(int64_t(Load64(in + 8))) ||
      !mFile.Flush())
    return Fail(mFile.LastFailure());
  replayed = true;
  return true;
}

// A writer that writes blocks before its commit (as the format allows) was
// interrupted: reverse the leaf records it stamped, as its rollback would.
bool qvdbDatabase::UndoStampedRecords(uint32_t transaction) {
  int64_t length = mFile.Length();
  if (length < kHeaderSize) return Fail(mFile.LastFailure());
  int64_t blocks = (length - kHeaderSize) / kBlockSize;
  uint32_t stamp = transaction & 0xFFFFFF;
  qvdbRecordBlock block;
  for (int64_t n = 0; n < blocks; n++) {
    if (!mFile.ReadAt(BlockOffset(uint32_t(n)), block.bytes, kBlockSize))
      return Fail(mFile.LastFailure());
    if (Load32(block.bytes + kBlockTransaction) != transaction || !block.IsLeaf()) continue;
    int used = block.Used();
    if (used > kBlockDataSize) continue;
    uint8_t *data = block.Data();
    bool changed = false;
    for (int at = 0; at + kRecordHeaderSize <= used;) {
      int recordLength = block.RecordLength(at);
      if (recordLength < kRecordHeaderSize || recordLength > used - at) break;
      if (Load24(data + at + 3) == stamp) {
        data[at + 2] = data[at + 2] == kLive ? kDeleted : kLive;
        Store24(data + at + 3, 0);
        changed = true;
      }
      at += recordLength;
    }
    if (changed && !mFile.WriteAt(BlockOffset(uint32_t(n)), block.bytes, kBlockSize))
      return Fail(mFile.LastFailure());
  }
  return true;
}

bool qvdbDatabase::RecoverFlaggedFile() {
  bool replayed;
  if (!ReplayJournal(replayed)) return false;
  if (!replayed) {
    uint8_t fields[4];
    if (!mFile.ReadAt(kHeaderTransaction, fields, 4)) return Fail(mFile.LastFailure());
    if (!UndoStampedRecords(Load32(fields))) return false;
    uint8_t zero[4] = {};
    if (!mFile.Flush() || !mFile.WriteAt(kHeaderOpenFlag, zero, 4) || !mFile.Flush())
      return Fail(mFile.LastFailure());
  }
  RemoveJournal();
  return true;
}

void qvdbDatabase::RemoveJournal() {
  if (DatabaseFileExists(JournalPath()) && RemoveDatabaseFile(JournalPath()))
    SyncFolderOf(JournalPath());
}
