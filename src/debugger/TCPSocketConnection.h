// The debugger link over TCP on port kDebugPort.
#pragma once
#include "debugger/DebuggerConnection.h"
#include "net/TCPSocket.h"

inline constexpr AlertSite kTCPCreateAlert{kConnectionAlertSource, 226, "mWire"};
inline constexpr AlertSite kTCPSendOneAlert{kConnectionAlertSource, 254, "mWire"};
inline constexpr AlertSite kTCPSendTwoAlert{kConnectionAlertSource, 270, "mWire"};
inline constexpr AlertSite kTCPListenAlert{kConnectionAlertSource, 286, "mWire"};
inline constexpr AlertSite kTCPCloseAlert{kConnectionAlertSource, 299, "mWire"};
inline constexpr AlertSite kTCPConnectAlert{kConnectionAlertSource, 315, "mWire"};

class TCPSocketConnection : public DebuggerConnection, public TCPSocketDelegate {
public:
  explicit TCPSocketConnection(const string &address);
  ~TCPSocketConnection() override;

  void SendMessage(const string &command) override;
  void SendMessage(const string &command, const string &argument) override;
  void Listen() override;
  void Close() override;
  void Connect() override;
  bool IsOpen() override;

  void SocketConnected(TCPSocket *socket) override;
  void SocketDataReceived(TCPSocket *socket) override;
  void SocketError(TCPSocket *socket, int32_t code) override;

  TCPSocket *mWire;
  string mAddress;

private:
  // Shutdown and Reset, neither of them full.
  void EndTransport();

  LineSplitter mSplitter;
};
