// The internal drag (outlines follow the pointer through the program's
// windows, the pane under it is highlighted and receives the drop) and drops
// from other X clients (file URI lists and text).
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "foundation/QVGeometry.h"
#include "windows/DesktopServices.h"

struct RuntimeObject;

namespace GTKDragHelper {
// Runs the drag of the item from inside a button-press handler until the
// button is released, then drops it on the pane under the pointer.
void PerformDrag(RuntimeObject *dragItem);
// The "drag-data-received" handler of panes registered as drop targets.
void DragDataReceivedCallBack(GtkWidget *widget, GdkDragContext *context, gint x, gint y,
                              GtkSelectionData *data, guint info, guint time, SubPane *pane);
// Turns dropped data into a DragItem (one reference), or nil for info other
// than 0 (URI list), 1 and 2 (text).
RuntimeObject *DragItemFromSelection(const guchar *bytes, gint length, guint info,
                                     GtkSelectionData *data);
} // namespace GTKDragHelper

// Draws one edge of an outline ("expose-event"; the side in data).
gboolean DragIndicatorExposeCallBack(GtkWidget *widget, GdkEventExpose *e, gpointer side);
