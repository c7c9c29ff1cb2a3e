// The language's Date class: a thin object over the platform DateImp, with
// its calendar fields, text forms, TotalSeconds and the SQL text forms
// YYYY-MM-DD and YYYY-MM-DD HH:MM:SS.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/DateImp.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct DateObject {
  RuntimeObject header;
  DateImp *imp; // nil when none could be made
};
static_assert(sizeof(DateObject) == 28);
static_assert(offsetof(DateObject, imp) == 24);

// The checks of the database date converters.
inline constexpr const char *kDateAlertSource = "../Common/DateCommon";
inline constexpr AlertSite kConstructDateAlert{kDateAlertSource, 48, "rv"};
inline constexpr AlertSite kDBDateAlert{kDateAlertSource, 109, "rv"};
inline constexpr AlertSite kQVDateAlert{kDateAlertSource, 128, "date"};

ObjectDefinition *DateClass();
// Whether the object is a Date (or of a subclass).
bool IsDate(RuntimeObject *object);
// A new Date (one reference) at that many seconds since 1904-01-01; nil
// when it cannot be made.
RuntimeObject *NewDate(double totalSeconds);

extern "C" {
int32_t dateFieldGetter(RuntimeObject *date, int32_t field);
void dateFieldSetter(RuntimeObject *date, int32_t field, int32_t value);
stringStorage *dateStringGetter(RuntimeObject *date, int32_t format);
double dateTotalSecondsGetter(RuntimeObject *date, int32_t param);
void dateTotalSecondsSetter(RuntimeObject *date, int32_t param, double seconds);
stringStorage *dateSQLDateGetter(RuntimeObject *date, int32_t param);
void dateSQLDateSetter(RuntimeObject *date, int32_t param, stringStorage *text);
stringStorage *dateSQLDateTimeGetter(RuntimeObject *date, int32_t param);
void dateSQLDateTimeSetter(RuntimeObject *date, int32_t param, stringStorage *text);

void UpdateDate(RuntimeObject *date);
DateImp *AutoInitDate(RuntimeObject *date);
int32_t parseDate(stringStorage *text, RuntimeObject **variable);
int32_t DateCompare(RuntimeObject *a, RuntimeObject *b);
// The Date whose local fields are the arguments (month from 1). Date fields
// of 0 give that time of day on 1904-01-01.
RuntimeObject *ConstructDate(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                             int32_t second);
RuntimeObject *dbDateToQVDate(stringStorage *text);
stringStorage *QVDateToDBDate(RuntimeObject *date);
}
