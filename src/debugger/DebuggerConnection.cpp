#include "debugger/DebuggerConnection.h"

#include <cstring>

#include "debugger/IPCSocketConnection.h"
#include "debugger/TCPSocketConnection.h"
#include "foundation/ByteStrings.h"
#include "foundation/TextEncodings.h"
#include "net/TCPSocket.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of an upper-case hexadecimal digit, or -1.
int DigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

string Bytes(const std::string &bytes, uint32_t encoding = kEncodingASCII) {
  string text;
  if (!bytes.empty())
    text.ConstructFromBuffer(bytes.data(), int(bytes.size()), encoding);
  return text;
}

std::string StdText(const string &text) { return std::string(text.CString(), text.Length()); }

} // namespace

DebuggerConnection::~DebuggerConnection() = default;

Ref<DebuggerConnection> DebuggerConnection::New(const string &address) {
  if (ustrcmpi(address.CString(), address.Length(), "127.0.0.1", 9) == 0)
    return Ref<DebuggerConnection>(new IPCSocketConnection());
  return Ref<DebuggerConnection>(new TCPSocketConnection(address));
}

string DebuggerConnection::enhex(const void *p, int32_t n) {
  std::string digits;
  const auto *bytes = static_cast<const unsigned char *>(p);
  for (int32_t i = n - 1; i >= 0; --i) {
    digits += kHexDigits[bytes[i] >> 4];
    digits += kHexDigits[bytes[i] & 15];
  }
  return Bytes(digits);
}

// Text of another length than 2n is first padded on the left with zeros, or
// cut to its last 2n characters. Each pair of digits gives one byte, high
// half first, the first pair the most significant byte; a non-digit in the
// high place leaves that byte as the destination held it, one in the low
// place adds nothing.
void DebuggerConnection::dehex(const string &text, void *destination, int32_t n) {
  if (n <= 0 || n > 8)
    return;
  std::string digits = StdText(text);
  const size_t wanted = size_t(2 * n);
  if (digits.size() < wanted)
    digits = std::string(wanted - digits.size(), '0') + digits;
  else if (digits.size() > wanted)
    digits = digits.substr(digits.size() - wanted);
  auto *bytes = static_cast<unsigned char *>(destination);
  for (int32_t i = 0; i < n; ++i) {
    const int high = DigitValue(digits[2 * i]);
    if (high < 0)
      continue;
    unsigned value = unsigned(high) << 4;
    if (const int low = DigitValue(digits[2 * i + 1]); low >= 0)
      value += unsigned(low);
    bytes[n - 1 - i] = static_cast<unsigned char>(value);
  }
}

string DebuggerConnection::TransferEncodeString(const string &text) {
  const uint32_t encoding = text.Encoding();
  string result = enhex(&encoding, 4);
  std::string digits = ":";
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.CString());
  for (int i = 0; i < text.Length(); ++i) {
    digits += kHexDigits[bytes[i] >> 4];
    digits += kHexDigits[bytes[i] & 15];
  }
  result += Bytes(digits);
  return result;
}

string DebuggerConnection::TransferDecodeString(const string &encoded) {
  const std::string all = StdText(encoded);
  const size_t colon = all.find(':');
  const std::string field1 = all.substr(0, colon);
  std::string field2;
  if (colon != std::string::npos) {
    field2 = all.substr(colon + 1);
    field2 = field2.substr(0, field2.find(':'));
  }
  uint32_t encoding = 0xFFFF;
  dehex(Bytes(field1), &encoding, 4);
  field2.erase(field2.find_last_not_of(" \t") + 1);
  if (field2.empty())
    return string();
  std::string bytes((field2.size() + 1) / 2, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int high = DigitValue(field2[2 * i]);
    const int low = 2 * i + 1 < field2.size() ? DigitValue(field2[2 * i + 1]) : -1;
    // A non-digit in the high place gives 0: the byte is new storage.
    unsigned value = high >= 0 ? unsigned(high) << 4 : 0;
    if (high >= 0 && low >= 0)
      value += unsigned(low);
    bytes[i] = static_cast<char>(value);
  }
  return Bytes(bytes, encoding);
}

void DebuggerConnection::AddDelegate(DebuggerConnectionDelegate *delegate) {
  if (delegate)
    mDelegates.push_back(delegate);
}

void DebuggerConnection::RemoveDelegate(DebuggerConnectionDelegate *delegate) {
  for (int32_t i = mDelegates.count() - 1; i >= 0; --i)
    if (mDelegates[i] == delegate)
      mDelegates.deleteIdx(i);
}

void DebuggerConnection::DelegateMessage(const string &command, const string &argument) {
  for (int32_t i = mDelegates.count() - 1; i >= 0 && i < mDelegates.count(); --i) {
    const string ownCommand = command, ownArgument = argument;
    mDelegates[i]->DebuggerConnectionMessage(ownCommand, ownArgument);
  }
}

void DebuggerConnection::DelegateOpened() {
  for (int32_t i = mDelegates.count() - 1; i >= 0 && i < mDelegates.count(); --i)
    mDelegates[i]->DebuggerConnectionOpened();
}

void DebuggerConnection::DelegateClosed() {
  for (int32_t i = mDelegates.count() - 1; i >= 0 && i < mDelegates.count(); --i)
    mDelegates[i]->DebuggerConnectionClosed();
}

string DebuggerConnection::TwoPartLine(const string &command, const string &argument) {
  string line = command.GetUTF8String();
  line += " ";
  line += argument.GetUTF8String();
  line += "\r";
  return line;
}

string DebuggerConnection::OnePartLine(const string &command) {
  string line = command.GetUTF8String();
  line += "\r";
  return line;
}

void SplitDebuggerLine(const string &line, string *command, string *argument) {
  const std::string text = StdText(line);
  const size_t blank = text.find(' ');
  const uint32_t encoding = line.Encoding();
  *command = Bytes(text.substr(0, blank), encoding);
  *argument = blank == std::string::npos ? string() : Bytes(text.substr(blank + 1), encoding);
}

bool LineSplitter::Split(TCPSocket *wire, DebuggerConnection &connection) {
  for (;;) {
    SocketBuffer &buffer = wire->mReceiveBuffer;
    const int32_t length = buffer.Length();
    const void *found = std::memchr(buffer.Data(), '\r', size_t(length));
    if (!found) {
      // The socket reads no more while its unread bytes pile up, so the
      // unfinished line moves here and the socket keeps reading.
      mPartial.append(buffer.Data(), size_t(length));
      buffer.Drop(length);
      return mPartial.size() <= size_t(kMaxDebugLineBytes);
    }
    const int32_t position = int32_t(static_cast<const char *>(found) - buffer.Data());
    std::string text = std::move(mPartial);
    mPartial.clear();
    const string line = wire->ReadData(position + 1);
    text.append(line.CString(), size_t(position));
    string command, argument;
    SplitDebuggerLine(Bytes(text, line.Encoding()), &command, &argument);
    connection.DelegateMessage(command, argument);
  }
}
