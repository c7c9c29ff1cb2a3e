// The IPCSocket class driven as compiled code drives it (a subclass whose
// handlers sit in the event slots), against a second process (python3) in a
// private temporary folder.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "net/IPCSocketClasses.h"
#include "net/TCPSocketPosix.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/RuntimeClass.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/NetTestSupport.h"

namespace {

std::map<RuntimeObject *, std::vector<std::string>> gEvents;

void OnConnected(RuntimeObject *self) { gEvents[self].push_back("connected"); }
void OnDataAvailable(RuntimeObject *self) { gEvents[self].push_back("data"); }
void OnError(RuntimeObject *self) {
  gEvents[self].push_back(
      "error " + std::to_string(intGetter(self, offsetof(IPCSocketObject, lastErrorCode))));
}

RuntimeClass *IPCClass() {
  static RuntimeClass *cls = nullptr;
  if (!cls) {
    RuntimeClass *base = LookupObjectDefinition(IPCSocketClass());
    cls = RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                          base->staticMethodCount, base->propertyCount);
    cls->instanceSize = sizeof(IPCSocketObject);
    auto set = [&](IPCSocketEvent event, void *handler) {
      cls->events[IPCSocketHooks[event].hook->eventIndex].vector = handler;
    };
    set(kIPCConnectedEvent, reinterpret_cast<void *>(OnConnected));
    set(kIPCDataAvailableEvent, reinterpret_cast<void *>(OnDataAvailable));
    set(kIPCErrorEvent, reinterpret_cast<void *>(OnError));
  }
  return cls;
}

IPCSocket *SocketOf(RuntimeObject *object) {
  return reinterpret_cast<IPCSocketObject *>(object)->socket;
}

bool Exists(const std::string &path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::string Text(stringStorage *storage) {
  std::string text(stringStorage::CString(storage), size_t(stringStorage::Length(storage)));
  RuntimeUnlockString(storage);
  return text;
}

// A python3 peer running beside the test; its output is read when it ends.
class Peer {
public:
  explicit Peer(const std::string &script, const std::string &argument) {
    std::string command = "python3 -c '" + script + "' '" + argument + "'";
    mPipe = popen(command.c_str(), "r");
  }
  ~Peer() { Output(); }
  std::string Output() {
    if (mPipe) {
      char buffer[4096];
      size_t got;
      while ((got = fread(buffer, 1, sizeof buffer, mPipe)) > 0)
        mOutput.append(buffer, got);
      pclose(mPipe);
      mPipe = nullptr;
    }
    return mOutput;
  }

private:
  FILE *mPipe = nullptr;
  std::string mOutput;
};

// Waits for the path to appear (a python listener binding it).
bool WaitForPath(const std::string &path) {
  for (int i = 0; i < 2000 && !Exists(path); ++i)
    usleep(5000);
  return Exists(path);
}

class IPCSocketTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(NetInit(), 0);
    gEvents.clear();
    char folder[] = "/tmp/ipcsocketXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    mFolder = folder;
    mPath = mFolder + "/link";
  }
  void TearDown() override {
    for (RuntimeObject *object : mObjects)
      RuntimeUnlockObject(object);
    EXPECT_EQ(gSocketList.count(), 0);
    std::system(("rm -rf " + mFolder).c_str());
  }
  RuntimeObject *NewSocket(const std::string &path) {
    RuntimeObject *object = RuntimeNewObject(IPCClass());
    mObjects.push_back(object);
    if (!path.empty()) {
      string text(path.c_str());
      stringSetter(object, offsetof(IPCSocketObject, path), text.Storage());
    }
    return object;
  }
  std::vector<std::string> &EventsOf(RuntimeObject *object) { return gEvents[object]; }
  bool Saw(RuntimeObject *object, const std::string &event) {
    return ServiceUntil(
        [&] {
          for (const std::string &seen : EventsOf(object))
            if (seen == event)
              return true;
          return false;
        },
        200000, 60);
  }

  std::string mFolder;
  std::string mPath;
  std::vector<RuntimeObject *> mObjects;
};

const char *kClientScript = R"(
import socket, sys
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.connect(sys.argv[1])
s.sendall(b"hello")
got = b""
while len(got) < 5:
    part = s.recv(5 - len(got))
    if not part: break
    got += part
sys.stdout.write(got.decode())
s.close()
)";

TEST_F(IPCSocketTest, AListenerTalksToAnotherProcessAndSeesItGo) {
  RuntimeObject *listener = NewSocket(mPath);
  IPCSocketListen(listener);
  ASSERT_TRUE(Exists(mPath));
  Peer peer(kClientScript, mPath);
  ASSERT_TRUE(Saw(listener, "connected"));
  EXPECT_TRUE(IPCSocketIsConnected(listener));
  ASSERT_TRUE(ServiceUntil([&] { return SocketOf(listener)->BytesAvailable() == 5; }, 200000, 60));
  string world("world");
  IPCSocketWrite(listener, world.Storage());
  ASSERT_TRUE(Saw(listener, "error 102"));
  EXPECT_EQ(peer.Output(), "world");
  // The peer went: no longer connected, but the bytes it sent stay readable.
  EXPECT_FALSE(IPCSocketIsConnected(listener));
  EXPECT_FALSE(IPCSocketEOF(listener));
  EXPECT_EQ(Text(IPCSocketReadAll(listener, nullptr)), "hello");
  EXPECT_TRUE(IPCSocketEOF(listener));
  EXPECT_TRUE(IPCSocketHadError(listener));
  IPCSocketClose(listener);
  EXPECT_FALSE(Exists(mPath)); // the listener's Close removes its path
}

const char *kListenerScript = R"(
import socket, sys, time, os
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.bind(sys.argv[1])
s.listen(1)
c, _ = s.accept()
time.sleep(0.3)
got = b""
while True:
    part = c.recv(65536)
    if not part: break
    got += part
