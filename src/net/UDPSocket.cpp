#include "net/UDPSocket.h"

#include <cstdlib>
#include <cstring>

#include "net/SocketClasses.h"
#include "net/TCPSocket.h"
#include "net/UDPSocketClasses.h"

Datagram *NewDatagram(const char *address, uint32_t port, const char *data, uint32_t length) {
  auto *record = static_cast<Datagram *>(std::calloc(1, sizeof(Datagram)));
  if (!record)
    return nullptr;
  record->address = strdup(address ? address : "");
  record->data = static_cast<char *>(std::malloc(length + 1));
  if (!record->address || !record->data) {
    FreeDatagram(record);
    return nullptr;
  }
  if (length && data) // without data the bytes are left for the caller to fill
    std::memcpy(record->data, data, length);
  record->data[length] = 0;
  record->port = port;
  record->length = length;
  return record;
}

void FreeDatagram(Datagram *record) {
  if (!record)
    return;
  std::free(record->address);
  std::free(record->data);
  std::free(record);
}

namespace {

void FreeAll(SimpleVector<Datagram *> &queue) {
  for (Datagram *record : queue)
    FreeDatagram(record);
  while (queue.count() > 0)
    queue.pop_back();
}

} // namespace

UDPSocket::UDPSocket(RuntimeObject *control) : SocketCore(control) {}

UDPSocket::~UDPSocket() {
  UDPSocket::Shutdown(true);
  FreeAll(mReceived);
  FreeAll(mOutgoing);
}

void UDPSocket::Open(int32_t port) { SocketCore::Listen(port); }

void UDPSocket::Send(const Datagram &record) {
  if (Datagram *copy = NewDatagram(record.address, record.port, record.data, record.length))
    mOutgoing.push_back(copy);
}

Datagram *UDPSocket::Read() {
  if (mReceived.count() == 0)
    return nullptr;
  Datagram *record = mReceived[0];
  mReceived.deleteIdx(0);
  return record;
}

void UDPSocket::DropOldestOutgoing() {
  if (mOutgoing.count() == 0)
    return;
  FreeDatagram(mOutgoing[0]);
  mOutgoing.deleteIdx(0);
}

void UDPSocket::Purge() { FreeAll(mReceived); }
void UDPSocket::ClearSendBuffer() { FreeAll(mOutgoing); }
void UDPSocket::Shutdown(bool full) { SocketCore::Shutdown(full); }

void UDPSocket::Reset(bool full) {
  SocketCore::Reset(full);
  if (full)
    FreeAll(mReceived);
  FreeAll(mOutgoing);
}

void UDPSocket::FireEvents() {
  // The hold keeps the language object alive through its handler; nothing
  // touches the socket after a handler closed or destroyed it.
  SocketServiceHold hold(this);
  if (mFiredEvents & kDataAvailableEventBit) {
    mFiredEvents &= ~kDataAvailableEventBit;
    if (mDelegate)
      mDelegate->UDPSocketDataReceived(this);
    if (hold.Alive() && mControl)
      socketFireDataReceivedEvent(mControl);
  } else if (mFiredEvents & kErrorEventBit) {
    mFiredEvents &= ~kErrorEventBit;
    if (mDelegate)
      mDelegate->UDPSocketError(this, mLastError);
    if (hold.Alive() && mControl) {
      SetObjectLastErrorCode(mControl, mLastError);
      socketFireErrorEvent(mControl);
    }
  } else if (mFiredEvents & kSendCompleteEventBit) {
    mFiredEvents &= ~kSendCompleteEventBit;
    if (mDelegate)
      mDelegate->UDPSocketSendComplete(this);
    if (hold.Alive() && mControl)
      socketFireSendCompleteEvent(mControl, false);
  }
  // An Error still pending (a DataAvailable went first) fires on the next
  // call; unlike a stream, a UDP socket stays bound after an error.
}
