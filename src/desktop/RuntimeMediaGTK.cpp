#include <gtk/gtk.h>

#include "desktop/RuntimeMedia.h"
#include "windows/GTKHelper.h"

// A widget that only paints: its exposes reach Redraw, which draws nothing.
void RuntimeMedia::MakeWidget() {
  SetWidget(gtk_drawing_area_new());
  GTKHelper::SetupWidget(this, true);
  g_signal_connect(GetWidget(), "expose-event", G_CALLBACK(GTKHelper::GenericPaintCallBack), this);
}
