#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ObjectModelFixtures.h"
#include "support/AlertRecorder.h"

namespace {

std::vector<std::string> sLog;

// Objects of the logging classes carry a one-letter tag at offset 24 and a
// reference to another object at offset 28.
constexpr int32_t kTagOffset = 24;
constexpr int32_t kNextOffset = 28;
constexpr int32_t kLoggingObjectSize = 32;

std::string Tag(RuntimeObject *object) { return std::string(1, FieldAt<char>(object, kTagOffset)); }

void RootConstructor(RuntimeObject *) { sLog.push_back("ctor:root"); }
void MiddleConstructor(RuntimeObject *) { sLog.push_back("ctor:middle"); }
void LeafConstructor(RuntimeObject *) { sLog.push_back("ctor:leaf"); }
void RootHook(RuntimeObject *) { sLog.push_back("hook:root"); }
void LeafHook(RuntimeObject *) { sLog.push_back("hook:leaf"); }
void RootDestructor(RuntimeObject *) { sLog.push_back("dtor:root"); }
void MiddleDestructor(RuntimeObject *) { sLog.push_back("dtor:middle"); }

void LinkHook(RuntimeObject *object) { sLog.push_back("hook:" + Tag(object)); }
void LinkDestructor(RuntimeObject *object) {
  sLog.push_back("dtor:" + Tag(object));
  RuntimeUnlockObject(FieldAt<RuntimeObject *>(object, kNextOffset));
}
void LogFreed(RuntimeObject *object) { sLog.push_back("freed:" + Tag(object)); }

RuntimeClass *LinkClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *c = MakeClass(nullptr, "Link", kLoggingObjectSize);
    c->destructorHook = LinkHook;
    c->destructor = LinkDestructor;
    return c;
  }();
  return cls;
}

RuntimeObject *NewLink(char tag, RuntimeObject *next) {
  RuntimeObject *object = RuntimeNewObject(LinkClass());
  FieldAt<char>(object, kTagOffset) = tag;
  FieldAt<RuntimeObject *>(object, kNextOffset) = next; // takes the caller's reference
  return object;
}

class RuntimeObjectTest : public ::testing::Test {
protected:
  void SetUp() override { sLog.clear(); }
  void TearDown() override { SetObjectDestructionMonitor(nullptr); }
};

} // namespace

TEST_F(RuntimeObjectTest, NewObjectIsZeroedCountedAndHeadOfTheLiveList) {
  RuntimeClass *cls = MakeClass(nullptr, "Plain", 40, {0, 0, 2, 0, 0});
  int32_t before = CountAllocatedObjects();
  RuntimeObject *older = RuntimeNewObject(cls);
  RuntimeObject *object = RuntimeNewObject(cls);
  EXPECT_EQ(object->classPtr, cls);
  EXPECT_EQ(object->vtable, cls->methods);
  EXPECT_EQ(object->eventTable, cls->events);
  EXPECT_EQ(object->refCount, 1);
  EXPECT_EQ(FieldAt<int64_t>(object, 24) | FieldAt<int64_t>(object, 32), 0);
  EXPECT_EQ(GetActiveObjectListHead(), object);
  EXPECT_EQ(object->next, older);
  EXPECT_EQ(older->previous, object);
  EXPECT_EQ(CountAllocatedObjects(), before + 2);

  RuntimeUnlockObject(object);
  EXPECT_EQ(GetActiveObjectListHead(), older);
  EXPECT_EQ(older->previous, nullptr);
  RuntimeUnlockObject(older);
  EXPECT_EQ(CountAllocatedObjects(), before);
}

TEST_F(RuntimeObjectTest, LockAndUnlockLeaveNilUncountedAndNegativeObjectsAlone) {
  RuntimeLockObject(nullptr);
  RuntimeUnlockObject(nullptr);
  RuntimeClass *cls = MakeClass(nullptr, "Counted", 24);
  int32_t before = CountAllocatedObjects();
  RuntimeObject *object = RuntimeNewObject(cls);

  object->refCount = 0; // not counted
  RuntimeLockObject(object);
  RuntimeUnlockObject(object);
  EXPECT_EQ(object->refCount, 0);

  object->refCount = -3;
  RuntimeUnlockObject(object);
  EXPECT_EQ(object->refCount, -3);
  EXPECT_EQ(CountAllocatedObjects(), before + 1);

  object->refCount = 1;
  RuntimeUnlockObject(object);
  EXPECT_EQ(CountAllocatedObjects(), before);
}

