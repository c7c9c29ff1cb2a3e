// Windows closed a moment later, from the run loop, rather than inside the
// handler that asked.
#include "windows/WindowDeferredClose.h"

#include <algorithm>
#include <vector>

#include "windows/Window.h"

namespace {

// Windows queued by CloseWindowLater, closed newest first by a timeout.
std::vector<Window *> sDeferredClose;
guint sDeferredCloser = 0;

gboolean CloseDeferredWindows(gpointer) {
  while (!sDeferredClose.empty()) {
    Window *w = sDeferredClose.back();
    sDeferredClose.pop_back();
    w->Close();
  }
  sDeferredCloser = 0;
  return FALSE;
}

} // namespace

void ForgetDeferredClose(Window *w) {
  auto queued = std::find(sDeferredClose.begin(), sDeferredClose.end(), w);
  if (queued != sDeferredClose.end())
    sDeferredClose.erase(queued);
}

void Window::CloseWindowLater() {
  if (std::find(sDeferredClose.begin(), sDeferredClose.end(), this) != sDeferredClose.end())
    return;
  sDeferredClose.push_back(this);
  if (!sDeferredCloser)
    sDeferredCloser = g_timeout_add(100, CloseDeferredWindows, nullptr); // 6 ticks
}
