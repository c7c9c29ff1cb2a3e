// What start-up and the window layer call in the networking area: the
// builders of its classes and the closing of a window's sockets. Filled
// while the program's static objects are made, before main.
#include "net/IPCSocketClasses.h"
#include "net/SerialObjects.h"
#include "net/SocketClasses.h"
#include "net/SocketEntryPoints.h"
#include "net/UDPSocketClasses.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.SocketCoreClass = SocketCoreClass;
  classes.TCPSocketClass = TCPSocketClass;
  classes.UDPSocketClass = UDPSocketClass;
  classes.DatagramClassLookup = DatagramClassLookup;
  classes.ServerSocketClass = ServerSocketClass;
  classes.OldSocketClass = OldSocketClass;
  classes.IPCSocketClass = IPCSocketClass;
  classes.SerialControlClass = SerialControlClass;
  classes.SerialPortClass = SerialPortClass;
  UpperAreaHooksToFill().closeSocketOfObject = CloseSocketOfObject;
  return true;
}();

} // namespace
