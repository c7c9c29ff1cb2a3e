// The whole application, one copy on a private Xvfb in a private network
// namespace, with the test as the scripted peer on 127.0.0.1:7582 and xclip
// and xdotool as the user. Skipped while the runtime lacks entry points the
// application calls, or where a namespace cannot be made.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TavrinImage.h"
#include "support/CommandOutput.h"
#include "support/ImageRunner.h"
#include "support/PrivateXvfb.h"
#include "support/SelectionReply.h"
#include "support/NetTestSupport.h"

namespace {

constexpr int kPort = 7582;

std::string BigEndian(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = char(uint32_t(value) >> (24 - 8 * i));
  return bytes;
}

std::string Frame(int32_t command, const std::string &payload) {
  return BigEndian(int32_t(8 + payload.size())) + BigEndian(command) + payload;
}

bool WaitFor(const std::function<bool()> &done, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (done())
      return true;
    usleep(100000);
  }
  return done();
}

// Starts argv[0] through the shell's exec; answers the PID of the program.
pid_t Start(const std::string &command) {
  pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char *>(nullptr));
    _exit(127);
  }
  return pid;
}

void Stop(pid_t &pid) {
  if (pid > 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  pid = -1;
}

// What a slow owner does when asked for its text (it always lists it).
enum class TextAnswer { kGives, kQuitsInstead, kRefuses };

// An X client that owns the CLIPBOARD with the text and answers each request
// only after a second. It tells the test of each request on the pipe: 't'
// for the list of targets, 's' for the text. It may instead quit when asked
// for the text, or refuse it.
[[noreturn]] void RunSlowClipboardOwner(const std::string &text, int tellFd,
                                        TextAnswer textAnswer = TextAnswer::kGives) {
  Display *display = XOpenDisplay(nullptr);
  if (!display)
    _exit(2);
  Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
  Atom targets = XInternAtom(display, "TARGETS", False);
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XSetSelectionOwner(display, clipboard, window, CurrentTime);
  XSync(display, False);
  write(tellFd, "o", 1);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != SelectionRequest)
      continue;
    XSelectionRequestEvent &request = event.xselectionrequest;
    write(tellFd, request.target == targets ? "t" : "s", 1);
    if (textAnswer == TextAnswer::kQuitsInstead && request.target != targets)
      _exit(0);
    sleep(1);
    Atom answer = request.property;
    if (textAnswer == TextAnswer::kRefuses && request.target != targets) {
      answer = None;
    } else if (request.target == targets) {
      Atom offered[] = {targets, utf8, XA_STRING};
      XChangeProperty(display, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char *>(offered), 3);
    } else if (request.target == utf8 || request.target == XA_STRING) {
      XChangeProperty(display, request.requestor, request.property, request.target, 8,
                      PropModeReplace, reinterpret_cast<const unsigned char *>(text.data()),
                      int(text.size()));
    } else {
      answer = None;
    }
    SendSelectionNotify(display, request, answer);
  }
}

class TavrinApp : public testing::Test {
protected:
  void SetUp() override {
    if (!UnboundImports().empty())
      GTEST_SKIP() << "the runtime does not yet provide every entry point the application uses ("
                   << DescribeUnbound(UnboundImports()) << ")";
    if (unshare(CLONE_NEWNET) != 0)
      GTEST_SKIP() << "a private network namespace cannot be made here (needs root)";
    ASSERT_EQ(std::system("ip link set lo up"), 0);
    StartXvfb();
    mApp = Start(Emulated(TEST_IMAGES_DIR "/../tavrin"));
    ASSERT_TRUE(WaitFor([] { return Listening(); }, 120)) << "the application never listened";
    ASSERT_TRUE(WaitFor([this] { return !MainWindow().empty(); }, 60));
  }
  void TearDown() override {
    Stop(mCopier);
    Stop(mOwner);
    Stop(mApp);
    StopPrivateXvfb(mXvfb);
  }

