// What the runtime's SQL uses of record sets and their fields: moving, the
// column lookup by name and number, editing with pending edits and their
// write-back, deleting, and reading a column as text. The language's
// RecordSet and DatabaseField classes bind the extern "C" entry points under
// their export names.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "database/DatabaseObjects.h"

extern "C" {
void cursorEdit(RuntimeObject *recordSet);
void cursorUpdate(RuntimeObject *recordSet);
void cursorDeleteRecord(RuntimeObject *recordSet);
void CursorMovePrev(RuntimeObject *recordSet);
void CursorMoveFirst(RuntimeObject *recordSet);
void CursorMoveLast(RuntimeObject *recordSet);
int32_t cursorFieldCount(RuntimeObject *recordSet);
RuntimeObject *cursorGetFieldByName(RuntimeObject *recordSet, stringStorage *name);
RuntimeObject *cursorGetFieldByIndex(RuntimeObject *recordSet, int32_t index);
RuntimeObject *databaseFieldSchema(RuntimeObject *database, stringStorage *table);
// The common setter of every field: records a pending edit while editing.
void databaseCursorFieldSetString(RuntimeObject *field, stringStorage *text);
// StringValue (and getString).
stringStorage *cursorFieldStringValueGetter(RuntimeObject *field);
stringStorage *databaseCursorFieldGetString(RuntimeObject *field);
}

// The 0-based column whose name equals name without regard to case (a
// cursor without column names calls its columns field1, field2, ...); -1.
int32_t recordSetColumnIndex(DatabaseCursorObject *recordSet, std::string_view name);
// The column's StringValue on the current row (a pending edit first).
// Answers false for NULL (and for no row), leaving text empty. With exact,
// floats and doubles carry every digit (for comparing, not for showing).
bool recordSetColumnText(DatabaseCursorObject *recordSet, int32_t column, std::string &text, bool exact = false);
// Records text (nil: NULL) as the column's pending edit while editing.
void recordSetSetText(DatabaseCursorObject *recordSet, int32_t column, stringStorage *text);
