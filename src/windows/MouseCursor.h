// Mouse cursors: the native record that panes point to, and the language's
// MouseCursor class whose objects own one record each.
#pragma once
#include <cstddef>
#include <cstdint>

#include <gdk/gdk.h>

#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;

struct MouseCursor {
  MouseCursor() = default;
  ~MouseCursor();
  MouseCursor(const MouseCursor &) = delete;
  MouseCursor &operator=(const MouseCursor &) = delete;

  GdkCursor *cursor = nullptr; // nil: the default arrow
  int32_t id = 0;              // the resource id of a cursor made from bitmaps
};

// The language object: the header and its owned record.
struct MouseCursorObject {
  RuntimeObject header;
  MouseCursor *record;
};
static_assert(sizeof(MouseCursorObject) == 28);
static_assert(offsetof(MouseCursorObject, record) == 24);

ObjectDefinition *MouseCursorClass();
// A MouseCursor object owning the record, with one reference.
RuntimeObject *NewMouseCursorObject(MouseCursor *record);

MouseCursor *GetGTKCursor(GdkCursorType type);
MouseCursor *GetStandardCursor(int32_t which);
MouseCursor *GetCustomCursor(int32_t id, char unused);
void DisposeMouseCursor(MouseCursor *c);
void EstablishCursor(MouseCursor *c);
MouseCursor *ShowStandardCursor();
void ShowWaitCursor();

// A cursor resource's bitmaps made into a record with that id; nil when the
// data is too short to hold a cursor.
MouseCursor *MakeCursorFromResource(const uint8_t *data, int32_t length, int32_t id);

extern "C" RuntimeObject *getArrowCursor();
extern "C" RuntimeObject *getWatchCursor();
extern "C" RuntimeObject *getIBeamCursor();
