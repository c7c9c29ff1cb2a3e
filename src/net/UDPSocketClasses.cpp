#include "net/UDPSocketClasses.h"
#include "runtime/objects/ClassRowMacros.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "foundation/AssertionAlert.h"
#include "language/TextEncodingClasses.h"
#include "net/SocketClasses.h"
#include "net/SocketEntryPoints.h"
#include "net/UDPSocket.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

// clang-format off
ObjectInstanceTemplate UDPSocketInstances[] = {
    {0, "RouterHops", &integerType.type, EntryCode(intGetter), "intGetter",
     EntryCode(UDPSocketRouterHops), "UDPSocketRouterHops", offsetof(UDPSocketObject, routerHops), 0},
    {0, "SendToSelf", &booleanType.type, EntryCode(boolGetter), "boolGetter",
     EntryCode(UDPSocketSetLoopback), "UDPSocketSetLoopback", offsetof(UDPSocketObject, sendToSelf), 0},
    {0, "PacketsAvailable", &integerType.type, EntryCode(PacketsAvailableGetter),
     "PacketsAvailableGetter", nullptr, nullptr, 0, 0},
    {0, "BroadcastAddress", &stringType.type, EntryCode(UDPSocketGetBroadcast),
     "UDPSocketGetBroadcast", nullptr, nullptr, 0, 0},
    {0, "PacketsLeftToSend", &integerType.type, EntryCode(UDPSocketPacketsLeftToSend),
     "UDPSocketPacketsLeftToSend", nullptr, nullptr, 0, 0},
};

MethodParameter sGroupParams[] = {{"Group", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sWriteParams[] = {
    {"Address", &stringType.type, 0, {}, 0, {}, 0, {}},
    {"Data", &stringType.type, 0, {}, 0, {}, 0, {}},
};
MethodParameter sWriteDatagramParams[] = {{"data", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sReadParams[] = {{"encoding", nullptr, 0, {}, 1, {}, 0, {}}};

PropertyMethod UDPSocketMethods[] = {
    METHOD("JoinMulticastGroup", SocketJoinMulticastGroup, &booleanType.type, sGroupParams, 1),
    METHOD("LeaveMulticastGroup", SocketLeaveMulticastGroup, nullptr, sGroupParams, 1),
    METHOD("Write", UDPSocketWrite, nullptr, sWriteParams, 2),
    METHOD("Write", UDPSocketWriteDatagram, nullptr, sWriteDatagramParams, 1),
    METHOD("Read", UDPReadDatagram, nullptr, sReadParams, 1),
};

ObjectInstanceTemplate DatagramClassInstances[] = {
    {0, "Address", &stringType.type, EntryCode(stringGetter), "stringGetter", EntryCode(stringSetter),
     "stringSetter", offsetof(DatagramObject, address), 0},
    {0, "Data", &stringType.type, EntryCode(stringGetter), "stringGetter", EntryCode(stringSetter),
     "stringSetter", offsetof(DatagramObject, data), 0},
};
// clang-format on

UDPSocketObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<UDPSocketObject *>(object);
}

void UDPSocketConstructor(RuntimeObject *object) {
  UDPSocketObject *fields = Fields(object);
  fields->socket = CreateUDPSocket(object, nullptr);
  fields->routerHops = 1;
  fields->sendToSelf = true;
}

void UDPSocketDestructor(RuntimeObject *object) {
  UDPSocket *socket = Fields(object)->socket;
  Fields(object)->socket = nullptr;
  delete socket;
}

void DatagramDestructor(RuntimeObject *object) {
  if (!object) {
    ShowMissingAlert("d");
    return;
  }
  auto *fields = reinterpret_cast<DatagramObject *>(object);
  RuntimeUnlockString(fields->address);
  RuntimeUnlockString(fields->data);
  fields->address = nullptr;
  fields->data = nullptr;
}

// Gives the rows the types of the classes they name, where linked.
void FillRowTypes() {
  PropertyType *datagram = DatagramClassLookup()->AsType();
  sWriteDatagramParams[0].type = datagram;
  ObjectDefinition *encoding = TextEncodingClass();
  sReadParams[0].type = encoding ? encoding->AsType() : nullptr;
  for (PropertyMethod &method : UDPSocketMethods)
    if (method.params == sReadParams) {
      method.returnType = datagram;
      method.paramCount = encoding ? 1 : 0;
    }
}

UDPSocket *BoundSocket(RuntimeObject *object) {
  UDPSocket *socket = UDPSocketOfObject(object);
  return socket && socket->IsConnected() ? socket : nullptr;
}

std::string TextOf(stringStorage *storage) {
  return std::string(stringStorage::CString(storage), size_t(stringStorage::Length(storage)));
}

} // namespace

ObjectDefinition *UDPSocketClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "UDPSocket", SocketCoreClass(), sizeof(UDPSocketObject)))
    return &defn;
  FillRowTypes();
  defn.constructor = UDPSocketConstructor;
  defn.destructor = UDPSocketDestructor;
  defn.SetPropertyListHead(FillInstances(UDPSocketInstances, std::size(UDPSocketInstances)));
  defn.methods = FillMethods(UDPSocketMethods, std::size(UDPSocketMethods));
  return &defn;
}

