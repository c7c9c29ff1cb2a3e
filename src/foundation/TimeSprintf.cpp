#include "foundation/TimeSprintf.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/DateCalendar.h"

const char *const kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
const char *const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

namespace {

constexpr int kScratchSize = 1024;

// Collects the text in a fixed scratch buffer and remembers when it ran out
// of room instead of writing past it.
class ScratchText {
public:
  void Append(const char *text, size_t count) {
    if (mLength + count >= sizeof(mText)) {
      mOverflowed = true;
      return;
    }
    memcpy(mText + mLength, text, count);
    mLength += count;
  }
  void Append(const char *text) { Append(text, strlen(text)); }
  // A number with at least minDigits digits, and a "-" first when negative.
  void AppendNumber(long long value, int minDigits) {
    char digits[32];
    snprintf(digits, sizeof digits, "%s%0*llu", value < 0 ? "-" : "", minDigits,
             value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                       : static_cast<unsigned long long>(value));
    Append(digits);
  }
  void AppendName(const char *const *names, int count, int index, size_t letters) {
    if (index < 0 || index >= count)
      return;
    size_t length = strlen(names[index]);
    Append(names[index], letters < length ? letters : length);
  }

  const char *Text() const { return mText; }
  size_t Length() const { return mLength; }
  bool Overflowed() const { return mOverflowed; }

private:
  char mText[kScratchSize];
  size_t mLength = 0;
  bool mOverflowed = false;
};

constexpr size_t kWholeName = ~size_t{0};

// Week of the year, weeks starting on Sunday: days before the first Sunday
// are week 0.
int SundayWeekOfYear(const tm *record) {
  int yday = DayOfYear(record) - 1;
  int wday = DayOfWeek(record);
  return (yday + 7 - wday) / 7;
}

void Expand(ScratchText &text, const char *format, const tm *record) {
  for (const char *p = format; *p; ++p) {
    if (*p != '%') {
      text.Append(p, 1);
      continue;
    }
    char conversion = *++p;
    switch (conversion) {
    case '%':
      text.Append("%");
      break;
    case 'A':
    case 'a':
      text.AppendName(kWeekdayNames, 7, DayOfWeek(record), conversion == 'A' ? kWholeName : 3);
      break;
    case 'B':
    case 'b':
      text.AppendName(kMonthNames, 12, record->tm_mon, conversion == 'B' ? kWholeName : 3);
      break;
    case 'd':
      text.AppendNumber(record->tm_mday, 2);
      break;
    case 'H':
      text.AppendNumber(record->tm_hour, 2);
      break;
    case 'M':
      text.AppendNumber(record->tm_min, 2);
      break;
    case 'S':
      text.AppendNumber(record->tm_sec, 2);
      break;
    case 'm':
      text.AppendNumber(static_cast<long long>(record->tm_mon) + 1, 2);
      break;
    case 'I':
      text.AppendNumber(record->tm_hour > 12 ? record->tm_hour - 12 : record->tm_hour, 2);
      break;
    case 'p':
      text.Append(record->tm_hour < 12 ? "AM" : "PM");
      break;
    case 'Y':
      text.AppendNumber(record->tm_year, 2);
      break;
    case 'y':
      text.AppendNumber(record->tm_year % 100, 2);
      break;
    case 'j':
      text.AppendNumber(DayOfYear(record), 1);
      break;
    case 'w':
      text.AppendNumber(DayOfWeek(record), 1);
      break;
    case 'U':
      text.AppendNumber(SundayWeekOfYear(record), 1);
      break;
    case 'W':
      text.AppendNumber(SundayWeekOfYear(record) - (DayOfWeek(record) == 0 ? 1 : 0), 1);
      break;
    case 'X':
      Expand(text, "%H:%M:%S", record);
      break;
    case 'x':
      Expand(text, "%a, %b %d, %Y", record);
      break;
    case 'c':
      Expand(text, "%b %d %H:%M:%S %Y", record);
      break;
    case 'Z': {
      const char *name = setlocale(LC_TIME, nullptr);
      text.Append(name && *name ? name : "C");
      break;
    }
    default:
      text.Append("Error in TimeSprintf() ");
      break;
    }
    if (conversion == '\0')
      return; // a "%" that ends the pattern
  }
}

} // namespace

int TimeSprintf(char *out, int size, const char *format, const tm *record) {
  ScratchText text;
  Expand(text, format, record);
  if (text.Overflowed() || size <= 0 || text.Length() + 1 > static_cast<size_t>(size))
    return 0;
  memcpy(out, text.Text(), text.Length());
  out[text.Length()] = '\0';
  return static_cast<int>(text.Length());
}
