#include "language/NumberToString.h"

#include "foundation/NumberFormat.h"

extern "C" stringStorage *StringStr(double value) {
  return doubleStr(value, kDoubleStrAutomatic, 7).ExtractStringStorage();
}

extern "C" stringStorage *StringFormat(double value, stringStorage *pattern) {
  return FormatNumber(value, string::Borrow(pattern)).ExtractStringStorage();
}
