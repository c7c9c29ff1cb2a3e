#include "ImageOptions.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <sstream>

#include "LinkError.h"
#include "LittleEndian.h"

namespace imagelink {

namespace {

constexpr uint8_t kIconTag = 1;
constexpr uint8_t kVersionTag = 2;

void appendIcon(std::vector<uint8_t> &out, const std::string &path) {
  GError *error = nullptr;
  GdkPixbuf *loaded = gdk_pixbuf_new_from_file(path.c_str(), &error);
  if (!loaded) {
    std::string why = error ? error->message : "unknown error";
    if (error)
      g_error_free(error);
    throw LinkError(path + ": cannot read the icon: " + why);
  }
  GdkPixbuf *rgba = gdk_pixbuf_add_alpha(loaded, FALSE, 0, 0, 0);
  g_object_unref(loaded);
  const int width = gdk_pixbuf_get_width(rgba), height = gdk_pixbuf_get_height(rgba);
  if (width < 1 || height < 1 || width > 255 || height > 255) {
    g_object_unref(rgba);
    throw LinkError(path + ": an icon must be 1 to 255 pixels on each side");
  }
  out.push_back(kIconTag);
  out.push_back(uint8_t(width));
  out.push_back(uint8_t(height));
  const guchar *pixels = gdk_pixbuf_get_pixels(rgba);
  const int stride = gdk_pixbuf_get_rowstride(rgba);
  for (int row = 0; row < height; ++row)
    out.insert(out.end(), pixels + row * stride, pixels + row * stride + width * 4);
  g_object_unref(rgba);
}

void appendShortString(std::vector<uint8_t> &out, const std::string &text, const char *what) {
  if (text.size() > 255)
    throw LinkError(std::string(what) + " is longer than 255 bytes");
  out.push_back(uint8_t(text.size()));
  appendBytes(out, text);
}

} // namespace

std::array<int32_t, 6> parseVersionNumbers(const std::string &text) {
  std::array<int32_t, 6> numbers{};
  std::istringstream in(text);
  for (size_t i = 0; i < numbers.size(); ++i) {
    long long value;
    char comma = ',';
    if (!(in >> value) || value < INT32_MIN || value > INT32_MAX ||
        (i + 1 < numbers.size() && !(in >> comma)) || comma != ',')
      throw LinkError("version numbers '" + text + "' must be six integers separated by commas");
    numbers[i] = int32_t(value);
  }
  if (in >> std::ws; !in.eof())
    throw LinkError("version numbers '" + text + "' have extra text");
  return numbers;
}

std::vector<uint8_t> optionsSection(const std::vector<std::string> &iconFiles,
                                    const std::optional<VersionRecord> &version) {
  std::vector<uint8_t> out;
  for (const std::string &path : iconFiles)
    appendIcon(out, path);
  if (version) {
    out.push_back(kVersionTag);
    for (int32_t number : version->numbers)
      appendLE32(out, uint32_t(number));
    appendShortString(out, version->shortVersion, "the short version");
    appendShortString(out, version->longVersion, "the long version");
    appendShortString(out, version->packageInfo, "the package info");
  }
  return out;
}

} // namespace imagelink
