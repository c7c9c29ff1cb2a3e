// The Serial class on pseudo-terminals: the master end is the peer, and a
// SerialPort whose InputDriverName is the slave's path is the device.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "net/SerialCompatPosix.h"
#include "net/SerialObjects.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/loop/RunLoop.h"
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
  gEvents[self].push_back("error " +
                          std::to_string(intGetter(self, offsetof(SerialObject, lastErrorCode))));
}

RuntimeClass *SerialSubclass() {
  static RuntimeClass *cls = nullptr;
  if (!cls) {
    RuntimeClass *base = LookupObjectDefinition(SerialControlClass());
    cls = RuntimeNewClass(base, base->methodCount, base->interfaceCount, base->eventCount,
                          base->staticMethodCount, base->propertyCount);
    cls->instanceSize = sizeof(SerialObject);
    cls->events[SerialHooks[kSerialDataAvailableEvent].hook->eventIndex].vector =
        reinterpret_cast<void *>(OnDataAvailable);
    cls->events[SerialHooks[kSerialErrorEvent].hook->eventIndex].vector =
        reinterpret_cast<void *>(OnError);
  }
  return cls;
}

std::string Text(stringStorage *storage) {
  std::string text(stringStorage::CString(storage), size_t(stringStorage::Length(storage)));
  RuntimeUnlockString(storage);
  return text;
}

void Write(RuntimeObject *object, const std::string &bytes) {
  string text;
  text.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  serialWrite(object, text.Storage());
}

// Everything the master end can read now.
std::string DrainMaster(int master) {
  std::string got;
  char buffer[4096];
  pollfd entry{master, POLLIN, 0};
  while (poll(&entry, 1, 20) > 0 && (entry.revents & POLLIN)) {
    ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0)
      break;
    got.append(buffer, size_t(n));
  }
  return got;
}

int DescriptorOf(RuntimeObject *serial) {
  return reinterpret_cast<SerialObject *>(serial)->descriptor;
}

// Waits, within a bound, for the device end to have bytes to read.
bool WaitForInput(RuntimeObject *serial) {
  pollfd entry{DescriptorOf(serial), POLLIN, 0};
  return poll(&entry, 1, 20000) > 0;
}

// Ticks the ports until done answers true, at most maxTicks times, waiting
// for the device between ticks; answers done().
bool TickUntil(RuntimeObject *serial, const std::function<bool()> &done, int maxTicks = 200) {
  for (int tick = 0; tick < maxTicks && !done(); ++tick) {
    WaitForInput(serial);
    RunFireSerial();
  }
  return done();
}

// Counts the writes that reach the device.
int gWrites = 0;
ssize_t CountWrite(int fd, const void *bytes, size_t count) {
  ++gWrites;
  return ::write(fd, bytes, count);
}

// Counts the break calls that reach the device.
int gSetBreaks = 0, gClearBreaks = 0, gSendBreaks = 0;
int RecordIoctl(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void *argument = va_arg(args, void *);
  va_end(args);
  if (request == TIOCSBRK)
    ++gSetBreaks;
  if (request == TIOCCBRK)
    ++gClearBreaks;
  return ::ioctl(fd, request, argument);
}
// The settings last handed to the device: pseudo-terminals keep 8 data bits
// without parity whatever they are asked.
termios gAsked;
int RecordSetAttributes(int fd, int when, const termios *settings) {
  gAsked = *settings;
  return ::tcsetattr(fd, when, settings);
}
int RecordSendBreak(int fd, int duration) {
  ++gSendBreaks;
  return ::tcsendbreak(fd, duration);
}

class SerialTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(SetupSerialCompat());
    gEvents.clear();
    gOnData = nullptr;
    mMaster = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(mMaster, 0);
    ASSERT_EQ(grantpt(mMaster), 0);
    ASSERT_EQ(unlockpt(mMaster), 0);
    mSlavePath = ptsname(mMaster);
    fcntl(mMaster, F_SETFL, fcntl(mMaster, F_GETFL) | O_NONBLOCK);
  }
  void TearDown() override {
    gOnData = nullptr;
    for (RuntimeObject *object : mObjects)
      RuntimeUnlockObject(object);
    EXPECT_EQ(gSerialList, nullptr);
    if (mMaster >= 0)
      close(mMaster);
  }

  // A Serial object whose SerialPort names the path (the slave by default).
  RuntimeObject *NewSerial(const std::string &path = "") {
    RuntimeObject *object = RuntimeNewObject(SerialSubclass());
    mObjects.push_back(object);
    RuntimeObject *port = RuntimeNewObject(LookupObjectDefinition(SerialPortClass()));
    string name((path.empty() ? mSlavePath : path).c_str());
    reinterpret_cast<SerialPortObject *>(port)->inputDriverName = name.ExtractStringStorage();
    objSetter(object, offsetof(SerialObject, serialPort), port);
    RuntimeUnlockObject(port);
    return object;
  }
  termios MasterSettings() {
    termios settings{};
    tcgetattr(mMaster, &settings);
    return settings;
  }

  int mMaster = -1;
  std::string mSlavePath;
  std::vector<RuntimeObject *> mObjects;
};

TEST_F(SerialTest, OpeningAppliesTheSettingsToTheDevice) {
  struct Case {
    int16_t bits, stop, parity;
    bool xon, cts;
    int32_t baud;
    tcflag_t size;
    speed_t speed;
  } cases[] = {
      {3, 0, 0, false, false, 13, CS8, B57600}, // the defaults
      {2, 2, 1, false, true, 9600, CS7, B9600},
      {0, 0, 2, true, false, 8, CS5, B9600},
      {1, 0, 0, false, false, -1, CS6, B19200}, // a negative Baud keeps the speed
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + "/" + std::to_string(c.baud));
    termios before = MasterSettings();
    cfsetispeed(&before, B19200);
    cfsetospeed(&before, B19200);
    tcsetattr(mMaster, TCSANOW, &before);
    RuntimeObject *serial = NewSerial();
    if (c.bits != 3 || c.baud != 13) {
      SerialObject *fields = reinterpret_cast<SerialObject *>(serial);
      fields->bits = c.bits;
      fields->stop = c.stop;
      fields->parity = c.parity;
      fields->xon = c.xon;
      fields->cts = c.cts;
      fields->baud = c.baud;
    }
    SerialCalls saved = gSerialCalls;
    gSerialCalls.tcsetattr = RecordSetAttributes;
    const bool opened = serialOpen(serial);
    gSerialCalls = saved;
    ASSERT_TRUE(opened);
    EXPECT_EQ(gAsked.c_cflag & CSIZE, c.size);
    EXPECT_EQ(bool(gAsked.c_cflag & PARENB), c.parity != 0);
    EXPECT_EQ(bool(gAsked.c_cflag & PARODD), c.parity == 1);
    termios applied = MasterSettings();
    EXPECT_EQ(bool(applied.c_cflag & CSTOPB), c.stop == 2);
    EXPECT_EQ(bool(applied.c_iflag & IXON), c.xon);
    EXPECT_EQ(bool(applied.c_cflag & CRTSCTS), c.cts && !c.xon);
    EXPECT_FALSE(applied.c_lflag & ICANON);
    EXPECT_EQ(cfgetispeed(&applied), c.speed);
    EXPECT_GT(intGetter(serial, offsetof(SerialObject, baud)), 49); // the rate as a number
    EXPECT_TRUE(gEvents[serial].empty());                           // no modem lines: no Error
    EXPECT_FALSE(LineStateGetter(serial, 2));
    serialClose(serial);
    EXPECT_TRUE(MasterSettings().c_lflag & ICANON); // the saved settings came back
  }
}

TEST_F(SerialTest, IllegalBitsAndStopRaiseAndApplyNothing) {
  RaiseRecorder recorder;
  UnsupportedFormatExceptionClass();
  RuntimeObject *serial = NewSerial();
  reinterpret_cast<SerialObject *>(serial)->stop = 1; // 8 bits with 1.5 stop bits
  serialOpen(serial);
  EXPECT_EQ(recorder.raised(), Names{"UnsupportedFormatException"});
  EXPECT_TRUE(MasterSettings().c_lflag & ICANON); // nothing was applied
}

