#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/FileHandle.h"
#include "foundation/FilePtr.h"
#include "foundation/FileStreams.h"
#include "foundation/TextInputStream.h"
#include "support/AlertRecorder.h"

namespace {

std::string Contents(FileHandle &stream) {
  return std::string(*stream.GetHandle(), static_cast<size_t>(stream.GetLength()));
}

std::string Text(const string &s) {
  return std::string(s.CString(), static_cast<size_t>(s.Length()));
}

string Bytes(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()));
  return s;
}

// A stream over fixed bytes that hands them out a few at a time and can stop
// giving bytes without ever reporting its end, as a pipe or socket may.
class TrickleStream final : public RandomAccessMechanism {
public:
  TrickleStream(std::string bytes, long perRead, bool reportsEnd)
      : mBytes(std::move(bytes)), mPerRead(perRead), mReportsEnd(reportsEnd) {}
  bool ReadData(void *buffer, long count, long &got) override {
    got = std::min<long>({count, mPerRead, static_cast<long>(mBytes.size()) - mPosition});
    memcpy(buffer, mBytes.data() + mPosition, static_cast<size_t>(got));
    mPosition += got;
    ++mReads;
    return got > 0;
  }
  bool WriteData(const void *, long) override { return false; }
  bool Close() override { return true; }
  bool IsEOF() override { return mReportsEnd && mPosition >= static_cast<long>(mBytes.size()); }
  bool SeekFromStart(long) override { return false; }
  long GetLength() override { return static_cast<long>(mBytes.size()); }
  bool SetLength(long) override { return false; }
  long GetPosition() override { return mPosition; }
  int mReads = 0;

private:
  std::string mBytes;
  long mPerRead;
  bool mReportsEnd;
  long mPosition = 0;
};

} // namespace

TEST(ByteStreams, ShortsAndLongsFollowTheStreamsByteOrder) {
  FileHandle little;
  little.WriteShort(0x1234);
  little.WriteLong(0x01020304);
  EXPECT_EQ(Contents(little), std::string("\x34\x12\x04\x03\x02\x01", 6));

  FileHandle big;
  big.SetBigEndian();
  big.WriteShort(0x1234);
  big.WriteLong(0x01020304);
  EXPECT_EQ(Contents(big), std::string("\x12\x34\x01\x02\x03\x04", 6));

  big.SeekFromStart(0);
  short s = 0;
  int l = 0;
  ASSERT_TRUE(big.ReadShort(s) && big.ReadLong(l));
  EXPECT_EQ(s, 0x1234);
  EXPECT_EQ(l, 0x01020304);
  EXPECT_FALSE(big.ReadShort(s)); // at the end
}

TEST(ByteStreams, DoublesSwapOnlyWithBothFlags) {
  const double value = 1.5;
  std::string host(reinterpret_cast<const char *>(&value), sizeof value);
  std::string swapped(host.rbegin(), host.rend());

  FileHandle bigOnly;
  bigOnly.SetBigEndian();
  bigOnly.WriteDouble(value);
  EXPECT_EQ(Contents(bigOnly), host);

  FileHandle both;
  both.SetBigEndian();
  both.mSwapDoubles = 1;
  both.WriteDouble(value);
  EXPECT_EQ(Contents(both), swapped);
  both.SeekFromStart(0);
  double read = 0;
  ASSERT_TRUE(both.ReadDouble(read));
  EXPECT_EQ(read, value);
}

TEST(ByteStreams, PascalStringsHoldAtMost255Bytes) {
  FileHandle stream;
  ASSERT_TRUE(stream.WritePString(Bytes(std::string(300, 'x'))));
  ASSERT_TRUE(stream.WritePString(string()));
  std::string contents = Contents(stream);
  ASSERT_EQ(contents.size(), 1u + 255u + 1u);
  EXPECT_EQ(static_cast<unsigned char>(contents[0]), 255);

  stream.SeekFromStart(0);
  string read("old");
  ASSERT_TRUE(stream.ReadPString(read));
  EXPECT_EQ(Text(read), std::string(255, 'x'));
  EXPECT_EQ(read.Encoding(), kEncodingUnknown);
  ASSERT_TRUE(stream.ReadPString(read));
  EXPECT_TRUE(read.IsEmpty());
  EXPECT_FALSE(stream.ReadPString(read));

  FilePtr cut;
  cut.Open("\x05"
           "abc",
           4);
  EXPECT_FALSE(cut.ReadPString(read));
  EXPECT_TRUE(read.IsEmpty());
}

