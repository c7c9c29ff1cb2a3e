#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "foundation/ByteStrings.h"
#include "foundation/StringMap.h"
#include "foundation/TextEncodings.h"
#include "support/AlertRecorder.h"

namespace {

std::vector<std::string> KeysByIterator(StringMap<int> &map) {
  std::vector<std::string> keys;
  StringMapIterator<int> it(&map);
  while (it.Next())
    keys.push_back(it.Key().CString());
  return keys;
}

// A one-byte key tagged Mac Roman, the one encoding whose upper bytes fold.
string ByteKey(unsigned char byte) {
  string key;
  key.ConstructFromBuffer(reinterpret_cast<const char *>(&byte), 1);
  key.SetEncoding(kEncodingMacRoman);
  return key;
}

} // namespace

TEST(StringMap, KeysMatchWithoutCaseAndKeepTheFirstSpelling) {
  StringMap<int> map;
  map.AddEntry("Name", 1);
  map.AddEntry("NAME", 2);
  EXPECT_EQ(map.EntryCount(), 1);
  int value = 0;
  EXPECT_TRUE(map.GetEntry("name", &value));
  EXPECT_EQ(value, 2);
  EXPECT_EQ(KeysByIterator(map), std::vector<std::string>{"Name"});
  EXPECT_FALSE(map.HasEntry("Names"));
  EXPECT_FALSE(map.GetEntry("", &value));
}

// Every byte the matching folds must land in the same bin as its capital,
// or a lookup by the other spelling misses (accented Mac Roman letters did).
TEST(StringMap, EveryCaseFoldedByteFindsItsCapital) {
  StringMap<int> map(1024);
  int folded = 0;
  for (int byte = 1; byte < 256; ++byte) {
    unsigned char upper = utoupper(static_cast<unsigned char>(byte));
    if (upper == byte)
      continue;
    ++folded;
    string lower = ByteKey(static_cast<unsigned char>(byte));
    map.AddEntry(lower, byte);
    int value = 0;
    EXPECT_TRUE(map.GetEntry(ByteKey(upper), &value)) << "byte " << byte;
    EXPECT_EQ(value, byte);
    EXPECT_EQ(map.hashString(lower), map.hashString(ByteKey(upper)));
  }
  EXPECT_EQ(folded, 56);
}

