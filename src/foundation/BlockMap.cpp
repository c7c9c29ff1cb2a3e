#include "foundation/BlockMap.h"

#include <cstring>

#include "foundation/ByteOrder.h"
#include "foundation/VFSFormat.h"

BlockMap::~BlockMap() { Clear(); }

void BlockMap::Clear() {
  for (MapObject *entry : mEntries)
    delete entry;
  mEntries.resize(0);
  mFreeCount = 0;
  mFirstBlocks.clear();
}

void BlockMap::IndexFirstBlock(int32_t index) {
  const MapObject &entry = *mEntries[index];
  if (entry.mSequence != 0)
    return;
  auto found = mFirstBlocks.find(entry.mIdnum);
  if (found == mFirstBlocks.end() || found->second > index)
    mFirstBlocks[entry.mIdnum] = index;
}

void BlockMap::UnindexFirstBlock(int32_t index) {
  const MapObject &entry = *mEntries[index];
  auto found = mFirstBlocks.find(entry.mIdnum);
  if (found == mFirstBlocks.end() || found->second != index)
    return;
  mFirstBlocks.erase(found);
  // The next entry of that idnum and sequence 0, if any, takes its place.
  for (int32_t i = index + 1; i < mEntries.count(); ++i)
    if (mEntries[i]->mIdnum == entry.mIdnum && mEntries[i]->mSequence == 0) {
      mFirstBlocks[entry.mIdnum] = i;
      return;
    }
}

void BlockMap::ReindexAll() {
  mFirstBlocks.clear();
  for (int32_t i = 0; i < mEntries.count(); ++i)
    IndexFirstBlock(i);
}

void BlockMap::AddEntry(uint32_t idnum, uint32_t blockStart, uint32_t sequence) {
  mEntries.push_back(new MapObject{blockStart, idnum, sequence});
  if (idnum == kFreeBlockIdnum)
    ++mFreeCount;
  IndexFirstBlock(mEntries.count() - 1);
}

void BlockMap::Reown(int32_t index, uint32_t idnum, int64_t sequence) {
  MapObject &entry = *mEntries[index];
  UnindexFirstBlock(index);
  if (entry.mIdnum == kFreeBlockIdnum && idnum != kFreeBlockIdnum)
    --mFreeCount;
  else if (entry.mIdnum != kFreeBlockIdnum && idnum == kFreeBlockIdnum)
    ++mFreeCount;
  entry.mIdnum = idnum;
  if (sequence != -1)
    entry.mSequence = static_cast<uint32_t>(sequence);
  IndexFirstBlock(index);
}

bool BlockMap::ChangeEntryByBlockStart(uint32_t blockStart, uint32_t idnum, int64_t sequence) {
  const int32_t index = IndexWhere([&](const MapObject &e) { return e.mBlockStart == blockStart; });
  if (index < 0)
    return false;
  Reown(index, idnum, sequence);
  return true;
}

bool BlockMap::ChangeEntryByID(uint32_t idnum, uint32_t newIdnum, int64_t sequence) {
  const int32_t index = IndexWhere([&](const MapObject &e) { return e.mIdnum == idnum; });
  if (index < 0)
    return false;
  Reown(index, newIdnum, sequence);
  return true;
}

int32_t BlockMap::FindBlockStartByID(uint32_t idnum, double &blockStart, int32_t first,
                                     uint32_t sequence) const {
  blockStart = -1;
  if (first < 0)
    first = 0;
  if (sequence == 0) {
    auto found = mFirstBlocks.find(idnum);
    if (found == mFirstBlocks.end())
      return -1;
    if (found->second >= first) {
      blockStart = mEntries[found->second]->mBlockStart;
      return found->second;
    }
  }
  for (int32_t i = first; i < mEntries.count(); ++i)
    if (mEntries[i]->mIdnum == idnum && mEntries[i]->mSequence == sequence) {
      blockStart = mEntries[i]->mBlockStart;
      return i;
    }
  return -1;
}

bool BlockMap::FindIDByBlockStart(uint32_t blockStart, uint32_t &idnum) const {
  const int32_t index = IndexWhere([&](const MapObject &e) { return e.mBlockStart == blockStart; });
  if (index >= 0)
    idnum = mEntries[index]->mIdnum;
  return index >= 0;
}

bool BlockMap::RemoveAt(int32_t index) {
  if (index < 0)
    return false;
  if (mEntries[index]->mIdnum == kFreeBlockIdnum)
    --mFreeCount;
  delete mEntries[index];
  mEntries.deleteIdx(index);
  ReindexAll();
  return true;
}

bool BlockMap::RemoveEntryByID(uint32_t idnum) {
  return RemoveAt(IndexWhere([&](const MapObject &e) { return e.mIdnum == idnum; }));
}

bool BlockMap::RemoveEntryByBlockStart(uint32_t blockStart) {
  return RemoveAt(IndexWhere([&](const MapObject &e) { return e.mBlockStart == blockStart; }));
}

int32_t BlockMap::WriteBlockMapToBuffer(char *&buffer) const {
  const int32_t size = static_cast<int32_t>(kBlockMapRecordHeaderSize +
                                            kBlockMapEntrySize * mEntries.count());
  buffer = new char[size];
  nstorelong(buffer, kBlockMapMagic);
  nstorelong(buffer + 4, static_cast<uint32_t>(mEntries.count()));
  char *out = buffer + kBlockMapRecordHeaderSize;
  for (const MapObject *entry : mEntries) {
    nstorelong(out, entry->mBlockStart);
    nstorelong(out + 4, entry->mIdnum);
    nstorelong(out + 8, entry->mSequence);
    out += kBlockMapEntrySize;
  }
  return size;
}

bool BlockMap::ConstructBlockMapFromBuffer(const char *buffer, int32_t size) {
  if (!buffer) {
    ShowAlert(kBlockMapBufferAlert);
    return false;
  }
  if (size < kBlockMapRecordHeaderSize || nloadlong(buffer) != kBlockMapMagic)
    return false;
  const uint32_t count = nloadlong(buffer + 4);
  if (count > (size - kBlockMapRecordHeaderSize) / kBlockMapEntrySize)
    return false;
  const char *in = buffer + kBlockMapRecordHeaderSize;
  for (uint32_t i = 0; i < count; ++i, in += kBlockMapEntrySize)
    AddEntry(nloadlong(in + 4), nloadlong(in), nloadlong(in + 8));
  return true;
}
