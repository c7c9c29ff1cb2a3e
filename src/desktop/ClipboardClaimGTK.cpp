#include "desktop/ClipboardClaim.h"

#include <gtk/gtk.h>

#include <gdk/gdkx.h>

namespace {

// A widget of our own that no one sees: a stand-in event for it carries the
// server's present time, and its handler makes the claim again while GTK+
// takes that event as the one being handled.
struct StandIn {
  GtkWidget *widget = nullptr;
  // The event sent, and the claim to make when it arrives; the server's own
  // property notifications to the widget find no claim waiting.
  GdkEvent *event = nullptr;
  const std::function<bool()> *claim = nullptr;
  bool taken = false;
};

StandIn sStandIn;

gboolean StandInEvent(GtkWidget *, GdkEventProperty *event, gpointer) {
  if (!sStandIn.claim || reinterpret_cast<GdkEvent *>(event) != sStandIn.event)
    return FALSE;
  sStandIn.taken = (*sStandIn.claim)();
  return TRUE;
}

GtkWidget *StandInWidget() {
  if (!sStandIn.widget) {
    sStandIn.widget = gtk_invisible_new();
    gtk_widget_add_events(sStandIn.widget, GDK_PROPERTY_CHANGE_MASK);
    gtk_widget_realize(sStandIn.widget);
    g_signal_connect(sStandIn.widget, "property-notify-event", G_CALLBACK(StandInEvent), nullptr);
  }
  return sStandIn.widget;
}

} // namespace

bool ClaimClipboard(const std::function<bool()> &claim) {
  if (claim())
    return true;
  // Without an event, GTK+ asked the server for its time already: the
  // refusal has another cause.
  if (gtk_get_current_event_time() == GDK_CURRENT_TIME || sStandIn.claim)
    return false;
  GtkWidget *widget = StandInWidget();
  GdkEvent *event = gdk_event_new(GDK_PROPERTY_NOTIFY);
  event->property.window = GDK_WINDOW(g_object_ref(widget->window));
  event->property.send_event = TRUE;
  event->property.atom = gdk_atom_intern_static_string("GDK_TIMESTAMP_PROP");
  event->property.time = gdk_x11_get_server_time(widget->window);
  event->property.state = GDK_PROPERTY_NEW_VALUE;
  sStandIn.event = event;
  sStandIn.claim = &claim;
  sStandIn.taken = false;
  gtk_main_do_event(event);
  sStandIn.claim = nullptr;
  sStandIn.event = nullptr;
  gdk_event_free(event);
  return sStandIn.taken;
}
