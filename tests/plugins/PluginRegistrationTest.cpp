// What exists after a fixture plug-in registered one record of every kind at
// versions 1 to 4: classes, extensions, interfaces and modules only from the
// versions that admit them, global methods in both forms, controls in both
// forms at any version, data sources by name; registration after main does
// nothing.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <sstream>
#include <string>

#include "controls/ControlClasses.h"
#include "database/DatabaseInterface.h"
#include "desktop/SystemClass.h"
#include "files/FolderItemClass.h"
#include "plugins/PluginClasses.h"
#include "plugins/PluginLoader.h"
#include "plugins/PluginRegistration.h"
#include "runtime/exports/PluginRoutineLookup.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/PluginClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

namespace {

std::string ReadFile(const std::string &path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

InstanceVariable *PropertyNamed(ObjectDefinition *defn, const char *name) {
  for (InstanceVariable *p = defn ? defn->properties : nullptr; p; p = p->next)
    if (p->name.Compare(string(name)) == 0)
      return p;
  return nullptr;
}

ObjectMethod *MethodNamed(ObjectDefinition *defn, const char *name) {
  for (ObjectMethod *m = defn ? defn->methods : nullptr; m; m = m->next)
    if (m->name.Compare(string(name)) == 0)
      return m;
  return nullptr;
}

// Loads one fixture library in this process as start-up does.
class PluginRegistrationTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    addIntrinsicClass(FolderItemClass());
    addIntrinsicClass(SystemClass());
  }
  PluginRegistrationTest() {
    char pattern[] = "/tmp/pluginregXXXXXX";
    mRoot = mkdtemp(pattern);
    setenv("TMPDIR", mRoot.c_str(), 1);
  }
  ~PluginRegistrationTest() override {
    RunPluginShutDown();
    unsetenv("TMPDIR");
    std::filesystem::remove_all(mRoot);
  }

  void Load(const std::string &fixture) {
    const std::string library =
        ReadFile(std::string(PLUGIN_FIXTURES_DIR) + "/" + fixture + ".so");
    const std::string name = "lib" + fixture + ".so";
    mBytes.push_back(std::string(1, char(name.size())) + name + library);
    mResources->Add(FourCharCode("QVPl"), 128,
                    reinterpret_cast<const uint8_t *>(mBytes.back().data()),
                    uint32_t(mBytes.back().size()), 0);
    std::string reason;
    ASSERT_TRUE(InstallPluginLibrariesFrom(*mResources, reason)) << reason;
    BuildPluginClasses();
  }

  template <typename T>
  T Fixture(const char *symbol) {
    void *address = gLoadedPlugins ? dlsym(gLoadedPlugins->library, symbol) : nullptr;
    EXPECT_NE(address, nullptr) << symbol;
    return reinterpret_cast<T>(address);
  }

  std::string mRoot;
  std::list<std::string> mBytes;
  std::unique_ptr<ResourceManagerElf> mResources = std::make_unique<ResourceManagerElf>();
  AlertRecorder mAlerts;
};

