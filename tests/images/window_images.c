#include "window_images.h"

#include "../../app/PropertyStream.h"

void WindowDefaultConstructor(RuntimeObject *window);

RuntimeClass *WindowSubclassHandling(stringStorage *className, void *layout, const char *event1,
                                     void *handler1, const char *event2, void *handler2) {
  RuntimeClass *cls = SubclassOf(KIT_STRING("Window"));
  if (!cls)
    return 0;
  cls->name = RuntimeLockString(className);
  if (!HandleEvent(cls, "Layout", layout) || (event1 && !HandleEvent(cls, event1, handler1)) ||
      (event2 && !HandleEvent(cls, event2, handler2)))
    return 0;
  return cls;
}

void LayOutWindow(RuntimeObject *window, stringStorage *title, int32_t width, int32_t height) {
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(window);
  StreamBegin(&stream, window);
  StreamText(&stream, "Title", title);
  StreamNumber(&stream, "Width", width);
  StreamNumber(&stream, "Height", height);
  StreamNumber(&stream, "HasBackColor", 1);
  StreamNumber(&stream, "BackColor", 0xFFFFFF);
  StreamNumber(&stream, "CloseBox", 1);
  StreamNumber(&stream, "Visible", 1);
  StreamApply(&stream);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(window);
  KIT_END();
}

void RunWithWindow(RuntimeClass *windowClass) {
  RuntimeObject *app = 0, *window = 0;
  RuntimeClass *appClass;
  KIT_ENTER();
  appClass = SubclassOf(KIT_STRING("Application"));
  if (!appClass || !windowClass) {
    KitFailedCheck(1, "the Application class, and the Window class with its events");
    KIT_LEAVE();
  }
  KIT_TAKE_OBJECT(app, RuntimeNewObject(appClass));
  AppAutoCloseSetter(app, 0, 1);
  RuntimeRegisterAppObject(app);
  KIT_TAKE_OBJECT(window, RuntimeNewObject(windowClass));
  KIT_CHECK_NIL(window);
  WindowDefaultConstructor(window);
  RuntimeRun();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}

void AppendNumber(char *line, int32_t *n, int32_t value) {
  char digits[12];
  int32_t count = 0;
  if (value < 0) {
    line[(*n)++] = '-';
    value = -value;
  }
  do {
    digits[count++] = (char)('0' + value % 10);
    value /= 10;
  } while (value);
  while (count)
    line[(*n)++] = digits[--count];
}

void SayLine(const char *text) {
  KitWriteError(text);
  KitWriteError("\n");
}
