#include "net/UDPSocketPosix.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/NetworkInterfacesPosix.h"
#include "net/SocketClasses.h"

UDPSocket *CreateUDPSocket(RuntimeObject *control, UDPSocketDelegate *delegate) {
  auto *socket = new UDPSocketPosix(control);
  socket->SetDelegate(delegate);
  return socket;
}

int32_t TranslateUDPErrno(int32_t number) {
  switch (number) {
  case EPERM:
  case EACCES:
  case EADDRNOTAVAIL:
    return kInvalidPortError;
  case ENOMEM:
  case ENFILE:
  case ENOBUFS:
    return kOutOfMemoryError;
  case EPIPE:
  case ECONNABORTED:
    return kLostConnection;
  case EADDRINUSE:
    return kAddressInUseError;
  case ENETUNREACH:
  case ENOTCONN:
  case ETIMEDOUT:
  case ECONNREFUSED:
    return kNameResolutionError;
  default:
    return number;
  }
}

UDPSocketPosix::UDPSocketPosix(RuntimeObject *control) : UDPSocket(control) {}

UDPSocketPosix::~UDPSocketPosix() { UDPSocketPosix::Shutdown(true); }

void UDPSocketPosix::Shutdown(bool full) {
  if (mDescriptor >= 0)
    close(mDescriptor);
  mDescriptor = -1;
  UDPSocket::Shutdown(full);
}

void UDPSocketPosix::Reset(bool full) {
  UDPSocket::Reset(full);
  mDescriptor = -1;
}

void UDPSocketPosix::RaiseError(int32_t code) {
  if (code == 0)
    return;
  mLastError = code;
  if (mControl)
    SetObjectLastErrorCode(mControl, code);
  mFiredEvents |= kErrorEventBit;
  FireEvents();
}

void UDPSocketPosix::FireError(int32_t number) {
  if (number != 0)
    RaiseError(TranslateUDPErrno(number));
}

void UDPSocketPosix::Open(int32_t port) {
  Shutdown(false);
  Reset(true);
  UDPSocket::Open(port);
  if (NetInit() != 0) {
    RaiseError(kOpenDriverError);
    return;
  }
  int descriptor = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (descriptor < 0) {
    RaiseError(kOpenDriverError);
    return;
  }
  mDescriptor = descriptor;
  sockaddr_in own{};
  own.sin_family = AF_INET;
  own.sin_port = htons(uint16_t(port));
  int32_t interfaceNumber = 0;
  own.sin_addr.s_addr = NetworkInterfaceNumberOf(mControl, &interfaceNumber)
                            ? htonl(GetLocalIPAddress(interfaceNumber))
                            : htonl(INADDR_ANY);
  if (bind(descriptor, reinterpret_cast<sockaddr *>(&own), sizeof own) != 0) {
    FireError(errno);
    return;
  }
  int on = 1;
  if (setsockopt(descriptor, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
    FireError(errno);
    return;
  }
  // Non-blocking: a send the network cannot take now waits in the queue
  // instead of stalling the run loop.
  int flags = fcntl(descriptor, F_GETFL, 0);
  if (flags < 0 || fcntl(descriptor, F_SETFL, flags | O_NONBLOCK) != 0) {
    FireError(errno);
    return;
  }
  mConnected = true;
}

void UDPSocketPosix::Poll() {
  if (mDescriptor < 0)
    return;
  // Readiness, not the size of the next datagram, tells whether one waits:
  // an empty datagram has size 0 and must still be taken off the queue.
  bool waiting = false;
  if (mConnected) {
    pollfd entry{mDescriptor, POLLIN, 0};
    waiting = poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN);
  }
  if (!waiting && mOutgoing.count() == 0 && mFiredEvents == 0)
    return;
  if (waiting)
    DoRcv();
  if (mOutgoing.count() > 0)
    DoSend();
  FireEvents();
}

