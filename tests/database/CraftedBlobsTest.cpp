// Crafted BLOB lists and long keys: lists that name one another many times,
// in cycles or deep chains, pieces named over and over, and keys at and past
// the longest an index record holds. Each input is written and read in a
// child process under a time limit: it is refused or read, never a crash,
// a hang or unbounded memory.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <random>

#include "DatabaseTestSupport.h"
#include "support/SanitizerSkips.h"
#include "database/DatabaseFormat.h"

using namespace dbformat;

namespace {

// A "sys$blob" record with the marker and payload; answers its id.
uint32_t AddBlobRecord(dbDatabase *db, uint32_t marker, const std::vector<uint8_t> &payload) {
  RowField field;
  field.column = 1;
  field.type = kColumnBinary;
  std::string bytes(4, '\0');
  Store32(reinterpret_cast<uint8_t *>(bytes.data()), marker);
  bytes.append(payload.begin(), payload.end());
  field.bytes.ConstructFromBuffer(bytes.data(), int(bytes.size()));
  std::vector<uint8_t> record = BuildDatabaseRecord({field});
  if (lowAddTableRecord(db->storage, string(kSysBlob), record, nullptr, 0, false) != kRowAdded) return 0;
  return Load32(record.data() + 6);
}

std::vector<uint8_t> ListOf(const std::vector<uint32_t> &ids) {
  std::vector<uint8_t> payload(ids.size() * 8, 0);
  for (size_t i = 0; i < ids.size(); i++) {
    Store32(payload.data() + 8 * i, ids[i]);
    Store32(payload.data() + 8 * i + 4, kBlobPiece);
  }
  return payload;
}

// Stores a row of "b" whose long column holds the BLOB id, as an insert
// would after writing the BLOB.
void AddRowNaming(dbDatabase *db, uint32_t blob) {
  ZANTTable *table = FindZANTTable(db, string("b"));
  RowField field;
  field.column = 0;
  field.type = kColumnLongText;
  field.integer = int32_t(blob);
  std::vector<uint8_t> record = BuildDatabaseRecord({field});
  lowAddTableRecord(db->storage, table->StreamName(), record, nullptr, 0, false);
}

// Reads every row of "b"; answers the engine's last error.
int32_t ReadBlobs(dbDatabase *db) {
  RuntimeObject *rs = OpenTable(db, "b");
  auto *recordSet = reinterpret_cast<DatabaseCursorObject *>(rs);
  int32_t error = 0;
  while (recordSet && !recordSet->eof) {
    ReadCursorValue(recordSet, 0);
    if (db->lastError) error = db->lastError;
    cursorMoveNext(rs);
  }
  if (rs) {
    cursorClose(rs);
    RuntimeUnlockObject(rs);
  }
  return error;
}

// Runs the work in a child with a time limit; answers whether it ended
// normally.
template <typename Work>
bool InChild(Work work, std::string &why) {
  pid_t child = fork();
  if (child == 0) {
    alarm(30 * kHangBoundFactor);
    _exit(work());
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  why = WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status)) : "exit " + std::to_string(WEXITSTATUS(status));
  return false;
}

class CraftedBlobs : public ::testing::Test {
protected:
  dbDatabase *Fresh() { return Fresh(mPath); }
  dbDatabase *Fresh(const std::string &path) {
    unlink(path.c_str());
    dbDatabase *db = CreateZANTPath(string(path.c_str()));
    if (db) CreateTable(db, "b", {{"v", 15}});
    return db;
  }
  // In memory where there is a memory file system: thousands of files are
  // made and flushed.
  std::string Folder() {
    char pattern[] = "/dev/shm/dbcraftedXXXXXX";
    const char *made = access("/dev/shm", W_OK) == 0 ? mkdtemp(pattern) : nullptr;
    return made ? made : mScratch.Path("");
  }
  void TearDown() override {
    unlink(mPath.c_str());
    unlink((mPath + "-journal").c_str());
    if (mFolder.rfind("/dev/shm/", 0) == 0) rmdir(mFolder.c_str());
  }

public:
  // One input of the fuzz: a database with crafted lists or long keys,
  // written, read, reopened, partly deleted and read again. Answers 0 unless
  // something could not even start.
  int RunFuzzInput(int input, const std::string &path) {
    std::mt19937 random(uint32_t(input) * 2654435761u);
    dbDatabase *db = Fresh(path);
    if (!db) return 10;
    if (input % 4 == 3) {
      // Keys around the longest an index record holds, into a table
      // with rows and as table names.
      CreateTable(db, "k", {{"name", 5, false}}, {0});
      for (int i = 0; i < 6; i++) {
        size_t length = 8100 + random() % 120;
        Insert(db, "k", {{"name", std::string(length, char('a' + random() % 26))}});
        if (random() % 3 == 0) CreateTable(db, std::string(length, char('A' + i)), {{"a", 3}});
      }
      Select(db, "k");
      FreeZANTHandle(db);
      return 0;
    }
    std::vector<uint32_t> ids;
    int records = 1 + int(random() % 12);
    for (int r = 0; r < records; r++) {
      uint32_t id;
      if (ids.empty() || random() % 3 == 0) {
        id = AddBlobRecord(db, random() % 8 ? kBlobData : uint32_t(random()),
                           std::vector<uint8_t>(random() % (kBlobPiece + 1), uint8_t(r)));
      } else {
        // Entries among the records so far, this one, the next ones
        // and ids that do not exist, some repeated many times.
        std::vector<uint32_t> entries;
        size_t count = 1 + random() % (random() % 2 ? kBlobListEntries : 8);
        uint32_t self = ids.back() + 1;
        for (size_t e = 0; e < count; e++) {
          switch (random() % 4) {
          case 0: entries.push_back(self + random() % 3); break;
          case 1: entries.push_back(uint32_t(random())); break;
          default: entries.push_back(ids[random() % ids.size()]);
          }
        }
        std::vector<uint8_t> payload = ListOf(entries);
        if (random() % 6 == 0) payload.resize(payload.size() - 1 - random() % 7);
        id = AddBlobRecord(db, kBlobList, payload);
      }
      if (!id) break;
      ids.push_back(id);
    }
    for (size_t i = 0; i < ids.size(); i += 1 + random() % 3) AddRowNaming(db, ids[i]);
    ReadBlobs(db);
    if (random() % 2) {
      gZANTEngineDefinition.commitChanges(db);
      FreeZANTHandle(db);
      db = OpenZANTPath(string(path.c_str()));
      if (!db) return 0;
      ReadBlobs(db);
    }
    for (uint32_t id : ids)
      if (random() % 4 == 0) deleteBLOB(db->storage, id);
    ReadBlobs(db);
    FreeZANTHandle(db);
    return 0;
  }

protected:
  DatabaseScratch mScratch;
  std::string mFolder = Folder();
  std::string mPath = mFolder + "/crafted.db";
};

