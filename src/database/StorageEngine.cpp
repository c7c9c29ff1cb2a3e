#include "database/StorageEngine.h"

#include <algorithm>
#include <cstring>
#include <memory>

using namespace dbformat;

namespace {
inline uint32_t Stamp(uint32_t transaction) { return transaction & 0xFFFFFF; }
} // namespace

// ---------------------------------------------------------------- the file

qvdbDatabase *qvdbDatabase::Create(const string &path, string *failure) {
  auto *db = new qvdbDatabase;
  if (!db->CreateFile(path)) {
    if (failure) *failure = db->mFailure;
    db->mClosed = true;
    delete db;
    return nullptr;
  }
  return db;
}

qvdbDatabase *qvdbDatabase::Open(const string &path, string *failure) {
  auto *db = new qvdbDatabase;
  db->mNoHeaderWrite = true;
  if (!db->OpenFile(path)) {
    if (failure) *failure = db->mFailure;
    db->mClosed = true;
    delete db;
    return nullptr;
  }
  db->mNoHeaderWrite = false;
  return db;
}

bool qvdbDatabase::Fail(const string &what) {
  if (mFailure.IsEmpty()) mFailure = what;
  return false;
}

bool qvdbDatabase::Damaged(const char *what) {
  return Fail(string("the file is damaged (") + string(what) + string(")"));
}

bool qvdbDatabase::CreateFile(const string &path) {
  if (!mFile.Create(path)) return Fail(mFile.LastFailure());
  uint8_t header[kHeaderSize] = {};
  Store32(header + kHeaderMagic, kMagic);
  Store32(header + kHeaderVersion, kVersion);
  if (!mFile.WriteAt(0, header, kHeaderSize)) return Fail(mFile.LastFailure());
  // A journal left from an earlier file of that name is stale.
  RemoveJournal();
  mTransaction = 1;
  mNextKey = 1;
  uint32_t root;
  qvdbRecordBlock *block = getNewRecordBlock(kContentsBlock, 0, root);
  if (!block) return false;
  Store32(block->bytes + kBlockStream, root);
  mContentsRoot = mCommittedContentsRoot = root;
  // The caller adds the system tables in the same transaction and commits.
  return true;
}

bool qvdbDatabase::OpenFile(const string &path) {
  if (!mFile.Open(path)) return Fail(mFile.LastFailure());
  uint8_t header[kHeaderSize];
  int64_t length = mFile.Length();
  if (length < kHeaderSize) return Damaged("too short for its header");
  if (!mFile.ReadAt(0, header, kHeaderSize)) return Fail(mFile.LastFailure());
  if (Load32(header + kHeaderMagic) != kMagic) return Fail(string("not a database file"));
  if (Load32(header + kHeaderVersion) != kVersion) return Fail(string("unknown format version"));
  if (Load32(header + kHeaderOpenFlag) != 0) {
    if (mFile.ReadOnly()) return Fail(string("interrupted transaction in a read-only file"));
    if (!RecoverFlaggedFile()) return false;
    if (!mFile.ReadAt(0, header, kHeaderSize)) return Fail(mFile.LastFailure());
    length = mFile.Length();
  } else if (!mFile.ReadOnly()) {
    // A journal beside a file whose commit completed is stale.
    RemoveJournal();
  }
  if (Load32(header + kHeaderOpenFlag) != 0) return Fail(string("interrupted transaction"));
  int64_t blocks = (length - kHeaderSize) / kBlockSize;
  if (blocks > int64_t(0x7FFFFFFF)) return Damaged("too many blocks");
  mBlockCount = mCommittedBlockCount = uint32_t(blocks);
  mStoredTransaction = Load32(header + kHeaderTransaction);
  mTransaction = mStoredTransaction + 1;
  mNextKey = Load32(header + kHeaderNextKey);
  mContentsRoot = mCommittedContentsRoot = Load32(header + kHeaderContentsRoot);
  if (mContentsRoot >= mBlockCount) return Damaged("contents root outside the file");
  qvdbRecordBlock *root = lockRecordBlock(mContentsRoot);
  if (!root) return false;
  if (root->Type() != kContentsBlock && root->Type() != kIndexBlock)
    return Damaged("contents root of the wrong type");
  return true;
}

qvdbDatabase::~qvdbDatabase() {
  Close();
  for (auto &entry : mCache) delete entry.second;
}

