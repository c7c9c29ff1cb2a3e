#include <cmath>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "foundation/DateImp.h"
#include "foundation/DateImpUnix.h"
#include "support/AlertRecorder.h"
#include "support/GermanLocale.h"

namespace {

std::unique_ptr<DateImp> DateAt(double totalSeconds) {
  std::unique_ptr<DateImp> date(DateImp::New());
  date->SetTotalSeconds(totalSeconds);
  return date;
}

std::unique_ptr<DateImp> DateOf(int year, int month, int day, int hour = 0, int minute = 0,
                                int second = 0) {
  std::unique_ptr<DateImp> date = DateAt(0);
  date->SetLongField(DateImp::kYear, year);
  date->SetLongField(DateImp::kMonth, month);
  date->SetLongField(DateImp::kDay, day);
  date->SetLongField(DateImp::kHour, hour);
  date->SetLongField(DateImp::kMinute, minute);
  date->SetLongField(DateImp::kSecond, second);
  return date;
}

struct Fields {
  long year, month, day, hour, minute, second;
  bool operator==(const Fields &) const = default;
};

Fields FieldsOf(DateImp &date) {
  return {date.GetLongField(DateImp::kYear),   date.GetLongField(DateImp::kMonth),
          date.GetLongField(DateImp::kDay),    date.GetLongField(DateImp::kHour),
          date.GetLongField(DateImp::kMinute), date.GetLongField(DateImp::kSecond)};
}

std::string Text(const string &s) {
  return std::string(s.CString(), static_cast<size_t>(s.Length()));
}

} // namespace

TEST(DateImp, TotalSecondsCountFromTheStartOf1904) {
  EXPECT_EQ(DateOf(1904, 1, 1)->GetTotalSeconds(), 0);
  EXPECT_EQ(DateOf(1904, 1, 2)->GetTotalSeconds(), 86400);
  EXPECT_EQ(DateOf(1903, 12, 31, 23, 59, 59)->GetTotalSeconds(), -1);
  EXPECT_EQ(FieldsOf(*DateAt(-1)), (Fields{1903, 12, 31, 23, 59, 59}));
  EXPECT_EQ(FieldsOf(*DateAt(-86400)), (Fields{1903, 12, 31, 0, 0, 0}));
}

TEST(DateImp, SettingTheTotalSecondsItAnsweredReproducesTheDate) {
  for (double seconds : {-59926608000.0, -1e9, -86401.0, 0.0, 3e9, 4e9, 2.5e11}) {
    std::unique_ptr<DateImp> date = DateAt(seconds);
    EXPECT_EQ(date->GetTotalSeconds(), seconds);
    std::unique_ptr<DateImp> again = DateAt(date->GetTotalSeconds());
    EXPECT_EQ(FieldsOf(*again), FieldsOf(*date)) << seconds;
  }
}

TEST(DateImp, TotalSecondsOutsideTheCalendarLeaveTheDateUnchanged) {
  const double kUnusable[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity(),
                              1e300,
                              -1e300,
                              -1e11 /* before year 1 */};
  for (double seconds : kUnusable) {
    std::unique_ptr<DateImp> date = DateOf(2004, 1, 5, 15, 7, 9);
    date->SetTotalSeconds(seconds);
    EXPECT_EQ(FieldsOf(*date), (Fields{2004, 1, 5, 15, 7, 9})) << seconds;
  }
}

TEST(DateImp, SetFieldsAreNormalisedOnTheNextRead) {
  std::unique_ptr<DateImp> date = DateOf(2004, 14, 1);
  EXPECT_EQ(date->GetLongField(DateImp::kYear), 2005);
  EXPECT_EQ(date->GetLongField(DateImp::kMonth), 2);

  EXPECT_EQ(FieldsOf(*DateOf(2004, 3, 0)), (Fields{2004, 2, 29, 0, 0, 0}));
  EXPECT_EQ(FieldsOf(*DateOf(2004, 4, 31)), (Fields{2004, 5, 1, 0, 0, 0}));
  // Time fields out of range stay and count with their full weight.
  std::unique_ptr<DateImp> late = DateOf(1904, 1, 1, 25);
  EXPECT_EQ(late->GetLongField(DateImp::kHour), 25);
  EXPECT_EQ(late->GetTotalSeconds(), 25 * 3600);
}

TEST(DateImp, TheLargestDayFieldNormalisesToTheSameDayCount) {
  std::unique_ptr<DateImp> date = DateOf(2000, 1, 1);
  double start = date->GetTotalSeconds();
  date->SetLongField(DateImp::kDay, 2147483647L);
  EXPECT_EQ(date->GetTotalSeconds() - start, (2147483647.0 - 1) * 86400);
  EXPECT_GT(date->GetLongField(DateImp::kYear), 5000000);
}

