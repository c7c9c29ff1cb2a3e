// The queue of windows that CloseWindowLater closes from the run loop.
#pragma once

class Window;

// Takes a window that is going away out of the queue.
void ForgetDeferredClose(Window *w);
