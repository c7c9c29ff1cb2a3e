// The meaning of one condition on one value, written once for every path
// that evaluates conditions (the built-in engine on stored rows, the SQL
// joins on the values of record sets): how a condition's text becomes a
// number, a date or a time, how LIKE matches, and how a value compares.
#pragma once
#include <cstdint>

// The integer a text names: leading spaces, an optional sign, then digits up
// to the first other character (0 when there are none). Numbers beyond the
// 64-bit range stop at its ends, so every comparison with a 32-bit column
// stays exact.
int64_t ConditionInteger(const char *text, int length);

// "_" matches one byte, "%" any run (none included), other bytes themselves;
// the whole value must match. Runs in time proportional to the product of
// the lengths at worst, never exponential.
bool LikeMatch(const uint8_t *value, int valueLength, const uint8_t *pattern, int patternLength);

// Whether a value satisfies "value op text" (operators 0 to 7 of the
// condition trees, the column function applying to texts). The value has the
// form a cursor's getColumnValue yields: smallint, integer, float and double
// in host order, date and time as three big-endian 16-bit parts, texts and
// bytes as they are. Booleans and unknown types satisfy nothing.
bool ValueSatisfies(uint8_t type, const uint8_t *data, int length, uint32_t op, uint32_t function,
                    const char *text, int textLength);
