// The platform date object behind the language's Date class and the dates of
// folder items: broken-down local calendar fields, with the total seconds
// since 1904-01-01 00:00:00 local time as its scalar form.
#pragma once
#include "foundation/String.h"

class DateImp {
public:
  // Field numbers of GetLongField and SetLongField.
  enum DateField {
    kYear = 0,  // the full year
    kMonth = 1, // 1 to 12
    kDay = 2,   // day of the month
    kHour = 3,
    kMinute = 4,
    kSecond = 5,
    kDayOfWeek = 6, // 1 = Sunday
    kDayOfYear = 7, // 1-based
    kWeekOfYear = 8 // read only
  };
  // Format numbers of GetDateString.
  enum DateFormat {
    kShortDate = 0,       // 01/05/2004
    kLongDate = 1,        // Monday, January 05, 2004
    kAbbreviatedDate = 2, // Mon, Jan 05, 2004
    kShortTime = 3,       // 03:07 PM
    kLongTime = 4         // 03:07:09 PM
  };

  // A new date of this platform; it holds no date until one is loaded, and
  // the first read loads the current local time.
  static DateImp *New();
  // Total seconds of the current local time.
  static double CurrentTotalSeconds();

  DateImp() = default;
  DateImp(const DateImp &) = delete;
  DateImp &operator=(const DateImp &) = delete;

  // Brings month and day back into range after fields were set.
  virtual void Update() = 0;
  // Loads the current local time unless a date is already held.
  virtual void AutoInit() = 0;
  // Stores one field (not the week of the year); out-of-range values are
  // normalised on the next read.
  virtual void SetLongField(int field, long value) = 0;
  virtual long GetLongField(int field) = 0;
  // The date as text in one of the DateFormat layouts; "" for other numbers.
  virtual string GetDateString(int format) = 0;
  virtual double GetTotalSeconds() = 0;
  // Loads the moment that many seconds from 1904-01-01 00:00:00; NaN,
  // infinities and moments outside the calendar leave the date unchanged.
  virtual void SetTotalSeconds(double seconds) = 0;
  // Reads "month/day/two-digit year" or "Weekday, Month day, year" (English
  // names); a form must read the whole text, trailing white space aside.
  // False, with the date unchanged, when no form does or the text names a
  // day its month does not have.
  virtual bool ParseDate(const string &text) = 0;
  virtual ~DateImp();
};
