// The language's Dictionary: a hash table from variant keys to variant
// values. Keys hash with VariantHash and match with VariantEqual, tested only
// on equal hashes. Entries also sit in a vector in insertion order (a removal
// moves the last entry into the hole), which Key(index) reads.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/SimpleVector.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct DictEntry {
  RuntimeObject *key;   // one reference
  RuntimeObject *value; // one reference
  uint32_t hash;        // VariantHash of the key, taken once
  int32_t index;        // position in the entries vector
  DictEntry *next;      // next entry of the same bin
};

// A bin: entries pushed at the head.
struct DictBin {
  DictEntry *head;
};

struct DictionaryObject {
  RuntimeObject header;
  uint8_t fixedBins; // BinCount was set to a positive value: no automatic growth
  SimpleVector<DictEntry *> entries;
  int32_t binCount;
  DictBin *bins;
  uint8_t busy; // an operation that changes the table is running
};
static_assert(sizeof(DictionaryObject) == 56);
static_assert(offsetof(DictionaryObject, fixedBins) == 24);
static_assert(offsetof(DictionaryObject, entries) == 28);
static_assert(offsetof(DictionaryObject, binCount) == 44);
static_assert(offsetof(DictionaryObject, bins) == 48);
static_assert(offsetof(DictionaryObject, busy) == 52);

// The checks of removal.
inline constexpr const char *kDictionaryAlertSource = "../Common/Dictionary";
inline constexpr AlertSite kDictionaryUnlinkAlert{kDictionaryAlertSource, 532, "ok"};
inline constexpr AlertSite kDictionaryIndexAlert{kDictionaryAlertSource, 295,
                                                 "index >= 0 and index <= lastIndex"};

ObjectDefinition *DictionaryClass();

extern "C" {
int32_t dictionaryCount(RuntimeObject *dictionary, int32_t param);
int32_t dictionaryGetBins(RuntimeObject *dictionary, int32_t param);
void dictionarySetBins(RuntimeObject *dictionary, int32_t param, int32_t bins);
void dictionaryRemoveAll(RuntimeObject *dictionary);
int32_t dictionaryHasKey(RuntimeObject *dictionary, RuntimeObject *key);
RuntimeObject *dictionaryKey(RuntimeObject *dictionary, int32_t index);
void dictionaryRemove(RuntimeObject *dictionary, RuntimeObject *key);
RuntimeObject *dictionaryValueGetter(RuntimeObject *dictionary, RuntimeObject *key);
void dictionaryValueSetter(RuntimeObject *dictionary, RuntimeObject *key, RuntimeObject *value);
RuntimeObject *dictionaryValueByIndex(RuntimeObject *dictionary, int32_t index);
RuntimeClass *RuntimeLookupDictionaryClass();
}
