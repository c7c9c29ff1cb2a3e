// The storage engine against a std::map model: random inserts, deletes,
// key-changing updates, commits, rollbacks and reopenings, with keys long
// enough to force splits and new roots, checking the tree after every step.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "DatabaseTestSupport.h"
#include "database/StorageRows.h"

using namespace dbformat;

namespace {

const uint8_t kKeyColumns[] = {0};
const string kTable("t");

std::string KeyText(int k) {
  // Widths vary so that index records are large and trees grow deep.
  int width = 5 + (k * 7919) % 1400;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%07d", k);
  return std::string(size_t(width) - 5, '0') + digits;
}

std::vector<uint8_t> Row(int k, const std::string &value) {
  std::vector<RowField> fields(2);
  fields[0].column = 0, fields[0].type = kColumnText;
  fields[0].bytes.ConstructFromBuffer(KeyText(k).data(), int(KeyText(k).size()));
  fields[1].column = 1, fields[1].type = kColumnText;
  fields[1].bytes.ConstructFromBuffer(value.data(), int(value.size()));
  return BuildDatabaseRecord(fields);
}

std::unique_ptr<KeyBuffer> KeyOf(int k) {
  std::vector<uint8_t> row = Row(k, "");
  auto key = std::make_unique<KeyBuffer>();
  RowKey(row.data(), int(row.size()), kKeyColumns, 1, *key);
  return key;
}

std::string Field(const uint8_t *record, int length, int column) {
  FieldRef f;
  if (!FindField(record, length, column, f) || f.type != kColumnText) return "<none>";
  return std::string(reinterpret_cast<const char *>(f.value + 4), Load32(f.value));
}

int KeyNumber(const std::string &text) { return std::stoi(text.substr(text.size() - 7)); }

class TreeChecker {
public:
  explicit TreeChecker(qvdbDatabase *db) : mDb(db) {}

  // Walks the stream: leaves at one depth, live keys strictly rising, every
  // index key at most the keys below it, records filling the used length.
  void Check(uint32_t root) {
    mLeafDepth = -1;
    mLastKey.clear();
    Walk(root, 0, {});
  }
  int LeafDepth() const { return mLeafDepth; }

private:
  void Walk(uint32_t number, int depth, const std::string &floor) {
    ASSERT_LT(depth, 40);
    qvdbRecordBlock *block = mDb->lockRecordBlock(number);
    ASSERT_NE(block, nullptr) << Std(mDb->Failure());
    int used = block->Used(), at = 0;
    ASSERT_LE(used, kBlockDataSize);
    if (block->IsLeaf()) {
      ASSERT_EQ(block->Type(), kTableBlock);
      if (mLeafDepth < 0) mLeafDepth = depth;
      ASSERT_EQ(depth, mLeafDepth) << "leaves at different depths";
    }
    KeyBuffer key;
    for (; at < used; at += block->RecordLength(at)) {
      const uint8_t *record = block->Data() + at;
      int length = block->RecordLength(at);
      ASSERT_GE(length, 6);
      ASSERT_TRUE(RecordKey(block->Type(), record, length, kKeyColumns, 1, key));
      std::string k(reinterpret_cast<char *>(key.bytes), size_t(key.length));
      if (block->IsLeaf()) {
        if (record[2] != kLive) continue;
        if (k < floor) ADD_FAILURE() << "a key below its index record's key";
        if (!mLastKey.empty() && k <= mLastKey) ADD_FAILURE() << "keys out of order at key " << KeyNumber(k.substr(1, k.size() - 2));
        mLastKey = k;
      } else {
        Walk(Load32(record + 8), depth + 1, k.empty() ? floor : k);
      }
    }
    EXPECT_EQ(at, used);
  }

  qvdbDatabase *mDb;
  int mLeafDepth = -1;
  std::string mLastKey;
};

class StorageModel : public ::testing::Test {
protected:
  void SetUp() override {
    mPath = mScratch.Path("model.db");
    mHandle = CreateZANTPath(string(mPath.c_str()));
    ASSERT_NE(mHandle, nullptr);
    ASSERT_TRUE(Db()->createTable(kTable));
    ASSERT_TRUE(Db()->commitTransaction());
  }
  void TearDown() override { FreeZANTHandle(mHandle); }
  qvdbDatabase *Db() { return mHandle->storage; }

  void Reopen() {
    FreeZANTHandle(mHandle);
    mHandle = OpenZANTPath(string(mPath.c_str()));
    ASSERT_NE(mHandle, nullptr);
  }

  // The table's live rows equal the model.
  void Verify(const std::map<int, std::string> &model) {
    std::map<int, std::string> seen;
    std::unique_ptr<qvdbCursor> cursor(Db()->openTableCursor(kTable, nullptr, kKeyColumns, 1));
    ASSERT_NE(cursor, nullptr);
    while (cursor->nextValidRecord()) {
      int length;
      const uint8_t *record = cursor->CurrentRecord(length);
      int k = KeyNumber(Field(record, length, 0));
      EXPECT_EQ(seen.count(k), 0u) << "row " << k << " twice";
      seen[k] = Field(record, length, 1);
    }
    EXPECT_FALSE(Db()->Failed()) << Std(Db()->Failure());
    EXPECT_EQ(seen.size(), model.size());
    for (auto &[k, v] : model) {
      auto found = seen.find(k);
      if (found == seen.end()) ADD_FAILURE() << "row " << k << " missing";
      else if (found->second != v) ADD_FAILURE() << "row " << k << " has the wrong value";
    }
    uint32_t root;
    ASSERT_TRUE(Db()->FindStreamRoot(kTable, root));
    TreeChecker checker(Db());
    checker.Check(root);
    mDeepest = std::max(mDeepest, checker.LeafDepth());
  }

