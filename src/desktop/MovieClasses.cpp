// MoviePlayer, MoviePlayerAction and Movie. Every member that would reach
// the movie engine goes to MovieEngine, which answers as having no movie;
// one that reaches the pane skips the pane's part while there is none
// (before the window opens, after it closed).
#include "desktop/MovieClasses.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/DataBindingServices.h"
#include "desktop/InertEntryPoints.h"
#include "desktop/MovieEngine.h"
#include "desktop/RuntimeMedia.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

MoviePlayerObject *AsPlayer(RuntimeObject *object) {
  return reinterpret_cast<MoviePlayerObject *>(object);
}
MoviePlayerActionObject *AsAction(RuntimeObject *object) {
  return reinterpret_cast<MoviePlayerActionObject *>(object);
}

PropertyType *const kBoolean = &booleanType.type;
PropertyType *const kInteger = &integerType.type;

#define FIELD(name) static_cast<int32_t>(offsetof(MoviePlayerObject, name))
#define FLAG(name, field)                                                                          \
  {0, name, kBoolean, ACCESSOR(boolGetter), ACCESSOR(boolSetter), FIELD(field), 0}
ObjectInstanceTemplate sPlayerProperties[] = {
    {0, "Controller", kInteger, ACCESSOR(intGetter), ACCESSOR(intSetter), FIELD(controller), 0},
    {0, "Looping", kBoolean, ACCESSOR(boolGetter), ACCESSOR(mediaControllerLoopingSetter),
     FIELD(looping), 0},
    {0, "Palindrome", kBoolean, ACCESSOR(boolGetter), ACCESSOR(mediaControllerPalindromeSetter),
     FIELD(palindrome), 0},
    FLAG("AutoResize", autoResize),
    FLAG("Border", border),
    FLAG("Speaker", speaker),
    FLAG("HasStep", hasStep),
    {0, "Movie", nullptr, ACCESSOR(objGetter), ACCESSOR(mediaMovieSetter), FIELD(movie), 0},
    {0, "ControllerWidth", kInteger, ACCESSOR(mediaControllerWidthGetter), NO_ACCESSOR, 0, 0},
    {0, "ControllerHeight", kInteger, ACCESSOR(mediaControllerHeightGetter), NO_ACCESSOR, 0, 0},
    {0, "QTMovieController", kInteger, ACCESSOR(mediaMovieControllerGetter), NO_ACCESSOR, 0, 0},
};
#undef FLAG
#undef FIELD
constexpr int kMovieRow = 7;

ObjectHookTemplate sPlayerHooks[] = {
    {0, "Play", "", "", nullptr, 0},
    {0, "Stop", "", "", nullptr, 0},
    {0, "ControllerSizeChanged", "", "", nullptr, 0},
};

MethodParameter sPartName[] = {{"v", &stringType.type, 0, {}, 0, {}, 0, {}}};
PropertyMethod sPlayerMethods[] = {
    METHOD("Play", RuntimeMediaPlay, nullptr, nullptr, 0),
    METHOD("Stop", RuntimeMediaStop, nullptr, nullptr, 0),
    METHOD("getBoundPart", mediaGetBoundPart, nullptr, sPartName, 1),
};
constexpr int kBoundPartRow = 2;

PropertyMethod sActionMethods[] = {
    METHOD("PerformAction", mediaActionPerformAction, nullptr, nullptr, 0),
};

ObjectInstanceTemplate sMovieProperties[] = {
    {0, "MovieWidth", kInteger, ACCESSOR(movieWidthGetter), NO_ACCESSOR, 0, 0},
    {0, "MovieHeight", kInteger, ACCESSOR(movieHeightGetter), NO_ACCESSOR, 0, 0},
    {0, "BaseMovieWidth", kInteger, ACCESSOR(movieBaseWidthGetter), NO_ACCESSOR, 0, 0},
    {0, "BaseMovieHeight", kInteger, ACCESSOR(movieBaseHeightGetter), NO_ACCESSOR, 0, 0},
    {0, "Handle", kInteger, ACCESSOR(movieHandleGetter), NO_ACCESSOR, 0, 0},
};

// A Movie never gets a platform movie record here, so there is none to delete.
void MovieDestructor(RuntimeObject *) {}

// Stores a changed Boolean, then asks the engine for the controller (none).
void StoreControllerFlag(RuntimeObject *self, uint8_t MoviePlayerObject::*field, int32_t value) {
  if (!self)
    return;
  MoviePlayerObject *p = AsPlayer(self);
  p->*field = value ? 1 : 0;
  if (RuntimeMedia *pane = MediaPaneOf(p))
    FindPaneMovieController(pane);
}

} // namespace

