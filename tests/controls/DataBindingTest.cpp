// The notifier lists and the binders, with providers and receivers built as
// compiled classes would be: the order receivers are told in, lists that
// change while they are told, and what each binder writes where.
#include <gtest/gtest.h>

#include "ControlWindowFixture.h"
#include "TestReceivers.h"
#include "controls/ControlEntryPoints.h"
#include "controls/DataBinders.h"
#include "controls/CheckBoxClass.h"
#include "controls/GroupBoxClass.h"
#include "controls/PushButtonClass.h"
#include "controls/RadioButtonClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/ClassTableChecks.h"
#include "windows/WindowsTestSupport.h"

void CreateDataBindClasses();

namespace {

using Strings = std::vector<std::string>;

class DataBinding : public testing::Test {
protected:
  void SetUp() override {
    ControlLog().clear();
    OnTold() = nullptr;
    provider = CreateInstance(TestProviderClass());
  }
  void TearDown() override {
    OnTold() = nullptr;
    RuntimeUnlockObject(provider);
    for (RuntimeObject *o : held)
      RuntimeUnlockObject(o);
  }
  RuntimeObject *Held(RuntimeObject *o) {
    held.push_back(o);
    return o;
  }
  void Add(RuntimeObject *r) { reinterpret_cast<TestProviderObject *>(provider)->receivers.AddHandler(r); }
  void Remove(RuntimeObject *r) {
    reinterpret_cast<TestProviderObject *>(provider)->receivers.RemoveHandler(r);
  }
  RuntimeObject *provider = nullptr;
  std::vector<RuntimeObject *> held;
};

TEST_F(DataBinding, ReceiversAreToldNewestFirstByANameThatIgnoresCaseOncePerRegistration) {
  RuntimeObject *r1 = Held(NewReceiver(1));
  RuntimeObject *r2 = Held(NewReceiver(2));
  Add(r1);
  Add(r2);
  Add(r1);
  ProviderChanged(provider); // asks "DataChanged" of receivers declaring "dataChanged"
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1", "dataChanged R2", "dataChanged R1"}));
  ControlLog().clear();
  Remove(r1);
  ProviderChanged(provider);
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R2", "dataChanged R1"}));
  EXPECT_EQ(r1->refCount, 2) << "the list holds one reference per registration";
}

// Each receiver here is held by the list alone, so a removal frees it.
TEST_F(DataBinding, AReceiverRemovingItselfAndALaterOneMidWalkLeavesTheLaterOneUntold) {
  RuntimeObject *r[4] = {};
  for (int i = 3; i >= 1; --i) {
    r[i] = NewReceiver(i);
    Add(r[i]);
    RuntimeUnlockObject(r[i]);
  }
  OnTold() = [&](RuntimeObject *told) {
    if (told == r[1]) {
      Remove(r[2]);
      Remove(r[1]);
    }
  };
  ProviderChanged(provider);
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1", "dataChanged R3"}));
  OnTold() = nullptr;
  ControlLog().clear();
  ProviderChanged(provider);
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R3"}));
}

TEST_F(DataBinding, AProviderGoingWhileItsListIsToldEndsTheWalkSafely) {
  RuntimeObject *r1 = Held(NewReceiver(1));
  RuntimeObject *r2 = Held(NewReceiver(2));
  Add(r2);
  Add(r1);
  RuntimeObject *going = provider;
  provider = nullptr;
  OnTold() = [&](RuntimeObject *) { RuntimeUnlockObject(going), going = nullptr; };
  // The walk's own list: taken before the first receiver runs.
  reinterpret_cast<TestProviderObject *>(going)->receivers.DataChanged();
  EXPECT_EQ(ControlLog(), (Strings{"dataChanged R1"}))
      << "the provider's Clear removed R2 before its turn";
  EXPECT_EQ(going, nullptr);
}

class Binders : public ControlWindow {
protected:
  void TearDown() override {
    for (RuntimeObject *o : held)
      RuntimeUnlockObject(o);
    ControlWindow::TearDown();
  }
  RuntimeObject *Held(RuntimeObject *o) {
    held.push_back(o);
    return o;
  }
  RuntimeObject *Provider(int32_t value, const char *text = nullptr, int32_t available = 1) {
    RuntimeObject *p = Held(CreateInstance(TestProviderClass()));
    reinterpret_cast<TestProviderObject *>(p)->value = value;
    reinterpret_cast<TestProviderObject *>(p)->available = available;
    SetProviderText(p, text);
    return p;
  }
  void Set(RuntimeObject *p, int32_t value, const char *text = nullptr) {
    reinterpret_cast<TestProviderObject *>(p)->value = value;
    SetProviderText(p, text);
    ProviderChanged(p);
  }
  std::vector<RuntimeObject *> held;
};

TEST_F(Binders, AnEnablingBinderFollowsItsSourceAndLeavesTheFirstWhenBoundAgain) {
  Open();
  RuntimeObject *target = Add("Target", kNotInControlArray, 10, 10, 40, 20);
  RuntimeObject *first = Provider(0);
  RuntimeObject *second = Provider(1);
  RuntimeObject *binder = Held(CreateInstance(EnablingBinderClass()));
  enablingBinderBind(binder, first, target);
  EXPECT_EQ(controlEnabledGetter(target, 0), 0);
  Set(first, 1);
  EXPECT_EQ(controlEnabledGetter(target, 0), 1);

  enablingBinderBind(binder, second, target);
  Set(first, 0);
  EXPECT_EQ(controlEnabledGetter(target, 0), 1) << "the first source no longer reaches it";
  Set(second, 0);
  EXPECT_EQ(controlEnabledGetter(target, 0), 0);
}

// The Enabled byte of a control lies past the end of this small object:
// under AddressSanitizer a write there fails the test.
TEST_F(Binders, AnEnablingBinderWritesNothingIntoADestThatIsNoControl) {
  RuntimeObject *receiver = Held(NewReceiver(1));
  RuntimeObject *binder = Held(CreateInstance(EnablingBinderClass()));
  enablingBinderBind(binder, Provider(1), receiver);
  EXPECT_EQ(reinterpret_cast<TestReceiverObject *>(receiver)->id, 1);
  EXPECT_EQ(receiver->refCount, 2) << "held by the test and the binder";
}

TEST_F(Binders, AStringBinderPassesTextAndEnablesAControlDestAsTheSourceHasData) {
  Open();
  RuntimeObject *receiver = Held(NewReceiver(5));
  RuntimeObject *source = Provider(0, "first");
  RuntimeObject *binder = Held(CreateInstance(StringBinderClass()));
  stringBinderBind(binder, source, receiver);
  Set(source, 0, "second");
  EXPECT_EQ(ControlLog(), (Strings{"setString R5 first", "setString R5 second"}));

  // A control dest without setString is still enabled as the data says.
  RuntimeObject *target = Add("Target", kNotInControlArray, 10, 10, 40, 20);
  RuntimeObject *binder2 = Held(CreateInstance(StringBinderClass()));
  reinterpret_cast<TestProviderObject *>(source)->available = 0;
  stringBinderBind(binder2, source, target);
  EXPECT_EQ(controlEnabledGetter(target, 0), 0);
  reinterpret_cast<TestProviderObject *>(source)->available = 1;
  ProviderChanged(source);
  EXPECT_EQ(controlEnabledGetter(target, 0), 1);
}

TEST_F(Binders, ABinderForgetsASourceThatWentAndHoldsItsDest) {
  RuntimeObject *receiver = Held(NewReceiver(5));
  RuntimeObject *source = CreateInstance(TestProviderClass());
  RuntimeObject *binder = Held(CreateInstance(StringBinderClass()));
  stringBinderBind(binder, source, receiver);
  EXPECT_EQ(receiver->refCount, 2) << "the binder holds its dest";
  RuntimeUnlockObject(source);
  EXPECT_EQ(reinterpret_cast<BinderObject *>(binder)->source, nullptr);
  // Bound anew, it asks nothing of the source that went.
  stringBinderBind(binder, Provider(0, "new"), receiver);
  EXPECT_EQ(ControlLog().back(), "setString R5 new");
}

void OnButtonAction(RuntimeObject *) { ControlLog().push_back("Action Button"); }

TEST_F(Binders, AnActionBinderMakesAPushButtonTellItsDestBeforeItsActionEvent) {
  static ObjectDefinition button;
  if (button.className.IsEmpty()) {
    button.className = string("TestButton");
    button.super = PushButtonClass();
    button.objectSize = kPushButtonInstanceSize;
    button.staticTables = 1;
    HandleInClass(button, "Action", reinterpret_cast<void *>(OnButtonAction));
  }
  Open();
  RuntimeObject *b = AddOf(&button, "Button", 10, 10, 80, 24);
  actionBinderBind(nullptr, b, Held(NewReceiver(3)));
  actionBinderBind(nullptr, Held(NewReceiver(4)), b); // no actionSource: nothing
  pushButtonPush(b);
  EXPECT_EQ(ControlLog(), (Strings{"PerformAction R3", "Action Button"}));
}

// The classes as start-up registers them: by name, converted without an
// alert, each control and part implementing its interfaces, its methods
// bound under their export names.
TEST(DataBindingClasses, RegisterAndConvertWithoutAlertsAndImplementTheirInterfaces) {
  AlertRecorder alerts;
  CreateDataBindClasses();
  for (const char *name : {"StringProvider", "BooleanProvider", "dataNotificationReceiver",
                           "actionSource", "tupleInterface", "enablingBinder", "stringBinder",
                           "listBinder", "bindingPartInterface"}) {
    ObjectDefinition *defn = getIntrinsicClass(string(name));
    ASSERT_NE(defn, nullptr) << name;
    EXPECT_NE(LookupObjectDefinition(defn), nullptr) << name;
  }
  DisposeIntrinsicClassMap();
  struct Implementer {
    ObjectDefinition *(*cls)();
    int32_t size;
    std::vector<ObjectDefinition *(*)()> interfaces;
  } implementers[] = {
      {CheckBoxClass, 148, {BooleanProviderClass, DataNotifierClass, BindingPartInterfaceClass}},
      {CheckBoxActionClass, 32, {ActionSourceClass}},
      {RadioButtonClass, 132, {BindingPartInterfaceClass}},
      {RadioButtonActionClass, 32, {ActionSourceClass}},
      {PushButtonClass, 128, {ActionSourceClass}},
      {GroupBoxClass, 116, {}},
      {EnablingBinderClass, 32, {BindingInterfaceClass, DataNotificationReceiverClass}},
      {ActionBinderClass, 32, {BindingInterfaceClass}},
  };
  for (const Implementer &i : implementers) {
    ObjectDefinition *defn = i.cls();
    RuntimeClass *cls = LookupObjectDefinition(defn);
    ASSERT_NE(cls, nullptr) << defn->className.CString();
    EXPECT_EQ(cls->instanceSize, i.size) << defn->className.CString();
    ExpectMethodsBound(defn);
    for (auto iface : i.interfaces) {
      RuntimeClass *ic = LookupObjectDefinition(iface());
      bool found = false;
      for (int32_t k = 0; k < cls->interfaceCount; ++k)
        found = found || (cls->interfaces[k].interfaceClass == ic && cls->interfaces[k].vtable);
      EXPECT_TRUE(found) << defn->className.CString() << " " << iface()->className.CString();
    }
  }
  EXPECT_EQ(alerts.count(), 0u);
}

} // namespace
