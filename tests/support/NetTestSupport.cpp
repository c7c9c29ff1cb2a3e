#include "support/NetTestSupport.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "net/SocketCore.h"

PlainSocket::~PlainSocket() { Close(); }

void PlainSocket::Close() {
  if (mFd >= 0)
    close(mFd);
  mFd = -1;
}

PlainSocket ListenPlain(int *port, int receiveBuffer) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (receiveBuffer > 0)
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
  listen(fd, 5);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
  *port = ntohs(address.sin_port);
  return PlainSocket(fd);
}

PlainSocket ConnectPlain(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
    close(fd);
    return PlainSocket(-1);
  }
  return PlainSocket(fd);
}

PlainSocket AcceptPlain(const PlainSocket &listener, int timeoutMs) {
  pollfd entry{listener.fd(), POLLIN, 0};
  if (poll(&entry, 1, timeoutMs) <= 0)
    return PlainSocket(-1);
  return PlainSocket(accept(listener.fd(), nullptr, nullptr));
}

int UnusedPort() {
  int port;
  PlainSocket probe = ListenPlain(&port);
  return port; // closed on return: nothing listens there now
}

bool WriteAll(int fd, const char *bytes, size_t count) {
  while (count > 0) {
    ssize_t n = send(fd, bytes, count, MSG_NOSIGNAL);
    if (n <= 0)
      return false;
    bytes += n;
    count -= size_t(n);
  }
  return true;
}

std::string ReadUpTo(int fd, size_t count, int timeoutMs) {
  std::string data;
  char chunk[65536];
  while (data.size() < count) {
    pollfd entry{fd, POLLIN, 0};
    if (poll(&entry, 1, timeoutMs) <= 0)
      break;
    ssize_t n = recv(fd, chunk, std::min(sizeof chunk, count - data.size()), 0);
    if (n <= 0)
      break;
    data.append(chunk, size_t(n));
  }
  return data;
}

std::string PatternBytes(size_t count, uint32_t seed) {
  std::string bytes(count, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < count; ++i) {
    x = x * 1664525u + 1013904223u;
    bytes[i] = char(x >> 24);
  }
  return bytes;
}

bool ServiceUntil(const std::function<bool()> &done, int maxSteps, int seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (int step = 0; step < maxSteps && !done(); ++step) {
    if (std::chrono::steady_clock::now() > deadline)
      break;
    // A short pause even while data moves, as the run loop's toolkit
    // iteration gives the peer time between steps.
    bool busy = NetIdle(false);
    std::this_thread::sleep_for(std::chrono::microseconds(busy ? 50 : 500));
  }
  return done();
}

void ServiceSteps(int steps) {
  for (int i = 0; i < steps; ++i)
    NetIdle(false);
}

namespace {

void Record(RecordingDelegate &delegate, TCPSocket *socket, const std::string &event) {
  delegate.events.push_back(event);
  if (delegate.onEvent)
    delegate.onEvent(socket, event);
}

} // namespace

void RecordingDelegate::SocketConnected(TCPSocket *socket) { Record(*this, socket, "connected"); }

void RecordingDelegate::SocketDataReceived(TCPSocket *socket) {
  if (drain) {
    string text = socket->ReadDataAll();
    received.append(text.CString(), size_t(text.Length()));
  }
  Record(*this, socket, "data");
}

void RecordingDelegate::SocketSendComplete(TCPSocket *socket) { Record(*this, socket, "complete"); }

void RecordingDelegate::SocketError(TCPSocket *socket, int32_t code) {
  Record(*this, socket, "error " + std::to_string(code));
}

void RecordingDelegate::SocketSendProgress(TCPSocket *socket, uint32_t sent, uint32_t) {
  progressSum += sent;
  Record(*this, socket, "progress");
}

int RecordingDelegate::Count(const std::string &event) const {
  int count = 0;
  for (const std::string &e : events)
    count += e == event;
  return count;
}