  // Stands a cursor on the live row with key k.
  std::unique_ptr<qvdbCursor> Find(int k) {
    std::unique_ptr<qvdbCursor> cursor(Db()->openTableCursor(kTable, nullptr, kKeyColumns, 1));
    auto key = KeyOf(k);
    bool exists;
    EXPECT_TRUE(cursor->findInsertionPoint(key->bytes, key->length, exists));
    if (!exists) return nullptr;
    EXPECT_TRUE(cursor->nextValidRecord());
    return cursor;
  }

  DatabaseScratch mScratch;
  std::string mPath;
  dbDatabase *mHandle = nullptr;
  int mDeepest = 0;
};

class StorageModelRandom : public StorageModel, public ::testing::WithParamInterface<int> {};

TEST_P(StorageModelRandom, OperationsAgainstAMap) {
  std::mt19937 random(static_cast<uint32_t>(GetParam()));
  std::map<int, std::string> current, committed;
  auto value = [&](int k) {
    size_t n = random() % 3000;
    return std::string(n, char('a' + k % 26));
  };
  for (int step = 0; step < 1500; step++) {
    int op = int(random() % 100);
    int k = int(random() % 400);
    if (op < 55) {
      std::string v = value(k);
      std::vector<uint8_t> row = Row(k, v);
      RowResult result = lowAddTableRecord(Db(), kTable, row, kKeyColumns, 1, true);
      EXPECT_EQ(result, current.count(k) ? kRowDuplicateKey : kRowAdded) << "step " << step;
      if (!current.count(k)) current[k] = v;
    } else if (op < 70) {
      auto cursor = Find(k);
      ASSERT_EQ(cursor != nullptr, current.count(k) == 1) << "step " << step;
      if (cursor) {
        ASSERT_TRUE(cursor->deleteRecord());
        current.erase(k);
      }
    } else if (op < 85) {
      // Same key or a new one; a new key waits in the update file until the
      // cursor goes.
      int to = random() % 2 ? k : int(random() % 400);
      if (to != k && current.count(to)) continue;
      auto cursor = Find(k);
      ASSERT_EQ(cursor != nullptr, current.count(k) == 1) << "step " << step;
      if (!cursor) continue;
      std::string v = value(to);
      std::vector<uint8_t> row = Row(to, v);
      ASSERT_TRUE(updateTableCursorRecord(cursor.get(), row)) << Std(Db()->Failure());
      cursor.reset();
      current.erase(k);
      current[to] = v;
    } else if (op < 92) {
      ASSERT_TRUE(Db()->commitTransaction());
      committed = current;
    } else if (op < 97) {
      ASSERT_TRUE(Db()->rollbackTransaction());
      current = committed;
    } else {
      Reopen(); // closing commits
      committed = current;
    }
    Verify(current);
    if (HasFatalFailure() || HasFailure()) FAIL() << "at step " << step;
  }
  // The long keys forced splits of index blocks too, and roots above roots.
  EXPECT_GE(mDeepest, 3);
}

INSTANTIATE_TEST_SUITE_P(Seeds, StorageModelRandom, ::testing::Values(24, 25, 26));

TEST_F(StorageModel, BlobsOfEverySize) {
  std::mt19937 random(7);
  std::map<uint32_t, std::string> blobs;
  for (int size : {0, 1, 4000, 4001, 8000, 2000000, 2000001}) {
    std::string bytes(size_t(size), '\0');
    for (char &c : bytes) c = char(random());
    uint32_t id;
    ASSERT_TRUE(writeBLOB(Db(), id, reinterpret_cast<const uint8_t *>(bytes.data()), size)) << size;
    blobs[id] = bytes;
  }
  ASSERT_TRUE(Db()->commitTransaction());
  Reopen();
  for (auto &[id, bytes] : blobs) {
    std::vector<uint8_t> out;
    ASSERT_TRUE(readBLOB(Db(), id, out)) << bytes.size();
    EXPECT_EQ(std::string(out.begin(), out.end()), bytes) << bytes.size();
  }
  // Deleting a list deletes its pieces; rolled back, all come back.
  uint32_t big = 0;
  for (auto &[id, bytes] : blobs)
    if (bytes.size() == 2000001) big = id;
  ASSERT_TRUE(deleteBLOB(Db(), big));
  std::vector<uint8_t> out;
  EXPECT_FALSE(readBLOB(Db(), big, out));
  ASSERT_TRUE(Db()->rollbackTransaction());
  EXPECT_TRUE(readBLOB(Db(), big, out));
  EXPECT_EQ(out.size(), 2000001u);
  EXPECT_FALSE(readBLOB(Db(), 999999, out));
}

} // namespace
