// The application object: an instance of the built-in Application class (or
// of the image's subclass of it), registered once and kept for the run.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/StringMap.h"
#include "runtime/objects/RuntimeObject.h"

struct ApplicationObject {
  RuntimeObject header;
  RuntimeObject *mouseCursor; // MouseCursor property
  RuntimeObject *mdiWindow;   // MDIWindow property
  uint8_t balloonHelpVisible; // BalloonHelpVisible property
  uint8_t quitting;           // a quit test is running
  uint8_t align34[2];
  RuntimeObject *menuBar;          // MenuBar property
  StringMap<void *> *menuHandlers; // menu-item name to handler; nil until the first
  uint8_t autoQuit;                // AutoQuit property
  uint8_t align45[3];
  int32_t reserved48;
};
constexpr int32_t kApplicationInstanceSize = 52;
static_assert(sizeof(ApplicationObject) == kApplicationInstanceSize);
static_assert(offsetof(ApplicationObject, mouseCursor) == 24);
static_assert(offsetof(ApplicationObject, mdiWindow) == 28);
static_assert(offsetof(ApplicationObject, balloonHelpVisible) == 32);

// The registered application object with the registration's reference, or
// nil; the Application finaliser clears it when that object dies.
extern RuntimeObject *gApplicationObject;

inline ApplicationObject *AsApplication(RuntimeObject *object) {
  return reinterpret_cast<ApplicationObject *>(object);
}
