// The DataControl's record state: running the query, counting and moving
// through the rows, copying the current record into the bound controls,
// writing their changes back, and inserting, deleting and blanking records.
#include <algorithm>
#include <utility>
#include <vector>

#include "database/DatabaseClasses.h"
#include "database/DatabaseInterface.h"
#include "database/DatabaseObjects.h"
#include "database/classes/BoundControls.h"
#include "database/classes/DataControlClass.h"
#include "database/classes/DataControlPane.h"
#include "database/classes/DatabaseMembers.h"
#include "database/classes/DatabaseRecordClass.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlStrings.h"

namespace {

DatabaseCursorObject *AsCursor(RuntimeObject *recordSet) {
  return reinterpret_cast<DatabaseCursorObject *>(recordSet);
}

bool AtEnd(RuntimeObject *recordSet) { return !recordSet || AsCursor(recordSet)->eof; }

} // namespace

bool DataControl::ReadOnly() const { return mObject && mObject->readOnly; }

void DataControl::SetDatabase(RuntimeObject *database) {
  RuntimeLockObject(database);
  RuntimeUnlockObject(mDatabase);
  mDatabase = database;
}

void DataControl::StartEdit() {
  if (mRecordSet && !ReadOnly())
    cursorEdit(mRecordSet);
}

void DataControl::EndEdit() {
  if (mRecordSet && !ReadOnly())
    cursorUpdate(mRecordSet);
}

void DataControl::DropRecordSet() {
  if (!mRecordSet)
    return;
  EndEdit();
  RuntimeObject *recordSet = std::exchange(mRecordSet, nullptr);
  cursorClose(recordSet);
  RuntimeUnlockObject(recordSet);
}

int32_t DataControl::MoveForward(int32_t count) {
  int32_t moves = 0;
  while (moves < count && !AtEnd(mRecordSet)) {
    cursorMoveNext(mRecordSet);
    if (AtEnd(mRecordSet))
      break;
    ++moves;
  }
  return moves;
}

template <typename Fn> void DataControl::ForEachBound(Fn fn) {
  if (!mObject)
    return;
  std::vector<std::pair<RuntimeObject *, int32_t>> entries;
  for (BoundControlEntry *e = mObject->bound; e; e = e->next)
    entries.emplace_back(e->control, e->kind);
  for (const auto &[control, kind] : entries) {
    bool stillBound = false;
    for (BoundControlEntry *e = mObject ? mObject->bound : nullptr; e && !stillBound; e = e->next)
      stillBound = e->control == control && e->kind == kind;
    if (stillBound)
      fn(control, kind);
  }
}

int32_t DataControl::ColumnOf(RuntimeObject *control, int32_t kind, std::string &text) {
  text.clear();
  const std::string name = BoundDataField(control, kind);
  if (!mRecordSet || name.empty())
    return -1;
  const int32_t column = recordSetColumnIndex(AsCursor(mRecordSet), name);
  if (column >= 0)
    recordSetColumnText(AsCursor(mRecordSet), column, text);
  return column;
}

void DataControl::FillFieldNames() {
  mFieldNames.clear();
  if (!mDatabase || mTableName.empty() || mSQLQuery.empty())
    return;
  mFieldNamesFilled = true;
  stringStorage *table = sqlStorage(mTableName);
  RuntimeObject *schema = databaseFieldSchema(mDatabase, table);
  stringStorage::RemoveReference(table);
  std::string name;
  for (; !AtEnd(schema); cursorMoveNext(schema)) {
    recordSetColumnText(AsCursor(schema), 0, name);
    mFieldNames.push_back(name);
  }
  if (schema)
    cursorClose(schema);
  RuntimeUnlockObject(schema);
}

void DataControl::ReInitializeCursor() {
  DropRecordSet();
  if (!mDatabase || mTableName.empty() || mSQLQuery.empty())
    return;
  stringStorage *sql = sqlStorage(mSQLQuery);
  mRecordSet = databaseSQLSelect(mDatabase, sql);
  stringStorage::RemoveReference(sql);
  StartEdit();
}

void DataControl::PopulateCursor() {
  mRow = 0;
  mCachedCount = 0;
  ReInitializeCursor();
}

// Counting runs the query again; the record set is then put back on the
// current row, so that a count never moves the record under the bound
// controls.
int32_t DataControl::RowCount() {
  if (!mRecordSet)
    return 0;
  if (mCachedCount > 0)
    return mCachedCount;
  EndEdit();
  int32_t count = 0;
  for (; !AtEnd(mRecordSet); cursorMoveNext(mRecordSet))
    ++count;
  mCachedCount = count;
  ReInitializeCursor();
  if (mRecordSet && mRow > 0) {
    EndEdit();
    MoveForward(mRow);
    StartEdit();
  }
  return mCachedCount;
}

// A row past the end stops at the last row there is, so the record set
// always stands on a row.
void DataControl::PositionOn(int32_t row) {
  ReInitializeCursor();
  if (!mRecordSet) {
    mRow = 0;
    return;
  }
  EndEdit();
  mRow = MoveForward(row);
  if (AtEnd(mRecordSet) && mRow > 0) {
    ReInitializeCursor();
    EndEdit();
    MoveForward(mRow);
  }
  StartEdit();
}

void DataControl::SetFlags(bool back, bool forward) {
  if (back != mBack) {
    mBack = back;
    InvalidateHalf(true);
  }
  if (forward != mForward) {
    mForward = forward;
    InvalidateHalf(false);
  }
}

