// Do-nothing bodies until the menus and the window life cycle land. Weak, so
// the real definitions take their place.
#include "windows/MenuServices.h"

__attribute__((weak)) void EnableMenus(bool, Window *) {}
__attribute__((weak)) void rmbShowMenuBar() {}
__attribute__((weak)) void rmbHideMenuBar() {}
extern "C" __attribute__((weak)) void WindowMenuBarSetter(RuntimeObject *, int32_t,
                                                          RuntimeObject *) {}
extern "C" __attribute__((weak)) void windowFullScreenSetter(RuntimeObject *, int32_t, int32_t) {}
__attribute__((weak)) void RemoveFromImplicitWindowList(RuntimeObject *) {}
