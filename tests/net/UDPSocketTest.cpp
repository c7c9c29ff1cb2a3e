// The UDPSocket and Datagram classes driven as compiled code drives them (a
// subclass whose handlers sit in the event slots), against plain datagram
// sockets on 127.0.0.1.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "net/SocketClasses.h"
#include "net/SocketEntryPoints.h"
#include "net/UDPSocketClasses.h"
#include "net/UDPSocketPosix.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/RuntimeClass.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/NetTestSupport.h"

namespace {

std::map<RuntimeObject *, std::vector<std::string>> gEvents;
std::function<void(RuntimeObject *)> gOnData;

void OnDataAvailable(RuntimeObject *self) {
  gEvents[self].push_back("data");
  if (gOnData)
    gOnData(self);
}
void OnError(RuntimeObject *self) {
  gEvents[self].push_back("error " + std::to_string(socketLastErrorCode(self)));
}
void OnSendComplete(RuntimeObject *self, int32_t aborted) {
  gEvents[self].push_back(aborted ? "complete aborted" : "complete");
}

RuntimeClass *UDPClass() {
  static RuntimeClass *cls = nullptr;
  if (!cls) {
    RuntimeClass *base = LookupObjectDefinition(UDPSocketClass());
    cls = RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                          base->staticMethodCount, base->propertyCount);
    cls->instanceSize = sizeof(UDPSocketObject) + 4;
    auto set = [&](const ObjectHookTemplate &row, void *handler) {
      cls->events[row.hook->eventIndex].vector = handler;
    };
    set(SocketCoreHooks[kDataAvailableEvent], reinterpret_cast<void *>(OnDataAvailable));
    set(SocketCoreHooks[kSocketErrorEvent], reinterpret_cast<void *>(OnError));
    set(SocketCoreHooks[kSendCompleteEvent], reinterpret_cast<void *>(OnSendComplete));
  }
  return cls;
}

// A blocking datagram socket on 127.0.0.1 with a port the system chose.
PlainSocket PlainUDP(int *port) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in own{};
  own.sin_family = AF_INET;
  own.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr *>(&own), sizeof own);
  socklen_t length = sizeof own;
  getsockname(fd, reinterpret_cast<sockaddr *>(&own), &length);
  *port = ntohs(own.sin_port);
  return PlainSocket(fd);
}

void SendPlain(const PlainSocket &from, int port, const std::string &bytes) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(uint16_t(port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sendto(from.fd(), bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
}

// The next datagram at the plain socket, or "(none)" after timeoutMs.
std::string ReceivePlain(const PlainSocket &at, int timeoutMs = 2000) {
  pollfd entry{at.fd(), POLLIN, 0};
  if (poll(&entry, 1, timeoutMs) <= 0)
    return "(none)";
  char buffer[2048];
  ssize_t got = recv(at.fd(), buffer, sizeof buffer, 0);
  return got < 0 ? "(failed)" : std::string(buffer, size_t(got));
}

std::string Text(stringStorage *storage) {
  std::string text(stringStorage::CString(storage), size_t(stringStorage::Length(storage)));
  RuntimeUnlockString(storage);
  return text;
}

std::string DatagramData(RuntimeObject *datagram) {
  auto *fields = reinterpret_cast<DatagramObject *>(datagram);
  return std::string(stringStorage::CString(fields->data),
                     size_t(stringStorage::Length(fields->data)));
}

void Write(RuntimeObject *object, const std::string &address, const std::string &data) {
  string a(address.c_str());
  string d;
  d.ConstructFromBuffer(data.data(), int(data.size()));
  UDPSocketWrite(object, a.Storage(), d.Storage());
}

class UDPSocketTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(NetInit(), 0);
    gEvents.clear();
    gOnData = nullptr;
  }
  void TearDown() override {
    for (RuntimeObject *object : mObjects)
      RuntimeUnlockObject(object);
    gOnData = nullptr;
    EXPECT_EQ(gSocketList.count(), 0);
  }

  // A bound socket object (port 0: the system chooses).
  RuntimeObject *Bound(int port = 0) {
    RuntimeObject *object = Unbound();
    SocketPortSetter(object, 0, port);
    SocketConnect(object);
    EXPECT_TRUE(UDPSocketIsBound(object));
    return object;
  }
  RuntimeObject *Unbound() {
    RuntimeObject *object = RuntimeNewObject(UDPClass());
    mObjects.push_back(object);
    return object;
  }
  UDPSocketPosix *Socket(RuntimeObject *object) {
    return static_cast<UDPSocketPosix *>(UDPSocketOfObject(object));
  }
  std::vector<std::string> &EventsOf(RuntimeObject *object) { return gEvents[object]; }

  std::vector<RuntimeObject *> mObjects;
};

