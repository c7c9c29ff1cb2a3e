// The socket classes of the language driven as compiled code drives them:
// subclasses made with RuntimeNewClass whose handlers sit in the event
// slots, and the entry points, against loopback peers.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <netinet/in.h>
#include <set>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "support/NetTestSupport.h"
#include "foundation/TextEncodings.h"
#include "language/TextEncodingClasses.h"
#include "net/SocketClasses.h"
#include "net/SocketEntryPoints.h"
#include "net/SocketObjects.h"
#include "net/TCPSocket.h"
#include "net/TCPSocketPosix.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/RuntimeClass.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

namespace {

// What the handlers saw, per object, and what they do.
struct Script {
  std::vector<std::string> events;
  std::function<void(RuntimeObject *, const std::string &)> action;
};
std::map<RuntimeObject *, Script> gScripts;
std::set<RuntimeObject *> gDestroyed;

void Saw(RuntimeObject *self, const std::string &event) {
  Script &script = gScripts[self];
  script.events.push_back(event);
  if (auto action = script.action)
    action(self, event);
}

void OnConnected(RuntimeObject *self) {
  Saw(self, SocketIsConnected(self) ? "connected" : "connected but not connected");
}
void OnDataAvailable(RuntimeObject *self) { Saw(self, "data"); }
void OnError(RuntimeObject *self) {
  Saw(self, "error " + std::to_string(socketLastErrorCode(self)));
}
void OnSendComplete(RuntimeObject *self, int32_t aborted) {
  Saw(self, aborted ? "complete aborted" : "complete");
}
// True, which aborts the rest of the transfer, for the sockets listed.
std::set<RuntimeObject *> gAbortingSenders;
int32_t OnSendProgress(RuntimeObject *self, int32_t, int32_t) {
  return gAbortingSenders.count(self) ? 1 : 0;
}

std::vector<RuntimeObject *> gAddSocketAnswers;
int gAddSocketCalls = 0;
RuntimeClass *gPooledClass = nullptr;
bool gAddSocketAnswersNil = false;

RuntimeObject *OnAddSocket(RuntimeObject *) {
  ++gAddSocketCalls;
  if (gAddSocketAnswersNil)
    return nullptr;
  RuntimeObject *socket = RuntimeNewObject(gPooledClass);
  gAddSocketAnswers.push_back(socket);
  return socket; // the handler's reference goes to the server
}

void OnServerError(RuntimeObject *self, int32_t code) {
  Saw(self, "server error " + std::to_string(code));
}

void RecordDestruction(RuntimeObject *object) { gDestroyed.insert(object); }

void SetHandler(RuntimeClass *cls, const ObjectHookTemplate &row, void *handler) {
  cls->events[row.hook->eventIndex].vector = handler;
}

// A subclass as the compiler makes one: the base's tables plus handlers.
RuntimeClass *Subclass(ObjectDefinition *baseDefinition, int32_t instanceSize) {
  RuntimeClass *base = LookupObjectDefinition(baseDefinition);
  RuntimeClass *cls =
      RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                      base->staticMethodCount, base->propertyCount);
  cls->instanceSize = instanceSize;
  return cls;
}

RuntimeClass *ClientClass() {
  static RuntimeClass *cls = nullptr;
  if (!cls) {
    cls = Subclass(TCPSocketClass(), sizeof(TCPSocketObject) + 8);
    SetHandler(cls, SocketHooks[kConnectedEvent], reinterpret_cast<void *>(OnConnected));
    SetHandler(cls, SocketCoreHooks[kDataAvailableEvent],
               reinterpret_cast<void *>(OnDataAvailable));
    SetHandler(cls, SocketCoreHooks[kSocketErrorEvent], reinterpret_cast<void *>(OnError));
    SetHandler(cls, SocketCoreHooks[kSendCompleteEvent], reinterpret_cast<void *>(OnSendComplete));
    SetHandler(cls, SocketHooks[kSendProgressEvent], reinterpret_cast<void *>(OnSendProgress));
  }
  return cls;
}

