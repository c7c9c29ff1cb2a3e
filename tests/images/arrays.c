/* Arrays driven through their method tables the way compiled code drives
 * them. Reports through the exit status: 42 when every check held, otherwise
 * 128 plus one bit per failed check:
 *   1  per element type: created empty, 17 Inserts leave a 48-element buffer
 *      and a growth step of 64, Remove shrinks to fit, Redim both ways
 *   2  Get(-1) raises OutOfBoundsException into a protected region, for one
 *      and for two dimensions
 *   4  two dimensions lie first index fastest; Redim keeps index tuples
 *   8  UBound, Sort, IndexOf and Shuffle
 *  16  the cast wrapper forwards and refuses an object of another class
 *  32  every string and object reference count is back where it started */
#include "CompiledCode.h"
#include "class_names.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

typedef struct RuntimeArray {
  int32_t refCount;
  void *(*methods)[16];
  char *buffer;
  int32_t dimensions;
  int32_t bufferLength;
  int32_t growthStep;
  int32_t upperBounds[];
} RuntimeArray;
_Static_assert(sizeof(RuntimeArray) == 24, "array record");

enum {
  kGet = 0,
  kSet = 1,
  kRedim = 4,
  kInsert = 5,
  kRemove = 6,
  kSort = 7,
  kIndexOf = 8,
  kShuffle = 9
};

RuntimeArray *CreateArray(int32_t dimensions, int32_t elementType, ...);
void RuntimeUnlockArray(RuntimeArray *array);
int32_t RuntimeUBound(RuntimeArray *array);
int32_t RuntimeUBound2Param(RuntimeArray *array, int32_t dimension);
RuntimeArray *RuntimeCreateArrayCastWrapper(RuntimeArray *array, void *elementClass);
void *RuntimeNewClass(void *base, int32_t methods, int32_t interfaces, int32_t events,
                      int32_t staticMethods, int32_t properties);
RuntimeObject *RuntimeNewObject(void *cls);

#define SLOT(array, slot) ((*(array)->methods)[slot])

/* Inserts k into an array of the element type; strings and objects are the
 * same value each time. */
static void InsertValue(RuntimeArray *a, int32_t type, int32_t index, int32_t k, void *value) {
  switch (type) {
  case 1:
    ((void (*)(RuntimeArray *, int32_t, float))SLOT(a, kInsert))(a, index, (float)k);
    break;
  case 2:
    ((void (*)(RuntimeArray *, int32_t, double))SLOT(a, kInsert))(a, index, k);
    break;
  case 3:
  case 4:
    ((void (*)(RuntimeArray *, int32_t, void *))SLOT(a, kInsert))(a, index, value);
    break;
  default:
    ((void (*)(RuntimeArray *, int32_t, int32_t))SLOT(a, kInsert))(a, index, k);
  }
}

static int32_t GrowAndShrink(int32_t type, int32_t width, void *value) {
  int32_t ok = 1, k;
  RuntimeArray *a = CreateArray(1, type, -1);
  ok = ok && a && a->buffer == 0 && RuntimeUBound(a) == -1;
  for (k = 0; k < 17; ++k)
    InsertValue(a, type, k, k, value);
  ok = ok && a->bufferLength == 48 * width && a->growthStep == 64 && RuntimeUBound(a) == 16;
  ((void (*)(RuntimeArray *, int32_t))SLOT(a, kRemove))(a, 16);
  ok = ok && a->bufferLength == 16 * width && a->growthStep == 16 && RuntimeUBound(a) == 15;
  ((void (*)(RuntimeArray *, int32_t))SLOT(a, kRedim))(a, 30);
  ok = ok && RuntimeUBound(a) == 30 && a->bufferLength == 31 * width;
  ((void (*)(RuntimeArray *, int32_t))SLOT(a, kRedim))(a, 3);
  ok = ok && RuntimeUBound(a) == 3 && a->bufferLength == 4 * width;
  if (type == 0)
    ok = ok && ((int32_t *)a->buffer)[3] == 3;
  if (type == 2)
    ok = ok && ((double *)a->buffer)[3] == 3.0;
  RuntimeUnlockArray(a);
  return ok;
}

static int32_t GetBelowZeroRaises(RuntimeArray *a) {
  int32_t caught = 0, unreached = 0;
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_TRY(error) {
    if (a->dimensions == 1)
      ((int32_t(*)(RuntimeArray *, int32_t))SLOT(a, kGet))(a, -1);
    else
      ((int32_t(*)(RuntimeArray *, ...))SLOT(a, kGet))(a, -1, 0);
    unreached = 1;
  }
  KIT_CATCH(error) { caught = ClassNameIs(error, "OutOfBoundsException") && error->refCount == 1; }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
  return caught && !unreached;
}

