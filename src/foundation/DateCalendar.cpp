#include "foundation/DateCalendar.h"

#include <climits>

namespace {

const int kDaysPerMonth[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// The last day number of the Julian calendar (1582-10-04). Counted through
// the month tables, the next ten days (5 to 14 October) never happened, so
// day numbers after this one are ten lower than the table count.
constexpr int64_t kLastJulianDayNumber = 577737;
constexpr int64_t kSkippedDays = 10;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 0001-01-01 to the first of January of the year, counted through
// the month tables; negative before year 1. The Julian rule holds for every
// year up to 1582 (and, through floor division, before year 1 too); the
// Gregorian century rule removes its leap days from 1582 on.
int64_t DaysBeforeYear(int64_t year) {
  int64_t c = year - 1;
  int64_t days = 365 * c + FloorDiv(c, 4);
  if (c > 1582)
    days -= c / 100 - c / 400 - 12;
  return days;
}

int64_t DaysBeforeMonth(int64_t year, int month) {
  const int *table = kDaysPerMonth[IsYearLeap(static_cast<long>(year)) ? 1 : 0];
  int64_t days = 0;
  for (int m = 0; m < month; ++m)
    days += table[m];
  return days;
}

// The table count of a date: 1 for 0001-01-01, one more for every entry of
// the month tables, the ten days of October 1582 included.
int64_t TableCount(int64_t year, int month, int64_t day) {
  return DaysBeforeYear(year) + DaysBeforeMonth(year, month) + day;
}

struct CalendarDate {
  int64_t year;
  int month;
  int day;
};

CalendarDate TableCountToDate(int64_t count) {
  // Estimate from the mean Gregorian year, then settle on the year whose
  // first day is the last one not after count.
  int64_t year = FloorDiv((count - 1) * 400, 146097) + 1;
  while (DaysBeforeYear(year) >= count)
    --year;
  while (DaysBeforeYear(year + 1) < count)
    ++year;
  int64_t left = count - DaysBeforeYear(year);
  const int *table = kDaysPerMonth[IsYearLeap(static_cast<long>(year)) ? 1 : 0];
  int month = 0;
  while (month < 11 && left > table[month])
    left -= table[month++];
  return {year, month, static_cast<int>(left)};
}

// The day number without the 32-bit limit of DateToDayNumber, or -1.
int64_t DayNumber(const tm *date) {
  if (!IsDateValid(date))
    return -1;
  int64_t n = TableCount(date->tm_year, date->tm_mon, date->tm_mday);
  return n > kLastJulianDayNumber ? n - kSkippedDays : n;
}

void StoreDate(tm *date, const CalendarDate &value) {
  date->tm_year = static_cast<int>(value.year);
  date->tm_mon = value.month;
  date->tm_mday = value.day;
}

} // namespace

bool IsYearLeap(long year) {
  return year % 4 == 0 && (year < 1582 || year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(long year, int month) { return kDaysPerMonth[IsYearLeap(year) ? 1 : 0][month]; }

bool IsDateValid(const tm *date) {
  return date->tm_mon >= 0 && date->tm_mon <= 11 && date->tm_year >= 1 && date->tm_mday >= 1 &&
         date->tm_mday <= DaysInMonth(date->tm_year, date->tm_mon);
}

bool IsTimeValid(const tm *date) {
  return date->tm_hour >= 0 && date->tm_hour <= 23 && date->tm_min >= 0 && date->tm_min <= 59 &&
         date->tm_sec >= 0 && date->tm_sec <= 59;
}

int LoadDateStruct(tm *date, int year, int month, int day) {
  date->tm_year = year;
  date->tm_mon = month - 1;
  date->tm_mday = day;
  return IsDateValid(date) ? 0 : -1;
}

int LoadTimeStruct(tm *date, int hour, int minute, int second) {
  date->tm_hour = hour;
  date->tm_min = minute;
  date->tm_sec = second;
  return IsTimeValid(date) ? 0 : -1;
}

long DateToDayNumber(const tm *date) {
  int64_t n = DayNumber(date);
  return n > LONG_MAX ? -1 : static_cast<long>(n);
}

int DayNumberToDate(long dayNumber, tm *date) {
  int64_t count = dayNumber;
  if (count > kLastJulianDayNumber)
    count += kSkippedDays;
  CalendarDate value = TableCountToDate(count);
  if (value.year < 1 || value.year > INT_MAX)
    return -1;
  StoreDate(date, value);
  return 0;
}

long DateDiff(const tm *a, const tm *b) { return DateToDayNumber(a) - DateToDayNumber(b); }

double TimeDiff(const tm *a, const tm *b) {
  auto seconds = [](const tm *t) {
    return static_cast<double>(DayNumber(t)) * 86400.0 + t->tm_hour * 3600.0 + t->tm_min * 60.0 +
           t->tm_sec;
  };
  return seconds(a) - seconds(b);
}

int DayOfWeek(const tm *date) {
  int64_t n = DayNumber(date);
  if (n < 0)
    return -1;
  return static_cast<int>((n % 7 + 5) % 7);
}

int DayOfYear(const tm *date) {
  int64_t n = DayNumber(date);
  if (n < 0)
    return -1;
  tm firstOfYear{};
  firstOfYear.tm_year = date->tm_year;
  firstOfYear.tm_mon = 0;
  firstOfYear.tm_mday = 1;
  return static_cast<int>(n - DayNumber(&firstOfYear) + 1);
}

void NormalizeMonthAndDay(tm *date) {
  int64_t year = static_cast<int64_t>(date->tm_year) + FloorDiv(date->tm_mon, 12);
  int month = static_cast<int>(date->tm_mon - FloorDiv(date->tm_mon, 12) * 12);
  int64_t day = date->tm_mday;
  CalendarDate value{year, month, static_cast<int>(day)};
  if (day < 1 || day > DaysInMonth(static_cast<long>(year), month))
    value = TableCountToDate(TableCount(year, month, 1) + (day - 1));
  StoreDate(date, value);
}
