#include "runtime/loop/RunLoop.h"

#include <gtk/gtk.h>

#include "foundation/AssertionAlert.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/loop/BackgroundTask.h"
#include "runtime/loop/DeferredUpdates.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/Pollables.h"
#include "runtime/loop/WindowInterface.h"

uint8_t gInMainLoop = 0;

namespace {

uint8_t sShutdown = 0;
ThreadStepHooks sThreadHooks{};

bool OnThreadStack() {
  return sThreadHooks.RunningOnThreadStack && sThreadHooks.RunningOnThreadStack();
}
// The pointer position last reported to a capture pane; it survives from one
// capture to the next.
bool sPositionRecorded = false;
int32_t sLastDragH = 0;
int32_t sLastDragV = 0;

// Reports the pointer to the capture pane: once more when it moved, and once
// in every step. The pane may close or release the capture in its first
// call, so the second goes only to a pane still alive and still capturing.
void FeedCapturePane(SubPane *pane) {
  const PaneHooks &hooks = GetPaneHooks();
  GdkWindow *window = hooks.GetSubPaneWindow ? hooks.GetSubPaneWindow(pane) : nullptr;
  int32_t h = 0, v = 0;
  if (!hooks.HandleMouseDrag || !ReadPointerPosition(window, &h, &v))
    return;
  if (!sPositionRecorded || h != sLastDragH || v != sLastDragV) {
    sPositionRecorded = true;
    sLastDragH = h;
    sLastDragV = v;
    if (hooks.Protect)
      hooks.Protect(pane);
    hooks.HandleMouseDrag(pane, h, v);
    if (hooks.UnprotectCausesDeath && hooks.UnprotectCausesDeath(pane))
      return;
  }
  if (GetCaptureMouse() == pane)
    hooks.HandleMouseDrag(pane, h, v);
}

bool ShouldAutoQuit() {
  const WindowHooks &windows = GetWindowHooks();
  if (windows.RuntimeWindowListIsEmpty && !windows.RuntimeWindowListIsEmpty())
    return false;
  return gInMainLoop && gApplicationObject && AsApplication(gApplicationObject)->autoQuit;
}

void Step(bool mayBlock) {
  if (const WindowHooks &windows = GetWindowHooks(); windows.AboutToYield)
    windows.AboutToYield();
  if (SubPane *capture = GetCaptureMouse()) {
    FeedCapturePane(capture);
    gtk_main_iteration_do(FALSE);
  } else {
    // A thread's step must not wait for the toolkit either: the dispatcher's
    // timeout may be held by the main stack, suspended inside its dispatch,
    // and nothing else might wake the wait. The thread yields below instead.
    gtk_main_iteration_do(mayBlock && !OnThreadStack());
  }
  applyDeferredUpdates();
  if (SubPane *focus = GetFocusPane(); focus && GetPaneHooks().FocusIdle)
    GetPaneHooks().FocusIdle(focus);
  PollPollableList();
  RunFireSerial();
  NetIdle(false);
  ClearCommandStop();
  if (ShouldAutoQuit())
    SignalShutdown();
  if (OnThreadStack() && sThreadHooks.YieldToNextThread)
    sThreadHooks.YieldToNextThread();
}

} // namespace

void RunLoopStep() { Step(true); }

void CallFunctionWithExceptionHandling(void (*fp)()) {
  if (!fp)
    ShowAlert(kNilStepFunctionAlert);
  RunLoopStep();
}

void ModalEvents() { CallFunctionWithExceptionHandling(RunLoopStep); }
void ReadyEvents() { Step(false); }

void InstallThreadStepHooks(const ThreadStepHooks *hooks) {
  sThreadHooks = hooks ? *hooks : ThreadStepHooks{};
}
const ThreadStepHooks &GetThreadStepHooks() { return sThreadHooks; }

int32_t ToolkitDispatchDepth() { return g_main_depth(); }

void mainloop() {
  while (!sShutdown)
    CallFunctionWithExceptionHandling(RunLoopStep);
  if (const WindowHooks &windows = GetWindowHooks(); windows.FireCloseEvents)
    windows.FireCloseEvents();
  RuntimeUnlockObject(gApplicationObject); // the registration's reference
}

void SignalShutdown() { sShutdown = 1; }
bool IsAppShuttingDown() { return sShutdown != 0; }

void *GetModalWindow() { return nullptr; }
bool InBackground() { return false; }
bool IsCommandStop(const void *) { return false; }
void ForceMessageLoopUpdate() {}
void UpdateMouseCursor() {}
void DebuggerSuspendTimerDispatcher() {}
void DebuggerResumeTimerDispatcher() {}
