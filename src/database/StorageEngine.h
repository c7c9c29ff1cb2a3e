// The storage engine of the built-in database: a cache of the file's blocks,
// the trees of blocks that hold ordered streams of records, cursors that find
// a key's place, step, insert (splitting blocks and growing new roots) and
// delete, and the single transaction that is open at any time.
//
// Nothing of an open transaction reaches the file before it ends: its blocks
// stay dirty in the cache. Commit first saves the old bytes of every block it
// will overwrite, with the old header and length, to a journal beside the
// file; a process killed while writing leaves the file recoverable to the
// last commit. Everything read from the file is checked against its
// container before use; a damaged file fails cleanly with a message.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "database/DatabaseFilePosix.h"
#include "database/DatabaseFormat.h"
#include "foundation/String.h"

class qvdbCursor;

// One cached block: the image and its dirty flag.
struct qvdbRecordBlock {
  uint8_t bytes[dbformat::kBlockSize];
  bool dirty = false;
  uint32_t version = 0; // changes whenever records move within the block
  // The offsets of the live records, in order, for binary search; rebuilt
  // after any change to the records (Changed()).
  std::vector<uint16_t> live;
  bool liveValid = false;
  void Changed() { liveValid = false; }
  const std::vector<uint16_t> &LiveOffsets();

  uint32_t Type() const { return dbformat::Load32(bytes + dbformat::kBlockType); }
  int Used() const { return dbformat::Load16(bytes + dbformat::kBlockUsed); }
  void SetUsed(int used) { dbformat::Store16(bytes + dbformat::kBlockUsed, uint32_t(used)); }
  uint8_t *Data() { return bytes + dbformat::kBlockHeaderSize; }
  const uint8_t *Data() const { return bytes + dbformat::kBlockHeaderSize; }
  int RecordLength(int offset) const { return dbformat::Load16(Data() + offset); }
  bool IsLeaf() const { return Type() != dbformat::kIndexBlock; }
};

// A key constraint: operation 0 accepts records whose key begins with the
// bytes; any other operation accepts nothing.
struct keyConstraint {
  keyConstraint *left = nullptr;
  keyConstraint *right = nullptr;
  int32_t operation = 0;
  std::vector<uint8_t> key;
};

class qvdbDatabase {
public:
  // A new file, or an opened one (recovering an interrupted commit first);
  // nil on failure, with the reason in *failure when it is given.
  static qvdbDatabase *Create(const string &path, string *failure = nullptr);
  static qvdbDatabase *Open(const string &path, string *failure = nullptr);
  // Commits, writes the header's next key and closes the file.
  ~qvdbDatabase();
  bool Close();

  uint32_t getUniqueKey() { return mNextKey++; }
  uint32_t getTransaction() const { return mTransaction; }
  bool TransactionOpen() const { return mTransactionOpen; }
  bool startTransaction();
  bool commitTransaction();
  bool rollbackTransaction();

  // The cached block, loaded and checked on first use; nil when it cannot
  // be read or is damaged (Failure() says why).
  qvdbRecordBlock *lockRecordBlock(uint32_t number);
  // Joins the block to the open transaction (opening one).
  bool markDirty(uint32_t number, qvdbRecordBlock *block);
  // Appends a block (dirty, zeroed, in the transaction); nil on failure.
  qvdbRecordBlock *getNewRecordBlock(uint32_t type, uint32_t streamId, uint32_t &number);
  uint32_t BlockCount() const { return mBlockCount; }
  uint32_t ContentsRoot() const { return mContentsRoot; }
  void SetContentsRoot(uint32_t root) { mContentsRoot = root; }
  uint32_t NextVersion() { return ++mVersionCounter; }
  size_t CachedBlockCount() const { return mCache.size(); }
  // The block when it is cached, without loading it.
  qvdbRecordBlock *CachedBlock(uint32_t number) const {
    auto found = mCache.find(number);
    return found == mCache.end() ? nullptr : found->second;
  }

  // Streams named in the contents stream.
  bool createTable(const string &name);
  // A cursor on the named stream, or nil when there is none.
  qvdbCursor *openTableCursor(const string &name, keyConstraint *constraint,
                              const uint8_t *keyColumns, int count);
  qvdbCursor *openContentsCursor();
  // The root of the named stream, or false; SetStreamRoot rewrites it.
  bool FindStreamRoot(const string &name, uint32_t &root);
  bool SetStreamRoot(const string &name, uint32_t root);

  // The last failure: an I/O error or damage found in the file.
  bool Failed() const { return !mFailure.IsEmpty(); }
  const string &Failure() const { return mFailure; }
  void ClearFailure() { mFailure = string(); }
  bool Fail(const string &what);
  bool Damaged(const char *what);
  bool ReadOnly() const { return mFile.ReadOnly(); }
  const string &Path() const { return mFile.Path(); }

  // Cursors register so that commit can first insert the rows waiting in
  // their update files.
  void AddCursor(qvdbCursor *cursor) { mCursors.push_back(cursor); }
  void RemoveCursor(qvdbCursor *cursor);

