// The accessors of DatabaseCursorField (and DatabaseField): one column of a
// record set's current row read in the language's value types, and written
// as texts recorded as the record set's pending edits. StringValue's getter
// and the common setter live with the record-set operations of the SQL
// layer (cursorFieldStringValueGetter, databaseCursorFieldSetString).
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

extern "C" {
stringStorage *cursorFieldNameGetter(RuntimeObject *field, int32_t param);
void cursorFieldStringValueSetter(RuntimeObject *field, int32_t param, stringStorage *value);
double cursorFieldDoubleValueGetter(RuntimeObject *field, int32_t param);
void cursorFieldDoubleValueSetter(RuntimeObject *field, int32_t param, double value);
int32_t cursorFieldIntegerValueGetter(RuntimeObject *field, int32_t param);
void cursorFieldIntegerValueSetter(RuntimeObject *field, int32_t param, int32_t value);
stringStorage *cursorFieldNativeValueGetter(RuntimeObject *field, int32_t param);
RuntimeObject *cursorFieldDateValueGetter(RuntimeObject *field, int32_t param);
void cursorFieldDateValueSetter(RuntimeObject *field, int32_t param, RuntimeObject *date);
RuntimeObject *cursorFieldMactPictGetter(RuntimeObject *field, int32_t param);
void cursorFieldMactPictSetter(RuntimeObject *field, int32_t param, RuntimeObject *picture);
RuntimeObject *cursorFieldJPEGGetter(RuntimeObject *field, int32_t param);
void cursorFieldJPEGSetter(RuntimeObject *field, int32_t param, RuntimeObject *picture);
int32_t CursorFieldBooleanValueGetter(RuntimeObject *field, int32_t param);
void CursorFieldBooleanValueSetter(RuntimeObject *field, int32_t param, int32_t value);
RuntimeObject *CursorFieldValueGetter(RuntimeObject *field, int32_t param);
void CursorFieldValueSetter(RuntimeObject *field, int32_t param, RuntimeObject *variant);
}

// The texts the field and record setters record for a Double, an Integer,
// a Date (nil for a nil Date) and a Boolean.
string DatabaseDoubleText(double value);
string DatabaseIntegerText(int32_t value);
string DatabaseDateText(RuntimeObject *date);
string DatabaseBooleanText(bool value);
// A text column read as a Boolean: "true" in any case, or a first letter t.
bool DatabaseTextIsTrue(const string &text);
// The bytes as a picture: written to a temporary file that is opened as a
// picture and deleted; nil for no bytes or bytes that are no picture.
RuntimeObject *DatabasePictureFromBytes(const string &bytes);
