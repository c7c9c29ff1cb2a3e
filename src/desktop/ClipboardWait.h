// Waits for the clipboard's owner to answer, as GTK+'s own waits do, in a
// nested main loop; but a wait also ends when the owner goes away without
// answering (it quit or lost the clipboard mid-request). GTK+ alone would
// wait half a minute for that answer, and the whole program with it.
#pragma once
#include <gtk/gtk.h>

// The clipboard's text in UTF-8 (free with g_free), or nil when it holds
// none. An owner that goes away mid-request is replaced by the new one,
// which is asked again.
gchar *WaitForClipboardText(GtkClipboard *clipboard);

// Whether the clipboard's owner offers a text target.
bool WaitForClipboardTextTargets(GtkClipboard *clipboard);
