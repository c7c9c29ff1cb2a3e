#include "database/sql/SqlEntryPoints.h"

#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlExecute.h"
#include "runtime/exports/ExportTable.h"

void RegisterSqlEntryPoints() {
#define SQL_EXPORT(function) AddRelocEntry(#function, reinterpret_cast<void *>(function))
  SQL_EXPORT(databaseSQLExecute);
  SQL_EXPORT(databaseSQLSelect);
  SQL_EXPORT(databaseFieldSchema);
  SQL_EXPORT(cursorEdit);
  SQL_EXPORT(cursorUpdate);
  SQL_EXPORT(cursorDeleteRecord);
  SQL_EXPORT(CursorMovePrev);
  SQL_EXPORT(CursorMoveFirst);
  SQL_EXPORT(CursorMoveLast);
  SQL_EXPORT(cursorFieldCount);
  SQL_EXPORT(cursorGetFieldByName);
  SQL_EXPORT(cursorGetFieldByIndex);
  SQL_EXPORT(databaseCursorFieldSetString);
  SQL_EXPORT(databaseCursorFieldGetString);
  SQL_EXPORT(cursorFieldStringValueGetter);
#undef SQL_EXPORT
}
