// What the pane layer uses of the run loop: the keyboard-focus and
// mouse-capture registers, the front layer, the modal loop and the shutdown
// flag. The run loop owns them; until it lands, the bodies in
// RunLoopRegistersPending.cpp keep plain registers.
#pragma once
#include <cstdint>

class SubPane;

SubPane *GetFocusPane();
// Makes p the focus pane: the old one hears LostFocus, p GainedFocus.
void SetFocusPane(SubPane *p);
SubPane *GetCaptureMouse();
void CaptureMouse(SubPane *p);
void ReleaseMouse();
int32_t GetForeLayer();
void ModalEvents();
bool IsAppShuttingDown();
void UpdateMouseCursor();

struct MouseCursor;
// True when the application object has a MouseCursor object; its record
// (which may be nil) then goes to *record.
bool ApplicationMouseCursor(MouseCursor **record);
