// The movie engine as the movie classes and panes reach it. This platform
// has none: the engine never loads, so the list of loaded movies stays empty
// and every call answers as if no movie were playing.
#pragma once
#include <cstdint>
#include <vector>

#include "windows/DesktopServices.h"

// A movie in use: the pane showing it, the pane's control and the engine's
// movie.
struct LoadedMovie {
  SubPane *pane;
  RuntimeObject *control; // not counted
  void *movie;
};
extern std::vector<LoadedMovie> gLoadedMovies;

// Whether the engine is present; a true answer would be remembered. False.
bool IsQuicktimeLoaded();
// Registers the pane's movie with the engine: nothing without the engine.
void AddMovie(SubPane *pane, RuntimeObject *control);
// The entry of the pane or control: nil while the list is empty.
RuntimeObject *FindMediaControl(SubPane *pane);
void *FindPaneMovie(SubPane *pane);
void *FindPaneMovieController(SubPane *pane);
void *getMoviePlayerController(RuntimeObject *control);
// KillMovie and KillWindowMovies (DesktopServices.h) forget the pane's
// movie, or every movie of the window's panes.
// Engine work on a pane's movie: nothing here.
void UpdateMoviePosition(SubPane *pane);
void ShowMovie(SubPane *pane);
void HideMovie(SubPane *pane);
void PlayMovie(SubPane *pane);
void StopMovie(SubPane *pane);
void MovieIdle();
void MovieRedraw(SubPane *pane);
void LoadMovieObject(RuntimeObject *movie);
// The engine's event filter of a player: 0 (not handled).
int32_t PlayerFilter(void *dialog, void *event, int16_t *item);
// Passes an event to each loaded movie's controller; answers whether one took it.
bool MovieEvent(void *event);
// Whether the movie handle is set.
bool GetMovieObjectMovie(void *movieHandle);

extern "C" RuntimeObject *RuntimeGetMovieFromResource(int32_t id);

// Whether the movie engine is installed; there is none on this platform.
bool IsQuicktimeInstalled();
