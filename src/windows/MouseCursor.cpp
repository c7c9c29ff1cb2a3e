#include "windows/MouseCursor.h"

#include <algorithm>

#include "foundation/AssertionAlert.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinition.h"

namespace {

void DisposeCursorRecord(RuntimeObject *object) {
  auto *o = reinterpret_cast<MouseCursorObject *>(object);
  DisposeMouseCursor(o->record);
  o->record = nullptr;
}

} // namespace

RuntimeObject *NewMouseCursorObject(MouseCursor *record) {
  RuntimeObject *object = CreateInstance(MouseCursorClass());
  if (object)
    reinterpret_cast<MouseCursorObject *>(object)->record = record;
  else
    DisposeMouseCursor(record);
  return object;
}

MouseCursor::~MouseCursor() {
  if (cursor)
    gdk_cursor_unref(cursor);
}

ObjectDefinition *MouseCursorClass() {
  static ObjectDefinition definition;
  if (definition.className.IsEmpty()) {
    definition.className = string("MouseCursor");
    definition.staticTables = 1;
    definition.objectSize = sizeof(MouseCursorObject);
    definition.destructor = DisposeCursorRecord;
  }
  return &definition;
}

MouseCursor *GetGTKCursor(GdkCursorType type) {
  auto *c = new MouseCursor;
  if (type != GDK_ARROW)
    c->cursor = gdk_cursor_new(type);
  return c;
}

MouseCursor *GetStandardCursor(int32_t) { return new MouseCursor; }

MouseCursor *GetCustomCursor(int32_t id, char) {
  if (id != 6601)
    return nullptr;
  auto *c = new MouseCursor;
  c->cursor = gdk_cursor_new(GDK_SB_H_DOUBLE_ARROW);
  return c;
}

void DisposeMouseCursor(MouseCursor *c) { delete c; }

void EstablishCursor(MouseCursor *) {}

MouseCursor *ShowStandardCursor() {
  static MouseCursor *standard = GetStandardCursor(0);
  EstablishCursor(standard);
  return standard;
}

void ShowWaitCursor() {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/mouseCursor", 324, "0",
                           nullptr);
}

MouseCursor *MakeCursorFromResource(const uint8_t *data, int32_t length, int32_t id) {
  constexpr int32_t kCursorBytes = 68;
  if (!data || length < kCursorBytes)
    return nullptr;
  // X bitmaps take the leftmost pixel from the least significant bit.
  char bits[64];
  for (int i = 0; i < 64; ++i) {
    uint8_t b = data[i], r = 0;
    for (int k = 0; k < 8; ++k)
      r = static_cast<uint8_t>(r | ((b >> k) & 1) << (7 - k));
    bits[i] = static_cast<char>(r);
  }
  GdkPixmap *image = gdk_bitmap_create_from_data(nullptr, bits, 16, 16);
  GdkPixmap *mask = gdk_bitmap_create_from_data(nullptr, bits + 32, 16, 16);
  GdkColor black{0, 0, 0, 0}, white{0, 0xFFFF, 0xFFFF, 0xFFFF};
  // A hot spot off the 16 x 16 image makes X refuse the cursor, and GDK ends
  // the process over that refusal: it is held to the image's edge.
  int hotX = std::clamp(data[64] << 8 | data[65], 0, 15);
  int hotY = std::clamp(data[66] << 8 | data[67], 0, 15);
  auto *c = new MouseCursor;
  c->cursor = gdk_cursor_new_from_pixmap(image, mask, &black, &white, hotX, hotY);
  c->id = id;
  g_object_unref(image);
  g_object_unref(mask);
  return c;
}

extern "C" RuntimeObject *getArrowCursor() { return NewMouseCursorObject(GetGTKCursor(GDK_ARROW)); }
extern "C" RuntimeObject *getWatchCursor() { return NewMouseCursorObject(GetGTKCursor(GDK_WATCH)); }
extern "C" RuntimeObject *getIBeamCursor() { return NewMouseCursorObject(GetGTKCursor(GDK_XTERM)); }