TEST(DateImp, WeekdayDayOfYearAndWeekOfYear) {
  std::unique_ptr<DateImp> date = DateOf(2004, 1, 1);
  EXPECT_EQ(date->GetLongField(DateImp::kDayOfWeek), 5); // Thursday, counting Sunday as 1
  EXPECT_EQ(date->GetLongField(DateImp::kDayOfYear), 1);
  EXPECT_EQ(date->GetLongField(DateImp::kWeekOfYear), 1);
  EXPECT_EQ(DateOf(2004, 1, 6)->GetLongField(DateImp::kWeekOfYear), 2);
  // The stored weekday is kept but no calculation reads it.
  date->SetLongField(DateImp::kDayOfWeek, 1);
  EXPECT_EQ(date->GetLongField(DateImp::kDayOfWeek), 5);
}

TEST(DateImp, FieldNumbersOutOfRangeAlert) {
  AlertRecorder recorder;
  std::unique_ptr<DateImp> date = DateOf(2004, 1, 5);
  EXPECT_EQ(date->GetLongField(9), 0);
  date->SetLongField(DateImp::kWeekOfYear, 3);
  ASSERT_EQ(recorder.count(), 2u);
  EXPECT_TRUE(ShownAt(recorder.alerts()[0], kDateGetFieldAlert));
  EXPECT_TRUE(ShownAt(recorder.alerts()[1], kDateSetFieldAlert));
  EXPECT_EQ(FieldsOf(*date), (Fields{2004, 1, 5, 0, 0, 0}));
}

TEST(DateImp, DateStringsInEachFormat) {
  std::unique_ptr<DateImp> date = DateOf(2004, 1, 5, 15, 7, 9);
  const char *expected[] = {"01/05/2004", "Monday, January 05, 2004", "Mon, Jan 05, 2004",
                            "03:07 PM", "03:07:09 PM"};
  for (int format = 0; format < 5; ++format)
    EXPECT_EQ(Text(date->GetDateString(format)), expected[format]);
  EXPECT_TRUE(date->GetDateString(5).IsEmpty());
}

TEST(DateImp, ParsesBothTextFormsAtMidnight) {
  std::unique_ptr<DateImp> date = DateOf(1990, 6, 6, 12, 30, 0);
  ASSERT_TRUE(date->ParseDate(string("02/29/04")));
  EXPECT_EQ(FieldsOf(*date), (Fields{2004, 2, 29, 0, 0, 0}));
  ASSERT_TRUE(date->ParseDate(string("Monday, January 5, 2004")));
  EXPECT_EQ(FieldsOf(*date), (Fields{2004, 1, 5, 0, 0, 0}));
  ASSERT_TRUE(date->ParseDate(string("03/01/04 \t")));
  EXPECT_EQ(FieldsOf(*date), (Fields{2004, 3, 1, 0, 0, 0}));
}

TEST(DateImp, TextThatIsNoDateLeavesTheDateUnchanged) {
  // "02/05/2004" would read as 02/05/20 with "04" left over: a form must
  // read the whole text.
  for (const char *text : {"tomorrow", "02/30/04", "04/31/04", "Friday, February 30, 2004", "",
                           "02/05/2004", "02/05/04 x"}) {
    std::unique_ptr<DateImp> date = DateOf(1990, 6, 6, 12, 30, 0);
    EXPECT_FALSE(date->ParseDate(string(text))) << text;
    EXPECT_EQ(FieldsOf(*date), (Fields{1990, 6, 6, 12, 30, 0})) << text;
  }
}

TEST(DateImp, AnEmptyDateLoadsTheCurrentTimeOnFirstRead) {
  std::unique_ptr<DateImp> date(DateImp::New());
  double now = DateImp::CurrentTotalSeconds();
  long year = date->GetLongField(DateImp::kYear);
  EXPECT_GE(year, 2024);
  EXPECT_NEAR(date->GetTotalSeconds(), now, 120);
}

using DateImpInGermanLocale = GermanLocaleTest;

TEST_F(DateImpInGermanLocale, NamesStayEnglishInTextAndParsing) {
  std::unique_ptr<DateImp> date = DateOf(2004, 3, 1);
  EXPECT_EQ(Text(date->GetDateString(DateImp::kLongDate)), "Monday, March 01, 2004");
  ASSERT_TRUE(date->ParseDate(string("Tuesday, March 2, 2004")));
  EXPECT_EQ(FieldsOf(*date), (Fields{2004, 3, 2, 0, 0, 0}));
  EXPECT_FALSE(date->ParseDate(string("Dienstag, März 2, 2004")));
}
