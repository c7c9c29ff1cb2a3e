// The bytes a socket holds for sending or reading: appended at the end and
// taken from the front, each in time proportional to the bytes moved, so a
// transfer of many chunks never copies what stays behind.
#pragma once
#include <cstdint>
#include <vector>

#include "foundation/String.h"

class SocketBuffer {
public:
  int32_t Length() const { return int32_t(mBytes.size() - mStart); }
  bool IsEmpty() const { return Length() == 0; }
  const char *Data() const { return mBytes.data() + mStart; }

  void Append(const char *bytes, int32_t count);
  void Append(const string &text) { Append(text.CString(), text.Length()); }
  // Removes the first count bytes (all when count is at least the length).
  void Drop(int32_t count);
  void Clear();
  // The first count bytes as a string (tagged kEncodingUnknown), which then
  // leave the buffer; all of them when count is at least the length, none
  // when it is 0 or less.
  string Take(int32_t count);
  // The whole buffer as a string; the buffer keeps its bytes.
  string Peek() const;

private:
  std::vector<char> mBytes;
  size_t mStart = 0; // bytes before it were taken already
};
