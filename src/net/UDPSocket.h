// The portable half of a UDP socket: the queues of received and outgoing
// datagrams and the rule that fires one event per service. The descriptor
// work is the platform's (UDPSocketPosix.h).
#pragma once
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "net/SocketCore.h"

// One datagram. The socket owns the records in its queues; a record taken out
// with Read belongs to the caller (FreeDatagram).
struct Datagram {
  char *address; // dotted IPv4, at most 15 characters
  uint32_t port; // host order
  char *data;    // followed by one zero byte when received
  uint32_t length;
};
static_assert(sizeof(Datagram) == 16);

// A record owning copies of the texts and bytes; nil when memory ran out.
Datagram *NewDatagram(const char *address, uint32_t port, const char *data, uint32_t length);
void FreeDatagram(Datagram *record);

class UDPSocket;

// Receives a socket's events when runtime code uses one without a language
// object. Every default does nothing.
class UDPSocketDelegate {
public:
  virtual ~UDPSocketDelegate() = default;
  virtual void UDPSocketSendComplete(UDPSocket *) {}
  virtual void UDPSocketError(UDPSocket *, int32_t) {}
  virtual void UDPSocketDataReceived(UDPSocket *) {}
};

class UDPSocket : public SocketCore {
public:
  explicit UDPSocket(RuntimeObject *control);
  ~UDPSocket() override;

  // One pending event at most fires per call: DataAvailable, else Error,
  // else SendComplete. An error never takes a UDP socket out of service.
  void FireEvents() override;
  bool MoreDataToSend() override { return mOutgoing.count() > 0; }
  void Purge() override;
  void ClearSendBuffer() override;
  void Shutdown(bool full) override;
  void Reset(bool full) override;

  virtual void Open(int32_t port);
  // Queues the socket's own copy of the record; the caller keeps its record.
  virtual void Send(const Datagram &record);
  // The oldest received record, or nil; the caller owns it.
  virtual Datagram *Read();
  virtual bool JoinMulticastGroup(const string &) { return false; }
  virtual void LeaveMulticastGroup(const string &) {}
  virtual void SetMulticastLoopback(bool) {}
  virtual void SetMulticastTTL(uint32_t) {}
  virtual string GetBroadcastAddress() { return string(); }
  virtual int32_t PacketsAvailable() { return mReceived.count(); }
  virtual int32_t PacketsLeftToSend() { return mOutgoing.count(); }

  void SetDelegate(UDPSocketDelegate *delegate) { mDelegate = delegate; }

  SimpleVector<Datagram *> mReceived; // oldest first
  SimpleVector<Datagram *> mOutgoing; // oldest first
  UDPSocketDelegate *mDelegate = nullptr;

protected:
  // Takes the oldest outgoing record out of the queue and frees it.
  void DropOldestOutgoing();
};

// A new platform socket with its delegate; the caller owns it.
UDPSocket *CreateUDPSocket(RuntimeObject *control, UDPSocketDelegate *delegate);
