// The stream classes driven through their entry points as compiled code
// calls them, on files in a scratch folder opened through FolderItems: line
// ends across fills, runs, positions and tags of TextInputStream; line ends
// of TextOutputStream; byte orders and short reads of BinaryStream; hostile
// files that must end every read loop; the inert ResourceFork.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/FileStreamObjects.h"
#include "files/FilesTestSupport.h"
#include "files/FolderItemClass.h"
#include "foundation/TextEncodings.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"
#include "support/AlertRecorder.h"

// The inert fork's members have no header of their own.
extern "C" int32_t resourceForkTypeCount(RuntimeObject *, int32_t);
extern "C" stringStorage *resourceForkGetResource(RuntimeObject *, stringStorage *, int32_t);

namespace {

uint32_t TagOf(stringStorage *s) { return s ? s->mEncoding : kEncodingASCII; }

class FileStreamsTest : public testing::Test {
protected:
  RuntimeObject *Item(const std::string &name) {
    stringStorage *path = TextOfBytes(mTree.Path(name));
    RuntimeObject *item = RuntimeGetFolderItem(path);
    stringStorage::RemoveReference(path);
    return item;
  }
  // A new stream of the kind over the named file (nil when it cannot be had).
  RuntimeObject *OpenText(const std::string &name) {
    ObjectHolder item(Item(name));
    return FolderItemOpenTextFile(item.get());
  }
  RuntimeObject *CreateText(const std::string &name) {
    ObjectHolder item(Item(name));
    return FolderItemCreateTextFile(item.get());
  }
  RuntimeObject *OpenBinary(const std::string &name, bool readWrite = false) {
    ObjectHolder item(Item(name));
    return FolderItemOpenBinaryFile(item.get(), readWrite ? 1 : 0);
  }
  RuntimeObject *CreateBinary(const std::string &name) {
    ObjectHolder item(Item(name));
    stringStorage *type = TextOfBytes("bin");
    RuntimeObject *stream = FolderItemCreateBinaryFile(item.get(), type);
    stringStorage::RemoveReference(type);
    return stream;
  }
  std::string Read(const std::string &name) { return ScratchTree::Read(mTree.Path(name)); }

  ScratchTree mTree;
};

// Every line of a text stream until EOF, with a bound so that a loop that
// never ends fails instead of hanging.
std::vector<std::string> LinesUntilEOF(RuntimeObject *stream, int bound = 10000) {
  std::vector<std::string> lines;
  while (!TextInputStreamEOF(stream) && int(lines.size()) < bound)
    lines.push_back(TakeBytes(TextInputStreamReadLine(stream, nullptr)));
  return lines;
}

TEST_F(FileStreamsTest, ReadLineSplitsAtEveryKindOfLineEndAcrossFills) {
  const std::string longLine(3000, 'x');
  const std::string filled(1023, 'f');
  struct Case {
    const char *what;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"mixed ends", "a\r\nb\n\nc", {"a", "b", "", "c"}},
      {"LF CR ends two lines", "a\n\rb", {"a", "", "b"}},
      {"CR LF across two fills", filled + "\r\nnext", {filled, "next"}},
      {"CR alone at a fill's end", filled + "\rnext", {filled, "next"}},
      {"a line over three fills", longLine, {longLine}},
      {"a long line then a short one", longLine + "\nend\n", {longLine, "end"}},
  };
  for (const Case &c : cases) {
    mTree.Write("lines", c.bytes);
    ObjectHolder stream(OpenText("lines"));
    ASSERT_NE(stream.get(), nullptr) << c.what;
    EXPECT_EQ(LinesUntilEOF(stream.get()), c.lines) << c.what;
    EXPECT_EQ(TakeBytes(TextInputStreamReadLine(stream.get(), nullptr)), "") << c.what;
    EXPECT_EQ(TextInputStreamEOF(stream.get()), 1) << c.what;
  }
}