TEST_F(RuntimeObjectTest, LockUnlockObjectsAssignsAReference) {
  RuntimeClass *cls = MakeClass(nullptr, "Assigned", 24);
  ObjectHolder a(RuntimeNewObject(cls));
  ObjectHolder b(RuntimeNewObject(cls));
  RuntimeLockUnlockObjects(a.get(), a.get());
  EXPECT_EQ(a->refCount, 1);
  RuntimeLockObject(b.get());
  RuntimeLockUnlockObjects(a.get(), b.get());
  EXPECT_EQ(a->refCount, 2);
  EXPECT_EQ(b->refCount, 1);
  RuntimeUnlockObject(a.get());
}

TEST_F(RuntimeObjectTest, ConstructorsRunRootFirstHooksAndDestructorsMostDerivedFirst) {
  RuntimeClass *root = MakeClass(nullptr, "Root", 24);
  root->constructor = RootConstructor;
  root->destructorHook = RootHook;
  root->destructor = RootDestructor;
  RuntimeClass *middle = MakeClass(root, "Middle", 24);
  middle->constructor = MiddleConstructor;
  middle->destructor = MiddleDestructor;
  RuntimeClass *leaf = MakeClass(middle, "Leaf", 24);
  leaf->constructor = LeafConstructor;
  leaf->destructorHook = LeafHook;

  RuntimeUnlockObject(RuntimeNewObject(leaf));
  EXPECT_EQ(sLog, (std::vector<std::string>{"ctor:root", "ctor:middle", "ctor:leaf", "hook:leaf",
                                            "hook:root", "dtor:middle", "dtor:root"}));
}

