#include <gtest/gtest.h>

#include "ObjectModelFixtures.h"
#include "TestClassDefinitions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"

using namespace testclasses;

namespace {
std::string Text(stringStorage *s) { return stringStorage::CString(s); }
} // namespace

TEST(ObjectDefinitionConverter, ConvertsOnceAndFillsTheClassFromTheDefinition) {
  RuntimeClass *cls = LookupObjectDefinition(SocketClass());
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(LookupObjectDefinition(SocketClass()), cls);
  EXPECT_EQ(Text(cls->name), "TestSocket");
  EXPECT_EQ(cls->instanceSize, kSocketSize);
  EXPECT_EQ(cls->isAnInterface, 0);
  EXPECT_EQ(LookupObjectDefinition(WriteableInterface())->isAnInterface, 1);

  ASSERT_EQ(cls->eventCount, 2);
  EXPECT_EQ(Text(cls->events[1].name), "Error");
  EXPECT_EQ(SocketErrorHookRow().hook->eventIndex, 1);

  // Three methods have code; the Read row has only an export name.
  ASSERT_EQ(cls->staticMethodCount, 3);
  EXPECT_EQ(cls->staticMethods[0].code, CodeAddress(kWriteCode));
  EXPECT_EQ(Text(cls->staticMethods[0].linkName), "Write%%o<TestSocket>s");
  EXPECT_EQ(Text(cls->staticMethods[2].linkName), "SetTimeout%b%o<TestSocket>&i");
}

TEST(ObjectDefinitionConverter, PropertyTableKeepsTheSuperclassEntriesAtTheirIndexes) {
  RuntimeClass *base = LookupObjectDefinition(SocketClass());
  RuntimeClass *derived = LookupObjectDefinition(EasySocketClass());
  // Hidden is of the kind that takes no index.
  ASSERT_EQ(base->propertyCount, 2);
  ASSERT_EQ(derived->propertyCount, 3);
  EXPECT_EQ(Text(derived->properties[0].name), "Port%i");
  EXPECT_EQ(derived->properties[0].param, 24);
  EXPECT_EQ(Text(derived->properties[1].name), "Address%s");
  EXPECT_EQ(derived->properties[1].setter, nullptr);
  EXPECT_EQ(Text(derived->properties[2].name), "Verbose%b");
  EXPECT_EQ(EasySocketClass()->mPropertyTableSize, 3);
  EXPECT_EQ(EasySocketClass()->properties->mPropertyTableIndex, 2);
}

TEST(ObjectDefinitionConverter, SubclassHandlerOfAnInheritedEventIsFoundThroughTheSuperclassHook) {
  RuntimeClass *derived = LookupObjectDefinition(EasySocketClass());
  ASSERT_EQ(derived->eventCount, 3);
  EXPECT_EQ(Text(derived->events[0].name), "DataAvailable");
  EXPECT_EQ(Text(derived->events[2].name), "ReceivedMessage");
  EXPECT_EQ(EasySocketClass()->hookInstances->eventIndex, 1);

  const ObjectHook *errorHook = SocketErrorHookRow().hook;
  ObjectHolder easy(CreateInstance(EasySocketClass()));
  ObjectHolder plain(CreateInstance(SocketClass()));
  EXPECT_EQ(FindObjectCode(easy.get(), errorHook), CodeAddress(kErrorHandlerCode));
  EXPECT_EQ(FindObjectCode(plain.get(), errorHook), nullptr);
  EXPECT_EQ(FindObjectCode(nullptr, errorHook), nullptr);
  easy->eventTable = nullptr;
  EXPECT_EQ(FindObjectCode(easy.get(), errorHook), nullptr);
}

TEST(ObjectDefinitionConverter, InterfaceTableTakesSuperclassCodeMatchedWithoutRegardToCase) {
  RuntimeClass *derived = LookupObjectDefinition(EasySocketClass());
  RuntimeClass *iface = LookupObjectDefinition(WriteableInterface());
  ASSERT_EQ(derived->interfaceCount, 1);
  const InterfaceEntry &entry = derived->interfaces[0];
  EXPECT_EQ(entry.interfaceClass, iface);
  ASSERT_EQ(entry.methodCount, 2);
  EXPECT_EQ(entry.vtable[0].code, CodeAddress(kWriteCode));
  EXPECT_EQ(Text(entry.vtable[0].linkName), "Write%%o<TestSocket>s");
  EXPECT_EQ(entry.vtable[1].code, CodeAddress(kFlushCode)); // "FLUSH" finds Flush

  ObjectHolder object(CreateInstance(EasySocketClass()));
  EXPECT_EQ(RuntimeLookupInterfaceVtable(object.get(), iface), entry.vtable);
}