TEST_F(FileStreamsTest, ReadAfterALineAndPositionsSeeTheFileAsTheProgramDoes) {
  mTree.Write("text", "a\r\nbcdef\nrest");
  ObjectHolder stream(OpenText("text"));
  EXPECT_EQ(TakeBytes(TextInputStreamReadLine(stream.get(), nullptr)), "a");
  EXPECT_EQ(TextInputStreamGetPosition(stream.get(), 0), 3);
  EXPECT_EQ(TakeBytes(TextInputStreamRead(stream.get(), 3, nullptr)), "bcd");
  EXPECT_EQ(TextInputStreamGetPosition(stream.get(), 0), 6);
  EXPECT_EQ(TextInputStreamRead(stream.get(), 0, nullptr), nullptr);
  TextInputStreamSetPosition(stream.get(), 0, -5);
  EXPECT_EQ(TextInputStreamGetPosition(stream.get(), 0), 0);
  EXPECT_EQ(TakeBytes(TextInputStreamReadLine(stream.get(), nullptr)), "a");
  EXPECT_EQ(TakeBytes(TextInputStreamReadAll(stream.get(), nullptr)), "bcdef\nrest");
  EXPECT_EQ(TextInputStreamEOF(stream.get()), 1);
}

TEST_F(FileStreamsTest, ReadTakesBufferedBytesThenTheFileAndNoMoreThanItHolds) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i)
    bytes += char('a' + i % 26);
  mTree.Write("run", bytes);
  ObjectHolder stream(OpenText("run"));
  EXPECT_EQ(TakeBytes(TextInputStreamRead(stream.get(), 10, nullptr)), bytes.substr(0, 10));
  EXPECT_EQ(TakeBytes(TextInputStreamRead(stream.get(), 2000, nullptr)), bytes.substr(10, 2000));
  // A count far beyond the file: what is left, without asking for the count.
  EXPECT_EQ(TakeBytes(TextInputStreamRead(stream.get(), 0x7FFFFFFF, nullptr)), bytes.substr(2010));
  EXPECT_EQ(TextInputStreamRead(stream.get(), 10, nullptr), nullptr);
  EXPECT_EQ(TextInputStreamEOF(stream.get()), 1);
}

TEST_F(FileStreamsTest, TextsAreTaggedWithTheArgumentOrTheStreamsEncoding) {
  mTree.Write("tags", "one\ntwo\nthree\n");
  ObjectHolder stream(OpenText("tags"));
  auto *encoding = reinterpret_cast<TextEncodingObject *>(
      objGetter(stream.get(), int32_t(offsetof(TextInputStreamObject, encoding))));
  EXPECT_EQ(GetEncodingFromTEObject(encoding), int32_t(kEncodingUTF8));
  RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(encoding));

  stringStorage *line = TextInputStreamReadLine(stream.get(), nullptr);
  EXPECT_EQ(TagOf(line), kEncodingUTF8);
  EXPECT_EQ(TakeBytes(line), "one");
  TextEncodingObject *ascii = GetEncodingObjectFromCode(kEncodingASCII);
  line = TextInputStreamReadLine(stream.get(), ascii);
  EXPECT_EQ(TagOf(line), kEncodingASCII);
  EXPECT_EQ(TakeBytes(line), "two");
  // Setting the property changes the tag of what follows.
  objSetter(stream.get(), int32_t(offsetof(TextInputStreamObject, encoding)),
            reinterpret_cast<RuntimeObject *>(ascii));
  line = TextInputStreamRead(stream.get(), 5, nullptr);
  EXPECT_EQ(TagOf(line), kEncodingASCII);
  EXPECT_EQ(TakeBytes(line), "three");
  RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(ascii));
}

TEST_F(FileStreamsTest, WriteLineEndsWithTheDelimiterOrALineFeed) {
  {
    ObjectHolder stream(CreateText("out"));
    ASSERT_NE(stream.get(), nullptr);
    stringStorage *line = TextOfBytes("first");
    TextOutputStreamWriteLine(stream.get(), line);
    TextOutputStreamWriteLine(stream.get(), nullptr);
    stringStorage *crlf = TextOfBytes("\r\n");
    stringSetter(stream.get(), int32_t(offsetof(TextOutputStreamObject, delimiter)), crlf);
    stringStorage::RemoveReference(crlf);
    TextOutputStreamWriteLine(stream.get(), line);
    TextOutputStreamWrite(stream.get(), line);
    TextOutputStreamWrite(stream.get(), nullptr);
    stringStorage::RemoveReference(line);
    EXPECT_EQ(TextOutputStreamLastErrorGetter(stream.get()), 0);
  } // the destructor closes the file
  EXPECT_EQ(Read("out"), "first\n\nfirst\r\nfirst");
}