  void StartXvfb() {
    mXvfb = StartPrivateXvfb();
    ASSERT_FALSE(mXvfb.display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", mXvfb.display.c_str(), 1);
    ASSERT_TRUE(
        WaitFor([] { return std::system("xdotool getdisplaygeometry >/dev/null 2>&1") == 0; }, 30));
  }

  // Whether this namespace has a TCP listener on the port (state 0A).
  static bool Listening() {
    std::ifstream table("/proc/net/tcp");
    char port[8];
    std::snprintf(port, sizeof port, ":%04X", kPort);
    for (std::string line; std::getline(table, line);) {
      // "sl local_address rem_address st ...": the local port, then the state.
      size_t local = line.find(':', line.find(':') + 1);
      if (local != std::string::npos && line.compare(local, 5, port) == 0 &&
          line.find(" 0A ") != std::string::npos)
        return true;
    }
    return false;
  }
  static std::string MainWindow() {
    std::string id = CommandOutput("xdotool search --name '^Vadezezidev$' 2>/dev/null | head -1");
    return id.substr(0, id.find('\n'));
  }

  // The peer: a connection the application accepted.
  PlainSocket Peer() {
    PlainSocket socket = ConnectPlain(kPort);
    EXPECT_GE(socket.fd(), 0) << "the application refused the peer";
    return socket;
  }

  // The user copies the text (xclip owns the clipboard until the next copy).
  void Copy(const std::string &text) {
    Stop(mCopier);
    const std::string path = "/tmp/tavrin-copy-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary) << text;
    mCopier = Start("xclip -selection clipboard -i -quiet " + path + " >/dev/null 2>&1");
  }
  static std::string Clipboard() { return CommandOutput("xclip -selection clipboard -o 2>/dev/null"); }

  // One whole frame from the application, or "" when none came in time.
  static std::string NextFrame(const PlainSocket &socket, int timeoutMs = 20000) {
    std::string header = ReadUpTo(socket.fd(), 8, timeoutMs);
    if (header.size() < 8)
      return header;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
      length = length << 8 | uint8_t(header[i]);
    return header + ReadUpTo(socket.fd(), length - 8, timeoutMs);
  }

  // A connection once the application listens (it may be on its way back).
  static PlainSocket ConnectWithin(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
      PlainSocket socket = ConnectPlain(kPort);
      if (socket.fd() >= 0)
        return socket;
      usleep(100000);
    }
    return PlainSocket();
  }

  static bool ClosedByApplication(const PlainSocket &socket) {
    pollfd readable{socket.fd(), POLLIN, 0};
    char byte;
    return poll(&readable, 1, 60000) == 1 && recv(socket.fd(), &byte, 1, 0) == 0;
  }

  PrivateXvfb mXvfb;
  pid_t mApp = -1, mCopier = -1, mOwner = -1;
};

TEST_F(TavrinApp, LocalTextsReachThePeerByteForByte) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  // Five characters in six bytes of UTF-8: length 14, command 1.
  Copy("h\xC3\xA9llo");
  EXPECT_EQ(NextFrame(peer), Frame(1, "h\xC3\xA9llo"));
  // A change of letter case only is a change.
  Copy("H\xC3\xA9llo");
  EXPECT_EQ(NextFrame(peer), Frame(1, "H\xC3\xA9llo"));
  // The empty text travels as a frame of length 8.
  Copy("");
  EXPECT_EQ(NextFrame(peer), Frame(1, ""));
}

TEST_F(TavrinApp, APeersTextGoesOnTheClipboardAndIsNotSentBack) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  const std::string frame = Frame(1, "from the peer");
  ASSERT_TRUE(WriteAll(peer.fd(), frame.data(), frame.size()));
  EXPECT_TRUE(WaitFor([] { return Clipboard() == "from the peer"; }, 20)) << Clipboard();
  EXPECT_EQ(ReadUpTo(peer.fd(), 1, 2000), "") << "the text came back";
}

TEST_F(TavrinApp, OtherCommandsAndTextThatIsNotUTF8AreIgnoredAndTheConnectionStays) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  Copy("local");
  ASSERT_EQ(NextFrame(peer), Frame(1, "local"));
  const std::string ignored = Frame(2, "command two") + Frame(1, "Latin-1 \xE9t\xE9");
  ASSERT_TRUE(WriteAll(peer.fd(), ignored.data(), ignored.size()));
  const std::string accepted = Frame(1, "accepted");
  ASSERT_TRUE(WriteAll(peer.fd(), accepted.data(), accepted.size()));
  EXPECT_TRUE(WaitFor([] { return Clipboard() == "accepted"; }, 20)) << Clipboard();
}