bool qvdbDatabase::Close() {
  if (mClosed) return true;
  mClosed = true;
  bool ok = true;
  if (!mBroken && !mNoHeaderWrite && !mFile.ReadOnly()) {
    ok = commitTransaction();
    if (ok && !mBroken) {
      uint8_t next[4];
      Store32(next, mNextKey);
      ok = (mFile.WriteAt(kHeaderNextKey, next, 4) && mFile.Flush()) || Fail(mFile.LastFailure());
    }
  }
  mFile.Close();
  return ok;
}

void qvdbDatabase::RemoveCursor(qvdbCursor *cursor) {
  auto it = std::find(mCursors.begin(), mCursors.end(), cursor);
  if (it != mCursors.end()) mCursors.erase(it);
}

// ------------------------------------------------------------ the cache

bool qvdbDatabase::ValidateBlock(uint32_t number, qvdbRecordBlock *block) {
  uint32_t type = block->Type();
  if (type != kContentsBlock && type != kTableBlock && type != kIndexBlock)
    return Damaged("unknown block type");
  int used = block->Used();
  if (used > kBlockDataSize) return Damaged("block used length too large");
  const uint8_t *data = block->Data();
  int minimum = type == kIndexBlock ? kIndexRecordFixed
                : type == kContentsBlock ? kContentsRecordFixed
                                         : kRowFixed;
  for (int at = 0; at < used;) {
    if (used - at < 2) return Damaged("record header cut off");
    int length = block->RecordLength(at);
    if (length < minimum || length > used - at) return Damaged("record length");
    const uint8_t *record = data + at;
    if (record[2] != kLive && record[2] != kDeleted) return Damaged("record state");
    if (type == kIndexBlock) {
      uint32_t child = Load32(record + 8);
      if (child >= mBlockCount || child == number) return Damaged("index child");
    } else if (type == kContentsBlock) {
      if (Load32(record + 14) != uint32_t(length - kContentsRecordFixed) ||
          Load32(record + 10) >= mBlockCount)
        return Damaged("contents record");
    }
    // Row fields are checked where they are read: a sys$blob list's length
    // word does not cover its marker, so a walk of every field cannot tell.
    at += length;
  }
  return true;
}

void qvdbDatabase::PurgeDeadRecords(qvdbRecordBlock *block) {
  // Rows deleted by finished transactions leave; only the cached image
  // changes, so merely reading opens no transaction.
  if (block->Type() != kTableBlock) return;
  uint8_t *data = block->Data();
  int used = block->Used(), kept = 0;
  for (int at = 0; at < used;) {
    int length = block->RecordLength(at);
    bool dead = data[at + 2] == kDeleted && !(mTransactionOpen && Load24(data + at + 3) ==
                                                                      Stamp(mTransaction));
    if (!dead) {
      if (kept != at) std::memmove(data + kept, data + at, size_t(length));
      kept += length;
    }
    at += length;
  }
  if (kept != used) {
    std::memset(data + kept, 0, size_t(used - kept));
    block->SetUsed(kept);
  }
}

qvdbRecordBlock *qvdbDatabase::lockRecordBlock(uint32_t number) {
  auto found = mCache.find(number);
  if (found != mCache.end()) return found->second;
  if (mUnreadable) {
    Fail(string("an earlier write failed; reopen the database"));
    return nullptr;
  }
  if (number >= mBlockCount || number >= mCommittedBlockCount) {
    Damaged("block number outside the file");
    return nullptr;
  }
  auto *block = new qvdbRecordBlock;
  if (!mFile.ReadAt(BlockOffset(number), block->bytes, kBlockSize)) {
    Fail(mFile.LastFailure());
    delete block;
    return nullptr;
  }
  if (!ValidateBlock(number, block)) {
    delete block;
    return nullptr;
  }
  PurgeDeadRecords(block);
  block->version = NextVersion();
  mCache.emplace(number, block);
  return block;
}

