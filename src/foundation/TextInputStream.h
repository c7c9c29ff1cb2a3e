// Reads lines from a byte stream through a read-ahead buffer. A line ends at
// a carriage return, a line feed or both in that order, and comes back
// without its end, tagged with the reader's encoding.
#pragma once
#include <cstdint>

#include "foundation/RandomAccessMechanism.h"

// A read-ahead buffer kept by its owner (a reader's members, or the fields of
// a language object whose layout is fixed): the bytes, their capacity, the
// next unread byte and the number of valid bytes.
struct ReadAheadBuffer {
  char *bytes;
  int32_t capacity;
  int32_t &position;
  int32_t &count;

  bool HasUnread() const { return position < count; }
  // Refills the whole buffer from the stream; false when no byte arrived (at
  // the end, or on a failing read).
  bool Refill(RandomAccessMechanism *stream);
  // The next line. At the end of the data, or when the stream stops giving
  // bytes without reporting its end, the line read so far is the last one.
  string ReadLine(RandomAccessMechanism *stream, uint32_t encoding);

private:
  // Moves past the line end at that offset: a carriage return, a line feed,
  // or both in that order (also when the two fall into different fills).
  void SkipLineEnd(RandomAccessMechanism *stream, int32_t at);
};

class TextInputStream {
public:
  // The reader does not own the stream; a null stream reads empty lines.
  TextInputStream(RandomAccessMechanism *stream, uint32_t encoding)
      : mStream(stream), mEncoding(encoding) {}
  TextInputStream(const TextInputStream &) = delete;
  TextInputStream &operator=(const TextInputStream &) = delete;

  string ReadLine() { return mStream ? Buffer().ReadLine(mStream, mEncoding) : string(); }
  // The buffer is used up and the stream is at its end.
  bool IsEOF() { return mPosition >= mCount && (!mStream || mStream->IsEOF()); }

private:
  ReadAheadBuffer Buffer() { return {mBuffer, kBufferSize, mPosition, mCount}; }

  static constexpr int kBufferSize = 128;
  char mBuffer[kBufferSize];
  int32_t mPosition = 0; // next byte to read in mBuffer
  int32_t mCount = 0;    // bytes held in mBuffer
  RandomAccessMechanism *mStream;
  uint32_t mEncoding;
};
