// GuessJapaneseEncoding: tells JIS, EUC-JP and Shift-JIS apart by the byte
// ranges each uses.
#include "foundation/TextEncodings.h"
#include "language/TextEncodingClasses.h"

namespace {

enum class Guess { ASCII, EucOrSjis, Sjis, Euc, NewJis, OldJis, NecJis };

bool In(int c, int low, int high) { return c >= low && c <= high; }

// Reads bytes one at a time; past the end it yields the end mark -1, which
// lies in no byte range.
class ByteReader {
public:
  ByteReader(const unsigned char *bytes, int length) : mBytes(bytes), mLength(length) {}
  int Next() { return mAt < mLength ? mBytes[mAt++] : -1; }
  bool AtEnd() const { return mAt >= mLength; }

private:
  const unsigned char *mBytes;
  int mLength;
  int mAt = 0;
};

Guess Scan(ByteReader &in) {
  Guess guess = Guess::ASCII;
  while ((guess == Guess::ASCII || guess == Guess::EucOrSjis) && !in.AtEnd()) {
    int c = in.Next();
    if (c == 0x1B) {
      c = in.Next();
      if (c == 0x24) {
        c = in.Next();
        if (c == 0x42)
          guess = Guess::NewJis;
        else if (c == 0x40)
          guess = Guess::OldJis;
      } else if (c == 0x4B) {
        guess = Guess::NecJis;
      }
    } else if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9F)) {
      guess = Guess::Sjis;
    } else if (c == 0x8E) {
      c = in.Next();
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0) || In(c, 0xE0, 0xFC))
        guess = Guess::Sjis;
      else if (In(c, 0xA1, 0xDF))
        guess = Guess::EucOrSjis;
    } else if (In(c, 0xA1, 0xDF)) {
      c = in.Next();
      if (In(c, 0xF0, 0xFE)) {
        guess = Guess::Euc;
      } else if (In(c, 0xA1, 0xDF)) {
        guess = Guess::EucOrSjis;
      } else if (In(c, 0xE0, 0xEF)) {
        guess = Guess::EucOrSjis;
        while (guess == Guess::EucOrSjis) {
          c = in.Next();
          if (c < 0x40) // a low byte or the end ends the run
            break;
          if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9F))
            guess = Guess::Sjis;
          else if (In(c, 0xFD, 0xFE))
            guess = Guess::Euc;
        }
      } else if (c != 0xFF) {
        guess = Guess::Sjis;
      }
    } else if (In(c, 0xF0, 0xFE)) {
      guess = Guess::Euc;
    } else if (In(c, 0xE0, 0xEF)) {
      c = in.Next();
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0))
        guess = Guess::Sjis;
      else if (In(c, 0xFD, 0xFE))
        guess = Guess::Euc;
      else if (In(c, 0xA1, 0xFC))
        guess = Guess::EucOrSjis;
    }
  }
  return guess;
}

} // namespace

extern "C" TextEncodingObject *guessJapaneseEncoding(stringStorage *text) {
  if (!text || text->mEncoding != kEncodingUnknown)
    return NewTextEncodingForCode(text ? text->mEncoding : kEncodingASCII);
  ByteReader in(reinterpret_cast<const unsigned char *>(text->mBuffer + 1), text->mLength);
  switch (Scan(in)) {
  case Guess::NewJis:
  case Guess::OldJis:
  case Guess::NecJis:
    return getTextEncoding(0x820, 0, 0);
  case Guess::Euc:
    return getTextEncoding(0x920, 0, 0);
  case Guess::Sjis:
    return getTextEncoding(0xA01, 0, 0);
  case Guess::ASCII:
  case Guess::EucOrSjis:
    break;
  }
  return nullptr;
}