TEST_F(FileStreamsTest, BinaryValuesFollowTheStreamsByteOrder) {
  {
    ObjectHolder stream(CreateBinary("bin"));
    ASSERT_NE(stream.get(), nullptr);
    BinaryStreamWriteShort(stream.get(), 1);
    BinaryStreamWriteLong(stream.get(), -2);
    boolSetter(stream.get(), int32_t(offsetof(BinaryStreamObject, littleEndian)), 1);
    BinaryStreamWriteShort(stream.get(), 1);
    BinaryStreamWriteLong(stream.get(), -2);
    BinaryStreamWriteBoolean(stream.get(), 7);
    BinaryStreamWriteByte(stream.get(), 0x1FF);
  }
  EXPECT_EQ(Read("bin"),
            std::string("\x00\x01\xFF\xFF\xFF\xFE\x01\x00\xFE\xFF\xFF\xFF\x01\xFF", 14));

  mTree.Write("in", std::string("\xFF\xFE\xFF\xFE\xFF\x00\x02", 7));
  ObjectHolder in(OpenBinary("in"));
  EXPECT_EQ(BinaryStreamReadShort(in.get()), -2);
  boolSetter(in.get(), int32_t(offsetof(BinaryStreamObject, littleEndian)), 1);
  EXPECT_EQ(BinaryStreamReadShort(in.get()), -257);
  EXPECT_EQ(BinaryStreamReadByte(in.get()), 255);
  EXPECT_EQ(BinaryStreamReadBoolean(in.get()), 0);
  EXPECT_EQ(BinaryStreamEOF(in.get()), 0);
  EXPECT_EQ(BinaryStreamReadLong(in.get()), 0); // one byte left: a short read
  EXPECT_EQ(BinaryStreamEOF(in.get()), 1);
  BinaryStreamSetPosition(in.get(), 0, 6);
  EXPECT_EQ(BinaryStreamEOF(in.get()), 0);
  EXPECT_EQ(BinaryStreamReadBoolean(in.get()), 1);
}

TEST_F(FileStreamsTest, StringsOfABinaryStreamAreCutToWhatIsThere) {
  {
    ObjectHolder stream(CreateBinary("strings"));
    stringStorage *text = TextOfBytes(std::string(300, 'p'));
    BinaryStreamWritePString(stream.get(), text);
    BinaryStreamWritePString(stream.get(), nullptr);
    BinaryStreamWrite(stream.get(), text);
    stringStorage::RemoveReference(text);
  }
  const std::string written = Read("strings");
  ASSERT_EQ(written.size(), 256u + 1 + 300);
  EXPECT_EQ(uint8_t(written[0]), 255);
  EXPECT_EQ(written[256], '\0');

  mTree.Write("short", std::string("\x05"
                                   "ab",
                                   3));
  ObjectHolder stream(OpenBinary("short"));
  TextEncodingObject *utf8 = GetEncodingObjectFromCode(kEncodingUTF8);
  stringStorage *text = BinaryStreamReadPString(stream.get(), utf8);
  EXPECT_EQ(TagOf(text), kEncodingUTF8);
  EXPECT_EQ(TakeBytes(text), "ab");
  EXPECT_EQ(BinaryStreamEOF(stream.get()), 1);
  EXPECT_EQ(BinaryStreamReadPString(stream.get(), nullptr), nullptr);
  RuntimeUnlockObject(reinterpret_cast<RuntimeObject *>(utf8));

  mTree.Write("ten", "0123456789");
  ObjectHolder ten(OpenBinary("ten"));
  BinaryStreamSetPosition(ten.get(), 0, 6);
  EXPECT_EQ(TakeBytes(BinaryStreamRead(ten.get(), 4, nullptr)), "6789");
  EXPECT_EQ(BinaryStreamEOF(ten.get()), 0); // up to the end, not past it
  BinaryStreamSetPosition(ten.get(), 0, 6);
  stringStorage *rest = BinaryStreamRead(ten.get(), 10, nullptr);
  EXPECT_EQ(TagOf(rest), kEncodingUnknown);
  EXPECT_EQ(TakeBytes(rest), "6789");
  EXPECT_EQ(BinaryStreamEOF(ten.get()), 1); // asked for more than was there
  BinaryStreamSetPosition(ten.get(), 0, 10);
  EXPECT_EQ(BinaryStreamRead(ten.get(), 10, nullptr), nullptr);
  EXPECT_EQ(BinaryStreamEOF(ten.get()), 1); // a While Not EOF loop of Reads ends
  BinaryStreamSetPosition(ten.get(), 0, 0);
  EXPECT_EQ(TakeBytes(BinaryStreamRead(ten.get(), 0x7FFFFFFF, nullptr)), "0123456789");
  EXPECT_EQ(BinaryStreamGetLength(ten.get(), 0), 10);
  EXPECT_EQ(BinaryStreamGetPosition(ten.get(), 0), 10);
}

