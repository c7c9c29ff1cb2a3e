// A writer killed with SIGKILL before each of its writes and flushes (to the
// database, to its journal, in commits, in a rollback, in Close): the file
// then opens with exactly the last commit whose open-transaction flag was
// cleared before the kill.
#include <gtest/gtest.h>
#include <signal.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <map>
#include <memory>

#include "DatabaseTestSupport.h"
#include "database/DatabaseFilePosix.h"
#include "database/StorageRows.h"

using namespace dbformat;

namespace {

using Model = std::map<int, std::string>;

std::string Value(int k) { return std::string(size_t(600 + k % 200), char('a' + k % 26)); }

Model ReadTable(dbDatabase *db) {
  Model rows;
  ZANTTable *table = FindZANTTable(db, string("t"));
  if (!table) return rows;
  std::unique_ptr<qvdbCursor> cursor(
      db->storage->openTableCursor(table->StreamName(), nullptr, table->primaryKey, table->primaryKeyCount));
  while (cursor && cursor->nextValidRecord()) {
    int length;
    const uint8_t *record = cursor->CurrentRecord(length);
    FieldRef id, v;
    FindField(record, length, 0, id);
    FindField(record, length, 1, v);
    rows[int32_t(Load32(id.value))] = std::string(reinterpret_cast<const char *>(v.value + 4), Load32(v.value));
  }
  return rows;
}

void Delete(dbDatabase *db, int k) {
  stringStorage *table = Text("t");
  std::string key = std::to_string(k);
  RuntimeObject *rs = OpenTable(db, "t", Leaf("id", 0, key.c_str()));
  auto *cursor = reinterpret_cast<DatabaseCursorObject *>(rs);
  if (cursor && !cursor->eof) cursor->definition->deleteRow(cursor->handle);
  cursorClose(rs);
  RuntimeUnlockObject(rs);
  stringStorage::RemoveReference(table);
}

// Three transactions: A commits, B rolls back, C is committed by Close.
void Scenario(const std::string &path) {
  dbDatabase *db = OpenZANTPath(string(path.c_str()));
  if (!db) _exit(3);
  for (int k = 100; k < 140; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  for (int k = 0; k < 10; k++) Delete(db, k);
  gZANTEngineDefinition.commitChanges(db);
  for (int k = 200; k < 220; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  for (int k = 20; k < 30; k++) Delete(db, k);
  gZANTEngineDefinition.rollbackChanges(db);
  for (int k = 300; k < 310; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  FreeZANTHandle(db);
}

// The writes and flushes of a run, and which of them cleared the flag.
int gEvents = 0, gKillAt = -1;
std::vector<int> gFlagClears;
void Hook(int64_t offset, int32_t count, const void *bytes) {
  ++gEvents;
  if (gEvents == gKillAt) kill(getpid(), SIGKILL);
  if (offset == kHeaderTransaction && count == 12 && Load32(static_cast<const uint8_t *>(bytes) + 4) == 0)
    gFlagClears.push_back(gEvents);
}

TEST(DatabaseCrashInjection, KilledWriterLeavesTheLastCommit) {
  DatabaseScratch scratch;
  std::string initial = scratch.Path("initial.db"), path = scratch.Path("work.db");
  dbDatabase *db = CreateZANTPath(string(initial.c_str()));
  ASSERT_NE(db, nullptr);
  CreateTable(db, "t", {{"id", 3, false}, {"v", 5}}, {0});
  for (int k = 0; k < 50; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  FreeZANTHandle(db);
  std::string initialBytes = DatabaseScratch::Read(initial);

  // The states: before, after A (B rolled back changes nothing), after C.
  Model s0, s1, s2;
  for (int k = 0; k < 50; k++) s0[k] = Value(k);
  s1 = s0;
  for (int k = 100; k < 140; k++) s1[k] = Value(k);
  for (int k = 0; k < 10; k++) s1.erase(k);
  s2 = s1;
  for (int k = 300; k < 310; k++) s2[k] = Value(k);

  // A full run in this process counts the events and finds the flag clears.
  DatabaseScratch::Write(path, initialBytes);
  gEvents = 0;
  gKillAt = -1;
  gFlagClears.clear();
  gDatabaseFileWriteHook = Hook;
  Scenario(path);
  gDatabaseFileWriteHook = nullptr;
  int total = gEvents;
  ASSERT_EQ(gFlagClears.size(), 3u); // commit A, rollback B, commit C
  int clearA = gFlagClears[0], clearC = gFlagClears[2];
  EXPECT_GT(clearA, 10); // the journal's and the blocks' writes came first
  db = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(ReadTable(db), s2);
  FreeZANTHandle(db);

  for (int killAt = 1; killAt <= total; killAt++) {
    DatabaseScratch::Write(path, initialBytes);
    RemoveDatabaseFile(string((path + "-journal").c_str()));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      gEvents = 0;
      gKillAt = killAt;
      gDatabaseFileWriteHook = Hook;
      Scenario(path);
      _exit(0);
    }
    int status;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "event " << killAt;
    db = OpenZANTPath(string(path.c_str()));
    ASSERT_NE(db, nullptr) << "event " << killAt;
    const Model &expected = killAt <= clearA ? s0 : killAt <= clearC ? s1 : s2;
    EXPECT_EQ(ReadTable(db), expected) << "killed before event " << killAt << " of " << total;
    FreeZANTHandle(db);
    // Recovered: the flag is clear and the journal gone.
    std::string bytes = DatabaseScratch::Read(path);
    EXPECT_EQ(Load32(reinterpret_cast<const uint8_t *>(bytes.data()) + kHeaderOpenFlag), 0u);
    EXPECT_FALSE(DatabaseFileExists(string((path + "-journal").c_str())));
  }
}

} // namespace

namespace {

// A writer that writes its blocks before committing, as the format allows,
// and dies: opening the file reverses the records stamped with that
// transaction, leaf records only.
TEST(DatabaseCrashInjection, FlaggedFileOfAnotherWriterIsRolledBack) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("other.db");
  dbDatabase *db = CreateZANTPath(string(path.c_str()));
  CreateTable(db, "t", {{"id", 3, false}, {"v", 5}}, {0});
  for (int k = 0; k < 30; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  FreeZANTHandle(db);
  db = OpenZANTPath(string(path.c_str()));
  Model before = ReadTable(db);
  uint32_t transaction = db->storage->getTransaction();
  // Enough rows to split blocks: index records of the transaction stay.
  for (int k = 30; k < 60; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  Delete(db, 3);
  FreeZANTHandle(db);
  std::string bytes = DatabaseScratch::Read(path);
  // The header as the dead writer left it: its transaction still open.
  Store32(reinterpret_cast<uint8_t *>(&bytes[0]) + kHeaderTransaction, transaction);
  Store32(reinterpret_cast<uint8_t *>(&bytes[0]) + kHeaderOpenFlag, 1);
  DatabaseScratch::Write(path, bytes);

  db = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(ReadTable(db), before);
  FreeZANTHandle(db);
  bytes = DatabaseScratch::Read(path);
  EXPECT_EQ(Load32(reinterpret_cast<const uint8_t *>(bytes.data()) + kHeaderOpenFlag), 0u);
}

// A complete journal whose removal a power loss undid, beside a file that a
// later writer left flagged: it belongs to another transaction, so it is
// discarded, and the commits made after it stay.
std::string gJournal, gSaved;
void SaveJournal(int64_t, int32_t, const void *) {
  if (DatabaseFileExists(string(gJournal.c_str()))) gSaved = DatabaseScratch::Read(gJournal);
}

TEST(DatabaseCrashInjection, StaleJournalOfAnotherTransactionIsDiscarded) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("stale.db");
  gJournal = path + "-journal";
  dbDatabase *db = CreateZANTPath(string(path.c_str()));
  CreateTable(db, "t", {{"id", 3, false}, {"v", 5}}, {0});
  for (int k = 0; k < 30; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  gZANTEngineDefinition.commitChanges(db);
  // The journal of the next commit, kept as it stood complete.
  for (int k = 30; k < 60; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  gDatabaseFileWriteHook = SaveJournal;
  gZANTEngineDefinition.commitChanges(db);
  gDatabaseFileWriteHook = nullptr;
  ASSERT_FALSE(gSaved.empty());
  for (int k = 60; k < 90; k++) Insert(db, "t", {{"id", std::to_string(k)}, {"v", Value(k)}});
  gZANTEngineDefinition.commitChanges(db);
  uint32_t later = db->storage->getTransaction();
  Model committed = ReadTable(db);
  ASSERT_EQ(committed.size(), 90u);
  FreeZANTHandle(db);
  std::string bytes = DatabaseScratch::Read(path);
  // A later writer flagged the file and died before writing its journal.
  Store32(reinterpret_cast<uint8_t *>(&bytes[0]) + kHeaderTransaction, later);
  Store32(reinterpret_cast<uint8_t *>(&bytes[0]) + kHeaderOpenFlag, 1);
  DatabaseScratch::Write(path, bytes);
  DatabaseScratch::Write(gJournal, gSaved);

  db = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(db, nullptr);
  EXPECT_EQ(ReadTable(db), committed);
  FreeZANTHandle(db);
  EXPECT_FALSE(DatabaseFileExists(string(gJournal.c_str())));
}

// A read-only flagged file cannot be recovered, so it is refused. Root
// writes files whatever their mode, so as root the folder is made read-only
// instead: a read-only bind mount in a private mount namespace of a child.
TEST(DatabaseCrashInjection, ReadOnlyFlaggedFileIsRefused) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("ro.db");
  FreeZANTHandle(CreateZANTPath(string(path.c_str())));
  std::string bytes = DatabaseScratch::Read(path);
  Store32(reinterpret_cast<uint8_t *>(&bytes[0]) + kHeaderOpenFlag, 1);
  DatabaseScratch::Write(path, bytes);
  chmod(path.c_str(), 0444);
  std::string folder = path.substr(0, path.rfind('/'));
  pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0) {
      if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
          mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
          mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        _exit(20);
      // The mount really refuses writes.
      if (access(folder.c_str(), W_OK) == 0 || errno != EROFS) _exit(21);
    }
    _exit(OpenZANTPath(string(path.c_str())) == nullptr ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(DatabaseScratch::Read(path), bytes);
}

} // namespace
