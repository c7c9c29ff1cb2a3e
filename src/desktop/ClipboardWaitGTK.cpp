#include "desktop/ClipboardWait.h"

#include <cstring>
#include <iterator>

#include <gdk/gdkx.h>

namespace {

// One request to the owner. A request the wait gave up on is freed by its
// callback, which GTK+ calls when it gives up in turn.
struct ClipboardRequest {
  GMainLoop *loop = nullptr;
  bool answered = false;
  bool abandoned = false;
  gchar *text = nullptr;
  gsize length = 0;
  bool offersText = false;
  // The text targets asked for in turn, as GTK+ asks them; the index of the
  // one asked last.
  size_t target = 0;
};

const char *const kTextTargets[] = {"UTF8_STRING", "COMPOUND_TEXT", "STRING"};

// The X window that owns the CLIPBOARD selection, or None.
Window ClipboardOwner() {
  GdkDisplay *display = gdk_display_get_default();
  return XGetSelectionOwner(GDK_DISPLAY_XDISPLAY(display),
                            gdk_x11_atom_to_xatom_for_display(display, GDK_SELECTION_CLIPBOARD));
}

// The X server's present time, read through a property change on a window
// of our own that nobody sees.
guint32 ServerTime() {
  static GdkWindow *window = nullptr;
  if (!window) {
    GdkWindowAttr attributes{};
    attributes.window_type = GDK_WINDOW_TEMP;
    attributes.wclass = GDK_INPUT_ONLY;
    attributes.x = attributes.y = -100;
    attributes.width = attributes.height = 1;
    attributes.event_mask = GDK_PROPERTY_CHANGE_MASK;
    window = gdk_window_new(nullptr, &attributes, GDK_WA_X | GDK_WA_Y);
  }
  return gdk_x11_get_server_time(window);
}

// Whether a server time is the same as or later than another (the server's
// clock wraps round every 49 days).
bool NotBefore(guint32 time, guint32 reference) { return gint32(time - reference) >= 0; }

// The server time of the latest change of owner the server reported.
bool sOwnerChangeSeen = false;
guint32 sLastOwnerChange = 0;

void NoteOwnerChange(GtkClipboard *, GdkEvent *event, gpointer) {
  if (!sOwnerChangeSeen || NotBefore(event->owner_change.time, sLastOwnerChange))
    sLastOwnerChange = event->owner_change.time;
  sOwnerChangeSeen = true;
}

void WatchOwnerChanges(GtkClipboard *clipboard) {
  static bool watching = false;
  if (watching)
    return;
  watching = true;
  gdk_display_request_selection_notification(gdk_display_get_default(), GDK_SELECTION_CLIPBOARD);
  g_signal_connect(clipboard, "owner-change", G_CALLBACK(NoteOwnerChange), nullptr);
}

// The owner whose text could not be read, and when it was asked: until the
// clipboard changes, it offers no text this program can take.
Window sUnreadableOwner = None;
guint32 sUnreadableSince = 0;

bool OwnerKnownUnreadable(Window owner) {
  if (sUnreadableOwner == None || owner != sUnreadableOwner)
    return false;
  return !(sOwnerChangeSeen && NotBefore(sLastOwnerChange, sUnreadableSince));
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

// UTF-8 whose characters may include U+0000 (GLib's check stops at a zero
// byte), so each stretch between zero bytes is checked.
bool IsUTF8(const guchar *bytes, gsize length) {
  const char *text = reinterpret_cast<const char *>(bytes);
  const char *end = text + length;
  while (text < end) {
    const char *zero = static_cast<const char *>(memchr(text, 0, size_t(end - text)));
    const char *stretchEnd = zero ? zero : end;
    if (!g_utf8_validate(text, stretchEnd - text, nullptr))
      return false;
    text = zero ? zero + 1 : end;
  }
  return true;
}

void RequestText(GtkClipboard *clipboard, ClipboardRequest *request);

// UTF8_STRING is taken as it came, with its length; a text that is not UTF-8
// is no text (and no other target is asked: its bytes would only come back
// as something else). The older targets are converted by GTK+. A target the
// owner refuses makes the next one be asked.
void TextContentsReceived(GtkClipboard *clipboard, GtkSelectionData *data, gpointer pointer) {
  auto *request = static_cast<ClipboardRequest *>(pointer);
  if (!request->abandoned && data && data->length >= 0) {
    if (data->type == gdk_atom_intern_static_string("UTF8_STRING")) {
      if (IsUTF8(data->data, gsize(data->length))) {
        request->length = gsize(data->length);
        request->text = static_cast<gchar *>(g_malloc(request->length + 1));
        if (request->length)
          memcpy(request->text, data->data, request->length);
        request->text[request->length] = '\0';
      }
      Answered(request);
      return;
    }
    if (guchar *converted = gtk_selection_data_get_text(data)) {
      request->text = reinterpret_cast<gchar *>(converted);
      request->length = strlen(request->text);
      Answered(request);
      return;
    }
  }
  if (!request->abandoned && ++request->target < std::size(kTextTargets)) {
    RequestText(clipboard, request);
    return;
  }
  Answered(request);
}

void RequestText(GtkClipboard *clipboard, ClipboardRequest *request) {
  gtk_clipboard_request_contents(clipboard, gdk_atom_intern_static_string(kTextTargets[request->target]),
                                 TextContentsReceived, request);
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
  // When the request went out.
  guint32 asked;
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
// extension), also one to a window with the same id. A report of a change
// made before the request went out (still queued when it was sent) is no
// change of the owner asked: asking that owner again would send it a second
// request while it may still be sending the first answer in pieces, which
// can stall both.
void OwnerChanged(GtkClipboard *, GdkEvent *event, gpointer data) {
  auto *watch = static_cast<OwnerWatch *>(data);
  if (NotBefore(event->owner_change.time, watch->asked))
    EndWait(watch);
}

// Sends the request to the present owner and waits for the answer. Answers
// the request, or nil when there is no owner or it went away first; a new
// owner is asked again. *asked tells which owner answered, and when.
template <typename Send>
ClipboardRequest *Await(GtkClipboard *clipboard, Send send, Window *askedOwner = nullptr,
                        guint32 *askedAt = nullptr) {
  WatchOwnerChanges(clipboard);
  for (;;) {
    Window owner = ClipboardOwner();
    if (owner == None)
      return nullptr;
    const guint32 asked = ServerTime();
    if (askedOwner)
      *askedOwner = owner;
    if (askedAt)
      *askedAt = asked;
    auto *request = new ClipboardRequest;
    send(request);
    if (request->answered) // an owner in this process answers at once
      return request;
    request->loop = g_main_loop_new(nullptr, TRUE);
    OwnerWatch watch{request, owner, asked};
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

gchar *WaitForClipboardText(GtkClipboard *clipboard, gsize *length) {
  Window owner = None;
  guint32 asked = 0;
  ClipboardRequest *request = Await(
      clipboard, [clipboard](ClipboardRequest *r) { RequestText(clipboard, r); }, &owner, &asked);
  *length = 0;
  if (!request)
    return nullptr;
  gchar *text = request->text;
  *length = request->length;
  delete request;
  if (!text) {
    sUnreadableOwner = owner;
    sUnreadableSince = asked;
  }
  return text;
}

bool WaitForClipboardTextTargets(GtkClipboard *clipboard) {
  WatchOwnerChanges(clipboard);
  if (OwnerKnownUnreadable(ClipboardOwner()))
    return false;
  ClipboardRequest *request = Await(clipboard, [clipboard](ClipboardRequest *r) {
    gtk_clipboard_request_targets(clipboard, TargetsReceived, r);
  });
  if (!request)
    return false;
  bool offersText = request->offersText;
  delete request;
  return offersText;
}
