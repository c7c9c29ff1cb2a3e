// Damaged and hostile files: every table of mutated and truncated copies of
// a database is read in a child process under a time limit. Each copy is
// refused or read (failing with 2009 where it is damaged), never a crash, a
// hang or an alert. Targeted damage checks the message too.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <random>

#include "DatabaseTestSupport.h"
#include "support/SanitizerSkips.h"
#include "database/DatabaseFormat.h"

using namespace dbformat;

namespace {

std::string BuildSample(const DatabaseScratch &scratch) {
  std::string path = scratch.Path("sample.db");
  dbDatabase *db = CreateZANTPath(string(path.c_str()));
  CreateTable(db, "people", {{"id", 3, false}, {"name", 5}, {"born", 8}, {"score", 7}, {"notes", 15}}, {0});
  CreateTable(db, "log", {{"line", 5}, {"ok", 12}, {"n", 2}});
  for (int k = 0; k < 120; k++) {
    Insert(db, "people", {{"id", std::to_string(k)}, {"name", "person " + std::to_string(k) + std::string(size_t(k * 7 % 300), 'x')},
                          {"born", "1970-1-" + std::to_string(1 + k % 28)}, {"score", std::to_string(k * 0.5)},
                          {"notes", k % 10 ? std::string("short") : std::string(size_t(4000 + k * 10), 'n')}});
    Insert(db, "log", {{"line", "entry " + std::to_string(k)}, {"ok", k % 2 ? "true" : "false"}, {"n", std::to_string(k)}});
  }
  FreeZANTHandle(db);
  return DatabaseScratch::Read(path);
}

// Opens the file and reads every table, its schema and every value.
void ReadEverything(const std::string &path) {
  dbDatabase *db = OpenZANTPath(string(path.c_str()));
  if (!db) return;
  Rows tables = ReadAll(gZANTEngineDefinition.getTableSchema(db));
  for (const auto &row : tables) {
    Select(db, row[0]);
    stringStorage *name = Text(row[0]);
    ReadAll(gZANTEngineDefinition.getFieldSchema(db, name));
    stringStorage::RemoveReference(name);
  }
  // Writing into a damaged file fails cleanly too.
  Insert(db, "log", {{"line", "more"}});
  gZANTEngineDefinition.commitChanges(db);
  FreeZANTHandle(db);
}

// Runs the read in a child with a time limit; answers its wait status.
int ReadInChild(const std::string &path) {
  pid_t child = fork();
  if (child == 0) {
    alarm(20 * kHangBoundFactor);
    ReadEverything(path);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(DatabaseHostileFiles, MutatedAndTruncatedCopies) {
  DatabaseScratch scratch;
  std::string sample = BuildSample(scratch);
  std::string path = scratch.Path("mutant.db");
  std::mt19937 random(2009);
  // DATABASE_FUZZ_ROUNDS runs more rounds, for longer sessions by hand.
  const char *more = std::getenv("DATABASE_FUZZ_ROUNDS");
  int rounds = more ? std::atoi(more) : 400;
  for (int round = 0; round < rounds; round++) {
    std::string bytes = sample;
    int kind = round % 4;
    if (kind == 0) {
      bytes.resize(random() % bytes.size());
    } else {
      // Flips, aimed at the headers of the file, the blocks and the records
      // more often than at random.
      int flips = 1 + int(random() % 12);
      for (int i = 0; i < flips; i++) {
        size_t at;
        if (kind == 1) at = random() % 64;
        else if (kind == 2) at = 64 + (random() % ((bytes.size() - 64) / kBlockSize)) * kBlockSize + random() % 64;
        else at = random() % bytes.size();
        bytes[at] = char(random() % 3 == 0 ? 0 : random());
      }
    }
    DatabaseScratch::Write(path, bytes);
    std::remove((path + "-journal").c_str());
    int status = ReadInChild(path);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "round " << round << (WIFSIGNALED(status) ? " killed by signal " + std::to_string(WTERMSIG(status)) : "");
  }
}

// Targeted damage: each read stops with error 2009 and a message naming the
// fault, without looping or recursing forever.
TEST(DatabaseHostileFiles, TargetedDamageFailsWith2009) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("t.db");
  dbDatabase *db = CreateZANTPath(string(path.c_str()));
  CreateTable(db, "t", {{"id", 3, false}, {"v", 5}}, {0});
  for (int k = 0; k < 40; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", std::string(700, 'v')}});
  uint32_t root;
  ASSERT_TRUE(db->storage->FindStreamRoot(string("4"), root));
  FreeZANTHandle(db);
  std::string good = DatabaseScratch::Read(path);
  size_t rootAt = 64 + size_t(root) * kBlockSize;
  ASSERT_EQ(Load32(reinterpret_cast<const uint8_t *>(good.data()) + rootAt), kIndexBlock);
  uint32_t firstLeaf = Load32(reinterpret_cast<const uint8_t *>(good.data()) + rootAt + 18 + 8);
  size_t leafAt = 64 + size_t(firstLeaf) * kBlockSize;

  struct Damage {
    const char *what;
    size_t at;
    std::string bytes;
  } damages[] = {
      {"a record length of 0", leafAt + 18, Hex("0000")},
      {"a child naming its ancestor", rootAt + 18 + 8, ""}, // filled below
      {"an unknown field type", leafAt + 18 + 11, Hex("63")},
      {"an unknown block type", leafAt, Hex("12345678")},
      {"a used length past the block", leafAt + 16, Hex("FFFF")},
  };
  // The child names the root itself.
  uint8_t self[4];
  Store32(self, root);
  damages[1].bytes.assign(reinterpret_cast<char *>(self), 4);
  for (const Damage &d : damages) {
    std::string bytes = good;
    bytes.replace(d.at, d.bytes.size(), d.bytes);
    DatabaseScratch::Write(path, bytes);
    pid_t child = fork();
    if (child == 0) {
      alarm(20 * kHangBoundFactor);
      dbDatabase *opened = OpenZANTPath(string(path.c_str()));
      if (!opened) _exit(10);
      Rows rows = Select(opened, "t");
      int code = opened->lastError;
      std::string text = ErrorText(opened);
      FreeZANTHandle(opened);
      _exit(code == kZANTErrorFile && text.find("damaged") != std::string::npos ? 0 : 11);
    }
    int status;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << d.what << " status " << status;
  }
}

} // namespace
