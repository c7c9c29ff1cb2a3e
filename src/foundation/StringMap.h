// A hash map from string keys, matched without regard to case, to values of
// T. Entries sit both in a bin chain and in one list in insertion order; the
// bins are allocated on the first insertion and double at three-quarters
// load. Iterators follow the insertion order and are registered on the map,
// so an entry can be deleted (through the map or the iterator) while they are
// walking and they go on with the next remaining entry.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "foundation/InsertionOrderList.h"
#include "foundation/String.h"

template <typename T>
class StringMapIterator;

// The alerts of failed map checks.
inline constexpr char kStringMapAlertSource[] = "../Common/StringMap";
inline constexpr AlertSite kStringMapDeleteAlert{kStringMapAlertSource, 499,
                                                 "foundInHash == foundInOrder"};
inline constexpr AlertSite kStringMapBinCountAlert{kStringMapAlertSource, 582, "newSize > 0"};
inline constexpr AlertSite kStringMapNewIteratorAlert{kStringMapAlertSource, 614, "p"};
inline constexpr AlertSite kStringMapEndIteratorAlert{kStringMapAlertSource, 633, "map"};

template <typename T>
class StringMap {
public:
  struct Entry {
    Entry *nextInBin;
    Entry *nextInOrder;
    string key;
    T value;
  };
  using IterateFunction = bool (*)(const string &key, const T &value, void *userData);

  static constexpr uint32_t kDefaultBinCount = 256;

  explicit StringMap(uint32_t binCount = kDefaultBinCount) { Initialize(binCount); }
  virtual ~StringMap() { Clear(); }
  StringMap(const StringMap &) = delete;
  StringMap &operator=(const StringMap &) = delete;

  // Empties the map and gives it that many bins (allocated on first use).
  void Initialize(uint32_t binCount) {
    Clear();
    if (!CheckBinCount(binCount))
      binCount = 1;
    mBinCount = binCount;
  }

  uint32_t BinCount() const { return mBinCount; }
  int32_t EntryCount() const { return mEntryCount; }

  // Adds the key, or gives an existing matching key the new value in place
  // (its spelling and position stay).
  void AddEntry(const string &key, const T &value) {
    if (!mBins)
      mBins = NewBins(mBinCount);
    if (Entry *existing = FindInBin(key)) {
      existing->value = value;
      return;
    }
    Entry *entry = new Entry{nullptr, nullptr, key, value};
    PushOnItsBin(entry);
    AppendInInsertionOrder(mFirstEntry, mLastEntry, entry);
    ++mEntryCount;
    if (static_cast<uint32_t>(mEntryCount) > mBinCount * 3 / 4)
      ResizeBinArray(mBinCount * 2);
  }

  // True and the value (when value is not null) for a matching key.
  bool GetEntry(const string &key, T *value) const {
    Entry *entry = FindInBin(key);
    if (entry && value)
      *value = entry->value;
    return entry != nullptr;
  }

  bool HasEntry(const string &key) const { return FindInBin(key) != nullptr; }

  void DeleteEntry(const string &key) {
    Entry *entry = FindInBin(key);
    bool foundInHash = entry != nullptr;
    bool foundInOrder = FindInOrder(key) != nullptr;
    // An entry found by only one of the two ways cannot be unlinked from both
    // chains, so it is left in place.
    if (foundInHash != foundInOrder) {
      ShowAlert(kStringMapDeleteAlert);
      return;
    }
    if (!entry)
      return;
    RemoveEntry(entry);
  }

  // Calls the function for every entry, bin by bin; stops and answers false
  // as soon as it answers false.
  bool Iterate(IterateFunction function, void *userData) const {
    if (!mBins)
      return true;
    for (uint32_t bin = 0; bin < mBinCount; ++bin)
      for (Entry *entry = mBins[bin]; entry; entry = entry->nextInBin)
        if (!function(entry->key, entry->value, userData))
          return false;
    return true;
  }

  // A new iterator on this map, owned by the caller.
  StringMapIterator<T> *NewIterator() { return new StringMapIterator<T>(this); }

