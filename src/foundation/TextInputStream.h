// Reads lines from a byte stream through a small buffer. A line ends at a
// carriage return, a line feed or both in that order, and comes back without
// its end, tagged with the reader's encoding.
#pragma once
#include <cstdint>

#include "foundation/RandomAccessMechanism.h"

class TextInputStream {
public:
  // The reader does not own the stream; a null stream reads empty lines.
  TextInputStream(RandomAccessMechanism *stream, uint32_t encoding)
      : mStream(stream), mEncoding(encoding) {}
  TextInputStream(const TextInputStream &) = delete;
  TextInputStream &operator=(const TextInputStream &) = delete;

  // The next line. At the end of the data, or when the stream stops giving
  // bytes without reporting its end, the line read so far is the last one.
  string ReadLine();
  // The buffer is used up and the stream is at its end.
  bool IsEOF() { return mPosition >= mCount && (!mStream || mStream->IsEOF()); }

private:
  // Refills the buffer from the stream; false when no byte arrived.
  bool Refill();
  // Moves past the line end at that offset of the buffer: a carriage return,
  // a line feed, or both in that order.
  void SkipLineEnd(int at);

  static constexpr int kBufferSize = 128;
  char mBuffer[kBufferSize];
  int mPosition = 0; // next byte to read in mBuffer
  int mCount = 0;    // bytes held in mBuffer
  RandomAccessMechanism *mStream;
  uint32_t mEncoding;
};