// Outside Mac Roman text only ASCII letters fold: U+010A and U+0100 in
// UTF-8 bytes tagged ASCII stay two keys.
TEST(StringMap, KeysWithUpperBytesOutsideMacRomanStayApart) {
  StringMap<int> map;
  map.AddEntry("\xC4\x8A", 1);
  map.AddEntry("\xC4\x80", 2);
  map.AddEntry("x\xC4\x80", 3);
  EXPECT_EQ(map.EntryCount(), 3);
  int value = 0;
  EXPECT_TRUE(map.GetEntry("\xC4\x8A", &value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(map.GetEntry("X\xC4\x80", &value));
  EXPECT_EQ(value, 3);
}

TEST(StringMap, DoublesItsBinsPastThreeQuartersAndKeepsIterationOrder) {
  StringMap<int> map;
  std::vector<std::string> inserted;
  for (int i = 0; i < 193; ++i) {
    inserted.push_back("key" + std::to_string(i));
    map.AddEntry(inserted.back().c_str(), i);
    EXPECT_EQ(map.BinCount(), i < 192 ? 256u : 512u) << "after " << i + 1;
  }
  EXPECT_EQ(KeysByIterator(map), inserted);
  for (int i = 0; i < 193; ++i) {
    int value = -1;
    EXPECT_TRUE(map.GetEntry(inserted[i].c_str(), &value));
    EXPECT_EQ(value, i);
  }
}

TEST(StringMap, HashFoldsCaseAndTakesHighBytesAsSigned) {
  StringMap<int> map(1000);
  // ((('A' * 31) + 'B') * 31 + (0xE9 - 256)) modulo 1000, in 32-bit arithmetic
  uint32_t h = (uint32_t('A') * 31 + 'B') * 31 + uint32_t(0xE9 - 256);
  EXPECT_EQ(map.hashString("aB\xE9"), h % 1000);
}

// Power-of-two bin counts take the bin by mask: the same bin as the
// remainder, for keys whose hashes use every bit.
TEST(StringMap, BinIsTheHashModuloTheBinCountForEveryCount) {
  for (uint32_t bins : {1u, 2u, 256u, 1000u, 1024u, 4096u})
    for (const char *key : {"a", "ControlName1234567", "\xFF\xFE\xFD\xFC zz", "mIxEd CaSe"}) {
      StringMap<int> map(bins);
      string k(key);
      EXPECT_EQ(map.hashString(k), FoldedHash31(k.CString(), k.Length()) % bins)
          << key << " in " << bins << " bins";
    }
}

// Lookups match keys by their bytes first and fall back on the
// case-insensitive compare: for every pair of keys of one tag from a table of
// mixed case, bytes of 0x80 and above, embedded zeros, UTF-16 and untagged
// text, a key finds the other exactly when the two compare equal.
TEST(StringMap, LookupsAgreeWithTheComparisonOnKeysOfOneTag) {
  auto key = [](const std::string &bytes, uint32_t encoding) {
    string s;
    s.ConstructFromBuffer(bytes.data(), int(bytes.size()), encoding);
    return s;
  };
  const std::string spellings[] = {"name",
                                   "NAME",
                                   "NaMe",
                                   "names",
                                   "ControlName1234567",
                                   "CONTROLNAME1234567",
                                   "ControlName1234568",
                                   "\xC4\x8A",
                                   "\xC4\x80",
                                   "\x8E",
                                   "\x83",
                                   std::string("a\0b", 3),
                                   std::string("A\0B", 3),
                                   std::string("a\0c", 3),
                                   std::string("n\0a\0m\0e\0", 8),
                                   std::string("N\0A\0M\0E\0", 8)};
  for (uint32_t encoding :
       {kEncodingASCII, kEncodingUTF8, kEncodingMacRoman, kEncodingUTF16, kEncodingUnknown})
    for (const std::string &stored : spellings) {
      StringMap<int> map;
      string storedKey = key(stored, encoding);
      map.AddEntry(storedKey, 1);
      for (const std::string &looked : spellings) {
        string lookedKey = key(looked, encoding);
        EXPECT_EQ(map.HasEntry(lookedKey), storedKey.Compare(lookedKey) == 0)
            << "tag " << encoding << ": " << testing::PrintToString(stored) << " and "
            << testing::PrintToString(looked);
      }
    }
}

TEST(StringMap, IterateGoesBinByBinAndStopsOnFalse) {
  StringMap<int> map(16);
  EXPECT_TRUE(map.Iterate([](const string &, const int &, void *) { return false; }, nullptr));
  for (const char *key : {"alpha", "beta", "gamma", "delta", "epsilon"})
    map.AddEntry(key, 0);

  std::vector<uint32_t> bins;
  auto collect = [](const string &key, const int &, void *data) {
    auto *pair = static_cast<std::pair<StringMap<int> *, std::vector<uint32_t> *> *>(data);
    pair->second->push_back(pair->first->hashString(key));
    return true;
  };
  std::pair<StringMap<int> *, std::vector<uint32_t> *> data{&map, &bins};
  EXPECT_TRUE(map.Iterate(collect, &data));
  ASSERT_EQ(bins.size(), 5u);
  EXPECT_TRUE(std::is_sorted(bins.begin(), bins.end()));

  int calls = 0;
  EXPECT_FALSE(map.Iterate(
      [](const string &, const int &, void *n) { return ++*static_cast<int *>(n), false; },
      &calls));
  EXPECT_EQ(calls, 1);
}

TEST(StringMap, DeletingWhereAnIteratorStandsMovesItToTheNextEntry) {
  for (bool throughIterator : {false, true}) {
    StringMap<int> map;
    for (const char *key : {"a", "b", "c", "d"})
      map.AddEntry(key, 0);
    StringMapIterator<int> it(&map);
    ASSERT_TRUE(it.Next());
    ASSERT_TRUE(it.Next());
    ASSERT_EQ(std::string(it.Key().CString()), "b");
    if (throughIterator)
      it.Delete();
    else
      map.DeleteEntry("B");
    EXPECT_TRUE(it.Key().IsEmpty()); // not started again until Next
    ASSERT_TRUE(it.Next());
    EXPECT_EQ(std::string(it.Key().CString()), "c");
    EXPECT_EQ(map.EntryCount(), 3);
    EXPECT_FALSE(map.HasEntry("b"));
  }
}

// An iterator that has not started yet stands on the first entry too; that
// entry's deletion must not leave it pointing at freed memory.
TEST(StringMap, DeletingTheEntryOfAnUnstartedIteratorMovesItOn) {
  StringMap<int> map;
  map.AddEntry("a", 1);
  map.AddEntry("b", 2);
  StringMapIterator<int> it(&map);
  map.DeleteEntry("a");
  int value = 0;
  ASSERT_TRUE(it.Next(&value));
  EXPECT_EQ(value, 2);
  EXPECT_FALSE(it.Next());
}

TEST(StringMap, DeletingTheLastEntryLetsLaterAdditionsAppend) {
  StringMap<int> map;
  map.AddEntry("a", 1);
  map.AddEntry("b", 2);
  map.DeleteEntry("b");
  map.DeleteEntry("missing");
  map.AddEntry("c", 3);
  EXPECT_EQ(KeysByIterator(map), (std::vector<std::string>{"a", "c"}));
  map.DeleteEntry("a");
  map.DeleteEntry("c");
  EXPECT_EQ(map.EntryCount(), 0);
  map.AddEntry("d", 4);
  EXPECT_EQ(KeysByIterator(map), std::vector<std::string>{"d"});
}

TEST(StringMap, EntriesHoldOneReferenceOnTheirKey) {
  string key("shared");
  {
    StringMap<int> map;
    map.AddEntry(key, 1);
    EXPECT_EQ(key.Storage()->mRefCount, 2);
    map.AddEntry("SHARED", 2); // replaces the value, keeps the key
    EXPECT_EQ(key.Storage()->mRefCount, 2);
    map.DeleteEntry(key);
    EXPECT_EQ(key.Storage()->mRefCount, 1);
    map.AddEntry(key, 3);
  }
  EXPECT_EQ(key.Storage()->mRefCount, 1);
}

// The map used to leave its iterators pointing at it; now they are detached
// and answer that nothing is left, and deleting them later is quiet.
TEST(StringMap, DestroyingTheMapDetachesItsIterators) {
  AlertRecorder recorder;
  auto *map = new StringMap<int>;
  map->AddEntry("a", 1);
  StringMapIterator<int> *first = map->NewIterator();
  StringMapIterator<int> *second = map->NewIterator();
  ASSERT_TRUE(first->Next());
  delete map;
  int value = 0;
  EXPECT_FALSE(first->Next());
  EXPECT_FALSE(first->Value(&value));
  EXPECT_TRUE(first->Key().IsEmpty());
  first->Delete();
  EXPECT_FALSE(second->Next());
  delete first;
  delete second;
  EXPECT_EQ(recorder.count(), 0u);
}

TEST(StringMap, MisuseRaisesItsAlerts) {
  AlertRecorder recorder;
  StringMap<int> map(8);
  map.ResizeBinArray(0);
  EXPECT_EQ(map.BinCount(), 8u);
  {
    StringMapIterator<int> orphan(nullptr);
    EXPECT_FALSE(orphan.Next());
  }
  const AlertSite expected[] = {kStringMapBinCountAlert, kStringMapNewIteratorAlert,
                                kStringMapEndIteratorAlert};
  ASSERT_EQ(recorder.count(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i)
    EXPECT_TRUE(ShownAt(recorder.alerts()[i], expected[i])) << i;
}

TEST(StringMap, PlainFunctionSurface) {
  StringMapULong *map = newStringMap();
  EXPECT_EQ(map->BinCount(), 256u);
  addStringMapEntry(map, "one", 1);
  addStringMapEntry(map, "two", 2);
  EXPECT_EQ(getStringMapEntry(map, "TWO"), 2u);
  EXPECT_EQ(getStringMapEntry(map, "three"), 0u);

  StringMapULongIterator *it = getStringMapIterator(map);
  EXPECT_EQ(smIteratorValue(it), 0u); // not started
  ASSERT_TRUE(smIteratorNext(it));
  EXPECT_EQ(std::string(smIteratorKey(it).CString()), "one");
  smIteratorDelete(it);
  ASSERT_TRUE(smIteratorNext(it));
  EXPECT_EQ(smIteratorValue(it), 2u);
  EXPECT_FALSE(smIteratorNext(it));
  smDisposeIterator(it);
  smDisposeIterator(nullptr);

  deleteStringMapEntry(map, "two");
  EXPECT_TRUE(iterateStringMap(
      map, [](const string &, const unsigned long &, void *) { return false; }, nullptr));
  disposeStringMap(map);
  disposeStringMap(nullptr);
}
