#include "graphics/ColorFunctions.h"

#include <cmath>

namespace {

int32_t Pack(int32_t red, int32_t green, int32_t blue) { return (red << 16) | (green << 8) | blue; }

int32_t Clamp255(int32_t part) { return part < 0 ? 0 : part > 255 ? 255 : part; }

// A fraction as an 8-bit part: times 255, truncated, clamped; a fraction
// that is not a number (as infinite inputs can make) counts as 0.
int32_t FractionToPart(double fraction) {
  if (std::isnan(fraction))
    return 0;
  double scaled = fraction * 255.0;
  if (scaled <= 0)
    return 0;
  if (scaled >= 255)
    return 255;
  return static_cast<int32_t>(scaled);
}

double Sane(double x) { return std::isnan(x) ? 0.0 : x; }

int32_t FromFractions(double red, double green, double blue) {
  return Pack(FractionToPart(red), FractionToPart(green), FractionToPart(blue));
}

struct HSV {
  double hue, saturation, value;
};

HSV ToHSV(int32_t color) {
  double r = ((color >> 16) & 0xFF) / 255.0;
  double g = ((color >> 8) & 0xFF) / 255.0;
  double b = (color & 0xFF) / 255.0;
  double max = std::fmax(r, std::fmax(g, b));
  double min = std::fmin(r, std::fmin(g, b));
  HSV out{0, max == 0 ? 0 : (max - min) / max, max};
  if (out.saturation == 0)
    return out;
  double delta = max - min;
  double hue;
  if (r == max)
    hue = (g - b) / delta;
  else if (g == max)
    hue = 2 + (b - r) / delta;
  else
    hue = 4 + (r - g) / delta;
  hue /= 6;
  if (hue < 0)
    hue += 1;
  out.hue = hue;
  return out;
}

} // namespace

extern "C" int32_t RuntimeRGB(int32_t red, int32_t green, int32_t blue) {
  return Pack(Clamp255(red), Clamp255(green), Clamp255(blue));
}

extern "C" int32_t RuntimeHSV(double h, double s, double v) {
  h = Sane(h);
  s = Sane(s);
  v = Sane(v);
  if (s == 0) {
    double grey = v * 255.0;
    if (grey < 0)
      return 0;
    if (grey > 255)
      return 0xFFFFFF;
    return static_cast<int32_t>(grey) * 0x010101;
  }
  if (!(h >= 0 && h < 1))
    h = 0;
  double h6 = h * 6;
  int i = static_cast<int>(h6);
  double f = h6 - i;
  double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  switch (i) {
  case 0:
    return FromFractions(v, t, p);
  case 1:
    return FromFractions(q, v, p);
  case 2:
    return FromFractions(p, v, t);
  case 3:
    return FromFractions(p, q, v);
  case 4:
    return FromFractions(t, p, v);
  default:
    return FromFractions(v, p, q);
  }
}

extern "C" int32_t RuntimeCMY(double c, double m, double y) {
  return FromFractions(1 - Sane(c), 1 - Sane(m), 1 - Sane(y));
}

extern "C" int32_t readColorRed(int32_t color) { return (color >> 16) & 0xFF; }
extern "C" int32_t readColorGreen(int32_t color) { return (color >> 8) & 0xFF; }
extern "C" int32_t readColorBlue(int32_t color) { return color & 0xFF; }
extern "C" double readColorHue(int32_t color) { return ToHSV(color).hue; }
extern "C" double readColorSaturation(int32_t color) { return ToHSV(color).saturation; }
extern "C" double readColorValue(int32_t color) { return ToHSV(color).value; }
extern "C" double readColorCyan(int32_t color) { return (255 - readColorRed(color)) / 255.0; }
extern "C" double readColorMagenta(int32_t color) {
  return (255 - readColorGreen(color)) / 255.0;
}
extern "C" double readColorYellow(int32_t color) { return (255 - readColorBlue(color)) / 255.0; }
