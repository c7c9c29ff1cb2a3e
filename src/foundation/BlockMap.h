// The in-memory index of a virtual volume's blocks: one entry {block start,
// owner idnum, sequence} per block, in the order they were added, and the
// number of entries that are free (idnum 0). Searches are linear in entry
// order; lookups of a file's first block (sequence 0) also go through a hash
// index that answers exactly what the linear search would.
#pragma once
#include <cstdint>
#include <unordered_map>

#include "foundation/AssertionAlert.h"
#include "foundation/SimpleVector.h"

inline constexpr char kVFSCoreAlertSource[] = "../Universal/VirtualVolumes/VFSCore";
inline constexpr AlertSite kBlockMapBufferAlert{kVFSCoreAlertSource, 1189, "buffer"};

struct MapObject {
  uint32_t mBlockStart;
  uint32_t mIdnum;
  uint32_t mSequence;
};
static_assert(sizeof(MapObject) == 12);

class BlockMap {
public:
  BlockMap() = default;
  ~BlockMap(); // deletes every entry
  BlockMap(const BlockMap &) = delete;
  BlockMap &operator=(const BlockMap &) = delete;

  void AddEntry(uint32_t idnum, uint32_t blockStart, uint32_t sequence);
  // Re-owns the first entry with that start; a sequence of -1 keeps the old
  // one. False when no entry has that start.
  bool ChangeEntryByBlockStart(uint32_t blockStart, uint32_t idnum, int64_t sequence);
  // The same by idnum: the first entry owned by idnum is re-owned.
  bool ChangeEntryByID(uint32_t idnum, uint32_t newIdnum, int64_t sequence);
  // From index first on, the first entry with that idnum and sequence: its
  // index, its start through blockStart. -1 (and a start of -1) when none.
  int32_t FindBlockStartByID(uint32_t idnum, double &blockStart, int32_t first,
                             uint32_t sequence) const;
  // The idnum of the first entry with that start; false when none.
  bool FindIDByBlockStart(uint32_t blockStart, uint32_t &idnum) const;
  bool RemoveEntryByID(uint32_t idnum);
  bool RemoveEntryByBlockStart(uint32_t blockStart);
  // Allocates (new[]) and fills the stored record; answers its size.
  int32_t WriteBlockMapToBuffer(char *&buffer) const;
  // Adds one entry per record entry. False when the magic is not "BMap" or
  // the record is shorter than its count says.
  bool ConstructBlockMapFromBuffer(const char *buffer, int32_t size);
  bool CheckIntegrity() const { return true; }

  void Clear();
  int32_t Count() const { return mEntries.count(); }
  int32_t FreeCount() const { return mFreeCount; }
  const MapObject &Entry(int32_t index) const { return *mEntries[index]; }

private:
  template <typename Match>
  int32_t IndexWhere(Match match) const {
    for (int32_t i = 0; i < mEntries.count(); ++i)
      if (match(*mEntries[i]))
        return i;
    return -1;
  }
  bool RemoveAt(int32_t index);
  void Reown(int32_t index, uint32_t idnum, int64_t sequence);
  void IndexFirstBlock(int32_t index);
  void UnindexFirstBlock(int32_t index);
  void ReindexAll();

  SimpleVector<MapObject *> mEntries;
  int32_t mFreeCount = 0;
  // idnum -> index of its first entry with sequence 0.
  std::unordered_map<uint32_t, int32_t> mFirstBlocks;
};