open(sys.argv[1] + ".got", "wb").write(got)
sys.stdout.write(str(len(got)))
)";

TEST_F(IPCSocketTest, AClientFlushesEverythingToASlowReaderAndLeavesThePath) {
  Peer peer(kListenerScript, mPath);
  ASSERT_TRUE(WaitForPath(mPath));
  RuntimeObject *client = NewSocket(mPath);
  IPCSocketConnect(client);
  ASSERT_TRUE(Saw(client, "connected"));
  const std::string bytes = PatternBytes(8 << 20);
  string text;
  text.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  IPCSocketWrite(client, text.Storage());
  IPCSocketFlush(client);
  TCPSocketPosix *inner = SocketOf(client)->GetInnerSocket();
  ASSERT_TRUE(ServiceUntil([&] { return inner->BytesLeftToSend() == 0; }, 2000000, 120));
  IPCSocketClose(client);
  EXPECT_TRUE(Exists(mPath)); // a client never removes the listener's path
  EXPECT_EQ(peer.Output(), std::to_string(bytes.size()));
  std::ifstream got(mPath + ".got", std::ios::binary);
  std::stringstream all;
  all << got.rdbuf();
  EXPECT_TRUE(all.str() == bytes) << "the peer got different bytes";
  EXPECT_EQ(EventsOf(client), std::vector<std::string>{"connected"});
}

TEST_F(IPCSocketTest, PathsThatCannotBeUsedGiveError) {
  struct Case {
    std::string path;
    std::string error;
    bool listen;
  } cases[] = {
      {"", "error 106", false},
      {"", "error 106", true},
      {"nothing listens here", "error 103", false},
      {"/missing/folder/link", "error 103", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.path + (c.listen ? " (listen)" : " (connect)"));
    std::string path = c.path == "nothing listens here" ? mPath : c.path;
    RuntimeObject *object = NewSocket(path);
    if (c.listen)
      IPCSocketListen(object);
    else
      IPCSocketConnect(object);
    EXPECT_TRUE(Saw(object, c.error));
    EXPECT_FALSE(IPCSocketIsConnected(object));
    IPCSocketClose(object);
  }
}

TEST_F(IPCSocketTest, APathTooLongForTheAddressGivesErrorAndNothingElse) {
  std::string path = mFolder + "/" + std::string(200, 'p');
  RuntimeObject *object = NewSocket(path);
  IPCSocketListen(object);
  ASSERT_TRUE(ServiceUntil([&] { return !EventsOf(object).empty(); }, 2000, 10));
  EXPECT_EQ(EventsOf(object).front().rfind("error ", 0), 0u);
  EXPECT_FALSE(IPCSocketIsConnected(object));
  EXPECT_FALSE(Exists(path));
}

// A socket bound to the path, listening or not (a killed listener leaves
// such a path behind); -1 when that failed.
int BindLocal(const std::string &path, bool listening) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      (listening && listen(fd, 4) != 0)) {
    close(fd);
    return -1;
  }
  return fd;
}

// The path of a listener that is gone is taken over; a live listener's path,
// and a file that is not a socket, are left alone.
TEST_F(IPCSocketTest, ListenTakesOverOnlyAPathNobodyListensOn) {
  int stale = BindLocal(mPath, false);
  ASSERT_GE(stale, 0);
  close(stale);
  ASSERT_TRUE(Exists(mPath));
  RuntimeObject *listener = NewSocket(mPath);
  IPCSocketListen(listener);
  Peer peer(kClientScript, mPath);
  ASSERT_TRUE(Saw(listener, "connected"));
  IPCSocketClose(listener);

  int live = BindLocal(mPath, true);
  ASSERT_GE(live, 0);
  RuntimeObject *second = NewSocket(mPath);
  IPCSocketListen(second);
  EXPECT_TRUE(Saw(second, "error 105"));
  RuntimeObject *client = NewSocket(mPath);
  IPCSocketConnect(client);
  EXPECT_TRUE(Saw(client, "connected")); // the live listener still has its path
  IPCSocketClose(client);
  IPCSocketClose(second);
  close(live);
  unlink(mPath.c_str());

  std::ofstream(mPath) << "not a socket";
  RuntimeObject *third = NewSocket(mPath);
  IPCSocketListen(third);
  EXPECT_TRUE(Saw(third, "error 105"));
  EXPECT_TRUE(Exists(mPath));
  IPCSocketClose(third);
}

// Nil objects, and a manager whose owner is gone: the alert, then nothing.
TEST_F(IPCSocketTest, EntryPointsGivenNilAlertAndAnswerNothing) {
  AlertRecorder alerts;
  EXPECT_EQ(IPCSocketIsConnected(nullptr), 0);
  EXPECT_EQ(IPCSocketEOF(nullptr), 0);
  EXPECT_EQ(IPCSocketHadError(nullptr), 0);
  EXPECT_EQ(IPCSocketReadAll(nullptr, nullptr), nullptr);
  IPCSocketConnect(nullptr);
  IPCSocketFlush(nullptr);
  ASSERT_EQ(alerts.count(), 6u);
  for (const RecordedAlert &alert : alerts.alerts())
    EXPECT_EQ(alert.condition, "ctl");
  alerts.clear();
  IPCSocketEventManager orphan(nullptr);
  orphan.IPCSocketConnected(nullptr);
  orphan.IPCSocketDataReceived(nullptr);
  orphan.IPCSocketError(nullptr, 102);
  ASSERT_EQ(alerts.count(), 3u);
  for (const RecordedAlert &alert : alerts.alerts())
    EXPECT_EQ(alert.condition, "mOwningControl");
}

} // namespace
