#include <climits>
#include <cstdint>
#include <ctime>

#include <gtest/gtest.h>

#include "foundation/DateCalendar.h"

namespace {

// Julian Day Numbers by the standard integer formulas (month 1 to 12), an
// independent reference for the runtime's day numbers: the Julian calendar
// up to 1582-10-04, the Gregorian one from 1582-10-15.
int64_t JulianCalendarJDN(int64_t y, int64_t m, int64_t d) {
  return 367 * y - (7 * (y + 5001 + (m - 9) / 7)) / 4 + (275 * m) / 9 + d + 1729777;
}
int64_t GregorianJDN(int64_t y, int64_t m, int64_t d) {
  return (1461 * (y + 4800 + (m - 14) / 12)) / 4 + (367 * (m - 2 - 12 * ((m - 14) / 12))) / 12 -
         (3 * ((y + 4900 + (m - 14) / 12) / 100)) / 4 + d - 32075;
}
bool BeforeGregorianReform(int64_t y, int64_t m, int64_t d) {
  return y < 1582 || (y == 1582 && (m < 10 || (m == 10 && d < 15)));
}
int64_t ReferenceJDN(int64_t y, int64_t m, int64_t d) {
  return BeforeGregorianReform(y, m, d) ? JulianCalendarJDN(y, m, d) : GregorianJDN(y, m, d);
}
// Gregorian date of a JDN (Richards' inverse).
void GregorianFromJDN(int64_t jdn, int64_t &y, int64_t &m, int64_t &d) {
  int64_t f = jdn + 1401 + (((4 * jdn + 274277) / 146097) * 3) / 4 - 38;
  int64_t e = 4 * f + 3;
  int64_t h = 5 * ((e % 1461) / 4) + 2;
  d = (h % 153) / 5 + 1;
  m = (h / 153 + 2) % 12 + 1;
  y = e / 1461 - 4716 + (14 - m) / 12;
}
// Month length from the reference, October 1582 counted with its 31 entries
// as the month tables have them.
int64_t ReferenceMonthLength(int64_t y, int64_t m) {
  if (y == 1582 && m == 10)
    return 31;
  int64_t nextY = m == 12 ? y + 1 : y, nextM = m == 12 ? 1 : m + 1;
  return ReferenceJDN(nextY, nextM, 1) - ReferenceJDN(y, m, 1);
}

tm Date(int year, int month, int day) {
  tm date{};
  date.tm_year = year;
  date.tm_mon = month - 1;
  date.tm_mday = day;
  return date;
}

} // namespace

TEST(DateCalendar, DayNumbersOfEveryDayFromYear1To9999MatchTheJulianDayCount) {
  const int64_t firstJDN = ReferenceJDN(1, 1, 1);
  const long lastDay = static_cast<long>(ReferenceJDN(9999, 12, 31) - firstJDN + 1);
  tm previous{};
  for (long n = 1; n <= lastDay; ++n) {
    tm date{};
    ASSERT_EQ(DayNumberToDate(n, &date), 0) << n;
    int64_t y = date.tm_year, m = date.tm_mon + 1, d = date.tm_mday;
    ASSERT_TRUE(m >= 1 && m <= 12 && d >= 1 && d <= ReferenceMonthLength(y, m)) << n;
    ASSERT_FALSE(y == 1582 && m == 10 && d > 4 && d < 15) << "a day the reform skipped";
    int64_t jdn = ReferenceJDN(y, m, d);
    ASSERT_EQ(jdn - firstJDN + 1, n) << y << "-" << m << "-" << d;
    ASSERT_EQ(DateToDayNumber(&date), n);
    ASSERT_EQ(DayOfWeek(&date), (jdn + 1) % 7) << y << "-" << m << "-" << d;
    if (n > 1) {
      ASSERT_EQ(DateDiff(&date, &previous), 1);
    }
    previous = date;
  }
  EXPECT_EQ(previous.tm_year, 9999);
}

TEST(DateCalendar, KnownDaysAndTheReformGap) {
  tm epoch = Date(1904, 1, 1);
  EXPECT_EQ(DateToDayNumber(&epoch), kEpochDayNumber);
  EXPECT_EQ(DayOfWeek(&epoch), 5); // a Friday
  tm lastJulian = Date(1582, 10, 4), firstGregorian = Date(1582, 10, 15);
  EXPECT_EQ(DateDiff(&firstGregorian, &lastJulian), 1);
  tm firstDay = Date(1, 1, 1);
  EXPECT_EQ(DateToDayNumber(&firstDay), 1);
}

