// The class tables of the System module, NetworkInterface and
// "_QuicktimeInstallStatus".
#include "desktop/SystemClass.h"

#include <iterator>

#include "language/ClassBuilding.h"
#include "net/SerialObjects.h"
#include "net/SocketEntryPoints.h"
#include "net/SocketObjects.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

constexpr int32_t kConsole = kConsoleAvailableFlag;
constexpr int32_t kOtherPlatforms = -9; // the last word of members other platforms fill

} // namespace

ObjectDefinition *QTInstallStatusClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      {5, "Installed", &booleanType.type, ACCESSOR(QTInstalledGetter), NO_ACCESSOR, 0, 0},
  };
  DefineBuiltinClass(defn, {"_QuicktimeInstallStatus", sizeof(RuntimeObject), nullptr, nullptr, false},
                     properties, 1, nullptr, 0);
  return &defn;
}

ObjectDefinition *NetworkInterfaceClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      {5, "MACAddress", &stringType.type, ACCESSOR(SystemGetMACAddress), NO_ACCESSOR, 0, 0},
      {5, "IPAddress", &stringType.type, ACCESSOR(SystemGetIPAddress), NO_ACCESSOR, 0, 0},
      {5, "SubnetMask", &stringType.type, ACCESSOR(SystemGetSubnetMask), NO_ACCESSOR, 0, 0},
  };
  DefineBuiltinClass(defn, {"NetworkInterface", sizeof(NetworkInterfaceObject), nullptr, nullptr, true},
                     properties, 3, nullptr, 0);
  return &defn;
}

ObjectDefinition *SystemClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  const BuiltinClassHooks &classes = GetBuiltinClassHooks();
  PropertyType *keyChain = ForeignClassType(nullptr, "KeyChain"); // not registered on this platform yet
  static ObjectInstanceTemplate properties[] = {
      {kConsole, "SerialPortCount", &integerType.type, ACCESSOR(getSerialPortCount), NO_ACCESSOR, 0, 0},
      {0, "MouseX", &integerType.type, ACCESSOR(getMouseX), NO_ACCESSOR, 0, 0},
      {0, "MouseY", &integerType.type, ACCESSOR(getMouseY), NO_ACCESSOR, 0, 0},
      {0, "MouseDown", &booleanType.type, ACCESSOR(getMouseDown), NO_ACCESSOR, 0, 0},
      {0, "KeyScript", &integerType.type, ACCESSOR(systemGetKeyScript), ACCESSOR(systemSetKeyScript), 0,
       kOtherPlatforms},
      {5, "PPPStatus", &integerType.type, ACCESSOR(socketPPPStatus), NO_ACCESSOR, 0, 0},
      {5, "Quicktime", nullptr, ACCESSOR(systemGetQTInstallStatus), NO_ACCESSOR, 0, 0},
      {0, "KeyChain", nullptr, ACCESSOR(systemGetDefaultKeyChain), ACCESSOR(systemSetDefaultKeyChain), 0,
       kOtherPlatforms},
      {0, "KeyChainCount", &integerType.type, ACCESSOR(systemGetKeyChainCount), NO_ACCESSOR, 0,
       kOtherPlatforms},
      {132, "NetworkInterfaceCount", &integerType.type, ACCESSOR(SystemGetNetworkInterfaceCount),
       NO_ACCESSOR, 0, 0},
      {1, "PenPressure", &doubleType.type, ACCESSOR(SystemGetPenPressure), NO_ACCESSOR, 0, 0},
      {1, "PenType", &integerType.type, ACCESSOR(SystemGetPenType), NO_ACCESSOR, 0, 0},
  };
  properties[6].type = QTInstallStatusClass()->AsType();
  properties[7].type = keyChain;

  static MethodParameter index[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter gestalt[] = {{"code", &stringType.type, 0, {}, 0, {}, 0, {}},
                                      {"result", &integerType.type, 1, {}, 0, {}, 0, {}}};
  static MethodParameter xy[] = {{"x", &integerType.type, 0, {}, 0, {}, 0, {}},
                                 {"y", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter interaction[] = {
      {"UserInteraction", &booleanType.type, 0, {}, 1, {}, 0, {}}};
  static MethodParameter interfaceIndex[] = {{"Index", &integerType.type, 0, {}, 1, {}, -1, {}}};
  static MethodParameter name[] = {{"Name", &stringType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter nameValue[] = {{"Name", &stringType.type, 0, {}, 0, {}, 0, {}},
                                        {"Value", &stringType.type, 0, {}, 0, {}, 0, {}}};
  static PropertyMethod methods[] = {
      {"SerialPort", nullptr, index, 1, {{ACCESSOR(getSerialPort), {}}, {}}, 0, kConsole, 0},
      {"Gestalt", &booleanType.type, gestalt, 2, {{ACCESSOR(systemGestalt), {}}, {}}, 0, kConsole,
       kOtherPlatforms},
      {"CommandLine", &stringType.type, nullptr, 0, {{ACCESSOR(SystemGetCommandLine), {}}, {}}, 0,
       kConsole, 0},
      {"Pixel", &colourType.type, xy, 2, {{ACCESSOR(systemPixel), {}}, {}}, 0, 0, 0},
      {"PPPConnect", nullptr, interaction, 1, {{ACCESSOR(socketPPPConnect), {}}, {}}, 0, kConsole, 0},
      {"PPPDisconnect", nullptr, nullptr, 0, {{ACCESSOR(socketPPPDisconnect), {}}, {}}, 0, kConsole, 0},
      {"GetNetworkInterface", nullptr, interfaceIndex, 1,
       {{ACCESSOR(GetNetworkInterfaceObject), {}}, {}}, 0, kConsole, 0},
      {"PenButtonPushed", &booleanType.type, index, 1, {{ACCESSOR(SystemGetPenButton), {}}, {}}, 0, 0,
       0},
      {"EnvironmentVariable", &stringType.type, name, 1, {{ACCESSOR(SystemGetEnvVariable), {}}, {}}, 0,
       kConsole, 0},
      {"EnvironmentVariable", nullptr, nameValue, 2, {{}, {ACCESSOR(SystemSetEnvVariable), {}}},
       kAssignsMethod, kConsole, 0},
  };
  methods[0].returnType = ForeignClassType(classes.SerialPortClass, "SerialPort");
  methods[6].returnType = NetworkInterfaceClass()->AsType();
  DefineBuiltinClass(defn, {"_SystemClass", sizeof(RuntimeObject), nullptr, nullptr, false}, properties,
                     int32_t(std::size(properties)), methods, int32_t(std::size(methods)));
  return &defn;
}
