#include <gtk/gtk.h>

#include "graphics/DrawingUtilities.h"

QV::RGBColor GetSystemHighlightColor() {
  GtkStyle *style = gtk_widget_get_default_style();
  if (!style)
    return QV::RGBColor{0, 0, 65535};
  const GdkColor &c = style->base[GTK_STATE_SELECTED];
  return QV::RGBColor{c.red, c.green, c.blue};
}