TEST(ByteStreams, WriteLineAddsOneLineFeed) {
  FileHandle stream;
  stream.WriteLine(string("one"));
  stream.WriteLine(string());
  EXPECT_EQ(Contents(stream), "one\n\n");
}

TEST(ByteStreams, ScrambledBytesReadBackWithAFreshState) {
  FileHandle stream;
  EXPECT_EQ(stream.SetEncryption(1), 0);
  const std::string plain = "The quick brown fox \x00\xFF jumps";
  stream.WriteData(plain.data(), static_cast<long>(plain.size()));
  EXPECT_NE(Contents(stream), plain);
  EXPECT_EQ(stream.SetEncryption(0), 1);
  EXPECT_EQ(stream.SetEncryption(1), 0); // on again: the state starts over

  stream.SeekFromStart(0);
  std::string read(plain.size(), '\0');
  long got = 0;
  ASSERT_TRUE(stream.ReadData(read.data(), static_cast<long>(read.size()), got));
  EXPECT_EQ(read, plain);
}

TEST(FileHandle, GrowsWithSlackAndTrimsWhenExtracted) {
  FileHandle stream;
  ASSERT_TRUE(stream.WriteData("0123456789", 10));
  EXPECT_EQ(stream.GetLength(), 10);
  EXPECT_EQ(QV::GetHandleSize(stream.GetHandle()), 2058);

  QV::Handle handle = stream.ExtractHandle();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(QV::GetHandleSize(handle), 10);
  EXPECT_EQ(std::string(*handle, 10), "0123456789");
  EXPECT_EQ(stream.GetLength(), 0);
  EXPECT_EQ(stream.GetPosition(), 0);
  QV::DisposeHandle(handle);
}

// Writes of one to eight bytes take a short path while they fit in the
// handle: against writing the same bytes in one piece (the general path),
// with the scramble off and on, appending and overwriting, across the growth
// of the handle.
TEST(FileHandle, SmallWritesMakeWhatOneLargeWriteMakes) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i)
    bytes += char(i * 37 + (i >> 8));
  for (int scrambled = 0; scrambled <= 1; ++scrambled) {
    FileHandle pieces, whole;
    pieces.SetEncryption(scrambled);
    whole.SetEncryption(scrambled);
    for (size_t at = 0, size = 1; at < bytes.size(); at += size, size = size % 8 + 1)
      ASSERT_TRUE(pieces.WriteData(bytes.data() + at, long(std::min(size, bytes.size() - at))));
    ASSERT_TRUE(whole.WriteData(bytes.data(), long(bytes.size())));
    EXPECT_EQ(pieces.GetLength(), long(bytes.size()));
    EXPECT_EQ(pieces.GetPosition(), long(bytes.size()));
    EXPECT_EQ(Contents(pieces), Contents(whole)) << "scrambled " << scrambled;
  }

  // Overwriting inside the data and running past its end.
  FileHandle stream;
  std::string model(100, 'x');
  stream.WriteData(model.data(), 100);
  for (long at : {0L, 37L, 96L, 99L}) {
    stream.SeekFromStart(at);
    ASSERT_TRUE(stream.WriteLong(0x64636261)); // "abcd" in host order
    model.replace(size_t(at), 4, "abcd");
    EXPECT_EQ(stream.GetPosition(), at + 4);
  }
  EXPECT_EQ(Contents(stream), model);
  EXPECT_EQ(stream.GetLength(), 103);
}

TEST(FileHandle, SeeksClampAndAWriteAtTheEndAppends) {
  FileHandle stream;
  stream.WriteData("abc", 3);
  EXPECT_TRUE(stream.SeekFromStart(100));
  EXPECT_EQ(stream.GetPosition(), 3);
  EXPECT_TRUE(stream.IsEOF());
  stream.WriteData("de", 2);
  EXPECT_EQ(Contents(stream), "abcde");
  stream.SeekFromStart(-5);
  EXPECT_EQ(stream.GetPosition(), 0);
  stream.WriteData("X", 1);
  EXPECT_EQ(Contents(stream), "Xbcde");

  char buffer[8];
  long got = 99;
  stream.SeekFromStart(5);
  EXPECT_FALSE(stream.ReadData(buffer, 1, got));
  EXPECT_EQ(got, 0);
  EXPECT_TRUE(stream.ReadData(buffer, 0, got));
}

