// The Serial entry points on termios: opening and configuring devices,
// buffering output and input, and the once-per-step tick of every port.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "net/SerialCompatPosix.h"
#include "net/SerialObjects.h"
#include "net/SocketEntryPoints.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/loop/BackgroundTask.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"

SerialObject *gSerialList = nullptr;

namespace {

std::string sDevicePrefix = "/dev/ttyS";

// While a port is open, a 1-tick timeout wakes the run loop's blocking step
// so that the ports are ticked even when nothing else happens.
class SerialWakeTask : public BackgroundTask {
public:
  SerialWakeTask() : BackgroundTask(1) {}
  void PerformTask() override {}
};
SerialWakeTask *sWakeTask = nullptr;
int sOpenPorts = 0;

void PortOpened() {
  if (sOpenPorts++ == 0 && !sWakeTask)
    sWakeTask = new SerialWakeTask;
}

void PortClosed() {
  if (--sOpenPorts == 0) {
    delete sWakeTask;
    sWakeTask = nullptr;
  }
}

SerialObject *Fields(RuntimeObject *object) { return reinterpret_cast<SerialObject *>(object); }

string TextOf(stringStorage *field) { return string::Borrow(field); }

void Store(stringStorage *&field, const string &text) {
  stringStorage *storage = text.ExtractStringStorage();
  RuntimeUnlockString(field);
  field = storage;
}

void FireEvent(RuntimeObject *object, SerialEvent event) {
  if (auto handler = reinterpret_cast<void (*)(RuntimeObject *)>(
          FindObjectCode(object, SerialHooks[event].hook)))
    handler(object);
}

void Fail(RuntimeObject *object, int number) {
  Fields(object)->lastErrorCode = number;
  FireSerialError(object);
}

// A device that went away (a modem or a pseudo-terminal's other end hung
// up) answers every later call the same way.
bool IsHangUp(int number) { return number == EIO || number == ENXIO || number == ENODEV; }

// The hang-up is reported once; what waits for output is dropped, since it
// can no longer go anywhere, and the port reads as at its end.
void HangUp(RuntimeObject *object, int number) {
  SerialObject *fields = Fields(object);
  if (fields->hungUp)
    return;
  fields->hungUp = true;
  Store(fields->output, string());
  Fail(object, number);
}

// A failed read or write: a passing condition is quiet, a hang-up is
// reported once, anything else fires Error.
void ReportFailure(RuntimeObject *object, int number) {
  if (number == EAGAIN || number == EWOULDBLOCK || number == EINTR)
    return;
  if (IsHangUp(number))
    HangUp(object, number);
  else
    Fail(object, number);
}

// One write of the output buffer; drops what the device took. A device that
// takes nothing now keeps the buffer quietly; other failures keep it and
// fire Error. The number of bytes written, or -1.
ssize_t WriteOnce(RuntimeObject *object) {
  SerialObject *fields = Fields(object);
  string output = TextOf(fields->output);
  if (output.IsEmpty() || !fields->open || fields->hungUp)
    return 0;
  ssize_t written = gSerialCalls.write(fields->descriptor, output.CString(), size_t(output.Length()));
  if (written < 0) {
    ReportFailure(object, errno);
    return -1;
  }
  if (written > 0) {
    string rest;
    rest.ConstructFromBuffer(output.CString() + written, output.Length() - int(written));
    Store(fields->output, rest);
  }
  return written;
}

// The rate in bits per second a Baud value asks for; 0 keeps the speed.
int32_t RateOfBaud(int32_t baud) {
  static const int32_t kRates[] = {300,   600,   1200,  1800,  2400,  3600,  4800,   7200,
                                   9600,  14400, 19200, 28800, 38400, 57600, 115200, 230400};
  if (baud < 0)
    return 0;
  if (baud <= 15)
    return kRates[baud];
  if (baud <= 49)
    return 57600;
  return baud;
}

speed_t SpeedOfRate(int32_t rate) {
  switch (rate) {
  case 300: return B300;
  case 600: return B600;
  case 1200: return B1200;
  case 1800: return B1800;
  case 2400: return B2400;
  case 4800: return B4800;
  case 9600: return B9600;
  case 19200: return B19200;
  case 38400: return B38400;
  case 57600: return B57600;
  case 115200: return B115200;
  case 230400: return B230400;
  default: return B0; // no constant: the speed stays
  }
}

int32_t RateOfSpeed(speed_t speed) {
  static const int32_t kRates[] = {300, 600, 1200, 1800, 2400, 4800, 9600, 19200, 38400, 57600,
                                   115200, 230400};
  for (int32_t rate : kRates)
    if (SpeedOfRate(rate) == speed)
      return rate;
  return 0;
}

// Devices without modem lines (pseudo-terminals) answer these.
bool NoModemLines(int number) { return number == ENOTTY || number == EINVAL; }

std::string DeviceName(int32_t n) { return sDevicePrefix + std::to_string(n); }

bool DeviceExists(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

} // namespace

void SetSerialDevicePrefix(const char *prefix) { sDevicePrefix = prefix ? prefix : "/dev/ttyS"; }
const char *SerialDevicePrefix() { return sDevicePrefix.c_str(); }

void SerialConstructor(RuntimeObject *object) {
  SerialObject *fields = Fields(object);
  fields->bits = 3;
  fields->stop = 0;
  fields->parity = 0;
  fields->port = 0;
  fields->baud = 13;
  fields->dtrLine = false;
  fields->rtsLine = true;
  fields->dtr = fields->cts = fields->xon = false;
  fields->open = false;
  fields->leaveDTROnClose = false;
  fields->serialPort = nullptr;
  fields->lastErrorCode = 0;
  fields->descriptor = -1;
  fields->savedSettings = nullptr;
  fields->dataPending = false;
  fields->output = fields->input = nullptr;
  fields->sendingBreak = false;
  fields->hungUp = false;
  fields->next = gSerialList;
  gSerialList = fields;
}

void SerialDestructor(RuntimeObject *object) {
  SerialObject *fields = Fields(object);
  serialClose(object);
  RuntimeUnlockString(fields->output);
  RuntimeUnlockString(fields->input);
  fields->output = fields->input = nullptr;
  for (SerialObject **link = &gSerialList; *link; link = &(*link)->next)
    if (*link == fields) {
      *link = fields->next;
      break;
    }
  RuntimeObject *port = fields->serialPort;
  fields->serialPort = nullptr;
  RuntimeUnlockObject(port);
}

void SerialPortDestructor(RuntimeObject *object) {
  auto *fields = reinterpret_cast<SerialPortObject *>(object);
  RuntimeUnlockString(fields->name);
  RuntimeUnlockString(fields->inputDriverName);
  RuntimeUnlockString(fields->outputDriverName);
  fields->name = fields->inputDriverName = fields->outputDriverName = nullptr;
}

void FireSerialError(RuntimeObject *object) { FireEvent(object, kSerialErrorEvent); }

void RunFireSerial() {
  // A snapshot holding a reference on each: handlers may destroy any Serial
  // object, this one included, while the walk goes on.
  std::vector<RuntimeObject *> ports;
  for (SerialObject *entry = gSerialList; entry; entry = entry->next) {
    RuntimeLockObject(&entry->header);
    ports.push_back(&entry->header);
  }
  for (RuntimeObject *port : ports)
    serialTick(port);
  for (RuntimeObject *port : ports)
    RuntimeUnlockObject(port);
}

void SerialShutdown() {
  for (SerialObject *entry = gSerialList; entry; entry = entry->next)
    serialClose(&entry->header);
}

int32_t serialOpen(RuntimeObject *object) {
  if (!CheckedObject(object) || !SetupSerialCompat())
    return 0;
  SerialObject *fields = Fields(object);
  if (fields->open)
    return 1;
  std::string path;
  if (fields->serialPort)
    path = stringStorage::CString(
        reinterpret_cast<SerialPortObject *>(fields->serialPort)->inputDriverName);
  else
    path = DeviceName(fields->port);
  int descriptor = gSerialCalls.open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    Fail(object, errno);
    return 0;
  }
  fields->descriptor = descriptor;
  fields->open = true;
  fields->hungUp = false;
  PortOpened();
  int flags = gSerialCalls.fcntl(descriptor, F_GETFL, 0);
  if (flags >= 0)
    gSerialCalls.fcntl(descriptor, F_SETFL, flags | O_NONBLOCK);
  if (!fields->savedSettings)
    fields->savedSettings = static_cast<termios *>(std::calloc(1, sizeof(termios)));
  if (fields->savedSettings)
    gSerialCalls.tcgetattr(descriptor, fields->savedSettings);
  serialReset(object);
  return fields->open ? 1 : 0;
}