TEST_F(UDPSocketTest, ObjectsStartWithTheirDefaults) {
  RuntimeObject *object = Unbound();
  auto *fields = reinterpret_cast<UDPSocketObject *>(object);
  EXPECT_EQ(fields->routerHops, 1);
  EXPECT_TRUE(fields->sendToSelf);
  EXPECT_FALSE(UDPSocketIsBound(object));
  EXPECT_EQ(UDPReadDatagram(object, nullptr), nullptr); // nothing received
  EXPECT_TRUE(IsSocketCoreObject(object));
}

TEST_F(UDPSocketTest, AddressesSendOrReportAsTheyRead) {
  int peerPort;
  PlainSocket peer = PlainUDP(&peerPort);
  // A host alone goes to the Port the object was given.
  RuntimeObject *object = Bound(UnusedPort());
  const std::string withPort = "127.0.0.1:" + std::to_string(peerPort);
  struct Case {
    std::string address;
    std::string expectEvent;
    bool reachesPeer;
    bool reachesSelf;
  } cases[] = {
      {withPort, "complete", true, false},
      {"127.0.0.1", "complete", false, true}, // the socket's own Port
      {"127.0.0.1:1:2", "error 103", false, false},
      {"localhost:" + std::to_string(peerPort), "error 103", false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.address);
    EventsOf(object).clear();
    Write(object, c.address, "payload");
    EXPECT_EQ(UDPSocketPacketsLeftToSend(object), 0);
    auto saw = [&] {
      const std::vector<std::string> &events = EventsOf(object);
      return std::find(events.begin(), events.end(), c.expectEvent) != events.end();
    };
    EXPECT_TRUE(ServiceUntil(saw, 2000, 10));
    EXPECT_EQ(ReceivePlain(peer, c.reachesPeer ? 2000 : 100), c.reachesPeer ? "payload" : "(none)");
    if (c.reachesSelf) {
      ASSERT_TRUE(ServiceUntil([&] { return PacketsAvailableGetter(object) > 0; }, 2000, 10));
      RuntimeObject *datagram = UDPReadDatagram(object, nullptr);
      EXPECT_EQ(DatagramData(datagram), "payload");
      EXPECT_EQ(Text(stringGetter(datagram, offsetof(DatagramObject, address))), "127.0.0.1");
      RuntimeUnlockObject(datagram);
    }
    EXPECT_TRUE(UDPSocketIsBound(object)); // errors never unbind it
  }
}

TEST_F(UDPSocketTest, EachDatagramHasItsOwnServiceAndEvent) {
  int peerPort;
  PlainSocket peer = PlainUDP(&peerPort);
  RuntimeObject *object = Bound();
  const int port = SocketPortGetter(object);
  SendPlain(peer, port, "");
  SendPlain(peer, port, "x");
  for (int i = 0; i < 50; ++i)
    SendPlain(peer, port, "burst " + std::to_string(i));
  // Every datagram is waiting before the first service.
  usleep(100000);
  std::vector<std::string> read;
  for (int service = 0; service < 52; ++service) {
    ServiceSteps(1);
    ASSERT_EQ(EventsOf(object).size(), size_t(service + 1)) << "service " << service;
    RuntimeObject *datagram = UDPReadDatagram(object, nullptr);
    ASSERT_NE(datagram, nullptr);
    read.push_back(DatagramData(datagram));
    RuntimeUnlockObject(datagram);
  }
  EXPECT_EQ(read[0], "");
  EXPECT_EQ(read[1], "x");
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(read[size_t(i) + 2], "burst " + std::to_string(i));
  EXPECT_EQ(UDPReadDatagram(object, nullptr), nullptr);
}

TEST_F(UDPSocketTest, TheDescriptorStaysNonBlocking) {
  RuntimeObject *object = Bound();
  int flags = fcntl(Socket(object)->GetDescriptor(), F_GETFL, 0);
  EXPECT_TRUE(flags & O_NONBLOCK);
}

