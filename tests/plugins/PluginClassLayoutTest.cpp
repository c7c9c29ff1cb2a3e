// Classes built from hand-made plug-in records: instance sizes and data
// starts, superclass order and cycles, property accessors by type, methods,
// events with duplicate names, and interface lists.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "controls/ControlClasses.h"
#include "plugins/PluginClasses.h"
#include "plugins/PluginLoader.h"
#include "plugins/PluginRegistration.h"
#include "runtime/objects/PluginClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "support/AlertRecorder.h"

namespace {

const ZANTproc kRuntime = ZANTnoImplementation;

InstanceVariable *PropertyNamed(ObjectDefinition *defn, const char *name) {
  for (InstanceVariable *p = defn ? defn->properties : nullptr; p; p = p->next)
    if (p->name.Compare(string(name)) == 0)
      return p;
  return nullptr;
}

template <typename F>
void *Code(F *function) {
  return reinterpret_cast<void *>(function);
}

PluginClassRecord ClassRecord(const char *name, const char *super, int32_t size) {
  PluginClassRecord record{};
  record.version = 4;
  record.name = name;
  record.superName = super;
  record.dataSize = size;
  return record;
}

// Registers records as one plug-in's main of version 4 would, then builds
// the classes as start-up does.
class PluginClassLayoutTest : public testing::Test {
protected:
  PluginClassLayoutTest() {
    mPlugin = new LoadedPlugin; // sets loadingPlugin; kept, as loaded plug-ins are
    mPlugin->version = 4;
    mPlugin->path = string("/plugins/layout.so");
  }
  ~PluginClassLayoutTest() override {
    loadingPlugin = nullptr;
    RunPluginShutDown();
  }
  void Build() {
    loadingPlugin = nullptr;
    BuildPluginClasses();
  }
  ObjectDefinition *Class(const char *name) { return FindPluginClass(string(name)); }