// Seeded random values of every type, in both byte orders, read back equal.
TEST_F(FileStreamsTest, RandomTypedWritesReadBackEqual) {
  for (int littleEndian = 0; littleEndian <= 1; ++littleEndian) {
    std::mt19937 random(20261211 + littleEndian);
    struct Value {
      int kind;
      int32_t integer;
      double real;
    };
    std::vector<Value> values;
    for (int i = 0; i < 500; ++i) {
      int kind = int(random() % 6);
      int32_t integer = int32_t(random());
      double real = double(int32_t(random())) / double(1 + random() % 1000);
      if (kind == 0)
        integer &= 0xFF;
      if (kind == 1)
        integer = int16_t(integer);
      if (kind == 4)
        real = double(float(real));
      values.push_back({kind, integer, real});
    }
    {
      ObjectHolder out(CreateBinary("typed"));
      boolSetter(out.get(), int32_t(offsetof(BinaryStreamObject, littleEndian)), littleEndian);
      for (const Value &v : values) {
        switch (v.kind) {
        case 0:
          BinaryStreamWriteByte(out.get(), v.integer);
          break;
        case 1:
          BinaryStreamWriteShort(out.get(), v.integer);
          break;
        case 2:
          BinaryStreamWriteLong(out.get(), v.integer);
          break;
        case 3:
          BinaryStreamWriteDouble(out.get(), v.real);
          break;
        case 4:
          BinaryStreamWriteFloat(out.get(), v.real);
          break;
        default:
          BinaryStreamWriteBoolean(out.get(), v.integer & 1);
          break;
        }
      }
    }
    ObjectHolder in(OpenBinary("typed"));
    boolSetter(in.get(), int32_t(offsetof(BinaryStreamObject, littleEndian)), littleEndian);
    for (size_t i = 0; i < values.size(); ++i) {
      const Value &v = values[i];
      switch (v.kind) {
      case 0:
        EXPECT_EQ(BinaryStreamReadByte(in.get()), v.integer) << i;
        break;
      case 1:
        EXPECT_EQ(BinaryStreamReadShort(in.get()), v.integer) << i;
        break;
      case 2:
        EXPECT_EQ(BinaryStreamReadLong(in.get()), v.integer) << i;
        break;
      case 3:
        EXPECT_EQ(BinaryStreamReadDouble(in.get()), v.real) << i;
        break;
      case 4:
        EXPECT_EQ(BinaryStreamReadFloat(in.get()), v.real) << i;
        break;
      default:
        EXPECT_EQ(BinaryStreamReadBoolean(in.get()), v.integer & 1) << i;
        break;
      }
    }
    EXPECT_EQ(BinaryStreamEOF(in.get()), 0);
    EXPECT_EQ(BinaryStreamReadByte(in.get()), 0);
    EXPECT_EQ(BinaryStreamEOF(in.get()), 1);
  }
}

// A folder opened as a file gives no bytes and reports no end of file: every
// read loop must end at once, with the system's error kept.
TEST_F(FileStreamsTest, AFolderOpenedAsAFileEndsEveryReadLoop) {
  mTree.Folder("folder");
  ObjectHolder text(OpenText("folder"));
  ASSERT_NE(text.get(), nullptr);
  EXPECT_LE(LinesUntilEOF(text.get(), 3).size(), 1u);
  EXPECT_EQ(TextInputStreamEOF(text.get()), 1);
  EXPECT_EQ(TextInputStreamReadAll(text.get(), nullptr), nullptr);
  EXPECT_EQ(TextInputStreamLastErrorGetter(text.get()), EISDIR);

  ObjectHolder binary(OpenBinary("folder"));
  ASSERT_NE(binary.get(), nullptr);
  int reads = 0;
  while (!BinaryStreamEOF(binary.get()) && reads < 3) {
    BinaryStreamReadLong(binary.get());
    ++reads;
  }
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(BinaryStreamLastErrorGetter(binary.get()), EISDIR);
}

