// What the window layer uses of the desktop services: drag items, the drag
// service's pane side, the drop outlines, movies and the screen records. The desktop
// area supplies them.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/SimpleVector.h"

typedef struct _GtkWidget GtkWidget;

class SubPane;
class Window;
struct ObjectDefinition;
struct RuntimeObject;

// The DragItem class, and the NewDragItem methods of Window and RectControl:
// a new DragItem (one reference) of one item with those bounds.
ObjectDefinition *DragItemClass();
extern "C" RuntimeObject *formNewDragItem(RuntimeObject *window, int32_t left, int32_t top,
                                          int32_t width, int32_t height);
extern "C" RuntimeObject *controlNewDragItem(RuntimeObject *control, int32_t left, int32_t top,
                                             int32_t width, int32_t height);

namespace GTKDragHelper {
RuntimeObject *GetCurrentDragObject(); // the drag item being dropped, or nil
bool IsDragInProgress();
void StopDragProgress();
void UpdateDragProgress();
void RegisterPaneForTextDrop(SubPane *p);
void RegisterPaneForFileDrop(SubPane *p);
} // namespace GTKDragHelper

// The outlines of the dragged items in one window: per item, the four edge
// widgets (left, top, right, bottom) in the window's GtkFixed.
struct DragOutline {
  GtkWidget *edges[4];
};

class DragDropIndicator {
public:
  DragDropIndicator() = default;
  ~DragDropIndicator();
  DragDropIndicator(const DragDropIndicator &) = delete;
  DragDropIndicator &operator=(const DragDropIndicator &) = delete;
  // Destroys every edge widget and leaves no outline.
  void Destroy();
  SimpleVector<DragOutline> &Outlines() { return mOutlines; }

private:
  SimpleVector<DragOutline> mOutlines;
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
