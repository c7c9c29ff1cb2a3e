#include "BellCounter.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>

struct BellCounter::State {
  Display *display = nullptr;
  int eventBase = 0;
  int bells = 0;
};

BellCounter::BellCounter() : mState(std::make_unique<State>()) {
  int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  mState->display = XkbOpenDisplay(nullptr, &mState->eventBase, &error, &major, &minor, &opcode);
  if (!mState->display)
    return;
  XkbSelectEvents(mState->display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  XSync(mState->display, False); // listening before the constructor returns
}

BellCounter::~BellCounter() {
  if (mState->display)
    XCloseDisplay(mState->display);
}

bool BellCounter::Watching() const { return mState->display != nullptr; }

int BellCounter::WaitFor(int count, std::chrono::seconds bound) {
  const auto end = std::chrono::steady_clock::now() + bound;
  Display *display = mState->display;
  while (display) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == mState->eventBase &&
          reinterpret_cast<XkbEvent *>(&event)->any.xkb_type == XkbBellNotify)
        ++mState->bells;
    }
    const long long left = std::chrono::duration_cast<std::chrono::milliseconds>(
                               end - std::chrono::steady_clock::now())
                               .count();
    if (mState->bells >= count || left <= 0)
      break;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(std::min(left, 500LL)));
  }
  return mState->bells;
}
