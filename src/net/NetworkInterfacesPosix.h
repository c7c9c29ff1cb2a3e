// The machine's network interfaces as the sockets and the System module see
// them: the IPv4 interfaces in the order the system lists them, loopback
// (127.0.0.1) left out, numbered from 0 (-1 counts as 0).
#pragma once
#include <cstdint>
#include <net/if.h>
#include <netinet/in.h>

#include "foundation/String.h"

// A copy of one interface entry.
struct NetworkInterfaceRecord {
  char name[IFNAMSIZ];
  int32_t family;
  uint32_t address;   // IPv4, host order
  uint32_t netmask;   // IPv4, host order
  uint32_t broadcast; // IPv4, host order
};

// Walks the interface list counting entries of the family (with skipLoopback,
// an IPv4 127.0.0.1 entry is neither counted nor chosen). With a record, the
// chosen entry (the first whose name matches, letter case ignored, or without
// a name the one whose count equals number) is copied out, found is set and
// the count at that point is answered; without one, the count of all
// matching entries. -1 when the list cannot be read.
int32_t FindNetworkInterface(int32_t number, NetworkInterfaceRecord *record, int32_t family,
                             const char *name, bool skipLoopback, bool *found);
bool IsLoopbackAddress(const struct sockaddr *address);

int32_t Posix_GetNetworkInterfaceCount();
// Host order, the first number of the dotted form in the top byte; 0 when
// there is no such interface.
uint32_t Posix_GetLocalIPAddress(int32_t n);
uint32_t Posix_GetNetworkInterfaceSubnetMask(int32_t n);
uint32_t Posix_GetBroadcastAddress(int32_t n);
// "00:1A:2B:..." in upper case; empty when there is none.
string Posix_GetMACAddress(int32_t n);

// The portable names.
int32_t GetNetworkInterfaceCount();
uint32_t GetLocalIPAddress(int32_t n);
uint32_t GetNetworkInterfaceSubnetMask(int32_t n);
uint32_t GetBroadcastAddress(int32_t n);
string GetMACAddress(int32_t n);
uint32_t GetRouterAddress(int32_t n);     // always 0
uint32_t GetPrimaryDNSAddress(int32_t n); // always 0
