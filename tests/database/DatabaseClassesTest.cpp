// The language's database classes over engines that lack slots, over typed
// values held in memory and over the built-in engine: the class tables,
// Database's errors, commit, close and insert, a closed record set, the
// field accessors by type code, DatabaseRecord and ScrollableCursor.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "DatabaseTestSupport.h"
#include "FakeEngine.h"
#include "database/DatabaseClasses.h"
#include "database/classes/DatabaseFieldClass.h"
#include "database/classes/DatabaseMembers.h"
#include "database/classes/DatabaseRecordClass.h"
#include "database/classes/ScrollableCursorClass.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "foundation/RandomAccessMechanism.h"
#include "database/sql/SqlStrings.h"
#include "language/DateClass.h"
#include "language/Variant.h"
#include "runtime/objects/ClassRegistry.h"
#include "support/ClassTableChecks.h"

namespace {

using Strings = std::vector<std::string>;

class DatabaseClasses : public ::testing::Test {
protected:
  void SetUp() override { CreateDatabaseClasses(); }
};

std::string Take(stringStorage *text) {
  const std::string bytes = text ? sqlStdString(text) : "~";
  stringStorage::RemoveReference(text);
  return bytes;
}

stringStorage *S(const std::string &text) { return sqlStorage(text); }

// ---------------------------------------------------------------- tables

Strings PropertyNames(const ObjectDefinition *defn) {
  Strings names;
  for (const InstanceVariable *p = defn->properties; p; p = p->next) {
    names.push_back(p->name.CString());
    ExpectAccessorsBound(p);
  }
  return names;
}

Strings MethodNames(const ObjectDefinition *defn) {
  Strings names;
  for (const ObjectMethod *m = defn->methods; m; m = m->next) {
    names.push_back(m->name.CString());
    // Assignable methods bind their setters too.
    if (void *setter = m->method.implementation[1].code) {
      EXPECT_EQ(BoundAddress(m->method.implementation[1].exportName), setter) << m->name.CString();
    }
  }
  ExpectMethodsBound(defn);
  return names;
}

Strings InterfaceNames(const ObjectDefinition *defn) {
  Strings names;
  for (const ObjectDefinitionInterface *i = defn->interfaces; i; i = i->next)
    names.push_back(i->interface->className.CString());
  return names;
}

TEST_F(DatabaseClasses, ClassTablesInTheirOrder) {
  struct Expected {
    const char *name;
    const char *super;
    int32_t size;
    Strings properties, methods, interfaces;
  };
  const Expected classes[] = {
      {"Database", nullptr, 72,
       {"Error", "ErrorCode", "ErrorMessage", "DatabaseName", "Host", "Password", "UserName"},
       {"SQLExecute", "SQLSelect", "InsertRecord", "TableSchema", "FieldSchema", "Commit", "Rollback", "Property",
        "Close", "Connect"},
       {}},
      {"DatabaseCursor", nullptr, 52,
       {"BOF", "EOF", "FieldCount"},
       {"MoveNext", "Field", "IdxField", "DeleteRecord", "Edit", "Update", "Close", "MovePrevious", "MoveFirst",
        "MoveLast", "RecordCount", "ColumnType"},
       {}},
      {"DatabaseCursorField", nullptr, 32,
       {"Name", "StringValue", "DoubleValue", "IntegerValue", "NativeValue", "DateValue", "MacPictValue",
        "JPEGValue", "BooleanValue", "Value"},
       {"getString", "setString"},
       {"StringProvider"}},
      {"RecordSet", "DatabaseCursor", 52, {}, {}, {}},
      {"DatabaseField", "DatabaseCursorField", 32, {}, {}, {}},
      {"DatabaseRecord", nullptr, 28, {},
       {"Column", "DoubleColumn", "IntegerColumn", "DateColumn", "MacPictColumn", "JPEGColumn", "BlobColumn",
        "BooleanColumn", "FieldCount", "getIndString"},
       {"tupleInterface"}},
      {"ScrollableCursor", nullptr, 40, {}, {"ScrollableCursor", "GetCount", "GetRow"}, {"listDataProvider"}},
  };
  for (const Expected &e : classes) {
    SCOPED_TRACE(e.name);
    ObjectDefinition *defn = getIntrinsicClass(string(e.name));
    ASSERT_NE(defn, nullptr);
    EXPECT_EQ(defn->objectSize, e.size);
    if (e.super) {
      ASSERT_NE(defn->super, nullptr);
      EXPECT_STREQ(defn->super->className.CString(), e.super);
    } else {
      EXPECT_EQ(defn->super, nullptr);
    }
    EXPECT_EQ(PropertyNames(defn), e.properties);
    EXPECT_EQ(MethodNames(defn), e.methods);
    EXPECT_EQ(InterfaceNames(defn), e.interfaces);
  }
  // The error properties carry flags 5 and are read-only; the stored texts
  // use the generic accessors on their own fields.
  const InstanceVariable *error = DatabaseClass()->properties;
  EXPECT_EQ(error->flags, 5 | kReadOnlyProperty);
  const InstanceVariable *name = error->next->next->next;
  EXPECT_EQ(name->flags, 4);
  EXPECT_STREQ(name->getterExportName, "stringGetter");
  EXPECT_EQ(name->param, 52);
  EXPECT_STREQ(DatabaseFieldClass()->super->properties->next->setterExportName, "cursorFieldStringValueSetter");
  EXPECT_EQ(BoundAddress("getDatabaseProperty"), Code(getDatabaseProperty));
}

// ------------------------------------------------------ Database over slots

std::vector<std::string> gLog;
int32_t gEngineError = 0;

dbDatabase *Handle(int n) { return reinterpret_cast<dbDatabase *>(uintptr_t(n)); }

dbEngineDefinition FullEngine() {
  dbEngineDefinition d{};
  d.version = 4;
  d.closeDatabase = [](dbDatabase *db) { gLog.push_back("close " + std::to_string(uintptr_t(db))); };
  d.directSQLExecute = [](dbDatabase *, stringStorage *sql) { gLog.push_back("sql " + sqlStdString(sql)); };
  d.commitChanges = [](dbDatabase *) { gLog.push_back("commit"); };
  d.rollbackChanges = [](dbDatabase *) { gLog.push_back("rollback"); };
  d.getLastErrorCode = [](dbDatabase *) { return gEngineError; };
  d.getLastErrorString = [](dbDatabase *) { return sqlStorage("engine says no"); };
  d.getEngineProperty = [](dbDatabase *, stringStorage *name) { return sqlStorage("value of " + sqlStdString(name)); };
  d.getIndexSchema = [](dbDatabase *, int32_t argument) -> RuntimeObject * {
    gLog.push_back("index " + std::to_string(argument));
    return nullptr;
  };
  d.addTableRecord = [](dbDatabase *, stringStorage *table, ZANTcolumnValue *entries) {
    std::string text = "add " + sqlStdString(table);
    for (; entries; entries = entries->next)
      text += " " + sqlStdString(entries->name) + "=" + sqlStdString(entries->value) + "/" +
              std::to_string(entries->type);
    gLog.push_back(text);
  };
  return d;
}

class DatabaseSlots : public DatabaseClasses {
protected:
  void SetUp() override {
    DatabaseClasses::SetUp();
    gLog.clear();
    gEngineError = 0;
  }
  RuntimeObject *Open(dbEngineDefinition *engine, int n = 5) { return ZANTdbDatabaseFromDBDatabase(Handle(n), engine); }
};

TEST_F(DatabaseSlots, ErrorsOwnFirstThenTheEngines) {
  dbEngineDefinition engine = FullEngine();
  RuntimeObject *db = Open(&engine);
  EXPECT_FALSE(databaseErrorGetter(db, 0));
  gEngineError = 7;
  EXPECT_TRUE(databaseErrorGetter(db, 0));
  EXPECT_EQ(databaseErrorCodeGetter(db, 0), 7);
  EXPECT_EQ(Take(databaseErrorStringGetter(db, 0)), "engine says no");
  ZANTDatabaseSetError(db, 201, "own text");
  EXPECT_EQ(databaseErrorCodeGetter(db, 0), 201);
  EXPECT_EQ(Take(databaseErrorStringGetter(db, 0)), "own text");
  // A statement clears the own code; the engine's error shows again.
  gEngineError = 0;
  databaseSQLExecute(db, sqlString("delete from t").Storage());
  EXPECT_FALSE(databaseErrorGetter(db, 0));
  // An engine without the error slots reports nothing.
  engine.getLastErrorCode = nullptr;
  engine.getLastErrorString = nullptr;
  gEngineError = 9;
  EXPECT_EQ(databaseErrorCodeGetter(db, 0), 0);
  EXPECT_EQ(Take(databaseErrorStringGetter(db, 0)), "~");
  RuntimeUnlockObject(db);
}

TEST_F(DatabaseSlots, CommitAndRollbackFallBackOnDirectSql) {
  struct Case {
    bool ownSlots, direct;
    Strings log;
  };
  const Case cases[] = {
      {true, true, {"commit", "rollback"}},
      {false, true, {"sql commit", "sql rollback"}},
      {false, false, {}},
  };
  for (const Case &c : cases) {
    dbEngineDefinition engine = FullEngine();
    if (!c.ownSlots)
      engine.commitChanges = engine.rollbackChanges = nullptr;
    if (!c.direct)
      engine.directSQLExecute = nullptr;
    RuntimeObject *db = Open(&engine);
    gLog.clear();
    databaseCommit(db);
    databaseRollback(db);
    EXPECT_EQ(gLog, c.log);
    // After Close no slot is called: the handle went with the one close.
    databaseClose(db);
    databaseClose(db);
    gLog.clear();
    databaseCommit(db);
    databaseRollback(db);
    EXPECT_EQ(databaseErrorCodeGetter(db, 0), 0);
    EXPECT_TRUE(gLog.empty());
    RuntimeUnlockObject(db);
    EXPECT_TRUE(gLog.empty()) << "destruction closed again";
  }
}

TEST_F(DatabaseSlots, CloseOnceThenNoSlot) {
  dbEngineDefinition engine = FullEngine();
  auto *db = reinterpret_cast<DatabaseObject *>(Open(&engine, 6));
  databaseClose(&db->header);
  EXPECT_EQ(db->handle, nullptr);
  EXPECT_FALSE(db->connected);
  databaseClose(&db->header);
  RuntimeUnlockObject(&db->header);
  EXPECT_EQ(gLog, (Strings{"close 6"}));
}

TEST_F(DatabaseSlots, PropertySchemasConnectAndStoredTexts) {
  dbEngineDefinition engine = FullEngine();
  RuntimeObject *db = Open(&engine);
  EXPECT_EQ(Take(getDatabaseProperty(db, S("version"))), "value of version");
  EXPECT_EQ(databaseIndexSchema(db, 12), nullptr);
  EXPECT_EQ(gLog, (Strings{"index 12"}));
  EXPECT_EQ(databaseTableSchema(db), nullptr); // no getTableSchema slot
  EXPECT_EQ(DatabaseConnect(db), 0);
  engine.getEngineProperty = nullptr;
  EXPECT_EQ(getDatabaseProperty(db, S("version")), nullptr);
  // A Database made by New: "" stored texts, nothing connects.
  RuntimeObject *made = NewDatabaseObject(DatabaseClass());
  for (DatabaseObject *d : {reinterpret_cast<DatabaseObject *>(made)})
    for (stringStorage *text : {d->databaseName, d->host, d->password, d->userName})
      EXPECT_EQ(sqlStdString(text), "");
  EXPECT_EQ(getDatabaseProperty(made, S("x")), nullptr);
  EXPECT_EQ(databaseTableSchema(made), nullptr);
  RuntimeObject *record = NewDatabaseObject(DatabaseRecordClass());
  setDatabaseRecordColumn(record, S("a"), S("1"));
  gLog.clear();
  databaseInsertRecord(made, S("t"), record); // no connection: nothing
  databaseInsertRecord(db, S("t"), nullptr);  // no record: nothing
  EXPECT_TRUE(gLog.empty());
  RuntimeUnlockObject(record);
  RuntimeUnlockObject(made);
  RuntimeUnlockObject(db);
}

TEST_F(DatabaseSlots, InsertRecordThroughTheEngineOrAsText) {
  RuntimeObject *record = NewDatabaseObject(DatabaseRecordClass());
  setDatabaseRecordIntegerColumn(record, S("a"), 42);
  setDatabaseRecordColumn(record, S("b"), S("O'Neil"));
  EXPECT_EQ(InsertRecordText("t", DatabaseRecordEntries(record)), "insert into t(b,a) values ('O''Neil',42)");
  dbEngineDefinition engine = FullEngine();
  RuntimeObject *db = Open(&engine);
  databaseInsertRecord(db, S("t"), record);
  EXPECT_EQ(gLog, (Strings{"add t b=O'Neil/5 a=42/3"}));

  // The type of an entry is the first setter's: a text column stays quoted.
  RuntimeObject *other = NewDatabaseObject(DatabaseRecordClass());
  setDatabaseRecordColumn(other, S("b"), S("O'Neil"));
  setDatabaseRecordColumn(other, S("a"), S("7"));
  setDatabaseRecordIntegerColumn(other, S("A"), 42);
  setDatabaseRecordDoubleColumn(other, S("d"), 2.5);
  EXPECT_EQ(getDatabaseRecordFieldCount(other), 3);
  EXPECT_EQ(InsertRecordText("t", DatabaseRecordEntries(other)), "insert into t(d,a,b) values (2.5,'42','O''Neil')");

  // Without addTableRecord the text runs through SQLExecute.
  engine.addTableRecord = nullptr;
  gLog.clear();
  databaseInsertRecord(db, S("t"), record);
  EXPECT_EQ(gLog, (Strings{"sql insert into t(b,a) values ('O''Neil',42)"}));
  RuntimeUnlockObject(db);
  RuntimeUnlockObject(other);
  RuntimeUnlockObject(record);
}

// ------------------------------------------------------ closed record sets

TEST_F(DatabaseClasses, AClosedRecordSetCallsNoSlot) {
  DatabaseCursorObject *rows = VectorSource({{SqlInteger(1), SqlText("x")}, {SqlInteger(2), SqlText("y")}});
  RuntimeObject *rs = &rows->header;
  EXPECT_EQ(cursorFieldCount(rs), 2);
  EXPECT_EQ(RecordSetRecordCount(rs), -1); // the vector cursor counts no rows
  EXPECT_EQ(RecordSetColumnType(rs, 0), -1);
  RuntimeObject *field = cursorGetFieldByIndex(rs, 2);
  cursorClose(rs);
  EXPECT_EQ(cursorFieldCount(rs), 0);
  EXPECT_EQ(cursorGetFieldByIndex(rs, 1), nullptr);
  EXPECT_EQ(cursorGetFieldByName(rs, S("c0")), nullptr);
  EXPECT_EQ(RecordSetRecordCount(rs), -1);
  EXPECT_EQ(RecordSetColumnType(rs, 0), -1);
  EXPECT_FALSE(cursorBOFGetter(rs, 0));
  EXPECT_FALSE(cursorEOFGetter(rs, 0));
  for (void (*move)(RuntimeObject *) : {CursorMovePrev, CursorMoveFirst, CursorMoveLast, cursorEdit, cursorUpdate,
                                        cursorDeleteRecord})
    move(rs);
  EXPECT_EQ(Take(cursorFieldStringValueGetter(field)), "~");
  EXPECT_EQ(Take(cursorFieldNameGetter(field, 0)), "field2");
  EXPECT_EQ(CursorFieldValueGetter(field, 0), nullptr);
  RuntimeUnlockObject(field);
  RuntimeUnlockObject(rs);
}

TEST_F(DatabaseClasses, RecordCountAndColumnTypeAskTheCursor) {
  DatabaseCursorObject *rows = VectorSource({{SqlInteger(1)}});
  ZANTdbCursorDefinition slots = *rows->definition;
  slots.getRowCount = [](dbCursor *) { return int32_t{17}; };
  slots.getColumnType = [](dbCursor *, int32_t column) { return column * 10 + 3; };
  rows->definition = &slots;
  EXPECT_EQ(RecordSetRecordCount(&rows->header), 17);
  EXPECT_EQ(RecordSetColumnType(&rows->header, 0), 3);
  EXPECT_EQ(RecordSetColumnType(&rows->header, 2), 23);
  EXPECT_EQ(RecordSetColumnType(&rows->header, -1), -1);
  EXPECT_EQ(RecordSetRecordCount(nullptr), -1);
  DatabaseCursorObject *empty = VectorSource({});
  EXPECT_TRUE(cursorBOFGetter(&empty->header, 0));
  RuntimeUnlockObject(&empty->header);
  cursorClose(&rows->header);
  RuntimeUnlockObject(&rows->header);
}

// ---------------------------------------------------------------- fields

// Every getter of a field, as texts: String|Double|Integer|Boolean|Value.
std::string Getters(RuntimeObject *field) {
  std::string text = Take(cursorFieldStringValueGetter(field));
  char number[64];
  snprintf(number, sizeof number, "|%g|%d|%d|", cursorFieldDoubleValueGetter(field, 0),
           cursorFieldIntegerValueGetter(field, 0), CursorFieldBooleanValueGetter(field, 0));
  text += number;
  RuntimeObject *value = CursorFieldValueGetter(field, 0);
  text += std::to_string(VarType(value)) + ":" + (value ? Take(variantToString(value)) : "nil");
  RuntimeUnlockObject(value);
  return text;
}

std::string DateText(RuntimeObject *date) {
  const std::string text = date ? Take(QVDateToDBDate(date)) : "nil";
  RuntimeUnlockObject(date);
  return text;
}

TEST_F(DatabaseClasses, GettersByTypeCode) {
  float single = 2.5f;
  stringStorage *held = S("held text");
  const std::string heldBytes(reinterpret_cast<const char *>(&held), sizeof held);
  struct Case {
    SqlValue value;
    std::string getters, date;
  };
  const Case cases[] = {
      {SqlValue{}, "~|0|0|0|0:nil", "0001-01-01 00:00:00"},
      {{kColumnSmallInt, std::string("\xfe\xff", 2)}, "-2|-2|-2|1|2:-2", "0001-01-01 00:00:00"},
      {SqlInteger(3), "3|3|3|1|2:3", "0001-01-01 00:00:00"},
      {{kColumnFloat, std::string(reinterpret_cast<char *>(&single), 4)}, "2.5|2.5|2|1|5:2.5", "0001-01-01 00:00:00"},
      {SqlDouble(3), "3|3|3|1|5:3.0", "0001-01-01 00:00:00"},
      {SqlDouble(3.25), "3.25|3.25|3|1|5:3.25", "0001-01-01 00:00:00"},
      {SqlDouble(-0.0), "0|-0|0|0|5:0.0", "0001-01-01 00:00:00"},
      {SqlText("12abc"), "12abc|12|12|0|8:12abc", "0001-01-01 00:00:00"},
      {SqlText("True"), "True|0|0|1|8:True", "0001-01-01 00:00:00"},
      {SqlText("t"), "t|0|0|1|8:t", "0001-01-01 00:00:00"},
      {SqlFields(kColumnDate, 2004, 7, 9), "2004-07-09|0|0|0|7:", "2004-07-09 00:00:00"},
      {SqlFields(kColumnTime, 9, 5, 0), "09:05:00|0|0|0|7:", "0001-01-01 09:05:00"},
      {SqlBoolean(true), "true|1|1|1|11:True", "0001-01-01 00:00:00"},
      {SqlBoolean(false), "false|0|0|0|11:False", "0001-01-01 00:00:00"},
      {SqlBytes("7"), "7|7|7|0|8:7", "0001-01-01 00:00:00"},
      {{kColumnStringRef, heldBytes}, "held text|0|0|0|8:held text", "0001-01-01 00:00:00"},
      {{17, "xyz"}, "~|0|0|0|0:nil", "0001-01-01 00:00:00"},
  };
  SqlRow row;
  for (const Case &c : cases)
    row.push_back(c.value);
  DatabaseCursorObject *rows = VectorSource({row});
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    RuntimeObject *field = cursorGetFieldByIndex(&rows->header, int32_t(i + 1));
    std::string getters = Getters(field);
    // A Date variant's text depends on the locale's format: compare its kind only.
    if (getters.size() > 2 && getters.compare(getters.size() - 2, 2, "7:") != 0 &&
        getters.find("|7:") != std::string::npos)
      getters = getters.substr(0, getters.find("|7:") + 3);
    EXPECT_EQ(getters, cases[i].getters);
    EXPECT_EQ(DateText(cursorFieldDateValueGetter(field, 0)), cases[i].date);
    EXPECT_EQ(cursorFieldMactPictGetter(field, 0), nullptr);
    EXPECT_EQ(Take(cursorFieldNativeValueGetter(field, 0)), cases[i].value.type == kColumnStringRef
                                                                 ? "held text"
                                                                 : (cases[i].value.bytes.empty() ? "~" : cases[i].value.bytes));
    RuntimeUnlockObject(field);
  }
  // A timestamp as a Date; a time of day in a Variant stands on the date of
  // all-zero fields.
  DatabaseCursorObject *stamps = VectorSource({{{kColumnTimeStamp, SqlFields(kColumnDate, 2004, 7, 9).bytes +
                                                                        SqlFields(kColumnTime, 23, 59, 1).bytes},
                                                SqlFields(kColumnTime, 9, 5, 0)}});
  RuntimeObject *stamp = cursorGetFieldByIndex(&stamps->header, 1);
  EXPECT_EQ(DateText(cursorFieldDateValueGetter(stamp, 0)), "2004-07-09 23:59:01");
  EXPECT_EQ(DateText(VariantToDate(CursorFieldValueGetter(stamp, 0))), "2004-07-09 23:59:01");
  RuntimeObject *time = cursorGetFieldByIndex(&stamps->header, 2);
  RuntimeObject *timeVariant = CursorFieldValueGetter(time, 0);
  EXPECT_EQ(DateText(VariantToDate(timeVariant)), DateText(ConstructDate(0, 0, 0, 9, 5, 0)));
  RuntimeUnlockObject(timeVariant);
  RuntimeUnlockObject(time);
  RuntimeUnlockObject(stamp);
  RuntimeUnlockObject(&stamps->header);
  RuntimeUnlockObject(&rows->header);
  stringStorage::RemoveReference(held);
}

