// A local stream connection between processes on one machine, addressed by
// a path: a TCP socket in local mode whose events are passed on, narrowed,
// to an IPCSocketDelegate. The inner socket is serviced through the socket
// list like every socket without a language object.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "net/TCPSocket.h"
#include "runtime/loop/Pollables.h"

class IPCSocket;
class TCPSocketPosix;

// Receives an IPC socket's events. Every default does nothing.
class IPCSocketDelegate {
public:
  virtual ~IPCSocketDelegate() = default;
  virtual void IPCSocketConnected(IPCSocket *) {}
  virtual void IPCSocketDataReceived(IPCSocket *) {}
  virtual void IPCSocketError(IPCSocket *, int32_t) {}
};

class IPCSocket : public TCPSocketDelegate, public Pollable {
public:
  explicit IPCSocket(IPCSocketDelegate *delegate);
  ~IPCSocket() override;
  IPCSocket(const IPCSocket &) = delete;
  IPCSocket &operator=(const IPCSocket &) = delete;

  void SocketConnected(TCPSocket *socket) override;
  void SocketDataReceived(TCPSocket *socket) override;
  void SocketError(TCPSocket *socket, int32_t code) override;
  void Poll() override;

  void SetPipeName(const string &name);
  void Connect();
  void Listen();
  // Ends the connection or the listening; a listener's path is removed.
  void Close();
  void SendData(const string &text);
  void ClearSendBuffer();
  // Sends what the peer takes now, waiting while it makes progress; what a
  // stalled peer leaves stays queued for later services.
  void Flush();
  string ReadData(int32_t count);
  string ReadDataAll();
  string Lookahead();
  int32_t BytesAvailable();
  bool IsConnected();
  void FireError(int32_t) {}

  TCPSocketPosix *GetInnerSocket() const { return mSocket; }

private:
  // Shuts down and clears an inner socket that is still active, so that it
  // is registered once and its old descriptor closed.
  void Restart();

  TCPSocketPosix *mSocket;
  string mPipeName;
  IPCSocketDelegate *mDelegate;
};
