#include <string>

#include <gtest/gtest.h>

#include "foundation/TimeSprintf.h"

namespace {

tm Moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  tm t{};
  t.tm_year = year;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

std::string Formatted(const char *format, const tm &moment) {
  char out[1024];
  int length = TimeSprintf(out, sizeof out, format, &moment);
  EXPECT_GE(length, 0);
  return std::string(out, static_cast<size_t>(length));
}

} // namespace

TEST(TimeSprintf, ConversionsWriteEnglishNamesAndFixedWidths) {
  tm monday = Moment(2004, 1, 5, 15, 7, 9);
  struct Case {
    const char *format;
    const char *expected;
  } cases[] = {
      {"%m/%d/%Y", "01/05/2004"},
      {"%A, %B %d, %Y", "Monday, January 05, 2004"},
      {"%a, %b %d, %Y", "Mon, Jan 05, 2004"},
      {"%I:%M %p", "03:07 PM"},
      {"%I:%M:%S %p", "03:07:09 PM"},
      {"%X|%x", "15:07:09|Mon, Jan 05, 2004"},
      {"%c", "Jan 05 15:07:09 2004"},
      {"%y %j %w %%", "04 5 1 %"},
      {"%q", "Error in TimeSprintf() "},
      {"50%", "50Error in TimeSprintf() "},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Formatted(c.format, monday), c.expected) << c.format;
}

TEST(TimeSprintf, TwelveHourClockAroundMidnightAndNoon) {
  EXPECT_EQ(Formatted("%I:%M %p", Moment(2004, 1, 5, 0, 15)), "00:15 AM");
  EXPECT_EQ(Formatted("%I:%M %p", Moment(2004, 1, 5, 12, 30)), "12:30 PM");
  EXPECT_EQ(Formatted("%I:%M %p", Moment(2004, 1, 5, 13, 5)), "01:05 PM");
}

TEST(TimeSprintf, YearsAndDaysOfTheYearKeepTheirWidthRules) {
  EXPECT_EQ(Formatted("%Y|%y", Moment(5, 1, 1)), "05|05");
  EXPECT_EQ(Formatted("%Y|%y", Moment(-5, 1, 1)), "-05|-05");
  EXPECT_EQ(Formatted("%j", Moment(2004, 4, 9)), "100");
  EXPECT_EQ(Formatted("%j", Moment(2004, 1, 10)), "10");
}

TEST(TimeSprintf, WeekNumbersStartAtTheFirstSunday) {
  // 2004-01-01 was a Thursday; the first Sunday is 4 January.
  EXPECT_EQ(Formatted("%U %W", Moment(2004, 1, 3)), "0 0");
  EXPECT_EQ(Formatted("%U %W", Moment(2004, 1, 4)), "1 0"); // a Sunday
  EXPECT_EQ(Formatted("%U %W", Moment(2004, 1, 5)), "1 1");
  EXPECT_EQ(Formatted("%U", Moment(2004, 12, 31)), "52");
}

TEST(TimeSprintf, TextThatDoesNotFitGivesZeroWithoutOverrunning) {
  tm moment = Moment(2004, 9, 5);
  char small[8] = "xxxxxxx";
  EXPECT_EQ(TimeSprintf(small, 5, "%B", &moment), 0); // "September" needs 10 bytes
  EXPECT_EQ(TimeSprintf(small, 8, "%m/%d", &moment), 5);
  EXPECT_STREQ(small, "09/05");

  std::string longPattern;
  for (int i = 0; i < 200; ++i)
    longPattern += "%B"; // 1800 bytes of text, beyond the scratch text
  char out[4096];
  EXPECT_EQ(TimeSprintf(out, sizeof out, longPattern.c_str(), &moment), 0);
}
