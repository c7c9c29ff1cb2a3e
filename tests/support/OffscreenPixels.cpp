#include "support/OffscreenPixels.h"

#include <algorithm>

DrawablePane *NewOffscreen(int width, int height) {
  return new DrawablePane(Rect(0, 0, width, height), 32, 0);
}

uint32_t PixelAt(DrawablePane *pane, int x, int y) {
  Graphics *g = pane->getGraphics();
  QV::RGBColor c;
  g->getPixel(x, y, &c);
  Graphics::Release(g);
  return QV::ColorValueFromRGBColor(c);
}

namespace {

// The pixels of the rectangle, or nil (unreferenced by the caller).
GdkPixbuf *ReadPixels(DrawablePane *pane, int left, int top, int width, int height) {
  return gdk_pixbuf_get_from_drawable(nullptr, pane->GetPixmap(),
                                      gdk_drawable_get_colormap(pane->GetPixmap()), left, top, 0,
                                      0, width, height);
}

} // namespace

std::vector<std::string> Ink(DrawablePane *pane, int left, int top, int width, int height) {
  GdkPixbuf *pixels = ReadPixels(pane, left, top, width, height);
  std::vector<std::string> rows;
  if (!pixels)
    return rows;
  int stride = gdk_pixbuf_get_rowstride(pixels), step = gdk_pixbuf_get_n_channels(pixels);
  const guchar *base = gdk_pixbuf_get_pixels(pixels);
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const guchar *p = base + y * stride + x * step;
      row += (p[0] == 255 && p[1] == 255 && p[2] == 255) ? '.' : '#';
    }
    rows.push_back(row);
  }
  g_object_unref(pixels);
  return rows;
}

int InkCount(DrawablePane *pane) {
  int32_t w, h, count = 0;
  pane->getSize(&w, &h);
  for (const std::string &row : Ink(pane, 0, 0, w, h))
    for (char c : row)
      count += c == '#';
  return count;
}

int LowestInkRow(DrawablePane *pane) {
  int32_t w, h;
  pane->getSize(&w, &h);
  std::vector<std::string> rows = Ink(pane, 0, 0, w, h);
  for (int y = static_cast<int>(rows.size()) - 1; y >= 0; --y)
    if (rows[y].find('#') != std::string::npos)
      return y;
  return -1;
}

uint32_t DarkestPixel(DrawablePane *pane) {
  int32_t w, h;
  pane->getSize(&w, &h);
  GdkPixbuf *pixels = ReadPixels(pane, 0, 0, w, h);
  uint32_t darkest = 0xFFFFFF;
  if (!pixels)
    return darkest;
  int stride = gdk_pixbuf_get_rowstride(pixels), step = gdk_pixbuf_get_n_channels(pixels);
  const guchar *base = gdk_pixbuf_get_pixels(pixels);
  int least = 3 * 255 + 1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const guchar *p = base + y * stride + x * step;
      if (p[0] + p[1] + p[2] < least) {
        least = p[0] + p[1] + p[2];
        darkest = (p[0] << 16) | (p[1] << 8) | p[2];
      }
    }
  g_object_unref(pixels);
  return darkest;
}

QV::Rect DarkBounds(DrawablePane *pane, int left, int top, int w, int h, int limit) {
  QV::Rect bounds{};
  GdkPixbuf *pixels = ReadPixels(pane, left, top, w, h);
  if (!pixels)
    return bounds;
  int stride = gdk_pixbuf_get_rowstride(pixels), step = gdk_pixbuf_get_n_channels(pixels);
  const guchar *base = gdk_pixbuf_get_pixels(pixels);
  bool any = false;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const guchar *p = base + y * stride + x * step;
      if (p[0] >= limit || p[1] >= limit || p[2] >= limit)
        continue;
      const int px = left + x, py = top + y;
      if (!any) {
        bounds = Rect(px, py, px + 1, py + 1);
        any = true;
        continue;
      }
      bounds.left = std::min<int16_t>(bounds.left, px);
      bounds.right = std::max<int16_t>(bounds.right, px + 1);
      bounds.top = std::min<int16_t>(bounds.top, py);
      bounds.bottom = std::max<int16_t>(bounds.bottom, py + 1);
    }
  g_object_unref(pixels);
  return bounds;
}
