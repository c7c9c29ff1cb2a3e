// The debugger side's requests: each puts one command line on the link in the
// form the debuggee's stub reads. Integers go as eight digits, the 8-byte
// value as sixteen, strings in the transfer encoding, the getter name as it is.
#include "debugger/DebuggerConnection.h"

namespace {
string Hex8(int32_t value) { return DebuggerConnection::enhex(&value, 4); }
} // namespace

void DebuggerConnection::SendAddress(const char *command, int32_t address) {
  SendMessage(command, Hex8(address));
}

void DebuggerConnection::SendGetterCall(const char *command, int32_t object,
                                        const string &getter, int32_t index) {
  string argument = Hex8(object);
  argument += " ";
  argument += getter;
  argument += " ";
  argument += Hex8(index);
  SendMessage(command, argument);
}

void DebuggerConnection::SendSetBreakpoint(int32_t line) { SendAddress("BR", line); }
void DebuggerConnection::SendClearBreakpoint(int32_t line) { SendAddress("BRC", line); }
void DebuggerConnection::SendBreakLineAllocate(int32_t count) { SendAddress("BRLA", count); }
void DebuggerConnection::SendRun() { SendMessage("RUN"); }
void DebuggerConnection::SendStepInto() { SendMessage("STEP"); }
void DebuggerConnection::SendStepOver() { SendMessage("STEPOVER"); }
void DebuggerConnection::SendStepOut() { SendMessage("STEPOUT"); }
void DebuggerConnection::SendQuit() { SendMessage("QUIT"); }
void DebuggerConnection::SendGetPID() { SendMessage("PID"); }
void DebuggerConnection::SendGetGlobalBase() { SendMessage("TOC"); }
void DebuggerConnection::SendStackCrawl() { SendMessage("SC"); }
void DebuggerConnection::SendGetMemoryWord(int32_t address) { SendAddress("DW", address); }
void DebuggerConnection::SendGetMemoryByte(int32_t address) { SendAddress("DB", address); }
void DebuggerConnection::SendGetMemoryLong(int32_t address) { SendAddress("DL", address); }
void DebuggerConnection::SendGetMemoryString(int32_t address) { SendAddress("DS", address); }
void DebuggerConnection::SendGetMemoryObject(int32_t address) { SendAddress("DO", address); }
void DebuggerConnection::SendGetMemoryVariant(int32_t address) { SendAddress("DV", address); }
void DebuggerConnection::SendGetObjectClass(int32_t object) { SendAddress("DOC", object); }
void DebuggerConnection::SendGetArrayBufferAndBounds(int32_t array) {
  SendAddress("DABB", array);
}

void DebuggerConnection::SendSetMemoryWord(int32_t address, int32_t value) {
  string argument = Hex8(address);
  argument += " ";
  argument += Hex8(value);
  SendMessage("SW", argument);
}

void DebuggerConnection::SendSetMemoryByte(int32_t address, int32_t value) {
  string argument = Hex8(address);
  argument += " ";
  argument += Hex8(value);
  SendMessage("SB", argument);
}

void DebuggerConnection::SendSetMemoryLong(int32_t address, double value) {
  string argument = Hex8(address);
  argument += " ";
  argument += enhex(&value, 8);
  SendMessage("SL", argument);
}

void DebuggerConnection::SendSetMemoryString(int32_t address, const string &value) {
  string argument = Hex8(address);
  argument += " ";
  argument += TransferEncodeString(value);
  SendMessage("SS", argument);
}

void DebuggerConnection::SendObjectWatchListSet(int32_t object) { SendAddress("OWLS", object); }
void DebuggerConnection::SendObjectWatchListRemove(int32_t object) {
  SendAddress("OWLR", object);
}
void DebuggerConnection::SendArrayWatchListSet(int32_t array) { SendAddress("AWLS", array); }
void DebuggerConnection::SendArrayWatchListRemove(int32_t array) { SendAddress("AWLR", array); }

void DebuggerConnection::SendCallByteGetter(int32_t object, const string &getter, int32_t index) {
  SendGetterCall("DPVB", object, getter, index);
}
void DebuggerConnection::SendCallIntegerGetter(int32_t object, const string &getter,
                                               int32_t index) {
  SendGetterCall("DPVI", object, getter, index);
}
void DebuggerConnection::SendCallSingleGetter(int32_t object, const string &getter,
                                              int32_t index) {
  SendGetterCall("DPVF", object, getter, index);
}
void DebuggerConnection::SendCallDoubleGetter(int32_t object, const string &getter,
                                              int32_t index) {
  SendGetterCall("DPVD", object, getter, index);
}
void DebuggerConnection::SendCallStringGetter(int32_t object, const string &getter,
                                              int32_t index) {
  SendGetterCall("DPVS", object, getter, index);
}
void DebuggerConnection::SendCallObjectGetter(int32_t object, const string &getter,
                                              int32_t index) {
  SendGetterCall("DPVO", object, getter, index);
}
void DebuggerConnection::SendCallVariantGetter(int32_t object, const string &getter,
                                               int32_t index) {
  SendGetterCall("DPVV", object, getter, index);
}