RuntimeClass *ServerClass() {
  static RuntimeClass *cls = nullptr;
  if (!cls) {
    cls = Subclass(ServerSocketClass(), sizeof(ServerSocketObject));
    SetHandler(cls, ServerSocketHooks[kAddSocketEvent], reinterpret_cast<void *>(OnAddSocket));
    SetHandler(cls, ServerSocketHooks[kServerErrorEvent], reinterpret_cast<void *>(OnServerError));
  }
  return cls;
}

void SetAddress(RuntimeObject *object, const char *address) {
  string text(address);
  stringSetter(object, offsetof(TCPSocketObject, address), text.Storage());
}

std::string Text(stringStorage *storage) {
  std::string text(stringStorage::CString(storage), size_t(stringStorage::Length(storage)));
  RuntimeUnlockString(storage);
  return text;
}

// A socket that only counts its services, to show that every socket is
// served once per step whatever the handlers do.
int gStep = 0;
class CountingSocket : public SocketCore {
public:
  CountingSocket() : SocketCore(nullptr) { Listen(0); }
  ~CountingSocket() override { Shutdown(false); }
  void Poll() override {
    servedTwice = servedTwice || lastStep == gStep;
    lastStep = gStep;
    ++polls;
  }
  int polls = 0;
  int lastStep = -1;
  bool servedTwice = false;
};

bool Step(const std::function<bool()> &done, int maxSteps = 200000) {
  return ServiceUntil(
      [&] {
        ++gStep;
        return done();
      },
      maxSteps, 60);
}

class SocketClassesTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(NetInit(), 0);
    gScripts.clear();
    gDestroyed.clear();
    gAddSocketAnswers.clear();
    gAddSocketCalls = 0;
    gAddSocketAnswersNil = false;
    gAbortingSenders.clear();
    gPooledClass = ClientClass();
    SetObjectDestructionMonitor(RecordDestruction);
  }
  void TearDown() override {
    SetObjectDestructionMonitor(nullptr);
    EXPECT_EQ(gSocketList.count(), 0);
  }

  RuntimeObject *NewClient(int port, const char *address = "127.0.0.1") {
    RuntimeObject *object = RuntimeNewObject(ClientClass());
    SetAddress(object, address);
    SocketPortSetter(object, 0, port);
    return object;
  }
  std::vector<std::string> &EventsOf(RuntimeObject *object) { return gScripts[object].events; }
};

TEST_F(SocketClassesTest, ObjectsCarryTheirSocketAndTheClassesTheirTables) {
  RuntimeObject *object = RuntimeNewObject(ClientClass());
  ASSERT_NE(SocketOfObject(object), nullptr);
  EXPECT_EQ(SocketOfObject(object)->GetControl(), object);
  EXPECT_TRUE(IsTCPSocketObject(object));
  EXPECT_TRUE(LookupObjectDefinition(OldSocketClass())->base ==
              LookupObjectDefinition(TCPSocketClass()));
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  auto *fields = reinterpret_cast<ServerSocketObject *>(server);
  EXPECT_EQ(fields->minimumSocketsAvailable, 1); // raised from 0
  EXPECT_EQ(fields->maximumSocketsConnected, 1);
  EXPECT_NE(SocketOfObject(server)->GetServerPackage(), nullptr);
  RuntimeUnlockObject(server);
  RuntimeUnlockObject(object);
  EXPECT_TRUE(gDestroyed.count(object));
}

