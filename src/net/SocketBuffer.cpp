#include "net/SocketBuffer.h"

#include <algorithm>

#include "foundation/TextEncodings.h"

void SocketBuffer::Append(const char *bytes, int32_t count) {
  if (count <= 0)
    return;
  // Space taken from the front is reused before the storage grows.
  if (mStart > 0 && mStart >= mBytes.size() / 2) {
    mBytes.erase(mBytes.begin(), mBytes.begin() + mStart);
    mStart = 0;
  }
  mBytes.insert(mBytes.end(), bytes, bytes + count);
}

void SocketBuffer::Drop(int32_t count) {
  if (count <= 0)
    return;
  mStart += std::min<size_t>(count, mBytes.size() - mStart);
  if (mStart == mBytes.size())
    Clear();
}

void SocketBuffer::Clear() {
  mBytes.clear();
  mBytes.shrink_to_fit();
  mStart = 0;
}

string SocketBuffer::Take(int32_t count) {
  string text;
  count = std::min(count, Length());
  if (count <= 0)
    return text;
  text.ConstructFromBuffer(Data(), count);
  text.SetEncoding(kEncodingUnknown);
  Drop(count);
  return text;
}

string SocketBuffer::Peek() const {
  string text;
  if (Length() > 0) {
    text.ConstructFromBuffer(Data(), Length());
    text.SetEncoding(kEncodingUnknown);
  }
  return text;
}
