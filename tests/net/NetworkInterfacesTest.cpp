// The interface queries and a connection refused after it was under way,
// inside a network namespace of their own (skipped where none can be made).
#include <gtest/gtest.h>

#include <poll.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/NetTestSupport.h"
#include "net/NetworkInterfacesPosix.h"
#include "net/SocketCore.h"
#include "net/UDPSocketPosix.h"

namespace {

constexpr int kSkipped = 77;

// Runs the checks in a child process inside a new network namespace; its
// exit status is 0, the number of the failed check, or kSkipped.
int InOwnNetworkNamespace(int (*checks)()) {
  pid_t child = fork();
  if (child == 0) {
    if (unshare(CLONE_NEWNET) != 0)
      _exit(kSkipped);
    _exit(checks());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

int InterfaceChecks() {
  // Only loopback, which the queries leave out.
  if (Posix_GetNetworkInterfaceCount() != 0)
    return 1;
  if (GetLocalIPAddress(0) != 0 || !GetMACAddress(0).IsEmpty())
    return 2;
  if (std::system("ip link add t17a type veth peer name t17b && "
                  "ip addr add 10.17.0.1/24 brd + dev t17a && ip link set t17a up") != 0)
    return kSkipped;
  if (Posix_GetNetworkInterfaceCount() != 1)
    return 3;
  if (GetLocalIPAddress(0) != 0x0A110001u || GetLocalIPAddress(-1) != 0x0A110001u)
    return 4;
  if (GetNetworkInterfaceSubnetMask(0) != 0xFFFFFF00u || GetBroadcastAddress(0) != 0x0A1100FFu)
    return 5;
  if (GetLocalIPAddress(1) != 0 || GetRouterAddress(0) != 0 || GetPrimaryDNSAddress(0) != 0)
    return 6;
  string mac = GetMACAddress(0);
  const char *text = mac.CString();
  if (mac.Length() != 17 || text[2] != ':' || text[14] != ':')
    return 7;
  for (int i = 0; i < 17; ++i)
    if (i % 3 != 2 && !(std::isdigit(text[i]) || (text[i] >= 'A' && text[i] <= 'F')))
      return 8;
  bool found = false;
  NetworkInterfaceRecord record;
  if (FindNetworkInterface(0, &record, AF_INET, "T17A", true, &found) != 0 || !found)
    return 9;
  return 0;
}

// The peer end sits in a second namespace where nothing listens: the refusal
// arrives after connect reported the attempt under way.
int RefusedAfterInProgressChecks() {
  pid_t holder = fork();
  if (holder == 0) {
    if (unshare(CLONE_NEWNET) != 0)
      _exit(kSkipped);
    sleep(60);
    _exit(0);
  }
  usleep(300000);
  std::string setup = "ip link add t17a type veth peer name t17b && "
                      "ip addr add 10.17.0.1/24 dev t17a && ip link set t17a up && "
                      "ip link set t17b netns " +
                      std::to_string(holder) + " && nsenter -t " + std::to_string(holder) +
                      " -n sh -c 'ip addr add 10.17.0.2/24 dev t17b && ip link set t17b up'";
  int result = kSkipped;
  if (std::system(setup.c_str()) == 0) {
    RecordingDelegate delegate;
    TCPSocket *socket = CreateTCPSocket(nullptr, &delegate);
    socket->Connect(string("10.17.0.2"), 7582);
    bool underWay = delegate.events.empty();
    ServiceUntil([&] { return !delegate.events.empty(); }, 200000, 30);
    result = !underWay ? 1 : delegate.events != std::vector<std::string>{"error 103"} ? 2 : 0;
    delete socket;
  }
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  return result;
}

// A UDP socket's BroadcastAddress is the interface's, and a datagram written
// to "255.255.255.255" goes out as the broadcast it is: a listener on the
// machine receives it.
int BroadcastChecks() {
  if (std::system("ip link add t17a type veth peer name t17b && "
                  "ip addr add 10.17.0.1/24 brd + dev t17a && ip link set t17a up && "
                  "ip link set t17b up && ip route add default dev t17a") != 0)
    return kSkipped;
  UDPSocketPosix udp(nullptr);
  if (std::string(udp.GetBroadcastAddress().CString()) != "10.17.0.255")
    return 1;
  int listener = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in own{};
  own.sin_family = AF_INET;
  socklen_t length = sizeof own;
  if (bind(listener, reinterpret_cast<sockaddr *>(&own), sizeof own) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr *>(&own), &length) != 0)
    return 2;
  udp.Open(0);
  char address[] = "255.255.255.255", data[] = "to all";
  udp.Send(Datagram{address, ntohs(own.sin_port), data, 6});
  if (udp.GetLastError() != 0)
    return 3;
  pollfd entry{listener, POLLIN, 0};
  char got[16] = {};
  if (poll(&entry, 1, 2000) != 1 || recv(listener, got, sizeof got, 0) != 6 ||
      std::string(got) != "to all")
    return 4;
  close(listener);
  return 0;
}

TEST(NetworkInterfaces, UDPBroadcastAddressAndTheBroadcastAddressWrittenOut) {
  ASSERT_EQ(NetInit(), 0);
  int status = InOwnNetworkNamespace(BroadcastChecks);
  if (status == kSkipped)
    GTEST_SKIP() << "no network namespace with a veth pair can be made here";
  EXPECT_EQ(status, 0) << "check " << status << " failed";
}

TEST(NetworkInterfaces, OnlyLoopbackCountsAsNoneAndAVethAddressIsFound) {
  int status = InOwnNetworkNamespace(InterfaceChecks);
  if (status == kSkipped)
    GTEST_SKIP() << "no network namespace can be made here";
  EXPECT_EQ(status, 0) << "check " << status << " failed";
}

TEST(NetworkInterfaces, RefusalAfterTheAttemptWasUnderWayGives103WithoutConnected) {
  ASSERT_EQ(NetInit(), 0);
  int status = InOwnNetworkNamespace(RefusedAfterInProgressChecks);
  if (status == kSkipped)
    GTEST_SKIP() << "no pair of network namespaces can be made here";
  EXPECT_EQ(status, 0) << "check " << status << " failed";
}

TEST(NetworkInterfaces, LoopbackAddressIsRecognised) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_TRUE(IsLoopbackAddress(reinterpret_cast<sockaddr *>(&address)));
  address.sin_addr.s_addr = htonl(0x0A000001);
  EXPECT_FALSE(IsLoopbackAddress(reinterpret_cast<sockaddr *>(&address)));
}

} // namespace
