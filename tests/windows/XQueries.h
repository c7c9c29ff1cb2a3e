// What the X server says about a window, asked directly (this file's source
// includes Xlib, which cannot stand beside the class named Window).
#pragma once

struct XSize {
  int width = 0, height = 0;
};
// The size of the X window with that id.
XSize XWindowSize(unsigned long xid);
// The minimum size in the window's WM_NORMAL_HINTS; false without one.
bool XMinimumSizeHint(unsigned long xid, XSize *min);
// Sends the X window what a window manager's close box sends: the
// WM_DELETE_WINDOW protocol message.
void XSendDeleteWindow(unsigned long xid);
