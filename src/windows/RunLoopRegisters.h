// What the pane layer uses of the run loop: the keyboard-focus and
// mouse-capture registers and the front layer (runtime/loop/PaneInterface.h),
// the modal loop and the shutdown flag (runtime/loop/RunLoop.h), and the
// application's cursor (ApplicationCursor.cpp).
#pragma once
#include <cstdint>

#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/RunLoop.h"

struct MouseCursor;
// True when the application object has a MouseCursor object; its record
// (which may be nil) then goes to *record.
bool ApplicationMouseCursor(MouseCursor **record);