  static constexpr int kMaximumDepth = 48;

private:
  qvdbDatabase() = default;
  bool CreateFile(const string &path);
  bool OpenFile(const string &path);
  bool WriteHeaderFields(bool open);
  bool ValidateBlock(uint32_t number, qvdbRecordBlock *block);
  void PurgeDeadRecords(qvdbRecordBlock *block);
  bool FlushCursorUpdates();
  // A commit that failed part way: the cache and, when it can, the file go
  // back to the last commit; answers false.
  bool CommitFailed();
  // Drops the open transaction's blocks and waiting rows from the cache.
  void ForgetTransactionBlocks();
  // Journal (StorageJournal.cpp).
  string JournalPath() const;
  bool WriteJournal();
  bool RecoverFlaggedFile();
  bool ReplayJournal(bool &replayed);
  bool UndoStampedRecords(uint32_t transaction);
  void RemoveJournal(); // and flushes the folder

  DatabaseFile mFile;
  std::unordered_map<uint32_t, qvdbRecordBlock *> mCache;
  std::vector<uint32_t> mDirty; // blocks of the open transaction, in order
  std::vector<qvdbCursor *> mCursors;
  uint32_t mBlockCount = 0;
  uint32_t mCommittedBlockCount = 0;
  uint32_t mNextKey = 1;
  uint32_t mTransaction = 1;
  uint32_t mContentsRoot = 0;
  uint32_t mCommittedContentsRoot = 0;
  uint32_t mStoredTransaction = 0; // header offset 8 as the file holds it
  int64_t mChainHead = -1;
  bool mTransactionOpen = false;
  bool mNoHeaderWrite = false;
  bool mBroken = false; // a failed commit: nothing more is written
  bool mUnreadable = false; // and the file could not be put back
  bool mClosed = false;
  uint32_t mVersionCounter = 0;
  string mFailure;
};

// A position in one stream: a stack of thumbs from the root's index record
// down to the leaf record.
class qvdbCursor {
public:
  struct Thumb {
    uint32_t block;
    int offset;
    uint32_t version; // the block's version when the thumb was placed
  };

  // A cursor on the contents stream (no name) or on a table's stream.
  qvdbCursor(qvdbDatabase *db, const string &streamName, keyConstraint *constraint,
             const uint8_t *keyColumns, int count);
  ~qvdbCursor(); // inserts the rows of the update file first

  qvdbDatabase *Database() const { return mDb; }
  bool IsContents() const { return mStreamName.IsEmpty(); }
  const string &StreamName() const { return mStreamName; }
  const std::vector<uint8_t> &KeyColumns() const { return mKeyColumns; }

  bool resetCursor();
  // Steps to the next leaf record; false at the end (or on failure).
  bool nextRecord();
  // Steps until a live record that satisfies the key constraint.
  bool nextValidRecord();
  bool isOnRecord();
  bool isOnValidRecord();
  // From the root: the place of the key (on the first live record whose key
  // is not less, or past the last); exists when that key is equal.
  bool findInsertionPoint(const uint8_t *key, int length, bool &exists);
  // Inserts at the cursor's place, splitting blocks as needed.
  bool insertRecordAtThumb(const uint8_t *record, int length);
  // Marks the current record deleted in the open transaction.
  bool deleteRecord();
  // The current record (header included) and its length; nil when none.
  const uint8_t *CurrentRecord(int &length);
  uint8_t *MutableCurrentRecord(int &length); // joins the block to the transaction
  bool CurrentKey(dbformat::KeyBuffer &key);
  bool KeyOf(uint32_t blockType, const uint8_t *record, int length, dbformat::KeyBuffer &key);
  // Rows whose key changed wait here until the cursor is destroyed or commit;
  // with stayOnRow the cursor then stands on its row again.
  void AddToUpdateFile(const uint8_t *record, int length);
  bool FlushUpdateFile(bool stayOnRow = true);
  void DiscardUpdateFile() { mUpdateFile.clear(); }
  bool UpdateFileHasKey(const uint8_t *key, int length);

private:
  bool Root(uint32_t &root);
  bool SetRoot(uint32_t root);
  bool Revalidate();
  void Remember();
  bool Relocate(uint32_t identity, uint32_t blockType);
  bool FindRecord(const uint8_t *key, int keyLength, uint32_t identity);
  // Stands the top thumb on the index record at offset and pushes its child.
  bool Descend(const uint8_t *data, int offset);
  bool InsertAt(size_t level, int offset, const uint8_t *record, int length);
  bool InsertIndexAfterParent(size_t level, uint32_t child, int count, const uint8_t *firstRecord,
                              int firstLength, uint32_t type);
  bool LocateBlock(uint32_t target, int offset);
  bool PathTo(uint32_t block, uint32_t target, int depth);
  bool CheckLeafType(const qvdbRecordBlock *block);
  int CountRecords(const uint8_t *data, int from, int to);
  bool SatisfiesConstraint();
  bool PeekNextKey(const uint8_t *key, int keyLength, bool &exists);

  qvdbDatabase *mDb;
  string mStreamName; // empty for the contents stream
  std::vector<Thumb> mStack;
  bool mFirstStep = true;
  std::vector<uint8_t> mKeyColumns;
  keyConstraint *mConstraint; // not owned
  std::vector<std::vector<uint8_t>> mUpdateFile;
  uint32_t mIdentity = 0; // identifies the leaf record the cursor stands on
  std::unique_ptr<dbformat::KeyBuffer> mScratch; // record keys while searching
  bool mExhausted = false;
};
