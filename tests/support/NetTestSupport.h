// The test's side of loopback connections (plain blocking sockets), a
// delegate that records a socket's events, and bounded servicing of the
// socket layer.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "net/TCPSocket.h"

// A descriptor closed when the holder goes.
class PlainSocket {
public:
  explicit PlainSocket(int fd = -1) : mFd(fd) {}
  ~PlainSocket();
  PlainSocket(PlainSocket &&other) noexcept : mFd(other.mFd) { other.mFd = -1; }
  PlainSocket(const PlainSocket &) = delete;
  PlainSocket &operator=(const PlainSocket &) = delete;
  int fd() const { return mFd; }
  void Close();

private:
  int mFd;
};

// A blocking listener on all addresses with a port the system chose.
PlainSocket ListenPlain(int *port, int receiveBuffer = 0);
// A blocking connection to 127.0.0.1; -1 inside when refused.
PlainSocket ConnectPlain(int port);
// Waits up to timeoutMs for a client; -1 inside when none came.
PlainSocket AcceptPlain(const PlainSocket &listener, int timeoutMs = 10000);
// A port on which nothing listens.
int UnusedPort();
// Writes all of it; false on failure.
bool WriteAll(int fd, const char *bytes, size_t count);
// Reads until count bytes came, the peer closed or timeoutMs passed with
// nothing arriving.
std::string ReadUpTo(int fd, size_t count, int timeoutMs = 10000);
// Bytes that differ at every position, so that loss or reordering shows.
std::string PatternBytes(size_t count, uint32_t seed = 1);

// Services the socket layer (as the run loop does) until done answers true,
// at most maxSteps times and for at most seconds; answers done().
bool ServiceUntil(const std::function<bool()> &done, int maxSteps = 2000000, int seconds = 120);
// Services a fixed number of steps.
void ServiceSteps(int steps);

// Records the events of a socket in order: "connected", "data", "complete",
// "progress", "error 102".
class RecordingDelegate : public TCPSocketDelegate {
public:
  void SocketConnected(TCPSocket *socket) override;
  void SocketDataReceived(TCPSocket *socket) override;
  void SocketSendComplete(TCPSocket *socket) override;
  void SocketError(TCPSocket *socket, int32_t code) override;
  void SocketSendProgress(TCPSocket *socket, uint32_t sent, uint32_t left) override;

  int Count(const std::string &event) const;
  bool Saw(const std::string &event) const { return Count(event) > 0; }

  std::vector<std::string> events;
  std::string received; // what DataAvailable read, when draining
  bool drain = true;    // read everything on DataAvailable
  uint64_t progressSum = 0;
  std::function<void(TCPSocket *, const std::string &)> onEvent; // after recording
};
