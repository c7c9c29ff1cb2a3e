#include "foundation/CLocaleScopePosix.h"

namespace {
// Made once and kept for the life of the process.
locale_t CLocale() {
  static locale_t sCLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return sCLocale;
}
} // namespace

CLocaleScope::CLocaleScope() : mPrevious(uselocale(CLocale())) {}

CLocaleScope::~CLocaleScope() { uselocale(mPrevious); }
