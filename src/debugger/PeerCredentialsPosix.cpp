// The owner of the process at the other end of a local socket.
#include <sys/socket.h>
#include <unistd.h>

#include "debugger/IPCSocketConnection.h"

bool PeerIsTrusted(int descriptor) {
  struct ucred peer {};
  socklen_t size = sizeof peer;
  if (descriptor < 0 || getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
    return false;
  return peer.uid == getuid() || peer.uid == 0;
}
