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

gboolean CheckOwner(gpointer data) {
  auto *watch = static_cast<OwnerWatch *>(data);
  if (ClipboardOwner() == watch->owner)
    return TRUE;
  watch->ended = true;
  g_main_loop_quit(watch->request->loop);
  return FALSE;
}

// Sends the request to the present owner and waits for the answer. Answers
// the request, or nil when there is no owner or it went away first; a new
// owner is asked again.
template <typename Send> ClipboardRequest *Await(Send send) {
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
    // As GTK+'s own waits do: the loop runs outside the toolkit's lock.
    GDK_THREADS_LEAVE();
    g_main_loop_run(request->loop);
    GDK_THREADS_ENTER();
    if (!watch.ended)
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
  ClipboardRequest *request = Await([clipboard](ClipboardRequest *r) {
    gtk_clipboard_request_text(clipboard, TextReceived, r);
  });
  if (!request)
    return nullptr;
  gchar *text = request->text;
  delete request;
  return text;
}

bool WaitForClipboardTextTargets(GtkClipboard *clipboard) {
  ClipboardRequest *request = Await([clipboard](ClipboardRequest *r) {
    gtk_clipboard_request_targets(clipboard, TargetsReceived, r);
  });
  if (!request)
    return false;
  bool offersText = request->offersText;
  delete request;
  return offersText;
}
