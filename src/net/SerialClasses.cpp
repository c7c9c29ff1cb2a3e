// The class descriptions of Serial and SerialPort.
#include <iterator>

#include "language/TextEncodingClasses.h"
#include "net/SerialObjects.h"
#include "net/SocketClasses.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

#define FIELD(name, kind, getter, setter, field)                                                   \
  {                                                                                                \
    0, name, &kind.type, EntryCode(getter), #getter, EntryCode(setter), #setter,                   \
        offsetof(SerialObject, field), 0                                                           \
  }
#define LINE(name, setter, line)                                                                   \
  {                                                                                                \
    0, name, &booleanType.type, EntryCode(LineStateGetter), "LineStateGetter", setter,             \
        setter ? "LineStateSetter" : nullptr, line, 0                                              \
  }
#define READ_ONLY(name, getter)                                                                    \
  { 0, name, &integerType.type, EntryCode(getter), #getter, nullptr, nullptr, 0, 0 }

// clang-format off
ObjectInstanceTemplate SerialInstances[] = {
    FIELD("Baud", integerType, intGetter, intSetter, baud),
    FIELD("Bits", integerType, shortGetter, shortSetter, bits),
    FIELD("Stop", integerType, shortGetter, shortSetter, stop),
    FIELD("Parity", integerType, shortGetter, shortSetter, parity),
    FIELD("Port", integerType, shortGetter, shortSetter, port),
    FIELD("XON", booleanType, boolGetter, boolSetter, xon),
    FIELD("DTR", booleanType, boolGetter, boolSetter, dtr),
    FIELD("CTS", booleanType, boolGetter, boolSetter, cts),
    LINE("DataTerminalReady", EntryCode(LineStateSetter), 0),
    LINE("RequestToSend", EntryCode(LineStateSetter), 1),
    LINE("ClearToSend", nullptr, 2),
    LINE("DataSetReady", nullptr, 5),
    LINE("DataCarrierDetect", nullptr, 3),
    LINE("RingIndicator", nullptr, 4),
    {0, "SerialPort", nullptr, EntryCode(objGetter), "objGetter", EntryCode(objSetter), "objSetter",
     offsetof(SerialObject, serialPort), 0},
    READ_ONLY("Win32DriverHandle", GetWin32DriverHandle),
    READ_ONLY("MacInDriverRefNum", GetMacInputDriverRef),
    READ_ONLY("MacOutDriverRefNum", GetMacOutputDriverRef),
    READ_ONLY("PosixDescriptor", GetPosixDescriptor),
    {0, "LastErrorCode", &integerType.type, EntryCode(intGetter), "intGetter", nullptr, nullptr,
     offsetof(SerialObject, lastErrorCode), 0},
};

MethodParameter sReadParams[] = {
    {"byteCount", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};
MethodParameter sEncodingParams[] = {{"encoding", nullptr, 0, {}, 1, {}, 0, {}}};
MethodParameter sWriteParams[] = {{"text", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod SerialMethods[] = {
    METHOD("Open", serialOpen, &booleanType.type, nullptr, 0),
    METHOD("Close", serialClose, nullptr, nullptr, 0),
    METHOD("Write", serialWrite, nullptr, sWriteParams, 1),
    METHOD("Read", serialRead, &stringType.type, sReadParams, 2),
    METHOD("ReadAll", serialReadAll, &stringType.type, sEncodingParams, 1),
    METHOD("XmitWait", serialXmitWait, nullptr, nullptr, 0),
    METHOD("Flush", serialFlush, nullptr, nullptr, 0),
    METHOD("Poll", serialTick, nullptr, nullptr, 0),
    METHOD("Reset", serialReset, nullptr, nullptr, 0),
    METHOD("LeaveDTROnClose", serialLeaveDTROnClose, nullptr, nullptr, 0),
    METHOD("LookAhead", serialLookahead, &stringType.type, sEncodingParams, 1),
    METHOD("SetBreak", serialSetBreak, nullptr, nullptr, 0),
    METHOD("ClearBreak", serialClearBreak, nullptr, nullptr, 0),
    METHOD("EOF", SerialEof, &booleanType.type, nullptr, 0),
    METHOD("ReadError", SerialError, &booleanType.type, nullptr, 0),
    METHOD("WriteError", SerialError, &booleanType.type, nullptr, 0),
};

ObjectConstantTemplate SerialConstants[] = {
    {0, "Baud300", 1, "0"},      {0, "Baud600", 1, "1"},      {0, "Baud1200", 1, "2"},
    {0, "Baud1800", 1, "3"},     {0, "Baud2400", 1, "4"},     {0, "Baud3600", 1, "5"},
    {0, "Baud4800", 1, "6"},     {0, "Baud7200", 1, "7"},     {0, "Baud9600", 1, "8"},
    {0, "Baud14400", 1, "9"},    {0, "Baud19200", 1, "10"},   {0, "Baud28800", 1, "11"},
    {0, "Baud38400", 1, "12"},   {0, "Baud57600", 1, "13"},   {0, "Baud115200", 1, "14"},
    {0, "Baud230400", 1, "15"},  {0, "ParityNone", 1, "0"},   {0, "ParityOdd", 1, "1"},
    {0, "ParityEven", 1, "2"},   {0, "StopBits1", 1, "0"},    {0, "StopBits15", 1, "1"},
    {0, "StopBits2", 1, "2"},
};

ObjectInstanceTemplate SerialPortInstances[] = {
    {0, "Name", &stringType.type, EntryCode(stringGetter), "stringGetter", nullptr, nullptr,
     offsetof(SerialPortObject, name), 0},
    {0, "InputDriverName", &stringType.type, EntryCode(stringGetter), "stringGetter", nullptr, nullptr,
     offsetof(SerialPortObject, inputDriverName), 0},
    {0, "OutputDriverName", &stringType.type, EntryCode(stringGetter), "stringGetter", nullptr,
     nullptr, offsetof(SerialPortObject, outputDriverName), 0},
    {0, "RatedSpeed", &integerType.type, EntryCode(intGetter), "intGetter", nullptr, nullptr,
     offsetof(SerialPortObject, ratedSpeed), 0},
    {0, "MaximumSpeed", &integerType.type, EntryCode(intGetter), "intGetter", nullptr, nullptr,
     offsetof(SerialPortObject, maximumSpeed), 0},
};
// clang-format on

} // namespace

ObjectHookTemplate SerialHooks[2] = {
    {0, "DataAvailable", "", "", nullptr, 0},
    {0, "Error", "", "", nullptr, 0},
};

ObjectDefinition *SerialPortClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "SerialPort", nullptr, sizeof(SerialPortObject)))
    return &defn;
  defn.destructor = SerialPortDestructor;
  defn.SetPropertyListHead(FillInstances(SerialPortInstances, std::size(SerialPortInstances)));
  return &defn;
}

ObjectDefinition *SerialControlClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "Serial", nullptr, sizeof(SerialObject)))
    return &defn;
  SerialInstances[14].type = SerialPortClass()->AsType();
  FillEncodingParameters(sReadParams, sEncodingParams, SerialMethods, std::size(SerialMethods));
  defn.constructor = SerialConstructor;
  defn.destructor = SerialDestructor;
  defn.SetPropertyListHead(FillInstances(SerialInstances, std::size(SerialInstances)));
  defn.methods = FillMethods(SerialMethods, std::size(SerialMethods));
  FillHooks(&defn, SerialHooks, std::size(SerialHooks));
  FillConstants(&defn, SerialConstants, std::size(SerialConstants));
  defn.addInterface(ReadableInterface());
  defn.addInterface(WriteableInterface());
  return &defn;
}
