// The System module's answers that come from the process and the network
// interfaces, and the neutral answers of members other platforms fill.
#include <cstdlib>
#include <cstring>

#include <glib.h>

#include "desktop/MovieEngine.h"
#include "desktop/SystemClass.h"
#include "foundation/AssertionAlert.h"
#include "foundation/NumberText.h"
#include "foundation/TextEncodings.h"
#include "net/NetworkInterfacesPosix.h"
#include "net/SocketObjects.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/startup/ProgramArguments.h"

namespace {

// The pen tablet's state; nothing on this platform changes it.
double sPenPressure = 0;
int32_t sPenType = 0;
uint32_t sPenButtons = 0;

constexpr const char *kSource = "../Common/RunSystem";

string &KeptCommandLine() {
  static string line; // released by the static destructors at exit
  return line;
}

// The interface number of a NetworkInterface object; false (with the
// assertion alert) for nil.
bool InterfaceNumber(RuntimeObject *object, int32_t *number) {
  if (!object) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, 201, "networkInterfaceObject",
                             nullptr);
    return false;
  }
  *number = reinterpret_cast<NetworkInterfaceObject *>(object)->number;
  return true;
}

stringStorage *DottedAddressOf(RuntimeObject *object, uint32_t (*query)(int32_t)) {
  int32_t number;
  if (!InterfaceNumber(object, &number))
    return nullptr;
  return DottedAddress(query(number)).ExtractStringStorage();
}

} // namespace

string DottedAddress(uint32_t address) {
  string text = ultoa(long(address >> 24));
  for (int shift = 16; shift >= 0; shift -= 8) {
    text += ".";
    text += ultoa(long((address >> shift) & 0xFF));
  }
  text.SetEncoding(kEncodingASCII);
  return text;
}

RuntimeObject *NewSystemObject() { return CreateInstance(SystemClass()); }

string ProcessCommandLine() {
  string &line = KeptCommandLine();
  if (line.IsEmpty() && gArgv) {
    string joined;
    for (int32_t i = 0; i < gArgc; ++i) {
      if (i > 0)
        joined += " ";
      if (gArgv[i])
        joined += gArgv[i];
    }
    joined.SetEncoding(GetSystemEncoding());
    line = joined;
  }
  return line;
}

extern "C" {

stringStorage *SystemGetCommandLine(RuntimeObject *) {
  return ProcessCommandLine().ExtractStringStorage();
}

// A name that is not set gives nil. Values that are valid UTF-8 are tagged
// UTF-8, so that text beyond ASCII reads as the characters it holds.
stringStorage *SystemGetEnvVariable(RuntimeObject *, stringStorage *name) {
  if (!name)
    return nullptr;
  string key = string::Borrow(name);
  const char *value = getenv(key.CString());
  if (!value)
    return nullptr;
  string text;
  const int length = int(strlen(value));
  text.ConstructFromBuffer(value, length,
                           g_utf8_validate(value, length, nullptr) ? kEncodingUTF8 : kEncodingASCII);
  if (text.IsEmpty())
    return nullptr;
  return text.ExtractStringStorage();
}

void SystemSetEnvVariable(RuntimeObject *, stringStorage *name, stringStorage *value) {
  if (!name)
    return;
  string key = string::Borrow(name);
  string text = string::Borrow(value);
  setenv(key.CString(), text.CString(), 1);
}

int32_t SystemGetNetworkInterfaceCount(RuntimeObject *) { return GetNetworkInterfaceCount(); }

RuntimeObject *GetNetworkInterfaceObject(RuntimeObject *, int32_t index) {
  const int32_t count = GetNetworkInterfaceCount();
  if (index < -1 || index > count - 1) {
    RaiseOutOfBoundsException();
    return nullptr;
  }
  RuntimeObject *object = CreateInstance(NetworkInterfaceClass());
  if (!object) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, 245, "ret", nullptr);
    return nullptr;
  }
  reinterpret_cast<NetworkInterfaceObject *>(object)->number = index;
  return object;
}

stringStorage *SystemGetMACAddress(RuntimeObject *networkInterface) {
  int32_t number;
  if (!InterfaceNumber(networkInterface, &number))
    return nullptr;
  return GetMACAddress(number).ExtractStringStorage();
}

stringStorage *SystemGetIPAddress(RuntimeObject *networkInterface) {
  return DottedAddressOf(networkInterface, GetLocalIPAddress);
}
stringStorage *SystemGetSubnetMask(RuntimeObject *networkInterface) {
  return DottedAddressOf(networkInterface, GetNetworkInterfaceSubnetMask);
}
stringStorage *SystemGetPrimaryDNSAddress(RuntimeObject *networkInterface) {
  return DottedAddressOf(networkInterface, GetPrimaryDNSAddress);
}
stringStorage *SystemGetRouterAddress(RuntimeObject *networkInterface) {
  return DottedAddressOf(networkInterface, GetRouterAddress);
}

double SystemGetPenPressure(RuntimeObject *) { return sPenPressure; }
int32_t SystemGetPenType(RuntimeObject *) { return sPenType; }

int32_t SystemGetPenButton(RuntimeObject *, int32_t index) {
  if (uint32_t(index) > 31)
    return 0;
  return (sPenButtons >> index) & 1;
}

int32_t systemGestalt(RuntimeObject *, stringStorage *, int32_t *result) {
  if (result)
    *result = 0;
  return 0;
}

int32_t systemGetKeyScript(RuntimeObject *) { return 0; }
void systemSetKeyScript(RuntimeObject *, int32_t, int32_t) {}

RuntimeObject *systemGetQTInstallStatus(RuntimeObject *) {
  return CreateInstance(QTInstallStatusClass());
}
int32_t QTInstalledGetter(RuntimeObject *) { return IsQuicktimeInstalled() ? 1 : 0; }

// There are no key chains on this platform.
RuntimeObject *systemGetDefaultKeyChain(RuntimeObject *) { return nullptr; }
void systemSetDefaultKeyChain(RuntimeObject *, int32_t, RuntimeObject *) {}
int32_t systemGetKeyChainCount(RuntimeObject *) { return 0; }

} // extern "C"
