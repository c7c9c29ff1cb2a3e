#include "debugger/DebuggerSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "debugger/DebuggerStub.h"
#include "foundation/ByteStrings.h"
#include "net/SocketCore.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/exceptions/Unwinder.h"
#include "runtime/image/LoaderX86.h"
#include "runtime/loop/BackgroundTask.h"
#include "runtime/loop/Pollables.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/startup/RuntimeStartup.h"
#include "runtime/threads/RuntimeThread.h"

void *sStopFrame = nullptr;
void *sTargetGlobalDataAddr = nullptr;

namespace {

Ref<DebuggerConnection> sDebugClientSocket;
DSDelegate sDebugDelegate;
string sDebuggerAddress;
uint8_t *sBreakpoints = nullptr;
int32_t sBreakpointsLen = 0;
int32_t sStepMode = 0; // 0 run, 1 next line, 2 step over, 3 step out
int32_t sSavedStepStackFrame = 0;
// The stack a step began on: its test applies only to lines on that stack.
uintptr_t sStepStackBase = 0;
uintptr_t sStepStackTop = 0;
uint8_t sInDebuggerEntry = 0;
// Whether a line can stop other than at a breakpoint: a step is asked for,
// or the link is not open yet (the first line stops). Kept up to date with
// the step mode and the link, so that a line that does not stop tests one
// byte here.
uint8_t sMayStop = 1;
// Command loops running (the program is stopped while it is above 0).
int32_t sCommandLoopDepth = 0;

struct FrameRecord {
  FrameRecord *link;
  void *returnAddress;
};

bool LinkBound() { return sDebugClientSocket.IsBound(); }

void RefreshMayStop() { sMayStop = sStepMode != 0 || !LinkBound(); }

void SetStepMode(int32_t mode, int32_t savedFrame) {
  sStepMode = mode;
  sSavedStepStackFrame = savedFrame;
  RefreshMayStop();
  const StackBounds stack = WalkableStack();
  sStepStackBase = stack.base;
  sStepStackTop = stack.top;
}

// The link of the stop frame, read only while the program is stopped (the
// record then lies in a live frame below the command loop's caller).
int32_t StopFrameLink() {
  return sStopFrame ? int32_t(reinterpret_cast<uintptr_t>(
                          static_cast<FrameRecord *>(sStopFrame)->link))
                    : 0;
}

[[noreturn]] void QuitDebugging() {
  if (LinkBound()) {
    sDebugClientSocket->Close();
    sDebugClientSocket.Unbind();
  }
  _exit(1);
}

void PollDebuggerConnection() {
  PollPollableList();
  NetIdle(true);
  TriggerBackgroundTasks();
}

void ConnectToDebugger() {
  void *frame = CURRENT_FRAME();
  const string address = sDebuggerAddress.IsEmpty() ? string("127.0.0.1") : sDebuggerAddress;
  sDebugClientSocket = DebuggerConnection::New(address);
  if (!LinkBound()) {
    ShowAlert(kStubConnectAlert);
    QuitDebugging();
  }
  sDebugClientSocket->AddDelegate(&sDebugDelegate);
  sDebugClientSocket->Connect();
  const int32_t start = RuntimeTicks();
  while (!sDebugDelegate.mConnected && !ExceptionArmedAbove(frame)) {
    if (RuntimeTicks() - start > kConnectTicks) {
      DisplayRuntimeErrorAlert(kNoDebuggerAlertCode, kNoDebuggerAlertNumber, "", 0, nullptr,
                               nullptr);
      _exit(1);
    }
    PollDebuggerConnection();
  }
}

void StartDebugging() {
  ConnectToDebugger();
  InstallDebuggerMonitors();
  sTargetGlobalDataAddr = GetX86DataSectionBaseAddress();
}

// The stop of a line entry.
void StopAtLine(int32_t line) {
  sStepMode = 0;
  if (!LinkBound())
    StartDebugging();
  RefreshMayStop();
  SendToDebugger("BREAK", Hex8(uint32_t(line)));
  RunDebuggerCommandLoop();
}

// The part of a line entry past its quick test: the step test, the
// breakpoint, the first line. Kept apart so that a line that does not stop
// makes no call.
__attribute__((noinline)) void DecideLineStop(int32_t line, FrameRecord *own) {
  sInDebuggerEntry = 1;
  bool stop = false;
  if (sStepMode != 0) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(own);
    const int32_t link = int32_t(reinterpret_cast<uintptr_t>(own->link));
    if (at >= sStepStackBase && at < sStepStackTop)
      stop = sStepMode == 1 || (sStepMode == 2 && link >= sSavedStepStackFrame) ||
             (sStepMode == 3 && link > sSavedStepStackFrame);
  }
  if (!stop && uint32_t(line) < uint32_t(sBreakpointsLen) && sBreakpoints[line])
    stop = true;
  if (stop || !LinkBound())
    StopAtLine(line);
  sInDebuggerEntry = 0;
}

