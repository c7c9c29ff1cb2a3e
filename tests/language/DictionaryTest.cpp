#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "LanguageFixtures.h"
#include "foundation/Memory.h"
#include "foundation/TextEncodings.h"
#include "language/Dictionary.h"
#include "language/Variant.h"
#include "runtime/exports/ExportTable.h"

namespace {

class Dictionaries : public LanguageTest {
protected:
  Dictionaries() { KeyNotFoundExceptionClass(); }
  ~Dictionaries() override { RuntimeUnlockObject(mDictionary); }

  RuntimeObject *Text(const std::string &text) {
    stringStorage *s = NewText(text.c_str());
    RuntimeObject *v = stringToVariant(s);
    RuntimeUnlockString(s);
    return v;
  }
  // Stores under the key and drops the local references.
  void Set(RuntimeObject *key, RuntimeObject *value, RuntimeObject *dictionary = nullptr) {
    dictionaryValueSetter(dictionary ? dictionary : mDictionary, key, value);
    RuntimeUnlockObject(key);
    RuntimeUnlockObject(value);
  }
  int32_t IntValue(RuntimeObject *key) {
    RuntimeObject *value = dictionaryValueGetter(mDictionary, key);
    RuntimeUnlockObject(key);
    const int32_t v = value ? variantToInt(value) : -1;
    RuntimeUnlockObject(value);
    return v;
  }
  std::string KeyText(int32_t index) {
    RuntimeObject *key = dictionaryKey(mDictionary, index);
    std::string text = key ? TakeText(variantToString(key)) : "(nil)";
    RuntimeUnlockObject(key);
    return text;
  }
  int32_t Count() { return dictionaryCount(mDictionary, 0); }
  int32_t Bins() { return dictionaryGetBins(mDictionary, 0); }
  DictionaryObject *Table() { return reinterpret_cast<DictionaryObject *>(mDictionary); }

  // The bins hold exactly the vector's entries, each in its own bin, and
  // each entry knows its position.
  void ExpectConsistent() {
    DictionaryObject *d = Table();
    std::set<DictEntry *> inBins;
    for (int32_t b = 0; b < d->binCount; ++b)
      for (DictEntry *e = d->bins[b].head; e; e = e->next) {
        ASSERT_EQ(e->hash % uint32_t(d->binCount), uint32_t(b));
        ASSERT_TRUE(inBins.insert(e).second);
      }
    ASSERT_EQ(int32_t(inBins.size()), d->entries.count());
    for (int32_t i = 0; i < d->entries.count(); ++i) {
      ASSERT_EQ(d->entries.begin()[i]->index, i);
      ASSERT_TRUE(inBins.count(d->entries.begin()[i]));
    }
    const int32_t increment = d->binCount / 4 < 1024 ? d->binCount / 4 : 1024;
    ASSERT_EQ(d->entries.growthIncrement(), uint32_t(increment));
    ASSERT_EQ(d->busy, 0);
  }

