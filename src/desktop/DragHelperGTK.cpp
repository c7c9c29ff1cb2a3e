#include "desktop/DragHelperGTK.h"

#include <cstring>
#include <memory>

#include "desktop/DragItem.h"
#include "foundation/TextEncodings.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/RuntimeObject.h"
#include "windows/GTKHelper.h"
#include "windows/SubPane.h"
#include "windows/Window.h"

namespace {

// The drag's state, one set for the process. The window and the recipient
// are watched, so a handler that runs inside the drag loop and closes them
// leaves nil here rather than a dangling pane.
bool sDragInProgress = false;
RuntimeObject *sDragObject = nullptr; // held while a drag or delivery runs
std::unique_ptr<SubPaneWatcher> sLastTargetWindow;
std::unique_ptr<SubPaneWatcher> sLastDropRecipient;
QV::Point sInitialPt{0, 0};

Window *LastTargetWindow() {
  return sLastTargetWindow ? static_cast<Window *>(sLastTargetWindow->pane()) : nullptr;
}
SubPane *LastDropRecipient() { return sLastDropRecipient ? sLastDropRecipient->pane() : nullptr; }
void SetLastTargetWindow(Window *w) { sLastTargetWindow.reset(w ? new SubPaneWatcher(w) : nullptr); }
void SetLastDropRecipient(SubPane *p) {
  sLastDropRecipient.reset(p ? new SubPaneWatcher(p) : nullptr);
}

GdkWindow *TopLevelOf(Window *w) {
  GtkWidget *widget = w->GetGtkWindow();
  return widget ? widget->window : nullptr;
}

// The program's window whose top-level GDK window holds the GDK window, or
// nil for none.
Window *ProgramWindowAt(GdkWindow *gdkWindow) {
  if (!gdkWindow)
    return nullptr;
  GdkWindow *top = gdk_window_get_toplevel(gdkWindow);
  for (Window *w = gWindowList; w; w = w->NextWindow())
    if (TopLevelOf(w) == top)
      return w;
  return nullptr;
}

void SetHighlight(SubPane *p, bool on) {
  if (GtkWidget *widget = p ? p->GetWidget() : nullptr)
    on ? gtk_drag_highlight(widget) : gtk_drag_unhighlight(widget);
}

// Places the four edges of one outline around the bounds.
void PlaceOutline(GtkWidget *fixed, const DragOutline &o, const QV::Rect &r, bool put) {
  const int left = r.left, top = r.top, width = r.right - r.left, height = r.bottom - r.top;
  const int x[4] = {left, left, left + width, left};
  const int y[4] = {top, top, top, top + height};
  const int w[4] = {1, width, 1, width};
  const int h[4] = {height, 1, height, 1};
  for (int side = 0; side < 4; ++side) {
    if (put)
      gtk_fixed_put(GTK_FIXED(fixed), o.edges[side], x[side], y[side]);
    else
      gtk_fixed_move(GTK_FIXED(fixed), o.edges[side], x[side], y[side]);
    gtk_widget_set_size_request(o.edges[side], w[side] > 0 ? w[side] : 0, h[side] > 0 ? h[side] : 0);
  }
}

void ShowOutline(const DragOutline &o, bool show) {
  for (GtkWidget *edge : o.edges)
    show ? gtk_widget_show(edge) : gtk_widget_hide(edge);
}

void BuildOutlines(DragItemObject *item, GdkWindow *pressWindow) {
  for (Window *w = gWindowList; w; w = w->NextWindow()) {
    GtkWidget *fixed = w->GetFixed();
    if (!fixed)
      continue;
    const bool visible = TopLevelOf(w) && TopLevelOf(w) == pressWindow;
    ForEachDragBounds(item, [&](QV::Rect &bounds) {
      DragOutline o{};
      for (int side = 0; side < 4; ++side) {
        // Held by us too: closing the window destroys the edges with it,
        // and Destroy must still be able to let go of them.
        o.edges[side] = GTK_WIDGET(g_object_ref_sink(gtk_drawing_area_new()));
        g_signal_connect(o.edges[side], "expose-event", G_CALLBACK(DragIndicatorExposeCallBack),
                         GINT_TO_POINTER(side));
      }
      w->GetDragIndicator().Outlines().push_back(o);
      PlaceOutline(fixed, o, bounds, true);
      if (visible)
        ShowOutline(o, true);
    });
  }
}

void DestroyOutlines() {
  for (Window *w = gWindowList; w; w = w->NextWindow())
    w->GetDragIndicator().Destroy();
}

// Moves the target window's outlines, and the item's bounds with them, by the
// pointer's displacement; hides the outlines of every other window.
void MoveOutlines(Window *target, QV::Point p) {
  auto *item = AsDragItem(sDragObject);
  for (Window *w = gWindowList; w; w = w->NextWindow()) {
    SimpleVector<DragOutline> &outlines = w->GetDragIndicator().Outlines();
    if (w != target) {
      for (const DragOutline &o : outlines)
        if (GTK_WIDGET_VISIBLE(o.edges[0]))
          ShowOutline(o, false);
      continue;
    }
    if (p.v == sInitialPt.v && p.h == sInitialPt.h)
      continue;
    const int16_t dh = int16_t(p.h - sInitialPt.h), dv = int16_t(p.v - sInitialPt.v);
    int32_t i = 0;
    ForEachDragBounds(item, [&](QV::Rect &bounds) {
      if (i >= outlines.count())
        return;
      const DragOutline &o = outlines[i++];
      QV::OffsetRect(&bounds, dh, dv);
      PlaceOutline(w->GetFixed(), o, bounds, false);
      if (!GTK_WIDGET_VISIBLE(o.edges[0]))
        ShowOutline(o, true);
    });
    sInitialPt = p;
  }
}

// The drag ends on a release that a program window sees, or once the pointer
// shows no button held (a release over another client's window).
bool ButtonStillHeld() {
  gint x, y;
  GdkModifierType mask = GdkModifierType(0);
  gdk_window_get_pointer(gdk_get_default_root_window(), &x, &y, &mask);
  return (mask & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK)) != 0;
}