TEST_F(DatabaseClasses, IntegerValueOfAnOutOfRangeDoubleIsTheIndefinite) {
  DatabaseCursorObject *rows = VectorSource({{SqlDouble(1e12), SqlDouble(-2147483648.0), SqlText("5e9")}});
  const int32_t expected[] = {int32_t(0x80000000), -2147483647 - 1, int32_t(0x80000000)};
  for (int i = 0; i < 3; ++i) {
    RuntimeObject *field = cursorGetFieldByIndex(&rows->header, i + 1);
    EXPECT_EQ(cursorFieldIntegerValueGetter(field, 0), expected[i]) << i;
    RuntimeUnlockObject(field);
  }
  RuntimeUnlockObject(&rows->header);
}

TEST_F(DatabaseClasses, AFieldOfAnEmptyRecordSetReadsEmptyValues) {
  DatabaseCursorObject *rows = VectorSource({{SqlInteger(1)}});
  RuntimeObject *field = cursorGetFieldByIndex(&rows->header, 1);
  cursorMoveNext(&rows->header); // EOF
  EXPECT_EQ(Getters(field), "~|0|0|0|0:nil");
  EXPECT_EQ(cursorFieldDateValueGetter(field, 0), nullptr);
  EXPECT_EQ(cursorFieldJPEGGetter(field, 0), nullptr);
  EXPECT_EQ(cursorFieldNativeValueGetter(field, 0), nullptr);
  RuntimeUnlockObject(field);
  RuntimeUnlockObject(&rows->header);
}

