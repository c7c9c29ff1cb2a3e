#include <gtest/gtest.h>

#include <algorithm>

#include "ObjectModelFixtures.h"
#include "support/AlertRecorder.h"

namespace {
void *Code(int n) { return reinterpret_cast<void *>(static_cast<uintptr_t>(0x1000 + n)); }
} // namespace

TEST(RuntimeClass, NewClassLaysOutItsTablesBehindTheInlineInterfacesAndZeroesThem) {
  RuntimeClass *cls = RuntimeNewClass(nullptr, 3, 2, 4, 1, 5);
  ASSERT_NE(cls, nullptr);
  char *start = reinterpret_cast<char *>(cls);
  EXPECT_EQ(reinterpret_cast<char *>(cls->methods), start + 68 + 2 * 12);
  EXPECT_EQ(reinterpret_cast<char *>(cls->events), reinterpret_cast<char *>(cls->methods) + 3 * 8);
  EXPECT_EQ(reinterpret_cast<char *>(cls->staticMethods),
            reinterpret_cast<char *>(cls->events) + 4 * 8);
  EXPECT_EQ(reinterpret_cast<char *>(cls->properties),
            reinterpret_cast<char *>(cls->staticMethods) + 1 * 8);
  EXPECT_EQ(cls->methodCount, 3);
  EXPECT_EQ(cls->interfaceCount, 2);
  EXPECT_EQ(cls->eventCount, 4);
  EXPECT_EQ(cls->staticMethodCount, 1);
  EXPECT_EQ(cls->propertyCount, 5);
  const char *entries = reinterpret_cast<char *>(cls->interfaces);
  const char *end = reinterpret_cast<char *>(cls->properties + 5);
  EXPECT_TRUE(std::all_of(entries, end, [](char c) { return c == 0; }));
  EXPECT_EQ(cls->base, nullptr);
  EXPECT_EQ(cls->methods[2].code, nullptr);
  EXPECT_EQ(cls->properties[4].setter, nullptr);
  EXPECT_EQ(cls->interfaces[1].vtable, nullptr);
}

TEST(RuntimeClass, DerivedClassStartsAsACopyOfItsBasesTables) {
  RuntimeClass *base = RuntimeNewClass(nullptr, 2, 1, 1, 1, 1);
  base->methods[0] = {Code(1), nullptr};
  base->methods[1] = {Code(2), nullptr};
  base->interfaces[0] = {base, 0, nullptr};
  base->events[0].vector = Code(3);
  base->staticMethods[0].code = Code(4);
  base->properties[0].param = 28;

  AlertRecorder alerts;
  RuntimeClass *derived = RuntimeNewClass(base, 3, 1, 2, 1, 1);
  EXPECT_EQ(alerts.count(), 0u);
  EXPECT_EQ(derived->base, base);
  EXPECT_EQ(derived->methods[1].code, Code(2));
  EXPECT_EQ(derived->methods[2].code, nullptr);
  EXPECT_EQ(derived->interfaces[0].interfaceClass, base);
  EXPECT_EQ(derived->events[0].vector, Code(3));
  EXPECT_EQ(derived->staticMethods[0].code, Code(4));
  EXPECT_EQ(derived->properties[0].param, 28);
}

TEST(RuntimeClass, ShorterDerivedTableShowsTheAlertAndKeepsOnlyTheFirstEntries) {
  RuntimeClass *base = RuntimeNewClass(nullptr, 3, 0, 0, 0, 0);
  for (int i = 0; i < 3; ++i)
    base->methods[i].code = Code(i);
  AlertRecorder alerts;
  RuntimeClass *derived = RuntimeNewClass(base, 2, 0, 0, 0, 0);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "out->methodCount >= base->methodCount");
  EXPECT_EQ(derived->methods[1].code, Code(1));
  // Nothing was written past the two entries: the (empty) event table follows.
  EXPECT_EQ(reinterpret_cast<char *>(derived->events),
            reinterpret_cast<char *>(derived->methods + 2));
}

