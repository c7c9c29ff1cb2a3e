#include "foundation/DateImpUnix.h"

#include <climits>
#include <cmath>
#include <iterator>

#include "foundation/CLocaleScopePosix.h"
#include "foundation/DateCalendar.h"
#include "foundation/TextEncodings.h"
#include "foundation/TimeSprintf.h"

namespace {

const char *const kDateFormatPatterns[] = {"%m/%d/%Y", "%A, %B %d, %Y", "%a, %b %d, %Y", "%I:%M %p",
                                           "%I:%M:%S %p"};

tm EpochDate() {
  tm epoch{};
  epoch.tm_year = 1904;
  epoch.tm_mon = 0;
  epoch.tm_mday = 1;
  return epoch;
}

} // namespace

DateImp *DateImp::New() { return new DateImpUnix; }

void DateImpUnix::AutoInit() {
  if (mInitialized)
    return;
  time_t now = time(nullptr);
  localtime_r(&now, &mDate);
  mDate.tm_year += 1900;
  mInitialized = true;
  mDirty = false;
}

void DateImpUnix::Update() {
  if (!mDirty)
    return;
  NormalizeMonthAndDay(&mDate);
  mDirty = false;
}

long DateImpUnix::GetLongField(int field) {
  AutoInit();
  Update();
  switch (field) {
  case kYear:
    return mDate.tm_year;
  case kMonth:
    return mDate.tm_mon + 1;
  case kDay:
    return mDate.tm_mday;
  case kHour:
    return mDate.tm_hour;
  case kMinute:
    return mDate.tm_min;
  case kSecond:
    return mDate.tm_sec;
  case kDayOfWeek:
    return DayOfWeek(&mDate) + 1;
  case kDayOfYear:
    return DayOfYear(&mDate);
  case kWeekOfYear:
    return (DayOfYear(&mDate) + 1) / 7 + 1;
  default:
    ShowAlert(kDateGetFieldAlert);
    return 0;
  }
}

void DateImpUnix::SetLongField(int field, long value) {
  AutoInit();
  // Subtracting 1 from the most negative value wraps rather than overflows.
  int lessOne = static_cast<int>(static_cast<long long>(value) - 1);
  switch (field) {
  case kYear:
    mDate.tm_year = value;
    break;
  case kMonth:
    mDate.tm_mon = lessOne;
    break;
  case kDay:
    mDate.tm_mday = value;
    break;
  case kHour:
    mDate.tm_hour = value;
    break;
  case kMinute:
    mDate.tm_min = value;
    break;
  case kSecond:
    mDate.tm_sec = value;
    break;
  case kDayOfWeek: // kept, but every calculation works the weekday out itself
    mDate.tm_wday = lessOne;
    break;
  case kDayOfYear:
    mDate.tm_yday = lessOne;
    break;
  default:
    ShowAlert(kDateSetFieldAlert);
    return;
  }
  mDirty = true;
}

string DateImpUnix::GetDateString(int format) {
  AutoInit();
  Update();
  if (format < 0 || format >= static_cast<int>(std::size(kDateFormatPatterns)))
    return string();
  char text[1024];
  int length = TimeSprintf(text, sizeof text, kDateFormatPatterns[format], &mDate);
  string result;
  result.ConstructFromBuffer(text, length);
  if (!result.IsEmpty())
    result.SetEncoding(GetSystemEncoding());
  return result;
}

double DateImpUnix::GetTotalSeconds() {
  AutoInit();
  Update();
  tm epoch = EpochDate();
  return TimeDiff(&mDate, &epoch);
}

void DateImpUnix::SetTotalSeconds(double seconds) {
  if (!std::isfinite(seconds))
    return;
  double magnitude = std::fabs(seconds);
  double days = std::floor(magnitude / 86400);
  if (days > LONG_MAX)
    return; // beyond the day numbers the calendar counts (checked before any arithmetic)
  long secondOfDay = static_cast<long>(std::trunc(magnitude) - days * 86400);
  double dayNumber;
  if (seconds >= 0) {
    dayNumber = kEpochDayNumber + days;
  } else {
    // m seconds before the epoch: back to the start of the day that holds it.
    dayNumber = kEpochDayNumber - days - (secondOfDay != 0 ? 1 : 0);
    secondOfDay = secondOfDay != 0 ? 86400 - secondOfDay : 0;
  }
  if (dayNumber < 1 || dayNumber > LONG_MAX)
    return; // before 0001-01-01 or beyond the day numbers the calendar counts

  tm loaded = mDate;
  if (DayNumberToDate(static_cast<long>(dayNumber), &loaded) != 0)
    return;
  loaded.tm_hour = static_cast<int>(secondOfDay / 3600);
  loaded.tm_min = static_cast<int>(secondOfDay / 60 % 60);
  loaded.tm_sec = static_cast<int>(secondOfDay % 60);
  mDate = loaded;
  mInitialized = true;
  mDirty = false;
}

bool DateImpUnix::ParseDate(const string &text) {
  string systemText = ConvertToSystemEncoding(text);
  static const char *const kParsePatterns[] = {"%D", "%A, %B %e, %C%y"};
  for (const char *pattern : kParsePatterns) {
    tm parsed{};
    const char *end;
    {
      CLocaleScope cLocale; // English names whatever the user's locale
      end = strptime(systemText.CString(), pattern, &parsed);
    }
    // A form matches only when it reads the whole text: "%D" would take
    // "02/05/2004" as 02/05/20 and leave "04" unread.
    while (end && (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r'))
      ++end;
    if (!end || *end)
      continue;
    parsed.tm_year += 1900;
    parsed.tm_hour = parsed.tm_min = parsed.tm_sec = 0;
    if (!IsDateValid(&parsed))
      continue; // strptime takes 02/30/04; no such day exists
    mDate = parsed;
    mInitialized = true;
    mDirty = false;
    return true;
  }
  return false;
}