  RuntimeObject *mDictionary = RuntimeNewObject(RuntimeLookupDictionaryClass());
};

TEST_F(Dictionaries, GrowsPastThreeQuartersAlongThePrimeLadder) {
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(Bins(), 61);
  EXPECT_EQ(Table()->entries.growthIncrement(), 15u);
  for (int32_t k = 0; k < 46; ++k)
    Set(intToVariant(k), intToVariant(k));
  EXPECT_EQ(Bins(), 61) << "46 * 4 / 3 = 61";
  Set(intToVariant(46), intToVariant(46));
  EXPECT_EQ(Bins(), 127);
  EXPECT_EQ(IntValue(intToVariant(20)), 20);
  ExpectConsistent();
}

TEST_F(Dictionaries, KeysMatchAsVariantsWithEqualHashes) {
  Set(Text("A"), intToVariant(1));
  Set(Text("a"), intToVariant(2));
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(KeyText(0), "A") << "the key first stored stays";
  EXPECT_EQ(IntValue(Text("A")), 2);

  Set(intToVariant(1), Text("integer"));
  Set(doubleToVariant(1.0), Text("double"));
  EXPECT_EQ(Count(), 3) << "1 and 1.0 are equal but hash differently";
  RuntimeObject *object = HookedObjects::New();
  Set(objectToVariant(object), intToVariant(9));
  RuntimeObject *other = HookedObjects::New();
  EXPECT_TRUE(dictionaryHasKey(mDictionary, object));
  EXPECT_FALSE(dictionaryHasKey(mDictionary, other));
  RuntimeUnlockObject(object);
  RuntimeUnlockObject(other);
}

// A word of code points spelled in one encoding, as a String variant.
RuntimeObject *Spelled(const std::u32string &word, uint32_t encoding) {
  std::string bytes;
  for (char32_t c : word) {
    if (encoding == kEncodingUTF16) {
      auto unit = [&](uint32_t u) {
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
      };
      if (c > 0xFFFF) {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        unit(c);
      }
    } else if (encoding == kEncodingUTF8) {
      unsigned char out[5];
      bytes.append(reinterpret_cast<char *>(out), size_t(UTF8Encode(c, out)));
    } else {
      bytes += char(c); // ASCII and Latin-1
    }
  }
  string text;
  text.ConstructFromBuffer(bytes.data(), int(bytes.size()), encoding);
  return stringToVariant(text.Storage());
}

TEST_F(Dictionaries, TextKeysThatCompareEqualFindEachOtherInEveryEncoding) {
  constexpr uint32_t kLatin1 = 0x0201;
  struct Spelling {
    std::u32string word;
    uint32_t encoding;
  } spellings[] = {{U"\u00C9", kEncodingUTF8},
                   {U"\u00E9", kEncodingUTF8},
                   {U"\u00E9", kEncodingUTF16},
                   {U"\u00E9", kLatin1},
                   {U"\u00C9", kLatin1}};
  for (const Spelling &s : spellings)
    Set(Spelled(s.word, s.encoding), intToVariant(int32_t(s.encoding)));
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(IntValue(Spelled(U"\u00E9", kEncodingUTF8)), int32_t(kLatin1));
  Set(intToVariant(1), intToVariant(5));
  Set(booleanToVariant(1), intToVariant(6));
  EXPECT_EQ(Count(), 2) << "True is the Integer 1 as a key";
  EXPECT_EQ(IntValue(intToVariant(1)), 6);
}

// Random keys of a small alphabet in random encodings, many of them equal
// ignoring case: the dictionary holds one entry per class of equal keys,
// and every spelling finds it.
TEST_F(Dictionaries, TenThousandRandomKeysAgreeWithTheComparison) {
  constexpr uint32_t kLatin1 = 0x0201;
  const char32_t alphabet[] = {U'a', U'A', U'z', 0xE9, 0xC9, 0x436, 0x416, 0x65E5, 0x1F600};
  std::mt19937 random(11);
  std::map<std::u32string, int32_t> model; // upper-cased word -> value last stored
  std::vector<std::pair<std::u32string, RuntimeObject *>> probes;
  for (int32_t i = 0; i < 10000; ++i) {
    std::u32string word;
    const int length = 1 + int(random() % 3);
    bool ascii = true, latin1 = true;
    for (int k = 0; k < length; ++k) {
      const char32_t c = alphabet[random() % std::size(alphabet)];
      word += c;
      ascii = ascii && c < 0x80;
      latin1 = latin1 && c <= 0xFF;
    }
    std::vector<uint32_t> encodings = {kEncodingUTF8, kEncodingUTF16};
    if (ascii)
      encodings.push_back(kEncodingASCII);
    if (latin1)
      encodings.push_back(kLatin1);
    RuntimeObject *key = Spelled(word, encodings[random() % encodings.size()]);
    std::u32string folded;
    for (char32_t c : word)
      folded += char32_t(UnicodeCharToUpper(c));
    if (probes.size() < 300) {
      // The model's notion of equal is the comparison's.
      for (const auto &[otherFolded, other] : probes)
        ASSERT_EQ(VariantCompare(key, other) == 0, otherFolded == folded);
      RuntimeLockObject(key);
      probes.emplace_back(folded, key);
    }
    if (random() % 4 == 0) {
      const bool present = model.count(folded) != 0;
      ASSERT_EQ(dictionaryHasKey(mDictionary, key) != 0, present);
      RuntimeUnlockObject(key);
      continue;
    }
    model[folded] = i;
    Set(key, intToVariant(i));
  }
  EXPECT_EQ(Count(), int32_t(model.size()));
  ExpectConsistent();
  for (const auto &[folded, other] : probes) {
    if (model.count(folded)) {
      RuntimeLockObject(other);
      EXPECT_EQ(IntValue(other), model[folded]);
    } else {
      EXPECT_FALSE(dictionaryHasKey(mDictionary, other));
    }
    RuntimeUnlockObject(other);
  }
  EXPECT_TRUE(Raised().empty());
}

TEST_F(Dictionaries, RemovalMovesTheLastEntryIntoTheHole) {
  for (const char *k : {"k0", "k1", "k2", "k3"})
    Set(Text(k), intToVariant(0));
  RuntimeObject *k1 = Text("k1");
  dictionaryRemove(mDictionary, k1);
  RuntimeUnlockObject(k1);
  EXPECT_EQ(KeyText(1), "k3");
  EXPECT_EQ(KeyText(2), "k2");
  EXPECT_TRUE(Raised().empty());
  ExpectConsistent();

  RuntimeObject *missing = Text("k1");
  dictionaryRemove(mDictionary, missing);
  EXPECT_EQ(dictionaryValueGetter(mDictionary, missing), nullptr);
  EXPECT_FALSE(dictionaryHasKey(mDictionary, missing));
  RuntimeUnlockObject(missing);
  EXPECT_EQ(KeyText(Count()), "(nil)");
  EXPECT_EQ(dictionaryValueByIndex(mDictionary, -1), nullptr);
  EXPECT_EQ(Raised(), (Names{"KeyNotFoundException", "KeyNotFoundException", "OutOfBoundsException",
                             "OutOfBoundsException"}));
}

TEST_F(Dictionaries, BinCountFixesTheBinsUntilClearOrZero) {
  dictionarySetBins(mDictionary, 0, 10);
  EXPECT_EQ(Bins(), 10);
  for (int32_t k = 0; k < 100; ++k)
    Set(intToVariant(k), intToVariant(k));
  EXPECT_EQ(Bins(), 10);
  ExpectConsistent();
  dictionarySetBins(mDictionary, 0, 0);
  EXPECT_EQ(Bins(), 251) << "100 * 4 / 3 = 133";
  for (int32_t k = 100; k < 200; ++k)
    Set(intToVariant(k), intToVariant(k));
  EXPECT_EQ(Bins(), 509);
  ExpectConsistent();

  dictionarySetBins(mDictionary, 0, 10);
  dictionaryRemoveAll(mDictionary);
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(Bins(), 61);
  for (int32_t k = 0; k < 50; ++k)
    Set(intToVariant(k), intToVariant(k));
  EXPECT_EQ(Bins(), 127) << "growth resumes after Clear";
  ExpectConsistent();
}

TEST_F(Dictionaries, ABinCountBeyondMemoryRaisesAndChangesNothing) {
  Set(intToVariant(1), intToVariant(1));
  dictionarySetBins(mDictionary, 0, 0x40000000); // 4 GB of bins, 0 in 32-bit arithmetic
  EXPECT_EQ(Raised(), Names{"OutOfMemoryException"});
  EXPECT_EQ(Bins(), 61);
  EXPECT_EQ(IntValue(intToVariant(1)), 1);
  ExpectConsistent();
}

TEST_F(Dictionaries, TenThousandInsertsAndRemovesKeepTheInvariants) {
  std::mt19937 random(7);
  std::set<int32_t> expected;
  for (int32_t step = 0; step < 10000; ++step) {
    const int32_t key = int32_t(random() % 3000);
    if (random() % 3 == 0 && expected.count(key)) {
      RuntimeObject *k = intToVariant(key);
      dictionaryRemove(mDictionary, k);
      RuntimeUnlockObject(k);
      expected.erase(key);
    } else {
      Set(intToVariant(key), intToVariant(key * 2));
      expected.insert(key);
    }
    if (step % 1000 == 0)
      ExpectConsistent();
  }
  ExpectConsistent();
  EXPECT_EQ(Count(), int32_t(expected.size()));
  for (int32_t key : expected)
    ASSERT_EQ(IntValue(intToVariant(key)), key * 2);
  EXPECT_TRUE(Raised().empty());
  // Removing everything shrinks the vector back.
  for (int32_t key : expected) {
    RuntimeObject *k = intToVariant(key);
    dictionaryRemove(mDictionary, k);
    RuntimeUnlockObject(k);
  }
  EXPECT_EQ(Count(), 0);
  EXPECT_LE(Table()->entries.capacity(), int32_t(Table()->entries.growthIncrement()) * 2 + 16);
  ExpectConsistent();
}

TEST_F(Dictionaries, DestructorsOfReleasedValuesMayUseTheDictionary) {
  RuntimeObject *dictionary = mDictionary;
  int32_t stores = 0;
  HookedObjects::OnDestroy() = [&](RuntimeObject *) {
    ++stores;
    RuntimeObject *key = intToVariant(100 + stores);
    dictionaryValueSetter(dictionary, key, nullptr);
    RuntimeUnlockObject(key);
  };
  RuntimeObject *hooked = HookedObjects::New();
  Set(intToVariant(1), hooked);
  Set(intToVariant(1), intToVariant(5)); // the replaced value's destructor stores
  EXPECT_EQ(stores, 1);
  EXPECT_EQ(Count(), 2);
  EXPECT_EQ(IntValue(intToVariant(1)), 5);
  ExpectConsistent();

  Set(intToVariant(2), HookedObjects::New());
  dictionaryRemoveAll(mDictionary); // the cleared value's destructor stores
  HookedObjects::OnDestroy() = nullptr;
  EXPECT_EQ(stores, 2);
  EXPECT_EQ(Count(), 1);
  EXPECT_TRUE(Raised().empty());
  ExpectConsistent();
}

TEST_F(Dictionaries, ATableWithoutBinsFindsNothingAndGrowsOnStore) {
  OSfree(reinterpret_cast<char *>(Table()->bins)); // as when the first bins could not be had
  Table()->bins = nullptr;
  Table()->binCount = 0;
  RuntimeObject *one = intToVariant(1);
  EXPECT_FALSE(dictionaryHasKey(mDictionary, one));
  RuntimeUnlockObject(one);
  Set(intToVariant(1), intToVariant(10));
  EXPECT_EQ(Bins(), 61);
  EXPECT_EQ(IntValue(intToVariant(1)), 10);
  ExpectConsistent();
}

TEST_F(Dictionaries, AnOperationFindingTheTableBusyIsRefused) {
  Set(intToVariant(1), intToVariant(1));
  Table()->busy = 1; // as inside another operation
  Set(intToVariant(2), intToVariant(2));
  RuntimeObject *one = intToVariant(1);
  dictionaryRemove(mDictionary, one);
  dictionaryRemoveAll(mDictionary);
  EXPECT_EQ(Raised(), Names(3, "RuntimeException"));
  Table()->busy = 0;
  EXPECT_EQ(Count(), 1);
  EXPECT_TRUE(dictionaryHasKey(mDictionary, one));
  RuntimeUnlockObject(one);
  ExpectConsistent();
}

TEST_F(Dictionaries, ClassListsItsMembers) {
  ObjectDefinition *defn = DictionaryClass();
  EXPECT_EQ(defn->objectSize, 56);
  std::vector<std::string> names;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    names.push_back(m->name.CString());
  EXPECT_EQ(names, (std::vector<std::string>{"Clear", "HasKey", "Key", "Remove", "Value"}));
  EXPECT_NE(resolveRelocEntry("dictionaryValueByIndex"), nullptr);
}

} // namespace
