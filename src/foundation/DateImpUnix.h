// DateImp on the C library's time, localtime and strptime. The fields are a
// tm record whose tm_year holds the full year.
#pragma once
#include <ctime>

#include "foundation/AssertionAlert.h"
#include "foundation/DateImp.h"

// The alerts of a field number out of range, on reading and on setting.
inline constexpr char kDateImpUnixAlertSource[] = "../Universal/DateImp/DateImpUnix";
inline constexpr AlertSite kDateGetFieldAlert{kDateImpUnixAlertSource, 94, "0"};
inline constexpr AlertSite kDateSetFieldAlert{kDateImpUnixAlertSource, 135, "0"};

class DateImpUnix final : public DateImp {
public:
  DateImpUnix() = default;

  void Update() override;
  void AutoInit() override;
  void SetLongField(int field, long value) override;
  long GetLongField(int field) override;
  string GetDateString(int format) override;
  double GetTotalSeconds() override;
  void SetTotalSeconds(double seconds) override;
  bool ParseDate(const string &text) override;

private:
  bool mInitialized = false; // the fields hold a date
  bool mDirty = false;       // a field was set; month and day may need normalising
  tm mDate{};
};