void UDPSocketPosix::DoRcv() {
  int size = 0;
  if (ioctl(mDescriptor, FIONREAD, &size) != 0 || size < 0)
    size = 0;
  Datagram *record = NewDatagram("", 0, nullptr, uint32_t(size));
  if (!record) {
    RaiseError(kOutOfMemoryError);
    return;
  }
  sockaddr_in from{};
  socklen_t fromLength = sizeof from;
  ssize_t got = recvfrom(mDescriptor, record->data, size_t(size) + 1, 0,
                         reinterpret_cast<sockaddr *>(&from), &fromLength);
  if (got < 0) {
    int number = errno;
    FreeDatagram(record);
    if (number != EAGAIN && number != EWOULDBLOCK)
      FireError(number);
    return;
  }
  if (size_t(got) > size_t(size))
    got = size; // the datagram's size was read before it; never past the area
  record->data[got] = 0;
  record->length = uint32_t(got);
  record->port = ntohs(from.sin_port);
  char *address = strdup(inet_ntoa(from.sin_addr));
  if (address) {
    std::free(record->address);
    record->address = address;
  }
  mReceived.push_back(record);
  mFiredEvents |= kDataAvailableEventBit;
}

void UDPSocketPosix::DoSend() {
  if (mDescriptor < 0 || mOutgoing.count() == 0 || !mConnected)
    return;
  const Datagram *record = mOutgoing[0];
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(uint16_t(record->port));
  inet_aton(record->address, &to.sin_addr); // checked when it was queued
  ssize_t sent = sendto(mDescriptor, record->data, record->length, 0,
                        reinterpret_cast<sockaddr *>(&to), sizeof to);
  if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
    return; // stays queued for the next service
  int number = errno;
  DropOldestOutgoing();
  if (sent < 0)
    FireError(number);
  else
    mFiredEvents |= kSendCompleteEventBit;
}

void UDPSocketPosix::Send(const Datagram &record) {
  if (mDescriptor < 0 || !mConnected) {
    RaiseError(kInvalidStateError);
    return;
  }
  // Only dotted addresses are sent to; "255.255.255.255" is the broadcast
  // address, not a failure to read one.
  in_addr host{};
  if (!record.address || inet_aton(record.address, &host) == 0) {
    RaiseError(kNameResolutionError);
    return;
  }
  UDPSocket::Send(record);
  DoSend();
}

bool UDPSocketPosix::CheckBound() {
  if (mDescriptor >= 0 && mConnected)
    return true;
  RaiseError(kInvalidStateError);
  return false;
}

bool UDPSocketPosix::ChangeMembership(const string &group, int option) {
  if (!CheckBound())
    return false;
  ip_mreq request{};
  request.imr_multiaddr.s_addr = inet_addr(group.CString());
  int32_t interfaceNumber = 0;
  request.imr_interface.s_addr = NetworkInterfaceNumberOf(mControl, &interfaceNumber)
                                     ? htonl(GetLocalIPAddress(interfaceNumber))
                                     : htonl(INADDR_ANY);
  if (setsockopt(mDescriptor, IPPROTO_IP, option, &request, sizeof request) != 0) {
    FireError(errno);
    return false;
  }
  return true;
}

bool UDPSocketPosix::JoinMulticastGroup(const string &group) {
  return ChangeMembership(group, IP_ADD_MEMBERSHIP);
}

void UDPSocketPosix::LeaveMulticastGroup(const string &group) {
  ChangeMembership(group, IP_DROP_MEMBERSHIP);
}

void UDPSocketPosix::SetMulticastLoopback(bool flag) {
  if (mDescriptor < 0 || ActualPortBoundTo() == -1)
    return;
  unsigned char value = flag ? 1 : 0;
  if (setsockopt(mDescriptor, IPPROTO_IP, IP_MULTICAST_LOOP, &value, sizeof value) != 0)
    FireError(errno);
}

void UDPSocketPosix::SetMulticastTTL(uint32_t ttl) {
  if (mDescriptor < 0 || ActualPortBoundTo() == -1)
    return;
  unsigned char value = static_cast<unsigned char>(ttl > 255 ? 255 : ttl);
  if (setsockopt(mDescriptor, IPPROTO_IP, IP_MULTICAST_TTL, &value, sizeof value) != 0)
    FireError(errno);
}

string UDPSocketPosix::GetBroadcastAddress() {
  in_addr address{htonl(::GetBroadcastAddress(0))};
  return string(inet_ntoa(address));
}

int32_t UDPSocketPosix::ActualPortBoundTo() {
  if (mDescriptor < 0)
    return -1;
  sockaddr_in own{};
  socklen_t length = sizeof own;
  if (getsockname(mDescriptor, reinterpret_cast<sockaddr *>(&own), &length) != 0)
    return -1;
  return ntohs(own.sin_port);
}