gboolean WakeUp(gpointer) { return TRUE; }

// Hands the item to the pane, which is held while its handler runs.
void Deliver(SubPane *recipient, RuntimeObject *item, int32_t x, int32_t y) {
  AsDragItem(item)->currentItem = 0;
  RuntimeObject *previous = sDragObject;
  sDragObject = item;
  recipient->Protect();
  recipient->DropObject(x, y);
  recipient->UnprotectCausesDeath();
  sDragObject = previous;
}

} // namespace

DragDropIndicator::~DragDropIndicator() { Destroy(); }

void DragDropIndicator::Destroy() {
  for (const DragOutline &o : mOutlines)
    for (GtkWidget *edge : o.edges)
      if (edge) {
        gtk_widget_destroy(edge);
        g_object_unref(edge);
      }
  mOutlines.resize(0);
}

gboolean DragIndicatorExposeCallBack(GtkWidget *widget, GdkEventExpose *, gpointer side) {
  if (!widget->window)
    return FALSE;
  GdkGC *gc = gdk_gc_new(widget->window);
  const gint w = widget->allocation.width, h = widget->allocation.height;
  switch (GPOINTER_TO_INT(side)) {
  case 0:
    gdk_draw_line(widget->window, gc, 0, 0, 0, h);
    break;
  case 1:
    gdk_draw_line(widget->window, gc, 0, 0, w, 0);
    break;
  case 2:
    gdk_draw_line(widget->window, gc, w - 1, 0, w - 1, h);
    break;
  default:
    gdk_draw_line(widget->window, gc, 0, h - 1, w - 1, h - 1);
    break;
  }
  g_object_unref(gc);
  return FALSE;
}

