#ifndef RUNTIME_CLASSES_H
#define RUNTIME_CLASSES_H
/* Subclasses of built-in classes (Application, Timer) made the way compiled
 * code makes them: the base looked up by name, its tables copied, and the
 * events the program handles pointed at its handlers. */
#include "RuntimeClasses.h"

/* Whether the string holds exactly the text (nil holds ""). */
int32_t TextIs(stringStorage *s, const char *text);

/* A subclass of the built-in class of that name, with no handlers yet; nil
 * when the runtime has no such class. */
RuntimeClass *SubclassOf(stringStorage *baseName);
/* Points the event of that name at the handler; answers whether the class
 * declares the event. */
int32_t HandleEvent(RuntimeClass *cls, const char *eventName, void *handler);

/* The code of the (virtual or static) method whose link name is exactly linkName (for example
 * "Run%%o<Thread>"), as compiled code calls a built-in method through its
 * class; nil when the class has none. */
void *MethodCode(RuntimeClass *cls, const char *linkName);
/* The property entry of that name and type code ("StackSize%i"); nil when the class has none. */
PropertyEntry *PropertyNamed(RuntimeClass *cls, const char *name);

/* A new object (one reference) of an Application subclass handling the two
 * events; nil when the class or an event is missing. */
RuntimeObject *NewApplicationHandling(const char *firstEvent, void *first, const char *secondEvent,
                                      void *second);

/* What an application image calls to register itself and run. */
void RuntimeInit(void);
void RuntimeRegisterAppObject(RuntimeObject *app);
void RuntimeRun(void);
void AppAutoCloseSetter(RuntimeObject *app, int32_t param, int32_t value);
void timerPeriodSetter(RuntimeObject *timer, int32_t param, int32_t period);
void timerModeSetter(RuntimeObject *timer, int32_t param, int32_t mode);

#endif
