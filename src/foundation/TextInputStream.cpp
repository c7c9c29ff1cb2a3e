#include "foundation/TextInputStream.h"

#include <cstring>

#include "foundation/ByteStrings.h"

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

inline void TextInputStream::SkipLineEnd(int at) {
  char terminator = mBuffer[at];
  mPosition = at + 1;
  if (terminator == kCarriageReturn) {
    if (mPosition == mCount)
      Refill(); // the line feed of a CR LF pair may be in the next block
    if (mPosition < mCount && mBuffer[mPosition] == kLineFeed)
      ++mPosition;
  }
}

string TextInputStream::ReadLine() {
  if (!mStream)
    return string();
  // The usual line lies within the buffer and goes straight into its storage.
  string line;
  int length = FindLineBreak(mBuffer + mPosition, mCount - mPosition);
  if (mPosition + length < mCount) {
    line.ConstructFromBuffer(mBuffer + mPosition, length, mEncoding);
    SkipLineEnd(mPosition + length);
    return line;
  }
  // One that runs past a refill is gathered on the stack, and only a long one
  // piece by piece in the string.
  char gathered[2 * kBufferSize];
  int gatheredLength = 0;
  for (;;) {
    const char *piece = mBuffer + mPosition;
    int end = mPosition + FindLineBreak(piece, mCount - mPosition);
    int pieceLength = end - mPosition;
    if (gatheredLength + pieceLength > int(sizeof gathered)) {
      line.AppendBytes(gathered, gatheredLength);
      gatheredLength = 0;
    }
    memcpy(gathered + gatheredLength, piece, size_t(pieceLength));
    gatheredLength += pieceLength;
    if (end < mCount) {
      SkipLineEnd(end);
      break;
    }
    mPosition = mCount;
    if (mStream->IsEOF() || !Refill())
      break;
  }
  if (line.IsEmpty()) {
    line.ConstructFromBuffer(gathered, gatheredLength, mEncoding);
  } else {
    line.AppendBytes(gathered, gatheredLength);
    line.SetEncoding(mEncoding);
  }
  return line;
}

