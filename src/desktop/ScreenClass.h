// The Screen class of the language and the global functions ScreenCount and
// Screen: a Screen object is a snapshot of the display's size and depth.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct ScreenObject {
  RuntimeObject header;
  int32_t left, top, width, height, depth;
  int32_t availableLeft, availableTop, availableWidth, availableHeight;
};
static_assert(sizeof(ScreenObject) == 60);
static_assert(offsetof(ScreenObject, left) == 24);
static_assert(offsetof(ScreenObject, depth) == 40);
static_assert(offsetof(ScreenObject, availableLeft) == 44);
static_assert(offsetof(ScreenObject, availableHeight) == 56);

ObjectDefinition *ScreenClass();

extern "C" {
int32_t getScreenCount();
// A new Screen for index 0; nil for any other index or without a display.
RuntimeObject *getScreen(int32_t index);
int32_t screenLeftGetter(RuntimeObject *screen);
int32_t screenTopGetter(RuntimeObject *screen);
int32_t screenWidthGetter(RuntimeObject *screen);
int32_t screenHeightGetter(RuntimeObject *screen);
int32_t screenDepthGetter(RuntimeObject *screen);
}
