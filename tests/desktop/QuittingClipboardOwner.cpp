#include "QuittingClipboardOwner.h"

#include <X11/Xlib.h>
#include <cstdlib>
#include <unistd.h>

namespace {

[[noreturn]] void Run(const std::string &command, int tellFd) {
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
    if (event.type == SelectionRequest) {
      (void)!std::system(command.c_str());
      _exit(0);
    }
  }
}

} // namespace

pid_t StartOwnerThatQuitsWhenAsked(const std::string &command) {
  int tell[2];
  if (pipe(tell) != 0)
    return -1;
  pid_t owner = fork();
  if (owner == 0)
    Run(command, tell[1]);
  close(tell[1]);
  char owns = 0;
  bool owning = owner > 0 && read(tell[0], &owns, 1) == 1;
  close(tell[0]);
  return owning ? owner : -1;
}
