// Shared pieces of the window tests: a private X server per test process (so
// that pointer and focus of one test never reach another), a run-loop step
// as the run loop takes it, and panes that record what reaches them.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "windows/SubPane.h"
#include "windows/Window.h"

struct ObjectDefinition;

// True once GTK+ runs on the test process's own X server.
bool HaveDisplay();

// One run-loop step of the pane layer: report window changes and show new
// windows, hand GTK+ what is pending, then tell the capture pane where the
// pointer is.
void PaneLoopStep();
// Steps until done answers true; false when it never does within the bound
// (the steps given and at least half a minute).
bool StepUntil(const std::function<bool()> &done, int maxSteps = 200);

// Steps until done answers true or the seconds pass.
bool StepWithin(const std::function<bool()> &done, int seconds);

// Runs xdotool with the arguments; true when it succeeded.
bool XDoTool(const std::string &args);
// Sends the input with xdotool and steps until done answers true; an input
// whose effect does not show within a while (it was lost on a loaded
// machine, or reached a window not ready for it) is sent again, a few
// times. For input whose effects are counted, done should answer true once
// any of them shows, so that a late input is not sent twice.
bool XDoToolUntil(const std::string &args, const std::function<bool()> &done);
unsigned long XidOf(Window *w);

// Everything recording panes and windows were told, in order.
std::vector<std::string> &Log();

QV::Rect MakeRect(int left, int top, int right, int bottom);

// Gives the window an empty menu bar of that height above its content.
void AddMenuBar(Window *w, int height);

// Gives a test class a handler for an event of one of its superclasses, as
// a built-in class supplies one.
void HandleInClass(ObjectDefinition &defn, const char *event, void *code);

// A pane that records its calls and answers clicks as told.
class RecordingPane : public ContainerPane {
public:
  RecordingPane(SubPane *parent, const char *name, const QV::Rect &bounds, int tab = 0,
                bool takesClicks = false);
  ~RecordingPane() override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  bool HandleMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void OnSize() override;
  void ResetRadio() override;
  void HandleMouseEnter() override;
  void HandleMouseExit() override;
  void EstablishDrawingSurface() override;
  void EstablishFont() override;
  void ResetDrawingSurface() override;
  std::string name;
  bool takesClicks;
  bool captureOnClick = false;
};

// A window whose notifications are recorded.
class RecordingWindow : public Window {
public:
  RecordingWindow(const QV::Rect &bounds, bool resizable = true);
  void Moved() override;
  void Resized() override;
  void RestrictSize(QV::Rect *limits) override;
  QV::Rect limits{0, 0, 0, 0};
  int moved = 0;
  int resized = 0;
};
