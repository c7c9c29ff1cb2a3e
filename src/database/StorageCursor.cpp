// Cursors over streams: finding, stepping, inserting with splits, deleting.
#include <algorithm>
#include <cstring>

#include "database/StorageEngine.h"

using namespace dbformat;

namespace {
inline uint32_t Stamp(uint32_t transaction) { return transaction & 0xFFFFFF; }
} // namespace

qvdbCursor::qvdbCursor(qvdbDatabase *db, const string &streamName, keyConstraint *constraint,
                       const uint8_t *keyColumns, int count)
    : mDb(db), mStreamName(streamName), mKeyColumns(keyColumns, keyColumns + (count > 0 ? count : 0)),
      mConstraint(constraint), mScratch(std::make_unique<KeyBuffer>()) {
  mDb->AddCursor(this);
}

qvdbCursor::~qvdbCursor() {
  // A cursor that ends need not find its row again.
  FlushUpdateFile(false);
  mDb->RemoveCursor(this);
}

bool qvdbCursor::Root(uint32_t &root) {
  if (IsContents()) {
    root = mDb->ContentsRoot();
    return true;
  }
  return mDb->FindStreamRoot(mStreamName, root) || mDb->Fail(string("the table's stream is gone"));
}

bool qvdbCursor::SetRoot(uint32_t root) {
  if (IsContents()) {
    mDb->SetContentsRoot(root);
    return true;
  }
  return mDb->SetStreamRoot(mStreamName, root);
}

bool qvdbCursor::CheckLeafType(const qvdbRecordBlock *block) {
  if (!block->IsLeaf() && mStack.size() >= size_t(qvdbDatabase::kMaximumDepth))
    return mDb->Damaged("tree too deep");
  if (block->IsLeaf() && block->Type() != (IsContents() ? kContentsBlock : kTableBlock))
    return mDb->Damaged("leaf block of the wrong kind");
  return true;
}

bool qvdbCursor::resetCursor() {
  mStack.clear();
  mFirstStep = true;
  mExhausted = false;
  uint32_t root;
  if (!Root(root)) return false;
  qvdbRecordBlock *block = mDb->lockRecordBlock(root);
  if (!block || !CheckLeafType(block)) return false;
  mStack.push_back({root, 0, block->version});
  return true;
}

void qvdbCursor::Remember() {
  for (Thumb &thumb : mStack) {
    qvdbRecordBlock *block = mDb->CachedBlock(thumb.block);
    thumb.version = block ? block->version : 0;
  }
  if (mStack.empty()) return;
  qvdbRecordBlock *leaf = mDb->CachedBlock(mStack.back().block);
  int offset = mStack.back().offset;
  if (leaf && leaf->IsLeaf() && offset < leaf->Used()) mIdentity = Load32(leaf->Data() + offset + 6);
}

bool qvdbCursor::Revalidate() {
  if (mStack.empty()) return true;
  for (const Thumb &thumb : mStack) {
    qvdbRecordBlock *block = mDb->CachedBlock(thumb.block);
    if (!block || block->version != thumb.version) {
      qvdbRecordBlock *leaf = mDb->CachedBlock(mStack.back().block);
      return Relocate(mIdentity, leaf ? leaf->Type() : 0);
    }
  }
  return true;
}

// Records moved under the cursor (another cursor inserted, or a rollback
// dropped blocks): find the record it stood on again by its identity.
bool qvdbCursor::Relocate(uint32_t identity, uint32_t blockType) {
  uint32_t leafNumber = mStack.back().block;
  qvdbRecordBlock *leaf = mDb->CachedBlock(leafNumber);
  bool firstStep = mFirstStep;
  if (leaf && leaf->IsLeaf() && leaf->Type() == blockType) {
    const uint8_t *data = leaf->Data();
    for (int at = 0, used = leaf->Used(); at < used; at += leaf->RecordLength(at)) {
      if (Load32(data + at + 6) == identity && LocateBlock(leafNumber, at)) {
        mFirstStep = firstStep;
        Remember();
        return true;
      }
    }
  }
  if (!resetCursor()) return false;
  while (nextRecord()) {
    int length;
    const uint8_t *record = CurrentRecord(length);
    if (record && Load32(record + 6) == identity) {
      mFirstStep = firstStep;
      return true;
    }
  }
  mExhausted = true;
  return false;
}

