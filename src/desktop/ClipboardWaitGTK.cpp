#include "desktop/ClipboardWait.h"

#include <gdk/gdkx.h>

namespace {

// One request to the owner. A request the wait gave up on is freed by its
// callback, which GTK+ calls when it gives up in turn.
struct ClipboardRequest {
  GMainLoop *loop = nullptr;
  bool answered = false;
  bool abandoned = false;
  gchar *text = nullptr;
  bool offersText = false;
};

// The X window that owns the CLIPBOARD selection, or None.
Window ClipboardOwner() {
  GdkDisplay *display = gdk_display_get_default();
  return XGetSelectionOwner(GDK_DISPLAY_XDISPLAY(display),
                            gdk_x11_atom_to_xatom_for_display(display, GDK_SELECTION_CLIPBOARD));
}

void Answered(ClipboardRequest *request) {
  if (request->abandoned) {
    g_free(request->text);
    delete request;
    return;
  }
  request->answered = true;
  if (request->loop)
    g_main_loop_quit(request->loop);
}

void TextReceived(GtkClipboard *, const gchar *text, gpointer data) {
  auto *request = static_cast<ClipboardRequest *>(data);
  request->text = g_strdup(text);
  Answered(request);
}

void TargetsReceived(GtkClipboard *, GdkAtom *targets, gint count, gpointer data) {
  auto *request = static_cast<ClipboardRequest *>(data);
  request->offersText = targets && gtk_targets_include_text(targets, count);
  Answered(request);
}

// Ends the wait of a request whose owner is no longer the clipboard's.
struct OwnerWatch {
  ClipboardRequest *request;
  Window owner;
  bool ended = false;
};

// How often a wait checks that the owner is still there.
constexpr guint kOwnerCheckMs = 100;

void EndWait(OwnerWatch *watch) {
  if (watch->ended)
    return;
  watch->ended = true;
  g_main_loop_quit(watch->request->loop);
}

// Comparing owner windows misses an owner that quits and is followed by a
// new client in the same server slot, whose window has the same id: the
// request went to the one that quit and is never answered.
gboolean CheckOwner(gpointer data) {
  auto *watch = static_cast<OwnerWatch *>(data);
  if (ClipboardOwner() == watch->owner)
    return TRUE;
  EndWait(watch);
  return FALSE;
}

// The server reports every change of owner (where it has the fixes
// extension), also one to a window with the same id.
void OwnerChanged(GtkClipboard *, GdkEvent *, gpointer data) {
  EndWait(static_cast<OwnerWatch *>(data));
}

// Sends the request to the present owner and waits for the answer. Answers
// the request, or nil when there is no owner or it went away first; a new
// owner is asked again.
// A change of owner reported while the request was on its way (one from
// before it, still queued) only makes the request be sent again.
template <typename Send> ClipboardRequest *Await(GtkClipboard *clipboard, Send send) {
  gdk_display_request_selection_notification(gdk_display_get_default(), GDK_SELECTION_CLIPBOARD);
  for (;;) {
    Window owner = ClipboardOwner();
    if (owner == None)
      return nullptr;
    auto *request = new ClipboardRequest;
    send(request);
    if (request->answered) // an owner in this process answers at once
      return request;
    request->loop = g_main_loop_new(nullptr, TRUE);
    OwnerWatch watch{request, owner};
    guint source = g_timeout_add(kOwnerCheckMs, CheckOwner, &watch);
    gulong changes = g_signal_connect(clipboard, "owner-change", G_CALLBACK(OwnerChanged), &watch);
    // As GTK+'s own waits do: the loop runs outside the toolkit's lock.
    GDK_THREADS_LEAVE();
    g_main_loop_run(request->loop);
    GDK_THREADS_ENTER();
    g_signal_handler_disconnect(clipboard, changes);
    if (g_main_context_find_source_by_id(nullptr, source))
      g_source_remove(source);
    g_main_loop_unref(request->loop);
    request->loop = nullptr;
    if (request->answered)
      return request;
    request->abandoned = true;
  }
}

} // namespace

gchar *WaitForClipboardText(GtkClipboard *clipboard) {
  ClipboardRequest *request = Await(clipboard, [clipboard](ClipboardRequest *r) {
    gtk_clipboard_request_text(clipboard, TextReceived, r);
  });
  if (!request)
    return nullptr;
  gchar *text = request->text;
  delete request;
  return text;
}

bool WaitForClipboardTextTargets(GtkClipboard *clipboard) {
  ClipboardRequest *request = Await(clipboard, [clipboard](ClipboardRequest *r) {
    gtk_clipboard_request_targets(clipboard, TargetsReceived, r);
  });
  if (!request)
    return false;
  bool offersText = request->offersText;
  delete request;
  return offersText;
}
