#include "runtime/image/ImageIcons.h"

#include <gtk/gtk.h>

#include <cstring>

void InstallDefaultIcons(const std::vector<ImageIcon> &icons) {
  if (icons.empty())
    return;
  GList *list = nullptr;
  for (const ImageIcon &icon : icons) {
    GdkPixbuf *picture = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, icon.width, icon.height);
    if (!picture)
      continue;
    // Rows of a pixbuf may be padded; copy row by row.
    int rowBytes = icon.width * 4;
    guchar *pixels = gdk_pixbuf_get_pixels(picture);
    int stride = gdk_pixbuf_get_rowstride(picture);
    for (int row = 0; row < icon.height; ++row)
      std::memcpy(pixels + row * stride, icon.pixels + row * rowBytes, size_t(rowBytes));
    list = g_list_append(list, picture);
  }
  gtk_window_set_default_icon_list(list);
  for (GList *item = list; item; item = item->next)
    g_object_unref(item->data); // the default list holds its own references
  g_list_free(list);
}