// The two shapes that hung the reader or made it allocate a gigabyte: a list
// naming another list 500 times, four levels deep, and two levels of lists
// naming one 4,000-byte piece. Both are reported as damage at once.
TEST_F(CraftedBlobs, ListsNamedOverAndOverAreDamage) {
  for (int shape = 0; shape < 2; shape++) {
    std::string why;
    EXPECT_TRUE(InChild(
        [&] {
          dbDatabase *db = Fresh();
          if (!db) return 10;
          uint32_t id = AddBlobRecord(db, kBlobData, std::vector<uint8_t>(kBlobPiece, 'p'));
          for (int level = 0; level < (shape == 0 ? 4 : 2); level++)
            id = AddBlobRecord(db, kBlobList, ListOf(std::vector<uint32_t>(kBlobListEntries, id)));
          AddRowNaming(db, id);
          int32_t error = ReadBlobs(db);
          std::string text = ErrorText(db);
          FreeZANTHandle(db);
          return error == kZANTErrorFile && text.find("damaged") != std::string::npos ? 0 : 11;
        },
        why))
        << "shape " << shape << ": " << why;
  }
}

// A list naming itself through others, and a chain of lists deeper than any
// stack of calls would hold, read as damage or as their pieces.
TEST_F(CraftedBlobs, CyclesAndLongChains) {
  std::string why;
  EXPECT_TRUE(InChild(
      [&] {
        dbDatabase *db = Fresh();
        if (!db) return 10;
        // a -> b -> a: b is written first and names the id a will get.
        uint32_t piece = AddBlobRecord(db, kBlobData, {'x', 'y'});
        uint32_t b = AddBlobRecord(db, kBlobList, ListOf({piece, piece + 2}));
        uint32_t a = AddBlobRecord(db, kBlobList, ListOf({b}));
        if (a != piece + 2) return 12;
        AddRowNaming(db, a);
        if (ReadBlobs(db) != kZANTErrorFile) return 13;
        db->storage->ClearFailure(); // as the engine's next operation does
        // A chain of 5,000 lists, each naming the one before, ends in one piece.
        uint32_t id = AddBlobRecord(db, kBlobData, {'z'});
        for (int i = 0; i < 5000; i++) id = AddBlobRecord(db, kBlobList, ListOf({id}));
        gZANTEngineDefinition.commitChanges(db);
        FreeZANTHandle(db);
        db = OpenZANTPath(string(mPath.c_str()));
        if (!db) return 14;
        std::vector<uint8_t> out;
        bool read = readBLOB(db->storage, id, out);
        bool deleted = deleteBLOB(db->storage, id);
        FreeZANTHandle(db);
        return !read ? 15 : out != std::vector<uint8_t>{'z'} ? 16 : !deleted ? 17 : 0;
      },
      why))
      << why;
}

// Random lists and keys, each input written and read in its own child under
// a time limit, eight children at a time. A child costs a tenth of a second
// under the i386 emulator, so the suite runs 400 inputs; set
// DATABASE_FUZZ_INPUTS (2,000 or more) for the full run.
TEST_F(CraftedBlobs, FuzzedListsAndKeys) {
  const char *asked = std::getenv("DATABASE_FUZZ_INPUTS");
  const int kInputs = asked && std::atoi(asked) > 0 ? std::atoi(asked) : 400;
  constexpr int kAtOnce = 8;
  std::map<pid_t, int> running;
  int failures = 0;
  auto reap = [&] {
    int status = 0;
    pid_t pid = waitpid(-1, &status, 0);
    auto found = running.find(pid);
    if (found == running.end()) return;
    std::string path = mFolder + "/fuzz" + std::to_string(found->second) + ".db";
    unlink(path.c_str());
    unlink((path + "-journal").c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      failures++;
      ADD_FAILURE() << "input " << found->second << ": "
                    << (WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                            : "exit " + std::to_string(WEXITSTATUS(status)));
    }
    running.erase(found);
  };
  for (int input = 0; input < kInputs && failures < 5; input++) {
    while (running.size() >= size_t(kAtOnce)) reap();
    std::string path = mFolder + "/fuzz" + std::to_string(input) + ".db";
    pid_t child = fork();
    if (child == 0) {
      alarm(60 * kHangBoundFactor);
      _exit(RunFuzzInput(input, path));
    }
    ASSERT_GT(child, 0);
    running[child] = input;
  }
  while (!running.empty()) reap();
}

} // namespace
