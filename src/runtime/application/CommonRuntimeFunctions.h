// Small entry points that compiled code calls directly: clocks, the yield
// point of compiled loops, numbers as text in bases 16, 8 and 2, DoEvents,
// theme colours, the application object, window and control lookups, and
// the byte forms of strings older interfaces expect.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// Microseconds on a 64-bit monotonic clock: grows with wall-clock time,
// also while the process waits, and does not wrap.
int64_t MonotonicMicroseconds();

uint32_t StringToMacType(const string &text); // files: the four-character code
extern bool gDebugBuild; // a debug build: set by DebugRuntimeInit (the debugger area)

extern "C" {
int32_t RuntimeTicks();
double RuntimeMicroseconds();
void RuntimeBeep();
stringStorage *RuntimeHex(int32_t value);
stringStorage *RuntimeOct(int32_t value);
stringStorage *RuntimeBin(int32_t value);
int32_t getUserCancelled();
uint32_t getFrameColor();
uint32_t getFillColor();
uint32_t getTextColor();
uint32_t getLightTingeColor();
uint32_t getDarkTingeColor();
uint32_t getLightBevelColor();
uint32_t getDarkBevelColor();
uint32_t getHilightColor();
RuntimeObject *getAppObject(); // one reference added; nil when none
RuntimeObject *getSystemObject();
int32_t getWindowCount();
RuntimeObject *getWindow(int32_t index);
int32_t IsCMMClick();
void GlobalShowURL(stringStorage *url);
RuntimeObject *newAppleEventObject(stringStorage *, stringStorage *, RuntimeObject *);
RuntimeObject *getAppleEventTarget(stringStorage *, int32_t);
RuntimeObject *newAppleEventTarget(stringStorage *, int32_t, int32_t, int32_t);

void RuntimeDoEvents(RuntimeObject *app, int32_t milliseconds);
int32_t WindowToWindowPtr(RuntimeView *window);

// The yield point of compiled loops: runs the due background tasks at most
// once per tick.
void RuntimeBackgroundTask();
RuntimeObject *RuntimeControlFetch(RuntimeView *window, stringStorage *name);
RuntimeObject *RuntimeControlReference(RuntimeView *window, stringStorage *name);
RuntimeObject *RuntimeControlArrayItemReference(RuntimeView *window, stringStorage *name,
                                                int32_t index);
const unsigned char *StringToPString(stringStorage *s);
const char *StringToCString(stringStorage *s);
uint32_t StringToOSType(stringStorage *s);
int32_t RuntimeShortToInteger(int32_t value);
void lineTrace();
int32_t ObjectIsa(RuntimeObject *object, ObjectDefinition *defn);
void InvalidateChangedBackdrops();
}

// Joins the entry points that have no fixed row to the export table by name.
void RegisterCommonFunctionExports();
