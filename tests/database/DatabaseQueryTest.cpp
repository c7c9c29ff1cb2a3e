// DatabaseQuery over the built-in engine: the parameter marker replaced
// everywhere, the lazy first count that runs the query without a reload
// notice, a failed SELECT that leaves no rows, a query without a Database,
// and its class table.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "DatabaseTestSupport.h"
#include "FakeEngine.h"
#include "database/DatabaseClasses.h"
#include "database/classes/DatabaseQueryClass.h"
#include "database/classes/DatabaseRecordClass.h"
#include "database/sql/SqlStrings.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "support/ClassTableChecks.h"

namespace {

using Strings = std::vector<std::string>;

Strings gLog;

void Reloaded(RuntimeObject *) { gLog.push_back("reload"); }
void RowChanged(RuntimeObject *, int32_t) {}
void Completed(RuntimeObject *) { gLog.push_back("complete"); }

// A list-data receiver as compiled code declares one.
ObjectDefinition *ReloadReceiverClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    static MethodParameter row[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
    static PropertyMethod methods[] = {
        {"listDataInsertedRow", nullptr, row, 1, {{reinterpret_cast<void *>(RowChanged), nullptr, {}}, {}}, 0, 0, 0},
        {"listDataRemovedRow", nullptr, row, 1, {{reinterpret_cast<void *>(RowChanged), nullptr, {}}, {}}, 0, 0, 0},
        {"listDataReload", nullptr, nullptr, 0, {{reinterpret_cast<void *>(Reloaded), nullptr, {}}, {}}, 0, 0, 0},
    };
    defn.className = string("ReloadReceiver");
    defn.objectSize = sizeof(RuntimeObject);
    defn.staticTables = 1;
    defn.methods = FillMethods(methods, std::size(methods));
    defn.addInterface(ListDataNotificationReceiverClass());
  }
  return &defn;
}

// A DatabaseQuery whose QueryComplete handler logs.
ObjectDefinition *LoggingQueryClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("LoggingQuery");
    defn.super = DatabaseQueryClass();
    defn.objectSize = sizeof(DatabaseQueryObject);
    defn.staticTables = 1;
    auto *handler = new ObjectHookInstance;
    handler->name = string("QueryComplete");
    handler->code = reinterpret_cast<void *>(Completed);
    defn.hookInstances = handler;
  }
  return &defn;
}

std::string Take(stringStorage *text) {
  const std::string bytes = sqlStdString(text);
  stringStorage::RemoveReference(text);
  return bytes;
}

class DatabaseQueries : public ::testing::Test {
protected:
  void SetUp() override {
    CreateDatabaseClasses();
    addIntrinsicClass(DatabaseQueryClass());
    gLog.clear();
    mDatabase = ZANTdbDatabaseFromDBDatabase(CreateZANTPath(string(mScratch.Path("q.db").c_str())),
                                             &gZANTEngineDefinition);
    ASSERT_NE(mDatabase, nullptr);
    ASSERT_EQ(SqlExecuteText(mDatabase, "CREATE TABLE t (id integer, s varchar(20))"), 0);
    for (const char *row : {"(7, 'seven')", "(8, 'v7')", "(9, 'nine')"})
      ASSERT_EQ(SqlExecuteText(mDatabase, std::string("INSERT INTO t (id, s) VALUES ") + row), 0);
    mQuery = CreateInstance(LoggingQueryClass());
    mReceiver = CreateInstance(ReloadReceiverClass());
    databaseQueryAddLDNR(mQuery, mReceiver);
  }
  void TearDown() override {
    RuntimeUnlockObject(mQuery);
    RuntimeUnlockObject(mReceiver);
    RuntimeUnlockObject(mDatabase);
  }
  void Set(RuntimeObject *database, const std::string &sql) {
    objSetter(mQuery, offsetof(DatabaseQueryObject, database), database);
    stringStorage *text = sqlStorage(sql);
    stringSetter(mQuery, offsetof(DatabaseQueryObject, sqlQuery), text);
    stringStorage::RemoveReference(text);
  }
  void SetParameter(const char *text) {
    stringStorage *parameter = sqlStorage(text);
    databaseQuerySetParameter(mQuery, parameter);
    stringStorage::RemoveReference(parameter);
  }
  std::string Row(int32_t v) {
    RuntimeObject *row = databaseQueryGetRow(mQuery, v);
    if (!row)
      return "nil";
    std::string text = Take(getDatabaseRecordIndString(row, 1));
    RuntimeUnlockObject(row);
    return text;
  }
  DatabaseScratch mScratch;
  RuntimeObject *mDatabase = nullptr, *mQuery = nullptr, *mReceiver = nullptr;
};

