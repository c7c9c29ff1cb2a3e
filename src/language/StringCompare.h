// Ordering two texts: StrComp (exact, or by characters), and the
// case-insensitive comparison that compiled code calls for "=" and "<" on
// strings.
#pragma once
#include <cstdint>

#include "foundation/String.h"

extern "C" {
// Mode 0 compares the bytes; any other mode compares characters with case.
int32_t StringStrCompare(stringStorage *a, stringStorage *b, int32_t mode);
int32_t RuntimeStringCompare(stringStorage *a, stringStorage *b);
}
