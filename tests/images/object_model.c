/* Builds a small class hierarchy the way compiled code does (RuntimeNewClass,
 * RuntimeNewVtable, then filling the records), creates, casts and releases
 * objects, calls through interface tables and fires events. Reports through
 * the exit status: 42 when every check held, otherwise the number of the
 * first check that failed, which it names on standard error. */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

MethodEntry *RuntimeNewVtable(int32_t count);
int32_t RuntimeObjectIsa(RuntimeObject *object, RuntimeClass *cls);
RuntimeObject *RuntimeCheckCast(RuntimeObject *object, RuntimeClass *cls);
MethodEntry *RuntimeLookupInterfaceVtable(RuntimeObject *object, RuntimeClass *iface);
int32_t intGetter(RuntimeObject *object, int32_t offset);
void intSetter(RuntimeObject *object, int32_t offset, int32_t value);
stringStorage *stringGetter(RuntimeObject *object, int32_t offset);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);
RuntimeObject *objGetter(RuntimeObject *object, int32_t offset);
RuntimeObject *RuntimeDebugInstance(void);
int32_t RuntimeDebugObjectCount(RuntimeObject *self, int32_t param);

/* Shape: mSides (24, Integer), mLabel (28, String); events Changed (0,
 * with an Integer) and Drawn (1). Square adds mScale (32, Integer), event
 * Resized (2), handles Changed, and implements Drawable (Area) and Named
 * (Name). Node: a list element whose destructor releases mNext (24). */
enum { kSidesOffset = 24, kLabelOffset = 28, kScaleOffset = 32, kNextOffset = 24 };

static RuntimeClass *sShapeClass, *sSquareClass, *sDrawableClass, *sNamedClass, *sNodeClass;
static int32_t sLog; /* digits appended in call order */
static int32_t sFailedCheck;

static void Check(int32_t number, const char *what, int32_t holds) {
  if (!holds && !sFailedCheck)
    sFailedCheck = KitFailedCheck(number, what);
}

static void Log(int32_t digit) { sLog = sLog * 10 + digit; }

