#include "database/sql/ValueOrder.h"

#include <cstring>

#include "database/DatabaseEngine.h"
#include "database/sql/TextCollation.h"

namespace {

// The place of each kind of value in the order.
enum Rank { kNullRank, kNumberRank, kTextRank, kDateRank, kTimeRank, kBooleanRank, kBytesRank };

Rank RankOf(uint8_t type) {
  switch (type) {
  case kColumnNull: return kNullRank;
  case kColumnSmallInt:
  case kColumnInteger:
  case kColumnFloat:
  case kColumnDouble: return kNumberRank;
  case kColumnText4:
  case kColumnText:
  case kColumnLongText:
  case kColumnStringRef: return kTextRank;
  case kColumnDate:
  case kColumnTimeStamp: return kDateRank;
  case kColumnTime: return kTimeRank;
  case kColumnBoolean: return kBooleanRank;
  default: return kBytesRank;
  }
}

int Sign(long long difference) { return difference < 0 ? -1 : difference > 0; }

// Field i of a value of big-endian 16-bit fields; 0 past its end.
int Field16(const std::string &bytes, size_t i) {
  if (bytes.size() < 2 * i + 2)
    return 0;
  return static_cast<int16_t>((static_cast<uint8_t>(bytes[2 * i]) << 8) | static_cast<uint8_t>(bytes[2 * i + 1]));
}

int CompareFields(const std::string &a, const std::string &b, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (int order = Sign(Field16(a, i) - Field16(b, i)))
      return order;
  return 0;
}

int CompareCollated(const std::string &a, const std::string &b) {
  const uint8_t *macLexoMap = sqlTextCollation();
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const int x = macLexoMap[static_cast<uint8_t>(a[i])], y = macLexoMap[static_cast<uint8_t>(b[i])];
    if (x != y)
      return x < y ? -1 : 1;
  }
  return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}

int CompareBytes(const std::string &a, const std::string &b) {
  const int order = a.compare(b);
  return order < 0 ? -1 : order > 0;
}

template <typename Number>
double HostNumber(const std::string &bytes) {
  Number value{};
  if (bytes.size() >= sizeof value)
    std::memcpy(&value, bytes.data(), sizeof value);
  return static_cast<double>(value);
}

} // namespace

bool sqlNumericValue(const SqlValue &value, double &number) {
  switch (value.type) {
  case kColumnSmallInt: number = HostNumber<int16_t>(value.bytes); return true;
  case kColumnInteger: number = HostNumber<int32_t>(value.bytes); return true;
  case kColumnFloat: number = HostNumber<float>(value.bytes); return true;
  case kColumnDouble: number = HostNumber<double>(value.bytes); return true;
  default: number = 0; return false;
  }
}

int sqlCompareValues(const SqlValue &a, const SqlValue &b) {
  const Rank rankA = RankOf(a.type), rankB = RankOf(b.type);
  if (rankA != rankB)
    return rankA < rankB ? -1 : 1;
  switch (rankA) {
  case kNullRank: return 0;
  case kNumberRank: {
    double x = 0, y = 0;
    sqlNumericValue(a, x);
    sqlNumericValue(b, y);
    return x < y ? -1 : x > y;
  }
  case kTextRank: return CompareCollated(a.bytes, b.bytes);
  case kDateRank: return CompareFields(a.bytes, b.bytes, 6); // a date has no time: 00:00:00
  case kTimeRank: return CompareFields(a.bytes, b.bytes, 3);
  case kBooleanRank: return Sign((!a.bytes.empty() && a.bytes[0]) - (!b.bytes.empty() && b.bytes[0]));
  default: return CompareBytes(a.bytes, b.bytes);
  }
}
