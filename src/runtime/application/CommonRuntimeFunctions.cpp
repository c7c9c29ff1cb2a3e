#include "runtime/application/CommonRuntimeFunctions.h"

#include <gtk/gtk.h>
#include <time.h>

#include "foundation/QVTime.h"
#include "foundation/TextEncodings.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/application/KaleidoscopeColor.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/loop/BackgroundTask.h"
#include "runtime/loop/DeferredUpdates.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/Pollables.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/UpperAreaHooks.h"
#include "runtime/threads/RuntimeThread.h"

// Set by DebugRuntimeInit (the debugger area) in a debug build.
bool gDebugBuild = false;

namespace {

// The yield point's ticks.
uint32_t sLastRunTick = 0;
uint32_t sLastStopCheckTick = 0;

constexpr uint32_t kStopCheckTicks = 60;

// Digits from the least significant end until the rest is below the base;
// no leading zeros, 0 gives "0", negatives their two's-complement form.
// The text is tagged ASCII.
stringStorage *NumberInBase(int32_t value, uint32_t base) {
  static const char kDigits[] = "0123456789ABCDEF";
  char buffer[33];
  char *start = buffer + sizeof(buffer);
  uint32_t rest = static_cast<uint32_t>(value);
  do {
    *--start = kDigits[rest % base];
    rest /= base;
  } while (rest != 0);
  string text;
  text.ConstructFromBuffer(start, static_cast<int>(buffer + sizeof(buffer) - start));
  text.SetEncoding(kEncodingASCII);
  return text.ExtractStringStorage();
}

uint32_t ThemeColor(KaleidoscopeColorIndex index) {
  unsigned long packed = 0;
  KaleidoscopeColor(index, nullptr, &packed);
  return static_cast<uint32_t>(packed);
}

struct WindowCounter {
  int32_t wanted; // -1 to count them all
  int32_t seen = 0;
  RuntimeView *found = nullptr;
};

bool CountWindow(RuntimeView *window, void *ref) {
  auto *counter = static_cast<WindowCounter *>(ref);
  if (counter->seen == counter->wanted) {
    counter->found = window;
    return false;
  }
  ++counter->seen;
  return true;
}

bool InvalidateIfBackdropChanged(RuntimeView *window, void *) {
  if (void (*invalidate)(RuntimeView *) = GetUpperAreaHooks().invalidateChangedBackdrop)
    invalidate(window);
  return true;
}

} // namespace

int64_t MonotonicMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

