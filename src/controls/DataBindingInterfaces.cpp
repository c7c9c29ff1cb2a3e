// The interfaces of data binding: providers, receivers and notifiers that
// objects implement so that binders can tie them together by name alone.
#include <algorithm>
#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/DataBindingServices.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

// One parameter of a type filled when the interface is built.
struct Parameter {
  MethodParameter row[1];
  explicit Parameter(const char *name, PropertyType *type = nullptr)
      : row{{name, type, 0, {}, 0, {}, 0, {}}} {}
};

PropertyMethod Method(const char *name, PropertyType *result = nullptr,
                      MethodParameter *param = nullptr) {
  return PropertyMethod{name, result, param, param ? 1 : 0, {}, 0, 0, 0};
}

// Builds the interface once. The items copy the rows; parameter lists stay.
template <size_t N>
ObjectDefinition *Interface(ObjectDefinition &defn, const char *name,
                            const PropertyMethod (&methods)[N]) {
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string(name);
  defn.isInterface = 1;
  defn.objectSize = sizeof(RuntimeObject);
  defn.staticTables = 1;
  PropertyMethod rows[N];
  std::copy(std::begin(methods), std::end(methods), rows);
  defn.methods = FillMethods(rows, static_cast<int>(N));
  return &defn;
}

// A receiver interface's builder as the parameter type of its notifier.
MethodParameter *ReceiverParameter(ObjectDefinition *(*receiver)()) {
  return (new Parameter("receiver", receiver()->AsType()))->row;
}

} // namespace

ObjectDefinition *StringProviderClass() {
  static ObjectDefinition defn;
  return Interface(defn, "StringProvider", {Method("getString", &stringType.type)});
}

ObjectDefinition *StringInterfaceClass() {
  static ObjectDefinition defn;
  static Parameter str("Str", &stringType.type);
  return Interface(defn, "StringInterface", {Method("setString", nullptr, str.row)});
}

ObjectDefinition *ListInterfaceClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static Parameter data("data", ListDataProviderClass()->AsType());
  return Interface(defn, "ListInterface", {Method("BindList", nullptr, data.row)});
}

ObjectDefinition *BooleanProviderClass() {
  static ObjectDefinition defn;
  static Parameter value("value", &booleanType.type);
  return Interface(defn, "BooleanProvider",
                   {Method("getBoolean", &booleanType.type), Method("setBoolean", nullptr, value.row)});
}

ObjectDefinition *ActionSourceClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  MethodParameter *receiver = ReceiverParameter(ActionNotificationReceiverClass);
  return Interface(defn, "actionSource",
                   {Method("addActionNotificationReceiver", nullptr, receiver),
                    Method("removeActionNotificationReceiver", nullptr, receiver)});
}

ObjectDefinition *ActionNotificationReceiverClass() {
  static ObjectDefinition defn;
  return Interface(defn, "actionNotificationReceiver", {Method("PerformAction")});
}

ObjectDefinition *DataAvailableProviderClass() {
  static ObjectDefinition defn;
  return Interface(defn, "DataAvailableProvider", {Method("dataAvailable", &booleanType.type)});
}

ObjectDefinition *DataNotifierClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  MethodParameter *receiver = ReceiverParameter(DataNotificationReceiverClass);
  return Interface(defn, "dataNotifier",
                   {Method("addDataNotificationReceiver", nullptr, receiver),
                    Method("removeDataNotificationReceiver", nullptr, receiver)});
}

ObjectDefinition *DataNotificationReceiverClass() {
  static ObjectDefinition defn;
  return Interface(defn, "dataNotificationReceiver", {Method("dataChanged")});
}

ObjectDefinition *ListSelectionNotifierClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  MethodParameter *receiver = ReceiverParameter(ListSelectionNotificationReceiverClass);
  return Interface(defn, "listSelectionNotifier",
                   {Method("addListSelectionNotificationReceiver", nullptr, receiver),
                    Method("removeListSelectionNotificationReceiver", nullptr, receiver)});
}

ObjectDefinition *ListSelectionNotificationReceiverClass() {
  static ObjectDefinition defn;
  return Interface(defn, "listSelectionNotificationReceiver",
                   {Method("selectionChanging"), Method("selectionChanged")});
}

ObjectDefinition *BindingInterfaceClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *object = ObjectClass()->AsType();
  static MethodParameter params[] = {{"source", object, 0, {}, 0, {}, 0, {}},
                                     {"dest", object, 0, {}, 0, {}, 0, {}}};
  PropertyMethod bind{"bind", nullptr, params, 2, {}, 0, 0, 0};
  return Interface(defn, "bindingInterface", {bind});
}

ObjectDefinition *BindingPartInterfaceClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static Parameter v("v", &stringType.type);
  return Interface(defn, "bindingPartInterface",
                   {Method("getBoundPart", ObjectClass()->AsType(), v.row)});
}

ObjectDefinition *ListDataProviderClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static Parameter v("v", &integerType.type);
  return Interface(defn, "listDataProvider",
                   {Method("GetCount", &integerType.type),
                    Method("GetRow", TupleInterfaceClass()->AsType(), v.row)});
}

ObjectDefinition *ListDataNotifierClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  MethodParameter *receiver = ReceiverParameter(ListDataNotificationReceiverClass);
  return Interface(defn, "listDataNotifier",
                   {Method("addListDataNotificationReceiver", nullptr, receiver),
                    Method("removeListDataNotificationReceiver", nullptr, receiver)});
}

ObjectDefinition *ListDataNotificationReceiverClass() {
  static ObjectDefinition defn;
  static Parameter v("v", &integerType.type);
  return Interface(defn, "listDataNotificationReceiver",
                   {Method("listDataInsertedRow", nullptr, v.row),
                    Method("listDataRemovedRow", nullptr, v.row), Method("listDataReload")});
}

ObjectDefinition *TupleInterfaceClass() {
  static ObjectDefinition defn;
  static Parameter v("v", &integerType.type);
  return Interface(defn, "tupleInterface",
                   {Method("FieldCount", &integerType.type),
                    Method("getIndString", &stringType.type, v.row)});
}