TEST(RuntimeClass, NewVtableIsZeroed) {
  MethodEntry *table = RuntimeNewVtable(6);
  ASSERT_NE(table, nullptr);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(table[i].code, nullptr);
    EXPECT_EQ(table[i].linkName, nullptr);
  }
  EXPECT_EQ(RuntimeNewVtable(0), nullptr);
}

namespace {

struct Hierarchy {
  RuntimeClass *readable = MakeInterface("Readable", 1);
  RuntimeClass *writeable = MakeInterface("Writeable", 1);
  RuntimeClass *base = MakeClass(nullptr, "Stream", 24, {0, 1, 0, 0, 0});
  RuntimeClass *derived;
  RuntimeClass *other = MakeClass(nullptr, "Other", 24);
  MethodEntry *readTable = RuntimeNewVtable(1);
  MethodEntry *writeTable = RuntimeNewVtable(1);

  Hierarchy() {
    base->interfaces[0] = {readable, 1, readTable};
    derived = MakeClass(base, "FileStream", 24, {0, 1, 0, 0, 0});
    derived->interfaces[1] = {writeable, 1, writeTable};
  }
};

} // namespace

TEST(RuntimeClass, IsaFollowsBaseClassesAndInterfaceEntries) {
  Hierarchy h;
  ObjectHolder object(RuntimeNewObject(h.derived));
  ObjectHolder plain(RuntimeNewObject(h.base));
  struct Case {
    RuntimeObject *object;
    RuntimeClass *cls;
    int32_t expected;
  } cases[] = {
      {nullptr, h.base, 0},       {object.get(), nullptr, 1},    {object.get(), h.derived, 1},
      {object.get(), h.base, 1},  {object.get(), h.readable, 1}, {object.get(), h.writeable, 1},
      {object.get(), h.other, 0}, {plain.get(), h.derived, 0},   {plain.get(), h.writeable, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(RuntimeObjectIsa(c.object, c.cls), c.expected)
        << (c.cls ? stringStorage::CString(c.cls->name) : "nil class");
}

TEST(RuntimeClass, CheckCastHandsTheCallerAReference) {
  Hierarchy h;
  RaiseRecorder raises;
  ObjectHolder object(RuntimeNewObject(h.derived));
  EXPECT_EQ(RuntimeCheckCast(nullptr, h.base), nullptr);
  EXPECT_EQ(RuntimeCheckCast(object.get(), h.base), object.get());
  EXPECT_EQ(object->refCount, 2);
  EXPECT_EQ(RuntimeCheckCast(object.get(), nullptr), object.get());
  EXPECT_EQ(object->refCount, 3);
  EXPECT_TRUE(raises.raised().empty());
  EXPECT_EQ(RuntimeCheckCast(object.get(), h.other), nullptr);
  EXPECT_EQ(object->refCount, 3);
  EXPECT_EQ(raises.raised(), Names{"IllegalCastException"});
  object->refCount = 1;
}

TEST(RuntimeClass, InterfaceVtableLookup) {
  Hierarchy h;
  RaiseRecorder raises;
  ObjectHolder object(RuntimeNewObject(h.derived));
  EXPECT_EQ(RuntimeLookupInterfaceVtable(object.get(), h.readable), h.readTable);
  EXPECT_EQ(RuntimeLookupInterfaceVtable(object.get(), h.writeable), h.writeTable);
  EXPECT_EQ(RuntimeLookupInterfaceVtable(object.get(), h.base), nullptr);
  EXPECT_EQ(RuntimeLookupInterfaceVtable(object.get(), nullptr), nullptr);
  EXPECT_EQ(RuntimeLookupInterfaceVtable(nullptr, h.readable), nullptr);
  EXPECT_EQ(raises.raised(),
            (Names{"IllegalCastException", "NilObjectException", "NilObjectException"}));
  EXPECT_EQ(RuntimeClassOf(object.get()), h.derived);
  EXPECT_EQ(RuntimeClassOf(nullptr), nullptr);
}
