// The runtime's abstract byte stream: a positioned source and sink of bytes
// with typed reads and writes in either byte order, length-prefixed strings,
// lines and encoded integers. Subclasses supply the bytes (memory, files,
// files inside virtual volumes).
#pragma once
#include <cstdint>

#include "foundation/ByteOrder.h"
#include "foundation/String.h"

class RandomAccessMechanism {
public:
  RandomAccessMechanism() = default;
  RandomAccessMechanism(const RandomAccessMechanism &) = delete;
  RandomAccessMechanism &operator=(const RandomAccessMechanism &) = delete;
  virtual ~RandomAccessMechanism();

  // Reads up to count bytes; got receives how many arrived.
  virtual bool ReadData(void *buffer, long count, long &got) = 0;
  virtual bool WriteData(const void *buffer, long count) = 0;
  virtual bool Close() = 0;
  virtual bool IsEOF() = 0;
  virtual bool SeekFromStart(long offset) = 0;
  virtual long GetLength() = 0;
  virtual bool SetLength(long length) = 0;
  virtual long GetPosition() = 0;
  virtual void FlushToDisk();
  virtual void SetBigEndian();
  virtual void SetLittleEndian();

  // Typed writes; 16- and 32-bit values are swapped on a big-endian stream,
  // doubles only when mSwapDoubles is set as well. True when every byte went.
  // Inline, as streams of many small values are made of them.
  bool WriteByte(int value) {
    uint8_t byte = static_cast<uint8_t>(value);
    return WriteData(&byte, 1);
  }
  bool WriteShort(int value) { return WriteOrdered(static_cast<uint16_t>(value), mBigEndian != 0); }
  bool WriteLong(int value) { return WriteOrdered(static_cast<uint32_t>(value), mBigEndian != 0); }
  bool WriteDouble(double value) { return WriteOrdered(value, mSwapDoubles && mBigEndian); }
  // A length byte (at most 255) and that many bytes of the text.
  bool WritePString(const string &text);
  // The text and one line feed.
  bool WriteLine(const string &text);
  bool WriteEncodedInt(int value);

  // Typed reads; false on a short read.
  bool ReadByte(unsigned char &value);
  bool ReadShort(short &value);
  bool ReadLong(int &value);
  bool ReadDouble(double &value);
  // Empties text, then reads a length byte and that many bytes into a new
  // string tagged kEncodingUnknown.
  bool ReadPString(string &text);
  // False as soon as a byte cannot be read, or when the bytes are no
  // encoded integer.
  bool ReadEncodedInt(int &value);

  // Switches the stream scramble on (nonzero) or off and answers the previous
  // setting; switching it on from off starts a fresh scramble state.
  int SetEncryption(int on);
  // Scramble or unscramble a run in place while the scramble is on.
  void ApplyEncryption(void *bytes, int count) {
    if (mScrambleOn)
      Scramble(bytes, count);
  }
  void ApplyDecryption(void *bytes, int count) {
    if (mScrambleOn)
      Unscramble(bytes, count);
  }

  int32_t mLastError = 0;     // system error number of the last failing call
  uint8_t mScrambleOn = 0;    // the scramble is on
  uint8_t mScrambleUsed = 0;  // it has been on at some time
  int32_t mScrambleState = 0; // low byte: running state of the scramble
  int32_t mBigEndian = 0;     // 1 after SetBigEndian, 0 after SetLittleEndian
  uint8_t mSwapDoubles = 0;   // with mBigEndian, swap doubles too

protected:
  // Reads that must bring every byte.
  bool ReadExactly(void *buffer, long count);
  // The read of a stream over count bytes of memory: copies from position on,
  // unscrambles, advances. Fails at or past the end; a count of 0 succeeds.
  bool ReadFromMemory(const char *bytes, long length, long &position, void *buffer, long count,
                      long &got);
  // A seek within count bytes of memory: the offset clamped to [0, length].
  static long ClampedPosition(long offset, long length);

private:
  void Scramble(void *bytes, int count);
  void Unscramble(void *bytes, int count);
  // Typed values in the stream's byte order (defined beside their users).
  template <typename Value>
  bool ReadOrdered(Value &value, bool swap);
  // Writes a value's bytes, reversed when swap is set.
  template <typename Value>
  bool WriteOrdered(Value value, bool swap) {
    if (swap)
      swapBytes(&value, sizeof value);
    return WriteData(&value, sizeof value);
  }
};
