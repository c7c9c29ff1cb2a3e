#include "language/Dictionary.h"
#include "language/ClassBuilding.h"
#include "language/LanguageExceptions.h"

#include <new>

#include "foundation/AssertionAlert.h"
#include "foundation/Memory.h"
#include "language/Variant.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

constexpr int32_t kInitialBins = 61;
constexpr int32_t kLargestIncrement = 1024;
constexpr uint32_t kPrimeLadder[] = {61,   127,  251,   509,   1021, 2039,
                                     4093, 8191, 16381, 32749, 65521};

DictionaryObject *AsDictionary(RuntimeObject *object) {
  return reinterpret_cast<DictionaryObject *>(object);
}

// A bin array of n zeroed heads; nil when it cannot be had, also when its
// size does not fit 32 bits.
DictBin *AllocateBins(int32_t n) {
  const int64_t bytes = int64_t(n) * int64_t(sizeof(DictBin));
  if (n < 1 || bytes > INT32_MAX)
    return nullptr;
  auto *bins = reinterpret_cast<DictBin *>(OSalloc(long(bytes), kMemFullReturnNull));
  if (bins)
    for (int32_t i = 0; i < n; ++i)
      bins[i].head = nullptr;
  return bins;
}

void SetIncrement(DictionaryObject *d) {
  const int32_t increment = d->binCount / 4;
  d->entries.setGrowthIncrement(
      uint32_t(increment < kLargestIncrement ? increment : kLargestIncrement));
}

void FreeEntry(DictEntry *entry) {
  RuntimeUnlockObject(entry->key);
  RuntimeUnlockObject(entry->value);
  delete entry;
}

// The table's state before the vector is built in place: 61 empty bins.
void Initialize(DictionaryObject *d) {
  d->bins = AllocateBins(kInitialBins);
  d->binCount = d->bins ? kInitialBins : 0;
  d->fixedBins = 0;
  d->busy = 0;
  SetIncrement(d);
}

void Construct(RuntimeObject *object) {
  DictionaryObject *d = AsDictionary(object);
  new (&d->entries) SimpleVector<DictEntry *>();
  Initialize(d);
}

void Destruct(RuntimeObject *object) {
  DictionaryObject *d = AsDictionary(object);
  for (DictEntry *entry : d->entries)
    FreeEntry(entry);
  d->entries.~SimpleVector();
  OSfree(reinterpret_cast<char *>(d->bins));
  d->bins = nullptr;
  d->binCount = 0;
}

DictBin &BinOf(DictionaryObject *d, uint32_t hash) { return d->bins[hash % uint32_t(d->binCount)]; }

DictEntry *FindByHash(DictionaryObject *d, uint32_t hash, RuntimeObject *key) {
  if (d->binCount < 1)
    return nullptr; // no bins: nothing is stored
  for (DictEntry *entry = BinOf(d, hash).head; entry; entry = entry->next)
    if (entry->hash == hash && VariantEqual(entry->key, key))
      return entry;
  return nullptr;
}

DictEntry *FindByKey(DictionaryObject *d, RuntimeObject *key) {
  return FindByHash(d, uint32_t(VariantHash(key)), key);
}

// The table is changed only by one operation at a time. Only code run by an
// operation (a destructor, a key class's methods) can meet the flag set; the
// operation it interrupts must not be disturbed, so it is refused.
bool Lock(DictionaryObject *d) {
  if (d->busy) {
    RaiseExceptionClass(RuntimeExceptionClass());
    return false;
  }
  d->busy = 1;
  return true;
}

void Unlock(DictionaryObject *d) { d->busy = 0; }

enum class Resize { kDone, kBusy, kNoMemory };

Resize ResizeBinArray(DictionaryObject *d, int32_t n) {
  if (n < 1) {
    const uint32_t wanted = uint32_t(d->entries.count()) * 4u / 3u;
    n = int32_t(kPrimeLadder[10]);
    for (uint32_t prime : kPrimeLadder)
      if (prime >= wanted) {
        n = int32_t(prime);
        break;
      }
  }
  if (n == d->binCount)
    return Resize::kDone;
  if (!Lock(d))
    return Resize::kBusy;
  DictBin *bins = AllocateBins(n);
  if (!bins) {
    Unlock(d);
    return Resize::kNoMemory;
  }
  OSfree(reinterpret_cast<char *>(d->bins));
  d->bins = bins;
  d->binCount = n;
  for (DictEntry *entry : d->entries) {
    DictBin &bin = BinOf(d, entry->hash);
    entry->next = bin.head;
    bin.head = entry;
  }
  SetIncrement(d);
  Unlock(d);
  return Resize::kDone;
}

