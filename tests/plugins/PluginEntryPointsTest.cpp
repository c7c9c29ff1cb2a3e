// The entry-point table over hand-made registration records: the keys each
// record gives, lookups that ignore case, and the alerts of missing keys.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "plugins/PluginEntryPoints.h"
#include "plugins/PluginLists.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

namespace {

// Distinct code addresses for the records (distinct bodies, so that no
// two are folded into one).
volatile int sCalled;
void FooBarGet() { sCalled = 1; }
void FooBarSet() { sCalled = 2; }
void FooSize() { sCalled = 3; }
void FooSizeAssign() { sCalled = 4; }
void FooOnlyGet() { sCalled = 5; }
void ModuleBeep() { sCalled = 6; }
void GlobalTwice() { sCalled = 7; }
void ControlPaint() { sCalled = 8; }
void ExtensionHello() { sCalled = 9; }

template <typename F>
ZANTproc Proc(F *function) {
  return reinterpret_cast<ZANTproc>(function);
}

const ZANTproc kRuntimeAccessor = ZANTnoImplementation;

ZANTproperty sFooProperties[] = {
    {0, "Bar", "Integer", 0, Proc(FooBarGet), Proc(FooBarSet), 0, {}},
    {0, "Stored", "Integer", 0, kRuntimeAccessor, kRuntimeAccessor, 4, {}},
    {0, "ReadOnly", "String", 0, Proc(FooOnlyGet), kRuntimeAccessor, 0, {}},
};
ZANTmethodDefinition sFooMethods[] = {
    {Proc(FooSize), Proc(FooSizeAssign), "Size(x As Integer)"},
    {Proc(FooSize), kRuntimeAccessor, "Count() As Integer"},
};
PluginClassRecord sFoo = {3, "Foo", nullptr, 8, 0, nullptr, nullptr, sFooProperties, 3,
                          sFooMethods, 2, nullptr, 0, nullptr, 0, nullptr, {}};
ZANTmethodDefinition sControlMethods[] = {{Proc(ControlPaint), kRuntimeAccessor, "Paint()"}};
PluginControlRecord sControl = {4, "Knob", 0, 0, {}, {}, nullptr, 0, sControlMethods, 1,
                                nullptr, 0, nullptr, 0, nullptr, 0, nullptr, {}};
ZANTmethodDefinition sGlobal = {Proc(GlobalTwice), kRuntimeAccessor, "Twice(x As Integer) As Integer"};
ZANTmethodDefinition sExtensionMethods[] = {{Proc(ExtensionHello), kRuntimeAccessor, "Hello()"}};
PluginClassRecord sExtension = {3, "_SystemClass", nullptr, 0, 0, nullptr, nullptr, nullptr, 0,
                                sExtensionMethods, 1, nullptr, 0, nullptr, 0, nullptr, {}};
ZANTmethodDefinition sModuleMethods[] = {{Proc(ModuleBeep), kRuntimeAccessor, "Beep()"}};
PluginModuleRecord sModule = {0, "Sounds", sModuleMethods, 1};

// Each list holds one record.
template <typename Loaded, typename Record>
Loaded *Listed(Record *record) {
  auto *loaded = new Loaded; // kept for the process, as registration keeps them
  loaded->record = record;
  return loaded;
}
LoadedClass &sLoadedFoo = *Listed<LoadedClass>(&sFoo);
LoadedControl &sLoadedControl = *Listed<LoadedControl>(&sControl);
LoadedClassExtension &sLoadedExtension = *Listed<LoadedClassExtension>(&sExtension);
LoadedModule &sLoadedModule = *Listed<LoadedModule>(&sModule);
LoadedMethod &sLoadedGlobal = [] () -> LoadedMethod & {
  auto *loaded = new LoadedMethod;
  loaded->definition = &sGlobal;
  return *loaded;
}();

void *Lookup(const char *key) {
  stringStorage *text = string(key).ExtractStringStorage();
  void *address = RuntimeLookupPluginEntrypoint(text);
  RuntimeUnlockString(text);
  return address;
}

class PluginEntryPointsTest : public testing::Test {
protected:
  PluginEntryPointsTest() {
    ResetPluginEntryTable();
    gLoadedClasses = &sLoadedFoo;
    gLoadedControls = &sLoadedControl;
    gLoadedMethods = &sLoadedGlobal;
    gLoadedClassExtensions = &sLoadedExtension;
    gLoadedModules = &sLoadedModule;
  }
  ~PluginEntryPointsTest() override {
    gLoadedClasses = nullptr;
    gLoadedControls = nullptr;
    gLoadedMethods = nullptr;
    gLoadedClassExtensions = nullptr;
    gLoadedModules = nullptr;
    ResetPluginEntryTable();
  }
  AlertRecorder mAlerts;
};

TEST(PluginEntrypointsTable, AllocationRefusesCountsThatDoNotFit) {
  for (int32_t count : {0, -1, 0x40000000, 0x7FFFFFFF})
    EXPECT_EQ(RuntimeAllocatePluginEntrypointsTable(count), nullptr) << count;
  void **table = RuntimeAllocatePluginEntrypointsTable(3);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table[0], nullptr);
  EXPECT_EQ(table[1], nullptr);
  EXPECT_EQ(table[2], nullptr);
  std::free(table);
}

