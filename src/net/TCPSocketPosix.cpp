#include "net/TCPSocketPosix.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "net/NetworkInterfacesPosix.h"
#include "net/SocketErrorsPosix.h"

namespace {

// The most one receive asks for, and the kernel buffers requested.
constexpr int32_t kReceiveAreaSize = 1 << 20;
constexpr int32_t kSmallestBufferRequest = 8192;
// Flush waits this long for the connection to take more bytes before it
// leaves the rest to later services, and sends for this long at most.
constexpr int kFlushStallMs = 2000;
constexpr int kFlushDeadlineMs = 1000;
// A connection whose unread bytes reach this is not read until the program
// takes some: the peer's sends then wait on the connection's own flow
// control instead of filling the process.
constexpr int32_t kUnreadBound = 4 << 20;
// How long accepting pauses after the process ran out of descriptors or
// memory, so that a waiting client does not make every service fail again.
constexpr int kAcceptPauseMs = 100;

// Shared by every socket: a receive copies from here into the socket's
// buffer at once.
char *sReceiveArea = nullptr;

// The IPv4 address of a dotted text or a host name, in network order.
bool LookupHostAddress(const string &address, in_addr_t *out) {
  in_addr_t numeric = inet_addr(address.CString());
  if (numeric != INADDR_NONE) {
    *out = numeric;
    return true;
  }
  struct hostent *host = gethostbyname(address.CString());
  if (!host || host->h_addrtype != AF_INET || !host->h_addr_list || !host->h_addr_list[0])
    return false;
  std::memcpy(out, host->h_addr_list[0], sizeof *out);
  return true;
}

bool SetNonBlocking(int descriptor, bool nonBlocking) {
  int flags = fcntl(descriptor, F_GETFL, 0);
  if (flags < 0)
    return false;
  flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return fcntl(descriptor, F_SETFL, flags) == 0;
}

// A peer that vanishes without closing (power lost, cable pulled) sends
// nothing more, and the connection would stand for ever. An idle connection
// is probed after 20 s, every 5 s; after 4 probes unanswered, or when sent
// bytes stay unacknowledged as long, the connection ends with an error.
constexpr int kKeepAliveIdleSeconds = 20;
constexpr int kKeepAliveIntervalSeconds = 5;
constexpr int kKeepAliveProbes = 4;
constexpr unsigned kUnacknowledgedMs =
    (kKeepAliveIdleSeconds + kKeepAliveIntervalSeconds * kKeepAliveProbes) * 1000;

void EnableKeepAlive(int descriptor) {
  int on = 1, idle = kKeepAliveIdleSeconds, interval = kKeepAliveIntervalSeconds,
      probes = kKeepAliveProbes;
  unsigned unacknowledged = kUnacknowledgedMs;
  setsockopt(descriptor, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
  setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  setsockopt(descriptor, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
  setsockopt(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledged, sizeof unacknowledged);
}

// Accept failures that concern one connection or a passing shortage: the
// socket keeps listening.
bool AcceptFailureIsTransient(int number) {
  switch (number) {
  case EMFILE:
  case ENFILE:
  case ENOBUFS:
  case ENOMEM:
  case ECONNABORTED:
  case EPROTO:
  case EINTR:
    return true;
  default:
    return false;
  }
}

bool AcceptFailureIsShortage(int number) {
  return number == EMFILE || number == ENFILE || number == ENOBUFS || number == ENOMEM;
}

// A path left by a listener that was killed blocks every later bind: a socket
// file on which a connection is refused (nobody accepts there) is removed. A
// live listener's path, and anything that is not a socket, stay.
void RemoveStaleSocketPath(const sockaddr_un &address) {
  struct stat info;
  if (lstat(address.sun_path, &info) != 0 || !S_ISSOCK(info.st_mode))
    return;
  int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (probe < 0)
    return;
  const bool refused =
      connect(probe, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 &&
      errno == ECONNREFUSED;
  close(probe);
  if (refused)
    unlink(address.sun_path);
}

int64_t MonotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

} // namespace

TCPSocket *CreateTCPSocket(RuntimeObject *control, TCPSocketDelegate *delegate) {
  auto *socket = new TCPSocketPosix(control);
  socket->SetDelegate(delegate);
  return socket;
}

TCPSocketPosix::TCPSocketPosix(RuntimeObject *control) : TCPSocket(control) {
  TCPSocketPosix::Reset(true);
}

TCPSocketPosix::~TCPSocketPosix() { TCPSocketPosix::Shutdown(true); }

void TCPSocketPosix::SetLocalMode(const string &path) {
  mLocalMode = true;
  mPath = path;
}

void TCPSocketPosix::SetBlocking(bool blocking) {
  if (mDescriptor >= 0)
    SetNonBlocking(mDescriptor, !blocking);
}

bool TCPSocketPosix::ReportErrno(int32_t number) {
  return SocketError(TranslateSocketErrno(number));
}

bool TCPSocketPosix::SocketError(int32_t code) {
  if (code == 0)
    return false;
  mLastError = code;
  mErrorLatch = true;
  if (mControl)
    SetObjectLastErrorCode(mControl, code);
  FireEvents();
  return true;
}

void TCPSocketPosix::CloseDescriptor() {
  if (mDescriptor < 0)
    return;
  // Only the socket that bound a path removes it: a client that connected to
  // a path must not take the server's away.
  if (mLocalMode && mBoundPath)
    unlink(mPath.CString());
  mBoundPath = false;
  close(mDescriptor);
  mDescriptor = -1;
}

void TCPSocketPosix::Restart() {
  bool locked = mControlLocked;
  CloseDescriptor();
  ReleasePool();
  for (int32_t i = gSocketList.count() - 1; i >= 0; --i)
    if (gSocketList[i] == this)
      gSocketList.deleteIdx(i);
  Reset(true);
  // Still active: the reference it holds stays, and is not taken twice.
  mControlLocked = locked;
}

void TCPSocketPosix::Shutdown(bool full) {
  if (mDescriptor >= 0) {
    CloseDescriptor();
    if (!mLocalMode)
      mPath = string();
  }
  TCPSocket::Shutdown(full);
}

void TCPSocketPosix::Reset(bool full) {
  TCPSocket::Reset(full);
  mAccepting = false;
  mAcceptResumeMs = 0;
  mWriteWanted = false;
  mDescriptor = -1;
}

bool TCPSocketPosix::SetupSocketDescriptor() {
  mDescriptor = socket(mLocalMode ? AF_UNIX : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (mDescriptor < 0) {
    mDescriptor = -1;
    ReportErrno(errno);
    return false;
  }
  SetupBufferSizes(kReceiveAreaSize);
  if (!mLocalMode)
    EnableKeepAlive(mDescriptor);
  SetBlocking(false);
  return true;
}

void TCPSocketPosix::SetupBufferSizes(int32_t size) {
  while (size > kSmallestBufferRequest) {
    if (setsockopt(mDescriptor, SOL_SOCKET, SO_SNDBUF, &size, sizeof size) == 0) {
      setsockopt(mDescriptor, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
      mReceiveChunk = size;
      return;
    }
    size = int32_t(size * 0.75);
  }
}

bool TCPSocketPosix::FillLocalAddress(sockaddr_un &address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (size_t(mPath.Length()) >= sizeof address.sun_path) {
    SocketError(kNameResolutionError);
    return false;
  }
  std::memcpy(address.sun_path, mPath.CString(), size_t(mPath.Length()));
  return true;
}

void TCPSocketPosix::Connect(const string &address, int32_t port) {
  Restart();
  TCPSocket::Connect(address, port);
  if (!SetupSocketDescriptor())
    return;

  sockaddr_in inet{};
  sockaddr_un local{};
  const sockaddr *peer;
  socklen_t peerLength;
  if (mLocalMode) {
    if (!FillLocalAddress(local))
      return;
    peer = reinterpret_cast<const sockaddr *>(&local);
    peerLength = sizeof local;
  } else {
    in_addr_t resolved;
    if (!LookupHostAddress(address, &resolved)) {
      SocketError(kNameResolutionError);
      return;
    }
    int32_t interfaceNumber;
    if (NetworkInterfaceNumberOf(mControl, &interfaceNumber)) {
      sockaddr_in own{};
      own.sin_family = AF_INET;
      own.sin_addr.s_addr = htonl(GetLocalIPAddress(interfaceNumber));
      if (bind(mDescriptor, reinterpret_cast<const sockaddr *>(&own), sizeof own) != 0) {
        ReportErrno(errno);
        return;
      }
    }
    inet.sin_family = AF_INET;
    inet.sin_port = htons(uint16_t(port));
    inet.sin_addr.s_addr = resolved;
    peer = reinterpret_cast<const sockaddr *>(&inet);
    peerLength = sizeof inet;
  }

  if (connect(mDescriptor, peer, peerLength) == 0) {
    mConnected = true;
    mConnectedLatch = true;
    FireEvents();
    return;
  }
  int32_t failure = errno;
  if (!SocketWouldBlock(failure))
    ReportErrno(failure);
}

void TCPSocketPosix::Listen(int32_t port) {
  Restart();
  TCPSocket::Listen(port);
  if (!SetupSocketDescriptor())
    return;
  int reuse = 1;
  if (setsockopt(mDescriptor, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0) {
    ReportErrno(errno);
    return;
  }
  int bound;
  if (mLocalMode) {
    sockaddr_un local;
    if (!FillLocalAddress(local))
      return;
    RemoveStaleSocketPath(local);
    bound = bind(mDescriptor, reinterpret_cast<const sockaddr *>(&local), sizeof local);
    mBoundPath = bound == 0;
  } else {
    sockaddr_in own{};
    own.sin_family = AF_INET;
    own.sin_port = htons(uint16_t(port));
    int32_t interfaceNumber;
    own.sin_addr.s_addr = NetworkInterfaceNumberOf(mControl, &interfaceNumber)
                              ? htonl(GetLocalIPAddress(interfaceNumber))
                              : htonl(INADDR_ANY);
    bound = bind(mDescriptor, reinterpret_cast<const sockaddr *>(&own), sizeof own);
  }
  if (bound != 0) {
    ReportErrno(errno);
    return;
  }
  mAccepting = true;
  if (listen(mDescriptor, 5) != 0) {
    ReportErrno(errno);
    return;
  }
  if (mServerPackage)
    mServerListening = true;
}

void TCPSocketPosix::SendData(const string &text) {
  TCPSocket::SendData(text);
  mWriteWanted = true;
}

bool TCPSocketPosix::FinishConnect() {
  int pending = 0;
  socklen_t length = sizeof pending;
  if (getsockopt(mDescriptor, SOL_SOCKET, SO_ERROR, &pending, &length) != 0)
    pending = errno;
  if (pending != 0) {
    ReportErrno(pending);
    return false;
  }
  mConnected = true;
  mConnectedLatch = true;
  return true;
}

bool TCPSocketPosix::SendFromBuffer() {
  if (mSendBuffer.IsEmpty())
    return true;
  int32_t offered = mSendBuffer.Length();
  // A peer that closed must not stop the process with a broken-pipe signal:
  // the failure is reported like any other.
  ssize_t sent = send(mDescriptor, mSendBuffer.Data(), size_t(offered), MSG_NOSIGNAL);
  if (sent >= 0) {
    mSendBuffer.Drop(int32_t(sent));
    mWriteWanted = sent != offered;
    mSendProgressLatch = true;
    mBytesSent += uint32_t(sent);
    return true;
  }
  int32_t failure = errno;
  if (SocketWouldBlock(failure)) {
    mWriteWanted = true;
    return true;
  }
  ReportErrno(failure);
  return false;
}

bool TCPSocketPosix::RecvToBuffer() {
  if (!sReceiveArea)
    sReceiveArea = new char[kReceiveAreaSize];
  int32_t chunk = mReceiveChunk < kReceiveAreaSize ? mReceiveChunk : kReceiveAreaSize;
  if (chunk > kUnreadBound - mReceiveBuffer.Length())
    chunk = kUnreadBound - mReceiveBuffer.Length();
  if (chunk <= 0)
    return true;
  ssize_t received = recv(mDescriptor, sReceiveArea, size_t(chunk), 0);
  if (received > 0) {
    mReceiveBuffer.Append(sReceiveArea, int32_t(received));
    mDataReceivedLatch = true;
    return true;
  }
  if (received == 0) {
    SocketError(kLostConnection);
    return false;
  }
  int32_t failure = errno;
  if (SocketWouldBlock(failure))
    return true;
  ReportErrno(failure);
  return false;
}

void TCPSocketPosix::DoAccept() {
  int accepted = accept4(mDescriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (accepted < 0) {
    int32_t failure = errno;
    if (SocketWouldBlock(failure))
      return;
    if (!AcceptFailureIsTransient(failure)) {
      ReportErrno(failure);
      return;
    }
    // The client waits in the backlog; accepting resumes after a pause when
    // the process ran short, at once when only that connection failed.
    if (AcceptFailureIsShortage(failure))
      mAcceptResumeMs = MonotonicMs() + kAcceptPauseMs;
    return;
  }
  if (!mLocalMode)
    EnableKeepAlive(accepted);
  if (mServerPackage) {
    auto *pooled = dynamic_cast<TCPSocketPosix *>(mServerPackage->TakeWaitingSocket());
    if (!pooled) {
      close(accepted); // nothing waits for it: refused
      return;
    }
    pooled->CloseDescriptor();
    pooled->mDescriptor = accepted;
    pooled->mConnected = true;
    pooled->mOwningServer = this;
    mAddSocketLatch = true;
    pooled->mConnectedLatch = true;
    pooled->FireEvents();
    return;
  }
  // A plain socket takes this one connection and listens no more.
  close(mDescriptor);
  mDescriptor = accepted;
  mConnected = true;
  mConnectedLatch = true;
  mAccepting = false;
}

void TCPSocketPosix::Poll() {
  if (mDescriptor < 0)
    return;
  // Handlers run below may drop the last reference to the object, close the
  // socket or start a new operation on it; the hold keeps the object alive
  // and tells when this service must touch nothing more.
  SocketServiceHold hold(this);
  pollfd entry{mDescriptor, POLLPRI, 0};
  if (mAccepting ? AcceptResumed() : mConnected && !ReceiveBufferFull())
    entry.events |= POLLIN;
  if (!mConnected || mWriteWanted)
    entry.events |= POLLOUT;
  int ready = poll(&entry, 1, 0);
  if (ready < 0) {
    ReportErrno(errno);
    return;
  }
  if (ready > 0) {
    // As a readiness check over the one descriptor reports them: a failed or
    // hung-up descriptor counts as ready for what was asked.
    const short failed = POLLERR | POLLHUP;
    bool readable = (entry.events & POLLIN) && (entry.revents & (POLLIN | failed));
    bool writable = (entry.events & POLLOUT) && (entry.revents & (POLLOUT | failed));
    bool exceptional = entry.revents & POLLPRI;
    if (readable) {
      if (mAccepting)
        DoAccept();
      else if (mConnected) {
        if (!RecvToBuffer())
          return;
      } else if (!FinishConnect())
        return;
    }
    if (!hold.Unchanged())
      return;
    if (mDescriptor >= 0 && writable) {
      if (mConnected) {
        mWriteWanted = false;
        if (!SendFromBuffer())
          return;
      } else if (!FinishConnect())
        return;
    }
    if (mDescriptor >= 0 && exceptional) {
      SocketError(mConnected ? kLostConnection : kNameResolutionError);
      return;
    }
  }
  FireEvents();
}

void TCPSocketPosix::Flush() {
  SocketServiceHold hold(this);
  Poll();
  // Sends on while the connection takes bytes, up to a deadline, so that a
  // slow reader does not stop the run loop; what is left stays in the buffer
  // for later services, which fire SendComplete when it went out.
  const int64_t deadline = MonotonicMs() + kFlushDeadlineMs;
  while (hold.Unchanged() && mConnected && mDescriptor >= 0 && !mSendBuffer.IsEmpty()) {
    int64_t left = deadline - MonotonicMs();
    if (left <= 0)
      break;
    pollfd entry{mDescriptor, POLLOUT, 0};
    int ready = poll(&entry, 1, int(left < kFlushStallMs ? left : kFlushStallMs));
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready <= 0)
      break;
    int32_t before = mSendBuffer.Length();
    if (!SendFromBuffer() || mSendBuffer.Length() == before)
      break;
  }
}

bool TCPSocketPosix::MoreDataToReceive() {
  int available = 0;
  return mDescriptor >= 0 && !ReceiveBufferFull() &&
         ioctl(mDescriptor, FIONREAD, &available) == 0 && available > 0;
}

bool TCPSocketPosix::ReceiveBufferFull() const { return mReceiveBuffer.Length() >= kUnreadBound; }

bool TCPSocketPosix::AcceptResumed() {
  if (mAcceptResumeMs != 0 && MonotonicMs() < mAcceptResumeMs)
    return false;
  mAcceptResumeMs = 0;
  return true;
}

int32_t TCPSocketPosix::ActualPortBoundTo() {
  if (mDescriptor < 0)
    return -1;
  sockaddr_in own{};
  socklen_t length = sizeof own;
  if (getsockname(mDescriptor, reinterpret_cast<sockaddr *>(&own), &length) != 0 ||
      own.sin_family != AF_INET)
    return -1;
  return ntohs(own.sin_port);
}

string TCPSocketPosix::GetRemoteAddress() {
  if (mDescriptor < 0)
    return string();
  if (mLocalMode)
    return mPath;
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  if (getpeername(mDescriptor, reinterpret_cast<sockaddr *>(&peer), &length) != 0) {
    ReportErrno(errno);
    return string();
  }
  return string(inet_ntoa(peer.sin_addr));
}