TEST_F(SerialTest, BytesFromThePeerFireDataAvailableUntilAllAreRead) {
  RuntimeObject *serial = NewSerial();
  ASSERT_TRUE(serialOpen(serial));
  ASSERT_EQ(write(mMaster, "abc", 3), 3);
  ASSERT_TRUE(TickUntil(serial, [&] { return Text(serialLookahead(serial, nullptr)) == "abc"; }));
  ASSERT_FALSE(gEvents[serial].empty());
  for (const std::string &event : gEvents[serial])
    EXPECT_EQ(event, "data");
  const size_t events = gEvents[serial].size();
  RunFireSerial();
  EXPECT_EQ(gEvents[serial].size(), events); // nothing new, no event
  EXPECT_EQ(Text(serialRead(serial, 0, nullptr)), "");
  EXPECT_EQ(Text(serialReadAll(serial, nullptr)), "abc");
}

// Nothing but the open port (no socket, timer or thread) keeps the run
// loop's blocking step waking, so its bytes arrive through the loop's steps.
TEST_F(SerialTest, AnOpenPortAloneKeepsTheRunLoopWaking) {
  if (!gtk_init_check(nullptr, nullptr))
    GTEST_SKIP() << "the run loop's steps need a display";
  RuntimeObject *serial = NewSerial();
  ASSERT_TRUE(serialOpen(serial));
  ASSERT_EQ(write(mMaster, "woken", 5), 5);
  alarm(120); // a step that never wakes ends the test here
  for (int step = 0; step < 100000 && gEvents[serial].empty(); ++step)
    RunLoopStep();
  alarm(0);
  ASSERT_EQ(gEvents[serial], std::vector<std::string>{"data"});
  EXPECT_EQ(Text(serialReadAll(serial, nullptr)), "woken");
  serialClose(serial);
}

TEST_F(SerialTest, ReadingInsideDataAvailableNests) {
  RuntimeObject *serial = NewSerial();
  ASSERT_TRUE(serialOpen(serial));
  int depth = 0, deepest = 0;
  std::string read;
  gOnData = [&](RuntimeObject *self) {
    ++depth;
    deepest = std::max(deepest, depth);
    if (depth == 1) {
      EXPECT_EQ(write(mMaster, "more", 4), 4);
      EXPECT_TRUE(WaitForInput(self));
    }
    read += Text(serialRead(self, 1, nullptr));
    --depth;
  };
  ASSERT_EQ(write(mMaster, "x", 1), 1);
  ASSERT_TRUE(WaitForInput(serial));
  RunFireSerial();
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(read, "xm");
  EXPECT_EQ(Text(serialReadAll(serial, nullptr)), "ore");
}

TEST_F(SerialTest, OutputToALateReaderAllArrivesAndSurvivesClose) {
  RuntimeObject *serial = NewSerial();
  const std::string bytes = PatternBytes(100 * 1024);
  Write(serial, bytes); // opens the port
  ASSERT_TRUE(reinterpret_cast<SerialObject *>(serial)->open);
  for (int i = 0; i < 20; ++i)
    RunFireSerial(); // the peer does not read yet
  serialClose(serial);
  EXPECT_FALSE(SerialEof(serial)); // unsent output waits for the next Open
  std::string got = DrainMaster(mMaster);
  ASSERT_TRUE(serialOpen(serial));
  for (int step = 0; step < 20000 && got.size() < bytes.size(); ++step) {
    RunFireSerial();
    got += DrainMaster(mMaster);
  }
  EXPECT_TRUE(got == bytes) << got.size() << " of " << bytes.size() << " bytes arrived";
  EXPECT_TRUE(gEvents[serial].empty()); // a full device is no error
}

TEST_F(SerialTest, HandlersMayDestroySerialObjectsDuringTheTick) {
  RuntimeObject *older = RuntimeNewObject(SerialSubclass());
  RuntimeObject *newer = NewSerial();
  mObjects.pop_back(); // the handler releases it
  ASSERT_TRUE(serialOpen(newer));
  gOnData = [&](RuntimeObject *self) {
    gOnData = nullptr;
    RuntimeUnlockObject(older);
    RuntimeUnlockObject(self);
  };
  ASSERT_EQ(write(mMaster, "go", 2), 2);
  ASSERT_TRUE(WaitForInput(newer));
  RunFireSerial();
  EXPECT_EQ(gSerialList, nullptr);
}

