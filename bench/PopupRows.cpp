// A thousand rows added to a popup menu through AddRow, one call each, and
// then shown (the combo's list is rebuilt once for the batch), against one
// gtk_combo_set_popdown_strings of the same thousand strings on a bare
// combo. Each iteration starts from an empty list. Needs a display; under an
// emulator only instruction counts mean anything (see the report of the
// change that added this file).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "controls/PopupMenuClass.h"
#include "controls/PopupMenuGTK.h"
#include "foundation/String.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

constexpr int kRows = 1000;

// Fixed, so that instruction counts of two runs with different counts give
// the cost of one iteration: POPUP_BENCH_ITERATIONS, 20 by default.
int64_t Iterations() {
  const char *text = std::getenv("POPUP_BENCH_ITERATIONS");
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

std::vector<std::string> RowTexts() {
  std::vector<std::string> rows;
  for (int i = 0; i < kRows; ++i)
    rows.push_back("Row number " + std::to_string(i));
  return rows;
}

Window *NewWindow() {
  QV::Rect bounds;
  QV::SetRect(&bounds, 0, 0, 300, 200);
  return new Window(string("bench"), bounds, Window::kWindowTypeDocument, true, 0, true);
}

void BM_PopupAddRows(benchmark::State &state) {
  if (!HaveDisplay()) {
    state.SkipWithError("no display");
    return;
  }
  Window *window = NewWindow();
  RuntimeObject *object = CreateInstance(PopupMenuClass());
  auto *c = reinterpret_cast<ComboBoxControl *>(object);
  c->control.container = window;
  QV::SetRect(&c->control.bounds, 10, 10, 200, 36);
  c->control.visible = c->control.enabled = 1;
  PopupMenuCreatePane(object);
  auto *pane = static_cast<PopupMenu *>(c->pane);
  std::vector<string> rows;
  for (const std::string &text : RowTexts())
    rows.emplace_back(text.c_str());
  for (auto _ : state) {
    RuntimeComboBoxEmpty(object);
    for (const string &row : rows)
      RuntimeComboBoxAddRow(object, row.Storage());
    pane->Flush();
  }
  window->Close();
  c->pane = nullptr;
  c->control.pane = nullptr;
  RuntimeUnlockObject(object);
}
BENCHMARK(BM_PopupAddRows)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

void BM_ComboSetPopdownStrings(benchmark::State &state) {
  if (!HaveDisplay()) {
    state.SkipWithError("no display");
    return;
  }
  Window *window = NewWindow();
  GtkWidget *combo = gtk_combo_new();
  gtk_fixed_put(GTK_FIXED(window->GetFixed()), combo, 10, 10);
  gtk_widget_show(combo);
  std::vector<std::string> texts = RowTexts();
  for (auto _ : state) {
    gtk_list_clear_items(GTK_LIST(GTK_COMBO(combo)->list), 0, -1);
    GList *strings = nullptr;
    for (const std::string &text : texts)
      strings = g_list_prepend(strings, const_cast<char *>(text.c_str()));
    strings = g_list_reverse(strings);
    gtk_combo_set_popdown_strings(GTK_COMBO(combo), strings);
    g_list_free(strings);
  }
  window->Close();
}
BENCHMARK(BM_ComboSetPopdownStrings)->Unit(benchmark::kMillisecond)->Iterations(Iterations());

} // namespace

BENCHMARK_MAIN();
