// The Serial and SerialPort classes of the language: their objects, the
// list of every Serial object, and the entry points compiled code calls.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/RuntimeObject.h"
#include "runtime/objects/ObjectDefinition.h"

struct termios;

struct SerialObject {
  RuntimeObject header;
  int16_t bits;   // 0 → 5, 1 → 6, 2 → 7, other → 8 data bits
  int16_t stop;   // 0 one, 1 one and a half, 2 two stop bits
  int16_t parity; // 0 none, 1 odd, 2 even
  int16_t port;   // n of the default device name, without a SerialPort
  int32_t baud;   // a rate constant (0 to 15), or the rate itself above 49
  bool dtrLine;
  bool rtsLine;
  bool dtr; // flow control by DTR: no termios flag exists, so no effect
  bool cts;
  bool xon;
  bool open;
  bool leaveDTROnClose;
  RuntimeObject *serialPort; // a SerialPort, or nil
  int32_t lastErrorCode;
  int32_t descriptor;
  struct termios *savedSettings; // owned
  bool dataPending;
  stringStorage *output;
  stringStorage *input;
  SerialObject *next; // the global list, newest first
  bool sendingBreak;
  bool hungUp; // the device hung up: reported once, nothing more is written
};
static_assert(sizeof(SerialObject) == 80);
static_assert(offsetof(SerialObject, baud) == 32);
static_assert(offsetof(SerialObject, dtrLine) == 36);
static_assert(offsetof(SerialObject, leaveDTROnClose) == 42);
static_assert(offsetof(SerialObject, serialPort) == 44);
static_assert(offsetof(SerialObject, lastErrorCode) == 48);
static_assert(offsetof(SerialObject, savedSettings) == 56);
static_assert(offsetof(SerialObject, output) == 64);
static_assert(offsetof(SerialObject, next) == 72);
static_assert(offsetof(SerialObject, sendingBreak) == 76);
static_assert(offsetof(SerialObject, hungUp) == 77);

struct SerialPortObject {
  RuntimeObject header;
  stringStorage *name;
  stringStorage *inputDriverName;
  stringStorage *outputDriverName;
  int32_t ratedSpeed;
  int32_t maximumSpeed;
};
static_assert(sizeof(SerialPortObject) == 44);
static_assert(offsetof(SerialPortObject, inputDriverName) == 28);
static_assert(offsetof(SerialPortObject, maximumSpeed) == 40);

ObjectDefinition *SerialControlClass();
ObjectDefinition *SerialPortClass();
enum SerialEvent { kSerialDataAvailableEvent, kSerialErrorEvent };
extern ObjectHookTemplate SerialHooks[2];

// The newest Serial object; the others follow through next.
extern SerialObject *gSerialList;
// The device names are this prefix followed by the number ("/dev/ttyS").
void SetSerialDevicePrefix(const char *prefix);
const char *SerialDevicePrefix();

// Constructor and destructor hooks of the Serial class.
void SerialConstructor(RuntimeObject *object);
void SerialDestructor(RuntimeObject *object);
void SerialPortDestructor(RuntimeObject *object);
void FireSerialError(RuntimeObject *object);
// Closes every open port, giving devices their saved settings back.
void SerialShutdown();
void RunFireSerial();

extern "C" {
int32_t serialOpen(RuntimeObject *object);
void serialClose(RuntimeObject *object);
void serialWrite(RuntimeObject *object, stringStorage *text);
stringStorage *serialRead(RuntimeObject *object, int32_t byteCount, RuntimeObject *encoding);
stringStorage *serialReadAll(RuntimeObject *object, RuntimeObject *encoding);
stringStorage *serialLookahead(RuntimeObject *object, RuntimeObject *encoding);
void serialXmitWait(RuntimeObject *object);
void serialFlush(RuntimeObject *object);
void serialTick(RuntimeObject *object);
void serialReset(RuntimeObject *object);
void serialLeaveDTROnClose(RuntimeObject *object);
void serialSetBreak(RuntimeObject *object);
void serialClearBreak(RuntimeObject *object);
int32_t SerialEof(RuntimeObject *object);
int32_t SerialError(RuntimeObject *object);
int32_t LineStateGetter(RuntimeObject *object, int32_t line);
void LineStateSetter(RuntimeObject *object, int32_t line, int32_t value);
int32_t GetWin32DriverHandle(RuntimeObject *object);
int32_t GetMacInputDriverRef(RuntimeObject *object);
int32_t GetMacOutputDriverRef(RuntimeObject *object);
int32_t GetPosixDescriptor(RuntimeObject *object);
int32_t getSerialPortCount();
RuntimeObject *getSerialPort(int32_t ignored, int32_t n);
}
