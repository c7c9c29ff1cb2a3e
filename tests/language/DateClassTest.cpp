#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "LanguageFixtures.h"
#include "language/DateClass.h"
#include "language/Variant.h"

namespace {

// Runs the test body under a time zone, restoring the old one afterwards.
class ZoneScope {
public:
  explicit ZoneScope(const char *zone) {
    const char *old = std::getenv("TZ");
    mHadOld = old != nullptr;
    if (old)
      mOld = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    if (mHadOld)
      setenv("TZ", mOld.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

private:
  bool mHadOld = false;
  std::string mOld;
};

class Dates : public LanguageTest, public testing::WithParamInterface<const char *> {
protected:
  Dates() : mZone(GetParam()) {}
  ~Dates() override { RuntimeUnlockObject(mDate); }
  std::string SQLDate() { return TakeText(dateSQLDateGetter(mDate, 0)); }
  std::string SQLDateTime() { return TakeText(dateSQLDateTimeGetter(mDate, 0)); }
  void SetSQLDate(const char *text) { dateSQLDateSetter(mDate, 0, string(text).Storage()); }
  void SetSQLDateTime(const char *text) { dateSQLDateTimeSetter(mDate, 0, string(text).Storage()); }
  ZoneScope mZone;
  RuntimeObject *mDate = RuntimeNewObject(LookupObjectDefinition(DateClass()));
};

TEST_P(Dates, SQLTextsReadAndWriteTheLocalFields) {
  SetSQLDateTime("2024-03-07 09:05:00");
  EXPECT_EQ(SQLDate(), "2024-03-07");
  EXPECT_EQ(SQLDateTime(), "2024-03-07 09:05:00");
  EXPECT_EQ(dateFieldGetter(mDate, DateImp::kDayOfWeek), 5); // a Thursday

  SetSQLDate("2024-07-01 23:59:59"); // the day is the third field's first two characters
  EXPECT_EQ(SQLDateTime(), "2024-07-01 09:05:00");
  SetSQLDateTime("2024-07-01 02:30:00"); // summer time where the zone has it
  EXPECT_EQ(SQLDateTime(), "2024-07-01 02:30:00");
  EXPECT_TRUE(Raised().empty());

  SetSQLDate("2024/03/07");
  SetSQLDateTime("2024-03-07");
  EXPECT_EQ(Raised(), Names(2, "UnsupportedFormatException"));
  EXPECT_EQ(SQLDateTime(), "2024-07-01 02:30:00");
}

TEST_P(Dates, TotalSecondsCountFrom1904InLocalTime) {
  dateTotalSecondsSetter(mDate, 0, 0);
  EXPECT_EQ(SQLDateTime(), "1904-01-01 00:00:00");
  SetSQLDateTime("2024-07-01 12:00:00");
  const double summer = dateTotalSecondsGetter(mDate, 0);
  SetSQLDateTime("2024-07-02 12:00:00");
  EXPECT_EQ(dateTotalSecondsGetter(mDate, 0) - summer, 86400);
}

TEST_P(Dates, ConstructDateTakesCalendarFieldsAndTimesAlone) {
  RuntimeObject *date = ConstructDate(2024, 3, 7, 9, 5, 0);
  EXPECT_EQ(TakeText(QVDateToDBDate(date)), "2024-03-07 09:05:00");
  RuntimeUnlockObject(date);
  RuntimeObject *time = ConstructDate(0, 0, 0, 13, 30, 15);
  EXPECT_EQ(TakeText(QVDateToDBDate(time)), "1904-01-01 13:30:15");
  RuntimeUnlockObject(time);
  RuntimeObject *parsed = dbDateToQVDate(string("2004-02-29 23:00:01").Storage());
  EXPECT_EQ(TakeText(QVDateToDBDate(parsed)), "2004-02-29 23:00:01");
  RuntimeUnlockObject(parsed);

  AlertRecorder alerts;
  EXPECT_EQ(QVDateToDBDate(nullptr), nullptr);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kQVDateAlert));
}

INSTANTIATE_TEST_SUITE_P(Zones, Dates, testing::Values("UTC", "Europe/Berlin"),
                         [](const auto &info) { return info.index ? "SummerTime" : "UTC"; });

class DateObjects : public LanguageTest {};

TEST_F(DateObjects, CompareOrdersByTotalSecondsWithNilFirst) {
  RuntimeObject *a = ConstructDate(2024, 1, 1, 0, 0, 0);
  RuntimeObject *b = ConstructDate(2024, 1, 2, 0, 0, 0);
  EXPECT_EQ(DateCompare(a, b), -1);
  EXPECT_EQ(DateCompare(b, a), 1);
  EXPECT_EQ(DateCompare(a, a), 0);
  EXPECT_EQ(DateCompare(a, nullptr), 1);
  EXPECT_EQ(DateCompare(nullptr, a), -1);
  EXPECT_EQ(DateCompare(nullptr, nullptr), 0);
  RuntimeUnlockObject(a);
  RuntimeUnlockObject(b);
}

TEST_F(DateObjects, ParseDateReplacesTheVariableOnlyOnSuccess) {
  RuntimeObject *variable = ConstructDate(1990, 6, 6, 0, 0, 0);
  RuntimeObject *old = variable;
  EXPECT_FALSE(parseDate(string("02/05/2004").Storage(), &variable));
  EXPECT_EQ(variable, old);
  EXPECT_TRUE(parseDate(string("02/05/04").Storage(), &variable));
  EXPECT_NE(variable, old);
  EXPECT_EQ(TakeText(dateSQLDateGetter(variable, 0)), "2004-02-05");
  RuntimeUnlockObject(variable);
}

TEST_P(Dates, FieldsSetOutOfRangeCarryIntoTheSQLTexts) {
  SetSQLDateTime("2024-03-07 09:05:00");
  dateFieldSetter(mDate, DateImp::kHour, -1);
  EXPECT_EQ(SQLDateTime(), "2024-03-06 23:05:00");
  EXPECT_EQ(SQLDate(), "2024-03-06");
  SetSQLDateTime("2024-03-07 23:05:00");
  dateFieldSetter(mDate, DateImp::kMinute, 90);
  EXPECT_EQ(SQLDateTime(), "2024-03-08 00:30:00");
  EXPECT_EQ(SQLDate(), "2024-03-08");
}

TEST_F(DateObjects, DoublesWithoutAMomentGiveTheFirstMomentNotTheTimeNow) {
  for (double seconds : {double(NAN), double(INFINITY), -double(INFINITY), 1e300}) {
    RuntimeObject *date = NewDate(seconds);
    EXPECT_EQ(dateTotalSecondsGetter(date, 0), 0.0) << seconds;
    RuntimeUnlockObject(date);
    RuntimeObject *boxed = doubleToVariant(seconds);
    RuntimeObject *converted = VariantToDate(boxed);
    EXPECT_EQ(dateTotalSecondsGetter(converted, 0), 0.0) << seconds;
    RuntimeUnlockObject(converted);
    RuntimeUnlockObject(boxed);
  }
}

TEST_F(DateObjects, ClassHasSeventeenPropertiesAndAnOwnImplementation) {
  int count = 0;
  for (InstanceVariable *p = DateClass()->properties; p; p = p->next)
    ++count;
  EXPECT_EQ(count, 17);
  RuntimeObject *date = RuntimeNewObject(LookupObjectDefinition(DateClass()));
  EXPECT_NE(reinterpret_cast<DateObject *>(date)->imp, nullptr);
  EXPECT_GE(dateFieldGetter(date, DateImp::kYear), 2024) << "a new Date is now";
  RuntimeUnlockObject(date);
  EXPECT_EQ(dateFieldGetter(nullptr, 0), 0);
  EXPECT_EQ(dateTotalSecondsGetter(nullptr, 0), 0.0);
}

} // namespace
