// Thin reading and writing views of a byte stream, with the text encoding
// that lines are written in. A view without a stream alerts on use and fails.
// The views do not own their stream.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/RandomAccessMechanism.h"
#include "foundation/TextEncodings.h"

// The alerts of a view used without a stream, one for each operation.
inline constexpr char kFileStreamsAlertSource[] = "../Universal/FileStreams";
inline constexpr AlertSite kOutputSetEncryptionAlert{kFileStreamsAlertSource, 19, "mechanism"};
inline constexpr AlertSite kOutputWriteDataAlert{kFileStreamsAlertSource, 25, "mechanism"};
inline constexpr AlertSite kOutputWriteByteAlert{kFileStreamsAlertSource, 70, "mechanism"};
inline constexpr AlertSite kOutputWriteShortAlert{kFileStreamsAlertSource, 76, "mechanism"};
inline constexpr AlertSite kOutputWriteLongAlert{kFileStreamsAlertSource, 82, "mechanism"};
inline constexpr AlertSite kOutputWriteLineAlert{kFileStreamsAlertSource, 88, "mechanism"};
inline constexpr AlertSite kInputSetEncryptionAlert{kFileStreamsAlertSource, 95, "mechanism"};
inline constexpr AlertSite kInputReadDataAlert{kFileStreamsAlertSource, 101, "mechanism"};
inline constexpr AlertSite kInputReadByteAlert{kFileStreamsAlertSource, 169, "mechanism"};
inline constexpr AlertSite kInputReadShortAlert{kFileStreamsAlertSource, 175, "mechanism"};
inline constexpr AlertSite kInputReadLongAlert{kFileStreamsAlertSource, 181, "mechanism"};

class OutputStream {
public:
  explicit OutputStream(RandomAccessMechanism *mechanism = nullptr,
                        uint32_t encoding = kEncodingUnknown)
      : mMechanism(mechanism), mEncoding(encoding) {}

  int SetEncryption(int on);
  bool WriteData(const void *buffer, long count);
  bool WriteByte(int value);
  bool WriteShort(int value);
  bool WriteLong(int value);
  // The text converted to the view's encoding, then a line feed.
  bool WriteLine(const string &text);
  bool WriteEncodedInt(int value);
  // The byte length as an encoded integer, then the bytes.
  bool WriteEncodedString(const string &text);

  RandomAccessMechanism *mMechanism;
  uint32_t mEncoding;
};

class InputStream {
public:
  explicit InputStream(RandomAccessMechanism *mechanism = nullptr,
                       uint32_t encoding = kEncodingUnknown)
      : mMechanism(mechanism), mEncoding(encoding) {}

  int SetEncryption(int on);
  bool ReadData(void *buffer, long count, long &got);
  bool ReadByte(unsigned char &value);
  bool ReadShort(short &value);
  bool ReadLong(int &value);
  bool ReadEncodedInt(int &value);
  // The encoded integer narrowed to 16 bits.
  bool ReadEncodedShort(short &value);
  // An encoded length and that many bytes, tagged kEncodingUnknown (a length
  // of 0 or less gives the empty string). The bytes are read in chunks, so a
  // length larger than the data costs no more memory than the data; on any
  // failure text is left unchanged.
  bool ReadEncodedString(string &text);

  RandomAccessMechanism *mMechanism;
  uint32_t mEncoding;
};