TEST(DateCalendar, LeapYearsFollowJulianThenGregorianRules) {
  for (long year : {1500L, 1600L, 2000L, 2004L, 4L})
    EXPECT_TRUE(IsYearLeap(year)) << year;
  for (long year : {1700L, 1900L, 2001L, 2100L})
    EXPECT_FALSE(IsYearLeap(year)) << year;
}

TEST(DateCalendar, InvalidDatesHaveNoDayNumberWeekdayOrDayOfYear) {
  tm cases[] = {Date(2003, 2, 29), Date(0, 1, 1), Date(2004, 13, 1), Date(2004, 4, 31),
                Date(2004, 1, 0)};
  for (tm &date : cases) {
    EXPECT_FALSE(IsDateValid(&date));
    EXPECT_EQ(DateToDayNumber(&date), -1);
    EXPECT_EQ(DayOfWeek(&date), -1);
    EXPECT_EQ(DayOfYear(&date), -1);
  }
  tm date{};
  EXPECT_EQ(LoadDateStruct(&date, 2004, 2, 29), 0);
  EXPECT_EQ(LoadDateStruct(&date, 2003, 2, 29), -1);
  EXPECT_EQ(LoadTimeStruct(&date, 23, 59, 59), 0);
  EXPECT_EQ(LoadTimeStruct(&date, 24, 0, 0), -1);
  EXPECT_EQ(DayNumberToDate(0, &date), -1);
}

TEST(DateCalendar, DayOfYearAndTimeDifference) {
  tm newYear = Date(2004, 1, 1), lastDay = Date(2004, 12, 31);
  EXPECT_EQ(DayOfYear(&newYear), 1);
  EXPECT_EQ(DayOfYear(&lastDay), 366);
  tm later = Date(2004, 1, 2);
  later.tm_hour = 25; // out of range, counted at full weight
  EXPECT_DOUBLE_EQ(TimeDiff(&later, &newYear), 86400.0 + 25 * 3600.0);
}

namespace {
// The month-by-month walk that normalisation must agree with.
void StepwiseNormalize(int64_t &year, int64_t &month, int64_t &day) {
  for (;;) {
    year += (month >= 0 ? month : month - 11) / 12;
    month = ((month % 12) + 12) % 12;
    if (day <= 0) {
      if (--month < 0) {
        month = 11;
        --year;
      }
      day += ReferenceMonthLength(year, month + 1);
    } else if (day > ReferenceMonthLength(year, month + 1)) {
      day -= ReferenceMonthLength(year, month + 1);
      if (++month > 11) {
        month = 0;
        ++year;
      }
    } else {
      return;
    }
  }
}
} // namespace

TEST(DateCalendar, NormalizationAgreesWithSteppingAcrossMonths) {
  struct Case {
    int year, month, day; // month 0-based, as stored
  } cases[] = {{2004, 13, 1},   {2004, 0, 0},    {2004, 3, 31},     {1582, 8, 40},
               {1583, 0, -400}, {2000, -25, 15}, {2004, 1, 100000}, {1700, 1, -30000},
               {2, 0, -400},    {2004, 11, 32},  {1900, 1, 29}};
  for (const Case &c : cases) {
    int64_t year = c.year, month = c.month, day = c.day;
    StepwiseNormalize(year, month, day);
    tm date{};
    date.tm_year = c.year;
    date.tm_mon = c.month;
    date.tm_mday = c.day;
    NormalizeMonthAndDay(&date);
    EXPECT_EQ(date.tm_year, year) << c.year << "/" << c.month << "/" << c.day;
    EXPECT_EQ(date.tm_mon, month) << c.year << "/" << c.month << "/" << c.day;
    EXPECT_EQ(date.tm_mday, day) << c.year << "/" << c.month << "/" << c.day;
  }
}

TEST(DateCalendar, NormalizesTheLargestDayFieldInOneStep) {
  tm date = Date(2000, 1, INT_MAX);
  NormalizeMonthAndDay(&date);
  int64_t y, m, d;
  GregorianFromJDN(GregorianJDN(2000, 1, 1) + INT_MAX - 1, y, m, d);
  EXPECT_EQ(date.tm_year, y);
  EXPECT_EQ(date.tm_mon + 1, m);
  EXPECT_EQ(date.tm_mday, d);

  tm early = Date(2000, 1, INT_MIN);
  NormalizeMonthAndDay(&early);
  EXPECT_LT(early.tm_year, 0);
  EXPECT_TRUE(early.tm_mon >= 0 && early.tm_mon <= 11 && early.tm_mday >= 1 && early.tm_mday <= 31);
}