TEST_F(SocketClassesTest, LocalHostConnectsAndTheConversationGoesBothWays) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  RuntimeObject *client = NewClient(port, "LocalHost");
  SocketConnect(client);
  PlainSocket peer = AcceptPlain(listener);
  ASSERT_TRUE(Step([&] { return !EventsOf(client).empty(); }));
  EXPECT_EQ(EventsOf(client).front(), "connected");
  EXPECT_EQ(Text(socketRemoteAddressGetter(client)), "127.0.0.1");
  EXPECT_NE(SocketPortGetter(client), port); // the local end of the connection
  EXPECT_EQ(socketLastErrorCode(client), 0);

  string hello("hello");
  SocketWrite(client, hello.Storage());
  EXPECT_EQ(TCPSocketBytesLeftToSend(client), 5);
  TCPSocketFlush(client);
  EXPECT_EQ(ReadUpTo(peer.fd(), 5), "hello");
  ASSERT_TRUE(Step([&] { return gScripts[client].events.back() == "complete"; }));

  WriteAll(peer.fd(), "world!", 6);
  ASSERT_TRUE(Step([&] { return SocketBytesAvailable(client) == 6; }));
  EXPECT_EQ(Text(socketLookahead(client, nullptr)), "world!");
  EXPECT_EQ(Text(socketRead(client, 0, nullptr)), "");
  EXPECT_EQ(Text(socketRead(client, 5, nullptr)), "world");
  EXPECT_EQ(TCPSocketEof(client), 0); // connected, even with one byte left

  peer.Close();
  ASSERT_TRUE(Step([&] { return EventsOf(client).back() == "error 102"; }));
  // The program still holds the object: the socket is reset and keeps what
  // was not read.
  EXPECT_EQ(SocketIsConnected(client), 0);
  EXPECT_EQ(TCPSocketEof(client), 0);
  EXPECT_EQ(Text(SocketReadAll(client, nullptr)), "!");
  EXPECT_EQ(TCPSocketEof(client), 1);
  RuntimeUnlockObject(client);
  EXPECT_TRUE(gDestroyed.count(client));
}

TEST_F(SocketClassesTest, ReadsAreTaggedWithTheEncodingAsked) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  RuntimeObject *client = NewClient(port);
  SocketConnect(client);
  PlainSocket peer = AcceptPlain(listener);
  WriteAll(peer.fd(), "abcdef", 6);
  ASSERT_TRUE(Step([&] { return SocketBytesAvailable(client) == 6; }));
  TextEncodingObject *utf8 = GetEncodingObjectFromCode(int32_t(kEncodingUTF8));
  auto *encoding = reinterpret_cast<RuntimeObject *>(utf8);
  stringStorage *tagged = socketRead(client, 2, encoding);
  EXPECT_EQ(tagged->mEncoding, kEncodingUTF8);
  stringStorage *peeked = socketLookahead(client, nullptr);
  EXPECT_EQ(peeked->mEncoding, kEncodingUnknown);
  stringStorage *rest = SocketReadAll(client, encoding);
  EXPECT_EQ(rest->mEncoding, kEncodingUTF8);
  EXPECT_EQ(Text(tagged) + Text(peeked) + Text(rest), "abcdefcdef");
  RuntimeUnlockObject(encoding);
  socketClose(client);
  RuntimeUnlockObject(client);
}

TEST_F(SocketClassesTest, ClosingAWindowsObjectsClosesItsSockets) {
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  ServerSocketListen(server);
  ServiceSteps(1);
  RuntimeObject *client = NewClient(UnusedPort());
  RuntimeObject *plain = RuntimeNewObject(LookupObjectDefinition(SocketCoreClass()));
  SocketListen(client);
  for (RuntimeObject *object : {server, client, plain})
    CloseSocketOfObject(object);
  EXPECT_EQ(serverSocketIsListening(server), 0);
  EXPECT_EQ(gSocketList.count(), 0); // the pool went with the server
  EXPECT_EQ(gDestroyed.size(), 11u);
  for (RuntimeObject *object : {server, client, plain})
    RuntimeUnlockObject(object);
}

