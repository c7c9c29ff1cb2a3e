// A hash map from integers to values of T with a fixed 1024 bins and no
// rehashing, for small key sets (class ids, encoding codes, characters).
// Entries are also kept in insertion order; there is no removal.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/InsertionOrderList.h"

template <typename T>
class IntMap {
public:
  struct Entry {
    Entry *nextInBin;
    Entry *nextInOrder;
    int32_t key;
    T value;
  };

  static constexpr uint32_t kBinCount = 1024;

  IntMap() = default;
  virtual ~IntMap() { DeleteInInsertionOrder(mFirstEntry); }
  IntMap(const IntMap &) = delete;
  IntMap &operator=(const IntMap &) = delete;

  static uint32_t hashInteger(int32_t key) {
    return (static_cast<uint32_t>(key) * 13u) & (kBinCount - 1);
  }

  // An existing key gets the new value in place; a new key goes to the front
  // of its bin and the end of the order list.
  void AddEntry(int32_t key, const T &value) {
    if (Entry *existing = Find(key)) {
      existing->value = value;
      return;
    }
    Entry *&head = mBins[hashInteger(key)];
    Entry *entry = new Entry{head, nullptr, key, value};
    head = entry;
    AppendInInsertionOrder(mFirstEntry, mLastEntry, entry);
  }

  // True and the value (when value is not null) for a known key.
  bool GetEntry(int32_t key, T *value) const {
    Entry *entry = Find(key);
    if (entry && value)
      *value = entry->value;
    return entry != nullptr;
  }

private:
  friend struct IntMapLayout;

  Entry *Find(int32_t key) const {
    for (Entry *entry = mBins[hashInteger(key)]; entry; entry = entry->nextInBin)
      if (entry->key == key)
        return entry;
    return nullptr;
  }

  Entry *mBins[kBinCount] = {};
  Entry *mFirstEntry = nullptr;
  Entry *mLastEntry = nullptr;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
struct IntMapLayout {
  using Map = IntMap<void *>;
  static_assert(sizeof(Map) == 4 + 4 * Map::kBinCount + 8);
  static_assert(offsetof(Map, mBins) == 4);
  static_assert(offsetof(Map, mFirstEntry) == 4 + 4 * Map::kBinCount);
  static_assert(offsetof(Map, mLastEntry) == 8 + 4 * Map::kBinCount);
  static_assert(offsetof(Map::Entry, key) == 8 && offsetof(Map::Entry, value) == 12);
};
#pragma GCC diagnostic pop
