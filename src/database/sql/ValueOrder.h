// Column values held by the runtime's derived cursors, and their total order:
// NULL first, then numbers, text, dates (and timestamps), times, booleans and
// bytes, each kind ordered by value.
#pragma once
#include <cstdint>
#include <string>

struct SqlValue {
  uint8_t type = 0; // a column type code; 0 is NULL
  std::string bytes;
};

// -1, 0 or 1.
int sqlCompareValues(const SqlValue &a, const SqlValue &b);
// True for the numeric type codes; number receives the value.
bool sqlNumericValue(const SqlValue &value, double &number);
