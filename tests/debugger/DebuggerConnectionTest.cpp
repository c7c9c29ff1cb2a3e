// The debugger link: number and string encodings, the line splitter fed in
// pieces, the delegate walks, the counted reference, and each request's
// bytes as a plain socket at the other end of a real TCP link reads them.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DebugLinkLock.h"
#include "debugger/DebuggerConnection.h"
#include "debugger/IPCSocketConnection.h"
#include "debugger/TCPSocketConnection.h"
#include "foundation/TextEncodings.h"
#include "support/AlertRecorder.h"
#include "support/NetTestSupport.h"

namespace {

std::string Std(const string &text) { return std::string(text.CString(), text.Length()); }

string Text(const std::string &bytes, uint32_t encoding = kEncodingASCII) {
  string text;
  if (!bytes.empty())
    text.ConstructFromBuffer(bytes.data(), int(bytes.size()), encoding);
  return text;
}

TEST(DebuggerEncodingTest, EnhexWritesTheLastByteFirstInUpperCase) {
  const int32_t one = 1;
  const uint8_t ten = 0x0A;
  const double unit = 1.0;
  const uint32_t mixed = 0xDEADbeef;
  EXPECT_EQ(Std(DebuggerConnection::enhex(&one, 4)), "00000001");
  EXPECT_EQ(Std(DebuggerConnection::enhex(&ten, 1)), "0A");
  EXPECT_EQ(Std(DebuggerConnection::enhex(&unit, 8)), "3FF0000000000000");
  EXPECT_EQ(Std(DebuggerConnection::enhex(&mixed, 4)), "DEADBEEF");
}

TEST(DebuggerEncodingTest, DehexPadsCutsAndSkipsNonDigits) {
  struct Case {
    const char *text;
    int32_t count;
    uint64_t before;
    uint64_t after;
  } cases[] = {
      {"1", 4, 0xFFFFFFFF, 1},
      {"123456789", 4, 0, 0x23456789},      // the last eight digits count
      {"ff", 1, 0x5A, 0x5A},                // lower case is no digit: the byte stays
      {"F", 1, 0, 0x0F},                    // padded on the left
      {"0000FF0G", 4, 0x11111111, 0xFF00},  // a low non-digit adds nothing
      {"Z1000002", 4, 0xAA000000, 0xAA000002}, // a high non-digit leaves the byte
      {"", 4, 0x99, 0},
      {"3FF0000000000000", 8, 0, 0x3FF0000000000000ull},
      {"000000FF", 1, 0, 0xFF},
  };
  for (const Case &c : cases) {
    uint64_t value = c.before;
    DebuggerConnection::dehex(Text(c.text), &value, c.count);
    EXPECT_EQ(value, c.after) << c.text;
  }
}

TEST(DebuggerEncodingTest, StringsTravelAsEncodingAndByteDigits) {
  EXPECT_EQ(Std(DebuggerConnection::TransferEncodeString(Text("A"))), "00000600:41");
  EXPECT_EQ(Std(DebuggerConnection::TransferEncodeString(string())), "00000600:");
  const string utf8 = Text("gr\xC3\xBC\xC3\x9F blank", kEncodingUTF8);
  const string encoded = DebuggerConnection::TransferEncodeString(utf8);
  EXPECT_EQ(Std(encoded).find(' '), std::string::npos);
  const string back = DebuggerConnection::TransferDecodeString(encoded);
  EXPECT_EQ(Std(back), Std(utf8));
  EXPECT_EQ(back.Encoding(), uint32_t(kEncodingUTF8));
}

TEST(DebuggerEncodingTest, DecodingFollowsTheFieldRules) {
  struct Case {
    const char *encoded;
    const char *bytes;
    size_t length;
    uint32_t encoding; // of a non-empty result
  } cases[] = {
      {"00000600:", "", 0, 0},
      {"00000600:4142 \t", "AB", 2, 0x600},
      {"00000600:414", "A@", 2, 0x600},      // an odd last digit is a high half
      {"00000600:G141", "\x00" "A", 2, 0x600}, // a high non-digit gives 0
      {":41", "A", 1, 0},                     // an empty encoding field is 0
      {"zzzzzzzz:41", "A", 1, 0xFFFF},        // non-digits keep the unknown tag
      {"0000060041", "", 0, 0},               // no colon: no digits
  };
  for (const Case &c : cases) {
    const string result = DebuggerConnection::TransferDecodeString(Text(c.encoded));
    EXPECT_EQ(Std(result), std::string(c.bytes, c.length)) << c.encoded;
    if (c.length) {
      EXPECT_EQ(result.Encoding(), c.encoding) << c.encoded;
    }
  }
}

// Records what the connection tells it.
struct RecordingDebugDelegate : DebuggerConnectionDelegate {
  explicit RecordingDebugDelegate(std::string name = "") : name(std::move(name)) {}
  void DebuggerConnectionMessage(const string &command, const string &argument) override {
    lines.emplace_back(Std(command), Std(argument));
    log->push_back(name + " message");
    if (onMessage)
      onMessage();
  }
  void DebuggerConnectionOpened() override { log->push_back(name + " opened"); }
  void DebuggerConnectionClosed() override { log->push_back(name + " closed"); }

