#include "language/CharTables.h"

#include <cctype>
#include <cstring>

namespace {
const CharTables *sCurrent = nullptr;
CharTables sTables;
} // namespace

void CharTables::Apply() { sCurrent = this; }

const CharTables &CharTables::Current() {
  if (!sCurrent) {
    std::memset(&sTables, 0, sizeof sTables);
    sTables.Apply();
    for (int c = 0; c < 256; ++c) {
      sTables.upper[c] = static_cast<unsigned char>(std::toupper(c));
      sTables.lower[c] = static_cast<unsigned char>(std::tolower(c));
      sTables.blank[c] = c == ' ' || c == '\t';
    }
  }
  return *sCurrent;
}

bool IsCharDBCS(unsigned char byte) { return CharTables::Current().leadByte[byte]; }

bool IsCharDBCS(unsigned char byte, int32_t) { return IsCharDBCS(byte); }
