#pragma once
// Lengths of i386 instructions (32-bit mode), enough to walk the code that
// gcc writes for freestanding C and to find its call instructions.
#include <cstddef>
#include <cstdint>

namespace imagelink {

struct DecodedInstruction {
  uint32_t length = 0; // 0: not decodable
  bool isCall = false; // near or far call, direct or indirect
};

DecodedInstruction decodeInstruction(const uint8_t *bytes, size_t available);

} // namespace imagelink
