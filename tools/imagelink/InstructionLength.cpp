#include "InstructionLength.h"

namespace imagelink {

namespace {

bool isPrefix(uint8_t b) {
  switch (b) {
  case 0x26:
  case 0x2E:
  case 0x36:
  case 0x3E:
  case 0x64:
  case 0x65:
  case 0x66:
  case 0x67:
  case 0xF0:
  case 0xF2:
  case 0xF3:
    return true;
  default:
    return false;
  }
}

bool oneByteHasModRM(uint8_t op) {
  if (op < 0x40)
    return (op & 7) < 4; // the ALU r/m forms
  switch (op) {
  case 0x62:
  case 0x63:
  case 0x69:
  case 0x6B:
  case 0xC0:
  case 0xC1:
  case 0xC4:
  case 0xC5:
  case 0xC6:
  case 0xC7:
  case 0xD0:
  case 0xD1:
  case 0xD2:
  case 0xD3:
  case 0xF6:
  case 0xF7:
  case 0xFE:
  case 0xFF:
    return true;
  default:
    return (op >= 0x80 && op <= 0x8F) || (op >= 0xD8 && op <= 0xDF);
  }
}

// Immediate bytes of a one-byte opcode; -1 when the opcode is not decoded.
int oneByteImmediate(uint8_t op, uint32_t operandSize, uint32_t addressSize) {
  if (op < 0x40) {
    if ((op & 7) == 4)
      return 1;
    if ((op & 7) == 5)
      return operandSize;
    return 0;
  }
  if (op >= 0x70 && op <= 0x7F)
    return 1;
  if (op >= 0xB0 && op <= 0xB7)
    return 1;
  if (op >= 0xB8 && op <= 0xBF)
    return operandSize;
  if (op >= 0xE0 && op <= 0xE7)
    return 1;
  if (op >= 0x6C && op <= 0x6F)
    return 0;
  switch (op) {
  case 0x6A:
  case 0x6B:
  case 0x80:
  case 0x82:
  case 0x83:
  case 0xA8:
  case 0xC0:
  case 0xC1:
  case 0xC6:
  case 0xCD:
  case 0xD4:
  case 0xD5:
  case 0xEB:
    return 1;
  case 0x68:
  case 0x69:
  case 0x81:
  case 0xA9:
  case 0xC7:
  case 0xE8:
  case 0xE9:
    return operandSize;
  case 0xC2:
  case 0xCA:
    return 2;
  case 0xC8:
    return 3;
  case 0x9A:
  case 0xEA:
    return operandSize + 2;
  case 0xA0:
  case 0xA1:
  case 0xA2:
  case 0xA3:
    return addressSize;
  case 0x0F:
    return -1;
  default:
    break;
  }
  if ((op >= 0x40 && op <= 0x61) || (op >= 0x84 && op <= 0x8F) || (op >= 0x90 && op <= 0x99) ||
      (op >= 0x9B && op <= 0x9F) || (op >= 0xA4 && op <= 0xAF && op != 0xA8 && op != 0xA9) ||
      (op >= 0xD8 && op <= 0xDF) || (op >= 0xEC && op <= 0xEF) || op >= 0xF8)
    return 0;
  switch (op) {
  case 0x62:
  case 0x63:
  case 0xC3:
  case 0xC4:
  case 0xC5:
  case 0xC9:
  case 0xCB:
  case 0xCC:
  case 0xCE:
  case 0xCF:
  case 0xD0:
  case 0xD1:
  case 0xD2:
  case 0xD3:
  case 0xD7:
  case 0xF1:
  case 0xF4:
  case 0xF5:
  case 0xF6:
  case 0xF7:
    return 0;
  default:
    return -1;
  }
}

// Bytes of the ModRM byte and what follows it (SIB, displacement).
int modRMLength(const uint8_t *p, size_t available, uint32_t addressSize) {
  if (available < 1)
    return -1;
  const uint8_t mod = p[0] >> 6, rm = p[0] & 7;
  if (addressSize == 2) {
    if (mod == 3)
      return 1;
    if (mod == 0)
      return rm == 6 ? 3 : 1;
    return mod == 1 ? 2 : 3;
  }
  if (mod == 3)
    return 1;
  int length = 1;
  if (rm == 4) {
    if (available < 2)
      return -1;
    ++length;
    if (mod == 0 && (p[1] & 7) == 5)
      length += 4;
  } else if (mod == 0 && rm == 5) {
    length += 4;
  }
  if (mod == 1)
    length += 1;
  if (mod == 2)
    length += 4;
  return length;
}

} // namespace

DecodedInstruction decodeInstruction(const uint8_t *bytes, size_t available) {
  size_t at = 0;
  uint32_t operandSize = 4, addressSize = 4;
  while (at < available && isPrefix(bytes[at])) {
    if (bytes[at] == 0x66)
      operandSize = 2;
    if (bytes[at] == 0x67)
      addressSize = 2;
    if (++at > 4)
      return {};
  }
  if (at >= available)
    return {};
  const uint8_t op = bytes[at++];
  bool hasModRM;
  int immediate;
  bool isCall = false;
  if (op == 0x0F) {
    if (at >= available)
      return {};
    const uint8_t op2 = bytes[at++];
    if (op2 == 0x38 || op2 == 0x3A) {
      if (at >= available)
        return {};
      ++at;
      hasModRM = true;
      immediate = op2 == 0x3A ? 1 : 0;
    } else if (op2 >= 0x80 && op2 <= 0x8F) {
      hasModRM = false;
      immediate = operandSize;
    } else {
      switch (op2) {
      case 0x05:
      case 0x06:
      case 0x08:
      case 0x09:
      case 0x0B:
      case 0x30:
      case 0x31:
      case 0x32:
      case 0x33:
      case 0x34:
      case 0x35:
      case 0x77:
      case 0xA0:
      case 0xA1:
      case 0xA2:
      case 0xA8:
      case 0xA9:
      case 0xAA:
        hasModRM = false;
        break;
      default:
        hasModRM = !(op2 >= 0xC8 && op2 <= 0xCF);
      }
      switch (op2) {
      case 0x70:
      case 0x71:
      case 0x72:
      case 0x73:
      case 0xA4:
      case 0xAC:
      case 0xBA:
      case 0xC2:
      case 0xC4:
      case 0xC5:
      case 0xC6:
        immediate = 1;
        break;
      default:
        immediate = 0;
      }
    }
  } else {
    hasModRM = oneByteHasModRM(op);
    immediate = oneByteImmediate(op, operandSize, addressSize);
    if (immediate < 0)
      return {};
    if ((op == 0xF6 || op == 0xF7) && at < available && ((bytes[at] >> 3) & 7) < 2)
      immediate = op == 0xF6 ? 1 : operandSize;
    isCall = op == 0xE8 || op == 0x9A ||
             (op == 0xFF && at < available && ((bytes[at] >> 3) & 7) >= 2 &&
              ((bytes[at] >> 3) & 7) <= 3);
  }
  if (hasModRM) {
    int length = modRMLength(bytes + at, available - at, addressSize);
    if (length < 0)
      return {};
    at += length;
  }
  at += immediate;
  if (at > available)
    return {};
  return {uint32_t(at), isCall};
}

} // namespace imagelink