  std::string name;
  std::vector<std::pair<std::string, std::string>> lines;
  std::vector<std::string> ownLog;
  std::vector<std::string> *log = &ownLog;
  std::function<void()> onMessage;
};

TEST(DebuggerLineSplitterTest, PiecesBecomeLinesSplitAtTheFirstBlank) {
  TCPSocketConnection connection(string("127.0.0.1"));
  RecordingDebugDelegate delegate;
  connection.AddDelegate(&delegate);
  TCPSocket *wire = CreateTCPSocket(nullptr, nullptr);
  ASSERT_NE(wire, nullptr);
  LineSplitter splitter;
  const std::vector<std::pair<std::string, size_t>> pieces = {
      {"RU", 0},                           // nothing whole yet
      {"N\rSW 00001000 000000", 1},        // one line and a partial one
      {"2A\r\nBREAK \r", 3},               // two lines, the second after a line feed
      {" lead\rBR 00000005\rx", 5},        // a leading blank, and more in one piece
  };
  for (const auto &[bytes, linesAfter] : pieces) {
    wire->mReceiveBuffer.Append(bytes.data(), int32_t(bytes.size()));
    EXPECT_TRUE(splitter.Split(wire, connection));
    EXPECT_EQ(delegate.lines.size(), linesAfter) << bytes;
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"RUN", ""},
      {"SW", "00001000 0000002A"},
      {"\nBREAK", ""},
      {"", "lead"},
      {"BR", "00000005"},
  };
  EXPECT_EQ(delegate.lines, expected);
  // "x" waits for its carriage return.
  wire->mReceiveBuffer.Append("y\r", 2);
  EXPECT_TRUE(splitter.Split(wire, connection));
  ASSERT_EQ(delegate.lines.size(), 6u);
  EXPECT_EQ(delegate.lines[5].first, "xy");
  delete wire;
}

TEST(DebuggerLineSplitterTest, ALineLongerThanTheBoundIsRefused) {
  TCPSocketConnection connection(string("127.0.0.1"));
  RecordingDebugDelegate delegate;
  connection.AddDelegate(&delegate);
  TCPSocket *wire = CreateTCPSocket(nullptr, nullptr);
  LineSplitter splitter;
  const std::string piece(1 << 20, 'A');
  bool accepted = true;
  for (int i = 0; i <= kMaxDebugLineBytes / (1 << 20) && accepted; ++i) {
    wire->mReceiveBuffer.Append(piece.data(), int32_t(piece.size()));
    accepted = splitter.Split(wire, connection);
  }
  EXPECT_FALSE(accepted);
  EXPECT_EQ(wire->mReceiveBuffer.Length(), 0); // the socket can go on reading
  EXPECT_TRUE(delegate.lines.empty());
  delete wire;
}

