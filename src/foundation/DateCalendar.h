// Calendar arithmetic on broken-down dates: leap years, validity, day
// numbers, weekdays and days of the year. Dates follow the Julian calendar up
// to 4 October 1582 and the Gregorian calendar from 15 October 1582 on.
//
// Every function here reads a tm record whose tm_year holds the full year
// (2004, not years since 1900); tm_mon is 0 to 11 and tm_mday 1-based.
#pragma once
#include <cstdint>
#include <ctime>

// Day number of 1904-01-01, the origin of the runtime's total seconds.
inline constexpr long kEpochDayNumber = 695058;

// Leap years: every fourth year, except century years not divisible by 400
// from 1582 on.
bool IsYearLeap(long year);
// Days of the month (0 to 11) in that year.
int DaysInMonth(long year, int month);

// Month 0 to 11, year 1 or later, day within the month.
bool IsDateValid(const tm *date);
// Hours 0 to 23, minutes 0 to 59, seconds 0 to 59.
bool IsTimeValid(const tm *date);

// Store the fields (month 1-based here); 0 when they form a valid date or
// time, -1 when not (the fields are stored either way).
int LoadDateStruct(tm *date, int year, int month, int day);
int LoadTimeStruct(tm *date, int hour, int minute, int second);

// The day number of a valid date (1 for 0001-01-01), or -1.
long DateToDayNumber(const tm *date);
// Loads year, month and day of a day number; 0, or -1 when no valid date has
// that number (the fields are then unspecified).
int DayNumberToDate(long dayNumber, tm *date);

// Difference of the two dates' day numbers.
long DateDiff(const tm *a, const tm *b);
// Seconds from b to a, counting each date as day number * 86400 plus its time
// of day (hours, minutes and seconds at their full weight, in range or not).
double TimeDiff(const tm *a, const tm *b);

// 0 (Sunday) to 6, or -1 for an invalid date.
int DayOfWeek(const tm *date);
// 1-based day within the year, or -1 for an invalid date.
int DayOfYear(const tm *date);

// Brings month and day into range by moving whole months and years, the way
// one steps across month ends with the month-length tables (October 1582
// keeps its 31 days here). Works in one step whatever the size of the fields.
// Hours, minutes and seconds are left alone.
void NormalizeMonthAndDay(tm *date);
