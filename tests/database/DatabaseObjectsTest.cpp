// The Database and RecordSet objects over engine handles, the shutdown
// context that closes what a program leaves open, and the class
// ZANTDatabaseOldFormat.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/wait.h>

#include "DatabaseTestSupport.h"
#include "FakeEngine.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlStrings.h"
#include "database/DatabaseClasses.h"
#include "database/DatabaseShutdownContext.h"
#include "files/FolderItemClass.h"

namespace {

std::vector<std::string> gLog;
int gRowsLeft = 0;

dbDatabase *Handle(int n) { return reinterpret_cast<dbDatabase *>(uintptr_t(n)); }
dbCursor *CursorHandle(int n) { return reinterpret_cast<dbCursor *>(uintptr_t(n)); }

dbEngineDefinition gFakeEngine = {
    4, 0, [](dbDatabase *db) { gLog.push_back("closeDatabase " + std::to_string(uintptr_t(db))); },
};
ZANTdbCursorDefinition gFakeCursor = {
    4, 0, [](dbCursor *c) { gLog.push_back("closeCursor " + std::to_string(uintptr_t(c))); },
    nullptr, nullptr, nullptr, nullptr, nullptr,
    [](dbCursor *c) -> int32_t {
      gLog.push_back("nextRow " + std::to_string(uintptr_t(c)));
      return gRowsLeft-- > 0;
    },
};

class DatabaseObjects : public ::testing::Test {
protected:
  void SetUp() override {
    gLog.clear();
    gRowsLeft = 0;
  }
  // Simulates the exit: the context's destruction closes what is open.
  void Exit() { delete getDBShutdownContext(); }
  DatabaseObject *NewDatabase(int n) {
    return reinterpret_cast<DatabaseObject *>(ZANTdbDatabaseFromDBDatabase(Handle(n), &gFakeEngine));
  }
  DatabaseCursorObject *NewRecordSet(int n, int rows, DatabaseObject *owner = nullptr) {
    gRowsLeft = rows;
    auto *rs = reinterpret_cast<DatabaseCursorObject *>(ZANTdbCursorFromDBCursor(CursorHandle(n), &gFakeCursor));
    if (owner) {
      RuntimeLockObject(&owner->header);
      rs->owner = owner;
    }
    return rs;
  }
};

TEST_F(DatabaseObjects, RecordSetStartsOnItsFirstRow) {
  EXPECT_EQ(ZANTdbCursorFromDBCursor(nullptr, &gFakeCursor), nullptr);
  EXPECT_EQ(ZANTdbDatabaseFromDBDatabase(nullptr, &gFakeEngine), nullptr);
  DatabaseCursorObject *empty = NewRecordSet(1, 0);
  EXPECT_TRUE(empty->bof);
  EXPECT_TRUE(empty->eof);
  DatabaseCursorObject *one = NewRecordSet(2, 1);
  EXPECT_FALSE(one->bof);
  EXPECT_FALSE(one->eof);
  cursorMoveNext(&one->header);
  EXPECT_TRUE(one->eof);
  EXPECT_FALSE(one->bof);
  EXPECT_EQ(one->moveCount, 2);
  // A closed record set hands the engine nothing.
  cursorClose(&one->header);
  gLog.clear();
  cursorMoveNext(&one->header);
  EXPECT_TRUE(gLog.empty());
  EXPECT_TRUE(one->eof);
  RuntimeUnlockObject(&empty->header);
  RuntimeUnlockObject(&one->header);
  EXPECT_EQ(gLog, (std::vector<std::string>{"closeCursor 1"})); // destruction closed the open one
}

TEST_F(DatabaseObjects, ExitClosesRecordSetsBeforeDatabases) {
  DatabaseObject *db1 = NewDatabase(1), *db2 = NewDatabase(2);
  DatabaseCursorObject *rs1 = NewRecordSet(11, 1, db1), *rs2 = NewRecordSet(12, 1, db2),
                       *rs3 = NewRecordSet(13, 1);
  cursorClose(&rs3->header);
  gLog.clear();
  Exit();
  EXPECT_EQ(gLog, (std::vector<std::string>{"closeCursor 12", "closeCursor 11", "closeDatabase 2",
                                            "closeDatabase 1"}));
  EXPECT_FALSE(db1->connected);
  EXPECT_EQ(db1->handle, nullptr);
  gLog.clear();
  for (auto *rs : {rs1, rs2, rs3}) RuntimeUnlockObject(&rs->header);
  for (auto *db : {db1, db2}) RuntimeUnlockObject(&db->header);
  // The engine was closed once; destruction reaches it no more.
  EXPECT_TRUE(gLog.empty());
}

TEST_F(DatabaseObjects, DatabaseCloseClosesOnlyItsOwnRecordSets) {
  DatabaseObject *db1 = NewDatabase(1), *db2 = NewDatabase(2);
  DatabaseCursorObject *rs1 = NewRecordSet(11, 1, db1), *rs2 = NewRecordSet(12, 1, db2);
  gLog.clear();
  databaseClose(&db1->header);
  EXPECT_EQ(gLog, (std::vector<std::string>{"closeCursor 11", "closeDatabase 1"}));
  EXPECT_EQ(rs1->handle, nullptr);
  EXPECT_NE(rs2->handle, nullptr);
  // Removing what is not listed changes nothing.
  removeDBShutdownContextCursor(rs1);
  removeDBShutdownContextDatabase(db1);
  gLog.clear();
  Exit();
  EXPECT_EQ(gLog, (std::vector<std::string>{"closeCursor 12", "closeDatabase 2"}));
  for (auto *rs : {rs1, rs2}) RuntimeUnlockObject(&rs->header);
  gLog.clear();
  for (auto *db : {db1, db2}) RuntimeUnlockObject(&db->header);
}

// Closing a SELECT's record set releases the record sets of the tables it
// read, whose entries follow it in the list: the walks of Database.Close and
// of the exit must not step onto entries those closes freed (run this under
// AddressSanitizer to see the reads).
TEST_F(DatabaseObjects, ClosingSelectsThatReleaseOtherRecordSets) {
  DatabaseScratch scratch;
  for (bool atExit : {false, true}) {
    RuntimeObject *database =
        ZANTdbDatabaseFromDBDatabase(CreateZANTPath(string(scratch.Path(atExit ? "e.db" : "c.db").c_str())),
                                     &gZANTEngineDefinition);
    ASSERT_NE(database, nullptr);
    ASSERT_EQ(SqlExecuteText(database, "CREATE TABLE t (a integer)"), 0);
    ASSERT_EQ(SqlExecuteText(database, "INSERT INTO t (a) VALUES (1)"), 0);
    std::vector<DatabaseCursorObject *> selects;
    for (int i = 0; i < 3; i++) {
      RuntimeObject *rs = databaseSQLSelect(database, sqlString("SELECT a FROM t").Storage());
      ASSERT_NE(rs, nullptr);
      selects.push_back(reinterpret_cast<DatabaseCursorObject *>(rs));
    }
    if (atExit) Exit();
    else databaseClose(database);
    for (DatabaseCursorObject *rs : selects) {
      EXPECT_EQ(rs->handle, nullptr);
      RuntimeUnlockObject(&rs->header);
    }
    EXPECT_FALSE(reinterpret_cast<DatabaseObject *>(database)->connected);
    RuntimeUnlockObject(database);
  }
}

TEST_F(DatabaseObjects, OwnErrorAndRegistration) {
  DatabaseObject *db = NewDatabase(3);
  ZANTDatabaseSetError(&db->header, 2005, "taken");
  EXPECT_EQ(db->errorCode, 2005);
  EXPECT_EQ(Std(string::Borrow(db->errorMessage)), "taken");
  ZANTDatabaseSetError(&db->header, 0, nullptr);
  EXPECT_EQ(db->errorMessage, nullptr);
  dbEngineDefinition engine = gFakeEngine;
  engine.flags = 0x11223344;
  PluginRegisterDBEngine(&engine);
  EXPECT_EQ(reinterpret_cast<uint8_t *>(&engine.flags)[0], 0);
  EXPECT_EQ(reinterpret_cast<uint8_t *>(&engine.flags)[1], 0x33);
  ZANTdbCursorDefinition cursor = gFakeCursor;
  cursor.flags = -1;
  PluginRegisterDBCursor(&cursor);
  EXPECT_EQ(cursor.flags, 0);
  // The built-in engine connects to nothing by data; unknown engines neither.
  for (const char *name : {"zantdb", "ZantDB", "other"}) {
    stringStorage *engineName = Text(name);
    EXPECT_EQ(connectDatabase(engineName, nullptr, 0), nullptr) << name;
    stringStorage::RemoveReference(engineName);
  }
  EXPECT_FALSE(demandConnectDatabase(nullptr));
  EXPECT_TRUE(demandConnectDatabase(db));
  Exit();
  EXPECT_FALSE(demandConnectDatabase(db)); // closed, and no deferred connection
  RuntimeUnlockObject(&db->header);
}

int OpenDescriptors() {
  int count = 0;
  DIR *dir = opendir("/proc/self/fd");
  while (readdir(dir)) count++;
  closedir(dir);
  return count;
}

TEST_F(DatabaseObjects, ZANTDatabaseOldFormat) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("z.db"), other = scratch.Path("y.db");
  auto *object = reinterpret_cast<ZANTDatabaseObject *>(NewDatabaseObject(ZANTDatabaseClass()));
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->base.definition, &gZANTEngineDefinition);
  EXPECT_EQ(ZANTDatabaseConnect(&object->base.header), 0);
  EXPECT_EQ(object->base.errorCode, 1);
  EXPECT_EQ(Std(string::Borrow(object->base.errorMessage)), "A Database file was not specified");

  int descriptors = OpenDescriptors();
  RuntimeObject *file = FolderItemFromPath(other.c_str());
  ZANTDatabaseFolderItemSetter(&object->base.header, 0, file);
  ASSERT_EQ(ZANTDatabaseCreateDatabaseFile(&object->base.header), 1);
  EXPECT_FALSE(object->base.connected);
  EXPECT_EQ(OpenDescriptors(), descriptors + 1);
  RuntimeUnlockObject(file);
  file = FolderItemFromPath(path.c_str());
  ZANTDatabaseFolderItemSetter(&object->base.header, 0, file);
  // The handle held before is closed, not dropped.
  ASSERT_EQ(ZANTDatabaseCreateDatabaseFile(&object->base.header), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors + 1);
  ASSERT_EQ(ZANTDatabaseConnect(&object->base.header), 1);
  EXPECT_TRUE(object->base.connected);
  CreateTable(object->base.handle, "t", {{"a", 3}});
  Insert(object->base.handle, "t", {{"a", "7"}});
  RuntimeObject *got = ZANTDatabaseFolderItemGetter(&object->base.header, 0);
  EXPECT_EQ(got, file);
  RuntimeUnlockObject(got);
  RuntimeUnlockObject(file);
  RuntimeUnlockObject(&object->base.header);
  EXPECT_EQ(OpenDescriptors(), descriptors);
  std::string bytes = DatabaseScratch::Read(path);
  EXPECT_EQ(dbformat::Load32(reinterpret_cast<const uint8_t *>(bytes.data()) + 12), 0u);

  // The language functions: a database by path, nil for missing and foreign files.
  file = FolderItemFromPath(path.c_str());
  RuntimeObject *opened = openZANTDatabase(file);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(Select(reinterpret_cast<DatabaseObject *>(opened)->handle, "t"), (Rows{{"7"}}));
  databaseClose(opened);
  RuntimeUnlockObject(opened);
  RuntimeUnlockObject(file);
  DatabaseScratch::Write(scratch.Path("foreign"), "not a database at all, just some text");
  for (const char *name : {"missing", "foreign"}) {
    file = FolderItemFromPath(scratch.Path(name).c_str());
    EXPECT_EQ(openZANTDatabase(file), nullptr) << name;
    RuntimeUnlockObject(file);
  }
  EXPECT_EQ(openZANTDatabase(nullptr), nullptr);
  EXPECT_EQ(newZANTDatabase(nullptr), nullptr);
}