TEST_F(SerialTest, BreaksAreOneCallEachAndTicksSendNone) {
  SerialCalls saved = gSerialCalls;
  gSerialCalls.ioctl = RecordIoctl;
  gSerialCalls.tcsendbreak = RecordSendBreak;
  gSetBreaks = gClearBreaks = gSendBreaks = 0;
  RuntimeObject *serial = NewSerial();
  ASSERT_TRUE(serialOpen(serial));
  serialSetBreak(serial);
  for (int i = 0; i < 5; ++i)
    RunFireSerial();
  serialClearBreak(serial);
  RunFireSerial();
  gSerialCalls = saved;
  EXPECT_EQ(gSetBreaks, 1);
  EXPECT_EQ(gClearBreaks, 1);
  EXPECT_EQ(gSendBreaks, 0);
}

TEST_F(SerialTest, DevicesAreCountedUntilTheFirstMissingOne) {
  char folder[] = "/tmp/serialportsXXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string prefix = std::string(folder) + "/ttyS";
  for (const char *n : {"0", "2"})
    close(open((prefix + n).c_str(), O_CREAT | O_WRONLY, 0600));
  SetSerialDevicePrefix(prefix.c_str());
  EXPECT_EQ(getSerialPortCount(), 1);
  EXPECT_EQ(getSerialPort(0, 1), nullptr);
  RuntimeObject *port = getSerialPort(0, 0);
  ASSERT_NE(port, nullptr);
  auto *fields = reinterpret_cast<SerialPortObject *>(port);
  EXPECT_EQ(std::string(stringStorage::CString(fields->inputDriverName)), prefix + "0");
  EXPECT_EQ(fields->ratedSpeed, 115200);
  RuntimeUnlockObject(port);
  SetSerialDevicePrefix(nullptr);
  std::system(("rm -rf " + std::string(folder)).c_str());
}

TEST_F(SerialTest, AMissingDeviceFiresErrorAndBuffersNothing) {
  RuntimeObject *serial = NewSerial("/nonexistent/serial/device");
  EXPECT_FALSE(serialOpen(serial));
  ASSERT_EQ(gEvents[serial].size(), 1u);
  EXPECT_EQ(gEvents[serial][0], "error " + std::to_string(ENOENT));
  Write(serial, "lost");
  EXPECT_TRUE(SerialEof(serial)); // closed, and no output waits
  EXPECT_EQ(gEvents[serial].size(), 2u);
}

// The other end hangs up while output waits: one Error, the port reads as
// at its end, and nothing more is written however often it is ticked.
TEST_F(SerialTest, AHangUpIsReportedOnceAndEndsTheOutput) {
  SerialCalls saved = gSerialCalls;
  gSerialCalls.write = CountWrite;
  RuntimeObject *serial = NewSerial();
  Write(serial, PatternBytes(256 * 1024)); // more than the device takes
  ASSERT_TRUE(reinterpret_cast<SerialObject *>(serial)->open);
  close(mMaster);
  mMaster = -1;
  TickUntil(serial, [&] { return !gEvents[serial].empty(); });
  gWrites = 0;
  for (int i = 0; i < 50; ++i)
    RunFireSerial();
  const int writesAfter = gWrites;
  gSerialCalls = saved;
  ASSERT_EQ(gEvents[serial].size(), 1u);
  EXPECT_EQ(gEvents[serial][0], "error " + std::to_string(EIO));
  EXPECT_EQ(writesAfter, 0);
  EXPECT_TRUE(SerialEof(serial));
  serialClose(serial);
}

TEST_F(SerialTest, TheDeviceIsOpenedCloseOnExec) {
  RuntimeObject *serial = NewSerial();
  ASSERT_TRUE(serialOpen(serial));
  EXPECT_TRUE(fcntl(DescriptorOf(serial), F_GETFD) & FD_CLOEXEC);
  serialClose(serial);
}

TEST_F(SerialTest, EntryPointsGivenNilAlertAndAnswerNothing) {
  AlertRecorder alerts;
  EXPECT_EQ(serialOpen(nullptr), 0);
  EXPECT_EQ(SerialEof(nullptr), 0);
  EXPECT_EQ(serialReadAll(nullptr, nullptr), nullptr);
  serialTick(nullptr);
  EXPECT_EQ(alerts.count(), 4u);
}

} // namespace
