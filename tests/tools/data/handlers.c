/* Kit functions whose handler records the unwinder must reach from every
 * call: a catch-all and nested protected regions. */
#include "CompiledCode.h"

void Work(RuntimeObject *object);

int32_t Protected(RuntimeObject *self, stringStorage *text) {
  int32_t result = 0;
  RuntimeObject *outer = 0, *inner = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(text);
  KIT_CHECK_NIL(self);
  Work(self);
  KIT_TRY(outer) {
    Work(self);
    KIT_TRY(inner) { Work(self); }
    KIT_CATCH(inner) { Work(inner); }
    KIT_END_TRY();
    Work(self);
  }
  KIT_CATCH(outer) {
    result = -1;
    Work(outer);
  }
  KIT_END_TRY();
  if (!text)
    KIT_LEAVE();
  Work(self);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(outer);
  KIT_RELEASE_OBJECT(inner);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(text);
  KIT_END();
  return result;
}

void ImageEntry(void) {
  void (*indirect)(RuntimeObject *, stringStorage *) =
      (void (*)(RuntimeObject *, stringStorage *))Protected;
  indirect(0, 0);
}