// Connect on a connected database: the old handle commits and closes before
// the new one reads the file, so no row written through it is lost.
TEST_F(DatabaseObjects, ConnectAgainKeepsEveryRowTheOldHandleWrote) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("again.db");
  auto *object = reinterpret_cast<ZANTDatabaseObject *>(NewDatabaseObject(ZANTDatabaseClass()));
  RuntimeObject *file = FolderItemFromPath(path.c_str());
  ZANTDatabaseFolderItemSetter(&object->base.header, 0, file);
  ASSERT_EQ(ZANTDatabaseCreateDatabaseFile(&object->base.header), 1);
  ASSERT_EQ(ZANTDatabaseConnect(&object->base.header), 1);
  CreateTable(object->base.handle, "t", {{"a", 3}});
  for (int round = 0; round < 2; round++) {
    // Enough rows to split blocks, so a stale block count would show.
    for (int i = 0; i < 40; i++)
      ASSERT_EQ(Insert(object->base.handle, "t", {{"a", std::to_string(round * 40 + i)}}), 0);
    ASSERT_EQ(ZANTDatabaseConnect(&object->base.header), 1);
  }
  EXPECT_EQ(Select(object->base.handle, "t").size(), 80u);
  RuntimeUnlockObject(&object->base.header);
  dbDatabase *reopened = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(Select(reopened, "t").size(), 80u);
  FreeZANTHandle(reopened);
  RuntimeUnlockObject(file);
}

