#include "foundation/TextInputStream.h"

#include <string>

namespace {
constexpr char kCarriageReturn = 0x0D;
constexpr char kLineFeed = 0x0A;
} // namespace

bool TextInputStream::Refill() {
  long got = 0;
  mStream->ReadData(mBuffer, kBufferSize, got);
  mPosition = 0;
  mCount = got > 0 ? static_cast<int>(got) : 0;
  return mCount > 0;
}

string TextInputStream::ReadLine() {
  if (!mStream)
    return string();
  std::string line;
  for (;;) {
    int end = mPosition;
    while (end < mCount && mBuffer[end] != kCarriageReturn && mBuffer[end] != kLineFeed)
      ++end;
    line.append(mBuffer + mPosition, static_cast<size_t>(end - mPosition));
    if (end < mCount) {
      char terminator = mBuffer[end];
      mPosition = end + 1;
      if (terminator == kCarriageReturn) {
        if (mPosition == mCount)
          Refill(); // the line feed of a CR LF pair may be in the next block
        if (mPosition < mCount && mBuffer[mPosition] == kLineFeed)
          ++mPosition;
      }
      break;
    }
    mPosition = mCount;
    if (mStream->IsEOF() || !Refill())
      break;
  }
  string result;
  result.ConstructFromBuffer(line.data(), static_cast<int>(line.size()));
  if (!result.IsEmpty())
    result.SetEncoding(mEncoding);
  return result;
}

bool TextInputStream::IsEOF() { return mPosition >= mCount && (!mStream || mStream->IsEOF()); }
