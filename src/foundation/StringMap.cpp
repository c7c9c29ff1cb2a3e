#include "foundation/StringMap.h"

StringMapULong *newStringMap() { return new StringMapULong(StringMapULong::kDefaultBinCount); }

void disposeStringMap(StringMapULong *map) { delete map; }

void addStringMapEntry(StringMapULong *map, const string &key, unsigned long value) {
  map->AddEntry(key, value);
}

unsigned long getStringMapEntry(StringMapULong *map, const string &key) {
  unsigned long value = 0;
  map->GetEntry(key, &value);
  return value;
}

void deleteStringMapEntry(StringMapULong *map, const string &key) { map->DeleteEntry(key); }

bool iterateStringMap(StringMapULong *map, StringMapULong::IterateFunction function,
                      void *userData) {
  return map->Iterate(function, userData);
}

StringMapULongIterator *getStringMapIterator(StringMapULong *map) { return map->NewIterator(); }

bool smIteratorNext(StringMapULongIterator *iterator) { return iterator->Next(); }

unsigned long smIteratorValue(StringMapULongIterator *iterator) {
  unsigned long value = 0;
  iterator->Value(&value);
  return value;
}

string smIteratorKey(StringMapULongIterator *iterator) { return iterator->Key(); }

void smIteratorDelete(StringMapULongIterator *iterator) { iterator->Delete(); }

void smDisposeIterator(StringMapULongIterator *iterator) { delete iterator; }