// A file that one handle holds is refused to a second one, in this process
// and in another, with a reason; it opens again once the first has closed.
TEST_F(DatabaseObjects, ASecondHandleOnOneFileIsRefused) {
  DatabaseScratch scratch;
  std::string path = scratch.Path("held.db");
  dbDatabase *first = CreateZANTPath(string(path.c_str()));
  ASSERT_NE(first, nullptr);
  string failure;
  EXPECT_EQ(OpenZANTPath(string(path.c_str()), &failure), nullptr);
  EXPECT_NE(Std(failure).find("in use"), std::string::npos) << Std(failure);
  EXPECT_EQ(CreateZANTPath(string(path.c_str())), nullptr);
  CreateTable(first, "t", {{"a", 3}});
  EXPECT_EQ(Insert(first, "t", {{"a", "1"}}), 0);
  pid_t child = fork();
  if (child == 0) {
    // Another process: refused while the parent holds the file.
    _exit(OpenZANTPath(string(path.c_str())) == nullptr ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  FreeZANTHandle(first);
  dbDatabase *second = OpenZANTPath(string(path.c_str()));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Select(second, "t"), (Rows{{"1"}}));
  FreeZANTHandle(second);
}

} // namespace

// A data source registered under "fake", as a plug-in's main registers one.
#include "plugins/PluginLoader.h"
#include "plugins/PluginRegistration.h"
#include "runtime/image/ResourceManager.h"