bool qvdbDatabase::markDirty(uint32_t number, qvdbRecordBlock *block) {
  // After a failed commit the file is left to recovery: nothing more changes.
  if (mBroken) return Fail(string("an earlier write failed; reopen the database"));
  if (block->dirty) return true;
  if (!mTransactionOpen && !startTransaction()) return false;
  if (Load32(block->bytes + kBlockTransaction) != mTransaction) {
    // Stamps equal to the new transaction's low 24 bits belong to one 2^24
    // transactions older: clear them so a rollback cannot flip them.
    uint8_t *data = block->Data();
    int used = block->Used();
    for (int at = 0; at < used; at += block->RecordLength(at))
      if (Load24(data + at + 3) == Stamp(mTransaction)) Store24(data + at + 3, 0);
    Store32(block->bytes + kBlockTransaction, mTransaction);
    Store32(block->bytes + kBlockRollbackLink, uint32_t(mChainHead));
    mChainHead = number;
  }
  block->dirty = true;
  mDirty.push_back(number);
  return true;
}

qvdbRecordBlock *qvdbDatabase::getNewRecordBlock(uint32_t type, uint32_t streamId,
                                                 uint32_t &number) {
  if (mBlockCount >= 0x7FFFFFFFu) {
    Fail(string("the file cannot hold more blocks"));
    return nullptr;
  }
  if (!mTransactionOpen && !startTransaction()) return nullptr;
  number = mBlockCount++;
  auto *block = new qvdbRecordBlock;
  std::memset(block->bytes, 0, sizeof block->bytes);
  Store32(block->bytes + kBlockType, type);
  Store32(block->bytes + kBlockStream, streamId);
  block->version = NextVersion();
  mCache[number] = block;
  markDirty(number, block);
  return block;
}

// ------------------------------------------------------------ transactions

bool qvdbDatabase::WriteHeaderFields(bool open) {
  uint8_t fields[12];
  Store32(fields, mTransaction);
  Store32(fields + 4, open ? 1 : 0);
  Store32(fields + 8, mNextKey);
  if (!mFile.WriteAt(kHeaderTransaction, fields, 12) || !mFile.Flush()) {
    mBroken = true;
    return Fail(mFile.LastFailure());
  }
  return true;
}

bool qvdbDatabase::startTransaction() {
  if (mTransactionOpen) return true;
  if (mBroken) return Fail(string("an earlier write failed; reopen the database"));
  if (mFile.ReadOnly()) return Fail(string("write: the file is read-only"));
  if (!WriteHeaderFields(true)) return false;
  mStoredTransaction = mTransaction;
  mTransactionOpen = true;
  mChainHead = -1;
  return true;
}

bool qvdbDatabase::FlushCursorUpdates() {
  // Rows waiting in cursors' update files belong to this transaction.
  std::vector<qvdbCursor *> cursors = mCursors;
  for (qvdbCursor *cursor : cursors)
    if (!cursor->FlushUpdateFile()) return false;
  return true;
}

bool qvdbDatabase::CommitFailed() {
  mBroken = true;
  Fail(mFile.LastFailure());
  // The cache goes back to the last commit, and so does the file (its saved
  // blocks from the journal), so that what reads show is what it holds.
  ForgetTransactionBlocks();
  mTransactionOpen = false;
  if (!RecoverFlaggedFile()) {
    // The file could not be put back: nothing more is read from it.
    for (auto &entry : mCache) delete entry.second;
    mCache.clear();
    mUnreadable = true;
  }
  return false;
}

bool qvdbDatabase::commitTransaction() {
  if (!FlushCursorUpdates()) return false;
  if (!mTransactionOpen) return true;
  if (mBroken) return Fail(string("an earlier write failed; reopen the database"));
  if (!WriteJournal()) return CommitFailed();
  for (uint32_t number : mDirty) {
    qvdbRecordBlock *block = mCache[number];
    if (!mFile.WriteAt(BlockOffset(number), block->bytes, kBlockSize)) return CommitFailed();
  }
  int64_t length = BlockOffset(mBlockCount);
  uint8_t root[4];
  Store32(root, mContentsRoot);
  if ((mFile.Length() != length && !mFile.SetLength(length)) || !mFile.Flush() ||
      !mFile.WriteAt(kHeaderContentsRoot, root, 4))
    return CommitFailed();
  if (!WriteHeaderFields(false)) return CommitFailed();
  RemoveJournal();
  for (uint32_t number : mDirty) mCache[number]->dirty = false;
  mDirty.clear();
  mCommittedBlockCount = mBlockCount;
  mCommittedContentsRoot = mContentsRoot;
  mTransactionOpen = false;
  mTransaction++;
  mChainHead = -1;
  return true;
}

