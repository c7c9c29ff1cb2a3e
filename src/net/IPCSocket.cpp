#include "net/IPCSocket.h"

#include "net/TCPSocketPosix.h"

namespace {

// The inner socket: once shut down (by the error follow-up after the peer
// closed, or by Close) it is no longer connected, while the bytes it
// received stay readable.
class IPCInnerSocket : public TCPSocketPosix {
public:
  IPCInnerSocket() : TCPSocketPosix(nullptr) {}
  void Shutdown(bool full) override {
    TCPSocketPosix::Shutdown(full);
    mConnected = false;
  }
};

bool IsActive(TCPSocket *socket) {
  for (SocketCore *entry : gSocketList)
    if (entry == socket)
      return true;
  return false;
}

} // namespace

IPCSocket::IPCSocket(IPCSocketDelegate *delegate)
    : mSocket(new IPCInnerSocket), mDelegate(delegate) {
  mSocket->SetDelegate(this);
}

IPCSocket::~IPCSocket() { delete mSocket; }

void IPCSocket::SocketConnected(TCPSocket *) {
  if (mDelegate)
    mDelegate->IPCSocketConnected(this);
}

void IPCSocket::SocketDataReceived(TCPSocket *) {
  if (mDelegate)
    mDelegate->IPCSocketDataReceived(this);
}

void IPCSocket::SocketError(TCPSocket *, int32_t code) {
  if (mDelegate)
    mDelegate->IPCSocketError(this, code);
}

void IPCSocket::Poll() {
  if (mSocket)
    mSocket->Poll();
}

void IPCSocket::SetPipeName(const string &name) {
  mPipeName = name;
  if (mSocket)
    mSocket->SetLocalMode(name);
}

void IPCSocket::Restart() {
  if (mSocket && (IsActive(mSocket) || mSocket->GetDescriptor() >= 0)) {
    mSocket->Shutdown(false);
    mSocket->Reset(true);
  }
}

void IPCSocket::Connect() {
  if (!mSocket || mPipeName.IsEmpty())
    return;
  Restart();
  mSocket->SetLocalMode(mPipeName);
  mSocket->Connect(string(), 0);
}

void IPCSocket::Listen() {
  if (!mSocket || mPipeName.IsEmpty())
    return;
  Restart();
  mSocket->SetLocalMode(mPipeName);
  mSocket->Listen(0);
}

void IPCSocket::Close() {
  if (!mSocket)
    return;
  mSocket->Shutdown(false);
  mSocket->Reset(true);
}

void IPCSocket::SendData(const string &text) {
  if (mSocket)
    mSocket->SendData(text);
}

void IPCSocket::ClearSendBuffer() {
  if (mSocket)
    mSocket->ClearSendBuffer();
}

void IPCSocket::Flush() {
  if (mSocket)
    mSocket->Flush();
}

string IPCSocket::ReadData(int32_t count) { return mSocket ? mSocket->ReadData(count) : string(); }
string IPCSocket::ReadDataAll() { return mSocket ? mSocket->ReadDataAll() : string(); }
string IPCSocket::Lookahead() { return mSocket ? mSocket->Lookahead() : string(); }
int32_t IPCSocket::BytesAvailable() { return mSocket ? mSocket->BytesAvailable() : 0; }
bool IPCSocket::IsConnected() { return mSocket && mSocket->IsConnected(); }
