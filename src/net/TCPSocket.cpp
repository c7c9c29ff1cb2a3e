#include "net/TCPSocket.h"

#include "foundation/AssertionAlert.h"

namespace {

// How many sockets the pool asks for beyond its minimum on the first fill,
// and at a time when it runs low.
constexpr int32_t kPoolRefill = 10;

} // namespace

ServerSocketPackage::ServerSocketPackage(TCPSocket *socket, RuntimeObject *server, uint32_t minimum)
    : mMinimum(minimum), mServer(server), mSocket(socket) {}

bool ServerSocketPackage::AddOneSocket() {
  RuntimeObject *object = ServerSocketFireAddSocketEvent(mServer);
  TCPSocket *socket = SocketOfObject(object);
  if (!socket) {
    RuntimeUnlockObject(object);
    return false;
  }
  // The reference the event handed over becomes the one the pooled socket
  // releases when it shuts down.
  socket->mControlLocked = true;
  socket->mPoolServer = mSocket;
  mPool.push_back(object);
  gSocketList.push_back(socket);
  return true;
}

bool ServerSocketPackage::AddSocketEvent() {
  if (!mFilled) {
    if (!mServer) {
      DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, __FILE__, __LINE__,
                               "ss->mServerSocketControl",
                               "Trying to fill the server socket up, but there was no control "
                               "specified");
      return true;
    }
    RuntimeLockObject(mServer);
    // An attempt that gets no socket ends this fill.
    for (int32_t i = 0; i < int32_t(mMinimum) + kPoolRefill; ++i)
      if (!AddOneSocket())
        break;
    mFilled = true;
    RuntimeUnlockObject(mServer);
    return true;
  }
  if (uint32_t(mPool.count()) < mMinimum) {
    for (int32_t i = 0; i < kPoolRefill; ++i)
      if (!AddOneSocket())
        return true;
    return uint32_t(mPool.count()) >= mMinimum;
  }
  return true;
}

void ServerSocketPackage::SetMinNumberOfSockets(uint32_t n) {
  mMinimum = n;
  mSocket->mFiredEvents |= kAddSocketEventBit;
}

void ServerSocketPackage::SetMaxNumberOfConnections(uint32_t) {
  mSocket->mFiredEvents |= kAddSocketEventBit;
}

TCPSocket *ServerSocketPackage::TakeWaitingSocket() {
  // Every socket leaves the pool when it shuts down; an entry that no longer
  // waits for this server is passed over all the same.
  while (mPool.count() > 0) {
    TCPSocket *socket = SocketOfObject(mPool.pop_back());
    if (socket && socket->mPoolServer == mSocket && !socket->IsConnected()) {
      socket->mPoolServer = nullptr;
      return socket;
    }
  }
  return nullptr;
}

void ServerSocketPackage::Remove(RuntimeObject *object) {
  for (int32_t i = mPool.count() - 1; i >= 0; --i)
    if (mPool[i] == object)
      mPool.deleteIdx(i);
}

TCPSocket::TCPSocket(RuntimeObject *control) : SocketCore(control) { TCPSocket::Reset(true); }

TCPSocket::~TCPSocket() {
  TCPSocket::Shutdown(true);
  delete mServerPackage;
  mServerPackage = nullptr;
}

void TCPSocket::Connect(const string &address, int32_t port) {
  BecomeActive(port);
  mRemoteAddress = address;
}

void TCPSocket::Listen(int32_t port) {
  SocketCore::Listen(port);
  if (mServerPackage) {
    mServerPackage->mMinimum = uint32_t(ServerSocketMinimum(mServerPackage->mServer));
    mAddSocketLatch = true;
  }
}

void TCPSocket::SendData(const string &text) { mSendBuffer.Append(text); }

bool TCPSocket::SocketError(int32_t code) {
  if (code != 0)
    mLastError = code;
  return false;
}

void TCPSocket::SocketBeingReleased() {
  if (mServerPackage)
    mAddSocketLatch = true;
}

void TCPSocket::ReleasePool() {
  if (!mServerPackage)
    return;
  ServerSocketPackage *package = mServerPackage;
  mServerPackage = nullptr;
  // Newest first; each shutdown releases the reference its socket held, which
  // may destroy the object and its socket.
  while (package->mPool.count() > 0) {
    RuntimeObject *object = package->mPool.pop_back();
    if (TCPSocket *socket = SocketOfObject(object)) {
      socket->mPoolServer = nullptr;
      socket->Shutdown(false);
    }
  }
  delete package;
}

void TCPSocket::LeavePool() {
  if (!mPoolServer)
    return;
  TCPSocket *server = mPoolServer;
  mPoolServer = nullptr;
  if (server->mServerPackage)
    server->mServerPackage->Remove(mControl);
  server->SocketBeingReleased();
}