// Takes over the entry. An equal key already stored keeps its key object and
// takes the entry's value; the old value is released once the table is
// consistent and unlocked.
void Store(DictionaryObject *d, DictEntry *entry) {
  if (d->binCount < 1 && ResizeBinArray(d, 0) != Resize::kDone) {
    if (d->binCount < 1)
      RaiseOutOfMemory();
    FreeEntry(entry);
    return;
  }
  if (!Lock(d)) {
    FreeEntry(entry);
    return;
  }
  if (DictEntry *existing = FindByHash(d, entry->hash, entry->key)) {
    RuntimeObject *old = existing->value;
    existing->value = entry->value;
    entry->value = old;
    Unlock(d);
    FreeEntry(entry); // the old value and the duplicate key
    return;
  }
  DictBin &bin = BinOf(d, entry->hash);
  entry->next = bin.head;
  bin.head = entry;
  entry->index = d->entries.count();
  d->entries.push_back(entry);
  Unlock(d);
}

// Unlinks the entry from its bin and the vector; false (nothing changed)
// when it is not in its bin.
bool Unlink(DictionaryObject *d, DictEntry *entry) {
  if (!Lock(d))
    return false;
  DictEntry **link = &BinOf(d, entry->hash).head;
  while (*link && *link != entry)
    link = &(*link)->next;
  if (!*link) {
    Unlock(d);
    ShowAlert(kDictionaryUnlinkAlert);
    return false;
  }
  *link = entry->next;
  const int32_t i = entry->index, last = d->entries.count() - 1;
  if (i < 0 || i > last) {
    Unlock(d);
    ShowAlert(kDictionaryIndexAlert);
    return false;
  }
  if (i < last) {
    DictEntry *moved = d->entries.begin()[last];
    d->entries.begin()[i] = moved;
    moved->index = i;
  }
  d->entries.deleteIdx(last); // shrinks the vector when much of it lies unused
  Unlock(d);
  return true;
}

DictEntry *EntryAt(DictionaryObject *d, int32_t index) {
  if (index < 0 || index >= d->entries.count()) {
    RaiseOutOfBounds();
    return nullptr;
  }
  return d->entries.begin()[index];
}

RuntimeObject *Retained(RuntimeObject *object) {
  RuntimeLockObject(object);
  return object;
}

} // namespace