void serialReset(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  SerialObject *fields = Fields(object);
  if (!fields->open || !fields->savedSettings)
    return;
  termios settings = *fields->savedSettings;
  settings.c_cflag |= CREAD | CLOCAL;
  if (fields->leaveDTROnClose) {
    settings.c_cflag &= ~tcflag_t(HUPCL);
    fields->savedSettings->c_cflag &= ~tcflag_t(HUPCL);
  } else {
    settings.c_cflag |= HUPCL;
    fields->savedSettings->c_cflag |= HUPCL;
  }
  const int dataBits = fields->bits == 0 ? 5 : fields->bits == 1 ? 6 : fields->bits == 2 ? 7 : 8;
  if ((dataBits == 5 && fields->stop == 2) || (dataBits != 5 && fields->stop == 1)) {
    RaiseExceptionClassWMessage(
        UnsupportedFormatExceptionClass(),
        string(("Illegal combination of properties.  You cannot have " + std::to_string(dataBits) +
                " bits with " + (fields->stop == 2 ? "2" : "1.5") + " stop bits.")
                   .c_str()),
        0);
    return;
  }
  settings.c_cflag &= ~tcflag_t(CSIZE);
  settings.c_cflag |= dataBits == 5 ? CS5 : dataBits == 6 ? CS6 : dataBits == 7 ? CS7 : CS8;
  if (fields->stop == 2)
    settings.c_cflag |= CSTOPB;
  else
    settings.c_cflag &= ~tcflag_t(CSTOPB);
  if (fields->parity == 0) {
    settings.c_cflag &= ~tcflag_t(PARENB);
  } else {
    settings.c_cflag |= PARENB;
    if (fields->parity == 1)
      settings.c_cflag |= PARODD;
    else
      settings.c_cflag &= ~tcflag_t(PARODD);
    settings.c_iflag |= INPCK | ISTRIP;
  }
  settings.c_lflag &= ~tcflag_t(ISIG | ICANON | ECHO | ECHOE);
  settings.c_oflag &= ~tcflag_t(OPOST);
  if (fields->xon) {
    settings.c_iflag |= IXON | IXOFF;
    settings.c_cflag &= ~tcflag_t(CRTSCTS);
  } else if (fields->cts) {
    settings.c_iflag &= ~tcflag_t(IXON | IXOFF);
    settings.c_cflag |= CRTSCTS;
  } else {
    settings.c_iflag &= ~tcflag_t(IXON | IXOFF);
    settings.c_cflag &= ~tcflag_t(CRTSCTS);
  }
  settings.c_cc[VSTART] = 0x11;
  settings.c_cc[VSTOP] = 0x13;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  // A negative Baud or a rate without a speed constant keeps the speed.
  speed_t speed = SpeedOfRate(RateOfBaud(fields->baud));
  if (speed != B0) {
    gSerialCalls.cfsetispeed(&settings, speed);
    gSerialCalls.cfsetospeed(&settings, speed);
  }
  if (gSerialCalls.tcsetattr(fields->descriptor, TCSANOW, &settings) != 0) {
    Fail(object, errno);
    return;
  }
  int lines = 0;
  if (gSerialCalls.ioctl(fields->descriptor, TIOCMGET, &lines) != 0) {
    if (!NoModemLines(errno))
      Fail(object, errno);
  } else {
    lines = fields->dtrLine ? (lines | TIOCM_DTR) : (lines & ~TIOCM_DTR);
    lines = fields->rtsLine ? (lines | TIOCM_RTS) : (lines & ~TIOCM_RTS);
    if (gSerialCalls.ioctl(fields->descriptor, TIOCMSET, &lines) != 0 && !NoModemLines(errno))
      Fail(object, errno);
  }
  if (!fields->open)
    return; // an Error handler closed it
  termios applied;
  if (gSerialCalls.tcgetattr(fields->descriptor, &applied) == 0)
    if (int32_t rate = RateOfSpeed(gSerialCalls.cfgetispeed(&applied)))
      fields->baud = rate;
}