  // Rehashes into n bins; within a bin the newest entry comes first.
  void ResizeBinArray(uint32_t n) {
    if (n == mBinCount || !CheckBinCount(n))
      return;
    mBinCount = n;
    if (!mBins)
      return;
    delete[] mBins;
    mBins = NewBins(n);
    for (Entry *entry = mFirstEntry; entry; entry = entry->nextInOrder)
      PushOnItsBin(entry);
  }

  // The bin of a key. Folds every byte through the Mac Roman upper-case
  // table, a superset of the folds StringsMatch makes, so that keys that
  // match always share a bin.
  virtual uint32_t hashString(const string &key) const {
    const stringStorage *storage = key.Storage();
    if (!storage)
      return 0;
    uint32_t h = FoldedHash31(storage->mBuffer + 1, storage->mLength);
    // Bin counts are powers of two unless chosen otherwise; a mask then
    // gives the remainder without a division.
    return (mBinCount & (mBinCount - 1)) == 0 ? h & (mBinCount - 1) : h % mBinCount;
  }

  virtual bool StringsMatch(const string &a, const string &b) const {
    return a.EqualsIgnoringCase(b);
  }

private:
  friend class StringMapIterator<T>;
  friend struct StringMapLayout;

  static bool CheckBinCount(uint32_t newSize) {
    return newSize > 0 || ShowAlert(kStringMapBinCountAlert);
  }

  static Entry **NewBins(uint32_t n) { return new Entry *[n](); }

  void PushOnItsBin(Entry *entry) {
    Entry *&head = mBins[hashString(entry->key)];
    entry->nextInBin = head;
    head = entry;
  }

  Entry *FindInBin(const string &key) const {
    if (!mBins)
      return nullptr;
    for (Entry *entry = mBins[hashString(key)]; entry; entry = entry->nextInBin)
      if (StringsMatch(entry->key, key))
        return entry;
    return nullptr;
  }

  Entry *FindInOrder(const string &key) const {
    for (Entry *entry = mFirstEntry; entry; entry = entry->nextInOrder)
      if (StringsMatch(entry->key, key))
        return entry;
    return nullptr;
  }

  // Unlinks the entry from its bin and the order list and frees it; iterators
  // standing on it move on to the following entry, not yet started.
  void RemoveEntry(Entry *entry) {
    for (Entry **link = &mBins[hashString(entry->key)]; *link; link = &(*link)->nextInBin)
      if (*link == entry) {
        *link = entry->nextInBin;
        break;
      }
    for (StringMapIterator<T> *it = mFirstIterator; it; it = it->mNextIterator)
      if (it->mCurrent == entry) {
        it->mCurrent = entry->nextInOrder;
        it->mStarted = false;
      }
    Entry *previous = nullptr;
    for (Entry **link = &mFirstEntry; *link; previous = *link, link = &(*link)->nextInOrder)
      if (*link == entry) {
        *link = entry->nextInOrder;
        break;
      }
    if (mLastEntry == entry)
      mLastEntry = previous;
    --mEntryCount;
    delete entry;
  }

  // Frees every entry and the bins and detaches the iterators, which then
  // answer that they have nothing.
  void Clear() {
    while (StringMapIterator<T> *it = mFirstIterator) {
      mFirstIterator = it->mNextIterator;
      it->Detach();
    }
    DeleteInInsertionOrder(mFirstEntry);
    delete[] mBins;
    mBins = nullptr;
    mFirstEntry = mLastEntry = nullptr;
    mEntryCount = 0;
  }

  uint32_t mBinCount = 0;
  int32_t mEntryCount = 0;
  Entry **mBins = nullptr;
  Entry *mFirstEntry = nullptr;
  Entry *mLastEntry = nullptr;
  StringMapIterator<T> *mFirstIterator = nullptr;
};

template <typename T>
class StringMapIterator {
public:
  explicit StringMapIterator(StringMap<T> *p) : mMap(p) {
    if (!p) {
      ShowAlert(kStringMapNewIteratorAlert);
      return;
    }
    mNextIterator = p->mFirstIterator;
    p->mFirstIterator = this;
    mCurrent = p->mFirstEntry;
  }

