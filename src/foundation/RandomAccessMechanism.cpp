#include "foundation/RandomAccessMechanism.h"

#include <cstring>

#include "foundation/ByteOrder.h"
#include "foundation/EncodedInteger.h"

namespace {
// Where the scramble state starts each time the scramble is switched on.
constexpr uint8_t kScrambleStart = 0x5A;
constexpr int kLargestPStringLength = 255;
} // namespace

RandomAccessMechanism::~RandomAccessMechanism() = default;

void RandomAccessMechanism::FlushToDisk() {}

void RandomAccessMechanism::SetBigEndian() { mBigEndian = 1; }

void RandomAccessMechanism::SetLittleEndian() { mBigEndian = 0; }

bool RandomAccessMechanism::WritePString(const string &text) {
  uint8_t record[1 + kLargestPStringLength];
  int length = text.Length() < kLargestPStringLength ? text.Length() : kLargestPStringLength;
  record[0] = static_cast<uint8_t>(length);
  memcpy(record + 1, text.CString(), static_cast<size_t>(length));
  return WriteData(record, 1 + length);
}

bool RandomAccessMechanism::WriteLine(const string &text) {
  string line = text + '\n';
  return WriteData(line.CString(), line.Length());
}

bool RandomAccessMechanism::WriteEncodedInt(int value) {
  uint8_t bytes[kMaxEncodedIntegerBytes];
  return WriteData(bytes, EncodeInteger(value, bytes));
}

bool RandomAccessMechanism::ReadExactly(void *buffer, long count) {
  long got = 0;
  return ReadData(buffer, count, got) && got == count;
}

bool RandomAccessMechanism::ReadByte(unsigned char &value) { return ReadExactly(&value, 1); }

// Reads a value's bytes, reversed when swap is set; value is left alone on a
// short read.
template <typename Value>
bool RandomAccessMechanism::ReadOrdered(Value &value, bool swap) {
  Value read;
  if (!ReadExactly(&read, sizeof read))
    return false;
  if (swap)
    swapBytes(&read, sizeof read);
  value = read;
  return true;
}

bool RandomAccessMechanism::ReadShort(short &value) { return ReadOrdered(value, mBigEndian != 0); }

bool RandomAccessMechanism::ReadLong(int &value) { return ReadOrdered(value, mBigEndian != 0); }

bool RandomAccessMechanism::ReadDouble(double &value) {
  return ReadOrdered(value, mSwapDoubles && mBigEndian);
}

bool RandomAccessMechanism::ReadPString(string &text) {
  text = string();
  unsigned char length;
  if (!ReadByte(length))
    return false;
  if (length == 0)
    return true;
  char bytes[kLargestPStringLength];
  if (!ReadExactly(bytes, length))
    return false;
  text.ConstructFromBuffer(bytes, length);
  return true;
}

bool RandomAccessMechanism::ReadEncodedInt(int &value) {
  EncodedIntegerDecoder decoder;
  for (;;) {
    unsigned char byte;
    if (!ReadByte(byte))
      return false;
    switch (decoder.Feed(byte)) {
    case EncodedIntegerDecoder::Step::NeedMore:
      continue;
    case EncodedIntegerDecoder::Step::Done:
      value = decoder.Value();
      return true;
    case EncodedIntegerDecoder::Step::Malformed:
      return false;
    }
  }
}

int RandomAccessMechanism::SetEncryption(int on) {
  int previous = mScrambleOn;
  if (on && !mScrambleOn) {
    mScrambleState = kScrambleStart;
    mScrambleUsed = 1;
  }
  mScrambleOn = on ? 1 : 0;
  return previous;
}

// Both directions keep the state as the XOR of every plain byte so far with
// the starting constant, so a reader that starts where the writer started
// recovers the text.
void RandomAccessMechanism::Scramble(void *bytes, int count) {
  auto *p = static_cast<uint8_t *>(bytes);
  for (int i = 0; i < count; ++i) {
    uint8_t plain = p[i];
    p[i] = static_cast<uint8_t>(plain ^ mScrambleState);
    mScrambleState = (mScrambleState ^ plain) & 0xFF;
  }
}

void RandomAccessMechanism::Unscramble(void *bytes, int count) {
  auto *p = static_cast<uint8_t *>(bytes);
  for (int i = 0; i < count; ++i) {
    uint8_t plain = static_cast<uint8_t>(p[i] ^ mScrambleState);
    p[i] = plain;
    mScrambleState = (mScrambleState ^ plain) & 0xFF;
  }
}

bool RandomAccessMechanism::ReadFromMemory(const char *bytes, long length, long &position,
                                           void *buffer, long count, long &got) {
  got = 0;
  if (count == 0)
    return true;
  if (count < 0 || position >= length)
    return false;
  long available = length - position;
  long taken = count < available ? count : available;
  memcpy(buffer, bytes + position, static_cast<size_t>(taken));
  ApplyDecryption(buffer, static_cast<int>(taken));
  position += taken;
  got = taken;
  return true;
}

long RandomAccessMechanism::ClampedPosition(long offset, long length) {
  return offset < 0 ? 0 : (offset > length ? length : offset);
}