TEST_F(PluginRegistrationTest, VersionsAdmitTheirRecords) {
  struct Case {
    const char *fixture;
    int32_t version;
    bool classes;            // classes and extensions: above 2
    bool interfaces;         // interfaces and modules: above 3
    const char *global;      // the global method registered, or nil
    bool oldControlMethods;  // the old control's method found its export
  } cases[] = {
      {"Registering1", 1, false, false, "Twice", true},
      {"Registering2", 2, false, false, nullptr, true},
      {"Registering3", 3, true, false, "Thrice", true},
      {"Registering4", 4, true, true, "Thrice", true},
      {"RegisteringNoExports", 1, false, false, nullptr, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.fixture);
    Load(c.fixture);
    ASSERT_NE(gLoadedPlugins, nullptr);
    EXPECT_EQ(gLoadedPlugins->version, c.version);

    ObjectDefinition *widget = FindPluginClass(string("fixturewidget"));
    EXPECT_EQ(widget != nullptr, c.classes);
    if (widget) {
      EXPECT_EQ(widget->objectSize, 32);
      EXPECT_NE(MethodNamed(widget, "Size"), nullptr);
      EXPECT_NE(getPluginRoutineToc("MFixtureWidget!size"), nullptr);
    }
    // A built-in class's name is taken.
    EXPECT_EQ(FindPluginClass(string("FolderItem")), nullptr);
    EXPECT_EQ(pluginObjectType("FolderItem"), FolderItemClass());

    // SystemClass, in any case, is renamed whatever the version.
    EXPECT_STREQ(Fixture<const char *(*)()>("FixtureExtensionName")(), "_SystemClass");
    EXPECT_EQ(gLoadedClassExtensions != nullptr, c.classes);
    if (c.classes) {
      EXPECT_STREQ(gLoadedClassExtensions->record->name, "_SystemClass");
      EXPECT_NE(getPluginRoutineToc("M_SystemClass!Hello"), nullptr);
    }

    ObjectDefinition *shape = FindPluginClass(string("FixtureShape"));
    EXPECT_EQ(shape != nullptr, c.interfaces);
    if (shape) {
      EXPECT_EQ(shape->isInterface, 1);
      EXPECT_EQ(shape->newAllowed, 0);
    }
    LoadedModule *module = nullptr;
    EXPECT_EQ(gLoadedModuleMap.GetEntry(string("fixturesounds"), &module), c.interfaces);
    if (module) {
      EXPECT_NE(MethodNamed(&module->defn, "Beep"), nullptr);
    }

    for (const char *global : {"Twice", "Thrice", "Broken"}) {
      const bool expected = c.global && std::string(global) == c.global;
      EXPECT_EQ(FindPluginGlobalMethod(string(global)) != nullptr, expected) << global;
      EXPECT_EQ(getPluginRoutineToc((std::string("M") + global).c_str()) != nullptr, expected)
          << global;
    }

    // Controls of both forms whatever the version; a first word of 2 is refused.
    ObjectDefinition *knob = FindPluginControlClass(string("FIXTUREKNOB"));
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->super, ControlClass());
    EXPECT_EQ(knob->objectSize, 112);
    EXPECT_NE(MethodNamed(knob, "Spin"), nullptr);
    ObjectDefinition *oldKnob = FindPluginControlClass(string("FixtureOldKnob"));
    ASSERT_NE(oldKnob, nullptr);
    EXPECT_EQ(oldKnob->super, RectControlClass());
    EXPECT_EQ(oldKnob->objectSize, 116);
    EXPECT_EQ(Fixture<int32_t (*)()>("FixtureOldKnobDataStart")(), 104);
    EXPECT_EQ(MethodNamed(oldKnob, "Spin") != nullptr, c.oldControlMethods);
    EXPECT_EQ(MethodNamed(oldKnob, "Stuck"), nullptr);
    InstanceVariable *turns = PropertyNamed(oldKnob, "Turns");
    InstanceVariable *label = PropertyNamed(oldKnob, "Label");
    ASSERT_NE(turns, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(turns->getter, reinterpret_cast<void *>(intGetter));
    EXPECT_EQ(turns->setter, reinterpret_cast<void *>(intSetter));
    EXPECT_EQ(turns->param, 108);
    EXPECT_EQ(label->getter, reinterpret_cast<void *>(stringGetter));
    EXPECT_EQ(label->param, 112);
    EXPECT_EQ(FindPluginControlClass(string("FixtureFormTwo")), nullptr);

    EXPECT_EQ(mAlerts.count(), 0u);
    RunPluginShutDown();
    mResources = std::make_unique<ResourceManagerElf>();
  }
}

TEST_F(PluginRegistrationTest, DataSourcesAnswerByNameInAnyCase) {
  Load("Registering1");
  char data[] = "connection";
  for (const char *name : {"FixtureSource", "FIXTURESOURCE", "fixturesource"}) {
    stringStorage *engine = string(name).ExtractStringStorage();
    EXPECT_EQ(connectDatabase(engine, data, 7), Fixture<void *(*)()>("FixtureDatabase")()) << name;
    RuntimeUnlockString(engine);
  }
  EXPECT_EQ(Fixture<int32_t (*)()>("FixtureConnectedLength")(), 7);
  EXPECT_EQ(pluginConnectDatabase(string("NoSuchSource"), data, 7), nullptr);
}

TEST_F(PluginRegistrationTest, CallsOutsideAPluginsMainChangeNothing) {
  Load("Registering3");
  LoadedClass *classes = gLoadedClasses;
  LoadedControl *controls = gLoadedControls;
  LoadedMethod *methods = gLoadedMethods;
  LoadedModule *modules = gLoadedModules;
  LoadedDataSource *sources = gLoadedDataSources;
  Fixture<void (*)()>("FixtureRegisterLate")();
  EXPECT_EQ(gLoadedPlugins->version, 3);
  EXPECT_EQ(gLoadedClasses, classes);
  EXPECT_EQ(gLoadedControls, controls);
  EXPECT_EQ(gLoadedMethods, methods);
  EXPECT_EQ(gLoadedModules, modules);
  EXPECT_EQ(gLoadedDataSources, sources);
  EXPECT_EQ(FindPluginClass(string("FixtureLate")), nullptr);
}

} // namespace
