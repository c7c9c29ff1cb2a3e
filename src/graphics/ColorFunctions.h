// The language's colour functions: colours (0xRRGGBB) from red, green and
// blue parts, from hue, saturation and value, and from cyan, magenta and
// yellow fractions, and each of those parts read back.
#pragma once
#include <cstdint>

extern "C" {
int32_t RuntimeRGB(int32_t red, int32_t green, int32_t blue);
int32_t RuntimeHSV(double hue, double saturation, double value);
int32_t RuntimeCMY(double cyan, double magenta, double yellow);
int32_t readColorRed(int32_t color);
int32_t readColorGreen(int32_t color);
int32_t readColorBlue(int32_t color);
double readColorHue(int32_t color);
double readColorSaturation(int32_t color);
double readColorValue(int32_t color);
double readColorCyan(int32_t color);
double readColorMagenta(int32_t color);
double readColorYellow(int32_t color);
}
