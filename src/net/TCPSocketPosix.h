// The TCP socket on BSD sockets: one non-blocking stream descriptor, opened
// by Connect or Listen and serviced by Poll (one readiness check, at most one
// accept, one receive and one send), then the latched events fire. The same
// class serves local (path) sockets.
#pragma once
#include <cstdint>

#include "net/TCPSocket.h"

class TCPSocketPosix : public TCPSocket {
public:
  explicit TCPSocketPosix(RuntimeObject *control);
  ~TCPSocketPosix() override;

  void Listen(int32_t port) override;
  void Poll() override;
  bool MoreDataToReceive() override;
  int32_t ActualPortBoundTo() override;
  void Shutdown(bool full) override;
  void Reset(bool full) override;
  void Connect(const string &address, int32_t port) override;
  void SendData(const string &text) override;
  string GetRemoteAddress() override;
  // Stores the code, fires the Error event at once; true for a non-zero
  // code. The socket may be gone when it returns.
  bool SocketError(int32_t code) override;
  void Flush() override;

  void SetBlocking(bool blocking);
  // Local mode: the socket uses a path in the file system (IPC sockets).
  void SetLocalMode(const string &path);
  int32_t GetDescriptor() const { return mDescriptor; }
  int32_t GetReceiveChunk() const { return mReceiveChunk; }

  int32_t mDescriptor = -1;
  int32_t mReceiveChunk = 8192;
  bool mLocalMode = false;
  string mPath;
  bool mAccepting = false;
  int64_t mAcceptResumeMs = 0; // accepting pauses until then (monotonic ms)
  bool mWriteWanted = false;
  bool mBoundPath = false; // this socket bound mPath, so it removes it

private:
  // Closes what an earlier operation left open and clears the state, keeping
  // the reference an active socket holds on its object.
  void Restart();
  void CloseDescriptor();
  // A failed call's errno through SocketError.
  bool ReportErrno(int32_t number);
  // Creates the descriptor; false after reporting a failure.
  bool SetupSocketDescriptor();
  void SetupBufferSizes(int32_t size);
  // The attempt finished: reads its outcome. False after reporting a failure.
  bool FinishConnect();
  // False when a failure was reported (the socket may be gone).
  bool SendFromBuffer();
  bool RecvToBuffer();
  void DoAccept();
  // The unread bytes reached their bound: the connection is not read.
  bool ReceiveBufferFull() const;
  // Not within a pause that a shortage of descriptors or memory began.
  bool AcceptResumed();
  // The local address for a path; false after reporting one that does not
  // fit.
  bool FillLocalAddress(struct sockaddr_un &address);
};
