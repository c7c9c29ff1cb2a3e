// Built-in-style class definitions for tests, made by builders the way the
// runtime's own classes are: a socket base class with events, properties and
// methods, an interface, and a subclass that handles an inherited event,
// adds one and implements the interface through its superclass's methods.
#pragma once
#include "runtime/objects/ObjectDefinition.h"

namespace testclasses {

// Fake code addresses: registered and compared, never called.
void *CodeAddress(int n);

enum : int {
  kWriteCode = 1,
  kFlushCode,
  kReadCode,
  kSetTimeoutCode,
  kErrorHandlerCode,
  kWriteGetterCode,
};

constexpr int32_t kSocketSize = 32; // Port at 24, Address at 28
constexpr int32_t kEasySize = 36;   // Verbose at 32

ObjectDefinition *WriteableInterface(); // Write, FLUSH
ObjectDefinition *SocketClass();        // events DataAvailable, Error; Port, Address, Hidden
ObjectDefinition *EasySocketClass();    // handles "error"; adds ReceivedMessage and Verbose
ObjectHookTemplate &SocketErrorHookRow();

} // namespace testclasses
