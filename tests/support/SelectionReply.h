// Answering a selection request from a test's own X client. Includes Xlib,
// whose names clash with the runtime's: only for files that hold no runtime
// code.
#pragma once
#include <X11/Xlib.h>

// Sends the requestor the notification that ends its request: the property
// that now holds the answer, or None to refuse it.
void SendSelectionNotify(Display *display, const XSelectionRequestEvent &request, Atom property);
