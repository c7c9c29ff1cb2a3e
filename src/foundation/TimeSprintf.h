// The runtime's own date-text formatter: strftime-like conversions with fixed
// English names, independent of the process locale.
#pragma once
#include <ctime>

// English weekday (Sunday first) and month names.
extern const char *const kWeekdayNames[7];
extern const char *const kMonthNames[12];

// Formats the record (tm_year holding the full year) by the pattern into out,
// zero-terminated. Answers the text length, or 0 when the text and its
// terminator do not fit into size bytes or into the 1024-byte scratch text.
// An unknown conversion prints "Error in TimeSprintf() ".
int TimeSprintf(char *out, int size, const char *format, const tm *record);