TEST_F(UDPSocketTest, AnErrorBehindDataAvailableFiresTooAndTheSocketStaysBound) {
  int peerPort;
  PlainSocket peer = PlainUDP(&peerPort);
  RuntimeObject *object = Bound();
  const int port = SocketPortGetter(object);
  SendPlain(peer, port, "first");
  usleep(50000);
  // A queued datagram to port 0 fails in the same service as the receive.
  Socket(object)->mOutgoing.push_back(NewDatagram("127.0.0.1", 0, "bad", 3));
  ServiceSteps(1);
  ServiceSteps(1);
  ASSERT_EQ(EventsOf(object).size(), 2u);
  EXPECT_EQ(EventsOf(object)[0], "data");
  EXPECT_EQ(EventsOf(object)[1].rfind("error ", 0), 0u);
  EXPECT_TRUE(UDPSocketIsBound(object));
  EXPECT_EQ(gSocketList.count(), 1);
  SendPlain(peer, port, "second");
  ASSERT_TRUE(ServiceUntil([&] { return PacketsAvailableGetter(object) == 2; }, 2000, 10));
}

TEST_F(UDPSocketTest, MulticastCallsNeedABoundSocket) {
  RuntimeObject *object = Unbound();
  string group("239.1.2.3");
  EXPECT_FALSE(SocketJoinMulticastGroup(object, group.Storage()));
  ASSERT_EQ(EventsOf(object).size(), 1u);
  EXPECT_EQ(EventsOf(object)[0], "error 106");
}

TEST_F(UDPSocketTest, RouterHopsAndSendToSelfApplyWhenTheSocketBinds) {
  RuntimeObject *object = Unbound();
  UDPSocketRouterHops(object, offsetof(UDPSocketObject, routerHops), 7);
  UDPSocketSetLoopback(object, offsetof(UDPSocketObject, sendToSelf), 0);
  EXPECT_EQ(intGetter(object, offsetof(UDPSocketObject, routerHops)), 7);
  SocketConnect(object);
  ASSERT_TRUE(UDPSocketIsBound(object));
  int fd = Socket(object)->GetDescriptor();
  unsigned char value = 0;
  socklen_t length = sizeof value;
  ASSERT_EQ(getsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &value, &length), 0);
  EXPECT_EQ(value, 7);
  ASSERT_EQ(getsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &value, &length), 0);
  EXPECT_EQ(value, 0);
  UDPSocketRouterHops(object, offsetof(UDPSocketObject, routerHops), 3);
  ASSERT_EQ(getsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &value, &length), 0);
  EXPECT_EQ(value, 3);
}

TEST_F(UDPSocketTest, AJoinedGroupOnLoopbackReceivesItsOwnDatagram) {
  RuntimeObject *object = Bound();
  string group("239.255.42.99");
  if (!SocketJoinMulticastGroup(object, group.Storage()))
    GTEST_SKIP() << "this machine cannot join a multicast group";
  Write(object, "239.255.42.99", "to the group");
  if (!ServiceUntil([&] { return PacketsAvailableGetter(object) > 0; }, 2000, 5))
    GTEST_SKIP() << "multicast does not loop back on this machine";
  RuntimeObject *datagram = UDPReadDatagram(object, nullptr);
  EXPECT_EQ(DatagramData(datagram), "to the group");
  RuntimeUnlockObject(datagram);
  SocketLeaveMulticastGroup(object, group.Storage());
  EXPECT_TRUE(UDPSocketIsBound(object));
}

TEST_F(UDPSocketTest, CloseUnbindsAndLeavesTheList) {
  RuntimeObject *object = Bound();
  EXPECT_EQ(gSocketList.count(), 1);
  socketClose(object);
  EXPECT_FALSE(UDPSocketIsBound(object));
  EXPECT_EQ(gSocketList.count(), 0);
  Write(object, "127.0.0.1:9", "late");
  ASSERT_FALSE(EventsOf(object).empty());
  EXPECT_EQ(EventsOf(object).back(), "error 106");
}

TEST_F(UDPSocketTest, EntryPointsGivenNilAlertAndAnswerNothing) {
  AlertRecorder alerts;
  EXPECT_EQ(UDPSocketPacketsLeftToSend(nullptr), 0);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "ctl");
}

} // namespace