// Random typed values of every code, random lengths and bytes, read through
// every getter: nothing may read outside the value (run under
// AddressSanitizer to see it).
TEST_F(DatabaseClasses, RandomValuesThroughEveryGetter) {
  std::mt19937 random(44);
  stringStorage *held = S("referenced");
  std::vector<SqlRow> rows;
  for (int r = 0; r < 500; ++r) {
    SqlRow row;
    for (int c = 0; c < 20; ++c) {
      SqlValue value;
      value.type = uint8_t(random() % 19);
      if (value.type == kColumnStringRef) {
        value.bytes.assign(reinterpret_cast<const char *>(&held), sizeof held);
      } else {
        value.bytes.resize(random() % 14);
        for (char &byte : value.bytes)
          byte = char(random());
      }
      row.push_back(value);
    }
    rows.push_back(row);
  }
  DatabaseCursorObject *source = VectorSource(rows);
  std::vector<RuntimeObject *> fields;
  for (int c = 1; c <= 20; ++c)
    fields.push_back(cursorGetFieldByIndex(&source->header, c));
  int seen = 0;
  for (; !source->eof; cursorMoveNext(&source->header))
    for (RuntimeObject *field : fields) {
      Getters(field);
      DateText(cursorFieldDateValueGetter(field, 0));
      stringStorage::RemoveReference(cursorFieldNativeValueGetter(field, 0));
      ++seen;
    }
  EXPECT_EQ(seen, 10000);
  for (RuntimeObject *field : fields)
    RuntimeUnlockObject(field);
  RuntimeUnlockObject(&source->header);
  stringStorage::RemoveReference(held);
}