void DataControl::RecordChanged(int32_t row) {
  StartEdit();
  if (row != 0)
    SetFlags(true, RowCount() != row + 1);
  else
    SetFlags(false, RowCount() > 1);
  FillBoundControls();
  if (mDelegate && mObject)
    mDelegate->DataControlReposition(mObject, row + 1);
}

void DataControl::ResetButtons() {
  mBack = false;
  mForward = mRecordSet && RowCount() >= 2;
  InvalidatePane(false);
}

bool DataControl::RecordLocked() {
  if (!mRecordSet || mCachedCount <= 0)
    return false;
  StartEdit();
  return mDatabase && databaseErrorCodeGetter(mDatabase, 0) != 0;
}

void DataControl::FillBoundControls() {
  if (!mRecordSet)
    return;
  const bool blocked = RecordLocked() || ReadOnly();
  ForEachBound([&](RuntimeObject *control, int32_t kind) {
    std::string text;
    const int32_t column = ColumnOf(control, kind, text);
    BoundShow(control, kind, column >= 0 ? std::optional<std::string>(text) : std::nullopt, blocked);
  });
}

bool DataControl::RecordModified() {
  bool modified = false;
  ForEachBound([&](RuntimeObject *control, int32_t kind) {
    std::string text;
    if (!modified && ColumnOf(control, kind, text) >= 0)
      modified = BoundChange(control, kind, text).has_value();
  });
  return modified;
}

void DataControl::WriteBack() {
  if (!mRecordSet || ReadOnly() || !RecordModified())
    return;
  if (mDelegate && mObject && mDelegate->DataControlValidate(mObject, kValidUpdate))
    return;
  cursorEdit(mRecordSet);
  ForEachBound([&](RuntimeObject *control, int32_t kind) {
    std::string text;
    const int32_t column = ColumnOf(control, kind, text);
    if (column < 0)
      return;
    if (std::optional<std::string> change = BoundChange(control, kind, text)) {
      stringStorage *value = sqlStorage(*change);
      recordSetSetText(AsCursor(mRecordSet), column, value);
      stringStorage::RemoveReference(value);
    }
  });
  cursorUpdate(mRecordSet);
  if (mObject && mObject->commit && mDatabase)
    databaseCommit(mDatabase);
  PositionOn(mRow);
  if (mDelegate && mObject)
    mDelegate->DataControlUpdate(mObject);
}

void DataControl::AddRecord() {
  if (mDelegate && mObject && mDelegate->DataControlValidate(mObject, kValidInsert))
    return;
  DropRecordSet();
  mCachedCount = 0;
  RuntimeObject *record = NewDatabaseObject(DatabaseRecordClass());
  ForEachBound([&](RuntimeObject *control, int32_t kind) {
    const std::string name = BoundDataField(control, kind);
    if (name.empty())
      return;
    stringStorage *column = sqlStorage(name), *value = sqlStorage(BoundRecordText(control, kind));
    setDatabaseRecordColumn(record, column, value);
    stringStorage::RemoveReference(column);
    stringStorage::RemoveReference(value);
  });
  if (record && mDatabase) {
    stringStorage *table = sqlStorage(mTableName);
    databaseInsertRecord(mDatabase, table, record);
    stringStorage::RemoveReference(table);
  }
  RuntimeUnlockObject(record);
  const bool keep = mDelegate && mObject && mDelegate->DataControlAddNew(mObject);
  if (!keep)
    BlankBoundControls();
}

void DataControl::DeleteRecord() {
  if (!mRecordSet)
    return;
  if (mDelegate && mObject && mDelegate->DataControlValidate(mObject, kValidDelete))
    return;
  const int32_t oldCount = RowCount();
  if (!mRecordSet)
    return;
  cursorDeleteRecord(mRecordSet);
  mCachedCount = std::max(oldCount - 1, 0);
  if (oldCount == mRow + 1)
    mRow = std::max(oldCount - 2, 0);
  PositionOn(mRow);
  RecordChanged(mRow);
  if (mDelegate && mObject)
    mDelegate->DataControlDelete(mObject);
}

void DataControl::BlankBoundControls() { ForEachBound(BoundBlank); }

void DataControl::BlankRecord() {
  DropRecordSet();
  mCachedCount = 0;
  BlankBoundControls();
  SetFlags(false, false);
  InvalidatePane(false);
}

void DataControl::MoveNext() {
  const int32_t count = RowCount();
  WriteBack();
  if (!mRecordSet || mRow >= count - 1)
    return;
  ++mRow;
  EndEdit();
  cursorMoveNext(mRecordSet);
  RecordChanged(mRow);
}

void DataControl::MovePrevious() {
  if (mRow <= 0)
    return;
  WriteBack();
  --mRow;
  ReInitializeCursor();
  EndEdit();
  MoveForward(mRow);
  RecordChanged(mRow);
}

void DataControl::MoveFirst() {
  if (mRow <= 0)
    return;
  WriteBack();
  mRow = 0;
  ReInitializeCursor();
  RecordChanged(0);
}

void DataControl::MoveLast() {
  const int32_t count = RowCount();
  if (mRow >= count - 1)
    return;
  WriteBack();
  EndEdit();
  mRow += MoveForward(count - 1 - mRow);
  RecordChanged(mRow);
}

void DataControl::MoveTo(int32_t v) {
  if (v <= 0 || v == mRow + 1)
    return;
  RowCount();
  WriteBack();
  PositionOn(v - 1);
  RecordChanged(mRow);
}

void DataControl::RunQuery() {
  FillFieldNames();
  PopulateCursor();
  FillBoundControls();
  ResetButtons();
  RecordChanged(0);
}