void serialLeaveDTROnClose(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  Fields(object)->leaveDTROnClose = true;
  serialReset(object);
}

void serialClose(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  SerialObject *fields = Fields(object);
  if (fields->open) {
    if (fields->savedSettings)
      gSerialCalls.tcsetattr(fields->descriptor, TCSANOW, fields->savedSettings);
    std::free(fields->savedSettings);
    fields->savedSettings = nullptr;
    gSerialCalls.close(fields->descriptor);
    fields->descriptor = -1;
    fields->open = false;
    fields->hungUp = false;
    PortClosed();
  }
  RuntimeUnlockString(fields->input);
  fields->input = nullptr;
}

void serialWrite(RuntimeObject *object, stringStorage *text) {
  if (!CheckedObject(object, "Have no serial control, so cannot write") || !text)
    return;
  SerialObject *fields = Fields(object);
  if (!fields->open && !serialOpen(object))
    return; // nothing is buffered for a device that cannot be opened
  string output = TextOf(fields->output);
  output += string::Borrow(text);
  Store(fields->output, output);
  WriteOnce(object);
}

void serialTick(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  // Handlers may drop the program's reference; the object lasts the tick.
  RuntimeLockObject(object);
  SerialObject *fields = Fields(object);
  if (fields->open) {
    WriteOnce(object);
    int waiting = 0;
    if (fields->open && gSerialCalls.ioctl(fields->descriptor, FIONREAD, &waiting) == 0 &&
        waiting > 0) {
      string bytes;
      bytes.AllocateBuffer(waiting);
      ssize_t got = gSerialCalls.read(fields->descriptor, bytes.MutableChar(0), size_t(waiting));
      if (got < 0) {
        ReportFailure(object, errno);
      } else if (got > 0) {
        string input = TextOf(fields->input);
        string taken;
        taken.ConstructFromBuffer(bytes.CString(), int(got));
        input += taken;
        Store(fields->input, input);
        fields->dataPending = true;
      }
    }
    if (fields->dataPending) {
      fields->dataPending = false;
      FireEvent(object, kSerialDataAvailableEvent);
    }
  }
  RuntimeUnlockObject(object);
}