TEST(FileHandle, SetLengthCutsAndExtendsWithZeros) {
  FileHandle stream;
  stream.WriteData("abcdef", 6);
  ASSERT_TRUE(stream.SetLength(2));
  EXPECT_EQ(stream.GetPosition(), 2);
  ASSERT_TRUE(stream.SetLength(5000));
  EXPECT_EQ(QV::GetHandleSize(stream.GetHandle()), 5000);
  EXPECT_EQ(Contents(stream), std::string("ab") + std::string(4998, '\0'));
  ASSERT_TRUE(stream.SetLength(-3));
  EXPECT_EQ(stream.GetLength(), 0);
}

TEST(FileHandle, OpensACallersHandleWithoutTakingIt) {
  QV::Handle handle = QV::NewHandle(4);
  memcpy(*handle, "wxyz", 4);
  {
    FileHandle stream;
    stream.Open(handle);
    EXPECT_EQ(stream.GetLength(), 4);
    char read[4];
    long got = 0;
    ASSERT_TRUE(stream.ReadData(read, 4, got));
    EXPECT_EQ(std::string(read, 4), "wxyz");
  }
  EXPECT_EQ(QV::GetHandleSize(handle), 4); // still the caller's
  QV::DisposeHandle(handle);
}

TEST(FileHandle, AnImpossibleWriteFailsItAndEveryLaterOne) {
  FileHandle huge;
  huge.WriteData("a", 1);
  EXPECT_FALSE(huge.WriteData("b", 0x7FFFFFFF)); // no handle can hold it
  EXPECT_FALSE(huge.WriteData("c", 1));
  EXPECT_FALSE(huge.Close());
  EXPECT_EQ(huge.ExtractHandle(), nullptr);
}

TEST(FilePtr, ReadsTheCallersBytesAndRefusesChanges) {
  AlertRecorder recorder;
  const char data[] = "hello";
  FilePtr stream;
  stream.Open(data, 5);
  unsigned char byte;
  ASSERT_TRUE(stream.ReadByte(byte));
  EXPECT_EQ(byte, 'h');
  EXPECT_FALSE(stream.WriteData("x", 1));
  EXPECT_FALSE(stream.SetLength(1));
  ASSERT_EQ(recorder.count(), 2u);
  EXPECT_TRUE(ShownAt(recorder.alerts()[0], kFilePtrWriteAlert));
  EXPECT_TRUE(ShownAt(recorder.alerts()[1], kFilePtrSetLengthAlert));
  EXPECT_STREQ(data, "hello");
  EXPECT_TRUE(stream.Close());
}

TEST(FileStreams, EncodedStringsRoundTrip) {
  FileHandle memory;
  OutputStream out(&memory, kEncodingUTF8);
  ASSERT_TRUE(out.WriteEncodedString(Bytes(std::string(100, 'q'))));
  ASSERT_TRUE(out.WriteEncodedString(string()));
  ASSERT_TRUE(out.WriteEncodedInt(-70000));

  memory.SeekFromStart(0);
  InputStream in(&memory);
  string text;
  ASSERT_TRUE(in.ReadEncodedString(text));
  EXPECT_EQ(Text(text), std::string(100, 'q'));
  EXPECT_EQ(text.Encoding(), kEncodingUnknown);
  ASSERT_TRUE(in.ReadEncodedString(text));
  EXPECT_TRUE(text.IsEmpty());
  short narrowed = 0;
  ASSERT_TRUE(in.ReadEncodedShort(narrowed));
  EXPECT_EQ(narrowed, static_cast<short>(-70000));
}

TEST(FileStreams, AStringLongerThanItsDataFailsWithoutTakingTheMemory) {
  FileHandle memory;
  memory.WriteEncodedInt(0x7FFFFFF0); // claims almost 2 GiB
  memory.WriteData("only this", 9);
  memory.SeekFromStart(0);
  InputStream in(&memory);
  string text("kept");
  EXPECT_FALSE(in.ReadEncodedString(text));
  EXPECT_EQ(Text(text), "kept");

  FilePtr cut;
  cut.Open("\x05"
           "abc",
           4);
  InputStream shortStream(&cut);
  EXPECT_FALSE(shortStream.ReadEncodedString(text));
  EXPECT_EQ(Text(text), "kept");
}

TEST(FileStreams, WriteLineConvertsToTheStreamsEncoding) {
  FileHandle memory;
  OutputStream out(&memory, kEncodingMacRoman);
  string ascii("plain");
  ascii.SetEncoding(kEncodingUTF8);
  ASSERT_TRUE(out.WriteLine(ascii));
  EXPECT_EQ(Contents(memory), "plain\n");
}