bool qvdbCursor::PathTo(uint32_t number, uint32_t target, int depth) {
  if (number == target) {
    mStack.push_back({number, 0, 0});
    return true;
  }
  qvdbRecordBlock *block = mDb->CachedBlock(number);
  if (!block || block->IsLeaf() || depth >= qvdbDatabase::kMaximumDepth) return false;
  const uint8_t *data = block->Data();
  for (int at = 0, used = block->Used(); at < used; at += block->RecordLength(at)) {
    mStack.push_back({number, at, 0});
    if (PathTo(Load32(data + at + 8), target, depth + 1)) return true;
    mStack.pop_back();
  }
  return false;
}

// Rebuilds the thumb stack down to a leaf block through the cached index
// blocks (every block on the way to a block just changed is cached).
bool qvdbCursor::LocateBlock(uint32_t target, int offset) {
  uint32_t root;
  if (!Root(root)) return false;
  mStack.clear();
  if (!PathTo(root, target, 0)) return mDb->Damaged("block not reachable from its root");
  mStack.back().offset = offset;
  Remember();
  return true;
}

bool qvdbCursor::nextRecord() {
  if (mExhausted || !Revalidate()) return false;
  if (mStack.empty() && !resetCursor()) return false;
  bool advance = !mFirstStep;
  mFirstStep = false;
  while (true) {
    if (mStack.empty()) {
      mExhausted = true;
      return false;
    }
    Thumb &thumb = mStack.back();
    qvdbRecordBlock *block = mDb->lockRecordBlock(thumb.block);
    if (!block || !CheckLeafType(block)) return false;
    int used = block->Used();
    if (advance && thumb.offset < used) thumb.offset += block->RecordLength(thumb.offset);
    advance = false;
    if (thumb.offset >= used) {
      mStack.pop_back();
      advance = true;
      continue;
    }
    if (!block->IsLeaf()) {
      uint32_t child = Load32(block->Data() + thumb.offset + 8);
      for (const Thumb &t : mStack)
        if (t.block == child) return mDb->Damaged("index names an ancestor");
      qvdbRecordBlock *childBlock = mDb->lockRecordBlock(child);
      if (!childBlock) return false;
      mStack.push_back({child, 0, childBlock->version});
      continue;
    }
    Remember();
    return true;
  }
}

bool qvdbCursor::KeyOf(uint32_t blockType, const uint8_t *record, int length, KeyBuffer &key) {
  return RecordKey(blockType, record, length, mKeyColumns.data(), int(mKeyColumns.size()), key) ||
         mDb->Damaged("record key");
}

bool qvdbCursor::SatisfiesConstraint() {
  if (!mConstraint) return true;
  if (mConstraint->operation != 0) return false;
  KeyBuffer &key = *mScratch;
  if (!CurrentKey(key)) return false;
  size_t n = mConstraint->key.size();
  return size_t(key.length) >= n && std::memcmp(key.bytes, mConstraint->key.data(), n) == 0;
}

bool qvdbCursor::nextValidRecord() {
  while (nextRecord())
    if (isOnValidRecord()) return true;
  return false;
}

const uint8_t *qvdbCursor::CurrentRecord(int &length) {
  if (mExhausted || mStack.empty() || !Revalidate() || mExhausted) return nullptr;
  const Thumb &thumb = mStack.back();
  qvdbRecordBlock *block = mDb->lockRecordBlock(thumb.block);
  if (!block || !block->IsLeaf() || thumb.offset >= block->Used()) return nullptr;
  length = block->RecordLength(thumb.offset);
  return block->Data() + thumb.offset;
}

uint8_t *qvdbCursor::MutableCurrentRecord(int &length) {
  if (!CurrentRecord(length)) return nullptr;
  const Thumb &thumb = mStack.back();
  qvdbRecordBlock *block = mDb->lockRecordBlock(thumb.block);
  if (!mDb->markDirty(thumb.block, block)) return nullptr;
  block->Changed(); // the caller may change the record's state
  return block->Data() + thumb.offset;
}

bool qvdbCursor::isOnRecord() {
  int length;
  return CurrentRecord(length) != nullptr;
}

bool qvdbCursor::isOnValidRecord() {
  int length;
  const uint8_t *record = CurrentRecord(length);
  return record && record[2] == kLive && SatisfiesConstraint();
}

bool qvdbCursor::CurrentKey(KeyBuffer &key) {
  int length;
  const uint8_t *record = CurrentRecord(length);
  if (!record) return false;
  return KeyOf(mDb->CachedBlock(mStack.back().block)->Type(), record, length, key);
}

bool qvdbCursor::deleteRecord() {
  int length;
  uint8_t *record = MutableCurrentRecord(length);
  if (!record) return false;
  record[2] = kDeleted;
  Store24(record + 3, Stamp(mDb->getTransaction()));
  mDb->CachedBlock(mStack.back().block)->Changed();
  return true;
}