stringStorage *serialRead(RuntimeObject *object, int32_t byteCount, RuntimeObject *encoding) {
  if (!CheckedObject(object))
    return nullptr;
  serialTick(object);
  SerialObject *fields = Fields(object);
  string input = TextOf(fields->input);
  int32_t count = byteCount < 0 ? 0 : byteCount > input.Length() ? input.Length() : byteCount;
  string taken, rest;
  taken.ConstructFromBuffer(input.CString(), count);
  rest.ConstructFromBuffer(input.CString() + count, input.Length() - count);
  if (count == 0)
    taken = string();
  Store(fields->input, rest.Length() ? rest : string());
  return TaggedSocketText(taken, encoding);
}

stringStorage *serialReadAll(RuntimeObject *object, RuntimeObject *encoding) {
  if (!CheckedObject(object))
    return nullptr;
  serialTick(object);
  SerialObject *fields = Fields(object);
  string input = TextOf(fields->input);
  Store(fields->input, string());
  fields->dataPending = false;
  return TaggedSocketText(input, encoding);
}

stringStorage *serialLookahead(RuntimeObject *object, RuntimeObject *encoding) {
  if (!CheckedObject(object))
    return nullptr;
  return TaggedSocketText(TextOf(Fields(object)->input), encoding);
}

