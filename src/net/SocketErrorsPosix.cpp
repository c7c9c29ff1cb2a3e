#include "net/SocketErrorsPosix.h"

#include <cerrno>

#include "net/SocketCore.h"

int32_t TranslateSocketErrno(int32_t number) {
  switch (number) {
  case EPERM:
  case EACCES:
    return kInvalidPortError;
  case ENOENT:
  case ENETUNREACH:
  case ENOTCONN:
  case ETIMEDOUT:
  case ECONNREFUSED:
    return kNameResolutionError;
  case ENOMEM:
  case ENFILE:
  case ENOBUFS:
    return kOutOfMemoryError;
  case EPIPE:
  case ENETRESET:
  case ECONNABORTED:
  case ECONNRESET:
    return kLostConnection;
  case EADDRINUSE:
    return kAddressInUseError;
  default:
    return number;
  }
}

bool SocketWouldBlock(int32_t number) {
  return number == EAGAIN || number == EALREADY || number == EINPROGRESS;
}
