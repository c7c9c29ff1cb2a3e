#include "net/SocketCompatPosix.h"

#include <arpa/inet.h>
#include <cerrno>
#include <ifaddrs.h>
#include <netdb.h>
#include <sys/socket.h>

namespace {

bool CallsPresent() {
  // Linked directly: each is present exactly when its address is not nil.
  const void *calls[] = {
      reinterpret_cast<const void *>(&::inet_addr),
      reinterpret_cast<const void *>(&::gethostbyname),
      reinterpret_cast<const void *>(&::socket),
      reinterpret_cast<const void *>(&::connect),
      reinterpret_cast<const void *>(&::bind),
      reinterpret_cast<const void *>(&::listen),
      reinterpret_cast<const void *>(&::getpeername),
      reinterpret_cast<const void *>(&::inet_ntoa),
      reinterpret_cast<const void *>(&::send),
      reinterpret_cast<const void *>(&::recv),
      reinterpret_cast<const void *>(&::accept),
      reinterpret_cast<const void *>(&::getsockname),
      reinterpret_cast<const void *>(&::setsockopt),
  };
  for (const void *call : calls)
    if (!call)
      return false;
  return true;
}

} // namespace

bool SetupSocketCompat() {
  static const bool complete = CallsPresent();
  return complete;
}

void CleanupSocketCompat() {}

int32_t our_errno() { return errno; }
