#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeEngine.h"
#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SqlExecute.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlStrings.h"
#include "runtime/exports/ExportTable.h"

namespace {

class RecordSetOperations : public ::testing::Test {
protected:
  void SetUp() override { CreateDatabaseClasses(); }
};

// StringValue of a field, "~" for nil.
std::string Read(RuntimeObject *field) {
  if (!field)
    return "no field";
  stringStorage *text = cursorFieldStringValueGetter(field);
  const std::string value = text ? sqlStdString(text) : "~";
  stringStorage::RemoveReference(text);
  return value;
}

} // namespace

TEST_F(RecordSetOperations, StringValueOfEveryType) {
  float single = 2.5f;
  const std::vector<std::pair<SqlValue, std::string>> cases = {
      {SqlValue{}, "~"},
      {{kColumnSmallInt, std::string("\xfe\xff", 2)}, "-2"},
      {SqlInteger(-2147483647 - 1), "-2147483648"},
      {{kColumnFloat, std::string(reinterpret_cast<char *>(&single), 4)}, "2.5"},
      {SqlDouble(3), "3"},
      {SqlDouble(3.25), "3.25"},
      {SqlDouble(-0.5), "-0.5"},
      {SqlText("caf\xc3\xa9"), "caf\xc3\xa9"},
      {SqlFields(kColumnDate, 2004, 7, 9), "2004-07-09"},
      {SqlFields(kColumnTime, 9, 5, 0), "09:05:00"},
      {{kColumnTimeStamp, SqlFields(kColumnDate, 2004, 7, 9).bytes + SqlFields(kColumnTime, 23, 59, 1).bytes},
       "2004-07-09 23:59:01"},
      {SqlBoolean(true), "true"},
      {SqlBoolean(false), "false"},
      {SqlBytes(std::string("a\0b", 3)), std::string("a\0b", 3)},
  };
  SqlRow row;
  for (const auto &c : cases)
    row.push_back(c.first);
  DatabaseCursorObject *rows = VectorSource({row});
  for (size_t i = 0; i < cases.size(); ++i) {
    RuntimeObject *field = cursorGetFieldByIndex(&rows->header, static_cast<int32_t>(i + 1));
    EXPECT_EQ(Read(field), cases[i].second) << i;
    RuntimeUnlockObject(field);
  }
  RuntimeUnlockObject(&rows->header);
}

TEST_F(RecordSetOperations, FieldsByNameAndByNumber) {
  DatabaseCursorObject *unnamed = VectorSource({{SqlText("x"), SqlText("y")}}, true);
  RuntimeObject *field = cursorGetFieldByName(&unnamed->header, sqlString("FIELD2").Storage());
  EXPECT_EQ(Read(field), "y");
  RuntimeUnlockObject(field);
  EXPECT_EQ(cursorGetFieldByName(&unnamed->header, sqlString("field3").Storage()), nullptr);
  EXPECT_EQ(cursorFieldCount(&unnamed->header), 2);
  EXPECT_EQ(cursorGetFieldByIndex(&unnamed->header, 0), nullptr);
  EXPECT_EQ(cursorGetFieldByIndex(&unnamed->header, 3), nullptr);
  field = cursorGetFieldByIndex(&unnamed->header, 2);
  EXPECT_EQ(Read(field), "y");
  RuntimeUnlockObject(field);
  RuntimeUnlockObject(&unnamed->header);

  DatabaseCursorObject *named = VectorSource({{SqlText("x"), SqlText("y")}});
  field = cursorGetFieldByName(&named->header, sqlString("C1").Storage());
  EXPECT_EQ(Read(field), "y");
  RuntimeUnlockObject(field);
  RuntimeUnlockObject(&named->header);

  // A field of an empty record set reads nil.
  DatabaseCursorObject *empty = VectorSource({});
  EXPECT_TRUE(empty->bof && empty->eof);
  EXPECT_EQ(cursorFieldCount(&empty->header), 0);
  std::string text = "unchanged";
  EXPECT_FALSE(recordSetColumnText(empty, 0, text));
  EXPECT_EQ(text, "");
  RuntimeUnlockObject(&empty->header);
}

