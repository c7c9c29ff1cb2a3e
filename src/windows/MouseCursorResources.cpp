// The resource manager's cursors: a 'CURS' resource becomes a MouseCursor
// object.
#include "runtime/image/ResourceManager.h"
#include "windows/MouseCursor.h"

RuntimeObject *ResourceManagerElf::GetCursor(int16_t id) {
  ResourceEntry entry = GetResource(FourCharCode("CURS"), id);
  MouseCursor *record = MakeCursorFromResource(entry.data, entry.length, id);
  if (!record)
    return nullptr; // absent, or too short to be a cursor
  return NewMouseCursorObject(record);
}

extern "C" RuntimeObject *RuntimeGetCursorFromResourceManager(int32_t id) {
  return gResourceManager.GetCursor(int16_t(id));
}