void serialXmitWait(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  SerialObject *fields = Fields(object);
  while (fields->open && !TextOf(fields->output).IsEmpty()) {
    if (WriteOnce(object) <= 0)
      break;
    if (gSerialCalls.tcdrain(fields->descriptor) != 0) {
      Fail(object, errno);
      break;
    }
  }
}

void serialFlush(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  serialTick(object);
  SerialObject *fields = Fields(object);
  Store(fields->input, string());
  Store(fields->output, string());
}

void serialSetBreak(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  SerialObject *fields = Fields(object);
  // The line stays in break until ClearBreak; nothing blocks meanwhile.
  if (fields->open && !fields->sendingBreak &&
      gSerialCalls.ioctl(fields->descriptor, TIOCSBRK) != 0)
    Fail(object, errno);
  fields->sendingBreak = true;
}

void serialClearBreak(RuntimeObject *object) {
  if (!CheckedObject(object))
    return;
  SerialObject *fields = Fields(object);
  if (fields->open && fields->sendingBreak &&
      gSerialCalls.ioctl(fields->descriptor, TIOCCBRK) != 0)
    Fail(object, errno);
  fields->sendingBreak = false;
}

int32_t SerialEof(RuntimeObject *object) {
  if (!CheckedObject(object))
    return 0;
  SerialObject *fields = Fields(object);
  return (!fields->open || fields->hungUp) && TextOf(fields->output).IsEmpty() ? 1 : 0;
}

int32_t SerialError(RuntimeObject *object) {
  if (!CheckedObject(object))
    return 0;
  return Fields(object)->lastErrorCode != 0 ? 1 : 0;
}

int32_t LineStateGetter(RuntimeObject *object, int32_t line) {
  static const int kBits[] = {TIOCM_DTR, TIOCM_RTS, TIOCM_CTS, TIOCM_CAR, TIOCM_RNG, TIOCM_DSR};
  if (!CheckedObject(object) || line < 0 || line > 5 || !Fields(object)->open)
    return 0;
  int lines = 0;
  if (gSerialCalls.ioctl(Fields(object)->descriptor, TIOCMGET, &lines) != 0)
    return 0; // no modem lines
  return (lines & kBits[line]) ? 1 : 0;
}

void LineStateSetter(RuntimeObject *object, int32_t line, int32_t value) {
  if (!CheckedObject(object))
    return;
  if (line == 0)
    Fields(object)->dtrLine = value != 0;
  else if (line == 1)
    Fields(object)->rtsLine = value != 0;
}

// No platform handles are exposed; each answers 0.
int32_t GetWin32DriverHandle(RuntimeObject *object) {
  CheckedObject(object);
  return 0;
}
int32_t GetMacInputDriverRef(RuntimeObject *object) { return GetWin32DriverHandle(object); }
int32_t GetMacOutputDriverRef(RuntimeObject *object) { return GetWin32DriverHandle(object); }
int32_t GetPosixDescriptor(RuntimeObject *object) { return GetWin32DriverHandle(object); }

int32_t getSerialPortCount() {
  if (!SetupSerialCompat())
    return 0;
  int32_t count = 0;
  while (DeviceExists(DeviceName(count)))
    ++count;
  return count;
}

RuntimeObject *getSerialPort(int32_t, int32_t n) {
  if (!SetupSerialCompat() || n < 0 || n >= getSerialPortCount())
    return nullptr;
  RuntimeObject *object = RuntimeNewObject(LookupObjectDefinition(SerialPortClass()));
  if (!object)
    return nullptr;
  auto *fields = reinterpret_cast<SerialPortObject *>(object);
  string name(DeviceName(n).c_str());
  fields->inputDriverName = name.ExtractStringStorage();
  fields->outputDriverName = name.ExtractStringStorage();
  fields->ratedSpeed = 115200;
  fields->maximumSpeed = 230400;
  return object;
}
