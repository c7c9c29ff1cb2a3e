// The stub's shared state and its inner operations, used by the control
// commands (DebuggerSupport.cpp) and the inspection commands and monitors
// (DebuggerMemoryCommands.cpp).
#pragma once
#include <cstdint>

#include "debugger/DebuggerConnection.h"

inline constexpr char kStubAlertSource[] = "Common/DebuggerSupport";
inline constexpr AlertSite kStubConnectAlert{kStubAlertSource, 1368, "sDebugClientSocket"};
inline constexpr AlertSite kStubLoopAlert{kStubAlertSource, 1329, "sDebugClientSocket"};
inline constexpr AlertSite kStubSetBreakpointAlert{
    kStubAlertSource, 244, "breakline >= 0 && breakline < sBreakpointsLen"};
inline constexpr AlertSite kStubClearBreakpointAlert{
    kStubAlertSource, 259, "breakline >= 0 && breakline < sBreakpointsLen"};
// The code and number of the alert shown when no debugger answers in time.
inline constexpr uint16_t kNoDebuggerAlertCode = 132;
inline constexpr uint16_t kNoDebuggerAlertNumber = 7;
// How long the first stop waits for the link to open.
inline constexpr int32_t kConnectTicks = 300;

// The debuggee's one delegate on the link.
class DSDelegate : public DebuggerConnectionDelegate {
public:
  void DebuggerConnectionMessage(const string &command, const string &argument) override;
  void DebuggerConnectionOpened() override { mConnected = 1; }
  void DebuggerConnectionClosed() override { mConnected = 0; }

  uint8_t mResume = 0;    // the last command asked the stopped program to go on
  uint8_t mConnected = 0; // the link is open
};

// Where the program last stopped: a frame record (its caller's record, then
// the return address into its caller). Stack crawls start here.
extern void *sStopFrame;
// The base of the image's data section, recorded at the first stop.
extern void *sTargetGlobalDataAddr;

// Sends the two-part line when the link is bound; nothing otherwise.
void SendToDebugger(const string &command, const string &argument);
// Holds the program until a command resumes it; ends the process when the
// link is lost; leaves at once while an exception is on its way above it.
void RunDebuggerCommandLoop();
// Runs one command line; true when it resumes a stopped program.
bool DispatchDebuggerCommand(const string &command, const string &argument);
// The inspection commands (DebuggerMemoryCommands.cpp); false when the command
// is none of them.
bool DispatchInspectionCommand(const string &command, const string &argument);
// Installs the object, exception and array monitors.
void InstallDebuggerMonitors();

// Fixed-width hexadecimal of 4 bytes, and an argument read into 4 bytes.
string Hex8(uint32_t value);
uint32_t DehexWord(const string &text);