// --------------------------------------------- setters on the built-in engine

class BuiltInEngine : public DatabaseClasses {
protected:
  void SetUp() override {
    DatabaseClasses::SetUp();
    mDatabase = ZANTdbDatabaseFromDBDatabase(CreateZANTPath(string(mScratch.Path("f.db").c_str())),
                                             &gZANTEngineDefinition);
    ASSERT_NE(mDatabase, nullptr);
    ASSERT_EQ(SqlExecuteText(mDatabase, "CREATE TABLE t (id integer, s varchar(20), d double, dt date, "
                                        "b boolean, PRIMARY KEY (id))"),
              0);
    ASSERT_EQ(SqlExecuteText(mDatabase, "INSERT INTO t (id, s, d) VALUES (1, 'one', 1.5)"), 0);
  }
  void TearDown() override { RuntimeUnlockObject(mDatabase); }
  RuntimeObject *Select() { return databaseSQLSelect(mDatabase, sqlString("SELECT * FROM t").Storage()); }
  DatabaseScratch mScratch;
  RuntimeObject *mDatabase = nullptr;
};

TEST_F(BuiltInEngine, SettersRecordPendingEditsWrittenByUpdate) {
  RuntimeObject *rs = Select();
  ASSERT_NE(rs, nullptr);
  RuntimeObject *s = cursorGetFieldByName(rs, S("s")), *d = cursorGetFieldByName(rs, S("D")),
                *dt = cursorGetFieldByName(rs, S("dt")), *b = cursorGetFieldByName(rs, S("b"));
  EXPECT_EQ(Take(cursorFieldNameGetter(d, 0)), "d");
  // Not editing: dropped.
  cursorFieldStringValueSetter(s, 0, S("ignored"));
  EXPECT_EQ(Take(cursorFieldStringValueGetter(s)), "one");
  cursorEdit(rs);
  cursorFieldStringValueSetter(s, 0, S("first"));
  cursorFieldStringValueSetter(s, 0, S("two"));
  cursorFieldDoubleValueSetter(d, 0, 0.1);
  RuntimeObject *date = ConstructDate(2004, 7, 9, 0, 0, 0);
  cursorFieldDateValueSetter(dt, 0, date);
  cursorFieldDateValueSetter(dt, 0, nullptr); // a nil Date records nothing
  RuntimeUnlockObject(date);
  CursorFieldBooleanValueSetter(b, 0, 1);
  int edits = 0;
  for (ZANTpendingEdit *e = reinterpret_cast<DatabaseCursorObject *>(rs)->pendingEdits; e; e = e->next)
    ++edits;
  EXPECT_EQ(edits, 4);
  // Pending edits answer before the engine does.
  EXPECT_EQ(Take(cursorFieldStringValueGetter(s)), "two");
  EXPECT_DOUBLE_EQ(cursorFieldDoubleValueGetter(d, 0), 0.1);
  EXPECT_TRUE(CursorFieldBooleanValueGetter(b, 0));
  EXPECT_EQ(Take(cursorFieldStringValueGetter(dt)).substr(0, 10), "2004-07-09");
  cursorUpdate(rs);
  EXPECT_EQ(databaseErrorCodeGetter(mDatabase, 0), 0) << Take(databaseErrorStringGetter(mDatabase, 0));
  for (RuntimeObject *f : {s, d, dt, b})
    RuntimeUnlockObject(f);
  RuntimeUnlockObject(rs);

  EXPECT_EQ(SqlSelectRows(mDatabase, "SELECT id, s, d, dt, b FROM t"),
            (Strings{"1|two|0.1|2004-07-09|true"}));
}