TEST(DebuggerDelegateTest, WalksRunNewestFirstAndSurviveRemoval) {
  TCPSocketConnection connection(string("127.0.0.1"));
  std::vector<std::string> log;
  RecordingDebugDelegate first("first"), second("second");
  first.log = second.log = &log;
  connection.AddDelegate(nullptr);
  connection.AddDelegate(&first);
  connection.AddDelegate(&second);
  connection.AddDelegate(&second);
  connection.DelegateOpened();
  EXPECT_EQ(log, (std::vector<std::string>{"second opened", "second opened", "first opened"}));

  log.clear();
  // The newest removes every copy of itself and the oldest while called.
  second.onMessage = [&] {
    connection.RemoveDelegate(&second);
    connection.RemoveDelegate(&first);
  };
  connection.DelegateMessage(string("RUN"), string());
  EXPECT_EQ(log, (std::vector<std::string>{"second message"}));
  EXPECT_EQ(connection.mDelegates.count(), 0);
  connection.DelegateClosed();
  EXPECT_EQ(log.size(), 1u);
}

TEST(DebuggerConnectionTest, NewGivesTheLocalSocketOnlyFor127001) {
  struct Case {
    const char *address;
    bool local;
  } cases[] = {{"127.0.0.1", true}, {"localhost", false}, {"10.0.0.7", false}, {"", false}};
  for (const Case &c : cases) {
    Ref<DebuggerConnection> link = DebuggerConnection::New(Text(c.address));
    ASSERT_TRUE(link.IsBound());
    EXPECT_EQ(dynamic_cast<IPCSocketConnection *>(link.Get()) != nullptr, c.local) << c.address;
    EXPECT_EQ(link.RefCount(), 1);
  }
}

// An object whose destructor releases the reference it holds to another.
struct Chained {
  static inline int destroyed = 0;
  static inline int depth = 0;
  static inline int deepest = 0;
  Ref<Chained> next;
  virtual ~Chained() {
    ++depth;
    deepest = std::max(deepest, depth);
    ++destroyed;
    next.Unbind();
    --depth;
  }
};

TEST(DebuggerRefTest, TheLastReleaseDestroysOnceWithoutRecursion) {
  AlertRecorder alerts;
  Chained::destroyed = Chained::deepest = 0;
  {
    Ref<Chained> head(new Chained);
    Ref<Chained> copy = head;
    Chained *link = head.Get();
    for (int i = 0; i < 1000; ++i) {
      link->next = Ref<Chained>(new Chained);
      link = link->next.Get();
    }
    EXPECT_EQ(head.RefCount(), 2);
    copy.Unbind();
    EXPECT_EQ(Chained::destroyed, 0);
  }
  EXPECT_EQ(Chained::destroyed, 1001);
  EXPECT_EQ(Chained::deepest, 1);
  EXPECT_EQ(alerts.count(), 0u);
}

