/* What the image's three windows share: their implicit instances, making
 * their controls, and the start of a control's event handler. */
#ifndef WINDOW_SUPPORT_H
#define WINDOW_SUPPORT_H

#include "ClassBuilding.h"
#include "PropertyStream.h"
#include "Tavrin.h"

/* The live window of that class, or a new one (one reference). */
RuntimeObject *ImplicitWindow(stringStorage *className, RuntimeClass *cls);

/* Creates a control of the class for the window, adds it under name and
 * answers it fetched back by name (one reference). */
RuntimeObject *NewControl(RuntimeObject *window, stringStorage *className, stringStorage *name);

/* The records every control of the image starts with: no control array,
 * its place, and visible, enabled and deactivating with its window. */
void StreamControlFrame(PropertyStream *stream, int32_t left, int32_t top, int32_t width,
                        int32_t height);

/* The control's text in the system font at that size. */
void StreamSystemFont(PropertyStream *stream, int32_t size);

/* Which of the control's sides stay at their distance from the window's
 * (a non-zero argument locks that side). */
void StreamLocks(PropertyStream *stream, int32_t left, int32_t top, int32_t right,
                 int32_t bottom);

/* A window's title, size and limits (its maximum 32000 × 32000), white
 * background, menu bar and close box. */
void StreamWindowFrame(PropertyStream *stream, stringStorage *title, int32_t width, int32_t height,
                       int32_t minimumWidth, int32_t minimumHeight);

/* A window subclass's tables: Layout and CreateControls handled, and the
 * methods written after the base's. */
RuntimeClass *NewWindowClass(ClassCounts counts, ClassCounts own, stringStorage *name,
                             int32_t instanceSize, void (*destructor)(RuntimeObject *),
                             void *layout, void *createControls);

/* A control's handler runs as a method of the control's window: self
 * becomes the window (with a reference, which the handler's end drops). */
#define WINDOW_HANDLER_ENTER(control)                                                              \
  RuntimeObject *self = (control), *me = 0;                                                        \
  KIT_ENTER();                                                                                     \
  KIT_HOLD_OBJECT(control);                                                                        \
  RuntimeExchangeSelfAndMe(&self, &me)
#define WINDOW_HANDLER_RELEASE(control)                                                            \
  do {                                                                                             \
    if (self != (control))                                                                         \
      RuntimeUnlockObject(self);                                                                   \
    KIT_RELEASE_HELD_OBJECT(control);                                                              \
  } while (0)

enum { kNoControlArray = (int32_t)0x80000000, kStaticTextTextOffset = 112 };

#endif