TEST_F(PluginEntryPointsTest, RecordsGiveTheirKeys) {
  struct Case {
    const char *key;
    void (*function)();
  } cases[] = {
      {"Foo.Bar.Get", FooBarGet},
      {"Foo.Bar.Set", FooBarSet},
      {"foo.bar.get", FooBarGet},
      {"Foo.ReadOnly.Get", FooOnlyGet},
      {"Foo.Size(x As Integer)", FooSize},
      {"Foo.Size(x As Integer).Set", FooSizeAssign},
      {"Foo.Count() As Integer", FooSize},
      {"Knob.Paint()", ControlPaint},
      {"Twice(x As Integer) As Integer", GlobalTwice},
      {"_SystemClass.Hello()", ExtensionHello},
      {"Sounds.Beep()", ModuleBeep},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Lookup(c.key), reinterpret_cast<void *>(c.function)) << c.key;
  EXPECT_EQ(mAlerts.count(), 0u);

  // The runtime's own accessors and methods without an assigning form give
  // no key.
  for (const char *key : {"Foo.Stored.Get", "Foo.Stored.Set", "Foo.ReadOnly.Set",
                          "Foo.Count() As Integer.Set", "Foo.Size"})
    EXPECT_EQ(Lookup(key), nullptr) << key;
  EXPECT_EQ(mAlerts.count(), 5u);

  // Property keys also enter the runtime export table; method keys do not.
  const RelocEntry *exported = resolveRelocEntry("Foo.Bar.Get");
  ASSERT_NE(exported, nullptr);
  EXPECT_EQ(exported->address, reinterpret_cast<void *>(FooBarGet));
  EXPECT_EQ(resolveRelocEntry("Foo.Size(x As Integer)"), nullptr);
}

TEST_F(PluginEntryPointsTest, UnknownKeysAlertWithTheirName) {
  EXPECT_EQ(Lookup("Nobody.Home()"), nullptr);
  ASSERT_EQ(mAlerts.count(), 1u);
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[0], kMissingEntryPointAlert));
  EXPECT_EQ(mAlerts.alerts()[0].message, "can't find plugin method Nobody.Home()");
}

TEST_F(PluginEntryPointsTest, NoPluginsMeansEveryLookupAlerts) {
  gLoadedClasses = nullptr;
  gLoadedControls = nullptr;
  gLoadedMethods = nullptr;
  gLoadedClassExtensions = nullptr;
  gLoadedModules = nullptr;
  EXPECT_EQ(Lookup("Twice(x As Integer) As Integer"), nullptr);
  EXPECT_TRUE(mAlerts.saw("can't find plugin method Twice(x As Integer) As Integer"));
}

TEST_F(PluginEntryPointsTest, ZeroAccessorsAndMissingFunctions) {
  ZANTproperty zero[] = {{0, "Nil", "Integer", 0, nullptr, kRuntimeAccessor, 0, {}}};
  ZANTmethodDefinition none[] = {{ZANTnoImplementation, kRuntimeAccessor, "Nothing()"}};
  AddPluginPropertyEntryPoints(string("Zed"), zero, 1);
  AddPluginMethodEntryPoints(string("Zed"), none, 1);
  ASSERT_EQ(mAlerts.count(), 1u);
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[0], kNoImplementationAlert));
  // A key whose address is 0 answers like a missing one.
  EXPECT_EQ(Lookup("Zed.Nil.Get"), nullptr);
  EXPECT_TRUE(mAlerts.saw("can't find plugin method Zed.Nil.Get"));
  EXPECT_EQ(Lookup("Zed.Nothing()"), reinterpret_cast<void *>(intptr_t(-1)));

  mAlerts.clear();
  AddPluginPropertyEntryPoints(string("Zed"), nullptr, 2);
  AddPluginMethodEntryPoints(string("Zed"), nullptr, 1);
  AddPluginMethodEntryPoints(string("Zed"), nullptr, 0);
  ASSERT_EQ(mAlerts.count(), 2u);
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[0], kPropertiesAlert));
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[1], kMethodsAlert));
}

} // namespace