ObjectDefinition *DatagramClassLookup() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "Datagram", nullptr, sizeof(DatagramObject)))
    return &defn;
  defn.destructor = DatagramDestructor;
  defn.SetPropertyListHead(
      FillInstances(DatagramClassInstances, std::size(DatagramClassInstances)));
  return &defn;
}

bool IsUDPSocketObject(RuntimeObject *object) { return IsInstanceOf(object, UDPSocketClass()); }

UDPSocket *UDPSocketOfObject(RuntimeObject *object) {
  return IsUDPSocketObject(object) ? Fields(object)->socket : nullptr;
}

void UDPSocketBind(RuntimeObject *object) {
  UDPSocket *socket = UDPSocketOfObject(object);
  if (!socket)
    return;
  socket->Open(Fields(object)->port);
  // An error handler may have closed or destroyed it meanwhile.
  socket = BoundSocket(object);
  if (!socket)
    return;
  socket->SetMulticastLoopback(Fields(object)->sendToSelf);
  if (BoundSocket(object))
    BoundSocket(object)->SetMulticastTTL(uint32_t(Fields(object)->routerHops));
}

int32_t UDPSocketIsBound(RuntimeObject *object) { return BoundSocket(object) ? 1 : 0; }

void UDPSocketRouterHops(RuntimeObject *object, int32_t, int32_t value) {
  if (!IsUDPSocketObject(object))
    return;
  Fields(object)->routerHops = value;
  if (UDPSocket *socket = BoundSocket(object))
    socket->SetMulticastTTL(uint32_t(value));
}

void UDPSocketSetLoopback(RuntimeObject *object, int32_t, int32_t value) {
  if (!IsUDPSocketObject(object))
    return;
  Fields(object)->sendToSelf = value != 0;
  if (UDPSocket *socket = BoundSocket(object))
    socket->SetMulticastLoopback(value != 0);
}

int32_t PacketsAvailableGetter(RuntimeObject *object) {
  UDPSocket *socket = UDPSocketOfObject(object);
  return socket ? socket->PacketsAvailable() : 0;
}

int32_t UDPSocketPacketsLeftToSend(RuntimeObject *object) {
  if (!CheckedObject(object))
    return 0;
  UDPSocket *socket = UDPSocketOfObject(object);
  return socket ? socket->PacketsLeftToSend() : 0;
}

stringStorage *UDPSocketGetBroadcast(RuntimeObject *object) {
  UDPSocket *socket = UDPSocketOfObject(object);
  return socket ? socket->GetBroadcastAddress().ExtractStringStorage() : nullptr;
}

int32_t SocketJoinMulticastGroup(RuntimeObject *object, stringStorage *group) {
  UDPSocket *socket = UDPSocketOfObject(object);
  return socket && socket->JoinMulticastGroup(string::Borrow(group)) ? 1 : 0;
}

void SocketLeaveMulticastGroup(RuntimeObject *object, stringStorage *group) {
  if (UDPSocket *socket = UDPSocketOfObject(object))
    socket->LeaveMulticastGroup(string::Borrow(group));
}

void UDPSocketWrite(RuntimeObject *object, stringStorage *address, stringStorage *data) {
  RuntimeObject *datagram = RuntimeNewObject(LookupObjectDefinition(DatagramClassLookup()));
  if (!datagram)
    return;
  stringSetter(datagram, offsetof(DatagramObject, address), address);
  stringSetter(datagram, offsetof(DatagramObject, data), data);
  UDPSocketWriteDatagram(object, datagram);
  RuntimeUnlockObject(datagram);
}

void UDPSocketWriteDatagram(RuntimeObject *object, RuntimeObject *datagram) {
  UDPSocket *socket = UDPSocketOfObject(object);
  if (!socket || !datagram)
    return;
  auto *fields = reinterpret_cast<DatagramObject *>(datagram);
  // "host:port" names the port; anything else is all host, sent to the
  // socket's own Port.
  std::string host = TextOf(fields->address);
  uint32_t port = uint32_t(Fields(object)->port);
  size_t colon = host.find(':');
  if (colon != std::string::npos && host.find(':', colon + 1) == std::string::npos) {
    port = uint32_t(int32_t(std::strtod(host.c_str() + colon + 1, nullptr)));
    host.resize(colon);
  }
  std::string bytes = TextOf(fields->data);
  Datagram record{host.data(), port, bytes.data(), uint32_t(bytes.size())};
  socket->Send(record);
}

RuntimeObject *UDPReadDatagram(RuntimeObject *object, RuntimeObject *encoding) {
  UDPSocket *socket = UDPSocketOfObject(object);
  Datagram *record = socket ? socket->Read() : nullptr;
  if (!record)
    return nullptr;
  RuntimeObject *datagram = RuntimeNewObject(LookupObjectDefinition(DatagramClassLookup()));
  if (datagram) {
    auto *fields = reinterpret_cast<DatagramObject *>(datagram);
    string data;
    data.ConstructFromBuffer(record->data, int(record->length));
    fields->data = TaggedSocketText(data, encoding);
    fields->address = TaggedSocketText(string(record->address), encoding);
  }
  FreeDatagram(record);
  return datagram;
}
