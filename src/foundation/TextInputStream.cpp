#include "foundation/TextInputStream.h"

#include <cstring>

#include "foundation/ByteStrings.h"

namespace {
constexpr char kCarriageReturn = 0x0D;
constexpr char kLineFeed = 0x0A;
} // namespace

bool ReadAheadBuffer::Refill(RandomAccessMechanism *stream) {
  long got = 0;
  stream->ReadData(bytes, capacity, got);
  position = 0;
  count = got > 0 && got <= capacity ? static_cast<int32_t>(got) : 0;
  return count > 0;
}

inline void ReadAheadBuffer::SkipLineEnd(RandomAccessMechanism *stream, int32_t at) {
  char terminator = bytes[at];
  position = at + 1;
  if (terminator == kCarriageReturn) {
    if (position == count)
      Refill(stream); // the line feed of a CR LF pair may be in the next fill
    if (position < count && bytes[position] == kLineFeed)
      ++position;
  }
}

string ReadAheadBuffer::ReadLine(RandomAccessMechanism *stream, uint32_t encoding) {
  // The usual line lies within the buffer and goes straight into its storage.
  string line;
  int length = FindLineBreak(bytes + position, count - position);
  if (position + length < count) {
    line.ConstructFromBuffer(bytes + position, length, encoding);
    SkipLineEnd(stream, position + length);
    return line;
  }
  // One that runs past a refill is gathered on the stack, and only a long one
  // piece by piece in the string.
  char gathered[256];
  int gatheredLength = 0;
  for (;;) {
    const char *piece = bytes + position;
    int end = position + FindLineBreak(piece, count - position);
    int pieceLength = end - position;
    if (gatheredLength + pieceLength > int(sizeof gathered)) {
      line.AppendBytes(gathered, gatheredLength);
      gatheredLength = 0;
      if (pieceLength > int(sizeof gathered)) {
        line.AppendBytes(piece, pieceLength);
        pieceLength = 0;
      }
    }
    memcpy(gathered + gatheredLength, piece, size_t(pieceLength));
    gatheredLength += pieceLength;
    if (end < count) {
      SkipLineEnd(stream, end);
      break;
    }
    position = count;
    // A fill that brings nothing ends the line even when the stream does not
    // report its end (a folder opened as a file, a failing read).
    if (stream->IsEOF() || !Refill(stream))
      break;
  }
  if (line.IsEmpty()) {
    line.ConstructFromBuffer(gathered, gatheredLength, encoding);
  } else {
    line.AppendBytes(gathered, gatheredLength);
    line.SetEncoding(encoding);
  }
  return line;
}
