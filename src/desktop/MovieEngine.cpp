// The movie engine's entry points over the empty list of loaded movies.
#include "desktop/MovieEngine.h"

#include <vector>

#include "foundation/AssertionAlert.h"
#include "windows/SubPane.h"

std::vector<LoadedMovie> gLoadedMovies;

namespace {

constexpr AlertSite kMovieFromResourceAlert{"../Common/runMedia", 0, "0"};

const LoadedMovie *EntryOf(SubPane *pane) {
  for (const LoadedMovie &m : gLoadedMovies)
    if (m.pane == pane)
      return &m;
  return nullptr;
}

} // namespace

bool IsQuicktimeLoaded() {
  static bool sLoaded = false; // no engine to load here
  return sLoaded;
}

void AddMovie(SubPane *pane, RuntimeObject *control) {
  if (!IsQuicktimeLoaded() || !pane)
    return;
  gLoadedMovies.push_back(LoadedMovie{pane, control, nullptr});
}

RuntimeObject *FindMediaControl(SubPane *pane) {
  const LoadedMovie *m = EntryOf(pane);
  return m ? m->control : nullptr;
}

void *FindPaneMovie(SubPane *pane) {
  const LoadedMovie *m = EntryOf(pane);
  return m ? m->movie : nullptr;
}

// No controller exists without the engine.
void *FindPaneMovieController(SubPane *) { return nullptr; }
void *getMoviePlayerController(RuntimeObject *) { return nullptr; }

void KillMovie(SubPane *pane) {
  std::erase_if(gLoadedMovies, [pane](const LoadedMovie &m) { return m.pane == pane; });
}

void KillWindowMovies(Window *window) {
  std::erase_if(gLoadedMovies, [window](const LoadedMovie &m) { return m.pane && m.pane->GetWindow() == window; });
}

void UpdateMoviePosition(SubPane *) {}
void ShowMovie(SubPane *) {}
void HideMovie(SubPane *) {}
void PlayMovie(SubPane *) {}
void StopMovie(SubPane *) {}
void MovieIdle() {}
void MovieRedraw(SubPane *) {}
void LoadMovieObject(RuntimeObject *) {}

int32_t PlayerFilter(void *, void *, int16_t *) { return 0; }

bool MovieEvent(void *) {
  for (const LoadedMovie &m : gLoadedMovies)
    if (FindPaneMovieController(m.pane))
      return true;
  return false;
}

bool GetMovieObjectMovie(void *movieHandle) { return movieHandle != nullptr; }

extern "C" RuntimeObject *RuntimeGetMovieFromResource(int32_t) {
  ShowAlert(kMovieFromResourceAlert);
  return nullptr;
}

bool IsQuicktimeInstalled() { return false; }
