// Stand-ins for the desktop services until that area lands: movies do not
// exist. Weak, so the desktop area's definitions win.
#include "windows/DesktopServices.h"

__attribute__((weak)) void KillMovie(SubPane *) {}
__attribute__((weak)) void KillWindowMovies(Window *) {}