TEST_F(TavrinApp, ImpossibleLengthsEndTheConnectionAndTheApplicationListensAgain) {
  for (int32_t length : {0, 5, 64 * 1024 * 1024 + 1, -1}) {
    SCOPED_TRACE(length);
    PlainSocket peer = ConnectWithin(60);
    ASSERT_GE(peer.fd(), 0);
    const std::string header = BigEndian(length) + BigEndian(1);
    ASSERT_TRUE(WriteAll(peer.fd(), header.data(), header.size()));
    EXPECT_TRUE(ClosedByApplication(peer));
    EXPECT_TRUE(WaitFor([] { return Listening(); }, 60));
  }
}

// Reading the clipboard runs a nested main loop; a peer's text that arrives
// while a slow owner takes a second to answer is what the clipboard holds
// afterwards, and the stale answer, new to the application, is neither kept
// nor sent.
TEST_F(TavrinApp, APeersTextDuringASlowClipboardReadWinsOverTheStaleReading) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  int tell[2];
  ASSERT_EQ(pipe(tell), 0);
  mOwner = fork();
  if (mOwner == 0)
    RunSlowClipboardOwner("stale local", tell[1]);
  close(tell[1]);
  auto next = [&] {
    pollfd readable{tell[0], POLLIN, 0};
    char what = 0;
    if (poll(&readable, 1, 20000) == 1 && read(tell[0], &what, 1) != 1)
      what = 0;
    return what;
  };
  ASSERT_EQ(next(), 'o');
  // The application asks the owner (for its targets first): it now waits.
  const char asked = next();
  ASSERT_TRUE(asked == 't' || asked == 's') << int(asked);
  const std::string frame = Frame(1, "fresh remote");
  ASSERT_TRUE(WriteAll(peer.fd(), frame.data(), frame.size()));
  EXPECT_TRUE(WaitFor([] { return Clipboard() == "fresh remote"; }, 20)) << Clipboard();
  // Nothing comes: "stale local" would have been a change worth sending.
  EXPECT_EQ(ReadUpTo(peer.fd(), 1, 3000), "") << "the stale reading was sent";
  EXPECT_EQ(Clipboard(), "fresh remote");
  close(tell[0]);
}

// An owner that offers text and then quits when asked for it, or refuses
// it, leaves nothing read: no empty text goes to the peer in its place.
TEST_F(TavrinApp, AnOwnerThatDoesNotGiveItsTextSendsNoEmptyText) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  for (TextAnswer answer : {TextAnswer::kQuitsInstead, TextAnswer::kRefuses}) {
    SCOPED_TRACE(int(answer));
    Copy(answer == TextAnswer::kRefuses ? "before the refusal" : "before");
    ASSERT_EQ(NextFrame(peer),
              Frame(1, answer == TextAnswer::kRefuses ? "before the refusal" : "before"));
    Stop(mCopier);
    Stop(mOwner);
    int tell[2];
    ASSERT_EQ(pipe(tell), 0);
    mOwner = fork();
    if (mOwner == 0)
      RunSlowClipboardOwner("never given", tell[1], answer);
    close(tell[1]);
    std::string asked;
    for (char what; asked.find('s') == std::string::npos;) {
      pollfd readable{tell[0], POLLIN, 0};
      ASSERT_EQ(poll(&readable, 1, 20000), 1) << "the application never asked for the text";
      if (read(tell[0], &what, 1) != 1)
        break;
      asked += what;
    }
    close(tell[0]);
    EXPECT_EQ(ReadUpTo(peer.fd(), 1, 4000), "") << "a text was sent for the owner's";
  }
}

// Text offered as UTF-8 that is not UTF-8 is ignored, as it is from the
// peer; the next text goes as ever.
TEST_F(TavrinApp, LocalTextThatIsNotUTF8IsNotSent) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  Copy("first");
  ASSERT_EQ(NextFrame(peer), Frame(1, "first"));
  Copy("Latin-1 \xE9t\xE9");
  EXPECT_TRUE(WaitFor([] { return Clipboard() == "Latin-1 \xE9t\xE9"; }, 20));
  EXPECT_EQ(ReadUpTo(peer.fd(), 1, 3000), "") << "a text was sent for the one that is not UTF-8";
  Copy("after");
  EXPECT_EQ(NextFrame(peer), Frame(1, "after"));
}