bool qvdbCursor::findInsertionPoint(const uint8_t *key, int keyLength, bool &exists) {
  exists = false;
  if (!resetCursor()) return false;
  KeyBuffer &recordKey = *mScratch;
  while (true) {
    Thumb &thumb = mStack.back();
    qvdbRecordBlock *block = mDb->lockRecordBlock(thumb.block);
    if (!block || !CheckLeafType(block)) return false;
    const uint8_t *data = block->Data();
    uint32_t type = block->Type();
    // The first live record whose key is not less (binary search over the
    // live records, which stand in key order); in an index block the walk
    // then steps back to the last one whose key was less.
    int used = block->Used(), at = used, lastLess = -1;
    const std::vector<uint16_t> &live = block->LiveOffsets();
    size_t low = 0, high = live.size();
    while (low < high) {
      size_t middle = (low + high) / 2;
      const uint8_t *record = data + live[middle];
      if (!KeyOf(type, record, Load16(record), recordKey)) return false;
      if (CompareKeys(recordKey.bytes, recordKey.length, key, keyLength) < 0) low = middle + 1;
      else high = middle;
    }
    if (low < live.size()) {
      at = live[low];
      if (!KeyOf(type, data + at, Load16(data + at), recordKey)) return false;
      exists = CompareKeys(recordKey.bytes, recordKey.length, key, keyLength) == 0;
    }
    if (low > 0) lastLess = live[low - 1];
    if (block->IsLeaf()) {
      thumb.offset = at;
      mFirstStep = true;
      Remember();
      // Past the leaf's last record the key may still stand first in the
      // next leaf (its index record holds exactly that key): look there.
      return at < used || PeekNextKey(key, keyLength, exists);
    }
    exists = false;
    int chosen = lastLess >= 0 ? lastLess : at;
    if (chosen >= used) return mDb->Damaged("index block without live records");
    if (!Descend(data, chosen)) return false;
  }
}

bool qvdbCursor::Descend(const uint8_t *data, int offset) {
  mStack.back().offset = offset;
  uint32_t child = Load32(data + offset + 8);
  for (const Thumb &t : mStack)
    if (t.block == child) return mDb->Damaged("index names an ancestor");
  qvdbRecordBlock *childBlock = mDb->lockRecordBlock(child);
  if (!childBlock) return false;
  mStack.push_back({child, 0, childBlock->version});
  return true;
}

int qvdbCursor::CountRecords(const uint8_t *data, int from, int to) {
  int count = 0;
  for (int at = from; at < to; at += Load16(data + at)) count++;
  return count;
}

bool qvdbCursor::InsertIndexAfterParent(size_t parentLevel, uint32_t child, int count,
                                        const uint8_t *first, int firstLength, uint32_t type) {
  KeyBuffer &key = *mScratch;
  if (!KeyOf(type, first, firstLength, key)) return false;
  int length = kIndexRecordFixed + key.length;
  if (length > kBlockDataSize) return mDb->Fail(string("key too long for an index record"));
  std::vector<uint8_t> buffer(static_cast<size_t>(length));
  uint8_t *record = buffer.data();
  Store16(record, uint32_t(length));
  record[2] = kLive;
  Store24(record + 3, Stamp(mDb->getTransaction()));
  Store16(record + 6, uint32_t(count > 0xFFFF ? 0xFFFF : count));
  Store32(record + 8, child);
  std::memcpy(record + kIndexRecordFixed, key.bytes, size_t(key.length));
  Thumb &parent = mStack[parentLevel];
  qvdbRecordBlock *block = mDb->lockRecordBlock(parent.block);
  if (!block) return false;
  int offset = parent.offset + block->RecordLength(parent.offset);
  return InsertAt(parentLevel, offset, record, length);
}