// Constructors run from a gathered chain, eight classes at a time: a chain of
// eleven still runs root first, skips a level without a constructor, and
// every level's hook runs.
TEST_F(RuntimeObjectTest, ALongChainStillConstructsRootFirst) {
  static std::vector<int> order;
  order.clear();
  RuntimeClass *cls = nullptr;
  ObjectProc constructors[] = {
      [](RuntimeObject *) { order.push_back(0); }, [](RuntimeObject *) { order.push_back(1); },
      [](RuntimeObject *) { order.push_back(2); }, [](RuntimeObject *) { order.push_back(3); },
      [](RuntimeObject *) { order.push_back(4); }, [](RuntimeObject *) { order.push_back(5); },
      [](RuntimeObject *) { order.push_back(6); }, [](RuntimeObject *) { order.push_back(7); },
      [](RuntimeObject *) { order.push_back(8); }, [](RuntimeObject *) { order.push_back(9); },
      [](RuntimeObject *) { order.push_back(10); }};
  for (ObjectProc constructor : constructors) {
    cls = MakeClass(cls, "Level", 24);
    cls->constructor = constructor;
    cls->destructorHook = [](RuntimeObject *) { order.push_back(-1); };
  }
  cls->base->base->constructor = nullptr; // level 8 has no constructor of its own
  RuntimeUnlockObject(RuntimeNewObject(cls));
  EXPECT_EQ(order, (std::vector<int>{0,  1,  2,  3,  4,  5,  6,  7,  9,  10, -1,
                                     -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

// The class's own fields start at zero whatever the freed block held before,
// for sizes that are and are not multiples of the zeroing step.
TEST_F(RuntimeObjectTest, ReusedBlocksStartWithZeroFields) {
  for (int32_t size : {24, 28, 36, 40, 41, 43, 56, 100, 252, 300}) {
    RuntimeClass *cls = MakeClass(nullptr, "Dirty", size);
    RuntimeObject *dirty = RuntimeNewObject(cls);
    std::fill_n(reinterpret_cast<char *>(dirty + 1), size - 24, '\xA5');
    RuntimeUnlockObject(dirty);
    RuntimeObject *object = RuntimeNewObject(cls);
    const char *fields = reinterpret_cast<const char *>(object + 1);
    EXPECT_TRUE(std::all_of(fields, fields + size - 24, [](char c) { return c == 0; }))
        << "size " << size;
    RuntimeUnlockObject(object);
  }
}

TEST_F(RuntimeObjectTest, NestedReleasesAreQueuedAndFreedAfterTheReleaseInProgress) {
  SetObjectDestructionMonitor(LogFreed);
  int32_t before = CountAllocatedObjects();
  RuntimeObject *first = NewLink('A', NewLink('B', NewLink('C', nullptr)));
  RuntimeUnlockObject(first);
  EXPECT_EQ(sLog, (std::vector<std::string>{"hook:A", "dtor:A", "hook:B", "freed:A", "dtor:B",
                                            "hook:C", "freed:B", "dtor:C", "freed:C"}));
  EXPECT_EQ(CountAllocatedObjects(), before);
  for (RuntimeObject *o = GetActiveObjectListHead(); o; o = o->next)
    EXPECT_NE(o->classPtr, LinkClass());
}

namespace {
uintptr_t sDeepestFrame;
void ChainDestructor(RuntimeObject *object) {
  char probe;
  sDeepestFrame = std::min(sDeepestFrame, reinterpret_cast<uintptr_t>(&probe));
  RuntimeUnlockObject(FieldAt<RuntimeObject *>(object, kNextOffset));
}
} // namespace

TEST_F(RuntimeObjectTest, ReleasingAMillionObjectChainKeepsTheStackDepthConstant) {
  RuntimeClass *cls = MakeClass(nullptr, "ChainLink", kLoggingObjectSize);
  cls->destructor = ChainDestructor;
  int32_t before = CountAllocatedObjects();
  RuntimeObject *head = RuntimeNewObject(cls);
  RuntimeObject *tail = head;
  for (int i = 1; i < 1000000; ++i) {
    RuntimeObject *next = RuntimeNewObject(cls);
    FieldAt<RuntimeObject *>(tail, kNextOffset) = next;
    tail = next;
  }
  EXPECT_EQ(CountAllocatedObjects(), before + 1000000);
  char here;
  uintptr_t start = reinterpret_cast<uintptr_t>(&here);
  sDeepestFrame = start;
  RuntimeUnlockObject(head);
  EXPECT_LT(start - sDeepestFrame, 4096u);
  EXPECT_EQ(CountAllocatedObjects(), before);
}

TEST_F(RuntimeObjectTest, AnInterfaceOrATooSmallClassGetsNoInstance) {
  RuntimeClass *iface = MakeInterface("Refused", 1);
  RuntimeClass *tiny = MakeClass(nullptr, "Tiny", 8);
  int32_t before = CountAllocatedObjects();
  AlertRecorder alerts;
  RaiseRecorder raises;
  EXPECT_EQ(RuntimeNewObject(iface), nullptr);
  EXPECT_TRUE(alerts.saw("!parent->isAnInterface"));
  EXPECT_EQ(RuntimeNewObject(tiny), nullptr);
  EXPECT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(raises.raised().empty());
  EXPECT_EQ(RuntimeNewObject(nullptr), nullptr);
  EXPECT_EQ(raises.raised(), Names{"NilObjectException"});
  EXPECT_EQ(CountAllocatedObjects(), before);
}

TEST_F(RuntimeObjectTest, PrivateEventTableStartsAsACopyAndLeavesTheClassTableAlone) {
  RuntimeClass *cls = MakeClass(nullptr, "Evented", 24, {0, 0, 2, 0, 0});
  cls->events[1].vector = reinterpret_cast<void *>(&RootHook);
  ObjectHolder object(RuntimeNewObject(cls));
  EventEntry *own = MakePrivateEventTable(object.get());
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, cls->events);
  EXPECT_EQ(MakePrivateEventTable(object.get()), own);
  EXPECT_EQ(own[1].vector, cls->events[1].vector);
  own[0].vector = reinterpret_cast<void *>(&LeafHook);
  EXPECT_EQ(cls->events[0].vector, nullptr);
}