  LoadedPlugin *mPlugin;
  AlertRecorder mAlerts;
};

TEST_F(PluginClassLayoutTest, SizesAndDataStarts) {
  PluginClassRecord alone = ClassRecord("Alone", nullptr, 8);
  PluginClassRecord empty = ClassRecord("EmptySuper", "", 8);
  PluginClassRecord lost = ClassRecord("Lost", "NoSuchClass", 8);
  // B before its superclass A.
  PluginClassRecord b = ClassRecord("B", "a", 4);
  PluginClassRecord a = ClassRecord("A", nullptr, 8);
  PluginClassRecord c = ClassRecord("C", "B", 0);
  for (PluginClassRecord *record : {&alone, &empty, &lost, &b, &a, &c})
    PluginRegisterClass(record);
  PluginControlRecord control{};
  control.version = 4;
  control.name = "Dial";
  control.dataSize = 8;
  PluginRegisterControl(&control);
  Build();

  struct Case {
    const char *name;
    PluginClassRecord *record;
    int32_t size, start;
    const char *super;
  } cases[] = {
      {"Alone", &alone, 32, 24, nullptr}, {"EmptySuper", &empty, 32, 24, nullptr},
      {"Lost", &lost, 32, 24, nullptr},   {"A", &a, 32, 24, nullptr},
      {"B", &b, 36, 32, "A"},             {"C", &c, 36, 36, "B"},
  };
  for (const Case &k : cases) {
    ObjectDefinition *defn = Class(k.name);
    ASSERT_NE(defn, nullptr) << k.name;
    EXPECT_EQ(defn->objectSize, k.size) << k.name;
    EXPECT_EQ(k.record->dataOffset, k.start) << k.name;
    EXPECT_EQ(defn->super, k.super ? Class(k.super) : nullptr) << k.name;
  }
  ObjectDefinition *dial = FindPluginControlClass(string("dial"));
  ASSERT_NE(dial, nullptr);
  EXPECT_EQ(dial->objectSize, 112);
  EXPECT_EQ(control.dataOffset, 104);
  EXPECT_EQ(dial->super, RectControlClass());
  EXPECT_EQ(mAlerts.count(), 0u);
}

TEST_F(PluginClassLayoutTest, ASuperclassCycleEnds) {
  PluginClassRecord x = ClassRecord("X", "Y", 4);
  PluginClassRecord y = ClassRecord("Y", "X", 4);
  PluginClassRecord self = ClassRecord("Self", "Self", 4);
  PluginRegisterClass(&x);
  PluginRegisterClass(&y);
  PluginRegisterClass(&self);
  Build();
  // Y (newest) is built first: X, met while Y's chain is built, gets none.
  EXPECT_EQ(Class("X")->super, nullptr);
  EXPECT_EQ(x.dataOffset, 24);
  EXPECT_EQ(Class("Y")->super, Class("X"));
  EXPECT_EQ(y.dataOffset, 28);
  EXPECT_EQ(Class("Self")->super, nullptr);
  EXPECT_EQ(self.dataOffset, 24);
}

TEST_F(PluginClassLayoutTest, PropertyAccessorsByType) {
  ZANTproc getter = reinterpret_cast<ZANTproc>(&intGetter); // any plug-in function
  ZANTproperty properties[] = {
      {0, "I", "Integer", 0, kRuntime, kRuntime, 0, {}},
      {0, "C", "color", 0, kRuntime, kRuntime, 4, {}},
      {0, "D", "Double", 0x2, kRuntime, kRuntime, 8, {}},
      {0, "S", "Single", 0, kRuntime, kRuntime, 16, {}},
      {0, "T", "String", 0, kRuntime, kRuntime, 20, {}},
      {0, "B", "Boolean", 0, kRuntime, kRuntime, 24, {}},
      {0, "O", "Base", 0, kRuntime, kRuntime, 28, {}},
      {0, "Own", "Integer", 0, getter, nullptr, 0, {}},
      {0, "Lost", "Gadget", 0, kRuntime, kRuntime, 0, {}},
  };
  PluginClassRecord base = ClassRecord("Base", nullptr, 8);
  PluginClassRecord derived = ClassRecord("Derived", "Base", 32);
  derived.properties = properties;
  derived.propertyCount = int32_t(std::size(properties));
  PluginRegisterClass(&derived);
  PluginRegisterClass(&base);
  Build();
  ObjectDefinition *defn = Class("Derived");
  ASSERT_NE(defn, nullptr);
  ASSERT_EQ(derived.dataOffset, 32);

  struct Case {
    const char *name;
    void *getter, *setter;
    int32_t param;
  } cases[] = {
      {"I", Code(intGetter), Code(intSetter), 32},
      {"C", Code(intGetter), Code(intSetter), 36},
      {"D", Code(doubleGetter), Code(doubleSetter), 40},
      {"S", Code(singleGetter), Code(singleSetter), 48},
      {"T", Code(stringGetter), Code(stringSetter), 52},
      {"B", Code(boolGetter), Code(boolSetter), 56},
      {"O", Code(objGetter), Code(objSetter), 60},
      {"Own", Code(intGetter), nullptr, 0},
  };
  for (const Case &c : cases) {
    InstanceVariable *p = PropertyNamed(defn, c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->getter, c.getter) << c.name;
    EXPECT_EQ(p->setter, c.setter) << c.name;
    EXPECT_EQ(p->param, c.param) << c.name;
    EXPECT_EQ(p->propertyKind, kUnnumberedPropertyKind) << c.name;
  }
  EXPECT_EQ(PropertyNamed(defn, "Lost"), nullptr);
  for (const ZANTproperty &p : properties)
    EXPECT_TRUE(p.flags & kPropertyRead) << p.name;
  EXPECT_EQ(PropertyNamed(defn, "D")->flags, 0x2001);
  EXPECT_EQ(PropertyNamed(defn, "I")->flags, 0x2000);

  // A Double travels whole through the accessors chosen for it.
  std::vector<uint8_t> instance(size_t(defn->objectSize), 0);
  auto *object = reinterpret_cast<RuntimeObject *>(instance.data());
  InstanceVariable *d = PropertyNamed(defn, "D");
  reinterpret_cast<void (*)(RuntimeObject *, int32_t, double)>(d->setter)(object, d->param, 1.5);
  EXPECT_EQ(reinterpret_cast<double (*)(RuntimeObject *, int32_t)>(d->getter)(object, d->param),
            1.5);
  double stored = 0;
  std::memcpy(&stored, instance.data() + 40, sizeof stored);
  EXPECT_EQ(stored, 1.5);
}

TEST_F(PluginClassLayoutTest, ControlPropertiesThatRedraw) {
  ZANTproperty properties[] = {
      {0, "I", "Integer", 0x1, kRuntime, kRuntime, 0, {}},
      {0, "T", "String", 0x1, kRuntime, kRuntime, 4, {}},
      {0, "B", "Boolean", 0x1, kRuntime, kRuntime, 8, {}},
      {0, "O", "Dial", 0x1, kRuntime, kRuntime, 12, {}},
      {0, "D", "Double", 0x1, kRuntime, kRuntime, 16, {}},
      {0, "Quiet", "Integer", 0, kRuntime, kRuntime, 24, {}},
  };
  PluginControlRecord control{};
  control.version = 4;
  control.name = "Dial";
  control.dataSize = 28;
  control.flags = kControlDerivesFromControl;
  PluginRegisterControl(&control);
  ObjectDefinition *defn = FindPluginControlClass(string("Dial"));
  ASSERT_NE(defn, nullptr);
  EXPECT_EQ(defn->super, ControlClass());
  // Properties naming the control itself are built once it is mapped.
  for (ZANTproperty &p : properties)
    BuildClassProperty(mPlugin, defn, &p, true, kPluginControlDataStart);
  struct Case {
    const char *name;
    void *setter;
    int32_t param;
  } cases[] = {
      {"I", Code(intInvalidateSetter), 104},   {"T", Code(stringInvalidateSetter), 108},
      {"B", Code(boolInvalidateSetter), 112},  {"O", Code(objInvalidateSetter), 116},
      {"D", Code(doubleSetter), 120},          {"Quiet", Code(intSetter), 128},
  };
  for (const Case &c : cases) {
    InstanceVariable *p = PropertyNamed(defn, c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->setter, c.setter) << c.name;
    EXPECT_EQ(p->param, c.param) << c.name;
  }
}

TEST_F(PluginClassLayoutTest, MethodsEventsAndHandlers) {
  ZANTmethodDefinition methods[] = {
      {reinterpret_cast<ZANTproc>(&intSetter), nullptr, "Function Name(x As Integer) As String"},
      {reinterpret_cast<ZANTproc>(&intGetter), nullptr, "Broken(x)"},
  };
  ZANTevent events[] = {{"Changed()", nullptr}, {"changed(x As Integer)", nullptr},
                        {"Bad(", nullptr}};
  PluginEventInstance handlers[] = {{"Open", reinterpret_cast<ZANTproc>(&intGetter)}};
  PluginClassRecord record = ClassRecord("Eventful", nullptr, 0);
  record.methods = methods;
  record.methodCount = 2;
  record.events = events;
  record.eventCount = 3;
  record.eventInstances = handlers;
  record.eventInstanceCount = 1;
  PluginRegisterClass(&record);
  testing::internal::CaptureStderr();
  Build();
  const std::string refused = testing::internal::GetCapturedStderr();
  ObjectDefinition *defn = Class("Eventful");
  ASSERT_NE(defn, nullptr);
  // Refused declarations are dropped and reported with the plug-in's path.
  EXPECT_NE(refused.find("Invalid plugin method format in /plugins/layout.so:\r\rBroken(x)\n"),
            std::string::npos)
      << refused;
  EXPECT_NE(refused.find("Invalid plugin method format in /plugins/layout.so:\r\rBad(\n"),
            std::string::npos)
      << refused;

  ASSERT_NE(defn->methods, nullptr);
  EXPECT_EQ(defn->methods->next, nullptr);
  auto *method = static_cast<CustomControlObjectMethod *>(defn->methods);
  EXPECT_STREQ(method->name.CString(), "Name");
  EXPECT_STREQ(method->paramText.CString(), "x As Integer");
  EXPECT_STREQ(method->returnText.CString(), "String");
  EXPECT_EQ(method->method.implementation[0].code, Code(intSetter));
  EXPECT_EQ(method->plugin, mPlugin);
  EXPECT_EQ(method->definition, &methods[0]);

  // Both events of one name are kept, in record order, after one alert.
  ASSERT_EQ(mAlerts.count(), 1u);
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[0], kDuplicateEventAlert));
  EXPECT_EQ(mAlerts.alerts()[0].message, std::string(kDuplicateEventMessage) + "Changed");
  ASSERT_NE(defn->hooks, nullptr);
  ASSERT_NE(defn->hooks->next, nullptr);
  EXPECT_EQ(defn->hooks->next->next, nullptr);
  EXPECT_EQ(events[0].built, defn->hooks);
  EXPECT_EQ(events[1].built, defn->hooks->next);
  EXPECT_EQ(defn->hooks->next->paramCount, 1);
  EXPECT_EQ(events[2].built, nullptr);

  ASSERT_NE(defn->hookInstances, nullptr);
  EXPECT_STREQ(defn->hookInstances->name.CString(), "Open");
}