namespace GTKDragHelper {

RuntimeObject *GetCurrentDragObject() { return sDragObject; }
bool IsDragInProgress() { return sDragInProgress; }
void StopDragProgress() { sDragInProgress = false; }

void UpdateDragProgress() {
  if (!sDragObject)
    return;
  gint wx, wy;
  GdkWindow *under = gdk_window_at_pointer(&wx, &wy);
  Window *w = ProgramWindowAt(under);
  // Over a window GDK knows but that is none of the program's, the target
  // stays the last one and no recipient changes.
  Window *target = !under ? nullptr : w ? w : LastTargetWindow();
  QV::Point p = sInitialPt;
  if (w) {
    p = GTKHelper::GetCursorPos(w);
    if (w != LastTargetWindow()) {
      if (!LastTargetWindow())
        sInitialPt = p; // the outlines do not jump on entering the first window
      SetLastTargetWindow(w);
    }
    SubPane *recipient = w->FindDropRecipient(p.h, p.v, sDragObject);
    SubPane *last = LastDropRecipient();
    if (recipient && recipient != last) {
      if (last) {
        SetHighlight(last, false);
        last->HandleDragLeave();
      }
      SetLastDropRecipient(recipient);
      SetHighlight(recipient, true);
      recipient->HandleDragEnter();
    } else if (!recipient && last) {
      SetHighlight(last, false);
      last->HandleDragLeave();
      SetLastDropRecipient(nullptr);
    }
    // The handlers may have closed the window or the recipient.
    if (recipient && LastDropRecipient() == recipient)
      recipient->HandleDragOver(p.h - recipient->Bounds().left, p.v - recipient->Bounds().top);
    if (!sDragObject || LastTargetWindow() != w)
      return;
  }
  MoveOutlines(target, p);
}

void PerformDrag(RuntimeObject *dragItem) {
  if (!dragItem || sDragInProgress)
    return;
  GdkEvent *event = gtk_get_current_event();
  if (!event)
    return;
  if (event->type != GDK_BUTTON_PRESS) {
    gdk_event_free(event);
    return;
  }
  GdkWindow *pressWindow = event->button.window ? gdk_window_get_toplevel(event->button.window) : nullptr;
  RuntimeLockObject(dragItem); // held for the whole drag
  BuildOutlines(AsDragItem(dragItem), pressWindow);
  sDragInProgress = true;
  SetLastTargetWindow(nullptr);
  sDragObject = dragItem;
  SetLastDropRecipient(nullptr);
  UpdateDragProgress();

  // Block for events, waking at least every 50 ms to see whether the button
  // was let go where no window of ours saw it.
  const guint wakeUp = g_timeout_add(50, WakeUp, nullptr);
  while (sDragInProgress) {
    gtk_main_iteration_do(TRUE);
    if (sDragInProgress && !ButtonStillHeld())
      sDragInProgress = false;
  }
  g_source_remove(wakeUp);
  DestroyOutlines();

  gint wx, wy;
  if (GdkWindow *under = gdk_window_at_pointer(&wx, &wy)) {
    if (Window *w = ProgramWindowAt(under))
      SetLastTargetWindow(w);
  } else {
    SetLastTargetWindow(nullptr);
  }
  if (Window *target = LastTargetWindow()) {
    QV::Point p = GTKHelper::GetCursorPos(target);
    SubPane *last = LastDropRecipient();
    SetHighlight(last, false);
    if (SubPane *recipient = target->FindDropRecipient(p.h, p.v, dragItem)) {
      SetHighlight(recipient, false);
      Deliver(recipient, dragItem, p.h, p.v);
    }
  }
  sDragObject = nullptr;
  RuntimeUnlockObject(dragItem);
  gdk_event_free(event);
}

RuntimeObject *DragItemFromSelection(const guchar *bytes, gint length, guint info,
                                     GtkSelectionData *data) {
  if (info == 0) {
    string text;
    text.ConstructFromBuffer(reinterpret_cast<const char *>(bytes), length > 0 ? length : 0,
                             kEncodingUTF8);
    RuntimeObject *item = CreateNewDragItem(0, 0, 0, 0);
    if (!item)
      return nullptr;
    if (length >= 7 && g_ascii_strncasecmp(reinterpret_cast<const char *>(bytes), "file://", 7) == 0) {
      // Each line is a URI; the last needs no line end. Lines that are not
      // file URIs of this machine are skipped, the others percent-decoded.
      gchar *copy = g_strndup(reinterpret_cast<const char *>(bytes), gsize(length));
      gchar **uris = g_uri_list_extract_uris(copy);
      int32_t files = 0;
      for (gchar **uri = uris; uri && *uri; ++uri) {
        gchar *host = nullptr;
        gchar *path = g_filename_from_uri(*uri, &host, nullptr);
        const bool local = !host || g_ascii_strcasecmp(host, "localhost") == 0;
        g_free(host);
        if (!path || !local || !*path) {
          g_free(path);
          continue;
        }
        RuntimeObject *folder = NewFolderItemForPath(path);
        g_free(path);
        if (!folder)
          continue;
        if (files++ > 0)
          DragItemAddItem(item, 0, 0, 0, 0);
        dragItemFolderItemSetter(item, 0, folder);
        RuntimeUnlockObject(folder);
      }
      g_strfreev(uris);
      g_free(copy);
    } else {
      dragItemTextSetter(item, 0, text.Storage());
    }
    AsDragItem(item)->currentItem = 0;
    return item;
  }
  if (info == 1 || info == 2) {
    // Text in whatever form the target came in ("STRING" is Latin-1),
    // converted to UTF-8.
    guchar *utf8 = data ? gtk_selection_data_get_text(data) : nullptr;
    string text;
    if (utf8)
      text.ConstructFromBuffer(reinterpret_cast<const char *>(utf8),
                               int(strlen(reinterpret_cast<const char *>(utf8))), kEncodingUTF8);
    else if (bytes && length > 0 &&
             g_utf8_validate(reinterpret_cast<const char *>(bytes), length, nullptr))
      text.ConstructFromBuffer(reinterpret_cast<const char *>(bytes), length, kEncodingUTF8);
    g_free(utf8);
    RuntimeObject *item = CreateNewDragItem(0, 0, 0, 0);
    if (item)
      dragItemTextSetter(item, 0, text.Storage());
    return item;
  }
  return nullptr;
}

void DragDataReceivedCallBack(GtkWidget *, GdkDragContext *context, gint x, gint y,
                              GtkSelectionData *data, guint info, guint time, SubPane *pane) {
  if (info > 2 || !data)
    return;
  if (info != 0 && sDragObject) {
    AsDragItem(sDragObject)->currentItem = 0; // an internal drag delivers itself
  } else if (RuntimeObject *item = DragItemFromSelection(data->data, data->length, info, data)) {
    Deliver(pane, item, x, y);
    RuntimeUnlockObject(item);
  }
  gtk_drag_finish(context, TRUE, FALSE, time);
}

namespace {

void RegisterPane(SubPane *p, const GtkTargetEntry *targets, gint count) {
  GtkWidget *widget = p ? p->GetWidget() : nullptr;
  if (!widget)
    return;
  gtk_drag_dest_set(widget, GTK_DEST_DEFAULT_ALL, targets, count,
                    GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE));
  g_signal_connect(widget, "drag-data-received", G_CALLBACK(DragDataReceivedCallBack), p);
}

} // namespace

void RegisterPaneForFileDrop(SubPane *p) {
  static const GtkTargetEntry targets[] = {{const_cast<gchar *>("text/uri-list"), 0, 0}};
  RegisterPane(p, targets, 1);
}

void RegisterPaneForTextDrop(SubPane *p) {
  static const GtkTargetEntry targets[] = {{const_cast<gchar *>("text/plain"), 0, 1},
                                           {const_cast<gchar *>("STRING"), 0, 2}};
  RegisterPane(p, targets, 2);
}

} // namespace GTKDragHelper

extern "C" void DragItemDrag(RuntimeObject *item) { GTKDragHelper::PerformDrag(item); }