bool qvdbCursor::InsertAt(size_t level, int offset, const uint8_t *record, int length) {
  if (length > kBlockDataSize) return mDb->Fail(string("record too long for a block"));
  uint32_t number = mStack[level].block;
  qvdbRecordBlock *block = mDb->lockRecordBlock(number);
  if (!block) return false;
  int used = block->Used(), tail = used - offset;
  if (used + length <= kBlockDataSize) {
    if (!mDb->markDirty(number, block)) return false;
    uint8_t *data = block->Data();
    std::memmove(data + offset + length, data + offset, size_t(tail));
    std::memcpy(data + offset, record, size_t(length));
    block->SetUsed(used + length);
    block->version = mDb->NextVersion();
    block->Changed();
    if (mStack[level].offset >= offset) mStack[level].offset += length;
    return true;
  }
  // A split: the block needs a parent first.
  uint32_t type = block->Type(), stream = Load32(block->bytes + kBlockStream);
  if (level == 0) {
    // Each new root adds a level; keys are bounded so that this ends, and a
    // tree this deep means something is wrong.
    if (mStack.size() >= size_t(qvdbDatabase::kMaximumDepth)) return mDb->Fail(string("tree too deep"));
    uint32_t rootNumber;
    qvdbRecordBlock *root = mDb->getNewRecordBlock(kIndexBlock, 0, rootNumber);
    if (!root) return false;
    Store32(root->bytes + kBlockStream, rootNumber);
    uint8_t *first = root->Data();
    Store16(first, kIndexRecordFixed);
    first[2] = kLive;
    Store24(first + 3, Stamp(mDb->getTransaction()));
    Store32(first + 8, number);
    root->SetUsed(kIndexRecordFixed);
    root->Changed();
    mStack.insert(mStack.begin(), Thumb{rootNumber, 0, root->version});
    level++;
    if (!SetRoot(rootNumber)) return false;
  }
  bool thumbAtOffset = mStack[level].offset == offset;
  auto parentInsert = [&](uint32_t child, int count, const uint8_t *first) {
    size_t before = mStack.size();
    bool ok = InsertIndexAfterParent(level - 1, child, count, first, Load16(first), type);
    level += mStack.size() - before;
    return ok;
  };
  const uint8_t *data = block->Data();
  int tailCount = CountRecords(data, offset, used);
  if (offset + length <= kBlockDataSize) {
    uint32_t newNumber;
    qvdbRecordBlock *fresh = mDb->getNewRecordBlock(type, stream, newNumber);
    if (!fresh || !parentInsert(newNumber, tailCount, data + offset)) return false;
    if (!mDb->markDirty(number, block)) return false;
    uint8_t *old = block->Data();
    std::memcpy(fresh->Data(), old + offset, size_t(tail));
    fresh->SetUsed(tail);
    fresh->Changed();
    std::memset(old + offset, 0, size_t(tail));
    std::memcpy(old + offset, record, size_t(length));
    block->SetUsed(offset + length);
  } else if (length + tail <= kBlockDataSize) {
    uint32_t newNumber;
    qvdbRecordBlock *fresh = mDb->getNewRecordBlock(type, stream, newNumber);
    if (!fresh || !parentInsert(newNumber, tailCount + 1, record)) return false;
    if (!mDb->markDirty(number, block)) return false;
    uint8_t *old = block->Data();
    std::memcpy(fresh->Data(), record, size_t(length));
    std::memcpy(fresh->Data() + length, old + offset, size_t(tail));
    fresh->SetUsed(length + tail);
    fresh->Changed();
    std::memset(old + offset, 0, size_t(tail));
    block->SetUsed(offset);
    if (thumbAtOffset) mStack[level] = Thumb{newNumber, 0, 0};
  } else {
    uint32_t recordNumber, tailNumber;
    qvdbRecordBlock *forRecord = mDb->getNewRecordBlock(type, stream, recordNumber);
    qvdbRecordBlock *forTail = forRecord ? mDb->getNewRecordBlock(type, stream, tailNumber) : nullptr;
    if (!forTail || !parentInsert(tailNumber, tailCount, data + offset) ||
        !parentInsert(recordNumber, 1, record))
      return false;
    if (!mDb->markDirty(number, block)) return false;
    uint8_t *old = block->Data();
    std::memcpy(forRecord->Data(), record, size_t(length));
    forRecord->SetUsed(length);
    std::memcpy(forTail->Data(), old + offset, size_t(tail));
    forTail->SetUsed(tail);
    forRecord->Changed();
    forTail->Changed();
    std::memset(old + offset, 0, size_t(tail));
    block->SetUsed(offset);
    if (thumbAtOffset) mStack[level] = Thumb{recordNumber, 0, 0};
  }
  block->version = mDb->NextVersion();
  block->Changed();
  return true;
}

bool qvdbCursor::insertRecordAtThumb(const uint8_t *record, int length) {
  if (!Revalidate() || mStack.empty()) return false;
  size_t top = mStack.size() - 1;
  uint32_t before = mDb->BlockCount();
  if (!InsertAt(top, mStack.back().offset, record, length)) return false;
  // A split may have moved the thumb or its parents: rebuild the path.
  if (mDb->BlockCount() != before) return LocateBlock(mStack.back().block, mStack.back().offset);
  Remember();
  return true;
}

void qvdbCursor::AddToUpdateFile(const uint8_t *record, int length) {
  mUpdateFile.emplace_back(record, record + length);
}