// A zero byte is a character: a text holding one goes whole both ways, and
// the peer's is not sent back cut short.
TEST_F(TavrinApp, TextsHoldingAZeroByteTravelWhole) {
  PlainSocket peer = Peer();
  ASSERT_GE(peer.fd(), 0);
  const std::string local("local\0text", 10), remote("from\0the peer", 13);
  Copy(local);
  EXPECT_EQ(NextFrame(peer), Frame(1, local));
  const std::string frame = Frame(1, remote);
  ASSERT_TRUE(WriteAll(peer.fd(), frame.data(), frame.size()));
  EXPECT_TRUE(WaitFor([&] { return Clipboard() == remote; }, 20)) << Clipboard().size();
  EXPECT_EQ(ReadUpTo(peer.fd(), 1, 3000), "") << "the text came back";
}

// The windows the display shows: the application's, and its menu while one
// is open.
static std::set<std::string> ShownWindows() {
  std::istringstream ids(CommandOutput("xdotool search --onlyvisible --name '' 2>/dev/null"));
  std::set<std::string> shown;
  for (std::string id; ids >> id;)
    shown.insert(id);
  return shown;
}

// Opens the File menu with Alt+F, then presses the key in it; each key again
// until its effect shows (the menu opened; the menu closed).
static bool InFileMenu(const std::string &window, const std::string &key) {
  const std::set<std::string> before = ShownWindows();
  std::set<std::string> menu;
  for (int attempt = 0; attempt < 4 && menu.empty(); ++attempt) {
    std::system(("xdotool windowfocus --sync " + window + " key alt+f").c_str());
    WaitFor(
        [&] {
          for (const std::string &id : ShownWindows())
            if (!before.count(id))
              menu.insert(id);
          return !menu.empty();
        },
        10);
  }
  auto closed = [&] {
    const std::set<std::string> shown = ShownWindows();
    for (const std::string &id : menu)
      if (shown.count(id))
        return false;
    return true;
  };
  for (int attempt = 0; attempt < 4 && !menu.empty(); ++attempt) {
    std::system(("xdotool key " + key).c_str());
    if (WaitFor(closed, 10))
      return true;
  }
  return false;
}

// About is the File menu's first item.
TEST_F(TavrinApp, AboutChosenTwiceShowsOneAboutWindow) {
  const std::string window = MainWindow();
  auto aboutWindows = [] {
    const std::string found = CommandOutput("xdotool search --onlyvisible --name '^About$'");
    return std::count(found.begin(), found.end(), '\n');
  };
  ASSERT_TRUE(InFileMenu(window, "Return"));
  ASSERT_TRUE(WaitFor([&] { return aboutWindows() > 0; }, 20));
  ASSERT_TRUE(InFileMenu(window, "Return"));
  // The menu opened once more shows that the application went on past the
  // second choice, and showed any window that choice made.
  ASSERT_TRUE(InFileMenu(window, "Escape"));
  EXPECT_EQ(aboutWindows(), 1);
}

