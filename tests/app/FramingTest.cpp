// The application's framed messages over a real loopback connection: the
// image's EasyTCPSocket (in the tavrin_framing test image) sends every whole
// frame back, and the test is the scripted peer.
#include <gtest/gtest.h>

#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "support/ImageRunner.h"
#include "support/NetTestSupport.h"

namespace {

std::string BigEndian(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = char(uint32_t(value) >> (24 - 8 * i));
  return bytes;
}

std::string Frame(int32_t command, const std::string &payload) {
  return BigEndian(int32_t(8 + payload.size())) + BigEndian(command) + payload;
}

// Runs a test image and is its peer over loopback.
class PeerOfImage : public testing::Test {
protected:
  void StartImage(const char *name) {
    mPid = fork();
    if (mPid == 0) {
      setenv("TAVRIN_TEST_PORT", std::to_string(mPort).c_str(), 1);
      std::string command = "exec " + Emulated(std::string(TEST_IMAGES_DIR "/") + name);
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
      _exit(127);
    }
    ASSERT_GT(mPid, 0);
  }
  void TearDown() override {
    if (mPid > 0) {
      kill(mPid, SIGKILL);
      waitpid(mPid, nullptr, 0);
    }
  }

  // A connection to the image, once it listens.
  PlainSocket Connect() {
    for (int attempt = 0; attempt < 600; ++attempt) {
      PlainSocket socket = ConnectPlain(mPort);
      if (socket.fd() >= 0)
        return socket;
      usleep(100000);
    }
    ADD_FAILURE() << "the image never listened on port " << mPort;
    return PlainSocket();
  }

  // Whether the image closed the connection without sending anything more
  // (a wait that ends with the connection still open is not a close).
  static bool ClosedByImage(const PlainSocket &socket) {
    pollfd readable{socket.fd(), POLLIN, 0};
    if (poll(&readable, 1, 60000) != 1)
      return false;
    char byte;
    return recv(socket.fd(), &byte, 1, 0) == 0;
  }

  // One round trip on a new connection: the frame comes back whole.
  void ExpectEchoOnNewConnection() {
    PlainSocket socket = Connect();
    const std::string frame = Frame(1, "still here");
    ASSERT_TRUE(WriteAll(socket.fd(), frame.data(), frame.size()));
    EXPECT_EQ(ReadUpTo(socket.fd(), frame.size()), frame);
  }