ObjectDefinition *DictionaryClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *variant = VariantClass()->AsType();
  static MethodParameter sKeyParam[] = {{"key", variant, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sIndexParam[] = {{"index", &integerType.type, 0, {}, 0, {}, 0, {}}};
  sKeyParam[0].type = variant;
  static ObjectInstanceTemplate sProperties[] = {
      {kConsoleAvailableFlag, "Count", &integerType.type, EntryCode(dictionaryCount),
       "dictionaryCount", nullptr, nullptr, 0, 0},
      {kConsoleAvailableFlag, "BinCount", &integerType.type, EntryCode(dictionaryGetBins),
       "dictionaryGetBins", EntryCode(dictionarySetBins), "dictionarySetBins", 0, 0},
  };
  PropertyMethod methods[] = {
      {"Clear",
       nullptr,
       nullptr,
       0,
       {{EntryCode(dictionaryRemoveAll), "dictionaryRemoveAll", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"HasKey",
       &booleanType.type,
       sKeyParam,
       1,
       {{EntryCode(dictionaryHasKey), "dictionaryHasKey", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Key",
       variant,
       sIndexParam,
       1,
       {{EntryCode(dictionaryKey), "dictionaryKey", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Remove",
       nullptr,
       sKeyParam,
       1,
       {{EntryCode(dictionaryRemove), "dictionaryRemove", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
      {"Value",
       variant,
       sKeyParam,
       1,
       {{EntryCode(dictionaryValueGetter), "dictionaryValueGetter", {}},
        {EntryCode(dictionaryValueSetter), "dictionaryValueSetter", {}}},
       0,
       kConsoleAvailableFlag,
       0},
  };
  DefineBuiltinClass(defn, {"Dictionary", sizeof(DictionaryObject), Construct, Destruct, true},
                     sProperties, 2, methods, 5);
  // Not a member: compiled code reaches it by name.
  AddRelocEntry("dictionaryValueByIndex", EntryCode(dictionaryValueByIndex));
  AddRelocEntry("RuntimeLookupDictionaryClass", EntryCode(RuntimeLookupDictionaryClass));
  return &defn;
}

extern "C" RuntimeClass *RuntimeLookupDictionaryClass() {
  return LookupObjectDefinition(DictionaryClass());
}

extern "C" int32_t dictionaryCount(RuntimeObject *dictionary, int32_t) {
  return AsDictionary(dictionary)->entries.count();
}

extern "C" int32_t dictionaryGetBins(RuntimeObject *dictionary, int32_t) {
  return AsDictionary(dictionary)->binCount;
}

extern "C" void dictionarySetBins(RuntimeObject *dictionary, int32_t, int32_t bins) {
  DictionaryObject *d = AsDictionary(dictionary);
  switch (ResizeBinArray(d, bins)) {
  case Resize::kDone:
    d->fixedBins = bins > 0;
    break;
  case Resize::kNoMemory:
    RaiseOutOfMemory();
    break;
  case Resize::kBusy:
    break;
  }
}

// Detaches every entry and starts afresh, then releases what was detached.
extern "C" void dictionaryRemoveAll(RuntimeObject *dictionary) {
  DictionaryObject *d = AsDictionary(dictionary);
  if (!Lock(d))
    return;
  DictBin *bins = AllocateBins(kInitialBins);
  if (!bins) {
    Unlock(d);
    RaiseOutOfMemory();
    return;
  }
  SimpleVector<DictEntry *> detached;
  for (DictEntry *entry : d->entries)
    detached.push_back(entry);
  d->entries.resize(0);
  OSfree(reinterpret_cast<char *>(d->bins));
  d->bins = bins;
  d->binCount = kInitialBins;
  d->fixedBins = 0;
  SetIncrement(d);
  Unlock(d);
  for (DictEntry *entry : detached)
    FreeEntry(entry);
}

extern "C" int32_t dictionaryHasKey(RuntimeObject *dictionary, RuntimeObject *key) {
  return FindByKey(AsDictionary(dictionary), key) != nullptr;
}

extern "C" RuntimeObject *dictionaryKey(RuntimeObject *dictionary, int32_t index) {
  DictEntry *entry = EntryAt(AsDictionary(dictionary), index);
  return entry ? Retained(entry->key) : nullptr;
}

extern "C" RuntimeObject *dictionaryValueByIndex(RuntimeObject *dictionary, int32_t index) {
  DictEntry *entry = EntryAt(AsDictionary(dictionary), index);
  return entry ? Retained(entry->value) : nullptr;
}

extern "C" void dictionaryRemove(RuntimeObject *dictionary, RuntimeObject *key) {
  DictionaryObject *d = AsDictionary(dictionary);
  DictEntry *entry = FindByKey(d, key);
  if (!entry) {
    RaiseKeyNotFound();
    return;
  }
  if (Unlink(d, entry))
    FreeEntry(entry); // an entry that could not be unlinked stays where it is
}

extern "C" RuntimeObject *dictionaryValueGetter(RuntimeObject *dictionary, RuntimeObject *key) {
  DictEntry *entry = FindByKey(AsDictionary(dictionary), key);
  if (!entry) {
    RaiseKeyNotFound();
    return nullptr;
  }
  return Retained(entry->value);
}

extern "C" void dictionaryValueSetter(RuntimeObject *dictionary, RuntimeObject *key,
                                      RuntimeObject *value) {
  DictionaryObject *d = AsDictionary(dictionary);
  // The hash may run the key class's Operator_Hash: taken before any lock.
  auto *entry =
      new DictEntry{Retained(key), Retained(value), uint32_t(VariantHash(key)), 0, nullptr};
  Store(d, entry);
  if (!d->fixedBins && d->entries.count() > d->binCount * 3 / 4)
    ResizeBinArray(d, 0);
}