// A breakpoint table of count bytes, all 0; empty for a count that is not
// positive or cannot be allocated.
void AllocateBreakpoints(int32_t count) {
  std::free(sBreakpoints);
  sBreakpoints = nullptr;
  sBreakpointsLen = 0;
  if (count <= 0)
    return;
  sBreakpoints = static_cast<uint8_t *>(std::calloc(size_t(count), 1));
  if (sBreakpoints)
    sBreakpointsLen = count;
}

void SetBreakpoint(const string &argument, uint8_t value, const AlertSite &site) {
  const int32_t line = int32_t(DehexWord(argument));
  if (line < 0 || line >= sBreakpointsLen || !sBreakpoints) {
    ShowAlert(site);
    return;
  }
  sBreakpoints[line] = value;
}

// A step asked for while the program runs has no stop frame to compare
// with: it stops at the next line, as STEP does.
bool StepFrom(int32_t mode) {
  if (sCommandLoopDepth == 0)
    SetStepMode(1, 0);
  else
    SetStepMode(mode, StopFrameLink());
  return true;
}

} // namespace

string Hex8(uint32_t value) { return DebuggerConnection::enhex(&value, 4); }

uint32_t DehexWord(const string &text) {
  uint32_t value = 0;
  DebuggerConnection::dehex(text, &value, 4);
  return value;
}

void SendToDebugger(const string &command, const string &argument) {
  if (LinkBound())
    sDebugClientSocket->SendMessage(command, argument);
}

void DSDelegate::DebuggerConnectionMessage(const string &command, const string &argument) {
  // A getter that raised is on its way to a handler above: no more commands
  // run on this way out.
  if (ExceptionArmedAbove(CURRENT_FRAME()))
    return;
  mResume = DispatchDebuggerCommand(command, argument);
}

void RunDebuggerCommandLoop() {
  void *frame = CURRENT_FRAME();
  DebuggerSuspendThreadDispatcher();
  DebuggerSuspendTimerDispatcher();
  sDebugDelegate.mResume = 0;
  if (!LinkBound()) {
    ShowAlert(kStubLoopAlert);
    QuitDebugging();
  }
  ++sCommandLoopDepth;
  while (!sDebugDelegate.mResume && !ExceptionArmedAbove(frame)) {
    PollDebuggerConnection();
    if (ExceptionArmedAbove(frame))
      break;
    if (!sDebugDelegate.mConnected || !LinkBound() || !sDebugClientSocket->IsOpen())
      QuitDebugging();
  }
  --sCommandLoopDepth;
  // A nested loop (a Break or an exception inside the stub's work) leaves
  // the outer stop in force.
  if (sCommandLoopDepth == 0) {
    DebuggerResumeThreadDispatcher();
    DebuggerResumeTimerDispatcher();
  }
}

bool DispatchDebuggerCommand(const string &command, const string &argument) {
  auto is = [&](const char *name) {
    return ustrcmpi(command.CString(), command.Length(), name, int(strlen(name))) == 0;
  };
  if (is("RUN"))
    return true;
  if (is("STEP")) {
    SetStepMode(1, 0);
    return true;
  }
  if (is("STEPOVER"))
    return StepFrom(2);
  if (is("STEPOUT"))
    return StepFrom(3);
  if (is("QUIT"))
    QuitDebugging();
  if (is("BR"))
    SetBreakpoint(argument, 1, kStubSetBreakpointAlert);
  else if (is("BRC"))
    SetBreakpoint(argument, 0, kStubClearBreakpointAlert);
  else if (is("BRLA"))
    AllocateBreakpoints(int32_t(DehexWord(argument)));
  else
    DispatchInspectionCommand(command, argument);
  return false;
}

int32_t DebugBreakASAP() {
  SetStepMode(1, 0);
  return 1;
}

extern "C" {

void DebugRuntimeInit() {
  gDebugBuild = true;
  RuntimeInit();
}

void RemoteDebuggerStartup(stringStorage *address) { sDebuggerAddress = string::Borrow(address); }

void RuntimeDebuggerEntry(int32_t line) {
  if (sInDebuggerEntry)
    return;
  auto *own = static_cast<FrameRecord *>(__builtin_frame_address(0));
  sStopFrame = own;
  if (!sMayStop && !(uint32_t(line) < uint32_t(sBreakpointsLen) && sBreakpoints[line]))
    return;
  DecideLineStop(line, own);
}

void RuntimeDebuggerBreak() {
  sStopFrame = static_cast<FrameRecord *>(__builtin_frame_address(0))->link;
  if (!LinkBound())
    return;
  SendToDebugger("BREAK", string());
  RunDebuggerCommandLoop();
}

void RuntimeDebuggerShutdown() {
  if (LinkBound()) {
    sDebugClientSocket->Close();
    sDebugClientSocket.Unbind();
  }
  RefreshMayStop();
  RuntimeExit();
}

} // extern "C"
