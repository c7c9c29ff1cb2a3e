// The TextStyle byte string of a styled field of 20,000 characters with 200
// style changes: the pane's GetTextStyle against a plain walk of the
// buffer's tag toggles that reads each stretch's tags itself and writes the
// same bytes. Needs a display. Under an emulator only instruction counts
// mean anything: STYLE_REPEAT=n makes each iteration do the operation n
// times, so that two runs of one iteration (--benchmark_min_time=0) under
// the counting plug-in of bench/instructions differ by the cost of n - 1
// operations. Counted so on i386 under qemu: 34.5 million instructions per
// GetTextStyle against 12.2 million per walk (2.8 times).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include <gtk/gtk.h>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "text/EditControlGTK.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

int Repeats() {
  const char *n = getenv("STYLE_REPEAT");
  return n && atoi(n) > 0 ? atoi(n) : 1;
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

struct StyledPane {
  Window *window;
  EditControlGTK *pane;

  StyledPane() {
    QV::Rect bounds;
    QV::SetRect(&bounds, 0, 0, 400, 300);
    window = new Window(string("bench"), bounds, Window::kWindowTypeDocument, true, 0, true);
    QV::Rect inner;
    QV::SetRect(&inner, 10, 10, 390, 290);
    pane = new EditControlGTK(nullptr, window, 0, inner, true, FontStructure(), true, true, true,
                              false);
    std::string text;
    while (text.size() < 20000)
      text += "styled text runs 0123456789 ";
    text.resize(20000);
    string s;
    s.ConstructFromBuffer(text.data(), 20000, kEncodingUTF8);
    pane->SetText(s);
    // 200 changes: every 100 characters a stretch of 50 gets bold, a size
    // or a colour in turn.
    for (int i = 0; i < 200; ++i) {
      int start = i * 100;
      if (i % 3 == 0)
        pane->SetBoldRange(start, 50, true);
      else if (i % 3 == 1)
        pane->SetSizeRange(start, 50, 14 + i % 5);
      else
        pane->SetColorRange(start, 50, 0x102030 * (i % 7));
    }
  }
  ~StyledPane() { window->Close(); }
};

void BM_PaneGetTextStyle(benchmark::State &state) {
  if (!HaveDisplay()) {
    state.SkipWithError("no display");
    return;
  }
  StyledPane styled;
  const int repeats = Repeats();
  for (auto _ : state)
    for (int r = 0; r < repeats; ++r) {
      string bytes = styled.pane->GetTextStyle();
      benchmark::DoNotOptimize(bytes.CString());
    }
}
BENCHMARK(BM_PaneGetTextStyle)->Unit(benchmark::kMillisecond);

// The walk a programmer would write against GTK+ alone.
std::string WalkToggles(GtkTextBuffer *buffer) {
  std::string out;
  std::string lastFont = "System";
  GtkTextIter at;
  gtk_text_buffer_get_start_iter(buffer, &at);
  while (!gtk_text_iter_is_end(&at)) {
    unsigned char flags = 0;
    std::string font = "System";
    int size = 12;
    unsigned rgb[3] = {0, 0, 0};
    GSList *tags = gtk_text_iter_get_tags(&at);
    for (GSList *t = tags; t; t = t->next) {
      const char *name = GTK_TEXT_TAG(t->data)->name;
      if (!strcmp(name, "bold"))
        flags |= 1;
      else if (!strcmp(name, "italic"))
        flags |= 2;
      else if (!strcmp(name, "underline"))
        flags |= 4;
      else if (!strncmp(name, "fontName", 8))
        font = name + 8;
      else if (!strncmp(name, "fontSize", 8))
        size = atoi(name + 8) + 3;
      else if (!strncmp(name, "foregroundColor", 15))
        for (int c = 0; c < 3; ++c)
          rgb[c] = std::stoul(std::string(name + 15 + 4 * c, 4), nullptr, 16) / 257;
    }
    g_slist_free(tags);
    if (rgb[0] || rgb[1] || rgb[2])
      flags |= 0x10;
    int from = gtk_text_iter_get_offset(&at);
    gtk_text_iter_forward_to_tag_toggle(&at, nullptr);
    for (int i = gtk_text_iter_get_offset(&at) - from; i > 0; --i) {
      bool newFont = g_ascii_strcasecmp(font.c_str(), lastFont.c_str()) != 0;
      out.push_back(static_cast<char>(flags | (newFont ? 8 : 0)));
      if (newFont) {
        out.push_back(static_cast<char>(font.size()));
        out += font;
        lastFont = font;
      }
      if (flags & 0x10)
        for (unsigned c : rgb)
          out.push_back(static_cast<char>(c));
      out.push_back(static_cast<char>(size));
    }
  }
  return out;
}

void BM_TagToggleWalk(benchmark::State &state) {
  if (!HaveDisplay()) {
    state.SkipWithError("no display");
    return;
  }
  StyledPane styled;
  GtkTextBuffer *buffer = gtk_text_view_get_buffer(styled.pane->TextView());
  string pane = styled.pane->GetTextStyle();
  if (WalkToggles(buffer) != std::string(pane.CString(), pane.Length())) {
    state.SkipWithError("the walk writes other bytes than the pane");
    return;
  }
  const int repeats = Repeats();
  for (auto _ : state)
    for (int r = 0; r < repeats; ++r) {
      std::string out = WalkToggles(buffer);
      benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_TagToggleWalk)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