void qvdbDatabase::ForgetTransactionBlocks() {
  for (qvdbCursor *cursor : mCursors) cursor->DiscardUpdateFile();
  for (uint32_t number : mDirty) {
    auto found = mCache.find(number);
    if (found == mCache.end()) continue;
    delete found->second;
    mCache.erase(found);
  }
  mDirty.clear();
  mBlockCount = mCommittedBlockCount;
  mContentsRoot = mCommittedContentsRoot;
}

bool qvdbDatabase::rollbackTransaction() {
  if (!mTransactionOpen) {
    for (qvdbCursor *cursor : mCursors) cursor->DiscardUpdateFile();
    return true;
  }
  // The file holds nothing of the transaction: forget its blocks.
  ForgetTransactionBlocks();
  if (!mBroken && !WriteHeaderFields(false)) return false;
  mTransactionOpen = false;
  mTransaction++;
  mChainHead = -1;
  return true;
}

// ------------------------------------------------------------ streams

qvdbCursor *qvdbDatabase::openContentsCursor() {
  return new qvdbCursor(this, string(), nullptr, nullptr, 0);
}

namespace {

// Moves the contents cursor onto the named stream's record. False when there
// is none; unreadable then tells that a record could not be read.
bool OnStreamRecord(qvdbCursor &contents, const string &name, bool &unreadable) {
  unreadable = false;
  while (contents.nextValidRecord()) {
    int length;
    const uint8_t *record = contents.CurrentRecord(length);
    if (!record) {
      unreadable = true;
      return false;
    }
    if (SameName(reinterpret_cast<const char *>(record + kContentsRecordFixed),
                 length - kContentsRecordFixed, name.CString(), name.Length()))
      return true;
  }
  return false;
}

} // namespace

bool qvdbDatabase::FindStreamRoot(const string &name, uint32_t &root) {
  qvdbCursor contents(this, string(), nullptr, nullptr, 0);
  bool unreadable;
  if (!OnStreamRecord(contents, name, unreadable))
    return false;
  int length;
  root = Load32(contents.CurrentRecord(length) + 10);
  return true;
}

bool qvdbDatabase::SetStreamRoot(const string &name, uint32_t root) {
  qvdbCursor contents(this, string(), nullptr, nullptr, 0);
  bool unreadable;
  if (!OnStreamRecord(contents, name, unreadable))
    return unreadable ? false : Damaged("stream without a contents record");
  int length;
  uint8_t *mutableRecord = contents.MutableCurrentRecord(length);
  if (!mutableRecord) return false;
  Store32(mutableRecord + 10, root);
  return true;
}

bool qvdbDatabase::createTable(const string &name) {
  int nameLength = name.Length();
  int length = kContentsRecordFixed + nameLength;
  // The name is the stream's key: refused before anything is written.
  if (nameLength + 3 > kMaximumIndexedKeyLength) return Fail(string("name too long"));
  uint32_t number;
  qvdbRecordBlock *block = getNewRecordBlock(kTableBlock, 0, number);
  if (!block) return false;
  Store32(block->bytes + kBlockStream, number);
  std::vector<uint8_t> record(size_t(length), 0);
  Store16(record.data(), uint32_t(length));
  record[2] = kLive;
  Store24(record.data() + 3, Stamp(mTransaction));
  Store32(record.data() + 6, getUniqueKey());
  Store32(record.data() + 10, number);
  Store32(record.data() + 14, uint32_t(nameLength));
  if (nameLength) std::memcpy(record.data() + kContentsRecordFixed, name.CString(), size_t(nameLength));
  qvdbCursor contents(this, string(), nullptr, nullptr, 0);
  auto key = std::make_unique<KeyBuffer>();
  bool exists;
  if (!RecordKey(kContentsBlock, record.data(), length, nullptr, 0, *key) ||
      !contents.findInsertionPoint(key->bytes, key->length, exists))
    return false;
  return contents.insertRecordAtThumb(record.data(), length);
}

qvdbCursor *qvdbDatabase::openTableCursor(const string &name, keyConstraint *constraint,
                                          const uint8_t *keyColumns, int count) {
  uint32_t root;
  if (!FindStreamRoot(name, root)) return nullptr;
  return new qvdbCursor(this, name, constraint, keyColumns, count);
}
