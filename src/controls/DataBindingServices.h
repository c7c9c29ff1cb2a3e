// What the controls ask of data binding and of the database's data control:
// the receiver lists that providers embed, the binding interfaces, and the
// registration of data-aware controls with a data control.
#pragma once
#include <cstdint>

struct ObjectDefinition;
struct RuntimeObject;

// One word inside a providing object: the head of its list of receivers.
// A list may change while it is being told (a receiver removing itself or
// another): a receiver removed before its turn is not told, and no node a
// walk still stands on is freed under it.
struct NotifierHandler {
  struct Node;
  Node *head;

  // Takes a reference on the receiver and puts it first. A receiver added
  // twice is told twice.
  void AddHandler(RuntimeObject *receiver);
  // Drops the first registration of the receiver.
  void RemoveHandler(RuntimeObject *receiver);
  // Drops every registration; providers call it when they go.
  void Clear();

protected:
  // Calls the method of that name of the interface (case ignored) on every
  // receiver, newest first; a receiver without it is passed over.
  void Notify(ObjectDefinition *receiverInterface, const char *method);
};
static_assert(sizeof(NotifierHandler) == 4);

// Tells each receiver DataChanged.
struct DataNotifierHandler : NotifierHandler {
  void DataChanged();
};
static_assert(sizeof(DataNotifierHandler) == 4);

// Tells each receiver to PerformAction.
struct ActionNotifierHandler : NotifierHandler {
  void PerformAction();
};
static_assert(sizeof(ActionNotifierHandler) == 4);

// Tells each receiver listDataReload.
struct ListDataNotifierHandler : NotifierHandler {
  void DataReload();
};
static_assert(sizeof(ListDataNotifierHandler) == 4);

// The interfaces of data binding, each built once.
ObjectDefinition *StringProviderClass();
ObjectDefinition *StringInterfaceClass();
ObjectDefinition *ListInterfaceClass();
ObjectDefinition *BooleanProviderClass();
ObjectDefinition *ActionSourceClass();
ObjectDefinition *ActionNotificationReceiverClass();
ObjectDefinition *DataAvailableProviderClass();
ObjectDefinition *DataNotifierClass();
ObjectDefinition *DataNotificationReceiverClass();
ObjectDefinition *ListSelectionNotifierClass();
ObjectDefinition *ListSelectionNotificationReceiverClass();
ObjectDefinition *BindingInterfaceClass();
ObjectDefinition *BindingPartInterfaceClass();
ObjectDefinition *ListDataProviderClass();
ObjectDefinition *ListDataNotifierClass();
ObjectDefinition *ListDataNotificationReceiverClass();
ObjectDefinition *TupleInterfaceClass();

// The database's DataControl class, which the database area sets at
// start-up, before main; while it is nil no control counts as a data
// control.
extern ObjectDefinition *(*gDataControlClass)();

// The edit field, which sits beside the controls: the text area fills these
// at start-up, before main (its class is its builder in BuiltinClassHooks).
struct EditBindingHooks {
  // Makes the field leave its previous source, join this one as a data
  // receiver and reload its text from it.
  void (*bindValue)(RuntimeObject *field, RuntimeObject *source);
  // Where the field keeps the source it follows (not counted), so that a
  // source that goes can make the field forget it.
  RuntimeObject **(*boundSourceSlot)(RuntimeObject *field);
};
EditBindingHooks &EditBindingHooksToFill();
const EditBindingHooks &GetEditBindingHooks();
// Whether the object is an edit field (false before the text area fills
// its hooks).
bool IsEditField(RuntimeObject *object);

// The kinds of controls bound to a data control.
enum DataAwareControl : int32_t {
  kDataAwareEditField = 0,
  kDataAwareStaticText = 1,
  kDataAwareListbox = 2,
  kDataAwarePopup = 3,
  kDataAwareCheckBox = 4,
};

struct RuntimeDataControl {
  static void AddBindControl(RuntimeObject *dataControl, RuntimeObject *control, int32_t kind);
  static void DelBindControl(RuntimeObject *dataControl, RuntimeObject *control, int32_t kind);
};
// Copies the current record into every bound control at once.
void DataControlRepopulateData(RuntimeObject *dataControl);

// A pane that takes its value from a data control.
class DataAwareClass {
public:
  virtual void InitializeBinding() = 0;
  virtual void RemoveBinding() = 0;

protected:
  ~DataAwareClass() = default;
};
