#include "listbox/ColumnWidthExpressions.h"

#include <cmath>
#include <cstdint>

#include "language/StringToNumber.h"
#include "runtime/exceptions/ExceptionClasses.h"

int32_t TruncateToInt32(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= 2147483647.0)
    return INT32_MAX;
  if (value <= -2147483648.0)
    return INT32_MIN;
  return static_cast<int32_t>(value);
}

ColumnWidthFormat ParseColumnWidth(const string &expression, double *value) {
  if (expression.IsEmpty()) {
    *value = 1.0;
    return kColumnWidthStar;
  }
  double v = StringValHelper(expression, nullptr);
  if (v < 0 || std::isnan(v))
    v = 0;
  *value = v;
  const char last = expression.CString()[expression.Length() - 1];
  if (last == '%')
    return kColumnWidthPercent;
  if (last == '*') {
    if (expression.Length() == 1)
      *value = 1.0;
    return kColumnWidthStar;
  }
  if (last >= '0' && last <= '9')
    return kColumnWidthPixels;
  return kColumnWidthUnrecognized;
}

ColumnWidthFormat GetColumnWidthFormatAndValue(const string &expression, double *value) {
  const ColumnWidthFormat form = ParseColumnWidth(expression, value);
  if (form == kColumnWidthUnrecognized)
    RaiseExceptionClassWMessage(UnsupportedFormatExceptionClass(),
                                string("Unrecognized expression '") + expression + string("'"),
                                0);
  return form;
}

ColumnWidthFormat GetColumnWidthFormat(const string &expression) {
  double value;
  return GetColumnWidthFormatAndValue(expression, &value);
}

int32_t ComputeColumnWidth(const string &expression, int32_t *remaining, int32_t listWidth,
                           int32_t columnsLeft, double *starSum) {
  int32_t share = columnsLeft > 0 ? *remaining / columnsLeft : 0;
  if (share < 0)
    share = 0;
  double value;
  int32_t width;
  switch (GetColumnWidthFormatAndValue(expression, &value)) {
  case kColumnWidthPercent:
    width = TruncateToInt32(listWidth * value / 100.0);
    break;
  case kColumnWidthPixels:
    width = TruncateToInt32(value);
    break;
  case kColumnWidthStar:
    *starSum += value;
    width = 0;
    break;
  default:
    width = share;
    break;
  }
  *remaining = static_cast<int32_t>(static_cast<int64_t>(*remaining) - width);
  return width;
}
