// Binding of list boxes: BindList with a list-data provider and the
// provider's notices, the selection receivers, and the part objects that
// getBoundPart hands out (the focus actions, whether a row is selected,
// one column's text of the selected row).
#include <iterator>

#include "controls/DataBinders.h"
#include "foundation/Array.h"
#include "foundation/NumberText.h"
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

#define CODE(function) reinterpret_cast<void *>(function), #function
#define PARAM(name, type) {name, type, 0, {}, 0, {}, 0, {}}
#define PLAIN(name, result, params, count, function)                                              \
  {name, result, params, count, {{CODE(function), {}}, {}}, kPlainMethod, 0, 0}

ListboxControl *AsList(RuntimeObject *object) {
  return reinterpret_cast<ListboxControl *>(object);
}

MethodParameter ActionReceiver[] = {PARAM("receiver", nullptr)};
MethodParameter DataReceiver[] = {PARAM("receiver", nullptr)};
MethodParameter BooleanValue[] = {PARAM("value", &booleanType.type)};
MethodParameter StrParam[] = {PARAM("Str", &stringType.type)};

PropertyMethod ActionMethods[] = {
    PLAIN("addActionNotificationReceiver", nullptr, ActionReceiver, 1,
          lbaAddActionNotificationReceiver),
    PLAIN("removeActionNotificationReceiver", nullptr, ActionReceiver, 1,
          lbaRemoveActionNotificationReceiver),
};

PropertyMethod SelectionMethods[] = {
    PLAIN("addDataNotificationReceiver", nullptr, DataReceiver, 1,
          listSelectionAddDataNotificationReceiver),
    PLAIN("removeDataNotificationReceiver", nullptr, DataReceiver, 1,
          listSelectionRemoveDataNotificationReceiver),
    PLAIN("getBoolean", &booleanType.type, nullptr, 0, listSelectionGetBoolean),
    PLAIN("setBoolean", nullptr, BooleanValue, 1, listSelectionSetBoolean),
    PLAIN("selectionChanging", nullptr, nullptr, 0, listSelectionChanging),
    PLAIN("selectionChanged", nullptr, nullptr, 0, listSelectionChanged),
};

PropertyMethod ColumnValueMethods[] = {
    PLAIN("getString", &stringType.type, nullptr, 0, lcvpGetString),
    PLAIN("setString", nullptr, StrParam, 1, lcvpSetString),
    PLAIN("addDataNotificationReceiver", nullptr, DataReceiver, 1,
          lcvpAddDataNotificationReceiver),
    PLAIN("removeDataNotificationReceiver", nullptr, DataReceiver, 1,
          lcvpRemoveDataNotificationReceiver),
    PLAIN("selectionChanging", nullptr, nullptr, 0, lcvpSelectionChanging),
    PLAIN("selectionChanged", nullptr, nullptr, 0, lcvpSelectionChanged),
    PLAIN("dataAvailable", &booleanType.type, nullptr, 0, lcvpDataAvailable),
};

// A part class: no superclass, no events, statically built tables.
ObjectDefinition *DefinePart(ObjectDefinition &defn, const char *name, int32_t size,
                             void (*destructor)(RuntimeObject *), PropertyMethod *methods,
                             int count) {
  defn.className = string(name);
  defn.objectSize = size;
  defn.destructor = destructor;
  defn.staticTables = 1;
  defn.methods = FillMethods(methods, count);
  return &defn;
}

// A new part object of the class for the list, holding a reference on it.
template <typename Part> Part *NewPart(ObjectDefinition *cls, RuntimeObject *list) {
  RuntimeObject *made = CreateInstance(cls);
  if (!made)
    return nullptr;
  RuntimeLockObject(list);
  reinterpret_cast<Part *>(made)->listbox = list;
  return reinterpret_cast<Part *>(made);
}

// The provider's number of rows; a negative answer counts as none.
int32_t ProviderCount(RuntimeObject *provider) {
  using Count = int32_t (*)(RuntimeObject *);
  auto count = InterfaceMethodAs<Count>(provider, ListDataProviderClass(), "GetCount");
  const int32_t n = count ? count(provider) : 0;
  return n < 0 ? 0 : n;
}

void CallWithList(RuntimeObject *provider, const char *method, RuntimeObject *list) {
  using Proc = void (*)(RuntimeObject *, RuntimeObject *);
  if (auto code = InterfaceMethodAs<Proc>(provider, ListDataNotifierClass(), method))
    code(provider, list);
}

} // namespace

void UnbindListProvider(RuntimeObject *object) {
  ListboxControl *c = AsList(object);
  RuntimeObject *provider = c->boundProvider;
  if (!provider)
    return;
  CallWithList(provider, "removeListDataNotificationReceiver", object);
  c->boundProvider = nullptr;
  RuntimeUnlockObject(provider);
}