namespace {
std::string gSourceName, gSourceData;

RuntimeObject *ConnectFake(void *data, int32_t length) {
  gSourceName = "fake";
  gSourceData.assign(static_cast<const char *>(data), size_t(length));
  return ZANTdbDatabaseFromDBDatabase(Handle(9), &gFakeEngine);
}

const bool gFakeSourceRegistered = [] {
  auto *plugin = new LoadedPlugin; // its main is "running" while it registers
  RegisterDataSource("fake", ConnectFake);
  loadingPlugin = nullptr;
  gLoadedPlugins = plugin->next;
  return gLoadedDataSources != nullptr;
}();
} // namespace

namespace {

TEST_F(DatabaseObjects, EngineNamesAndDeferredConnections) {
  for (const char *name : {"zantdb", "ZANTDB", "fake", "other"}) {
    gSourceName.clear();
    stringStorage *engine = Text(name);
    RuntimeObject *db = connectDatabase(engine, const_cast<char *>("abc"), 3);
    stringStorage::RemoveReference(engine);
    EXPECT_TRUE(gFakeSourceRegistered);
    // The built-in engine answers nil itself; only "fake" reaches the source.
    EXPECT_EQ(gSourceName, std::string(name) == "fake" ? "fake" : "");
    EXPECT_EQ(db != nullptr, std::string(name) == "fake");
    if (db) {
      EXPECT_EQ(gSourceData, "abc");
      EXPECT_TRUE(reinterpret_cast<DatabaseObject *>(db)->connected);
      databaseClose(db);
      RuntimeUnlockObject(db);
    }
  }
  // A Database made unconnected connects on demand and takes the handle.
  auto *db = reinterpret_cast<DatabaseObject *>(NewDatabaseObject(DatabaseClass()));
  EXPECT_FALSE(demandConnectDatabase(db)); // no connection data
  db->engineName = Text("fake");
  db->connectionData = const_cast<char *>("xy");
  db->connectionDataLength = 2;
  ASSERT_TRUE(demandConnectDatabase(db));
  EXPECT_EQ(db->handle, Handle(9));
  EXPECT_EQ(db->definition, &gFakeEngine);
  EXPECT_EQ(gSourceData, "xy");
  gLog.clear();
  Exit(); // the Database is listed for closing, the temporary one is not
  EXPECT_EQ(gLog, (std::vector<std::string>{"closeDatabase 9"}));
  RuntimeUnlockObject(&db->header);
}

// 'DBAS' resources: engine name and connection data, lengths checked.
TEST_F(DatabaseObjects, DatabaseResources) {
  auto resource = [](int32_t nameLength, const std::string &name, int32_t dataLength, const std::string &data) {
    std::string bytes(reinterpret_cast<char *>(&nameLength), 4);
    bytes += name;
    bytes += std::string(reinterpret_cast<char *>(&dataLength), 4);
    return bytes + data;
  };
  static std::vector<std::string> kept;
  struct Case {
    int16_t id;
    std::string bytes;
    bool opens;
  } cases[] = {
      {501, resource(4, "fake", 5, "hello"), true},
      {502, resource(6, "zantdb", 0, ""), false},
      {503, resource(400, "fake", 5, "hello"), false},
      {504, resource(4, "fake", 500, "hello"), false},
      {505, resource(-1, "fake", 5, "hello"), false},
      {506, std::string("\x04\0", 2), false},
  };
  for (Case &c : cases) {
    kept.push_back(c.bytes);
    gResourceManager.Add(FourCharCode("DBAS"), c.id, reinterpret_cast<const uint8_t *>(kept.back().data()),
                         uint32_t(kept.back().size()), 0);
    gSourceData.clear();
    RuntimeObject *db = RuntimeGetDatabaseFromResource(c.id);
    EXPECT_EQ(db != nullptr, c.opens) << c.id;
    if (db) {
      EXPECT_EQ(gSourceData, "hello");
      databaseClose(db);
      RuntimeUnlockObject(db);
    }
  }
  EXPECT_EQ(RuntimeGetDatabaseFromResource(599), nullptr);
}

} // namespace