TEST_F(PluginClassLayoutTest, InterfaceListsAreSplitAtCommasOnly) {
  ZANTmethodDefinition area[] = {{reinterpret_cast<ZANTproc>(&intGetter), nullptr, "Area() As Double"}};
  PluginInterfaceRecord first{4, "First", area, 1};
  PluginInterfaceRecord second{4, "Second", area, 1};
  PluginRegisterInterface(&first);
  PluginRegisterInterface(&second);
  PluginClassRecord plain = ClassRecord("Plain", nullptr, 0);
  PluginClassRecord tight = ClassRecord("Tight", nullptr, 0);
  tight.interfaces = "First,Second,Plain,Nobody";
  PluginClassRecord spaced = ClassRecord("Spaced", nullptr, 0);
  spaced.interfaces = "First, Second";
  for (PluginClassRecord *record : {&plain, &tight, &spaced})
    PluginRegisterClass(record);
  Build();
  auto names = [](ObjectDefinition *defn) {
    std::vector<std::string> found;
    for (ObjectDefinitionInterface *i = defn->interfaces; i; i = i->next)
      found.push_back(i->interface->className.CString());
    return found;
  };
  EXPECT_EQ(names(Class("Tight")), (std::vector<std::string>{"Second", "First"}));
  EXPECT_EQ(names(Class("Spaced")), (std::vector<std::string>{"First"}));
  EXPECT_EQ(Class("First")->isInterface, 1);
  EXPECT_NE(Class("First")->methods, nullptr);
}

TEST_F(PluginClassLayoutTest, BuildingWhileAPluginLoadsAlerts) {
  PluginClassRecord record = ClassRecord("Early", nullptr, 0);
  PluginRegisterClass(&record);
  BuildPluginClasses(); // loadingPlugin is still set
  ASSERT_EQ(mAlerts.count(), 1u);
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[0], kLoadingPluginAlert));
  EXPECT_EQ(record.dataOffset, 24);
}

TEST_F(PluginClassLayoutTest, AnObjectOfNoPluginControlAlertsAndIsLeftAlone) {
  std::vector<uint8_t> instance(kPluginControlDataStart, 0);
  auto *object = reinterpret_cast<RuntimeObject *>(instance.data());
  PluginControlInitializer(object);
  ASSERT_EQ(mAlerts.count(), 1u);
  EXPECT_TRUE(ShownAt(mAlerts.alerts()[0], kControlDefinitionAlert));
  void *word = nullptr;
  std::memcpy(&word, instance.data() + kPluginControlDefinitionWord, sizeof word);
  EXPECT_EQ(word, nullptr);
}

} // namespace
