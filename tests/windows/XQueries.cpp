#include "XQueries.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>

XSize XWindowSize(unsigned long xid) {
  ::Window root;
  int x, y;
  unsigned width = 0, height = 0, border, depth;
  XGetGeometry(gdk_x11_get_default_xdisplay(), xid, &root, &x, &y, &width, &height, &border,
               &depth);
  return XSize{static_cast<int>(width), static_cast<int>(height)};
}

bool XMinimumSizeHint(unsigned long xid, XSize *min) {
  XSizeHints hints{};
  long supplied = 0;
  if (!XGetWMNormalHints(gdk_x11_get_default_xdisplay(), xid, &hints, &supplied))
    return false;
  if (!(hints.flags & PMinSize))
    return false;
  *min = XSize{hints.min_width, hints.min_height};
  return true;
}

void XSendDeleteWindow(unsigned long xid) {
  Display *display = gdk_x11_get_default_xdisplay();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = xid;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, xid, False, NoEventMask, &event);
  XFlush(display);
}
