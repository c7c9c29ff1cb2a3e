#include "database/sql/TextCollation.h"

#include <array>

namespace {

// Byte order, until the engine's collation table is linked in.
constexpr std::array<uint8_t, 256> ByteOrder() {
  std::array<uint8_t, 256> weights{};
  for (int i = 0; i < 256; ++i)
    weights[i] = static_cast<uint8_t>(i);
  return weights;
}

constexpr std::array<uint8_t, 256> kByteOrder = ByteOrder();

} // namespace

const uint8_t *sqlTextCollation() { return kByteOrder.data(); }
