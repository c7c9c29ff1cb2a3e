#include "language/DateClass.h"

#include "foundation/AssertionAlert.h"
#include "foundation/NumberFormat.h"
#include "foundation/NumberText.h"
#include "foundation/TextEncodings.h"
#include "language/ClassBuilding.h"
#include "language/StringFields.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

DateImp *ImpOf(RuntimeObject *date) {
  return date ? reinterpret_cast<DateObject *>(date)->imp : nullptr;
}

void ConstructDateObject(RuntimeObject *date) { AutoInitDate(date); }

void DestroyDateObject(RuntimeObject *date) {
  auto *self = reinterpret_cast<DateObject *>(date);
  delete self->imp;
  self->imp = nullptr;
}

string Digits(long value, const char *pattern) {
  return FormatNumber(double(value), string(pattern));
}

// Fields set out of range (an Hour of -1, a Minute of 90) are carried into
// the others through the total seconds before the text is made.
void Normalise(DateImp *imp) { imp->SetTotalSeconds(imp->GetTotalSeconds()); }

string SQLDateText(DateImp *imp) {
  Normalise(imp);
  string text = Digits(imp->GetLongField(DateImp::kYear), "0000") + string("-") +
                Digits(imp->GetLongField(DateImp::kMonth), "00") + string("-") +
                Digits(imp->GetLongField(DateImp::kDay), "00");
  text.SetEncoding(kEncodingASCII);
  return text;
}

string SQLDateTimeText(DateImp *imp) {
  // The date first: it normalises the fields the time is read from.
  const string date = SQLDateText(imp);
  string text = date + string(" ") + Digits(imp->GetLongField(DateImp::kHour), "00") +
                string(":") + Digits(imp->GetLongField(DateImp::kMinute), "00") + string(":") +
                Digits(imp->GetLongField(DateImp::kSecond), "00");
  text.SetEncoding(kEncodingASCII);
  return text;
}

long FieldNumber(const string &text, const char *delimiter, int32_t n) {
  return uatol(nthField(text, string(delimiter), n).CString());
}

void RaiseUnsupportedFormat() { RaiseExceptionClass(UnsupportedFormatExceptionClass()); }

ObjectInstanceTemplate Field(const char *name, int32_t index, bool settable) {
  return {kConsoleAvailableFlag,
          name,
          &integerType.type,
          EntryCode(dateFieldGetter),
          "dateFieldGetter",
          settable ? EntryCode(dateFieldSetter) : nullptr,
          settable ? "dateFieldSetter" : nullptr,
          index,
          0};
}

ObjectInstanceTemplate Text(const char *name, int32_t index) {
  return {kConsoleAvailableFlag,
          name,
          &stringType.type,
          EntryCode(dateStringGetter),
          "dateStringGetter",
          nullptr,
          nullptr,
          index,
          0};
}

} // namespace

ObjectDefinition *DateClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  ObjectInstanceTemplate properties[] = {
      Field("Year", 0, true),
      Field("Month", 1, true),
      Field("Day", 2, true),
      Field("Hour", 3, true),
      Field("Minute", 4, true),
      Field("Second", 5, true),
      Field("DayOfWeek", 6, false),
      Field("DayOfYear", 7, false),
      Field("WeekOfYear", 8, false),
      Text("ShortDate", 0),
      Text("LongDate", 1),
      Text("AbbreviatedDate", 2),
      Text("ShortTime", 3),
      Text("LongTime", 4),
      {kConsoleAvailableFlag, "TotalSeconds", &doubleType.type, EntryCode(dateTotalSecondsGetter),
       "dateTotalSecondsGetter", EntryCode(dateTotalSecondsSetter), "dateTotalSecondsSetter", 0, 0},
      {kConsoleAvailableFlag, "SQLDate", &stringType.type, EntryCode(dateSQLDateGetter),
       "dateSQLDateGetter", EntryCode(dateSQLDateSetter), "dateSQLDateSetter", 0, 0},
      {kConsoleAvailableFlag, "SQLDateTime", &stringType.type, EntryCode(dateSQLDateTimeGetter),
       "dateSQLDateTimeGetter", EntryCode(dateSQLDateTimeSetter), "dateSQLDateTimeSetter", 0, 0},
  };
  static MethodParameter sCompareParams[] = {{"someDate", defn.AsType(), 0, {}, 0, {}, 0, {}}};
  PropertyMethod methods[] = {
      {"Operator_Compare",
       &integerType.type,
       sCompareParams,
       1,
       {{EntryCode(DateCompare), "DateCompare", {}}, {}},
       0,
       kConsoleAvailableFlag,
       0},
  };
  DefineBuiltinClass(defn,
                     {"Date", sizeof(DateObject), ConstructDateObject, DestroyDateObject, true},
                     properties, 17, methods, 1);
  return &defn;
}

bool IsDate(RuntimeObject *object) {
  return object && RuntimeObjectIsa(object, LookupObjectDefinition(DateClass()));
}

RuntimeObject *NewDate(double totalSeconds) {
  RuntimeObject *date = RuntimeNewObject(LookupObjectDefinition(DateClass()));
  if (DateImp *imp = ImpOf(date)) {
    // A value no moment has (NaN, an infinity, outside the calendar) leaves
    // the date at 0 seconds rather than at the time it was made.
    imp->SetTotalSeconds(0);
    imp->SetTotalSeconds(totalSeconds);
  }
  return date;
}

extern "C" int32_t dateFieldGetter(RuntimeObject *date, int32_t field) {
  DateImp *imp = ImpOf(date);
  return imp ? int32_t(imp->GetLongField(field)) : 0;
}

