// Stand-ins for the run loop's nested step and shutdown flag, and for the
// application's cursor, until the run loop and the Application class land.
// Weak, so that their definitions take the place of these.
#include <gtk/gtk.h>

#include "windows/RunLoopRegisters.h"

__attribute__((weak)) void ModalEvents() { gtk_main_iteration_do(TRUE); }
__attribute__((weak)) bool IsAppShuttingDown() { return false; }
__attribute__((weak)) void UpdateMouseCursor() {}
__attribute__((weak)) bool ApplicationMouseCursor(MouseCursor **) { return false; }
