#include "net/SerialCompatPosix.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "net/SocketCompatPosix.h"

SerialCalls gSerialCalls = {};

bool SetupSerialCompat() {
  if (!gSerialCalls.open) {
    gSerialCalls.open = ::open;
    gSerialCalls.write = ::write;
    gSerialCalls.read = ::read;
    gSerialCalls.close = ::close;
    gSerialCalls.tcgetattr = ::tcgetattr;
    gSerialCalls.tcsetattr = ::tcsetattr;
    gSerialCalls.tcdrain = ::tcdrain;
    gSerialCalls.tcsendbreak = ::tcsendbreak;
    gSerialCalls.cfgetispeed = ::cfgetispeed;
    gSerialCalls.cfgetospeed = ::cfgetospeed;
    gSerialCalls.cfsetispeed = ::cfsetispeed;
    gSerialCalls.cfsetospeed = ::cfsetospeed;
    gSerialCalls.fflush = ::fflush;
    gSerialCalls.fcntl = ::fcntl;
    gSerialCalls.ioctl = ::ioctl;
  }
  // Serial code also needs the socket calls' fcntl and ioctl.
  return SetupSocketCompat() && gSerialCalls.fcntl && gSerialCalls.ioctl;
}
