#include <gtest/gtest.h>

#include "LanguageFixtures.h"
#include "foundation/TextEncodings.h"
#include "language/Collection.h"
#include "language/Variant.h"

namespace {

class Collections : public LanguageTest {
protected:
  ~Collections() override { RuntimeUnlockObject(mCollection); }
  void Add(int32_t value, const char *key) {
    RuntimeObject *v = intToVariant(value);
    collectionAdd(mCollection, v, string(key).Storage());
    RuntimeUnlockObject(v);
  }
  int32_t Value(RuntimeObject *item) {
    const int32_t v = item ? variantToInt(item) : -1;
    RuntimeUnlockObject(item);
    return v;
  }
  int32_t At(int32_t index) { return Value(collectionIdxItem(mCollection, index)); }
  int32_t Keyed(const char *key) {
    return Value(collectionItem(mCollection, string(key).Storage()));
  }
  RuntimeObject *mCollection = RuntimeNewObject(RuntimeLookupCollectionClass());
};

TEST_F(Collections, ItemsByPositionAndByFirstMatchingKey) {
  EXPECT_EQ(collectionCount(mCollection, 0), 0);
  EXPECT_EQ(At(1), -1);
  EXPECT_EQ(Keyed("a"), -1) << "no items: nil";
  Add(10, "a");
  Add(20, "B");
  Add(30, "a");
  Add(40, "");
  EXPECT_EQ(collectionCount(mCollection, 0), 4);
  EXPECT_EQ(Keyed("A"), 10);
  EXPECT_EQ(At(3), 30);
  EXPECT_EQ(Keyed(""), 40);
  EXPECT_EQ(Keyed("zz"), -1);
  At(0);
  At(5);
  EXPECT_EQ(Raised(), Names(3, "OutOfBoundsException"));

  collectionKeyRemove(mCollection, string("a").Storage());
  EXPECT_EQ(At(1), 20);
  EXPECT_EQ(At(2), 30);
  collectionKeyRemove(mCollection, string("missing").Storage());
  collectionIdxRemove(mCollection, 1);
  EXPECT_EQ(At(1), 30);
  collectionIdxRemove(mCollection, 9);
  EXPECT_EQ(Raised(), Names{"OutOfBoundsException"});
  EXPECT_EQ(collectionCount(mCollection, 0), 2);
}

TEST_F(Collections, KeysMatchAsTheStringComparisonMatches) {
  string upper;
  upper.ConstructFromBuffer("\xC3\x89T\xC3\x89", 5, kEncodingUTF8);
  RuntimeObject *v = intToVariant(7);
  collectionAdd(mCollection, v, upper.Storage());
  RuntimeUnlockObject(v);
  string lower, wide, latin1;
  lower.ConstructFromBuffer("\xC3\xA9t\xC3\xA9", 5, kEncodingUTF8);
  wide.ConstructFromBuffer("\xE9\0t\0\xE9\0", 6, kEncodingUTF16);
  latin1.ConstructFromBuffer("\xE9t\xE9", 3, 0x0201);
  for (const string &key : {lower, wide, latin1})
    EXPECT_EQ(Value(collectionItem(mCollection, key.Storage())), 7);
  collectionKeyRemove(mCollection, latin1.Storage());
  EXPECT_EQ(collectionCount(mCollection, 0), 0);
}

TEST_F(Collections, RemovedItemLeavesTheArrayBeforeItsValueIsDestroyed) {
  RuntimeObject *hooked = HookedObjects::New();
  collectionAdd(mCollection, hooked, nullptr);
  RuntimeUnlockObject(hooked);
  Add(5, "five");
  int32_t countSeen = -1;
  HookedObjects::OnDestroy() = [&](RuntimeObject *) {
    countSeen = collectionCount(mCollection, 0);
  };
  collectionIdxRemove(mCollection, 1);
  HookedObjects::OnDestroy() = nullptr;
  EXPECT_EQ(countSeen, 1);
  EXPECT_EQ(At(1), 5);
}

TEST_F(Collections, DestroyingTheCollectionReleasesEveryValue) {
  RuntimeObject *hooked = HookedObjects::New();
  collectionAdd(mCollection, hooked, string("k").Storage());
  collectionAdd(mCollection, hooked, string("k").Storage());
  EXPECT_EQ(hooked->refCount, 3);
  RuntimeUnlockObject(mCollection);
  mCollection = nullptr;
  EXPECT_EQ(hooked->refCount, 1);
  RuntimeUnlockObject(hooked);
}

TEST(CollectionElement, IsABareClassForObjectCursors) {
  ObjectDefinition *defn = CollectionElementClass();
  EXPECT_EQ(defn->className.CompareWithCase("CollectionElement"), 0);
  EXPECT_EQ(defn->objectSize, 24);
  EXPECT_EQ(defn->newAllowed, 0);
  EXPECT_NE(RuntimeLookupCollectionElementClass(), nullptr);
}

} // namespace