  int mPort = 0;
  pid_t mPid = -1;
};

// The framed-message socket alone, sending back every whole frame.
class Framing : public PeerOfImage {
protected:
  void SetUp() override {
    mPort = UnusedPort();
    StartImage("tavrin_framing");
  }
};

// The application's connection on its own port, in a network namespace of
// the test's own, with the clipboard manager's stand-in answering.
class Connection : public PeerOfImage {
protected:
  void SetUp() override {
    if (unshare(CLONE_NEWNET) != 0)
      GTEST_SKIP() << "a private network namespace cannot be made here (needs root)";
    ASSERT_EQ(std::system("ip link set lo up"), 0);
    mPort = 7582;
    StartImage("tavrin_connection");
  }
};

TEST_F(Framing, WholeFramesComeBackOnceInOrderWithTheirLengthInBytes) {
  PlainSocket socket = Connect();
  ASSERT_GE(socket.fd(), 0);
  // Split byte by byte: handled once, when its last byte arrives.
  const std::string split = Frame(1, "split");
  for (char byte : split) {
    ASSERT_TRUE(WriteAll(socket.fd(), &byte, 1));
    usleep(2000);
  }
  EXPECT_EQ(ReadUpTo(socket.fd(), split.size()), split);
  // Two in one send: both, in order.
  const std::string two = Frame(1, "first") + Frame(7, "second");
  ASSERT_TRUE(WriteAll(socket.fd(), two.data(), two.size()));
  EXPECT_EQ(ReadUpTo(socket.fd(), two.size()), two);
  // Five characters, six bytes of UTF-8: length 14. An empty text: length 8.
  const std::string accented = "h\xC3\xA9llo";
  const std::string utf8 = Frame(1, accented) + Frame(1, "");
  ASSERT_TRUE(WriteAll(socket.fd(), utf8.data(), utf8.size()));
  const std::string back = ReadUpTo(socket.fd(), utf8.size());
  EXPECT_EQ(back.substr(0, 4), BigEndian(14));
  EXPECT_EQ(back, utf8);
  // A payload of every byte value crosses unchanged.
  std::string every;
  for (int i = 0; i < 256; ++i)
    every += char(i);
  const std::string binary = Frame(1, every);
  ASSERT_TRUE(WriteAll(socket.fd(), binary.data(), binary.size()));
  EXPECT_EQ(ReadUpTo(socket.fd(), binary.size()), binary);
}

// A length that cannot frame a message closes the connection, which frees
// the image for the next peer.
TEST_F(Framing, ImpossibleLengthsCloseTheConnectionAndTheNextPeerIsServed) {
  const int32_t lengths[] = {0, 5, 64 * 1024 * 1024 + 1, -1, INT32_MIN};
  for (int32_t length : lengths) {
    SCOPED_TRACE(length);
    PlainSocket socket = Connect();
    ASSERT_GE(socket.fd(), 0);
    const std::string header = BigEndian(length) + BigEndian(1) + "tail";
    ASSERT_TRUE(WriteAll(socket.fd(), header.data(), header.size()));
    EXPECT_TRUE(ClosedByImage(socket));
  }
  ExpectEchoOnNewConnection();
}

// Fewer than eight bytes are not parsed: a partial header waits.
TEST_F(Framing, APartialHeaderWaitsForTheRest) {
  PlainSocket socket = Connect();
  ASSERT_GE(socket.fd(), 0);
  const std::string frame = Frame(1, "late");
  ASSERT_TRUE(WriteAll(socket.fd(), frame.data(), 3));
  EXPECT_EQ(ReadUpTo(socket.fd(), 1, 500), "");
  ASSERT_TRUE(WriteAll(socket.fd(), frame.data() + 3, frame.size() - 3));
  EXPECT_EQ(ReadUpTo(socket.fd(), frame.size()), frame);
}

TEST_F(Framing, SeededRandomStreamsCrashNothing) {
  std::mt19937 random(19);
  for (int round = 0; round < 8; ++round) {
    PlainSocket socket = Connect();
    ASSERT_GE(socket.fd(), 0);
    std::string noise(1 + random() % 4096, '\0');
    for (char &byte : noise)
      byte = char(random());
    // Now and then a plausible header first, so that some frames complete.
    if (round % 2)
      noise = Frame(int32_t(random()), noise.substr(0, 100)) + noise;
    WriteAll(socket.fd(), noise.data(), noise.size());
    ReadUpTo(socket.fd(), noise.size(), 300);
  }
  ExpectEchoOnNewConnection();
  int status = 0;
  EXPECT_EQ(waitpid(mPid, &status, WNOHANG), 0) << "the image ended";
}

// Only command 1 with UTF-8 text reaches the clipboard manager; what is
// ignored does not count as a remote text, and the connection stays.
TEST_F(Connection, OnlyUTF8TextOfCommandOneReachesTheManager) {
  PlainSocket socket = Connect();
  ASSERT_GE(socket.fd(), 0);
  const std::string stream = Frame(2, "command two") + Frame(1, "Latin-1 \xE9t\xE9") +
                             Frame(1, "h\xC3\xA9llo") + Frame(3, "") + Frame(1, "second");
  ASSERT_TRUE(WriteAll(socket.fd(), stream.data(), stream.size()));
  const std::string expected = Frame(101, "h\xC3\xA9llo") + Frame(102, "second");
  EXPECT_EQ(ReadUpTo(socket.fd(), expected.size()), expected);
}

TEST_F(Connection, ALengthThatCannotFrameEndsTheConnectionAndListeningResumes) {
  {
    PlainSocket socket = Connect();
    ASSERT_GE(socket.fd(), 0);
    const std::string header = BigEndian(0) + BigEndian(1);
    ASSERT_TRUE(WriteAll(socket.fd(), header.data(), header.size()));
    EXPECT_TRUE(ClosedByImage(socket));
  }
  PlainSocket again = Connect();
  ASSERT_GE(again.fd(), 0);
  const std::string frame = Frame(1, "after");
  ASSERT_TRUE(WriteAll(again.fd(), frame.data(), frame.size()));
  EXPECT_EQ(ReadUpTo(again.fd(), frame.size()), Frame(101, "after"));
}

} // namespace
