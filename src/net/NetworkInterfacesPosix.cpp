#include "net/NetworkInterfacesPosix.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <strings.h>

namespace {

uint32_t HostOrderIPv4(const struct sockaddr *address) {
  if (!address || address->sa_family != AF_INET)
    return 0;
  return ntohl(reinterpret_cast<const sockaddr_in *>(address)->sin_addr.s_addr);
}

NetworkInterfaceRecord MakeRecord(const struct ifaddrs &entry) {
  NetworkInterfaceRecord record{};
  std::snprintf(record.name, sizeof record.name, "%s", entry.ifa_name ? entry.ifa_name : "");
  record.family = entry.ifa_addr ? entry.ifa_addr->sa_family : -1;
  record.address = HostOrderIPv4(entry.ifa_addr);
  record.netmask = HostOrderIPv4(entry.ifa_netmask);
  if (entry.ifa_flags & IFF_BROADCAST)
    record.broadcast = HostOrderIPv4(entry.ifa_broadaddr);
  return record;
}

bool IPv4Interface(int32_t n, NetworkInterfaceRecord *record) {
  bool found = false;
  FindNetworkInterface(n < 0 ? 0 : n, record, AF_INET, nullptr, true, &found);
  return found;
}

} // namespace

bool IsLoopbackAddress(const struct sockaddr *address) {
  return address && address->sa_family == AF_INET && HostOrderIPv4(address) == INADDR_LOOPBACK;
}

int32_t FindNetworkInterface(int32_t number, NetworkInterfaceRecord *record, int32_t family,
                             const char *name, bool skipLoopback, bool *found) {
  struct ifaddrs *list = nullptr;
  if (getifaddrs(&list) != 0)
    return -1;
  int32_t count = 0;
  int32_t answer = -1;
  for (struct ifaddrs *entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != family)
      continue;
    if (skipLoopback && IsLoopbackAddress(entry->ifa_addr))
      continue;
    if (record) {
      bool chosen =
          name ? (entry->ifa_name && strcasecmp(entry->ifa_name, name) == 0) : count == number;
      if (chosen) {
        *record = MakeRecord(*entry);
        if (found)
          *found = true;
        answer = count;
        break;
      }
    }
    ++count;
  }
  freeifaddrs(list);
  return record ? answer : count;
}

int32_t Posix_GetNetworkInterfaceCount() {
  int32_t count = FindNetworkInterface(0, nullptr, AF_INET, nullptr, true, nullptr);
  return count < 0 ? 0 : count;
}

uint32_t Posix_GetLocalIPAddress(int32_t n) {
  NetworkInterfaceRecord record;
  return IPv4Interface(n, &record) ? record.address : 0;
}

uint32_t Posix_GetNetworkInterfaceSubnetMask(int32_t n) {
  NetworkInterfaceRecord record;
  return IPv4Interface(n, &record) ? record.netmask : 0;
}

uint32_t Posix_GetBroadcastAddress(int32_t n) {
  NetworkInterfaceRecord record;
  return IPv4Interface(n, &record) ? record.broadcast : 0;
}

string Posix_GetMACAddress(int32_t n) {
  NetworkInterfaceRecord ipv4;
  if (!IPv4Interface(n, &ipv4))
    return string();
  // The link-layer entry of the same interface carries the hardware address.
  struct ifaddrs *list = nullptr;
  if (getifaddrs(&list) != 0)
    return string();
  string text;
  for (struct ifaddrs *entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET || !entry->ifa_name ||
        strcmp(entry->ifa_name, ipv4.name) != 0)
      continue;
    const auto *link = reinterpret_cast<const sockaddr_ll *>(entry->ifa_addr);
    char digits[3 * sizeof link->sll_addr + 1] = "";
    size_t used = 0;
    for (int i = 0; i < link->sll_halen && i < int(sizeof link->sll_addr); ++i)
      used += std::snprintf(digits + used, sizeof digits - used, i ? ":%02X" : "%02X",
                            link->sll_addr[i]);
    if (used > 0)
      text = string(digits);
    break;
  }
  freeifaddrs(list);
  return text;
}

int32_t GetNetworkInterfaceCount() { return Posix_GetNetworkInterfaceCount(); }
uint32_t GetLocalIPAddress(int32_t n) { return Posix_GetLocalIPAddress(n); }
uint32_t GetNetworkInterfaceSubnetMask(int32_t n) { return Posix_GetNetworkInterfaceSubnetMask(n); }
uint32_t GetBroadcastAddress(int32_t n) { return Posix_GetBroadcastAddress(n); }
string GetMACAddress(int32_t n) { return Posix_GetMACAddress(n); }
uint32_t GetRouterAddress(int32_t) { return 0; }
uint32_t GetPrimaryDNSAddress(int32_t) { return 0; }
