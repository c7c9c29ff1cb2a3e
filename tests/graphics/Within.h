// Waiting for another program's effect with a bound.
#pragma once
#include <glib.h>

// Whether done answers true within about the milliseconds given, asked every
// tenth of a second.
template <typename Done>
bool Within(int milliseconds, Done done) {
  for (int waited = 0; waited < milliseconds; waited += 100) {
    if (done())
      return true;
    g_usleep(100 * 1000);
  }
  return done();
}
