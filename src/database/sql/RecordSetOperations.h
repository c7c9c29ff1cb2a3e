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
// The pending edit of the column, or nil.
ZANTpendingEdit *recordSetPendingEdit(DatabaseCursorObject *recordSet, int32_t column);
// The text of a typed value (StringValue's conversion); false for no value.
// Exact texts of floats and doubles carry every digit, so that they read
// back as the same number.
struct DatabaseValue;
bool databaseValueText(const DatabaseValue &value, std::string &text, bool exact = false);
// Field n (from 0) of a date, time or timestamp value: a big-endian signed
// 16-bit integer; 0 past the end of the bytes.
int16_t databaseValueField(const std::string &bytes, size_t field);
// The name of a 0-based column: the cursor's, or field1, field2, ... when
// it names none.
std::string recordSetColumnName(DatabaseCursorObject *recordSet, int32_t column);
// Records text (nil: NULL) as the column's pending edit while editing.
void recordSetSetText(DatabaseCursorObject *recordSet, int32_t column, stringStorage *text);
