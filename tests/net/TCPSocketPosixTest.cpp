// TCP sockets without language objects (as the runtime's own links use
// them), on real loopback connections against a peer the test scripts.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/NetTestSupport.h"
#include "net/SocketCore.h"
#include "net/TCPSocketPosix.h"
#include "foundation/ProcessSpawnPosix.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/loop/Timer.h"
#include "runtime/objects/ObjectDefinitionConverter.h"

namespace {

struct DelegateSocket {
  RecordingDelegate delegate;
  std::unique_ptr<TCPSocket> socket{CreateTCPSocket(nullptr, &delegate)};
  TCPSocketPosix *posix() { return static_cast<TCPSocketPosix *>(socket.get()); }
};

class TCPSocketPosixTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(NetInit(), 0);
    // A send to a closed peer must not depend on the signal being ignored.
    std::signal(SIGPIPE, SIG_DFL);
  }
  void TearDown() override { EXPECT_EQ(gSocketList.count(), 0); }
};

TEST_F(TCPSocketPosixTest, ConnectsToALoopbackListenerAndReportsItsPeer) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  PlainSocket peer = AcceptPlain(listener);
  ASSERT_GE(peer.fd(), 0);
  ASSERT_TRUE(ServiceUntil([&] { return client.delegate.Saw("connected"); }));
  EXPECT_TRUE(client.socket->IsConnected());
  EXPECT_STREQ(client.socket->GetRemoteAddress().CString(), "127.0.0.1");
  EXPECT_GT(client.socket->ActualPortBoundTo(), 0);
  EXPECT_NE(client.socket->ActualPortBoundTo(), port); // the local end's port
  EXPECT_EQ(client.socket->GetEvents() & kConnectedEventBit, kConnectedEventBit);
  EXPECT_EQ(client.socket->GetEvents(), 0u); // reading the set clears it
  client.socket->Shutdown(false);
}

TEST_F(TCPSocketPosixTest, EchoesThreeMegabytesIntactWithProgressAndOneCompletion) {
  const std::string payload = PatternBytes(3 << 20);
  int port;
  PlainSocket listener = ListenPlain(&port);
  std::thread echo([&] {
    PlainSocket peer = AcceptPlain(listener);
    std::string back = ReadUpTo(peer.fd(), payload.size());
    WriteAll(peer.fd(), back.data(), back.size());
    ReadUpTo(peer.fd(), 1, 20000); // until the client closes
  });
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  string text;
  text.ConstructFromBuffer(payload.data(), int(payload.size()));
  client.socket->SendData(text);
  bool echoed = ServiceUntil([&] { return client.delegate.received.size() >= payload.size(); });
  ServiceSteps(3); // a late SendComplete would show here
  client.socket->Shutdown(false);
  echo.join();
  ASSERT_TRUE(echoed);
  EXPECT_TRUE(client.delegate.received == payload);
  EXPECT_EQ(client.delegate.progressSum, payload.size());
  EXPECT_EQ(client.delegate.Count("complete"), 1);
  EXPECT_FALSE(client.delegate.Saw("error 102"));
}

TEST_F(TCPSocketPosixTest, RefusedConnectionGivesError103AndNeverConnects) {
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), UnusedPort());
  ServiceUntil([&] { return !client.delegate.events.empty(); }, 20000, 20);
  ASSERT_EQ(client.delegate.events, std::vector<std::string>{"error 103"});
  EXPECT_FALSE(client.socket->IsConnected());
  EXPECT_EQ(gSocketList.count(), 0); // taken out of service
}

TEST_F(TCPSocketPosixTest, UnresolvableNameFailsInsideConnect) {
  DelegateSocket client;
  client.socket->Connect(string("no-such-host.invalid"), 80);
  EXPECT_EQ(client.delegate.events, std::vector<std::string>{"error 103"});
  EXPECT_EQ(client.socket->GetLastError(), kNameResolutionError);
  EXPECT_EQ(gSocketList.count(), 0);
}

TEST_F(TCPSocketPosixTest, ListenOnAPortInUseGivesError105) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  DelegateSocket server;
  server.socket->Listen(port);
  EXPECT_EQ(server.delegate.events, std::vector<std::string>{"error 105"});
}

