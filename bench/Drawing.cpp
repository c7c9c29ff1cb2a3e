// Text fitting: the galloping bisection against measuring every prefix in
// turn, with a measurer whose cost grows with the prefix as a text layout's
// does. BMP decoding: our reader against gdk-pixbuf's loader on the same
// 1024 x 768 24-bit file. Counters report measurements per break, which do
// not depend on the emulator.
#include <benchmark/benchmark.h>

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/BitmapDecoder.h"
#include "graphics/Graphics.h"

namespace {

string Paragraph() {
  std::string text;
  while (text.size() < 2000)
    text += "Pack my box with five dozen liquor jugs, then wrap it. ";
  text.resize(2000);
  return string(text.c_str());
}

struct Measurer {
  int64_t measurements = 0;
  // Widths 5 to 12 by letter; walks the whole prefix like a layout does.
  static int32_t Width(void *ref, const string &text) {
    auto *self = static_cast<Measurer *>(ref);
    ++self->measurements;
    int32_t width = 0;
    const char *p = text.CString();
    for (int i = 0; i < text.Length(); ++i)
      width += 5 + (static_cast<unsigned char>(p[i]) % 8);
    return width;
  }
};

constexpr long kLineWidth = 6000; // about two thirds of the paragraph

void SoftLineBreakBisection(benchmark::State &state) {
  string text = Paragraph();
  Measurer m;
  for (auto _ : state)
    benchmark::DoNotOptimize(FindSoftLineBreak(text, kLineWidth, true, Measurer::Width, &m));
  state.counters["measurements"] =
      benchmark::Counter(double(m.measurements) / double(state.iterations()));
}
BENCHMARK(SoftLineBreakBisection);

void SoftLineBreakLinearScan(benchmark::State &state) {
  string text = Paragraph();
  Measurer m;
  for (auto _ : state) {
    int32_t n = 0;
    while (n < text.Length() && Measurer::Width(&m, left(text, n + 1)) < kLineWidth)
      ++n;
    while (n > 0 && text.CString()[n] != ' ')
      --n;
    benchmark::DoNotOptimize(n);
  }
  state.counters["measurements"] =
      benchmark::Counter(double(m.measurements) / double(state.iterations()));
}
BENCHMARK(SoftLineBreakLinearScan);

std::vector<uint8_t> Bitmap1024x768() {
  const int width = 1024, height = 768;
  const size_t rowBytes = width * 3, size = 54 + rowBytes * height;
  std::vector<uint8_t> b(size, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + i] = (v >> (8 * i)) & 0xFF;
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<uint32_t>(size));
  put32(10, 54);
  put32(14, 40);
  put32(18, width);
  put32(22, height);
  b[26] = 1;
  b[28] = 24;
  for (size_t i = 54; i < size; ++i)
    b[i] = static_cast<uint8_t>(i * 7);
  return b;
}

void DecodeBitmapOurs(benchmark::State &state) {
  std::vector<uint8_t> file = Bitmap1024x768();
  for (auto _ : state) {
    DecodedBitmap d;
    benchmark::DoNotOptimize(DecodeBitmap(file.data(), file.size(), &d));
  }
  state.SetBytesProcessed(state.iterations() * int64_t(file.size()));
}
BENCHMARK(DecodeBitmapOurs);

// Some i386 installs ship gdk-pixbuf's BMP module with an empty module
// cache; then the benchmark names the module itself before the first load.
void EnsureBitmapModule() {
  static bool done = false;
  if (done || std::getenv("GDK_PIXBUF_MODULE_FILE"))
    return;
  done = true;
  const char *module = "/usr/lib/i386-linux-gnu/gdk-pixbuf-2.0/2.10.0/loaders/"
                       "libpixbufloader-bmp.so";
  std::string path = "/tmp/bench-drawing-loaders.cache";
  if (FILE *f = std::fopen(path.c_str(), "w")) {
    std::fprintf(f,
                 "\"%s\"\n\"bmp\" 5 \"gdk-pixbuf\" \"BMP\" \"LGPL\"\n"
                 "\"image/bmp\" \"image/x-bmp\" \"\"\n\"bmp\" \"\"\n\"BM\" \"\" 100\n\n",
                 module);
    std::fclose(f);
    setenv("GDK_PIXBUF_MODULE_FILE", path.c_str(), 0);
  }
}

void DecodeBitmapGdkPixbufLoader(benchmark::State &state) {
  EnsureBitmapModule();
  std::vector<uint8_t> file = Bitmap1024x768();
  for (auto _ : state) {
    GdkPixbufLoader *loader = gdk_pixbuf_loader_new_with_type("bmp", nullptr);
    if (!loader) {
      state.SkipWithError("gdk-pixbuf has no BMP loader here");
      return;
    }
    gdk_pixbuf_loader_write(loader, file.data(), file.size(), nullptr);
    gdk_pixbuf_loader_close(loader, nullptr);
    benchmark::DoNotOptimize(gdk_pixbuf_loader_get_pixbuf(loader));
    g_object_unref(loader);
  }
  state.SetBytesProcessed(state.iterations() * int64_t(file.size()));
}
BENCHMARK(DecodeBitmapGdkPixbufLoader);

} // namespace

BENCHMARK_MAIN();