TEST_F(RecordSetOperations, EditsArePendingUntilTheNextMove) {
  DatabaseCursorObject *rows = VectorSource({{SqlText("a"), SqlText("b")}, {SqlText("c"), SqlText("d")}});
  RuntimeObject *field = cursorGetFieldByIndex(&rows->header, 1);
  // Not editing: dropped.
  databaseCursorFieldSetString(field, sqlString("new").Storage());
  EXPECT_EQ(Read(field), "a");
  cursorEdit(&rows->header);
  databaseCursorFieldSetString(field, sqlString("one").Storage());
  databaseCursorFieldSetString(field, sqlString("two").Storage());
  EXPECT_EQ(Read(field), "two");
  ASSERT_NE(rows->pendingEdits, nullptr);
  EXPECT_EQ(rows->pendingEdits->next, nullptr);
  databaseCursorFieldSetString(field, nullptr);
  EXPECT_EQ(Read(field), "~");
  // Moving drops the edits, whichever way it moves.
  CursorMoveFirst(&rows->header);
  EXPECT_EQ(rows->pendingEdits, nullptr);
  EXPECT_EQ(Read(field), "a");
  cursorMoveNext(&rows->header);
  EXPECT_EQ(Read(field), "c");
  // At EOF DeleteRecord does not reach the cursor, whose deleteRow would
  // erase past its rows there.
  cursorMoveNext(&rows->header);
  EXPECT_TRUE(rows->eof);
  cursorDeleteRecord(&rows->header);
  RuntimeUnlockObject(field);
  RuntimeUnlockObject(&rows->header);
}

TEST_F(RecordSetOperations, FieldSchemaAndEntryPointsByName) {
  FakeEngine fake;
  fake.AddTable("t", {{"id", kColumnInteger}, {"name"}});
  RuntimeObject *schema = databaseFieldSchema(fake.Database(), sqlString("T").Storage());
  ASSERT_NE(schema, nullptr);
  EXPECT_EQ(FakeRecordSetRows(reinterpret_cast<DatabaseCursorObject *>(schema)), (std::vector<std::string>{"id", "name"}));
  RuntimeUnlockObject(schema);
  EXPECT_EQ(databaseFieldSchema(fake.Database(), sqlString("nosuch").Storage()), nullptr);
  fake.engine.getFieldSchema = nullptr;
  EXPECT_EQ(databaseFieldSchema(fake.Database(), sqlString("t").Storage()), nullptr);

  const std::pair<const char *, void *> names[] = {
      {"databaseSQLExecute", reinterpret_cast<void *>(databaseSQLExecute)},
      {"databaseSQLSelect", reinterpret_cast<void *>(databaseSQLSelect)},
      {"CursorMoveLast", reinterpret_cast<void *>(CursorMoveLast)},
      {"databaseCursorFieldSetString", reinterpret_cast<void *>(databaseCursorFieldSetString)},
      {"cursorFieldStringValueGetter", reinterpret_cast<void *>(cursorFieldStringValueGetter)},
  };
  for (const auto &[name, function] : names) {
    const RelocEntry *entry = resolveRelocEntry(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->address, function) << name;
  }
}

TEST_F(RecordSetOperations, AFieldHoldsItsRecordSetUntilTheFieldGoes) {
  DatabaseCursorObject *rows = VectorSource({{SqlText("x")}});
  const int32_t before = rows->header.refCount;
  RuntimeObject *field = cursorGetFieldByIndex(&rows->header, 1);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(rows->header.refCount, before + 1);
  RuntimeUnlockObject(field);
  EXPECT_EQ(rows->header.refCount, before);
  RuntimeUnlockObject(&rows->header);
}