TEST(FileStreams, ViewsWithoutAStreamAlertAndFail) {
  AlertRecorder recorder;
  OutputStream out;
  InputStream in;
  unsigned char byte;
  string text;
  EXPECT_FALSE(out.WriteByte(1));
  EXPECT_FALSE(out.WriteEncodedString(string("x")));
  EXPECT_FALSE(in.ReadByte(byte));
  EXPECT_FALSE(in.ReadEncodedString(text));
  ASSERT_EQ(recorder.count(), 4u);
  EXPECT_TRUE(ShownAt(recorder.alerts()[0], kOutputWriteByteAlert));
  EXPECT_TRUE(ShownAt(recorder.alerts()[1], kOutputWriteDataAlert));
  EXPECT_TRUE(ShownAt(recorder.alerts()[2], kInputReadByteAlert));
  EXPECT_TRUE(ShownAt(recorder.alerts()[3], kInputReadDataAlert));
}

TEST(TextInputStream, LinesEndAtCRLFOrCRLFAcrossBufferRefills) {
  // The CR of the second line is the 128th byte and its LF the 129th.
  std::string first(125, 'a');
  std::string data = first + "\nb\r\nc\rd\n\ne";
  ASSERT_EQ(data[128 - 1], '\r');
  FileHandle memory;
  memory.WriteData(data.data(), static_cast<long>(data.size()));
  memory.SeekFromStart(0);

  TextInputStream reader(&memory, kEncodingUTF8);
  const char *expected[] = {first.c_str(), "b", "c", "d", "", "e"};
  for (const char *line : expected) {
    ASSERT_FALSE(reader.IsEOF());
    string read = reader.ReadLine();
    EXPECT_EQ(Text(read), line);
    if (!read.IsEmpty()) {
      EXPECT_EQ(read.Encoding(), kEncodingUTF8);
    }
  }
  EXPECT_TRUE(reader.IsEOF());
  EXPECT_TRUE(reader.ReadLine().IsEmpty());
}

// Lines taken straight from the buffer, lines gathered across refills and
// lines longer than the gathering room (spilled into the string) against a
// plain split of the same bytes: every length from 0 to 300 with each kind of
// line end, bytes of every kind on the line (zeros, bytes of 0x80 and above,
// mixed case), so that line ends fall at every offset of the 128-byte
// buffer, a CR LF pair split across two refills included.
TEST(TextInputStream, LinesOfEveryLengthAndEndReadAsAPlainSplit) {
  const std::string ends[] = {"\n", "\r", "\r\n"};
  const std::string filler = std::string("aZ\0\x80\xFF\xC3\xA9", 7);
  std::string data;
  std::vector<std::string> expected;
  for (int length = 0; length <= 300; ++length) {
    std::string line;
    for (int i = 0; i < length; ++i)
      line += filler[size_t(i) % filler.size()];
    expected.push_back(line);
    data += line + ends[size_t(length) % 3];
  }
  expected.push_back("last, without an end");
  data += expected.back();

  FileHandle memory;
  ASSERT_TRUE(memory.WriteData(data.data(), static_cast<long>(data.size())));
  memory.SeekFromStart(0);
  TextInputStream reader(&memory, kEncodingUTF16);
  for (const std::string &line : expected) {
    ASSERT_FALSE(reader.IsEOF());
    string read = reader.ReadLine();
    ASSERT_EQ(Text(read), line) << "line of " << line.size() << " bytes";
    if (!read.IsEmpty()) {
      EXPECT_EQ(read.Encoding(), kEncodingUTF16);
    }
  }
  EXPECT_TRUE(reader.IsEOF());
}

TEST(TextInputStream, AStreamThatStopsWithoutItsEndEndsTheLine) {
  TrickleStream stalled("abc", 2, /*reportsEnd=*/false);
  TextInputStream reader(&stalled, kEncodingASCII);
  EXPECT_EQ(Text(reader.ReadLine()), "abc");
  EXPECT_LT(stalled.mReads, 5);
}

TEST(TextInputStream, WithoutAStreamLinesAreEmpty) {
  TextInputStream reader(nullptr, kEncodingUTF8);
  EXPECT_TRUE(reader.ReadLine().IsEmpty());
  EXPECT_TRUE(reader.IsEOF());
}