void TCPSocket::Shutdown(bool full) {
  LeavePool();
  if (mServerPackage) {
    for (SocketCore *entry : gSocketList) {
      auto *socket = dynamic_cast<TCPSocket *>(entry);
      if (socket && socket->mOwningServer == this)
        socket->mOwningServer = nullptr;
      if (socket && socket->mPoolServer == this)
        socket->mPoolServer = nullptr;
    }
    if (!full)
      ReleasePool();
  } else if (mOwningServer) {
    TCPSocket *server = mOwningServer;
    mOwningServer = nullptr;
    server->SocketBeingReleased();
  }
  SocketCore::Shutdown(full);
}

void TCPSocket::Reset(bool full) {
  LeavePool();
  SocketCore::Reset(full);
  mRemoteAddress = string();
  mSendBuffer.Clear();
  mServerListening = false;
  // A pool still here belongs to an operation that was not shut down first.
  ReleasePool();
  mOwningServer = nullptr;
  mBytesSent = 0;
  mUserAborted = false;
  if (full)
    mReceiveBuffer.Clear();
  if (IsServerSocketObject(mControl))
    mServerPackage =
        new ServerSocketPackage(this, mControl, uint32_t(ServerSocketMinimum(mControl)));
}

// Tells the delegate, then the language object; false when a handler closed,
// restarted or destroyed the socket.
template <typename DelegateCall, typename ObjectCall>
bool TCPSocket::Tell(SocketServiceHold &hold, DelegateCall toDelegate, ObjectCall toObject) {
  if (mDelegate)
    toDelegate(mDelegate);
  if (!hold.Unchanged())
    return false;
  if (mControl)
    toObject(mControl);
  return hold.Unchanged();
}

bool TCPSocket::FireLatchedEvents(SocketServiceHold &hold) {
  if (mConnectedLatch) {
    mFiredEvents |= kConnectedEventBit;
    mConnectedLatch = false;
    mConnected = true;
    if (!Tell(
            hold, [&](TCPSocketDelegate *d) { d->SocketConnected(this); },
            [](RuntimeObject *object) { socketFireConnectedEvent(object); }))
      return false;
  }
  if (mDataReceivedLatch) {
    mFiredEvents |= kDataAvailableEventBit;
    mDataReceivedLatch = false;
    if (!Tell(
            hold, [&](TCPSocketDelegate *d) { d->SocketDataReceived(this); },
            [](RuntimeObject *object) { socketFireDataReceivedEvent(object); }))
      return false;
  }
  if (mSendCompleteLatch) {
    mFiredEvents |= kSendCompleteEventBit;
    mSendCompleteLatch = false;
    bool userAborted = mUserAborted;
    mUserAborted = false;
    if (!Tell(
            hold, [&](TCPSocketDelegate *d) { d->SocketSendComplete(this); },
            [&](RuntimeObject *object) { socketFireSendCompleteEvent(object, userAborted); }))
      return false;
  }
  if (mAddSocketLatch) {
    mFiredEvents |= kAddSocketEventBit;
    // Fills until the pool reaches its minimum or an attempt gets no socket;
    // a loop, so that a handler that keeps failing cannot make it recurse.
    if (mServerPackage)
      while (!mServerPackage->AddSocketEvent() && hold.Unchanged() && mServerPackage) {
      }
    if (!hold.Unchanged())
      return false;
    mAddSocketLatch = false;
  }
  if (mSendProgressLatch) {
    mFiredEvents |= kSendProgressEventBit;
    mSendProgressLatch = false;
    uint32_t sent = mBytesSent;
    uint32_t left = uint32_t(mSendBuffer.Length());
    bool aborted = false;
    if (!Tell(
            hold, [&](TCPSocketDelegate *d) { d->SocketSendProgress(this, sent, left); },
            [&](RuntimeObject *object) {
              aborted = socketFireSendProgressEvent(object, sent, left);
            }))
      return false;
    if (mControl)
      mUserAborted = aborted;
    mBytesSent = 0;
    if (mSendBuffer.IsEmpty() || mUserAborted) {
      if (mUserAborted)
        mSendBuffer.Clear();
      mFiredEvents |= kSendCompleteEventBit;
      mSendCompleteLatch = true;
    }
  }
  if (mErrorLatch) {
    mFiredEvents |= kErrorEventBit;
    mErrorLatch = false;
    // A server's Error event carries the code; a socket's reads it from
    // LastErrorCode.
    int32_t code = mLastError;
    if (!Tell(
            hold, [&](TCPSocketDelegate *d) { d->SocketError(this, code); },
            [&](RuntimeObject *object) {
              if (IsServerSocketObject(object))
                ServerSocketFireErrorEvent(object, code);
              else
                socketFireErrorEvent(object);
            }))
      return false;
  }
  return true;
}

void TCPSocket::FireEvents() {
  // The hold keeps the language object alive through its handlers; the error
  // follow-up does not count it as the program's reference.
  SocketServiceHold hold(this);
  if (!FireLatchedEvents(hold))
    return;
  const bool failed = mFiredEvents & kErrorEventBit;
  SocketCore::FireEvents();
  // A server that failed listens no more, whoever holds its object.
  if (failed && hold.Alive() && mServerListening)
    Reset(false);
}