TEST_F(DatabaseQueries, ClassTable) {
  ObjectDefinition *defn = DatabaseQueryClass();
  EXPECT_EQ(defn->objectSize, 48);
  EXPECT_EQ(defn->super, nullptr);
  Strings properties, methods, interfaces;
  for (const InstanceVariable *p = defn->properties; p; p = p->next) {
    properties.push_back(p->name.CString());
    EXPECT_EQ(p->flags & ~kReadOnlyProperty, 0);
    ExpectAccessorsBound(p);
  }
  for (const ObjectMethod *m = defn->methods; m; m = m->next)
    methods.push_back(m->name.CString());
  for (const ObjectDefinitionInterface *i = defn->interfaces; i; i = i->next)
    interfaces.push_back(i->interface->className.CString());
  ExpectMethodsBound(defn);
  EXPECT_EQ(properties, (Strings{"Database", "SQLQuery"}));
  EXPECT_EQ(methods, (Strings{"GetCount", "GetRow", "RunQuery", "addListDataNotificationReceiver",
                              "removeListDataNotificationReceiver", "PerformAction", "setString"}));
  EXPECT_EQ(interfaces,
            (Strings{"listDataProvider", "listDataNotifier", "actionNotificationReceiver", "StringInterface"}));
  EXPECT_EQ(BoundAddress("databaseQuerySetParameter"), Code(databaseQuerySetParameter));
}

TEST_F(DatabaseQueries, EveryMarkerIsReplaced) {
  const struct {
    const char *query, *parameter, *text;
  } cases[] = {
      {"a = %1 OR b = '%1'", "7", "a = 7 OR b = '7'"},
      {"%1%1", "x", "xx"},
      {"no marker", "7", "no marker"},
      {"id = %1", "", "id = "},
      {"%1 at the start and %", "%1", "%1 at the start and %"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(DatabaseQueryText(c.query, c.parameter), c.text) << c.query;

  Set(mDatabase, "SELECT s FROM t WHERE id = %1 OR s = 'v%1' ORDER BY id");
  SetParameter("7");
  EXPECT_EQ(gLog, (Strings{"reload", "complete"}));
  ASSERT_EQ(databaseQueryGetCount(mQuery), 2);
  EXPECT_EQ(Row(1), "seven");
  EXPECT_EQ(Row(2), "v7");
  EXPECT_EQ(Row(3), "nil");
  EXPECT_EQ(Row(0), "nil");
}

TEST_F(DatabaseQueries, TheFirstCountRunsTheQueryWithoutAReloadNotice) {
  Set(mDatabase, "SELECT s FROM t");
  EXPECT_EQ(databaseQueryGetCount(mQuery), 3);
  EXPECT_EQ(gLog, (Strings{"complete"}));
  EXPECT_EQ(databaseQueryGetCount(mQuery), 3);
  EXPECT_EQ(gLog, (Strings{"complete"})) << "counted once";
  databaseQueryRunQuery(mQuery); // PerformAction's entry point too
  EXPECT_EQ(gLog, (Strings{"complete", "reload", "complete"}));
  databaseQueryRemoveLDNR(mQuery, mReceiver);
  databaseQueryRunQuery(mQuery);
  EXPECT_EQ(gLog, (Strings{"complete", "reload", "complete", "complete"}));
}

TEST_F(DatabaseQueries, AFailedSelectLeavesNoRowsAndStillReloads) {
  Set(mDatabase, "SELECT s FROM t WHERE s = '%1'");
  SetParameter("nine");
  ASSERT_EQ(databaseQueryGetCount(mQuery), 1);
  gLog.clear();
  SetParameter("O'Neil"); // the quote breaks the statement
  EXPECT_EQ(gLog, (Strings{"reload", "complete"}));
  EXPECT_EQ(databaseQueryGetCount(mQuery), 0);
  EXPECT_EQ(Row(1), "nil");
}

TEST_F(DatabaseQueries, WithoutADatabaseTheQueryStillCompletes) {
  Set(nullptr, "SELECT s FROM t");
  EXPECT_EQ(databaseQueryGetCount(mQuery), 0);
  EXPECT_EQ(gLog, Strings{}) << "nothing to run on the first count";
  databaseQueryRunQuery(mQuery);
  EXPECT_EQ(gLog, (Strings{"reload", "complete"}));
  EXPECT_EQ(databaseQueryGetCount(mQuery), 0);
  // A query that goes while receivers are registered lets them go.
  RuntimeObject *other = CreateInstance(DatabaseQueryClass());
  databaseQueryAddLDNR(other, mReceiver);
  RuntimeUnlockObject(other);
}

} // namespace
