// What the controls ask of data binding and of the database's data control:
// the receiver lists that providers embed, the actionSource interface, and
// the registration of data-aware controls with a data control.
#pragma once
#include <cstdint>

struct ObjectDefinition;
struct RuntimeObject;

// One word inside a providing object: the head of its list of receivers.
struct NotifierHandler {
  struct Node;
  Node *head;

  // Takes a reference on the receiver and puts it first.
  void AddHandler(RuntimeObject *receiver);
  // Drops the first registration of the receiver.
  void RemoveHandler(RuntimeObject *receiver);
  // Drops every registration; providers call it when they go.
  void Clear();
};
static_assert(sizeof(NotifierHandler) == 4);

// Tells each receiver to PerformAction, newest first.
struct ActionNotifierHandler : NotifierHandler {
  void PerformAction();
};
static_assert(sizeof(ActionNotifierHandler) == 4);

// The interface of objects that keep action receivers; nil until data
// binding defines it.
ObjectDefinition *ActionSourceClass() __attribute__((weak));
// The interface of the receivers; nil until data binding defines it.
ObjectDefinition *ActionNotificationReceiverClass() __attribute__((weak));

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
