// The UDP socket on BSD sockets: one non-blocking datagram descriptor bound
// by Open, broadcast allowed, serviced by Poll (at most one datagram in and
// one out per service, then one event).
#pragma once
#include <cstdint>

#include "net/UDPSocket.h"

class UDPSocketPosix : public UDPSocket {
public:
  explicit UDPSocketPosix(RuntimeObject *control);
  ~UDPSocketPosix() override;

  void Poll() override;
  int32_t ActualPortBoundTo() override;
  void Shutdown(bool full) override;
  void Reset(bool full) override;
  void Open(int32_t port) override;
  void Send(const Datagram &record) override;
  bool JoinMulticastGroup(const string &group) override;
  void LeaveMulticastGroup(const string &group) override;
  void SetMulticastLoopback(bool flag) override;
  void SetMulticastTTL(uint32_t ttl) override;
  string GetBroadcastAddress() override;

  // A failed call's error number, translated, as the socket's Error.
  void FireError(int32_t number);
  // An error already in the layer's terms.
  void RaiseError(int32_t code);
  int32_t GetDescriptor() const { return mDescriptor; }

  int32_t mDescriptor = -1;

private:
  void DoRcv();
  void DoSend();
  bool ChangeMembership(const string &group, int option);
  // Open and bound; reports 106 otherwise.
  bool CheckBound();
};

// The layer's code for an error number of a datagram call.
int32_t TranslateUDPErrno(int32_t number);
