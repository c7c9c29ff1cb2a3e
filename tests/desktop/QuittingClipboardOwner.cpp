#include "QuittingClipboardOwner.h"

#include <X11/Xlib.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <poll.h>
#include <unistd.h>

#include "support/SelectionReply.h"

namespace {

// What the owner does with each selection request it gets.
using RequestHandler = std::function<void(Display *, Window, const XSelectionRequestEvent &)>;

[[noreturn]] void Run(const RequestHandler &handle, int tellFd) {
  Display *display = XOpenDisplay(nullptr);
  if (!display)
    _exit(2);
  Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False), window, CurrentTime);
  XSync(display, False);
  (void)!write(tellFd, "o", 1);
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == SelectionRequest)
      handle(display, window, event.xselectionrequest);
  }
}

pid_t StartOwner(const RequestHandler &handle) {
  int tell[2];
  if (pipe(tell) != 0)
    return -1;
  pid_t owner = fork();
  if (owner == 0)
    Run(handle, tell[1]);
  close(tell[1]);
  char owns = 0;
  bool owning = owner > 0 && read(tell[0], &owns, 1) == 1;
  close(tell[0]);
  return owning ? owner : -1;
}

// Answers a request with the text, or refuses it when it asks for another
// target than UTF8_STRING.
void Answer(Display *display, const XSelectionRequestEvent &request, const std::string &text) {
  if (request.target != XInternAtom(display, "UTF8_STRING", False))
    return SendSelectionNotify(display, request, None);
  XChangeProperty(display, request.requestor, request.property, request.target, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char *>(text.data()),
                  static_cast<int>(text.size()));
  SendSelectionNotify(display, request, request.property);
}

// Waits, at most the bound, for the X server to tell the window that
// another client took its selection.
void WaitForSelectionClear(Display *display, Window window, int boundMs) {
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (std::chrono::steady_clock::now() < deadline) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == SelectionClear && event.xselectionclear.window == window)
        return;
    }
    poll(&connection, 1, 100);
  }
}

} // namespace

pid_t StartOwnerThatQuitsWhenAsked(const std::string &nextOwnerCommand) {
  return StartOwner([nextOwnerCommand](Display *display, Window window,
                                       const XSelectionRequestEvent &request) {
    if (!nextOwnerCommand.empty()) {
      // xclip may take the selection only after the command returned (it
      // goes on in the background).
      (void)!std::system(nextOwnerCommand.c_str());
      WaitForSelectionClear(display, window, 20000);
    }
    _exit(0);
  });
}

pid_t StartOwnerThatTakesTheClipboardAgainWhenAsked(const std::string &text) {
  return StartOwner([text, asked = false](Display *display, Window window,
                                          const XSelectionRequestEvent &request) mutable {
    if (asked)
      return Answer(display, request, text);
    asked = true;
    XSetSelectionOwner(display, request.selection, window, CurrentTime);
    XFlush(display);
  });
}

unsigned long CurrentClipboardOwner() {
  static Display *display = XOpenDisplay(nullptr);
  if (!display)
    return 0;
  return XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False));
}
