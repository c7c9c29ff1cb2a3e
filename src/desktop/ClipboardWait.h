// Waits for the clipboard's owner to answer, as GTK+'s own waits do, in a
// nested main loop; but a wait also ends when the owner goes away without
// answering (it quit or lost the clipboard mid-request). GTK+ alone would
// wait half a minute for that answer, and the whole program with it.
#pragma once
#include <gtk/gtk.h>

// The clipboard's text in UTF-8 (free with g_free), every byte the owner gave
// (zero bytes too), its length in *length. Nil when no text could be read:
// there is no owner, it went away, it refused every text target, or its
// UTF8_STRING is not UTF-8. An empty text is an empty string, not nil. An
// owner that goes away mid-request is replaced by the new one, which is
// asked again.
gchar *WaitForClipboardText(GtkClipboard *clipboard, gsize *length);

// Whether the clipboard's owner offers a text target. An owner whose text
// could not be read (see above) offers none until the clipboard changes.
bool WaitForClipboardTextTargets(GtkClipboard *clipboard);