// Random bytes through every reader: each loop ends, and what comes back is
// made of the file's bytes.
TEST_F(FileStreamsTest, RandomFilesEndEveryReaderCleanly) {
  std::mt19937 random(43);
  const char alphabet[] = "ab\r\n\r\r\n\n\0\xFF";
  for (int file = 0; file < 2000; ++file) {
    std::string bytes(random() % 2100, '\0');
    for (char &c : bytes)
      c = alphabet[random() % (sizeof alphabet - 1)];
    mTree.Write("random", bytes);
    size_t total = 0;
    {
      ObjectHolder stream(OpenText("random"));
      const int lines = int(LinesUntilEOF(stream.get(), int(bytes.size()) + 2).size());
      ASSERT_LE(lines, int(bytes.size()) + 1) << file;
    }
    {
      ObjectHolder stream(OpenText("random"));
      while (!TextInputStreamEOF(stream.get()) && total <= bytes.size())
        total += TakeBytes(TextInputStreamRead(stream.get(), int32_t(1 + random() % 700), nullptr))
                     .size();
      ASSERT_EQ(total, bytes.size()) << file;
    }
    ObjectHolder binary(OpenBinary("random"));
    int reads = 0;
    while (!BinaryStreamEOF(binary.get()) && reads <= int(bytes.size())) {
      switch (random() % 4) {
      case 0:
        BinaryStreamReadLong(binary.get());
        break;
      case 1:
        BinaryStreamReadDouble(binary.get());
        break;
      case 2:
        stringStorage::RemoveReference(BinaryStreamReadPString(binary.get(), nullptr));
        break;
      default:
        stringStorage::RemoveReference(BinaryStreamRead(binary.get(), 5, nullptr));
        break;
      }
      ++reads;
    }
    ASSERT_LE(reads, int(bytes.size()) + 1) << file;
  }
}

TEST_F(FileStreamsTest, ClosedStreamsAnswerEmptyValuesAndAlertWhereTheyMust) {
  mTree.Write("closed", "text");
  AlertRecorder alerts;
  ObjectHolder text(OpenText("closed"));
  TextInputStreamClose(text.get());
  TextInputStreamClose(text.get());
  EXPECT_EQ(TextInputStreamReadLine(text.get(), nullptr), nullptr);
  EXPECT_EQ(TextInputStreamEOF(text.get()), 0);
  EXPECT_EQ(alerts.count(), 0u);
  EXPECT_EQ(TextInputStreamLastErrorGetter(text.get()), 0);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kClosedStreamAlert));

  ObjectHolder out(CreateText("closed"));
  TextOutputStreamClose(out.get());
  TextOutputStreamWriteLine(out.get(), nullptr);
  TextOutputStreamFlush(out.get());
  EXPECT_EQ(TextOutputStreamLastErrorGetter(out.get()), 0);
  EXPECT_EQ(alerts.count(), 3u);

  ObjectHolder binary(OpenBinary("closed"));
  BinaryStreamClose(binary.get());
  BinaryStreamFlush(binary.get());
  EXPECT_EQ(BinaryStreamLastErrorGetter(binary.get()), 0);
  EXPECT_EQ(BinaryStreamEOF(binary.get()), 1);
  EXPECT_EQ(BinaryStreamReadLong(binary.get()), 0);
  EXPECT_EQ(alerts.count(), 3u);
  EXPECT_EQ(BinaryStreamLastErrorGetter(nullptr), 0);
  ASSERT_EQ(alerts.count(), 4u);
  EXPECT_EQ(alerts.alerts()[3].message, kNoBinaryStreamMessage);
}

TEST_F(FileStreamsTest, AResourceForkAnswersNothing) {
  ObjectHolder fork(CreateInstance(ResourceForkClass()));
  ASSERT_NE(fork.get(), nullptr);
  EXPECT_EQ(resourceForkTypeCount(fork.get(), 0), 0);
  stringStorage *type = TextOfBytes("TEXT");
  EXPECT_EQ(resourceForkGetResource(fork.get(), type, 128), nullptr);
  stringStorage::RemoveReference(type);
  ObjectHolder item(Item("any"));
  EXPECT_EQ(folderOpenResourceFork(item.get()), nullptr);
  EXPECT_EQ(folderCreateResourceFork(item.get(), nullptr), nullptr);
}

} // namespace