TEST_F(TCPSocketPosixTest, PlainListenerTakesOneClientAndRefusesTheNext) {
  DelegateSocket server;
  server.socket->Listen(0);
  int port = server.socket->ActualPortBoundTo();
  ASSERT_GT(port, 0);
  PlainSocket first = ConnectPlain(port);
  ASSERT_GE(first.fd(), 0);
  ASSERT_TRUE(ServiceUntil([&] { return server.delegate.Saw("connected"); }));
  PlainSocket second = ConnectPlain(port);
  EXPECT_LT(second.fd(), 0);
  // The accepted connection works both ways.
  WriteAll(first.fd(), "ping", 4);
  ASSERT_TRUE(ServiceUntil([&] { return server.delegate.received == "ping"; }));
  server.socket->SendData(string("pong"));
  ServiceUntil([&] { return !server.socket->MoreDataToSend(); });
  EXPECT_EQ(ReadUpTo(first.fd(), 4), "pong");
  server.socket->Shutdown(false);
}

TEST_F(TCPSocketPosixTest, PeerThatClosesGives102AndEarlierBytesStayReadable) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  DelegateSocket client;
  client.delegate.drain = false;
  client.socket->Connect(string("127.0.0.1"), port);
  {
    PlainSocket peer = AcceptPlain(listener);
    WriteAll(peer.fd(), "last words", 10);
  }
  ASSERT_TRUE(ServiceUntil([&] { return client.delegate.Saw("error 102"); }));
  EXPECT_EQ(client.delegate.events.back(), "error 102");
  EXPECT_TRUE(client.delegate.Saw("data"));
  EXPECT_STREQ(client.socket->ReadDataAll().CString(), "last words");
}

TEST_F(TCPSocketPosixTest, HalfClosedPeerDeliversEverythingThen102) {
  const std::string payload = PatternBytes(2 << 20, 7);
  int port;
  PlainSocket listener = ListenPlain(&port);
  std::thread peerThread([&] {
    PlainSocket peer = AcceptPlain(listener);
    WriteAll(peer.fd(), payload.data(), payload.size());
    shutdown(peer.fd(), SHUT_WR);
    ReadUpTo(peer.fd(), 1, 20000); // still reading until the client goes
  });
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  bool ended = ServiceUntil([&] { return client.delegate.Saw("error 102"); });
  client.socket->Shutdown(false);
  peerThread.join();
  ASSERT_TRUE(ended);
  EXPECT_TRUE(client.delegate.received == payload);
  EXPECT_EQ(client.delegate.events.back(), "error 102");
}

TEST_F(TCPSocketPosixTest, SendAfterTheConnectionClosedForWritingGives102WithoutASignal) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  PlainSocket peer = AcceptPlain(listener);
  ASSERT_TRUE(ServiceUntil([&] { return client.delegate.Saw("connected"); }));
  // The peer is still there and says nothing, so only the send can fail.
  shutdown(client.posix()->GetDescriptor(), SHUT_WR);
  client.socket->SendData(string("too late"));
  ASSERT_TRUE(ServiceUntil([&] { return client.delegate.Saw("error 102"); }, 1000, 20));
  EXPECT_FALSE(client.delegate.Saw("progress"));
}

