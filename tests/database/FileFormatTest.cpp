// The bytes of the built-in database file, against hand-made fixtures, and
// the order of derived keys.
#include <gtest/gtest.h>

#include "DatabaseTestSupport.h"
#include "database/DatabaseFormat.h"
#include "database/StorageRows.h"

using namespace dbformat;

namespace {

std::string Block(const std::string &file, int n) {
  return file.substr(size_t(kHeaderSize) + size_t(n) * kBlockSize, kBlockSize);
}

// A block image: its header fields, then the record bytes, zero-padded.
std::string BlockImage(const char *headerHex, const std::string &records) {
  std::string image = Hex(headerHex) + records;
  image.resize(kBlockSize, '\0');
  return image;
}

TEST(DatabaseFileFormat, EmptyDatabaseIsHeaderAndFourBlocks) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("empty.db");
  dbDatabase *db = CreateZANTPath(string(path.c_str()));
  ASSERT_NE(db, nullptr);
  FreeZANTHandle(db);

  std::string file = DatabaseScratch::Read(path);
  ASSERT_EQ(file.size(), size_t(64 + 4 * 8192));
  // Transaction 1 made everything; the next unique key is 4.
  EXPECT_EQ(file.substr(0, 64), Hex("FEEDDBDB 00000001 00000001 00000000 00000004 00000000") +
                                    std::string(40, '\0'));
  // The contents records sort sys$blob, sys$fields, sys$tables.
  std::string contents = Hex("001A 41 000001 00000003 00000003 00000008") + "sys$blob" +
                         Hex("001C 41 000001 00000002 00000002 0000000A") + "sys$fields" +
                         Hex("001C 41 000001 00000001 00000001 0000000A") + "sys$tables";
  EXPECT_EQ(Block(file, 0), BlockImage("BEEF0002 00000000 00000001 FFFFFFFF 0052", contents));
  EXPECT_EQ(Block(file, 1), BlockImage("BEEF0003 00000001 00000001 00000000 0000", ""));
  EXPECT_EQ(Block(file, 2), BlockImage("BEEF0003 00000002 00000001 00000001 0000", ""));
  EXPECT_EQ(Block(file, 3), BlockImage("BEEF0003 00000003 00000001 00000002 0000", ""));
}

TEST(DatabaseFileFormat, RowAndBlobRecords) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("row.db");
  FreeZANTHandle(CreateZANTPath(string(path.c_str())));
  dbDatabase *db = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(db, nullptr);
  // Table id 4 (its stream's contents record takes key 5, block 4); the
  // catalogue rows take row ids 6 to 8; the row takes 9.
  CreateTable(db, "t", {{"id", 3, false}, {"name", 5}}, {0});
  ASSERT_EQ(Insert(db, "t", {{"id", "1"}, {"name", "a"}}), 0);
  FreeZANTHandle(db);
  std::string file = DatabaseScratch::Read(path);
  ASSERT_EQ(file.size(), size_t(64 + 5 * 8192));
  // Reopened: transaction 2 stamps the row.
  EXPECT_EQ(Block(file, 4).substr(0, 18 + 23),
            Hex("BEEF0003 00000004 00000002 FFFFFFFF 0017"
                "0017 41 000002 00000009 00 03 00000001 01 05 00000001 61"));

  // A 4,001-byte BLOB: a 4,000-byte piece, a 1-byte piece and their list.
  db = OpenZANTPath(string(path.c_str()));
  CreateTable(db, "b", {{"v", 15}});
  ASSERT_EQ(Insert(db, "b", {{"v", std::string(4000, 'x') + "y"}}), 0);
  FreeZANTHandle(db);
  file = DatabaseScratch::Read(path);
  std::string blob = Block(file, 3);
  // Keys are the ids least significant byte first: pieces 14 and 15, list 16.
  ASSERT_EQ(blob.substr(16, 2), Hex("0FED")); // 4,020 + 21 + 36 bytes in use
  std::string piece = blob.substr(18, 4020);
  EXPECT_EQ(piece.substr(0, 20), Hex("0FB4 41 000003 0000000E 01 0E 00000FA4 00000000"));
  EXPECT_EQ(piece.substr(20), std::string(4000, 'x'));
  EXPECT_EQ(blob.substr(18 + 4020, 21), Hex("0015 41 000003 0000000F 01 0E 00000005 00000000") + "y");
  EXPECT_EQ(blob.substr(18 + 4041, 36),
            Hex("0024 41 000003 00000010 01 0E 00000010 00000001 0000000E 00000FA0 0000000F 00000001"));
}