namespace {

int32_t SelectedRow(RuntimeObject *list) {
  RuntimeListbox *pane = ListboxPaneOf(list);
  return pane ? pane->Selection() : -1;
}

bool ValidValueColumn(ListColumnValueProviderObject *p) {
  return p->column >= 0 && p->column <= 255;
}

} // namespace

ObjectDefinition *ListboxActionClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  ActionReceiver[0].type = ActionNotificationReceiverClass()->AsType();
  DefinePart(defn, "Sys$ListboxAction", sizeof(ListboxActionObject), listboxActionDestructor,
             ActionMethods, std::size(ActionMethods));
  defn.addInterface(ActionSourceClass());
  return &defn;
}

ObjectDefinition *ListSelectionProviderClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DataReceiver[0].type = DataNotificationReceiverClass()->AsType();
  DefinePart(defn, "listSelectionProvider", sizeof(ListSelectionProviderObject),
             listSelectionProviderDestructor, SelectionMethods, std::size(SelectionMethods));
  // Newest first: added in reverse so that they read in declaration order.
  defn.addInterface(ListSelectionNotificationReceiverClass());
  defn.addInterface(DataNotifierClass());
  defn.addInterface(BooleanProviderClass());
  return &defn;
}

ObjectDefinition *ListColumnValueProviderClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DataReceiver[0].type = DataNotificationReceiverClass()->AsType();
  DefinePart(defn, "listColumnValueProvider", sizeof(ListColumnValueProviderObject),
             listColumnValueProviderDestructor, ColumnValueMethods,
             std::size(ColumnValueMethods));
  defn.addInterface(DataAvailableProviderClass());
  defn.addInterface(DataNotifierClass());
  defn.addInterface(StringInterfaceClass());
  defn.addInterface(StringProviderClass());
  defn.addInterface(ListSelectionNotificationReceiverClass());
  return &defn;
}

extern "C" {

// ---- list-data binding

void listBind(RuntimeObject *object, RuntimeObject *provider) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (!pane)
    return;
  PaneHold hold(pane);
  pane->ResetContent();
  UnbindListProvider(object);
  if (provider) {
    RuntimeLockObject(provider);
    AsList(object)->boundProvider = provider;
    CallWithList(provider, "addListDataNotificationReceiver", object);
    if (pane->CloseRan())
      return;
    if (const int32_t count = ProviderCount(provider))
      pane->InsertRows(0, count);
  }
  for (int32_t c = 0; c < pane->ColumnCount() && !pane->CloseRan(); ++c)
    listColumnSortDirectionSetter(object, c, 0);
}

void listListDataInsertedRow(RuntimeObject *object, int32_t row) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (pane && row >= 0 && row <= pane->GetRowCount())
    pane->InsertRows(row, 1);
}

void listListDataRemovedRow(RuntimeObject *object, int32_t row) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  if (pane && row >= 0 && row < pane->GetRowCount()) {
    PaneHold hold(pane);
    pane->RemoveRows(row, 1);
  }
}

void listListDataReload(RuntimeObject *object) {
  RuntimeListbox *pane = ListboxPaneOf(object);
  RuntimeObject *provider = object ? AsList(object)->boundProvider : nullptr;
  if (!pane || !provider)
    return;
  PaneHold hold(pane);
  pane->ResetContent();
  if (const int32_t count = ProviderCount(provider))
    pane->InsertRows(0, count);
}

void listAddLSNR(RuntimeObject *object, RuntimeObject *receiver) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->addLSNR(receiver);
}

void listRemoveLSNR(RuntimeObject *object, RuntimeObject *receiver) {
  if (RuntimeListbox *pane = ListboxPaneOf(object))
    pane->removeLSNR(receiver);
}

// ---- bound parts

RuntimeObject *listGetBoundPart(RuntimeObject *object, stringStorage *name) {
  if (!object)
    return nullptr;
  const string part = string::Borrow(name);
  for (int32_t kind : {1, 0})
    if (part.Compare(string(kind ? "gotFocusAction" : "lostFocusAction")) == 0) {
      auto *action = NewPart<ListboxActionObject>(ListboxActionClass(), object);
      if (action)
        action->kind = kind;
      return &action->header;
    }
  if (part.Compare(string("getSelectionProvider")) == 0) {
    auto *provider = NewPart<ListSelectionProviderObject>(ListSelectionProviderClass(), object);
    if (provider)
      listAddLSNR(object, &provider->header);
    return provider ? &provider->header : nullptr;
  }
  static const char kPrefix[] = "columnValueProvider_";
  const int32_t prefixLength = static_cast<int32_t>(std::size(kPrefix)) - 1;
  string head;
  head.ConstructFromBuffer(part.CString(), part.Length() < prefixLength ? part.Length() : prefixLength);
  if (part.Length() >= prefixLength && head.Compare(string(kPrefix)) == 0) {
    auto *provider =
        NewPart<ListColumnValueProviderObject>(ListColumnValueProviderClass(), object);
    if (!provider)
      return nullptr;
    provider->column = static_cast<int32_t>(uatol(part.CString() + prefixLength));
    provider->receivers = new Array;
    listAddLSNR(object, &provider->header);
    return &provider->header;
  }
  return nullptr;
}