// Every request against its bytes, read by a plain socket that accepted the
// connection's TCP link on the fixed port.
TEST(DebuggerRequestsTest, EachRequestPutsItsLineOnTheWire) {
  DebugLinkLock lock;
  ASSERT_EQ(NetInit(), 0);
  PlainSocket listener(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int yes = 1;
  setsockopt(listener.fd(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(kDebugPort);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener.fd(), reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener.fd(), 1), 0);

  Ref<DebuggerConnection> link = DebuggerConnection::New(Text("localhost"));
  RecordingDebugDelegate delegate;
  link->AddDelegate(&delegate);
  link->Connect();
  PlainSocket peer = AcceptPlain(listener);
  ASSERT_GE(peer.fd(), 0);
  ASSERT_TRUE(ServiceUntil([&] { return !delegate.ownLog.empty(); }));
  EXPECT_EQ(delegate.ownLog, std::vector<std::string>{" opened"});

  DebuggerConnection &c = *link.Get();
  const string getter = Text("editTextGetter");
  const std::vector<std::pair<std::function<void()>, std::string>> requests = {
      {[&] { c.SendSetBreakpoint(5); }, "BR 00000005\r"},
      {[&] { c.SendClearBreakpoint(0x1234); }, "BRC 00001234\r"},
      {[&] { c.SendBreakLineAllocate(300); }, "BRLA 0000012C\r"},
      {[&] { c.SendRun(); }, "RUN\r"},
      {[&] { c.SendStepInto(); }, "STEP\r"},
      {[&] { c.SendStepOver(); }, "STEPOVER\r"},
      {[&] { c.SendStepOut(); }, "STEPOUT\r"},
      {[&] { c.SendQuit(); }, "QUIT\r"},
      {[&] { c.SendGetPID(); }, "PID\r"},
      {[&] { c.SendGetGlobalBase(); }, "TOC\r"},
      {[&] { c.SendStackCrawl(); }, "SC\r"},
      {[&] { c.SendGetMemoryWord(0x0804A000); }, "DW 0804A000\r"},
      {[&] { c.SendGetMemoryByte(-1); }, "DB FFFFFFFF\r"},
      {[&] { c.SendGetMemoryLong(16); }, "DL 00000010\r"},
      {[&] { c.SendGetMemoryString(17); }, "DS 00000011\r"},
      {[&] { c.SendGetMemoryObject(18); }, "DO 00000012\r"},
      {[&] { c.SendGetMemoryVariant(19); }, "DV 00000013\r"},
      {[&] { c.SendGetObjectClass(20); }, "DOC 00000014\r"},
      {[&] { c.SendGetArrayBufferAndBounds(21); }, "DABB 00000015\r"},
      {[&] { c.SendSetMemoryWord(0x100, 0x2A); }, "SW 00000100 0000002A\r"},
      {[&] { c.SendSetMemoryByte(0x100, 0x41); }, "SB 00000100 00000041\r"},
      {[&] { c.SendSetMemoryLong(0x100, 1.0); }, "SL 00000100 3FF0000000000000\r"},
      {[&] { c.SendSetMemoryString(0x100, string()); }, "SS 00000100 00000600:\r"},
      {[&] { c.SendSetMemoryString(0x100, Text("Hi")); }, "SS 00000100 00000600:4869\r"},
      {[&] { c.SendObjectWatchListSet(22); }, "OWLS 00000016\r"},
      {[&] { c.SendObjectWatchListRemove(23); }, "OWLR 00000017\r"},
      {[&] { c.SendArrayWatchListSet(24); }, "AWLS 00000018\r"},
      {[&] { c.SendArrayWatchListRemove(25); }, "AWLR 00000019\r"},
      {[&] { c.SendCallByteGetter(26, getter, 1); }, "DPVB 0000001A editTextGetter 00000001\r"},
      {[&] { c.SendCallIntegerGetter(27, getter, 2); }, "DPVI 0000001B editTextGetter 00000002\r"},
      {[&] { c.SendCallSingleGetter(28, getter, 3); }, "DPVF 0000001C editTextGetter 00000003\r"},
      {[&] { c.SendCallDoubleGetter(29, getter, 4); }, "DPVD 0000001D editTextGetter 00000004\r"},
      {[&] { c.SendCallStringGetter(30, getter, 5); }, "DPVS 0000001E editTextGetter 00000005\r"},
      {[&] { c.SendCallObjectGetter(31, getter, 6); }, "DPVO 0000001F editTextGetter 00000006\r"},
      {[&] { c.SendCallVariantGetter(32, getter, 7); }, "DPVV 00000020 editTextGetter 00000007\r"},
      {[&] { c.SendMessage(Text("BREAK"), string()); }, "BREAK \r"},
  };
  for (const auto &[send, bytes] : requests) {
    send();
    std::string got;
    ServiceUntil([&] {
      got += ReadUpTo(peer.fd(), bytes.size() - got.size(), 0);
      return got.size() >= bytes.size();
    });
    EXPECT_EQ(got, bytes);
  }

  // The peer's lines come back through the splitter; its close tells the
  // delegate and closes the link.
  ASSERT_TRUE(WriteAll(peer.fd(), "VAL32 10 0000002A\rTOC", 21));
  ASSERT_TRUE(ServiceUntil([&] { return delegate.lines.size() == 1; }));
  EXPECT_EQ(delegate.lines[0], (std::pair<std::string, std::string>{"VAL32", "10 0000002A"}));
  peer.Close();
  ASSERT_TRUE(ServiceUntil([&] { return !link->IsOpen(); }));
  EXPECT_EQ(delegate.ownLog.back(), " closed");
  link.Unbind();
}

} // namespace
