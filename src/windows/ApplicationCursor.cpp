// The application's cursor, read from the registered application object.
#include "runtime/application/ApplicationObject.h"
#include "windows/MouseCursor.h"
#include "windows/RunLoopRegisters.h"

bool ApplicationMouseCursor(MouseCursor **record) {
  if (!gApplicationObject)
    return false;
  RuntimeObject *cursor = AsApplication(gApplicationObject)->mouseCursor;
  if (!cursor)
    return false;
  *record = reinterpret_cast<MouseCursorObject *>(cursor)->record;
  return true;
}
