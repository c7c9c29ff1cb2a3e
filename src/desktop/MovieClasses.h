// The movie and note controls of the language, inert on this platform: a
// MoviePlayer keeps its settings and its Movie and shows a pane that draws
// only into offscreen drawing; a Movie answers 0 for its sizes; a NotePlayer
// keeps its Instrument and plays nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

class RuntimeMedia;
struct stringStorage;

struct MoviePlayerObject {
  RuntimeControl control;
  int32_t controller;
  uint8_t border, hasStep, speaker, autoResize, looping, palindrome;
  uint8_t reserved110[2];
  RuntimeObject *movie; // counted
  int32_t reserved116;
};
static_assert(sizeof(MoviePlayerObject) == 120);
static_assert(offsetof(MoviePlayerObject, controller) == 100);
static_assert(offsetof(MoviePlayerObject, border) == 104);
static_assert(offsetof(MoviePlayerObject, hasStep) == 105);
static_assert(offsetof(MoviePlayerObject, speaker) == 106);
static_assert(offsetof(MoviePlayerObject, autoResize) == 107);
static_assert(offsetof(MoviePlayerObject, looping) == 108);
static_assert(offsetof(MoviePlayerObject, palindrome) == 109);
static_assert(offsetof(MoviePlayerObject, movie) == 112);

// What a MoviePlayerAction does to its player.
enum MoviePlayerActionKind : int32_t { kMoviePlay = 1, kMovieStop = 2 };

struct MoviePlayerActionObject {
  RuntimeObject header;
  RuntimeObject *player; // counted
  int32_t kind;
};
static_assert(sizeof(MoviePlayerActionObject) == 32);
static_assert(offsetof(MoviePlayerActionObject, player) == 24);
static_assert(offsetof(MoviePlayerActionObject, kind) == 28);

constexpr int32_t kMovieInstanceSize = 52;

struct NotePlayerObject {
  RuntimeControl control;
  int32_t reserved100;
  int32_t instrument;
  int32_t reserved108;
};
static_assert(sizeof(NotePlayerObject) == 112);
static_assert(offsetof(NotePlayerObject, instrument) == 104);

ObjectDefinition *MoviePlayerClass();
ObjectDefinition *MoviePlayerActionClass();
ObjectDefinition *MovieClass();
ObjectDefinition *NotePlayerClass();

// The player's pane, or nil before its window opens and after it closed.
RuntimeMedia *MediaPaneOf(MoviePlayerObject *player);

extern "C" {
void MediaCreatePane(RuntimeObject *object);
void RuntimeMediaDestructor(RuntimeObject *object);
void mediaControllerLoopingSetter(RuntimeObject *self, int32_t, int32_t value);
void mediaControllerPalindromeSetter(RuntimeObject *self, int32_t, int32_t value);
void mediaMovieSetter(RuntimeObject *self, int32_t, RuntimeObject *movie);
void RuntimeMediaPlay(RuntimeObject *self);
void RuntimeMediaStop(RuntimeObject *self);
RuntimeObject *mediaGetBoundPart(RuntimeObject *self, stringStorage *name);
void mediaActionDestructor(RuntimeObject *object);
void mediaActionPerformAction(RuntimeObject *self);
void notePlayerInstrumentSetter(RuntimeObject *self, int32_t, int32_t value);
}