TEST_F(SocketClassesTest, RefusedConnectGivesError103AndNeverConnects) {
  RuntimeObject *client = NewClient(UnusedPort());
  SocketConnect(client);
  Step([&] { return !EventsOf(client).empty(); }, 20000);
  EXPECT_EQ(EventsOf(client), std::vector<std::string>{"error 103"});
  EXPECT_EQ(socketLastErrorCode(client), 103);
  RuntimeUnlockObject(client);
}

TEST_F(SocketClassesTest, DisconnectFiresError102Once) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  RuntimeObject *client = NewClient(port);
  SocketConnect(client);
  PlainSocket peer = AcceptPlain(listener);
  ASSERT_TRUE(Step([&] { return !EventsOf(client).empty(); }));
  SocketDisconnect(client);
  SocketDisconnect(client); // not connected any more: nothing
  ServiceSteps(5);
  EXPECT_EQ(EventsOf(client), (std::vector<std::string>{"connected", "error 102"}));
  EXPECT_EQ(socketLastErrorCode(client), 102);
  RuntimeUnlockObject(client);
}

// One socket's SendProgress answering True aborts its own transfer only: the
// other socket sending at the same time completes, not aborted, in full.
TEST_F(SocketClassesTest, AbortingInSendProgressConcernsThatSocketAlone) {
  const std::string payload = PatternBytes(4 << 20, 5);
  int port;
  PlainSocket listener = ListenPlain(&port);
  RuntimeObject *aborting = NewClient(port), *going = NewClient(port);
  SocketConnect(aborting);
  PlainSocket abortingPeer = AcceptPlain(listener);
  SocketConnect(going);
  PlainSocket goingPeer = AcceptPlain(listener);
  ASSERT_TRUE(Step([&] { return !EventsOf(aborting).empty() && !EventsOf(going).empty(); }));
  gAbortingSenders.insert(aborting);
  std::string arrived;
  std::thread reader([&] { arrived = ReadUpTo(goingPeer.fd(), payload.size(), 60000); });
  string text;
  text.ConstructFromBuffer(payload.data(), int(payload.size()));
  SocketWrite(aborting, text.Storage());
  SocketWrite(going, text.Storage());
  auto completed = [&](RuntimeObject *object) {
    for (const std::string &event : EventsOf(object))
      if (event.rfind("complete", 0) == 0)
        return true;
    return false;
  };
  bool done = Step([&] { return completed(aborting) && completed(going); });
  reader.join();
  ASSERT_TRUE(done);
  EXPECT_EQ(EventsOf(aborting).back(), "complete aborted");
  EXPECT_EQ(EventsOf(going).back(), "complete");
  EXPECT_TRUE(arrived == payload);
  socketClose(aborting);
  socketClose(going);
  RuntimeUnlockObject(aborting);
  RuntimeUnlockObject(going);
}

// Handlers that end their own object, close their socket or start another
// connection while the walk runs; the counting sockets around them must be
// served exactly once per step.
struct HandlerCase {
  const char *event;  // the event whose handler acts
  const char *action; // "release", "close" or "connect another"
};

class HandlerSafetyTest : public SocketClassesTest,
                          public ::testing::WithParamInterface<HandlerCase> {};

