#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "ObjectModelFixtures.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectCursor.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/RuntimeDebugModule.h"

namespace {

int sYieldsLeft = 0;
RuntimeClass *YieldedClass() {
  static RuntimeClass *cls = MakeClass(nullptr, "Yielded", 24);
  return cls;
}
RuntimeObject *YieldTwo(RuntimeObject *) {
  return sYieldsLeft-- > 0 ? RuntimeNewObject(YieldedClass()) : nullptr;
}

// A cursor subclass as compiled code would make it, handling NextObject.
RuntimeObject *NewYieldingCursor(int yields) {
  static RuntimeClass *cls = [] {
    RuntimeClass *base = LookupObjectDefinition(ObjectCursorClass());
    RuntimeClass *c = MakeClass(base, "TwoObjects", base->instanceSize);
    c->events[0].vector = reinterpret_cast<void *>(YieldTwo);
    return c;
  }();
  sYieldsLeft = yields;
  return RuntimeNewObject(cls);
}

std::string Text(stringStorage *s) { return stringStorage::CString(s); }

} // namespace

TEST(ObjectCursor, ClassDeclaresItsEventsAndIsBuiltOnce) {
  ObjectDefinition *defn = ObjectCursorClass();
  ObjectHook *hooks = defn->hooks;
  ObjectMethod *methods = defn->methods;
  EXPECT_EQ(ObjectCursorClass(), defn);
  EXPECT_EQ(defn->hooks, hooks);
  EXPECT_EQ(defn->methods, methods);
  RuntimeClass *cls = LookupObjectDefinition(defn);
  ASSERT_EQ(cls->eventCount, 5);
  EXPECT_EQ(Text(cls->events[0].name), "NextObject");
  EXPECT_EQ(Text(cls->events[4].name), "GetPropertyValue");
  EXPECT_EQ(cls->instanceSize, 32);
  ASSERT_EQ(cls->propertyCount, 1);
  EXPECT_EQ(Text(cls->properties[0].name), "Count%i");
}

TEST(ObjectCursor, KeepsWhatItHandedOutAndStopsAtTheFirstNil) {
  int32_t before = CountAllocatedObjects();
  {
    ObjectHolder cursor(NewYieldingCursor(2));
    EXPECT_EQ(objectCursorGetItem(cursor.get(), 0), nullptr);
    EXPECT_EQ(objectCursorGetItem(cursor.get(), 3), nullptr);
    EXPECT_EQ(objectCursorCountGetter(cursor.get(), 0), 2);
    RuntimeObject *second = objectCursorGetItem(cursor.get(), 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->refCount, 2); // the cursor's and ours
    RuntimeUnlockObject(second);
    EXPECT_EQ(objectCursorNextObject(cursor.get()), nullptr);
  }
  EXPECT_EQ(CountAllocatedObjects(), before);
}

TEST(ObjectCursor, NextObjectHandsTheHandlersReferenceToTheCaller) {
  ObjectHolder cursor(NewYieldingCursor(1));
  RuntimeObject *first = objectCursorNextObject(cursor.get());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->refCount, 2);
  RuntimeUnlockObject(first);
  ObjectHolder plain(CreateInstance(ObjectCursorClass())); // no handler: nothing
  EXPECT_EQ(objectCursorCountGetter(plain.get(), 0), 0);
}

TEST(RuntimeDebugModule, ViewsLiveObjectsOtherThanItself) {
  ObjectHolder runtime(RuntimeDebugInstance());
  EXPECT_EQ(runtime->refCount, 2); // the module's own and ours
  RuntimeObject *again = RuntimeDebugInstance();
  EXPECT_EQ(again, runtime.get());
  RuntimeUnlockObject(again);

  int32_t others = CountAllocatedObjects() - 1;
  EXPECT_EQ(RuntimeDebugObjectCount(runtime.get(), 0), others);
  ObjectHolder older(RuntimeNewObject(YieldedClass()));
  ObjectHolder newest(RuntimeNewObject(MakeClass(nullptr, "NewestThing", 24)));
  EXPECT_EQ(RuntimeDebugObjectCount(runtime.get(), 0), others + 2);

  EXPECT_EQ(RuntimeDebugObjectID(runtime.get(), 0),
            int32_t(reinterpret_cast<uintptr_t>(newest.get())) ^ 0x15C7A3);
  EXPECT_EQ(RuntimeDebugObjectID(runtime.get(), -5), RuntimeDebugObjectID(runtime.get(), 0));
  stringStorage *name = RuntimeDebugObjectClass(runtime.get(), 1);
  EXPECT_EQ(Text(name), "Yielded");
  stringStorage::RemoveReference(name);
  EXPECT_EQ(RuntimeDebugObjectRefs(runtime.get(), 1), 1);
  EXPECT_EQ(RuntimeDebugObjectClass(runtime.get(), others + 2), nullptr);
  EXPECT_EQ(RuntimeDebugObjectID(runtime.get(), others + 2), 0);
  EXPECT_EQ(RuntimeDebugObjectRefs(runtime.get(), others + 2), 0);
}

TEST(RuntimeDebugModule, DumpWritesMemoryCountAndOneClassNamePerLiveObject) {
  ObjectHolder marker(RuntimeNewObject(MakeClass(nullptr, "DumpMarker", 24)));
  char path[] = "/tmp/objectdumpXXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  debugDumpObjects(string(path).Storage());
  std::ifstream in(path);
  std::string memory, count, first;
  std::getline(in, memory);
  std::getline(in, count);
  std::getline(in, first);
  unlink(path);
  EXPECT_NE(memory.find(" used in heap1"), std::string::npos) << memory;
  ObjectHolder runtime(RuntimeDebugInstance());
  EXPECT_EQ(count, std::to_string(CountAllocatedObjects() - 1) + " objects");
  EXPECT_EQ(first, "DumpMarker");
}

TEST(RuntimeDebugModule, FreeingTheRuntimeObjectLetsTheNextCallCreateAnother) {
  RuntimeObject *runtime = RuntimeDebugInstance();
  int32_t before = CountAllocatedObjects();
  runtime->refCount = 1; // as though the module had let go of its reference
  RuntimeUnlockObject(runtime);
  EXPECT_EQ(CountAllocatedObjects(), before - 1);
  ObjectHolder again(RuntimeDebugInstance());
  EXPECT_EQ(again->refCount, 2);
  EXPECT_EQ(CountAllocatedObjects(), before);
  EXPECT_EQ(GetActiveObjectListHead(), again.get());
}