TEST_F(BuiltInEngine, ValueOfEmptyTextRecordsWhatStringValueDoes) {
  for (bool throughValue : {false, true}) {
    RuntimeObject *rs = Select();
    RuntimeObject *s = cursorGetFieldByName(rs, S("s"));
    cursorEdit(rs);
    if (throughValue) {
      RuntimeObject *empty = stringToVariant(nullptr);
      CursorFieldValueSetter(s, 0, empty);
      RuntimeUnlockObject(empty);
    } else {
      cursorFieldStringValueSetter(s, 0, nullptr);
    }
    EXPECT_EQ(Take(cursorFieldNativeValueGetter(s, 0)), "one"); // the cursor's bytes, edits aside
    EXPECT_EQ(Take(cursorFieldStringValueGetter(s)), "~");
    cursorUpdate(rs);
    RuntimeUnlockObject(s);
    RuntimeUnlockObject(rs);
    EXPECT_EQ(SqlSelectRows(mDatabase, "SELECT s FROM t"), (Strings{"~"})) << throughValue;
    ASSERT_EQ(SqlExecuteText(mDatabase, "UPDATE t SET s = 'one'"), 0);
  }
}

TEST_F(BuiltInEngine, ValueSetterByVariantType) {
  RuntimeObject *rs = Select();
  RuntimeObject *s = cursorGetFieldByName(rs, S("s"));
  cursorEdit(rs);
  RuntimeObject *date = ConstructDate(2004, 7, 9, 10, 11, 12);
  struct Case {
    RuntimeObject *variant;
    std::string recorded;
  };
  const Case cases[] = {
      {nullptr, "~"},
      {intToVariant(-12), "-12"},
      {doubleToVariant(0.5), "0.5"},
      {booleanToVariant(1), "true"},
      {stringToVariant(S("text")), "text"},
      {DateToVariant(date), "2004-07-09 10:11:12"},
      {objectToVariant(rs), "~"},
  };
  for (const Case &c : cases) {
    CursorFieldValueSetter(s, 0, c.variant);
    EXPECT_EQ(Take(cursorFieldStringValueGetter(s)), c.recorded);
    RuntimeUnlockObject(c.variant);
  }
  // A picture cannot be saved as JPEG here: the edit stays as it was.
  cursorFieldStringValueSetter(s, 0, S("kept"));
  cursorFieldJPEGSetter(s, 0, date);
  EXPECT_EQ(Take(cursorFieldStringValueGetter(s)), "kept");
  cursorFieldMactPictSetter(s, 0, date);
  EXPECT_EQ(Take(cursorFieldStringValueGetter(s)), "~");
  RuntimeUnlockObject(date);
  RuntimeUnlockObject(s);
  RuntimeUnlockObject(rs);
}

