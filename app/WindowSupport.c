#include "WindowSupport.h"

#include "ClassBuilding.h"

RuntimeObject *ImplicitWindow(stringStorage *className, RuntimeClass *cls) {
  RuntimeObject *window = 0, *result = 0;
  KIT_ENTER();
  KIT_TAKE_OBJECT(window, RuntimeGetImplicitWindow(className));
  if (!window) {
    KIT_TAKE_OBJECT(window, RuntimeNewObject(cls));
    KIT_CHECK_NIL(window);
    WindowDefaultConstructor(window);
  }
  result = RuntimeCheckCast(window, cls);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_END();
  return result;
}

RuntimeObject *NewControl(RuntimeObject *window, stringStorage *className, stringStorage *name) {
  RuntimeObject *control = 0, *result = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(window);
  KIT_CHECK_NIL(window);
  KIT_TAKE_OBJECT(control, WindowAllocateObject(window, RuntimeLookupClass(className)));
  KIT_CHECK_NIL(control);
  RectControlDefaultConstructor(control);
  WindowAddControl(window, name, control);
  result = RuntimeControlReference(window, name);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(window);
  KIT_END();
  return result;
}

void StreamControlFrame(PropertyStream *stream, int32_t left, int32_t top, int32_t width,
                        int32_t height) {
  StreamNumber(stream, "Index", kNoControlArray);
  StreamNumber(stream, "Left", left);
  StreamNumber(stream, "Top", top);
  StreamNumber(stream, "Width", width);
  StreamNumber(stream, "Height", height);
  StreamNumber(stream, "Visible", 1);
  StreamNumber(stream, "Enabled", 1);
  StreamNumber(stream, "AutoDeactivate", 1);
}

void StreamSystemFont(PropertyStream *stream, int32_t size) {
  StreamText(stream, "TextFont", KIT_STRING("System"));
  StreamNumber(stream, "TextSize", size);
}

void StreamLocks(PropertyStream *stream, int32_t left, int32_t top, int32_t right,
                 int32_t bottom) {
  if (left)
    StreamNumber(stream, "LockLeft", 1);
  if (top)
    StreamNumber(stream, "LockTop", 1);
  if (right)
    StreamNumber(stream, "LockRight", 1);
  if (bottom)
    StreamNumber(stream, "LockBottom", 1);
}

void StreamWindowFrame(PropertyStream *stream, stringStorage *title, int32_t width, int32_t height,
                       int32_t minimumWidth, int32_t minimumHeight) {
  StreamText(stream, "Title", title);
  StreamNumber(stream, "Width", width);
  StreamNumber(stream, "Height", height);
  StreamNumber(stream, "MinWidth", minimumWidth);
  StreamNumber(stream, "MinHeight", minimumHeight);
  StreamNumber(stream, "MaxWidth", 32000);
  StreamNumber(stream, "MaxHeight", 32000);
  StreamNumber(stream, "BackColor", 0xFFFFFF);
  StreamNumber(stream, "MenuBarVisible", 1);
  StreamNumber(stream, "CloseBox", 1);
}

RuntimeClass *NewWindowClass(ClassCounts counts, ClassCounts own, stringStorage *name,
                             int32_t instanceSize, void (*destructor)(RuntimeObject *),
                             void *layout, void *createControls) {
  RuntimeClass *cls = NewImageClass(RuntimeLookupClass(KIT_STRING("Window")), counts, own, name,
                                    instanceSize, destructor);
  if (!cls)
    return 0;
  HandleInheritedEvent(cls, "Layout", layout);
  HandleInheritedEvent(cls, "CreateControls", createControls);
  return cls;
}