RuntimeMedia *MediaPaneOf(MoviePlayerObject *player) {
  return player ? static_cast<RuntimeMedia *>(player->control.pane) : nullptr;
}

ObjectDefinition *MovieClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("Movie");
  defn.objectSize = kMovieInstanceSize;
  defn.destructor = MovieDestructor;
  defn.staticTables = 1;
  defn.properties = FillInstances(sMovieProperties, std::size(sMovieProperties));
  return &defn;
}

ObjectDefinition *MoviePlayerClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sPlayerProperties[kMovieRow].type = MovieClass()->AsType();
  sPlayerMethods[kBoundPartRow].returnType = ObjectClass()->AsType();
  DefineControlClass(defn, "MoviePlayer", RectControlClass(), sizeof(MoviePlayerObject),
                     RuntimeMediaDestructor, MediaCreatePane);
  defn.properties = FillInstances(sPlayerProperties, std::size(sPlayerProperties));
  defn.methods = FillMethods(sPlayerMethods, std::size(sPlayerMethods));
  FillHooks(&defn, sPlayerHooks, std::size(sPlayerHooks));
  defn.addInterface(BindingPartInterfaceClass());
  return &defn;
}

ObjectDefinition *MoviePlayerActionClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("MoviePlayerAction");
  defn.objectSize = sizeof(MoviePlayerActionObject);
  defn.destructor = mediaActionDestructor;
  defn.staticTables = 1;
  defn.methods = FillMethods(sActionMethods, std::size(sActionMethods));
  defn.addInterface(ActionNotificationReceiverClass());
  return &defn;
}

extern "C" {

void MediaCreatePane(RuntimeObject *object) {
  MoviePlayerObject *p = AsPlayer(object);
  RuntimeControl &c = p->control;
  auto *pane = new RuntimeMedia(p, c.container, c.tabPanelIndex, c.bounds);
  c.pane = pane;
  if (RuntimeControl *parent = c.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
}

void RuntimeMediaDestructor(RuntimeObject *object) {
  MoviePlayerObject *p = AsPlayer(object);
  if (RuntimeMedia *pane = MediaPaneOf(p))
    pane->ForgetPlayer();
  RuntimeObject *movie = p->movie;
  p->movie = nullptr;
  RuntimeUnlockObject(movie);
}

void mediaControllerLoopingSetter(RuntimeObject *self, int32_t, int32_t value) {
  StoreControllerFlag(self, &MoviePlayerObject::looping, value);
}

void mediaControllerPalindromeSetter(RuntimeObject *self, int32_t, int32_t value) {
  StoreControllerFlag(self, &MoviePlayerObject::palindrome, value);
}

// The engine lets the pane's old movie go and takes the new one: nothing here.
void mediaMovieSetter(RuntimeObject *self, int32_t, RuntimeObject *movie) {
  if (!self)
    return;
  MoviePlayerObject *p = AsPlayer(self);
  RuntimeMedia *pane = MediaPaneOf(p);
  if (pane)
    KillMovie(pane);
  RuntimeLockObject(movie);
  RuntimeObject *old = p->movie;
  p->movie = movie;
  RuntimeUnlockObject(old);
  if (pane)
    AddMovie(pane, self);
}

void RuntimeMediaPlay(RuntimeObject *self) {
  if (RuntimeMedia *pane = self ? MediaPaneOf(AsPlayer(self)) : nullptr)
    PlayMovie(pane);
}

void RuntimeMediaStop(RuntimeObject *self) {
  if (RuntimeMedia *pane = self ? MediaPaneOf(AsPlayer(self)) : nullptr)
    StopMovie(pane);
}

RuntimeObject *mediaGetBoundPart(RuntimeObject *self, stringStorage *name) {
  const string part = string::Borrow(name);
  int32_t kind;
  if (part.Compare(string("getPlayAction")) == 0)
    kind = kMoviePlay;
  else if (part.Compare(string("getStopAction")) == 0)
    kind = kMovieStop;
  else
    return nullptr;
  RuntimeObject *action = self ? CreateInstance(MoviePlayerActionClass()) : nullptr;
  if (!action)
    return nullptr;
  RuntimeLockObject(self);
  AsAction(action)->player = self;
  AsAction(action)->kind = kind;
  return action;
}

void mediaActionDestructor(RuntimeObject *object) {
  RuntimeObject *player = AsAction(object)->player;
  AsAction(object)->player = nullptr;
  RuntimeUnlockObject(player);
}

void mediaActionPerformAction(RuntimeObject *self) {
  if (!self)
    return;
  MoviePlayerActionObject *a = AsAction(self);
  if (a->kind == kMoviePlay)
    RuntimeMediaPlay(a->player);
  else if (a->kind == kMovieStop)
    RuntimeMediaStop(a->player);
}

} // extern "C"