TEST_P(HandlerSafetyTest, SocketsAroundAHandlerThatEndsItsOwnAreServedOncePerStep) {
  const HandlerCase c = GetParam();
  int port;
  PlainSocket listener = ListenPlain(&port);
  CountingSocket below;
  RuntimeObject *client = NewClient(port);
  RuntimeObject *other = NewClient(port);
  SocketConnect(client);
  CountingSocket above;
  bool release = std::string(c.action) == "release";
  if (release)
    RuntimeUnlockObject(client); // only its socket holds it now
  bool acted = false;
  gScripts[client].action = [&](RuntimeObject *self, const std::string &event) {
    if (acted || event.rfind(c.event, 0) != 0)
      return;
    acted = true;
    if (std::string(c.action) == "connect another")
      SocketConnect(other);
    else
      socketClose(self); // with release, this drops the last reference
  };
  PlainSocket peer = AcceptPlain(listener);
  if (std::string(c.event) == "data")
    WriteAll(peer.fd(), "x", 1);
  if (std::string(c.event) == "error") {
    ASSERT_TRUE(Step([&] { return gScripts[client].events.size() > 0; }));
    peer.Close();
  }
  ASSERT_TRUE(Step([&] { return acted; }));
  Step([&] { return false; }, 20); // the steps after
  EXPECT_FALSE(below.servedTwice);
  EXPECT_FALSE(above.servedTwice);
  EXPECT_EQ(below.polls, above.polls);
  if (release) {
    EXPECT_TRUE(gDestroyed.count(client));
  } else {
    EXPECT_FALSE(gDestroyed.count(client));
    EXPECT_EQ(SocketIsConnected(client), 0 + (std::string(c.action) == "connect another"));
    socketClose(client);
    RuntimeUnlockObject(client);
  }
  socketClose(other);
  RuntimeUnlockObject(other);
}

