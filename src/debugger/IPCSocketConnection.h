// The debugger link over the local socket at kLocalDebugPath.
#pragma once
#include "debugger/DebuggerConnection.h"
#include "net/IPCSocket.h"

inline constexpr AlertSite kIPCListenAlert{kConnectionAlertSource, 99, "mSocket"};
inline constexpr AlertSite kIPCConnectAlert{kConnectionAlertSource, 112, "mSocket"};
inline constexpr AlertSite kIPCCloseAlert{kConnectionAlertSource, 124, "mSocket"};
inline constexpr AlertSite kIPCSendAlert{kConnectionAlertSource, 141, "mSocket"};

class IPCSocketConnection : public DebuggerConnection, public IPCSocketDelegate {
public:
  IPCSocketConnection();
  ~IPCSocketConnection() override;

  void SendMessage(const string &command) override;
  void SendMessage(const string &command, const string &argument) override;
  void Listen() override;
  void Close() override;
  void Connect() override;
  bool IsOpen() override;

  void IPCSocketConnected(IPCSocket *socket) override;
  void IPCSocketDataReceived(IPCSocket *socket) override;
  void IPCSocketError(IPCSocket *socket, int32_t code) override;

  IPCSocket *mSocket;

private:
  LineSplitter mSplitter;
};

// Whether the peer of a connected local socket runs as this process's user
// or as root; anyone else could write the debuggee's memory.
bool PeerIsTrusted(int descriptor);