// A key press lost on a loaded machine (xdotool may fail to reach the
// display, or the window may not have the focus yet) is pressed again while
// the copy still runs. The window is looked up again before each press, and
// what xdotool said is kept for the failure message.
TEST_F(TavrinApp, CtrlQEndsTheApplicationWithStatusZero) {
  int status = -1;
  bool ended = false;
  std::string said;
  for (int attempt = 0; attempt < 12 && !ended; ++attempt) {
    const std::string window = MainWindow();
    said = "window " + window + ": " +
           CommandOutput("xdotool windowfocus --sync " + window + " key ctrl+q 2>&1");
    ended = WaitFor([&] { return waitpid(mApp, &status, WNOHANG) == mApp; }, 5);
  }
  ASSERT_TRUE(ended) << "Ctrl+Q pressed 12 times did not end the copy; last press: " << said << "\n"
                     << CommandOutput("xdotool getwindowfocus 2>&1") << "\n"
                     << CommandOutput("xwininfo -root -tree 2>&1 | head -40") << "\n"
                     << CommandOutput("cat /proc/" + std::to_string(mApp) + "/status | head -3") << "\n"
                     << CommandOutput("cat /proc/" + std::to_string(mApp) + "/wchan 2>&1");
  mApp = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// The height of the window's menu bar: what its X window has above the
// 163 pixels of content.
static int MenuBarHeight(const std::string &window) {
  std::string geometry = CommandOutput("xdotool getwindowgeometry " + window);
  size_t x = geometry.find('x', geometry.find("Geometry:"));
  return x == std::string::npos ? 0 : std::atoi(geometry.c_str() + x + 1) - 163;
}

// Clicks Connect on the main window (content 258, 46) and answers the
// dialog.
// The click is repeated until the dialog shows: one click can be lost on a
// loaded machine.
static void Dial(const std::string &window, const std::string &address, const std::string &key) {
  auto dialog = [] {
    std::string id = CommandOutput("xdotool search --name '^Connect To\\.\\.\\.$' 2>/dev/null");
    return id.substr(0, id.find('\n'));
  };
  std::string shown;
  for (int attempt = 0; attempt < 6 && shown.empty(); ++attempt) {
    std::system(("xdotool windowfocus --sync " + window + " mousemove --window " + window +
                 " 258 " + std::to_string(46 + MenuBarHeight(window)) + " click 1")
                    .c_str());
    WaitFor([&] { return !(shown = dialog()).empty(); }, 10);
  }
  ASSERT_FALSE(shown.empty()) << "no connect dialog";
  if (!address.empty())
    std::system(("xdotool windowfocus --sync " + shown + " type --delay 50 " + address).c_str());
  // The key again while the dialog still shows.
  bool answered = false;
  for (int attempt = 0; attempt < 4 && !answered; ++attempt) {
    std::system(("xdotool windowfocus --sync " + shown + " key " + key + " 2>/dev/null").c_str());
    answered = WaitFor([&] { return dialog().empty(); }, 10);
  }
  ASSERT_TRUE(answered) << "the connect dialog stayed";
}

TEST_F(TavrinApp, CancelInTheConnectDialogKeepsListening) {
  ASSERT_NO_FATAL_FAILURE(Dial(MainWindow(), "", "Escape"));
  EXPECT_TRUE(WaitFor([] { return CommandOutput("xdotool search --name '^Connect To'").empty(); }, 20));
  EXPECT_TRUE(Listening());
  PlainSocket peer = Peer();
  EXPECT_GE(peer.fd(), 0);
}

// Dialling closes the listener first, so the application's own address has
// nobody listening: the refusal brings it back to listening.
TEST_F(TavrinApp, DiallingWhereNobodyListensReturnsToListening) {
  ASSERT_NO_FATAL_FAILURE(Dial(MainWindow(), "127.0.0.1", "Return"));
  EXPECT_TRUE(WaitFor([] { return Listening(); }, 60));
  EXPECT_GE(ConnectWithin(60).fd(), 0);
}

// Typing the address with a slow owner on the clipboard: each key's release
// asked the clipboard whether Paste had text, a nested main loop that took
// the next keys meanwhile, Return among them, which closed the dialog; back
// from the loop, the release went on in the field the close had deleted, and
// the copy died.
TEST_F(TavrinApp, DiallingWhileASlowOwnerHoldsTheClipboardKeepsTheCopyRunning) {
  int tell[2];
  ASSERT_EQ(pipe(tell), 0);
  mOwner = fork();
  if (mOwner == 0)
    RunSlowClipboardOwner("held by a slow owner", tell[1]);
  close(tell[1]);
  char owned = 0;
  ASSERT_EQ(read(tell[0], &owned, 1), 1);
  ASSERT_NO_FATAL_FAILURE(Dial(MainWindow(), "127.0.0.1", "Return"));
  EXPECT_TRUE(WaitFor([] { return Listening(); }, 60));
  EXPECT_GE(ConnectWithin(60).fd(), 0);
  EXPECT_EQ(waitpid(mApp, nullptr, WNOHANG), 0) << "the copy ended";
  close(tell[0]);
}

} // namespace
