// Redrawing a list box of 100,000 rows scrolled to its middle, against the
// same list box holding 30 rows: the redraw visits only the rows in view,
// so the two should cost about the same. Each iteration draws the whole
// pane into an offscreen image. Needs a display; under an emulator only
// instruction counts mean anything (bench/instructions/count-listbox-redraw.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <gtk/gtk.h>

#include "foundation/String.h"
#include "graphics/DrawablePaneGTK.h"
#include "graphics/Graphics.h"
#include "listbox/RuntimeListbox.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

// Fixed, so that instruction counts of two runs with different counts give
// the cost of one iteration: LISTBOX_BENCH_ITERATIONS, 20 by default.
int64_t Iterations() {
  const char *text = std::getenv("LISTBOX_BENCH_ITERATIONS");
  return text && std::atoi(text) > 0 ? std::atoi(text) : 20;
}

bool HaveDisplay() {
  static const bool display = [] {
    if (!gtk_init_check(nullptr, nullptr))
      return false;
    GTKHelper::Init();
    return true;
  }();
  return display;
}

void Redraw(benchmark::State &state, int32_t rows, int32_t scrollRow) {
  if (!HaveDisplay()) {
    state.SkipWithError("no display");
    return;
  }
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, 400, 600);
  auto *window = new Window(string("bench"), bounds, Window::kWindowTypeDocument, true, 0, true);
  // Shorter than 30 rows, so that both lists fill the view.
  QV::SetRect(&bounds, 10, 10, 390, 310);
  auto *list = new RuntimeListbox(nullptr, window, 0, bounds);
  list->SetColumnCount(3);
  list->ReCalculateColumnWidths();
  for (int32_t r = 0; r < rows; ++r) {
    auto *cell = new CellEntry;
    cell->mText = string(("Row " + std::to_string(r)).c_str());
    auto *second = new CellEntry;
    second->mColumn = 1;
    second->mText = string("second column");
    cell->mNext = second;
    list->AddItem(cell, 0, -1);
  }
  list->SetScrollRow(scrollRow);
  QV::Rect image;
  QV::SetRect(&image, 0, 0, 400, 600);
  auto *offscreen = new DrawablePane(image, 32, 0);
  Graphics *g = offscreen->getGraphics();
  for (auto _ : state)
    list->DrawIntoOffscreen(g);
  Graphics::Release(g);
  offscreen->removeReference();
  window->Close();
}

void BM_ListboxRedrawMiddleOf100000(benchmark::State &state) { Redraw(state, 100000, 50000); }
BENCHMARK(BM_ListboxRedrawMiddleOf100000)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

void BM_ListboxRedraw30Rows(benchmark::State &state) { Redraw(state, 30, 0); }
BENCHMARK(BM_ListboxRedraw30Rows)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

} // namespace

BENCHMARK_MAIN();