namespace {

ObjectDefinition *IncompleteClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static PropertyMethod methods[] = {
      {"write", nullptr, nullptr, 0, {{CodeAddress(kWriteCode), nullptr, {}}, {}}, 0, 0, 0}};
  defn.className = string("TestIncomplete");
  defn.staticTables = 1;
  defn.methods = FillMethods(methods, 1);
  defn.addInterface(WriteableInterface()); // has no Flush
  return &defn;
}

} // namespace

TEST(ObjectDefinitionConverter, MissingInterfaceMethodShowsAlertTwoAndLeavesNilSlots) {
  AlertRecorder alerts;
  RuntimeClass *cls = LookupObjectDefinition(IncompleteClass());
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].number, 2);
  ASSERT_NE(cls, nullptr);
  const InterfaceEntry &entry = cls->interfaces[0];
  ASSERT_EQ(entry.methodCount, 2);
  EXPECT_EQ(entry.vtable[0].code, CodeAddress(kWriteCode));
  EXPECT_EQ(entry.vtable[1].code, nullptr);
  EXPECT_EQ(entry.vtable[1].linkName, nullptr);

  EXPECT_FALSE(RebuildAllVTables());
  EXPECT_TRUE(alerts.saw("0"));
}

TEST(ObjectDefinitionConverter, NilDefinitionShowsTheAlertAndConvertsToNil) {
  AlertRecorder alerts;
  RaiseRecorder raises;
  EXPECT_EQ(LookupObjectDefinition(nullptr), nullptr);
  EXPECT_EQ(alerts.count(), 1u);
  EXPECT_EQ(CreateInstance(nullptr), nullptr);
  EXPECT_EQ(alerts.count(), 3u); // CreateInstance's own and its lookup's
  EXPECT_EQ(raises.raised(), Names{"NilObjectException"});
}

TEST(ObjectDefinitionConverter, FindObjectCodeInstanceTakesTheMostDerivedHandlerOfTheHooksName) {
  ObjectHookInstance *easyHandler = EasySocketClass()->hookInstances;
  const ObjectHook *errorHook = SocketErrorHookRow().hook;
  // A built-in subclass that handles the same event again, in other case.
  static ObjectDefinition strict;
  if (strict.className.IsEmpty()) {
    strict.super = EasySocketClass();
    strict.className = string("TestStrictSocket");
    strict.objectSize = kEasySize;
    strict.staticTables = 1;
    strict.hookInstances = new ObjectHookInstance{nullptr, string("ERROR"), 0, CodeAddress(99)};
  }
  // A class compiled code derives from the built-in one carries no handler items.
  RuntimeClass *compiled =
      MakeClass(LookupObjectDefinition(EasySocketClass()), "Compiled", kEasySize);

  ObjectHolder plain(CreateInstance(SocketClass()));
  ObjectHolder easy(CreateInstance(EasySocketClass()));
  ObjectHolder strictObject(CreateInstance(&strict));
  ObjectHolder compiledObject(RuntimeNewObject(compiled));
  EXPECT_EQ(FindObjectCodeInstance(plain.get(), errorHook), nullptr);
  EXPECT_EQ(FindObjectCodeInstance(easy.get(), errorHook), easyHandler);
  EXPECT_EQ(FindObjectCodeInstance(strictObject.get(), errorHook), strict.hookInstances);
  EXPECT_EQ(FindObjectCodeInstance(compiledObject.get(), errorHook), easyHandler);
  EXPECT_EQ(FindObjectCodeInstance(nullptr, errorHook), nullptr);
  // The first event of the socket has no handler anywhere.
  EXPECT_EQ(FindObjectCodeInstance(strictObject.get(), SocketClass()->hooks), nullptr);

  AlertRecorder alerts;
  EXPECT_EQ(FindObjectCodeInstance(easy.get(), nullptr), nullptr);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "hook");
}
