#include "database/ValueConditions.h"

#include <cstring>
#include <vector>

#include "database/DatabaseEngine.h"
#include "database/DatabaseFormat.h"
#include "language/StringToNumber.h"

int64_t ConditionInteger(const char *text, int length) {
  int at = 0;
  while (at < length && text[at] == ' ') at++;
  bool negative = false;
  if (at < length && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  // Counted as a negative number, whose range is the wider one.
  constexpr int64_t kLeast = INT64_MIN;
  int64_t value = 0;
  for (; at < length && text[at] >= '0' && text[at] <= '9'; at++) {
    int digit = text[at] - '0';
    if (value < (kLeast + digit) / 10) {
      value = kLeast;
      continue;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kLeast ? INT64_MAX : -value;
}

bool LikeMatch(const uint8_t *value, int valueLength, const uint8_t *pattern, int patternLength) {
  // Greedy matching with one resumption point: the last "%" seen. Each "%"
  // retires the earlier one, so no branch is explored twice.
  int v = 0, p = 0, starP = -1, starV = 0;
  while (v < valueLength) {
    if (p < patternLength && (pattern[p] == '_' || (pattern[p] != '%' && pattern[p] == value[v]))) {
      v++, p++;
    } else if (p < patternLength && pattern[p] == '%') {
      starP = p++;
      starV = v;
    } else if (starP >= 0) {
      p = starP + 1;
      v = ++starV;
    } else {
      return false;
    }
  }
  while (p < patternLength && pattern[p] == '%') p++;
  return p == patternLength;
}

namespace {
template <typename T>
bool Compare(uint32_t op, T a, T b) {
  switch (op) {
  case kConstraintEqual: return a == b;
  case kConstraintLess: return a < b;
  case kConstraintGreater: return a > b;
  case kConstraintLessOrEqual: return a <= b;
  case kConstraintGreaterOrEqual: return a >= b;
  case kConstraintNotEqual: return a != b;
  default: return false;
  }
}

template <typename T>
T Host(const uint8_t *data, int length) {
  T value{};
  if (length >= int(sizeof(T))) std::memcpy(&value, data, sizeof(T));
  return value;
}

bool TextSatisfies(const uint8_t *data, int length, uint32_t op, uint32_t function, const char *text,
                   int textLength) {
  std::vector<uint8_t> value(data, data + length);
  if (function == kConstraintFunctionUpper)
    for (uint8_t &c : value) c = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
  else if (function == kConstraintFunctionLower)
    for (uint8_t &c : value) c = uint8_t(c >= 'A' && c <= 'Z' ? c + 32 : c);
  const auto *pattern = reinterpret_cast<const uint8_t *>(text);
  if (op == kConstraintLike || op == kConstraintNotLike) {
    bool match = LikeMatch(value.data(), int(value.size()), pattern, textLength);
    return op == kConstraintLike ? match : !match;
  }
  int common = int(value.size()) < textLength ? int(value.size()) : textLength;
  int order = common ? std::memcmp(value.data(), pattern, size_t(common)) : 0;
  if (!order) order = int(value.size()) - textLength;
  return Compare(op, order, 0);
}
} // namespace

bool ValueSatisfies(uint8_t type, const uint8_t *data, int length, uint32_t op, uint32_t function,
                    const char *text, int textLength) {
  bool textOperator = op == kConstraintLike || op == kConstraintNotLike;
  if (op > kConstraintNotLike) return false;
  switch (type) {
  case kColumnSmallInt:
  case kColumnInteger: {
    if (textOperator) return false;
    int64_t stored = type == kColumnSmallInt ? Host<int16_t>(data, length) : Host<int32_t>(data, length);
    return Compare(op, stored, ConditionInteger(text, textLength));
  }
  case kColumnFloat:
  case kColumnDouble: {
    if (textOperator) return false;
    double stored = type == kColumnFloat ? double(Host<float>(data, length)) : Host<double>(data, length);
    string wanted;
    wanted.ConstructFromBuffer(text, textLength);
    return Compare(op, stored, StringVal(wanted.Storage()));
  }
  case kColumnDate:
  case kColumnTime: {
    if (textOperator || length < 6) return false;
    int16_t wanted[3] = {};
    bool ok = type == kColumnDate ? dbformat::ParseDateText(text, textLength, wanted)
                                  : dbformat::ParseTimeText(text, textLength, wanted);
    if (!ok) wanted[0] = wanted[1] = wanted[2] = 0;
    int order = 0;
    for (int i = 0; i < 3 && !order; i++) {
      int have = int16_t(dbformat::Load16(data + 2 * i));
      order = have < wanted[i] ? -1 : have > wanted[i];
    }
    return Compare(op, order, 0);
  }
  case kColumnText:
  case kColumnBinary:
  case kColumnLongText:
  case kColumnLongBinary: return TextSatisfies(data, length, op, function, text, textLength);
  default: return false;
  }
}
