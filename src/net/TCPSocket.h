// The portable half of a TCP connection: its buffers, the order in which its
// latched events fire (to a delegate, then to the language object), and the
// pool of sockets a server socket hands accepted connections to. The
// descriptor work is the platform's (TCPSocketPosix.h).
#pragma once
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "net/SocketBuffer.h"
#include "net/SocketClasses.h"
#include "net/SocketCore.h"

class TCPSocket;

// Receives a socket's events when runtime code uses a socket without a
// language object. Every default does nothing.
class TCPSocketDelegate {
public:
  virtual ~TCPSocketDelegate() = default;
  virtual void SocketConnected(TCPSocket *) {}
  virtual void SocketDataReceived(TCPSocket *) {}
  virtual void SocketSendComplete(TCPSocket *) {}
  virtual void SocketError(TCPSocket *, int32_t) {}
  virtual void SocketSendProgress(TCPSocket *, uint32_t, uint32_t) {}
};

// The pool of a server socket: TCPSocket objects its AddSocket event supplied,
// waiting (in the socket list, descriptor closed) for a connection.
class ServerSocketPackage {
public:
  ServerSocketPackage(TCPSocket *socket, RuntimeObject *server, uint32_t minimum);

  // Fills the pool; true when no further fill is needed now. An attempt that
  // gets no socket ends the fill, which then waits for the next latch.
  bool AddSocketEvent();
  void SetMinNumberOfSockets(uint32_t n);
  void SetMaxNumberOfConnections(uint32_t n);
  // Takes the newest socket still waiting in the pool out of it, or nil.
  TCPSocket *TakeWaitingSocket();
  // Takes the object out of the pool (a pooled socket that shut down).
  void Remove(RuntimeObject *object);

  SimpleVector<RuntimeObject *> mPool; // oldest first
  uint32_t mMinimum;
  RuntimeObject *mServer; // not locked by the package
  bool mFilled = false;

private:
  // Asks the server for one socket and pools it; false when none came.
  bool AddOneSocket();

  TCPSocket *mSocket; // the server's own socket
};

class TCPSocket : public SocketCore {
public:
  explicit TCPSocket(RuntimeObject *control);
  ~TCPSocket() override;

  void Listen(int32_t port) override;
  void FireEvents() override;
  bool MoreDataToSend() override { return !mSendBuffer.IsEmpty(); }
  void Purge() override { mReceiveBuffer.Clear(); }
  void ClearSendBuffer() override { mSendBuffer.Clear(); }
  void Shutdown(bool full) override;
  void Reset(bool full) override;

  virtual void Connect(const string &address, int32_t port);
  virtual void SendData(const string &text);
  virtual string ReadData(int32_t count) { return mReceiveBuffer.Take(count); }
  virtual string ReadDataAll() { return mReceiveBuffer.Take(mReceiveBuffer.Length()); }
  virtual string GetRemoteAddress() { return string(); }
  // Stores a non-zero code as the last error; false.
  virtual bool SocketError(int32_t code);
  // A pooled socket of this server shut down: the pool is refilled.
  virtual void SocketBeingReleased();
  virtual int32_t BytesAvailable() { return mReceiveBuffer.Length(); }
  virtual int32_t BytesLeftToSend() { return mSendBuffer.Length(); }
  virtual string Lookahead() { return mReceiveBuffer.Peek(); }
  // Sends what the network takes now; the platform waits while the
  // connection makes progress.
  virtual void Flush() { Poll(); }

  void SetDelegate(TCPSocketDelegate *delegate) { mDelegate = delegate; }
  TCPSocketDelegate *GetDelegate() const { return mDelegate; }
  bool IsServerListening() const { return mServerListening; }
  ServerSocketPackage *GetServerPackage() const { return mServerPackage; }

  string mRemoteAddress;
  SocketBuffer mSendBuffer;
  SocketBuffer mReceiveBuffer;
  TCPSocketDelegate *mDelegate = nullptr;
  bool mServerListening = false;
  ServerSocketPackage *mServerPackage = nullptr;
  TCPSocket *mOwningServer = nullptr; // the server that handed it its connection
  TCPSocket *mPoolServer = nullptr;   // the server whose pool it waits in
  // The last SendProgress answer, carried to this socket's next SendComplete.
  bool mUserAborted = false;

protected:
  // Takes the pooled objects out of the pool, shuts their sockets down and
  // frees the package.
  void ReleasePool();

private:
  // A pooled socket leaves its server's pool, which is then refilled.
  void LeavePool();
  // One pass over the latches in their fixed order; false when the socket
  // was closed, restarted or destroyed by a handler.
  bool FireLatchedEvents(SocketServiceHold &hold);
  template <typename DelegateCall, typename ObjectCall>
  bool Tell(SocketServiceHold &hold, DelegateCall toDelegate, ObjectCall toObject);
};

// A new platform socket with its delegate; the caller owns it.
TCPSocket *CreateTCPSocket(RuntimeObject *control, TCPSocketDelegate *delegate);

// The language events of socket objects (defined with the classes).
void socketFireConnectedEvent(RuntimeObject *object);
void socketFireDataReceivedEvent(RuntimeObject *object);
void socketFireSendCompleteEvent(RuntimeObject *object, bool userAborted);
bool socketFireSendProgressEvent(RuntimeObject *object, uint32_t bytesSent, uint32_t bytesLeft);
void socketFireErrorEvent(RuntimeObject *object);
RuntimeObject *ServerSocketFireAddSocketEvent(RuntimeObject *server);
void ServerSocketFireErrorEvent(RuntimeObject *server, int32_t code);
