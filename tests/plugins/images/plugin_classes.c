/* Uses the classes of the "classes" fixture plug-in as compiled code does:
 * finds them by name in any letter case, creates objects (the plug-in's
 * initializers run), subclasses a plug-in class, calls its methods and
 * accessors through the plug-in entry-point table, creates a plug-in
 * control, and releases everything (the finalizers run). When every check
 * held it returns, so that the exit tasks close the plug-in; otherwise it
 * ends at once with the number of the first check that failed as its exit
 * status, and names the check on standard error. */
#include "CompiledCode.h"
#include "RuntimeClasses.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void RuntimeInit(void);
void *RuntimeLookupPluginEntrypoint(stringStorage *key);
int32_t intGetter(RuntimeObject *object, int32_t offset);
void intSetter(RuntimeObject *object, int32_t offset, int32_t value);

/* Counter's data (Count, Step) follows the object header; LoudCounter's
 * after Counter's; a control's at 104, after the word at 100 that points to
 * the plug-in's control record. */
enum {
  kCountOffset = 24,
  kStepOffset = 28,
  kCounterSize = 32,
  kLoudSize = 36,
  kGaugeSize = 112,
  kEnabledOffset = 49,
  kControlRecordWord = 100,
  kLevelOffset = 104,
};

static int32_t sFailedCheck;

static void Check(int32_t number, const char *what, int32_t holds) {
  if (!holds && !sFailedCheck)
    sFailedCheck = KitFailedCheck(number, what);
}

typedef int32_t (*AddFunction)(RuntimeObject *self, int32_t n);
typedef int32_t (*GetFunction)(RuntimeObject *self);
typedef int32_t (*TwiceFunction)(int32_t x);

static void CheckClasses(void) {
  RuntimeClass *counter = RuntimeLookupClass(KIT_STRING("counter"));
  RuntimeClass *loud = RuntimeLookupClass(KIT_STRING("LOUDCOUNTER"));
  RuntimeClass *gauge = RuntimeLookupClass(KIT_STRING("gAuGe"));
  RuntimeClass *sub;
  RuntimeObject *loudObject, *subObject, *gaugeObject;
  AddFunction add;
  GetFunction doubled;
  TwiceFunction twice;

  Check(1, "the plug-in's classes and control are found in any case", counter && loud && gauge);
  if (!counter || !loud || !gauge)
    return;
  Check(2, "instance sizes: Counter, LoudCounter after Counter, Gauge after the control",
        counter->instanceSize == kCounterSize && loud->instanceSize == kLoudSize &&
            gauge->instanceSize == kGaugeSize && loud->base == counter);

  add = (AddFunction)RuntimeLookupPluginEntrypoint(KIT_STRING("Counter.Add(n As Integer) As Integer"));
  doubled = (GetFunction)RuntimeLookupPluginEntrypoint(KIT_STRING("counter.doubled.get"));
  twice = (TwiceFunction)RuntimeLookupPluginEntrypoint(KIT_STRING("Twice(x As Integer) As Integer"));
  Check(3, "the entry-point table has the method, the accessor and the global method",
        add && doubled && twice);
  if (!add || !doubled || !twice)
    return;
  Check(4, "the global method", twice(21) == 42);

  loudObject = RuntimeNewObject(loud);
  Check(5, "Counter's initializer ran for a LoudCounter",
        loudObject && intGetter(loudObject, kStepOffset) == 1);
  if (loudObject) {
    intSetter(loudObject, kStepOffset, 3);
    Check(6, "the plug-in's method and getter on the object",
          add(loudObject, 2) == 6 && intGetter(loudObject, kCountOffset) == 6 &&
              doubled(loudObject) == 12);
    RuntimeUnlockObject(loudObject);
  }

  /* A class of the program that derives from Counter keeps its own field
   * after Counter's data. */
  sub = RuntimeNewClass(counter, counter->methodCount, counter->interfaceCount, counter->eventCount,
                        counter->staticMethodCount, counter->propertyCount);
  if (sub) {
    sub->name = KIT_STRING("ProgramCounter");
    sub->instanceSize = counter->instanceSize + 4;
  }
  subObject = sub ? RuntimeNewObject(sub) : 0;
  Check(7, "a subclass of a plug-in class", subObject != 0);
  if (subObject) {
    intSetter(subObject, kCounterSize, 99);
    add(subObject, 5);
    Check(8, "the subclass's field lies after the plug-in class's data",
          intGetter(subObject, kCounterSize) == 99 && intGetter(subObject, kCountOffset) == 5);
    RuntimeUnlockObject(subObject);
  }

  gaugeObject = RuntimeNewObject(gauge);
  Check(9, "a plug-in control is created", gaugeObject != 0);
  if (gaugeObject) {
    Check(10, "the control's initializer set Enabled and its record word",
          ((uint8_t *)gaugeObject)[kEnabledOffset] == 1 &&
              *(void **)((char *)gaugeObject + kControlRecordWord) != 0);
    intSetter(gaugeObject, kLevelOffset, 7);
    Check(11, "the control's own data", intGetter(gaugeObject, kLevelOffset) == 7);
    RuntimeUnlockObject(gaugeObject);
  }
}

void ImageEntry(void) {
  KIT_ENTER();
  RuntimeInit();
  CheckClasses();
  KIT_CATCH_ALL();
  KIT_END();
  if (sFailedCheck)
    _exit(sFailedCheck);
}