/* Methods and handlers of the classes. */
void ShapeConstructor(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  Log(1);
  intSetter(self, kSidesOffset, 3);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void SquareConstructor(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  Log(2);
  intSetter(self, kSidesOffset, 4);
  intSetter(self, kScaleOffset, 1);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ShapeDestructorHook(RuntimeObject *self) { Log(3); }
void SquareDestructorHook(RuntimeObject *self) { Log(4); }

/* Releases the string field, as a compiled destructor does. */
void ShapeDestructor(RuntimeObject *self) {
  Log(5);
  stringSetter(self, kLabelOffset, 0);
}

void SquareDestructor(RuntimeObject *self) { Log(6); }

int32_t SquareArea(RuntimeObject *self) {
  int32_t result = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  result = intGetter(self, kSidesOffset) * intGetter(self, kScaleOffset) * 4;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return result;
}

stringStorage *SquareName(RuntimeObject *self) { return stringGetter(self, kLabelOffset); }

/* The handler Square installs for Shape's Changed event. */
void SquareChanged(RuntimeObject *self, int32_t scale) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  intSetter(self, kScaleOffset, scale);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void NodeDestructor(RuntimeObject *self) {
  RuntimeUnlockObject(*(RuntimeObject **)((char *)self + kNextOffset));
}

/* Builders: each class is built once and kept in its slot. */
RuntimeClass *InterfaceClass(RuntimeClass **slot, stringStorage *name, int32_t methods) {
  if (!*slot) {
    *slot = RuntimeNewClass(0, methods, 0, 0, 0, 0);
    (*slot)->name = RuntimeLockString(name);
    (*slot)->isAnInterface = 1;
  }
  return *slot;
}

RuntimeClass *ShapeClass(void) {
  RuntimeClass *c;
  if (sShapeClass)
    return sShapeClass;
  c = sShapeClass = RuntimeNewClass(0, 1, 0, 2, 0, 2);
  c->name = RuntimeLockString(KIT_STRING("Shape"));
  c->instanceSize = 32;
  c->constructor = ShapeConstructor;
  c->destructorHook = ShapeDestructorHook;
  c->destructor = ShapeDestructor;
  c->methods[0].code = (void *)SquareName;
  c->methods[0].linkName = RuntimeLockString(KIT_STRING("Name%s%o<Shape>"));
  c->events[0].name = RuntimeLockString(KIT_STRING("Changed"));
  c->events[1].name = RuntimeLockString(KIT_STRING("Drawn"));
  c->properties[0].name = RuntimeLockString(KIT_STRING("mSides%i%"));
  c->properties[0].param = kSidesOffset;
  c->properties[0].getter = c->properties[0].setter = (void *)1;
  c->properties[1].name = RuntimeLockString(KIT_STRING("mLabel%s%"));
  c->properties[1].param = kLabelOffset;
  c->properties[1].getter = c->properties[1].setter = (void *)1;
  return c;
}

RuntimeClass *SquareClass(void) {
  RuntimeClass *c;
  MethodEntry *table;
  if (sSquareClass)
    return sSquareClass;
  c = sSquareClass = RuntimeNewClass(ShapeClass(), 2, 2, 3, 0, 3);
  c->name = RuntimeLockString(KIT_STRING("Square"));
  c->instanceSize = 36;
  c->constructor = SquareConstructor;
  c->destructorHook = SquareDestructorHook;
  c->destructor = SquareDestructor;
  c->methods[1].code = (void *)SquareArea;
  c->methods[1].linkName = RuntimeLockString(KIT_STRING("Area%i%o<Square>"));
  c->events[0].vector = (void *)SquareChanged;
  c->events[2].name = RuntimeLockString(KIT_STRING("Resized"));
  c->properties[2].name = RuntimeLockString(KIT_STRING("mScale%i%"));
  c->properties[2].param = kScaleOffset;
  c->properties[2].getter = c->properties[2].setter = (void *)1;

  c->interfaces[0].interfaceClass = InterfaceClass(&sDrawableClass, KIT_STRING("Drawable"), 1);
  c->interfaces[0].methodCount = 1;
  table = c->interfaces[0].vtable = RuntimeNewVtable(1);
  table[0].code = (void *)SquareArea;
  table[0].linkName = RuntimeLockString(KIT_STRING("Area%i%o<Square>"));
  c->interfaces[1].interfaceClass = InterfaceClass(&sNamedClass, KIT_STRING("Named"), 1);
  c->interfaces[1].methodCount = 1;
  table = c->interfaces[1].vtable = RuntimeNewVtable(1);
  table[0].code = (void *)SquareName;
  table[0].linkName = RuntimeLockString(KIT_STRING("Name%s%o<Shape>"));
  return c;
}

RuntimeClass *NodeClass(void) {
  if (!sNodeClass) {
    sNodeClass = RuntimeNewClass(0, 0, 0, 0, 0, 0);
    sNodeClass->name = RuntimeLockString(KIT_STRING("Node"));
    sNodeClass->instanceSize = 28;
    sNodeClass->destructor = NodeDestructor;
  }
  return sNodeClass;
}

static int32_t LiveObjects(void) {
  RuntimeObject *runtime = RuntimeDebugInstance();
  int32_t count = RuntimeDebugObjectCount(runtime, 0);
  RuntimeUnlockObject(runtime);
  return count;
}

static void CheckClassesAndObjects(void) {
  RuntimeObject *square, *shape, *cast;
  MethodEntry *table;
  EventEntry *events;
  PropertyEntry *property;
  stringStorage *name;
  int32_t before = LiveObjects();

  Check(1, "Square's class is made once, with Shape as its base",
        SquareClass() == SquareClass() && SquareClass()->base == ShapeClass());
  Check(2, "Square's method and event entries",
        SquareClass()->methods[0].code == (void *)SquareName &&
            SquareClass()->events[1].vector == 0 && TextIs(SquareClass()->events[1].name, "Drawn"));

  square = RuntimeNewObject(SquareClass());
  Check(3, "a new Square ran its constructors and holds one reference",
        sLog == 12 && square->refCount == 1 && intGetter(square, kSidesOffset) == 4);
  shape = RuntimeNewObject(ShapeClass());
  Check(4, "two objects more are alive", LiveObjects() == before + 2);

  Check(5, "Isa through the class chain and the interfaces",
        RuntimeObjectIsa(square, ShapeClass()) && RuntimeObjectIsa(square, sDrawableClass) &&
            RuntimeObjectIsa(square, sNamedClass) && !RuntimeObjectIsa(shape, SquareClass()) &&
            !RuntimeObjectIsa(shape, sNamedClass));
  cast = RuntimeCheckCast(square, ShapeClass());
  Check(6, "a cast answers the object with one more reference",
        cast == square && square->refCount == 2);
  RuntimeUnlockObject(cast);

  /* Properties: the generic accessors at each entry's offset. */
  property = &SquareClass()->properties[1];
  Check(7, "the label property's entry",
        property->getter == (void *)1 && TextIs(property->name, "mLabel%s%"));
  stringSetter(square, property->param, KIT_STRING("corner"));
  table = RuntimeLookupInterfaceVtable(square, sNamedClass);
  name = ((stringStorage * (*)(RuntimeObject *)) table[0].code)(square);
  Check(8, "the label set through its property reads back through the interface",
        TextIs(name, "corner"));
  RuntimeUnlockString(name);

  /* Events: a handler Square installed for Shape's event; none elsewhere. */
  events = (EventEntry *)square->eventTable;
  if (events[0].vector)
    ((void (*)(RuntimeObject *, int32_t))events[0].vector)(square, 5);
  Check(9, "Square's handler of Shape's event ran; no handler elsewhere",
        intGetter(square, kScaleOffset) == 5 && events[2].vector == 0 &&
            ((EventEntry *)shape->eventTable)[0].vector == 0);
  table = RuntimeLookupInterfaceVtable(square, sDrawableClass);
  Check(10, "a call through the Drawable interface table",
        ((int32_t(*)(RuntimeObject *))table[0].code)(square) == 80);

  sLog = 0;
  RuntimeUnlockObject(square);
  Check(11, "releasing the Square runs its destructors in order", sLog == 4365);
  sLog = 0;
  RuntimeUnlockObject(shape);
  Check(12, "releasing the Shape runs its destructor and leaves no object alive",
        sLog == 35 && LiveObjects() == before);
}

/* A list of 100000 nodes whose destructors release the next one. */
static void CheckLongChain(void) {
  int32_t before = LiveObjects(), i;
  RuntimeObject *head = RuntimeNewObject(NodeClass()), *tail = head, *node;
  for (i = 1; i < 100000; ++i) {
    node = RuntimeNewObject(NodeClass());
    *(RuntimeObject **)((char *)tail + kNextOffset) = node;
    tail = node;
  }
  Check(13, "a chain of 100000 nodes is alive", LiveObjects() == before + 100000);
  RuntimeUnlockObject(head);
  Check(14, "releasing the chain's head releases every node", LiveObjects() == before);
}

void ImageEntry(void) {
  CheckClassesAndObjects();
  CheckLongChain();
  _exit(sFailedCheck ? sFailedCheck : 42);
}
