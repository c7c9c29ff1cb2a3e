#include "runtime/application/KaleidoscopeColor.h"

#include "foundation/AssertionAlert.h"

namespace {

const QV::RGBColor kTable[kKaleidoscopeColorCount] = {
    {0, 0, 0},                // frame
    {0xDDDD, 0xDDDD, 0xDDDD}, // fill
    {0, 0, 0},                // text
    {0xFFFF, 0xFFFF, 0xFFFF}, // light tinge
    {0xAAAA, 0xAAAA, 0xAAAA}, // dark tinge
    {0xFFFF, 0xFFFF, 0xFFFF}, // light bevel
    {0xAAAA, 0xAAAA, 0xAAAA}, // dark bevel
};

} // namespace

void KaleidoscopeColor(int index, QV::RGBColor *colour, unsigned long *packed) {
  if (!RUNTIME_CHECK(index >= 0 && index < kKaleidoscopeColorCount))
    return;
  const QV::RGBColor &entry = kTable[index];
  if (colour)
    *colour = entry;
  if (packed)
    *packed = (static_cast<unsigned long>(entry.red / 257) << 16) |
              (static_cast<unsigned long>(entry.green / 257) << 8) | (entry.blue / 257);
}
