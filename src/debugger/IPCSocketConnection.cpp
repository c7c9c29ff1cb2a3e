#include "debugger/IPCSocketConnection.h"

#include "foundation/TextEncodings.h"
#include "net/TCPSocketPosix.h"

namespace {
string LocalDebugPath() {
  string path(kLocalDebugPath);
  path.SetEncoding(kEncodingASCII);
  return path;
}
} // namespace

IPCSocketConnection::IPCSocketConnection() : mSocket(new IPCSocket(this)) {}

IPCSocketConnection::~IPCSocketConnection() { delete mSocket; }

void IPCSocketConnection::SendMessage(const string &command) {
  if (mSocket)
    mSocket->SendData(OnePartLine(command));
}

void IPCSocketConnection::SendMessage(const string &command, const string &argument) {
  if (mSocket || ShowAlert(kIPCSendAlert))
    mSocket->SendData(TwoPartLine(command, argument));
}

void IPCSocketConnection::Listen() {
  if (!mSocket && !ShowAlert(kIPCListenAlert))
    return;
  mSocket->SetPipeName(LocalDebugPath());
  mSocket->Listen();
}

void IPCSocketConnection::Connect() {
  if (!mSocket && !ShowAlert(kIPCConnectAlert))
    return;
  mSocket->SetPipeName(LocalDebugPath());
  mSocket->Connect();
}

void IPCSocketConnection::Close() {
  if (mSocket || ShowAlert(kIPCCloseAlert))
    mSocket->Close();
}

bool IPCSocketConnection::IsOpen() { return mSocket && mSocket->IsConnected(); }

void IPCSocketConnection::IPCSocketConnected(IPCSocket *socket) {
  if (socket != mSocket)
    return;
  TCPSocketPosix *inner = mSocket->GetInnerSocket();
  if (!inner || !PeerIsTrusted(inner->GetDescriptor())) {
    mSocket->Close(); // a stranger's listener counts as no connection
    return;
  }
  DelegateOpened();
}

void IPCSocketConnection::IPCSocketDataReceived(IPCSocket *socket) {
  if (socket != mSocket || !mSocket->GetInnerSocket())
    return;
  if (!mSplitter.Split(mSocket->GetInnerSocket(), *this))
    mSocket->Close();
}

void IPCSocketConnection::IPCSocketError(IPCSocket *socket, int32_t code) {
  if (socket != mSocket)
    return;
  if (code == 102)
    DelegateClosed();
  mSocket->Close();
}