// Key order of values of every kind.
TEST(DatabaseFileFormat, KeyOrder) {
  auto key = [](uint8_t type, const std::string &stored) {
    KeyBuffer k;
    if (type == 0) {
      k.bytes[k.length++] = 0;
    } else {
      FieldRef f;
      f.type = type;
      f.value = reinterpret_cast<const uint8_t *>(stored.data());
      f.size = int(stored.size());
      k.bytes[k.length++] = 1;
      AppendKeyForm(k, f);
    }
    return std::string(reinterpret_cast<char *>(k.bytes), size_t(k.length));
  };
  auto dbl = [](double d) {
    uint8_t b[8];
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    Store64(b, bits);
    return std::string(reinterpret_cast<char *>(b), 8);
  };
  auto text = [](const std::string &s) { return Hex("00000000").replace(3, 1, 1, char(s.size())) + s; };
  struct Case {
    const char *what;
    std::string lower, higher;
  } cases[] = {
      {"-0.5 < -0.25", key(7, dbl(-0.5)), key(7, dbl(-0.25))},
      {"-1 < 0", key(7, dbl(-1)), key(7, dbl(0))},
      {"0 < 2.5", key(7, dbl(0)), key(7, dbl(2.5))},
      {"float -3 < float 1", key(6, Hex("C0400000")), key(6, Hex("3F800000"))},
      {"int -1 < int 1", key(3, Hex("FFFFFFFF")), key(3, Hex("00000001"))},
      {"smallint -32768 < 0", key(2, Hex("8000")), key(2, Hex("0000"))},
      {"NULL first", key(0, ""), key(3, Hex("80000000"))},
      {"A < a", key(5, text("A")), key(5, text("a"))},
      {"a < B", key(5, text("a")), key(5, text("B"))},
      {"shorter first", key(5, text("ab")), key(5, text("abc"))},
      {"date order", key(8, Hex("07D0 0001 001F")), key(8, Hex("07D0 0002 0001"))},
  };
  for (const Case &c : cases)
    EXPECT_LT(CompareKeys(reinterpret_cast<const uint8_t *>(c.lower.data()), int(c.lower.size()),
                          reinterpret_cast<const uint8_t *>(c.higher.data()), int(c.higher.size())),
              0)
        << c.what;

  // Rows of a table without key columns order by the row id's bytes, least
  // significant first: row 256 before row 1.
  auto rowKey = [](uint32_t id) {
    std::vector<uint8_t> record(10, 0);
    Store16(record.data(), 10);
    Store32(record.data() + 6, id);
    KeyBuffer k;
    RecordKey(kTableBlock, record.data(), 10, nullptr, 0, k);
    return std::string(reinterpret_cast<char *>(k.bytes), size_t(k.length));
  };
  EXPECT_EQ(rowKey(256), Hex("00010000"));
  EXPECT_LT(rowKey(256), rowKey(1));
}

TEST(DatabaseFileFormat, DateAndTimeText) {
  int16_t p[3];
  EXPECT_TRUE(ParseDateText(" 2004-2-29 10:00 ", 17, p));
  EXPECT_EQ(p[0] * 10000 + p[1] * 100 + p[2], 20040229);
  EXPECT_TRUE(ParseTimeText("2004-2-29 10:05", 15, p));
  EXPECT_EQ(p[0] * 10000 + p[1] * 100 + p[2], 100500);
  EXPECT_TRUE(ParseTimeText("7:08:09", 7, p));
  EXPECT_EQ(p[2], 9);
  for (const char *bad : {"2004-2", "2004-2-3-4", "x-1-2", ""}) EXPECT_FALSE(ParseDateText(bad, int(strlen(bad)), p)) << bad;
  for (const char *bad : {"7", "1:2:3:4", "a:b"}) EXPECT_FALSE(ParseTimeText(bad, int(strlen(bad)), p)) << bad;
}

} // namespace