extern "C" void dateFieldSetter(RuntimeObject *date, int32_t field, int32_t value) {
  if (DateImp *imp = ImpOf(date))
    imp->SetLongField(field, value);
}

extern "C" stringStorage *dateStringGetter(RuntimeObject *date, int32_t format) {
  DateImp *imp = ImpOf(date);
  return imp ? imp->GetDateString(format).ExtractStringStorage() : nullptr;
}

extern "C" double dateTotalSecondsGetter(RuntimeObject *date, int32_t) {
  DateImp *imp = ImpOf(date);
  return imp ? imp->GetTotalSeconds() : 0.0;
}

extern "C" void dateTotalSecondsSetter(RuntimeObject *date, int32_t, double seconds) {
  if (DateImp *imp = ImpOf(date))
    imp->SetTotalSeconds(seconds);
}

extern "C" stringStorage *dateSQLDateGetter(RuntimeObject *date, int32_t) {
  DateImp *imp = ImpOf(date);
  return imp ? SQLDateText(imp).ExtractStringStorage() : nullptr;
}

extern "C" stringStorage *dateSQLDateTimeGetter(RuntimeObject *date, int32_t) {
  DateImp *imp = ImpOf(date);
  return imp ? SQLDateTimeText(imp).ExtractStringStorage() : nullptr;
}

extern "C" void dateSQLDateSetter(RuntimeObject *date, int32_t, stringStorage *textStorage) {
  const string text = string::Borrow(textStorage);
  if (countFields(text, string("-")) != 3) {
    RaiseUnsupportedFormat();
    return;
  }
  const long year = FieldNumber(text, "-", 1);
  const long month = FieldNumber(text, "-", 2);
  const long day = uatol(left(nthField(text, string("-"), 3), 2).CString());
  dateFieldSetter(date, DateImp::kYear, int32_t(year));
  dateFieldSetter(date, DateImp::kMonth, int32_t(month));
  dateFieldSetter(date, DateImp::kDay, int32_t(day));
}

extern "C" void dateSQLDateTimeSetter(RuntimeObject *date, int32_t, stringStorage *textStorage) {
  const string text = string::Borrow(textStorage);
  if (countFields(text, string("-")) != 3 || countFields(text, string(":")) != 3) {
    RaiseUnsupportedFormat();
    return;
  }
  const string datePart = nthField(text, string(" "), 1);
  const string timePart = nthField(text, string(" "), 2);
  const long fields[] = {FieldNumber(datePart, "-", 1), FieldNumber(datePart, "-", 2),
                         FieldNumber(datePart, "-", 3), FieldNumber(timePart, ":", 1),
                         FieldNumber(timePart, ":", 2), FieldNumber(timePart, ":", 3)};
  for (int32_t field = DateImp::kYear; field <= DateImp::kSecond; ++field)
    dateFieldSetter(date, field, int32_t(fields[field]));
}

extern "C" void UpdateDate(RuntimeObject *date) {
  if (DateImp *imp = ImpOf(date))
    imp->Update();
}

extern "C" DateImp *AutoInitDate(RuntimeObject *date) {
  if (!date)
    return nullptr;
  auto *self = reinterpret_cast<DateObject *>(date);
  if (!self->imp)
    self->imp = DateImp::New();
  if (self->imp)
    self->imp->AutoInit();
  return self->imp;
}

extern "C" int32_t parseDate(stringStorage *text, RuntimeObject **variable) {
  RuntimeObject *date = RuntimeNewObject(LookupObjectDefinition(DateClass()));
  DateImp *imp = ImpOf(date);
  if (!imp || !imp->ParseDate(string::Borrow(text))) {
    RuntimeUnlockObject(date);
    return 0;
  }
  if (variable) {
    RuntimeUnlockObject(*variable);
    *variable = date;
  } else {
    RuntimeUnlockObject(date);
  }
  return 1;
}

extern "C" int32_t DateCompare(RuntimeObject *a, RuntimeObject *b) {
  if (!a || !b)
    return int32_t(a != nullptr) - int32_t(b != nullptr);
  const double x = dateTotalSecondsGetter(a, 0), y = dateTotalSecondsGetter(b, 0);
  return x < y ? -1 : (x > y ? 1 : 0);
}

extern "C" RuntimeObject *ConstructDate(int32_t year, int32_t month, int32_t day, int32_t hour,
                                        int32_t minute, int32_t second) {
  RuntimeObject *date = RuntimeNewObject(LookupObjectDefinition(DateClass()));
  DateImp *imp = ImpOf(date);
  if (!imp) {
    ShowAlert(kConstructDateAlert);
    RuntimeUnlockObject(date);
    return nullptr;
  }
  if (year == 0 && month == 0 && day == 0) { // a time of day alone
    year = 1904;
    month = day = 1;
  }
  const int32_t fields[] = {year, month, day, hour, minute, second};
  for (int32_t field = DateImp::kYear; field <= DateImp::kSecond; ++field)
    imp->SetLongField(field, fields[field]);
  imp->Update();
  return date;
}

extern "C" RuntimeObject *dbDateToQVDate(stringStorage *text) {
  RuntimeObject *date = RuntimeNewObject(LookupObjectDefinition(DateClass()));
  if (!ImpOf(date)) {
    ShowAlert(kDBDateAlert);
    RuntimeUnlockObject(date);
    return nullptr;
  }
  dateSQLDateTimeSetter(date, 0, text);
  return date;
}

extern "C" stringStorage *QVDateToDBDate(RuntimeObject *date) {
  if (!date) {
    ShowAlert(kQVDateAlert);
    return nullptr;
  }
  return dateSQLDateTimeGetter(date, 0);
}
