// Receivers and providers of data binding as compiled classes would be:
// a TestReceiver (dataNotificationReceiver, actionNotificationReceiver and
// StringInterface) logs "dataChanged R<id>", "PerformAction R<id>" and
// "setString R<id> <text>" into ControlLog(); a TestProvider
// (StringProvider, BooleanProvider, DataAvailableProvider, dataNotifier)
// answers what the test stores in it and tells its receivers on Changed().
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "controls/DataBindingServices.h"
#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;
struct stringStorage;

struct TestReceiverObject {
  RuntimeObject header;
  int32_t id;
};

struct TestProviderObject {
  RuntimeObject header;
  stringStorage *text; // counted
  int32_t value;
  int32_t available;
  DataNotifierHandler receivers;
};

ObjectDefinition *TestReceiverClass();
ObjectDefinition *TestProviderClass();
// A new receiver with one reference (the caller's).
RuntimeObject *NewReceiver(int32_t id);
// Runs after each receiver method has logged, with the receiver told.
std::function<void(RuntimeObject *)> &OnTold();
void SetProviderText(RuntimeObject *provider, const char *text);
void ProviderChanged(RuntimeObject *provider);