bool qvdbCursor::FlushUpdateFile(bool stayOnRow) {
  if (mUpdateFile.empty()) return true;
  std::vector<std::vector<uint8_t>> rows;
  rows.swap(mUpdateFile);
  uint32_t identity = mIdentity;
  bool exhausted = mExhausted || mStack.empty();
  // The key of the row the cursor stands on finds it again after the
  // inserts moved it, without walking the stream from its first row.
  auto here = std::make_unique<KeyBuffer>();
  stayOnRow = stayOnRow && !exhausted && CurrentKey(*here);
  auto keyBuffer = std::make_unique<KeyBuffer>();
  KeyBuffer &key = *keyBuffer;
  for (const std::vector<uint8_t> &row : rows) {
    bool exists;
    if (!KeyOf(kTableBlock, row.data(), int(row.size()), key) ||
        !findInsertionPoint(key.bytes, key.length, exists) ||
        !insertRecordAtThumb(row.data(), int(row.size())))
      return false;
  }
  if (!stayOnRow) {
    mStack.clear();
    mExhausted = true;
    return !mDb->Failed();
  }
  bool firstStep = mFirstStep;
  if (FindRecord(here->bytes, here->length, identity)) {
    mFirstStep = firstStep;
    return true;
  }
  mExhausted = true;
  return !mDb->Failed();
}

// From the root to the record with the key and identity, whatever its
// state: records stand in key order live or deleted, so the descent looks at
// all of them (where findInsertionPoint looks at live ones only).
bool qvdbCursor::FindRecord(const uint8_t *key, int keyLength, uint32_t identity) {
  if (!resetCursor()) return false;
  KeyBuffer &recordKey = *mScratch;
  while (true) {
    Thumb &thumb = mStack.back();
    qvdbRecordBlock *block = mDb->lockRecordBlock(thumb.block);
    if (!block || !CheckLeafType(block)) return false;
    const uint8_t *data = block->Data();
    uint32_t type = block->Type();
    int used = block->Used(), at = 0, lastLess = -1;
    for (; at < used; at += block->RecordLength(at)) {
      if (!KeyOf(type, data + at, block->RecordLength(at), recordKey)) return false;
      if (CompareKeys(recordKey.bytes, recordKey.length, key, keyLength) >= 0) break;
      lastLess = at;
    }
    if (block->IsLeaf()) {
      thumb.offset = at;
      mFirstStep = true;
      Remember();
      break;
    }
    int chosen = lastLess >= 0 ? lastLess : 0;
    if (chosen >= used) return mDb->Damaged("index block without records");
    if (!Descend(data, chosen)) return false;
  }
  // Among the records of that key, the one with the identity.
  while (nextRecord()) {
    int length;
    const uint8_t *record = CurrentRecord(length);
    if (!record) return false;
    if (Load32(record + 6) == identity) return true;
    if (!KeyOf(mDb->CachedBlock(mStack.back().block)->Type(), record, length, recordKey)) return false;
    if (CompareKeys(recordKey.bytes, recordKey.length, key, keyLength) > 0) return false;
  }
  return false;
}

bool qvdbCursor::UpdateFileHasKey(const uint8_t *key, int length) {
  auto buffer = std::make_unique<KeyBuffer>();
  for (const std::vector<uint8_t> &row : mUpdateFile)
    if (KeyOf(kTableBlock, row.data(), int(row.size()), *buffer) &&
        CompareKeys(buffer->bytes, buffer->length, key, length) == 0)
      return true;
  return false;
}

bool qvdbCursor::PeekNextKey(const uint8_t *key, int keyLength, bool &exists) {
  std::vector<Thumb> stack = mStack;
  bool firstStep = mFirstStep;
  uint32_t identity = mIdentity;
  mFirstStep = false;
  while (nextRecord()) {
    int length;
    const uint8_t *record = CurrentRecord(length);
    if (!record || record[2] != kLive) continue;
    if (!KeyOf(mDb->CachedBlock(mStack.back().block)->Type(), record, length, *mScratch)) return false;
    exists = CompareKeys(mScratch->bytes, mScratch->length, key, keyLength) == 0;
    break;
  }
  mStack = stack;
  mFirstStep = firstStep;
  mIdentity = identity;
  mExhausted = false;
  return !mDb->Failed();
}

const std::vector<uint16_t> &qvdbRecordBlock::LiveOffsets() {
  if (liveValid) return live;
  live.clear();
  const uint8_t *data = Data();
  for (int at = 0, used = Used(); at < used; at += RecordLength(at))
    if (data[at + 2] == kLive) live.push_back(uint16_t(at));
  liveValid = true;
  return live;
}
