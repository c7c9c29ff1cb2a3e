#include "files/XPMReader.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include <pango/pango.h>

namespace {

constexpr int32_t kLargestSide = 16384;
constexpr int64_t kMostPixels = 16 * 1024 * 1024;
constexpr int32_t kMostColours = 65536;

// The quoted strings of the file, in order (an XPM's data; comments and C
// syntax around them are skipped).
std::vector<std::string> QuotedStrings(const std::string &text) {
  std::vector<std::string> strings;
  size_t at = 0;
  while (at < text.size()) {
    if (text.compare(at, 2, "/*") == 0) {
      const size_t end = text.find("*/", at + 2);
      at = end == std::string::npos ? text.size() : end + 2;
    } else if (text[at] == '"') {
      const size_t end = text.find('"', at + 1);
      if (end == std::string::npos)
        break;
      strings.push_back(text.substr(at + 1, end - at - 1));
      at = end + 1;
    } else {
      ++at;
    }
  }
  return strings;
}

// The colour after the key "c" of a colour line; "None" reads as white (the
// picture has no mask).
bool ColourOf(const std::string &spec, uint32_t &rgb) {
  size_t at = 0;
  std::string colour;
  while (at < spec.size()) {
    const size_t wordStart = spec.find_first_not_of(" \t", at);
    if (wordStart == std::string::npos)
      break;
    const size_t wordEnd = std::min(spec.find_first_of(" \t", wordStart), spec.size());
    const std::string word = spec.substr(wordStart, wordEnd - wordStart);
    at = wordEnd;
    if (word != "c")
      continue;
    // The colour runs to the next key (m, s, g4, g) or the end; names may
    // hold blanks.
    size_t end = spec.size();
    for (const char *key : {" m ", " s ", " g4 ", " g ", "\tm\t", "\ts\t"}) {
      const size_t found = spec.find(key, wordEnd);
      if (found != std::string::npos && found < end)
        end = found;
    }
    const size_t start = spec.find_first_not_of(" \t", wordEnd);
    if (start == std::string::npos || start >= end)
      return false;
    colour = spec.substr(start, spec.find_last_not_of(" \t", end - 1) + 1 - start);
    break;
  }
  if (colour.empty())
    return false;
  if (strcasecmp(colour.c_str(), "None") == 0) {
    rgb = 0xFFFFFF;
    return true;
  }
  PangoColor parsed;
  if (!pango_color_parse(&parsed, colour.c_str()))
    return false;
  rgb = uint32_t(parsed.red >> 8) << 16 | uint32_t(parsed.green >> 8) << 8 | (parsed.blue >> 8);
  return true;
}

} // namespace

bool DecodeXPM(const std::string &text, XPMImage &image) {
  const std::vector<std::string> strings = QuotedStrings(text);
  if (strings.empty())
    return false;
  long width = 0, height = 0, colours = 0, perPixel = 0;
  const char *values = strings[0].c_str();
  char *end = nullptr;
  long *fields[] = {&width, &height, &colours, &perPixel};
  for (long *field : fields) {
    *field = std::strtol(values, &end, 10);
    if (end == values)
      return false;
    values = end;
  }
  if (width < 1 || width > kLargestSide || height < 1 || height > kLargestSide ||
      int64_t(width) * height > kMostPixels || colours < 1 || colours > kMostColours ||
      perPixel < 1 || perPixel > 4)
    return false;
  if (strings.size() < size_t(1 + colours + height))
    return false;
  std::map<std::string, uint32_t> table;
  for (long i = 1; i <= colours; ++i) {
    const std::string &line = strings[size_t(i)];
    uint32_t rgb = 0;
    if (line.size() < size_t(perPixel) || !ColourOf(line.substr(size_t(perPixel)), rgb))
      return false;
    table[line.substr(0, size_t(perPixel))] = rgb;
  }
  image.width = int32_t(width);
  image.height = int32_t(height);
  image.rgb.assign(size_t(width) * size_t(height) * 3, 0);
  uint8_t *out = image.rgb.data();
  for (long y = 0; y < height; ++y) {
    const std::string &row = strings[size_t(1 + colours + y)];
    if (row.size() < size_t(width * perPixel))
      return false;
    for (long x = 0; x < width; ++x) {
      const auto found = table.find(row.substr(size_t(x * perPixel), size_t(perPixel)));
      if (found == table.end())
        return false;
      *out++ = uint8_t(found->second >> 16);
      *out++ = uint8_t(found->second >> 8);
      *out++ = uint8_t(found->second);
    }
  }
  return true;
}
