#include "debugger/TCPSocketConnection.h"

TCPSocketConnection::TCPSocketConnection(const string &address)
    : mWire(CreateTCPSocket(nullptr, this)), mAddress(address) {
  if (!mWire)
    ShowAlert(kTCPCreateAlert);
}

TCPSocketConnection::~TCPSocketConnection() {
  if (mWire) {
    mWire->SetDelegate(nullptr); // no callback into a connection half gone
    delete mWire;
  }
}

void TCPSocketConnection::SendMessage(const string &command) {
  if (mWire || ShowAlert(kTCPSendOneAlert))
    mWire->SendData(OnePartLine(command));
}

void TCPSocketConnection::SendMessage(const string &command, const string &argument) {
  if (mWire || ShowAlert(kTCPSendTwoAlert))
    mWire->SendData(TwoPartLine(command, argument));
}

void TCPSocketConnection::Listen() {
  if (mWire || ShowAlert(kTCPListenAlert))
    mWire->Listen(kDebugPort);
}

void TCPSocketConnection::Connect() {
  if (mWire || ShowAlert(kTCPConnectAlert))
    mWire->Connect(mAddress, kDebugPort);
}

void TCPSocketConnection::Close() {
  if ((mWire || ShowAlert(kTCPCloseAlert)) && mWire->IsConnected())
    EndTransport();
}

bool TCPSocketConnection::IsOpen() { return mWire && mWire->IsConnected(); }

void TCPSocketConnection::EndTransport() {
  mWire->Shutdown(false);
  mWire->Reset(false);
}

void TCPSocketConnection::SocketConnected(TCPSocket *socket) {
  if (socket == mWire)
    DelegateOpened();
}

void TCPSocketConnection::SocketDataReceived(TCPSocket *socket) {
  if (socket == mWire && !mSplitter.Split(mWire, *this))
    EndTransport();
}

void TCPSocketConnection::SocketError(TCPSocket *socket, int32_t code) {
  if (socket != mWire)
    return;
  if (code == 102)
    DelegateClosed();
  EndTransport();
}