INSTANTIATE_TEST_SUITE_P(
    EventsAndActions, HandlerSafetyTest,
    ::testing::Values(HandlerCase{"connected", "release"}, HandlerCase{"data", "release"},
                      HandlerCase{"error", "release"}, HandlerCase{"connected", "close"},
                      HandlerCase{"data", "close"}, HandlerCase{"error", "close"},
                      HandlerCase{"connected", "connect another"},
                      HandlerCase{"data", "connect another"}),
    [](const auto &info) {
      std::string name = std::string(info.param.event) + "_" + info.param.action;
      for (char &ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
          ch = '_';
      return name;
    });

TEST_F(SocketClassesTest, ServerSocketFillsItsPoolAndHandsClientsToTheNewest) {
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  ServerSocketListen(server);
  TCPSocket *socket = SocketOfObject(server);
  int port = socket->ActualPortBoundTo();
  ASSERT_GT(port, 0);
  EXPECT_EQ(serverSocketIsListening(server), 1);
  ServiceSteps(1);
  ASSERT_EQ(gAddSocketCalls, 11); // minimum 1, plus 10
  PlainSocket first = ConnectPlain(port);
  ASSERT_TRUE(Step([&] { return !EventsOf(gAddSocketAnswers[10]).empty(); }));
  EXPECT_EQ(EventsOf(gAddSocketAnswers[10]).front(), "connected");
  PlainSocket second = ConnectPlain(port);
  ASSERT_TRUE(Step([&] { return !EventsOf(gAddSocketAnswers[9]).empty(); }));
  EXPECT_TRUE(EventsOf(gAddSocketAnswers[8]).empty());
  EXPECT_EQ(gAddSocketCalls, 11); // nine still wait, above the minimum
  WriteAll(second.fd(), "to nine", 7);
  ASSERT_TRUE(Step([&] { return SocketBytesAvailable(gAddSocketAnswers[9]) == 7; }));

  ServerSocketClose(server);
  EXPECT_EQ(serverSocketIsListening(server), 0);
  for (RuntimeObject *pooled : {gAddSocketAnswers[9], gAddSocketAnswers[10]})
    socketClose(pooled); // the connected ones go with their own close
  EXPECT_EQ(gDestroyed.size(), 11u);
  RuntimeUnlockObject(server);
}

// Pooled sockets the program closes leave the pool: later clients go to
// sockets still waiting there, never to a destroyed object or to one whose
// memory went to a socket made later.
TEST_F(SocketClassesTest, ClosedPooledSocketsLeaveThePoolAndClientsGoToWaitingOnes) {
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  ServerSocketListen(server);
  int port = SocketOfObject(server)->ActualPortBoundTo();
  ServiceSteps(1);
  ASSERT_EQ(gAddSocketAnswers.size(), 11u);
  const std::vector<RuntimeObject *> closed = gAddSocketAnswers;
  for (RuntimeObject *pooled : closed)
    socketClose(pooled); // the pool held the only reference
  EXPECT_EQ(gDestroyed.size(), 11u);
  ServiceSteps(1); // the pool is filled again
  EXPECT_EQ(gAddSocketAnswers.size(), 21u);
  std::vector<RuntimeObject *> later;
  for (int i = 0; i < 40; ++i)
    later.push_back(NewClient(UnusedPort()));
  std::vector<PlainSocket> clients;
  for (int i = 0; i < 3; ++i)
    clients.push_back(ConnectPlain(port));
  auto connected = [&] {
    std::vector<RuntimeObject *> objects;
    for (auto &[object, script] : gScripts)
      for (const std::string &event : script.events)
        if (event.rfind("connected", 0) == 0)
          objects.push_back(object);
    return objects;
  };
  ASSERT_TRUE(Step([&] { return connected().size() >= 3; }));
  for (RuntimeObject *object : connected()) {
    EXPECT_EQ(std::count(later.begin(), later.end(), object), 0);
    EXPECT_EQ(std::count(gAddSocketAnswers.begin() + 11, gAddSocketAnswers.end(), object), 1);
    EXPECT_EQ(SocketIsConnected(object), 1);
    socketClose(object);
  }
  for (RuntimeObject *object : later)
    RuntimeUnlockObject(object);
  ServerSocketClose(server);
  RuntimeUnlockObject(server);
}

TEST_F(SocketClassesTest, AServerErrorFiresOnceWithItsCode) {
  int port;
  PlainSocket taken = ListenPlain(&port);
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  intSetter(server, offsetof(ServerSocketObject, port), port);
  ServerSocketListen(server);
  ServiceSteps(2);
  EXPECT_EQ(EventsOf(server), std::vector<std::string>{"server error 105"});
  EXPECT_EQ(socketLastErrorCode(server), 105);
  EXPECT_EQ(serverSocketIsListening(server), 0);
  RuntimeUnlockObject(server);
}

// Accept failing for good (the listening descriptor was shut down) ends the
// service: one Error with its code, and IsListening answers False.
TEST_F(SocketClassesTest, AFailedAcceptStopsListening) {
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  ServerSocketListen(server);
  ServiceSteps(1);
  auto *posix = static_cast<TCPSocketPosix *>(SocketOfObject(server));
  ASSERT_EQ(shutdown(posix->GetDescriptor(), SHUT_RDWR), 0);
  ASSERT_TRUE(Step([&] { return !EventsOf(server).empty(); }, 20000));
  ServiceSteps(3);
  ASSERT_EQ(EventsOf(server).size(), 1u);
  EXPECT_EQ(EventsOf(server).front().rfind("server error ", 0), 0u);
  EXPECT_NE(EventsOf(server).front(), "server error 0");
  EXPECT_EQ(serverSocketIsListening(server), 0);
  ServerSocketClose(server);
  RuntimeUnlockObject(server);
}

// With every descriptor taken, accepting fails for a while: the server
// reports nothing, keeps listening, and takes the waiting client once a
// descriptor is free again.
TEST_F(SocketClassesTest, RunningOutOfDescriptorsKeepsTheServerListening) {
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  ServerSocketListen(server);
  int port = SocketOfObject(server)->ActualPortBoundTo();
  ServiceSteps(1);
  int client = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(client, 0);
  rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  // The limit just above the descriptors open now, and those filled.
  int lowest = dup(0);
  ASSERT_GE(lowest, 0);
  close(lowest);
  rlimit tight = saved;
  tight.rlim_cur = rlim_t(lowest + 16);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
  std::vector<int> filler;
  for (int fd; filler.size() < 64 && (fd = dup(0)) >= 0;)
    filler.push_back(fd);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool connectedClient =
      connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
  ServiceSteps(50); // each accept fails for want of a descriptor
  const std::vector<std::string> whileExhausted = EventsOf(server);
  const bool listeningWhileExhausted = serverSocketIsListening(server) == 1;
  for (int fd : filler)
    close(fd);
  setrlimit(RLIMIT_NOFILE, &saved);
  ASSERT_TRUE(connectedClient);
  EXPECT_TRUE(whileExhausted.empty()) << whileExhausted.front();
  EXPECT_TRUE(listeningWhileExhausted);
  ASSERT_TRUE(Step([&] { return !EventsOf(gAddSocketAnswers[10]).empty(); }));
  EXPECT_EQ(EventsOf(gAddSocketAnswers[10]).front(), "connected");
  EXPECT_EQ(serverSocketIsListening(server), 1);
  close(client);
  socketClose(gAddSocketAnswers[10]);
  ServerSocketClose(server);
  RuntimeUnlockObject(server);
}

TEST_F(SocketClassesTest, AddSocketAnsweringNilEndsTheServiceAndRefusesClients) {
  gAddSocketAnswersNil = true;
  RuntimeObject *server = RuntimeNewObject(ServerClass());
  ServerSocketListen(server);
  int port = SocketOfObject(server)->ActualPortBoundTo();
  ServiceSteps(3);
  EXPECT_EQ(gAddSocketCalls, 1);
  PlainSocket client = ConnectPlain(port);
  ASSERT_GE(client.fd(), 0); // the backlog takes it; the empty pool then closes it
  ServiceSteps(3);
  EXPECT_EQ(ReadUpTo(client.fd(), 1, 5000), "");
  ServerSocketClose(server);
  RuntimeUnlockObject(server);
}

TEST_F(SocketClassesTest, EntryPointsGivenNilShowTheAlertAndAnswerZero) {
  AlertRecorder alerts;
  RuntimeObject *core = RuntimeNewObject(LookupObjectDefinition(SocketCoreClass()));
  EXPECT_EQ(SocketPortGetter(nullptr), 0);
  SocketPortSetter(nullptr, 0, 5);
  EXPECT_EQ(TCPSocketEof(nullptr), 0);
  TCPSocketFlush(nullptr);
  EXPECT_EQ(TCPSocketBytesLeftToSend(nullptr), 0);
  ASSERT_EQ(alerts.count(), 5u);
  for (const RecordedAlert &alert : alerts.alerts())
    EXPECT_EQ(alert.condition, "ctl");
  alerts.clear();
  EXPECT_EQ(SocketPortGetter(core), 0);
  SocketPortSetter(core, 0, 5);
  EXPECT_EQ(TCPSocketEof(core), 0);
  TCPSocketFlush(core);
  ASSERT_EQ(alerts.count(), 4u);
  for (const RecordedAlert &alert : alerts.alerts())
    EXPECT_EQ(alert.condition, "ctl->socket");
  // The others answer nothing quietly.
  alerts.clear();
  SocketConnect(nullptr);
  socketClose(core);
  EXPECT_EQ(SocketReadAll(core, nullptr), nullptr);
  EXPECT_EQ(SocketIsConnected(nullptr), 0);
  EXPECT_EQ(alerts.count(), 0u);
  RuntimeUnlockObject(core);
}

} // namespace

namespace {

TEST(SocketClassRegistration, ClassesRegisterAndConvertWithoutAlerts) {
  AlertRecorder alerts;
  for (ObjectDefinition *defn :
       {SocketCoreClass(), TCPSocketClass(), ServerSocketClass(), OldSocketClass()}) {
    addIntrinsicClass(defn);
    EXPECT_NE(LookupObjectDefinition(defn), nullptr);
  }
  for (const RecordedAlert &alert : alerts.alerts())
    ADD_FAILURE() << alert.file << ":" << alert.line << " " << alert.condition << " "
                  << alert.message;
  EXPECT_NE(resolveRelocEntry("SocketConnect"), nullptr);
  EXPECT_NE(resolveRelocEntry("DebuggerSocketLookup"), nullptr);
}

} // namespace