// --------------------------------------------------------- DatabaseRecord

TEST_F(DatabaseClasses, DatabaseRecordColumnsAndTypes) {
  RuntimeObject *record = NewDatabaseObject(DatabaseRecordClass());
  setDatabaseRecordColumn(record, S("a"), S("x"));
  setDatabaseRecordIntegerColumn(record, S("A"), 12);
  setDatabaseRecordDoubleColumn(record, S("d"), 0.25);
  SetDatabaseRecordBooleanColumn(record, S("b"), 1);
  SetDatabaseRecordBlobColumn(record, S("blob"), S(std::string("\0z", 2)));
  RuntimeObject *date = ConstructDate(2004, 7, 9, 0, 0, 0);
  setDatabaseRecordDateColumn(record, S("when"), date);
  setDatabaseRecordDateColumn(record, S("never"), nullptr);
  setDatabaseRecordMacPictColumn(record, S("pict"), date);
  setDatabaseRecordMacPictColumn(record, S("none"), nullptr);
  setDatabaseRecordJPEGColumn(record, S("jpeg"), date);
  RuntimeUnlockObject(date);

  Strings entries;
  for (ZANTcolumnValue *e = DatabaseRecordEntries(record); e; e = e->next)
    entries.push_back(sqlStdString(e->name) + "=" + (e->value ? sqlStdString(e->value) : "~") + "/" +
                      std::to_string(e->type));
  EXPECT_EQ(entries, (Strings{"pict=~/5", "when=2004-07-09 00:00:00/8", "blob=" + std::string("\0z", 2) + "/14",
                              "b=true/12", "d=0.25/7", "a=12/5"}));
  EXPECT_EQ(getDatabaseRecordFieldCount(record), 6);
  EXPECT_EQ(Take(getDatabaseRecordIndString(record, 1)), "~");
  EXPECT_EQ(Take(getDatabaseRecordIndString(record, 6)), "12");
  EXPECT_EQ(getDatabaseRecordIndString(record, 7), nullptr);
  EXPECT_EQ(getDatabaseRecordIndString(record, 0), nullptr);
  EXPECT_EQ(Take(getDatabaseRecordColumn(record, S("A"))), "12");
  EXPECT_EQ(getDatabaseRecordIntegerColumn(record, S("a")), 12);
  EXPECT_DOUBLE_EQ(getDatabaseRecordDoubleColumn(record, S("D")), 0.25);
  EXPECT_TRUE(GetDatabaseRecordBooleanColumn(record, S("b")));
  EXPECT_FALSE(GetDatabaseRecordBooleanColumn(record, S("a")));
  EXPECT_EQ(Take(GetDatabaseRecordBlobColumn(record, S("blob"))), std::string("\0z", 2));
  EXPECT_EQ(DateText(getDatabaseRecordDateColumn(record, S("when"))), "2004-07-09 00:00:00");
  EXPECT_EQ(getDatabaseRecordDateColumn(record, S("nosuch")), nullptr);
  EXPECT_EQ(getDatabaseRecordMacPictColumn(record, S("pict")), nullptr);
  EXPECT_EQ(getDatabaseRecordJPEGColumn(record, S("a")), nullptr); // "12" is no picture
  EXPECT_EQ(getDatabaseRecordColumn(record, S("nosuch")), nullptr);
  RuntimeUnlockObject(record);
}

