// The System module of the language (class "_SystemClass", a new stateless
// object each time it is named), the NetworkInterface class and the movie
// engine's install status.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

ObjectDefinition *SystemClass();
ObjectDefinition *NetworkInterfaceClass();
ObjectDefinition *QTInstallStatusClass();

// An address with the first octet in the top byte, written "a.b.c.d".
string DottedAddress(uint32_t address);
// The process's arguments joined by blanks, built on the first call and kept
// until exit.
string ProcessCommandLine();

// A new System object, for the global function System.
RuntimeObject *NewSystemObject();

extern "C" {
// The pointer and the screen (GDK).
int32_t getMouseX();
int32_t getMouseY();
int32_t getMouseDown();
uint32_t systemPixel(RuntimeObject *system, int32_t x, int32_t y);

stringStorage *SystemGetCommandLine(RuntimeObject *system);
stringStorage *SystemGetEnvVariable(RuntimeObject *system, stringStorage *name);
void SystemSetEnvVariable(RuntimeObject *system, stringStorage *name, stringStorage *value);

int32_t SystemGetNetworkInterfaceCount(RuntimeObject *system);
// A new NetworkInterface for index -1 to count - 1; any other index raises
// OutOfBoundsException.
RuntimeObject *GetNetworkInterfaceObject(RuntimeObject *system, int32_t index);
stringStorage *SystemGetMACAddress(RuntimeObject *networkInterface);
stringStorage *SystemGetIPAddress(RuntimeObject *networkInterface);
stringStorage *SystemGetSubnetMask(RuntimeObject *networkInterface);
stringStorage *SystemGetPrimaryDNSAddress(RuntimeObject *networkInterface);
stringStorage *SystemGetRouterAddress(RuntimeObject *networkInterface);

double SystemGetPenPressure(RuntimeObject *system);
int32_t SystemGetPenType(RuntimeObject *system);
int32_t SystemGetPenButton(RuntimeObject *system, int32_t index);
int32_t systemGestalt(RuntimeObject *system, stringStorage *code, int32_t *result);
int32_t systemGetKeyScript(RuntimeObject *system);
void systemSetKeyScript(RuntimeObject *system, int32_t, int32_t script);
RuntimeObject *systemGetQTInstallStatus(RuntimeObject *system);
int32_t QTInstalledGetter(RuntimeObject *status);
RuntimeObject *systemGetDefaultKeyChain(RuntimeObject *system);
void systemSetDefaultKeyChain(RuntimeObject *system, int32_t, RuntimeObject *keyChain);
int32_t systemGetKeyChainCount(RuntimeObject *system);
}
