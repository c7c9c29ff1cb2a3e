#include "TestReceivers.h"

#include <iterator>

#include "ControlWindowFixture.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

std::string Id(RuntimeObject *o) {
  return "R" + std::to_string(reinterpret_cast<TestReceiverObject *>(o)->id);
}

void Told(RuntimeObject *o, const std::string &what) {
  ControlLog().push_back(what);
  if (OnTold())
    OnTold()(o);
}

void ReceiverDataChanged(RuntimeObject *o) { Told(o, "dataChanged " + Id(o)); }
void ReceiverPerformAction(RuntimeObject *o) { Told(o, "PerformAction " + Id(o)); }
void ReceiverSetString(RuntimeObject *o, stringStorage *text) {
  Told(o, "setString " + Id(o) + " " + (text ? stringStorage::CString(text) : "(nil)"));
}

TestProviderObject *AsProvider(RuntimeObject *o) {
  return reinterpret_cast<TestProviderObject *>(o);
}
stringStorage *ProviderGetString(RuntimeObject *o) {
  return RuntimeLockString(AsProvider(o)->text);
}
int32_t ProviderGetBoolean(RuntimeObject *o) { return AsProvider(o)->value; }
void ProviderSetBoolean(RuntimeObject *o, int32_t v) { AsProvider(o)->value = v; }
int32_t ProviderDataAvailable(RuntimeObject *o) { return AsProvider(o)->available; }
void ProviderAdd(RuntimeObject *o, RuntimeObject *r) { AsProvider(o)->receivers.AddHandler(r); }
void ProviderRemove(RuntimeObject *o, RuntimeObject *r) {
  AsProvider(o)->receivers.RemoveHandler(r);
}
void ProviderConstructor(RuntimeObject *o) { AsProvider(o)->available = 1; }
void ProviderDestructor(RuntimeObject *o) {
  AsProvider(o)->receivers.Clear();
  RuntimeUnlockString(AsProvider(o)->text);
  AsProvider(o)->text = nullptr;
}

#define CODE(f) reinterpret_cast<void *>(f), #f

MethodParameter sText[] = {{"Str", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sValue[] = {{"value", &booleanType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sReceiver[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};

} // namespace

std::function<void(RuntimeObject *)> &OnTold() {
  static std::function<void(RuntimeObject *)> hook;
  return hook;
}

ObjectDefinition *TestReceiverClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  // Declared in the case compiled code would use; the notifiers ask by
  // other cases.
  PropertyMethod methods[] = {
      {"dataChanged", nullptr, nullptr, 0, {{CODE(ReceiverDataChanged), {}}, {}}, 0, 0, 0},
      {"PerformAction", nullptr, nullptr, 0, {{CODE(ReceiverPerformAction), {}}, {}}, 0, 0, 0},
      {"setString", nullptr, sText, 1, {{CODE(ReceiverSetString), {}}, {}}, 0, 0, 0},
  };
  defn.className = string("TestReceiver");
  defn.objectSize = sizeof(TestReceiverObject);
  defn.staticTables = 1;
  defn.methods = FillMethods(methods, std::size(methods));
  defn.addInterface(DataNotificationReceiverClass());
  defn.addInterface(ActionNotificationReceiverClass());
  defn.addInterface(StringInterfaceClass());
  return &defn;
}

ObjectDefinition *TestProviderClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sReceiver[0].type = DataNotificationReceiverClass()->AsType();
  PropertyMethod methods[] = {
      {"getString", &stringType.type, nullptr, 0, {{CODE(ProviderGetString), {}}, {}}, 0, 0, 0},
      {"getBoolean", &booleanType.type, nullptr, 0, {{CODE(ProviderGetBoolean), {}}, {}}, 0, 0,
       0},
      {"setBoolean", nullptr, sValue, 1, {{CODE(ProviderSetBoolean), {}}, {}}, 0, 0, 0},
      {"dataAvailable", &booleanType.type, nullptr, 0, {{CODE(ProviderDataAvailable), {}}, {}},
       0, 0, 0},
      {"addDataNotificationReceiver", nullptr, sReceiver, 1, {{CODE(ProviderAdd), {}}, {}}, 0, 0,
       0},
      {"removeDataNotificationReceiver", nullptr, sReceiver, 1, {{CODE(ProviderRemove), {}}, {}},
       0, 0, 0},
  };
  defn.className = string("TestProvider");
  defn.objectSize = sizeof(TestProviderObject);
  defn.staticTables = 1;
  defn.constructor = ProviderConstructor;
  defn.destructor = ProviderDestructor;
  defn.methods = FillMethods(methods, std::size(methods));
  defn.addInterface(StringProviderClass());
  defn.addInterface(BooleanProviderClass());
  defn.addInterface(DataAvailableProviderClass());
  defn.addInterface(DataNotifierClass());
  return &defn;
}

RuntimeObject *NewReceiver(int32_t id) {
  RuntimeObject *o = CreateInstance(TestReceiverClass());
  reinterpret_cast<TestReceiverObject *>(o)->id = id;
  return o;
}

void SetProviderText(RuntimeObject *provider, const char *text) {
  TestProviderObject *p = AsProvider(provider);
  RuntimeUnlockString(p->text);
  p->text = nullptr;
  if (text) {
    string s(text);
    p->text = RuntimeLockString(s.Storage());
  }
}

void ProviderChanged(RuntimeObject *provider) { AsProvider(provider)->receivers.DataChanged(); }
