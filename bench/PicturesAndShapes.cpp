// Packing a 1024 x 768 picture against reading the pixmap into a pixbuf and
// packing it by hand; a thick-outlined 1,024-point oval through the shape
// plotter against gdk_draw_polygon of the same ring, computed beforehand
// (bench/instructions/PictureOperations.h). Both need an X display.
#include <benchmark/benchmark.h>

#include <gtk/gtk.h>

#include "instructions/PictureOperations.h"

namespace {

bool Display() {
  static bool open = gtk_init_check(nullptr, nullptr);
  return open;
}

template <typename Pair, void (Pair::*side)()>
void Measure(benchmark::State &state) {
  if (!Display()) {
    state.SkipWithError("no display");
    return;
  }
  Pair pair;
  for (auto _ : state)
    (pair.*side)();
}

BENCHMARK_TEMPLATE(Measure, PackPair, &PackPair::Ours)
    ->Name("PackPicture")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Measure, PackPair, &PackPair::ByHand)
    ->Name("PackPixbufByHand")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Measure, ThickOvalPair, &ThickOvalPair::Ours)
    ->Name("ThickOvalThroughThePlotter")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(Measure, ThickOvalPair, &ThickOvalPair::ByHand)
    ->Name("ThickOvalRingByHand")
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