// ------------------------------------------------------- ScrollableCursor

ZANTdbCursorDefinition *gNamedVectorCursorSlots = nullptr;

// Every column of a row is keyed by the row's first value; the name
// follows the column.
int32_t RowKey(dbCursor *cursor, int32_t column, const char **name, int32_t *nameLength, const char **key,
               int32_t *keyLength) {
  static std::string names[2] = {"t!c0", "t!c1"};
  static std::string keyText;
  if (column > 1)
    return 0;
  void *data = nullptr;
  uint8_t type = 0;
  int32_t length = 0;
  gNamedVectorCursorSlots->getColumnValue(cursor, 0, &data, &type, &length);
  keyText = "id = '" + std::to_string(*static_cast<int32_t *>(data)) + "'";
  *name = names[column].data();
  *nameLength = int32_t(names[column].size());
  *key = keyText.data();
  *keyLength = int32_t(keyText.size());
  return 1;
}

TEST_F(DatabaseClasses, ScrollableCursorCopiesTheRemainingRowsWithTheirKeys) {
  DatabaseCursorObject *rows = VectorSource({{SqlInteger(1), SqlText("one"), SqlText("x")},
                                             {SqlInteger(2), SqlText("two"), SqlText("y")},
                                             {SqlInteger(3), SqlText("three"), SqlText("z")}});
  ZANTdbCursorDefinition slots = *rows->definition;
  gNamedVectorCursorSlots = rows->definition;
  slots.getFieldKey = RowKey;
  rows->definition = &slots;
  RuntimeObject *rs = &rows->header;
  cursorMoveNext(rs); // copying starts at the current row
  RuntimeObject *scrollable = NewDatabaseObject(ScrollableCursorClass());
  scrollableCursorConstructor(scrollable, rs);
  EXPECT_TRUE(rows->eof);
  ASSERT_EQ(scrollableCursorGetCount(scrollable), 2);
  EXPECT_EQ(scrollableCursorGetRow(scrollable, 0), nullptr);
  EXPECT_EQ(scrollableCursorGetRow(scrollable, 3), nullptr);
  RuntimeObject *row = scrollableCursorGetRow(scrollable, 2);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(getDatabaseRecordFieldCount(row), 3);
  EXPECT_EQ(Take(getDatabaseRecordIndString(row, 1)), "3");
  EXPECT_EQ(Take(getDatabaseRecordIndString(row, 2)), "three");
  EXPECT_EQ(Take(getDatabaseRecordIndString(row, 3)), "z");
  EXPECT_EQ(DatabaseRecordEntries(row)->type, kColumnText);
  EXPECT_EQ(DatabaseRecordEntries(row)->name, nullptr);
  RuntimeUnlockObject(row);

  // The qualified names are kept once per cursor, in order of first use.
  auto *self = reinterpret_cast<ScrollableCursorObject *>(scrollable);
  Strings names;
  for (ScrollableKeyName *n = self->keyNamesHead; n; n = n->next)
    names.push_back(sqlStdString(n->name));
  EXPECT_EQ(names, (Strings{"t!c0", "t!c1"}));
  // Row 1 as written: three texts, then the keys: name 1 with the key text,
  // name 2 with the negated position of the same key text, no key.
  RandomAccessMechanism *in = getListChunk(self->rows, 0);
  ASSERT_NE(in, nullptr);
  auto readText = [&] {
    int length = -1;
    EXPECT_TRUE(in->ReadEncodedInt(length));
    std::string bytes(size_t(std::max(length, 0)), '\0');
    long got = 0;
    if (length > 0)
      in->ReadData(bytes.data(), length, got);
    return bytes;
  };
  auto readInt = [&] {
    int value = 99;
    EXPECT_TRUE(in->ReadEncodedInt(value));
    return value;
  };
  EXPECT_EQ(readText(), "2");
  EXPECT_EQ(readText(), "two");
  EXPECT_EQ(readText(), "y");
  EXPECT_EQ(readInt(), 1);
  EXPECT_EQ(readText(), "id = '2'");
  EXPECT_EQ(readInt(), 2);
  EXPECT_EQ(readInt(), -1);
  EXPECT_EQ(readInt(), 0);
  RuntimeUnlockObject(scrollable);
  rows->definition = gNamedVectorCursorSlots;
  RuntimeUnlockObject(rs);

  // A nil cursor gives no rows.
  RuntimeObject *empty = NewDatabaseObject(ScrollableCursorClass());
  scrollableCursorConstructor(empty, nullptr);
  EXPECT_EQ(scrollableCursorGetCount(empty), 0);
  EXPECT_EQ(scrollableCursorGetRow(empty, 1), nullptr);
  RuntimeUnlockObject(empty);
}

} // namespace