void listboxActionDestructor(RuntimeObject *object) {
  auto *action = reinterpret_cast<ListboxActionObject *>(object);
  RuntimeObject *list = action->listbox;
  action->listbox = nullptr;
  RuntimeUnlockObject(list);
}

void lbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  auto *action = reinterpret_cast<ListboxActionObject *>(part);
  if (!action || !action->listbox || !receiver)
    return;
  ListboxControl *c = AsList(action->listbox);
  (action->kind ? c->gotFocusNotifiers : c->lostFocusNotifiers).AddHandler(receiver);
}

void lbaRemoveActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  auto *action = reinterpret_cast<ListboxActionObject *>(part);
  if (!action || !action->listbox)
    return;
  ListboxControl *c = AsList(action->listbox);
  (action->kind ? c->gotFocusNotifiers : c->lostFocusNotifiers).RemoveHandler(receiver);
}

void listSelectionProviderDestructor(RuntimeObject *object) {
  auto *p = reinterpret_cast<ListSelectionProviderObject *>(object);
  listRemoveLSNR(p->listbox, object);
  p->receivers.Clear();
  RuntimeObject *list = p->listbox;
  p->listbox = nullptr;
  RuntimeUnlockObject(list);
}

void listSelectionAddDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  if (part && receiver)
    reinterpret_cast<ListSelectionProviderObject *>(part)->receivers.AddHandler(receiver);
}

void listSelectionRemoveDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  if (part)
    reinterpret_cast<ListSelectionProviderObject *>(part)->receivers.RemoveHandler(receiver);
}

int32_t listSelectionGetBoolean(RuntimeObject *part) {
  return part && listSelectionGetter(reinterpret_cast<ListSelectionProviderObject *>(part)->listbox,
                                     0) >= 0
             ? 1
             : 0;
}

void listSelectionSetBoolean(RuntimeObject *, int32_t) {}
void listSelectionChanging(RuntimeObject *) {}

void listSelectionChanged(RuntimeObject *part) {
  if (part)
    reinterpret_cast<ListSelectionProviderObject *>(part)->receivers.DataChanged();
}

void listColumnValueProviderDestructor(RuntimeObject *object) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(object);
  listRemoveLSNR(p->listbox, object);
  RuntimeObject *list = p->listbox;
  p->listbox = nullptr;
  RuntimeUnlockObject(list);
  if (Array *receivers = p->receivers) {
    p->receivers = nullptr;
    for (int32_t i = 0; i < receivers->GetCount(); ++i)
      RuntimeUnlockObject(static_cast<RuntimeObject *>(receivers->GetElement(i)));
    delete receivers;
  }
}

stringStorage *lcvpGetString(RuntimeObject *part) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(part);
  // No compiled handler waits inside a binder's call: a column no cell can
  // have reads nil instead of raising.
  if (!p || !ValidValueColumn(p))
    return nullptr;
  const int32_t row = SelectedRow(p->listbox);
  return row >= 0 ? listGetCell(p->listbox, row, p->column) : nullptr;
}

void lcvpSetString(RuntimeObject *part, stringStorage *text) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(part);
  if (!p || !ValidValueColumn(p))
    return;
  const int32_t row = SelectedRow(p->listbox);
  if (row >= 0)
    listSetCell(p->listbox, row, p->column, text);
}

void lcvpAddDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(part);
  if (!p || !p->receivers || !receiver)
    return;
  RuntimeLockObject(receiver);
  p->receivers->AppendItem(receiver);
}

void lcvpRemoveDataNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(part);
  if (!p || !p->receivers)
    return;
  for (int32_t i = 0; i < p->receivers->GetCount(); ++i)
    if (p->receivers->GetElement(i) == receiver) {
      p->receivers->RemoveElement(i);
      RuntimeUnlockObject(receiver);
      return;
    }
}

void lcvpSelectionChanging(RuntimeObject *) {}

void lcvpSelectionChanged(RuntimeObject *part) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(part);
  if (!p || !p->receivers)
    return;
  CallEachReceiver(*p->receivers, DataNotificationReceiverClass(), "DataChanged");
}

int32_t lcvpDataAvailable(RuntimeObject *part) {
  auto *p = reinterpret_cast<ListColumnValueProviderObject *>(part);
  return p && SelectedRow(p->listbox) >= 0 ? 1 : 0;
}

} // extern "C"
