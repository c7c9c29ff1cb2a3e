// Switches the calling thread to the C locale for as long as the scope lives,
// so that printf, strtod, strptime and their kin read and write numbers with
// "." and English month and day names whatever locale start-up set.
#pragma once
#include <locale.h>

class CLocaleScope {
public:
  CLocaleScope();
  ~CLocaleScope();
  CLocaleScope(const CLocaleScope &) = delete;
  CLocaleScope &operator=(const CLocaleScope &) = delete;

private:
  locale_t mPrevious;
};
