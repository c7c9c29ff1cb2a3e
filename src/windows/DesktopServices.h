// What the window layer uses of the desktop services: the drag service's
// pane side, the drop highlight, movies and the screen records. The desktop
// area supplies them; until then DesktopServicesPending.cpp answers for them.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"

class SubPane;
class Window;
struct RuntimeObject;

namespace GTKDragHelper {
RuntimeObject *GetCurrentDragObject(); // the drag item being dropped, or nil
bool IsDragInProgress();
void StopDragProgress();
void UpdateDragProgress();
void RegisterPaneForTextDrop(SubPane *p);
void RegisterPaneForFileDrop(SubPane *p);
} // namespace GTKDragHelper

// A window's drop highlight.
class DragDropIndicator {
public:
  DragDropIndicator() = default;
  ~DragDropIndicator();
  DragDropIndicator(const DragDropIndicator &) = delete;
  DragDropIndicator &operator=(const DragDropIndicator &) = delete;
  void Destroy();

private:
  void *mBuffer = nullptr;
  int32_t mFields[4] = {};
};

void KillMovie(SubPane *p);
void KillWindowMovies(Window *w);

// One screen record: its rectangle and the rectangle free for windows.
struct ScreenRect {
  int32_t left, top, width, height;
  int32_t availLeft, availTop, availWidth, availHeight;
};
int32_t ScreenCount();
// Screen i's record; false when there is no such screen.
bool GetScreenRect(int32_t i, ScreenRect *screen);
// The colour depth of screen 0; false without a screen.
bool GetScreenDepth(int32_t *depth);