TEST_F(TCPSocketPosixTest, ResetMidTransferGives102) {
  int port;
  PlainSocket listener = ListenPlain(&port);
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  string big;
  std::string bytes = PatternBytes(8 << 20);
  big.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  client.socket->SendData(big);
  {
    PlainSocket peer = AcceptPlain(listener);
    ASSERT_TRUE(ServiceUntil([&] { return client.delegate.progressSum > 0; }));
    linger abort{1, 0};
    setsockopt(peer.fd(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  ASSERT_TRUE(ServiceUntil([&] { return client.delegate.Saw("error 102"); }));
  EXPECT_EQ(client.delegate.Count("error 102"), 1);
  EXPECT_EQ(gSocketList.count(), 0);
}

// Flush against a reader that reads 1 KiB at a time and calls pace (with
// the read's number and whether Flush returned) before each read: Flush
// returns with part of the payload still queued, and later services send the
// rest intact, with one SendComplete.
using ReaderPace = std::function<void(int, const std::atomic<bool> &)>;
void FlushLeavesTheRestToLaterServices(size_t size, const ReaderPace &pace) {
  const std::string payload = PatternBytes(size, 3);
  int port;
  PlainSocket listener = ListenPlain(&port);
  std::string arrived;
  std::atomic<size_t> arrivedCount{0};
  std::atomic<bool> flushed{false};
  std::thread reader([&] {
    PlainSocket peer = AcceptPlain(listener);
    char chunk[1024];
    for (int reads = 0; arrived.size() < payload.size() && reads < 1000000; ++reads) {
      pace(reads, flushed);
      ssize_t n = recv(peer.fd(), chunk, sizeof chunk, 0);
      if (n <= 0)
        break;
      arrived.append(chunk, size_t(n));
      arrivedCount = arrived.size();
    }
  });
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  ASSERT_TRUE(ServiceUntil([&] { return client.delegate.Saw("connected"); }));
  string text;
  text.ConstructFromBuffer(payload.data(), int(payload.size()));
  client.socket->SendData(text);
  client.socket->Flush();
  int32_t leftAfterFlush = client.socket->BytesLeftToSend();
  flushed = true;
  bool sent = ServiceUntil([&] { return client.delegate.Saw("complete"); }, 4000000, 300);
  ServiceUntil([&] { return arrivedCount >= payload.size(); }, 4000000, 60);
  client.socket->Shutdown(false); // a reader still waiting sees the end
  reader.join();
  EXPECT_GT(leftAfterFlush, 0);
  EXPECT_LT(leftAfterFlush, int32_t(payload.size()));
  ASSERT_TRUE(sent);
  EXPECT_EQ(client.delegate.Count("complete"), 1);
  EXPECT_TRUE(arrived == payload);
  EXPECT_EQ(client.delegate.progressSum, payload.size());
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The reader stalls until Flush gave up, then reads slowly (a 10 ms pause
// after every 8 KiB).
TEST_F(TCPSocketPosixTest, FlushKeepsWhatAStalledReaderCannotTakeYet) {
  FlushLeavesTheRestToLaterServices(8 << 20, [](int reads, const std::atomic<bool> &flushed) {
    for (int wait = 0; reads == 0 && !flushed && wait < 60000; ++wait)
      Pause(1);
    if (reads % 8 == 0)
      Pause(10);
  });
}

// The reader keeps taking bytes, slowly, while Flush runs: Flush still
// returns (within its deadline) instead of holding the run loop for the
// whole transfer.
TEST_F(TCPSocketPosixTest, FlushToASlowReaderReturnsAndTheRestFollows) {
  FlushLeavesTheRestToLaterServices(16 << 20, [](int reads, const std::atomic<bool> &flushed) {
    if (!flushed && reads % 4 == 0)
      Pause(5);
  });
}

// A peer that sends while the program reads nothing: the socket stops
// reading at its bound, and goes on, losing nothing, once the program reads.
TEST_F(TCPSocketPosixTest, UnreadBytesStopAtTheirBoundUntilTheProgramReads) {
  constexpr int32_t kBound = 4 << 20;
  const size_t total = size_t(24) << 20;
  const std::string block = PatternBytes(1 << 20, 13);
  int port;
  PlainSocket listener = ListenPlain(&port);
  std::atomic<bool> allWritten{false};
  std::thread flood([&] {
    PlainSocket peer = AcceptPlain(listener);
    for (size_t sent = 0; sent < total; sent += block.size())
      if (!WriteAll(peer.fd(), block.data(), block.size()))
        return;
    allWritten = true;
    ReadUpTo(peer.fd(), 1, 60000); // until the client closes
  });
  DelegateSocket client;
  client.delegate.drain = false;
  client.socket->Connect(string("127.0.0.1"), port);
  int32_t most = 0;
  int stepsAtBound = 0;
  ServiceUntil([&] {
    most = std::max(most, client.socket->BytesAvailable());
    stepsAtBound += most >= kBound;
    return allWritten || most > kBound || stepsAtBound > 300;
  });
  EXPECT_EQ(most, kBound);
  EXPECT_FALSE(allWritten);
  // Reading below the bound lets the rest in.
  std::string received = std::string(client.socket->ReadDataAll().CString(), size_t(most));
  client.delegate.drain = true;
  ServiceUntil([&] { return received.size() + client.delegate.received.size() >= total; });
  received += client.delegate.received;
  client.socket->Shutdown(false);
  flood.join();
  ASSERT_EQ(received.size(), total);
  for (size_t at = 0; at < total; at += block.size())
    ASSERT_EQ(received.compare(at, block.size(), block), 0) << "at " << at;
}

// Counts a Timer subclass's Action events, noting how much of a transfer
// had arrived at each.
size_t gFloodChecked = 0;
std::vector<size_t> gCheckedAtTimerAction;

void RecordTimerAction(RuntimeObject *) { gCheckedAtTimerAction.push_back(gFloodChecked); }

RuntimeClass *RecordingTimerClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *base = LookupObjectDefinition(TimerClass());
    RuntimeClass *sub =
        RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                        base->staticMethodCount, base->propertyCount);
    sub->instanceSize = kTimerInstanceSize;
    for (int32_t i = 0; i < sub->eventCount; ++i)
      if (string::Borrow(sub->events[i].name).Compare(string("Action")) == 0)
        sub->events[i].vector = reinterpret_cast<void *>(RecordTimerAction);
    return sub;
  }();
  return cls;
}

// The flood goes through the run loop's own steps, so a repeating 50 ms
// Timer must keep its turn while every step moves a megabyte.
TEST_F(TCPSocketPosixTest, FloodOf64MegabytesArrivesIntactWhileATimerKeepsFiring) {
  if (!gtk_init_check(nullptr, nullptr))
    GTEST_SKIP() << "the run loop's steps need a display";
  const size_t total = size_t(64) << 20;
  int port;
  PlainSocket listener = ListenPlain(&port);
  std::thread flood([&] {
    PlainSocket peer = AcceptPlain(listener);
    std::string block = PatternBytes(1 << 20, 11);
    for (size_t sent = 0; sent < total; sent += block.size())
      if (!WriteAll(peer.fd(), block.data(), block.size()))
        break;
    ReadUpTo(peer.fd(), 1, 30000);
  });
  DelegateSocket client;
  client.delegate.drain = false;
  std::string block = PatternBytes(1 << 20, 11);
  gFloodChecked = 0;
  gCheckedAtTimerAction.clear();
  bool intact = true;
  client.delegate.onEvent = [&](TCPSocket *socket, const std::string &event) {
    if (event != "data")
      return;
    string text = socket->ReadDataAll();
    for (int i = 0; i < text.Length(); ++i, ++gFloodChecked)
      intact = intact && text.CString()[i] == block[gFloodChecked % block.size()];
  };
  RuntimeObject *timer = RuntimeNewObject(RecordingTimerClass());
  timerPeriodSetter(timer, 0, 50);
  timerModeSetter(timer, 0, kTimerModeMultiple);
  client.socket->Connect(string("127.0.0.1"), port);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(600);
  while (gFloodChecked < total && std::chrono::steady_clock::now() < deadline)
    RunLoopStep();
  timerModeSetter(timer, 0, kTimerModeOff);
  RuntimeUnlockObject(timer);
  client.socket->Shutdown(false);
  flood.join();
  EXPECT_TRUE(intact);
  EXPECT_EQ(gFloodChecked, total);
  size_t midTransfer = 0;
  for (size_t checked : gCheckedAtTimerAction)
    midTransfer += checked > 0 && checked < total;
  EXPECT_GE(midTransfer, 2u) << "the Timer fired " << gCheckedAtTimerAction.size()
                             << " times, none of them while the data was still arriving";
}

TEST_F(TCPSocketPosixTest, WorksWithMoreThan1024DescriptorsOpen) {
  rlimit limit;
  getrlimit(RLIMIT_NOFILE, &limit);
  if (limit.rlim_cur < 1200) {
    limit.rlim_cur = std::min<rlim_t>(2048, limit.rlim_max);
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  if (limit.rlim_cur < 1200)
    GTEST_SKIP() << "the descriptor limit is below 1200";
  std::vector<int> filler;
  for (int i = 0; i < 1100; ++i)
    filler.push_back(dup(0));
  int port;
  PlainSocket listener = ListenPlain(&port);
  DelegateSocket client;
  client.socket->Connect(string("127.0.0.1"), port);
  EXPECT_GE(client.posix()->GetDescriptor(), 1024);
  PlainSocket peer = AcceptPlain(listener);
  WriteAll(peer.fd(), "high", 4);
  bool got = ServiceUntil([&] { return client.delegate.received == "high"; });
  client.socket->Shutdown(false);
  for (int fd : filler)
    close(fd);
  EXPECT_TRUE(got);
  EXPECT_EQ(client.delegate.events.front(), "connected");
}

TEST_F(TCPSocketPosixTest, LocalModeSocketsUseAPathAndOnlyTheBinderRemovesIt) {
  std::string path = "/tmp/net-test-" + std::to_string(getpid());
  unlink(path.c_str());
  DelegateSocket server, client;
  server.posix()->SetLocalMode(string(path.c_str()));
  client.posix()->SetLocalMode(string(path.c_str()));
  server.socket->Listen(0);
  client.socket->Connect(string(""), 0);
  ASSERT_TRUE(ServiceUntil(
      [&] { return server.delegate.Saw("connected") && client.delegate.Saw("connected"); }));
  client.socket->SendData(string("over the path"));
  ASSERT_TRUE(ServiceUntil([&] { return server.delegate.received == "over the path"; }));
  client.socket->Shutdown(false);
  EXPECT_EQ(access(path.c_str(), F_OK), 0); // a client leaves the server's path alone
  server.socket->Shutdown(false);
  EXPECT_NE(access(path.c_str(), F_OK), 0);
}

bool CloseOnExec(int fd) { return fd >= 0 && (fcntl(fd, F_GETFD) & FD_CLOEXEC) != 0; }

TEST_F(TCPSocketPosixTest, EveryDescriptorOfASocketIsCloseOnExec) {
  DelegateSocket server, client;
  server.socket->Listen(0);
  EXPECT_TRUE(CloseOnExec(server.posix()->GetDescriptor())) << "listening";
  client.socket->Connect(string("127.0.0.1"), server.socket->ActualPortBoundTo());
  EXPECT_TRUE(CloseOnExec(client.posix()->GetDescriptor())) << "connecting";
  ASSERT_TRUE(ServiceUntil([&] { return server.delegate.Saw("connected"); }));
  EXPECT_TRUE(CloseOnExec(server.posix()->GetDescriptor())) << "accepted";
  std::string path = "/tmp/net-cloexec-" + std::to_string(getpid());
  DelegateSocket local;
  local.posix()->SetLocalMode(string(path.c_str()));
  local.socket->Listen(0);
  EXPECT_TRUE(CloseOnExec(local.posix()->GetDescriptor())) << "local";
  for (DelegateSocket *socket : {&server, &client, &local})
    socket->socket->Shutdown(false);
}

// The descriptors of another process, with what each names.
std::map<int, std::string> DescriptorsOf(pid_t pid) {
  std::map<int, std::string> found;
  const std::string folder = "/proc/" + std::to_string(pid) + "/fd";
  if (DIR *listing = opendir(folder.c_str())) {
    while (const dirent *entry = readdir(listing)) {
      if (entry->d_name[0] == '.')
        continue;
      char target[512] = {};
      readlink((folder + "/" + entry->d_name).c_str(), target, sizeof target - 1);
      found[std::stoi(entry->d_name)] = target;
    }
    closedir(listing);
  }
  return found;
}

std::string ProgramOf(pid_t pid) {
  char target[512] = {};
  readlink(("/proc/" + std::to_string(pid) + "/exe").c_str(), target, sizeof target - 1);
  return target;
}

// A program started while the runtime listens inherits none of its
// descriptors: it has only 0 to 2, and the port is free again as soon as the
// runtime closes its socket.
TEST_F(TCPSocketPosixTest, AStartedProgramKeepsNeitherDescriptorsNorThePort) {
  char folder[] = "/tmp/net-spawnXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string script = std::string(folder) + "/start.sh";
  std::ofstream(script) << "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 300\n";
  ASSERT_EQ(chmod(script.c_str(), 0700), 0);
  DelegateSocket server, client;
  server.socket->Listen(0);
  client.socket->Connect(string("127.0.0.1"), server.socket->ActualPortBoundTo());
  ASSERT_TRUE(ServiceUntil([&] { return server.delegate.Saw("connected"); }));
  DelegateSocket listener; // the one whose port must come free
  listener.socket->Listen(0);
  const int port = listener.socket->ActualPortBoundTo();
  const char *argv[] = {script.c_str(), nullptr};
  ASSERT_TRUE(SpawnDetached(argv));
  pid_t program = 0;
  ServiceUntil([&] {
    std::ifstream(script + ".pid") >> program;
    return program > 0 && ProgramOf(program).find("sleep") != std::string::npos;
  }, 100000, 60);
  const std::map<int, std::string> inherited = DescriptorsOf(program);
  listener.socket->Shutdown(false);
  int again = socket(AF_INET, SOCK_STREAM, 0);
  int reuse = 1;
  setsockopt(again, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  sockaddr_in own{};
  own.sin_family = AF_INET;
  own.sin_port = htons(uint16_t(port));
  const bool boundAgain = bind(again, reinterpret_cast<sockaddr *>(&own), sizeof own) == 0;
  close(again);
  if (program > 0)
    kill(program, SIGKILL);
  server.socket->Shutdown(false);
  client.socket->Shutdown(false);
  unlink((script + ".pid").c_str());
  unlink(script.c_str());
  rmdir(folder);
  ASSERT_GT(program, 0);
  ASSERT_FALSE(inherited.empty());
  for (const auto &[fd, target] : inherited)
    EXPECT_LE(fd, 2) << "descriptor " << fd << " -> " << target;
  EXPECT_TRUE(boundAgain) << "port " << port << " stayed taken";
}

TEST_F(TCPSocketPosixTest, LocalPathThatDoesNotFitIsAnError) {
  DelegateSocket client;
  client.posix()->SetLocalMode(string(("/tmp/" + std::string(200, 'p')).c_str()));
  client.socket->Connect(string(""), 0);
  EXPECT_EQ(client.delegate.events, std::vector<std::string>{"error 103"});
}

} // namespace