static int32_t TwoDimensions(stringStorage *text) {
  int32_t ok;
  RuntimeArray *a = CreateArray(2, 3, 1, 2);
  void (*set)(RuntimeArray *, stringStorage *, ...) =
      (void (*)(RuntimeArray *, stringStorage *, ...))SLOT(a, kSet);
  stringStorage **cells;
  set(a, text, 1, 0);
  set(a, text, 0, 2);
  cells = (stringStorage **)a->buffer;
  ok = cells[1] == text && cells[4] == text && RuntimeUBound2Param(a, -1) == 2;
  ((void (*)(RuntimeArray *, ...))SLOT(a, kRedim))(a, 2, 1);
  cells = (stringStorage **)a->buffer;
  /* a(1, 0) keeps its tuple at linear 1; a(0, 2) is cut off. */
  ok = ok && cells[1] == text && RuntimeUBound2Param(a, 1) == 2 && RuntimeUBound2Param(a, 2) == 1;
  ok = ok && GetBelowZeroRaises(a);
  RuntimeUnlockArray(a);
  return ok;
}

static int32_t SortSearchShuffle(void) {
  int32_t ok, *e, i, sum = 0;
  RuntimeArray *a = CreateArray(1, 0, 3);
  void (*set)(RuntimeArray *, int32_t, int32_t) =
      (void (*)(RuntimeArray *, int32_t, int32_t))SLOT(a, kSet);
  set(a, 3, 0);
  set(a, 1, 1);
  set(a, 2, 2);
  set(a, 1, 3);
  ((void (*)(RuntimeArray *))SLOT(a, kSort))(a);
  e = (int32_t *)a->buffer;
  ok = e[0] == 1 && e[1] == 1 && e[2] == 2 && e[3] == 3;
  ok = ok && ((int32_t(*)(RuntimeArray *, int32_t, int32_t))SLOT(a, kIndexOf))(a, 2, -1) == 2;
  ((void (*)(RuntimeArray *))SLOT(a, kShuffle))(a);
  for (i = 0; i < 4; ++i)
    sum += e[i];
  ok = ok && sum == 7 && RuntimeUBound2Param(a, 1) == 3;
  RuntimeUnlockArray(a);
  return ok;
}

static int32_t CastWrapperRefusesOthers(RuntimeObject *fit, void *fitClass, RuntimeObject *misfit) {
  int32_t ok, refused = 0;
  RuntimeObject *error = 0;
  RuntimeArray *a = CreateArray(1, 4, -1);
  RuntimeArray *w = RuntimeCreateArrayCastWrapper(a, fitClass);
  KIT_ENTER();
  ((void (*)(RuntimeArray *, int32_t, RuntimeObject *))SLOT(w, kInsert))(w, 0, fit);
  ok = w != a && RuntimeUBound(w) == 0 && w->buffer == a->buffer;
  KIT_TRY(error) {
    ((void (*)(RuntimeArray *, int32_t, RuntimeObject *))SLOT(w, kInsert))(w, 1, misfit);
  }
  KIT_CATCH(error) { refused = ClassNameIs(error, "IllegalCastException"); }
  KIT_END_TRY();
  ok = ok && refused && RuntimeUBound(a) == 0;
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  RuntimeUnlockArray(w);
  RuntimeUnlockArray(a);
  KIT_END();
  return ok;
}

void ImageEntry(void) {
  int32_t failed = 0, type;
  const int32_t widths[5] = {4, 4, 8, 4, 4};
  stringStorage *text = KIT_STRING("element");
  const int32_t textCount = text->referenceCount;
  void *fitClass = RuntimeNewClass(0, 0, 0, 0, 0, 0);
  void *otherClass = RuntimeNewClass(0, 0, 0, 0, 0, 0);
  RuntimeObject *fit, *misfit;
  ((int32_t *)fitClass)[3] = 24; /* instanceSize */
  ((int32_t *)otherClass)[3] = 24;
  fit = RuntimeNewObject(fitClass);
  misfit = RuntimeNewObject(otherClass);

  for (type = 0; type < 5; ++type)
    if (!GrowAndShrink(type, widths[type], type == 3 ? (void *)text : (void *)fit))
      failed |= KitFailedCheck(1, "per element type: 17 Inserts leave a 48-element buffer "
                                  "and a step of 64, Remove shrinks to fit, Redim both ways");
  {
    RuntimeArray *a = CreateArray(1, 0, 2);
    if (!GetBelowZeroRaises(a))
      failed |= KitFailedCheck(2, "Get(-1) raises OutOfBoundsException into a protected region");
    RuntimeUnlockArray(a);
  }
  if (!TwoDimensions(text))
    failed |= KitFailedCheck(4, "two dimensions lie first index fastest; Redim keeps index "
                                "tuples; Get(-1, 0) raises");
  if (!SortSearchShuffle())
    failed |= KitFailedCheck(8, "UBound, Sort, IndexOf and Shuffle");
  if (!CastWrapperRefusesOthers(fit, fitClass, misfit))
    failed |=
        KitFailedCheck(16, "the cast wrapper forwards and refuses an object of another class");
  if (text->referenceCount != textCount || fit->refCount != 1 || misfit->refCount != 1)
    failed |= KitFailedCheck(32, "every string and object reference count is back at its start");
  _exit(failed ? 128 | failed : 42);
}