extern "C" {

int32_t RuntimeTicks() { return static_cast<int32_t>(QV::TickCount()); }
double RuntimeMicroseconds() { return static_cast<double>(MonotonicMicroseconds()); }
void RuntimeBeep() {
  if (gdk_display_get_default()) // a console program may have no display
    gdk_beep();
}

stringStorage *RuntimeHex(int32_t value) { return NumberInBase(value, 16); }
stringStorage *RuntimeOct(int32_t value) { return NumberInBase(value, 8); }
stringStorage *RuntimeBin(int32_t value) { return NumberInBase(value, 2); }

int32_t getUserCancelled() { return HasCommandStop(); }

uint32_t getFrameColor() { return ThemeColor(kFrameColor); }
uint32_t getFillColor() { return ThemeColor(kFillColor); }
uint32_t getTextColor() { return ThemeColor(kTextColor); }
uint32_t getLightTingeColor() { return ThemeColor(kLightTingeColor); }
uint32_t getDarkTingeColor() { return ThemeColor(kDarkTingeColor); }
uint32_t getLightBevelColor() { return ThemeColor(kLightBevelColor); }
uint32_t getDarkBevelColor() { return ThemeColor(kDarkBevelColor); }
// There is no highlight colour to ask for here; the dark tinge is neutral.
uint32_t getHilightColor() { return ThemeColor(kDarkTingeColor); }

RuntimeObject *getAppObject() {
  RuntimeLockObject(gApplicationObject);
  return gApplicationObject;
}

RuntimeObject *getSystemObject() {
  RuntimeObject *(*make)() = GetUpperAreaHooks().newSystemObject;
  return make ? make() : nullptr;
}

int32_t getWindowCount() {
  WindowCounter counter{-1};
  if (const WindowHooks &hooks = GetWindowHooks(); hooks.IterateLanguageWindows)
    hooks.IterateLanguageWindows(CountWindow, &counter);
  return counter.seen;
}

RuntimeObject *getWindow(int32_t index) {
  WindowCounter counter{index};
  if (const WindowHooks &hooks = GetWindowHooks(); index >= 0 && hooks.IterateLanguageWindows)
    hooks.IterateLanguageWindows(CountWindow, &counter);
  RuntimeObject *window = counter.found ? &counter.found->header : nullptr;
  RuntimeLockObject(window);
  return window;
}

int32_t IsCMMClick() {
  GdkEvent *event = gtk_get_current_event();
  if (!event)
    return 0;
  const bool contextual = event->type == GDK_BUTTON_PRESS && event->button.button == 3;
  gdk_event_free(event);
  return contextual ? 1 : 0;
}

void GlobalShowURL(stringStorage *url) {
  if (void (*launch)(const string &) = GetUpperAreaHooks().launchURL)
    launch(string::Borrow(url));
}

// There are no such events on this platform: each answers nil.
RuntimeObject *newAppleEventObject(stringStorage *, stringStorage *, RuntimeObject *) {
  return nullptr;
}
RuntimeObject *getAppleEventTarget(stringStorage *, int32_t) { return nullptr; }
RuntimeObject *newAppleEventTarget(stringStorage *, int32_t, int32_t, int32_t) { return nullptr; }

// Runs what is ready and never waits for the next event: with no source
// left (a console program, a Timer's Action that is the only one) that wait
// would never end, and with a slow timer elsewhere every call would last its
// period. Only modal loops, which wait for their own end, may block.
void RuntimeDoEvents(RuntimeObject *, int32_t milliseconds) {
  ReadyEvents();
  if (milliseconds >= 0)
    ThreadSleep(milliseconds);
}

int32_t WindowToWindowPtr(RuntimeView *) { return 0; }

void RuntimeBackgroundTask() {
  uint32_t now = QV::TickCount();
  if (now == sLastRunTick)
    return;
  sLastRunTick = now;
  TriggerBackgroundTasks();
  if (now < sLastStopCheckTick || now > sLastStopCheckTick + kStopCheckTicks) {
    CheckCommandStop();
    sLastStopCheckTick = now;
  }
  if (gDebugBuild) {
    NetIdle(true);
    PollPollableList();
  }
  sLastRunTick = QV::TickCount(); // time spent above is not a new tick
}

RuntimeObject *RuntimeControlFetch(RuntimeView *window, stringStorage *name) {
  if (!window || !window->controlMap)
    return nullptr;
  RuntimeObject *control = nullptr;
  window->controlMap->GetEntry(string::Borrow(name), &control);
  return control;
}

RuntimeObject *RuntimeControlReference(RuntimeView *window, stringStorage *name) {
  RuntimeObject *control = RuntimeControlFetch(window, name);
  RuntimeLockObject(control);
  return control;
}

RuntimeObject *RuntimeControlArrayItemReference(RuntimeView *window, stringStorage *name,
                                                int32_t index) {
  string key = string::Borrow(name);
  key += "$";
  key += std::to_string(index).c_str();
  return RuntimeControlReference(window, key.Storage());
}

const unsigned char *StringToPString(stringStorage *s) { return stringStorage::PString(s); }
const char *StringToCString(stringStorage *s) { return stringStorage::CString(s); }
uint32_t StringToOSType(stringStorage *s) { return StringToMacType(string::Borrow(s)); }
int32_t RuntimeShortToInteger(int32_t value) { return static_cast<int16_t>(value); }
void lineTrace() {}

int32_t ObjectIsa(RuntimeObject *object, ObjectDefinition *defn) {
  return RuntimeObjectIsa(object, defn ? LookupObjectDefinition(defn) : nullptr);
}

void InvalidateChangedBackdrops() {
  if (const WindowHooks &hooks = GetWindowHooks(); hooks.IterateLanguageWindows)
    hooks.IterateLanguageWindows(InvalidateIfBackdropChanged, nullptr);
}

} // extern "C"

void RegisterCommonFunctionExports() {
#define EXPORT(function) AddRelocEntry(#function, reinterpret_cast<void *>(function))
  EXPORT(ObjectIsa);
  EXPORT(InvalidateChangedBackdrops);
#undef EXPORT
}