  virtual ~StringMapIterator() {
    StringMap<T> *map = mMap;
    if (mDetached)
      return;
    if (!map) {
      ShowAlert(kStringMapEndIteratorAlert);
      return;
    }
    for (StringMapIterator **link = &map->mFirstIterator; *link; link = &(*link)->mNextIterator)
      if (*link == this) {
        *link = mNextIterator;
        break;
      }
  }

  StringMapIterator(const StringMapIterator &) = delete;
  StringMapIterator &operator=(const StringMapIterator &) = delete;

  // The first call answers whether there is an entry at all; later calls move
  // on in insertion order and answer whether there is one.
  bool Next() {
    if (!mStarted) {
      mStarted = true;
      return mCurrent != nullptr;
    }
    if (mCurrent)
      mCurrent = mCurrent->nextInOrder;
    return mCurrent != nullptr;
  }

  bool Next(T *value) {
    bool more = Next();
    Value(value);
    return more;
  }

  bool Value(T *value) const {
    if (!mStarted || !mCurrent)
      return false;
    if (value)
      *value = mCurrent->value;
    return true;
  }

  string Key() const { return mStarted && mCurrent ? mCurrent->key : string(); }

  // Deletes the current entry; the next Next lands on the entry after it.
  void Delete() {
    if (!mStarted || !mCurrent)
      return;
    mMap->RemoveEntry(mCurrent); // moves this iterator on as well
  }

private:
  friend class StringMap<T>;
  friend struct StringMapLayout;

  void Detach() {
    mMap = nullptr;
    mCurrent = nullptr;
    mNextIterator = nullptr;
    mStarted = false;
    mDetached = true;
  }

  StringMap<T> *mMap;
  bool mStarted = false;
  bool mDetached = false; // its map was destroyed first
  typename StringMap<T>::Entry *mCurrent = nullptr;
  StringMapIterator *mNextIterator = nullptr;
};

// The records' layouts on i386, with the method table first.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
struct StringMapLayout {
  using Map = StringMap<void *>;
  using Iterator = StringMapIterator<void *>;
  static_assert(sizeof(Map) == 28);
  static_assert(offsetof(Map, mBinCount) == 4 && offsetof(Map, mEntryCount) == 8);
  static_assert(offsetof(Map, mBins) == 12 && offsetof(Map, mFirstEntry) == 16);
  static_assert(offsetof(Map, mLastEntry) == 20 && offsetof(Map, mFirstIterator) == 24);
  static_assert(offsetof(Map::Entry, nextInBin) == 0 && offsetof(Map::Entry, nextInOrder) == 4);
  static_assert(offsetof(Map::Entry, key) == 8 && offsetof(Map::Entry, value) == 12);
  static_assert(offsetof(Iterator, mMap) == 4 && offsetof(Iterator, mStarted) == 8);
  static_assert(offsetof(Iterator, mCurrent) == 12 && offsetof(Iterator, mNextIterator) == 16);
};
#pragma GCC diagnostic pop

// The same map with unsigned values behind plain functions.
using StringMapULong = StringMap<unsigned long>;
using StringMapULongIterator = StringMapIterator<unsigned long>;

StringMapULong *newStringMap();
void disposeStringMap(StringMapULong *map);
void addStringMapEntry(StringMapULong *map, const string &key, unsigned long value);
unsigned long getStringMapEntry(StringMapULong *map, const string &key); // 0 when absent
void deleteStringMapEntry(StringMapULong *map, const string &key);
bool iterateStringMap(StringMapULong *map, StringMapULong::IterateFunction function,
                      void *userData);
StringMapULongIterator *getStringMapIterator(StringMapULong *map);
bool smIteratorNext(StringMapULongIterator *iterator);
unsigned long smIteratorValue(StringMapULongIterator *iterator); // 0 when none
string smIteratorKey(StringMapULongIterator *iterator);
void smIteratorDelete(StringMapULongIterator *iterator);
void smDisposeIterator(StringMapULongIterator *iterator);
