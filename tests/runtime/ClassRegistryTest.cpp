#include <gtest/gtest.h>

#include "ObjectModelFixtures.h"
#include "TestClassDefinitions.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"

using namespace testclasses;

TEST(ClassRegistry, RegisteringAClassOffersItsMethodsAndAccessorsByExportName) {
  addIntrinsicClass(SocketClass());
  const RelocEntry *write = resolveRelocEntry("TESTSOCKETWRITE");
  ASSERT_NE(write, nullptr);
  EXPECT_EQ(write->address, CodeAddress(kWriteCode));
  ASSERT_NE(resolveRelocEntry("testSocketPortSetter"), nullptr);
  EXPECT_EQ(resolveRelocEntry("testSocketReadUnbuilt"), nullptr); // export name without code
  EXPECT_EQ(getIntrinsicClass(string("testsocket")), SocketClass());
}

namespace {
ObjectDefinition *Named(ObjectDefinition &defn, const char *name) {
  if (defn.className.IsEmpty())
    defn.className = string(name);
  return &defn;
}
} // namespace

TEST(ClassRegistry, ASecondClassOfTheSameNameInAnotherCaseReplacesTheFirst) {
  static ObjectDefinition first, second;
  addIntrinsicClass(Named(first, "TestTwice"));
  addIntrinsicClass(Named(second, "TESTtwice"));
  EXPECT_EQ(getIntrinsicClass(string("TestTwice")), &second);
  EXPECT_EQ(getIntrinsicClass(string("testtwice")), &second);
  EXPECT_EQ(getIntrinsicClass(string("TestNeverRegistered")), nullptr);
}

TEST(ClassRegistry, ModulesAreKeptApartAndBrokenRulesAreShown) {
  static ObjectDefinition module, notAModule;
  Named(module, "TestModule")->objectSize = 0;
  AlertRecorder alerts;
  AddIntrinsicModule(&module);
  EXPECT_EQ(alerts.count(), 0u);
  EXPECT_EQ(getIntrinsicModule(string("testmodule")), &module);
  EXPECT_EQ(getIntrinsicClass(string("TestModule")), nullptr);

  Named(notAModule, "TestModule")->super = &module; // objectSize 24 too
  AddIntrinsicModule(&notAModule);
  ASSERT_EQ(alerts.count(), 3u);
  EXPECT_EQ(alerts.alerts()[0].condition, "0 == defn->objectSize");
  EXPECT_EQ(alerts.alerts()[1].condition, "NULL == defn->super");
  EXPECT_EQ(alerts.alerts()[2].condition, "not gIntrinsicModuleMap->HasEntry(defn->className)");
}

TEST(ClassRegistry, LookupClassByNameConvertsRegisteredClassesOnly) {
  addIntrinsicClass(EasySocketClass());
  RuntimeClass *cls = RuntimeLookupClass(string("testeasysocket").Storage());
  EXPECT_EQ(cls, LookupObjectDefinition(EasySocketClass()));
  EXPECT_EQ(RuntimeLookupClass(string("TestEasySocket").Storage()), cls);
  EXPECT_EQ(RuntimeLookupClass(string("TestNoSuchClass").Storage()), nullptr);
  EXPECT_EQ(RuntimeLookupClass(nullptr), nullptr);
}

TEST(ClassRegistry, InterfaceServicesFindMethodsByTheNameInTheirLinkName) {
  ObjectHolder easy(CreateInstance(EasySocketClass()));
  ObjectHolder plain(CreateInstance(SocketClass()));
  EXPECT_TRUE(supportsInterface(easy.get(), WriteableInterface()));
  EXPECT_FALSE(supportsInterface(plain.get(), WriteableInterface()));
  EXPECT_EQ(interfaceMethodProc(easy.get(), WriteableInterface(), string("write")),
            CodeAddress(kWriteCode));
  EXPECT_EQ(interfaceMethodProc(easy.get(), WriteableInterface(), string("Flush")),
            CodeAddress(kFlushCode));
  EXPECT_EQ(interfaceMethodProc(easy.get(), WriteableInterface(), string("Read")), nullptr);
  EXPECT_EQ(interfaceMethodProc(plain.get(), WriteableInterface(), string("write")), nullptr);
  EXPECT_EQ(interfaceMethodProc(nullptr, WriteableInterface(), string("write")), nullptr);
}

TEST(ClassRegistry, InterfaceMethodNameDropsTheQualifierAndMayLackTheTypeMark) {
  RuntimeClass *iface = LookupObjectDefinition(WriteableInterface());
  RuntimeClass *cls = MakeClass(nullptr, "TestHandMade", 24, {0, 1, 0, 0, 0});
  MethodEntry *table = RuntimeNewVtable(3);
  table[0] = {CodeAddress(10), string("Module.Write%%o<TestHandMade>s").ExtractStringStorage()};
  table[1] = {CodeAddress(11), string("Flush").ExtractStringStorage()};
  table[2] = {CodeAddress(12), nullptr};
  cls->interfaces[0] = {iface, 3, table};
  ObjectHolder object(RuntimeNewObject(cls));
  EXPECT_EQ(interfaceMethodProc(object.get(), WriteableInterface(), string("WRITE")),
            CodeAddress(10));
  EXPECT_EQ(interfaceMethodProc(object.get(), WriteableInterface(), string("flush")),
            CodeAddress(11));
}
