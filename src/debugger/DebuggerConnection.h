// The line link between a debug build and the remote debugger, the same
// class at both ends. A line is a command, optionally a blank and an
// argument, and a carriage return. Numbers travel as fixed-width upper-case
// hexadecimal (enhex/dehex) and strings as their encoding tag and byte digits
// (TransferEncodeString/TransferDecodeString). The transport is a local
// socket at a fixed path or TCP on a fixed port (IPCSocketConnection.h,
// TCPSocketConnection.h).
#pragma once
#include <cstdint>
#include <string>

#include "debugger/SmartRef.h"
#include "foundation/AssertionAlert.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"

class TCPSocket;

inline constexpr char kConnectionAlertSource[] = "Common/Debugger/DebuggerConnection";

// The fixed transports.
inline constexpr char kLocalDebugPath[] = "/tmp/QVLocalDebug";
inline constexpr int32_t kDebugPort = 13897;
// A received line longer than this closes the link.
inline constexpr int32_t kMaxDebugLineBytes = 64 * 1024 * 1024;

// Hears the lines of a connection and its opening and loss.
class DebuggerConnectionDelegate {
public:
  virtual void DebuggerConnectionMessage(const string &command, const string &argument) = 0;
  virtual void DebuggerConnectionOpened() = 0;
  virtual void DebuggerConnectionClosed() = 0;
};

class DebuggerConnection {
public:
  DebuggerConnection() = default;
  virtual ~DebuggerConnection();
  DebuggerConnection(const DebuggerConnection &) = delete;
  DebuggerConnection &operator=(const DebuggerConnection &) = delete;

  // The one-part line (command and carriage return) and the two-part line
  // (command, blank, argument, carriage return).
  virtual void SendMessage(const string &command) = 0;
  virtual void SendMessage(const string &command, const string &argument) = 0;
  virtual void Listen() = 0;
  virtual void Close() = 0;
  virtual void Connect() = 0;
  // Whether the transport is still connected: false once it was closed for
  // any reason, so that a stopped program does not wait for lines that
  // cannot come.
  virtual bool IsOpen() = 0;

  // The local socket for "127.0.0.1" (letter case ignored), TCP to the
  // address otherwise; not yet opened.
  static Ref<DebuggerConnection> New(const string &address);

  // 2n upper-case digits of the n bytes at p, the last byte first.
  static string enhex(const void *p, int32_t n);
  // The inverse for n of at most 8 (see the .cpp for the digit rules).
  static void dehex(const string &text, void *destination, int32_t n);
  static string TransferEncodeString(const string &text);
  static string TransferDecodeString(const string &encoded);

  // Nil is ignored; a delegate added twice is told twice.
  void AddDelegate(DebuggerConnectionDelegate *delegate);
  // Removes every occurrence.
  void RemoveDelegate(DebuggerConnectionDelegate *delegate);
  // Tell every delegate, newest first. A delegate may remove itself or
  // others meanwhile.
  void DelegateMessage(const string &command, const string &argument);
  void DelegateOpened();
  void DelegateClosed();

  // Requests of the debugger side: one line each.
  void SendSetBreakpoint(int32_t line);
  void SendClearBreakpoint(int32_t line);
  void SendBreakLineAllocate(int32_t count);
  void SendRun();
  void SendStepInto();
  void SendStepOver();
  void SendStepOut();
  void SendQuit();
  void SendGetPID();
  void SendGetGlobalBase();
  void SendStackCrawl();
  void SendGetMemoryWord(int32_t address);
  void SendGetMemoryByte(int32_t address);
  void SendGetMemoryLong(int32_t address);
  void SendGetMemoryString(int32_t address);
  void SendGetMemoryObject(int32_t address);
  void SendGetMemoryVariant(int32_t address);
  void SendGetObjectClass(int32_t object);
  void SendGetArrayBufferAndBounds(int32_t array);
  void SendSetMemoryWord(int32_t address, int32_t value);
  void SendSetMemoryByte(int32_t address, int32_t value);
  void SendSetMemoryLong(int32_t address, double value);
  void SendSetMemoryString(int32_t address, const string &value);
  void SendObjectWatchListSet(int32_t object);
  void SendObjectWatchListRemove(int32_t object);
  void SendArrayWatchListSet(int32_t array);
  void SendArrayWatchListRemove(int32_t array);
  void SendCallByteGetter(int32_t object, const string &getter, int32_t index);
  void SendCallIntegerGetter(int32_t object, const string &getter, int32_t index);
  void SendCallSingleGetter(int32_t object, const string &getter, int32_t index);
  void SendCallDoubleGetter(int32_t object, const string &getter, int32_t index);
  void SendCallStringGetter(int32_t object, const string &getter, int32_t index);
  void SendCallObjectGetter(int32_t object, const string &getter, int32_t index);
  void SendCallVariantGetter(int32_t object, const string &getter, int32_t index);

  SimpleVector<DebuggerConnectionDelegate *> mDelegates;

protected:
  // The two-part line's bytes.
  static string TwoPartLine(const string &command, const string &argument);
  static string OnePartLine(const string &command);

private:
  void SendAddress(const char *command, int32_t address);
  void SendGetterCall(const char *command, int32_t object, const string &getter, int32_t index);
};

// Splits the bytes a socket received into lines. The bytes of a line not yet
// ended are taken from the socket and kept here, so each byte is scanned for
// the carriage return once, and a line longer than kMaxDebugLineBytes is
// seen although the socket holds only a few megabytes unread.
class LineSplitter {
public:
  // Takes every complete line from the socket's received bytes and hands it
  // to the connection's delegates, in order. False when the unfinished line
  // is longer than kMaxDebugLineBytes: the caller closes the link.
  bool Split(TCPSocket *wire, DebuggerConnection &connection);

private:
  std::string mPartial;
};

// Splits one received line at its first blank into command and argument.
void SplitDebuggerLine(const string &line, string *command, string *argument);
